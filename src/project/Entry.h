#pragma once

#include <QString>
#include <QStringView>

// How an item list entry is written and read back: an item's entry is its
// name behind a three-space indent; a section marker ("●…") has none. An
// entry stands for a name when it equals the name with the U+0020 spaces at
// both ends removed.
namespace Entry {

inline QString indent()
{
    return QStringLiteral("   ");
}

inline QString indented(const QString &name)
{
    return indent() + name;
}

inline QStringView trimLeadingSpaces(QStringView text)
{
    qsizetype b = 0;
    while (b < text.size() && text[b] == u' ')
        ++b;
    return text.mid(b);
}

inline QStringView trimSpaces(QStringView text)
{
    text = trimLeadingSpaces(text);
    qsizetype e = text.size();
    while (e > 0 && text[e - 1] == u' ')
        --e;
    return text.left(e);
}

inline bool standsFor(QStringView entry, QStringView name)
{
    return trimSpaces(entry) == name;
}

} // namespace Entry
