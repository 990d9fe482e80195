#pragma once
#include <QObject>

class FrmMain;
class QTimer;
namespace platform {
class UiService;
}

// Ends the program on SIGTERM, SIGINT or SIGHUP (platform::QuitSignals) the
// way a user would: a run stops as on the log window's Cancel, after the entry
// at hand, and an Undo runs to its end; an open box or dialog is answered with
// its cancel button; a directory read stops as on Escape; then the log window
// and the main window close as by their close buttons, so the settings are
// saved. A close that is refused for now is tried again until it goes through.
class QuitOnSignal : public QObject {
public:
    // A child of the window, which it closes.
    QuitOnSignal(FrmMain& window, platform::UiService& ui);

    void quit(int signalNumber);
    // The signal acted on (the first one), 0 before any.
    int signalNumber() const { return signal_; }

private:
    void step();
    void retryIn(int ms);

    FrmMain& window_;
    platform::UiService& ui_;
    QTimer* retry_;
    int signal_ = 0;
    bool stepping_ = false;
};
