// Desktop habits: Qt in Japanese, truthful menus, a growing window, the
// project in the title, recent files and drops, names for screen readers.
#include "QueuedServices.h"
#include "TestSupport.h"
#include "ui/FrmMain.h"
#include "ui/Language.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QTest>
#include <QUrl>

using namespace Qt::StringLiterals;

class TstDesktop : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void failureReasonsAreJapanese();
    void contextMenusTellTheTruth();
    void extraSizeGoesToPreviewAndList();
    void titleNamesTheFileAndMarksChanges();
    void recentFilesAcrossWindows();
    void fieldsHaveAccessibleNames();

private:
    std::unique_ptr<FrmMain> window();
    std::unique_ptr<TempAppDir> m_dir;
    std::unique_ptr<TempSettings> m_settings;
    QueuedDialogs m_dialogs;
    QueuedMessages m_messages;
    QString sample() const { return m_dir->filePath(u"sample.pwk"_s); }
};

void TstDesktop::initTestCase()
{
    QVERIFY(Language::useJapanese()); // then Qt's own buttons speak Japanese
    QMessageBox box(QMessageBox::Question, u"Quillet"_s, u"?"_s,
                    QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(box.button(QMessageBox::Yes)->text().remove(u'&'), u"はい(Y)"_s);
}

void TstDesktop::init()
{
    m_dir = std::make_unique<TempAppDir>();
    QFile::copy(testDataPath(u"sample.pwk"_s), sample());
    m_settings = std::make_unique<TempSettings>();
    m_dialogs = {};
    m_messages = {};
}

void TstDesktop::cleanup()
{
    m_dir.reset();
    m_settings.reset();
}

std::unique_ptr<FrmMain> TstDesktop::window()
{
    auto w = std::make_unique<FrmMain>();
    w->setServices(&m_dialogs, &m_messages);
    return w;
}

void TstDesktop::failureReasonsAreJapanese()
{
    auto w = window();
    ReadOnlyDir guard(m_dir->path());
    QUILLET_REQUIRE_READ_ONLY(guard);
    m_dialogs.answers = {m_dir->filePath(u"new.pwk"_s)};
    QVERIFY(!w->saveDocument());
    QCOMPARE(m_messages.warnings.size(), 1);
    QVERIFY2(m_messages.warnings.first().contains(u"アクセスが許可されていません"_s),
             qPrintable(m_messages.warnings.first()));
    QVERIFY(m_messages.warnings.first().contains(QDir::toNativeSeparators(m_dir->path())));
}

void TstDesktop::contextMenusTellTheTruth()
{
    auto w = window();
    for (const QString &name : {u"txtSoftName"_s, u"txtPreView"_s}) {
        QWidget *edit = w->findChild<QWidget *>(name);
        std::unique_ptr<QMenu> menu(w->truthfulContextMenu(edit));
        QVERIFY(menu);
        QStringList shown;
        for (QAction *a : menu->actions())
            shown.append(a->text());
        const QString all = shown.join(u'|');
        for (const char *taken : {"Ctrl+X", "Ctrl+C", "Ctrl+A"})
            QVERIFY2(!all.contains(QString::fromLatin1(taken)), qPrintable(all));
        QVERIFY2(all.contains(u"Shift+Del"_s) && all.contains(u"Ctrl+Ins"_s) &&
                     all.contains(u"Ctrl+V"_s), // keys the window leaves alone stay
                 qPrintable(all));
    }
    auto *edit = w->findChild<QLineEdit *>(u"txtSoftName"_s);
    edit->setText(u"サンプル"_s);
    std::unique_ptr<QMenu> menu(w->truthfulContextMenu(edit));
    menu->actions().constLast()->trigger(); // select all, by click
    QCOMPARE(edit->selectedText(), u"サンプル"_s);
}

void TstDesktop::extraSizeGoesToPreviewAndList()
{
    auto w = window();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    auto *preview = w->findChild<QWidget *>(u"txtPreView"_s);
    auto *list = w->findChild<QWidget *>(u"lstItem"_s);
    auto *field = w->findChild<QWidget *>(u"txtSoftName"_s);
    const QRect p = preview->geometry(), l = list->geometry(), f = field->geometry();
    w->resize(w->size() + QSize(200, 150));
    QTRY_COMPARE(preview->geometry(), p.adjusted(0, 0, 200, 75)); // half the extra height
    QCOMPARE(list->geometry(), l.adjusted(0, 75, 200, 150));
    QCOMPARE(field->geometry(), f.translated(0, 75));
}

void TstDesktop::titleNamesTheFileAndMarksChanges()
{
    auto w = window();
    QCOMPARE(w->windowTitle(), u"無題[*] - Quillet"_s);
    for (const QString &file : {m_dir->filePath(u"notes.txt"_s), sample()}) {
        QMimeData data; // a dropped project opens; other files are refused
        data.setUrls({QUrl::fromLocalFile(file)});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w.get(), &enter);
        QCOMPARE(enter.isAccepted(), file.endsWith(u".pwk"_s));
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w.get(), &drop);
    }
    QCOMPARE(w->currentFile(), sample());
    QCOMPARE(w->windowTitle(), u"sample.pwk[*] - Quillet"_s);
    QVERIFY(!w->isWindowModified());
    w->document()->setFieldText(Items::Version, u"2.00"_s);
    QTRY_VERIFY(w->isWindowModified());
    m_dialogs.answers = {m_dir->filePath(u"next.pwk"_s)};
    QVERIFY(w->saveDocumentAs());
    QCOMPARE(m_dialogs.requests.last().fileName, u"sample.pwk"_s); // proposes the file in use
    QCOMPARE(w->windowTitle(), u"next.pwk[*] - Quillet"_s);
    w->document()->setFieldText(Items::Version, u"2.01"_s);
    QVERIFY(w->saveDocument()); // to the file in use, without a dialog
    QCOMPARE(m_dialogs.requests.size(), 1);
    QVERIFY(readFileBytes(m_dir->filePath(u"next.pwk"_s)).contains("2.01"));
    QVERIFY(!w->isWindowModified());
    QVERIFY(w->statusBar()->currentMessage().contains(
        QDir::toNativeSeparators(m_dir->filePath(u"next.pwk"_s))));
    for (const QString &version :
         {u"2.02"_s, u"2.01"_s, u"2.03"_s}) { // the mark follows every edit
        w->document()->setFieldText(Items::Version, version);
        QTRY_COMPARE(w->isWindowModified(), version != u"2.01");
    }
}

