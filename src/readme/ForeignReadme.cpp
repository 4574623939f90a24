#include "ForeignReadme.h"

#include "ForeignNames.h"
#include "platform/Cp932.h"
#include "project/Entry.h"
#include "project/Styles.h"
#include "readme/ReadmeComposer.h"

#include <QHash>
#include <algorithm>
#include <optional>
#include <vector>

using namespace Qt::StringLiterals;
using namespace Items;

namespace {

constexpr QStringView kMarks = u"■□●◆◇★☆";
constexpr QStringView kBullets = u"・･*＊-－○◎";
constexpr QStringView kRules = u"=-＝－━─";
constexpr QStringView kDecoration = u"=-_~*#+・･＝－＿～＊＃＋―‐━─═┃│┏┓┗┛■□●○◎◆◇★☆";
constexpr QStringView kNumberEnds = u".．)）、";
// Wider titles are sentences that happen to start with a mark.
constexpr int kTitleWidth = 40;

struct Pair {
    char16_t left, right;
};
constexpr Pair kPairs[] = {{u'【', u'】'}, {u'《', u'》'}, {u'<', u'>'},   {u'＜', u'＞'},
                           {u'[', u']'},   {u'［', u'］'}, {u'〔', u'〕'}, {u'〈', u'〉'},
                           {u'『', u'』'}, {u'≪', u'≫'}};

const Pair *pairOpenedBy(QChar c)
{
    for (const Pair &p : kPairs) {
        if (p.left == c.unicode())
            return &p;
    }
    return nullptr;
}

bool isBodyItem(int k)
{
    return k >= FirstBody && k <= LastBody;
}

QString itemName(int k)
{
    return QString::fromUtf16(isBodyItem(k) ? kBodyCaptions[size_t(k - FirstBody)]
                                            : kHeaderCaptions[size_t(k)]);
}

// A custom heading of that name would be read back as the item.
bool isItemName(QStringView text)
{
    const auto in = [text](const auto &names) {
        return std::any_of(names.begin(), names.end(),
                           [text](const char16_t *n) { return text == QStringView(n); });
    };
    return in(kHeaderCaptions) || in(kBodyCaptions) || in(kEndCaptions) ||
           text == QStringView(static_cast<const char16_t *>(kEndMarkerName));
}

QStringView trimmedRight(QStringView s)
{
    while (!s.isEmpty() && s.back().isSpace())
        s.chop(1);
    return s;
}

bool hasWords(QStringView s)
{
    return std::any_of(s.begin(), s.end(), [](QChar c) { return c.isLetterOrNumber(); });
}

// At least `least` characters, all from the set, spaces aside.
bool onlyOf(QStringView line, QStringView set, int least)
{
    int n = 0;
    for (QChar c : line) {
        if (c.isSpace())
            continue;
        if (!set.contains(c))
            return false;
        ++n;
    }
    return n >= least;
}

bool isDecoration(QStringView line)
{
    return onlyOf(line, kDecoration, 3);
}

// The text inside marks and brackets: "■【 概要 】■" is "概要".
QStringView bare(QStringView t)
{
    for (;;) {
        const qsizetype before = t.size();
        t = t.trimmed();
        while (!t.isEmpty() && kMarks.contains(t.front()))
            t = t.mid(1).trimmed();
        while (!t.isEmpty() && kMarks.contains(t.back()))
            t = t.chopped(1).trimmed();
        if (const Pair *p = t.size() >= 2 ? pairOpenedBy(t.front()) : nullptr;
            p && t.back() == p->right)
            t = t.mid(1, t.size() - 2);
        if (t.size() == before)
            return t;
    }
}

// How a heading or header line marks itself: a bracket pair, or a mark
// standing as a one-sided bracket.
struct Style {
    QString left, right;
};

struct Header {
    QString name;
    QString source; // the name as the line shows it
    QString value;
    int item = -1; // a field, or -1 for a name no field goes by
    Style style;
    bool bulleted = false; // "・機能：…", more likely a list's line than a header's
};

bool plausibleName(QStringView name)
{
    return Cp932::byteWidth(name.toString()) <= 20 &&
           std::all_of(name.begin(), name.end(), [](QChar c) {
               return c.isLetterOrNumber() || c.isSpace() || QStringView(u"-._・").contains(c);
           });
}

// "【名称】 value", "名称：value", "・名称 : value", "■名称 value".
std::optional<Header> parseHeader(QStringView line)
{
    QStringView t = line.trimmed();
    QString mark;
    while (!t.isEmpty() && (kMarks.contains(t.front()) || kBullets.contains(t.front()))) {
        mark += t.front();
        t = t.mid(1).trimmed();
    }
    if (t.isEmpty())
        return std::nullopt;
    Header h;
    const qsizetype colon = [t] {
        const qsizetype a = t.indexOf(u':'), b = t.indexOf(u'：');
        return a < 0 ? b : b < 0 ? a : std::min(a, b);
    }();
    QStringView name, value;
    if (const Pair *p = pairOpenedBy(t.front())) {
        const qsizetype close = t.indexOf(QChar(p->right), 1);
        if (close < 0)
            return std::nullopt;
        name = t.mid(1, close - 1).trimmed();
        value = t.mid(close + 1).trimmed();
        if (value.startsWith(u':') || value.startsWith(u'：'))
            value = value.mid(1).trimmed();
        h.source = mark + t.left(close + 1).toString();
        h.style = {QChar(p->left), QChar(p->right)};
    } else if (colon > 0) {
        name = t.left(colon).trimmed();
        value = t.mid(colon + 1).trimmed();
        if (value.startsWith(u"//")) // a URL, not a name
            return std::nullopt;
        h.source = mark + name.toString();
    } else if (!mark.isEmpty()) {
        const auto space = std::find_if(t.begin(), t.end(), [](QChar c) { return c.isSpace(); });
        name = t.left(space - t.begin());
        value = t.mid(space - t.begin()).trimmed();
        if (!isField(ForeignNames::itemOf(name)))
            return std::nullopt;
        h.source = mark + name.toString();
    }
    if (name.isEmpty() || value.isEmpty() || !plausibleName(name))
        return std::nullopt;
    h.bulleted = !mark.isEmpty() && kBullets.contains(mark.front());
    if (!mark.isEmpty() && h.style.left.isEmpty() && kMarks.contains(mark.front()))
        h.style = {mark.left(1), QString()};
    h.name = name.toString();
    h.value = value.toString();
    const int k = ForeignNames::itemOf(name);
    h.item = isField(k) ? k : -1;
    return h;
}

// "<script …>", "</div>", "<!-- …": a line of HTML, never a heading.
bool isMarkup(QStringView t)
{
    if (t.size() < 2 || t.front() != u'<')
        return false;
    const QChar c = t[1];
    return c == u'/' || c == u'!' || (c.unicode() < 0x80 && c.isLetter());
}

// A line that starts with a mark: "■ 機能" is an item of a list when the line
// before or after it starts with the same mark.
bool isListItem(const QStringList &lines, qsizetype i)
{
    const QStringView t = QStringView(lines[i]).trimmed();
    if (t.isEmpty() || !(kMarks.contains(t.front()) || kBullets.contains(t.front())))
        return false;
    const auto sameMark = [&](qsizetype j) {
        if (j < 0 || j >= lines.size())
            return false;
        const QStringView o = QStringView(lines[j]).trimmed();
        return !o.isEmpty() && o.front() == t.front() && !isDecoration(o);
    };
    return sameMark(i - 1) || sameMark(i + 1);
}

struct Heading {
    QString title;
    QString line; // verbatim
    Style style;
};

std::optional<Heading> titled(QStringView title, const QString &line, Style style = {})
{
    if (!hasWords(title))
        return std::nullopt;
    return Heading{title.toString(), line, std::move(style)};
}

// "【ソフト紹介】", "[ 概要 ]", "■概要", "◆更新履歴◆" or "1. 概要", at the line's start.
std::optional<Heading> headingOf(const QString &line)
{
    const QStringView t = trimmedRight(line);
    if (t.isEmpty() || t.front().isSpace() || isMarkup(t))
        return std::nullopt;
    if (const Pair *p = pairOpenedBy(t.front()); p && t.size() > 2 && t.back() == p->right) {
        const QStringView inner = t.mid(1, t.size() - 2);
        if (!inner.contains(QChar(p->left)) && !inner.contains(QChar(p->right)))
            return titled(bare(inner), line, {QChar(p->left), QChar(p->right)});
    }
    if (kMarks.contains(t.front())) {
        if (parseHeader(t) || Cp932::byteWidth(t.toString()) > kTitleWidth)
            return std::nullopt;
        return titled(bare(t), line, {t.left(1).toString(), QString()});
    }
    qsizetype digits = 0;
    while (digits < t.size() && t[digits].isDigit())
        ++digits;
    if (digits > 0 && digits < t.size() && kNumberEnds.contains(t[digits])) {
        const QStringView title = bare(t.mid(digits + 1));
        if (isBodyItem(ForeignNames::itemOf(title)))
            return titled(title, line);
    }
    return std::nullopt;
}

// A short line after a blank one, underlined with === or ---; a line between
// two rules is a boxed title instead, and a full-width rule under a sentence
// a separator.
std::optional<Heading> underlinedHeading(const QStringList &lines, qsizetype i)
{
    if (i == 0 || i + 1 >= lines.size() || !lines[i - 1].trimmed().isEmpty())
        return std::nullopt;
    const QStringView text = trimmedRight(lines[i]), rule = trimmedRight(lines[i + 1]);
    if (text.isEmpty() || text.front().isSpace() || isDecoration(text) || parseHeader(text))
        return std::nullopt;
    if (rule.isEmpty() || rule.front().isSpace() || !onlyOf(rule, kRules, 3))
        return std::nullopt;
    const int width = Cp932::byteWidth(text.toString());
    if (width > kTitleWidth || Cp932::byteWidth(rule.toString()) > 2 * width + 16)
        return std::nullopt;
    return titled(bare(text), lines[i]);
}

// The shortest piece a separator line repeats: "=-=-=-" is "=-". Longer
// pieces are no pattern anyone draws, and trying them all is quadratic.
QString patternOf(QStringView line)
{
    for (qsizetype p = 1; p < std::min<qsizetype>(line.size(), 16); ++p) {
        bool repeats = true;
        for (qsizetype i = p; i < line.size() && repeats; ++i)
            repeats = line[i] == line[i % p];
        if (repeats)
            return line.left(p).toString();
    }
    return line.toString();
}

// The most frequent vote; on a tie, the first to get there.
QString mostCommon(const QStringList &votes)
{
    QHash<QString, int> count;
    QString best;
    for (const QString &v : votes) {
        if (++count[v] > count.value(best))
            best = v;
    }
    return best;
}

class Reader {
public:
    explicit Reader(const QStringList &lines) : m_lines(lines) {}
    ReadmeImport::Imported run();

private:
    struct Section {
        Heading heading;
        QStringList lines;
    };
    // Where a line of text goes: under the last section, else under the
    // last header field, else before the README's first line.
    QStringList &current()
    {
        if (!m_sections.empty())
            return m_sections.back().lines;
        return m_lastField.isEmpty() ? m_lead : m_texts[m_lastField];
    }
    bool isTitle(const Heading &h, qsizetype next) const;
    void startSection(Heading heading);
    void takeHeader(const Header &h, const QString &line);
    void setField(int k, const QString &value, const QString &source);
    bool setOwnField(const Header &h);
    void keepAsText(const QString &line, QStringList &into);
    void resolveSections();
    void keepPriceVisible();
    void chooseStyles();

