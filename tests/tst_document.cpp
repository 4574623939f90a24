#include "TestSupport.h"
#include "document/Document.h"
#include "entrylists/EntryLists.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace Items;

namespace {
QString item(const QString &name)
{
    return u"   "_s + name;
}

const QStringList kStartList = {
    u"●文頭の項目"_s,
    item(u"転載の可否"_s),
    u"●本文内の項目"_s,
    item(u"ソフト紹介"_s),
    item(u"インストール"_s),
    item(u"アンインストール"_s),
    item(u"注意事項"_s),
    item(u"謝辞"_s),
    u"●文末の項目"_s,
    item(u"著作権者(文末)"_s),
    item(u"連絡先(文末)"_s),
    item(u"メールアドレス(文末)"_s),
    item(u"ホームページ(文末)"_s),
    item(u"著作権"_s),
};
} // namespace

class TstDocument : public QObject {
    Q_OBJECT
private slots:
    void startupWithoutListFiles();
    void startupWithListFilesListsFieldsInIndexOrder();
    void newAfterEditsAndOutsideListChange();
    void clearFormAloneKeepsCheckBoxes();
    void typingIntoFieldsMovesTheirItems();
    void fieldWithoutBodyMarkerIsAppended();
    void movedAndUserAddedItemsStay();
    void comboBoxesDoNotSyncBeforeFormReady();
    void pickingAComboEntrySynchronises();
    void applyFields_data();
    void applyFields();
    void priceFilter_data();
    void priceFilter();
    void bodyHeadingsGoInFrontOfEndMarker();
    void endSectionOffAndOn();
    void endLineClickedOffAndOnMovesToEnd();
    void stylesEnableFreeBoxes();
};

