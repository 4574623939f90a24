#include "DataFileReader.h"

#include "document/Document.h"
#include "platform/Cp932.h"
#include "platform/LineFile.h"

using namespace Qt::StringLiterals;

namespace DataFileReader {

namespace {
// An option index stored after a setting tag: "0" to "3".
bool optionIndex(const QString &line, int *index)
{
    bool ok = false;
    const int n = QStringView(line).mid(4).trimmed().toInt(&ok);
    if (!ok || n < 0 || n > 3)
        return false;
    *index = n;
    return true;
}

// Takes one line into the stored document; returns an empty string or the
// reason it is malformed.
QString applyLine(const QString &line, StoredDocument &doc)
{
    const QStringView tag = QStringView(line).left(4);
    const QString rest = line.mid(4);
    int n = 0;
    if (tag == u"@@@1" || tag == u"@@@3") {
        if (!optionIndex(line, &n))
            return u"「%1」は 0 から 3 の選択肢番号ではありません"_s.arg(rest);
        (tag == u"@@@1" ? doc.optLineType : doc.optBracketsType) = n;
        return QString();
    }
    if (tag == u"@@@2") {
        doc.txtLineType = rest;
        return QString();
    }
    if (tag == u"@@@4" || tag == u"@@@5") {
        doc.txtBracketsType[tag == u"@@@4" ? 0 : 1] = rest;
        return QString();
    }
    if (tag == u"@@@6") {
        doc.txtLineCount = rest;
        return QString();
    }
    const QStringList parts = line.split(u":="_s);
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
        const Document::ApplyResult r = Document::parseCheckState(value, &n);
        if (r.ok)
            doc.values[size_t(index)] = QString::number(n);
        return r.reason;
    }
    default:
        return QString();
    }
}
} // namespace

Result apply(const QStringList &lines, Document &doc)
{
    StoredDocument stored;
    stored.entries.reserve(lines.size());
    Result result;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString reason = applyLine(lines.at(i), stored);
        if (reason.isEmpty())
            continue;
        // Blank lines after the last line end the file; nothing is lost.
        const bool onlyBlankLeft = std::all_of(lines.begin() + i, lines.end(),
                                               [](const QString &l) { return l.isEmpty(); });
        if (!onlyBlankLeft)
            result = {Result::Malformed, int(i + 1), reason};
        break;
    }
    doc.load(stored);
    return result;
}

Result read(const QString &path, Document &doc)
{
    QByteArray bytes;
    QString error;
    if (!LineFile::readBytes(path, &bytes, &error))
        return {Result::Unreadable, 0, error};
    Result r = apply(LineFile::splitLines(Cp932::decode(bytes)), doc);
    r.foreignEncoding = Cp932::looksLikeOtherEncoding(bytes);
    return r;
}

} // namespace DataFileReader
