#include "LineFile.h"

#include "Cp932.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace LineFile {

namespace {
QString describe(const QString &path, const QString &reason)
{
    return QDir::toNativeSeparators(path) + u": "_s + reason;
}

bool writeToDevice(const QString &path, const QByteArray &bytes, QString *error)
{
    QFile file(path);
    const bool written =
        file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
    if (!written && error)
        *error = describe(path, file.errorString());
    return written;
}
} // namespace

QStringList splitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

bool readBytes(const QString &path, QByteArray *bytes, QString *error)
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
    if (!refused.isEmpty()) {
        if (error)
            *error = describe(path, refused);
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = describe(path, file.errorString());
        return false;
    }
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = describe(path, file.errorString());
        return false;
    }
    *bytes = std::move(data);
    return true;
}

ReadResult read(const QString &path)
{
    ReadResult result;
    QByteArray bytes;
    if (!readBytes(path, &bytes, &result.error))
        return result;
    result.lines = splitLines(Cp932::decode(bytes));
    result.ok = true;
    return result;
}

bool writeBytes(const QString &path, const QByteArray &bytes, QString *error)
{
    if (QFileInfo(path).isDir()) {
        if (error)
            *error = describe(path, u"フォルダーです"_s);
        return false;
    }
    // A device or a pipe cannot be replaced, only written to; replacing
    // /dev/full by a regular file would also hide the failure.
    if (const QFileInfo info(path); info.exists() && !info.isFile())
        return writeToDevice(path, bytes, error);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = describe(path, file.errorString());
        return false;
    }
    // A write cut short (a full disk, a file size limit) can pass unnoticed
    // by write() and commit(); the size on disk is checked before the new
    // file takes the old one's place.
    const bool written =
        file.write(bytes) == bytes.size() && file.flush() && file.size() == bytes.size();
    if (!written) {
        if (error) {
            const bool known = file.error() != QFileDevice::NoError;
            *error = describe(
                path,
                known ? file.errorString()
                      : u"書き込みが途中で止まりました（ディスクの空きがない可能性があります）"_s);
        }
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = describe(path, file.errorString());
        return false;
    }
    return true;
}

WriteResult write(const QString &path, const QStringList &lines)
{
    WriteResult result;
    qsizetype size = 0;
    for (const QString &line : lines)
        size += line.size() + 2;
    QString text;
    text.reserve(size);
    for (const QString &line : lines) {
        text += line;
        text += u"\r\n";
    }
    const QByteArray bytes = Cp932::encode(text, &result.unmappable);
    result.ok = writeBytes(path, bytes, &result.error);
    return result;
}

} // namespace LineFile
