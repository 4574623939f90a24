#include "TestSupport.h"
#include "check/ReleaseCheck.h"
#include "project/Entry.h"
#include "readme/ReadmeComposer.h"
#include "readme/ReadmeFile.h"
#include "release/Release.h"
#include "session/ProjectSession.h"

#include <QProcess>
#include <QtTest>

using namespace Qt::StringLiterals;

// A new release: the history entry in the form the earlier ones use, the
// version and date fields, and what is refused.
class TstRelease : public QObject {
    Q_OBJECT
private slots:
    void entries_data();
    void entries();
    void fields_data();
    void fields();
    void refused();
    void dates_data();
    void dates();
    void releaseOfTheSample();
    void commandLineRefusals_data();
    void commandLineRefusals();
    void credits_data();
    void credits();
    void creditsInTheDataFile();
};

namespace {

const QDate kDay(2026, 12, 7);

// A project listing the names given, with the history text under the last.
Project withHistory(const QStringList &headings, const QStringList &history)
{
    Project p;
    p.entries = {Items::names()[Items::StartMarker],
                 Entry::indented(Items::names()[Items::SoftName]),
                 Items::names()[Items::BodyMarker]};
    for (const QString &h : headings)
        p.entries.append(Entry::indented(h));
    p.entries.append(Items::names()[Items::EndMarker]);
    if (!headings.isEmpty())
        p.texts.setUnder(headings.last(), history);
    return p;
}

QStringList lines(const char *text)
{
    return QString::fromUtf8(text).split(u'|');
}

} // namespace

void TstRelease::entries_data()
{
    QTest::addColumn<QString>("heading");
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("notes");
    QTest::addColumn<bool>("amend");
    QTest::addColumn<QStringList>("after");
    const auto row = [](const char *name, const char *heading, const char *before,
                        QStringList notes, bool amend, const char *after) {
        QTest::newRow(name) << QString::fromUtf8(heading)
                            << (*before ? lines(before) : QStringList()) << notes << amend
                            << lines(after);
    };
    row("first release, default form", "バージョン履歴", "", {u"公開"_s}, false,
        "2026/12/07  Ver.1.01|  ・公開");
    row("date first, padded, bullets under it", "更新履歴", "2026/11/01  Ver.1.00|  ・公開",
        {u"修正"_s, u"追加"_s}, false,
        "2026/12/07  Ver.1.01|  ・修正|  ・追加||2026/11/01  Ver.1.00|  ・公開");
    row("version first, date in brackets, unpadded", "更新履歴", "Ver1.00 (2026/1/5)|    - 公開",
        {u"修正"_s}, false, "Ver1.01 (2026/12/7)|    - 修正||Ver1.00 (2026/1/5)|    - 公開");
    row("Japanese dates, one-line entries", "変更履歴", "・2026年11月1日 バージョン1.00 公開",
        {u"不具合を修正"_s, u"速くなりました"_s}, false,
        "・2026年12月7日 バージョン1.01 不具合を修正|  速くなりました|・2026年11月1日 "
        "バージョン1.00 公開");
    row("no blank between entries stays so", "更新履歴", "2026-11-02 v1.00b|2026-11-01 v1.00a", {},
        false, "2026-12-07 v1.01|2026-11-02 v1.00b|2026-11-01 v1.00a");
    row("a line before the entries stays first", "更新履歴",
        "新しい順に書いています。||2026/11/01  Ver.1.00", {}, false,
        "新しい順に書いています。||2026/12/07  Ver.1.01|2026/11/01  Ver.1.00");
    row("an underline stays under the heading", "更新履歴", "--------||Changelog を参照。", {},
        false, "--------|2026/12/07  Ver.1.01||Changelog を参照。");
    row("amend replaces the newest entry only", "更新履歴",
        "2026/12/01  Ver.1.01|  ・仮||2026/11/01  Ver.1.00|  ・公開", {u"本番"_s}, true,
        "2026/12/07  Ver.1.01|  ・本番||2026/11/01  Ver.1.00|  ・公開");
    row("amend without a match adds", "更新履歴", "2026/11/01  Ver.1.00", {}, true,
        "2026/12/07  Ver.1.01|2026/11/01  Ver.1.00");
    row("full-width indent and bracketed date", "更新履歴", "　[2026.11.01] Ver 1.00", {u"修正"_s},
        false, "　[2026.12.07] Ver 1.01|　  修正|　[2026.11.01] Ver 1.00");
}

