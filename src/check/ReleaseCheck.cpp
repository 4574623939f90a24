#include "ReleaseCheck.h"

#include "platform/Cp932.h"
#include "project/Entry.h"
#include "project/Languages.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>

using namespace Qt::StringLiterals;

namespace ReleaseCheck {

namespace {

using Kind = ComposedLine::Kind;

Severity severityOf(const QString &name)
{
    return name == u"error"  ? Severity::Error
           : name == u"note" ? Severity::Note
                             : Severity::Warning;
}

bool isHalfwidthKana(QChar c)
{
    return c >= u'\uff61' && c <= u'\uff9f';
}

// Lead bytes of the NEC and IBM extensions: other systems show them otherwise.
bool isMachineDependent(uchar lead)
{
    return lead == 0x87 || (lead >= 0xed && lead <= 0xee) || lead >= 0xfa;
}

class Checker {
public:
    Checker(const Project &p, const Composition &c, const Options &o) : m_p(p), m_c(c), m_o(o) {}
    std::vector<Finding> run();

private:
    void add(const QString &rule, Severity s, int line, int column, const QString &message,
             const QString &subject)
    {
        Finding f{rule, s, line, column, message, subject};
        if (!m_o.silenced.contains(rule) && !m_o.silenced.contains(f.key()))
            m_found.push_back(std::move(f));
    }
    void checkLine(int line, const ComposedLine &l);
    void checkCharacters(int line, QStringView text);
    void checkPlaceholder(int line, QStringView text);
    void checkSections();
    void checkSentences(int line, QStringView text, int counts[2], int first[2]);
    void checkProject();
    void checkProfile(const SiteProfile &profile);
    QString valueOf(const QString &name, bool *listed) const;
    int lineOfItem(int item) const;

    const Project &m_p;
    const Composition &m_c;
    const Options &m_o;
    std::vector<Finding> m_found;
};

void Checker::checkLine(int line, const ComposedLine &l)
{
    const QStringView text = l.text;
    const int bytes = Cp932::byteWidth(text);
    if (m_o.width > 0 && bytes > m_o.width)
        add(u"too-wide"_s, Severity::Warning, line, m_o.width + 1,
            u"%1 バイトあり、文字数 %2 を超えています"_s.arg(bytes).arg(m_o.width),
            text.toString());
    if (l.isText() && (text.endsWith(u' ') || text.endsWith(u'\u3000')))
        add(u"trailing-space"_s, Severity::Note, line, bytes, u"行末に空白があります"_s,
            text.toString());
    if (const qsizetype tab = text.indexOf(u'\t'); tab >= 0)
        add(u"tab"_s, Severity::Note, line, Cp932::byteWidth(text.left(tab)) + 1,
            u"タブは表示する環境によって幅が変わります。空白にしてください"_s, text.toString());
    if (std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x80; })) {
        checkCharacters(line, text);
        checkPlaceholder(line, text);
    }
}

// What a template leaves for the author to write: 〈ソフト名〉 in a field,
// 「ここに概要を書きます。」 (or "Write the overview here.") in a text.
void Checker::checkPlaceholder(int line, QStringView text)
{
    static const QRegularExpression placeholder(
        u"〈[^〈〉]+〉|ここに[^。]*書きます。|^Write [^.]* here\\."_s);
    const QRegularExpressionMatch m = placeholder.match(text);
    if (m.hasMatch())
        add(u"placeholder"_s, Severity::Warning, line,
            Cp932::byteWidth(text.left(m.capturedStart())) + 1,
            u"テンプレートの仮の文「%1」が残っています"_s.arg(m.captured()), m.captured());
}

