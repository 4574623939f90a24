// What the author chose is what gets written: the README's file type, a
// damaged data file, values and check boxes through Save and Open. Each
// scenario is driven through the menus with dialogs that answer as Qt's do.
#include "WindowFixture.h"
#include "datafile/DataFileWriter.h"
#include "itemlist/ItemList.h"
#include "platform/Cp932.h"
#include "project/Entry.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QRegularExpression>
#include <QStatusBar>

using namespace Qt::StringLiterals;
using namespace Items;
using Answer = Messages::Answer;

class TstWritten : public WindowFixture {
    Q_OBJECT
private slots:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }
    void readmeFileTypeIsWhatIsWritten_data();
    void readmeFileTypeIsWhatIsWritten();
    void unknownFileTypeWritesNothing();
    void damagedProjectIsNeverCutShort_data();
    void damagedProjectIsNeverCutShort();
    void nonDataFileIsRefused_data();
    void nonDataFileIsRefused();
    void uncheckedHeadingStaysOff();
    void listedBoxTakesItsStoredState_data();
    void listedBoxTakesItsStoredState();
    void valueShownOnlyAtTheEndIsKept_data();
    void valueShownOnlyAtTheEndIsKept();
    void addedHeadingTextIsNotUnsaved_data();
    void addedHeadingTextIsNotUnsaved();
    void recentFilesAndStatusNameTheRightFile();
};

// The type chosen in the dialog (as the dialog hands it back) decides the
// bytes; all files writes README.TXT in the type used last.
void TstWritten::readmeFileTypeIsWhatIsWritten_data()
{
    QTest::addColumn<int>("before"); // the type written earlier, -1: none
    QTest::addColumn<int>("chosen"); // the type switched to in the dialog
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("kind"); // what the bytes must be
    QTest::newRow("Shift-JIS") << -1 << 0 << u"README.txt"_s << u"cp932"_s;
    QTest::newRow("UTF-8 CR LF") << -1 << 1 << u"README.txt"_s << u"utf8"_s;
    QTest::newRow("UTF-8 BOM") << -1 << 2 << u"README.txt"_s << u"bom"_s;
    QTest::newRow("UTF-8 LF") << -1 << 3 << u"README.txt"_s << u"lf"_s;
    QTest::newRow("Markdown") << -1 << 4 << u"README.md"_s << u"md"_s;
    QTest::newRow("all files, first time") << -1 << 5 << u"README.TXT"_s << u"cp932"_s;
    QTest::newRow("all files after UTF-8 LF") << 3 << 5 << u"README.TXT"_s << u"lf"_s;
    QTest::newRow("all files after Markdown") << 4 << 5 << u"README.md"_s << u"md"_s;
}

void TstWritten::readmeFileTypeIsWhatIsWritten()
{
    QFETCH(int, before);
    QFETCH(int, chosen);
    QFETCH(QString, file);
    QFETCH(QString, kind);
    doc()->setFieldText(SoftName, u"サンプル"_s);
    const QStringList captions = ReadmeFile::filters();
    if (before >= 0) {
        QDir(m_dir->path()).mkdir(u"old"_s);
        m_dialogs.answers = {path(u"old/README.TXT"_s)};
        m_dialogs.filters = {captions.at(before)};
        trigger(u"mnuReadme"_s);
    }
    m_dialogs.answers = {path(u"README.TXT"_s)};
    m_dialogs.filters = {captions.at(chosen)};
    trigger(u"mnuReadme"_s);

    QVERIFY2(m_messages.warnings.isEmpty(), qPrintable(m_messages.warnings.join(u'\n')));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{file});
    const QString text = composed(*doc());
    const QByteArray expected = kind == u"cp932"  ? Cp932::encode(text)
                                : kind == u"utf8" ? text.toUtf8()
                                : kind == u"bom"  ? "\xEF\xBB\xBF" + text.toUtf8()
                                : kind == u"lf"   ? text.toUtf8().replace("\r\n", "\n")
                                                  : QByteArray();
    const QByteArray written = m_dir->read(file);
    if (kind == u"md")
        QVERIFY(written.startsWith("| 項目 | 内容 |\n") && written.contains("サンプル"));
    else
        QCOMPARE(written, expected);
    // The next dialog shows the type that was written.
    m_dialogs.answers = {QString()};
    trigger(u"mnuReadme"_s);
    const int shown = captions.indexOf(m_dialogs.requests.last().selectedFilter);
    QCOMPARE(shown, chosen == 5 ? std::max(before, 0) : chosen);
}

void TstWritten::unknownFileTypeWritesNothing()
{
    m_dialogs.answers = {path(u"README.TXT"_s)};
    m_dialogs.filters = {u"Text files (*.text)"_s}; // what a foreign native dialog might say
    trigger(u"mnuReadme"_s);
    QCOMPARE(m_messages.warnings.size(), 1);
    QVERIFY(m_messages.warnings.first().contains(u"Text files"_s));
    QVERIFY(QDir(m_dir->path()).entryList(QDir::Files).isEmpty());
}