void TstRelease::entries()
{
    QFETCH(QString, heading);
    QFETCH(QStringList, before);
    QFETCH(QStringList, notes);
    QFETCH(bool, amend);
    QFETCH(QStringList, after);
    const Project p = withHistory({Items::names()[Items::FirstBody], heading}, before);
    const Result<Release::Plan> r = Release::plan(p, {u"1.01"_s, kDay, notes, amend});
    QVERIFY2(r.ok(), qPrintable(r.reason()));
    QCOMPARE(r->project.texts.under(heading), after);
    QCOMPARE(r->heading, heading);
    QVERIFY(!r->headingAdded);
    QVERIFY(after.join(u'\n').contains(r->entry.join(u'\n')));
    QCOMPARE(r->project.entries, p.entries);
}

void TstRelease::fields_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("date");
    QTest::addColumn<bool>("dateListed");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("newVersion");
    QTest::addColumn<QString>("newDate");
    QTest::addColumn<QString>("entry");
    QTest::newRow("plain") << u"1.00"_s << u"2026/11/01"_s << true << u"1.01"_s << u"1.01"_s
                           << u"2026/12/07"_s << u"2026/12/07  Ver.1.01"_s;
    QTest::newRow("prefix kept, history takes 作成日's form")
        << u"Ver.1.00"_s << u"2026年1月5日"_s << true << u"v1.01"_s << u"Ver.1.01"_s
        << u"2026年12月7日"_s << u"2026年12月7日  Ver.1.01"_s;
    QTest::newRow("作成日 not listed stays")
        << u"1.00"_s << u"2026-11-01"_s << false << u"2.0"_s << u"2.0"_s << u"2026-11-01"_s
        << u"2026-12-07  Ver.2.0"_s;
    QTest::newRow("empty 作成日 takes the default form")
        << QString() << QString() << true << u"1.0"_s << u"1.0"_s << u"2026/12/07"_s
        << u"2026/12/07  Ver.1.0"_s;
}

void TstRelease::fields()
{
    QFETCH(QString, version);
    QFETCH(QString, date);
    QFETCH(bool, dateListed);
    QFETCH(QString, typed);
    Project p = withHistory({}, {});
    if (dateListed)
        p.entries.insert(2, Entry::indented(Items::names()[Items::Date]));
    p.values[Items::Version] = version;
    p.values[Items::Date] = date;
    const Result<Release::Plan> r = Release::plan(p, {typed, kDay, {}, false});
    QVERIFY2(r.ok(), qPrintable(r.reason()));
    QTEST(r->project.values[Items::Version], "newVersion");
    QTEST(r->project.values[Items::Date], "newDate");
    QVERIFY(r->headingAdded);
    // バージョン履歴 is listed, checked, in front of the end marker.
    const qsizetype at = r->project.entries.indexOf(Items::names()[Items::EndMarker]);
    QCOMPARE(r->project.entries.at(at - 1), Entry::indented(Items::names()[Items::LastBody]));
    QCOMPARE(r->project.values[Items::LastBody], u"1"_s);
    QFETCH(QString, entry);
    QCOMPARE(r->project.texts.under(Items::names()[Items::LastBody]), QStringList{entry});
}

void TstRelease::refused()
{
    const Project p = withHistory({u"更新履歴"_s}, {u"2026/11/01  Ver.1.01"_s});
    const Result<Release::Plan> again = Release::plan(p, {u"Ver1.01"_s, kDay, {}, false});
    QVERIFY(!again.ok());
    QVERIFY2(again.reason().contains(u"1.01"), qPrintable(again.reason()));
    QVERIFY(!Release::plan(p, {u"  "_s, kDay, {}, false}).ok());
    QVERIFY(!Release::plan(p, {u"1.02"_s, QDate(), {}, false}).ok());
}

void TstRelease::dates_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QDate>("date");
    QTest::newRow("a day") << u"2026-12-07"_s << QDate(2026, 12, 7);
    QTest::newRow("unpadded") << u"2026-1-5"_s << QDate(2026, 1, 5);
    QTest::newRow("leap day") << u"2024-02-29"_s << QDate(2024, 2, 29);
    QTest::newRow("no such day") << u"2026-02-30"_s << QDate();
    QTest::newRow("no leap day") << u"2026-02-29"_s << QDate();
    QTest::newRow("month 13") << u"2026-13-01"_s << QDate();
    QTest::newRow("other order") << u"07/12/2026"_s << QDate();
    QTest::newRow("empty") << QString() << QDate();
}

