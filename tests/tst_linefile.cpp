#include "TestSupport.h"
#include "platform/LineFile.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TstLineFile : public QObject {
    Q_OBJECT
private slots:
    void splitting_data();
    void splitting();
    void readDecodesCp932();
    void readFailureNamesTheFile();
    void writeEndsEveryLineWithCrLf();
    void failedWriteLeavesOldFileWhole_data();
    void failedWriteLeavesOldFileWhole();
};

void TstLineFile::splitting_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty file") << QString() << QStringList();
    QTest::newRow("CR LF") << u"a\r\nb\r\n"_s << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("CR alone") << u"a\rb\r"_s << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("lone LF") << u"a\nb\n"_s << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("no final line end") << u"a\r\nb"_s << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("empty lines") << u"\r\n\r\nx\r\n"_s << QStringList{QString(), QString(), u"x"_s};
    QTest::newRow("just CR LF") << u"\r\n"_s << QStringList{QString()};
    QTest::newRow("spaces kept") << u"  a  \r\n"_s << QStringList{u"  a  "_s};
}

void TstLineFile::splitting()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QCOMPARE(LineFile::splitLines(text), lines);
}

void TstLineFile::readDecodesCp932()
{
    TempAppDir dir;
    dir.write(u"a.dat"_s, QByteArray("\x83\x5c\x83\x74\x83\x67\r\nWindows 98\r"));
    const auto r = LineFile::read(dir.filePath(u"a.dat"_s));
    QVERIFY(r.ok);
    QCOMPARE(r.lines, (QStringList{u"ソフト"_s, u"Windows 98"_s}));
}

void TstLineFile::readFailureNamesTheFile()
{
    TempAppDir dir;
    const auto missing = LineFile::read(dir.filePath(u"missing.dat"_s));
    QVERIFY(!missing.ok);
    QVERIFY(missing.error.contains(u"missing.dat"_s));
    const auto folder = LineFile::read(dir.path());
    QVERIFY(!folder.ok);
    QVERIFY(folder.error.startsWith(QDir::toNativeSeparators(dir.path())));
}

void TstLineFile::writeEndsEveryLineWithCrLf()
{
    TempAppDir dir;
    const auto w = LineFile::write(dir.filePath(u"o.dat"_s), {u"著作権者"_s, QString(), u"x😀"_s});
    QVERIFY(w.ok);
    QCOMPARE(dir.read(u"o.dat"_s), QByteArray("\x92\x98\x8d\xec\x8c\xa0\x8e\xd2\r\n\r\nx?\r\n"));
    QCOMPARE(w.unmappable, QStringList{u"😀"_s});
    QVERIFY(LineFile::write(dir.filePath(u"o.dat"_s), {}).ok);
    QCOMPARE(dir.read(u"o.dat"_s), QByteArray());
}

void TstLineFile::failedWriteLeavesOldFileWhole_data()
{
    QTest::addColumn<QString>("where");
    QTest::newRow("read-only directory") << u"readonly"_s;
    QTest::newRow("missing folder") << u"missing"_s;
    QTest::newRow("a folder as the file") << u"folder"_s;
}

void TstLineFile::failedWriteLeavesOldFileWhole()
{
    QFETCH(QString, where);
    TempAppDir dir;
    const QByteArray old("old\r\ncontent\r\n");
    dir.write(u"keep.dat"_s, old);
    QString target = dir.filePath(u"keep.dat"_s);
    std::unique_ptr<ReadOnlyDir> guard;
    if (where == u"readonly") {
        guard = std::make_unique<ReadOnlyDir>(dir.path());
        if (!guard->effective())
            QSKIP("this file system lets the user write into a read-only directory");
    } else if (where == u"missing") {
        target = dir.filePath(u"no/such/keep.dat"_s);
    } else {
        QDir(dir.path()).mkdir(u"sub"_s);
        target = dir.filePath(u"sub"_s);
    }
    const auto w = LineFile::write(target, {u"new"_s});
    QVERIFY(!w.ok);
    QVERIFY2(w.error.startsWith(QDir::toNativeSeparators(target) + u": "_s), qPrintable(w.error));
    guard.reset();
    QCOMPARE(dir.read(u"keep.dat"_s), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u"keep.dat"_s});
}

QTEST_GUILESS_MAIN(TstLineFile)
#include "tst_linefile.moc"
