#include "TestSupport.h"
#include "entrylists/ListEditor.h"

#include <QTest>

using namespace Qt::StringLiterals;
using Key = ListEditor::Key;

namespace {
const QString kCaption = u"著作権者の登録"_s;

struct Fixture {
    TempAppDir dir;
    ListEditor ed;
    explicit Fixture(const QStringList &file)
    {
        if (!file.isEmpty())
            dir.writeLines(u"Writer.dat"_s, file);
        ed.setCaption(kCaption);
        QStringList entries;
        EntryLists::LoadEntryList(u"Writer.dat"_s, entries);
        ed.appendEntries(entries);
    }
    void type(const QString &t) { ed.setText(t); }
};
} // namespace

class TstListEditor : public QObject {
    Q_OBJECT
private slots:
    void opensWithBothButtonsDisabled();
    void registerAThenBThenCloseWritesBAOld();
    void deleteInTextBoxRightAfterRegistering();
    void deletingTheLastEntryKeepsDeleteEnabled();
    void deleteButtonSelectsTheFollowingEntry();
    void escapeAfterOpeningReloadsAndDisablesDelete();
    void clearAllThenCloseWritesZeroBytes();
    void clearAllThenRevertRestoresTheFile();
    void typedButUnregisteredTextIsLost();
    void insertOnlyWhileRegisterIsEnabled();
    void unchangedListIsNotRewritten();
};

void TstListEditor::opensWithBothButtonsDisabled()
{
    Fixture f({u"a"_s});
    QVERIFY(!f.ed.registerEnabled() && !f.ed.deleteEnabled());
    f.type(u"x"_s);
    QVERIFY(f.ed.registerEnabled());
    f.type(QString());
    QVERIFY(!f.ed.registerEnabled());
}

void TstListEditor::registerAThenBThenCloseWritesBAOld()
{
    Fixture f({u"old1"_s, u"old2"_s});
    f.type(u"A"_s);
    f.ed.cmdRegist_Click(0);
    QCOMPARE(f.ed.selected(), 0);
    QVERIFY(f.ed.deleteEnabled() && !f.ed.registerEnabled() && f.ed.text().isEmpty());
    f.type(u"B"_s);
    f.ed.txtRegist_KeyDown(Key::Insert);
    QVERIFY(f.ed.save().ok);
    QCOMPARE(f.dir.read(u"Writer.dat"_s), QByteArray("B\r\nA\r\nold1\r\nold2\r\n"));
}

void TstListEditor::deleteInTextBoxRightAfterRegistering()
{
    Fixture f({u"old"_s});
    f.type(u"new"_s);
    f.ed.cmdRegist_Click(0);
    f.ed.txtRegist_KeyDown(Key::Delete);
    QCOMPARE(f.ed.entries(), QStringList{u"old"_s});
    QCOMPARE(f.ed.selected(), -1);
}

void TstListEditor::deletingTheLastEntryKeepsDeleteEnabled()
{
    Fixture f({u"a"_s, u"b"_s});
    f.ed.clickEntry(1);
    f.type(u"typed"_s);
    f.ed.cmdRegist_Click(1);
    QCOMPARE(f.ed.entries(), QStringList{u"a"_s});
    QCOMPARE(f.ed.selected(), -1);
    QVERIFY(f.ed.deleteEnabled());
    QVERIFY(f.ed.text().isEmpty());
    f.type(u"again"_s);
    f.ed.cmdRegist_Click(1); // nothing selected: only the text goes
    QCOMPARE(f.ed.entries(), QStringList{u"a"_s});
    QVERIFY(f.ed.text().isEmpty());
}

void TstListEditor::deleteButtonSelectsTheFollowingEntry()
{
    Fixture f({u"a"_s, u"b"_s, u"c"_s});
    f.ed.clickEntry(1);
    f.ed.cmdRegist_Click(1);
    QCOMPARE(f.ed.entries(), (QStringList{u"a"_s, u"c"_s}));
    QCOMPARE(f.ed.selected(), 1);
    f.ed.lstRegist_KeyDown(Key::Delete); // the key selects nothing afterwards
    QCOMPARE(f.ed.entries(), QStringList{u"a"_s});
    QCOMPARE(f.ed.selected(), -1);
}

void TstListEditor::escapeAfterOpeningReloadsAndDisablesDelete()
{
    Fixture f({u"a"_s, u"b"_s});
    f.ed.clickEntry(0);
    f.ed.cmdRegist_Click(1);
    QVERIFY(f.ed.deleteEnabled());
    f.ed.cmdRegist_KeyDown(Key::Escape);
    QCOMPARE(f.ed.entries(), (QStringList{u"a"_s, u"b"_s}));
    QVERIFY(!f.ed.deleteEnabled());
}

void TstListEditor::clearAllThenCloseWritesZeroBytes()
{
    Fixture f({u"a"_s});
    f.ed.cmdRegist_Click(2);
    QVERIFY(f.ed.save().ok);
    QCOMPARE(f.dir.read(u"Writer.dat"_s), QByteArray());
}

void TstListEditor::clearAllThenRevertRestoresTheFile()
{
    Fixture f({u"a"_s, u"b"_s});
    f.type(u"keep"_s);
    f.ed.cmdRegist_Click(2);
    f.type(u"keep"_s);
    f.ed.cmdRegist_Click(3);
    QCOMPARE(f.ed.entries(), (QStringList{u"a"_s, u"b"_s}));
    QCOMPARE(f.ed.text(), u"keep"_s); // revert leaves the text box alone
}

void TstListEditor::typedButUnregisteredTextIsLost()
{
    Fixture f({u"a"_s});
    f.type(u"not registered"_s);
    QVERIFY(f.ed.save().ok);
    QCOMPARE(f.dir.read(u"Writer.dat"_s), QByteArray("a\r\n"));
}

void TstListEditor::insertOnlyWhileRegisterIsEnabled()
{
    Fixture f({});
    f.ed.txtRegist_KeyDown(Key::Insert);
    QVERIFY(f.ed.entries().isEmpty());
    f.type(u" spaced "_s);
    f.ed.cmdRegist_KeyDown(Key::Insert);
    QCOMPARE(f.ed.entries(), QStringList{u" spaced "_s}); // verbatim
}

void TstListEditor::unchangedListIsNotRewritten()
{
    TempAppDir dir;
    const QByteArray utf8 = u"サンプル工房\nもう一つ"_s.toUtf8();
    dir.write(u"Writer.dat"_s, utf8);
    ListEditor ed;
    ed.open(kCaption);
    QVERIFY(ed.fileLooksForeign());
    ed.clickEntry(0);
    QVERIFY(ed.save().ok);
    QCOMPARE(dir.read(u"Writer.dat"_s), utf8);
    ed.cmdRegist_Click(1); // a real change is written
    QVERIFY(ed.save().ok);
    QVERIFY(dir.read(u"Writer.dat"_s) != utf8);
}

QTEST_GUILESS_MAIN(TstListEditor)
#include "tst_listeditor.moc"
