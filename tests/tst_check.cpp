// The check before release: what it finds in a README and where, the sites'
// rules, what the author silenced, and profiles that cannot be read.
#include "TestSupport.h"
#include "check/ReleaseCheck.h"
#include "readme/ReadmeComposer.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace Items;

class TstCheck : public QObject {
    Q_OBJECT
private slots:
    void findings_data();
    void findings();
    void silencedStaySilent();
    void brokenProfiles_data();
    void brokenProfiles();
    void jsonForScripts();
};

namespace {
// A README of 40 bytes a line: the separator (line 1), 【使い方】 (line 2)
// and the text under it from line 3; "|" between the text's lines.
Project project(const QString &text)
{
    Project p;
    p.entries = {u"●本文内の項目"_s, u"   使い方"_s};
    p.widthText = u"40"_s;
    if (!text.isEmpty())
        p.texts.setUnder(u"使い方"_s, text.split(u'|'));
    return p;
}

QString found(const Project &p, const ReleaseCheck::Options &options)
{
    const Project settled = ProjectRules::settled(p);
    const Composition c = ReadmeComposer(settled).composeLines().value();
    QStringList out;
    for (const ReleaseCheck::Finding &f : ReleaseCheck::check(settled, c, options))
        out.append(u"%1@%2:%3"_s.arg(f.rule).arg(f.line).arg(f.column));
    return out.join(u' ');
}

QList<SiteProfile> shipped(const QString &name)
{
    return profileNamed(QStringLiteral(QUILLET_PROFILES), name);
}
} // namespace

// The text under the heading, a change to the project ("name=value" of an
// item, "+entry" listed again, "v=2.0" the version to expect), the profile,
// and the findings as rule@line:column.
void TstCheck::findings_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("profile");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char *name, const QString &text, const QString &expected,
                        const QString &change = {}, const QString &profile = {}) {
        QTest::newRow(name) << text << change << profile << expected;
    };
    row("nothing to say", u"起動します。"_s, QString());
    row("wider than the width", QString(21, u'あ'), u"too-wide@3:41"_s);
    row("a character Shift-JIS cannot hold", u"ok😀"_s, u"unmappable@3:3"_s);
    row("NEC and IBM extensions", u"あ①と㈱、ⅰ"_s, u"machine-dependent@3:3"_s);
    row("half-width katakana", u"abｶﾅ"_s, u"halfwidth-kana@3:3"_s);
    row("a tab", u"a\tb"_s, u"tab@3:2"_s);
    row("trailing spaces", u"ab |cd　"_s, u"trailing-space@3:3 trailing-space@4:4"_s);
    row("wave dash and minus sign", u"1〜2|−3"_s, u"wave-dash@3:2 minus-sign@4:1"_s);
    row("です・ます and だ・である in one section", u"起動します。終了します。|保存する。"_s,
        u"mixed-style@4:0"_s);
    row("one style throughout", u"起動します。|終了します。"_s, QString());
    row("a sentence over 100 characters", QString(101, u'a'), u"too-wide@3:41 long-sentence@3:0"_s);
    row("an empty heading", QString(), u"empty-heading@2:0"_s);
    row("a heading listed twice", u"起動します。"_s, u"heading-twice@0:0 empty-heading@4:0"_s,
        u"+使い方"_s);
    row("the version a release script expects", u"起動します。"_s, u"version-differs@1:0"_s,
        u"バージョン=1.0 v=2.0"_s);
    row("the version expected, shown", u"起動します。"_s, QString(), u"バージョン=2.0 v=2.0"_s);
    row("standard items missing", u"起動します。"_s,
        u"standard-items@0:0 standard-items@0:0 standard-items@0:0"_s,
        u"ソフト名=Foo バージョン=1.0 著作権者=Bar"_s, u"standard"_s);
    row("Vector: a name of more than 50 bytes", u"起動します。"_s,
        u"vector-name-length@1:51 too-wide@1:41"_s, u"ソフト名="_s + QString(26, u'名'),
        u"vector"_s);
    row("Vector: a version in the name", u"起動します。"_s, u"vector-name-version@1:0"_s,
        u"ソフト名=Foo_Ver1.2"_s, u"vector"_s);
    row("Vector: a decorated name", u"起動します。"_s, u"vector-name-decoration@1:0"_s,
        u"ソフト名=☆Foo☆"_s, u"vector"_s);
    row("ふりーむ: no credits heading", u"起動します。"_s, u"freem-credits@0:0"_s,
        u"ソフト名=Game 著作権者=Me"_s, u"freem"_s);
    row("a template's placeholders", u"ここに概要を書きます。|概要：〈ソフト名〉"_s,
        u"placeholder@3:1 placeholder@4:7"_s);
    row("a placeholder in a field", u"起動します。"_s, u"placeholder@1:25"_s,
        u"ソフト名=〈ソフト名〉"_s);
    row("brackets and ここに that are the author's", u"〈〉は山括弧。ここに置きます。"_s,
        QString());
    row("ふりーむ: materials credited", u"素材をお借りしました。"_s, u"empty-heading@6:0"_s,
        u"ソフト名=Game 著作権者=Me +使用素材"_s, u"freem"_s);
}

