#include "mainwindow/panels/modepanel.h"
#include "mainwindow/boxrules.h"

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
