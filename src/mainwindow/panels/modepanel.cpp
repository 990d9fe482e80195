#include "mainwindow/panels/modepanel.h"
#include "mainwindow/boxrules.h"
#include "platform/controls.h"

#include <QButtonGroup>

ModePanel::ModePanel(RenameMode mode, const QString& objectName, const PanelContext& context, QWidget* parent)
    : QFrame(parent), ctx(context), mode_(mode)
{
    setObjectName(objectName);
    hide();
    // Also the handlers' context; the destructor ends it before the controls.
    rules_ = new BoxRules(
        this, [this] { emit changed(); }, [this] { emit focusArrived(); });
}

ModePanel::~ModePanel()
{
    // The children die after this panel's own parts: take the handlers off first.
    delete rules_;
}

QObject* ModePanel::handlers()
{
    return rules_;
}

bool ModePanel::applyLeaveCorrection(QWidget* box)
{
    return rules_->applyLeaveCorrection(box);
}

bool ModePanel::clickFrame(int index)
{
    return rules_->clickFrame(index);
}

// The two options lie in separate frames, so Qt would not make them exclusive
// by itself: one group keeps exactly one of them selected, and a click on the
// selected one keeps it.
void ModePanel::setOptionPair(platform::OptionButton* first, platform::OptionButton* second)
{
    auto* group = new QButtonGroup(this);
    group->setExclusive(true);
    group->addButton(first);
    group->addButton(second);
    pair_[0] = first;
    pair_[1] = second;
}

int ModePanel::subOption() const
{
    return pair_[1] && pair_[1]->isChecked() ? 1 : 0;
}

void ModePanel::selectSubOption(int subOption)
{
    if (pair_[0])
        pair_[subOption == 1 ? 1 : 0]->select();
}
