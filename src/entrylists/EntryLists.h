#pragma once

#include "platform/Result.h"

#include <QString>
#include <QStringList>
#include <array>

// The eight registered-entry list files in the application directory: one
// entry per line, fed into the combo boxes and edited by the list editor.
namespace EntryLists {

struct ListInfo {
    const char16_t *fileName; // bare name in the application directory
    const char16_t *caption;  // menu item and list editor caption
    const char16_t *tooltip;  // tooltip of the editor's text box
    int itemIndex;            // the field the list feeds
    const char *shortcut;     // menu shortcut
};

constexpr int kListCount = 8;
// In menu order: the index is the Register menu index.
extern const std::array<ListInfo, kListCount> kLists;

// Menu index of the list whose field is itemIndex, or -1.
int listForItem(int itemIndex);

// Appends the lines of fileName (a bare name in the application directory) to
// target. A missing or unreadable file adds nothing and is not reported.
void appendListFile(const QString &fileName, QStringList &target);

// Every list file's entries, by the item index of the field it feeds.
std::array<QStringList, 15> readAll();

// Full path of the list file whose editor caption is caption, or "".
QString listPath(const QString &caption);

// The entries of the list file behind caption; empty when it cannot be read.
QStringList readList(const QString &caption);

struct ListSaved {
    QStringList unmappable; // characters written as "?"
    bool written = false;   // the file was (re)written
};
// Writes entries, each followed by CR LF, to the list file behind caption.
// The old file stays whole when the write fails.
Result<ListSaved> saveList(const QString &caption, const QStringList &entries);

} // namespace EntryLists
