// The main window driven as an author would: controls, list, editor, files that fight back.
#include "WindowFixture.h"
#include "platform/Cp932.h"
#include "readme/ReadmeComposer.h"
#include "ui/CheckDialog.h"
#include "ui/Controls.h"
#include "ui/Inventory.h"
#include "ui/ItemListView.h"
#include "ui/PreviewEdit.h"
#include "ui/Twips.h"

#include <QComboBox>
#include <QInputMethodEvent>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTreeWidget>
#include <csignal>
#include <optional>
#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

using namespace Qt::StringLiterals;
using namespace Items;
using Answer = Messages::Answer;
Q_DECLARE_METATYPE(Messages::Answer)

namespace {
// The control Tab goes to from w.
QString nextTabStop(QWidget *w)
{
    do
        w = w->nextInFocusChain();
    while (!(w->focusPolicy() & Qt::TabFocus) || w->objectName().isEmpty());
    return w->objectName();
}
} // namespace

class TstFrmMain : public WindowFixture {
    Q_OBJECT
private slots:
    void init();
    void layoutMenusAndTabOrder();
    void editsReachTheDocumentAndBack();
    void listGestures_data();
    void listGestures();
    void shortcutsWinInFields_data();
    void shortcutsWinInFields();
    void fileDialogsAndTheModifiedFlag();
    void readmeCommands();
    void unsavedChangesPrompt_data();
    void unsavedChangesPrompt();
    void listEditor_data();
    void listEditor();
    void captionsAndTheVersionMenuOpenTheirDialogs();
    void fileCommandFailures_data();
    void fileCommandFailures();
    void utf8ListFileIsReportedAndKept();
    void optionsChooseTheirStyle_data();
    void optionsChooseTheirStyle();
    void wrapChoiceAndTheWidthLine();
    void checkListGoesToItsLines();

private:
    ItemListView *view() { return get<ItemListView>(u"lstItem"_s); }
    QPoint at(int entry) { return view()->visualRect(doc()->items()->index(entry)).center(); }
};

void TstFrmMain::init()
{
    openWindow([](const TempAppDir &dir) {
        dir.writeLines(u"Writer.dat"_s, {u"Old"_s, u"Other"_s});
    });
}

void TstFrmMain::layoutMenusAndTabOrder()
{
    const auto pixels = [](int left, int top, int width, int height) { // given in twips
        return Twips::toPixels(QRect(left, top, width, height), Twips::logicalDpi());
    };
    QCOMPARE(m_w->windowTitle(), u"無題[*] - Quillet"_s);
    // Controls whose captions the font needs wider move the ones at their right.
    const QSize client = m_w->centralWidget()->size();
    QCOMPARE(client.height(), pixels(0, 0, 8805, 9855).height());
    QVERIFY(client.width() >= pixels(0, 0, 8805, 9855).width());
    QCOMPARE(get<QWidget>(u"cboHP"_s)->geometry(), pixels(1500, 8070, 2670, 300));
    const QRect list = get<QWidget>(u"lstItem"_s)->geometry();
    QCOMPARE(list.size(), pixels(6210, 3030, 2460, 6720).size());
    QCOMPARE(list.top(), pixels(6210, 3030, 2460, 6720).top());
    QCOMPARE(client.width() - list.right(), pixels(8670, 0, 8805 - 8670, 1).width() + 1);
    QCOMPARE(get<QAbstractButton>(u"optBracketsType(2)"_s)->text(), u"  <  >"_s);
    QVERIFY(!get<QAbstractButton>(u"chkBody(1)"_s)->isChecked());
    QVERIFY(!get<QWidget>(u"txtLineType"_s)->isEnabled());
    const QFontMetrics fm(get<QWidget>(u"txtPreView"_s)->font());
    QCOMPARE(fm.horizontalAdvance(u"あ"_s), 2 * fm.horizontalAdvance(u"a"_s)); // fixed pitch
    QCOMPARE(nextTabStop(get<QWidget>(u"cboHP"_s)), u"optLineType(0)"_s);
    QCOMPARE(nextTabStop(get<QWidget>(u"lstItem"_s)), u"txtPreView"_s);
    QCOMPARE(m_w->menuBar()->actions().at(1)->text(), u"編集(&E)"_s);
    QCOMPARE(m_w->menuBar()->actions().at(3)->text(), u"登録(&R)"_s);
    QCOMPARE(m_w->action(u"mnuPreReadme"_s)->shortcut(), QKeySequence(u"Ctrl+Q"_s));
    QCOMPARE(m_w->action(u"mnuRegist(7)"_s)->shortcut(), QKeySequence(u"Ctrl+H"_s));
}

