#pragma once

#include <QString>

// Where the program lives and the version information it was built with.
namespace AppInfo {

// The directory that holds the running program (or the one a test set).
QString applicationDirectory();
// Overrides the application directory; an empty path restores the default.
void setApplicationDirectory(const QString &path);
// The application directory joined with a bare file name.
QString pathInApplicationDirectory(const QString &fileName);

QString title();
int majorVersion();
int minorVersion();
QString legalCopyright();

} // namespace AppInfo