    const QStringList &m_lines;
    ReadmeImport::Imported m_out;
    QStringList m_lead;
    std::vector<Section> m_sections;
    bool m_inTop = true;                 // no body heading yet
    QStringList m_entries;               // in the order the README has them
    QHash<QString, QStringList> m_texts; // by entry
    QString m_lastField;
    QStringList m_styleVotes;
    QStringList m_separators;
};

ReadmeImport::Imported Reader::run()
{
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const QString &line = m_lines[i];
        if (line.trimmed().isEmpty()) {
            current().append(line);
        } else if (std::optional<Heading> h = underlinedHeading(m_lines, i)) {
            if (isTitle(*h, i + 2)) {
                current().append(line);
            } else {
                startSection(std::move(*h));
            }
            current().append(m_lines[++i]); // the underline stays under it
        } else if (isDecoration(line)) {
            // Rules stay where they are; the most used one sets the style.
            m_separators.append(line.trimmed());
            current().append(line);
        } else if (std::optional<Header> hd = m_inTop ? parseHeader(line) : std::nullopt) {
            takeHeader(*hd, line);
        } else if (std::optional<Heading> h = headingOf(line);
                   h && !isTitle(*h, i + 1) && !isListItem(m_lines, i)) {
            startSection(std::move(*h));
        } else {
            current().append(line);
        }
    }
    resolveSections();
    keepPriceVisible();
    chooseStyles();
    Project &doc = m_out.doc;
    // No marker the README does not show: the body's would draw a rule.
    doc.entries = QStringList{QString::fromUtf16(kHeaderCaptions[StartMarker])} + m_entries;
    doc.texts.lead = m_lead;
    for (auto it = m_texts.cbegin(); it != m_texts.cend(); ++it)
        doc.texts.setUnder(it.key(), it.value());
    return std::move(m_out);
}

