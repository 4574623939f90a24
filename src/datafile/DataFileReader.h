#pragma once

#include "platform/Result.h"
#include "project/Project.h"

#include <QStringList>

// Reads a *.pwk data file into a Project. The whole file is read and decoded
// first; the lines are then taken in order, and a malformed line ends the
// reading, keeps what came before and is reported with its line number.
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
    Project project;
    ReadReport report;
};

// Fails, with the reason, when the bytes are no data file at all: they
// hold NUL bytes or sequences that are no code page 932 character, or not
// even their first line reads. Else gives what could be read.
Result<Parsed> parse(const QByteArray &bytes);
// Reads and parses a file.
Result<Parsed> read(const QString &path);
// Parses already decoded lines.
Parsed parse(const QStringList &lines);

} // namespace DataFileReader
