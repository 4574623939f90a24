#pragma once

#include <QFont>
#include <QStringList>

// Fonts the window asks for by name, falling back to what the system has.
namespace Fonts {

// Fixed pitch, a full-width character exactly two columns wide.
QFont preview();
// The proportional Japanese font of the arrow buttons and the About title.
QFont proportionalGothic(double pointSize, bool bold);

// The first family of the list that the system has, or empty.
QString firstAvailable(const QStringList &families);

} // namespace Fonts
