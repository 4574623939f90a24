#include "ReadmeComposer.h"

#include "document/Styles.h"
#include "itemlist/Entry.h"
#include "platform/Cp932.h"

using namespace Qt::StringLiterals;
using namespace Items;

namespace {
const QString kWideGap = u"\u3000\u3000"_s;
constexpr int kHeadingWidth = 16;
constexpr int kEndNameWidth = 20;
} // namespace

ReadmeComposer::ReadmeComposer(DocumentSnapshot snapshot)
    : m_doc(std::move(snapshot)), m_names(m_doc.itemNames)
{
}

Result<> ReadmeComposer::readStyles()
{
    oneSidedBrackets = false;
    const QString count = m_doc.txtLineCount;
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
    const int line = m_doc.optLineType;
    if (line >= 0 && line < kFree)
        pattern = QString::fromUtf16(kLines[size_t(line)].pattern);
    else if (line == kFree)
        pattern =
            m_doc.txtLineType.isEmpty() ? QString::fromUtf16(kEmptyFreePattern) : m_doc.txtLineType;

    const int brackets = m_doc.optBracketsType;
    if (brackets >= 0 && brackets < kFree) {
        leftBracket = QString::fromUtf16(kBrackets[size_t(brackets)].left);
        rightBracket = QString::fromUtf16(kBrackets[size_t(brackets)].right);
    } else if (brackets == kFree) {
        const QString &l = m_doc.txtBracketsType[0];
        const QString &r = m_doc.txtBracketsType[1];
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

QString ReadmeComposer::padding(int fieldWidth, int textWidth, int halve) const
{
    const int d = fieldWidth - textWidth;
    if (d < 0)
        return QString();
    return QString(halve != 0 && !oneSidedBrackets ? d / 2 : d, u' ');
}

QString ReadmeComposer::formatItem(int index, ItemLayout layout) const
{
    const QString &name = m_doc.itemNames.at(size_t(index));
    const QString &value = m_doc.itemValues.at(size_t(index));
    const int w = Cp932::byteWidth(name);
    switch (layout) {
    case EndLine:
        return name + padding(kEndNameWidth, w, 0) + value;
    case CentredHeading: {
        const QString p = padding(kHeadingWidth, w, 1);
        return leftBracket + p + name + p + rightBracket;
    }
    case OneSidedHeading:
        return leftBracket + name + padding(kHeadingWidth, w, 1) + rightBracket;
    case FieldLine: {
        const QString p = padding(kHeadingWidth, w, 1);
        if (oneSidedBrackets)
            return leftBracket + name + p + rightBracket + kWideGap + value;
        return leftBracket + p + name + p + rightBracket + kWideGap + value;
    }
    }
    return QString();
}

QString ReadmeComposer::customHeading(const QString &text) const
{
    const int c = Cp932::byteWidth(text);
    const QString p = padding(kHeadingWidth, c, 1);
    if (oneSidedBrackets)
        return leftBracket + text + p + rightBracket;
    const QString odd = (kHeadingWidth - c) % 2 != 0 ? u" "_s : QString();
    return leftBracket + p + text + p + odd + rightBracket;
}

QString ReadmeComposer::customEndLine(const QString &text) const
{
    return text + padding(kEndNameWidth, Cp932::byteWidth(text), 0);
}

QString ReadmeComposer::copyrightLine() const
{
    const QString s = m_doc.itemValues[SoftName] + u" Copyright(C) "_s + m_doc.itemValues[Writer];
    return padding(lineWidth, Cp932::byteWidth(s), 0) + s;
}

// A heading line and the author's text under it. A heading listed twice
// (a data file may do that) has its text under the first one only.
void ReadmeComposer::addHeading(int item, const QString &key, QString line, bool inEnd,
                                std::vector<ComposedLine> &out)
{
    using K = ComposedLine::Kind;
    out.push_back({K::Heading, inEnd, item, std::move(line), key});
    const QStringList &text = m_doc.texts.under(key);
    if (text.isEmpty() || m_textWritten.contains(key))
        return;
    m_textWritten.insert(key);
    for (const QString &t : text)
        out.push_back({K::HeadingText, inEnd, -1, t, key});
}

// The lines one list entry contributes; the end marker switches the lines
// after it to the end section's layout.
void ReadmeComposer::addEntry(int position, bool &inEnd, std::vector<ComposedLine> &out)
{
    using K = ComposedLine::Kind;
    const QString &entry = m_doc.entries.at(position);
    if (entry.isEmpty())
        return;
    const QStringView t = Entry::trimSpaces(entry);
    const int k = m_names.indexOf(t);
    const ItemLayout field = inEnd ? EndLine : FieldLine;
    const auto add = [&](K kind, int item, QString line) {
        out.push_back({kind, inEnd, item, std::move(line), QString()});
    };
    if (k < 0) {
        if (t.startsWith(u'●'))
            return add(K::Separator, -1, separatorLine);
        const QString text = t.toString();
        return addHeading(-1, text, inEnd ? customEndLine(text) : customHeading(text), inEnd, out);
    }
    switch (kindOf(k)) {
    case Kind::StartMarker:
        return;
    case Kind::BodyMarker:
        return add(K::Separator, -1, separatorLine);
    case Kind::EndMarker:
        add(K::Separator, -1, separatorLine);
        inEnd = true;
        return;
    case Kind::Field:
        if (k == Price)
            return;
        add(K::Field, k, formatItem(k, field));
        if (k == SoftClass && m_doc.itemValues[SoftClass] == u"シェアウエア")
            add(K::Field, Price, formatItem(Price, field));
        return;
    case Kind::BodyHeading: {
        if (m_doc.chkBody[size_t(k - FirstBody)] == 0)
            return;
        const QString &name = m_doc.itemNames[size_t(k)];
        QString line =
            inEnd ? name : formatItem(k, oneSidedBrackets ? OneSidedHeading : CentredHeading);
        return addHeading(k, name, std::move(line), inEnd, out);
    }
    case Kind::EndLine:
        if (m_doc.chkEnd[size_t(k - FirstEnd)] == 0)
            return;
        if (k == LastEnd)
            return add(K::Copyright, k, copyrightLine());
        return add(K::Field, endLineField(k), formatItem(endLineField(k), field));
    }
}

Result<Composition> ReadmeComposer::composeLines(const EventPump &pump)
{
    using K = ComposedLine::Kind;
    if (const Result<> styles = readStyles(); !styles.ok())
        return Result<Composition>::failure(styles.reason());
    Composition c;
    m_textWritten.clear();
    const int n = int(m_doc.entries.size());
    c.lines.reserve(size_t(n) + size_t(m_doc.texts.lead.size() + m_doc.texts.tail.size()));
    for (const QString &t : m_doc.texts.lead)
        c.lines.push_back({K::LeadText, false, -1, t, QString()});
    bool inEnd = false;
    for (int p = 0; p < n; ++p) {
        if (p % 10 == 0 && pump)
            pump();
        addEntry(p, inEnd, c.lines);
    }
    for (const QString &t : m_doc.texts.tail)
        c.lines.push_back({K::TailText, inEnd, -1, t, QString()});
    return c;
}

Result<QString> ReadmeComposer::compose(const EventPump &pump)
{
    Result<Composition> c = composeLines(pump);
    if (!c.ok())
        return Result<QString>::failure(c.reason());
    return c->text();
}

QString Composition::text(QStringView lineEnd) const
{
    qsizetype size = 0;
    for (const ComposedLine &l : lines)
        size += l.text.size() + lineEnd.size();
    QString out;
    out.reserve(size);
    for (const ComposedLine &l : lines) {
        out += l.text;
        out += lineEnd;
    }
    return out;
}
