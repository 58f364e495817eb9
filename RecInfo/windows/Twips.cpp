// SPDX-License-Identifier: MIT
#include "Twips.h"

#include "WindowLayouts.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace vxRecInfo {

namespace {

QRect screenArea(const QWidget* window)
{
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

} // namespace

double twipsPerPixelX(const QWidget* widget)
{
    return 1440.0 / widget->logicalDpiX();
}

double twipsPerPixelY(const QWidget* widget)
{
    return 1440.0 / widget->logicalDpiY();
}

int toPixelsX(const QWidget* widget, double twips)
{
    return int(std::lround(twips / twipsPerPixelX(widget)));
}

int toPixelsY(const QWidget* widget, double twips)
{
    return int(std::lround(twips / twipsPerPixelY(widget)));
}

double toTwipsX(const QWidget* widget, int pixels)
{
    return pixels * twipsPerPixelX(widget);
}

double toTwipsY(const QWidget* widget, int pixels)
{
    return pixels * twipsPerPixelY(widget);
}

void placeInTwips(QWidget* child, double left, double top, double width, double height)
{
    child->setGeometry(toPixelsX(child, left), toPixelsY(child, top), toPixelsX(child, width), toPixelsY(child, height));
}

void placeInTwips(QWidget* child, const TwipsRect& rect)
{
    placeInTwips(child, rect.left, rect.top, rect.width, rect.height);
}

double clientWidthTwips(const QWidget* window)
{
    return toTwipsX(window, window->width());
}

double clientHeightTwips(const QWidget* window)
{
    return toTwipsY(window, window->height());
}

double outerWidthTwips(const QWidget* window)
{
    return toTwipsX(window, window->frameGeometry().width());
}

void resizeInTwips(QWidget* window, double clientWidth, double clientHeight)
{
    window->resize(toPixelsX(window, clientWidth), toPixelsY(window, clientHeight));
}

void placeAtFourTenths(QWidget* window)
{
    const QRect area = screenArea(window);
    const QSize size = window->frameGeometry().size();
    window->move(area.left() + (area.width() - size.width()) / 2, area.top() + (area.height() - size.height()) * 4 / 10);
}

void placeCentred(QWidget* window)
{
    const QRect area = screenArea(window);
    const QSize size = window->frameGeometry().size();
    window->move(area.left() + (area.width() - size.width()) / 2, area.top() + (area.height() - size.height()) / 2);
}

} // namespace vxRecInfo
