#include "platform/outersize.h"
#include "platform/twips.h"

#include <algorithm>
#include <cstdlib>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace platform {

namespace {

// How far the window system itself may change a size or place it was given:
// at a fractional scale it rounds the inner area and the frame to whole device
// pixels each. A change no larger is not the user's.
constexpr int kRounding = 2;

} // namespace

bool normalState(const QWidget* w)
{
    return !(w->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
}

QSize minimumOnArea(QSize minimum, const QRect& area)
{
    return area.isEmpty() ? minimum : minimum.boundedTo(area.size());
}

OuterSize::Fit OuterSize::fit(QWidget* window)
{
    Fit result;
    const QMargins m = window->windowHandle() ? window->windowHandle()->frameMargins() : QMargins();
    const QSize frame(m.left() + m.right(), m.top() + m.bottom());
    const QSize smallest = minimumOnArea(minimum_, availableAreaFor(window->frameGeometry()));
    if ((m != applied_ || smallest != appliedMinimum_) && normalState(window)) {
        applied_ = m;
        appliedMinimum_ = smallest;
        window->setMinimumSize(smallest - frame);
        result.minimumChanged = true;
    }
    if (pending_.isValid() && !m.isNull() && normalState(window)) {
        const QSize inner = pending_ - frame;
        pending_ = QSize();
        window->resize(inner);
        result.resized = true;
    }
    return result;
}

QRect fitToArea(QRect outer, QSize minimum, const QRect& available)
{
    if (available.isEmpty())
        return outer;
    outer.setWidth(std::max(std::min(outer.width(), available.width()), minimum.width()));
    outer.setHeight(std::max(std::min(outer.height(), available.height()), minimum.height()));
    // A window larger than the area (its minimum is) keeps its left and top edges on it.
    const int x =
        std::clamp(outer.x(), available.left(), std::max(available.left(), available.right() + 1 - outer.width()));
    const int y =
        std::clamp(outer.y(), available.top(), std::max(available.top(), available.bottom() + 1 - outer.height()));
    outer.moveTopLeft(QPoint(x, y));
    return outer;
}

QRect StoredGeometry::restore(const QRect& twips, QSize minimum, const QRect& available)
{
    minimum = minimumOnArea(minimum, available);
    twips_ = twips;
    firstSeen_.reset();
    const QRect pixels(toPixels(twips.x()), toPixels(twips.y()), std::max(toPixels(twips.width()), minimum.width()),
                       std::max(toPixels(twips.height()), minimum.height()));
    placed_ = fitToArea(pixels, minimum, available);
    return placed_;
}

QRect StoredGeometry::restore(const QRect& twips, QSize minimum)
{
    const QRect pixels(toPixels(twips.x()), toPixels(twips.y()), toPixels(twips.width()), toPixels(twips.height()));
    return restore(twips, minimum, availableAreaFor(pixels));
}

void StoredGeometry::seen(const QRect& outer, bool placement)
{
    if (!firstSeen_ || placement)
        firstSeen_ = outer.topLeft();
}

QRect StoredGeometry::twipsFor(const QRect& outer) const
{
    // Converting pixels back would round the twips down to the scale's
    // multiples, and a fitted window would store the screen's size: a length
    // the window still has (give or take the window system's rounding) keeps
    // its twips, one the user changed stores what the user made of it.
    const auto length = [](int twips, int placed, int now) {
        return std::abs(now - placed) <= kRounding ? twips : int(toTwips(now));
    };
    const QPoint moved = outer.topLeft() - firstSeen_.value_or(placed_.topLeft());
    return QRect(movedEdgeTwips(twips_.x(), moved.x()), movedEdgeTwips(twips_.y(), moved.y()),
                 length(twips_.width(), placed_.width(), outer.width()),
                 length(twips_.height(), placed_.height(), outer.height()));
}

int movedEdgeTwips(int twips, int moved)
{
    return std::abs(moved) <= kRounding ? twips : twips + int(toTwips(moved));
}

QRect availableAreaFor(const QRect& pixels)
{
    QScreen* screen = QGuiApplication::screenAt(pixels.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

} // namespace platform
