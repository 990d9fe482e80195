#include "mainwindow/panels/spacepanel.h"
#include "mainwindow/panels/panelbuild.h"
#include "settings/bindings.h"

#include <QVBoxLayout>

using namespace panelbuild;
using namespace boxevents;
using platform::CheckBox;

SpacePanel::SpacePanel(const PanelContext& context, QWidget* parent)
    : ModePanel(RenameMode::Space, QStringLiteral("frmMisc"), context, parent)
{
    auto* f = makeFrame(rules(), 7, QStringLiteral("Space Trimming"), this);
    chkSpaceBeginning =
        named(new CheckBox(QStringLiteral("Remove leading spaces"), f), QStringLiteral("chkSpaceBeginning"));
    chkSpaceEnd = named(new CheckBox(QStringLiteral("Remove trailing spaces"), f), QStringLiteral("chkSpaceEnd"));
    chkSpaceShrink =
        named(new CheckBox(QStringLiteral("Shrink multiple spaces into one"), f), QStringLiteral("chkSpaceShrink"));
    auto* fv = new QVBoxLayout(f);
    fv->setContentsMargins(6, 14, 6, 4);
    for (CheckBox* c : {chkSpaceBeginning, chkSpaceEnd, chkSpaceShrink}) {
        c->setValue(1);
        fv->addWidget(c);
    }
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->addWidget(f);
    auto* tip = label(QStringLiteral("Tip:   Right click on the file list\nto show a popup menu!"), this);
    v->addWidget(tip);
    v->addStretch(1);

    for (CheckBox* c : {chkSpaceBeginning, chkSpaceEnd, chkSpaceShrink})
        onClick(handlers(), c, [this] { emit changed(); });
}

void SpacePanel::addBindings(SettingsBindings& b)
{
    using S = Settings;
    using O = RenameOptions;
    b.check(chkSpaceBeginning, &S::chkSpaceBeginning, &O::trimLeading);
    b.check(chkSpaceEnd, &S::chkSpaceEnd, &O::trimTrailing);
    b.check(chkSpaceShrink, &S::chkSpaceShrink, &O::shrinkSpaces);
}

QWidget* SpacePanel::focusFor(int) const
{
    return nullptr;
}
