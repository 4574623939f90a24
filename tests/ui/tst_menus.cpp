#include "QueuedServices.h"
#include "TestSupport.h"
#include "platform/Cp932.h"
#include "ui/FrmMain.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace Items;

class TstMenus : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void menuItems_data();
    void menuItems();
    void shortcutsWinInFields_data();
    void shortcutsWinInFields();
    void ctrlXInATextFieldClosesTheWindow();
    void previewShowsComposition();
    void previewFailureLeavesItEmptyAndSaysWhy();
    void readmeFromCompositionAndItsDialog();
    void readmeFromEditedPreview();
    void readmeFromNeverFilledPreview();
    void cancelWritesNothing();
    void writeFailureKeepsOldReadme();
    void compositionFailureKeepsOldReadme();
    void saveThenOpenRoundTrip();
    void openOfMalformedFileTellsTheLine();
    void openOfUnreadableFileKeepsTheWindow();
    void unsavedChangesPrompt_data();
    void unsavedChangesPrompt();
    void noPromptAfterAnEditIsUndone();

private:
    std::unique_ptr<TempAppDir> m_dir;
    std::unique_ptr<FrmMain> m_w;
    QueuedDialogs m_dialogs;
    QueuedMessages m_messages;
    Document *doc() const { return m_w->document(); }
    template <typename T> T *get(const QString &name) { return m_w->findChild<T *>(name); }
    QString path(const QString &name) const { return m_dir->filePath(name); }
};

void TstMenus::init()
{
    m_dir = std::make_unique<TempAppDir>();
    m_dialogs = {};
    m_messages = {};
    m_w = std::make_unique<FrmMain>();
    m_w->setServices(&m_dialogs, &m_messages);
    m_w->setDialogRunner([](QDialog &d) { d.close(); });
    m_w->show();
    m_w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_w.get()));
}

void TstMenus::cleanup()
{
    m_w.reset();
    m_dir.reset();
}

void TstMenus::menuItems_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shortcut");
    const auto row = [](const char *n, const QString &c, const char *k) {
        QTest::newRow(n) << QString::fromLatin1(n) << c << QString::fromLatin1(k);
    };
    row("mnuNew", u"新規作成"_s, "Ctrl+N");
    row("mnuOpen", u"データを開く"_s, "Ctrl+O");
    row("mnuSave", u"データの保存"_s, "Ctrl+S");
    row("mnuClose", u"閉じる"_s, "Ctrl+X");
    row("mnuPreview", u"プレビューの表示"_s, "Ctrl+P");
    row("mnuPreReadme", u"プレビューを使ってREADME.TXTの作成"_s, "Ctrl+Q");
    row("mnuReadme", u"README.TXTの作成"_s, "Ctrl+R");
    row("mnuRegist(0)", u"著作権者の登録"_s, "Ctrl+W");
    row("mnuRegist(1)", u"動作環境の登録"_s, "Ctrl+E");
    row("mnuRegist(2)", u"動作確認の登録"_s, "Ctrl+C");
    row("mnuRegist(3)", u"必要ファイルの登録"_s, "Ctrl+D");
    row("mnuRegist(4)", u"ソフトの種別の登録"_s, "Ctrl+U");
    row("mnuRegist(5)", u"連絡先の登録"_s, "Ctrl+A");
    row("mnuRegist(6)", u"メールアドレスの登録"_s, "Ctrl+M");
    row("mnuRegist(7)", u"ホームページアドレスの登録"_s, "Ctrl+H");
    row("mnuVersion", u"バージョン情報(&V)"_s, "");
}

void TstMenus::menuItems()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, shortcut);
    QAction *a = m_w->action(name);
    QVERIFY(a);
    QCOMPARE(a->text(), caption);
    QCOMPARE(a->shortcut(), QKeySequence(shortcut));
    QStringList titles;
    for (QAction *top : m_w->menuBar()->actions())
        titles.append(top->text());
    QCOMPARE(titles, (QStringList{u"ファイル(&F)"_s, u"作成(&S)"_s, u"登録(&R)"_s,
                                  u"バージョン情報(&V)"_s}));
}