// A title line above the header block, "◆ MemoClip ◆", is no section of
// its own; a known body heading never is a title.
bool Reader::isTitle(const Heading &h, qsizetype next) const
{
    if (!m_inTop || isBodyItem(ForeignNames::itemOf(h.title)))
        return false;
    for (qsizetype i = next; i < m_lines.size(); ++i) {
        if (m_lines[i].trimmed().isEmpty() || isDecoration(m_lines[i]))
            continue;
        const std::optional<Header> h = parseHeader(m_lines[i]);
        return h && h->item >= 0;
    }
    return false;
}

void Reader::startSection(Heading heading)
{
    if (!heading.style.left.isEmpty())
        m_styleVotes.append(heading.style.left + u'\n' + heading.style.right);
    // A heading named like a field may be a field's value under it: the
    // header block goes on.
    m_inTop = m_inTop && isField(ForeignNames::itemOf(heading.title));
    m_sections.push_back({std::move(heading), {}});
}

void Reader::takeHeader(const Header &h, const QString &line)
{
    if (!h.style.left.isEmpty())
        m_styleVotes.append(h.style.left + u'\n' + h.style.right);
    if (h.item < 0 && (h.bulleted || line.front().isSpace()))
        return current().append(line); // the author's own words, in a list or indented
    if (h.item < 0) {
        if (!setOwnField(h))
            current().append(line); // a sentence that looked like a label
        return;
    }
    if (!m_out.doc.values[size_t(h.item)].isEmpty())
        return keepAsText(line, current());
    setField(h.item, h.value, h.source);
}

