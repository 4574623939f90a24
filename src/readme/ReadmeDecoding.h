#pragma once

#include "platform/Result.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Finds how a README someone else wrote is encoded, and decodes it: code
// page 932, UTF-8 with or without a BOM, EUC-JP (common in Unix documents)
// and ISO-2022-JP. The last two go through the same JIS X 0208 table as
// code page 932, so every platform reads the same characters.
namespace ReadmeDecoding {

struct Decoded {
    QString text;
    QString encoding;        // its name as the author knows it: "EUC-JP"
    QList<int> damagedLines; // 1-based lines where bytes no character stood for became U+FFFD
};

// Fails, naming the line, when the bytes hold a NUL: no text file does.
Result<Decoded> decode(const QByteArray &bytes);

// The EUC-JP and ISO-2022-JP decoders on their own; a malformed sequence
// becomes U+FFFD and decoding goes on.
QString decodeEucJp(const QByteArray &bytes);
QString decodeIso2022Jp(const QByteArray &bytes);

} // namespace ReadmeDecoding
