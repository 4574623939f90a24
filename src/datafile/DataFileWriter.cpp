#include "DataFileWriter.h"

#include "platform/Cp932.h"
#include "platform/LineFile.h"

using namespace Qt::StringLiterals;

namespace DataFileWriter {

namespace {
// The item an entry stands for in the file: only leading spaces are removed.
int numberOf(const Items::NameIndex &names, const QString &entry)
{
    qsizetype b = 0;
    while (b < entry.size() && entry.at(b) == u' ')
        ++b;
    return names.indexOf(QStringView(entry).mid(b));
}

bool breaksALine(const QString &s)
{
    return s.contains(u'\r') || s.contains(u'\n');
}
} // namespace

QString text(const DocumentSnapshot &doc)
{
    // One buffer for the whole file: a document may hold 100,000 entries.
    qsizetype size = 64;
    for (const QString &entry : doc.entries)
        size += entry.size() + 16;
    QString out;
    out.reserve(size);
    const Items::NameIndex names(doc.itemNames);
    int custom = 0;
    for (const QString &entry : doc.entries) {
        const int k = numberOf(names, entry);
        out += QString::number(k >= 0 ? k : 29 + custom++);
        out += u":=";
        out += entry;
        out += u":=";
        if (k >= 0)
            out += doc.itemValues[size_t(k)];
        out += u"\r\n";
    }
    out += u"@@@1"_s + QString::number(doc.optLineType) + u"\r\n";
    if (doc.optLineType == 3)
        out += u"@@@2"_s + doc.txtLineType + u"\r\n";
    out += u"@@@3"_s + QString::number(doc.optBracketsType) + u"\r\n";
    if (doc.optBracketsType == 3) {
        out += u"@@@4"_s + doc.txtBracketsType[0] + u"\r\n";
        out += u"@@@5"_s + doc.txtBracketsType[1] + u"\r\n";
    }
    out += u"@@@6"_s + doc.txtLineCount + u"\r\n";
    return out;
}

QStringList lines(const DocumentSnapshot &doc)
{
    return LineFile::splitLines(text(doc));
}

QStringList textsNotReadBackIntact(const DocumentSnapshot &doc)
{
    QStringList found;
    const auto check = [&found](const QString &s, bool split) {
        if (((split && s.contains(u":="_s)) || breaksALine(s)) && !found.contains(s))
            found.append(s);
    };
    const Items::NameIndex names(doc.itemNames);
    for (const QString &entry : doc.entries) {
        check(entry, true);
        const int k = numberOf(names, entry);
        if (k >= 0)
            check(doc.itemValues[size_t(k)], true);
    }
    check(doc.txtLineType, false);
    check(doc.txtBracketsType[0], false);
    check(doc.txtBracketsType[1], false);
    check(doc.txtLineCount, false);
    return found;
}

Result write(const QString &path, const DocumentSnapshot &doc)
{
    Result result;
    result.notIntact = textsNotReadBackIntact(doc);
    const QByteArray bytes = Cp932::encode(text(doc), &result.unmappable);
    result.ok = LineFile::writeBytes(path, bytes, &result.error);
    return result;
}

} // namespace DataFileWriter