void Reader::setField(int k, const QString &value, const QString &source)
{
    m_out.doc.values[size_t(k)] = value;
    m_lastField = itemName(k);
    m_entries.append(Entry::indented(m_lastField));
    m_out.mapped.append(u"%1 → %2"_s.arg(source, itemName(k)));
}

// A header line no item goes by is a field of the author's own, in place.
bool Reader::setOwnField(const Header &h)
{
    const QString name = Entry::trimSpaces(h.name).toString();
    // Two words before a colon are a sentence more often than a label, and
    // 『』 quote a name: "『かんな』とは？" is a sentence.
    if (std::any_of(name.begin(), name.end(), [](QChar c) { return c.isSpace(); }) ||
        h.style.left == u"『" || h.style.left == u"〔" || isItemName(name) ||
        m_out.doc.ownValues.contains(name) || m_texts.contains(name))
        return false;
    m_out.doc.ownValues.insert(name, h.value);
    m_lastField = name;
    m_entries.append(Entry::indented(name));
    m_out.keptAsIs.append(u"%1 → 独自の項目「%2」"_s.arg(h.source, name));
    return true;
}

void Reader::keepAsText(const QString &line, QStringList &into)
{
    into.append(line);
    m_out.keptAsIs.append(u"%1 → 本文"_s.arg(line.trimmed()));
}

// Each heading becomes its item, a custom heading, a field's value when a
// field's heading has one line under it, or, when its item or name is taken,
// a line of the text it follows.
void Reader::resolveSections()
{
    Project &doc = m_out.doc;
    QString key = m_lastField; // of the text lines go to; empty for the lead
    const auto text = [&]() -> QStringList & { return key.isEmpty() ? m_lead : m_texts[key]; };
    for (Section &s : m_sections) {
        const int k = ForeignNames::itemOf(s.heading.title);
        const QString source = s.heading.line.trimmed();
        QStringList words;
        for (const QString &l : std::as_const(s.lines)) {
            if (!l.trimmed().isEmpty())
                words.append(l.trimmed());
        }
        // A label alone on its line: the value is the next line, and a few
        // more lines go on with it. A rule in between makes it a heading.
        const qsizetype first =
            std::find_if(s.lines.cbegin(), s.lines.cend(),
                         [](const QString &l) { return !l.trimmed().isEmpty(); }) -
            s.lines.cbegin();
        if (isField(k) && doc.values[size_t(k)].isEmpty() && first < s.lines.size() &&
            hasWords(s.lines.at(first)) && words.size() <= 3 &&
            Cp932::byteWidth(words.first()) <= kTitleWidth * 2) {
            setField(k, words.first(), source);
            key = m_lastField;
            if (const QStringList rest = s.lines.mid(first + 1); !rest.isEmpty())
                m_texts.insert(key, rest);
            continue;
        }
        QString name = isBodyItem(k) ? itemName(k) : s.heading.title;
        if (!isBodyItem(k) && isItemName(name))
            name += u"について"_s;
        if (m_texts.contains(name) || doc.ownValues.contains(name) ||
            (isField(k) && !doc.values[size_t(k)].isEmpty())) {
            keepAsText(s.heading.line, text());
            text().append(s.lines);
            continue;
        }
        m_entries.append(Entry::indented(name));
        if (isBodyItem(k)) {
            doc.values[size_t(k)] = u"1"_s;
            m_out.mapped.append(u"%1 → %2"_s.arg(source, name));
        } else {
            m_out.keptAsIs.append(u"%1 → 見出し「%2」"_s.arg(source, name));
        }
        key = name;
        m_texts.insert(key, s.lines);
    }
}

