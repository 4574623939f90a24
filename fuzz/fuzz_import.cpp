// Bytes from anywhere -> decoded -> read as Quillet's own README or another's
// -> a project -> composed again.
#include "FuzzSupport.h"
#include "platform/LineFile.h"
#include "readme/ReadmeDecoding.h"
#include "readme/ReadmeImport.h"

#include <QRegularExpression>

namespace {
bool hasWords(QStringView s)
{
    return std::any_of(s.begin(), s.end(), [](QChar c) { return c.isLetterOrNumber(); });
}

// Every text the project holds, and its values, to find a line in.
QString everything(const ReadmeImport::Imported &im)
{
    const Project &p = im.doc;
    QStringList all = p.entries + p.texts.lead + p.texts.tail;
    for (const QStringList &t : p.texts.headings)
        all += t;
    for (const QString &v : p.values)
        all.append(v);
    all += im.mapped + im.keptAsIs;
    return all.join(u'\n');
}
} // namespace

void fuzz(const QByteArray &bytes, const QString &)
{
    const Result<ReadmeImport::Imported> r = ReadmeImport::fromBytes(bytes);
    if (!r.ok())
        return;
    const QStringList lines = LineFile::splitLines(ReadmeImport::decode(bytes).value());
    const Result<QString> composed = ReadmeComposer(ProjectRules::settled(r->doc)).compose();
    // A README taken as Quillet's own composes back to its own lines.
    if (r->whole) {
        QStringList back = composed.ok() ? composed.value().split(QStringLiteral("\r\n"))
                                         : QStringList{QStringLiteral("(failed)")};
        if (!back.isEmpty() && back.last().isEmpty())
            back.removeLast();
        if (back != lines)
            __builtin_trap();
    }
    // No line with a letter or digit is lost: its words stand somewhere in
    // the project (a header's label may give way to its item's name).
    const QString kept = everything(r.value());
    for (const QString &line : lines) {
        const QString t = line.trimmed();
        if (!hasWords(t) || kept.contains(t))
            continue;
        const qsizetype gap = t.indexOf(QRegularExpression(QStringLiteral("[】》>:：\\s]")));
        if (gap < 0 || !kept.contains(t.mid(gap + 1).trimmed()))
            __builtin_trap();
    }
}
