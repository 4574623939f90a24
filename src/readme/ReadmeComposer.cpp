#include "ReadmeComposer.h"

#include "LineWrap.h"
#include "platform/Cp932.h"
#include "project/Entry.h"
#include "project/Styles.h"

using namespace Qt::StringLiterals;
using namespace Items;

namespace {
const QString kCrLf = u"\r\n"_s;
const QString kWideGap = u"\u3000\u3000"_s;
constexpr int kHeadingWidth = 16;
constexpr int kEndNameWidth = 20;
} // namespace

ReadmeComposer::ReadmeComposer(Project snapshot)
    : m_doc(std::move(snapshot)), m_names(Items::names())
{
}

Result<> ReadmeComposer::readStyles()
{
    oneSidedBrackets = false;
    const QString count = m_doc.widthText;
    if (count.isEmpty()) {
        lineWidth = 0;
    } else {
        bool ok = false;
        lineWidth = count.trimmed().toInt(&ok);
        if (!ok)
            return Result<>::failure(u"1行の桁数「%1」は整数ではありません"_s.arg(count));
        if (lineWidth < 0)
            return Result<>::failure(u"1行の桁数「%1」が負の数です"_s.arg(count));
        if (lineWidth > kMaxLineWidth)
            return Result<>::failure(
                u"1行の桁数「%1」は大きすぎます（%2 まで）"_s.arg(count).arg(kMaxLineWidth));
    }

    QString pattern;
    using namespace Styles;
    const int line = m_doc.lineStyle;
    if (line >= 0 && line < kFree)
        pattern = QString::fromUtf16(kLines[size_t(line)].pattern);
    else if (line == kFree)
        pattern = m_doc.lineText.isEmpty() ? QString::fromUtf16(kEmptyFreePattern) : m_doc.lineText;

    const int brackets = m_doc.bracketStyle;
    if (brackets >= 0 && brackets < kFree) {
        leftBracket = QString::fromUtf16(kBrackets[size_t(brackets)].left);
        rightBracket = QString::fromUtf16(kBrackets[size_t(brackets)].right);
    } else if (brackets == kFree) {
        const QString &l = m_doc.bracketText[0];
        const QString &r = m_doc.bracketText[1];
        if (l.isEmpty() && r.isEmpty()) {
            leftBracket = QString::fromUtf16(kEmptyFreeBrackets.left);
            rightBracket = QString::fromUtf16(kEmptyFreeBrackets.right);
        } else {
            leftBracket = l;
            rightBracket = r;
            oneSidedBrackets = l.isEmpty() || r.isEmpty();
        }
    }

    // An empty pattern gives an empty line, never an endless repetition.
    separatorLine.clear();
    if (!pattern.isEmpty()) {
        separatorLine.reserve(lineWidth + pattern.size());
        while (separatorLine.size() < lineWidth)
            separatorLine += pattern;
        // Cut at a character boundary: half a surrogate pair is no character.
        qsizetype cut = lineWidth;
        if (cut > 0 && separatorLine.at(cut - 1).isHighSurrogate())
            --cut;
        separatorLine.truncate(cut);
    }
    return {};
}

void ReadmeComposer::padding(QString &out, int fieldWidth, int textWidth, int halve) const
{
    static const QString spaces(64, u' ');
    const int d = fieldWidth - textWidth;
    // Appended, not resized: resize() grows to the exact size and would copy
    // the whole text again for every line.
    for (int n = d <= 0 ? 0 : halve != 0 && !oneSidedBrackets ? d / 2 : d; n > 0; n -= 64)
        out.append(spaces.constData(), std::min(n, 64));
}

void ReadmeComposer::formatItem(QString &out, int index, ItemLayout layout) const
{
    formatItem(out, Items::names().at(size_t(index)), m_doc.values.at(size_t(index)), layout);
}

// An entry's name as the README's language shows it.
QStringView ReadmeComposer::shown(QStringView name) const
{
    const QHash<QString, QString> &names = m_doc.languages.shownNames;
    if (names.isEmpty())
        return name;
    const auto it = names.constFind(name.toString());
    return it == names.cend() || it->isEmpty() ? name : QStringView(*it);
}

void ReadmeComposer::formatItem(QString &out, QStringView name, QStringView value,
                                ItemLayout layout) const
{
    const QStringView own = shown(name);
    // A name in another language may be of odd width: centred like a custom heading.
    const bool odd = own.data() != name.data() && Cp932::byteWidth(own) % 2 != 0;
    name = own;
    const int w = Cp932::byteWidth(name);
    switch (layout) {
    case EndLine:
        out += name;
        padding(out, kEndNameWidth, w, 0);
        out += value;
        return;
    case CentredHeading:
    case FieldLine:
        out += leftBracket;
        if (layout == CentredHeading || !oneSidedBrackets)
            padding(out, kHeadingWidth, w, 1);
        out += name;
        padding(out, kHeadingWidth, w, 1);
        if (odd && !oneSidedBrackets)
            out += u' ';
        out += rightBracket;
        if (layout == FieldLine) {
            out += kWideGap;
            out += value;
        }
        return;
    case OneSidedHeading:
        out += leftBracket;
        out += name;
        padding(out, kHeadingWidth, w, 1);
        out += rightBracket;
        return;
    }
}

