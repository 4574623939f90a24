#pragma once

#include "platform/AppInfo.h"

#include <QByteArray>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

// Every fuzz target works in a temporary application directory of its own.
inline const QTemporaryDir &fuzzAppDir()
{
    static QTemporaryDir dir;
    static const bool set = (AppInfo::setApplicationDirectory(dir.path()), true);
    (void)set;
    return dir;
}

inline QByteArray bytesOf(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}
