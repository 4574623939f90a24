// Files that fight back: a full disk, a read-only folder, a file that goes
// away, a folder chosen as a file, huge files, random bytes, a list file in
// UTF-8. Each gives a clear message, no crash, and leaves every file as it was.
#include "QueuedServices.h"
#include "TestSupport.h"
#include "datafile/DataFileReader.h"
#include "datafile/DataFileWriter.h"
#include "document/Document.h"
#include "entrylists/EntryLists.h"
#include "platform/LineFile.h"
#include "readme/ReadmeComposer.h"
#include "ui/FrmMain.h"

#include <QAction>
#include <QDialog>
#include <QRandomGenerator>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

using namespace Qt::StringLiterals;
using namespace Items;

namespace {
// Writes beyond a few kilobytes fail with EFBIG, as on a full disk.
class FullDisk {
public:
    FullDisk()
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit small = m_old;
        small.rlim_cur = 4096;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FullDisk() { setrlimit(RLIMIT_FSIZE, &m_old); }
    FullDisk(const FullDisk &) = delete;
    FullDisk &operator=(const FullDisk &) = delete;

private:
    rlimit m_old{};
};

// A dialog that removes the chosen file before the command reads it.
class VanishingDialogs : public QueuedDialogs {
public:
    QString open(const FileDialogRequest &r) override
    {
        const QString path = QueuedDialogs::open(r);
        QFile::remove(path);
        return path;
    }
};

QStringList manyEntries()
{
    QStringList entries;
    for (int i = 0; i < 400; ++i)
        entries.append(u"   見出し %1"_s.arg(i));
    return entries;
}
} // namespace

class TstFaults : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void writersOnAFullDiskKeepOldFiles_data();
    void writersOnAFullDiskKeepOldFiles();
    void readmeOnAFullDiskIsReported();
    void fileRemovedBetweenDialogAndRead();
    void folderChosenAsAFile();
    void hugeDataFileIsRefused();
    void tenMegabyteLine();
    void randomBytesNeverCrash();
    void utf8ListFileIsReportedAndKept();

private:
    std::unique_ptr<TempAppDir> m_dir;
    std::unique_ptr<FrmMain> m_w;
    QueuedMessages m_messages;
    QueuedDialogs m_dialogs;
    QString path(const QString &n) const { return m_dir->filePath(n); }
};

void TstFaults::init()
{
    m_dir = std::make_unique<TempAppDir>();
    m_messages = {};
    m_dialogs = {};
    m_w = std::make_unique<FrmMain>();
    m_w->setServices(&m_dialogs, &m_messages);
    m_w->setDialogRunner([](QDialog &d) { d.close(); });
}

void TstFaults::cleanup()
{
    m_w.reset();
    m_dir.reset();
}

void TstFaults::writersOnAFullDiskKeepOldFiles_data()
{
    QTest::addColumn<QString>("writer");
    QTest::newRow("data file") << u"data"_s;
    QTest::newRow("list file") << u"list"_s;
    QTest::newRow("line file") << u"lines"_s;
}

void TstFaults::writersOnAFullDiskKeepOldFiles()
{
    QFETCH(QString, writer);
    const QByteArray old("old content\r\n");
    m_dir->write(u"Writer.dat"_s, old);
    Document doc;
    doc.InitializeForm();
    doc.items()->setEntries(manyEntries());
    bool ok = true;
    QString error;
    {
        const FullDisk full;
        if (writer == u"data") {
            const auto r = DataFileWriter::write(path(u"Writer.dat"_s), doc.snapshot());
            ok = r.ok;
            error = r.error;
        } else if (writer == u"list") {
            const auto r = EntryLists::SaveList(u"著作権者の登録"_s, manyEntries());
            ok = r.ok;
            error = r.error;
        } else {
            const auto r = LineFile::write(path(u"Writer.dat"_s), manyEntries());
            ok = r.ok;
            error = r.error;
        }
    }
    QVERIFY(!ok);
    QVERIFY2(error.contains(u"Writer.dat"_s), qPrintable(error));
    QCOMPARE(m_dir->read(u"Writer.dat"_s), old);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{u"Writer.dat"_s});
}

void TstFaults::readmeOnAFullDiskIsReported()
{
    m_dir->write(u"README.TXT"_s, "previous\r\n");
    m_w->document()->items()->setEntries(manyEntries());
    m_dialogs.answers = {path(u"README.TXT"_s)};
    {
        const FullDisk full;
        m_w->action(u"mnuReadme"_s)->trigger();
    }
    QCOMPARE(m_messages.warnings.size(), 1);
    QVERIFY(m_messages.warnings.first().startsWith(u"README.TXTを書き込めませんでした"_s));
    QCOMPARE(m_dir->read(u"README.TXT"_s), QByteArray("previous\r\n"));
}

