#include "DataFileReader.h"

#include "document/Document.h"
#include "itemlist/ItemList.h"
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

// Applies one line; returns an empty string or the reason it is malformed.
QString applyLine(const QString &line, Document &doc)
{
    const QStringView tag = QStringView(line).left(4);
    const QString rest = line.mid(4);
    int n = 0;
    if (tag == u"@@@1" || tag == u"@@@3") {
        if (!optionIndex(line, &n))
            return u"「%1」は 0 から 3 の選択肢番号ではありません"_s.arg(rest);
        if (tag == u"@@@1")
            doc.setOptLineType(n);
        else
            doc.setOptBracketsType(n);
        return QString();
    }
    if (tag == u"@@@2") {
        doc.setTxtLineType(rest);
        return QString();
    }
    if (tag == u"@@@4" || tag == u"@@@5") {
        doc.setTxtBracketsType(tag == u"@@@4" ? 0 : 1, rest);
        return QString();
    }
    if (tag == u"@@@6") {
        doc.setTxtLineCount(rest);
        return QString();
    }
    const QStringList parts = line.split(u":="_s);
    if (parts.size() < 2)
        return line.isEmpty() ? u"空の行です"_s : u"「:=」がありません"_s;
    doc.items()->appendEntry(parts.at(1));
    if (parts.size() < 3)
        return u"値の前の「:=」がありません"_s;
    if (parts.at(2).isEmpty())
        return QString();
    bool ok = false;
    const int index = parts.at(0).trimmed().toInt(&ok);
    if (!ok)
        return u"項目番号「%1」は整数ではありません"_s.arg(parts.at(0));
    const Document::ApplyResult r = doc.ApplyFields(index, parts.at(2));
    return r.ok ? QString() : r.reason;
}
} // namespace

Result apply(const QStringList &lines, Document &doc)
{
    doc.ClearForm();
    ItemList::Batch batch(*doc.items());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString reason = applyLine(lines.at(i), doc);
        if (reason.isEmpty())
            continue;
        // Blank lines after the last line end the file; nothing is lost.
        const bool onlyBlankLeft = std::all_of(lines.begin() + i, lines.end(),
                                               [](const QString &l) { return l.isEmpty(); });
        if (onlyBlankLeft)
            return {};
        return {Result::Malformed, int(i + 1), reason};
    }
    return {};
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
