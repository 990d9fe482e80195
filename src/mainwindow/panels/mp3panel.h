#pragma once
#include "mainwindow/panels/modepanel.h"
#include "platform/controls.h"

class QComboBox;

// Mp3: names from the files' tags.
class Mp3Panel : public ModePanel {
    Q_OBJECT
public:
    Mp3Panel(const PanelContext& context, QWidget* parent);

    void addBindings(SettingsBindings& b) override;
    QWidget* focusFor(int subOption) const override;
    // Enter in the pattern box moves the focus here (the window's "Rename!").
    void setEnterTarget(QWidget* button) { enterTarget_ = button; }

private:
    platform::TextBox* txtMp3Format;
    QComboBox* cmbAddMp3Tag;
    platform::CheckBox *chkMp3AddExtension, *chkMp3OnlyFilledTags, *chkMp3OnlyMp3Files, *chkMp3UseID3v2;
    QWidget* enterTarget_ = nullptr;
};
