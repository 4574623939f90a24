// Everyday paths that used to lose typed work, driven as an author would;
// each checks what the author sees and what is on disk.
#include "WindowFixture.h"
#include "datafile/DataFileWriter.h"
#include "itemlist/ItemList.h"
#include "platform/Cp932.h"
#include "ui/ItemListView.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <optional>

using namespace Qt::StringLiterals;
using namespace Items;
using Answer = Messages::Answer;

class TstLostWork : public WindowFixture {
    Q_OBJECT
private slots:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }
    void unkeptTextIsAskedFor_data();
    void unkeptTextIsAskedFor();
    void listEditorLeavesTheFieldAlone_data();
    void listEditorLeavesTheFieldAlone();
    void openGivesBackWhatWasSaved_data();
    void openGivesBackWhatWasSaved();
    void openOverAChangedWindow();
    void unreadableListIsNeverWritten();
    void failedListSaveKeepsTheDialogOpen();
    void tabIntoTheListSelectsNothing();
    void busyPointerIsOffForMessages();
    void lostDragReleaseDoesNotDrop();
    void previewTextStaysUnderItsHeading();
    void importedReadmeIsAnUnsavedProject();
    void undoAndRedoFromTheEditMenu();
    void unlistedTextIsShownOnceAfterOpen_data();
    void unlistedTextIsShownOnceAfterOpen();
    void recoveryIsOfferedAtStart_data();
    void recoveryIsOfferedAtStart();
};

// Hand edits in the preview and a heading typed but not added survive every
// way of leaving the document until the author says they may go.
void TstLostWork::unkeptTextIsAskedFor_data()
{
    QTest::addColumn<QString>("where");   // what holds the unkept text
    QTest::addColumn<QString>("command"); // how the author leaves
    for (const QString &where : {u"preview"_s, u"txtAdd"_s})
        for (const QString &command : {u"Ctrl+X"_s, u"mnuNew"_s, u"mnuOpen"_s, u"close"_s})
            QTest::addRow("%s %s", qPrintable(where), qPrintable(command)) << where << command;
}

void TstLostWork::unkeptTextIsAskedFor()
{
    QFETCH(QString, where);
    QFETCH(QString, command);
    QWidget *field = nullptr;
    if (where == u"preview") {
        trigger(u"mnuPreview"_s);
        field = get<QPlainTextEdit>(u"txtPreView"_s);
    } else {
        field = get<QLineEdit>(u"txtAdd"_s);
    }
    field->setFocus();
    type(field, u"私の文章"_s);
    const QString preview = doc()->previewText();
    m_messages.answers = {Answer::Cancel};
    if (command == u"close")
        QVERIFY(!m_w->close());
    else if (command.startsWith(u"Ctrl"))
        press(QKeySequence(command));
    else
        trigger(command);

    QCOMPARE(m_messages.questions.size(), 1);
    QVERIFY(m_w->isVisible());
    QVERIFY(m_dialogs.requests.isEmpty()); // Open asked before its dialog
    QCOMPARE(doc()->previewText(), preview);
    QCOMPARE(doc()->addText(), where == u"txtAdd" ? u"私の文章"_s : QString());

    m_messages.answers = {Answer::Discard};
    QVERIFY(m_w->close());
}

// An editor closed without changes leaves the field, its drop-down and the
// list as they were; a changed list refills the drop-down and keeps the text.
void TstLostWork::listEditorLeavesTheFieldAlone_data()
{
    QTest::addColumn<QString>("keys"); // Ctrl+A: the address list, Ctrl+C: the confirmation list
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("registered"); // "" closes without a change
    QTest::newRow("Ctrl+A unchanged") << u"Ctrl+A"_s << u"私の住所"_s << QString();
    QTest::newRow("Ctrl+C unchanged") << u"Ctrl+C"_s << u"Windows 11"_s << QString();
    QTest::newRow("Ctrl+A changed") << u"Ctrl+A"_s << u"私の住所"_s << u"支社"_s;
    QTest::newRow("changed, empty field shows the first entry")
        << u"Ctrl+A"_s << QString() << u"支社"_s;
}

