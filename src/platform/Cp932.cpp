#include "Cp932.h"

#include <QByteArrayView>
#include <QtEndian>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

// Quillet's own table, taken from glibc's iconv "CP932", so that every
// platform writes the same bytes (Windows' converter differs in the one-way
// mappings, and MinGW has no iconv).

namespace {

#include "Cp932Table.inc"

constexpr char16_t kInvalid = QChar::ReplacementCharacter;

bool isLeadByte(uchar b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// How a character is written: its first byte (bits 0-7), its second byte
// (bits 8-15) and their number (from bit 16). A character not in the code
// page is written "?" and counts kUnmappable bytes, more than any block of
// kBlock characters can take: one comparison per block finds them.
constexpr int kBlock = 8;
constexpr uint32_t kUnmappable = 2 * kBlock + 1;
constexpr uint32_t kQuestionMark = kUnmappable << 16 | '?';

uint32_t lengthOf(uint32_t code)
{
    return code >> 16;
}

// Writes both bytes: the output has room for two a character, and the next
// character overwrites a second byte the code does not use.
void writeCode(char *out, uint32_t code)
{
    const uint16_t bytes = qToLittleEndian(uint16_t(code));
    std::memcpy(out, &bytes, 2);
}

// Flat arrays built once from the table: a look-up per character.
struct Tables {
    std::array<uint32_t, 0x10000> encode; // by BMP character
    // Unit of each single byte (index < 0x100) and each lead << 8 | trail;
    // kInvalid when the bytes are no character.
    std::array<char16_t, 0x10000> decode;

    Tables()
    {
        decode.fill(kInvalid);
        encode.fill(kQuestionMark);
        for (uint16_t b = 0; b < 0x80; ++b) {
            decode[b] = b;
            setCode(b, b);
        }
        // The first code of a character is the one written, as iconv does.
        const auto add = [this](uint16_t code, char16_t unit, bool encodes) {
            decode[code] = unit;
            if (encodes && unit != kInvalid && encode[unit] == kQuestionMark)
                setCode(unit, code);
        };
        for (uint16_t b = 0x80; b < 0x100; ++b)
            add(b, kSingleBytes[b - 0x80], true);
        for (const Cp932Row &row : kRows) {
            const char16_t *unit = row.units;
            for (uint16_t trail = 0x40; trail <= 0xFC; ++trail) {
                if (trail != 0x7F)
                    add(uint16_t(row.lead << 8 | trail), *unit++, !row.decodeOnly);
            }
        }
        for (const Cp932OneWay &w : kOneWay) {
            if (w.code)
                setCode(w.ch, w.code);
            else
                encode[w.ch] = kQuestionMark;
        }
    }

    // code: lead << 8 | trail, or a single byte.
    void setCode(char16_t ch, uint16_t code)
    {
        if (code > 0xFF)
            encode[ch] = 2u << 16 | (code & 0xFF) << 8 | code >> 8;
        else
            encode[ch] = 1u << 16 | code;
    }
};

const Tables &tables()
{
    static const Tables t; // thread-safe initialization
    return t;
}

qsizetype codePointLength(QStringView text, qsizetype i)
{
    if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
        return 2;
    return 1;
}

// Bytes of the code point at text[i] (0 when not representable).
int widthAt(const Tables &t, QStringView text, qsizetype i, qsizetype len)
{
    if (len == 2)
        return 0; // outside the BMP: never in code page 932
    const uint32_t length = lengthOf(t.encode[text.at(i).unicode()]);
    return length == kUnmappable ? 0 : int(length);
}

void noteUnmappable(QStringList *list, const QString &text, qsizetype i, qsizetype len)
{
    if (!list)
        return;
    const QString ch = text.mid(i, len);
    if (!list->contains(ch))
        list->append(ch);
}

// Runs of ASCII (names, numbers, spaces, line ends) are converted a block at
// a time.

// Narrows 8 units to out when all are ASCII.
bool narrowAscii8(const char16_t *in, char *out)
{
#ifdef __SSE2__
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in));
    const __m128i high = _mm_and_si128(v, _mm_set1_epi16(short(0xFF80)));
    if (_mm_movemask_epi8(_mm_cmpeq_epi16(high, _mm_setzero_si128())) != 0xFFFF)
        return false;
    _mm_storel_epi64(reinterpret_cast<__m128i *>(out), _mm_packus_epi16(v, v));
#else
    uint64_t a, b;
    std::memcpy(&a, in, 8);
    std::memcpy(&b, in + 4, 8);
    if ((a | b) & 0xFF80FF80FF80FF80u)
        return false;
    std::copy(in, in + 8, out);
#endif
    return true;
}

// True when the 16 bytes are all ASCII.
bool isAscii16(const uchar *in)
{
#ifdef __SSE2__
    return _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(in))) == 0;
#else
    uint64_t a, b;
    std::memcpy(&a, in, 8);
    std::memcpy(&b, in + 8, 8);
    return ((a | b) & 0x8080808080808080u) == 0;
#endif
}

// Widens 16 bytes to out when all are ASCII.
bool widenAscii16(const uchar *in, char16_t *out)
{
    if (!isAscii16(in))
        return false;
#ifdef __SSE2__
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in));
    const __m128i zero = _mm_setzero_si128();
    _mm_storeu_si128(reinterpret_cast<__m128i *>(out), _mm_unpacklo_epi8(v, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(out + 8), _mm_unpackhi_epi8(v, zero));
#else
    std::copy(in, in + 16, out);
#endif
    return true;
}

