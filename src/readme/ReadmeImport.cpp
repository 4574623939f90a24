#include "ReadmeImport.h"

#include "ComposedReadme.h"
#include "ForeignReadme.h"
#include "ReadmeDecoding.h"
#include "platform/Cp932.h"
#include "platform/LineFile.h"

#include <algorithm>

namespace ReadmeImport {

namespace {
void chopFinalLineEnd(QString &text)
{
    if (text.endsWith(u"\r\n"))
        text.chop(2);
    else if (text.endsWith(u'\n') || text.endsWith(u'\r'))
        text.chop(1);
}
} // namespace

Result<QString> decode(const QByteArray &bytes)
{
    Result<ReadmeDecoding::Decoded> d = ReadmeDecoding::decode(bytes);
    if (!d.ok())
        return Result<QString>::failure(d.reason());
    chopFinalLineEnd(d.value().text);
    return d->text;
}

Result<Imported> fromBytes(const QByteArray &bytes)
{
    Result<ReadmeDecoding::Decoded> d = ReadmeDecoding::decode(bytes);
    if (!d.ok())
        return Result<Imported>::failure(d.reason());
    chopFinalLineEnd(d.value().text);
    Imported imported = fromText(d->text);
    imported.encoding = d->encoding;
    imported.damagedLines = d->damagedLines;
    if (d->encoding != u"Shift_JIS (CP932)")
        imported.unmappable = Cp932::unmappableCharacters(d->text);
    imported.unmappable.removeAll(QString(QChar(0xFFFD))); // told as damaged lines
    return imported;
}

Imported fromText(const QString &text)
{
    const QStringList lines = LineFile::splitLines(text);
    // A lead text with header lines in it is another README's header that
    // happens to sit above a heading laid out as Quillet lays them.
    std::optional<Project> doc = ComposedReadme::read(lines, ForeignReadme::isFieldLine);
    // Text alone composes back too; it is Quillet's only when nothing in it
    // reads as another README's header or heading.
    const bool textOnly = doc && doc->entries.size() < 2;
    Imported whole;
    whole.whole = true;
    if (doc && !textOnly) {
        whole.doc = std::move(*doc);
        return whole;
    }
    Imported foreign = ForeignReadme::read(lines);
    if (textOnly && foreign.mapped.isEmpty() && foreign.keptAsIs.isEmpty()) {
        whole.doc = std::move(*doc);
        return whole;
    }
    return foreign;
}

Result<Imported> read(const QString &path)
{
    const Result<QByteArray> bytes = LineFile::readBytes(path);
    if (!bytes.ok())
        return Result<Imported>::failure(bytes.reason());
    return fromBytes(bytes.value());
}

} // namespace ReadmeImport
