#pragma once

#include "ReadmeComposer.h"

// Takes the author's text back from a preview edited by hand. The lines the
// composer wrote (headings, fields, separators) are found again in the
// edited text; what now stands after a heading, up to the next of them, is
// the text under that heading, and what stands before the first and after
// the last is the text around the README.
namespace PreviewCapture {

struct Captured {
    BodyTexts texts;      // the document's texts with the preview's in place
    QStringList unplaced; // lines no heading can hold: they would be lost
};

// composed: the composition the preview was filled with; texts: the
// document's texts now. Texts of headings the preview no longer shows are
// kept as they are.
Captured capture(const Composition &composed, const QStringList &previewLines,
                 const BodyTexts &texts);

} // namespace PreviewCapture
