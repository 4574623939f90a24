// A README in more than one language: what a language shows of its own and
// what falls back, a view folding back whole, the data file keeping every
// language where an older reader stops, and both READMEs written at once.
#include "TestSupport.h"
#include "check/ReleaseCheck.h"
#include "datafile/DataFileWriter.h"
#include "platform/LineFile.h"
#include "project/Entry.h"
#include "project/Languages.h"
#include "readme/ReadmeComposer.h"
#include "session/ProjectSession.h"

#include <QProcess>
#include <QTest>

using namespace Qt::StringLiterals;

class TstLanguages : public QObject {
    Q_OBJECT
private slots:
    void views_data();
    void views();
    void editsInAViewFoldBack();
    void theDataFileKeepsThem();
    void bothReadmesAtOnce();
    void commandLine_data();
    void commandLine();
};

namespace {
const QString kClock = testDataPath(u"languages/clock.pwk"_s);

Project clockProject()
{
    return ProjectSession::readDataFile(kClock)->project;
}

QString composed(const Project &p)
{
    return ReadmeComposer(ProjectRules::settled(p)).compose().value();
}
} // namespace

// The language viewed, and what the README then shows (| between parts it holds).
void TstLanguages::views_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("shows");
    QTest::addColumn<QString>("hides");
    QTest::newRow("the main one")
        << u"ja"_s << u"【    ソフト名    】　　かんたん時計|著作権者            山田太郎"_s
        << u"Easy Clock"_s;
    QTest::newRow("its own names, values and texts")
        << u"en"_s
        << u"【      Name      】　　Easy Clock|【    Version     】　　1.02|"
           "【     About      】\r\nA small clock on your desktop.|Author              Taro Yamada|"
           "Easy Clock Copyright(C) Taro Yamada"_s
        << u"かんたん時計|著作権者|ソフト紹介"_s;
    QTest::newRow("one it lacks is the main one's") << u"en"_s << u"Windows 10 / 11"_s << QString();
    QTest::newRow("a language it does not have") << u"fr"_s << u"かんたん時計"_s << u"Easy"_s;
}

void TstLanguages::views()
{
    QFETCH(QString, language);
    QFETCH(QString, shows);
    QFETCH(QString, hides);
    const Project view = Languages::viewIn(clockProject(), language);
    const QString text = composed(view);
    for (const QString &part : shows.split(u'|'))
        QVERIFY2(text.contains(part), qPrintable(part + u"\n"_s + text));
    for (const QString &part : hides.split(u'|', Qt::SkipEmptyParts))
        QVERIFY2(!text.contains(part), qPrintable(part));
    QCOMPARE(Languages::folded(view), clockProject());
    QCOMPARE(Languages::all(view), (QStringList{u"ja"_s, u"en"_s}));
}

// Typing in a view is the language's own; typing the main language's value
// back leaves none; switching between languages loses nothing.
void TstLanguages::editsInAViewFoldBack()
{
    Project view = Languages::viewIn(clockProject(), u"en"_s);
    view.values[Items::Environment] = u"Windows 10 or 11"_s;
    view.values[Items::Writer] = u"山田太郎"_s; // the same as the main one
    view.texts.setUnder(u"使い方"_s, {u"Just start it."_s});
    const Project f = Languages::folded(view);
    QCOMPARE(f.values[Items::Environment], u"Windows 10 / 11"_s);
    QCOMPARE(f.texts.under(u"使い方"_s).size(), 2);
    const Translation &en = f.languages.others.first();
    QCOMPARE(en.values.value(Items::Environment), u"Windows 10 or 11"_s);
    QVERIFY(!en.values.contains(Items::Writer));
    QCOMPARE(en.texts.under(u"使い方"_s), QStringList{u"Just start it."_s});
    QCOMPARE(en.names, clockProject().languages.others.first().names);
    // Straight from one view to another, and back.
    Project fr = f;
    QVERIFY(Languages::add(fr, u"fr"_s));
    QVERIFY(!Languages::add(fr, u"en"_s));
    const Project there = Languages::viewIn(Languages::viewIn(fr, u"en"_s), u"fr"_s);
    QCOMPARE(Languages::shownOf(there), u"fr"_s);
    QCOMPARE(there.values[Items::SoftName], u"かんたん時計"_s);
    QCOMPARE(Languages::folded(there), fr);
}

