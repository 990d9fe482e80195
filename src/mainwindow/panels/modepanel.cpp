#include "mainwindow/panels/modepanel.h"
#include "mainwindow/boxrules.h"

ModePanel::ModePanel(RenameMode mode, const QString& objectName, const PanelContext& context, QWidget* parent)
    : QFrame(parent), ctx(context), mode_(mode)
{
    setObjectName(objectName);
    hide();
    // The first child: destroyed before the controls it watches.
    rules_ = new BoxRules(
        this, [this] { emit changed(); }, [this] { emit focusArrived(); });
}

bool ModePanel::applyLeaveCorrection(QWidget* box)
{
    return rules_->applyLeaveCorrection(box);
}

bool ModePanel::clickFrame(int index)
{
    return rules_->clickFrame(index);
}