void ReadmeComposer::customHeading(QString &out, QStringView text) const
{
    text = shown(text);
    const int c = Cp932::byteWidth(text);
    out += leftBracket;
    if (!oneSidedBrackets)
        padding(out, kHeadingWidth, c, 1);
    out += text;
    padding(out, kHeadingWidth, c, 1);
    if (!oneSidedBrackets && (kHeadingWidth - c) % 2 != 0)
        out += u' ';
    out += rightBracket;
}

void ReadmeComposer::customEndLine(QString &out, QStringView text) const
{
    text = shown(text);
    out += text;
    padding(out, kEndNameWidth, Cp932::byteWidth(text), 0);
}

void ReadmeComposer::copyrightLine(QString &out) const
{
    const QString s = m_doc.values[SoftName] + u" Copyright(C) "_s + m_doc.values[Writer];
    padding(out, lineWidth, Cp932::byteWidth(s), 0);
    out += s;
}

// Ends the line that began at start: its record, then its line end.
void ReadmeComposer::endLine(Composition &c, ComposedLine line, qsizetype start)
{
    if (m_keepLines) {
        m_spans.push_back({start, c.text.size() - start}); // the text may still move
        c.lines.push_back(line);
    }
    c.text += kCrLf;
}

// Ends a line of the author's text, or a field's line whose value starts at
// valueAt, broken at the width when the project asks for it.
void ReadmeComposer::endWrapped(Composition &c, ComposedLine line, qsizetype start,
                                qsizetype valueAt)
{
    if (m_doc.wrap == Project::Wrap::Off || lineWidth <= 0 ||
        Cp932::byteWidth(QStringView(c.text).mid(start)) <= lineWidth)
        return endLine(c, line, start);
    const LineWrap::Layout layout{lineWidth, m_doc.wrap == Project::Wrap::Hang,
                                  valueAt < 0 ? -1 : valueAt - start};
    const std::vector<LineWrap::Piece> pieces = LineWrap::wrap(c.text.mid(start), layout);
    c.text.truncate(start);
    for (size_t i = 0; i < pieces.size(); ++i) {
        ComposedLine piece = line;
        if (i > 0) {
            piece.continues = int(pieces[i].indent);
            piece.gap = int(pieces[i].gap);
        }
        const qsizetype at = c.text.size();
        c.text += pieces[i].text;
        endLine(c, piece, at);
    }
}

// A heading line and the author's text under it.
void ReadmeComposer::addHeading(int item, int position, bool inEnd, Composition &c)
{
    using K = ComposedLine::Kind;
    const QStringView key = Entry::trimSpaces(c.entries.at(position));
    qsizetype start = c.text.size();
    if (item >= 0 && inEnd)
        c.text += shown(Items::names()[size_t(item)]);
    else if (item >= 0)
        formatItem(c.text, item, oneSidedBrackets ? OneSidedHeading : CentredHeading);
    else if (inEnd)
        customEndLine(c.text, key);
    else
        customHeading(c.text, key);
    endLine(c, {K::Heading, inEnd, item, {}, key}, start);
    addTextUnder(key, inEnd, c);
    if (key == QStringView(ProjectRules::kCreditsHeading))
        addCredits(inEnd, c);
}

// One entry per material under the author's own text: its name behind a
// bullet, then what is filled of its author, URL, licence and notice.
void ReadmeComposer::addCredits(bool inEnd, Composition &c)
{
    if (!std::exchange(m_creditsToWrite, false))
        return;
    static const std::array<QString, 4> labels = {u"作者・サイト："_s, u"URL："_s,
                                                  u"ライセンス："_s, u"表記："_s};
    for (const Credit &credit : std::as_const(m_doc.credits)) {
        const std::array<const QString *, 5> parts = {&credit.material, &credit.author, &credit.url,
                                                      &credit.license, &credit.notice};
        for (int i = 0; i < 5; ++i) {
            const QString value = parts[size_t(i)]->trimmed();
            if (value.isEmpty() && i > 0)
                continue;
            const qsizetype start = c.text.size();
            c.text += i == 0 ? u"・"_s : u"    "_s + labels[size_t(i - 1)];
            c.text += value;
            endWrapped(c, {ComposedLine::Kind::Credit, inEnd, i, {}, {}}, start);
        }
    }
}

// A field's line and the author's text under it (a value over several lines).
void ReadmeComposer::addField(int item, int position, bool inEnd, Composition &c)
{
    using K = ComposedLine::Kind;
    const QStringView key = Entry::trimSpaces(c.entries.at(position));
    const qsizetype start = c.text.size();
    const ItemLayout layout = inEnd ? EndLine : FieldLine;
    const QString value =
        item >= 0 ? m_doc.values[size_t(item)] : m_doc.ownValues.value(key.toString());
    formatItem(c.text, item >= 0 ? QStringView(Items::names()[size_t(item)]) : key, value, layout);
    endWrapped(c, {K::Field, inEnd, item, {}, key}, start, c.text.size() - value.size());
}

