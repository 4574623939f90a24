#include "release/Release.h"

#include "project/Entry.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace Release {

namespace {

// Headings an author keeps the history under; the first one listed is used.
const QStringList &historyHeadings()
{
    static const QStringList names = {Items::names()[Items::LastBody],
                                      u"更新履歴"_s,
                                      u"変更履歴"_s,
                                      u"改版履歴"_s,
                                      u"履歴"_s,
                                      u"History"_s,
                                      u"Change log"_s,
                                      u"Changelog"_s,
                                      u"Changes"_s};
    return names;
}

const QString kDate = uR"((\d{4})([/.\-年])(\d{1,2})([/.\-月])(\d{1,2})(日?))"_s;
const QString kVersion = uR"(((?:[Vv](?:er(?:sion)?)?\.? ?|バージョン ?)?)(\d+(?:\.\d+)*[a-z]?))"_s;
const QString kLead = uR"(^([ \t　]*(?:[・■□●○◆◇◎★☆＊*+\-][ \t　]*)?))"_s;
const QString kBetween = uR"(([ \t　]*(?:[\-:：|｜][ \t　]*)?))"_s;
const QString kRest = uR"(((?:[ \t　(（:：].*)?)$)"_s;

// An entry's first line, the way it is written.
struct EntryForm {
    QString lead; // the indent and the bullet
    bool dateFirst = true;
    QString open, close; // around the date
    QString between;     // between the date and the version
    QString versionPrefix = u"Ver."_s;
    DateForm date;
    QString version; // as read
    QString rest;    // what follows on the line

    QString write(const QString &v, const QDate &d) const
    {
        const QString ver = versionPrefix + v;
        const QString day = open + date.format(d) + close;
        return lead + (dateFirst ? day + between + ver : ver + between + day);
    }
};

DateForm formOf(const QRegularExpressionMatch &m, int first)
{
    DateForm f;
    f.afterYear = m.captured(first + 1);
    f.afterMonth = m.captured(first + 3);
    f.afterDay = m.captured(first + 5);
    f.padded = m.capturedLength(first + 2) == 2 && m.capturedLength(first + 4) == 2;
    return f;
}

std::optional<EntryForm> readEntryLine(const QString &line)
{
    // lead, open, date (6), close, between, version (2), rest
    static const QRegularExpression dateFirst(kLead + u"([(（\\[［]?)"_s + kDate +
                                              u"([)）\\]］]?)"_s + kBetween + kVersion + kRest);
    static const QRegularExpression versionFirst(kLead + kVersion + kBetween + u"([(（\\[［]?)"_s +
                                                 kDate + u"([)）\\]］]?)"_s + kRest);
    EntryForm f;
    if (const QRegularExpressionMatch m = dateFirst.match(line); m.hasMatch()) {
        f.lead = m.captured(1);
        f.open = m.captured(2);
        f.date = formOf(m, 3);
        f.close = m.captured(9);
        f.between = m.captured(10);
        f.versionPrefix = m.captured(11);
        f.version = m.captured(12);
        f.rest = m.captured(13);
    } else if (const QRegularExpressionMatch v = versionFirst.match(line); v.hasMatch()) {
        f.dateFirst = false;
        f.lead = v.captured(1);
        f.versionPrefix = v.captured(2);
        f.version = v.captured(3);
        f.between = v.captured(4);
        f.open = v.captured(5);
        f.date = formOf(v, 6);
        f.close = v.captured(12);
        f.rest = v.captured(13);
    } else {
        return std::nullopt;
    }
    return f;
}

// A version without a "Ver." of its own, so the history's own prefix goes in front.
QString bareVersion(const QString &typed)
{
    static const QRegularExpression prefixed(u"^(?:[Vv](?:er(?:sion)?)?\\.? ?)(\\d.*)$"_s);
    const QString v = typed.trimmed();
    const QRegularExpressionMatch m = prefixed.match(v);
    return m.hasMatch() ? m.captured(1) : v;
}

// The field takes the new version behind what stood before the old one's digits.
QString fieldVersion(const QString &old, const QString &version)
{
    static const QRegularExpression digits(u"^(\\D*?)\\d"_s);
    const QRegularExpressionMatch m = digits.match(old);
    return m.hasMatch() ? m.captured(1) + version : version;
}

bool isBlank(const QString &line)
{
    return line.trimmed().isEmpty();
}

// Where the history's text holds entries, and how they are written.
struct History {
    QList<qsizetype> starts; // first lines of the entries
    std::optional<EntryForm> newest;
    QString notePrefix = u"  ・"_s;
    bool notesInline = false; // one-line entries: the note follows the version
    bool blankBetween = false;

    explicit History(const QStringList &lines)
    {
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (std::optional<EntryForm> f = readEntryLine(lines.at(i))) {
                starts.append(i);
                if (!newest)
                    newest = f;
            }
        }
        if (!newest)
            return;
        const qsizetype first = starts.first();
        const qsizetype next = starts.size() > 1 ? starts.at(1) : lines.size();
        if (first + 1 < next && !isBlank(lines.at(first + 1))) {
            static const QRegularExpression lead(kLead);
            notePrefix = lead.match(lines.at(first + 1)).captured(1);
        } else {
            static const QRegularExpression indent(u"^[ \t　]*"_s);
            notePrefix = indent.match(newest->lead).captured() + u"  "_s;
            notesInline = !newest->rest.trimmed().isEmpty();
        }
        // One entry alone tells nothing: entries of several lines get a blank between.
        blankBetween = starts.size() > 1
                           ? isBlank(lines.at(next - 1))
                           : first + 1 < next && !notesInline && !isBlank(lines.at(first + 1));
    }
    // The end of the newest entry, its blank lines left out.
    qsizetype newestEnd(const QStringList &lines) const
    {
        qsizetype end = starts.size() > 1 ? starts.at(1) : lines.size();
        while (end > starts.first() + 1 && isBlank(lines.at(end - 1)))
            --end;
        return end;
    }
};

