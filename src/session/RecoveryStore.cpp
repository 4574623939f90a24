#include "RecoveryStore.h"

#include "datafile/DataFileReader.h"
#include "datafile/DataFileWriter.h"
#include "platform/LineFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {
// The first line names the format and its version; a later version may add
// sections this one cannot read, so it is not guessed at.
const QString kMagic = u"Quillet recovery "_s;
constexpr int kVersion = 1;
const QString kSuffix = u".recovery"_s;
const QString kSetAsideSuffix = u".unreadable"_s;

QString lockOf(const QString &file)
{
    return file.left(file.size() - kSuffix.size()) + u".lock"_s;
}

// Takes "key:=value" at line i, or fails.
Result<QString> field(const QStringList &lines, qsizetype i, const QString &key)
{
    const QString prefix = key + u":="_s;
    if (i >= lines.size() || !lines.at(i).startsWith(prefix))
        return Result<QString>::failure(u"途中で切れています（%1 行目）"_s.arg(i + 1));
    return lines.at(i).mid(prefix.size());
}

Result<QStringList> block(const QStringList &lines, qsizetype &i, const QString &key)
{
    const Result<QString> count = field(lines, i++, key);
    if (!count.ok())
        return Result<QStringList>::failure(count.reason());
    bool ok = false;
    const qsizetype n = count.value().toLongLong(&ok);
    if (!ok || n < 0 || n > lines.size() - i)
        return Result<QStringList>::failure(u"途中で切れています（%1 行目）"_s.arg(i));
    QStringList out = lines.mid(i, n);
    i += n;
    return out;
}
} // namespace

RecoveryStore::RecoveryStore(QString dir) : m_dir(std::move(dir))
{
    // The process id tells running sessions apart, the time a later process
    // that was given the same id.
    const QString id =
        u"%1-%2"_s.arg(QCoreApplication::applicationPid()).arg(QDateTime::currentMSecsSinceEpoch());
    m_file = QDir(m_dir).filePath(id + kSuffix);
}

RecoveryStore::~RecoveryStore() = default;

bool RecoveryStore::lockOwn()
{
    if (m_lock)
        return true;
    if (!QDir().mkpath(m_dir))
        return false;
    auto lock = std::make_unique<QLockFile>(lockOf(m_file));
    lock->setStaleLockTime(0); // stale only when its process is gone
    if (!lock->tryLock(0))
        return false;
    m_lock = std::move(lock);
    return true;
}

Result<> RecoveryStore::write(const State &state)
{
    if (!lockOwn())
        return Result<>::failure(
            u"復元用ファイルのフォルダ %1 を使えません"_s.arg(QDir::toNativeSeparators(m_dir)));
    return LineFile::writeBytes(m_file, encode(state));
}

void RecoveryStore::remove()
{
    QFile::remove(m_file);
    m_lock.reset(); // the lock's file goes with it
}

std::vector<RecoveryStore::Orphan> RecoveryStore::orphans() const
{
    std::vector<Orphan> out;
    const QFileInfoList files =
        QDir(m_dir).entryInfoList({u"*"_s + kSuffix}, QDir::Files, QDir::Time);
    for (const QFileInfo &info : files) {
        const QString file = info.absoluteFilePath();
        if (QFileInfo(file) == QFileInfo(m_file))
            continue;
        auto lock = std::make_shared<QLockFile>(lockOf(file));
        lock->setStaleLockTime(0);
        if (!lock->tryLock(0))
            continue; // its session still runs
        Orphan o;
        o.m_file = file;
        o.m_lock = std::move(lock);
        out.push_back(std::move(o));
    }
    return out;
}

Result<RecoveryStore::State> RecoveryStore::Orphan::read() const
{
    const Result<QByteArray> bytes = LineFile::readBytes(m_file);
    if (!bytes.ok())
        return Result<State>::failure(bytes.reason());
    return decode(bytes.value());
}

QDateTime RecoveryStore::Orphan::written() const
{
    return QFileInfo(m_file).lastModified();
}

void RecoveryStore::Orphan::remove()
{
    QFile::remove(m_file);
    m_lock.reset();
}

QString RecoveryStore::Orphan::setAside()
{
    QString target = m_file + kSetAsideSuffix;
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = m_file + u".%1"_s.arg(n) + kSetAsideSuffix;
    if (!QFile::rename(m_file, target))
        target = m_file; // left where it was; the lock keeps it from being offered twice now
    m_lock.reset();
    return target;
}

QByteArray RecoveryStore::encode(const State &state)
{
    QStringList lines{kMagic + QString::number(kVersion), u"path:="_s + state.path};
    // The preview's own line breaks, kept exactly: "" is no line, "\n" two.
    const QStringList preview =
        state.preview.isEmpty() ? QStringList() : state.preview.split(u'\n');
    lines << u"preview:=%1"_s.arg(preview.size()) << preview;
    const QStringList data = DataFileWriter::lines(state.project);
    lines << u"data:=%1"_s.arg(data.size()) << data << u"end"_s;
    return lines.join(u'\n').toUtf8();
}

Result<RecoveryStore::State> RecoveryStore::decode(const QByteArray &bytes)
{
    const QString text = QString::fromUtf8(bytes);
    const QStringList lines = text.split(u'\n');
    if (lines.isEmpty() || !lines.first().startsWith(kMagic))
        return Result<State>::failure(u"復元用のファイルではありません"_s);
    bool ok = false;
    const int version = lines.first().mid(kMagic.size()).toInt(&ok);
    if (!ok || version > kVersion)
        return Result<State>::failure(u"新しい版の Quillet が書いたファイルです"_s);
    State s;
    qsizetype i = 1;
    const Result<QString> path = field(lines, i++, u"path"_s);
    if (!path.ok())
        return Result<State>::failure(path.reason());
    s.path = path.value();
    const Result<QStringList> preview = block(lines, i, u"preview"_s);
    if (!preview.ok())
        return Result<State>::failure(preview.reason());
    s.preview = preview->join(u'\n');
    const Result<QStringList> data = block(lines, i, u"data"_s);
    if (!data.ok())
        return Result<State>::failure(data.reason());
    if (i != lines.size() - 1 || lines.at(i) != u"end"_s)
        return Result<State>::failure(u"途中で切れています（%1 行目）"_s.arg(i + 1));
    const DataFileReader::Parsed parsed = DataFileReader::parse(data.value());
    if (!parsed.report.complete())
        return Result<State>::failure(
            u"%1 行目を読めません: %2"_s.arg(i - data->size() + parsed.report.malformedLine)
                .arg(parsed.report.malformedReason));
    s.project = parsed.project;
    return s;
}
