// From data file to README: reading, composing and saving, in the library and
// through quillet-compose. Rows give a data file's lines with "|" between them.
#include "TestSupport.h"
#include "datafile/DataFileReader.h"
#include "datafile/DataFileWriter.h"
#include "platform/Cp932.h"
#include "readme/ReadmeComposer.h"
#include "readme/ReadmeFile.h"

#include <QFileInfo>
#include <QProcess>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace Items;

namespace {
const QString kSample = testDataPath(u"sample.pwk"_s);
const QByteArray kReadme = readFileBytes(testDataPath(u"sample_README.TXT"_s));
const QString kWorkedExample =
    u"0:=●文頭の項目:=|1:=   ソフト名:=Sample Viewer|2:=   バージョン:=1.02|10:=   "
    u"ソフトの種別:=シェアウエア|5:=   著作権者:=Sample Works|15:=●本文内の項目:=|"
    u"16:=   ソフト紹介:=|29:=   FAQ:=|23:=●文末の項目:=|24:=   著作権者(文末):=|"
    u"25:=   連絡先(文末):=|28:=   著作権:=|@@@11|@@@640"_s;

QString compose(const Project &s, const ReadmeComposer::EventPump &pump = {})
{
    const Result<QString> r = ReadmeComposer(s).compose(pump);
    return r.ok() ? r.value() : u"failed: "_s + r.reason();
}
} // namespace

class TstComposer : public QObject {
    Q_OBJECT
private slots:
    void goldenFiles_data();
    void goldenFiles();
    void opens_data();
    void opens();
    void statesNoDataFileCarries();
    void breaksFoundAnywhereInLongEntries();
    void composeTool_data();
    void composeTool();
};

// A data file opened into the started document (none, a file in tests/data or
// its lines), values of items it does not list, and what saving, composing
// and writing it as Markdown write, byte for byte.
void TstComposer::goldenFiles_data()
{
    QTest::addColumn<QString>("pwk");
    QTest::addColumn<QStringList>("unlisted"); // "item=value": no data file carries them
    QTest::addColumn<QString>("saved");
    QTest::addColumn<QString>("readme");
    QTest::addColumn<QString>("markdown");
    QTest::newRow("start-up document")
        << QString() << QStringList() << u"startup.pwk"_s << QString() << QString();
    QTest::newRow("data file example") << u"sample.pwk"_s << QStringList() << u"sample.pwk"_s
                                       << u"sample_README.TXT"_s << u"sample_README.md"_s;
    QTest::newRow("worked example")
        << kWorkedExample << QStringList{u"11=1000円"_s, u"12=サポート窓口"_s} << QString()
        << u"worked_example_README.TXT"_s << QString();
    QTest::newRow("worked example, a heading text, | and \\ in a value")
        << kWorkedExample + u"||@@@73:=ソフト紹介|画像を一覧で見る。||  *そのまま* \\ 書く"_s
        << QStringList{u"11=1000円"_s, u"12=窓口|サポート\\"_s} << QString() << QString()
        << u"worked_example_README.md"_s;
    QTest::newRow("the author's texts")
        << u"texts/project.pwk"_s << QStringList() << u"texts/project.pwk"_s
        << u"texts/README.TXT"_s << u"texts/README.md"_s;
}

void TstComposer::goldenFiles()
{
    QFETCH(QString, pwk);
    QFETCH(QStringList, unlisted);
    QFETCH(QString, saved);
    QFETCH(QString, readme);
    QFETCH(QString, markdown);
    TempAppDir dir;
    Document doc;
    doc.initialize(EntryLists::readAll());
    if (pwk.endsWith(u".pwk"))
        QVERIFY(openFile(doc, testDataPath(pwk)).ok());
    else if (!pwk.isEmpty())
        QVERIFY(openLines(doc, pwk.split(u'|')).complete());
    const auto w = DataFileWriter::write(dir.filePath(u"saved.pwk"_s), doc.project());
    QVERIFY(w.ok() && w->notIntact.isEmpty() && w->unmappable.isEmpty());
    if (!saved.isEmpty())
        QCOMPARE(dir.read(u"saved.pwk"_s), readFileBytes(testDataPath(saved)));
    Project s = doc.project();
    for (const QString &value : unlisted)
        s.values[size_t(value.section(u'=', 0, 0).toInt())] = value.section(u'=', 1);
    if (!readme.isEmpty())
        QCOMPARE(Cp932::encode(compose(s) + u"\r\n"_s), readFileBytes(testDataPath(readme)));
    if (markdown.isEmpty())
        return;
    const auto format = ReadmeFile::Format::markdown();
    const Result<Composition> c = ReadmeComposer(s).composeLines();
    QVERIFY(c.ok());
    QCOMPARE(ReadmeFile::bytes(ReadmeFile::text(c.value(), s, format), format, nullptr),
             readFileBytes(testDataPath(markdown)));
}

