#pragma once

#include "platform/Result.h"
#include "project/Project.h"

#include <QStringList>

// Writes the *.pwk data file: one item line per list entry (number, ":=",
// entry text, ":=", value), then the style setting lines "@@@1" to "@@@6".
namespace DataFileWriter {

// The file's text, every line ended by CR LF, and the same as lines.
QString text(const Project &doc);
QStringList lines(const Project &doc);

// What a successful save wants the author to know.
struct WriteReport {
    QStringList notIntact;  // texts that will not read back as they are
    QStringList unmappable; // characters written as "?"
};

// Texts of the document that a save cannot give back intact: ":=" inside an
// entry or a value, or a line break.
QStringList textsNotReadBackIntact(const Project &doc);

// Saves atomically: a failed save leaves an existing file whole.
Result<WriteReport> write(const QString &path, const Project &doc);

} // namespace DataFileWriter
