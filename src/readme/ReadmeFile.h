#pragma once

#include "platform/Result.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// A README file as it goes to disk: the composed text, a final line end, in
// code page 932 (or UTF-8). The window and quillet-compose both write
// through here, so they write the same bytes.
namespace ReadmeFile {

enum class Encoding { Cp932, Utf8 };

// unmappable receives the characters written as "?" (code page 932 only).
QByteArray bytes(const QString &text, Encoding encoding, QStringList *unmappable);

// Replaces the file atomically.
Result<> write(const QString &path, const QString &text, Encoding encoding,
               QStringList *unmappable);

} // namespace ReadmeFile