// A price composes only after a class of シェアウエア; under any other class
// it stays the author's own field, as the README labels it.
void Reader::keepPriceVisible()
{
    Project &doc = m_out.doc;
    const QString item = itemName(Price);
    if (doc.values[Price].isEmpty())
        return;
    if (doc.values[SoftClass] == u"シェアウエア") {
        // The price's line follows the class's, and so do the class's lines:
        // what stood under the price goes with them.
        if (m_texts.contains(item))
            m_texts[itemName(SoftClass)] += m_texts.take(item);
        return;
    }
    const qsizetype at = m_entries.indexOf(Entry::indented(item));
    const auto mapped = std::find_if(m_out.mapped.begin(), m_out.mapped.end(),
                                     [&](const QString &m) { return m.endsWith(u" → "_s + item); });
    if (at < 0 || mapped == m_out.mapped.end())
        return;
    const QString source = mapped->section(u" → "_s, 0, 0);
    QString label = bare(source).toString();
    if (isItemName(label) || label.isEmpty() || doc.ownValues.contains(label))
        label = u"代金"_s;
    m_out.mapped.erase(mapped);
    m_out.keptAsIs.append(u"%1 → 独自の項目「%2」"_s.arg(source, label));
    m_entries[at] = Entry::indented(label);
    doc.ownValues.insert(label, doc.values[Price]);
    doc.values[Price].clear();
    if (m_texts.contains(item))
        m_texts.insert(label, m_texts.take(item));
}

// The bracket pair most headings use, the separator line most used and its width.
void Reader::chooseStyles()
{
    using namespace Styles;
    Project &doc = m_out.doc;
    doc.widthText = QString::fromUtf16(kDefaultLineCount);
    if (const QString style = mostCommon(m_styleVotes); !style.isEmpty()) {
        const QString left = style.section(u'\n', 0, 0), right = style.section(u'\n', 1);
        doc.bracketStyle = kFree;
        for (size_t i = 0; i < kBrackets.size(); ++i) {
            if (left == QStringView(kBrackets[i].left) && right == QStringView(kBrackets[i].right))
                doc.bracketStyle = int(i);
        }
        if (doc.bracketStyle == kFree)
            doc.bracketText = {left, right};
    }
    QStringList patterns;
    for (const QString &s : std::as_const(m_separators))
        patterns.append(patternOf(s));
    const QString pattern = mostCommon(patterns);
    if (pattern.isEmpty())
        return;
    doc.lineStyle = kFree;
    for (size_t i = 0; i < kLines.size(); ++i) {
        if (pattern == patternOf(kLines[i].pattern))
            doc.lineStyle = int(i);
    }
    if (doc.lineStyle == kFree)
        doc.lineText = pattern;
    // The composer repeats a pattern to a number of characters, so a line
    // of wide characters comes back as long as it was.
    int width = 0;
    for (qsizetype i = 0; i < m_separators.size(); ++i) {
        if (patterns[i] == pattern)
            width = std::max(width, int(m_separators[i].size()));
    }
    doc.widthText = QString::number(std::min(width, ReadmeComposer::kMaxLineWidth));
}

} // namespace

namespace ForeignReadme {

ReadmeImport::Imported read(const QStringList &lines)
{
    return Reader(lines).run();
}

bool isFieldLine(const QString &line)
{
    const std::optional<Header> h = parseHeader(line);
    return h && h->item >= 0;
}

} // namespace ForeignReadme
