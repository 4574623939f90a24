#pragma once

#include "project/Project.h"
#include "readme/ReadmeFile.h"

#include <QList>
#include <QPair>
#include <QStringList>
#include <optional>

// quillet-compose's options as given, and what they add up to.
namespace ComposeCli {

struct Options {
    QString data;
    QString import; // a README read instead of a data file
    QString readme; // empty or "-" means standard output
    QList<QPair<QString, QString>> sets;
    QList<QPair<QString, QString>> names; // entries' names in the --lang language
    QString writeData;
    bool check = false;
    bool utf8 = false;
    bool bom = false;
    bool lf = false;
    bool markdown = false;
    ReadmeFile::Format format;
    // For this run only: breaking lines and the width, over the project's.
    std::optional<Project::Wrap> wrap;
    QString width;
    // The check before release instead of writing.
    bool checkReadme = false;
    bool json = false;
    QString expectVersion;
    QString profile;
    // A new release: version, date (today when none), notes, replacing the newest entry.
    QString release;
    QString releaseDate;
    QStringList notes;
    bool amend = false;
    bool releasing = false;
    QString language;    // the language this run edits and writes
    QString addLanguage; // a language added first
    bool allLanguages = false;
    QString templateName; // a new data file from this template
    bool listTemplates = false;
    bool yes = false; // never ask
};

// Parses the arguments; returns -1 to go on, or an exit status (--help and
// --version have been answered then).
int parse(const QStringList &args, Options &o);

// Standard error, a line; standard output, false when not every byte was taken.
void err(const QString &text);
bool out(const QByteArray &bytes);
int outputFailed();
int usageError(const QString &message);

} // namespace ComposeCli
