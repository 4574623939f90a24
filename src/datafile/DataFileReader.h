#pragma once

#include "document/Document.h"
#include "platform/Result.h"

#include <QStringList>

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
    int unreadLines = 0;          // lines from that one on that hold text
    QStringList unreadSample;     // what the first of them hold, in words
    bool foreignEncoding = false; // the bytes do not look like code page 932 text
    bool complete() const { return malformedLine == 0; }
};

// A data file taken apart: what it stores and what could not be read.
struct Parsed {
    StoredDocument doc;
    ReadReport report;
};

// Fails, with the reason, when the bytes are no data file at all: they
// hold NUL bytes or sequences that are no code page 932 character, or not
// even their first line reads. Else gives what could be read.
Result<Parsed> parse(const QByteArray &bytes);
// Reads and parses a file; a failure leaves the document as it was.
Result<ReadReport> read(const QString &path, Document &doc);
// Replaces the document by already decoded lines.
ReadReport apply(const QStringList &lines, Document &doc);

} // namespace DataFileReader