void TstFaults::fileRemovedBetweenDialogAndRead()
{
    VanishingDialogs dialogs;
    m_w->setServices(&dialogs, &m_messages);
    m_dir->write(u"gone.pwk"_s, "1:=   ソフト名:=x\r\n");
    m_w->document()->setFieldText(SoftName, u"kept"_s);
    m_messages.answers = {1};
    dialogs.answers = {path(u"gone.pwk"_s)};
    m_w->action(u"mnuOpen"_s)->trigger();
    QCOMPARE(m_w->document()->fieldText(SoftName), u"kept"_s);
    QCOMPARE(m_messages.warnings.size(), 1);
    QVERIFY(m_messages.warnings.first().contains(u"gone.pwk"_s));
}

void TstFaults::folderChosenAsAFile()
{
    QDir(m_dir->path()).mkdir(u"folder.pwk"_s);
    const QString folder = path(u"folder.pwk"_s);
    m_dialogs.answers = {folder, folder, folder};
    m_w->action(u"mnuOpen"_s)->trigger();
    m_w->action(u"mnuSave"_s)->trigger();
    m_w->action(u"mnuReadme"_s)->trigger();
    QCOMPARE(m_messages.warnings.size(), 3);
    for (const QString &w : m_messages.warnings)
        QVERIFY2(w.contains(u"フォルダー"_s), qPrintable(w));
    QVERIFY(QFileInfo(folder).isDir());
    QCOMPARE(m_w->document()->items()->count(), 14);
}

void TstFaults::hugeDataFileIsRefused()
{
    QFile big(path(u"big.pwk"_s));
    QVERIFY(big.open(QIODevice::WriteOnly));
    QVERIFY(big.resize(100LL * 1024 * 1024)); // sparse: quick to make
    big.close();
    const QStringList before = m_w->document()->items()->entries();
    m_dialogs.answers = {path(u"big.pwk"_s)};
    m_w->action(u"mnuOpen"_s)->trigger();
    QCOMPARE(m_messages.warnings.size(), 1);
    QVERIFY(m_messages.warnings.first().contains(u"大きすぎます"_s));
    QCOMPARE(m_w->document()->items()->entries(), before);
    QCOMPARE(QFileInfo(path(u"big.pwk"_s)).size(), 100LL * 1024 * 1024);
}

void TstFaults::tenMegabyteLine()
{
    const QByteArray value(10 * 1024 * 1024, 'v');
    m_dir->write(u"long.pwk"_s, "1:=   \x83\x5c\x83\x74\x83\x67\x96\xbc:=" + value + "\r\n");
    m_dir->write(u"junk.pwk"_s, QByteArray(10 * 1024 * 1024, 'j') + "\r\n");
    Document doc;
    doc.InitializeForm();
    QVERIFY(DataFileReader::read(path(u"long.pwk"_s), doc).ok());
    QCOMPARE(doc.fieldText(SoftName).size(), value.size());
    ReadmeComposer composer(doc.snapshot());
    QVERIFY(composer.BuildReadme().ok);
    const auto junk = DataFileReader::read(path(u"junk.pwk"_s), doc);
    QCOMPARE(junk.status, DataFileReader::Result::Malformed);
    QCOMPARE(junk.line, 1);
}

void TstFaults::randomBytesNeverCrash()
{
    QRandomGenerator rng(20261206);
    for (int round = 0; round < 20; ++round) {
        QByteArray bytes(int(rng.bounded(1, 4096)), Qt::Uninitialized);
        for (char &c : bytes)
            c = char(rng.bounded(256));
        m_dir->write(u"random.pwk"_s, bytes);
        m_messages = {};
        m_dialogs.answers = {path(u"random.pwk"_s)};
        m_messages.answers = {1};
        m_w->action(u"mnuOpen"_s)->trigger();
        m_w->action(u"mnuPreview"_s)->trigger();
        QCOMPARE(m_dir->read(u"random.pwk"_s), bytes);
    }
}

void TstFaults::utf8ListFileIsReportedAndKept()
{
    const QByteArray utf8 = u"サンプル工房\nもう一つ\n"_s.toUtf8();
    m_dir->write(u"Writer.dat"_s, utf8);
    m_w->action(u"mnuRegist(0)"_s)->trigger();
    QVERIFY2(m_messages.warnings.size() == 1, qPrintable(m_messages.warnings.join(u'|')));
    QVERIFY(m_messages.warnings.first().contains(u"Writer.dat"_s));
    QCOMPARE(m_dir->read(u"Writer.dat"_s), utf8); // closed unchanged: not rewritten
}

QTEST_MAIN(TstFaults)
#include "tst_faults.moc"
