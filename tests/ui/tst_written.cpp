// What the author chose is what gets written: the README's file type, a
// damaged data file, values and check boxes through Save and Open. Each
// scenario is driven through the menus with dialogs that answer as Qt's do.
#include "WindowFixture.h"
#include "datafile/DataFileWriter.h"
#include "platform/Cp932.h"
#include "readme/ReadmeComposer.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QSettings>
#include <QStatusBar>

using namespace Qt::StringLiterals;
using namespace Items;
using Answer = Messages::Answer;

namespace {
QString composed(const Document &doc)
{
    return ReadmeComposer(doc.snapshot()).compose().value() + u"\r\n"_s;
}
QByteArray lf(QByteArray bytes)
{
    return bytes.replace("\r\n", "\n");
}
} // namespace

class TstWritten : public WindowFixture {
    Q_OBJECT
private slots:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }
    void readmeFileTypeIsWhatIsWritten_data();
    void readmeFileTypeIsWhatIsWritten();
    void unknownFileTypeWritesNothing();

private:
    void openFile(const QString &file)
    {
        m_dialogs.answers = {file};
        trigger(u"mnuOpen"_s);
    }
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
                                : kind == u"lf"   ? lf(text.toUtf8())
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

QTEST_MAIN(TstWritten)
#include "tst_written.moc"