void TstDocument::startupWithoutListFiles()
{
    TempAppDir dir;
    Document doc;
    doc.InitializeForm();
    QVERIFY(doc.FormReady());
    QCOMPARE(doc.items()->entries(), kStartList);
    for (const auto &l : EntryLists::kLists)
        QVERIFY(doc.fieldText(l.itemIndex).isEmpty() && doc.comboEntries(l.itemIndex).isEmpty());
    QCOMPARE(doc.fieldText(Reprinting), u"可"_s);
    QCOMPARE(doc.comboEntries(Reprinting).size(), 4);
    QCOMPARE(doc.txtLineCount(), u"80"_s);
    QVERIFY(doc.ItemValues(StartMarker).isEmpty() && doc.ItemValues(BodyMarker).isEmpty());
    QCOMPARE(doc.ItemValues(FirstBody + 1), u"0"_s);
    QVERIFY(!doc.txtLineTypeEnabled() && !doc.txtBracketsTypeEnabled(0));
    QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

void TstDocument::startupWithListFilesListsFieldsInIndexOrder()
{
    TempAppDir dir;
    dir.writeLines(u"HP.dat"_s, {u"http://example.jp/"_s});
    dir.writeLines(u"Writer.dat"_s, {u"Sample Works"_s, u"Other"_s});
    dir.writeLines(u"Environment.dat"_s, {u"   "_s}); // spaces count as text
    Document doc;
    doc.InitializeForm();
    QCOMPARE(doc.fieldText(Writer), u"Sample Works"_s);
    QCOMPARE(doc.comboEntries(Writer), (QStringList{u"Sample Works"_s, u"Other"_s}));
    const QStringList &e = doc.items()->entries();
    QCOMPARE(e.mid(0, 6),
             (QStringList{u"●文頭の項目"_s, item(u"著作権者"_s), item(u"動作環境"_s),
                          item(u"転載の可否"_s), item(u"ホームページ"_s), u"●本文内の項目"_s}));
}

void TstDocument::newAfterEditsAndOutsideListChange()
{
    TempAppDir dir;
    Document doc;
    doc.InitializeForm();
    doc.setFieldText(SoftName, u"Viewer"_s);
    doc.setChkBody(1, 1);
    doc.setChkEndSentence(0);
    doc.setOptBracketsType(3);
    doc.setTxtLineType(u"*"_s);
    doc.setPreviewText(u"old"_s);
    doc.items()->setSelected(0, true);
    dir.writeLines(u"Dll.dat"_s, {u"a.dll"_s});
    doc.New();

    Document fresh;
    fresh.InitializeForm();
    QCOMPARE(doc.items()->entries(), fresh.items()->entries());
    QCOMPARE(doc.fieldText(Dll), u"a.dll"_s);
    QCOMPARE(doc.comboEntries(Reprinting).size(), 4);
    QVERIFY(doc.fieldText(SoftName).isEmpty() && doc.previewText().isEmpty());
    QVERIFY(doc.txtLineType().isEmpty());
    QCOMPARE(doc.optBracketsType(), 0);
    QCOMPARE(doc.chkBody(1), 0);
    for (int i = 0; i < kEndCount; ++i)
        QVERIFY(doc.chkEnd(i) == 1 && doc.chkEndEnabled(i));
    QCOMPARE(doc.items()->selectedCount(), 0);
}

void TstDocument::clearFormAloneKeepsCheckBoxes()
{
    TempAppDir dir;
    Document doc;
    doc.InitializeForm();
    doc.setChkBody(6, 2);
    doc.setOptLineType(3);
    doc.ClearForm();
    QCOMPARE(doc.items()->count(), 0);
    QCOMPARE(doc.chkBody(6), 2);
    QCOMPARE(doc.optLineType(), 0);
    QVERIFY(!doc.txtLineTypeEnabled());
    QVERIFY(doc.txtLineCount().isEmpty());
    QVERIFY(doc.comboEntries(Reprinting).isEmpty() && doc.fieldText(Reprinting).isEmpty());
}

void TstDocument::typingIntoFieldsMovesTheirItems()
{
    TempAppDir dir;
    Document doc;
    doc.InitializeForm();
    doc.setFieldText(SoftName, u"S"_s);
    doc.setFieldText(SoftName, u"Sa"_s);
    doc.setFieldText(Version, u"1"_s);
    const QStringList &e = doc.items()->entries();
    QCOMPARE(e.mid(1, 4), (QStringList{item(u"転載の可否"_s), item(u"ソフト名"_s),
                                       item(u"バージョン"_s), u"●本文内の項目"_s}));
    doc.setFieldText(SoftName, QString());
    QCOMPARE(doc.items()->FindItemEntry(u"ソフト名"), -1);
    QCOMPARE(doc.items()->count(), kStartList.size() + 1);
}

void TstDocument::fieldWithoutBodyMarkerIsAppended()
{
    TempAppDir dir;
    Document doc;
    doc.InitializeForm();
    doc.items()->setSelected(2, true); // the body marker
    doc.items()->DeleteSelectedItems();
    doc.setFieldText(Date, u"2026"_s);
    QCOMPARE(doc.items()->entries().last(), item(u"作成日"_s));
}

void TstDocument::movedAndUserAddedItemsStay()
{
    TempAppDir dir;
    Document doc;
    doc.InitializeForm();
    doc.setTxtAdd(u"ソフト名"_s);
    doc.items()->setFocusEntry(-1);
    doc.cmdAddDel_Click(0);
    doc.cmdAddDel_Click(0); // two user-added entries of the same name
    doc.setFieldText(SoftName, u"x"_s);
    QCOMPARE(doc.items()->count(), kStartList.size() + 2);
    QCOMPARE(doc.items()->FindItemEntry(u"ソフト名"), kStartList.size());
    doc.setFieldText(SoftName, QString());
    QCOMPARE(doc.items()->entries(), kStartList);
}

void TstDocument::comboBoxesDoNotSyncBeforeFormReady()
{
    TempAppDir dir;
    Document doc;
    doc.setFieldText(Writer, u"early"_s);
    QCOMPARE(doc.items()->count(), 0);
    doc.InitializeForm();
    doc.setFieldText(Writer, u"late"_s);
    QVERIFY(doc.items()->FindItemEntry(u"著作権者") > 0);
}

void TstDocument::pickingAComboEntrySynchronises()
{
    TempAppDir dir;
    dir.writeLines(u"SoftClass.dat"_s, {u"フリーウェア"_s});
    Document doc;
    doc.InitializeForm();
    doc.items()->RemoveItemEntries(u"ソフトの種別"); // text unchanged, item gone
    doc.pickComboEntry(SoftClass, 0);
    QVERIFY(doc.items()->FindItemEntry(u"ソフトの種別") > 0);
}

void TstDocument::applyFields_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("state"); // ItemValues after a gather
    QTest::newRow("combo text without list entry")
        << int(Reprinting) << u"不可"_s << true << u"不可"_s;
    QTest::newRow("check state 2") << 22 << u"2"_s << true << u"2"_s;
    QTest::newRow("check state 3") << 22 << u"3"_s << false << u"0"_s;
    QTest::newRow("check state x") << 22 << u"x"_s << false << u"0"_s;
    QTest::newRow("check state 1.5") << 22 << u"1.5"_s << false << u"0"_s;
    QTest::newRow("body marker ignored") << int(BodyMarker) << u"1"_s << true << QString();
    QTest::newRow("start marker ignored") << int(StartMarker) << u"x"_s << true << QString();
    QTest::newRow("beyond the table ignored") << 35 << u"x"_s << true << QString();
}

