#pragma once
#include "platform/twips.h"

#include <QString>
#include <QStyle>
#include <QToolButton>

// Small helpers the window builders share: controls carry their names as object
// names, so tests find them with findChild.
namespace widgetbuild {

template <typename W> W* named(W* w, const QString& name)
{
    w->setObjectName(name);
    return w;
}

inline QToolButton* pictureButton(QWidget* parent, const QString& name, QStyle::StandardPixmap icon, const QString& tip)
{
    auto* b = named(new QToolButton(parent), name);
    b->setIcon(parent->style()->standardIcon(icon));
    b->setToolTip(tip);
    b->setAutoRaise(false);
    return b;
}

} // namespace widgetbuild