void TstMenus::shortcutsWinInFields_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("action");
    for (const char *field : {"txtSoftName", "cboWriter"}) {
        const QString f = QString::fromLatin1(field);
        QTest::addRow("%s Ctrl+C", field) << f << int(Qt::Key_C) << u"mnuRegist(2)"_s;
        QTest::addRow("%s Ctrl+A", field) << f << int(Qt::Key_A) << u"mnuRegist(5)"_s;
        QTest::addRow("%s Ctrl+P", field) << f << int(Qt::Key_P) << u"mnuPreview"_s;
        QTest::addRow("%s Ctrl+X", field) << f << int(Qt::Key_X) << u"mnuClose"_s;
    }
}

void TstMenus::shortcutsWinInFields()
{
    QFETCH(QString, field);
    QFETCH(int, key);
    QFETCH(QString, action);
    QWidget *w = get<QWidget>(field);
    w->setFocus();
    QVERIFY(QTest::qWaitForWindowActive(m_w.get()));
    QTest::keyClicks(QApplication::focusWidget(), u"ab"_s);
    const QString before = doc()->fieldText(field == u"cboWriter" ? Writer : SoftName);
    QAction *a = m_w->action(action);
    QSignalSpy spy(a, &QAction::triggered);
    // Keep the window open for Ctrl+X: the spy alone tells that it ran.
    m_messages.answers = {2};
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::ControlModifier);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(doc()->fieldText(field == u"cboWriter" ? Writer : SoftName), before); // not cut
}

void TstMenus::ctrlXInATextFieldClosesTheWindow()
{
    get<QLineEdit>(u"txtVersion"_s)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_X, Qt::ControlModifier);
    QVERIFY(!m_w->isVisible()); // nothing was changed, so nothing is asked
    QVERIFY(m_messages.questions.isEmpty());
}

void TstMenus::previewShowsComposition()
{
    doc()->setFieldText(SoftName, u"Viewer"_s);
    m_w->action(u"mnuPreview"_s)->trigger();
    QVERIFY(doc()->previewText().contains(u"\r\n【    ソフト名    】\u3000\u3000Viewer\r\n"_s));
    QCOMPARE(get<QPlainTextEdit>(u"txtPreView"_s)->toPlainText(),
             QString(doc()->previewText()).replace(u"\r\n"_s, u"\n"_s));
    QVERIFY(m_messages.warnings.isEmpty());
}

void TstMenus::previewFailureLeavesItEmptyAndSaysWhy()
{
    doc()->setPreviewText(u"old"_s);
    doc()->setTxtLineCount(u"x"_s);
    m_w->action(u"mnuPreview"_s)->trigger();
    QVERIFY(doc()->previewText().isEmpty());
    QCOMPARE(m_messages.warnings.size(), 1);
    QVERIFY(m_messages.warnings.first().contains(u"「x」"_s));
    QVERIFY(m_w->isVisible());
}

void TstMenus::readmeFromCompositionAndItsDialog()
{
    m_dialogs.answers = {path(u"README.TXT"_s)};
    doc()->setPreviewText(u"edited"_s);
    m_w->action(u"mnuReadme"_s)->trigger();
    const FileDialogRequest &r = m_dialogs.requests.first();
    QCOMPARE(m_dialogs.kinds.first(), u"save"_s);
    QCOMPARE(r.title, u"名前を付けて保存"_s);
    QCOMPARE(r.filters, (QStringList{u"テキストファイル(*.txt)"_s, u"すべてのファイル(*.*)"_s}));
    QCOMPARE(r.defaultSuffix, u"txt"_s);
    QCOMPARE(r.directory, m_dir->path());
    QCOMPARE(r.fileName, u"README.TXT"_s);
    QVERIFY(r.confirmOverwrite);
    const QByteArray file = m_dir->read(u"README.TXT"_s);
    QVERIFY(file.endsWith("\r\n\r\n"));
    QVERIFY(file.contains(Cp932::encode(u"【   ソフト紹介   】\r\n"_s)));
    QCOMPARE(doc()->previewText(), u"edited"_s); // the preview is left alone
}

