#include "platform/scrollclient.h"

#include <QEvent>
#include <QKeyEvent>

namespace platform {

ScrollClient::ScrollClient(QWidget* client, QWidget* parent) : QScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    // Not a stop of its own in the tab order; Tab to a hidden control still
    // scrolls it into view.
    setFocusPolicy(Qt::NoFocus);
    setWidgetResizable(true);
    setWidget(client);
    client->installEventFilter(this);
}

bool ScrollClient::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == widget() && e->type() == QEvent::Resize)
        emit clientResized();
    return QScrollArea::eventFilter(watched, e);
}

void ScrollClient::keyPressEvent(QKeyEvent* e)
{
    e->ignore();
}

} // namespace platform
