#include "ReadmeComposer.h"

#include "itemlist/ItemList.h"
#include "platform/Cp932.h"

using namespace Qt::StringLiterals;
using namespace Items;

namespace {
const QString kCrLf = u"\r\n"_s;
const QString kWideGap = u"\u3000\u3000"_s;
const std::array<const char16_t *, 3> kLinePatterns = {u"====", u"----", u"・・・・"};
// Captions of the fixed bracket options: the 3rd and 6th characters are the brackets.
const std::array<const char16_t *, 3> kBracketCaptions = {u"  【  】", u"  《  》", u"  <  >"};
constexpr int kHeadingWidth = 16;
constexpr int kEndNameWidth = 20;
} // namespace

ReadmeComposer::ReadmeComposer(DocumentSnapshot snapshot)
    : m_doc(std::move(snapshot)), m_names(m_doc.itemNames)
{
}

bool ReadmeComposer::ReadStyles(QString *error)
{
    OneSidedBrackets = false;
    const QString count = m_doc.txtLineCount;
    if (count.isEmpty()) {
        LineWidth = 0;
    } else {
        bool ok = false;
        LineWidth = count.trimmed().toInt(&ok);
        if (!ok || LineWidth < 0 || LineWidth > kMaxLineWidth) {
            if (error)
                *error = !ok ? u"1行の桁数「%1」は整数ではありません"_s.arg(count)
                         : LineWidth < 0
                             ? u"1行の桁数「%1」が負の数です"_s.arg(count)
                             : u"1行の桁数「%1」は大きすぎます（%2 まで）"_s.arg(count).arg(
                                   kMaxLineWidth);
            return false;
        }
    }

    QString pattern;
    if (m_doc.optLineType >= 0 && m_doc.optLineType < 3)
        pattern = QString::fromUtf16(kLinePatterns[size_t(m_doc.optLineType)]);
    else if (m_doc.optLineType == 3)
        pattern = m_doc.txtLineType.isEmpty() ? u"="_s : m_doc.txtLineType;

    if (m_doc.optBracketsType >= 0 && m_doc.optBracketsType < 3) {
        const QString caption = QString::fromUtf16(kBracketCaptions[size_t(m_doc.optBracketsType)]);
        LeftBracket = caption.at(2);
        RightBracket = caption.at(5);
    } else if (m_doc.optBracketsType == 3) {
        const QString &l = m_doc.txtBracketsType[0];
        const QString &r = m_doc.txtBracketsType[1];
        if (l.isEmpty() && r.isEmpty()) {
            LeftBracket = u"【"_s;
            RightBracket = u"】"_s;
        } else {
            LeftBracket = l;
            RightBracket = r;
            OneSidedBrackets = l.isEmpty() || r.isEmpty();
        }
    }

    // An empty pattern gives an empty line, never an endless repetition.
    SeparatorLine.clear();
    if (!pattern.isEmpty()) {
        SeparatorLine.reserve(LineWidth + pattern.size());
        while (SeparatorLine.size() < LineWidth)
            SeparatorLine += pattern;
        // Cut at a character boundary: half a surrogate pair is no character.
        qsizetype cut = LineWidth;
        if (cut > 0 && SeparatorLine.at(cut - 1).isHighSurrogate())
            --cut;
        SeparatorLine.truncate(cut);
    }
    SeparatorLine += kCrLf;
    return true;
}

QString ReadmeComposer::PadSpaces(int fieldWidth, int textWidth, int halve) const
{
    const int d = fieldWidth - textWidth;
    if (d < 0)
        return QString();
    return QString(halve != 0 && !OneSidedBrackets ? d / 2 : d, u' ');
}