void TstMenus::readmeFromEditedPreview()
{
    m_w->action(u"mnuPreview"_s)->trigger();
    auto *preview = get<QPlainTextEdit>(u"txtPreView"_s);
    preview->moveCursor(QTextCursor::Start);
    QTest::keyClicks(preview, u"Note "_s);
    m_dialogs.answers = {path(u"a.txt"_s), path(u"b.txt"_s)};
    m_w->action(u"mnuPreReadme"_s)->trigger();
    m_w->action(u"mnuReadme"_s)->trigger();
    const QByteArray edited = m_dir->read(u"a.txt"_s);
    QVERIFY(edited.startsWith(Cp932::encode(u"Note "_s)));
    QCOMPARE(edited, Cp932::encode(doc()->previewText() + u"\r\n"_s));
    QCOMPARE(m_dir->read(u"b.txt"_s), edited.mid(Cp932::encode(u"Note "_s).size()));
}

void TstMenus::readmeFromNeverFilledPreview()
{
    m_dialogs.answers = {path(u"README.TXT"_s)};
    m_w->action(u"mnuPreReadme"_s)->trigger();
    QCOMPARE(m_dir->read(u"README.TXT"_s), QByteArray("\r\n"));
}

void TstMenus::cancelWritesNothing()
{
    for (const char *name : {"mnuReadme", "mnuPreReadme", "mnuSave", "mnuOpen"})
        m_w->action(QString::fromLatin1(name))->trigger();
    QCOMPARE(m_dialogs.requests.size(), 4);
    QVERIFY(QDir(m_dir->path()).entryList(QDir::Files).isEmpty());
    QVERIFY(m_messages.warnings.isEmpty() && m_messages.questions.isEmpty());
}

void TstMenus::writeFailureKeepsOldReadme()
{
    m_dir->write(u"README.TXT"_s, "previous README\r\n");
    ReadOnlyDir guard(m_dir->path());
    QVERIFY(guard.effective());
    m_dialogs.answers = {path(u"README.TXT"_s), path(u"README.TXT"_s)};
    m_w->action(u"mnuReadme"_s)->trigger();
    m_w->action(u"mnuPreReadme"_s)->trigger();
    QCOMPARE(m_messages.warnings.size(), 2);
    QVERIFY(m_messages.warnings.first().startsWith(
        u"README.TXTを書き込めませんでした: "_s + QDir::toNativeSeparators(path(u"README.TXT"_s))));
    QCOMPARE(m_dir->read(u"README.TXT"_s), QByteArray("previous README\r\n"));
}

void TstMenus::compositionFailureKeepsOldReadme()
{
    m_dir->write(u"README.TXT"_s, "previous README\r\n");
    doc()->setTxtLineCount(u"-4"_s);
    m_dialogs.answers = {path(u"README.TXT"_s)};
    m_w->action(u"mnuReadme"_s)->trigger();
    QCOMPARE(m_messages.warnings.size(), 1);
    QCOMPARE(m_dir->read(u"README.TXT"_s), QByteArray("previous README\r\n"));
}

void TstMenus::saveThenOpenRoundTrip()
{
    doc()->setFieldText(SoftName, u"Viewer"_s);
    doc()->setFieldText(Writer, u"Works"_s);
    doc()->setChkBody(6, 1);
    doc()->setOptBracketsType(3);
    doc()->setTxtBracketsType(0, u"■"_s);
    const QStringList entries = doc()->items()->entries();
    m_dialogs.answers = {path(u"d.pwk"_s)};
    m_w->action(u"mnuSave"_s)->trigger();
    const FileDialogRequest &r = m_dialogs.requests.first();
    QCOMPARE(r.filters, QStringList{u"データファイル(*.pwk)"_s});
    QCOMPARE(r.fileName, u"readme.pwk"_s);
    QCOMPARE(r.defaultSuffix, u"pwk"_s);
    QVERIFY(!m_w->isModified());

    m_w->action(u"mnuNew"_s)->trigger();
    QVERIFY(doc()->fieldText(SoftName).isEmpty());
    m_dialogs.answers = {path(u"d.pwk"_s)};
    m_w->action(u"mnuOpen"_s)->trigger();
    QCOMPARE(m_dialogs.requests.last().title, u"ファイルを開く"_s);
    QVERIFY(m_dialogs.requests.last().mustExist);
    QCOMPARE(doc()->items()->entries(), entries);
    QCOMPARE(doc()->fieldText(Writer), u"Works"_s);
    QCOMPARE(get<QComboBox>(u"cboWriter"_s)->currentText(), u"Works"_s);
    QCOMPARE(doc()->txtBracketsType(0), u"■"_s);
    QVERIFY(m_messages.warnings.isEmpty() && m_messages.questions.isEmpty());
}

