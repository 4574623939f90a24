// The item list and the document rules that keep it in step with the
// fields and check boxes.
#include "TestSupport.h"
#include "document/Document.h"
#include "readme/ReadmeComposer.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace Items;

namespace {
// Runs a key ("Shift+A") or a drop ("drop 2", "drop end", "drop outside").
void act(ItemList &list, const QString &action)
{
    if (action.startsWith(u"drop ")) {
        const QString at = action.mid(5);
        list.dropSelected(at.front().isDigit() ? at.toInt() : -1, at != u"outside");
        return;
    }
    using K = ItemList::Key;
    static const QHash<QString, K> keys{
        {u"Delete"_s, K::Delete}, {u"Up"_s, K::Up},         {u"Down"_s, K::Down},  {u"A"_s, K::A},
        {u"Enter"_s, K::Enter},   {u"Escape"_s, K::Escape}, {u"Other"_s, K::Other}};
    list.handleKey(keys.value(QString(action).remove(u"Shift+"_s)), action.startsWith(u"Shift+"));
}

// Entries written as words: a marker as it is, an item indented.
QStringList listed(const QString &words)
{
    QStringList entries;
    for (const QString &w : words.split(u' '))
        entries.append(w.startsWith(u'●') ? w : u"   "_s + w);
    return entries;
}

const QString kBody = u"●本文内の項目 ソフト紹介 インストール アンインストール 注意事項 謝辞 "_s;
const QString kEnd =
    u"●文末の項目 著作権者(文末) 連絡先(文末) メールアドレス(文末) ホームページ(文末) 著作権"_s;
const QStringList kStartList = listed(u"●文頭の項目 転載の可否 "_s + kBody + kEnd);

// A document started up in an empty application directory.
struct Started : TempAppDir {
    Document doc;
    ItemList &list = *doc.items();
    Started() { doc.initialize(EntryLists::readAll()); }
};
} // namespace

class TstDocument : public QObject {
    Q_OBJECT
private slots:
    void operations_data();
    void operations();
    void insertions();
    void newStartsOverAndRereadsTheLists();
    void fieldsListAndUnlistTheirItems();
    void applyFields_data();
    void applyFields();
    void priceTakesDigitsAndSeparatorsOnly();
    void checkBoxes();
    void addBoxTakesAFieldOfTheAuthors_data();
    void addBoxTakesAFieldOfTheAuthors();
};

// Up, Down and Delete are the list's move and delete commands.
void TstDocument::operations_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("after");
    QTest::newRow("up: a run moves whole") << u"A B* C* D"_s << u"Up"_s << u"B* C* A D"_s;
    QTest::newRow("up: a run at the top stays") << u"B* C* A D"_s << u"Up"_s << u"B* C* A D"_s;
    QTest::newRow("down: a run moves whole") << u"A B* C* D"_s << u"Shift+Down"_s << u"A D B* C*"_s;
    QTest::newRow("down: a run at the end stays") << u"A D B* C*"_s << u"Down"_s << u"A D B* C*"_s;
    // Deleting selects the entry above the topmost deleted one, or the new first.
    QTest::newRow("delete") << u"a b c* d* e f g h*"_s << u"Delete"_s << u"a b* e f g"_s;
    QTest::newRow("delete at the top") << u"a* b* c d e"_s << u"Delete"_s << u"c* d e"_s;
    QTest::newRow("delete all") << u"a* b*"_s << u"Delete"_s << QString();
    QTest::newRow("delete without selection") << u"a b"_s << u"Delete"_s << u"a b"_s;
    QTest::newRow("Shift+A") << u"a b c"_s << u"Shift+A"_s << u"a* b* c*"_s;
    QTest::newRow("A without Shift") << u"a b c"_s << u"A"_s << u"a b c"_s;
    QTest::newRow("Enter") << u"a b c"_s << u"Enter@0"_s << u"a* b c"_s;
    QTest::newRow("Escape") << u"a* b c*"_s << u"Escape@1"_s << u"a b c"_s;
    QTest::newRow("other") << u"a* b"_s << u"Shift+Other"_s << u"a* b"_s;
    QTest::newRow("drop in front of A") << u"A B* C D* E"_s << u"drop 0"_s << u"B D A C E"_s;
    QTest::newRow("drop below the last") << u"A* B C"_s << u"drop end"_s << u"B C A"_s;
    QTest::newRow("drop on a selected entry") << u"A B* C* D"_s << u"drop 2"_s << u"A B C D"_s;
    QTest::newRow("drop further down") << u"A B* C D"_s << u"drop 3"_s << u"A C B D"_s;
    QTest::newRow("drop outside the list") << u"A B* C"_s << u"drop outside"_s << u"A B* C"_s;
    QTest::newRow("drop without selection") << u"A B C"_s << u"drop 1"_s << u"A B C"_s;
}

