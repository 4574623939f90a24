#include "ReadmeImport.h"

#include "ForeignReadme.h"
#include "platform/Cp932.h"
#include "platform/LineFile.h"

namespace ReadmeImport {

QString decode(const QByteArray &bytes)
{
    QString text = Cp932::decode(bytes);
    if (text.endsWith(u"\r\n"))
        text.chop(2);
    else if (text.endsWith(u'\n'))
        text.chop(1);
    return text;
}

Imported fromText(const QString &text)
{
    return ForeignReadme::read(LineFile::splitLines(text));
}

Result<Imported> read(const QString &path)
{
    const Result<QByteArray> bytes = LineFile::readBytes(path);
    if (!bytes.ok())
        return Result<Imported>::failure(bytes.reason());
    return fromText(decode(bytes.value()));
}

} // namespace ReadmeImport
