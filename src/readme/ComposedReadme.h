#pragma once

#include "project/Project.h"

#include <QStringList>
#include <functional>
#include <optional>

// Recognises a README that Quillet composed and gives back the project that
// composes it: fields, list, check boxes, styles, width and the author's
// texts. Styles are guessed from the lines, each guess is read through and
// the first whose project composes the same lines again is taken, so a
// project is returned only when it gives the README back line for line.
namespace ComposedReadme {

// A reading whose text before the first composed line holds a line the
// predicate calls another README's header is no reading: that header would
// stand there as text (given, the predicate is asked of each such line).
std::optional<Project> read(const QStringList &lines,
                            const std::function<bool(const QString &)> &foreignHeader = {});

} // namespace ComposedReadme
