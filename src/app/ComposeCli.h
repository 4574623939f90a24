#pragma once

#include <QStringList>

class QTextStream;

// quillet-compose: opens a data file as the window's Open does, applies
// --set changes, and writes the composed README. Returns the exit status.
namespace ComposeCli {

enum Exit {
    Done = 0,
    Differs = 1,
    Usage = 2,
    DataUnreadable = 3,
    ComposeFailed = 4,
    WriteFailed = 5,
    CheckFoundErrors = 6, // --check-readme found a finding of severity error
    NeedsAnswer = 7,      // a question was needed and --yes (or no terminal) forbade it
};

int run(const QStringList &arguments);

} // namespace ComposeCli