// A data file's lines, where reading stops (0: at the end), the lines saving
// what was read writes and the README lines composed, or why it does not compose.
void TstComposer::opens_data()
{
    QTest::addColumn<QString>("pwk");
    QTest::addColumn<int>("badLine");
    QTest::addColumn<QString>("saved");
    QTest::addColumn<QString>("readme");
    const auto row = [](const char *name, const QString &pwk, const QString &readme,
                        int badLine = 0, const QString &saved = {}) {
        QTest::newRow(name) << pwk << badLine << saved << readme;
    };
    const QString heading = u"15:=●本文内の項目:=|16:=   ソフト紹介:=|"_s,
                  plain = u"|@@@10|@@@30|@@@6"_s;
    row("in order, the last setting wins",
        u"1:=   ソフト名:=x:=y|29:=   a:=b:=|20:=   注意事項 :=|35:=x:=v|5:=   著作権者:=|@@@640|@@@612"_s,
        {}, 0,
        u"1:=   ソフト名:=x|29:=   a:=b|30:=   注意事項 :=|31:=x:=v|5:=   著作権者:=|@@@10|@@@30|@@@612"_s);
    row("blank lines at the end", u"1:=   ソフト名:=x||"_s, {}, 0, u"1:=   ソフト名:=x"_s + plain);
    row("blank line in the middle", u"1:=   ソフト名:=x||@@@680"_s, {}, 2,
        u"1:=   ソフト名:=x"_s + plain);
    row("no :=", u"0:=●:=|junk"_s, {}, 2, u"29:=●:="_s + plain);
    row("no value", u"5:=   著作権者|@@@680"_s, {}, 1, u"5:=   著作権者:="_s + plain);
    row("item number x", u"x:=   a:=v"_s, {}, 1, u"29:=   a:="_s + plain);
    row("check state 3", u"16:=   ソフト紹介:=3"_s, {}, 1, u"16:=   ソフト紹介:=1"_s + plain);
    row("check state x", u"16:=   ソフト紹介:=x"_s, {}, 1, u"16:=   ソフト紹介:=1"_s + plain);
    row("option 4", u"@@@14"_s, {}, 1, plain.mid(1));
    row("a text met twice keeps both parts",
        u"1:=   ソフト名:=x||@@@71:=付録|a|@@@81|l|@@@71:=付録|b|@@@81|m"_s, {}, 0,
        u"1:=   ソフト名:=x"_s + plain + u"||@@@82|l|m|@@@72:=付録|a|b"_s);
    // U+FFFD is what a damaged file's bytes read as; the code page writes it as "?".
    row("texts of headings written alike share one block, in the order written",
        u"1:=   ソフト名:=x||@@@71:=項|a|@@@71:=\uFFFDx|b|@@@71:=?x|c"_s, {}, 0,
        u"1:=   ソフト名:=x"_s + plain + u"||@@@72:=?x|c|b|@@@71:=項|a"_s);
    row("left bracket only, no width",
        u"15:=●本文内の項目:=|1:=   ソフト名:=V|16:=   ソフト紹介:=|29:=   FAQ:=|@@@33|@@@4■|@@@5"_s,
        u"|■ソフト名        　　V|■ソフト紹介      |■FAQ             "_s);
    row("free brackets both empty, dashes", heading + u"@@@11|@@@33|@@@4|@@@5|@@@64"_s,
        u"----|【   ソフト紹介   】"_s);
    row("long free brackets, middle dots", heading + u"@@@12|@@@33|@@@4<<|@@@5>>|@@@610"_s,
        u"・・・・・・・・・・|<<   ソフト紹介   >>"_s, 0,
        u"15:=●本文内の項目:=|16:=   ソフト紹介:=1|@@@12|@@@33|@@@4<<|@@@5>>|@@@610"_s);
    row("empty free line means =", heading + u"@@@13|@@@2|@@@31|@@@65"_s,
        u"=====|《   ソフト紹介   》"_s);
    row("free line cut to the width", heading + u"@@@13|@@@2*-+|@@@32|@@@67"_s,
        u"*-+*-+*|<   ソフト紹介   >"_s);
    row("free line cut between characters, not UTF-16 units",
        u"15:=●本文内の項目:=|@@@13|@@@2𠀋|@@@65"_s, u"𠀋𠀋"_s);
    row("end section",
        u"24:=   著作権者(文末):=|23:=●文末の項目:=|24:=   著作権者(文末):=|"
        u"10:=   ソフトの種別:=シェアウエア|11:=   シェアウエア代金:=1000円|21:=   謝辞:=|"
        u"29:=   更新履歴:=|15:=●本文内の項目:=|@@@64"_s,
        u"【    著作権者    】　　|====|著作権者            |ソフトの種別        シェアウエア|"
        u"シェアウエア代金    1000円|謝辞|更新履歴            |===="_s);
    row("a class with a space has no price",
        u"10:=   ソフトの種別:=シェアウエア |11:=   シェアウエア代金:=1000円"_s,
        u"【  ソフトの種別  】　　シェアウエア "_s);
    row("headings of its own",
        u"29:=:=|29:=    :=|29:=●付録:=|29:=   ●付録:=|29:=   ABCDEFGHIJKLMNOPQRS:=|"
        u"29:=   ABCDEFGHIJKLMNOPQRSTUVWXYZ:=|@@@64"_s,
        u"【                】|====|====|【ABCDEFGHIJKLMNOPQRS 】|【ABCDEFGHIJKLMNOPQRSTUVWXYZ】"_s);
    row("copyright wider than the line", u"1:=   ソフト名:=S|28:=   著作権:=|@@@60"_s,
        u"【    ソフト名    】　　S|S Copyright(C) "_s);
    row("widest line", u"15:=●本文内の項目:=|@@@610000"_s, QString(10000, u'='));
    row("width of letters", u"@@@68a"_s, u"failed: 1行の桁数「8a」は整数ではありません"_s);
    row("negative width", u"@@@6-1"_s, u"failed: 1行の桁数「-1」が負の数です"_s);
    row("too wide", u"@@@610001"_s, u"failed: 1行の桁数「10001」は大きすぎます（10000 まで）"_s);
}

