#pragma once
#include "mainwindow/panels/modepanel.h"
#include "platform/controls.h"

#include <QDateEdit>
#include <QTimeEdit>

class QToolButton;

// Attributes & Date: three-state attribute boxes, or new file dates.
class AttributesPanel : public ModePanel {
    Q_OBJECT
public:
    AttributesPanel(const PanelContext& context, QWidget* parent);

    void addBindings(SettingsBindings& b) override;
    QWidget* focusFor(int subOption) const override;
    ListEffect effectOf(int subOption) const override;

    // The value the "Write Protect" box had at the end of its last click handling.
    int lastAttrValueR() const { return lastAttrValueR_; }

private:
    void attributeBox_Click(platform::CheckBox* box, int& lastValue);
    void datePairRule(platform::CheckBox* own, platform::CheckBox* other, QWidget* picker);
    void cmdGetCurrentDate_Click();
    void cmdGetCurrentTime_Click();

    int lastAttrValueR_ = 0, lastAttrValueH_ = 0, lastAttrValueS_ = 0, lastAttrValueA_ = 0;
    platform::OptionButton *optAttrib_Attributes, *optAttrib_Date;
    platform::CheckBox *chkR, *chkH, *chkS, *chkA;
    platform::CheckBox *chkDateCreated, *chkDateAccessed, *chkDateModified, *chkDateDate, *chkDateTime;
    QDateEdit* dtDate;
    QTimeEdit* dtTime;
    QToolButton *cmdGetCurrentDate, *cmdGetCurrentTime;
};
