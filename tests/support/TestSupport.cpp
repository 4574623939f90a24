#include "TestSupport.h"

#include "itemlist/ItemList.h"
#include "platform/AppInfo.h"
#include "platform/Cp932.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

QString TempAppDir::pathTemplate()
{
    return QDir::tempPath() + QStringLiteral("/クイレット作業-XXXXXX");
}

TempAppDir::TempAppDir() : m_dir(pathTemplate())
{
    if (!m_dir.isValid())
        qFatal("cannot create %s: %s", qPrintable(pathTemplate()), qPrintable(m_dir.errorString()));
    AppInfo::setApplicationDirectory(m_dir.path());
}

TempAppDir::~TempAppDir()
{
    AppInfo::setApplicationDirectory(QString());
}

TempSettings::TempSettings()
{
    // Files, not Windows' registry, which no path moves into a test's folder.
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
}

void TempAppDir::write(const QString &name, const QByteArray &bytes) const
{
    QFile f(filePath(name));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

void TempAppDir::writeLines(const QString &name, const QStringList &lines) const
{
    QByteArray bytes;
    for (const QString &l : lines)
        bytes += Cp932::encode(l) + "\r\n";
    write(name, bytes);
}

void loadItemList(ItemList &list, const QString &words)
{
    const QStringList parts = words.split(u' ', Qt::SkipEmptyParts);
    QStringList entries;
    for (const QString &w : parts)
        entries.append(w.endsWith(u'*') ? w.chopped(1) : w);
    list.setEntries(entries);
    for (int i = 0; i < parts.size(); ++i)
        list.setSelected(i, parts.at(i).endsWith(u'*'));
}

QString dumpItemList(const ItemList &list)
{
    QStringList words;
    for (int i = 0; i < list.count(); ++i)
        words.append(list.entry(i) + (list.isSelected(i) ? QStringLiteral("*") : QString()));
    return words.join(u' ');
}

QByteArray TempAppDir::read(const QString &name) const
{
    return readFileBytes(filePath(name));
}

QByteArray readFileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString testDataPath(const QString &name)
{
    return QDir(QStringLiteral(QUILLET_TEST_DATA)).filePath(name);
}

namespace {
bool probeWritable(const QString &dir)
{
    QFile probe(QDir(dir).filePath(QStringLiteral(".probe")));
    if (!probe.open(QIODevice::WriteOnly))
        return false;
    probe.remove();
    return true;
}

// Root ignores permission bits; the immutable flag stops root too.
bool setImmutable(const QString &dir, bool on)
{
#ifndef Q_OS_LINUX
    Q_UNUSED(dir);
    Q_UNUSED(on);
    return false; // elsewhere the permission bits are what there is
#else
    const int fd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
#endif
}
} // namespace

ReadOnlyDir::ReadOnlyDir(const QString &path) : m_path(path)
{
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (probeWritable(path))
        m_immutable = setImmutable(path, true);
    m_effective = !probeWritable(path);
}

ReadOnlyDir::~ReadOnlyDir()
{
    if (m_immutable)
        setImmutable(m_path, false);
    QFile::setPermissions(m_path,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

DataFileReader::ReadReport openLines(Document &doc, const QStringList &lines)
{
    const DataFileReader::Parsed parsed = DataFileReader::parse(lines);
    doc.load(parsed.project);
    return parsed.report;
}

Result<DataFileReader::ReadReport> openFile(Document &doc, const QString &path)
{
    const Result<DataFileReader::Parsed> parsed = DataFileReader::read(path);
    if (!parsed.ok())
        return Result<DataFileReader::ReadReport>::failure(parsed.reason());
    doc.load(parsed->project);
    return parsed->report;
}

QList<SiteProfile> profileNamed(const QString &folder, const QString &name)
{
    for (const SiteProfile &p : SiteProfiles::load({folder}).profiles) {
        if (p.name == name)
            return {p};
    }
    return {};
}