void TstMenus::openOfMalformedFileTellsTheLine()
{
    m_dir->write(u"bad.pwk"_s, "1:=   x:=Soft\r\n@@@19\r\n2:=   y:=2\r\n");
    m_dialogs.answers = {path(u"bad.pwk"_s)};
    m_w->action(u"mnuOpen"_s)->trigger();
    QCOMPARE(doc()->fieldText(SoftName), u"Soft"_s);
    QVERIFY(doc()->fieldText(Version).isEmpty());
    QCOMPARE(m_messages.warnings.size(), 1);
    QVERIFY(m_messages.warnings.first().contains(u" 2 行目"_s));
}

void TstMenus::openOfUnreadableFileKeepsTheWindow()
{
    doc()->setFieldText(SoftName, u"keep"_s);
    m_messages.answers = {1}; // do not save
    m_dialogs.answers = {path(u"gone.pwk"_s)};
    m_w->action(u"mnuOpen"_s)->trigger();
    QCOMPARE(doc()->fieldText(SoftName), u"keep"_s);
    QVERIFY(m_messages.warnings.first().contains(u"gone.pwk"_s));
}

void TstMenus::unsavedChangesPrompt_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("answer"); // 0 save, 1 do not save, 2 cancel
    QTest::addColumn<bool>("saveDialogAnswered");
    QTest::addColumn<bool>("goesOn");
    for (const char *c : {"mnuNew", "mnuOpen", "mnuClose", "closeBox"}) {
        QTest::addRow("%s save", c) << QString::fromLatin1(c) << 0 << true << true;
        QTest::addRow("%s save, dialog cancelled", c)
            << QString::fromLatin1(c) << 0 << false << false;
        QTest::addRow("%s do not save", c) << QString::fromLatin1(c) << 1 << false << true;
        QTest::addRow("%s cancel", c) << QString::fromLatin1(c) << 2 << false << false;
    }
}

void TstMenus::unsavedChangesPrompt()
{
    QFETCH(QString, command);
    QFETCH(int, answer);
    QFETCH(bool, saveDialogAnswered);
    QFETCH(bool, goesOn);
    m_dir->write(u"o.pwk"_s, "1:=   ソフト名:=opened\r\n");
    doc()->setFieldText(Version, u"1.0"_s);
    m_messages.answers = {answer};
    if (answer == 0)
        m_dialogs.answers.append(saveDialogAnswered ? path(u"saved.pwk"_s) : QString());
    m_dialogs.answers.append(path(u"o.pwk"_s)); // for Open
    if (command == u"closeBox")
        m_w->close();
    else
        m_w->action(command)->trigger();
    QCOMPARE(m_messages.questions, QStringList{u"変更を保存しますか？"_s});
    QCOMPARE(QFile::exists(path(u"saved.pwk"_s)), answer == 0 && saveDialogAnswered);
    const bool closing = command == u"mnuClose" || command == u"closeBox";
    if (closing)
        QCOMPARE(m_w->isVisible(), !goesOn);
    else if (command == u"mnuOpen")
        QCOMPARE(doc()->fieldText(SoftName), goesOn ? u"opened"_s : QString());
    else
        QCOMPARE(doc()->fieldText(Version).isEmpty(), goesOn);
}

void TstMenus::noPromptAfterAnEditIsUndone()
{
    auto *field = get<QLineEdit>(u"txtVersion"_s);
    QTest::keyClicks(field, u"1"_s);
    QVERIFY(m_w->isModified());
    QTest::keyClick(field, Qt::Key_Backspace);
    m_w->action(u"mnuNew"_s)->trigger();
    m_w->close();
    QVERIFY(m_messages.questions.isEmpty());
    QVERIFY(!m_w->isVisible());
}

QTEST_MAIN(TstMenus)
#include "tst_menus.moc"
