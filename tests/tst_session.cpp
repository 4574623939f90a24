// The session as the author meets it without a window: what counts as
// modified through open, edits, undo, save and import; a file read in part;
// and recovery after the process was killed.
#include "TestSupport.h"
#include "session/ProjectSession.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <cstdio>

using namespace Qt::StringLiterals;
using namespace Items;

namespace {
const QStringList kSample = {u"1:=   ソフト名:=Foo"_s, u"2:=   バージョン:=1.00"_s,
                             u"15:=●本文:="_s, u"16:=   ソフト紹介:=1"_s};

// Runs one step of a script on the session: "set:ITEM:TEXT", "undo",
// "redo", "save", "seal".
void step(ProjectSession &s, const QString &command, const QString &file)
{
    const QStringList p = command.split(u':');
    if (p.at(0) == u"set")
        s.document()->setFieldText(p.at(1).toInt(), p.at(2));
    else if (p.at(0) == u"undo")
        s.undo();
    else if (p.at(0) == u"redo")
        s.redo();
    else if (p.at(0) == u"save")
        QVERIFY(s.save(file).ok());
    s.record();
    s.seal();
}

// A session that writes recovery files and changes a field, then waits
// to be killed; run as a child process of this test.
int runChild(const QString &dir, const QString &project)
{
    ProjectSession session;
    session.setKeepsRecentFiles(false);
    session.enableRecovery(dir, 20);
    if (!project.isEmpty()) {
        const Result<DataFileReader::Parsed> r = ProjectSession::readDataFile(project);
        if (!r.ok())
            return 2;
        session.adopt(project, r.value());
    }
    session.document()->setFieldText(SoftName, u"打ちかけ"_s);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (QFileInfo::exists(session.recovery()->file())) {
            std::fputs("written\n", stdout);
            std::fflush(stdout);
            poll.stop();
        }
    });
    poll.start(10);
    return QCoreApplication::exec();
}
} // namespace

class TstSession : public QObject {
    Q_OBJECT
private slots:
    void init() { m_dir = std::make_unique<TempAppDir>(); }

    void modifiedFollowsTheProject_data();
    void modifiedFollowsTheProject();
    void partReadFileIsNeverClean();
    void importIsUntitledAndModified();
    void untakenPreviewTextIsModified();
    void recoveryFileReadsBack_data();
    void recoveryFileReadsBack();
    void unreadableRecoveryFileIsRefused_data();
    void unreadableRecoveryFileIsRefused();
    void orphansAreFilesNoRunningSessionHolds();
    void recoveryFileFollowsTheChanges();
    void killedSessionIsRestored();
    void everyWayInReplacesTheProject_data();
    void everyWayInReplacesTheProject();

private:
    QString file() const { return m_dir->filePath(u"p.pwk"_s); }
    std::unique_ptr<TempAppDir> m_dir;
    TempSettings m_settings;
};

void TstSession::modifiedFollowsTheProject_data()
{
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<bool>("modified");
    QTest::addColumn<QString>("version");
    QTest::newRow("opened") << QStringList{} << false << u"1.00"_s;
    QTest::newRow("typed") << QStringList{u"set:2:1.01"_s} << true << u"1.01"_s;
    QTest::newRow("typed back") << QStringList{u"set:2:1.01"_s, u"set:2:1.00"_s} << false
                                << u"1.00"_s;
    QTest::newRow("undone") << QStringList{u"set:2:1.01"_s, u"undo"_s} << false << u"1.00"_s;
    QTest::newRow("redone") << QStringList{u"set:2:1.01"_s, u"undo"_s, u"redo"_s} << true
                            << u"1.01"_s;
    QTest::newRow("saved") << QStringList{u"set:2:1.01"_s, u"save"_s} << false << u"1.01"_s;
    QTest::newRow("undone past the save")
        << QStringList{u"set:2:1.01"_s, u"save"_s, u"undo"_s} << true << u"1.00"_s;
    QTest::newRow("undone to the save")
        << QStringList{u"set:2:1.01"_s, u"save"_s, u"set:2:1.02"_s, u"undo"_s} << false
        << u"1.01"_s;
    QTest::newRow("new branch after an undo past the save")
        << QStringList{u"set:2:1.01"_s, u"save"_s, u"undo"_s, u"set:1:Bar"_s} << true << u"1.00"_s;
}

