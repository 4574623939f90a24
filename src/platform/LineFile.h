#pragma once

#include "Result.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Whole-file reading and safe writing of code page 932 text files.
//
// A line ends at CR, at CR LF, or at a lone LF: files edited with a Unix
// editor then read line by line instead of as one long line. A last line
// without a line end still counts; an empty file has no lines.
// Writing ends every line with CR LF and goes through QSaveFile, so a failed
// write leaves the previous file exactly as it was.
namespace LineFile {

// Files beyond this size are refused: no data or list file comes near it,
// and reading one whole would take the memory of the machine.
constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;

// Failure reasons read "<path>: <reason>".

// Splits decoded text into lines by the rules above.
QStringList splitLines(const QString &text);
// The same lines as views into text, which must outlive them.
QList<QStringView> splitLineViews(QStringView text);

// Reads the whole file as bytes; a missing, unreadable, oversized or
// irregular file (a folder, a device) is an error.
Result<QByteArray> readBytes(const QString &path);
Result<QStringList> read(const QString &path);

// Replaces the file with the given bytes, atomically.
Result<> writeBytes(const QString &path, const QByteArray &bytes);
// Encodes each line in code page 932, each followed by CR LF; the value
// holds the characters written as "?".
Result<QStringList> write(const QString &path, const QStringList &lines);

} // namespace LineFile