void TstFrmMain::editsReachTheDocumentAndBack()
{
    ItemList *list = doc()->items();
    auto *name = get<QLineEdit>(u"txtSoftName"_s);
    QTest::keyClicks(name, u"Vi"_s);
    QCOMPARE(list->entry(list->findItemEntry(u"●本文内の項目") - 1), u"   ソフト名"_s);
    QTest::keyClicks(name, u"\b\b"_s);
    QCOMPARE(list->findItemEntry(u"ソフト名"), -1);
    auto *env = get<QComboBox>(u"cboEnvironment"_s);
    QTest::keyClicks(env->lineEdit(), u"Linux"_s);
    QVERIFY(doc()->fieldText(Environment) == u"Linux" && list->findItemEntry(u"動作環境") > 0);
    doc()->setFieldText(Environment, u"BSD"_s);
    QCOMPARE(env->currentText(), u"BSD"_s);
    QTest::keyClick(get<QWidget>(u"cboWriter"_s), Qt::Key_Down); // picks the next entry
    QCOMPARE(doc()->fieldText(Writer), u"Other"_s);
    auto *price = get<QLineEdit>(u"txtPrice"_s);
    QTest::keyClicks(price, u"\\1a,0-0.0 "_s);
    QInputMethodEvent ime(QString(), {});
    ime.setCommitString(u"１２3円"_s);
    QApplication::sendEvent(price, &ime);
    QCOMPARE(doc()->fieldText(Price), u"\\1,000 3"_s);
    QTest::keyClick(price, Qt::Key_Home);
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, u"\x7f"_s); // as X11 sends it
    QApplication::sendEvent(price, &del);
    QCOMPARE(doc()->fieldText(Price), u"1,000 3"_s); // editing keys are not filtered out
    // Text from the program is not filtered.
    doc()->setFieldText(Price, u"千円"_s);
    QCOMPARE(price->text(), u"千円"_s);
    const auto click = [this](const QString &name) {
        QWidget *w = get<QWidget>(name);
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(8, w->height() / 2));
    };
    click(u"chkBody(1)"_s);
    QVERIFY(doc()->bodyBox(1) == 1 && doc()->items()->findItemEntry(u"ファイルの説明") > 0);
    doc()->setBodyBox(1, 2);
    QCOMPARE(get<QCheckBox>(u"chkBody(1)"_s)->checkState(), Qt::PartiallyChecked);
    click(u"chkBody(1)"_s);
    QCOMPARE(doc()->bodyBox(1), 1); // grayed becomes checked
    click(u"chkBody(1)"_s);
    QCOMPARE(doc()->items()->findItemEntry(u"ファイルの説明"), -1);
    click(u"chkEndSentence"_s);
    auto *end = get<QCheckBox>(u"chkEnd(4)"_s);
    QVERIFY(end->checkState() == Qt::PartiallyChecked && !end->isEnabled());
    click(u"chkEndSentence"_s);
    QVERIFY(end->isEnabled());
    QCOMPARE(doc()->items()->entries().last(), u"   著作権"_s);
    click(u"optLineType(3)"_s);
    QVERIFY(doc()->lineStyle() == 3 && get<QWidget>(u"txtLineType"_s)->isEnabled());
    click(u"optBracketsType(1)"_s);
    QTest::mouseClick(get<QWidget>(u"Label5(1)"_s), Qt::LeftButton);
    QVERIFY(get<QAbstractButton>(u"optBracketsType(3)"_s)->isChecked());
    QVERIFY(get<QWidget>(u"txtBracketsType(0)"_s)->isEnabled());
    QTest::keyClicks(get<QWidget>(u"txtLineCount"_s), u"56"_s);
    QCOMPARE(doc()->widthText(), u"805"_s); // at most three characters
}