void TstDocument::operations()
{
    QFETCH(QString, before);
    QFETCH(QString, action); // "@2": entry 2 is the focus entry
    QFETCH(QString, after);
    ItemList list;
    loadItemList(list, before);
    list.setFocusEntry(action.contains(u'@') ? action.section(u'@', 1).toInt() : -1);
    QSignalSpy data(&list, &QAbstractItemModel::dataChanged);
    QSignalSpy reset(&list, &QAbstractItemModel::modelReset);
    act(list, action.section(u'@', 0, 0));
    QCOMPARE(dumpItemList(list), after);
    // One notification per change: one per entry would make the view crawl.
    QCOMPARE(data.count() + reset.count(), after == before ? 0 : 1);
    for (const QList<QVariant> &change : data) // and it covers only real entries
        QVERIFY(change.at(1).toModelIndex().isValid());
}

void TstDocument::insertions()
{
    ItemList list;
    loadItemList(list, u"a b c"_s);
    list.setFocusEntry(1);
    QSignalSpy inserted(&list, &QAbstractItemModel::rowsInserted);
    list.addHeading(u"メモ"_s);    // in front of the focus entry
    list.addHeading(QString());    // adds nothing
    QCOMPARE(inserted.count(), 1); // the view is told of the row, once
    QCOMPARE(inserted.first().at(1).toInt(), 1);
    QCOMPARE(list.focusEntry(), 2);        // the focus entry moved down with its entry
    for (int outside : {-2, list.count()}) // a focus outside the list is refused
        list.setFocusEntry(outside);
    QCOMPARE(list.focusEntry(), 2);
    QVERIFY(!list.data(QModelIndex()).isValid());
    list.setFocusEntry(-1);
    list.addHeading(u"●付録"_s); // a marker stays bare
    list.addHeading(u" x"_s);    // a leading space indents further
    QCOMPARE(list.entries(),
             (QStringList{u"a"_s, u"   メモ"_s, u"b"_s, u"c"_s, u"●付録"_s, u"    x"_s}));
    // The shared operations of the fields and check boxes.
    list.setEntries({u"●本文内の項目"_s, u"x  "_s});
    list.insertItemEntry(u"ソフト名"_s, u"●本文内の項目");
    list.insertItemEntry(u"ソフト名"_s, u"●本文内の項目"); // listed: not again
    list.insertItemEntry(u"謝辞"_s, u"●文末の項目");       // no anchor: appended
    list.appendItemEntry(u"x"_s);                          // listed as "x  "
    QCOMPARE(list.entries(),
             (QStringList{u"   ソフト名"_s, u"●本文内の項目"_s, u"x  "_s, u"   謝辞"_s}));
    list.appendEntry(u" x"_s);
    list.removeItemEntries(u"x"); // every entry of the name
    QCOMPARE(list.entries(), listed(u"ソフト名 ●本文内の項目 謝辞"_s));
    // Only the ASCII space is trimmed, and only at the ends.
    list.setEntries({u"　謝辞"_s, u"\t謝辞"_s, u"   謝辞s"_s, u"謝 辞"_s, u"謝辞  "_s});
    QCOMPARE(list.findItemEntry(u"謝辞"), 4);
}

void TstDocument::newStartsOverAndRereadsTheLists()
{
    Started s;
    s.doc.setFieldText(SoftName, u"Viewer"_s);
    s.doc.setFieldText(Price, u"100"_s);
    s.doc.setBodyBox(1, 1);
    s.doc.setEndSection(0);
    s.doc.setLineStyle(3);
    s.doc.chooseFreeBrackets();
    QCOMPARE(s.doc.bracketStyle(), 3);
    QVERIFY(s.doc.lineTextEnabled() && s.doc.bracketTextEnabled(1));
    s.doc.setLineText(u"*"_s);
    s.doc.setPreviewText(u"old"_s);
    s.writeLines(u"Dll.dat"_s, {u"a.dll"_s});
    s.doc.reset(EntryLists::readAll());
    QCOMPARE(s.list.entries(), listed(u"●文頭の項目 必要ファイル 転載の可否 "_s + kBody + kEnd));
    QCOMPARE(s.doc.fieldText(Dll), u"a.dll"_s);
    QCOMPARE(s.doc.fieldText(Reprinting), u"可"_s);
    QCOMPARE(s.doc.comboEntries(Reprinting).size(), 4); // the presets, not twice
    QVERIFY(s.doc.fieldText(SoftName).isEmpty() && s.doc.fieldText(Price).isEmpty());
    QVERIFY(s.doc.previewText().isEmpty());
    QVERIFY(s.doc.lineText().isEmpty() && s.doc.widthText() == u"80");
    QCOMPARE(s.doc.lineStyle() + s.doc.bracketStyle(), 0);
    QVERIFY(!s.doc.lineTextEnabled() && !s.doc.bracketTextEnabled(0));
    for (int i = 0; i < kEndCount; ++i)
        QVERIFY(s.doc.endBox(i) == 1 && s.doc.endBoxEnabled(i));
}

