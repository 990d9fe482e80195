#pragma once
#include "mainwindow/panels/modepanel.h"
#include "platform/controls.h"

class QComboBox;

// Format: names from a pattern of tags, or the extension from the file's type.
class FormatPanel : public ModePanel {
    Q_OBJECT
public:
    FormatPanel(const PanelContext& context, QWidget* parent);

    void addBindings(SettingsBindings& b) override;
    QWidget* focusFor(int subOption) const override;
    ListEffect effectOf(int subOption) const override;

private:
    platform::OptionButton *chkFormatTab_Format, *chkFormatTab_Detect;
    platform::TextBox *txtFormat, *txtFormatParts;
    QComboBox *cmbFormat, *cmbFormatParts;
    platform::CheckBox *chkFormatAllMustBeAvailable, *chkFileDetect_KeepExt, *chkFileDetect_TryText,
        *chkFileDetect_TryMp3;
};
