#include "ComposedReadme.h"

#include "ReadmeComposer.h"
#include "platform/Cp932.h"
#include "project/Entry.h"
#include "project/Styles.h"

#include <QHash>
#include <QSet>

using namespace Qt::StringLiterals;
using namespace Items;

namespace ComposedReadme {

namespace {
const QString kCopyright = u" Copyright(C) "_s;

// A guess at the styles a README was composed with.
struct Guess {
    Guess(int option = 0, std::array<QString, 2> free = {})
        : bracketOption(option), freeBrackets(std::move(free))
    {
    }
    int bracketOption;
    std::array<QString, 2> freeBrackets;
    bool hasSeparator = false;
    QString separator;
};

// What a line is, read in the body's or the end section's layout.
struct Line {
    enum Kind { Other, Separator, Field, Heading, Copyright };
    Line(Kind k = Other, int i = -1, QString v = {}) : kind(k), item(i), value(std::move(v)) {}
    Kind kind;
    int item;      // Field, Heading; -1 for a custom heading or a field of the author's
    QString value; // Field: the value; Heading: a custom heading's text
    QString name;  // a field of the author's: its name
};

// The line layouts of one guess, with empty values.
class Layout {
public:
    Layout(const Guess &g, int width)
    {
        Project s;
        s.bracketStyle = g.bracketOption;
        s.bracketText = g.freeBrackets;
        s.widthText = QString::number(width);
        composer.emplace(s);
        (void)composer->readStyles();
        separator = g.hasSeparator ? std::optional<QString>(g.separator) : std::nullopt;
        for (int k = SoftName; k <= HomePage; ++k) {
            composer->formatItem(fieldPrefix[size_t(k)], k, ReadmeComposer::FieldLine);
            composer->formatItem(endPrefix[size_t(k)], k, ReadmeComposer::EndLine);
        }
        for (int k = SoftName; k <= HomePage; ++k)
            fieldByPrefix.insert(fieldPrefix[size_t(k)], k);
        const auto heading = composer->oneSidedBrackets ? ReadmeComposer::OneSidedHeading
                                                        : ReadmeComposer::CentredHeading;
        for (int k = FirstBody; k <= LastBody; ++k) {
            QString line;
            composer->formatItem(line, k, heading);
            headings.insert(line, k);
            bareHeadings.insert(names()[size_t(k)], k);
        }
        gap = composer->rightBracket + u"\u3000\u3000"_s;
    }
    Layout(const Layout &) = delete;
    Layout &operator=(const Layout &) = delete;

    Line classify(const QString &line, bool inEnd) const
    {
        if (separator && line == *separator)
            return {Line::Separator};
        Line l = inEnd ? classifyEnd(line) : classifyBody(line);
        if (l.kind == Line::Other && line.contains(kCopyright))
            l.kind = Line::Copyright;
        return l;
    }

    std::optional<ReadmeComposer> composer;
    std::optional<QString> separator;
    std::array<QString, 15> fieldPrefix;
    std::array<QString, 15> endPrefix;

private:
    // Every line the body's layout writes begins with the left bracket.
    Line classifyBody(const QString &line) const
    {
        const QString &left = composer->leftBracket, &right = composer->rightBracket;
        if (!line.startsWith(left))
            return {};
        if (const auto it = headings.constFind(line); it != headings.cend())
            return {Line::Heading, *it};
        if (const qsizetype at = line.indexOf(gap, left.size()); at >= 0) {
            const QStringView prefix = QStringView(line).left(at + gap.size());
            if (const auto it = fieldByPrefix.constFind(prefix); it != fieldByPrefix.cend())
                return {Line::Field, *it, line.mid(prefix.size())};
            // A field of the author's: a name no item has, laid out as a field's.
            const QStringView middle = QStringView(line).mid(left.size(), at - left.size());
            const QStringView name = Entry::trimSpaces(middle);
            if (!name.isEmpty() && QStringView(line).mid(at, right.size()) == right &&
                fillsHeading(middle, name) && NameIndex(names()).indexOf(name) < 0 &&
                !line.mid(prefix.size()).isEmpty()) {
                Line own{Line::Field, -1, line.mid(prefix.size())};
                own.name = name.toString();
                return own;
            }
        }
        if (line.size() < left.size() + right.size() || !line.endsWith(right))
            return {};
        const QStringView middle =
            QStringView(line).mid(left.size(), line.size() - left.size() - right.size());
        const QStringView text = Entry::trimSpaces(middle);
        if (!fillsHeading(middle, text))
            return {};
        return {Line::Heading, -1, text.toString()};
    }