// Encodes the character at text[i]; returns the index after it.
qsizetype encodeOne(const Tables &t, const QString &text, qsizetype i, char *&out,
                    QStringList *unmappable)
{
    const uint32_t code = t.encode[text.at(i).unicode()];
    if (lengthOf(code) != kUnmappable) {
        writeCode(out, code);
        out += lengthOf(code);
        return i + 1;
    }
    // A surrogate pair is one character, and one "?".
    const qsizetype len = codePointLength(text, i);
    *out++ = '?';
    noteUnmappable(unmappable, text, i, len);
    return i + len;
}

} // namespace

namespace Cp932 {

int byteWidth(QStringView text)
{
    const Tables &t = tables();
    int width = 0;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len = codePointLength(text, i);
        const int w = widthAt(t, text, i, len);
        width += w == 0 ? 1 : w;
        i += len;
    }
    return width;
}

std::vector<int> columns(QStringView text)
{
    const Tables &t = tables();
    std::vector<int> at(size_t(text.size()) + 1, 0);
    int width = 0;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len = codePointLength(text, i);
        const int w = widthAt(t, text, i, len);
        at[size_t(i)] = width;
        if (len == 2)
            at[size_t(i) + 1] = width; // inside the character
        width += w == 0 ? 1 : w;
        i += len;
    }
    at.back() = width;
    return at;
}

QStringList unmappableCharacters(const QString &text)
{
    const Tables &t = tables();
    QStringList found;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len = codePointLength(text, i);
        if (widthAt(t, text, i, len) == 0)
            noteUnmappable(&found, text, i, len);
        i += len;
    }
    return found;
}

namespace {
enum class Kind : quint8 { Ascii, Cp932, Malformed };

// What decode() turns into U+FFFD, found without decoding.
Kind kindOf(const QByteArray &bytes)
{
    const Tables &t = tables();
    const uchar *p = reinterpret_cast<const uchar *>(bytes.constData());
    const qsizetype n = bytes.size();
    Kind kind = Kind::Ascii;
    for (qsizetype i = 0; i < n;) {
        if (i + 16 <= n && isAscii16(p + i)) {
            i += 16;
            continue;
        }
        const uchar b = p[i];
        if (b < 0x80) {
            ++i;
            continue;
        }
        kind = Kind::Cp932;
        const bool pair = isLeadByte(b) && i + 1 < n;
        if (t.decode[pair ? b << 8 | p[i + 1] : b] == kInvalid)
            return Kind::Malformed;
        i += pair ? 2 : 1;
    }
    return kind;
}
} // namespace

bool isWellFormed(const QByteArray &bytes)
{
    return kindOf(bytes) != Kind::Malformed;
}

bool looksLikeOtherEncoding(const QByteArray &bytes)
{
    const Kind kind = kindOf(bytes);
    return kind == Kind::Malformed || (kind == Kind::Cp932 && QByteArrayView(bytes).isValidUtf8());
}

QByteArray encode(const QString &text, QStringList *unmappable)
{
    const Tables &t = tables();
    const qsizetype n = text.size();
    // Room for 2 bytes a character, and for a block's unmappable characters.
    QByteArray result(n * 2 + kBlock * kUnmappable, Qt::Uninitialized);
    char *out = result.data();
    const char16_t *in = reinterpret_cast<const char16_t *>(text.constData());
    qsizetype i = 0;
    while (i + kBlock <= n) {
        if (narrowAscii8(in + i, out)) {
            out += kBlock;
            i += kBlock;
            continue;
        }
        // No branch per character: their widths vary too much to guess.
        char *const start = out;
        for (int k = 0; k < kBlock; ++k) {
            const uint32_t code = t.encode[in[i + k]];
            writeCode(out, code);
            out += lengthOf(code);
        }
        if (out - start <= 2 * kBlock) {
            i += kBlock;
            continue;
        }
        out = start;
        for (const qsizetype end = i + kBlock; i < end;)
            i = encodeOne(t, text, i, out, unmappable);
    }
    while (i < n)
        i = encodeOne(t, text, i, out, unmappable);
    result.truncate(out - result.constData());
    return result;
}

QString decode(const QByteArray &bytes)
{
    const Tables &t = tables();
    const qsizetype n = bytes.size();
    QString result(n, Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(result.data());
    char16_t *const begin = out;
    const uchar *p = reinterpret_cast<const uchar *>(bytes.constData());
    for (qsizetype i = 0; i < n;) {
        if (i + 16 <= n && widenAscii16(p + i, out)) {
            out += 16;
            i += 16;
            continue;
        }
        for (const qsizetype end = std::min(i + 16, n); i < end;) {
            const uchar b = p[i];
            if (b < 0x80) {
                *out++ = b;
                ++i;
                continue;
            }
            if (isLeadByte(b) && i + 1 < n) {
                const char16_t unit = t.decode[b << 8 | p[i + 1]];
                *out++ = unit;
                // A branch, not arithmetic: the next byte's place must not
                // wait for the table.
                if (unit != kInvalid) [[likely]] {
                    i += 2;
                    continue;
                }
            } else {
                *out++ = t.decode[b];
            }
            // A malformed pair, or a lead byte without its trail, costs one byte.
            ++i;
        }
    }
    result.truncate(out - begin);
    return result;
}

} // namespace Cp932
