#pragma once
#include <QToolButton>

namespace platform {

// One tab of a TabStrip, drawn by the style as a tab-bar tab: the selected tab
// is the light one that stands up and opens into the panel below it.
class TabButton : public QToolButton {
    Q_OBJECT
public:
    explicit TabButton(QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* e) override;
};

} // namespace platform
