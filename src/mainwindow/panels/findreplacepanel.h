#pragma once
#include "mainwindow/panels/modepanel.h"
#include "platform/controls.h"

class QLabel;
class QToolButton;

// Find & Replace: a single pair of texts, or the batch list.
class FindReplacePanel : public ModePanel {
    Q_OBJECT
public:
    FindReplacePanel(const PanelContext& context, QWidget* parent);

    void addBindings(SettingsBindings& b) override;
    QWidget* focusFor(int subOption) const override;
    // The caption under "Batch Replace".
    void setBatchCaption(const QString& text);

private:
    void txtFind_GotFocus();
    void cmdReplaceAdd_Click();
    void cmdReplaceGetPosition_Click();
    void cmdReplaceGetString_Click();

    platform::OptionButton *optReplaceSingle, *optReplaceBatch;
    platform::TextBox *txtFind, *txtReplace, *txtReplaceStart, *txtReplaceCount;
    platform::CheckBox *chkCaseSensitive, *chkReplaceMode;
    platform::UpDown *UpDownReplace1, *UpDownReplace2;
    QToolButton *cmdReplaceGetString, *cmdReplaceGetPosition, *cmdReplaceAdd, *cmdReplaceEdit;
    QLabel* lblBatchReplace;
};