void TstSession::modifiedFollowsTheProject()
{
    QFETCH(QStringList, script);
    QFETCH(bool, modified);
    QFETCH(QString, version);
    m_dir->writeLines(u"p.pwk"_s, kSample);
    ProjectSession s;
    const Result<DataFileReader::Parsed> r = ProjectSession::readDataFile(file());
    QVERIFY(r.ok());
    s.adopt(file(), r.value());
    for (const QString &command : std::as_const(script))
        step(s, command, file());
    QCOMPARE(s.isModified(), modified);
    QCOMPARE(s.document()->fieldText(Version), version);
    QCOMPARE(s.filePath(), file());
    QCOMPARE(s.displayName(), u"p.pwk"_s);
    QCOMPARE(s.recentFiles().value(0), file());
}

// What was read is not what the file holds: modified from the start, and
// saving over it is told what it loses; saving elsewhere does not clear that.
void TstSession::partReadFileIsNeverClean()
{
    m_dir->writeLines(u"p.pwk"_s, {kSample.at(0), u"壊れた行"_s, kSample.at(1)});
    ProjectSession s;
    const Result<DataFileReader::Parsed> r = ProjectSession::readDataFile(file());
    QVERIFY(r.ok());
    QVERIFY(!r->report.complete());
    s.adopt(file(), r.value());
    QVERIFY(s.isModified());
    QVERIFY(s.unreadPartAt(file()));
    QCOMPARE(s.unreadPartAt(file())->malformedLine, 2);
    const QString other = m_dir->filePath(u"other.pwk"_s);
    QVERIFY(s.save(other).ok());
    QVERIFY(!s.isModified());
    QVERIFY(s.unreadPartAt(file()));
    QVERIFY(!s.unreadPartAt(other));
    QVERIFY(s.save(file()).ok());
    QVERIFY(!s.unreadPartAt(file()));
}

void TstSession::importIsUntitledAndModified()
{
    m_dir->writeLines(u"README.TXT"_s, {u"【ソフト名】　Foo"_s, u""_s, u"【概要】"_s, u"ふー"_s});
    m_dir->writeLines(u"p.pwk"_s, kSample);
    ProjectSession s;
    s.adopt(file(), ProjectSession::readDataFile(file()).value());
    QVERIFY(s.importReadme(m_dir->filePath(u"README.TXT"_s)).ok());
    QVERIFY(s.isModified());
    QCOMPARE(s.displayName(), u"無題"_s);
    QVERIFY(!s.canUndo()); // a fresh history
    QVERIFY(!s.importReadme(m_dir->filePath(u"none.txt"_s)).ok());
    QCOMPARE(s.document()->fieldText(SoftName), u"Foo"_s); // a failed import changes nothing
}

// The preview edited by hand is unsaved until it is taken in.
void TstSession::untakenPreviewTextIsModified()
{
    ProjectSession s;
    s.newProject();
    s.document()->setFieldText(SoftName, u"Foo"_s);
    QVERIFY(s.save(file()).ok());
    QVERIFY(s.composePreview().ok());
    QVERIFY(!s.isModified());
    s.document()->setPreviewText(s.document()->previewText() + u"\n追記"_s);
    QVERIFY(s.isModified());
    QVERIFY(!s.projectModified());
    const std::optional<PreviewCapture::Captured> c = s.capturePreview();
    QVERIFY(c && c->unplaced.isEmpty());
    s.takeCaptured(*c);
    QVERIFY(!s.hasUnkeptText());
    QCOMPARE(s.document()->texts().tail.last(), u"追記"_s);
    QVERIFY(s.isModified()); // now a change of the project, until saved
    QVERIFY(s.save(file()).ok());
    QVERIFY(!s.isModified());
}

void TstSession::recoveryFileReadsBack_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("preview");
    QTest::addColumn<QStringList>("tail");
    QTest::newRow("untitled") << QString() << QString() << QStringList{};
    QTest::newRow("with a file and a preview")
        << u"/作者/p.pwk"_s << u"行1\n\n行3"_s << QStringList{u"後書き"_s};
    QTest::newRow("preview of empty lines") << u"p.pwk"_s << u"\n"_s << QStringList{u""_s};
}

