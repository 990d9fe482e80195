#include "platform/captionfit.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLayout>
#include <QWidget>

#include <algorithm>

namespace platform {

namespace {

bool isCaption(const QWidget* w)
{
    if (const auto* l = qobject_cast<const QLabel*>(w))
        return !l->text().isEmpty() && !l->wordWrap();
    if (const auto* b = qobject_cast<const QAbstractButton*>(w))
        return !b->text().isEmpty();
    return false;
}

} // namespace

void widenCaptions(QWidget* parent)
{
    const QList<QWidget*> children = parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* w : children) {
        if (w->isWindow() || !isCaption(w) || (parent->layout() && parent->layout()->indexOf(w) >= 0))
            continue;
        const int wanted = w->sizeHint().width();
        if (wanted <= w->width())
            continue;
        int limit = parent->contentsRect().right() + 1;
        const QRect g = w->geometry();
        for (const QWidget* other : children) {
            const QRect o = other->geometry();
            if (other != w && !other->isWindow() && o.left() >= g.right() + 1 && o.top() <= g.bottom() &&
                o.bottom() >= g.top())
                limit = std::min(limit, o.left());
        }
        const int width = std::min(wanted, limit - g.left());
        if (width > g.width())
            w->resize(width, g.height());
    }
}

} // namespace platform
