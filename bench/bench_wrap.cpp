#include "readme/LineWrap.h"

#include <QStringList>
#include <benchmark/benchmark.h>

namespace {
// Lines of Japanese with ASCII words and a URL: one of 40 bytes, which fits,
// and paragraphs of 90, 150 and 250 bytes written as one line.
QStringList readmeLines(int n, bool longOnly)
{
    const QString sentences = QStringLiteral(
        "このソフトは「かんたん日記帳」の後継です。Windows 10/11 で動きます。詳しくは "
        "https://example.jp/nikki/ を見てください。ご意見・ご感想をお待ちしています。"
        "バグの報告は作者までメールでどうぞ。");
    const int lengths[] = {20, 50, 80, 140};
    QStringList lines;
    for (int i = 0; i < n; ++i)
        lines.append(QString::number(i) + sentences.left(longOnly ? 140 : lengths[i % 4]));
    return lines;
}

void wrapAll(benchmark::State &state, const QStringList &lines)
{
    for (auto _ : state) {
        size_t pieces = 0;
        for (const QString &l : lines)
            pieces += LineWrap::wrap(l, {70, false, -1}).size();
        benchmark::DoNotOptimize(pieces);
    }
}
} // namespace

static void BM_WrapText(benchmark::State &state)
{
    wrapAll(state, readmeLines(int(state.range(0)), false));
}
BENCHMARK(BM_WrapText)->Arg(10000)->Unit(benchmark::kMillisecond);

// Every line a paragraph of about 250 bytes: four lines each.
static void BM_WrapLongParagraphs(benchmark::State &state)
{
    wrapAll(state, readmeLines(int(state.range(0)), true));
}
BENCHMARK(BM_WrapLongParagraphs)->Arg(10000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
