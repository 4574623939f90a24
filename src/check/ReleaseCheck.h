#pragma once

#include "SiteProfile.h"
#include "project/Project.h"
#include "readme/ReadmeComposer.h"

#include <QByteArray>
#include <QString>
#include <vector>

// The check before release: what in a composed README reads badly somewhere
// (too wide, characters other systems show otherwise, mixed styles) and what
// the project or a download site's rules miss.
namespace ReleaseCheck {

enum class Severity { Error, Warning, Note };

struct Finding {
    QString rule; // its rule's id: too-wide, unmappable, … or a profile's
    Severity severity = Severity::Warning;
    int line = 0;    // of the README, from 1; 0 for the project as a whole
    int column = 0;  // in bytes, from 1, as a fixed-pitch editor counts; 0: none
    QString message; // in the author's language: what, and what to do
    QString subject; // what it is about: the line's text, an item's name
    // Names this one finding, to silence it alone: its rule and its subject,
    // so it stays silenced when lines above it move.
    QString key() const { return rule + u'@' + subject; }
};

struct Options {
    int width = 0;         // bytes per line; 0: no width to keep
    QString expectVersion; // when given, the バージョン the README must show
    QStringList silenced;  // rule ids and finding keys the author silenced
    QList<SiteProfile> profiles;
};

// Findings in README order, the project's first.
std::vector<Finding> check(const Project &project, const Composition &readme,
                           const Options &options);

bool hasErrors(const std::vector<Finding> &findings);
QString severityName(Severity severity); // エラー, 警告, 注意
// "file:line:column: 警告: message [rule]", one finding a line.
QString toText(const Finding &finding, const QString &fileName);
QByteArray toJson(const std::vector<Finding> &findings);

} // namespace ReleaseCheck
