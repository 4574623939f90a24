#include "DataFileWriter.h"

#include "DataFileFormat.h"
#include "document/Styles.h"
#include "platform/Cp932.h"
#include "platform/LineFile.h"

using namespace Qt::StringLiterals;
using namespace DataFileFormat;

namespace DataFileWriter {

namespace {
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
        const int k = names.itemOfStoredEntry(entry);
        out += QString::number(k >= 0 ? k : kFirstCustomNumber + custom++);
        out += kSeparator;
        out += entry;
        out += kSeparator;
        if (k >= 0)
            out += doc.itemValues[size_t(k)];
        out += kLineEnd;
    }
    const auto setting = [&out](QStringView tag, const QString &content) {
        out += tag;
        out += content;
        out += kLineEnd;
    };
    setting(kLineOption, QString::number(doc.optLineType));
    if (doc.optLineType == Styles::kFree)
        setting(kFreeLine, doc.txtLineType);
    setting(kBracketOption, QString::number(doc.optBracketsType));
    if (doc.optBracketsType == Styles::kFree) {
        setting(kFreeLeft, doc.txtBracketsType[0]);
        setting(kFreeRight, doc.txtBracketsType[1]);
    }
    setting(kLineWidth, doc.txtLineCount);
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
        if (((split && s.contains(kSeparator)) || breaksALine(s)) && !found.contains(s))
            found.append(s);
    };
    const Items::NameIndex names(doc.itemNames);
    for (const QString &entry : doc.entries) {
        check(entry, true);
        const int k = names.itemOfStoredEntry(entry);
        if (k >= 0)
            check(doc.itemValues[size_t(k)], true);
    }
    check(doc.txtLineType, false);
    check(doc.txtBracketsType[0], false);
    check(doc.txtBracketsType[1], false);
    check(doc.txtLineCount, false);
    return found;
}

Result<WriteReport> write(const QString &path, const DocumentSnapshot &doc)
{
    WriteReport report;
    report.notIntact = textsNotReadBackIntact(doc);
    const QByteArray bytes = Cp932::encode(text(doc), &report.unmappable);
    if (const Result<> written = LineFile::writeBytes(path, bytes); !written.ok())
        return Result<WriteReport>::failure(written.reason());
    return report;
}

} // namespace DataFileWriter
