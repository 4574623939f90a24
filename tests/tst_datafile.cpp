#include "TestSupport.h"
#include "datafile/DataFileReader.h"
#include "datafile/DataFileWriter.h"
#include "document/Document.h"
#include "platform/Cp932.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace Items;

namespace {
QString item(const QString &name)
{
    return u"   "_s + name;
}

QByteArray crlf(const QStringList &lines)
{
    QByteArray b;
    for (const QString &l : lines)
        b += Cp932::encode(l) + "\r\n";
    return b;
}
} // namespace

class TstDataFile : public QObject {
    Q_OBJECT
private slots:
    void startupSaveMatchesGoldenFile();
    void exampleDocumentMatchesGoldenFile();
    void freeStylesWriteTheirTexts();
    void customEntriesAndNotIntactTexts();
    void readerEdges_data();
    void readerEdges();
    void unreadableFileLeavesDocumentAsItWas();
    void saveThenOpenRoundTrip();
};

void TstDataFile::startupSaveMatchesGoldenFile()
{
    TempAppDir dir;
    Document doc;
    doc.InitializeForm();
    const auto r = DataFileWriter::write(dir.filePath(u"readme.pwk"_s), doc.snapshot());
    QVERIFY(r.ok && r.notIntact.isEmpty() && r.unmappable.isEmpty());
    QCOMPARE(dir.read(u"readme.pwk"_s), readFileBytes(testDataPath(u"startup.pwk"_s)));
}

void TstDataFile::exampleDocumentMatchesGoldenFile()
{
    TempAppDir dir;
    Document doc;
    doc.InitializeForm();
    // Opening the example and saving it again gives the same bytes.
    const auto read = DataFileReader::read(testDataPath(u"sample.pwk"_s), doc);
    QVERIFY2(read.ok(), qPrintable(read.reason));
    QCOMPARE(doc.fieldText(SoftName), u"サンプル"_s);
    QCOMPARE(doc.optLineType(), 1);
    QCOMPARE(doc.comboEntries(Reprinting).size(), 4); // presets refilled as at start-up
    QVERIFY(DataFileWriter::write(dir.filePath(u"again.pwk"_s), doc.snapshot()).ok);
    QCOMPARE(dir.read(u"again.pwk"_s), readFileBytes(testDataPath(u"sample.pwk"_s)));
}

void TstDataFile::freeStylesWriteTheirTexts()
{
    TempAppDir dir;
    Document doc;
    doc.InitializeForm();
    doc.items()->clear();
    doc.setOptLineType(3);
    doc.setTxtLineType(u"*="_s);
    doc.setOptBracketsType(3);
    doc.setTxtBracketsType(0, u"["_s);
    doc.setTxtBracketsType(1, QString());
    QCOMPARE(
        DataFileWriter::lines(doc.snapshot()),
        (QStringList{u"@@@13"_s, u"@@@2*="_s, u"@@@33"_s, u"@@@4["_s, u"@@@5"_s, u"@@@680"_s}));
    doc.setOptLineType(0); // text kept, but not written
    QCOMPARE(DataFileWriter::lines(doc.snapshot()).first(), u"@@@10"_s);
    QCOMPARE(DataFileWriter::lines(doc.snapshot()).at(1), u"@@@33"_s);
}

void TstDataFile::customEntriesAndNotIntactTexts()
{
    TempAppDir dir;
    Document doc;
    doc.InitializeForm();
    doc.setFieldText(Version, u"1:=2"_s);
    doc.items()->setEntries({item(u"動作の仕組み"_s), u"●本文内の項目"_s, item(u"注意事項 "_s),
                             item(u"バージョン"_s), item(u"a:=b"_s)});
    const DocumentSnapshot s = doc.snapshot();
    QCOMPARE(
        DataFileWriter::lines(s).mid(0, 5),
        (QStringList{u"29:=   動作の仕組み:="_s, u"15:=●本文内の項目:="_s, u"30:=   注意事項 :="_s,
                     u"2:=   バージョン:=1:=2"_s, u"31:=   a:=b:="_s}));
    QCOMPARE(DataFileWriter::textsNotReadBackIntact(s), (QStringList{u"1:=2"_s, item(u"a:=b"_s)}));
}

