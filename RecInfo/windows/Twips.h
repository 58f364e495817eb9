#pragma once
// Window geometry is kept in twips, as the windows were designed, and converted with the
// screen's twips per pixel (1440 / logical DPI).

#include <QRect>

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
void placeInTwips(QWidget* child, const struct TwipsRect& rect);
// Client size and outer width of a window, in twips.
double clientWidthTwips(const QWidget* window);
double clientHeightTwips(const QWidget* window);
double outerWidthTwips(const QWidget* window);
// Sets the client size of a window from twips.
void resizeInTwips(QWidget* window, double clientWidth, double clientHeight);

// Centred horizontally, at four tenths of the free height of the screen.
void placeAtFourTenths(QWidget* window);
// Centred on the screen.
void placeCentred(QWidget* window);

} // namespace vxRecInfo
