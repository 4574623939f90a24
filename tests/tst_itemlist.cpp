#include "TestSupport.h"
#include "itemlist/ItemList.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
} // namespace

class TstItemList : public QObject {
    Q_OBJECT
private slots:
    void matchingTrimsSpacesOnly_data();
    void matchingTrimsSpacesOnly();
    void moveUp_data();
    void moveUp();
    void moveDown_data();
    void moveDown();
    void deleteSelected_data();
    void deleteSelected();
    void drop_data();
    void drop();
    void addAtFocusEntry_data();
    void addAtFocusEntry();
    void keyTable_data();
    void keyTable();
    void sharedOperationsUseAnchorsAndPresence();
    void bulkOperationsNotifyTheViewOnce();
};

void TstItemList::matchingTrimsSpacesOnly_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("matches");
    QTest::newRow("indented") << u"   謝辞"_s << true;
    QTest::newRow("trailing spaces") << u"謝辞  "_s << true;
    QTest::newRow("full-width space kept") << u"　謝辞"_s << false;
    QTest::newRow("tab kept") << u"\t謝辞"_s << false;
    QTest::newRow("longer") << u"   謝辞s"_s << false;
}

void TstItemList::matchingTrimsSpacesOnly()
{
    QFETCH(QString, entry);
    QFETCH(bool, matches);
    QCOMPARE(ItemList::matches(entry, u"謝辞"), matches);
}

void TstItemList::moveUp_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("run moves as a whole") << u"A B* C* D"_s << u"B* C* A D"_s;
    QTest::newRow("run at the top stays") << u"B* C* A D"_s << u"B* C* A D"_s;
    QTest::newRow("top entry blocks the one behind") << u"A* B C*"_s << u"A* C* B"_s;
    QTest::newRow("separate runs") << u"A B* C D*"_s << u"B* A D* C"_s;
    QTest::newRow("nothing selected") << u"A B C"_s << u"A B C"_s;
    QTest::newRow("empty") << QString() << QString();
}

void TstItemList::moveUp()
{
    QFETCH(QString, before);
    QFETCH(QString, after);
    ItemList list;
    loadItemList(list, before);
    list.MoveSelectedUp();
    QCOMPARE(dumpItemList(list), after);
}

void TstItemList::moveDown_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("run moves as a whole") << u"A B* C* D"_s << u"A D B* C*"_s;
    QTest::newRow("run at the bottom stays") << u"A D B* C*"_s << u"A D B* C*"_s;
    QTest::newRow("bottom entry blocks the one before") << u"A* B C*"_s << u"B A* C*"_s;
    QTest::newRow("separate runs") << u"A* B C* D"_s << u"B A* D C*"_s;
}

void TstItemList::moveDown()
{
    QFETCH(QString, before);
    QFETCH(QString, after);
    ItemList list;
    loadItemList(list, before);
    list.MoveSelectedDown();
    QCOMPARE(dumpItemList(list), after);
}

void TstItemList::deleteSelected_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("selects the entry above the topmost")
        << u"a b c* d* e f g h*"_s << u"a b* e f g"_s;
    QTest::newRow("top removed selects new first") << u"a* b* c d e"_s << u"c* d e"_s;
    QTest::newRow("all removed") << u"a* b*"_s << QString();
    QTest::newRow("nothing selected") << u"a b"_s << u"a b"_s;
}

void TstItemList::deleteSelected()
{
    QFETCH(QString, before);
    QFETCH(QString, after);
    ItemList list;
    loadItemList(list, before);
    list.DeleteSelectedItems();
    QCOMPARE(dumpItemList(list), after);
}

void TstItemList::drop_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("k");
    QTest::addColumn<bool>("inside");
    QTest::addColumn<QString>("after");
    QTest::newRow("block in front of A") << u"A B* C D* E"_s << 0 << true << u"B D A C E"_s;
    QTest::newRow("below the last entry") << u"A* B C"_s << -1 << true << u"B C A"_s;
    QTest::newRow("on a selected entry") << u"A B* C* D"_s << 2 << true << u"A B C D"_s;
    QTest::newRow("on the next entry") << u"A B* C"_s << 2 << true << u"A B C"_s;
    QTest::newRow("on D") << u"A B* C D"_s << 3 << true << u"A C B D"_s;
    QTest::newRow("outside the list") << u"A B* C"_s << -1 << false << u"A B* C"_s;
    QTest::newRow("nothing selected") << u"A B C"_s << 1 << true << u"A B C"_s;
}

void TstItemList::drop()
{
    QFETCH(QString, before);
    QFETCH(int, k);
    QFETCH(bool, inside);
    QFETCH(QString, after);
    ItemList list;
    loadItemList(list, before);
    list.DropSelected(k, inside);
    QCOMPARE(dumpItemList(list), after);
}