// Keys, or a mouse button pressed on entry 1 and released on an entry,
// "below" the last entry, at the list's right "edge" or "bottom", or
// "outside" it. The right button drags the selected entries; the left one
// toggles the entry it presses.
void TstFrmMain::listGestures_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("focus");
    QTest::addColumn<QString>("gesture");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("focusAfter"); // for the mouse, while its button is down
    QTest::newRow("Delete") << u"a b* c"_s << 2 << u"Del"_s << u"a* c"_s << 1;
    QTest::newRow("Up moves, then the focus") << u"a b* c"_s << 2 << u"Up"_s << u"b* a c"_s << 1;
    QTest::newRow("Down") << u"a* b c"_s << 0 << u"Down"_s << u"b a* c"_s << 1;
    QTest::newRow("Shift+A") << u"a b c"_s << 0 << u"Shift+A"_s << u"a* b* c*"_s << 0;
    QTest::newRow("Enter") << u"a b c"_s << 1 << u"Return"_s << u"a b* c"_s << 1;
    QTest::newRow("Escape") << u"a* b* c"_s << 1 << u"Esc"_s << u"a b c"_s << 1;
    QTest::newRow("Space toggles") << u"a b c"_s << 2 << u"Space"_s << u"a b c*"_s << 2;
    QTest::newRow("left click deselects") << u"A B* C"_s << 0 << u"left 1"_s << u"A B C"_s << 1;
    QTest::newRow("left drag never drops") << u"A B C*"_s << 2 << u"left 0"_s << u"A B* C*"_s << 0;
    QTest::newRow("drop on A") << u"A B* C D* E"_s << 4 << u"right 0"_s << u"B D A C E"_s << 0;
    QTest::newRow("drop below the end") << u"A* B C"_s << 0 << u"right below"_s << u"B C A"_s << 0;
    QTest::newRow("drop on a selected") << u"A B* C* D"_s << 0 << u"right 2"_s << u"A B C D"_s << 2;
    QTest::newRow("drop on the next") << u"A B* C"_s << 0 << u"right 2"_s << u"A B C"_s << 2;
    QTest::newRow("drop on D") << u"A B* C D"_s << 0 << u"right 3"_s << u"A C B D"_s << 3;
    QTest::newRow("drop outside") << u"A B* C"_s << 0 << u"right outside"_s << u"A B* C"_s << 1;
    QTest::newRow("right edge disarms") << u"A B* C"_s << 0 << u"right edge"_s << u"A B* C"_s << 0;
    QTest::newRow("bottom disarms") << u"A* B C"_s << 0 << u"right bottom"_s << u"A* B C"_s << 0;
    QTest::newRow("nothing selected") << u"A B C"_s << 2 << u"right 0"_s << u"A B C"_s << 0;
}

void TstFrmMain::listGestures()
{
    QFETCH(QString, before);
    QFETCH(int, focus);
    QFETCH(QString, gesture);
    QFETCH(QString, after);
    QFETCH(int, focusAfter);
    loadItemList(*doc()->items(), before);
    doc()->items()->setFocusEntry(focus);
    view()->setFocus();
    const QStringList words = gesture.split(u' ');
    if (words.size() == 1) {
        QTest::keySequence(view(), QKeySequence(gesture));
        QCOMPARE(doc()->items()->focusEntry(), focusAfter);
    } else {
        QWidget *vp = view()->viewport();
        const auto b = words[0] == u"left" ? Qt::LeftButton : Qt::RightButton;
        const QPoint start = at(1);
        const QPoint end = words[1] == u"below"     ? QPoint(start.x(), vp->height() - 30)
                           : words[1] == u"outside" ? QPoint(vp->width() + 40, start.y())
                           : words[1] == u"edge"    ? QPoint(vp->width() - 1, at(0).y())
                           : words[1] == u"bottom"  ? QPoint(start.x(), vp->height() - 1)
                                                    : at(words[1].toInt());
        sendMouse(vp, QEvent::MouseButtonPress, start, b, b);
        sendMouse(vp, QEvent::MouseMove, words[1] == u"outside" ? start : end, Qt::NoButton, b);
        const bool armed = b == Qt::RightButton && before.contains(u'*') && words[1] != u"edge" &&
                           words[1] != u"bottom";
        QCOMPARE(view()->dropArmed(), armed);
        QCOMPARE(vp->cursor().shape(), armed ? Qt::CrossCursor : Qt::ArrowCursor);
        QCOMPARE(doc()->items()->focusEntry(), focusAfter); // the focus follows the pointer
        sendMouse(vp, QEvent::MouseButtonRelease, end, b, Qt::NoButton);
        QVERIFY(!view()->dropArmed());
        QCOMPARE(vp->cursor().shape(), Qt::ArrowCursor);
    }
    QCOMPARE(dumpItemList(*doc()->items()), after);
}

