#pragma once

#include "platform/Result.h"
#include "project/BodyTexts.h"
#include "project/ItemTables.h"

#include <QStringList>
#include <array>
#include <bitset>

// A material the work uses (music, a picture, a font, a library), credited
// under the クレジット heading as its licence asks.
struct Credit {
    QString material; // 素材名
    QString author;   // 作者・サイト
    QString url;
    QString license;
    QString notice; // 表記: the credit text the licence asks for, when fixed
    bool operator==(const Credit &other) const = default;
};

// The README in another language: this language's own versions of field
// values, names and texts. What it lacks falls back to the main language.
struct Translation {
    QString language;                  // its code: en, zh, ko...
    QHash<int, QString> values;        // fields, by item
    QHash<QString, QString> ownValues; // the author's own fields, by entry
    QHash<QString, QString> names;     // entries' names as this README shows them
    BodyTexts texts;                   // a text it lacks is the main language's
    bool operator==(const Translation &other) const = default;
};

// A project as one value: what the data file stores, the composer lays out
// and undo puts back. Readers return one, writers and the composer take one;
// none of them needs the window's document.
struct Project {
    QStringList entries; // the item list in order
    // By item index: a field's text, a heading box's state "0" to "2",
    // nothing for the start and body markers.
    std::array<QString, Items::kCount> values;
    int lineStyle = 0; // Styles::kLines index, or Styles::kFree
    QString lineText;  // the free separator pattern
    int bracketStyle = 0;
    std::array<QString, 2> bracketText; // the free left and right brackets
    QString widthText;                  // columns per line, as the author typed them
    BodyTexts texts;
    // Header fields of the author's own: a custom entry's value, by the entry
    // without its spaces. A custom entry without one is a heading.
    QHash<QString, QString> ownValues;
    // As read: values the file keeps without an entry. They stay unlisted.
    std::bitset<Items::kCount> unlisted;

    // Whether text lines wider than the width are broken: not at all, with
    // what may not start a line pushed onto the next (追い出し), or with 、。
    // let past the width by one character (ぶら下げ).
    enum class Wrap : quint8 { Off, Push, Hang };
    Wrap wrap = Wrap::Off;
    QString checkProfile;  // the site profile the check before release applies
    QStringList silenced;  // check rules, or single findings, the author silenced
    QList<Credit> credits; // in the order they are credited
    // The README's languages: the main one (README.TXT) by its code, the
    // others in the order added. While one of those is edited, the project
    // holds its versions in front, `viewing` names it and `others` holds the
    // main language's whole in its place (see Languages).
    struct LanguageSet {
        QString main; // empty: Japanese
        QList<Translation> others;
        QString viewing;                    // empty: the main language
        QHash<QString, QString> shownNames; // names the README shows for entries
        bool operator==(const LanguageSet &other) const = default;
    };
    LanguageSet languages;

    int boxState(int item) const { return values[size_t(item)].toInt(); }
    bool operator==(const Project &other) const = default;
};

namespace ProjectRules {

// The heading the credits compose under.
inline constexpr char16_t kCreditsHeading[] = u"クレジット";

// A heading box's state as stored: 0, 1 or 2; the reason when it is not.
Result<int> parseBoxState(const QString &value);

// Lists a heading of the body: in front of バージョン履歴, which stays last,
// else in front of the end marker, else at the end.
void listHeading(Project &p, const QString &name);
bool isListed(const Project &p, QStringView name);

// A stored project as the window takes it: a listed heading box takes the
// state stored (checked when none is), an unlisted one is unchecked; the end
// section is on when its marker is listed and not stored off, and with it
// off its lines are grayed. A filled field the entries miss is listed in
// front of the body marker, unless it is kept unlisted.
Project settled(Project stored);

} // namespace ProjectRules
