#pragma once

#include "project/Entry.h"

#include <QHash>
#include <QString>
#include <QStringView>
#include <array>

// The 29 output items: their indices, kinds and the captions their names
// come from. The widgets take their captions from the same tables.
namespace Items {

constexpr int kCount = 29;

enum Index : int {
    StartMarker = 0,
    SoftName = 1,
    Version = 2,
    RegistName = 3,
    Date = 4,
    Writer = 5,
    Environment = 6,
    Confirmation = 7,
    Dll = 8,
    Reprinting = 9,
    SoftClass = 10,
    Price = 11,
    Address = 12,
    EMail = 13,
    HomePage = 14,
    BodyMarker = 15,
    FirstBody = 16,
    LastBody = 22,
    EndMarker = 23,
    FirstEnd = 24,
    LastEnd = 28,
};

enum class Kind { StartMarker, Field, BodyMarker, BodyHeading, EndMarker, EndLine };

constexpr int kBodyCount = 7;
constexpr int kEndCount = 5;

Kind kindOf(int index);
inline bool isField(int index)
{
    return index >= SoftName && index <= HomePage;
}
// Fields 5 to 10 and 12 to 14 are editable combo boxes; the others text boxes.
inline bool isComboField(int index)
{
    return isField(index) && index >= Writer && index != Price;
}

// What a fresh window shows: the heading boxes checked at start (the end
// section and its lines all start checked) and the columns per line.
inline constexpr std::array<int, kBodyCount> kBodyDefaults = {1, 0, 1, 1, 1, 1, 0};
inline constexpr int kEndDefault = 1;
inline constexpr char16_t kDefaultLineCount[] = u"80";

// The field an end-of-document line repeats: 著作権者(文末) repeats 著作権者,
// the next three the contact fields 連絡先 to ホームページ.
inline int endLineField(int endLine)
{
    return endLine == FirstEnd ? Writer : Address + (endLine - FirstEnd - 1);
}

// Captions of the header part's items (indices 0 to 15: the start marker, the
// fields, the body marker), of the body headings and of the end lines.
extern const std::array<const char16_t *, 16> kHeaderCaptions;
extern const std::array<const char16_t *, kBodyCount> kBodyCaptions;
extern const std::array<const char16_t *, kEndCount> kEndCaptions;
// The end marker's name, and the caption of the end-section check box.
extern const char16_t kEndMarkerName[];
extern const char16_t kEndSentenceCaption[];

// The 29 item names, from the captions above.
const std::array<QString, kCount> &names();

// Looks up item indices by name: the smallest index whose name equals the
// text. The names must outlive the index.
class NameIndex {
public:
    explicit NameIndex(const std::array<QString, kCount> &names);
    int indexOf(QStringView text) const { return m_byName.value(text, -1); }
    // The item an entry stands for (Entry::standsFor), or -1.
    int itemOfEntry(QStringView entry) const { return indexOf(Entry::trimSpaces(entry)); }
    // The data file numbers an entry with its leading spaces removed only:
    // an item name followed by spaces is a custom entry there.
    int itemOfStoredEntry(QStringView entry) const
    {
        return indexOf(Entry::trimLeadingSpaces(entry));
    }

private:
    QHash<QStringView, int> m_byName;
};

} // namespace Items
