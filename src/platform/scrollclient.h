#pragma once
#include <QScrollArea>

namespace platform {

// The contents of a window, shown whole while the window is as large as they
// need and scrolled where a small screen keeps the window smaller: every
// control stays within reach of the mouse. The client is laid out at the
// size it gets, never below its minimum; without a need to scroll it fills
// the area exactly and no scroll bar shows.
class ScrollClient : public QScrollArea {
    Q_OBJECT
public:
    explicit ScrollClient(QWidget* client, QWidget* parent = nullptr);
    QWidget* client() const { return widget(); }
    // How much larger the client is than this area, or smaller along a
    // scroll bar: nothing while it needs no scrolling. A layout that follows
    // the window's size adds it to follow the client's.
    QSize clientGrowth() const { return widget()->size() - size(); }

signals:
    // The client's size changed; its controls follow it.
    void clientResized();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    // Keys the focused control leaves go on to the window, as they did
    // before the contents could scroll.
    void keyPressEvent(QKeyEvent* e) override;
};

} // namespace platform