void TstRelease::dates()
{
    QFETCH(QString, typed);
    QFETCH(QDate, date);
    const Result<QDate> r = Release::parseDate(typed);
    QCOMPARE(r.ok(), date.isValid());
    if (r.ok())
        QCOMPARE(r.value(), date);
    else
        QVERIFY(r.reason().contains(typed));
}

namespace {

int compose(const QStringList &args, QString *err = nullptr)
{
    QProcess p;
    p.start(QStringLiteral(QUILLET_COMPOSE), args);
    p.waitForFinished(60000);
    if (err)
        *err = QString::fromUtf8(p.readAllStandardError());
    return p.exitCode();
}

} // namespace

// One command: the data file and the README match the kept ones.
void TstRelease::releaseOfTheSample()
{
    TempAppDir dir;
    dir.write(u"s.pwk"_s, readFileBytes(testDataPath(u"sample.pwk"_s)));
    QString err;
    QCOMPARE(compose({u"--release"_s, u"1.01"_s, u"--date"_s, u"2026-12-07"_s, u"--note"_s,
                      u"表示の崩れを直しました"_s, u"--note=速くなりました"_s,
                      dir.filePath(u"s.pwk"_s), dir.filePath(u"R.TXT"_s)},
                     &err),
             0);
    QVERIFY2(err.isEmpty(), qPrintable(err));
    QCOMPARE(dir.read(u"s.pwk"_s), readFileBytes(testDataPath(u"release/sample.pwk"_s)));
    QCOMPARE(dir.read(u"R.TXT"_s), readFileBytes(testDataPath(u"release/sample_README.TXT"_s)));
    // The same release again is refused and writes nothing.
    QCOMPARE(
        compose({u"--release=1.01"_s, dir.filePath(u"s.pwk"_s), dir.filePath(u"R2.TXT"_s)}, &err),
        2);
    QVERIFY2(err.contains(u"--amend"), qPrintable(err));
    QVERIFY(!QFileInfo::exists(dir.filePath(u"R2.TXT"_s)));
    QCOMPARE(dir.read(u"s.pwk"_s), readFileBytes(testDataPath(u"release/sample.pwk"_s)));
}

void TstRelease::commandLineRefusals_data()
{
    QTest::addColumn<QString>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("says");
    QTest::newRow("empty version") << u"--release= $"_s << 2 << u"空"_s;
    QTest::newRow("no such day") << u"--release 2 --date 2026-02-30 $"_s << 2 << u"2026-02-30"_s;
    QTest::newRow("unreadable data file") << u"--release 2 @none.pwk"_s << 3 << u"none.pwk"_s;
    QTest::newRow("a note without a release") << u"--note x $"_s << 2 << u"--release"_s;
    QTest::newRow("with --check-readme")
        << u"--release 2 --check-readme $"_s << 2 << u"--check-readme"_s;
}

void TstRelease::commandLineRefusals()
{
    QFETCH(QString, args);
    TempAppDir dir;
    const QByteArray sample = readFileBytes(testDataPath(u"sample.pwk"_s));
    dir.write(u"s.pwk"_s, sample);
    QStringList list = args.split(u' ');
    for (QString &a : list)
        a = a == u"$" ? dir.filePath(u"s.pwk"_s) : a.startsWith(u'@') ? dir.filePath(a.mid(1)) : a;
    QString err;
    QTEST(compose(list, &err), "status");
    QFETCH(QString, says);
    QVERIFY2(err.contains(says), qPrintable(err));
    QCOMPARE(dir.read(u"s.pwk"_s), sample);
}

