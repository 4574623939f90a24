#include "WindowFixture.h"
#include "project/Entry.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

// A new release, templates and credits, as the author meets them in the window.
class TstReleaseWindow : public WindowFixture {
    Q_OBJECT
private slots:
    void init() { openWindow(); }
    void newReleaseIsOneStep();
};

// 新しい版… proposes the next version, shows the entry as it will stand,
// refuses the version the history has, and one undo takes it all back.
void TstReleaseWindow::newReleaseIsOneStep()
{
    openFile(testDataPath(u"release/sample.pwk"_s));
    const Project opened = doc()->project();
    QStringList seen;
    m_script = [&](QDialog &d) {
        auto *version = d.findChild<QLineEdit *>(u"txtVersion"_s);
        QCOMPARE(version->text(), u"1.02"_s);
        auto *ok = d.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
        version->setText(u"1.01"_s); // the newest entry's
        QVERIFY(!ok->isEnabled());
        QVERIFY(d.findChild<QLabel *>(u"lblProblem"_s)->text().contains(u"1.01"));
        d.findChild<QCheckBox *>(u"chkAmend"_s)->setChecked(true);
        QVERIFY(ok->isEnabled());
        d.findChild<QCheckBox *>(u"chkAmend"_s)->setChecked(false);
        version->setText(u"1.02"_s);
        d.findChild<QDateEdit *>(u"dtpDate"_s)->setDate(QDate(2027, 1, 4));
        d.findChild<QPlainTextEdit *>(u"txtNotes"_s)->setPlainText(u"新年版\n\n  ヘルプを追加\n"_s);
        seen = d.findChild<QPlainTextEdit *>(u"txtEntry"_s)->toPlainText().split(u'\n');
        ok->click();
    };
    trigger(u"mnuRelease"_s);
    const QStringList entry = {u"2027/01/04  Ver.1.02"_s, u"  ・新年版"_s, u"  ・ヘルプを追加"_s};
    QCOMPARE(seen, entry);
    QCOMPARE(doc()->fieldText(Items::Version), u"1.02"_s);
    QCOMPARE(doc()->texts().under(u"バージョン履歴"_s).mid(0, 4), entry + QStringList{QString()});
    QTRY_VERIFY(m_w->isWindowModified());
    QCOMPARE(m_w->session()->undoName(), u"新しい版"_s);
    m_w->undo();
    QCOMPARE(doc()->project(), opened);
    QTRY_VERIFY(!m_w->isWindowModified());

    m_script = [](QDialog &d) { d.reject(); };
    trigger(u"mnuRelease"_s);
    QCOMPARE(doc()->project(), opened);
}

QTEST_MAIN(TstReleaseWindow)
#include "tst_releasewindow.moc"
