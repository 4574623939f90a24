// Bytes from anywhere -> decoded -> read as Quillet's own README or another's
// -> a project -> composed again.
#include "FuzzSupport.h"
#include "platform/LineFile.h"
#include "readme/ReadmeDecoding.h"
#include "readme/ReadmeImport.h"

#include <QRegularExpression>
#include <cstdio>

namespace {
bool hasWords(QStringView s)
{
    return std::any_of(s.begin(), s.end(), [](QChar c) { return c.isLetterOrNumber(); });
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
    if (r->whole || !composed.ok())
        return;
    // No line with a letter or digit is lost: it stands in the README
    // composed again (a header's label may give way to its item's name, its
    // value stays), or the report tells what became of it.
    const QString &out = composed.value();
    const QString told = (r->mapped + r->keptAsIs).join(u'\n');
    for (const QString &line : lines) {
        const QString t = line.trimmed();
        if (!hasWords(t) || out.contains(t) || told.contains(t + QStringLiteral(" → ")))
            continue;
        // The value after a label: past its closing bracket or colon, else
        // past the first space.
        static const QRegularExpression labelEnd(QStringLiteral("[】》>\\]:：]"));
        qsizetype at = t.indexOf(labelEnd, 1);
        if (at < 0)
            at = std::find_if(t.begin() + 1, t.end(), [](QChar c) { return c.isSpace(); }) -
                 t.begin();
        QString value = at < 0 ? QString() : t.mid(at + 1).trimmed();
        while (value.startsWith(u':') || value.startsWith(u'：'))
            value = value.mid(1).trimmed();
        if (value.isEmpty() || !out.contains(value)) {
            std::fprintf(stderr, "lost: %s\n", qUtf8Printable(line));
            __builtin_trap();
        }
    }
}
