#pragma once
#include "mainwindow/panels/modepanel.h"
#include "platform/controls.h"

class QComboBox;

// Enum: sequential numbers from a pattern, or numbers padded to a width.
class EnumPanel : public ModePanel {
    Q_OBJECT
public:
    EnumPanel(const PanelContext& context, QWidget* parent);

    void addBindings(SettingsBindings& b) override;
    QWidget* focusFor(int subOption) const override;
    ListEffect effectOf(int subOption) const override;

private:
    void chkEnumAutoZeros_Click();
    void chkEnumResetBetweenDirs_Click();

    platform::OptionButton *chkEnumTab_Enum, *chkEnumTab_Normalize;
    platform::TextBox *txtEnumFormat, *txtEnumStart, *txtEnumStep, *txtEnumZeros, *txtNormalize;
    QComboBox* cmbEnumFormat;
    platform::CheckBox *chkEnumResetBetweenDirs, *chkEnumAutoZeros;
    platform::UpDown *UpDownEnum1, *UpDownEnum2, *UpDownEnum3, *UpDownNormalize;
};
