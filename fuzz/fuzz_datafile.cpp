// Bytes -> open into a fresh document -> compose -> save -> open the saved bytes again.
#include "FuzzSupport.h"
#include "datafile/DataFileReader.h"
#include "datafile/DataFileWriter.h"
#include "platform/Cp932.h"
#include "platform/LineFile.h"

void fuzz(const QByteArray &bytes, const QString &)
{
    const auto openAndSave = [](const QByteArray &file) {
        Document doc;
        doc.initialize();
        doc.load(DataFileReader::parse(LineFile::splitLines(Cp932::decode(file))).project);
        compose(doc.project());
        return Cp932::encode(DataFileWriter::text(doc.project()));
    };
    // What a save wrote, opened and saved again, is written the same way.
    const QByteArray saved = openAndSave(bytes);
    if (openAndSave(saved) != saved)
        __builtin_trap();
}