// Written and read back whole; the lines before the empty line, all an
// older reader takes, are those of the main language alone.
void TstLanguages::theDataFileKeepsThem()
{
    TempAppDir dir;
    const Project p = clockProject();
    const QString path = dir.filePath(u"c.pwk"_s);
    QVERIFY(DataFileWriter::write(path, Languages::viewIn(p, u"en"_s)).ok());
    QCOMPARE(dir.read(u"c.pwk"_s), readFileBytes(kClock));
    QCOMPARE(ProjectSession::readDataFile(path)->project, p);
    Project alone = p;
    alone.languages = {};
    const QStringList with = DataFileWriter::lines(p), without = DataFileWriter::lines(alone);
    QCOMPARE(with.mid(0, with.indexOf(QString())), without.mid(0, without.indexOf(QString())));
    // A language block cut short, or one with a number no field has, is told.
    for (const QString &bad : {u"@@@L"_s,
                               u"@@@0"
                               "99:=x"_s,
                               u"@@@Nno separator"_s}) {
        QStringList lines = with;
        lines.insert(lines.indexOf(u"@@@Len"_s) + 1, bad);
        dir.writeLines(u"bad.pwk"_s, lines);
        const Result<DataFileReader::Parsed> r =
            ProjectSession::readDataFile(dir.filePath(u"bad.pwk"_s));
        QVERIFY2(r.ok() && !r->report.complete(), qPrintable(bad));
    }
}

// --all-languages writes README.TXT and README_en.txt, as kept.
void TstLanguages::bothReadmesAtOnce()
{
    TempAppDir dir;
    QProcess p;
    p.start(QStringLiteral(QUILLET_COMPOSE),
            {u"--all-languages"_s, kClock, dir.filePath(u"README.TXT"_s)});
    p.waitForFinished(60000);
    QCOMPARE(p.exitCode(), 0);
    QCOMPARE(dir.read(u"README.TXT"_s), readFileBytes(testDataPath(u"languages/README.TXT"_s)));
    QCOMPARE(dir.read(u"README_en.txt"_s),
             readFileBytes(testDataPath(u"languages/README_en.txt"_s)));
    // The check tells what a new language lacks, and nothing of one complete.
    Project f = clockProject();
    Languages::add(f, u"fr"_s);
    const Composition c = ReadmeComposer(f).composeLines().value();
    QStringList told;
    for (const ReleaseCheck::Finding &finding : ReleaseCheck::check(f, c, {80, {}, {}, {}})) {
        if (finding.rule == u"untranslated")
            told.append(finding.subject);
    }
    QCOMPARE(told, QStringList{u"fr"_s});
}

// Arguments ("$" the clock project copied, "@f" a file beside it), the exit
// status, and what the README written (or standard error) holds.
void TstLanguages::commandLine_data()
{
    QTest::addColumn<QString>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("holds");
    QTest::newRow("--lang writes that language") << u"--lang en $ @R.TXT"_s << 0 << u"Easy Clock"_s;
    QTest::newRow("--set and --name in it, kept by --write-data")
        << u"--lang en --set 転載の可否=Free --name 転載の可否=Copying --write-data $ $ @R.TXT"_s
        << 0 << u"【    Copying     】　　Free"_s;
    QTest::newRow("a language added")
        << u"--add-language fr --lang fr $ @R.TXT"_s << 0 << u"かんたん時計"_s;
    QTest::newRow("a language it lacks") << u"--lang fr $"_s << 2 << u"ja, en"_s;
    QTest::newRow("--name without --lang") << u"--name a=b $"_s << 2 << u"--lang"_s;
    QTest::newRow("--all-languages needs a file") << u"--all-languages $"_s << 2 << u"README"_s;
}

void TstLanguages::commandLine()
{
    QFETCH(QString, args);
    QFETCH(QString, holds);
    TempAppDir dir;
    dir.write(u"c.pwk"_s, readFileBytes(kClock));
    QStringList list = args.split(u' ');
    for (QString &a : list)
        a = a == u"$" ? dir.filePath(u"c.pwk"_s) : a.startsWith(u'@') ? dir.filePath(a.mid(1)) : a;
    QProcess p;
    p.start(QStringLiteral(QUILLET_COMPOSE), list);
    p.waitForFinished(60000);
    QTEST(p.exitCode(), "status");
    const QString written = p.exitCode() == 0
                                ? LineFile::read(dir.filePath(u"R.TXT"_s))->join(u'\n')
                                : QString::fromUtf8(p.readAllStandardError());
    QVERIFY2(written.contains(holds), qPrintable(written));
    if (args.contains(u"--write-data")) {
        const Project saved = ProjectSession::readDataFile(dir.filePath(u"c.pwk"_s))->project;
        QCOMPARE(saved.values[Items::Reprinting], u"可"_s);
        QCOMPARE(saved.languages.others.first().names.value(u"転載の可否"_s), u"Copying"_s);
    }
}

QTEST_GUILESS_MAIN(TstLanguages)
#include "tst_languages.moc"