void ReadmeComposer::addTextUnder(QStringView key, bool inEnd, Composition &c)
{
    // The key as a string without a copy: one look-up in the project's texts.
    const auto it = m_doc.texts.headings.constFind(QString::fromRawData(key.data(), key.size()));
    if (it == m_doc.texts.headings.cend())
        return;
    // Written once: a heading listed twice (a data file may do that) has
    // its text under the first one only.
    const QStringList *text = &it.value();
    if (m_textsWritten.contains(text))
        return;
    m_textsWritten.insert(text);
    for (const QString &t : *text) {
        const qsizetype start = c.text.size();
        c.text += t;
        endWrapped(c, {ComposedLine::Kind::HeadingText, inEnd, -1, {}, key}, start);
    }
}

// The lines one list entry contributes; the end marker switches the lines
// after it to the end section's layout.
void ReadmeComposer::addEntry(int position, bool &inEnd, Composition &c)
{
    using K = ComposedLine::Kind;
    const QString &entry = c.entries.at(position);
    if (entry.isEmpty())
        return;
    const QStringView t = Entry::trimSpaces(entry);
    const int k = m_names.indexOf(t);
    const ItemLayout field = inEnd ? EndLine : FieldLine;
    const auto add = [&](K kind, int item, const auto &write) {
        const qsizetype start = c.text.size();
        write();
        endLine(c, {kind, inEnd, item, {}, {}}, start);
    };
    const auto separator = [&] { add(K::Separator, -1, [&] { c.text += separatorLine; }); };
    if (k < 0) {
        if (t.startsWith(u'●'))
            return separator();
        if (!m_doc.ownValues.value(t.toString()).isEmpty()) {
            addField(-1, position, inEnd, c);
            return addTextUnder(t, inEnd, c);
        }
        return addHeading(-1, position, inEnd, c);
    }
    switch (kindOf(k)) {
    case Kind::StartMarker:
        return;
    case Kind::BodyMarker:
        return separator();
    case Kind::EndMarker:
        separator();
        inEnd = true;
        return;
    case Kind::Field:
        if (k == Price)
            return;
        addField(k, position, inEnd, c);
        if (k == SoftClass && m_doc.values[SoftClass] == u"シェアウエア") {
            // The price belongs to the class: the class's text follows it.
            const qsizetype start = c.text.size();
            formatItem(c.text, Price, field);
            endWrapped(c, {K::Field, inEnd, Price, {}, t}, start,
                       c.text.size() - m_doc.values[Price].size());
        }
        if (!inEnd)
            addTextUnder(t, inEnd, c);
        return;
    case Kind::BodyHeading:
        if (m_doc.boxState(k) != 0)
            addHeading(k, position, inEnd, c);
        return;
    case Kind::EndLine:
        if (m_doc.boxState(k) == 0)
            return;
        if (k == LastEnd)
            return add(K::Copyright, k, [&] { copyrightLine(c.text); });
        const qsizetype start = c.text.size();
        formatItem(c.text, endLineField(k), field);
        return endWrapped(c, {K::Field, inEnd, endLineField(k), {}, {}}, start,
                          c.text.size() - m_doc.values[size_t(endLineField(k))].size());
    }
}

Result<Composition> ReadmeComposer::composeLines(const EventPump &pump)
{
    using K = ComposedLine::Kind;
    if (const Result<> styles = readStyles(); !styles.ok())
        return Result<Composition>::failure(styles.reason());
    Composition c;
    c.entries = m_doc.entries;
    const int n = int(c.entries.size());
    if (m_keepLines)
        c.lines.reserve(size_t(n) + size_t(m_doc.texts.lead.size() + m_doc.texts.tail.size()));
    m_textsWritten.clear();
    m_textsWritten.reserve(m_doc.texts.headings.size());
    m_creditsToWrite = true;
    m_spans.clear();
    m_spans.reserve(c.lines.capacity());
    qsizetype start = 0;
    for (const QString &t : m_doc.texts.lead) {
        start = c.text.size();
        c.text += t;
        endWrapped(c, {K::LeadText, false, -1, {}, {}}, start);
    }
    bool inEnd = false;
    for (int p = 0; p < n; ++p) {
        if (p % 10 == 0 && pump)
            pump();
        addEntry(p, inEnd, c);
    }
    for (const QString &t : m_doc.texts.tail) {
        start = c.text.size();
        c.text += t;
        endWrapped(c, {K::TailText, inEnd, -1, {}, {}}, start);
    }
    // The text has its final size: the lines' offsets become views into it.
    const QStringView text(c.text);
    for (size_t i = 0; i < c.lines.size(); ++i)
        c.lines[i].text = text.mid(m_spans[i].first, m_spans[i].second);
    return c;
}

Result<QString> ReadmeComposer::compose(const EventPump &pump)
{
    m_keepLines = false; // the text alone: a long README composes in half the memory
    Result<Composition> c = composeLines(pump);
    m_keepLines = true;
    if (!c.ok())
        return Result<QString>::failure(c.reason());
    return c->text;
}
