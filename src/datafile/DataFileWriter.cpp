#include "DataFileWriter.h"

#include "DataFileFormat.h"
#include "document/Styles.h"
#include "itemlist/Entry.h"
#include "platform/Cp932.h"
#include "platform/LineFile.h"

#include <QSet>

using namespace Qt::StringLiterals;
using namespace DataFileFormat;

namespace DataFileWriter {

namespace {
bool breaksALine(const QString &s)
{
    return s.contains(u'\r') || s.contains(u'\n');
}
} // namespace

namespace {
// The texts in list order, then those of headings no longer listed, sorted
// so that saving twice writes the same bytes.
QStringList textKeysInOrder(const DocumentSnapshot &doc)
{
    const QHash<QString, QStringList> &texts = doc.texts.headings;
    QStringList keys;
    keys.reserve(texts.size());
    QSet<QString> seen;
    for (const QString &entry : doc.entries) {
        const QString key = Entry::trimSpaces(entry).toString();
        if (texts.contains(key) && !seen.contains(key)) {
            seen.insert(key);
            keys.append(key);
        }
    }
    QStringList rest;
    for (auto it = texts.cbegin(); it != texts.cend(); ++it) {
        if (!seen.contains(it.key()))
            rest.append(it.key());
    }
    rest.sort();
    return keys + rest;
}

void appendTexts(QString &out, const DocumentSnapshot &doc)
{
    const BodyTexts &texts = doc.texts;
    if (texts.isEmpty())
        return;
    const auto block = [&out](const QString &header, const QStringList &lines) {
        if (lines.isEmpty())
            return;
        out += header;
        out += kLineEnd;
        for (const QString &line : lines) {
            out += line;
            out += kLineEnd;
        }
    };
    out += kLineEnd;
    block(kLeadText + QString::number(texts.lead.size()), texts.lead);
    for (const QString &key : textKeysInOrder(doc)) {
        const QStringList &lines = texts.under(key);
        block(kHeadingText + QString::number(lines.size()) + kSeparator + key, lines);
    }
    block(kTailText + QString::number(texts.tail.size()), texts.tail);
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
    appendTexts(out, doc);
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
