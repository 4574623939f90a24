// Templates: the shipped ones open, compose and check clean but for their
// placeholders; the author's own are saved, listed first and win by name;
// quillet-compose makes a data file from one and never overwrites unasked,
// and tells a script what an import did in JSON.
#include "TestSupport.h"
#include "check/ReleaseCheck.h"
#include "datafile/DataFileWriter.h"
#include "platform/AppInfo.h"
#include "platform/Cp932.h"
#include "platform/LineFile.h"
#include "readme/ReadmeComposer.h"
#include "release/Release.h"
#include "session/ProjectSession.h"
#include "session/Templates.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

using namespace Qt::StringLiterals;

class TstTemplates : public QObject {
    Q_OBJECT
private slots:
    void shippedOnes_data();
    void shippedOnes();
    void ownOnesWin();
    void names_data();
    void names();
    void commandLine_data();
    void commandLine();
    void importReportAsJson();
};

namespace {
const QString kShipped = QStringLiteral(QUILLET_TEMPLATES);

QList<SiteProfile> shipped(const QString &name)
{
    return profileNamed(QStringLiteral(QUILLET_PROFILES), name);
}
} // namespace

void TstTemplates::shippedOnes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("profile");
    QTest::addColumn<QString>("heading"); // one the kind of project needs
    for (const char *n : {"Windowsツール", "フォント", "ライブラリ・プラグイン"})
        QTest::newRow(n) << QString::fromUtf8(n) << u"standard"_s << u"注意事項"_s;
    QTest::newRow("ゲーム") << u"ゲーム"_s << u"freem"_s << u"クレジット"_s;
    QTest::newRow("素材集") << u"素材集"_s << u"freem"_s << u"利用規約"_s;
    QTest::newRow("in English") << u"Windows tool (English)"_s << u"standard"_s << u"Usage"_s;
}

void TstTemplates::shippedOnes()
{
    QFETCH(QString, name);
    QFETCH(QString, profile);
    QFETCH(QString, heading);
    const std::optional<Templates::Template> t =
        Templates::find(Templates::list({kShipped}, {}), name);
    QVERIFY(t && !t->own);
    const Result<DataFileReader::Parsed> read = ProjectSession::readDataFile(t->path);
    QVERIFY(read.ok() && read->report.complete());
    // Saved again, every byte comes back: nothing in it is lost on a save.
    QCOMPARE(Cp932::encode(DataFileWriter::text(read->project)), readFileBytes(t->path));
    ProjectSession session;
    session.setKeepsRecentFiles(false);
    session.startFrom(read.value());
    QVERIFY(!session.isModified());
    QCOMPARE(session.displayName(), u"無題"_s);
    const Project p = session.document()->project();
    QVERIFY(p.texts.headings.contains(heading));
    const Result<Composition> c = ReadmeComposer(p).composeLines();
    QVERIFY(c.ok());
    QStringList others;
    int placeholders = 0;
    for (const auto &f : ReleaseCheck::check(p, c.value(), {80, {}, {}, shipped(profile)})) {
        if (f.rule == u"placeholder")
            ++placeholders;
        else
            others.append(f.rule);
    }
    QVERIFY2(others.isEmpty(), qPrintable(others.join(u' ')));
    QVERIFY(placeholders >= 3);
    // The first release takes the history's placeholder away.
    const Result<Release::Plan> r = Release::plan(p, {u"1.00"_s, QDate(2026, 12, 7), {}, false});
    QVERIFY(r.ok() && !r->headingAdded);
    QCOMPARE(r->project.texts.under(r->heading), QStringList{u"2026/12/07  Ver.1.00"_s});
}

void TstTemplates::ownOnesWin()
{
    TempAppDir dir;
    const QString own = dir.filePath(u"own"_s);
    Project p;
    p.entries = {u"●本文内の項目"_s, u"   遊び方"_s};
    p.texts.setUnder(u"遊び方"_s, {u"自分の文"_s});
    const Result<QString> saved = Templates::save(p, u" ゲーム "_s, own);
    QVERIFY2(saved.ok(), qPrintable(saved.reason()));
    QCOMPARE(saved.value(), QDir(own).filePath(u"ゲーム.pwk"_s));
    const QList<Templates::Template> all = Templates::list({own, kShipped}, own);
    QCOMPARE(all.size(), Templates::list({kShipped}, {}).size());
    const std::optional<Templates::Template> t = Templates::find(all, u"ゲーム"_s);
    QVERIFY(t && t->own);
    QCOMPARE(ProjectSession::readDataFile(t->path)->project.texts.under(u"遊び方"_s),
             QStringList{u"自分の文"_s});
    QCOMPARE(Templates::folders().first(), Templates::ownFolder());
}

