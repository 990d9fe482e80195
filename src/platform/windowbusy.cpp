#include "platform/windowbusy.h"

#include <QPointer>
#include <QWidget>

namespace platform {
namespace {

// The control that had the focus when the window was disabled, kept on the
// window itself so that it dies with it.
class KeptFocus : public QObject {
public:
    explicit KeptFocus(QWidget* window) : QObject(window) {}
    QPointer<QWidget> widget;
};

KeptFocus* keptFocus(QWidget* window)
{
    for (QObject* child : window->children())
        if (auto* k = dynamic_cast<KeptFocus*>(child))
            return k;
    return new KeptFocus(window);
}

} // namespace

void disableWindow(QWidget* window)
{
    if (!window)
        return;
    // A disable nested in another one (or one after a lost focus) finds no
    // focus: the control kept before still stands.
    if (window->isEnabled() && window->focusWidget())
        keptFocus(window)->widget = window->focusWidget();
    window->setEnabled(false);
}

void enableWindow(QWidget* window)
{
    if (!window)
        return;
    window->setEnabled(true);
    // Kept after use: work that enables the window inside an outer disable
    // leaves the focus to give back to the outer enable as well.
    QWidget* had = keptFocus(window)->widget;
    // A control that went away, was hidden or disabled meanwhile, or a focus
    // set by the work itself, wins over the kept one.
    if (had && !window->focusWidget() && had->window() == window && had->isVisible() && had->isEnabled())
        had->setFocus(Qt::OtherFocusReason);
}

} // namespace platform
