#pragma once
#include <QMargins>
#include <QSize>

class QWidget;

namespace platform {

// True unless the window is minimised, maximised or full screen.
bool normalState(const QWidget* w);

// A top-level window whose stored size and minimum are outer sizes, while Qt
// sizes the inner area: once the window system tells the frame's margins, both
// are converted. Only the normal frame counts: a maximised window may lose its
// borders, and a minimum taken from that frame would be taller than the
// maximised window and make the window system restore it.
class OuterSize {
public:
    explicit OuterSize(QSize minimumOuter) : minimum_(minimumOuter) {}
    // The smallest outer size, for a window whose scale is known only at its load.
    void setMinimum(QSize outer) { minimum_ = outer; }
    // The outer size to apply once the frame is known.
    void setPending(QSize outer) { pending_ = outer; }
    struct Fit {
        bool minimumChanged = false; // the frame changed and the minimum was set anew
        bool resized = false;        // the pending size was applied
    };
    // Call at every show, move and resize of the window.
    Fit fit(QWidget* window);

private:
    QSize minimum_;
    QSize pending_;
    QMargins applied_;
};

} // namespace platform
