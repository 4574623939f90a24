#include "DataFileWriter.h"

#include "DataFileFormat.h"
#include "document/Styles.h"
#include "itemlist/Entry.h"
#include "platform/Cp932.h"
#include "platform/LineFile.h"

#include <QSet>
#include <cstring>
#include <vector>

using namespace Qt::StringLiterals;
using namespace DataFileFormat;

namespace DataFileWriter {

namespace {
// The item each entry stands for, or -1 for the author's own entries.
std::vector<int> itemsOf(const DocumentSnapshot &doc)
{
    const Items::NameIndex names(doc.itemNames);
    std::vector<int> items;
    items.reserve(size_t(doc.entries.size()));
    for (const QString &entry : doc.entries)
        items.push_back(names.itemOfStoredEntry(entry));
    return items;
}

// True when s holds a line break or, if split, the separator. One pass: a
// document may hold 100,000 entries.
bool breaksAField(QStringView s, bool split)
{
    const char16_t *p = s.utf16();
    const qsizetype n = s.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (p[i] > u':') // above all three
            continue;
        if (p[i] == u'\r' || p[i] == u'\n')
            return true;
        if (split && p[i] == u':' && i + 1 < n && p[i + 1] == u'=')
            return true;
    }
    return false;
}

QStringList notIntact(const DocumentSnapshot &doc, const std::vector<int> &items)
{
    QStringList found;
    const auto check = [&found](const QString &s, bool split) {
        if (breaksAField(s, split) && !found.contains(s))
            found.append(s);
    };
    for (qsizetype i = 0; i < doc.entries.size(); ++i) {
        check(doc.entries.at(i), true);
        if (const int k = items[size_t(i)]; k >= 0)
            check(doc.itemValues[size_t(k)], true);
    }
    check(doc.txtLineType, false);
    check(doc.txtBracketsType[0], false);
    check(doc.txtBracketsType[1], false);
    check(doc.txtLineCount, false);
    return found;
}

int digitsOf(int n)
{
    int digits = 1;
    for (; n >= 10; n /= 10)
        ++digits;
    return digits;
}

// Writes into a buffer sized beforehand, without the checks of each append.
class Filler {
public:
    explicit Filler(QChar *at) : m_at(reinterpret_cast<char16_t *>(at)) {}
    void put(QStringView s)
    {
        if (!s.isEmpty())
            std::memcpy(m_at, s.utf16(), size_t(s.size()) * sizeof(char16_t));
        m_at += s.size();
    }
    void putNumber(int n)
    {
        const int digits = digitsOf(n);
        for (char16_t *d = m_at + digits; d != m_at; n /= 10)
            *--d = char16_t(u'0' + n % 10);
        m_at += digits;
    }

private:
    char16_t *m_at;
};
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

// The file's text; items: what itemsOf() gives.
QString textOf(const DocumentSnapshot &doc, const std::vector<int> &items)
{
    QString tail;
    const auto setting = [&tail](QStringView tag, const QString &content) {
        tail += tag;
        tail += content;
        tail += kLineEnd;
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
    appendTexts(tail, doc);

    // Item lines: the number, the entry and the value. One buffer of the
    // exact size for the whole file: a document may hold 100,000 entries.
    const qsizetype n = doc.entries.size();
    std::vector<int> numbers(static_cast<size_t>(n));
    qsizetype size = tail.size();
    for (qsizetype i = 0, custom = kFirstCustomNumber; i < n; ++i) {
        const int k = items[size_t(i)];
        numbers[size_t(i)] = k >= 0 ? k : int(custom++);
        size += digitsOf(numbers[size_t(i)]) + 2 * kSeparator.size() + doc.entries.at(i).size() +
                (k >= 0 ? doc.itemValues[size_t(k)].size() : 0) + kLineEnd.size();
    }
    QString out(size, Qt::Uninitialized);
    Filler fill(out.data());
    for (qsizetype i = 0; i < n; ++i) {
        fill.putNumber(numbers[size_t(i)]);
        fill.put(kSeparator);
        fill.put(doc.entries.at(i));
        fill.put(kSeparator);
        if (const int k = items[size_t(i)]; k >= 0)
            fill.put(doc.itemValues[size_t(k)]);
        fill.put(kLineEnd);
    }
    fill.put(tail);
    return out;
}
} // namespace

QString text(const DocumentSnapshot &doc)
{
    return textOf(doc, itemsOf(doc));
}

QStringList lines(const DocumentSnapshot &doc)
{
    return LineFile::splitLines(text(doc));
}

QStringList textsNotReadBackIntact(const DocumentSnapshot &doc)
{
    return notIntact(doc, itemsOf(doc));
}

Result<WriteReport> write(const QString &path, const DocumentSnapshot &doc)
{
    WriteReport report;
    const std::vector<int> items = itemsOf(doc);
    report.notIntact = notIntact(doc, items);
    const QByteArray bytes = Cp932::encode(textOf(doc, items), &report.unmappable);
    if (const Result<> written = LineFile::writeBytes(path, bytes); !written.ok())
        return Result<WriteReport>::failure(written.reason());
    return report;
}

} // namespace DataFileWriter
