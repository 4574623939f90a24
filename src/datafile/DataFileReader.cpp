#include "DataFileReader.h"

#include "DataFileFormat.h"
#include "platform/Cp932.h"
#include "platform/LineFile.h"
#include "project/Entry.h"
#include "project/Project.h"

#include <QSet>

using namespace Qt::StringLiterals;
using namespace DataFileFormat;

namespace DataFileReader {

namespace {
// Lines are read as views into the decoded file: only what the document
// keeps is copied.
using Lines = QList<QStringView>;

// An option index stored after a setting tag: "0" to "3".
bool optionIndex(QStringView line, int *index)
{
    bool ok = false;
    const int n = line.mid(kTagLength).trimmed().toInt(&ok);
    if (!ok || n < 0 || n > 3)
        return false;
    *index = n;
    return true;
}

// Where the separator starts in s, or -1. Lines are short: a plain loop
// costs less than a general search.
qsizetype findSeparator(QStringView s)
{
    const char16_t *p = s.utf16();
    for (qsizetype i = 0; i + 1 < s.size(); ++i) {
        if (p[i] == u':' && p[i + 1] == u'=')
            return i;
    }
    return -1;
}

// s read as QString::toInt() reads it trimmed; plain digits, as the writer
// writes them, are read directly.
int toNumber(QStringView s, bool *ok)
{
    const auto digit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    if (s.isEmpty() || s.size() > 9 || !std::all_of(s.begin(), s.end(), digit))
        return s.trimmed().toInt(ok);
    int n = 0;
    for (const QChar c : s)
        n = n * 10 + (c.unicode() - u'0');
    *ok = true;
    return n;
}

// Takes a setting line into the stored document; returns false when line
// is no setting, else sets *reason to empty or to why it is malformed.
bool applySetting(QStringView line, Project &doc, QString *reason)
{
    const QStringView tag = line.left(kTagLength);
    const QStringView rest = line.mid(kTagLength);
    int n = 0;
    if (tag == kLineOption || tag == kBracketOption) {
        if (!optionIndex(line, &n))
            *reason = u"「%1」は 0 から 3 の選択肢番号ではありません"_s.arg(rest);
        else
            (tag == kLineOption ? doc.lineStyle : doc.bracketStyle) = n;
        return true;
    }
    if (tag == kFreeLine)
        doc.lineText = rest.toString();
    else if (tag == kFreeLeft || tag == kFreeRight)
        doc.bracketText[tag == kFreeLeft ? 0 : 1] = rest.toString();
    else if (tag == kLineWidth)
        doc.widthText = rest.toString();
    else
        return false;
    return true;
}

// Takes one line into the stored document; returns an empty string or the
// reason it is malformed.
QString applyLine(QStringView line, Project &doc)
{
    // Every setting tag starts with "@"; most lines are item lines.
    if (QString reason; line.startsWith(u'@') && applySetting(line, doc, &reason))
        return reason;
    // The number, the entry and the value: the first three parts between
    // separators, as splitting the line at every separator gives them.
    const qsizetype first = findSeparator(line);
    if (first < 0)
        return line.isEmpty() ? u"空の行です"_s : u"「:=」がありません"_s;
    const QStringView number = line.left(first);
    const QStringView afterFirst = line.mid(first + kSeparator.size());
    const qsizetype second = findSeparator(afterFirst);
    doc.entries.append(afterFirst.left(second).toString());
    if (second < 0)
        return u"値の前の「:=」がありません"_s;
    const QStringView afterSecond = afterFirst.mid(second + kSeparator.size());
    const QStringView value = afterSecond.left(findSeparator(afterSecond));
    if (value.isEmpty())
        return QString();
    bool ok = false;
    const int index = toNumber(number, &ok);
    if (!ok)
        return u"項目番号「%1」は整数ではありません"_s.arg(number);
    using Items::Kind;
    if (index >= kFirstCustomNumber) {
        doc.ownValues.insert(Entry::trimSpaces(doc.entries.last()).toString(), value.toString());
        return QString();
    }
    if (index < 0 || index >= Items::kCount)
        return QString();
    switch (Items::kindOf(index)) {
    case Kind::Field:
        doc.values[size_t(index)] = value.toString();
        return QString();
    case Kind::BodyHeading:
    case Kind::EndMarker:
    case Kind::EndLine: {
        // A state as written, "0" to "2", is kept as it is.
        if (value.size() == 1 && value[0] >= u'0' && value[0] <= u'2') {
            doc.values[size_t(index)] = value.toString();
            return QString();
        }
        const Result<int> state = ProjectRules::parseBoxState(value.toString());
        if (state.ok())
            doc.values[size_t(index)] = QString::number(state.value());
        return state.reason();
    }
    default:
        return QString();
    }
}
// A value kept without an entry: a field's number, the separator, the value.
bool readKeptValue(QStringView line, Project &doc)
{
    const QStringView rest = line.mid(kTagLength);
    const qsizetype sep = rest.indexOf(kSeparator);
    bool ok = false;
    const int index = sep < 0 ? -1 : rest.left(sep).toInt(&ok);
    if (!ok || index < 0 || index >= Items::kCount || Items::kindOf(index) != Items::Kind::Field)
        return false;
    doc.values[size_t(index)] = rest.mid(sep + kSeparator.size()).toString();
    // A listed value is kept here whole when its item line cuts it short.
    const Items::NameIndex names(Items::names());
    if (std::none_of(doc.entries.cbegin(), doc.entries.cend(),
                     [&](const QString &e) { return names.itemOfStoredEntry(e) == index; }))
        doc.unlisted.set(size_t(index));
    return true;
}

// A setting the README does not show. One this version does not know is
// passed over: a later version may write it.
bool readSetting(QStringView line, Project &doc)
{
    const qsizetype sep = line.indexOf(kSeparator);
    if (sep <= 0)
        return false;
    const QStringView name = line.left(sep), value = line.mid(sep + kSeparator.size());
    if (name == kWrapSetting) {
        if (value != kWrapPush && value != kWrapHang)
            return false;
        doc.wrap = value == kWrapHang ? Project::Wrap::Hang : Project::Wrap::Push;
    } else if (name == kProfileSetting) {
        doc.checkProfile = value.toString();
    } else if (name == kSilenceSetting) {
        doc.silenced.append(value.toString());
    } else if (name == kLanguageSetting) {
        doc.languages.main = value.toString();
    } else if (name == kNameSetting) {
        const qsizetype at = value.indexOf(kSeparator);
        if (at <= 0)
            return false;
        doc.languages.shownNames.insert(value.left(at).toString(),
                                        value.mid(at + kSeparator.size()).toString());
    } else if (name == kCreditSetting) {
        // Fields a later version adds are passed over; missing ones are empty.
        const QList<QStringView> f = value.split(u'\t');
        const auto at = [&f](int i) { return i < f.size() ? f.at(i).toString() : QString(); };
        doc.credits.append({at(0), at(1), at(2), at(3), at(4)});
    }
    return true;
}

bool isLanguageLine(QStringView tag)
{
    return tag == kKeptValue || tag == kOwnValue || tag == kName;
}

// A line of another language's block: its header, or one of its versions.
bool readLanguageLine(QStringView tag, QStringView rest, Project &doc, Translation *&language)
{
    if (tag == kLanguage) {
        if (rest.isEmpty() || rest.contains(kSeparator))
            return false;
        doc.languages.others.append({rest.toString(), {}, {}, {}, {}});
        language = &doc.languages.others.last();
        return true;
    }
    const qsizetype sep = rest.indexOf(kSeparator);
    if (sep <= 0)
        return false;
    const QString key = rest.left(sep).toString(),
                  value = rest.mid(sep + kSeparator.size()).toString();
    if (tag == kKeptValue) {
        bool ok = false;
        const int k = key.toInt(&ok);
        if (!ok || !Items::isField(k))
            return false;
        language->values.insert(k, value);
    } else {
        (tag == kOwnValue ? language->ownValues : language->names).insert(key, value);
    }
    return true;
}

// What follows the empty line that ends the document's own lines: values
// kept without an entry, then the author's texts; returns the 0-based line
// that could not be read, or -1.
qsizetype readExtras(const Lines &lines, qsizetype i, Project &doc, QString *reason)
{
    BodyTexts *texts = &doc.texts;
    for (; i < lines.size() && lines.at(i).startsWith(kKeptValue); ++i) {
        if (!readKeptValue(lines.at(i), doc)) {
            *reason = u"値の行「%1」を読めません"_s.arg(lines.at(i));
            return i;
        }
    }
    for (; i < lines.size() && lines.at(i).startsWith(kSetting); ++i) {
        if (!readSetting(lines.at(i).mid(kTagLength), doc)) {
            *reason = u"設定の行「%1」を読めません"_s.arg(lines.at(i));
            return i;
        }
    }
    Translation *language = nullptr; // the block being read, after its header
    while (i < lines.size()) {
        const QStringView header = lines.at(i);
        const QStringView tag = header.left(kTagLength);
        const QStringView rest = header.mid(kTagLength);
        if (tag == kLanguage || (language && isLanguageLine(tag))) {
            if (!readLanguageLine(tag, rest, doc, language)) {
                *reason = u"言語の行「%1」を読めません"_s.arg(header);
                return i;
            }
            ++i;
            continue;
        }
        const qsizetype sep = tag == kHeadingText ? rest.indexOf(kSeparator) : rest.size();
        bool ok = false;
        const qsizetype count = sep < 0 ? -1 : rest.left(sep).toLongLong(&ok);
        if (!ok || count < 1 || !startsText(tag)) {
            // Blank lines after the last text end the file; nothing is lost.
            if (std::all_of(lines.begin() + i, lines.end(),
                            [](QStringView l) { return l.isEmpty(); }))
                return -1;
            *reason = u"文章の見出し行「%1」を読めません"_s.arg(header);
            return i;
        }
        if (count > lines.size() - i - 1) {
            *reason = u"文章の行が %1 行足りません"_s.arg(count - (lines.size() - i - 1));
            return i;
        }
        QStringList text;
        text.reserve(count);
        for (qsizetype k = i + 1; k <= i + count; ++k)
            text.append(lines.at(k).toString());
        // A text met twice (a file joined by hand) keeps both parts.
        if (language)
            texts = &language->texts;
        if (tag == kLeadText)
            texts->lead += text;
        else if (tag == kTailText)
            texts->tail += text;
        else
            texts->headings[rest.mid(sep + kSeparator.size()).toString()] += text;
        i += 1 + count;
    }
    return -1;
}

// What a line that was not read holds, in the author's words.
QString describeUnread(QStringView line, qsizetype *skip)
{
    const QStringView tag = line.left(kTagLength);
    const QStringView rest = line.mid(kTagLength);
    if (startsText(line)) {
        const qsizetype sep = rest.indexOf(kSeparator);
        const QStringView count = tag == kHeadingText ? rest.left(sep) : rest;
        *skip = std::max(0LL, count.toLongLong());
        if (tag == kHeadingText)
            return u"「%1」の下の文章 %2 行"_s.arg(rest.mid(sep + kSeparator.size())).arg(*skip);
        return u"%1の文章 %2 行"_s.arg(tag == kLeadText ? u"先頭"_s : u"末尾"_s).arg(*skip);
    }
    if (tag == kKeptValue)
        return u"値「%1」"_s.arg(rest.mid(rest.indexOf(kSeparator) + kSeparator.size()));
    if (tag.startsWith(u"@@@"))
        return u"区切り線・括弧・文字数の設定"_s;
    const qsizetype first = findSeparator(line);
    if (first < 0)
        return u"「%1」"_s.arg(line);
    const QStringView rest2 = line.mid(first + kSeparator.size());
    const qsizetype second = findSeparator(rest2);
    const QString entry = rest2.left(second).trimmed().toString();
    const QStringView value = second < 0 ? QStringView() : rest2.mid(second + kSeparator.size());
    return value.size() > 1 ? u"%1「%2」"_s.arg(entry, value) : entry;
}

// Lines from the failing one on that hold text: what a save would lose,
// values and texts named before bare entries.
void noteUnread(const Lines &lines, qsizetype from, ReadReport &report)
{
    constexpr qsizetype kSample = 12;
    QStringList found;
    QSet<QString> seen;
    for (qsizetype i = from; i < lines.size(); ++i) {
        if (lines.at(i).trimmed().isEmpty())
            continue;
        qsizetype skip = 0;
        const QString what = describeUnread(lines.at(i), &skip);
        skip = std::min(skip, lines.size() - 1 - i);
        report.unreadLines += int(1 + skip);
        i += skip;
        if (!seen.contains(what)) {
            seen.insert(what);
            found.append(what);
        }
    }
    std::stable_partition(found.begin(), found.end(),
                          [](const QString &w) { return w.contains(u'「'); });
    report.unreadSample = found.mid(0, kSample);
    if (found.size() > kSample)
        report.unreadSample.append(u"ほか %1 件"_s.arg(found.size() - kSample));
}

Parsed parseLines(const Lines &lines)
{
    Parsed parsed;
    Project &stored = parsed.project;
    stored.entries.reserve(lines.size());
    ReadReport &result = parsed.report;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const bool textsFollow =
            lines.at(i).isEmpty() && i + 1 < lines.size() && startsExtras(lines.at(i + 1));
        if (textsFollow) {
            QString reason;
            if (const qsizetype bad = readExtras(lines, i + 1, stored, &reason); bad >= 0) {
                result.malformedLine = int(bad + 1);
                result.malformedReason = reason;
                noteUnread(lines, bad, result);
            }
            break;
        }
        const QString reason = applyLine(lines.at(i), stored);
        if (reason.isEmpty())
            continue;
        // Blank lines after the last line end the file; nothing is lost.
        const bool onlyBlankLeft =
            std::all_of(lines.begin() + i, lines.end(), [](QStringView l) { return l.isEmpty(); });
        if (!onlyBlankLeft) {
            result.malformedLine = int(i + 1);
            result.malformedReason = reason;
            noteUnread(lines, i, result);
        }
        break;
    }
    return parsed;
}
} // namespace

Parsed parse(const QStringList &lines)
{
    return parseLines(Lines(lines.begin(), lines.end()));
}

Result<Parsed> parse(const QByteArray &bytes)
{
    if (bytes.contains('\0'))
        return Result<Parsed>::failure(u"NUL バイトを含むため、データファイルではありません。"_s);
    if (!Cp932::isWellFormed(bytes))
        return Result<Parsed>::failure(
            u"シフトJISの文字でないバイト列を含むため、データファイルではありません。"_s);
    const QString text = Cp932::decode(bytes);
    const Lines lines = LineFile::splitLineViews(text);
    Parsed parsed = parseLines(lines);
    if (lines.isEmpty() || parsed.report.malformedLine == 1)
        return Result<Parsed>::failure(u"1 行目からデータファイルの行として読めません。"_s);
    parsed.report.foreignEncoding = Cp932::looksLikeOtherEncoding(bytes);
    return parsed;
}

Result<Parsed> read(const QString &path)
{
    const Result<QByteArray> bytes = LineFile::readBytes(path);
    if (!bytes.ok())
        return Result<Parsed>::failure(bytes.reason());
    return parse(bytes.value());
}

} // namespace DataFileReader
