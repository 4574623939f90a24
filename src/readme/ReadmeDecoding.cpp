#include "ReadmeDecoding.h"

#include "platform/Cp932.h"

#include <QStringDecoder>

using namespace Qt::StringLiterals;

namespace ReadmeDecoding {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

// A JIS X 0208 code (row and cell bytes 0x21 to 0x7E) as code page 932 bytes.
void appendShiftJis(QByteArray &out, uchar j1, uchar j2)
{
    const uchar s1 = uchar(((j1 + 1) >> 1) + (j1 <= 0x5E ? 0x70 : 0xB0));
    uchar s2;
    if (j1 & 1)
        s2 = uchar(j2 + (j2 >= 0x60 ? 0x20 : 0x1F));
    else
        s2 = uchar(j2 + 0x7E);
    out.append(char(s1));
    out.append(char(s2));
}

bool isJisByte(uchar b)
{
    return b >= 0x21 && b <= 0x7E;
}

// Collects code page 932 bytes and decodes them a run at a time, so that a
// bad sequence in the source becomes one U+FFFD where it stood.
class Collector {
public:
    QByteArray bytes;
    void bad()
    {
        flush();
        m_text.append(QChar(kReplacement));
    }
    QString finish()
    {
        flush();
        return std::move(m_text);
    }

private:
    void flush()
    {
        m_text += Cp932::decode(bytes);
        bytes.clear();
    }
    QString m_text;
};

struct Utf8Reading {
    int multiByte = 0; // characters beyond ASCII read whole
    int bad = 0;       // bytes that start no character
};

Utf8Reading readUtf8(const QByteArray &bytes)
{
    Utf8Reading r;
    const auto *p = reinterpret_cast<const uchar *>(bytes.constData());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const uchar b = p[i];
        const int len = b < 0x80                 ? 1
                        : b >= 0xC2 && b <= 0xDF ? 2
                        : b >= 0xE0 && b <= 0xEF ? 3
                        : b >= 0xF0 && b <= 0xF4 ? 4
                                                 : 0;
        bool whole = len > 0 && i + len <= n;
        for (int k = 1; whole && k < len; ++k)
            whole = (p[i + k] & 0xC0) == 0x80;
        if (!whole) {
            ++r.bad;
            ++i;
            continue;
        }
        r.multiByte += len > 1;
        i += len;
    }
    return r;
}

bool isWellFormedEucJp(const QByteArray &bytes)
{
    const auto *p = reinterpret_cast<const uchar *>(bytes.constData());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const uchar b = p[i];
        if (b < 0x80)
            continue;
        const auto high = [&](qsizetype at) { return at < n && p[at] >= 0xA1 && p[at] <= 0xFE; };
        if (b == 0x8E && i + 1 < n && p[i + 1] >= 0xA1 && p[i + 1] <= 0xDF)
            i += 1;
        else if (b == 0x8F && high(i + 1) && high(i + 2))
            i += 2;
        else if (b >= 0xA1 && b <= 0xFE && high(i + 1))
            i += 1;
        else
            return false;
    }
    return true;
}

int halfWidthKana(const QString &text)
{
    return int(std::count_if(text.begin(), text.end(), [](QChar c) {
        return c.unicode() >= 0xFF61 && c.unicode() <= 0xFF9F;
    }));
}

QList<int> linesWithReplacements(const QString &text)
{
    QList<int> lines;
    int line = 1;
    bool marked = false;
    for (QChar c : text) {
        if (c == u'\n') {
            ++line;
            marked = false;
        } else if (c.unicode() == kReplacement && !marked) {
            lines.append(line);
            marked = true;
        }
    }
    return lines;
}

Decoded utf8(const QByteArray &bytes, const QString &name)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    return {decoder.decode(bytes), name, {}};
}