// The credits under their heading, after the author's text, the empty
// details left out; Markdown makes them a list. "|" parts the lines.
void TstRelease::credits_data()
{
    QTest::addColumn<QList<Credit>>("credits");
    QTest::addColumn<bool>("wrap");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("markdown");
    const Credit full{u"夜の森"_s, u"森の音楽室"_s, u"https://example.jp/mori/"_s, u"CC BY 4.0"_s,
                      u"BGM: 森の音楽室"_s};
    QTest::newRow("every detail")
        << QList<Credit>{full} << false
        << u"使った素材です。|・夜の森|    作者・サイト：森の音楽室|    "
           u"URL：https://example.jp/mori/|"
           "    ライセンス：CC BY 4.0|    表記：BGM: 森の音楽室"_s
        << u"- 夜の森|    - 作者・サイト：森の音楽室|    - URL：https://example.jp/mori/|"
           "    - ライセンス：CC BY 4.0|    - 表記：BGM: 森の音楽室"_s;
    QTest::newRow("in order, empty details left out")
        << QList<Credit>{{u"B"_s, {}, {}, u" MIT "_s, {}}, {u"A"_s, u"作者"_s, {}, {}, {}}} << false
        << u"使った素材です。|・B|    ライセンス：MIT|・A|    作者・サイト：作者"_s
        << u"- B|    - ライセンス：MIT|- A|    - 作者・サイト：作者"_s;
    QTest::newRow("a notice wider than the line, broken")
        << QList<Credit>{{u"絵"_s, {}, {}, {}, QString(20, u'あ')}} << true
        << u"使った素材です。|・絵|    表記：あああああああああああ|    あああああああああ"_s
        << u"- 絵|    - 表記：ああああああああああああああああああああ"_s;
}

void TstRelease::credits()
{
    QFETCH(QList<Credit>, credits);
    QFETCH(bool, wrap);
    Project p = withHistory({u"クレジット"_s}, {u"使った素材です。"_s});
    p.widthText = u"32"_s;
    p.wrap = wrap ? Project::Wrap::Push : Project::Wrap::Off;
    p.credits = credits;
    const Composition c = ReadmeComposer(p).composeLines().value();
    QStringList under;
    for (const ComposedLine &l : c.lines) {
        if (l.kind == ComposedLine::Kind::HeadingText || l.kind == ComposedLine::Kind::Credit)
            under.append(l.text.toString());
    }
    QTEST(under.join(u'|'), "text");
    const QString md = ReadmeFile::text(c, p, ReadmeFile::Format::markdown(false)).remove(u'\r');
    QFETCH(QString, markdown);
    QVERIFY2(md.contains(markdown.replace(u'|', u'\n')), qPrintable(md));
    // Credits are a text of their own: the check finds the heading filled.
    const std::vector<ReleaseCheck::Finding> found = ReleaseCheck::check(p, c, {0, {}, {}, {}});
    QVERIFY(std::none_of(found.begin(), found.end(), [](const ReleaseCheck::Finding &f) {
        return f.rule.startsWith(u"empty");
    }));
    // Without the heading they are not shown, and the check says so.
    p.entries.removeAll(Entry::indented(u"クレジット"_s));
    const Composition without = ReadmeComposer(p).composeLines().value();
    QVERIFY(!without.text.contains(credits.first().material));
    QCOMPARE(ReleaseCheck::check(p, without, {0, {}, {}, {}}).front().rule, u"credits-unlisted"_s);
}

// Kept as settings lines: what the fields hold comes back whole, ":=" and
// all; a credit of an older file with fewer fields reads them empty; a tab
// in a field is told as not kept whole.
void TstRelease::creditsInTheDataFile()
{
    TempAppDir dir;
    Project p = withHistory({u"クレジット"_s}, {});
    p.credits = {{u"音:=楽"_s, u"作者"_s, u"https://a.jp/?a=1&b=2"_s, {}, u"表記"_s},
                 {u"二つ目"_s, {}, {}, {}, {}}};
    const QString path = dir.filePath(u"c.pwk"_s);
    const Result<DataFileWriter::WriteReport> w = DataFileWriter::write(path, p);
    QVERIFY(w.ok() && w->notIntact.isEmpty());
    QCOMPARE(ProjectSession::readDataFile(path)->project.credits, p.credits);

    dir.writeLines(u"old.pwk"_s,
                   {u"0:=●文頭の項目:="_s, u"@@@10"_s, QString(), u"@@@Scredit:=古い\t作者"_s});
    const Result<DataFileReader::Parsed> old =
        ProjectSession::readDataFile(dir.filePath(u"old.pwk"_s));
    QVERIFY(old.ok() && old->report.complete());
    QCOMPARE(old->project.credits, (QList<Credit>{{u"古い"_s, u"作者"_s, {}, {}, {}}}));

    p.credits = {{u"a\tb"_s, {}, {}, {}, {}}};
    QCOMPARE(DataFileWriter::write(path, p)->notIntact, QStringList{u"a\tb"_s});
}

QTEST_GUILESS_MAIN(TstRelease)
#include "tst_release.moc"