// A data file with a bad line in the middle: opening asks, the project is
// changed, and Enter through every dialog never shortens the file.
void TstWritten::damagedProjectIsNeverCutShort_data()
{
    QTest::addColumn<bool>("overwrite"); // the author chooses to lose the rest
    QTest::newRow("Enter everywhere") << false;
    QTest::newRow("overwrite chosen") << true;
}

void TstWritten::damagedProjectIsNeverCutShort()
{
    QFETCH(bool, overwrite);
    for (int i : {SoftName, Version, Writer, Environment, EMail})
        doc()->setFieldText(i, u"値%1"_s.arg(i));
    BodyTexts texts;
    texts.setUnder(u"ソフト紹介"_s, {u"紹介の一行目"_s, u"二行目"_s});
    doc()->setTexts(texts);
    const QStringList lines = DataFileWriter::lines(doc()->project());
    QStringList damaged = lines;
    damaged.insert(5, u"このまま書くと壊れる行"_s);
    m_dir->writeLines(u"d.pwk"_s, damaged);
    const QByteArray before = m_dir->read(u"d.pwk"_s);
    m_messages.pressEnter = true;
    m_messages.answers = {Answer::Discard}; // the changes made here are not saved
    openFile(path(u"d.pwk"_s));

    QCOMPARE(m_messages.questions.size(), 2);
    QVERIFY(m_messages.questions.at(1).contains(u" 6 行目"_s));
    QCOMPARE(doc()->items()->entries(),
             lines.mid(0, 5).replaceInStrings(QRegularExpression(u"^\\d+:=|:=.*$"_s), QString()));
    QVERIFY(m_w->isModified());
    QVERIFY(m_w->isWindowModified());
    QCOMPARE(m_w->currentFile(), path(u"d.pwk"_s));
    if (overwrite)
        m_messages.answers = {Answer::Save};
    QTest::keySequence(m_w.get(), QKeySequence(u"Ctrl+S"_s)); // saves to d.pwk, no dialog

    QCOMPARE(m_dialogs.requests.size(), 1); // Open's
    const QString asked = m_messages.questions.last();
    QVERIFY2(asked.contains(u"このまま書くと壊れる行"_s) &&
                 asked.contains(u"「ソフト紹介」の下の文章 2 行"_s),
             qPrintable(asked));
    QCOMPARE(m_messages.choices.last().first().caption, u"キャンセル"_s);
    if (!overwrite) {
        QCOMPARE(m_dir->read(u"d.pwk"_s), before);
        QVERIFY(m_w->isModified());
        return;
    }
    QCOMPARE(m_dir->read(u"d.pwk"_s), Cp932::encode(DataFileWriter::text(doc()->project())));
    QVERIFY(!m_w->isModified());
    const qsizetype asks = m_messages.questions.size();
    QTest::keySequence(m_w.get(), QKeySequence(u"Ctrl+S"_s)); // the file is whole now
    QCOMPARE(m_messages.questions.size(), asks);
}

// What is no data file at all is refused and changes nothing: not the
// window, not the recent files, and quillet-compose refuses it as well.
void TstWritten::nonDataFileIsRefused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    QTest::newRow("NUL bytes") << QByteArray("1:=x:=a\r\n\0\x01\x02", 12) << u"NUL"_s;
    QTest::newRow("PNG header") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << u"NUL"_s;
    QTest::newRow("no code page 932") << QByteArray("1:=   x:=\x80\xa0\xfd\r\n") << u"シフトJIS"_s;
    QTest::newRow("no item line") << QByteArray("Hello, world\r\n0:=x:=\r\n") << u"1 行目"_s;
    QTest::newRow("empty") << QByteArray() << u"1 行目"_s;
}

void TstWritten::nonDataFileIsRefused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    m_dir->write(u"x.pwk"_s, bytes);
    doc()->setFieldText(SoftName, u"作業中"_s);
    const QStringList entries = doc()->items()->entries();
    m_messages.answers = {Answer::Discard};
    openFile(path(u"x.pwk"_s));
    QCOMPARE(m_messages.warnings.size(), 1);
    QVERIFY2(m_messages.warnings.first().contains(reason), qPrintable(m_messages.warnings.first()));
    QCOMPARE(doc()->fieldText(SoftName), u"作業中"_s);
    QCOMPARE(doc()->items()->entries(), entries);
    QVERIFY(m_w->currentFile().isEmpty());
    QVERIFY(m_w->recentFiles().isEmpty());
    QCOMPARE(m_dir->read(u"x.pwk"_s), bytes);
    QCOMPARE(
        QProcess::execute(QStringLiteral(QUILLET_COMPOSE), {path(u"x.pwk"_s), path(u"R.TXT"_s)}),
        3);
    QVERIFY(!QFileInfo::exists(path(u"R.TXT"_s)));
}

