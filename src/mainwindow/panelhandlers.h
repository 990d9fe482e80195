#pragma once
#include "mainwindow/panelrules.h"

#include <map>
#include <QObject>
#include <QPointer>
#include <set>

class FrmMain;
class QComboBox;
class QLineEdit;
class QWidget;
namespace platform {
class CheckBox;
class OptionButton;
class TextBox;
class UpDown;
} // namespace platform

// The handlers of the eight option panels: which option an input selects, the
// number boxes' key filters and leave corrections, the spinners, the
// three-state attribute boxes, the date and time boxes, the sub-options that
// decide about directories and the Process boxes, the batch "Add", and the tag
// lists. Every change ends with the main window's validation gate. The main
// window creates this once, before the stored values go into the controls.
class PanelHandlers : public QObject {
    Q_OBJECT
public:
    explicit PanelHandlers(FrmMain& window);

    // The box's leave correction when `box` is one of the number boxes; other
    // widgets are left alone. F5 calls it for the focused control, which keeps
    // the focus while the run starts.
    void applyLeaveCorrection(QWidget* box);

    // The value each attribute box had at the end of its last click handling.
    int lastAttrValueR = 0, lastAttrValueH = 0, lastAttrValueS = 0, lastAttrValueA = 0;

    // Find & Replace
    void txtFind_GotFocus();
    void cmdReplaceAdd_Click();
    // Convert Case
    void caseOption_GotFocus();
    // Attributes & Date
    void attributeBox_Click(platform::CheckBox* box, int& lastValue);
    void chkDateDate_Click();
    void chkDateTime_Click();
    void cmdGetCurrentDate_Click();
    void cmdGetCurrentTime_Click();
    void optAttrib_Attributes_Click();
    void optAttrib_Date_Click();
    // Enum
    void chkEnumAutoZeros_Click();
    void chkEnumResetBetweenDirs_Click();
    void chkEnumTab_Enum_Click();
    void chkEnumTab_Normalize_Click();
    // Format
    void chkFormatTab_Format_Click();
    void chkFormatTab_Detect_Click();
    // The four tag lists.
    void insertTagAtCaret(QComboBox* list, platform::TextBox* target);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void connectFindReplace();
    void connectCase();
    void connectSpace();
    void connectAttributes();
    void connectAddCrop();
    void connectEnum();
    void connectMp3AndFormat();

    void gate();
    // Number boxes: the key filter, the leave correction, the minus rule.
    void numberBox(platform::TextBox* box, const LeaveRule& rule, bool minusAllowed);
    // A text box whose focus selects `option` and then its whole text.
    void selectsOnFocus(platform::TextBox* box, platform::OptionButton* option);
    // A spinner click selects `option` and moves the focus to it.
    void spinnerSelects(platform::UpDown* spinner, platform::OptionButton* option);
    // A button or box whose focus selects `option`.
    void focusSelects(QWidget* w, platform::OptionButton* option);
    // Pattern boxes keep their caret and selection while they have no focus.
    void keepsCaret(platform::TextBox* box);
    void focusGuard(const QString& panelKey);
    void datePairRule(platform::CheckBox* own, platform::CheckBox* other, QWidget* picker);

    FrmMain& w;
    std::map<QObject*, LeaveRule> leaveRules_;
    std::map<QObject*, platform::OptionButton*> focusOptions_;
    std::set<QObject*> caretBoxes_;
    std::map<QObject*, CaretState> keptCarets_; // taken when the box was last left
};
