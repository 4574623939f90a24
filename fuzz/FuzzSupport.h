#pragma once

#include "document/Document.h"
#include "platform/AppInfo.h"
#include "readme/ReadmeComposer.h"

#include <QTemporaryDir>
#include <algorithm>

// Each target fuzzes one input in an application directory of its own; a
// broken rule stops the fuzzer with the input that broke it.
void fuzz(const QByteArray &bytes, const QString &appDir);

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QTemporaryDir dir;
    AppInfo::setApplicationDirectory(dir.path());
    fuzz(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), dir.path());
    return 0;
}

// What composes ends its last line, and every width of up to four digits composes.
inline void compose(const Project &s)
{
    const Result<QString> r = ReadmeComposer(s).compose();
    const QString &w = s.widthText;
    const auto digit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    if (r.ok() ? !r.value().isEmpty() && !r.value().endsWith(QLatin1String("\r\n"))
               : !w.isEmpty() && w.size() <= 4 && std::all_of(w.begin(), w.end(), digit))
        __builtin_trap();
}
