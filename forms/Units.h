#pragma once

#include <QColor>
#include <QSize>

namespace forms {

// Geometry in the forms' own terms is in twips (1440 per inch). The one
// conversion to Qt's device-independent pixels lives here, derived from the
// primary screen's logical DPI.
double twipsPerPixelX();
double twipsPerPixelY();
int toPixelsX(double twips);
int toPixelsY(double twips);
double toTwipsX(int pixels);
double toTwipsY(int pixels);

// The whole screen, in twips.
double screenWidth();
double screenHeight();

// Test seam: pretend the primary screen has this size in pixels (an empty
// size restores the real screen).
void setScreenSizeOverride(QSize pixels);

// Colours are stored as 0x00BBGGRR.
QColor colorFromBgr(quint32 bgr);
quint32 bgrFromColor(const QColor& color);

} // namespace forms