void TstDataFile::readerEdges_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("badLine"); // 0: read to the end
    QTest::addColumn<QString>("softName");
    QTest::addColumn<QString>("lineCount");
    QTest::newRow("entry with := takes the value's place")
        << QStringList{u"29:=   a:=b:="_s} << QStringList{item(u"a"_s)} << 0 << QString()
        << QString(); // "b" goes to item 29, which does not exist
    QTest::newRow("value cut at its first :=")
        << QStringList{u"1:=   ソフト名:=x:=y"_s, u"@@@680"_s} << QStringList{item(u"ソフト名"_s)}
        << 0 << u"x"_s << u"80"_s;
    QTest::newRow("blank line after the last line is silent")
        << QStringList{u"1:=   ソフト名:=x"_s, QString(), QString()}
        << QStringList{item(u"ソフト名"_s)} << 0 << u"x"_s << QString();
    QTest::newRow("blank line in the middle")
        << QStringList{u"1:=   ソフト名:=x"_s, QString(), u"@@@680"_s}
        << QStringList{item(u"ソフト名"_s)} << 2 << u"x"_s << QString();
    QTest::newRow("line without :=") << QStringList{u"0:=●:="_s, u"junk"_s} << QStringList{u"●"_s}
                                     << 2 << QString() << QString();
    QTest::newRow("single := appends first")
        << QStringList{u"5:=   著作権者"_s, u"@@@680"_s} << QStringList{item(u"著作権者"_s)} << 1
        << QString() << QString();
    QTest::newRow("empty value changes nothing")
        << QStringList{u"5:=   著作権者:="_s} << QStringList{item(u"著作権者"_s)} << 0 << QString()
        << QString();
    QTest::newRow("number beyond the items")
        << QStringList{u"35:=x:=v"_s} << QStringList{u"x"_s} << 0 << QString() << QString();
    QTest::newRow("check value 3")
        << QStringList{u"16:=   ソフト紹介:=3"_s} << QStringList{item(u"ソフト紹介"_s)} << 1
        << QString() << QString();
    QTest::newRow("check value x")
        << QStringList{u"16:=   ソフト紹介:=x"_s} << QStringList{item(u"ソフト紹介"_s)} << 1
        << QString() << QString();
    QTest::newRow("option index 7")
        << QStringList{u"@@@17"_s, u"@@@650"_s} << QStringList() << 1 << QString() << QString();
    QTest::newRow("no @@@6 leaves the width empty")
        << QStringList{u"@@@12"_s} << QStringList() << 0 << QString() << QString();
    QTest::newRow("settings in any order, last wins")
        << QStringList{u"@@@640"_s, u"1:=   ソフト名:=a"_s, u"@@@612"_s}
        << QStringList{item(u"ソフト名"_s)} << 0 << u"a"_s << u"12"_s;
}

void TstDataFile::readerEdges()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, entries);
    QFETCH(int, badLine);
    QFETCH(QString, softName);
    QFETCH(QString, lineCount);
    TempAppDir dir;
    Document doc;
    doc.InitializeForm();
    dir.write(u"in.pwk"_s, crlf(lines));
    const auto r = DataFileReader::read(dir.filePath(u"in.pwk"_s), doc);
    QCOMPARE(r.line, badLine);
    QCOMPARE(r.ok(), badLine == 0);
    QCOMPARE(r.reason.isEmpty(), badLine == 0);
    QCOMPARE(doc.items()->entries(), entries);
    QCOMPARE(doc.fieldText(SoftName), softName);
    QCOMPARE(doc.txtLineCount(), lineCount);
}

void TstDataFile::unreadableFileLeavesDocumentAsItWas()
{
    TempAppDir dir;
    Document doc;
    doc.InitializeForm();
    doc.setFieldText(SoftName, u"keep"_s);
    const QStringList before = doc.items()->entries();
    const auto r = DataFileReader::read(dir.filePath(u"gone.pwk"_s), doc);
    QCOMPARE(r.status, DataFileReader::Result::Unreadable);
    QVERIFY(r.reason.contains(u"gone.pwk"_s));
    QCOMPARE(doc.items()->entries(), before);
    QCOMPARE(doc.fieldText(SoftName), u"keep"_s);
    QCOMPARE(doc.comboEntries(Reprinting).size(), 4);
}

void TstDataFile::saveThenOpenRoundTrip()
{
    TempAppDir dir;
    Document doc;
    doc.InitializeForm();
    for (int i = SoftName; i <= HomePage; ++i)
        doc.setFieldText(i, u"値%1 ①"_s.arg(i));
    doc.setChkBody(6, 1);
    doc.setChkEnd(2, 0);
    doc.setOptLineType(3);
    doc.setTxtLineType(u"＊"_s);
    doc.setOptBracketsType(3);
    doc.setTxtBracketsType(1, u"》"_s);
    doc.setTxtLineCount(u"72"_s);
    doc.setTxtAdd(u"独自の見出し"_s);
    doc.cmdAddDel_Click(0);
    doc.items()->setSelected(3, true);
    doc.cmdUpDown_Click(1);
    const DocumentSnapshot saved = doc.snapshot();
    QVERIFY(DataFileWriter::write(dir.filePath(u"d.pwk"_s), saved).ok);

    Document other;
    other.InitializeForm();
    QVERIFY(DataFileReader::read(dir.filePath(u"d.pwk"_s), other).ok());
    const DocumentSnapshot back = other.snapshot();
    QCOMPARE(back.entries, saved.entries);
    // Values of listed items come back; unlisted check boxes keep their own state.
    for (int i = SoftName; i <= HomePage; ++i)
        QCOMPARE(back.itemValues[size_t(i)], saved.itemValues[size_t(i)]);
    QCOMPARE(DataFileWriter::lines(back), DataFileWriter::lines(saved));
    QCOMPARE(other.txtLineType(), u"＊"_s);
}

QTEST_GUILESS_MAIN(TstDataFile)
#include "tst_datafile.moc"
