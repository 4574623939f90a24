#pragma once

class QWidget;

// Captions laid out in twips for one font must still show whole in the font
// the desktop gives. A control whose caption its width cuts takes free room
// to its right in its row, then moves the controls that start right of it;
// a frame grows with its contents.
namespace CaptionFit {

// The width a control needs to show its caption whole; its own width for
// controls without a caption and for check boxes whose caption wraps onto
// the lines their height holds.
int neededWidth(const QWidget *control);

// Widens the controls of container (frames' contents first); returns the
// width its contents need: margin beyond the rightmost control, frameMargin
// inside a frame.
int fit(QWidget *container, int margin, int frameMargin);

} // namespace CaptionFit
