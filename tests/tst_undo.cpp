// Undo and redo over the document: what a step holds, how it is named, and
// that undoing every step gives back the start and redoing gives the end.
#include "TestSupport.h"
#include "datafile/DataFileWriter.h"
#include "project/Entry.h"
#include "session/UndoHistory.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace Items;

namespace {
// Runs one author's command, given as "verb:argument:argument".
void run(Document &doc, UndoHistory &history, const QString &command)
{
    const QStringList p = command.split(u':');
    const QString &verb = p.at(0);
    ItemList *list = doc.items();
    const auto select = [&](const QString &name) {
        list->clearSelection();
        list->setSelected(list->findItemEntry(name), true);
    };
    if (verb == u"type") { // one keystroke at a time, as the field sends it
        for (qsizetype n = 1; n <= p.at(2).size(); ++n) {
            doc.setFieldText(p.at(1).toInt(), p.at(2).left(n));
            history.record(doc.project());
        }
        return;
    }
    if (verb == u"seal")
        history.seal();
    else if (verb == u"box")
        doc.setBodyBox(p.at(1).toInt(), p.at(2).toInt());
    else if (verb == u"up" || verb == u"delete") {
        select(p.at(1));
        verb == u"up" ? list->moveSelectedUp() : list->deleteSelected();
    } else if (verb == u"width")
        doc.setWidthText(p.at(1));
    else if (verb == u"text") {
        BodyTexts t = doc.texts();
        t.setUnder(p.at(1), {p.at(2)});
        doc.setTexts(t);
    } else if (verb == u"add") {
        doc.setAddText(p.at(1));
        doc.addTypedHeading();
    } else if (verb == u"undo") {
        doc.restore(history.undo());
        return;
    } else if (verb == u"redo") {
        doc.restore(history.redo());
        return;
    }
    history.record(doc.project());
}
} // namespace

class TstUndo : public QObject {
    Q_OBJECT
private slots:
    void stepsUndoAndRedo_data();
    void stepsUndoAndRedo();
    void deletedHeadingTakesItsText();
};

void TstUndo::stepsUndoAndRedo_data()
{
    QTest::addColumn<QString>("script"); // commands, "|" between
    QTest::addColumn<int>("steps");
    QTest::addColumn<QString>("undoName");
    QTest::addColumn<bool>("canRedo");
    QTest::newRow("typing in a field is one step")
        << u"type:1:Foo"_s << 1 << u"「ソフト名」の入力"_s << false;
    QTest::newRow("a sealed field starts a new step")
        << u"type:1:Foo|seal|type:1:Foo2"_s << 2 << u"「ソフト名」の入力"_s << false;
    QTest::newRow("two fields are two steps")
        << u"type:1:Foo|type:2:1.0"_s << 2 << u"「バージョン」の入力"_s << false;
    QTest::newRow("a box and the entry it removes")
        << u"box:0:0"_s << 1 << u"「ソフト紹介」のチェック"_s << false;
    QTest::newRow("a move") << u"up:インストール"_s << 1 << u"「インストール」の移動"_s << false;
    QTest::newRow("a delete") << u"delete:謝辞"_s << 1 << u"「謝辞」の削除"_s << false;
    QTest::newRow("the width typed") << u"width:4|width:40"_s << 1 << u"文字数の変更"_s << false;
    QTest::newRow("a text") << u"text:謝辞:ありがとう"_s << 1 << u"文章の変更"_s << false;
    QTest::newRow("nothing changed, no step") << u"width:80|box:0:1"_s << 0 << QString() << false;
    QTest::newRow("undone, then redone")
        << u"type:1:Foo|up:謝辞|undo|undo|redo"_s << 2 << u"「ソフト名」の入力"_s << true;
    QTest::newRow("a change after undo drops the redo")
        << u"type:1:Foo|up:謝辞|undo|width:40"_s << 2 << u"文字数の変更"_s << false;
    QTest::newRow("a field of the author's added")
        << u"add:開発環境：VC++"_s << 1 << u"「開発環境」の追加"_s << false;
    QTest::newRow("and its value edited")
        << u"add:開発環境：VC++|add:開発環境：GCC"_s << 2 << u"「開発環境」の入力"_s << false;
    QTest::newRow("typing after undo is a new step")
        << u"type:1:Foo|undo|type:1:Bar"_s << 1 << u"「ソフト名」の入力"_s << false;
}

void TstUndo::stepsUndoAndRedo()
{
    QFETCH(QString, script);
    QFETCH(int, steps);
    QFETCH(QString, undoName);
    QFETCH(bool, canRedo);
    TempAppDir dir;
    Document doc;
    doc.initialize(EntryLists::readAll());
    UndoHistory history;
    history.reset(doc.project());
    const QString start = DataFileWriter::text(doc.project());
    for (const QString &command : script.split(u'|'))
        run(doc, history, command);
    QCOMPARE(history.size(), steps);
    QCOMPARE(history.undoName(), undoName);
    QCOMPARE(history.canRedo(), canRedo);

    while (history.canRedo())
        doc.restore(history.redo());
    const QString end = DataFileWriter::text(doc.project());
    while (history.canUndo())
        doc.restore(history.undo());
    QCOMPARE(DataFileWriter::text(doc.project()), start);
    while (history.canRedo())
        doc.restore(history.redo());
    QCOMPARE(DataFileWriter::text(doc.project()), end);
}

// Deleting a heading deletes its text; undo brings both back. A heading
// the list still holds keeps its text.
void TstUndo::deletedHeadingTakesItsText()
{
    TempAppDir dir;
    Document doc;
    doc.initialize(EntryLists::readAll());
    UndoHistory history;
    history.reset(doc.project());
    ItemList *list = doc.items();
    list->appendEntry(u"   謝辞"_s); // listed twice
    run(doc, history, u"text:謝辞:ありがとう"_s);
    run(doc, history, u"text:注意事項:気をつけて"_s);
    run(doc, history, u"delete:注意事項"_s);
    run(doc, history, u"delete:謝辞"_s);
    QCOMPARE(doc.texts().under(u"注意事項"_s), QStringList());
    QCOMPARE(doc.texts().under(u"謝辞"_s), QStringList{u"ありがとう"_s});
    doc.restore(history.undo());
    doc.restore(history.undo());
    QCOMPARE(doc.texts().under(u"注意事項"_s), QStringList{u"気をつけて"_s});
    QVERIFY(list->findItemEntry(u"注意事項"_s) >= 0);
}

QTEST_GUILESS_MAIN(TstUndo)
#include "tst_undo.moc"