void TstDocument::fieldsListAndUnlistTheirItems()
{
    TempAppDir dir;
    dir.writeLines(u"Writer.dat"_s, {u"Sample Works"_s, u"Other"_s});
    dir.writeLines(u"Environment.dat"_s, {u"   "_s}); // spaces count as text
    dir.writeLines(u"SoftClass.dat"_s, {u"フリーウェア"_s});
    Document doc;
    ItemList &list = *doc.items();
    doc.setFieldText(Writer, u"early"_s); // a combo box does not sync before start-up ends
    QCOMPARE(list.count(), 0);
    doc.initialize(EntryLists::readAll()); // fields listed in index order
    QCOMPARE(doc.fieldText(Writer), u"Sample Works"_s);
    QCOMPARE(doc.comboEntries(Writer), (QStringList{u"Sample Works"_s, u"Other"_s}));
    QCOMPARE(list.entries().mid(0, 6),
             listed(u"●文頭の項目 著作権者 動作環境 転載の可否 ソフトの種別 ●本文内の項目"_s));
    doc.setFieldText(Writer, QString());
    doc.setFieldText(SoftName, u"S"_s);
    doc.setFieldText(Version, u"1"_s);
    doc.setFieldText(Writer, u"late"_s); // typed items go in front of the body marker
    QCOMPARE(
        list.entries().mid(1, 7),
        listed(u"動作環境 転載の可否 ソフトの種別 ソフト名 バージョン 著作権者 ●本文内の項目"_s));
    doc.setFieldText(SoftName, QString());
    QCOMPARE(list.findItemEntry(u"ソフト名"), -1);
    list.removeItemEntries(u"ソフトの種別"); // text unchanged, item gone
    doc.pickComboEntry(SoftClass, 0);
    QCOMPARE(list.findItemEntry(u"ソフトの種別"), 5);
    doc.setAddText(u"ソフト名"_s);
    doc.addTypedHeading(); // the author's own entry stands for the item
    doc.setFieldText(SoftName, u"x"_s);
    QCOMPARE(list.findItemEntry(u"ソフト名"), list.count() - 1);
}

void TstDocument::applyFields_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("state"); // itemValue after a gather
    QTest::newRow("combo text without list entry") << +Reprinting << u"不可"_s << true << u"不可"_s;
    QTest::newRow("body check state 2") << +FirstBody << u"2"_s << true << u"2"_s;
    QTest::newRow("end section state 0") << +EndMarker << u"0"_s << true << u"0"_s;
    QTest::newRow("end line state 2") << +FirstEnd << u" 2"_s << true << u"2"_s;
    QTest::newRow("state 3") << +LastBody << u"3"_s << false << u"0"_s;
    QTest::newRow("state -1") << +EndMarker << u"-1"_s << false << u"1"_s;
    QTest::newRow("state x") << +LastEnd << u"x"_s << false << u"1"_s;
    QTest::newRow("body marker ignored") << +BodyMarker << u"1"_s << true << QString();
}

void TstDocument::applyFields()
{
    QFETCH(int, index);
    QFETCH(QString, value);
    QFETCH(bool, ok);
    QFETCH(QString, state);
    Started s;
    const auto r = s.doc.applyStoredValue(index, value);
    QCOMPARE(r.ok(), ok);
    QCOMPARE(r.reason().isEmpty(), ok);
    QCOMPARE(s.doc.itemValue(index), state);
    if (!ok || state.isEmpty())
        QCOMPARE(s.list.entries(), kStartList);
}

