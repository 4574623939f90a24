#include "TestSupport.h"
#include "entrylists/EntryLists.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace EntryLists;

class TstEntryLists : public QObject {
    Q_OBJECT
private slots:
    void loadAppendsFileLinesVerbatim();
    void loadOfMissingFileAddsNothingAndCreatesNothing();
    void loadTwiceDoublesEntries();
    void listPathByCaption_data();
    void listPathByCaption();
    void saveThenReload();
};

void TstEntryLists::loadAppendsFileLinesVerbatim()
{
    TempAppDir dir;
    dir.write(u"Environment.dat"_s, QByteArray("Windows 98\r\n  spaced  \r\n\r\nWindows 2000"));
    QStringList target{u"kept"_s};
    LoadEntryList(u"Environment.dat"_s, target);
    QCOMPARE(target, (QStringList{u"kept"_s, u"Windows 98"_s, u"  spaced  "_s, QString(),
                                  u"Windows 2000"_s}));
}

void TstEntryLists::loadOfMissingFileAddsNothingAndCreatesNothing()
{
    TempAppDir dir;
    QStringList target;
    for (const ListInfo &l : kLists)
        LoadEntryList(QString::fromUtf16(l.fileName), target);
    QVERIFY(target.isEmpty());
    QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

void TstEntryLists::loadTwiceDoublesEntries()
{
    TempAppDir dir;
    dir.writeLines(u"HP.dat"_s, {u"a"_s});
    QStringList target;
    LoadEntryList(u"HP.dat"_s, target);
    LoadEntryList(u"HP.dat"_s, target);
    QCOMPARE(target, (QStringList{u"a"_s, u"a"_s}));
}

void TstEntryLists::listPathByCaption_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("file");
    for (const ListInfo &l : kLists)
        QTest::newRow(QString::fromUtf16(l.fileName).toUtf8().constData())
            << QString::fromUtf16(l.caption) << QString::fromUtf16(l.fileName);
    QTest::newRow("other caption") << u"登録"_s << QString();
    QTest::newRow("caption with a space") << u"著作権者の登録 "_s << QString();
}

void TstEntryLists::listPathByCaption()
{
    QFETCH(QString, caption);
    QFETCH(QString, file);
    TempAppDir dir;
    QCOMPARE(GetListPath(caption), file.isEmpty() ? QString() : dir.filePath(file));
}

void TstEntryLists::saveThenReload()
{
    TempAppDir dir;
    const QString caption = u"連絡先の登録"_s;
    const QStringList entries{u"東京都"_s, QString(), u" x "_s};
    QVERIFY(SaveList(caption, entries).ok);
    QCOMPARE(dir.read(u"Address.dat"_s), QByteArray("\x93\x8c\x8b\x9e\x93\x73\r\n\r\n x \r\n"));
    QCOMPARE(ReloadList(caption), entries);
}

QTEST_GUILESS_MAIN(TstEntryLists)
#include "tst_entrylists.moc"
