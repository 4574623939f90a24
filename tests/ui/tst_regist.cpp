// The registered-entry list editor driven by keyboard and mouse: Enter,
// Esc, the buttons' access keys, and what closing leaves on disk.
#include "WindowFixture.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>

using namespace Qt::StringLiterals;

namespace {
// Runs one step on the editor: "type X", "click N" (button N), "pick N"
// (entry N of the list), or a key sequence sent to the focused control.
void step(QDialog &d, const QString &what)
{
    auto *text = d.findChild<QLineEdit *>(u"txtRegist"_s);
    auto *list = d.findChild<QListWidget *>(u"lstRegist"_s);
    const QString arg = what.section(u' ', 1);
    if (what.startsWith(u"type ")) {
        text->setFocus();
        QTest::keyClicks(text, arg);
    } else if (what.startsWith(u"click ")) {
        QTest::mouseClick(d.findChild<QPushButton *>(u"cmdRegist(%1)"_s.arg(arg)), Qt::LeftButton);
    } else if (what.startsWith(u"pick ")) {
        list->setFocus();
        const int row = arg.toInt();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    } else if (what.startsWith(u"Alt+")) {
        // A button's access key clicks it a moment later, as a press shows.
        QPushButton *target = nullptr;
        for (QPushButton *b : d.findChildren<QPushButton *>()) {
            if (QKeySequence::mnemonic(b->text()) == QKeySequence(what))
                target = b;
        }
        QVERIFY2(target, qPrintable(what));
        QSignalSpy clicked(target, &QPushButton::clicked);
        QTest::keySequence(QApplication::focusWidget(), QKeySequence(what));
        QVERIFY(clicked.wait(2000));
    } else {
        QTest::keySequence(QApplication::focusWidget(), QKeySequence(what));
    }
}
} // namespace

class TstRegist : public WindowFixture {
    Q_OBJECT
private slots:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }
    void keysButtonsAndTheFile_data();
    void keysButtonsAndTheFile();
};

void TstRegist::keysButtonsAndTheFile_data()
{
    QTest::addColumn<QByteArray>("before"); // Confirmation.dat; null: no file
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("open");          // the editor is still open afterwards
    QTest::addColumn<bool>("deleteEnabled"); // while it is open
    QTest::addColumn<QByteArray>("after");   // the file once closed; null: no file
    const QByteArray none;
    const QByteArray ab = "A\r\nB\r\n"_ba;
    const QByteArray nab = "N\r\nA\r\nB\r\n"_ba;
    QTest::newRow("no list, closed") << none << QStringList{u"click 4"_s} << false << false << none;
    QTest::newRow("no list, Esc") << none << QStringList{u"Esc"_s} << false << false << none;
    QTest::newRow("no list, cleared")
        << none << QStringList{u"click 2"_s, u"click 4"_s} << false << false << none;
    QTest::newRow("no list, typed only")
        << none << QStringList{u"type N"_s, u"Esc"_s} << false << false << none;
    QTest::newRow("registered and deleted again") // LF lines would become CR LF if written
        << "A\nB\n"_ba << QStringList{u"type N"_s, u"Return"_s, u"click 1"_s, u"click 4"_s} << false
        << false << "A\nB\n"_ba;
    QTest::newRow("Enter registers")
        << ab << QStringList{u"type N"_s, u"Return"_s} << true << true << nab;
    QTest::newRow("Enter with nothing typed")
        << ab << QStringList{u"Return"_s} << true << false << ab;
    QTest::newRow("Esc keeps what was registered")
        << ab << QStringList{u"type N"_s, u"Return"_s, u"Esc"_s} << false << false << nab;
    QTest::newRow("Esc in the list closes")
        << ab << QStringList{u"type N"_s, u"Return"_s, u"pick 1"_s, u"Esc"_s} << false << false
        << nab;
    QTest::newRow("empty list") << none << QStringList{} << true << false << none;
    QTest::newRow("list emptied by 削除")
        << "A\r\n"_ba << QStringList{u"pick 0"_s, u"click 1"_s} << true << false << ""_ba;
    QTest::newRow("Alt+R registers")
        << ab << QStringList{u"type N"_s, u"Alt+R"_s} << true << true << nab;
    QTest::newRow("Alt+D deletes")
        << ab << QStringList{u"pick 0"_s, u"Alt+D"_s} << true << true << "B\r\n"_ba;
    QTest::newRow("Alt+A clears all") << ab << QStringList{u"Alt+A"_s} << true << false << ""_ba;
    QTest::newRow("Alt+U reverts")
        << ab << QStringList{u"Alt+A"_s, u"Alt+U"_s} << true << false << ab;
    QTest::newRow("Alt+X closes") << ab << QStringList{u"type N"_s, u"Alt+R"_s, u"Alt+X"_s} << false
                                  << false << nab;
}

void TstRegist::keysButtonsAndTheFile()
{
    QFETCH(QByteArray, before);
    QFETCH(QStringList, steps);
    QFETCH(bool, open);
    QFETCH(bool, deleteEnabled);
    QFETCH(QByteArray, after);
    if (!before.isNull())
        m_dir->write(u"Confirmation.dat"_s, before);
    bool wasOpen = false;
    bool couldDelete = false;
    m_script = [&](QDialog &d) {
        d.activateWindow();
        QTRY_VERIFY(d.isActiveWindow()); // the keys go where the author types
        for (const QString &s : steps)
            step(d, s);
        wasOpen = d.isVisible();
        couldDelete = d.findChild<QPushButton *>(u"cmdRegist(1)"_s)->isEnabled();
    };
    m_messages.answers = {Messages::Answer::Discard};
    trigger(u"mnuRegist(2)"_s); // 動作確認の登録
    QCOMPARE(m_shown, QStringList{u"動作確認の登録"_s});
    QCOMPARE(wasOpen, open);
    if (open)
        QCOMPARE(couldDelete, deleteEnabled);
    QCOMPARE(QFileInfo::exists(path(u"Confirmation.dat"_s)), !after.isNull());
    if (!after.isNull())
        QCOMPARE(m_dir->read(u"Confirmation.dat"_s), after);
    QVERIFY(m_messages.questions.isEmpty());
}

QTEST_MAIN(TstRegist)
#include "tst_regist.moc"