void TstFrmMain::shortcutsWinInFields_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("action");
    for (const QString &f : {u"txtSoftName"_s, u"cboWriter"_s}) {
        QTest::addRow("%s Ctrl+C", qPrintable(f)) << f << int(Qt::Key_C) << u"mnuRegist(2)"_s;
        QTest::addRow("%s Ctrl+A", qPrintable(f)) << f << int(Qt::Key_A) << u"mnuRegist(5)"_s;
        QTest::addRow("%s Ctrl+P", qPrintable(f)) << f << int(Qt::Key_P) << u"mnuPreview"_s;
        QTest::addRow("%s Ctrl+X", qPrintable(f)) << f << int(Qt::Key_X) << u"mnuClose"_s;
    }
}

void TstFrmMain::shortcutsWinInFields()
{
    QFETCH(QString, field);
    QFETCH(int, key);
    QFETCH(QString, action);
    get<QWidget>(field)->setFocus();
    QTest::keyClicks(QApplication::focusWidget(), u"ab"_s);
    const int item = field == u"cboWriter" ? Writer : SoftName;
    const QString before = doc()->fieldText(item);
    QSignalSpy spy(m_w->action(action), &QAction::triggered);
    m_messages.answers = {Answer::Cancel}; // Ctrl+X keeps the window: the spy tells it ran
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::ControlModifier);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(doc()->fieldText(item), before); // not cut
}

void TstFrmMain::fileDialogsAndTheModifiedFlag()
{
    for (const char *name : {"mnuReadme", "mnuPreReadme", "mnuSave", "mnuOpen"})
        trigger(QString::fromLatin1(name)); // each dialog is cancelled
    QCOMPARE(m_dialogs.kinds, (QStringList{u"save"_s, u"save"_s, u"save"_s, u"open"_s}));
    const QList<FileDialogRequest> &r = m_dialogs.requests; // README twice, save, open
    QCOMPARE(r[1].filters.size(), 6);                       // four text files, Markdown, all files
    QVERIFY(r[1].filters[0].contains(u"シフトJIS"_s) && r[1].filters[4].contains(u"*.md"_s));
    QVERIFY(r[0].fileName == u"README.TXT" && r[0].defaultSuffix == u"txt");
    QVERIFY(r[2].fileName == u"readme.pwk" && r[2].defaultSuffix == u"pwk");
    QVERIFY(r[0].confirmOverwrite && r[2].confirmOverwrite && r[3].mustExist);
    QCOMPARE(r[3].filters, QStringList{u"データファイル(*.pwk)"_s});
    QVERIFY(r[0].directory == m_dir->path() && r[3].directory == m_dir->path());
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{u"Writer.dat"_s});
    auto *field = get<QLineEdit>(u"txtVersion"_s);
    QTest::keyClicks(field, u"1"_s);
    QVERIFY(m_w->isModified());
    QTest::keyClicks(field, u"\b"_s);
    QVERIFY(!m_w->isModified()); // the text is as it was
    QTest::keyClicks(field, u"2"_s);
    doc()->setBracketStyle(3);
    m_dialogs.answers = {path(u"d.pwk"_s), path(u"d.pwk"_s)};
    trigger(u"mnuSave"_s);
    trigger(u"mnuNew"_s); // saved: nothing to ask
    trigger(u"mnuOpen"_s);
    QVERIFY(doc()->fieldText(Version) == u"2" && doc()->bracketStyle() == 3);
    m_w->close();
    QVERIFY(m_messages.warnings.isEmpty() && m_messages.questions.isEmpty() && !m_w->isVisible());
}