void TstDocument::priceTakesDigitsAndSeparatorsOnly()
{
    Document doc; // and a drop-down entry that is not there picks nothing
    doc.initialize(EntryLists::readAll());
    for (int entry : {-1, 4})
        doc.pickComboEntry(Reprinting, entry);
    QCOMPARE(doc.fieldText(Reprinting), u"可"_s);
    // The yen sign is what the backslash key types on a Japanese keyboard.
    for (QChar c : u"0123456789, \\¥\b"_s)
        QVERIFY2(Document::priceKeyAccepted(c), qPrintable(QString(c)));
    for (QChar c : u"a-.１円"_s)
        QVERIFY2(!Document::priceKeyAccepted(c), qPrintable(QString(c)));
}

void TstDocument::checkBoxes()
{
    Started s;
    s.doc.setBodyBox(4, 0);
    s.doc.setBodyBox(4, 1); // a body heading goes in front of the end marker
    QCOMPARE(s.list.entries().mid(6, 3), listed(u"謝辞 注意事項 ●文末の項目"_s));
    s.doc.setEndBox(0, 0);
    s.doc.setEndBox(0, 1); // an end line goes to the end
    QCOMPARE(s.list.entries().last(), listed(u"著作権者(文末)"_s).first());
    s.doc.setEndBox(1, 0);
    s.list.appendEntry(u"●文末の項目"_s); // a second marker
    s.doc.setEndSection(0);
    QCOMPARE(s.list.entries().mid(5),
             listed(u"アンインストール 謝辞 注意事項"_s)); // no end marker, no end line
    for (int i = 0; i < kEndCount; ++i)
        QVERIFY(s.doc.endBox(i) == 2 && !s.doc.endBoxEnabled(i));
    s.doc.setEndBox(0, 1);  // a system change while off adds nothing
    s.doc.setBodyBox(6, 1); // no end marker: appended
    QCOMPARE(s.list.entries().last(), listed(u"バージョン履歴"_s).first());
    s.doc.setBodyBox(6, 0);
    s.doc.setEndBox(0, 2);
    s.doc.setEndSection(1);
    QCOMPARE(s.list.entries().mid(8), listed(kEnd)); // the whole section again
    s.list.appendEntry(u"x"_s);
    s.doc.setEndSection(2); // grayed counts as on, but the value changed: appends again
    QCOMPARE(s.list.entries().at(kStartList.size() + 1), u"●文末の項目"_s);
    s.doc.clearValues(); // empties the form but leaves the check boxes
    QVERIFY(s.list.count() == 0 && s.doc.widthText().isEmpty() && s.doc.endSection() == 2);
}

// 「名前：値」 in the add box is a header field of the author's own, composed
// as a field line; deleting it takes its value along. Anything else is a heading.
void TstDocument::addBoxTakesAFieldOfTheAuthors_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("line");
    QTest::newRow("name and value") << u"開発環境：VC++"_s << u"【    開発環境    】　　VC++"_s;
    QTest::newRow("no value") << u"開発環境："_s << u"【   開発環境：   】"_s;
    QTest::newRow("an item's name") << u"ソフト名：Foo"_s << u"【 ソフト名：Foo  】"_s;
    QTest::newRow("a plain heading") << u"注意事項"_s << u"【    注意事項    】"_s;
}

void TstDocument::addBoxTakesAFieldOfTheAuthors()
{
    QFETCH(QString, typed);
    QFETCH(QString, line);
    Document doc;
    doc.initialize();
    const int marker = int(doc.items()->entries().indexOf(Items::names()[BodyMarker]));
    doc.items()->setFocusEntry(marker); // the author clicked the body's marker
    doc.setAddText(typed);
    doc.addTypedHeading();
    QVERIFY(!doc.hasUnaddedText());
    const QString readme = ReadmeComposer(doc.project()).compose().value();
    QVERIFY2(readme.contains(line + u"\r\n"_s), qPrintable(readme));
    // A field of the author's typed again with another value: the value
    // changes, the list stays.
    if (const QStringList entries = doc.items()->entries(); !doc.ownValues().isEmpty()) {
        doc.setAddText(typed + u"2"_s);
        doc.addTypedHeading();
        QCOMPARE(doc.items()->entries(), entries);
        QVERIFY(doc.ownValues().begin().value().endsWith(u'2'));
    }
    doc.items()->clearSelection();
    doc.items()->setSelected(marker, true); // the new entry stands there now
    doc.items()->deleteSelected();
    QVERIFY(doc.ownValues().isEmpty());
}

QTEST_GUILESS_MAIN(TstDocument)
#include "tst_document.moc"
