#include "project/Languages.h"

#include "project/Entry.h"

using namespace Qt::StringLiterals;

namespace Languages {

namespace {

qsizetype indexOf(const Project &p, const QString &language)
{
    const QList<Translation> &others = p.languages.others;
    for (qsizetype i = 0; i < others.size(); ++i) {
        if (others.at(i).language == language)
            return i;
    }
    return -1;
}

template <typename Hash> void overlay(Hash &into, const Hash &from)
{
    for (auto it = from.cbegin(); it != from.cend(); ++it)
        into.insert(it.key(), it.value());
}

} // namespace

QString mainOf(const Project &p)
{
    return p.languages.main.isEmpty() ? QString::fromUtf16(kJapanese) : p.languages.main;
}

QString shownOf(const Project &p)
{
    return p.languages.viewing.isEmpty() ? mainOf(p) : p.languages.viewing;
}

QStringList all(const Project &p)
{
    const Project f = folded(p);
    QStringList out{mainOf(f)};
    for (const Translation &t : f.languages.others)
        out.append(t.language);
    return out;
}

Project viewIn(const Project &p, const QString &language)
{
    if (shownOf(p) == language)
        return p;
    Project out = folded(p);
    const qsizetype i = indexOf(out, language);
    if (i < 0)
        return out;
    const Translation t = out.languages.others.at(i);
    Translation whole{mainOf(out), {}, out.ownValues, out.languages.shownNames, out.texts};
    for (int k = Items::SoftName; k <= Items::HomePage; ++k) {
        whole.values.insert(k, out.values[size_t(k)]);
        if (t.values.contains(k))
            out.values[size_t(k)] = t.values.value(k);
    }
    overlay(out.ownValues, t.ownValues);
    out.languages.shownNames = t.names;
    if (!t.texts.lead.isEmpty())
        out.texts.lead = t.texts.lead;
    if (!t.texts.tail.isEmpty())
        out.texts.tail = t.texts.tail;
    overlay(out.texts.headings, t.texts.headings);
    out.languages.others[i] = whole;
    out.languages.viewing = language;
    return out;
}

Project folded(const Project &p)
{
    if (p.languages.viewing.isEmpty())
        return p;
    Project out = p;
    out.languages.viewing.clear();
    const qsizetype i = indexOf(p, mainOf(p));
    if (i < 0)
        return out; // nothing to fold back: the view was all there was
    const Translation whole = p.languages.others.at(i);
    Translation t{p.languages.viewing, {}, {}, {}, {}};
    for (int k = Items::SoftName; k <= Items::HomePage; ++k) {
        if (p.values[size_t(k)] != whole.values.value(k))
            t.values.insert(k, p.values[size_t(k)]);
        out.values[size_t(k)] = whole.values.value(k);
    }
    for (auto it = p.ownValues.cbegin(); it != p.ownValues.cend(); ++it) {
        if (whole.ownValues.value(it.key()) != it.value())
            t.ownValues.insert(it.key(), it.value());
    }
    for (auto it = p.languages.shownNames.cbegin(); it != p.languages.shownNames.cend(); ++it) {
        if (!it.value().isEmpty() && it.value() != it.key())
            t.names.insert(it.key(), it.value());
    }
    if (p.texts.lead != whole.texts.lead)
        t.texts.lead = p.texts.lead;
    if (p.texts.tail != whole.texts.tail)
        t.texts.tail = p.texts.tail;
    for (auto it = p.texts.headings.cbegin(); it != p.texts.headings.cend(); ++it) {
        if (whole.texts.under(it.key()) != it.value())
            t.texts.headings.insert(it.key(), it.value());
    }
    out.ownValues = whole.ownValues;
    out.languages.shownNames = whole.names;
    out.texts = whole.texts;
    out.languages.others[i] = t;
    return out;
}

bool add(Project &p, const QString &language)
{
    if (all(p).contains(language))
        return false;
    p.languages.others.append({language, {}, {}, {}, {}});
    return true;
}

namespace {
// A language whose README may well show Japanese words as they are.
bool readsLike(const Project &f, const Translation &t)
{
    return mainOf(f) != u"ja" || t.language.startsWith(u"zh") || t.language == u"ko";
}

bool hasJapanese(const QString &text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        return (c >= u'\u3040' && c <= u'\u30ff') || (c >= u'\u4e00' && c <= u'\u9fff');
    });
}
} // namespace

QStringList missing(const Project &f, const Translation &t)
{
    QStringList out;
    const Items::NameIndex index(Items::names());
    for (const QString &entry : f.entries) {
        QString key = Entry::trimSpaces(entry).toString();
        int k = index.indexOf(key);
        if (k == Items::LastEnd)
            continue;               // the copyright line has no name
        if (k > Items::EndMarker) { // an end line shows the field it repeats
            k = Items::endLineField(k);
            key = Items::names()[size_t(k)];
        }
        if (key.isEmpty() || key.startsWith(u'●') || out.contains(u"「%1」の名前"_s.arg(key)))
            continue;
        if (!t.names.contains(key))
            out.append(u"「%1」の名前"_s.arg(key));
        if (Items::isField(k) && !t.values.contains(k) && !readsLike(f, t) &&
            hasJapanese(f.values[size_t(k)]))
            out.append(u"「%1」の値"_s.arg(key));
        if (f.texts.headings.contains(key) && !t.texts.headings.contains(key))
            out.append(u"「%1」の文章"_s.arg(key));
    }
    if (!f.texts.lead.isEmpty() && t.texts.lead.isEmpty())
        out.append(u"先頭の文章"_s);
    if (!f.texts.tail.isEmpty() && t.texts.tail.isEmpty())
        out.append(u"末尾の文章"_s);
    return out;
}

namespace {
struct Known {
    const char16_t *code;
    const char16_t *name;
};
constexpr Known kKnown[] = {
    {u"ja", u"日本語"},       {u"en", u"英語"},
    {u"zh", u"中国語"},       {u"zh-TW", u"中国語（繁体字）"},
    {u"ko", u"韓国語"},       {u"fr", u"フランス語"},
    {u"de", u"ドイツ語"},     {u"es", u"スペイン語"},
    {u"pt", u"ポルトガル語"}, {u"ru", u"ロシア語"},
};
} // namespace

QString displayName(const QString &language)
{
    for (const Known &k : kKnown) {
        if (language == QStringView(k.code))
            return QString::fromUtf16(k.name);
    }
    return language;
}

const QStringList &offered()
{
    static const QStringList codes = [] {
        QStringList out;
        for (const Known &k : kKnown)
            out.append(QString::fromUtf16(k.code));
        return out;
    }();
    return codes;
}

QString fileName(const Project &p, const QString &language, bool markdown)
{
    if (language == mainOf(p))
        return markdown ? u"README.md"_s : u"README.TXT"_s;
    return u"README_%1.%2"_s.arg(language, markdown ? u"md"_s : u"txt"_s);
}

} // namespace Languages