void TstFrmMain::readmeCommands()
{
    m_dir->write(u"old.txt"_s, "previous\r\n");
    m_dialogs.answers = {path(u"empty.txt"_s), path(u"old.txt"_s), path(u"a"_s), path(u"b"_s)};
    trigger(u"mnuPreReadme"_s); // the preview was never filled
    QCOMPARE(m_dir->read(u"empty.txt"_s), QByteArray("\r\n"));
    doc()->setPreviewText(u"old"_s);
    doc()->setWidthText(u"x"_s);
    trigger(u"mnuPreview"_s);
    QVERIFY(doc()->previewText().isEmpty());
    doc()->setWidthText(u"-4"_s);
    trigger(u"mnuReadme"_s);
    QCOMPARE(m_dir->read(u"old.txt"_s), QByteArray("previous\r\n"));
    QCOMPARE(m_messages.warnings.size(), 2);
    QVERIFY(m_messages.warnings.at(0).contains(u"「x」"_s));
    QVERIFY(m_messages.warnings.at(1).contains(u"「-4」"_s));
    doc()->setWidthText(u"80"_s);
    trigger(u"mnuPreview"_s);
    auto *preview = get<QPlainTextEdit>(u"txtPreView"_s);
    preview->moveCursor(QTextCursor::Start);
    QTest::keyClicks(preview, u"Note "_s);
    m_messages.answers = {Answer::Discard, Answer::Discard}; // "Note" stands under no heading
    trigger(u"mnuPreReadme"_s);
    trigger(u"mnuReadme"_s);
    QCOMPARE(m_messages.questions.size(), 2);
    const QByteArray edited = m_dir->read(u"a"_s);
    QCOMPARE(edited, Cp932::encode(doc()->previewText() + u"\r\n"_s)); // the preview is kept
    QCOMPARE(m_dir->read(u"b"_s), edited.mid(5));                      // the same without "Note "
    m_dialogs.answers = {path(u"c.md"_s)};
    m_dialogs.filters = {ReadmeFile::filters().at(4)};
    m_messages.answers = {Answer::Discard};
    trigger(u"mnuPreReadme"_s); // Markdown is composed afresh
    QVERIFY(m_dir->read(u"c.md"_s).startsWith("| 項目 | 内容 |\n"));
}

void TstFrmMain::unsavedChangesPrompt_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<bool>("saveDialogAnswered");
    QTest::addColumn<bool>("goesOn");
    for (const QString &c : {u"mnuNew"_s, u"mnuOpen"_s, u"mnuClose"_s}) {
        QTest::addRow("%s save", qPrintable(c)) << c << Answer::Save << true << true;
        QTest::addRow("%s save, dialog cancelled", qPrintable(c))
            << c << Answer::Save << false << false;
        QTest::addRow("%s do not save", qPrintable(c)) << c << Answer::Discard << false << true;
        QTest::addRow("%s cancel", qPrintable(c)) << c << Answer::Cancel << false << false;
    }
}

void TstFrmMain::unsavedChangesPrompt()
{
    QFETCH(QString, command);
    QFETCH(Answer, answer);
    QFETCH(bool, saveDialogAnswered);
    QFETCH(bool, goesOn);
    m_dir->write(u"o.pwk"_s, "1:=   x:=opened\r\n");
    doc()->setFieldText(Version, u"1.0"_s);
    m_messages.answers = {answer};
    if (answer == Answer::Save)
        m_dialogs.answers.append(saveDialogAnswered ? path(u"saved.pwk"_s) : QString());
    m_dialogs.answers.append(path(u"o.pwk"_s)); // for Open
    trigger(command);
    QCOMPARE(m_messages.questions, QStringList{u"変更を保存しますか？"_s});
    QCOMPARE(QFile::exists(path(u"saved.pwk"_s)), answer == Answer::Save && saveDialogAnswered);
    QCOMPARE(command == u"mnuClose" ? !m_w->isVisible() : doc()->fieldText(Version).isEmpty(),
             goesOn);
}

void TstFrmMain::listEditor_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("button");    // 0 register, 2 clear all; then 終了
    QTest::addColumn<bool>("readOnly"); // the list cannot be saved: closed without saving
    QTest::addColumn<QString>("file");  // and the drop-down, line by line
    QTest::newRow("register") << u"New"_s << 0 << false << u"New\r\nOld\r\nOther\r\n"_s;
    QTest::newRow("clear all") << QString() << 2 << false << QString();
    QTest::newRow("read-only folder") << u"Lost"_s << 0 << true << u"Old\r\nOther\r\n"_s;
}

