#include "readme/LineWrap.h"

#include <QStringList>
#include <benchmark/benchmark.h>

// n lines of Japanese with ASCII words and a URL, about twice the width.
static void BM_WrapText(benchmark::State &state)
{
    const QString line = QStringLiteral(
        "このソフトは「かんたん日記帳」の後継です。Windows 10/11 で動きます。詳しくは "
        "https://example.jp/nikki/ を見てください。ご意見・ご感想をお待ちしています。");
    QStringList lines;
    for (int i = 0; i < state.range(0); ++i)
        lines.append(QString::number(i) + line);
    for (auto _ : state) {
        size_t pieces = 0;
        for (const QString &l : lines)
            pieces += LineWrap::wrap(l, {70, false, -1}).size();
        benchmark::DoNotOptimize(pieces);
    }
}
BENCHMARK(BM_WrapText)->Arg(10000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