    // The filler a custom heading puts around its text, checked in place.
    bool fillsHeading(QStringView middle, QStringView text) const
    {
        const int room = 16 - Cp932::byteWidth(text);
        const qsizetype before = text.isEmpty() ? middle.size() : text.data() - middle.data();
        const qsizetype after = middle.size() - before - text.size();
        if (composer->oneSidedBrackets)
            return before == 0 && after == std::max(room, 0);
        if (text.isEmpty())
            return middle.size() == 16;
        const int half = std::max(room, 0) / 2;
        return before == half && after == half + (room % 2 != 0 ? 1 : 0);
    }

    Line classifyEnd(const QString &line) const
    {
        if (const auto it = bareHeadings.constFind(line); it != bareHeadings.cend())
            return {Line::Heading, *it};
        for (int k = SoftName; k <= HomePage; ++k) {
            const QString &prefix = endPrefix[size_t(k)];
            if (!line.isEmpty() && line.at(0) == prefix.at(0) && line.startsWith(prefix))
                return {Line::Field, k, line.mid(prefix.size())};
        }
        // Without filler spaces a custom end line is any line: taken as a
        // heading only where no text can stand (see Reader).
        const QStringView text = Entry::trimSpaces(line);
        const int width = Cp932::byteWidth(text);
        if (width < 20 && (text.isEmpty() || text.data() == line.data()) &&
            line.size() - text.size() == 20 - width)
            return {Line::Heading, -1, text.toString()};
        return {};
    }

    QHash<QStringView, int> fieldByPrefix; // views of fieldPrefix
    QHash<QString, int> headings;
    QHash<QString, int> bareHeadings;
    QString gap; // the right bracket and the two wide spaces before a value
};

// Reads the lines under one guess into a stored document; nullopt as soon
// as a line cannot have come from the composer.
class Reader {
public:
    Reader(const QStringList &lines, const Layout &layout) : m_lines(lines), m_layout(layout)
    {
        m_doc.entries.append(names()[StartMarker]);
        // Room for a heading every few lines: the table is not rebuilt as it
        // grows, and its empty buckets cost little.
        m_doc.texts.headings.reserve(lines.size() / 3);
    }

    std::optional<Project> read()
    {
        for (m_at = 0; m_at < m_lines.size(); ++m_at) {
            const QString &line = m_lines.at(m_at);
            const Line l = m_layout.classify(line, m_inEnd);
            if (l.kind != Line::Other) {
                m_inLead = false;
                if (!take(l, line))
                    return std::nullopt;
            } else if (m_inLead) {
                m_doc.texts.lead.append(line);
            } else if (m_text) {
                addTextLine();
            } else if (!headingsOrTail()) {
                return std::nullopt;
            }
        }
        writeTextTo(nullptr);
        m_doc.texts.headings.removeIf([](const auto &text) { return text.value().isEmpty(); });
        // A README can show a field in its end lines only: it stays unlisted.
        for (int i = SoftName; i <= HomePage; ++i)
            m_doc.unlisted.set(size_t(i), !m_doc.values[size_t(i)].isEmpty());
        return std::move(m_doc);
    }

    int copyrightWidth = -1; // the width the copyright line shows, if any

private:
    // Where no text can stand (after a field or a separator): in the end
    // section, long custom headings up to the next line of the composer's
    // own; with none left, the text after the README.
    bool headingsOrTail()
    {
        qsizetype next = m_at;
        while (next < m_lines.size() &&
               m_layout.classify(m_lines.at(next), m_inEnd).kind == Line::Other)
            ++next;
        if (next == m_lines.size()) {
            m_doc.texts.tail = m_lines.mid(m_at);
            m_at = m_lines.size();
            return true;
        }
        if (!m_inEnd)
            return false;
        for (; m_at < next; ++m_at) {
            const QString t = Entry::trimSpaces(m_lines.at(m_at)).toString();
            QString line;
            m_layout.composer->customEndLine(line, t);
            if (line != m_lines.at(m_at) || !heading(-1, t))
                return false;
        }
        --m_at;
        return true;
    }

    bool isListed(int item) const { return m_listed.contains(item); }
    void list(int item)
    {
        m_listed.insert(item);
        const QString &name = names()[size_t(item)];
        m_doc.entries.append(name.startsWith(u'●') ? name : Entry::indented(name));
    }
    bool setValue(int item, const QString &value)
    {
        QString &v = m_doc.values[size_t(item)];
        if (!v.isEmpty() && v != value)
            return false;
        v = value;
        return true;
    }