void TstFrmMain::listEditor()
{
    QFETCH(QString, typed);
    QFETCH(int, button);
    QFETCH(bool, readOnly);
    QFETCH(QString, file);
    std::optional<ReadOnlyDir> guard;
    if (readOnly)
        QUILLET_REQUIRE_READ_ONLY(guard.emplace(m_dir->path()));
    m_script = [&](QDialog &d) {
        auto *text = d.findChild<QLineEdit *>(u"txtRegist"_s);
        QCOMPARE(text->toolTip(), u"登録する著作権者を入力して下さい"_s);
        QCOMPARE(nextTabStop(text), u"cmdRegist(0)"_s);
        QVERIFY(!d.findChild<QWidget *>(u"cmdRegist(0)"_s)->isEnabled()); // nothing typed yet
        QTest::keyClicks(text, typed);
        for (int b : {button, 4})
            QTest::mouseClick(d.findChild<QWidget *>(u"cmdRegist(%1)"_s.arg(b)), Qt::LeftButton);
    };
    m_messages.answers = {Answer::Discard}; // close without saving
    trigger(u"mnuRegist(0)"_s);
    QCOMPARE(m_shown, QStringList{u"著作権者の登録"_s});
    QCOMPARE(m_dir->read(u"Writer.dat"_s), file.toLatin1());
    QCOMPARE(doc()->comboEntries(Writer), file.split(u"\r\n"_s, Qt::SkipEmptyParts));
    QCOMPARE(get<QComboBox>(u"cboWriter"_s)->currentText(), u"Old"_s); // the field stays
    QCOMPARE(m_messages.questions.size(), int(readOnly));
    QCOMPARE(m_messages.questions.filter(u"Writer.dat"_s).size(), int(readOnly));
}

void TstFrmMain::captionsAndTheVersionMenuOpenTheirDialogs()
{
    for (const QString &label : {u"Label1(13)"_s, u"Label1(1)"_s, u"Label1(11)"_s, u"Label1(5)"_s})
        QTest::mouseClick(get<QWidget>(label), Qt::LeftButton);
    // A registered field's caption opens its list; the others open nothing.
    QCOMPARE(m_shown, (QStringList{u"メールアドレスの登録"_s, u"著作権者の登録"_s}));
    m_shown.clear();
    QVERIFY(!QFile::exists(path(u"EMail.dat"_s))); // nothing to keep: no file
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        m_script = [key](QDialog &d) {
            QCOMPARE(d.findChild<QLabel *>(u"lblVersion"_s)->text(), u"Version 1.1"_s);
            QTest::keyClick(&d, key);
            QVERIFY(!d.isVisible());
        };
        trigger(u"mnuVersion"_s);
    }
    const QString about = u"ﾊﾞｰｼﾞｮﾝ情報 Quillet"_s;
    QCOMPARE(m_shown, (QStringList{about, about}));
}

// Each failure gives one message naming the file, no crash, and leaves the
// document and every file as they were.
void TstFrmMain::fileCommandFailures_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message"); // part of the warning
    const auto row = [](const char *command, const char *fault, const QString &message) {
        QTest::addRow("%s, %s", command, fault)
            << QString::fromLatin1(command) << QString::fromLatin1(fault) << message;
    };
    row("mnuOpen", "gone after the dialog", u"データを開けませんでした"_s);
    row("mnuOpen", "folder", u"フォルダーです"_s);
    row("mnuOpen", "100 MB", u"大きすぎます"_s);
    row("mnuOpen", "10 MB lines, the second malformed", u" 2 行目"_s);
    row("mnuSave", "folder", u"フォルダーです"_s);
    row("mnuSave", "read-only folder", u"データを保存できませんでした"_s);
    row("mnuSave", "full disk", u"データを保存できませんでした"_s);
    row("mnuReadme", "folder", u"フォルダーです"_s);
    row("mnuReadme", "read-only folder", u"README.TXTを書き込めません"_s);
    row("mnuReadme", "full disk", u"README.TXTを書き込めません"_s);
    row("mnuPreReadme", "read-only folder", u"README.TXTを書き込めません"_s);
}

