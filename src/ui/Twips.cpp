#include "Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace Twips {

double logicalDpi(const QWidget *widget)
{
    const QScreen *screen =
        widget && widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInch() : 96.0;
}

int toPixels(int twips, double dpi)
{
    return int(std::lround(twips * dpi / 1440.0));
}

int toTwips(int pixels, double dpi)
{
    return int(std::lround(pixels * 1440.0 / dpi));
}

QRect toPixels(const QRect &twips, double dpi)
{
    const int left = toPixels(twips.left(), dpi);
    const int top = toPixels(twips.top(), dpi);
    // Convert the far edges too, so neighbouring controls never overlap by rounding.
    const int right = toPixels(twips.left() + twips.width(), dpi);
    const int bottom = toPixels(twips.top() + twips.height(), dpi);
    return QRect(left, top, right - left, bottom - top);
}

} // namespace Twips