// One pass over the line's characters beside their bytes in code page 932.
void Checker::checkCharacters(int line, QStringView text)
{
    const QByteArray bytes = Cp932::encode(text.toString());
    QString unmappable, dependent, kana;
    int columns[3] = {0, 0, 0};
    const auto note = [&](QString &into, int &column, QStringView c, int at) {
        if (into.isEmpty())
            column = at + 1;
        if (!into.contains(c))
            into += c;
    };
    int b = 0;
    for (qsizetype i = 0; i < text.size() && b < bytes.size(); ++i) {
        const QChar c = text[i];
        const bool pair = c.isHighSurrogate() && i + 1 < text.size();
        const QStringView ch = text.mid(i, pair ? 2 : 1);
        const int width = Cp932::byteWidth(ch);
        if (isHalfwidthKana(c))
            note(kana, columns[2], ch, b);
        else if (width == 2 && isMachineDependent(uchar(bytes.at(b))))
            note(dependent, columns[1], ch, b);
        else if (width == 1 && c.unicode() >= 0x80 && bytes.at(b) == '?')
            note(unmappable, columns[0], ch, b);
        b += width;
        i += pair ? 1 : 0;
        if (c == u'\u301c' || c == u'\u2212')
            add(c == u'\u301c' ? u"wave-dash"_s : u"minus-sign"_s, Severity::Note, line, b - 1,
                u"「%1」はシフトJISと JIS で対応が違い、環境によって別の字になります。「%2」を使ってください"_s
                    .arg(c, c == u'\u301c' ? u"～"_s : u"－"_s),
                QString(c));
    }
    if (!unmappable.isEmpty())
        add(u"unmappable"_s, Severity::Error, line, columns[0],
            u"「%1」はシフトJISで書けず、? になります"_s.arg(unmappable), unmappable);
    if (!dependent.isEmpty())
        add(u"machine-dependent"_s, Severity::Warning, line, columns[1],
            u"機種依存文字「%1」は、ほかの環境では別の字や空白に見えます"_s.arg(dependent),
            dependent);
    if (!kana.isEmpty())
        add(u"halfwidth-kana"_s, Severity::Warning, line, columns[2],
            u"半角カナ「%1」は、メールやほかの環境で化けることがあります"_s.arg(kana), kana);
}

// Sentences of one paragraph: those over 100 characters, and the style of
// each (counts and first lines of です・ます and だ・である).
void Checker::checkSentences(int line, QStringView text, int counts[2], int first[2])
{
    static const QRegularExpression polite(
        u"(です|ます|でした|ました|ません|でしょう|ください|下さい)[。！？!?]?$"_s);
    static const QRegularExpression plain(
        u"(だ|である|だった|であった|ではない|しない|する|した|できる|ある|いる|ない)。$"_s);
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !QStringView(u"。！？!?").contains(text[i]))
            continue;
        const QStringView sentence =
            text.mid(start, std::min(i + 1, text.size()) - start).trimmed();
        start = i + 1;
        if (sentence.size() > 100)
            add(u"long-sentence"_s, Severity::Note, line, 0,
                u"%1 文字の文があります。100 文字までに分けると読みやすくなります"_s.arg(
                    sentence.size()),
                sentence.left(20).toString());
        const int style = polite.match(sentence).hasMatch()  ? 0
                          : plain.match(sentence).hasMatch() ? 1
                                                             : -1;
        if (style >= 0 && counts[style]++ == 0)
            first[style] = line;
    }
}

// です・ます and だ・である within one heading's text.
void Checker::checkSections()
{
    int counts[2] = {0, 0}, first[2] = {0, 0};
    QString section, paragraph;
    int paragraphLine = 0;
    const auto endSection = [&] {
        if (counts[0] > 0 && counts[1] > 0) {
            const int minority = counts[0] < counts[1] ? 0 : 1;
            add(u"mixed-style"_s, Severity::Note, first[minority], 0,
                u"です・ます調とだ・である調が混ざっています（%1 文と %2 文）"_s.arg(counts[0]).arg(
                    counts[1]),
                section);
        }
        counts[0] = counts[1] = 0;
    };
    for (size_t i = 0; i <= m_c.lines.size(); ++i) {
        const ComposedLine *l = i < m_c.lines.size() ? &m_c.lines[i] : nullptr;
        if (!l || !l->isText() || l->continues < 0) {
            checkSentences(paragraphLine, paragraph, counts, first);
            paragraph.clear();
            paragraphLine = int(i) + 1;
        }
        if (!l || !l->isText()) {
            endSection();
            section = l ? l->key.toString() : QString();
            continue;
        }
        paragraph += l->continues < 0 ? l->text : l->text.mid(l->continues);
    }
}