    bool heading(int item, const QString &text)
    {
        if (item < 0) {
            static const NameIndex index(names());
            const int k = index.indexOf(text);
            if (k >= 0 && kindOf(k) != Kind::BodyHeading)
                return false; // the composer lays such an entry out as its item
            if (k < 0 && text.startsWith(u'●'))
                return false;
            item = k;
        }
        const QString key = item >= 0 ? names()[size_t(item)] : text;
        if (item >= 0) {
            m_doc.values[size_t(item)] = u"1"_s;
            list(item);
        } else {
            m_doc.entries.append(Entry::indented(text));
        }
        textUnder(key);
        return true;
    }

    bool field(int k, const QString &value)
    {
        if (k == Price)
            return false; // written only after its class
        if (k == SoftClass && value == u"シェアウエア") {
            const Line price = m_at + 1 < m_lines.size()
                                   ? m_layout.classify(m_lines.at(m_at + 1), m_inEnd)
                                   : Line();
            if (price.kind != Line::Field || price.item != Price || !setValue(Price, price.value))
                return false;
            ++m_at;
        }
        // The end lines repeat the contact fields: 著作権者(文末) and the next three.
        int item = k;
        for (int e = FirstEnd; e < LastEnd; ++e) {
            if (endLineField(e) == k && (m_inEnd || isListed(k)) && !isListed(e))
                item = e;
        }
        if (isListed(item) || !setValue(k, value))
            return false;
        if (item != k)
            m_doc.values[size_t(item)] = u"1"_s;
        list(item);
        // A filled price is listed where typing it puts it: it writes no line of its own.
        if (k == SoftClass && !m_doc.values[Price].isEmpty() && !isListed(Price))
            list(Price);
        return true;
    }

    // The lines after a field's line, up to the next of the composer's, are
    // its text: a value over several lines.
    // The composer writes a text under the first of equal headings only.
    // (The list stays valid: no other heading is added while it is in use.)
    void textUnder(const QString &key)
    {
        writeTextTo(nullptr); // before the hash may move the list
        QHash<QString, QStringList> &texts = m_doc.texts.headings;
        const qsizetype before = texts.size();
        QStringList &text = texts[key]; // one look-up, whether new or not
        writeTextTo(texts.size() > before ? &text : nullptr);
    }

    bool ownField(const QString &name, const QString &value)
    {
        if (m_inEnd || m_doc.ownValues.contains(name))
            return false;
        m_doc.entries.append(Entry::indented(name));
        m_doc.ownValues.insert(name, value);
        textUnder(name);
        return true;
    }

    bool copyright(const QString &line)
    {
        // The software's name may itself start with spaces: when it is
        // known, the filler ends where it begins.
        const QString &soft = m_doc.values[SoftName];
        qsizetype start = -1, at = -1; // where the name and " Copyright(C) " begin
        if (!soft.isEmpty()) {
            start = line.indexOf(QString(soft + kCopyright));
            at = start < 0 ? -1 : start + soft.size();
        } else if ((at = line.indexOf(kCopyright)) >= 0) {
            start = at - Entry::trimLeadingSpaces(QStringView(line).left(at)).size();
        }
        if (at < 0 || !Entry::trimSpaces(QStringView(line).left(start)).isEmpty() ||
            isListed(LastEnd) || !setValue(SoftName, line.mid(start, at - start)) ||
            !setValue(Writer, line.mid(at + kCopyright.size())))
            return false;
        if (start > 0)
            copyrightWidth = int(start) + Cp932::byteWidth(line.mid(start));
        m_doc.values[LastEnd] = u"1"_s;
        list(LastEnd);
        writeTextTo(nullptr);
        return true;
    }

    // A separator is the end marker when what follows is laid out as the
    // end section.
    bool endFollows() const
    {
        for (qsizetype i = m_at + 1; i < m_lines.size(); ++i) {
            const Line body = m_layout.classify(m_lines.at(i), false);
            if (body.kind == Line::Separator || body.kind == Line::Copyright)
                continue;
            return body.kind == Line::Other;
        }
        return false;
    }

    bool take(const Line &l, const QString &line)
    {
        switch (l.kind) {
        case Line::Separator:
            writeTextTo(nullptr);
            if (!m_inEnd && !isListed(EndMarker) && endFollows()) {
                m_doc.values[EndMarker] = u"1"_s;
                list(EndMarker);
                m_inEnd = true;
            } else if (!isListed(BodyMarker)) {
                list(BodyMarker);
            } else {
                m_doc.entries.append(u"●区切り%1"_s.arg(++m_markers));
            }
            return true;
        case Line::Field:
            writeTextTo(nullptr);
            if (l.item < 0)
                return ownField(l.name, l.value);
            if (!field(l.item, l.value))
                return false;
            if (!m_inEnd)
                textUnder(names()[size_t(l.item)]);
            return true;
        case Line::Heading:
            return heading(l.item, l.value);
        case Line::Copyright:
            return copyright(line);
        case Line::Other:
            break;
        }
        return false;
    }

