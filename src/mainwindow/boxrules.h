#pragma once
#include "mainwindow/panelrules.h"
#include "platform/controls.h"

#include <functional>
#include <map>
#include <QObject>
#include <set>

class QComboBox;
class QGroupBox;
class QKeyEvent;

// The controls' events, each a signal of its wrapper; a control can have
// several listeners (a focus rule and a kept caret), run in the order connected.
// The handlers belong to `owner`, whose end disconnects them.
namespace boxevents {
void onChange(QObject* owner, platform::TextBox* t, std::function<void()> f);
void onGotFocus(QObject* owner, platform::TextBox* t, std::function<void()> f);
void onLostFocus(QObject* owner, platform::TextBox* t, std::function<void()> f);
void onClick(QObject* owner, platform::CheckBox* c, std::function<void()> f);
void onSelected(QObject* owner, platform::OptionButton* o, std::function<void()> f);
// `passes` returns false to swallow the key.
void onKey(QObject* owner, platform::TextBox* t, std::function<bool(QKeyEvent*)> passes);
} // namespace boxevents

// The box rules every option panel shares: number boxes (key filter, leave
// correction, minus rule), boxes and buttons whose focus selects an option,
// spinners that select theirs, pattern boxes that keep their caret, frames
// whose click selects their option, and the tag lists. A panel creates one
// as its first child, so it is destroyed before the controls it watches.
class BoxRules : public QObject {
    Q_OBJECT
public:
    // `changed` runs after a rule changed a value (the panel's gate);
    // `strayFocus` when a control whose focus selects no option gets it.
    BoxRules(QObject* owner, std::function<void()> changed, std::function<void()> strayFocus);

    // Number boxes: the key filter, the leave correction, the minus rule.
    void numberBox(platform::TextBox* box, const LeaveRule& rule, bool minusAllowed);
    // The box's leave correction when `box` is one of the number boxes; false
    // for other widgets, which are left alone.
    bool applyLeaveCorrection(QWidget* box);
    // A text box whose focus selects `option` and then its whole text.
    void selectsOnFocus(platform::TextBox* box, platform::OptionButton* option);
    // A spinner click selects `option` and moves the focus to it.
    void spinnerSelects(platform::UpDown* spinner, platform::OptionButton* option);
    // A button or box whose focus selects `option`; null: the stray-focus rule.
    void focusSelects(QWidget* w, platform::OptionButton* option);
    // Pattern boxes keep their caret and selection while they have no focus.
    void keepsCaret(platform::TextBox* box);
    // A finished click on the frame itself (not on a child) selects `option`.
    void frameSelects(QGroupBox* frame, int index, platform::OptionButton* option);
    // Selects the option of the frame with this index; false when none is known.
    bool clickFrame(int index);
    // The chosen tag of `list` goes into `target` at its kept caret.
    void insertTagAtCaret(QComboBox* list, platform::TextBox* target);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    std::function<void()> changed_;
    std::function<void()> strayFocus_;
    std::map<QObject*, LeaveRule> leaveRules_;
    std::map<QObject*, platform::OptionButton*> focusOptions_;
    std::set<QObject*> caretBoxes_;
    std::map<QObject*, CaretState> keptCarets_; // taken when the box was last left
    std::map<int, std::pair<QGroupBox*, platform::OptionButton*>> frames_;
};
