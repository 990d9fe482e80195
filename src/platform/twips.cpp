#include "platform/twips.h"

#include <QApplication>
#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

// The font the layout was drawn for, "MS Sans Serif" 8 pt on a 96 dpi screen, in
// the measures Windows takes its dialog units from: the average width of the
// letters A-Z and a-z, and the line height.
constexpr double kDesignAverageWidth = 6.0;
constexpr double kDesignLineHeight = 13.0;
constexpr int kDesignTwipsPerPixel = 15;

} // namespace

int twipsPerPixel(const QFont& font)
{
    const QFontMetricsF m(font);
    const double letters = m.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    const double growth = std::max({letters / 52.0 / kDesignAverageWidth, m.height() / kDesignLineHeight, 1.0});
    // Cut down, not rounded: a scale that grows a little more than the font still fits it.
    const int scale = int(std::floor(kDesignTwipsPerPixel / growth + 1e-9));
    return std::clamp(scale, 1, kDesignTwipsPerPixel);
}

int twipsPerPixel()
{
    // Measured once per application font: layouts and window moves ask for
    // it thousands of times. Only the GUI thread lays out.
    // The font's key, not the font: a font kept past the application's end
    // would be released after the font cache it refers to.
    static QString measured;
    static int scale = 0;
    const QFont font = QApplication::font();
    const QString key = font.key();
    if (scale == 0 || key != measured) {
        scale = twipsPerPixel(font);
        measured = key;
    }
    return scale;
}

int toPixels(int twips)
{
    return twips / twipsPerPixel();
}

qint64 toTwips(qint64 pixels)
{
    return pixels * twipsPerPixel();
}

QRect pixelRect(int left, int top, int width, int height)
{
    const int tpp = twipsPerPixel();
    const int x = left / tpp;
    const int y = top / tpp;
    return QRect(x, y, (left + width) / tpp - x, (top + height) / tpp - y);
}

} // namespace platform