void TstLostWork::listEditorLeavesTheFieldAlone()
{
    QFETCH(QString, keys);
    QFETCH(QString, typed);
    QFETCH(QString, registered);
    const bool address = keys == u"Ctrl+A";
    const int item = address ? Address : Confirmation;
    const QString fileName = address ? u"Address.dat"_s : u"Confirmation.dat"_s;
    const QString text = typed.isEmpty() ? registered : typed; // the field afterwards
    m_dir->writeLines(fileName, {u"本社"_s});
    m_messages.answers = {Answer::Discard}; // the fresh window is not asked about
    trigger(u"mnuNew"_s);
    auto *combo =
        m_w->findChild<QComboBox *>(QString::fromUtf16(Inventory::kFieldObjectNames[item]));
    combo->setFocus();
    combo->lineEdit()->selectAll();
    if (typed.isEmpty())
        QTest::keyClick(combo->lineEdit(), Qt::Key_Delete);
    else
        type(combo->lineEdit(), typed);
    // The author moved the entry to the top of the list.
    ItemList *list = doc()->items();
    const int at = list->findItemEntry(doc()->itemName(item));
    if (at > 0) {
        list->setSelected(at, true);
        while (!list->isSelected(0))
            list->moveSelectedUp();
        list->clearSelection();
    }
    const QStringList entries = list->entries();
    const QByteArray fileBefore = m_dir->read(fileName);
    m_script = [&](QDialog &d) {
        if (!registered.isEmpty())
            registerEntry(d, registered);
    };
    combo->setFocus();
    press(QKeySequence(keys));

    QCOMPARE(combo->currentText(), text);
    QCOMPARE(doc()->fieldText(item), text);
    const QStringList drop =
        registered.isEmpty() ? QStringList{u"本社"_s} : QStringList{registered, u"本社"_s};
    QCOMPARE(doc()->comboEntries(item), drop);
    QCOMPARE(combo->count(), drop.size());
    if (registered.isEmpty()) {
        QCOMPARE(list->entries(), entries);
        QCOMPARE(m_dir->read(fileName), fileBefore);
    } else if (!typed.isEmpty()) {
        QCOMPARE(list->entries(), entries); // the entry keeps its place
    }
}

// Save, then Open on a fresh window: the same list, values, styles and
// check boxes, whatever state the window was in.
void TstLostWork::openGivesBackWhatWasSaved_data()
{
    QTest::addColumn<QString>("state");
    QTest::newRow("end section off") << u"chkEndSentence"_s;
    QTest::newRow("a body heading off and one on") << u"chkBody"_s;
    QTest::newRow("an end line off") << u"chkEnd(2)"_s;
}

void TstLostWork::openGivesBackWhatWasSaved()
{
    QFETCH(QString, state);
    if (state == u"chkBody") {
        doc()->setBodyBox(0, 0);
        doc()->setBodyBox(1, 1);
    } else if (state == u"chkEnd(2)") {
        doc()->setEndBox(2, 0);
    } else {
        doc()->setEndSection(0);
    }
    const QStringList saved = DataFileWriter::lines(doc()->project());
    m_dialogs.answers = {path(u"a.pwk"_s)};
    QVERIFY(m_w->saveDocument());
    const Project before = doc()->project();
    const int endSection = doc()->endSection();
    m_w->newDocument(); // as a freshly started window
    openFile(path(u"a.pwk"_s));
    const Project after = doc()->project();
    QCOMPARE(DataFileWriter::lines(after), saved); // every entry, value and listed box
    QCOMPARE(after.values, before.values);
    QCOMPARE(doc()->endSection(), endSection);
    QVERIFY(m_messages.warnings.isEmpty());
}