void TstComposer::opens()
{
    QFETCH(QString, pwk);
    QFETCH(int, badLine);
    QFETCH(QString, saved);
    QFETCH(QString, readme);
    TempAppDir dir;
    Document doc;
    const DataFileReader::ReadReport r = openLines(doc, pwk.split(u'|'));
    QCOMPARE(r.malformedLine, badLine);
    QCOMPARE(r.malformedReason.isEmpty(), badLine == 0);
    if (!saved.isEmpty())
        QCOMPARE(DataFileWriter::lines(doc.project()).join(u'|'), saved);
    if (!readme.isEmpty() && !readme.startsWith(u"failed: "))
        readme = readme.replace(u'|', u"\r\n"_s) + u"\r\n"_s;
    if (!readme.isEmpty())
        QCOMPARE(compose(doc.project()), readme);
}

// What no data file carries: a heading listed with its box off, no line option
// chosen, entries with ":=", texts with a line break. The window repaints before entries
// 0, 10 and 20, and saving names the texts that will not come back.
void TstComposer::statesNoDataFileCarries()
{
    TempAppDir dir;
    Project s = Document().project();
    s.entries = QStringList(20, u"   ファイルの説明"_s) << u"●本文内の項目"_s;
    s.lineStyle = -1;
    int calls = 0;
    QCOMPARE(compose(s, [&calls] { ++calls; }), u"\r\n"_s);
    QCOMPARE(calls, 3);
    s.entries = {u"   バージョン"_s, u"   a:=b"_s};
    s.values[Version] = u"1:=2"_s;
    s.lineStyle = 3;
    s.lineText = u"=:=😀"_s; // a setting line is not split at ":="
    s.bracketText[1] = u"\r"_s;
    const auto r = DataFileWriter::write(dir.filePath(u"a.pwk"_s), s);
    QVERIFY(r.ok());
    QCOMPARE(r->notIntact, (QStringList{u"   a:=b"_s, u"\r"_s}));
    QCOMPARE(r->unmappable, QStringList{u"😀"_s});
    // An item's value holding ":=" comes back whole.
    QCOMPARE(DataFileReader::parse(DataFileWriter::lines(s)).project.values[Version], u"1:=2"_s);
}

