#pragma once

#include <QRect>

class QWidget;

// Geometry is laid out in twips (1/1440 inch) and shown at the screen's
// logical DPI.
namespace Twips {

double logicalDpi(const QWidget *widget = nullptr);
int toPixels(int twips, double dpi);
int toTwips(int pixels, double dpi);
QRect toPixels(const QRect &twips, double dpi);

} // namespace Twips