// Opening over a window whose check boxes differ gives the file's document:
// one end marker, every line once, boxes that agree with the list, and the
// README the file stands for.
void TstLostWork::openOverAChangedWindow()
{
    m_dir->writeLines(u"Writer.dat"_s, {u"Old Works"_s, u"Other"_s});
    QTest::mouseClick(get<QWidget>(u"chkEndSentence"_s), Qt::LeftButton);
    QCOMPARE(doc()->endSection(), 0);
    m_messages.answers = {Answer::Discard}; // 保存しない
    openFile(testDataPath(u"sample.pwk"_s));
    const QStringList entries = doc()->items()->entries();
    QCOMPARE(entries.count(u"●文末の項目"_s), 1);
    QCOMPARE(entries.count(u"   著作権"_s), 1);
    for (int i = 0; i < kBodyCount; ++i)
        QCOMPARE(doc()->bodyBox(i) != 0,
                 doc()->items()->findItemEntry(doc()->itemName(FirstBody + i)) >= 0);
    QCOMPARE(doc()->endBox(1), 0); // 連絡先(文末) is not listed
    QCOMPARE(doc()->endBox(4), 1);
    // The drop-downs are refilled as at start-up; the texts are the file's.
    QCOMPARE(get<QComboBox>(u"cboWriter"_s)->count(), 2);
    QCOMPARE(get<QComboBox>(u"cboWriter"_s)->currentText(), QString());
    QCOMPARE(get<QComboBox>(u"cboRprinting"_s)->count(), 4);
    QCOMPARE(get<QComboBox>(u"cboRprinting"_s)->currentText(), u"可"_s);
    QVERIFY(!m_w->isModified());
    m_dialogs.answers = {path(u"README.TXT"_s)};
    trigger(u"mnuReadme"_s);
    QCOMPARE(m_dir->read(u"README.TXT"_s), readFileBytes(testDataPath(u"sample_README.TXT"_s)));
    // A crafted grayed end switch gives one marker too.
    m_dir->writeLines(u"gray.pwk"_s, {u"23:=●文末の項目:=2"_s, u"@@@680"_s});
    openFile(path(u"gray.pwk"_s));
    QCOMPARE(doc()->items()->entries(), QStringList{u"●文末の項目"_s});
    QCOMPARE(doc()->endSection(), 2);
}

void TstLostWork::unreadableListIsNeverWritten()
{
    QFile big(path(u"Writer.dat"_s));
    QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(65 * 1024 * 1024)); // sparse
    big.close();
    bool closed = false;
    m_script = [&closed](QDialog &d) {
        registerEntry(d, u"New"_s);
        d.close();
        closed = !d.isVisible();
    };
    m_messages.answers = {Answer::Discard}; // 保存せずに閉じる
    trigger(u"mnuRegist(0)"_s);
    QVERIFY(closed);
    QCOMPARE(m_messages.warnings.size(), 1);
    QVERIFY(m_messages.warnings.first().contains(u"読めません"_s));
    QCOMPARE(m_messages.questions.size(), 1);
    QCOMPARE(QFileInfo(path(u"Writer.dat"_s)).size(), 65 * 1024 * 1024);
}

void TstLostWork::failedListSaveKeepsTheDialogOpen()
{
    std::optional<ReadOnlyDir> guard(std::in_place, m_dir->path());
    QUILLET_REQUIRE_READ_ONLY(*guard);
    bool stayedOpen = false;
    m_script = [&](QDialog &d) {
        registerEntry(d, u"New"_s);
        m_messages.answers = {Answer::Cancel}; // stay and keep the edits
        d.close();
        stayedOpen = d.isVisible() && d.findChild<QListWidget *>()->count() == 1;
        guard.reset();
        m_messages.answers = {Answer::Retry};
        d.close();
    };
    trigger(u"mnuRegist(0)"_s);
    QVERIFY(stayedOpen);
    QCOMPARE(m_messages.questions.size(), 1); // the retry went through
    QCOMPARE(m_dir->read(u"Writer.dat"_s), QByteArray("New\r\n"));
    QCOMPARE(doc()->comboEntries(Writer), QStringList{u"New"_s});
}