void TstSession::recoveryFileReadsBack()
{
    QFETCH(QString, path);
    QFETCH(QString, preview);
    QFETCH(QStringList, tail);
    ProjectSession s;
    s.newProject();
    s.document()->setFieldText(SoftName, u"①ソフト"_s); // no code page 932 loss here
    BodyTexts texts;
    texts.tail = tail;
    s.document()->setTexts(texts);
    const RecoveryStore::State state{path, s.document()->project(), preview};
    const Result<RecoveryStore::State> back = RecoveryStore::decode(RecoveryStore::encode(state));
    QVERIFY2(back.ok(), qPrintable(back.reason()));
    QCOMPARE(back->path, path);
    QCOMPARE(back->preview, preview);
    QCOMPARE(back->project.values.at(SoftName), u"①ソフト"_s);
    QCOMPARE(back->project.texts.tail, tail);
}

void TstSession::unreadableRecoveryFileIsRefused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    ProjectSession s;
    s.newProject();
    const QByteArray whole = RecoveryStore::encode({u"p.pwk"_s, s.document()->project(), {}});
    QTest::newRow("whole") << whole << QString();
    QTest::newRow("cut short") << whole.left(whole.size() - 10) << u"途中で切れています"_s;
    QTest::newRow("end missing") << whole.left(whole.lastIndexOf('\n')) << u"途中で切れています"_s;
    QTest::newRow("newer version")
        << QByteArray(whole).replace("recovery 1", "recovery 2") << u"新しい版"_s;
    QTest::newRow("a data file") << QByteArray("1:=   ソフト名:=Foo\r\n")
                                 << u"復元用のファイルではありません"_s;
    QTest::newRow("empty") << QByteArray() << u"復元用のファイルではありません"_s;
    QTest::newRow("count past the end")
        << QByteArray(whole).replace("preview:=0", "preview:=999") << u"途中で切れています"_s;
}

void TstSession::unreadableRecoveryFileIsRefused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    const Result<RecoveryStore::State> r = RecoveryStore::decode(bytes);
    QCOMPARE(r.ok(), reason.isEmpty());
    if (!reason.isEmpty())
        QVERIFY2(r.reason().contains(reason), qPrintable(r.reason()));
}

// Another running session's file is not offered, nor the session's own; a
// file set aside is kept and never offered again.
void TstSession::orphansAreFilesNoRunningSessionHolds()
{
    const QString dir = m_dir->filePath(u"recovery"_s);
    ProjectSession running;
    running.enableRecovery(dir);
    running.document()->setFieldText(SoftName, u"実行中"_s);
    running.writeRecovery();
    QVERIFY(QFileInfo::exists(running.recovery()->file()));
    m_dir->write(u"recovery/1-1.recovery"_s, "not a recovery file");
    {
        RecoveryStore mine(dir);
        std::vector<RecoveryStore::Orphan> orphans = mine.orphans();
        QCOMPARE(orphans.size(), size_t(1));
        QVERIFY(orphans.front().file().endsWith(u"1-1.recovery"_s));
        QVERIFY(!orphans.front().read().ok());
        const QString keptAs = orphans.front().setAside();
        QVERIFY(QFileInfo::exists(keptAs));
    }
    QVERIFY(RecoveryStore(dir).orphans().empty());
    QCOMPARE(QDir(dir).entryList({u"*.unreadable"_s}).size(), 1);
    // Saved: nothing left to recover.
    QVERIFY(running.save(file()).ok());
    QVERIFY(!QFileInfo::exists(running.recovery()->file()));
}

// Written a moment after a change (once, not over and over), removed by a
// save, written again after an undo, and gone with a session that ends.
void TstSession::recoveryFileFollowsTheChanges()
{
    const QString dir = m_dir->filePath(u"recovery"_s);
    QString file;
    {
        ProjectSession s;
        s.enableRecovery(dir, 10);
        file = s.recovery()->file();
        s.newProject();
        s.document()->setFieldText(SoftName, u"Foo"_s);
        QTRY_VERIFY(QFileInfo::exists(file));
        QFile::remove(file);
        QTest::qWait(100);
        QVERIFY(!QFileInfo::exists(file));
        QVERIFY(s.save(this->file()).ok());
        QVERIFY(!QFileInfo::exists(file));
        s.undo();
        QTRY_VERIFY(QFileInfo::exists(file));
        s.redo(); // back to what was saved: nothing to recover
        QTRY_VERIFY(!QFileInfo::exists(file));
        s.undo();
        QTRY_VERIFY(QFileInfo::exists(file));
    }
    QVERIFY(!QFileInfo::exists(file));
}

