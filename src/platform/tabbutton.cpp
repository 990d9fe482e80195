#include "platform/tabbutton.h"

#include <QStyleOptionTab>
#include <QStylePainter>

#include <algorithm>

namespace platform {

TabButton::TabButton(QWidget* parent) : QToolButton(parent)
{
    setCheckable(true);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    setAutoRaise(true);
}

QSize TabButton::sizeHint() const
{
    const QSize caption = fontMetrics().size(Qt::TextShowMnemonic, text());
    return QSize(caption.width() + 12, std::max(caption.height() + 8, QToolButton::sizeHint().height()));
}

void TabButton::paintEvent(QPaintEvent*)
{
    QStylePainter p(this);
    QStyleOptionTab opt;
    opt.initFrom(this);
    opt.shape = QTabBar::RoundedNorth;
    opt.text = text();
    opt.position = QStyleOptionTab::Middle;
    opt.state &= ~(QStyle::State_Selected | QStyle::State_Sunken | QStyle::State_On);
    if (isChecked())
        opt.state |= QStyle::State_Selected;
    if (hasFocus())
        opt.state |= QStyle::State_HasFocus;
    p.drawControl(QStyle::CE_TabBarTabShape, opt);
    // The caption is drawn here, centred, so it keeps the strip's own narrow padding.
    QRect text = rect();
    if (!isChecked())
        text.translate(0, 1); // the style draws an unselected tab lower
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    p.drawText(text, Qt::AlignCenter | Qt::TextShowMnemonic, this->text());
}

} // namespace platform
