#pragma once
#include <QRect>

class QFont;

// The layout is given in twips, as the window's design keeps it. Windows turns
// twips into pixels by the screen's twips per pixel, and lays dialogs out by the
// size of the system font; here one number does both: twips per
// device-independent pixel follow the application font, so every place and size
// grows with the desktop's font and no caption is clipped.
namespace platform {

// 15 (the design's twips per pixel) for a font no larger than the one the
// layout was drawn for, fewer as the font's average letter or line grows. A
// whole number, as a screen's twips per pixel always is, so a size the program
// stores in twips gives the same pixels when it is read back.
int twipsPerPixel(const QFont& font);
int twipsPerPixel(); // of the application font

// Twips to pixels and back at the application font's scale; the pixels are
// whole ones, cut towards zero as the design's conversions always were.
int toPixels(int twips);
qint64 toTwips(qint64 pixels);
// A rectangle given in twips, by its edges: two controls that meet in twips
// meet in pixels too, where converting each width alone could overlap them.
QRect pixelRect(int left, int top, int width, int height);

} // namespace platform
