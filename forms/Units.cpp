#include "Units.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace forms {
namespace {
constexpr double kTwipsPerInch = 1440.0;
constexpr double kFallbackDpi = 96.0;

QSize& screenOverride()
{
    static QSize size;
    return size;
}

QScreen* primaryScreen()
{
    return qGuiApp ? QGuiApplication::primaryScreen() : nullptr;
}

double dpiX()
{
    QScreen* screen = primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchX() : kFallbackDpi;
    return dpi > 0 ? dpi : kFallbackDpi;
}

double dpiY()
{
    QScreen* screen = primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchY() : kFallbackDpi;
    return dpi > 0 ? dpi : kFallbackDpi;
}

QSize screenPixels()
{
    if (!screenOverride().isEmpty())
        return screenOverride();
    QScreen* screen = primaryScreen();
    return screen ? screen->geometry().size() : QSize(800, 600);
}
} // namespace

double twipsPerPixelX() { return kTwipsPerInch / dpiX(); }
double twipsPerPixelY() { return kTwipsPerInch / dpiY(); }

int toPixelsX(double twips) { return static_cast<int>(std::lround(twips / twipsPerPixelX())); }
int toPixelsY(double twips) { return static_cast<int>(std::lround(twips / twipsPerPixelY())); }
double toTwipsX(int pixels) { return pixels * twipsPerPixelX(); }
double toTwipsY(int pixels) { return pixels * twipsPerPixelY(); }

double screenWidth() { return toTwipsX(screenPixels().width()); }
double screenHeight() { return toTwipsY(screenPixels().height()); }

void setScreenSizeOverride(QSize pixels) { screenOverride() = pixels; }

QColor colorFromBgr(quint32 bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

quint32 bgrFromColor(const QColor& color)
{
    return quint32(color.red()) | (quint32(color.green()) << 8) | (quint32(color.blue()) << 16);
}

} // namespace forms
