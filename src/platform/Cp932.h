#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

// Conversion between QString and code page 932 (Shift-JIS) bytes, and the
// byte width that the fixed-pitch README layout is measured in.
namespace Cp932 {

// Encodes text; each character the code page cannot represent becomes "?"
// and is appended once to *unmappable (when given), in order of appearance.
QByteArray encode(const QString &text, QStringList *unmappable = nullptr);

// Decodes bytes; a malformed or truncated sequence becomes U+FFFD and the
// decoding goes on with the next byte.
QString decode(const QByteArray &bytes);

// Bytes the text takes in code page 932: one per ASCII or half-width katakana
// character, two per full-width character, one per character (code point)
// the code page cannot represent.
int byteWidth(QStringView text);

// The byte column before each UTF-16 unit of text, and after the last: the
// widths byteWidth() counts, for every place at once.
std::vector<int> columns(QStringView text);

// True when every byte sequence is a character of the code page.
bool isWellFormed(const QByteArray &bytes);

// True when bytes are probably not code page 932 text: they hold malformed
// sequences, or they are UTF-8 with characters beyond ASCII.
bool looksLikeOtherEncoding(const QByteArray &bytes);

// The distinct characters of text that code page 932 cannot represent.
QStringList unmappableCharacters(const QString &text);

} // namespace Cp932