void TstTemplates::names_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("ok");
    QTest::newRow("Japanese") << u"自分用ゲーム"_s << true;
    QTest::newRow("spaces inside") << u"my game 2"_s << true;
    QTest::newRow("empty") << u"  "_s << false;
    QTest::newRow("a folder") << u"a/b"_s << false;
    QTest::newRow("a Windows folder") << u"a\\b"_s << false;
    QTest::newRow("a colon") << u"c:x"_s << false;
    QTest::newRow("a question mark") << u"なに?"_s << false;
    QTest::newRow("a leading dot") << u".hidden"_s << false;
    QTest::newRow("a line end") << u"a\nb"_s << false;
}

void TstTemplates::names()
{
    QFETCH(QString, name);
    QTEST(Templates::checkName(name).ok(), "ok");
}

// Arguments ("@f" a file in a fresh folder), exit status, the data file's
// first line, and what standard error says.
void TstTemplates::commandLine_data()
{
    QTest::addColumn<QString>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("firstLine");
    QTest::addColumn<QString>("says");
    QTest::newRow("a new project")
        << u"--template ゲーム @new.pwk"_s << 0 << u"0:=●文頭の項目:="_s << QString();
    QTest::newRow("names ignore case")
        << u"--template=windowsツール @new.pwk"_s << 0 << u"0:=●文頭の項目:="_s << QString();
    QTest::newRow("never over a file unasked")
        << u"--yes --template ゲーム @old.pwk"_s << 7 << u"old"_s << u"上書き"_s;
    QTest::newRow("no terminal, no question")
        << u"--template ゲーム @old.pwk"_s << 7 << u"old"_s << u"尋ねられない"_s;
    QTest::newRow("no name") << u"--template= @new.pwk"_s << 2 << QString() << u"--template"_s;
    QTest::newRow("an unknown one")
        << u"--template game @new.pwk"_s << 2 << QString() << u"ゲーム"_s;
    QTest::newRow("and the first release")
        << u"--template 素材集 --release 1.0 --date 2026-12-07 @new.pwk @R.TXT"_s << 0
        << u"0:=●文頭の項目:="_s << QString();
}

void TstTemplates::commandLine()
{
    QFETCH(QString, args);
    QFETCH(QString, firstLine);
    QFETCH(QString, says);
    TempAppDir dir;
    dir.writeLines(u"old.pwk"_s, {u"old"_s});
    QStringList list = args.split(u' ');
    for (QString &a : list)
        a = a.startsWith(u'@') ? dir.filePath(a.mid(1)) : a;
    QProcess p;
    p.setStandardInputFile(QProcess::nullDevice());
    p.start(QStringLiteral(QUILLET_COMPOSE), list);
    p.waitForFinished(60000);
    QTEST(p.exitCode(), "status");
    const QString err = QString::fromUtf8(p.readAllStandardError());
    QVERIFY2(says.isEmpty() ? err.isEmpty() : err.contains(says), qPrintable(err));
    const QString file = list.contains(dir.filePath(u"old.pwk"_s)) ? u"old.pwk"_s : u"new.pwk"_s;
    const Result<QStringList> lines = LineFile::read(dir.filePath(file));
    QCOMPARE(lines.ok() ? lines->value(0) : QString(), firstLine);
    QCOMPARE(QFileInfo::exists(dir.filePath(u"R.TXT"_s)), args.contains(u"R.TXT"));
}

// For a script: --import's report as one JSON object on standard error,
// the README still on standard output.
void TstTemplates::importReportAsJson()
{
    QProcess p;
    p.start(QStringLiteral(QUILLET_COMPOSE),
            {u"--import"_s, testDataPath(u"foreign/colons.txt"_s), u"--format=json"_s});
    p.waitForFinished(60000);
    QCOMPARE(p.exitCode(), 0);
    const QJsonObject report = QJsonDocument::fromJson(p.readAllStandardError()).object();
    QCOMPARE(report.value(u"encoding"_s).toString(), u"UTF-8"_s);
    QVERIFY(!report.value(u"whole"_s).toBool());
    QVERIFY(report.value(u"mapped"_s).toArray().contains(u"名称 → ソフト名"_s));
    QVERIFY(
        report.value(u"keptAsIs"_s).toArray().contains(u"ライセンス → 独自の項目「ライセンス」"_s));
    QVERIFY(Cp932::decode(p.readAllStandardOutput()).contains(u"ライセンス"_s));
}

QTEST_GUILESS_MAIN(TstTemplates)
#include "tst_templates.moc"