void TstCheck::findings()
{
    QFETCH(QString, text);
    QFETCH(QString, change);
    QFETCH(QString, profile);
    QFETCH(QString, expected);
    Project p = project(text);
    ReleaseCheck::Options options{40, {}, {u"vector-items"_s}, shipped(profile)};
    QVERIFY(profile.isEmpty() || !options.profiles.isEmpty());
    for (const QString &c : change.split(u' ', Qt::SkipEmptyParts)) {
        if (c.startsWith(u'+')) {
            p.entries.append(u"   "_s + c.mid(1));
        } else if (c.startsWith(u"v=")) {
            options.expectVersion = c.mid(2);
        } else {
            const int k = NameIndex(names()).indexOf(c.section(u'=', 0, 0));
            p.values[size_t(k)] = c.section(u'=', 1);
            p.entries.insert(0, u"   "_s + names()[size_t(k)]);
        }
    }
    QCOMPARE(found(p, options), expected);
}

// A rule silenced is silent everywhere; a finding silenced stays so when the
// lines above it move, and its neighbour still speaks.
void TstCheck::silencedStaySilent()
{
    const Project p = project(QString(21, u'あ') + u'|' + QString(22, u'か'));
    const Project settled = ProjectRules::settled(p);
    const Composition c = ReadmeComposer(settled).composeLines().value();
    const std::vector<ReleaseCheck::Finding> all =
        ReleaseCheck::check(settled, c, {40, {}, {}, {}});
    QCOMPARE(all.size(), size_t(2));
    QCOMPARE(found(p, {40, {}, {u"too-wide"_s}, {}}), QString());
    const QString key = all.back().key();
    QCOMPARE(found(p, {40, {}, {key}, {}}), u"too-wide@3:41"_s);
    Project moved = p;
    moved.texts.lead = {u"先頭の行"_s};
    QCOMPARE(found(moved, {40, {}, {key}, {}}), u"too-wide@4:41"_s);
}

// A profile that cannot be read names its file and line and why; the
// folder's other profiles are still read.
void TstCheck::brokenProfiles_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("problem");
    QTest::newRow("not JSON") << "{\n  \"title\": \"x\",\n  \"rules\": [,]\n}"_ba
                              << u"bad.json の 3 行目: JSON として読めません"_s;
    QTest::newRow("an unknown rule")
        << "{\"title\": \"x\", \"rules\": [\n {\"id\": \"a\", \"type\": \"required\", \"items\": "
           "[\"ソフト名\"]},\n"
           " {\"id\": \"b\", \"type\": \"spell\"}]}"_ba
        << u"bad.json の 3 行目: 2 番目の規則: 種類「spell」は使えません"_s;
    QTest::newRow("a number written as text")
        << "{\"title\": \"x\", \"rules\": [\n {\"id\": \"a\", \"type\": \"maxBytes\", \"item\": "
           "\"ソフト名\", \"max\": \"50\"}]}"_ba
        << u"bad.json の 2 行目: 1 番目の規則: 「max」は正の数にしてください"_s;
    QTest::newRow("no title") << "{\"rules\": []}"_ba << u"bad.json の 1 行目:"_s;
}

void TstCheck::brokenProfiles()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, problem);
    TempAppDir dir;
    dir.write(u"bad.json"_s, json);
    dir.write(u"good.json"_s, "{\"title\": \"良い\", \"rules\": []}");
    const SiteProfiles::Loaded loaded = SiteProfiles::load({dir.path()});
    QCOMPARE(loaded.problems.size(), 1);
    QVERIFY2(loaded.problems.first().contains(problem), qPrintable(loaded.problems.first()));
    QCOMPARE(loaded.profiles.size(), 1);
    QCOMPARE(loaded.profiles.first().title, u"良い"_s);
}

void TstCheck::jsonForScripts()
{
    const Project settled = ProjectRules::settled(project(u"ok😀|"_s + QString(21, u'あ')));
    const Composition c = ReadmeComposer(settled).composeLines().value();
    const std::vector<ReleaseCheck::Finding> all =
        ReleaseCheck::check(settled, c, {40, {}, {}, {}});
    QVERIFY(ReleaseCheck::hasErrors(all));
    const QJsonArray json = QJsonDocument::fromJson(ReleaseCheck::toJson(all)).array();
    QCOMPARE(json.size(), 2);
    QCOMPARE(json.at(0).toObject().value(u"severity"_s).toString(), u"error"_s);
    QCOMPARE(json.at(1).toObject().value(u"line"_s).toInt(), 4);
    QCOMPARE(ReleaseCheck::toText(all.back(), u"R.TXT"_s),
             u"R.TXT:4:41: 警告: 42 バイトあり、文字数 40 を超えています [too-wide]"_s);
}

QTEST_GUILESS_MAIN(TstCheck)
#include "tst_check.moc"
