#pragma once
#include <optional>
#include <QMargins>
#include <QRect>
#include <QSize>

class QWidget;

namespace platform {

// True unless the window is minimised, maximised or full screen.
bool normalState(const QWidget* w);

// The smallest outer size a window may ask for on `area`: its own, cut to the
// area, so that a small screen or a large font never puts part of the window
// off the screen (its contents scroll instead). Without an area, its own.
QSize minimumOnArea(QSize minimum, const QRect& area);

// A top-level window whose stored size and minimum are outer sizes, while Qt
// sizes the inner area: once the window system tells the frame's margins, both
// are converted. Only the normal frame counts: a maximised window may lose its
// borders, and a minimum taken from that frame would be taller than the
// maximised window and make the window system restore it. The minimum applied
// is never larger than the available area of the window's screen.
class OuterSize {
public:
    explicit OuterSize(QSize minimumOuter) : minimum_(minimumOuter) {}
    // The smallest outer size, for a window whose scale is known only at its load.
    void setMinimum(QSize outer) { minimum_ = outer; }
    // The outer size to apply once the frame is known.
    void setPending(QSize outer) { pending_ = outer; }
    // Whether the size set to apply still waits for the frame.
    bool pending() const { return pending_.isValid(); }
    // The outer minimum the window was made for, whatever the screen allows.
    QSize minimum() const { return minimum_; }
    // The frame's width and height as last applied.
    QSize frame() const { return QSize(applied_.left() + applied_.right(), applied_.top() + applied_.bottom()); }
    struct Fit {
        bool minimumChanged = false; // the frame or the screen changed and the minimum was set anew
        bool resized = false;        // the pending size was applied
    };
    // Call at every show, move and resize of the window.
    Fit fit(QWidget* window);

private:
    QSize minimum_;
    QSize pending_;
    QMargins applied_;
    QSize appliedMinimum_; // the outer minimum last applied, cut to the screen
};

// An outer rectangle moved and cut so that it lies inside `available`, but
// never smaller than `minimum`; an empty area (no screen known) leaves it.
QRect fitToArea(QRect outer, QSize minimum, const QRect& available);

// The stored outer rectangle of a window (twips) and where it was put on the
// screen (pixels at the application font's scale, fitted to the screen's
// available area). A larger font or a smaller screen changes only the pixels:
// while the user leaves the window's width or height alone its stored twips
// stand, and its stored place moves only by the distance the window was moved.
// A change by a pixel or two, as the window system rounds what it was given,
// is not the user's.
class StoredGeometry {
public:
    // The outer rectangle, in pixels, to give the window for `twips`; never
    // smaller than `minimum` as cut to the area (minimumOnArea()).
    QRect restore(const QRect& twips, QSize minimum, const QRect& available);
    // The same on the available area of the screen the window would stand on.
    QRect restore(const QRect& twips, QSize minimum);
    // Call at every move and resize of the shown window in the normal state;
    // the first rectangle is where the window system put it, and so is one it
    // moved the window to before it was first shown on the screen (`placement`).
    void seen(const QRect& outer, bool placement = false);
    // The twips to store for the normal outer rectangle `outer`.
    QRect twipsFor(const QRect& outer) const;

private:
    QRect twips_;
    QRect placed_;
    std::optional<QPoint> firstSeen_;
};

// A stored edge (twips) of a window that moved by `moved` pixels since it was
// put there: a move within the window system's rounding keeps it, a larger
// one shifts it by the distance moved.
int movedEdgeTwips(int twips, int moved);

// The available area of the screen that holds the middle of `pixels`, else
// of the primary screen; empty without a screen.
QRect availableAreaFor(const QRect& pixels);

} // namespace platform