void TstDesktop::recentFilesAcrossWindows()
{
    const QString other = m_dir->filePath(u"other.pwk"_s);
    QFile::copy(sample(), other);
    {
        auto first = window();
        QVERIFY(first->openPath(other));
        QVERIFY(first->openPath(sample()));
    }
    auto second = window();
    QCOMPARE(second->recentFiles(), (QStringList{sample(), other}));
    QFile::remove(other);
    auto *recent = second->findChild<QMenu *>(u"mnuRecent"_s);
    emit recent->aboutToShow();
    emit recent->aboutToShow(); // shown again: each file listed once
    QCOMPARE(recent->actions().size(), 2);
    QVERIFY(second->findChild<QAction *>(u"mnuRecent(0)"_s)->isEnabled());
    QVERIFY(!second->findChild<QAction *>(u"mnuRecent(1)"_s)->isEnabled()); // gone
    second->document()->setFieldText(Items::Version, u"9"_s);
    m_messages.answers = {Messages::Answer::Cancel};
    second->findChild<QAction *>(u"mnuRecent(0)"_s)->trigger();
    QCOMPARE(m_messages.questions.size(), 1); // the same question as Open
    QVERIFY(second->currentFile().isEmpty());
}

void TstDesktop::fieldsHaveAccessibleNames()
{
    auto w = window();
    const auto nameOf = [&](const QString &object) {
        QAccessibleInterface *a =
            QAccessible::queryAccessibleInterface(w->findChild<QWidget *>(object));
        return a ? a->text(QAccessible::Name) : QString();
    };
    QCOMPARE(nameOf(u"txtSoftName"_s), u"ソフト名"_s);
    QCOMPARE(nameOf(u"lstItem"_s), u"項目の順序"_s);
    QCOMPARE(w->findChild<QLabel *>(u"Label1(11)"_s)->buddy(),
             w->findChild<QWidget *>(u"txtPrice"_s));
}

QTEST_MAIN(TstDesktop)
#include "tst_desktop.moc"
