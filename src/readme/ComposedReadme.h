#pragma once

#include "project/Project.h"

#include <QStringList>
#include <optional>

// Recognises a README that Quillet composed and gives back the project that
// composes it: fields, list, check boxes, styles, width and the author's
// texts. Styles are guessed from the lines, each guess is read through and
// the first whose project composes the same lines again is taken, so a
// project is returned only when it gives the README back line for line.
namespace ComposedReadme {

std::optional<Project> read(const QStringList &lines);

} // namespace ComposedReadme