void TstDocument::applyFields()
{
    QFETCH(int, index);
    QFETCH(QString, value);
    QFETCH(bool, ok);
    QFETCH(QString, state);
    TempAppDir dir;
    Document doc;
    doc.InitializeForm();
    const QStringList before = doc.items()->entries();
    const auto r = doc.ApplyFields(index, value);
    QCOMPARE(r.ok, ok);
    QCOMPARE(r.reason.isEmpty(), ok);
    doc.GatherFields();
    if (index < kCount)
        QCOMPARE(doc.ItemValues(index), state);
    if (index == Reprinting)
        QCOMPARE(doc.comboEntries(Reprinting).size(), 4);
    if (!ok || index > kCount || index == 0 || index == BodyMarker)
        QCOMPARE(doc.items()->entries(), before);
}

void TstDocument::priceFilter_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("yen key, digits, comma, space") << u"\\1,000 0123456789"_s << true;
    QTest::newRow("backspace") << u"\b"_s << true;
    QTest::newRow("letter") << u"a"_s << false;
    QTest::newRow("minus") << u"-"_s << false;
    QTest::newRow("period") << u"."_s << false;
    QTest::newRow("full-width digit") << u"１"_s << false;
    QTest::newRow("yen sign") << u"円"_s << false;
}

void TstDocument::priceFilter()
{
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    for (QChar c : typed)
        QCOMPARE(Document::priceKeyAccepted(c), accepted);
}

void TstDocument::bodyHeadingsGoInFrontOfEndMarker()
{
    TempAppDir dir;
    Document doc;
    doc.InitializeForm();
    doc.setChkBody(4, 0);
    doc.setChkBody(4, 1);
    const int marker = doc.items()->FindItemEntry(u"●文末の項目");
    QCOMPARE(doc.items()->entry(marker - 1), item(u"注意事項"_s));
    QCOMPARE(doc.items()->entry(marker - 2), item(u"謝辞"_s));
    doc.setChkEndSentence(0);
    doc.setChkBody(6, 1); // no end marker: appended
    QCOMPARE(doc.items()->entries().last(), item(u"バージョン履歴"_s));
    doc.setTxtAdd(u"ファイルの説明"_s);
    doc.cmdAddDel_Click(0);
    const int before = doc.items()->count();
    doc.setChkBody(1, 1); // user-added entry counts
    QCOMPARE(doc.items()->count(), before);
    doc.setChkBody(1, 0);
    QCOMPARE(doc.items()->FindItemEntry(u"ファイルの説明"), -1);
}

void TstDocument::endSectionOffAndOn()
{
    TempAppDir dir;
    Document doc;
    doc.InitializeForm();
    doc.setChkEnd(1, 0);
    doc.items()->appendEntry(u"●文末の項目"_s); // a second marker
    doc.setChkEndSentence(0);
    QCOMPARE(doc.items()->FindItemEntry(u"●文末の項目"), -1);
    for (int i = 0; i < kEndCount; ++i) {
        QCOMPARE(doc.chkEnd(i), 2);
        QVERIFY(!doc.chkEndEnabled(i));
        QCOMPARE(doc.items()->FindItemEntry(doc.ItemNames(FirstEnd + i)), -1);
    }
    doc.setChkEnd(0, 1); // a system change while off adds nothing
    const int n = doc.items()->count();
    doc.setChkEnd(0, 2);
    doc.setChkEndSentence(1);
    QCOMPARE(doc.items()->count(), n + 6);
    QCOMPARE(doc.items()->entries().mid(n),
             (QStringList{u"●文末の項目"_s, item(u"著作権者(文末)"_s), item(u"連絡先(文末)"_s),
                          item(u"メールアドレス(文末)"_s), item(u"ホームページ(文末)"_s),
                          item(u"著作権"_s)}));
    doc.items()->appendEntry(u"x"_s);
    doc.setChkEndSentence(2); // grayed counts as on, but the value changed: appends again
    QCOMPARE(doc.items()->entries().at(n + 7), u"●文末の項目"_s);
}

void TstDocument::endLineClickedOffAndOnMovesToEnd()
{
    TempAppDir dir;
    Document doc;
    doc.InitializeForm();
    doc.setChkEnd(0, 0);
    doc.setChkEnd(0, 1);
    QCOMPARE(doc.items()->entries().last(), item(u"著作権者(文末)"_s));
}

void TstDocument::stylesEnableFreeBoxes()
{
    Document doc;
    doc.setOptLineType(3);
    QVERIFY(doc.txtLineTypeEnabled());
    doc.setTxtLineType(u"*-"_s);
    doc.setOptLineType(1);
    QVERIFY(!doc.txtLineTypeEnabled());
    QCOMPARE(doc.txtLineType(), u"*-"_s);
    doc.setOptBracketsType(1);
    doc.Label5_Click(1);
    QCOMPARE(doc.optBracketsType(), 3);
    QVERIFY(doc.txtBracketsTypeEnabled(0) && doc.txtBracketsTypeEnabled(1));
}

QTEST_GUILESS_MAIN(TstDocument)
#include "tst_document.moc"
