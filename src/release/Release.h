#pragma once

#include "platform/Result.h"
#include "project/Project.h"

#include <QDate>
#include <QStringList>
#include <optional>

// A new release of a project: its version, its date, and an entry at the
// top of the history heading's text, written the way the earlier entries
// are written.
namespace Release {

struct Request {
    QString version;
    QDate date;
    QStringList notes;  // one line each, under the entry
    bool amend = false; // the newest entry has this version: replace it
};

struct Plan {
    Project project;
    QString heading;   // the history heading's name
    QStringList entry; // the entry's lines as they will stand
    bool headingAdded = false;
    bool amended = false;
};

// The project after the release, or why there is none: an empty version, or
// a version the newest entry already has (without amend).
Result<Plan> plan(const Project &project, const Request &request);

// A date typed as yyyy-mm-dd, refused when the day does not exist.
Result<QDate> parseDate(const QString &text);

// How a date was written: 2026/12/07, 2026-12-07, 2026.12.7, 2026年12月7日...
struct DateForm {
    QString afterYear = QStringLiteral("/");
    QString afterMonth = QStringLiteral("/");
    QString afterDay;
    bool padded = true; // month and day in two digits
    QString format(const QDate &date) const;
};
// The form of the first date in text, if it holds one.
std::optional<DateForm> dateFormIn(const QString &text);

} // namespace Release
