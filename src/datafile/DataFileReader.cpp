#include "DataFileReader.h"

#include "DataFileFormat.h"
#include "document/Document.h"
#include "platform/Cp932.h"
#include "platform/LineFile.h"

using namespace Qt::StringLiterals;
using namespace DataFileFormat;

namespace DataFileReader {

namespace {
// An option index stored after a setting tag: "0" to "3".
bool optionIndex(const QString &line, int *index)
{
    bool ok = false;
    const int n = QStringView(line).mid(kTagLength).trimmed().toInt(&ok);
    if (!ok || n < 0 || n > 3)
        return false;
    *index = n;
    return true;
}

// Takes one line into the stored document; returns an empty string or the
// reason it is malformed.
QString applyLine(const QString &line, StoredDocument &doc)
{
    const QStringView tag = QStringView(line).left(kTagLength);
    const QString rest = line.mid(kTagLength);
    int n = 0;
    if (tag == kLineOption || tag == kBracketOption) {
        if (!optionIndex(line, &n))
            return u"「%1」は 0 から 3 の選択肢番号ではありません"_s.arg(rest);
        (tag == kLineOption ? doc.optLineType : doc.optBracketsType) = n;
        return QString();
    }
    if (tag == kFreeLine) {
        doc.txtLineType = rest;
        return QString();
    }
    if (tag == kFreeLeft || tag == kFreeRight) {
        doc.txtBracketsType[tag == kFreeLeft ? 0 : 1] = rest;
        return QString();
    }
    if (tag == kLineWidth) {
        doc.txtLineCount = rest;
        return QString();
    }
    const QStringList parts = line.split(kSeparator.toString());
    if (parts.size() < 2)
        return line.isEmpty() ? u"空の行です"_s : u"「:=」がありません"_s;
    doc.entries.append(parts.at(1));
    if (parts.size() < 3)
        return u"値の前の「:=」がありません"_s;
    const QString &value = parts.at(2);
    if (value.isEmpty())
        return QString();
    bool ok = false;
    const int index = parts.at(0).trimmed().toInt(&ok);
    if (!ok)
        return u"項目番号「%1」は整数ではありません"_s.arg(parts.at(0));
    using Items::Kind;
    if (index < 0 || index >= Items::kCount)
        return QString();
    switch (Items::kindOf(index)) {
    case Kind::Field:
        doc.values[size_t(index)] = value;
        return QString();
    case Kind::BodyHeading:
    case Kind::EndMarker:
    case Kind::EndLine: {
        const Result<int> state = Document::parseCheckState(value);
        if (state.ok())
            doc.values[size_t(index)] = QString::number(state.value());
        return state.reason();
    }
    default:
        return QString();
    }
}
// The author's texts after the empty line that ends the document's own
// lines; returns the 0-based line that could not be read, or -1.
qsizetype readTexts(const QStringList &lines, qsizetype i, BodyTexts &texts, QString *reason)
{
    while (i < lines.size()) {
        const QString &header = lines.at(i);
        const QStringView tag = QStringView(header).left(kTagLength);
        const QStringView rest = QStringView(header).mid(kTagLength);
        const qsizetype sep = tag == kHeadingText ? rest.indexOf(kSeparator) : rest.size();
        bool ok = false;
        const qsizetype count = sep < 0 ? -1 : rest.left(sep).toLongLong(&ok);
        if (!ok || count < 1 || !startsText(tag)) {
            // Blank lines after the last text end the file; nothing is lost.
            if (std::all_of(lines.begin() + i, lines.end(),
                            [](const QString &l) { return l.isEmpty(); }))
                return -1;
            *reason = u"文章の見出し行「%1」を読めません"_s.arg(header);
            return i;
        }
        if (count > lines.size() - i - 1) {
            *reason = u"文章の行が %1 行足りません"_s.arg(count - (lines.size() - i - 1));
            return i;
        }
        const QStringList text = lines.mid(i + 1, count);
        if (tag == kLeadText)
            texts.lead = text;
        else if (tag == kTailText)
            texts.tail = text;
        else
            texts.setUnder(rest.mid(sep + kSeparator.size()).toString(), text);
        i += 1 + count;
    }
    return -1;
}
} // namespace

ReadReport apply(const QStringList &lines, Document &doc)
{
    StoredDocument stored;
    stored.entries.reserve(lines.size());
    ReadReport result;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const bool textsFollow =
            lines.at(i).isEmpty() && i + 1 < lines.size() && startsText(lines.at(i + 1));
        if (textsFollow) {
            QString reason;
            if (const qsizetype bad = readTexts(lines, i + 1, stored.texts, &reason); bad >= 0)
                result = {int(bad + 1), reason, false};
            break;
        }
        const QString reason = applyLine(lines.at(i), stored);
        if (reason.isEmpty())
            continue;
        // Blank lines after the last line end the file; nothing is lost.
        const bool onlyBlankLeft = std::all_of(lines.begin() + i, lines.end(),
                                               [](const QString &l) { return l.isEmpty(); });
        if (!onlyBlankLeft)
            result = {int(i + 1), reason, false};
        break;
    }
    doc.load(stored);
    return result;
}

Result<ReadReport> read(const QString &path, Document &doc)
{
    const Result<QByteArray> bytes = LineFile::readBytes(path);
    if (!bytes.ok())
        return Result<ReadReport>::failure(bytes.reason());
    ReadReport report = apply(LineFile::splitLines(Cp932::decode(bytes.value())), doc);
    report.foreignEncoding = Cp932::looksLikeOtherEncoding(bytes.value());
    return report;
}

} // namespace DataFileReader
