#include "DataFileWriter.h"

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

QStringList lines(const DocumentSnapshot &doc)
{
    QStringList out;
    out.reserve(doc.entries.size() + 6);
    int custom = 0;
    const QString sep = u":="_s;
    const Items::NameIndex names(doc.itemNames);
    for (const QString &entry : doc.entries) {
        const int k = numberOf(names, entry);
        if (k >= 0)
            out.append(QString::number(k) + sep + entry + sep + doc.itemValues[size_t(k)]);
        else
            out.append(QString::number(29 + custom++) + sep + entry + sep);
    }
    out.append(u"@@@1"_s + QString::number(doc.optLineType));
    if (doc.optLineType == 3)
        out.append(u"@@@2"_s + doc.txtLineType);
    out.append(u"@@@3"_s + QString::number(doc.optBracketsType));
    if (doc.optBracketsType == 3) {
        out.append(u"@@@4"_s + doc.txtBracketsType[0]);
        out.append(u"@@@5"_s + doc.txtBracketsType[1]);
    }
    out.append(u"@@@6"_s + doc.txtLineCount);
    return out;
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
    const LineFile::WriteResult w = LineFile::write(path, lines(doc));
    result.ok = w.ok;
    result.error = w.error;
    result.unmappable = w.unmappable;
    return result;
}

} // namespace DataFileWriter