void TstLostWork::tabIntoTheListSelectsNothing()
{
    m_dir->writeLines(u"Writer.dat"_s, {u"A"_s, u"B"_s});
    m_script = [](QDialog &d) {
        auto *list = d.findChild<QListWidget *>(u"lstRegist"_s);
        QFocusEvent tab(QEvent::FocusIn, Qt::TabFocusReason); // what Tab brings
        QApplication::sendEvent(list, &tab);
        QVERIFY(list->currentIndex().isValid());
        QVERIFY(!d.findChild<QPushButton *>(u"cmdRegist(1)"_s)->isEnabled());
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(list->count(), 2);
    };
    trigger(u"mnuRegist(0)"_s);
    QCOMPARE(m_dir->read(u"Writer.dat"_s), QByteArray("A\r\nB\r\n"));
}

void TstLostWork::busyPointerIsOffForMessages()
{
    m_dialogs.answers = {m_dir->path()}; // a folder: the write fails
    trigger(u"mnuReadme"_s);
    doc()->setWidthText(u"x"_s); // the composition fails
    trigger(u"mnuPreview"_s);
    QCOMPARE(m_messages.busy, (QList<bool>{false, false}));
}

void TstLostWork::lostDragReleaseDoesNotDrop()
{
    ItemList *list = doc()->items();
    auto *view = get<ItemListView>(u"lstItem"_s);
    QWidget *vp = view->viewport();
    loadItemList(*list, u"A B* C D"_s);
    const auto at = [&](int row) { return view->visualRect(list->index(row)).center(); };
    sendMouse(vp, QEvent::MouseButtonPress, at(1), Qt::RightButton, Qt::RightButton);
    sendMouse(vp, QEvent::MouseMove, at(2), Qt::NoButton, Qt::RightButton);
    QVERIFY(view->dropArmed()); // and the release never comes
    sendMouse(vp, QEvent::MouseButtonPress, at(3), Qt::LeftButton, Qt::LeftButton);
    sendMouse(vp, QEvent::MouseButtonRelease, at(3), Qt::LeftButton, Qt::NoButton);
    QCOMPARE(dumpItemList(*list), u"A B* C D*"_s);
    QVERIFY(!view->dropArmed());
}

// Text written under a heading in the preview survives composing again,
// saving and opening; a heading line the author removed is asked about.
void TstLostWork::previewTextStaysUnderItsHeading()
{
    trigger(u"mnuPreview"_s);
    auto *preview = get<QPlainTextEdit>(u"txtPreView"_s);
    QTextCursor at = preview->document()->find(u"ソフト紹介"_s);
    at.movePosition(QTextCursor::EndOfLine);
    preview->setTextCursor(at);
    preview->setFocus();
    QTest::keyClick(preview, Qt::Key_Return);
    type(preview, u"私の紹介文"_s);
    press(QKeySequence(u"Ctrl+P"_s));
    const QString kept = u"ソフト紹介   】\r\n私の紹介文\r\n"_s;
    QVERIFY(doc()->previewText().contains(kept));
    m_dialogs.answers = {path(u"t.pwk"_s)};
    press(QKeySequence(u"Ctrl+S"_s));
    trigger(u"mnuNew"_s);
    openFile(path(u"t.pwk"_s));
    QVERIFY(doc()->previewText().isEmpty()); // nothing to take from
    trigger(u"mnuPreview"_s);
    QVERIFY(doc()->previewText().contains(kept));

    at = preview->document()->find(u"ソフト紹介"_s);
    at.select(QTextCursor::LineUnderCursor);
    preview->setTextCursor(at);
    QTest::keyClick(preview, Qt::Key_Delete);
    const QString edited = doc()->previewText();
    m_messages.answers = {Answer::Cancel};
    press(QKeySequence(u"Ctrl+P"_s));
    QCOMPARE(m_messages.questions.size(), 1);
    QVERIFY(m_messages.questions.at(0).contains(u"私の紹介文"_s));
    QCOMPARE(doc()->previewText(), edited);
    QVERIFY(m_messages.warnings.isEmpty());
}

