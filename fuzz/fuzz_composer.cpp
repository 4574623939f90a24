// Random styles, widths, values and entries through the composer.
#include "FuzzSupport.h"
#include "document/Document.h"
#include "readme/ReadmeComposer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzAppDir();
    if (size < 4)
        return 0;
    static Document doc;
    static const bool started = (doc.InitializeForm(), true);
    (void)started;
    DocumentSnapshot s = doc.snapshot();
    s.optLineType = data[0] % 4;
    s.optBracketsType = data[1] % 4;
    const QStringList parts =
        QString::fromUtf8(reinterpret_cast<const char *>(data + 2), qsizetype(size - 2))
            .split(QLatin1Char('\n'));
    s.txtLineCount = parts.value(0).left(3);
    s.txtLineType = parts.value(1);
    s.txtBracketsType = {parts.value(2), parts.value(3)};
    for (int i = Items::SoftName; i <= Items::HomePage; ++i)
        s.itemValues[size_t(i)] = parts.value(3 + i);
    for (int i = 0; i < Items::kBodyCount; ++i)
        s.chkBody[size_t(i)] = (data[2] >> (i % 8)) & 1 ? 1 : 0;
    for (int i = 0; i < Items::kEndCount; ++i)
        s.chkEnd[size_t(i)] = (data[3] >> i) & 1 ? 2 : 0;
    s.entries.clear();
    for (qsizetype i = 18; i < parts.size(); ++i) {
        const QString &p = parts.at(i);
        const int pick = p.isEmpty() ? 0 : p.at(0).unicode() % 40;
        s.entries.append(pick < Items::kCount ? QStringLiteral("   ") + s.itemNames[size_t(pick)]
                                              : p);
    }
    ReadmeComposer composer(s);
    const ReadmeComposer::Result r = composer.BuildReadme();
    bool digits = !s.txtLineCount.isEmpty();
    for (QChar c : s.txtLineCount)
        digits = digits && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    if (digits && !r.ok)
        __builtin_trap(); // every width the box can hold composes
    if (r.ok && !r.text.isEmpty() && !r.text.endsWith(QLatin1String("\r\n")))
        __builtin_trap();
    return 0;
}
