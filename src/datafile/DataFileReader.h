#pragma once

#include <QStringList>

class Document;

// Opens a *.pwk data file into a Document. The whole file is read and decoded
// first: a file that cannot be read leaves the document as it was. The lines
// are then taken in order into a StoredDocument that replaces the document in
// one step; a malformed line ends the reading, keeps what came before and is
// reported with its line number.
namespace DataFileReader {

struct Result {
    enum Status { Ok, Unreadable, Malformed };
    Status status = Ok;
    int line = 0;                 // 1-based number of the malformed line
    QString reason;               // why the file or the line could not be read
    bool foreignEncoding = false; // the bytes do not look like code page 932 text
    bool ok() const { return status == Ok; }
};

Result read(const QString &path, Document &doc);
// Clears the document and applies already decoded lines.
Result apply(const QStringList &lines, Document &doc);

} // namespace DataFileReader