// An item's value by its name, or a field of the author's own; listed tells
// whether the README shows it.
QString Checker::valueOf(const QString &name, bool *listed) const
{
    const Items::NameIndex names(Items::names());
    const int k = names.indexOf(name);
    *listed = std::any_of(m_p.entries.begin(), m_p.entries.end(),
                          [&](const QString &e) { return Entry::trimSpaces(e) == name; });
    if (k >= 0)
        return Items::isField(k) ? m_p.values[size_t(k)] : QString();
    return m_p.ownValues.value(name);
}

int Checker::lineOfItem(int item) const
{
    for (size_t i = 0; i < m_c.lines.size(); ++i) {
        if (m_c.lines[i].kind == Kind::Field && m_c.lines[i].item == item)
            return int(i) + 1;
    }
    return 0;
}

void Checker::checkProject()
{
    QSet<QStringView> seen, told;
    for (const QString &e : m_p.entries) {
        const QStringView name = Entry::trimSpaces(e);
        if (name.isEmpty() || name.startsWith(u'●'))
            continue;
        if (seen.contains(name) && !told.contains(name)) {
            told.insert(name);
            add(u"heading-twice"_s, Severity::Warning, 0, 0,
                u"「%1」が項目の順序に二度あります"_s.arg(name), name.toString());
        }
        seen.insert(name);
    }
    for (size_t i = 0; i < m_c.lines.size(); ++i) {
        const ComposedLine &l = m_c.lines[i];
        const bool textFollows =
            i + 1 < m_c.lines.size() &&
            (m_c.lines[i + 1].kind == Kind::Credit ||
             (m_c.lines[i + 1].isText() && !m_c.lines[i + 1].text.trimmed().isEmpty()));
        if (l.kind == Kind::Heading && !l.inEnd && !textFollows)
            add(u"empty-heading"_s, Severity::Warning, int(i) + 1, 0,
                u"見出し「%1」の下に文章がありません"_s.arg(l.key), l.key.toString());
    }
    const bool creditsShown =
        std::any_of(m_c.lines.begin(), m_c.lines.end(),
                    [](const ComposedLine &l) { return l.kind == Kind::Credit; });
    if (!m_p.credits.isEmpty() && !creditsShown)
        add(u"credits-unlisted"_s, Severity::Warning, 0, 0,
            u"素材のクレジットが %1 件ありますが、「%2」の見出しが項目の順序にないため README に載りません"_s
                .arg(m_p.credits.size())
                .arg(QString::fromUtf16(ProjectRules::kCreditsHeading)),
            QString());
    const Project main = Languages::folded(m_p);
    for (const Translation &t : main.languages.others) {
        const QStringList lacking = Languages::missing(main, t);
        if (!lacking.isEmpty())
            add(u"untranslated"_s, Severity::Note, 0, 0,
                u"%1（%2）の README は、%3 が %4 のままです"_s.arg(
                    Languages::displayName(t.language), t.language, lacking.join(u"、"_s),
                    Languages::displayName(Languages::mainOf(main))),
                t.language);
    }
    const QString version = m_p.values[Items::Version].trimmed();
    if (!m_o.expectVersion.isEmpty() && version != m_o.expectVersion)
        add(u"version-differs"_s, Severity::Error, lineOfItem(Items::Version), 0,
            u"バージョンが「%1」で、「%2」ではありません"_s.arg(version, m_o.expectVersion),
            m_o.expectVersion);
}