QString ReadmeComposer::FormatItem(int index, ItemLayout layout) const
{
    const QString &name = m_doc.itemNames.at(size_t(index));
    const QString &value = m_doc.itemValues.at(size_t(index));
    const int w = Cp932::byteWidth(name);
    switch (layout) {
    case EndLine:
        return name + PadSpaces(kEndNameWidth, w, 0) + value + kCrLf;
    case CentredHeading: {
        const QString p = PadSpaces(kHeadingWidth, w, 1);
        return LeftBracket + p + name + p + RightBracket + kCrLf;
    }
    case OneSidedHeading:
        return LeftBracket + name + PadSpaces(kHeadingWidth, w, 1) + RightBracket + kCrLf;
    case FieldLine: {
        const QString p = PadSpaces(kHeadingWidth, w, 1);
        if (OneSidedBrackets)
            return LeftBracket + name + p + RightBracket + kWideGap + value + kCrLf;
        return LeftBracket + p + name + p + RightBracket + kWideGap + value + kCrLf;
    }
    }
    return QString();
}

QString ReadmeComposer::FormatCustomHeading(int listIndex) const
{
    const QString text = ItemList::trimSpaces(m_doc.entries.at(listIndex)).toString();
    const int c = Cp932::byteWidth(text);
    const QString p = PadSpaces(kHeadingWidth, c, 1);
    if (OneSidedBrackets)
        return LeftBracket + text + p + RightBracket + kCrLf;
    const QString odd = (kHeadingWidth - c) % 2 != 0 ? u" "_s : QString();
    return LeftBracket + p + text + p + odd + RightBracket + kCrLf;
}

QString ReadmeComposer::customEndLine(const QString &text) const
{
    return text + PadSpaces(kEndNameWidth, Cp932::byteWidth(text), 0) + kCrLf;
}

QString ReadmeComposer::copyrightLine() const
{
    const QString s = m_doc.itemValues[SoftName] + u" Copyright(C) "_s + m_doc.itemValues[Writer];
    return PadSpaces(LineWidth, Cp932::byteWidth(s), 0) + s + kCrLf;
}

int ReadmeComposer::itemIndexOf(QStringView trimmed) const
{
    return m_names.indexOf(trimmed);
}

QString ReadmeComposer::piece(int position, bool &inEnd) const
{
    const QString &entry = m_doc.entries.at(position);
    if (entry.isEmpty())
        return QString();
    const QStringView t = ItemList::trimSpaces(entry);
    const int k = itemIndexOf(t);
    const ItemLayout field = inEnd ? EndLine : FieldLine;
    if (k < 0) {
        if (t.startsWith(u'●'))
            return SeparatorLine;
        return inEnd ? customEndLine(t.toString()) : FormatCustomHeading(position);
    }
    switch (kindOf(k)) {
    case Kind::StartMarker:
        return QString();
    case Kind::BodyMarker:
        return SeparatorLine;
    case Kind::EndMarker:
        inEnd = true;
        return SeparatorLine;
    case Kind::Field:
        if (k == Price)
            return QString();
        if (k == SoftClass && m_doc.itemValues[SoftClass] == u"シェアウエア")
            return FormatItem(SoftClass, field) + FormatItem(Price, field);
        return FormatItem(k, field);
    case Kind::BodyHeading:
        if (m_doc.chkBody[size_t(k - FirstBody)] == 0)
            return QString();
        if (inEnd)
            return m_doc.itemNames[size_t(k)] + kCrLf;
        return FormatItem(k, OneSidedBrackets ? OneSidedHeading : CentredHeading);
    case Kind::EndLine:
        if (m_doc.chkEnd[size_t(k - FirstEnd)] == 0)
            return QString();
        if (k == LastEnd)
            return copyrightLine();
        return FormatItem(k == FirstEnd ? Writer : k - 13, field);
    }
    return QString();
}

ReadmeComposer::Result ReadmeComposer::BuildReadme(const EventPump &pump)
{
    Result result;
    if (!ReadStyles(&result.error))
        return result;
    bool inEnd = false;
    const int n = int(m_doc.entries.size());
    for (int p = 0; p < n; ++p) {
        if (p % 10 == 0 && pump)
            pump();
        result.text += piece(p, inEnd);
    }
    result.ok = true;
    return result;
}