    const QStringList &m_lines;
    const Layout &m_layout;
    Project m_doc;
    qsizetype m_at = 0;
    bool m_inEnd = false;
    int m_markers = 0;
    QSet<int> m_listed;
    // Where a text line goes: before the first line of the composer's own,
    // under a heading, or nowhere (null) after a field or a separator.
    bool m_inLead = true;
    // The lines of the text being read, taken into *m_text a run at a time:
    // each list is made once, at its size.
    void addTextLine()
    {
        if (m_pendingCount > 0 && m_pendingFrom + m_pendingCount != m_at)
            takePendingLines();
        if (m_pendingCount++ == 0)
            m_pendingFrom = m_at;
    }
    void takePendingLines()
    {
        if (m_pendingCount == 0)
            return;
        const QStringList run = m_lines.mid(m_pendingFrom, m_pendingCount);
        if (m_text->isEmpty())
            *m_text = run;
        else
            m_text->append(run);
        m_pendingCount = 0;
    }
    void writeTextTo(QStringList *text)
    {
        takePendingLines();
        m_text = text;
    }
    QStringList *m_text = nullptr;
    qsizetype m_pendingFrom = 0;
    qsizetype m_pendingCount = 0;
};

// Bracket pairs a line shows around an item's name, beside the three options.
void bracketsAround(const QString &line, std::vector<Guess> &guesses)
{
    for (int k = SoftName; k <= LastBody; ++k) {
        const QString &name = names()[size_t(k)];
        if (k == BodyMarker || !line.contains(name))
            continue;
        const int room = 16 - Cp932::byteWidth(name);
        const QString centred = QString(room / 2, u' ') + name + QString(room / 2, u' ');
        const QString oneSided = name + QString(room, u' ');
        for (const QString &token : {centred, oneSided}) {
            const qsizetype at = line.indexOf(token);
            if (at < 0)
                continue;
            const QString rest = line.mid(at + token.size());
            const qsizetype gap = rest.indexOf(u"\u3000\u3000");
            const QString right = gap >= 0 && isField(k) ? rest.left(gap) : rest;
            guesses.push_back(Guess(Styles::kFree, {line.left(at), right}));
        }
        return;
    }
}

std::vector<Guess> bracketGuesses(const QStringList &lines)
{
    std::vector<Guess> guesses;
    for (int i = 0; i < Styles::kFree; ++i)
        guesses.push_back(Guess(i));
    for (qsizetype i = 0; i < lines.size() && guesses.size() < 8; ++i)
        bracketsAround(lines.at(i), guesses);
    // A free pair that is one of the options is that option.
    std::vector<Guess> distinct;
    for (Guess g : guesses) {
        for (int i = 0; i < Styles::kFree && g.bracketOption == Styles::kFree; ++i) {
            const auto &pair = Styles::kBrackets[size_t(i)];
            if (g.freeBrackets[0] == QString::fromUtf16(pair.left) &&
                g.freeBrackets[1] == QString::fromUtf16(pair.right))
                g = Guess(i);
        }
        const bool bothEmpty = g.freeBrackets[0].isEmpty() && g.freeBrackets[1].isEmpty();
        const bool seen = std::any_of(distinct.begin(), distinct.end(), [&](const Guess &d) {
            return d.bracketOption == g.bracketOption && d.freeBrackets == g.freeBrackets;
        });
        if (!seen && !(g.bracketOption == Styles::kFree && bothEmpty))
            distinct.push_back(g);
    }
    return distinct;
}

// The smallest piece whose repetition makes the line.
QString period(const QString &line)
{
    std::vector<qsizetype> border(size_t(line.size()) + 1, 0);
    for (qsizetype i = 1, k = 0; i < line.size(); ++i) {
        while (k > 0 && line.at(i) != line.at(k))
            k = border[size_t(k)];
        if (line.at(i) == line.at(k))
            ++k;
        border[size_t(i + 1)] = k;
    }
    return line.left(line.size() - border[size_t(line.size())]);
}

// Lines standing where a separator would: after a field, before a heading
// or a field, or before the end section's lines; the most frequent in the
// whole README first. No separator is the last guess.
QStringList separatorGuesses(const QStringList &lines, const Layout &layout)
{
    // The body marker's line stands near the top, the end marker's near the
    // bottom: looking there keeps a long README's guess short.
    constexpr qsizetype kLook = 2000;
    QSet<QString> candidates;
    const auto look = [&](qsizetype from, qsizetype to) {
        if (from >= to)
            return;
        Line::Kind before =
            from > 0 ? layout.classify(lines.at(from - 1), false).kind : Line::Other;
        Line::Kind kind = layout.classify(lines.at(from), false).kind;
        for (qsizetype i = from; i < to && candidates.size() < 16; ++i) {
            const QString next = lines.value(i + 1);
            const Line::Kind after = layout.classify(next, false).kind;
            const bool endFollows =
                after == Line::Other && layout.classify(next, true).kind != Line::Other;
            if (kind == Line::Other && (before == Line::Field || after == Line::Heading ||
                                        after == Line::Field || endFollows))
                candidates.insert(lines.at(i));
            before = kind;
            kind = after;
        }
    };
    const qsizetype top = std::min(kLook, lines.size());
    look(0, top);
    look(std::max(top, lines.size() - kLook), lines.size());
    QHash<QString, int> count;
    for (const QString &line : lines) {
        if (candidates.contains(line))
            ++count[line];
    }
    QStringList guesses = count.keys();
    // A line made of a repeated pattern first: text lines recur too.
    const auto repeats = [](const QString &l) { return period(l).size() * 2 <= l.size(); };
    std::sort(guesses.begin(), guesses.end(), [&](const QString &a, const QString &b) {
        if (repeats(a) != repeats(b))
            return repeats(a);
        return count.value(a) != count.value(b) ? count.value(a) > count.value(b) : a < b;
    });
    return guesses.mid(0, 3);
}

void setStyles(Project &doc, const Guess &g, int copyrightWidth, const Layout &layout)
{
    doc.bracketStyle = g.bracketOption;
    if (g.bracketOption == Styles::kFree)
        doc.bracketText = g.freeBrackets;
    int width = 80;
    if (g.hasSeparator) {
        width = int(g.separator.size());
        doc.lineStyle = Styles::kFree;
        doc.lineText = period(g.separator);
        for (int i = Styles::kFree - 1; i >= 0; --i) {
            const QString pattern = QString::fromUtf16(Styles::kLines[size_t(i)].pattern);
            QString line;
            while (line.size() < width)
                line += pattern;
            if (line.left(width) == g.separator) {
                doc.lineStyle = i;
                doc.lineText.clear();
            }
        }
    } else if (copyrightWidth >= 0) {
        width = copyrightWidth;
    } else if (doc.values[LastEnd] == u"1") {
        // A copyright line without filler: any width up to its own.
        QString line;
        layout.composer->copyrightLine(line);
        width = std::min(80, Cp932::byteWidth(line));
    }
    doc.widthText = QString::number(width);
}

bool composesBack(const Project &doc, const QStringList &lines)
{
    const Result<QString> c = ReadmeComposer(ProjectRules::settled(doc)).compose();
    if (!c.ok())
        return false;
    // The composed text, line by line: each line and then CR LF.
    QStringView text(c.value());
    for (const QString &line : lines) {
        if (!text.startsWith(line) || text.mid(line.size(), 2) != u"\r\n")
            return false;
        text = text.mid(line.size() + 2);
    }
    return text.isEmpty();
}
} // namespace

std::optional<Project> read(const QStringList &lines,
                            const std::function<bool(const QString &)> &foreignHeader)
{
    // Any guess reads a README of text alone; one that finds the composer's
    // own lines is the better reading.
    std::optional<Project> textAlone;
    for (Guess g : bracketGuesses(lines)) {
        const Layout plain(g, 80);
        QStringList separators = separatorGuesses(lines, plain);
        separators.append(QString()); // and no separator at all
        for (qsizetype i = 0; i < separators.size(); ++i) {
            g.hasSeparator = i + 1 < separators.size();
            g.separator = separators.at(i);
            const Layout layout(g, 80);
            Reader reader(lines, layout);
            std::optional<Project> doc = reader.read();
            if (!doc || (doc->entries.size() < 2 && textAlone))
                continue;
            if (foreignHeader &&
                std::any_of(doc->texts.lead.cbegin(), doc->texts.lead.cend(), foreignHeader))
                continue;
            setStyles(*doc, g, reader.copyrightWidth, layout);
            if (!composesBack(*doc, lines))
                continue;
            if (doc->entries.size() >= 2)
                return doc;
            textAlone = std::move(doc);
        }
    }
    return textAlone;
}

} // namespace ComposedReadme
