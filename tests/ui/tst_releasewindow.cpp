#include "WindowFixture.h"
#include "project/Entry.h"
#include "project/Languages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>

using namespace Qt::StringLiterals;

// A new release, templates and credits, as the author meets them in the window.
class TstReleaseWindow : public WindowFixture {
    Q_OBJECT
private slots:
    void init();
    void newReleaseIsOneStep();
    void newFromTemplate();
    void ownTemplates();
    void creditsTable();
    void languages();
};

// The shipped templates beside the program, as a portable install has them.
void TstReleaseWindow::init()
{
    openWindow([](const TempAppDir &dir) {
        const QDir shipped(QStringLiteral(QUILLET_TEMPLATES));
        QDir(dir.path()).mkdir(u"templates"_s);
        for (const QString &f : shipped.entryList({u"*.pwk"_s}))
            QFile::copy(shipped.filePath(f), dir.filePath(u"templates/"_s + f));
    });
}

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

// テンプレートから新規作成… shows each template's README and starts an
// untitled project from the one chosen, asking first about unsaved work.
void TstReleaseWindow::newFromTemplate()
{
    doc()->setFieldText(Items::SoftName, u"作りかけ"_s);
    QStringList names, previews;
    m_script = [&](QDialog &d) {
        auto *list = d.findChild<QListWidget *>(u"lstTemplates"_s);
        for (int i = 0; i < list->count(); ++i) {
            names.append(list->item(i)->text());
            list->setCurrentRow(i);
            previews.append(d.findChild<QPlainTextEdit *>(u"txtTemplatePreview"_s)->toPlainText());
        }
        list->setCurrentRow(int(names.indexOf(u"ゲーム"_s)));
        d.accept();
    };
    m_messages.answers = {Messages::Answer::Cancel};
    trigger(u"mnuNewFromTemplate"_s);
    QCOMPARE(m_messages.questions.size(), 1); // 変更を保存しますか？ and no dialog
    QVERIFY(names.isEmpty());
    m_messages.answers = {Messages::Answer::Discard};
    trigger(u"mnuNewFromTemplate"_s);
    QCOMPARE(names, (QStringList{u"Windows tool (English)"_s, u"Windowsツール"_s, u"ゲーム"_s,
                                 u"フォント"_s, u"ライブラリ・プラグイン"_s, u"素材集"_s}));
    QVERIFY(previews.at(0).contains(u"【   Installing   】"_s));
    QVERIFY(previews.at(2).contains(u"【    操作方法    】"_s));
    QVERIFY(previews.at(4).contains(u"〈ライブラリ名〉"_s));
    QCOMPARE(doc()->fieldText(Items::SoftName), u"〈ゲーム名〉"_s);
    QVERIFY(doc()->texts().headings.contains(u"遊び方"_s));
    QCOMPARE(doc()->wrap(), Project::Wrap::Push);
    QTRY_COMPARE(m_w->windowTitle(), u"無題[*] - Quillet"_s);
    QVERIFY(!m_w->isWindowModified());
    QVERIFY(!m_w->session()->canUndo());
}

// テンプレートとして保存… keeps the project under the author's name, asks
// before replacing one, refuses a name no file may have; the next list shows it.
void TstReleaseWindow::ownTemplates()
{
    doc()->setFieldText(Items::SoftName, u"わたしのツール"_s);
    QString typed = u"自分用"_s;
    m_script = [&](QDialog &d) {
        d.findChild<QLineEdit *>()->setText(typed);
        d.accept();
    };
    trigger(u"mnuSaveTemplate"_s);
    const QString saved = path(u"user/templates/自分用.pwk"_s);
    QVERIFY(QFileInfo::exists(saved));
    QVERIFY(m_messages.warnings.isEmpty());
    trigger(u"mnuSaveTemplate"_s); // again: the author keeps the old one
    QCOMPARE(m_messages.questions.size(), 1);
    typed = u"a/b"_s;
    trigger(u"mnuSaveTemplate"_s);
    QCOMPARE(m_messages.warnings.size(), 1);
    QVERIFY(m_messages.warnings.first().contains(u"/"));

    QStringList names;
    m_script = [&](QDialog &d) {
        auto *list = d.findChild<QListWidget *>(u"lstTemplates"_s);
        for (int i = 0; i < list->count(); ++i)
            names.append(list->item(i)->text());
        list->setCurrentRow(int(names.indexOf(u"自分用（自作）"_s)));
        d.accept();
    };
    m_messages.answers = {Messages::Answer::Discard};
    trigger(u"mnuNewFromTemplate"_s);
    QVERIFY2(names.contains(u"自分用（自作）"_s), qPrintable(names.join(u' ')));
    QCOMPARE(doc()->fieldText(Items::SoftName), u"わたしのツール"_s);
}