void Checker::checkProfile(const SiteProfile &profile)
{
    for (const SiteProfile::Rule &r : profile.rules) {
        const Severity s = severityOf(r.severity);
        const auto say = [&](const QString &fallback) {
            return r.message.isEmpty() ? fallback : fallback + u"（%1）"_s.arg(r.message);
        };
        bool listed = false;
        if (r.type == u"required") {
            for (const QStringList &names : r.items) {
                const bool filled = std::any_of(names.begin(), names.end(), [&](const QString &n) {
                    return !valueOf(n, &listed).trimmed().isEmpty() && listed;
                });
                if (!filled)
                    add(r.id, s, 0, 0, say(u"「%1」がありません"_s.arg(names.join(u"」か「"_s))),
                        names.join(u'/'));
            }
            continue;
        }
        if (r.type == u"creditWhen") {
            QStringList all = m_p.texts.lead + m_p.texts.tail;
            for (const QStringList &t : m_p.texts.headings)
                all += t;
            const bool mentioned = all.join(u'\n').contains(r.mentions);
            const bool credited =
                std::any_of(m_p.entries.begin(), m_p.entries.end(), [&](const QString &e) {
                    return std::any_of(r.headings.begin(), r.headings.end(),
                                       [&](const QString &h) { return e.contains(h); });
                });
            const QString headings = r.headings.join(u"」か「"_s);
            if (mentioned && !credited)
                add(r.id, s, 0, 0,
                    say(r.mentions.isEmpty()
                            ? u"「%1」の見出しがありません"_s.arg(headings)
                            : u"「%1」に触れていますが、「%2」の見出しがありません"_s.arg(
                                  r.mentions, headings)),
                    r.mentions);
            continue;
        }
        const QString value = valueOf(r.item, &listed);
        const int line = lineOfItem(Items::NameIndex(Items::names()).indexOf(r.item));
        if (r.type == u"maxBytes" && Cp932::byteWidth(value) > r.max)
            add(r.id, s, line, r.max + 1,
                say(u"「%1」が %2 バイトで、%3 バイトまでです"_s.arg(r.item)
                        .arg(Cp932::byteWidth(value))
                        .arg(r.max)),
                r.item);
        if (r.type == u"forbid") {
            const QRegularExpressionMatch m = QRegularExpression(r.pattern).match(value);
            if (m.hasMatch())
                add(r.id, s, line, 0,
                    say(u"「%1」に「%2」は書けません"_s.arg(r.item, m.captured())), r.item);
        }
    }
}

std::vector<Finding> Checker::run()
{
    checkProject();
    for (const SiteProfile &p : m_o.profiles)
        checkProfile(p);
    for (size_t i = 0; i < m_c.lines.size(); ++i)
        checkLine(int(i) + 1, m_c.lines[i]);
    checkSections();
    std::stable_sort(m_found.begin(), m_found.end(),
                     [](const Finding &a, const Finding &b) { return a.line < b.line; });
    return std::move(m_found);
}

} // namespace

std::vector<Finding> check(const Project &project, const Composition &readme,
                           const Options &options)
{
    return Checker(project, readme, options).run();
}

bool hasErrors(const std::vector<Finding> &findings)
{
    return std::any_of(findings.begin(), findings.end(),
                       [](const Finding &f) { return f.severity == Severity::Error; });
}

QString severityName(Severity severity)
{
    return severity == Severity::Error     ? u"エラー"_s
           : severity == Severity::Warning ? u"警告"_s
                                           : u"注意"_s;
}

QString toText(const Finding &f, const QString &fileName)
{
    QString where = fileName;
    if (f.line > 0)
        where += u':' + QString::number(f.line) +
                 (f.column > 0 ? u':' + QString::number(f.column) : QString());
    return u"%1: %2: %3 [%4]"_s.arg(where, severityName(f.severity), f.message, f.rule);
}

QByteArray toJson(const std::vector<Finding> &findings)
{
    QJsonArray out;
    for (const Finding &f : findings) {
        const char *severity = f.severity == Severity::Error     ? "error"
                               : f.severity == Severity::Warning ? "warning"
                                                                 : "note";
        out.append(QJsonObject{{u"rule"_s, f.rule},
                               {u"severity"_s, QLatin1String(severity)},
                               {u"line"_s, f.line},
                               {u"column"_s, f.column},
                               {u"message"_s, f.message},
                               {u"key"_s, f.key()}});
    }
    return QJsonDocument(out).toJson();
}

} // namespace ReleaseCheck