void TstItemList::addAtFocusEntry_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("focus");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("in front of the focus entry")
        << u"a b c d e"_s << 3 << u"メモ"_s
        << QStringList{u"a"_s, u"b"_s, u"c"_s, u"   メモ"_s, u"d"_s, u"e"_s};
    QTest::newRow("marker stays bare")
        << u"a"_s << -1 << u"●付録"_s << QStringList{u"a"_s, u"●付録"_s};
    QTest::newRow("leading space indents")
        << QString() << -1 << u" ●付録"_s << QStringList{u"    ●付録"_s};
    QTest::newRow("empty text adds nothing") << u"a"_s << 0 << QString() << QStringList{u"a"_s};
}

void TstItemList::addAtFocusEntry()
{
    QFETCH(QString, before);
    QFETCH(int, focus);
    QFETCH(QString, text);
    QFETCH(QStringList, after);
    ItemList list;
    loadItemList(list, before);
    list.setFocusEntry(focus);
    list.AddEntry(text);
    QCOMPARE(list.entries(), after);
    if (focus >= 0 && !text.isEmpty())
        QCOMPARE(list.focusEntry(), focus + 1); // the focus entry moved down with its entry
}

void TstItemList::keyTable_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("shift");
    QTest::addColumn<QString>("after");
    using K = ItemList::Key;
    QTest::newRow("Delete") << u"a b* c"_s << 0 << int(K::Delete) << false << u"a* c"_s;
    QTest::newRow("Up") << u"a b* c"_s << 0 << int(K::Up) << false << u"b* a c"_s;
    QTest::newRow("Down") << u"a b* c"_s << 0 << int(K::Down) << true << u"a c b*"_s;
    QTest::newRow("Shift+A") << u"a b c"_s << -1 << int(K::A) << true << u"a* b* c*"_s;
    QTest::newRow("A without Shift") << u"a b c"_s << -1 << int(K::A) << false << u"a b c"_s;
    QTest::newRow("Enter") << u"a b c"_s << 2 << int(K::Enter) << false << u"a b c*"_s;
    QTest::newRow("Enter without focus") << u"a b"_s << -1 << int(K::Enter) << false << u"a b"_s;
    QTest::newRow("Enter in empty list") << QString() << -1 << int(K::Enter) << false << QString();
    QTest::newRow("Escape") << u"a* b c*"_s << 1 << int(K::Escape) << false << u"a b c"_s;
    QTest::newRow("other") << u"a* b"_s << 1 << int(K::Other) << true << u"a* b"_s;
}

void TstItemList::keyTable()
{
    QFETCH(QString, before);
    QFETCH(int, focus);
    QFETCH(int, key);
    QFETCH(bool, shift);
    QFETCH(QString, after);
    ItemList list;
    loadItemList(list, before);
    list.setFocusEntry(focus);
    list.KeyDown(ItemList::Key(key), shift);
    QCOMPARE(dumpItemList(list), after);
}

void TstItemList::sharedOperationsUseAnchorsAndPresence()
{
    ItemList list;
    list.setEntries({u"●文頭の項目"_s, u"●本文内の項目"_s, u"x  "_s});
    list.InsertItemEntry(u"ソフト名"_s, u"●本文内の項目");
    list.InsertItemEntry(u"ソフト名"_s, u"●本文内の項目");
    list.InsertItemEntry(u"謝辞"_s, u"●文末の項目"); // no anchor: appended
    list.AppendItemEntry(u"x"_s);                    // present as "x  "
    QCOMPARE(list.entries(), (QStringList{u"●文頭の項目"_s, u"   ソフト名"_s, u"●本文内の項目"_s,
                                          u"x  "_s, u"   謝辞"_s}));
    QCOMPARE(list.FindItemEntry(u"x"), 3);
    list.appendEntry(u" x"_s);
    list.RemoveItemEntries(u"x");
    QCOMPARE(list.count(), 4);
    QCOMPARE(list.FindItemEntry(u"x"), -1);
}

void TstItemList::bulkOperationsNotifyTheViewOnce()
{
    ItemList list;
    QStringList entries;
    for (int i = 0; i < 1000; ++i)
        entries.append(QString::number(i));
    list.setEntries(entries);
    for (int i = 0; i < 1000; i += 2)
        list.setSelected(i, true);
    QSignalSpy data(&list, &QAbstractItemModel::dataChanged);
    QSignalSpy reset(&list, &QAbstractItemModel::modelReset);
    QSignalSpy rows(&list, &QAbstractItemModel::rowsRemoved);
    const auto notifications = [&] {
        const qsizetype n = data.count() + reset.count() + rows.count();
        data.clear();
        reset.clear();
        rows.clear();
        return n;
    };
    list.MoveSelectedDown();
    QCOMPARE(notifications(), 1);
    list.DropSelected(10, true);
    QCOMPARE(notifications(), 1);
    for (int i = 0; i < 1000; i += 2)
        list.setSelected(i, true);
    notifications();
    list.DeleteSelectedItems();
    QCOMPARE(notifications(), 1);
    QCOMPARE(list.count(), 500);
}

QTEST_GUILESS_MAIN(TstItemList)
#include "tst_itemlist.moc"
