#include "QueuedServices.h"
#include "TestSupport.h"
#include "ui/FrmAbout.h"
#include "ui/FrmMain.h"
#include "ui/FrmRegist.h"
#include "ui/Twips.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace Items;

class TstRegisters : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void dialogInventory();
    void registerMenuRunsEndToEnd();
    void labelClickOpensItsListAndOthersDoNothing();
    void clearedListEmptiesTheDropDown();
    void readOnlyDirectoryIsReportedAndFileStays();
    void aboutShowsVersionInformation();
    void aboutClosesWithEnterAndEscape();

private:
    std::unique_ptr<TempAppDir> m_dir;
    std::unique_ptr<FrmMain> m_w;
    QueuedMessages m_messages;
    QueuedDialogs m_dialogs;
    // What the next dialog does before it closes.
    std::function<void(QDialog &)> m_script;
    QStringList m_shown; // captions of the dialogs run
};

void TstRegisters::init()
{
    m_dir = std::make_unique<TempAppDir>();
    m_dir->writeLines(u"Writer.dat"_s, {u"Old Works"_s});
    m_messages = {};
    m_script = nullptr;
    m_shown.clear();
    m_w = std::make_unique<FrmMain>();
    m_w->setServices(&m_dialogs, &m_messages);
    m_w->setDialogRunner([this](QDialog &d) {
        m_shown.append(d.windowTitle());
        d.show();
        if (m_script)
            m_script(d);
        if (d.isVisible())
            d.close();
    });
}

void TstRegisters::cleanup()
{
    m_w.reset();
    m_dir.reset();
}

void TstRegisters::dialogInventory()
{
    QueuedMessages messages;
    FrmRegist d(&messages);
    d.prepare(u"連絡先の登録"_s, u"登録する連絡先を入力して下さい"_s);
    const double dpi = Twips::logicalDpi(&d);
    const auto twips = [dpi](QWidget *w) {
        const QRect g = w->geometry();
        return QRect(Twips::toTwips(g.x(), dpi), Twips::toTwips(g.y(), dpi),
                     Twips::toTwips(g.width(), dpi), Twips::toTwips(g.height(), dpi));
    };
    QCOMPARE(d.windowTitle(), u"連絡先の登録"_s);
    QCOMPARE(twips(&d).size(), QSize(4320, 2520));
    auto *list = d.findChild<QListWidget *>(u"lstRegist"_s);
    QCOMPARE(twips(list), QRect(120, 120, 4080, 1320));
    QCOMPARE(list->toolTip(), u"登録されているリストを表示します"_s);
    auto *text = d.findChild<QLineEdit *>(u"txtRegist"_s);
    QCOMPARE(twips(text), QRect(120, 1590, 4080, 270));
    QCOMPARE(text->toolTip(), u"登録する連絡先を入力して下さい"_s);
    const QStringList captions{u"登録"_s, u"削除"_s, u"全クリア"_s, u"取り消し"_s, u"終了"_s};
    const int lefts[] = {150, 960, 1770, 2580, 3390};
    QWidget *w = text;
    for (int i = 0; i < 5; ++i) {
        auto *b = d.findChild<QPushButton *>(u"cmdRegist(%1)"_s.arg(i));
        QCOMPARE(b->text(), captions.at(i));
        QCOMPARE(twips(b), QRect(lefts[i], 2010, 810, 420));
        QCOMPARE(b->isEnabled(), i >= 2);
        QVERIFY(!b->isDefault() && !b->autoDefault());
        w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus))
            w = w->nextInFocusChain();
        QCOMPARE(w, b); // tab order: text box, buttons, list
    }
    QVERIFY(d.findChild<QPushButton *>(u"cmdRegist(3)"_s)->toolTip().contains(u"取り消"_s));
}

