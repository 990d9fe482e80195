#pragma once
#include "mainwindow/panels/modepanel.h"
#include "platform/controls.h"

// Space: leading and trailing spaces, and runs of spaces.
class SpacePanel : public ModePanel {
    Q_OBJECT
public:
    SpacePanel(const PanelContext& context, QWidget* parent);

    void addBindings(SettingsBindings& b) override;
    QWidget* focusFor(int subOption) const override;

private:
    platform::CheckBox *chkSpaceBeginning, *chkSpaceEnd, *chkSpaceShrink;
};