// The history heading listed, or バージョン履歴 listed in front of the end marker.
QString historyHeading(Project &p, bool *added)
{
    for (const QString &name : historyHeadings()) {
        for (const QString &entry : std::as_const(p.entries)) {
            if (Entry::standsFor(entry, name)) {
                if (name == Items::names()[Items::LastBody])
                    p.values[Items::LastBody] = u"1"_s;
                return name;
            }
        }
    }
    const QString name = Items::names()[Items::LastBody];
    ProjectRules::listHeading(p, name);
    p.values[Items::LastBody] = u"1"_s;
    *added = true;
    return name;
}

} // namespace

QString DateForm::format(const QDate &d) const
{
    const auto two = [&](int n) {
        return padded ? u"%1"_s.arg(n, 2, 10, QChar(u'0')) : QString::number(n);
    };
    return QString::number(d.year()) + afterYear + two(d.month()) + afterMonth + two(d.day()) +
           afterDay;
}

std::optional<DateForm> dateFormIn(const QString &text)
{
    static const QRegularExpression date(kDate);
    const QRegularExpressionMatch m = date.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    return formOf(m, 1);
}

Result<QDate> parseDate(const QString &text)
{
    static const QRegularExpression form(u"^(\\d{4})-(\\d{1,2})-(\\d{1,2})$"_s);
    const QRegularExpressionMatch m = form.match(text.trimmed());
    const QDate d = m.hasMatch()
                        ? QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt())
                        : QDate();
    if (!m.hasMatch())
        return Result<QDate>::failure(
            u"日付「%1」は 2026-12-07 のように 年-月-日 で指定してください"_s.arg(text));
    if (!d.isValid())
        return Result<QDate>::failure(u"日付「%1」はありません"_s.arg(text));
    return d;
}

Result<Plan> plan(const Project &project, const Request &request)
{
    const QString version = bareVersion(request.version);
    if (version.isEmpty())
        return Result<Plan>::failure(u"新しい版のバージョンが空です"_s);
    if (!request.date.isValid())
        return Result<Plan>::failure(u"新しい版の日付がありません"_s);
    Plan out;
    out.project = project;
    Project &p = out.project;
    out.heading = historyHeading(p, &out.headingAdded);
    QStringList lines = p.texts.under(out.heading);
    const History history(lines);

    if (history.starts.isEmpty()) {
        // A template's 「ここに更新履歴を書きます。」 gives way to the first entry.
        static const QRegularExpression placeholder(
            u"^(ここに[^。]*書きます。|Write [^.]* here\\.)"_s);
        lines.removeIf([](const QString &l) { return placeholder.match(l).hasMatch(); });
    }
    qsizetype at = history.starts.isEmpty() ? 0 : history.starts.first();
    // A heading underlined in its text keeps its underline above the entries.
    static const QRegularExpression rule(u"^[-=_~＝－─━]{3,}$"_s);
    while (history.starts.isEmpty() && at < lines.size() &&
           rule.match(lines.at(at).trimmed()).hasMatch())
        ++at;
    if (history.newest && bareVersion(history.newest->version) == version) {
        if (!request.amend)
            return Result<Plan>::failure(
                u"「%1」の最新の項目はすでにバージョン %2 です"_s.arg(out.heading, version));
        lines.remove(at, history.newestEnd(lines) - at);
        out.amended = true;
    }

    EntryForm form = history.newest.value_or(EntryForm{});
    if (!history.newest) {
        form.between = u"  "_s;
        if (const std::optional<DateForm> d = dateFormIn(p.values[Items::Date]))
            form.date = *d;
    }
    out.entry.append(form.write(version, request.date));
    QStringList notes = request.notes;
    if (history.notesInline && !notes.isEmpty()) {
        static const QRegularExpression gap(u"^[ \t　]*"_s);
        const QString before = gap.match(form.rest).captured();
        out.entry.first() += (before.isEmpty() ? u" "_s : before) + notes.takeFirst().trimmed();
    }
    for (const QString &note : std::as_const(notes))
        out.entry.append(history.notePrefix + note.trimmed());
    QStringList inserted = out.entry;
    if (!out.amended && history.blankBetween && at < lines.size() && !history.starts.isEmpty())
        inserted.append(QString());
    for (qsizetype i = 0; i < inserted.size(); ++i)
        lines.insert(at + i, inserted.at(i));
    p.texts.setUnder(out.heading, lines);

    p.values[Items::Version] = fieldVersion(p.values[Items::Version], version);
    if (ProjectRules::isListed(p, Items::names()[Items::Date]))
        p.values[Items::Date] =
            dateFormIn(p.values[Items::Date]).value_or(DateForm{}).format(request.date);
    return out;
}

} // namespace Release
