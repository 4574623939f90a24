#include "ReadmeImport.h"

#include "ComposedReadme.h"
#include "ForeignReadme.h"
#include "platform/Cp932.h"
#include "platform/LineFile.h"

#include <QStringDecoder>

namespace ReadmeImport {

namespace {
// UTF-8 when it says so with a BOM, or when it is valid UTF-8 beyond ASCII,
// which code page 932 text practically never is.
QString decodeText(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    const bool ascii =
        std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; });
    if (!ascii) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = utf8.decode(bytes);
        if (!utf8.hasError())
            return text;
    }
    return Cp932::decode(bytes);
}
} // namespace

QString decode(const QByteArray &bytes)
{
    QString text = decodeText(bytes);
    if (text.endsWith(u"\r\n"))
        text.chop(2);
    else if (text.endsWith(u'\n') || text.endsWith(u'\r'))
        text.chop(1);
    return text;
}

Imported fromText(const QString &text)
{
    const QStringList lines = LineFile::splitLines(text);
    std::optional<Project> doc = ComposedReadme::read(lines);
    // Text alone composes back too; it is Quillet's only when nothing in it
    // reads as another README's header or heading.
    const bool textOnly = doc && doc->entries.size() < 2;
    if (doc && !textOnly)
        return {std::move(*doc), true, {}, {}};
    Imported foreign = ForeignReadme::read(lines);
    if (textOnly && foreign.mapped.isEmpty() && foreign.keptAsIs.isEmpty())
        return {std::move(*doc), true, {}, {}};
    return foreign;
}

Result<Imported> read(const QString &path)
{
    const Result<QByteArray> bytes = LineFile::readBytes(path);
    if (!bytes.ok())
        return Result<Imported>::failure(bytes.reason());
    return fromText(decode(bytes.value()));
}

} // namespace ReadmeImport