// Which reading the bytes are, from what each would make of them.
Decoded guess(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return utf8(bytes.mid(3), u"UTF-8 (BOM 付き)"_s);
    if (bytes.contains("\x1B$B") || bytes.contains("\x1B$@"))
        return {decodeIso2022Jp(bytes), u"ISO-2022-JP"_s, {}};
    const Utf8Reading u = readUtf8(bytes);
    // Valid UTF-8 beyond ASCII is practically never meant as anything else;
    // nor is text that is UTF-8 but for a stray byte or two.
    if (u.multiByte > 0 && u.bad * 10 <= u.multiByte)
        return utf8(bytes, u"UTF-8"_s);
    const bool sjis = Cp932::isWellFormed(bytes);
    const bool euc = isWellFormedEucJp(bytes);
    if (euc && (!sjis || [&] {
            // Both read: EUC-JP kanji read as code page 932 are mostly
            // half-width katakana, which real text hardly holds.
            return halfWidthKana(Cp932::decode(bytes)) > halfWidthKana(decodeEucJp(bytes));
        }()))
        return {decodeEucJp(bytes), u"EUC-JP"_s, {}};
    if (!sjis && u.multiByte > 0)
        return utf8(bytes, u"UTF-8"_s);
    return {Cp932::decode(bytes), u"Shift_JIS (CP932)"_s, {}};
}

} // namespace

QString decodeEucJp(const QByteArray &bytes)
{
    Collector out;
    const auto *p = reinterpret_cast<const uchar *>(bytes.constData());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const uchar b = p[i];
        const uchar next = i + 1 < n ? p[i + 1] : 0;
        if (b < 0x80) {
            out.bytes.append(char(b));
        } else if (b == 0x8E && next >= 0xA1 && next <= 0xDF) {
            out.bytes.append(char(next)); // half-width katakana: the same byte in code page 932
            ++i;
        } else if (b == 0x8F && i + 2 < n) {
            out.bad(); // JIS X 0212: no code page 932 character
            i += 2;
        } else if (b >= 0xA1 && b <= 0xFE && next >= 0xA1 && next <= 0xFE) {
            appendShiftJis(out.bytes, b & 0x7F, next & 0x7F);
            ++i;
        } else {
            out.bad();
        }
    }
    return out.finish();
}

QString decodeIso2022Jp(const QByteArray &bytes)
{
    enum class Mode { Ascii, Jis0208, Kana } mode = Mode::Ascii;
    Collector out;
    const auto *p = reinterpret_cast<const uchar *>(bytes.constData());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const uchar b = p[i];
        if (b == 0x1B && i + 2 < n) {
            const QByteArrayView esc(bytes.constData() + i + 1, 2);
            if (esc == "$B" || esc == "$@")
                mode = Mode::Jis0208;
            else if (esc == "(B" || esc == "(J")
                mode = Mode::Ascii;
            else if (esc == "(I")
                mode = Mode::Kana;
            else
                out.bad();
            i += 2;
        } else if (b == '\r' || b == '\n') {
            out.bytes.append(char(b)); // a line end ends no mode, but text may rely on it
        } else if (mode == Mode::Jis0208 && isJisByte(b) && i + 1 < n && isJisByte(p[i + 1])) {
            appendShiftJis(out.bytes, b, p[i + 1]);
            ++i;
        } else if (mode == Mode::Kana && b >= 0x21 && b <= 0x5F) {
            out.bytes.append(char(b + 0x80));
        } else if (b < 0x80 && (mode != Mode::Jis0208 || b <= 0x20)) {
            out.bytes.append(char(b));
        } else {
            out.bad();
        }
    }
    return out.finish();
}

Result<Decoded> decode(const QByteArray &bytes)
{
    if (const qsizetype nul = bytes.indexOf('\0'); nul >= 0) {
        const qsizetype line = bytes.left(nul).count('\n') + 1;
        return Result<Decoded>::failure(
            u"%1 行目に NUL 文字があります。テキストファイルではないようです"_s.arg(line));
    }
    Decoded d = guess(bytes);
    d.damagedLines = linesWithReplacements(d.text);
    return d;
}

} // namespace ReadmeDecoding