void TstFrmMain::fileCommandFailures()
{
    QFETCH(QString, command);
    QFETCH(QString, fault);
    QFETCH(QString, message);
    const QString chosen = path(u"chosen"_s);
    const QByteArray longValue(10 * 1024 * 1024, 'v');
    const bool longLines = fault.startsWith(u"10 MB");
    if (fault == u"folder")
        QVERIFY(QDir(m_dir->path()).mkdir(u"chosen"_s));
    else if (fault != u"gone after the dialog")
        m_dir->write(u"chosen"_s, longLines ? "1:=   x:=" + longValue + "\r\n" + longValue + "\r\n"
                                            : QByteArray("previous\r\n"));
    if (fault == u"100 MB")
        QVERIFY(QFile::resize(chosen, 100LL * 1024 * 1024)); // sparse
    doc()->setFieldText(SoftName, u"kept"_s);
    doc()->items()->setEntries(QStringList(400, u"   見出し"_s)); // more than a full disk takes
    const auto onDisk = [&] { // the folder's entries and the chosen file's size
        return QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot)
               << QString::number(QFileInfo(chosen).size());
    };
    const QStringList before = onDisk();
    m_dialogs.answers = {chosen};
    m_messages.answers = {Answer::Discard, Answer::Proceed}; // Open: no save, open what reads
#ifdef Q_OS_UNIX
    rlimit size{};
    getrlimit(RLIMIT_FSIZE, &size);
    const rlimit fullDisk{4096, size.rlim_max}; // writes beyond fail with EFBIG
    std::signal(SIGXFSZ, SIG_IGN);
#else
    if (fault == u"full disk")
        QSKIP("no file size limit here to stand for a full disk");
#endif
    {
        std::optional<ReadOnlyDir> readOnly;
        if (fault == u"read-only folder")
            QUILLET_REQUIRE_READ_ONLY(readOnly.emplace(m_dir->path()));
#ifdef Q_OS_UNIX
        if (fault == u"full disk")
            setrlimit(RLIMIT_FSIZE, &fullDisk);
#endif
        trigger(command);
#ifdef Q_OS_UNIX
        setrlimit(RLIMIT_FSIZE, &size);
#endif
    }
    // A file that reads in part is asked about, everything else reported.
    QCOMPARE(m_messages.warnings.size(), longLines ? 0 : 1);
    const QString &warning = longLines ? m_messages.questions.last() : m_messages.warnings.first();
    QVERIFY2(warning.contains(QDir::toNativeSeparators(chosen)) && warning.contains(message),
             qPrintable(warning));
    QCOMPARE(onDisk(), before);
    QVERIFY(doc()->fieldText(SoftName) == (longLines ? QString::fromLatin1(longValue) : u"kept"_s));
    if (longLines) // the first line was read whole and composes
        QVERIFY(ReadmeComposer(doc()->project()).compose().ok());
}

void TstFrmMain::utf8ListFileIsReportedAndKept()
{
    const QByteArray utf8 = u"サンプル工房\nもう一つ\n"_s.toUtf8();
    m_dir->write(u"Writer.dat"_s, utf8);
    trigger(u"mnuRegist(0)"_s);
    QVERIFY2(m_messages.warnings.size() == 1, qPrintable(m_messages.warnings.join(u'|')));
    QVERIFY(m_messages.warnings.first().contains(u"Writer.dat"_s));
    QCOMPARE(m_dir->read(u"Writer.dat"_s), utf8); // closed unchanged: not rewritten
}

// 公開前チェック: the findings of the preview's README; a click puts the
// caret on the line, a rule silenced is gone and kept in the project.
void TstFrmMain::checkListGoesToItsLines()
{
    doc()->setWidthText(u"30"_s);
    doc()->items()->setEntries({u"●本文内の項目"_s, u"   使い方"_s});
    BodyTexts texts;
    texts.setUnder(u"使い方"_s, {u"短い行"_s, QString(20, u'あ') + u"\tb"_s});
    doc()->setTexts(texts);
    trigger(u"mnuCheck"_s);
    auto *dialog = m_w->findChild<CheckDialog *>(u"frmCheck"_s);
    QVERIFY(dialog && dialog->isVisible());
    auto *list = dialog->findChild<QTreeWidget *>(u"lstFindings"_s);
    QStringList rules;
    for (const ReleaseCheck::Finding &f : dialog->findings())
        rules.append(f.rule + u'@' + QString::number(f.line));
    QVERIFY2(rules.contains(u"too-wide@4"_s) && rules.contains(u"tab@4"_s),
             qPrintable(rules.join(u' ')));
    const qsizetype tab = rules.indexOf(u"tab@4"_s);
    list->setCurrentItem(list->topLevelItem(int(tab)));
    const QTextCursor caret = get<QPlainTextEdit>(u"txtPreView"_s)->textCursor();
    QCOMPARE(caret.blockNumber(), 3);
    QCOMPARE(caret.positionInBlock(), 20); // after 20 full-width characters: byte 41
    for (QPushButton *b : dialog->findChildren<QPushButton *>()) {
        if (b->text() == u"この規則を表示しない"_s)
            b->click();
    }
    QCOMPARE(doc()->silenced(), QStringList{u"tab"_s});
    QVERIFY(std::none_of(dialog->findings().begin(), dialog->findings().end(),
                         [](const ReleaseCheck::Finding &f) { return f.rule == u"tab"; }));
    m_w->undo();
    QVERIFY(doc()->silenced().isEmpty());
}

