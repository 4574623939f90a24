#include "AppInfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

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

void setApplicationIdentity()
{
    QCoreApplication::setOrganizationName(title());
    QCoreApplication::setApplicationName(title());
}

Mode mode()
{
    if (!overrideDirectory().isEmpty() ||
        QFileInfo::exists(QDir(applicationDirectory()).filePath(QStringLiteral("portable"))))
        return Mode::Portable;
    return Mode::Installed;
}

QString modeName()
{
    return mode() == Mode::Portable ? QStringLiteral("ポータブル") : QStringLiteral("インストール");
}

QString listDirectory()
{
    if (mode() == Mode::Portable)
        return applicationDirectory();
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (!QFileInfo::exists(dir) && QDir().mkpath(dir)) {
        // First use: start from the lists that came with the program.
        const QDir shipped(applicationDirectory() + QStringLiteral("/../share/quillet/lists"));
        for (const QString &name : shipped.entryList({QStringLiteral("*.dat")}, QDir::Files))
            QFile::copy(shipped.filePath(name), QDir(dir).filePath(name));
    }
    return dir;
}

QString pathInListDirectory(const QString &fileName)
{
    return QDir(listDirectory()).filePath(fileName);
}

QStringList resourceFolders(const QString &sub)
{
    const QString app = applicationDirectory();
    QStringList dirs{ownResourceFolder(sub)};
    dirs.append(app + u'/' + sub);
    dirs.append(app + QStringLiteral("/../share/quillet/") + sub);
    return dirs;
}

QString ownResourceFolder(const QString &sub)
{
    if (mode() == Mode::Portable)
        return applicationDirectory() + QStringLiteral("/user/") + sub;
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + u'/' + sub;
}

QString dialogDirectory()
{
    if (mode() == Mode::Portable)
        return applicationDirectory();
    const QString last = QSettings().value(QStringLiteral("lastFolder")).toString();
    if (!last.isEmpty() && QFileInfo(last).isDir())
        return last;
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

void rememberFolderOf(const QString &filePath)
{
    if (mode() == Mode::Installed)
        QSettings().setValue(QStringLiteral("lastFolder"), QFileInfo(filePath).absolutePath());
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
