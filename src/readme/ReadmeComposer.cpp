#include "ReadmeComposer.h"

#include "document/Styles.h"
#include "itemlist/Entry.h"
#include "platform/Cp932.h"

using namespace Qt::StringLiterals;
using namespace Items;

namespace {
const QString kCrLf = u"\r\n"_s;
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
    separatorLine += kCrLf;
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
        return name + padding(kEndNameWidth, w, 0) + value + kCrLf;
    case CentredHeading: {
        const QString p = padding(kHeadingWidth, w, 1);
        return leftBracket + p + name + p + rightBracket + kCrLf;
    }
    case OneSidedHeading:
        return leftBracket + name + padding(kHeadingWidth, w, 1) + rightBracket + kCrLf;
    case FieldLine: {
        const QString p = padding(kHeadingWidth, w, 1);
        if (oneSidedBrackets)
            return leftBracket + name + p + rightBracket + kWideGap + value + kCrLf;
        return leftBracket + p + name + p + rightBracket + kWideGap + value + kCrLf;
    }
    }
    return QString();
}

QString ReadmeComposer::formatCustomHeading(int listIndex) const
{
    const QString text = Entry::trimSpaces(m_doc.entries.at(listIndex)).toString();
    const int c = Cp932::byteWidth(text);
    const QString p = padding(kHeadingWidth, c, 1);
    if (oneSidedBrackets)
        return leftBracket + text + p + rightBracket + kCrLf;
    const QString odd = (kHeadingWidth - c) % 2 != 0 ? u" "_s : QString();
    return leftBracket + p + text + p + odd + rightBracket + kCrLf;
}

QString ReadmeComposer::customEndLine(const QString &text) const
{
    return text + padding(kEndNameWidth, Cp932::byteWidth(text), 0) + kCrLf;
}

QString ReadmeComposer::copyrightLine() const
{
    const QString s = m_doc.itemValues[SoftName] + u" Copyright(C) "_s + m_doc.itemValues[Writer];
    return padding(lineWidth, Cp932::byteWidth(s), 0) + s + kCrLf;
}

// The text one list entry contributes; the end marker switches the lines
// after it to the end section's layout.
QString ReadmeComposer::entryText(int position, bool &inEnd) const
{
    const QString &entry = m_doc.entries.at(position);
    if (entry.isEmpty())
        return QString();
    const QStringView t = Entry::trimSpaces(entry);
    const int k = m_names.indexOf(t);
    const ItemLayout field = inEnd ? EndLine : FieldLine;
    if (k < 0) {
        if (t.startsWith(u'●'))
            return separatorLine;
        return inEnd ? customEndLine(t.toString()) : formatCustomHeading(position);
    }
    switch (kindOf(k)) {
    case Kind::StartMarker:
        return QString();
    case Kind::BodyMarker:
        return separatorLine;
    case Kind::EndMarker:
        inEnd = true;
        return separatorLine;
    case Kind::Field:
        if (k == Price)
            return QString();
        if (k == SoftClass && m_doc.itemValues[SoftClass] == u"シェアウエア")
            return formatItem(SoftClass, field) + formatItem(Price, field);
        return formatItem(k, field);
    case Kind::BodyHeading:
        if (m_doc.chkBody[size_t(k - FirstBody)] == 0)
            return QString();
        if (inEnd)
            return m_doc.itemNames[size_t(k)] + kCrLf;
        return formatItem(k, oneSidedBrackets ? OneSidedHeading : CentredHeading);
    case Kind::EndLine:
        if (m_doc.chkEnd[size_t(k - FirstEnd)] == 0)
            return QString();
        if (k == LastEnd)
            return copyrightLine();
        return formatItem(endLineField(k), field);
    }
    return QString();
}

Result<QString> ReadmeComposer::compose(const EventPump &pump)
{
    if (const Result<> styles = readStyles(); !styles.ok())
        return Result<QString>::failure(styles.reason());
    QString text;
    bool inEnd = false;
    const int n = int(m_doc.entries.size());
    for (int p = 0; p < n; ++p) {
        if (p % 10 == 0 && pump)
            pump();
        text += entryText(p, inEnd);
    }
    return text;
}