// A break is found wherever it stands in a long entry, and ":" alone or "=" alone is none.
void TstComposer::breaksFoundAnywhereInLongEntries()
{
    QStringList breaking, kept;
    for (int at = 0; at < 20; ++at) {
        const QString before(at, u'書'), after(20 - at, u'き');
        breaking << before + u":="_s + after << before + u'\n' + after << before + u'\r' + after;
        kept << before + u':' + after << before + u'=' + after << before + u" ;9" + after;
    }
    Project s = Document().project();
    s.entries = breaking + kept;
    // A value kept without its entry is named too, after the entries.
    s.values[Environment] = u"Windows\r\n11"_s;
    QCOMPARE(DataFileWriter::textsNotReadBackIntact(s), breaking << u"Windows\r\n11"_s);
}

// Arguments with "$" for the example data file, "@name" for a file in a
// temporary folder and ">full" for output to a full disk; the output, part of
// the error output ("" for none) and the data file written.
void TstComposer::composeTool_data()
{
    QTest::addColumn<QString>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QString>("err");
    QTest::addColumn<QByteArray>("data");
    const auto row = [](const char *name, const char *args, int status, const QByteArray &out,
                        const char *err, const QByteArray &data = {}) {
        QTest::newRow(name) << QString::fromUtf8(args) << status << out << QString::fromUtf8(err)
                            << data;
    };
    const QString text = Cp932::decode(kReadme);
    row("README file", "$ @R.TXT", 0, {}, "");
    row("standard output", "$ -", 0, kReadme, "");
    row("--utf8", "--utf8 $", 0, text.toUtf8(), "");
    row("--utf8 --lf", "--utf8 --lf $", 0, text.toUtf8().replace("\r\n", "\n"), "");
    row("--bom", "--bom $", 0, "\xef\xbb\xbf"_ba + text.toUtf8(), "");
    row("--markdown", "--markdown $ -", 0, readFileBytes(testDataPath(u"sample_README.md"_s)), "");
    row("--check in another format", "--check --utf8 $ @same.TXT", 1, {}, "");
    row("--write-data", "--write-data @new.pwk $ -", 0, kReadme, "", readFileBytes(kSample));
    row("--set of an unmappable value", "--set ソフト名=Ünï😀Ünï😀 $", 0,
        Cp932::encode(QString(text).replace(u"サンプル"_s, u"?n???n??"_s)), "Ü ï 😀");
    row("--check, same", "--check --set=バージョン=1.00 $ @same.TXT", 0, {}, "");
    row("--check, differs", "--check --set 2=1.01 $ @same.TXT", 1, {}, "");
    row("--no-wrap, the width it had: as the project has it", "--no-wrap --width 80 $ -", 0,
        kReadme, "");
    row("--check-readme: one finding a line, exit 6 on an error",
        "--check-readme --expect-version 9.99 --profile vector $", 6,
        "README.TXT: 警告: 「著作権者」がありません [vector-items]\n"
        "README.TXT: 警告: 「動作環境」がありません [vector-items]\n"
        "README.TXT: 警告: 「メールアドレス」か「ホームページ」か「連絡先」がありません "
        "[vector-items]\n"
        "README.TXT:2: エラー: バージョンが「1.00」で、「9.99」ではありません [version-differs]\n"
        "README.TXT:5: 警告: 見出し「ソフト紹介」の下に文章がありません [empty-heading]\n"
        "README.TXT:6: 警告: 見出し「動作の仕組み」の下に文章がありません [empty-heading]\n"
        "README.TXT:7: 警告: 見出し「注意事項」の下に文章がありません [empty-heading]\n"_ba,
        "");
    row("no data file", "", 2, {}, "--help");
    for (const char *usage : {"$ a b",
                              "--bogus $",
                              "--set 29=1 $",
                              "--set 16=7 $",
                              "--set x $",
                              "--set 99=x $ -",
                              "--set 存在しない項目=x $ -",
                              "--set ●文頭の項目=x $ -",
                              "--set 15=x $ -",
                              "--check $",
                              "--check --write-data @new.pwk $ @same.TXT",
                              "--import",
                              "--import $ a b",
                              "--set ソフト名 $ -",
                              "--wrap=x $ -",
                              "--width -1 $ -",
                              "--width 10001 $ -",
                              "--width x $ -",
                              "--width",
                              "--check-readme --profile none $",
                              "--format xml $",
                              "--check-readme --check $ @same.TXT"})
        row(usage, usage, 2, {}, "--help");
    row("--import of a README Quillet composed", "--import %README.TXT --write-data @new.pwk -", 0,
        readFileBytes(testDataPath(u"texts/README.TXT"_s)), "",
        readFileBytes(testDataPath(u"texts/project.pwk"_s)));
    row("no such data file", "@none.pwk @R.TXT", 3, {}, "none.pwk");
    row("no README to import", "--import @none.TXT @R.TXT", 3, {}, "none.TXT");
    row("composition fails", "@wide.pwk @R.TXT", 4, {}, "「-5」");
    row("README not writable", "$ @none/R.TXT", 5, {}, "R.TXT");
    row("-- ends the options", "-- @-dash.pwk @R.TXT", 0, {}, "");
#ifdef Q_OS_LINUX
    // A write that fails is never reported as success, and /dev/full stays the device.
    row("standard output on a full disk", "$ >full", 5, {}, "標準出力");
    row("README on a full disk", "$ /dev/full", 5, {}, "/dev/full");
    row("help on a full disk", "--help >full", 5, {}, "標準出力");
#endif
}

