#include "platform/outersize.h"

#include <QWidget>
#include <QWindow>

namespace platform {

bool normalState(const QWidget* w)
{
    return !(w->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
}

OuterSize::Fit OuterSize::fit(QWidget* window)
{
    Fit result;
    const QMargins m = window->windowHandle() ? window->windowHandle()->frameMargins() : QMargins();
    const QSize frame(m.left() + m.right(), m.top() + m.bottom());
    if (m != applied_ && normalState(window)) {
        applied_ = m;
        window->setMinimumSize(minimum_ - frame);
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

} // namespace platform