// An import gives a project not yet saved: a README Quillet composed comes
// back whole and quietly, another one with a report of what became what.
void TstLostWork::importedReadmeIsAnUnsavedProject()
{
    const QByteArray bytes = readFileBytes(testDataPath(u"texts/README.TXT"_s));
    m_dir->write(u"R.TXT"_s, bytes);
    m_dir->write(u"F.TXT"_s, Cp932::encode(u"【名称】 Foo\r\n■概要\r\nabc\r\n"_s));
    m_dialogs.answers = {path(u"R.TXT"_s), path(u"F.TXT"_s)};
    trigger(u"mnuImport"_s);
    QCOMPARE(Cp932::encode(composed(*doc())), bytes);
    QVERIFY(m_w->isModified() && m_messages.warnings.isEmpty());
    m_messages.answers = {Answer::Discard}; // the imported project is not saved
    trigger(u"mnuImport"_s);
    QCOMPARE(doc()->fieldText(SoftName), u"Foo"_s);
    QCOMPARE(doc()->texts().under(u"ソフト紹介"_s), QStringList{u"abc"_s});
    QCOMPARE(m_messages.warnings.size(), 1);
    QVERIFY(m_messages.warnings.at(0).contains(u"ソフト名"_s));
}

// Typing is one step per field, named in the menu; undo and redo walk the
// steps back and forth; the preview keeps its own undo.
void TstLostWork::undoAndRedoFromTheEditMenu()
{
    QAction *undo = m_w->action(u"mnuUndo"_s);
    QAction *redo = m_w->action(u"mnuRedo"_s);
    QVERIFY(!undo->isEnabled() && !redo->isEnabled());
    doc()->items()->setSelected(0, true); // a selection is no step
    QCoreApplication::processEvents();
    QVERIFY(!undo->isEnabled());
    auto *name = get<QLineEdit>(u"txtSoftName"_s);
    name->setFocus();
    type(name, u"サンプル"_s);
    QTest::mouseClick(get<QWidget>(u"chkBody(0)"_s), Qt::LeftButton); // the focus moves
    QCoreApplication::processEvents();
    QCOMPARE(undo->text(), u"元に戻す: 「ソフト紹介」のチェック"_s);
    const QStringList entries = doc()->items()->entries();

    name->setFocus();
    press(QKeySequence(u"Ctrl+Z"_s));
    QCOMPARE(doc()->bodyBox(0), 1);
    QCOMPARE(undo->text(), u"元に戻す: 「ソフト名」の入力"_s);
    press(QKeySequence(u"Ctrl+Z"_s));
    QCOMPARE(name->text(), QString());
    QCOMPARE(doc()->items()->findItemEntry(u"ソフト名"_s), -1);
    QVERIFY(!undo->isEnabled());
    press(QKeySequence(u"Ctrl+Y"_s));
    press(QKeySequence(u"Ctrl+Shift+Z"_s));
    QCOMPARE(name->text(), u"サンプル"_s);
    QCOMPARE(doc()->items()->entries(), entries);
    QVERIFY(!redo->isEnabled());

    trigger(u"mnuPreview"_s);
    auto *preview = get<QPlainTextEdit>(u"txtPreView"_s);
    preview->setFocus();
    type(preview, u"手書き"_s);
    press(QKeySequence(u"Ctrl+Z"_s));
    QVERIFY(!preview->toPlainText().contains(u"手書き"_s));
    QCOMPARE(name->text(), u"サンプル"_s); // not the project's undo
}

