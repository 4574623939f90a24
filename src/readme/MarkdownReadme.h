#pragma once

#include "ReadmeComposer.h"

#include <QStringList>

// The README as Markdown, made from the same composition as the text file:
// the lead text, the header fields as a table, a section per heading with
// the author's text under it, the end section after a rule, the tail text.
// The author's texts are plain text and go in as they are, so nothing of
// them is lost; separator lines have no place in Markdown and are left out.
namespace MarkdownReadme {

// Item names and values come from doc, the snapshot the composition was
// made from.
QStringList lines(const Composition &composition, const Project &doc);

} // namespace MarkdownReadme