void TstComposer::composeTool()
{
    QFETCH(QString, args);
    QFETCH(int, status);
    QFETCH(QByteArray, out);
    QFETCH(QString, err);
    QFETCH(QByteArray, data);
    TempAppDir dir;
    dir.write(u"same.TXT"_s, kReadme);
    dir.write(u"wide.pwk"_s, "@@@6-5\r\n");
    dir.write(u"-dash.pwk"_s, readFileBytes(kSample));
    QStringList list = args.split(u' ', Qt::SkipEmptyParts);
    QProcess p;
    if (list.removeAll(u">full"_s) > 0)
        p.setStandardOutputFile(u"/dev/full"_s);
    for (QString &a : list)
        a = a == u"$"            ? kSample
            : a.startsWith(u'@') ? dir.filePath(a.mid(1))
            : a.startsWith(u'%') ? testDataPath(u"texts/"_s + a.mid(1))
                                 : a;
    p.start(QStringLiteral(QUILLET_COMPOSE), list);
    p.waitForFinished(60000);
    QCOMPARE(p.exitCode(), status);
    QCOMPARE(p.readAllStandardOutput(), out);
    const QString e = QString::fromUtf8(p.readAllStandardError());
    QVERIFY2(err.isEmpty() ? e.isEmpty() : e.contains(err), qPrintable(e));
    // Only what succeeds writes, and --check never does.
    QCOMPARE(dir.read(u"R.TXT"_s),
             status == 0 && args.contains(u"@R.TXT") ? kReadme : QByteArray());
    QCOMPARE(dir.read(u"new.pwk"_s), data);
    QCOMPARE(dir.read(u"same.TXT"_s), kReadme);
#ifdef Q_OS_LINUX
    QVERIFY(QFileInfo(u"/dev/full"_s).exists() && !QFileInfo(u"/dev/full"_s).isFile());
#endif
}

QTEST_GUILESS_MAIN(TstComposer)
#include "tst_composer.moc"
