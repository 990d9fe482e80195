#pragma once
#include "mainwindow/panels/modepanel.h"
#include "platform/controls.h"

#include <array>

class QToolButton;

// Convert Case: the name's and the extension's case, and the exception words.
class CasePanel : public ModePanel {
    Q_OBJECT
public:
    CasePanel(const PanelContext& context, QWidget* parent);

    void addBindings(SettingsBindings& b) override;
    QWidget* focusFor(int subOption) const override;

private:
    std::array<platform::OptionButton*, 7> Case1{};
    std::array<platform::OptionButton*, 6> Case2{};
    platform::CheckBox* chkExceptionsEnabled;
    QToolButton* cmdExceptionsEdit;
};
