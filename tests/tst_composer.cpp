#include "TestSupport.h"
#include "document/Document.h"
#include "platform/Cp932.h"
#include "readme/ReadmeComposer.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace Items;

namespace {
QString item(const QString &name)
{
    return u"   "_s + name;
}
const QString W = u"\u3000\u3000"_s;

// A started document whose list is replaced by the given entries.
struct Fixture {
    TempAppDir dir;
    Document doc;
    Fixture() { doc.InitializeForm(); }
    void list(const QStringList &entries) { doc.items()->setEntries(entries); }
    QString compose()
    {
        ReadmeComposer c(doc.snapshot());
        const auto r = c.BuildReadme();
        return r.ok ? r.text : u"<failed: "_s + r.error + u'>';
    }
};

QString lines(const QStringList &l)
{
    QString s;
    for (const QString &x : l)
        s += x + u"\r\n"_s;
    return s;
}
} // namespace

class TstComposer : public QObject {
    Q_OBJECT
private slots:
    void workedExampleMatchesGoldenFile();
    void pieces_data();
    void pieces();
    void styles_data();
    void styles();
    void widthFailures_data();
    void widthFailures();
    void eventPumpRunsBeforeEveryTenthEntry();
    void emptyPatternGivesAnEmptyLine();
};

void TstComposer::workedExampleMatchesGoldenFile()
{
    Fixture f;
    Document &d = f.doc;
    d.setTxtLineCount(u"40"_s);
    d.setOptLineType(1);
    d.setFieldText(SoftName, u"Sample Viewer"_s);
    d.setFieldText(Version, u"1.02"_s);
    d.setFieldText(SoftClass, u"シェアウエア"_s);
    d.setFieldText(Price, u"1000円"_s);
    d.setFieldText(Writer, u"Sample Works"_s);
    d.setFieldText(Address, u"サポート窓口"_s);
    d.setChkEnd(2, 0);
    d.setChkEnd(3, 0);
    f.list({u"●文頭の項目"_s, item(u"ソフト名"_s), item(u"バージョン"_s), item(u"ソフトの種別"_s),
            item(u"著作権者"_s), u"●本文内の項目"_s, item(u"ソフト紹介"_s), item(u"FAQ"_s),
            u"●文末の項目"_s, item(u"著作権者(文末)"_s), item(u"連絡先(文末)"_s),
            item(u"著作権"_s)});
    const QByteArray file = Cp932::encode(f.compose() + u"\r\n"_s);
    QCOMPARE(file, readFileBytes(testDataPath(u"worked_example_README.TXT"_s)));
}

void TstComposer::pieces_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("softClass");
    QTest::addColumn<QString>("expected");
    const QString sep = QString(80, u'=');
    QTest::newRow("empty list") << QStringList() << QString() << QString();
    QTest::newRow("small ェ writes no price")
        << QStringList{item(u"ソフトの種別"_s)} << u"シェアウェア"_s
        << lines({u"【  ソフトの種別  】"_s + W + u"シェアウェア"_s});
    QTest::newRow("trailing space writes no price")
        << QStringList{item(u"ソフトの種別"_s)} << u"シェアウエア "_s
        << lines({u"【  ソフトの種別  】"_s + W + u"シェアウエア "_s});
    QTest::newRow("price after end marker with the class")
        << QStringList{u"●文末の項目"_s, item(u"ソフトの種別"_s), item(u"シェアウエア代金"_s)}
        << u"シェアウエア"_s
        << lines({sep, u"ソフトの種別        シェアウエア"_s, u"シェアウエア代金    "_s});
    QTest::newRow("body heading after end marker is bare")
        << QStringList{u"●文末の項目"_s, item(u"謝辞"_s)} << QString() << lines({sep, u"謝辞"_s});
    QTest::newRow("unchecked heading writes nothing")
        << QStringList{item(u"ファイルの説明"_s)} << QString() << QString();
    QTest::newRow("end line above the end marker is a field line")
        << QStringList{item(u"著作権者(文末)"_s)} << QString()
        << lines({u"【    著作権者    】"_s + W});
    QTest::newRow("custom entry after end marker")
        << QStringList{u"●文末の項目"_s, item(u"更新履歴"_s)} << QString()
        << lines({sep, u"更新履歴            "_s});
    QTest::newRow("all-space custom entry")
        << QStringList{u"    "_s} << QString() << lines({u"【"_s + QString(16, u' ') + u"】"_s});
    QTest::newRow("zero-length entry") << QStringList{QString()} << QString() << QString();
    QTest::newRow("custom markers")
        << QStringList{u"●付録"_s, u"   ●付録"_s} << QString() << lines({sep, sep});
    QTest::newRow("odd custom width")
        << QStringList{item(u"ABCDEFGHIJKLMNOPQRS"_s), item(u"ABCDEFGHIJKLMNOPQRSTUVWXYZ"_s)}
        << QString() << lines({u"【ABCDEFGHIJKLMNOPQRS 】"_s, u"【ABCDEFGHIJKLMNOPQRSTUVWXYZ】"_s});
    QTest::newRow("second body marker after the end marker")
        << QStringList{u"●文末の項目"_s, u"●本文内の項目"_s} << QString() << lines({sep, sep});
}

