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
    bool whole = false;   // composed by Quillet and recognised as such
    QStringList mapped;   // what became an item, as "見出し → 項目"
    QStringList keptAsIs; // sections kept as custom headings with their text
};

// Code page 932 or UTF-8 (with or without a BOM); the README file's final
// line end, which the writer adds after the composed text, is removed.
QString decode(const QByteArray &bytes);

// The decoded README text, lines split at CR LF, LF or CR.
Imported fromText(const QString &text);

// Reads and imports a file; fails when it cannot be read.
Result<Imported> read(const QString &path);

} // namespace ReadmeImport
