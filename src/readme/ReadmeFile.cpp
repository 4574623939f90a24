#include "ReadmeFile.h"

#include "platform/Cp932.h"
#include "platform/LineFile.h"

namespace ReadmeFile {

QByteArray bytes(const QString &text, Encoding encoding, QStringList *unmappable)
{
    const QString whole = text + QStringLiteral("\r\n");
    return encoding == Encoding::Utf8 ? whole.toUtf8() : Cp932::encode(whole, unmappable);
}

Result<> write(const QString &path, const QString &text, Encoding encoding, QStringList *unmappable)
{
    return LineFile::writeBytes(path, bytes(text, encoding, unmappable));
}

} // namespace ReadmeFile
