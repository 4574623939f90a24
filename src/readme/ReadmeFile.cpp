#include "ReadmeFile.h"

#include "MarkdownReadme.h"
#include "ReadmeComposer.h"
#include "platform/Cp932.h"
#include "platform/LineFile.h"

using namespace Qt::StringLiterals;

namespace ReadmeFile {

const QList<FileType> &fileTypes()
{
    using enum Encoding;
    static const QList<FileType> types{
        {u"テキストファイル　シフトJIS・CR LF(*.txt)"_s, u"txt"_s, Format()},
        {u"テキストファイル　UTF-8・CR LF(*.txt)"_s, u"txt"_s, Format(Utf8)},
        {u"テキストファイル　UTF-8 BOM付き・CR LF(*.txt)"_s, u"txt"_s,
         Format(Utf8, true, LineEnd::CrLf)},
        {u"テキストファイル　UTF-8・LF(*.txt)"_s, u"txt"_s, Format(Utf8, false, LineEnd::Lf)},
        {u"Markdown　UTF-8・LF(*.md)"_s, u"md"_s, Format::markdown()},
        {u"すべてのファイル(*.*)"_s, QString(), Format()},
    };
    return types;
}

QStringList filters()
{
    QStringList list;
    for (const FileType &t : fileTypes())
        list.append(t.filter);
    return list;
}

namespace {
QString filterKey(const QString &filter)
{
    QString key;
    key.reserve(filter.size());
    for (const QChar c : filter) {
        if (!c.isSpace())
            key.append(c.toCaseFolded());
    }
    return key;
}
} // namespace

const FileType *fileTypeOf(const QString &filter)
{
    const QString key = filterKey(filter);
    for (const FileType &t : fileTypes()) {
        if (filterKey(t.filter) == key)
            return &t;
    }
    return nullptr;
}

Format formatOf(const QString &filter)
{
    const FileType *type = fileTypeOf(filter);
    return type ? type->format : Format();
}

QString pathFor(const QString &chosen, const QString &proposedName)
{
    if (!chosen.endsWith(u".*"_s))
        return chosen;
    const qsizetype dot = proposedName.lastIndexOf(u'.');
    return chosen.chopped(1) + (dot < 0 ? u"TXT"_s : proposedName.mid(dot + 1));
}

QString text(const Composition &composition, const Project &doc, const Format &format)
{
    if (format.content == Format::Content::Markdown)
        return MarkdownReadme::lines(composition, doc).join(u"\r\n");
    return composition.text;
}

QByteArray bytes(const QString &text, const Format &format, QStringList *unmappable)
{
    QString whole = text + u"\r\n"_s;
    if (format.lineEnd == LineEnd::Lf)
        whole.replace(u"\r\n"_s, u"\n"_s); // a lone CR or LF is text, not a line end
    if (format.encoding == Encoding::Cp932)
        return Cp932::encode(whole, unmappable);
    return (format.bom ? "\xEF\xBB\xBF"_ba : QByteArray()) + whole.toUtf8();
}

Result<> write(const QString &path, const QString &text, const Format &format,
               QStringList *unmappable)
{
    return LineFile::writeBytes(path, bytes(text, format, unmappable));
}

} // namespace ReadmeFile
