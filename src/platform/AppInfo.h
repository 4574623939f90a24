#pragma once

#include <QString>

// Where the program lives, where its lists and dialogs live, and the
// version information it was built with.
//
// Portable mode, when a file named "portable" sits beside the program (the
// build tree and a portable archive have one): the registered-entry lists
// live beside the program and the file dialogs start there. Installed mode
// otherwise, whether or not the program's folder is writable: the lists live
// in the author's data folder, created on first use and seeded from the lists
// shipped in <prefix>/share/quillet/lists; dialogs start in the folder of the
// last file used, or the documents folder. Nothing is written beside an
// installed program.
namespace AppInfo {

// Names the program for its settings and data folders; both programs call it.
void setApplicationIdentity();

enum class Mode { Portable, Installed };
Mode mode();
QString modeName(); // "ポータブル" or "インストール"

// The directory that holds the running program (or the one a test set; a
// test's directory is portable).
QString applicationDirectory();
// Overrides the application directory; an empty path restores the default.
void setApplicationDirectory(const QString &path);

// The folder of the registered-entry lists; made and seeded when needed.
QString listDirectory();
QString pathInListDirectory(const QString &fileName);
// Folders of files the author may add to those shipped (site profiles,
// templates), named sub: the author's own first, then the ones beside the
// program and in <prefix>/share/quillet.
QStringList resourceFolders(const QString &sub);
// Where the author's own files of that kind are written: the data folder,
// or the "user" folder beside the program when portable.
QString ownResourceFolder(const QString &sub);
// Where a file dialog starts when no file is in use.
QString dialogDirectory();
// Remembers the folder of a file just opened or written (installed mode).
void rememberFolderOf(const QString &filePath);

QString title();
int majorVersion();
int minorVersion();
QString legalCopyright();

} // namespace AppInfo