void TstRegisters::registerMenuRunsEndToEnd()
{
    m_script = [](QDialog &d) {
        QTest::keyClicks(d.findChild<QLineEdit *>(u"txtRegist"_s), u"New Works"_s);
        QTest::mouseClick(d.findChild<QPushButton *>(u"cmdRegist(0)"_s), Qt::LeftButton);
        QTest::mouseClick(d.findChild<QPushButton *>(u"cmdRegist(4)"_s), Qt::LeftButton);
    };
    m_w->findChild<QLineEdit *>(u"txtSoftName"_s)->setFocus();
    m_w->action(u"mnuRegist(0)"_s)->trigger();
    QCOMPARE(m_shown, QStringList{u"著作権者の登録"_s});
    QCOMPARE(m_dir->read(u"Writer.dat"_s), QByteArray("New Works\r\nOld Works\r\n"));
    auto *combo = m_w->findChild<QComboBox *>(u"cboWriter"_s);
    QCOMPARE(combo->count(), 2);
    QCOMPARE(combo->itemText(0), u"New Works"_s);
    QCOMPARE(combo->currentText(), u"Old Works"_s); // the field keeps its text
    QVERIFY(m_w->document()->items()->FindItemEntry(u"著作権者") > 0);
    QVERIFY(m_messages.warnings.isEmpty());
}

void TstRegisters::labelClickOpensItsListAndOthersDoNothing()
{
    QTest::mouseClick(m_w->findChild<QLabel *>(u"Label1(13)"_s), Qt::LeftButton);
    QTest::mouseClick(m_w->findChild<QLabel *>(u"Label1(1)"_s), Qt::LeftButton);
    QTest::mouseClick(m_w->findChild<QLabel *>(u"Label1(11)"_s), Qt::LeftButton);
    QCOMPARE(m_shown, QStringList{u"メールアドレスの登録"_s});
    QVERIFY(QFile::exists(m_dir->filePath(u"EMail.dat"_s))); // a close creates the file
}

void TstRegisters::clearedListEmptiesTheDropDown()
{
    m_script = [](QDialog &d) {
        QTest::mouseClick(d.findChild<QPushButton *>(u"cmdRegist(2)"_s), Qt::LeftButton);
    };
    m_w->Label1_Click(Writer);
    QCOMPARE(m_dir->read(u"Writer.dat"_s), QByteArray());
    QCOMPARE(m_w->findChild<QComboBox *>(u"cboWriter"_s)->count(), 0);
    QCOMPARE(m_w->document()->fieldText(Writer), u"Old Works"_s);
}

void TstRegisters::readOnlyDirectoryIsReportedAndFileStays()
{
    const QByteArray before = m_dir->read(u"Writer.dat"_s);
    ReadOnlyDir guard(m_dir->path());
    QVERIFY(guard.effective());
    m_script = [](QDialog &d) {
        QTest::keyClicks(d.findChild<QLineEdit *>(u"txtRegist"_s), u"Lost?"_s);
        QTest::keyClick(d.findChild<QLineEdit *>(u"txtRegist"_s), Qt::Key_Insert);
    };
    m_messages.answers = {1}; // close without saving
    m_w->action(u"mnuRegist(0)"_s)->trigger();
    QCOMPARE(m_messages.questions.size(), 1);
    QVERIFY(m_messages.questions.first().contains(
        QDir::toNativeSeparators(m_dir->filePath(u"Writer.dat"_s))));
    QCOMPARE(m_dir->read(u"Writer.dat"_s), before);
    QCOMPARE(m_w->document()->fieldText(Writer), u"Old Works"_s);
}

void TstRegisters::aboutShowsVersionInformation()
{
    m_script = [](QDialog &d) {
        QCOMPARE(d.findChild<QLabel *>(u"lblTitle"_s)->text(), u"Quillet"_s);
        QVERIFY(d.findChild<QLabel *>(u"lblTitle"_s)->font().bold());
        QCOMPARE(d.findChild<QLabel *>(u"lblVersion"_s)->text(), u"Version 1.0"_s);
        QCOMPARE(d.findChild<QLabel *>(u"lblDescription"_s)->text(),
                 u"このアプリは、README.TXTファイルの作成を支援するためのものです"_s);
        QVERIFY(d.findChild<QLabel *>(u"lblDisclaimer"_s)->text().contains(u"Copyright"_s));
        QVERIFY(!d.findChild<QLabel *>(u"picIcon"_s)->pixmap().isNull());
    };
    m_w->action(u"mnuVersion"_s)->trigger();
    QCOMPARE(m_shown, QStringList{u"ﾊﾞｰｼﾞｮﾝ情報 Quillet"_s});
}

void TstRegisters::aboutClosesWithEnterAndEscape()
{
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        FrmAbout about;
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QTest::keyClick(&about, key);
        QVERIFY2(!about.isVisible(), qPrintable(QString::number(key)));
    }
}

QTEST_MAIN(TstRegisters)
#include "tst_registers.moc"
