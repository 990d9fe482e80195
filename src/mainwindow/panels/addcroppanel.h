#pragma once
#include "mainwindow/panels/modepanel.h"
#include "platform/controls.h"

class QToolButton;

// Add & Crop: insert a text at a position, or remove characters.
class AddCropPanel : public ModePanel {
    Q_OBJECT
public:
    AddCropPanel(const PanelContext& context, QWidget* parent);

    void addBindings(SettingsBindings& b) override;
    QWidget* focusFor(int subOption) const override;

private:
    void cmdAddGetPosition_Click();
    void cmdCropGetPosition_Click();

    platform::OptionButton *optAdd, *optCrop, *optAddBeginning, *optAddEnding, *optCropBeginning, *optCropEnding;
    platform::TextBox *txtAdd, *txtAddPos, *txtCropNumber, *txtCropPos;
    platform::UpDown *UpDownAdd, *UpDownCrop1, *UpDownCrop2;
    QToolButton *cmdAddGetPosition, *cmdCropGetPosition;
};
