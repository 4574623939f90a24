#pragma once

#include "platform/Result.h"
#include "project/Project.h"

#include <QByteArray>
#include <QStringList>

// Brings an existing README.TXT into a project. A README that Quillet
// composed comes back whole: fields, list, check boxes, styles, width and
// every text, so composing it again gives the same bytes. Any other README
// is read by its usual forms of header lines and headings; every line of it
// lands somewhere in the project.
namespace ReadmeImport {

struct Imported {
    Project doc;
    bool whole = false; // composed by Quillet and recognised as such
    QStringList mapped; // what became an item, one decision a line: "【作者】 → 著作権者"
    QStringList keptAsIs;    // what stayed the author's own: "■機能 → 見出し「機能」"
    QString encoding;        // as found: "EUC-JP"
    QList<int> damagedLines; // 1-based lines with bytes no character stood for
    // Characters the README holds that code page 932 cannot: the data file
    // and a Shift-JIS README would write them as "?".
    QStringList unmappable;
};

// The README file's text, decoded as ReadmeDecoding finds it; its final line
// end, which the writer adds after the composed text, is removed. Fails on
// bytes that are no text.
Result<QString> decode(const QByteArray &bytes);
// Decodes and imports; the encoding and damaged lines are in the result.
Result<Imported> fromBytes(const QByteArray &bytes);

// The decoded README text, lines split at CR LF, LF or CR.
Imported fromText(const QString &text);

// Reads and imports a file; fails when it cannot be read.
Result<Imported> read(const QString &path);

} // namespace ReadmeImport
