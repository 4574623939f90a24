#include "platform/Cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <benchmark/benchmark.h>
#include <iconv.h>

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

// The peers, on the same text: glibc's iconv and ICU's converter (which
// Debian's Qt uses for any encoding it has no code of its own for).
namespace {
// One conversion through iconv into a buffer of the size asked, as a caller
// that does not know the result's size would.
QByteArray throughIconv(iconv_t cd, const char *in, size_t size, size_t room)
{
    QByteArray out(qsizetype(room), Qt::Uninitialized);
    char *from = const_cast<char *>(in), *to = out.data();
    size_t left = size, free = room;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &from, &left, &to, &free) == size_t(-1))
        return {};
    out.truncate(to - out.constData());
    return out;
}
} // namespace

static void BM_EncodeIconv(benchmark::State &state)
{
    const QString text = sampleText(state);
    iconv_t cd = iconv_open("CP932", "UTF-16LE");
    const char *in = reinterpret_cast<const char *>(text.constData());
    for (auto _ : state)
        benchmark::DoNotOptimize(
            throughIconv(cd, in, size_t(text.size()) * 2, size_t(text.size()) * 2));
    iconv_close(cd);
}
BENCHMARK(BM_EncodeIconv)->Arg(100)->Arg(10000);

static void BM_DecodeIconv(benchmark::State &state)
{
    const QByteArray bytes = Cp932::encode(sampleText(state));
    iconv_t cd = iconv_open("UTF-16LE", "CP932");
    for (auto _ : state) {
        const QByteArray units =
            throughIconv(cd, bytes.constData(), size_t(bytes.size()), size_t(bytes.size()) * 2);
        benchmark::DoNotOptimize(
            QString(reinterpret_cast<const QChar *>(units.constData()), units.size() / 2));
    }
    iconv_close(cd);
}
BENCHMARK(BM_DecodeIconv)->Arg(100)->Arg(10000);

static void BM_EncodeIcu(benchmark::State &state)
{
    const QString text = sampleText(state);
    QStringEncoder encoder("Shift_JIS");
    if (!encoder.isValid())
        state.SkipWithError("this Qt has no Shift_JIS converter");
    for (auto _ : state)
        benchmark::DoNotOptimize(QByteArray(encoder.encode(text)));
}
BENCHMARK(BM_EncodeIcu)->Arg(100)->Arg(10000);

static void BM_DecodeIcu(benchmark::State &state)
{
    const QByteArray bytes = Cp932::encode(sampleText(state));
    QStringDecoder decoder("Shift_JIS");
    if (!decoder.isValid())
        state.SkipWithError("this Qt has no Shift_JIS converter");
    for (auto _ : state)
        benchmark::DoNotOptimize(QString(decoder.decode(bytes)));
}
BENCHMARK(BM_DecodeIcu)->Arg(100)->Arg(10000);

BENCHMARK_MAIN();