// Typed, then killed without a chance to clean up: the next start finds the
// file and gives the project back as it was, modified, with its file name.
void TstSession::killedSessionIsRestored()
{
    const QString dir = m_dir->filePath(u"recovery"_s);
    m_dir->writeLines(u"p.pwk"_s, kSample);
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {u"--child"_s, dir, file()});
    QVERIFY(child.waitForStarted());
    QByteArray said;
    while (!said.contains("written") && child.waitForReadyRead(20000))
        said += child.readAllStandardOutput();
    QVERIFY2(said.contains("written"), child.readAllStandardError().constData());
    child.kill(); // SIGKILL: no destructor runs
    QVERIFY(child.waitForFinished());

    ProjectSession s;
    s.enableRecovery(dir);
    std::vector<RecoveryStore::Orphan> orphans = s.recovery()->orphans();
    QCOMPARE(orphans.size(), size_t(1));
    const Result<RecoveryStore::State> state = orphans.front().read();
    QVERIFY2(state.ok(), qPrintable(state.reason()));
    s.restoreRecovered(state.value());
    orphans.front().remove();
    QCOMPARE(s.document()->fieldText(SoftName), u"打ちかけ"_s);
    QCOMPARE(s.document()->fieldText(Version), u"1.00"_s);
    QCOMPARE(s.filePath(), file());
    QVERIFY(s.isModified());
    QVERIFY(QFileInfo::exists(s.recovery()->file())); // kept in the new session's name
    QVERIFY(RecoveryStore(dir).orphans().empty());
}

// New, Open, a template, an import and a recovered state each replace the
// whole project (its texts, credits and languages too) and give the fields
// the registered drop-downs.
void TstSession::everyWayInReplacesTheProject_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<QStringList>("texts"); // under ソフト紹介 afterwards
    for (const char *way : {"new", "open", "template"})
        QTest::newRow(way) << QString::fromLatin1(way) << QStringList();
    QTest::newRow("import") << u"import"_s << QStringList{u"ふー"_s};
    QTest::newRow("recovered") << u"recovered"_s << QStringList();
}

void TstSession::everyWayInReplacesTheProject()
{
    QFETCH(QString, way);
    m_dir->writeLines(u"p.pwk"_s, kSample);
    m_dir->writeLines(u"README.TXT"_s, {u"【ソフト名】　Foo"_s, u""_s, u"【概要】"_s, u"ふー"_s});
    ProjectSession s;
    s.setKeepsRecentFiles(false);
    Project before = ProjectSession::readDataFile(file())->project;
    before.texts.setUnder(u"ソフト紹介"_s, {u"前の文"_s});
    before.credits = {{u"前の素材"_s, {}, {}, {}, {}}};
    before.languages.others = {{u"en"_s, {{SoftName, u"Old"_s}}, {}, {}, {}}};
    s.applyStep(before, u"前"_s);
    Document::DropDowns registered;
    registered[Writer] = {u"登録した名前"_s};
    if (way == u"new") {
        s.newProject(registered);
    } else if (way == u"open") {
        s.adopt(file(), ProjectSession::readDataFile(file()).value(), registered);
    } else if (way == u"template") {
        s.startFrom(ProjectSession::readDataFile(file()).value(), registered);
    } else if (way == u"import") {
        QVERIFY(s.importReadme(m_dir->filePath(u"README.TXT"_s), registered).ok());
    } else {
        s.restoreRecovered({file(), ProjectSession::readDataFile(file())->project, {}}, registered);
    }
    const Document *d = s.document();
    QTEST(d->texts().under(u"ソフト紹介"_s), "texts");
    QVERIFY(d->credits().isEmpty());
    QVERIFY(d->languages().others.isEmpty());
    QCOMPARE(d->comboEntries(Writer).value(0), u"登録した名前"_s);
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() >= 3 && args.at(1) == u"--child")
        return runChild(args.at(2), args.value(3));
    TstSession test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_session.moc"
