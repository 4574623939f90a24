#include "Cp932.h"

#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <iconv.h>

// The platform's converter (iconv "CP932") is the authority on the mapping;
// its answers are cached per character, so that laying out and converting
// large documents costs a table look-up per character instead of a call.

namespace {

const char kCodePage[] = "CP932";
const char kUtf16[] = "UTF-16LE";

class Converter {
public:
    Converter(const char *to, const char *from) : m_cd(iconv_open(to, from)) {}
    ~Converter()
    {
        if (valid())
            iconv_close(m_cd);
    }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;
    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    // Converts the whole input or nothing; returns the bytes written.
    size_t convertAll(const char *in, size_t inLen, char *out, size_t outLen)
    {
        char *src = const_cast<char *>(in);
        char *dst = out;
        const size_t r = iconv(m_cd, &src, &inLen, &dst, &outLen);
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        if (r == static_cast<size_t>(-1) || inLen != 0)
            return 0;
        return size_t(dst - out);
    }

private:
    iconv_t m_cd;
};

// Encoding of one BMP character: bit 31 set once known; bits 16-17 the
// number of bytes (0: not representable); bits 0-15 the bytes, lead first.
std::array<std::atomic<uint32_t>, 0x10000> g_encode{};
// Decoding of one byte (index < 0x100) or one lead/trail pair (lead << 8 |
// trail): bit 31 set once known; bit 16 set when valid; bits 0-15 the unit.
std::array<std::atomic<uint32_t>, 0x10000> g_decode{};

constexpr uint32_t kKnown = 0x80000000u;

uint32_t encodeEntry(char16_t c)
{
    uint32_t e = g_encode[c].load(std::memory_order_relaxed);
    if (e & kKnown)
        return e;
    e = kKnown;
    if (c < 0x80) {
        e |= (1u << 16) | c;
    } else if (!QChar::isSurrogate(c)) {
        Converter cv(kCodePage, kUtf16);
        char out[8];
        const size_t n =
            cv.valid() ? cv.convertAll(reinterpret_cast<const char *>(&c), 2, out, sizeof out) : 0;
        if (n == 1)
            e |= (1u << 16) | uchar(out[0]);
        else if (n == 2)
            e |= (2u << 16) | (uint32_t(uchar(out[0])) << 8) | uchar(out[1]);
    }
    g_encode[c].store(e, std::memory_order_relaxed);
    return e;
}

// Decodes 1 or 2 bytes; returns the UTF-16 unit or -1.
int decodeEntry(const char *bytes, int len)
{
    const uint32_t key =
        len == 1 ? uchar(bytes[0]) : (uint32_t(uchar(bytes[0])) << 8) | uchar(bytes[1]);
    uint32_t e = g_decode[key].load(std::memory_order_relaxed);
    if (!(e & kKnown)) {
        e = kKnown;
        Converter cv(kUtf16, kCodePage);
        char16_t out[4];
        if (cv.valid() &&
            cv.convertAll(bytes, size_t(len), reinterpret_cast<char *>(out), sizeof out) == 2)
            e |= (1u << 16) | out[0];
        g_decode[key].store(e, std::memory_order_relaxed);
    }
    return (e & (1u << 16)) ? int(e & 0xFFFF) : -1;
}

bool isLeadByte(uchar b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

qsizetype codePointLength(QStringView text, qsizetype i)
{
    if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
        return 2;
    return 1;
}

// Bytes of the code point at text[i] (0 when not representable).
int widthAt(QStringView text, qsizetype i, qsizetype len)
{
    if (len == 2)
        return 0; // outside the BMP: never in code page 932
    const char16_t c = text.at(i).unicode();
    if (c < 0x80)
        return 1;
    return int((encodeEntry(c) >> 16) & 3);
}

void noteUnmappable(QStringList *list, const QString &text, qsizetype i, qsizetype len)
{
    if (!list)
        return;
    const QString ch = text.mid(i, len);
    if (!list->contains(ch))
        list->append(ch);
}

} // namespace

namespace Cp932 {

int byteWidth(QStringView text)
{
    int width = 0;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len = codePointLength(text, i);
        const int w = widthAt(text, i, len);
        width += w == 0 ? 1 : w;
        i += len;
    }
    return width;
}

QStringList unmappableCharacters(const QString &text)
{
    QStringList found;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len = codePointLength(text, i);
        if (widthAt(text, i, len) == 0)
            noteUnmappable(&found, text, i, len);
        i += len;
    }
    return found;
}

bool looksLikeOtherEncoding(const QByteArray &bytes)
{
    if (decode(bytes).contains(QChar(QChar::ReplacementCharacter)))
        return true;
    const bool ascii =
        std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; });
    if (ascii)
        return false;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    [[maybe_unused]] const QString decoded = utf8.decode(bytes);
    return !utf8.hasError();
}

QByteArray encode(const QString &text, QStringList *unmappable)
{
    QByteArray result(text.size() * 2, Qt::Uninitialized);
    char *out = result.data();
    const char16_t *in = reinterpret_cast<const char16_t *>(text.constData());
    for (qsizetype i = 0; i < text.size();) {
        const char16_t c = in[i];
        if (c < 0x80) {
            *out++ = char(c);
            ++i;
            continue;
        }
        const qsizetype len = codePointLength(text, i);
        const uint32_t e = len == 1 ? encodeEntry(c) : kKnown;
        switch ((e >> 16) & 3) {
        case 1:
            *out++ = char(e & 0xFF);
            break;
        case 2:
            *out++ = char((e >> 8) & 0xFF);
            *out++ = char(e & 0xFF);
            break;
        default:
            *out++ = '?';
            noteUnmappable(unmappable, text, i, len);
        }
        i += len;
    }
    result.truncate(out - result.constData());
    return result;
}

QString decode(const QByteArray &bytes)
{
    QString result(bytes.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(result.data());
    char16_t *const begin = out;
    const char *p = bytes.constData();
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const uchar b = uchar(p[i]);
        if (b < 0x80) {
            *out++ = b;
            ++i;
            continue;
        }
        const int len = isLeadByte(b) && i + 1 < n ? 2 : 1;
        const int unit = decodeEntry(p + i, len);
        if (unit >= 0) {
            *out++ = char16_t(unit);
            i += len;
        } else {
            // A malformed byte, or a lead byte without its trail: skip one byte.
            *out++ = QChar::ReplacementCharacter;
            ++i;
        }
    }
    result.truncate(out - begin);
    return result;
}

} // namespace Cp932
