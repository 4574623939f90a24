#include "TestSupport.h"
#include "platform/Cp932.h"

#include <QProcess>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
struct Run {
    int status = -1;
    QByteArray out;
    QString err;
};

Run compose(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(QUILLET_COMPOSE), args);
    p.waitForFinished(60000);
    return {p.exitCode(), p.readAllStandardOutput(), QString::fromUtf8(p.readAllStandardError())};
}

const QString kSample = testDataPath(u"sample.pwk"_s);
} // namespace

class TstComposeCli : public QObject {
    Q_OBJECT
private slots:
    void writesTheGoldenReadme();
    void standardOutputAndUtf8();
    void setChangesFieldsAndWriteDataSavesThem();
    void checkComparesBytes();
    void usageErrors_data();
    void usageErrors();
    void unreadableOrMalformedDataWritesNothing();
    void compositionFailure();
    void writeFailureKeepsTheOldFile();
    void unmappableCharactersAreNamed();
    void helpAndVersion();
};

void TstComposeCli::writesTheGoldenReadme()
{
    TempAppDir dir;
    const Run r = compose({kSample, dir.filePath(u"README.TXT"_s)});
    QCOMPARE(r.status, 0);
    QVERIFY(r.err.isEmpty());
    QCOMPARE(dir.read(u"README.TXT"_s), readFileBytes(testDataPath(u"sample_README.TXT"_s)));
}

void TstComposeCli::standardOutputAndUtf8()
{
    const QByteArray golden = readFileBytes(testDataPath(u"sample_README.TXT"_s));
    QCOMPARE(compose({kSample}).out, golden);
    QCOMPARE(compose({kSample, u"-"_s}).out, golden);
    const Run utf8 = compose({u"--utf8"_s, kSample});
    QCOMPARE(utf8.status, 0);
    QCOMPARE(utf8.out, Cp932::decode(golden).toUtf8());
}

void TstComposeCli::setChangesFieldsAndWriteDataSavesThem()
{
    TempAppDir dir;
    const QString data = dir.filePath(u"new.pwk"_s);
    const Run r = compose({u"--set"_s, u"バージョン=2.00"_s, u"--set=4=2026/12/06"_s,
                           u"--write-data"_s, data, kSample});
    QCOMPARE(r.status, 0);
    const QString text = Cp932::decode(r.out);
    QVERIFY(text.contains(u"【   バージョン   】\u3000\u30002.00"_s));
    // The date joins the list as a typed value would: in front of the body marker.
    QVERIFY(text.contains(u"可\r\n【     作成日     】\u3000\u30002026/12/06\r\n----"_s));
    const QString saved = Cp932::decode(dir.read(u"new.pwk"_s));
    QVERIFY(saved.contains(u"2:=   バージョン:=2.00\r\n"_s));
    QVERIFY(saved.contains(u"4:=   作成日:=2026/12/06\r\n15:="_s));
}

void TstComposeCli::checkComparesBytes()
{
    TempAppDir dir;
    const QString readme = dir.filePath(u"README.TXT"_s);
    QCOMPARE(compose({u"--check"_s, kSample, readme}).status, 1); // missing
    dir.write(u"README.TXT"_s, readFileBytes(testDataPath(u"sample_README.TXT"_s)));
    QCOMPARE(compose({u"--check"_s, kSample, readme}).status, 0);
    QCOMPARE(compose({u"--check"_s, u"--set"_s, u"1=x"_s, kSample, readme}).status, 1);
    QCOMPARE(dir.read(u"README.TXT"_s), readFileBytes(testDataPath(u"sample_README.TXT"_s)));
}

void TstComposeCli::usageErrors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("no data file") << QStringList();
    QTest::newRow("three files") << QStringList{kSample, u"a"_s, u"b"_s};
    QTest::newRow("unknown option") << QStringList{u"--bogus"_s, kSample};
    QTest::newRow("unknown item") << QStringList{u"--set"_s, u"なし=1"_s, kSample};
    QTest::newRow("index out of range") << QStringList{u"--set"_s, u"29=1"_s, kSample};
    QTest::newRow("bad check state") << QStringList{u"--set"_s, u"16=7"_s, kSample};
    QTest::newRow("set without =") << QStringList{u"--set"_s, u"x"_s, kSample};
    QTest::newRow("check without README") << QStringList{u"--check"_s, kSample};
}

void TstComposeCli::usageErrors()
{
    QFETCH(QStringList, args);
    const Run r = compose(args);
    QCOMPARE(r.status, 2);
    QVERIFY(r.out.isEmpty());
    QVERIFY(!r.err.isEmpty());
}

void TstComposeCli::unreadableOrMalformedDataWritesNothing()
{
    TempAppDir dir;
    const Run missing = compose({dir.filePath(u"none.pwk"_s), dir.filePath(u"R.TXT"_s)});
    QCOMPARE(missing.status, 3);
    QVERIFY(missing.err.contains(u"none.pwk"_s));
    dir.write(u"bad.pwk"_s, "1:=   x:=a\r\nno separator\r\n");
    const Run bad = compose({dir.filePath(u"bad.pwk"_s), dir.filePath(u"R.TXT"_s)});
    QCOMPARE(bad.status, 3);
    QVERIFY2(bad.err.startsWith(dir.filePath(u"bad.pwk"_s) + u":2: "_s), qPrintable(bad.err));
    QVERIFY(!QFile::exists(dir.filePath(u"R.TXT"_s)));
}

void TstComposeCli::compositionFailure()
{
    TempAppDir dir;
    dir.write(u"w.pwk"_s, "0:=x:=\r\n@@@6-5\r\n");
    const Run r = compose({dir.filePath(u"w.pwk"_s), dir.filePath(u"R.TXT"_s)});
    QCOMPARE(r.status, 4);
    QVERIFY(r.err.contains(u"-5"_s));
    QVERIFY(!QFile::exists(dir.filePath(u"R.TXT"_s)));
}

void TstComposeCli::writeFailureKeepsTheOldFile()
{
    TempAppDir dir;
    dir.write(u"README.TXT"_s, "old");
    ReadOnlyDir guard(dir.path());
    QVERIFY(guard.effective());
    const Run r = compose({kSample, dir.filePath(u"README.TXT"_s)});
    QCOMPARE(r.status, 5);
    QVERIFY(r.err.contains(u"README.TXT"_s));
    QCOMPARE(dir.read(u"README.TXT"_s), QByteArray("old"));
}

void TstComposeCli::unmappableCharactersAreNamed()
{
    const Run r = compose({u"--set"_s, u"ソフト名=Ünï😀"_s, kSample});
    QCOMPARE(r.status, 0);
    QVERIFY(r.out.contains("?n??"));
    QVERIFY(r.err.contains(u"Ü ï 😀"_s));
}

void TstComposeCli::helpAndVersion()
{
    const Run help = compose({u"--help"_s});
    QCOMPARE(help.status, 0);
    QVERIFY(QString::fromUtf8(help.out).contains(u"--write-data"_s));
    const Run version = compose({u"--version"_s});
    QCOMPARE(version.status, 0);
    QCOMPARE(version.out, QByteArray("quillet-compose 1.0\n"));
}

QTEST_GUILESS_MAIN(TstComposeCli)
#include "tst_compose_cli.moc"
