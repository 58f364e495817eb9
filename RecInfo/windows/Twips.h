// SPDX-License-Identifier: MIT
#pragma once
// Window geometry is kept in twips, as the windows were designed, and converted with the
// screen's twips per pixel (1440 / logical DPI).

#include "WindowLayouts.h"

#include <QRect>

#include <initializer_list>
#include <utility>

class QWidget;

namespace vxRecInfo {

double twipsPerPixelX(const QWidget* widget);
double twipsPerPixelY(const QWidget* widget);
int toPixelsX(const QWidget* widget, double twips);
int toPixelsY(const QWidget* widget, double twips);
double toTwipsX(const QWidget* widget, int pixels);
double toTwipsY(const QWidget* widget, int pixels);

// Places a child at a design rectangle given in twips.
void placeInTwips(QWidget* child, double left, double top, double width, double height);
void placeInTwips(QWidget* child, const TwipsRect& rect);
// Client size and outer width of a window, in twips.
double clientWidthTwips(const QWidget* window);
double clientHeightTwips(const QWidget* window);
double outerWidthTwips(const QWidget* window);
// A window's controls, each at its rectangle of the window's layout.
template <class Layout>
using Placements = std::initializer_list<std::pair<QWidget*, TwipsRect Layout::*>>;
// Resizes layout to window's client area (and outer width, where its rules take that) unless
// told not to, then places every control.
template <class Layout>
void layOutWindow(const QWidget* window, Layout& layout, Placements<Layout> controls, bool resize = true)
{
    if (resize) {
        if constexpr (requires { layout.resize(0.0, 0.0, 0.0); })
            layout.resize(clientWidthTwips(window), clientHeightTwips(window), outerWidthTwips(window));
        else
            layout.resize(clientWidthTwips(window), clientHeightTwips(window));
    }
    for (const auto& [control, rect] : controls)
        placeInTwips(control, layout.*rect);
}
// Sets the client size of a window from twips.
void resizeInTwips(QWidget* window, double clientWidth, double clientHeight);

// Centred horizontally, at four tenths of the free height of the screen.
void placeAtFourTenths(QWidget* window);
// Centred on the screen.
void placeCentred(QWidget* window);

} // namespace vxRecInfo
