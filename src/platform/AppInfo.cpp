#include "AppInfo.h"

#include <QCoreApplication>
#include <QDir>

namespace {
QString &overrideDirectory()
{
    static QString path;
    return path;
}
} // namespace

namespace AppInfo {

QString applicationDirectory()
{
    if (!overrideDirectory().isEmpty())
        return overrideDirectory();
    return QCoreApplication::applicationDirPath();
}

void setApplicationDirectory(const QString &path)
{
    overrideDirectory() = path;
}

QString pathInApplicationDirectory(const QString &fileName)
{
    return QDir(applicationDirectory()).filePath(fileName);
}

QString title()
{
    return QStringLiteral(QUILLET_TITLE);
}
int majorVersion()
{
    return QUILLET_VERSION_MAJOR;
}
int minorVersion()
{
    return QUILLET_VERSION_MINOR;
}
QString legalCopyright()
{
    return QStringLiteral(QUILLET_COPYRIGHT);
}

} // namespace AppInfo
