#pragma once

#include "platform/Result.h"

#include <QStringList>

class Document;

// Opens a *.pwk data file into a Document. The whole file is read and decoded
// first: a file that cannot be read leaves the document as it was. The lines
// are then taken in order into a StoredDocument that replaces the document in
// one step; a malformed line ends the reading, keeps what came before and is
// reported with its line number.
namespace DataFileReader {

// What a read found besides the document.
struct ReadReport {
    int malformedLine = 0;        // 1-based line that ended the reading; 0: none
    QString malformedReason;      // why that line could not be read
    bool foreignEncoding = false; // the bytes do not look like code page 932 text
    bool complete() const { return malformedLine == 0; }
};

// Fails, leaving the document as it was, when the file cannot be read.
Result<ReadReport> read(const QString &path, Document &doc);
// Replaces the document by already decoded lines.
ReadReport apply(const QStringList &lines, Document &doc);

} // namespace DataFileReader
