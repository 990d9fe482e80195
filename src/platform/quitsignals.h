#pragma once
#include <QObject>

#include <array>
#include <csignal>

class QSocketNotifier;

namespace platform {

// SIGTERM, SIGINT and SIGHUP (`timeout`, `systemctl stop`, Ctrl+C, a closed
// ssh session) delivered through the event loop: the handler only writes the
// signal's number into a pipe, which a socket notifier reads at the next turn
// of the loop, so the program ends between two steps of its own, never in the
// middle of one. A signal that was ignored when the program started (nohup, a
// background job of a script) stays ignored. One instance at a time; the
// previous handlers come back when it goes.
class QuitSignals : public QObject {
    Q_OBJECT
public:
    explicit QuitSignals(QObject* parent = nullptr);
    ~QuitSignals() override;
    QuitSignals(const QuitSignals&) = delete;
    QuitSignals& operator=(const QuitSignals&) = delete;

    // The first signal served, 0 before any.
    int received() const { return first_; }
    // The signals this object answers.
    static constexpr std::array<int, 3> kSignals = {SIGTERM, SIGINT, SIGHUP};

signals:
    // Once for every signal served, with its number.
    void arrived(int signalNumber);

private:
    void drain();

    int readFd_ = -1;
    int writeFd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
    std::array<struct sigaction, kSignals.size()> previous_{};
    std::array<bool, kSignals.size()> installed_{};
    int first_ = 0;
};

// True from the moment a signal comes in, while it waits for the event loop
// and after it was served, as long as the QuitSignals lives: a loop that
// serves the event loop only now and then (a run of thousands of quick
// renames) looks here between two items.
bool quitSignalPending();

// The exit status of a program ended by a signal.
constexpr int signalExitStatus(int signalNumber)
{
    return 128 + signalNumber;
}

} // namespace platform