// A text whose heading left the list is not kept silently: Open shows it
// once; dropping it is a change that undo takes back.
void TstLostWork::unlistedTextIsShownOnceAfterOpen_data()
{
    QTest::addColumn<bool>("drop");
    QTest::newRow("kept (Enter)") << false;
    QTest::newRow("dropped") << true;
}

void TstLostWork::unlistedTextIsShownOnceAfterOpen()
{
    QFETCH(bool, drop);
    BodyTexts texts;
    texts.setUnder(u"ソフト紹介"_s, {u"紹介文"_s});
    doc()->setTexts(texts);
    doc()->setBodyBox(0, 0); // the heading leaves the list, its text stays
    m_dialogs.answers = {path(u"t.pwk"_s)};
    trigger(u"mnuSave"_s);
    m_messages.pressEnter = true;
    if (drop)
        m_messages.answers = {Answer::Discard};
    openFile(path(u"t.pwk"_s));
    QCOMPARE(m_messages.questions.size(), 1);
    QVERIFY(m_messages.questions.first().contains(u"「ソフト紹介」"_s));
    QCOMPARE(doc()->texts().under(u"ソフト紹介"_s).isEmpty(), drop);
    QCOMPARE(m_w->isModified(), drop);
    if (drop) {
        trigger(u"mnuUndo"_s);
        QCOMPARE(doc()->texts().under(u"ソフト紹介"_s), QStringList{u"紹介文"_s});
    }
}

QTEST_MAIN(TstLostWork)
// A recovery file a crashed session left is offered once the window is up:
// restored as it was (modified, with its file name), discarded, or kept for
// later; one that cannot be read is set aside with a message, never deleted.
void TstLostWork::recoveryIsOfferedAtStart_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<Answer>>("answers");
    QTest::addColumn<QString>("softName");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("left"); // the recovery folder's files after
    Project p;
    p.entries = {u"   ソフト名"_s};
    p.values[SoftName] = u"復元したい"_s;
    const QByteArray bytes = RecoveryStore::encode({u"/作者/p.pwk"_s, p, QString()});
    const QStringList orphan{u"1-1.recovery"_s};
    QTest::newRow("restore (Enter)")
        << bytes << QList<Answer>{} << u"復元したい"_s << u"p.pwk[*] - Quillet"_s << QStringList{};
    QTest::newRow("discard") << bytes << QList<Answer>{Answer::Discard} << QString()
                             << u"無題[*] - Quillet"_s << QStringList{};
    QTest::newRow("later (closed)")
        << bytes << QList<Answer>{Answer::Cancel} << QString() << u"無題[*] - Quillet"_s << orphan;
    QTest::newRow("unreadable") << bytes.left(40) << QList<Answer>{} << QString()
                                << u"無題[*] - Quillet"_s
                                << QStringList{u"1-1.recovery.unreadable"_s};
}

void TstLostWork::recoveryIsOfferedAtStart()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<Answer>, answers);
    QFETCH(QString, softName);
    QFETCH(QString, title);
    QFETCH(QStringList, left);
    QVERIFY(QDir().mkpath(path(u"recovery"_s)));
    m_dir->write(u"recovery/1-1.recovery"_s, bytes);
    m_messages.answers = answers;
    m_messages.pressEnter = true;
    m_w->startRecovery(path(u"recovery"_s));
    QCOMPARE(m_messages.questions.size() + m_messages.warnings.size(), 1);
    QCOMPARE(get<QLineEdit>(u"txtSoftName"_s)->text(), softName);
    QCOMPARE(m_w->windowTitle(), title);
    QCOMPARE(m_w->isWindowModified(), !softName.isEmpty());
    QStringList files = QDir(path(u"recovery"_s)).entryList({u"1-1*"_s}, QDir::Files);
    QCOMPARE(files, left);
}

#include "tst_lostwork.moc"
