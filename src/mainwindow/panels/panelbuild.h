#pragma once
// Small builders the option panels share.
#include "mainwindow/boxrules.h"
#include "mainwindow/widgetbuild.h"
#include "platform/controls.h"

#include <algorithm>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>

namespace panelbuild {

using widgetbuild::named;
using widgetbuild::pictureButton;

inline QLabel* label(const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setWordWrap(false);
    return l;
}

// A row: widgets side by side, then a stretch.
inline QHBoxLayout* row(std::initializer_list<QWidget*> widgets)
{
    auto* h = new QHBoxLayout;
    h->setSpacing(4);
    for (QWidget* w : widgets)
        h->addWidget(w);
    h->addStretch(1);
    return h;
}

// Captions written for a narrower desktop font: one point smaller, so they fit.
inline void smallerFont(QWidget* w)
{
    QFont f = w->font();
    f.setPointSizeF(f.pointSizeF() - 1);
    w->setFont(f);
}

inline platform::TextBox* numberBox(QWidget* parent, const QString& name, const QString& text, int maxLength)
{
    auto* t = named(new platform::TextBox(parent), name);
    t->setText(text);
    t->setMaxLength(maxLength);
    t->setFixedWidth(12 + 7 * std::min(maxLength, 6));
    return t;
}

// A panel frame, named by its index; a caption that begins with six spaces
// carries its option button, which a click on the frame selects. "&&" in the
// caption shows as one "&".
inline QGroupBox* makeFrame(BoxRules& rules, int index, const QString& caption, QWidget* parent,
                            platform::OptionButton** option = nullptr, const QString& optionName = QString())
{
    auto* g = named(new QGroupBox(caption, parent), QStringLiteral("frame(%1)").arg(index));
    platform::OptionButton* o = nullptr;
    if (option) {
        o = named(new platform::OptionButton(QString(), g), optionName);
        *option = o;
        o->setGeometry(7, -1, 18, 18);
        o->raise();
    }
    rules.frameSelects(g, index, o);
    return g;
}

} // namespace panelbuild