// A heading added with its box off is listed but not composed; Save and
// Open keep it so.
void TstWritten::uncheckedHeadingStaysOff()
{
    const int box = 20 - FirstBody; // 注意事項
    QTest::mouseClick(get<QWidget>(u"chkBody(%1)"_s.arg(box)), Qt::LeftButton);
    QCOMPARE(doc()->bodyBox(box), 0);
    auto *add = get<QLineEdit>(u"txtAdd"_s);
    add->setFocus();
    type(add, u"注意事項"_s);
    QTest::mouseClick(get<QWidget>(u"cmdAddDel(0)"_s), Qt::LeftButton);
    QVERIFY(doc()->items()->findItemEntry(u"注意事項"_s) >= 0);
    const QString readme = composed(*doc());
    QVERIFY(!readme.contains(u"注意事項"_s));
    m_dialogs.answers = {path(u"a.pwk"_s)};
    trigger(u"mnuSave"_s);
    QVERIFY(m_dir->read(u"a.pwk"_s).contains(Cp932::encode(u"20:=   注意事項:=0\r\n"_s)));
    m_messages.answers = {Answer::Discard};
    trigger(u"mnuNew"_s);
    openFile(path(u"a.pwk"_s));
    QCOMPARE(doc()->bodyBox(box), 0);
    QCOMPARE(composed(*doc()), readme);
}

// Every listed check box takes its stored state, checked when none is
// stored; saving again writes the same lines and composes the same README.
void TstWritten::listedBoxTakesItsStoredState_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("item");
    QTest::addColumn<int>("state");
    QTest::newRow("body off") << u"20:=   注意事項:=0"_s << 20 << 0;
    QTest::newRow("body on") << u"20:=   注意事項:=1"_s << 20 << 1;
    QTest::newRow("body grayed") << u"17:=   ファイルの説明:=2"_s << int(FirstBody + 1) << 2;
    QTest::newRow("body, none stored") << u"20:=   注意事項:="_s << 20 << 1;
    QTest::newRow("end line off") << u"25:=   連絡先(文末):=0"_s << int(FirstEnd + 1) << 0;
    QTest::newRow("end line grayed") << u"24:=   著作権者(文末):=2"_s << int(FirstEnd) << 2;
    QTest::newRow("end line, none stored") << u"28:=   著作権:="_s << int(LastEnd) << 1;
}

void TstWritten::listedBoxTakesItsStoredState()
{
    QFETCH(QString, line);
    QFETCH(int, item);
    QFETCH(int, state);
    const QStringList file = {u"0:=●文頭の項目:="_s,
                              u"1:=   ソフト名:=サンプル"_s,
                              u"15:=●本文内の項目:="_s,
                              u"23:=●文末の項目:=1"_s,
                              line,
                              u"@@@10"_s,
                              u"@@@30"_s,
                              u"@@@680"_s};
    m_dir->writeLines(u"a.pwk"_s, file);
    m_messages.answers = {Answer::Discard};
    openFile(path(u"a.pwk"_s));
    const int got =
        item >= FirstEnd ? doc()->endBox(item - FirstEnd) : doc()->bodyBox(item - FirstBody);
    QCOMPARE(got, state);
    const QString readme = composed(*doc());
    m_dialogs.answers = {path(u"b.pwk"_s)};
    trigger(u"mnuSaveAs"_s);
    QStringList saved = file;
    saved[4] = line.endsWith(u":="_s) ? line + u"1"_s : line;
    QCOMPARE(m_dir->read(u"b.pwk"_s), Cp932::encode(saved.join(u"\r\n"_s) + u"\r\n"_s));
    openFile(path(u"b.pwk"_s));
    QCOMPARE(composed(*doc()), readme);
    if (item < EndMarker) // a heading is composed only with its box on
        QCOMPARE(readme.contains(Entry::trimSpaces(line.section(u":="_s, 1, 1))), state != 0);
}

// A field whose entry was deleted still shows in the end lines: Save and
// Open keep its value, and so do Import, Save and Open of that README.
void TstWritten::valueShownOnlyAtTheEndIsKept_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("value");
    QTest::newRow("著作権者") << int(Writer) << u"山田太郎"_s;
    QTest::newRow("連絡先") << int(Address) << u"東京都千代田区 := 1-1"_s;
    QTest::newRow("ホームページ") << int(HomePage) << u"https://example.jp/"_s;
}