void TstComposer::pieces()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, softClass);
    QFETCH(QString, expected);
    Fixture f;
    f.doc.setFieldText(SoftClass, softClass);
    f.list(entries);
    QCOMPARE(f.compose(), expected);
}

void TstComposer::styles_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("lineText");
    QTest::addColumn<QString>("width");
    QTest::addColumn<int>("brackets");
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("right");
    QTest::addColumn<QString>("expected");
    const QStringList tail = {u"■ソフト名        "_s + W + u"V"_s, u"■ソフト紹介      "_s,
                              u"■FAQ             "_s};
    QTest::newRow("left bracket only") << 0 << QString() << u"0"_s << 3 << u"■"_s << QString()
                                       << lines(QStringList{QString()} + tail);
    QTest::newRow("right bracket only") << 0 << QString() << u"0"_s << 3 << QString() << u"]"_s
                                        << lines({QString(), u"ソフト名        ]"_s + W + u"V"_s,
                                                  u"ソフト紹介      ]"_s, u"FAQ             ]"_s});
    QTest::newRow("both free brackets empty")
        << 1 << QString() << u"4"_s << 3 << QString() << QString()
        << lines({u"----"_s, u"【    ソフト名    】"_s + W + u"V"_s, u"【   ソフト紹介   】"_s,
                  u"【      FAQ       】"_s});
    QTest::newRow("long free brackets, middle dots of width 10")
        << 2 << QString() << u"10"_s << 3 << u"<<"_s << u">>"_s
        << lines({QString(10, u'・'), u"<<    ソフト名    >>"_s + W + u"V"_s,
                  u"<<   ソフト紹介   >>"_s, u"<<      FAQ       >>"_s});
    QTest::newRow("free line, empty means =")
        << 3 << QString() << u"5"_s << 1 << QString() << QString()
        << lines({u"====="_s, u"《    ソフト名    》"_s + W + u"V"_s, u"《   ソフト紹介   》"_s,
                  u"《      FAQ       》"_s});
    QTest::newRow("free line pattern cut to width")
        << 3 << u"*-+"_s << u"7"_s << 2 << QString() << QString()
        << lines({u"*-+*-+*"_s, u"<    ソフト名    >"_s + W + u"V"_s, u"<   ソフト紹介   >"_s,
                  u"<      FAQ       >"_s});
    QTest::newRow("empty width box")
        << 0 << QString() << QString() << 0 << QString() << QString()
        << lines({QString(), u"【    ソフト名    】"_s + W + u"V"_s, u"【   ソフト紹介   】"_s,
                  u"【      FAQ       】"_s});
}

void TstComposer::styles()
{
    QFETCH(int, line);
    QFETCH(QString, lineText);
    QFETCH(QString, width);
    QFETCH(int, brackets);
    QFETCH(QString, left);
    QFETCH(QString, right);
    QFETCH(QString, expected);
    Fixture f;
    f.doc.setOptLineType(line);
    f.doc.setTxtLineType(lineText);
    f.doc.setTxtLineCount(width);
    f.doc.setOptBracketsType(brackets);
    f.doc.setTxtBracketsType(0, left);
    f.doc.setTxtBracketsType(1, right);
    f.doc.setFieldText(SoftName, u"V"_s);
    f.list({u"●本文内の項目"_s, item(u"ソフト名"_s), item(u"ソフト紹介"_s), item(u"FAQ"_s)});
    QCOMPARE(f.compose(), expected);
}

void TstComposer::widthFailures_data()
{
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("copyright"); // the copyright line when it composes
    QTest::newRow("zero: no leading spaces") << u"0"_s << u"S Copyright(C) "_s;
    QTest::newRow("letters") << u"8a"_s << QString();
    QTest::newRow("negative") << u"-1"_s << QString();
    QTest::newRow("beyond 32 bits") << u"99999999999"_s << QString();
    QTest::newRow("too large") << u"10001"_s << QString();
}

void TstComposer::widthFailures()
{
    QFETCH(QString, width);
    QFETCH(QString, copyright);
    Fixture f;
    f.doc.setFieldText(SoftName, u"S"_s);
    f.doc.setTxtLineCount(width);
    f.list({item(u"著作権"_s)});
    ReadmeComposer c(f.doc.snapshot());
    const auto r = c.BuildReadme();
    QCOMPARE(r.ok, !copyright.isEmpty());
    if (r.ok)
        QCOMPARE(r.text, copyright + u"\r\n"_s);
    else
        QVERIFY(r.error.contains(width) && r.text.isEmpty());
}

void TstComposer::eventPumpRunsBeforeEveryTenthEntry()
{
    Fixture f;
    f.list(QStringList(21, u"x"_s));
    int calls = 0;
    ReadmeComposer c(f.doc.snapshot());
    QVERIFY(c.BuildReadme([&calls] { ++calls; }).ok);
    QCOMPARE(calls, 3);
}

void TstComposer::emptyPatternGivesAnEmptyLine()
{
    Fixture f;
    f.list({u"●本文内の項目"_s});
    DocumentSnapshot s = f.doc.snapshot();
    s.optLineType = -1; // no option selected: no pattern at all
    ReadmeComposer c(s);
    const auto r = c.BuildReadme();
    QVERIFY(r.ok);
    QCOMPARE(r.text, u"\r\n"_s);
}

QTEST_GUILESS_MAIN(TstComposer)
#include "tst_composer.moc"
