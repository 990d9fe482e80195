#pragma once
#include "engine/renamemode.h"

#include <functional>
#include <QFrame>

class BoxRules;
class SettingsBindings;
struct AppState;
struct PickerValues;
namespace platform {
class OptionButton;
class UiService;
} // namespace platform

// What selecting a sub-option does to the list options beside the lists.
struct ListEffect {
    enum class Dirs {
        Keep,
        Allow,     // directories may be ticked again
        FilesOnly, // files only: "Directories" unticked and disabled
    };
    enum class Process { Keep, Enable, Disable };
    Dirs dirs = Dirs::Keep;
    Process process = Process::Keep; // both Process boxes
};

// What the window lends its panels: the message and clock service with the
// title of its messages, the program-wide state, and the position picker's
// values with a test whether the active list has names to pick from.
struct PanelContext {
    platform::UiService& ui;
    QString productTitle;
    AppState& state;
    PickerValues& picker;
    std::function<bool()> pickerAvailable;
};

// One rename mode's option panel: it builds and owns its controls, runs their
// handlers and lists their binding rows. The window creates it, places it,
// shows the selected mode's panel and connects the signals.
class ModePanel : public QFrame {
    Q_OBJECT
public:
    ModePanel(RenameMode mode, const QString& objectName, const PanelContext& context, QWidget* parent);
    ~ModePanel() override;

    RenameMode mode() const { return mode_; }
    // The panel's binding rows, in the order they load (a pattern box before its
    // option key, the boxes before the option that decides about them).
    virtual void addBindings(SettingsBindings& b) = 0;
    // Which option of the panel's pair is selected (0 without a pair).
    int subOption() const;
    void selectSubOption(int subOption);
    // The control that takes the focus when the panel comes to the front.
    virtual QWidget* focusFor(int subOption) const = 0;
    // What the sub-option does to the list options.
    virtual ListEffect effectOf(int /*subOption*/) const { return {}; }

    // The leave correction of `box` when it is one of this panel's number
    // boxes; false otherwise.
    bool applyLeaveCorrection(QWidget* box);
    // Selects the option of the frame with this index; false when the frame is not this panel's.
    bool clickFrame(int index);

signals:
    // A value changed: the window runs the validation gate.
    void changed();
    // The other option of the pair was selected: the window applies its effect
    // on the list options, then the gate.
    void subOptionChanged();
    // The picker's values are set: the window shows the picker over the active list.
    void pickerRequested();
    // An edit button asks for the options window on this tab.
    void settingsRequested(const QString& tabKey);
    // A control of this panel got the focus; the window hands it on while the
    // panel is not the selected one.
    void focusArrived();

protected:
    BoxRules& rules() { return *rules_; }
    // The context of every handler of the panel's controls: it dies before the
    // controls do, so a box taken down never runs a handler of a half-gone panel.
    QObject* handlers();
    // The panel's pair of options, one of them always selected: `first` is
    // sub-option 0, `second` sub-option 1.
    void setOptionPair(platform::OptionButton* first, platform::OptionButton* second);
    const PanelContext ctx;

private:
    RenameMode mode_;
    platform::OptionButton* pair_[2] = {nullptr, nullptr};
    BoxRules* rules_;
};