void TstWritten::valueShownOnlyAtTheEndIsKept()
{
    QFETCH(int, item);
    QFETCH(QString, value);
    doc()->setFieldText(SoftName, u"サンプル"_s);
    doc()->setFieldText(item, value);
    for (int i = 0; i < kEndCount; ++i)
        doc()->setEndBox(i, 1);
    ItemList *list = doc()->items();
    list->setSelected(list->findItemEntry(doc()->itemName(item)), true);
    QTest::mouseClick(get<QWidget>(u"cmdAddDel(1)"_s), Qt::LeftButton);
    QCOMPARE(list->findItemEntry(doc()->itemName(item)), -1);
    QCOMPARE(doc()->fieldText(item), value);
    const QString readme = composed(*doc());
    QVERIFY(readme.contains(value));

    m_dialogs.answers = {path(u"a.pwk"_s), path(u"R.TXT"_s)};
    trigger(u"mnuSave"_s);
    trigger(u"mnuReadme"_s);
    m_messages.answers = {Answer::Discard};
    trigger(u"mnuNew"_s);
    openFile(path(u"a.pwk"_s));
    QCOMPARE(list->findItemEntry(doc()->itemName(item)), -1); // kept, not listed
    QCOMPARE(composed(*doc()), readme);

    m_dialogs.answers = {path(u"R.TXT"_s), path(u"b.pwk"_s)};
    trigger(u"mnuImport"_s);
    trigger(u"mnuSave"_s);
    m_messages.answers = {Answer::Discard};
    trigger(u"mnuNew"_s);
    openFile(path(u"b.pwk"_s));
    QCOMPARE(Cp932::encode(composed(*doc())), m_dir->read(u"R.TXT"_s));
    QVERIFY2(m_messages.warnings.isEmpty(), qPrintable(m_messages.warnings.join(u'\n')));
}

// The add box keeps its text; once added it is in the list and the data
// file, and only text typed after that counts as unsaved.
void TstWritten::addedHeadingTextIsNotUnsaved_data()
{
    QTest::addColumn<QString>("typedAfter");
    QTest::addColumn<bool>("unsaved");
    QTest::newRow("added and saved") << QString() << false;
    QTest::newRow("typed on after adding") << u"その2"_s << true;
}

void TstWritten::addedHeadingTextIsNotUnsaved()
{
    QFETCH(QString, typedAfter);
    QFETCH(bool, unsaved);
    auto *add = get<QLineEdit>(u"txtAdd"_s);
    add->setFocus();
    type(add, u"更新履歴"_s);
    QTest::mouseClick(get<QWidget>(u"cmdAddDel(0)"_s), Qt::LeftButton);
    m_dialogs.answers = {path(u"a.pwk"_s)};
    trigger(u"mnuSave"_s);
    add->setFocus();
    type(add, typedAfter);
    QCOMPARE(add->text(), u"更新履歴"_s + typedAfter);
    QCoreApplication::processEvents(); // the title's mark follows
    QCOMPARE(m_w->isWindowModified(), unsaved);
    m_messages.answers = {Answer::Cancel};
    QCOMPARE(m_w->close(), !unsaved);
    QCOMPARE(m_messages.questions.size(), unsaved ? 1 : 0);
}

// Files of the same name are told apart by their folder, a refused file is
// not remembered, and the status line speaks of the file in use.
void TstWritten::recentFilesAndStatusNameTheRightFile()
{
    QDir(m_dir->path()).mkpath(u"版1"_s);
    QDir(m_dir->path()).mkpath(u"版2"_s);
    const QString a = path(u"版1/readme.pwk"_s), b = path(u"版2/readme.pwk"_s);
    QVERIFY(QFile::copy(testDataPath(u"sample.pwk"_s), a) && QFile::copy(a, b));
    m_dir->write(u"bad.pwk"_s, QByteArray("\0\0", 2));
    openFile(a);
    openFile(path(u"bad.pwk"_s));
    openFile(b);
    QCOMPARE(m_w->recentFiles(), (QStringList{b, a}));
    QVERIFY(m_w->statusBar()->currentMessage().contains(QDir::toNativeSeparators(b)));
    auto *recent = m_w->findChild<QMenu *>(u"mnuRecent"_s);
    emit recent->aboutToShow();
    const QString first = m_w->findChild<QAction *>(u"mnuRecent(0)"_s)->text();
    const QString second = m_w->findChild<QAction *>(u"mnuRecent(1)"_s)->text();
    QVERIFY2(first.contains(u"版2"_s) && second.contains(u"版1"_s), qPrintable(first + second));
    m_dialogs.answers = {path(u"c.pwk"_s)};
    trigger(u"mnuSave"_s);
    QVERIFY(m_w->statusBar()->currentMessage().contains(u"書き込みました"_s));
    trigger(u"mnuNew"_s);
    QCOMPARE(m_w->statusBar()->currentMessage(), QString());
}

QTEST_MAIN(TstWritten)
#include "tst_written.moc"
