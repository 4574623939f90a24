#include "check/ReleaseCheck.h"
#include "datafile/DataFileReader.h"
#include "datafile/DataFileWriter.h"
#include "document/Document.h"
#include "platform/AppInfo.h"
#include "platform/Cp932.h"
#include "readme/ReadmeComposer.h"
#include "readme/ReadmeImport.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {
// A document of n entries: markers, every item, custom headings and an end section.
void fill(Document &doc, int n)
{
    using namespace Items;
    doc.initialize();
    for (int i = SoftName; i <= HomePage; ++i)
        doc.setFieldText(i, QStringLiteral("値 %1 value").arg(i));
    doc.setFieldText(SoftClass, QStringLiteral("シェアウエア"));
    QStringList entries;
    entries.reserve(n);
    while (entries.size() < n) {
        const int block = int(entries.size());
        entries.append(doc.itemName(StartMarker));
        for (int i = SoftName; i <= HomePage; ++i)
            entries.append(Entry::indented(doc.itemName(i)));
        entries.append(doc.itemName(BodyMarker));
        for (int i = FirstBody; i <= LastBody; ++i)
            entries.append(Entry::indented(doc.itemName(i)));
        for (int i = 0; i < 20; ++i)
            entries.append(QStringLiteral("   独自の見出し %1").arg(block + i));
        entries.append(doc.itemName(EndMarker));
        for (int i = FirstEnd; i <= LastEnd; ++i)
            entries.append(Entry::indented(doc.itemName(i)));
    }
    entries = entries.mid(0, n);
    doc.items()->setEntries(entries);
}

struct Env {
    QTemporaryDir dir;
    Env() { AppInfo::setApplicationDirectory(dir.path()); }
};
} // namespace

static void BM_BuildReadme(benchmark::State &state)
{
    Env env;
    Document doc;
    fill(doc, int(state.range(0)));
    const Project snap = doc.project();
    for (auto _ : state) {
        ReadmeComposer c(snap);
        benchmark::DoNotOptimize(c.compose().value().size());
    }
}

// Appends the same output bytes to a buffer: the least any writer can do.
static void BM_CopyBaseline(benchmark::State &state)
{
    Env env;
    Document doc;
    fill(doc, int(state.range(0)));
    ReadmeComposer c(doc.project());
    const QByteArray bytes = Cp932::encode(c.compose().value());
    for (auto _ : state) {
        QByteArray out;
        for (qsizetype i = 0; i < bytes.size(); i += 64)
            out.append(bytes.constData() + i, std::min<qsizetype>(64, bytes.size() - i));
        benchmark::DoNotOptimize(out.data());
    }
}

static void BM_WriteDataFile(benchmark::State &state)
{
    Env env;
    Document doc;
    fill(doc, int(state.range(0)));
    const QString path = QDir(env.dir.path()).filePath(QStringLiteral("b.pwk"));
    for (auto _ : state)
        benchmark::DoNotOptimize(DataFileWriter::write(path, doc.project()).ok());
}

// The same bytes through QSaveFile, synced to disk on commit: the least a
// save that cannot leave a half-written file costs on this disk.
static void BM_SafeWriteBaseline(benchmark::State &state)
{
    Env env;
    Document doc;
    fill(doc, int(state.range(0)));
    const QString path = QDir(env.dir.path()).filePath(QStringLiteral("b.pwk"));
    (void)DataFileWriter::write(path, doc.project());
    QFile written(path);
    if (!written.open(QIODevice::ReadOnly))
        state.SkipWithError("cannot read the data file back");
    const QByteArray bytes = written.readAll();
    for (auto _ : state) {
        QSaveFile file(path);
        const bool saved =
            file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
        benchmark::DoNotOptimize(saved);
    }
}

static void BM_ReadDataFile(benchmark::State &state)
{
    Env env;
    Document doc;
    fill(doc, int(state.range(0)));
    const QString path = QDir(env.dir.path()).filePath(QStringLiteral("b.pwk"));
    (void)DataFileWriter::write(path, doc.project());
    Document target;
    target.initialize();
    for (auto _ : state) {
        const Result<DataFileReader::Parsed> parsed = DataFileReader::read(path);
        target.load(parsed->project);
        benchmark::DoNotOptimize(parsed.ok());
    }
}

// A crafted file whose check-box lines flip one box back and forth: reading
// must stay linear whatever the lines hold.
static void BM_ReadDataFileAlternatingChecks(benchmark::State &state)
{
    Env env;
    QByteArray bytes;
    for (int i = 0; i < state.range(0); ++i)
        bytes += "16:=x:=" + QByteArray::number(i % 2) + "\r\n";
    const QString path = QDir(env.dir.path()).filePath(QStringLiteral("alt.pwk"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        state.SkipWithError("cannot write the data file");
    file.close();
    Document target;
    target.initialize();
    for (auto _ : state) {
        const Result<DataFileReader::Parsed> parsed = DataFileReader::read(path);
        target.load(parsed->project);
        benchmark::DoNotOptimize(parsed.ok());
    }
}

// A composed README of n headings, each with three lines of text, read back
// into its project (the check that it composes the same lines included).
static void BM_ImportReadme(benchmark::State &state)
{
    Env env;
    Document doc;
    doc.initialize();
    QStringList entries = doc.items()->entries();
    BodyTexts texts;
    for (int i = 0; i < state.range(0); ++i) {
        const QString heading = QStringLiteral("見出し %1").arg(i);
        entries.insert(entries.size() - 6, Entry::indented(heading));
        texts.setUnder(heading, {QStringLiteral("本文 %1 の一行目。").arg(i), QString(),
                                 QStringLiteral("  字下げした三行目")});
    }
    doc.items()->setEntries(entries);
    doc.setTexts(texts);
    const QString text = ReadmeComposer(doc.project()).compose().value();
    for (auto _ : state) {
        const ReadmeImport::Imported imported = ReadmeImport::fromText(text);
        if (!imported.whole)
            state.SkipWithError("the README did not come back whole");
        benchmark::DoNotOptimize(imported.doc.entries.size());
    }
}

// The check before release over a README of about n lines, with the
// standard items' rule.
static void BM_CheckReadme(benchmark::State &state)
{
    Env env;
    Document doc;
    fill(doc, int(state.range(0)));
    doc.setWidthText(QStringLiteral("70"));
    const Project project = doc.project();
    const Composition c = ReadmeComposer(project).composeLines().value();
    SiteProfile standard;
    standard.rules.append({QStringLiteral("standard-items"),
                           QStringLiteral("required"),
                           QStringLiteral("warning"),
                           {},
                           {{QStringLiteral("ソフト名")}},
                           {},
                           0,
                           {},
                           {},
                           {}});
    const ReleaseCheck::Options options{70, {}, {}, {standard}};
    for (auto _ : state)
        benchmark::DoNotOptimize(ReleaseCheck::check(project, c, options).size());
    state.counters["lines"] = double(c.lines.size());
}
BENCHMARK(BM_CheckReadme)->Arg(10000)->Unit(benchmark::kMillisecond);

BENCHMARK(BM_CopyBaseline)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildReadme)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteDataFile)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SafeWriteBaseline)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadDataFile)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadDataFileAlternatingChecks)->Arg(40000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportReadme)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
