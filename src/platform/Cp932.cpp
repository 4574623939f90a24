#include "Cp932.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <iconv.h>

namespace {

const char kCodePage[] = "CP932";
const char kUtf16[] = "UTF-16LE";

// One iconv descriptor for the duration of one conversion.
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
    // Converts as much as possible; returns the errno that stopped it, or 0.
    int convert(const char *&in, size_t &inLeft, char *&out, size_t &outLeft)
    {
        char *src = const_cast<char *>(in);
        const size_t r = iconv(m_cd, &src, &inLeft, &out, &outLeft);
        in = src;
        return r == static_cast<size_t>(-1) ? errno : 0;
    }
    void reset() { iconv(m_cd, nullptr, nullptr, nullptr, nullptr); }

private:
    iconv_t m_cd;
};

bool isHalfWidthKatakana(char16_t c)
{
    return c >= 0xFF61 && c <= 0xFF9F;
}

// Width of one BMP character in bytes (0 for unmappable), cached because the
// composer measures every name and value of a document.
int bmpWidth(char16_t c)
{
    static std::array<std::atomic<unsigned char>, 0x10000> cache{};
    if (c < 0x80 || isHalfWidthKatakana(c))
        return 1;
    const unsigned char known = cache[c].load(std::memory_order_relaxed);
    if (known != 0)
        return known - 1;
    int width = 0;
    if (!QChar::isSurrogate(c)) {
        Converter cv(kCodePage, kUtf16);
        if (cv.valid()) {
            const char16_t unit = c;
            const char *in = reinterpret_cast<const char *>(&unit);
            size_t inLeft = sizeof unit;
            char buf[8];
            char *out = buf;
            size_t outLeft = sizeof buf;
            if (cv.convert(in, inLeft, out, outLeft) == 0)
                width = static_cast<int>(out - buf);
        }
    }
    cache[c].store(static_cast<unsigned char>(width + 1), std::memory_order_relaxed);
    return width;
}

// Length in UTF-16 units of the code point starting at text[i].
qsizetype codePointLength(const QString &text, qsizetype i)
{
    if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
        return 2;
    return 1;
}

} // namespace

namespace Cp932 {

int byteWidth(const QString &text)
{
    int width = 0;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len = codePointLength(text, i);
        if (len == 2) {
            width += 1; // outside the BMP: never in code page 932
        } else {
            const int w = bmpWidth(text.at(i).unicode());
            width += w == 0 ? 1 : w;
        }
        i += len;
    }
    return width;
}

QStringList unmappableCharacters(const QString &text)
{
    QStringList found;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len = codePointLength(text, i);
        if (len == 2 || bmpWidth(text.at(i).unicode()) == 0) {
            const QString ch = text.mid(i, len);
            if (!found.contains(ch))
                found.append(ch);
        }
        i += len;
    }
    return found;
}

QByteArray encode(const QString &text, QStringList *unmappable)
{
    QByteArray result;
    result.reserve(text.size() * 2);
    Converter cv(kCodePage, kUtf16);
    if (!cv.valid()) {
        // No converter at all: keep ASCII, mark the rest, never lose silently.
        for (QChar c : text)
            result.append(c.unicode() < 0x80 ? char(c.unicode()) : '?');
        if (unmappable)
            *unmappable << unmappableCharacters(text);
        return result;
    }
    const char *in = reinterpret_cast<const char *>(text.constData());
    size_t inLeft = size_t(text.size()) * 2;
    char buf[4096];
    while (inLeft > 0) {
        char *out = buf;
        size_t outLeft = sizeof buf;
        const int err = cv.convert(in, inLeft, out, outLeft);
        result.append(buf, out - buf);
        if (err == 0 || err == E2BIG)
            continue;
        // EILSEQ or EINVAL: one character that has no code page 932 form.
        const qsizetype pos = (reinterpret_cast<const QChar *>(in) - text.constData());
        const qsizetype len = codePointLength(text, pos);
        result.append('?');
        if (unmappable) {
            const QString ch = text.mid(pos, len);
            if (!unmappable->contains(ch))
                unmappable->append(ch);
        }
        in += len * 2;
        inLeft -= size_t(len) * 2;
        cv.reset();
    }
    return result;
}

QString decode(const QByteArray &bytes)
{
    QString result;
    result.reserve(bytes.size());
    Converter cv(kUtf16, kCodePage);
    const char *in = bytes.constData();
    size_t inLeft = size_t(bytes.size());
    if (!cv.valid()) {
        for (char c : bytes)
            result.append(uchar(c) < 0x80 ? QChar(char16_t(uchar(c)))
                                          : QChar(QChar::ReplacementCharacter));
        return result;
    }
    char16_t buf[2048];
    while (inLeft > 0) {
        char *out = reinterpret_cast<char *>(buf);
        size_t outLeft = sizeof buf;
        const int err = cv.convert(in, inLeft, out, outLeft);
        result.append(reinterpret_cast<const QChar *>(buf),
                      (out - reinterpret_cast<char *>(buf)) / 2);
        if (err == 0 || err == E2BIG)
            continue;
        // A malformed byte (EILSEQ) or a lead byte cut off at the end (EINVAL).
        result.append(QChar(QChar::ReplacementCharacter));
        ++in;
        --inLeft;
        cv.reset();
    }
    return result;
}

} // namespace Cp932