// 折り返し in the 作成 menu: the preview shows it at once, what the author
// typed there survives, one undo puts it back; the width line follows 文字数.
void TstFrmMain::wrapChoiceAndTheWidthLine()
{
    auto *preview = get<PreviewEdit>(u"txtPreView"_s);
    get<QLineEdit>(u"txtLineCount"_s)->clear();
    QTest::keyClicks(get<QLineEdit>(u"txtLineCount"_s), u"20"_s);
    QCOMPARE(preview->rulerColumn(), 20);
    QVERIFY(preview->rulerX() > 0);
    doc()->items()->setEntries({u"●本文内の項目"_s, u"   使い方"_s});
    BodyTexts texts;
    texts.setUnder(u"使い方"_s, {u"あいうえおかきくけこさしすせそ。"_s});
    doc()->setTexts(texts);
    trigger(u"mnuPreview"_s);
    QVERIFY(preview->toPlainText().contains(u"あいうえおかきくけこさしすせそ。"_s));
    QVERIFY(preview->find(u"そ。"_s));
    preview->insertPlainText(u"そ。たち"_s); // typed, not taken in yet
    QVERIFY(!get<QAction>(u"mnuWrapPush"_s)->isChecked());
    trigger(u"mnuWrapPush"_s);
    QCOMPARE(doc()->wrap(), Project::Wrap::Push);
    QVERIFY(get<QAction>(u"mnuWrapPush"_s)->isChecked());
    QVERIFY(preview->toPlainText().contains(u"あいうえおかきくけこ\nさしすせそ。たち"_s));
    QCOMPARE(doc()->texts().under(u"使い方"_s),
             QStringList{u"あいうえおかきくけこさしすせそ。たち"_s});
    m_w->undo();
    QCOMPARE(doc()->wrap(), Project::Wrap::Off);
    QVERIFY(get<QAction>(u"mnuWrapOff"_s)->isChecked());
    doc()->setWidthText(u"x"_s);
    QCOMPARE(preview->rulerX(), -1);
}

QTEST_MAIN(TstFrmMain)
// Each option stands for its style: the first is chosen in a new window, a
// click chooses its own, and a style set by the program shows on its option.
void TstFrmMain::optionsChooseTheirStyle_data()
{
    QTest::addColumn<QString>("array");
    QTest::addColumn<bool>("brackets");
    QTest::newRow("separator lines") << u"optLineType"_s << false;
    QTest::newRow("brackets") << u"optBracketsType"_s << true;
}

void TstFrmMain::optionsChooseTheirStyle()
{
    QFETCH(QString, array);
    QFETCH(bool, brackets);
    const auto option = [&](int i) { return get<QRadioButton>(Inventory::element(array, i)); };
    const auto style = [&] { return brackets ? doc()->bracketStyle() : doc()->lineStyle(); };
    for (int i = 0; i < 4; ++i)
        QCOMPARE(option(i)->isChecked(), i == 0);
    for (int i : {2, 3, 1, 0}) {
        QTest::mouseClick(option(i), Qt::LeftButton, {}, QPoint(6, option(i)->height() / 2));
        QCOMPARE(style(), i);
    }
    brackets ? doc()->setBracketStyle(2) : doc()->setLineStyle(2);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(option(i)->isChecked(), i == 2);
}

#include "tst_frmmain.moc"