// 素材のクレジット…: rows added, moved and emptied; the table lists the
// クレジット heading in front of バージョン履歴, and one undo takes both back.
void TstReleaseWindow::creditsTable()
{
    openFile(testDataPath(u"release/sample.pwk"_s));
    const Project opened = doc()->project();
    m_script = [](QDialog &d) {
        auto *table = d.findChild<QTableWidget *>(u"tblCredits"_s);
        const auto click = [&](const char16_t *name) {
            d.findChild<QPushButton *>(QString::fromUtf16(name))->click();
        };
        for (const QString &material : {u"効果音"_s, u"空の行"_s, u"BGM"_s}) {
            click(u"cmdAddCredit");
            table->item(table->rowCount() - 1, 0)->setText(material);
        }
        table->item(0, 3)->setText(u"商用可\t改変可"_s);
        table->setCurrentCell(2, 0);
        click(u"cmdCreditUp"); // BGM before 空の行
        table->setCurrentCell(2, 0);
        table->item(2, 0)->setText(QString()); // a row left empty is dropped
        d.accept();
    };
    trigger(u"mnuCredits"_s);
    QCOMPARE(doc()->credits(), (QList<Credit>{{u"効果音"_s, {}, {}, u"商用可 改変可"_s, {}},
                                              {u"BGM"_s, {}, {}, {}, {}}}));
    const QStringList entries = doc()->items()->entries();
    QCOMPARE(entries.at(entries.indexOf(u"   バージョン履歴"_s) - 1), u"   クレジット"_s);
    QCOMPARE(m_w->session()->undoName(), u"クレジットの変更"_s);
    trigger(u"mnuPreview"_s);
    QVERIFY(
        get<QPlainTextEdit>(u"txtPreView"_s)
            ->toPlainText()
            .contains(u"【   クレジット   】\n・効果音\n    ライセンス：商用可 改変可\n・BGM\n"_s));
    m_w->undo();
    QCOMPARE(doc()->project(), opened);
}

// 作成 → 言語: the fields and the preview show the language chosen, what is
// typed there is its own, 名前の翻訳… names its headings, and saving keeps
// the main language in front.
void TstReleaseWindow::languages()
{
    openFile(testDataPath(u"languages/clock.pwk"_s));
    auto *menu = get<QMenu>(u"mnuLanguage"_s);
    emit menu->aboutToShow();
    QVERIFY(get<QAction>(u"mnuLanguage(ja)"_s)->isChecked());
    QVERIFY(!get<QAction>(u"mnuNames"_s)->isEnabled());
    get<QAction>(u"mnuLanguage(en)"_s)->trigger();
    QCOMPARE(get<QLineEdit>(u"txtSoftName"_s)->text(), u"Easy Clock"_s);
    QCOMPARE(get<QComboBox>(u"cboEnvironment"_s)->currentText(),
             u"Windows 10 / 11"_s); // the main one's
    get<QLineEdit>(u"txtSoftName"_s)->end(false);
    QTest::keyClicks(get<QLineEdit>(u"txtSoftName"_s), u" 2"_s);
    trigger(u"mnuPreview"_s);
    QVERIFY(
        get<QPlainTextEdit>(u"txtPreView"_s)->toPlainText().contains(u"【     About      】"_s));

    emit menu->aboutToShow();
    m_script = [](QDialog &d) {
        auto *table = d.findChild<QTableWidget *>(u"tblNames"_s);
        for (int row = 0; row < table->rowCount(); ++row) {
            if (table->item(row, 0)->text() == u"使い方")
                table->item(row, 1)->setText(u"How to use"_s);
        }
        d.accept();
    };
    get<QAction>(u"mnuNames"_s)->trigger();
    QVERIFY(
        get<QPlainTextEdit>(u"txtPreView"_s)->toPlainText().contains(u"【   How to use   】"_s));

    m_dialogs.answers = {path(u"saved.pwk"_s)};
    trigger(u"mnuSaveAs"_s);
    const Project saved = ProjectSession::readDataFile(path(u"saved.pwk"_s))->project;
    QCOMPARE(saved.values[Items::SoftName], u"かんたん時計"_s);
    QCOMPARE(saved.languages.others.first().values.value(Items::SoftName), u"Easy Clock 2"_s);
    QCOMPARE(saved.languages.others.first().names.value(u"使い方"_s), u"How to use"_s);

    emit menu->aboutToShow();
    get<QAction>(u"mnuLanguage(ja)"_s)->trigger();
    QCOMPARE(get<QLineEdit>(u"txtSoftName"_s)->text(), u"かんたん時計"_s);
    // The preview follows, and the English one is not taken into Japanese.
    QVERIFY(
        get<QPlainTextEdit>(u"txtPreView"_s)->toPlainText().contains(u"【     使い方     】"_s));
    trigger(u"mnuPreview"_s);
    QCOMPARE(doc()->texts().under(u"使い方"_s).first(), u"clock.exe を起動します。"_s);
    m_w->undo(); // back in English
    QCOMPARE(get<QLineEdit>(u"txtSoftName"_s)->text(), u"Easy Clock 2"_s);

    // Adding one: a code typed, or one of the list; a code that is none is refused.
    for (const QString &typed : {u"日本"_s, u"韓国語 (ko)"_s}) {
        m_script = [&](QDialog &d) {
            static_cast<QInputDialog &>(d).setTextValue(typed);
            d.accept();
        };
        emit menu->aboutToShow();
        get<QAction>(u"mnuAddLanguage"_s)->trigger();
    }
    QCOMPARE(m_messages.warnings.size(), 1);
    QCOMPARE(Languages::all(doc()->project()), (QStringList{u"ja"_s, u"en"_s, u"ko"_s}));
    QCOMPARE(Languages::shownOf(doc()->project()), u"ko"_s);
}

QTEST_MAIN(TstReleaseWindow)
#include "tst_releasewindow.moc"
