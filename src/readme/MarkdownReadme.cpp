#include "MarkdownReadme.h"

#include "LineWrap.h"

using namespace Qt::StringLiterals;

namespace MarkdownReadme {

namespace {

using Kind = ComposedLine::Kind;
using Lines = std::vector<ComposedLine>;

// A table cell: a "|" would end it, a backslash escape what follows.
QString cell(const QString &text)
{
    QString c = text;
    c.replace(u'\\', u"\\\\"_s).replace(u'|', u"\\|"_s);
    return c.isEmpty() ? u" "_s : u' ' + c + u' ';
}

// Where the run of lines like the one at begin ends: fields of one part of
// the README, or the text before, under one heading or after it.
size_t runEnd(const Lines &lines, size_t begin)
{
    const ComposedLine &first = lines[begin];
    size_t end = begin + 1;
    // Fields make one table whatever they are named.
    while (end < lines.size() && lines[end].kind == first.kind && lines[end].inEnd == first.inEnd &&
           (lines[end].key == first.key || first.kind == Kind::Field))
        ++end;
    return end;
}

QStringList table(const Lines &lines, size_t begin, size_t end, const Project &doc)
{
    QStringList out{u"| 項目 | 内容 |"_s, u"|---|---|"_s};
    for (size_t i = begin; i < end; ++i) {
        if (lines[i].continues >= 0) // the cell holds the whole value
            continue;
        const int item = lines[i].item;
        const QString name = item >= 0 ? Items::names().at(size_t(item)) : lines[i].key.toString();
        const QString value =
            item >= 0 ? doc.values.at(size_t(item)) : doc.ownValues.value(lines[i].key.toString());
        out.append(u'|' + cell(name) + u'|' + cell(value) + u'|');
    }
    return out;
}

// The end section's headings sit one level down, under its rule.
QString heading(const ComposedLine &line)
{
    const QString name = line.key.isEmpty() && line.item >= 0 ? Items::names().at(size_t(line.item))
                                                              : line.key.toString();
    const QString marks = line.inEnd ? u"###"_s : u"##"_s;
    return name.isEmpty() ? marks : marks + u' ' + name;
}

} // namespace

// Credits as a list, each material's details a list under it.
QStringList credits(const Lines &in, size_t from, size_t to)
{
    QStringList out;
    for (size_t j = from; j < to; ++j) {
        const ComposedLine &l = in[j];
        if (l.continues >= 0 && !out.isEmpty())
            LineWrap::join(out.last(), l.text, l.continues, l.gap);
        else if (l.item == 0)
            out.append(u"- "_s + l.text.mid(1)); // after its bullet
        else
            out.append(u"    - "_s + l.text.trimmed());
    }
    return out;
}

QStringList lines(const Composition &composition, const Project &doc)
{
    const Lines &in = composition.lines;
    QStringList out;
    const auto block = [&out](const QStringList &lines) {
        if (!out.isEmpty())
            out.append(QString());
        out += lines;
    };
    bool ruled = false;
    for (size_t i = 0, next = 0; i < in.size(); i = next) {
        const ComposedLine &line = in[i];
        next = i + 1;
        if (line.kind == Kind::Separator)
            continue;
        if (line.inEnd && !ruled && line.kind != Kind::TailText) {
            block({u"---"_s});
            ruled = true;
        }
        if (line.kind == Kind::Heading) {
            block({heading(line)});
        } else if (line.kind == Kind::Copyright) {
            block({line.text.trimmed().toString()});
        } else if (line.kind == Kind::Credit) {
            next = runEnd(in, i);
            block(credits(in, i, next));
        } else if (line.isText()) {
            next = runEnd(in, i);
            QStringList run;
            // Markdown flows paragraphs itself: lines broken at the width join.
            for (size_t j = i; j < next; ++j) {
                if (in[j].continues >= 0 && !run.isEmpty())
                    LineWrap::join(run.last(), in[j].text, in[j].continues, in[j].gap);
                else
                    run.append(in[j].text.toString());
            }
            block(run);
        } else {
            next = runEnd(in, i);
            block(table(in, i, next, doc));
        }
    }
    return out;
}

} // namespace MarkdownReadme
