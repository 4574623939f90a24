#include "DataFileWriter.h"

#include "DataFileFormat.h"
#include "platform/Cp932.h"
#include "platform/LineFile.h"
#include "project/Entry.h"
#include "project/Languages.h"
#include "project/Styles.h"

#include <QSet>
#include <algorithm>
#include <bitset>
#include <cstring>
#include <vector>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

using namespace Qt::StringLiterals;
using namespace DataFileFormat;

namespace DataFileWriter {

namespace {
// True when none of the 8 units at p is ':' or below (line ends, the
// separator's first character): the usual case, found 8 at a time.
bool aboveColon8(const char16_t *p)
{
#ifdef __SSE2__
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
    // x <= ':' exactly when ':' + 1 - x does not saturate to zero, unsigned.
    const __m128i notAbove = _mm_subs_epu16(_mm_set1_epi16(u':' + 1), v);
    return _mm_movemask_epi8(_mm_cmpeq_epi16(notAbove, _mm_setzero_si128())) == 0xFFFF;
#else
    return std::all_of(p, p + 8, [](char16_t c) { return c > u':'; });
#endif
}

// True when s holds a line break or, if split, the separator. One pass: a
// document may hold 100,000 entries.
bool breaksAField(QStringView s, bool split)
{
    const char16_t *p = s.utf16();
    const qsizetype n = s.size();
    qsizetype i = 0;
    while (i + 8 <= n && aboveColon8(p + i))
        i += 8;
    for (; i < n; ++i) {
        if (p[i] > u':') // above all three
            continue;
        if (p[i] == u'\r' || p[i] == u'\n')
            return true;
        if (split && p[i] == u':' && i + 1 < n && p[i + 1] == u'=')
            return true;
    }
    return false;
}

// Adds s to found, once, when it will not read back as it is.
void checkField(QStringList &found, QStringView s, bool split)
{
    if (breaksAField(s, split) && !found.contains(s))
        found.append(s.toString());
}

void checkSettings(QStringList &found, const Project &doc)
{
    checkField(found, doc.lineText, false);
    checkField(found, doc.bracketText[0], false);
    checkField(found, doc.bracketText[1], false);
    checkField(found, doc.widthText, false);
    for (const Credit &c : doc.credits) {
        for (const QString *f : {&c.material, &c.author, &c.url, &c.license, &c.notice}) {
            checkField(found, *f, false);
            if (f->contains(u'\t') && !found.contains(*f))
                found.append(*f); // the tab parts the credit's fields
        }
    }
    for (const Translation &t : doc.languages.others) {
        for (const auto *hash : {&t.ownValues, &t.names}) {
            for (const QString &v : *hash)
                checkField(found, v, false);
        }
        for (const QString &v : t.values)
            checkField(found, v, false);
    }
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
// The texts in list order, then those of headings no longer listed, sorted by
// the bytes written so that saving twice writes the same bytes. Headings the
// code page writes alike share one block, as they will when read back.
QList<std::pair<QString, QStringList>> textBlocksInOrder(const QHash<QString, QStringList> &texts,
                                                         const QStringList &entries)
{
    QStringList keys;
    keys.reserve(texts.size());
    QSet<QString> seen;
    for (const QString &entry : entries) {
        const QString key = Entry::trimSpaces(entry).toString();
        if (texts.contains(key) && !seen.contains(key)) {
            seen.insert(key);
            keys.append(key);
        }
    }
    QList<std::pair<QByteArray, QString>> rest;
    for (auto it = texts.cbegin(); it != texts.cend(); ++it) {
        if (!seen.contains(it.key()))
            rest.append({Cp932::encode(it.key()), it.key()});
    }
    std::sort(rest.begin(), rest.end());
    for (const auto &[bytes, key] : rest)
        keys.append(key);

    QList<std::pair<QString, QStringList>> blocks;
    QHash<QByteArray, qsizetype> blockOf;
    for (const QString &key : keys) {
        const QByteArray written = Cp932::encode(key);
        if (const auto at = blockOf.constFind(written); at != blockOf.cend()) {
            blocks[*at].second += texts.value(key);
        } else {
            blockOf.insert(written, blocks.size());
            blocks.append({key, texts.value(key)});
        }
    }
    return blocks;
}

// Entries and their names (or values) in the order of the entries' bytes in
// code page 932; of entries written alike (characters it cannot hold become
// "?") only the last, the one a reader keeps. So a file saved again is the same.
QList<std::pair<QString, QString>> byWrittenEntry(const QHash<QString, QString> &byEntry)
{
    QList<std::pair<QByteArray, QString>> keys;
    for (auto it = byEntry.cbegin(); it != byEntry.cend(); ++it)
        keys.append({Cp932::encode(it.key()), it.key()});
    std::sort(keys.begin(), keys.end());
    QList<std::pair<QString, QString>> out;
    for (qsizetype i = 0; i < keys.size(); ++i) {
        if (i + 1 < keys.size() && keys.at(i + 1).first == keys.at(i).first)
            continue;
        out.append({keys.at(i).second, byEntry.value(keys.at(i).second)});
    }
    return out;
}

// Values kept after the empty line: filled fields no entry lists, and listed
// ones holding ":=", which their item line cuts short (an older reader still
// reads what it always did there).
using Listed = std::bitset<Items::kCount>;
QList<int> keptValues(const Project &doc, const Listed &listed)
{
    QList<int> found;
    for (int k = 0; k < Items::kCount; ++k) {
        const QString &v = doc.values[size_t(k)];
        if (Items::kindOf(k) == Items::Kind::Field && !v.isEmpty() &&
            (!listed.test(size_t(k)) || v.contains(kSeparator)))
            found.append(k);
    }
    return found;
}

void checkKept(QStringList &found, const Project &doc, const Listed &listed)
{
    for (const int k : keptValues(doc, listed))
        checkField(found, doc.values[size_t(k)], false);
}

// The settings a README does not show, as "name:=value", when not the default.
QStringList namedSettings(const Project &doc)
{
    QStringList found;
    const auto add = [&found](QStringView name, QStringView value) {
        found.append(name + kSeparator + value);
    };
    if (doc.wrap != Project::Wrap::Off)
        add(kWrapSetting, doc.wrap == Project::Wrap::Hang ? kWrapHang : kWrapPush);
    if (!doc.checkProfile.isEmpty())
        add(kProfileSetting, doc.checkProfile);
    for (const QString &s : doc.silenced)
        add(kSilenceSetting, s);
    if (!doc.languages.main.isEmpty() && doc.languages.main != u"ja")
        add(kLanguageSetting, doc.languages.main);
    for (const auto &[key, name] : byWrittenEntry(doc.languages.shownNames))
        add(kNameSetting, QString(key + kSeparator + name));
    for (const Credit &c : doc.credits)
        add(kCreditSetting,
            QStringList{c.material, c.author, c.url, c.license, c.notice}.join(u'\t'));
    return found;
}

void appendExtras(QString &out, const Project &doc, const Listed &listed)
{
    const BodyTexts &texts = doc.texts;
    const QList<int> values = keptValues(doc, listed);
    const QStringList settings = namedSettings(doc);
    if (texts.isEmpty() && values.isEmpty() && settings.isEmpty() && doc.languages.others.isEmpty())
        return;
    out += kLineEnd;
    for (const int k : values) {
        out += kKeptValue + QString::number(k) + kSeparator + doc.values[size_t(k)];
        out += kLineEnd;
    }
    for (const QString &setting : settings) {
        out += kSetting + setting;
        out += kLineEnd;
    }
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
    const auto textBlocks = [&](const BodyTexts &t) {
        block(kLeadText + QString::number(t.lead.size()), t.lead);
        for (const auto &[key, lines] : textBlocksInOrder(t.headings, doc.entries))
            block(kHeadingText + QString::number(lines.size()) + kSeparator + key, lines);
        block(kTailText + QString::number(t.tail.size()), t.tail);
    };
    textBlocks(texts);
    const auto line = [&out](QStringView tag, const QString &key, const QString &value) {
        out += tag + key + kSeparator + value;
        out += kLineEnd;
    };
    for (const Translation &t : doc.languages.others) {
        out += kLanguage + t.language;
        out += kLineEnd;
        QList<int> items = t.values.keys();
        std::sort(items.begin(), items.end());
        for (const int k : std::as_const(items))
            line(kKeptValue, QString::number(k), t.values.value(k));
        for (const auto *hash : {&t.ownValues, &t.names}) {
            for (const auto &[key, value] : byWrittenEntry(*hash))
                line(hash == &t.ownValues ? kOwnValue : kName, key, value);
        }
        textBlocks(t.texts);
    }
}

// The lines after the item lines: settings, then the author's texts.
QString settingsAndTexts(const Project &doc, const Listed &listed)
{
    QString out;
    const auto setting = [&out](QStringView tag, const QString &content) {
        out += tag;
        out += content;
        out += kLineEnd;
    };
    setting(kLineOption, QString::number(doc.lineStyle));
    if (doc.lineStyle == Styles::kFree)
        setting(kFreeLine, doc.lineText);
    setting(kBracketOption, QString::number(doc.bracketStyle));
    if (doc.bracketStyle == Styles::kFree) {
        setting(kFreeLeft, doc.bracketText[0]);
        setting(kFreeRight, doc.bracketText[1]);
    }
    setting(kLineWidth, doc.widthText);
    appendExtras(out, doc, listed);
    return out;
}

// The item lines, one per entry: its number, the entry and the item's value.
// They are written into buffers of their exact size, by ranges of entries:
// a document may hold 100,000 of them.
class ItemLines {
public:
    // Reads each entry once, for all it is needed for: notIntact, when
    // given, gets the entries and values that will not read back intact.
    ItemLines(const Project &doc, QStringList *notIntact) : m_doc(doc)
    {
        const Items::NameIndex names(Items::names());
        m_values.reserve(size_t(doc.entries.size()));
        m_numbers.reserve(size_t(doc.entries.size()));
        int custom = kFirstCustomNumber;
        for (const QString &entry : doc.entries) {
            const int k = names.itemOfStoredEntry(entry);
            m_values.push_back(valueOf(entry, k));
            m_numbers.push_back(k >= 0 ? k : custom++);
            if (k >= 0)
                m_listed.set(size_t(k));
            if (notIntact) {
                checkField(*notIntact, entry, true);
                // An item's value holding ":=" is kept whole after the empty line.
                if (const QStringView v = m_values.back(); !v.isEmpty())
                    checkField(*notIntact, v, k < 0);
            }
        }
    }
    qsizetype count() const { return m_doc.entries.size(); }
    const Listed &listed() const { return m_listed; }

    // Characters that lines [begin, end) take.
    qsizetype size(qsizetype begin, qsizetype end) const
    {
        qsizetype size = 0;
        for (qsizetype i = begin; i < end; ++i) {
            size += digitsOf(m_numbers[size_t(i)]) + 2 * kSeparator.size() +
                    m_doc.entries.at(i).size() + m_values[size_t(i)].size() + kLineEnd.size();
        }
        return size;
    }
    void fill(Filler &out, qsizetype begin, qsizetype end) const
    {
        for (qsizetype i = begin; i < end; ++i) {
            out.putNumber(m_numbers[size_t(i)]);
            out.put(kSeparator);
            out.put(m_doc.entries.at(i));
            out.put(kSeparator);
            out.put(m_values[size_t(i)]);
            out.put(kLineEnd);
        }
    }

private:
    // A custom entry's slot holds its own value, which older readers ignore.
    QStringView valueOf(const QString &entry, int item) const
    {
        if (item >= 0)
            return m_doc.values[size_t(item)];
        if (m_doc.ownValues.isEmpty())
            return {};
        const QStringView name = Entry::trimSpaces(entry);
        const auto own = m_doc.ownValues.constFind(QString::fromRawData(name.data(), name.size()));
        return own == m_doc.ownValues.cend() ? QStringView() : QStringView(*own);
    }

    const Project &m_doc;
    std::vector<QStringView> m_values; // into m_doc
    std::vector<int> m_numbers;
    Listed m_listed;
};

// The file in code page 932, encoded a range of lines at a time: the range's
// text stays in the cache, and the whole file's text is never held at once.
QByteArray encodeFile(const ItemLines &lines, const QString &tail, QStringList *unmappable)
{
    constexpr qsizetype kRange = 1024;
    QByteArray bytes;
    // Two bytes a character at most: the file is never copied as it grows.
    bytes.reserve(2 * (lines.size(0, lines.count()) + tail.size()));
    QString text;
    for (qsizetype begin = 0; begin < lines.count(); begin += kRange) {
        const qsizetype end = std::min(begin + kRange, lines.count());
        text.resize(lines.size(begin, end));
        Filler fill(text.data());
        lines.fill(fill, begin, end);
        bytes.append(Cp932::encode(text, unmappable));
    }
    bytes.append(Cp932::encode(tail, unmappable));
    return bytes;
}
} // namespace

QString text(const Project &shown)
{
    const Project doc = Languages::folded(shown);
    const ItemLines lines(doc, nullptr);
    const QString tail = settingsAndTexts(doc, lines.listed());
    QString out(lines.size(0, lines.count()) + tail.size(), Qt::Uninitialized);
    Filler fill(out.data());
    lines.fill(fill, 0, lines.count());
    fill.put(tail);
    return out;
}

QStringList lines(const Project &doc)
{
    return LineFile::splitLines(text(doc));
}

QStringList textsNotReadBackIntact(const Project &shown)
{
    const Project doc = Languages::folded(shown);
    QStringList found;
    const ItemLines lines(doc, &found);
    checkSettings(found, doc);
    checkKept(found, doc, lines.listed());
    return found;
}

Result<WriteReport> write(const QString &path, const Project &shown)
{
    const Project doc = Languages::folded(shown);
    WriteReport report;
    const ItemLines lines(doc, &report.notIntact);
    checkSettings(report.notIntact, doc);
    checkKept(report.notIntact, doc, lines.listed());
    const QByteArray bytes =
        encodeFile(lines, settingsAndTexts(doc, lines.listed()), &report.unmappable);
    if (const Result<> written = LineFile::writeBytes(path, bytes); !written.ok())
        return Result<WriteReport>::failure(written.reason());
    return report;
}

} // namespace DataFileWriter
