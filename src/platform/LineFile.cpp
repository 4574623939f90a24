#include "LineFile.h"

#include "Cp932.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>

using namespace Qt::StringLiterals;

namespace LineFile {

namespace {
QString describe(const QString &path, const QString &reason)
{
    return QDir::toNativeSeparators(path) + u": "_s + reason;
}

// A reason in the author's words; the system's own text follows for a
// support request. errno is read right after the call that failed.
QString failure(const QString &path, const QFileDevice &file, int error, bool writing)
{
    QString reason;
    switch (error) {
    case ENOENT:
        reason = u"ファイルまたはフォルダーが見つかりません"_s;
        break;
    case EACCES:
    case EPERM:
    case EROFS:
        reason = u"アクセスが許可されていません（読み取り専用の可能性があります）"_s;
        break;
    case ENOSPC:
    case EFBIG:
#ifdef EDQUOT
    case EDQUOT:
#endif
        reason = u"ディスクの空きが足りません"_s;
        break;
    case EISDIR:
        reason = u"フォルダーです"_s;
        break;
    case ENAMETOOLONG:
        reason = u"名前が長すぎます"_s;
        break;
    default:
        reason = writing ? u"書き込めませんでした"_s : u"読み込めませんでした"_s;
        break;
    }
    const QString system = file.errorString();
    return describe(path, system.isEmpty() ? reason : u"%1（%2）"_s.arg(reason, system));
}

Result<> writeToDevice(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    errno = 0;
    const bool written =
        file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
    if (!written)
        return Result<>::failure(failure(path, file, errno, true));
    return {};
}
} // namespace

QList<QStringView> splitLineViews(QStringView text)
{
    QList<QStringView> lines;
    const char16_t *p = text.utf16();
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        // Most characters are above both line ends: one comparison passes them.
        if (p[i] > u'\r' || (p[i] != u'\r' && p[i] != u'\n'))
            continue;
        lines.append(text.mid(start, i - start));
        if (p[i] == u'\r' && i + 1 < n && p[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

QStringList splitLines(const QString &text)
{
    QStringList lines;
    for (const QStringView line : splitLineViews(text))
        lines.append(line.toString());
    return lines;
}

Result<QByteArray> readBytes(const QString &path)
{
    QFile file(path);
    const QFileInfo info(path);
    QString refused;
    if (info.isDir())
        refused = u"フォルダーです"_s;
    else if (info.exists() && !info.isFile())
        refused = u"通常のファイルではありません"_s;
    else if (info.size() > kMaxFileSize)
        refused = u"ファイルが大きすぎます（%1 MB まで）"_s.arg(kMaxFileSize / (1024 * 1024));
    if (!refused.isEmpty())
        return Result<QByteArray>::failure(describe(path, refused));
    errno = 0;
    if (!file.open(QIODevice::ReadOnly))
        return Result<QByteArray>::failure(failure(path, file, errno, false));
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Result<QByteArray>::failure(failure(path, file, errno, false));
    return data;
}

Result<QStringList> read(const QString &path)
{
    const Result<QByteArray> bytes = readBytes(path);
    if (!bytes.ok())
        return Result<QStringList>::failure(bytes.reason());
    return splitLines(Cp932::decode(bytes.value()));
}

Result<> writeBytes(const QString &path, const QByteArray &bytes)
{
    if (QFileInfo(path).isDir())
        return Result<>::failure(describe(path, u"フォルダーです"_s));
    // A device or a pipe cannot be replaced, only written to; replacing
    // /dev/full by a regular file would also hide the failure.
    if (const QFileInfo info(path); info.exists() && !info.isFile())
        return writeToDevice(path, bytes);
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        return Result<>::failure(failure(path, file, errno, true));
    // A write cut short (a full disk, a file size limit) can pass unnoticed
    // by write() and commit(); the size on disk is checked before the new
    // file takes the old one's place.
    const bool written =
        file.write(bytes) == bytes.size() && file.flush() && file.size() == bytes.size();
    if (!written) {
        const int error = errno;
        const QString reason =
            file.error() != QFileDevice::NoError
                ? failure(path, file, error == 0 ? ENOSPC : error, true)
                : describe(
                      path,
                      u"書き込みが途中で止まりました（ディスクの空きがない可能性があります）"_s);
        file.cancelWriting();
        return Result<>::failure(reason);
    }
    errno = 0;
    if (!file.commit())
        return Result<>::failure(failure(path, file, errno, true));
    return {};
}

Result<QStringList> write(const QString &path, const QStringList &lines)
{
    qsizetype size = 0;
    for (const QString &line : lines)
        size += line.size() + 2;
    QString text;
    text.reserve(size);
    for (const QString &line : lines) {
        text += line;
        text += u"\r\n";
    }
    QStringList unmappable;
    const Result<> written = writeBytes(path, Cp932::encode(text, &unmappable));
    if (!written.ok())
        return Result<QStringList>::failure(written.reason());
    return unmappable;
}

} // namespace LineFile
