#include "platform/Cp932.h"

#include <benchmark/benchmark.h>

// Byte width is measured for every name and value the composer lays out.
static void BM_ByteWidth(benchmark::State &state)
{
    const QString text = QString::fromUtf8("【    ソフト名    】　　Sample Viewer 1.02")
                             .repeated(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(Cp932::byteWidth(text));
    state.SetBytesProcessed(state.iterations() * text.size() * 2);
}
BENCHMARK(BM_ByteWidth)->Arg(100)->Arg(10000);

namespace {
QString sampleText(benchmark::State &state)
{
    return QString::fromUtf8("【    ソフト名    】　　Sample Viewer 1.02\r\n")
        .repeated(int(state.range(0)));
}
} // namespace

static void BM_Encode(benchmark::State &state)
{
    const QString text = sampleText(state);
    for (auto _ : state)
        benchmark::DoNotOptimize(Cp932::encode(text));
}
BENCHMARK(BM_Encode)->Arg(100)->Arg(10000);

static void BM_Decode(benchmark::State &state)
{
    const QByteArray bytes = Cp932::encode(sampleText(state));
    for (auto _ : state)
        benchmark::DoNotOptimize(Cp932::decode(bytes));
}
BENCHMARK(BM_Decode)->Arg(100)->Arg(10000);

// Conversions of the same text without a table (Latin-1): the least any
// code page conversion costs.
static void BM_NarrowBaseline(benchmark::State &state)
{
    const QString text = sampleText(state);
    for (auto _ : state)
        benchmark::DoNotOptimize(text.toLatin1());
}
BENCHMARK(BM_NarrowBaseline)->Arg(100)->Arg(10000);

static void BM_WidenBaseline(benchmark::State &state)
{
    const QByteArray bytes = Cp932::encode(sampleText(state));
    for (auto _ : state)
        benchmark::DoNotOptimize(QString::fromLatin1(bytes));
}
BENCHMARK(BM_WidenBaseline)->Arg(100)->Arg(10000);

BENCHMARK_MAIN();
