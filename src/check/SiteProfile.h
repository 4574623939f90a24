#pragma once

#include "platform/Result.h"

#include <QList>
#include <QString>
#include <QStringList>

struct Project;

// A download site's rules for a README, read from a small JSON file:
//   {"title": "Vector", "rules": [ {"id": …, "type": …, "severity": …, "message": …}, … ]}
// Rule types:
//   "required"  "items": names (or lists of names, any one will do) that must be filled
//   "maxBytes"  "item", "max": the item's value at most max bytes in code page 932
//   "forbid"    "item", "pattern": a regular expression the value must not match
//   "creditWhen" "mentions", "headings": when a text mentions the word (or
//               always, without "mentions"), one of the headings must be listed
//               (materials credited)
// Items are named as the item list names them, or by a field of the author's own.
struct SiteProfile {
    struct Rule {
        QString id, type, severity, message;
        QList<QStringList> items; // required: each a set of names, one of them filled
        QString item;
        int max = 0;
        QString pattern;
        QString mentions;
        QStringList headings;
    };
    QString name;  // the file's name without .json
    QString title; // as the author sees it
    QList<Rule> rules;

    // Reads a profile; the reason names the file, the line and what is wrong.
    static Result<SiteProfile> read(const QByteArray &json, const QString &fileName);
};

namespace SiteProfiles {

struct Loaded {
    QList<SiteProfile> profiles; // by name; an author's own wins over a shipped one
    QStringList problems;        // profiles that could not be read, a message each
};
// The profiles in dirs, the earlier folders first.
Loaded load(const QStringList &dirs);
// The author's profiles folder, then the shipped one.
QStringList folders();
// The profile a project without one of its own is checked with.
inline constexpr char16_t kDefault[] = u"standard";

} // namespace SiteProfiles
