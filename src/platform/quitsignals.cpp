#include "platform/quitsignals.h"

#include <QSocketNotifier>

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {

// The pipe's ends as the handler and quitSignalPending() see them; -1 while
// no QuitSignals lives. A handler can reach nothing but such a value.
std::atomic<int> handlerFd{-1};
std::atomic<int> waitingFd{-1};
// The first signal served by the live QuitSignals, 0 before any.
std::atomic<int> servedSignal{0};
static_assert(std::atomic<int>::is_always_lock_free, "the handler reads the pipe's end without a lock");

extern "C" void onQuitSignal(int signalNumber)
{
    // Only what is safe in a handler: one write, errno kept for the code it interrupted.
    const int savedErrno = errno;
    const int fd = handlerFd.load(std::memory_order_relaxed);
    if (fd >= 0) {
        const unsigned char byte = static_cast<unsigned char>(signalNumber);
        [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
    }
    errno = savedErrno;
}

} // namespace

QuitSignals::QuitSignals(QObject* parent) : QObject(parent)
{
    int fds[2];
    // Non-blocking at both ends: a full pipe never blocks the handler (a byte
    // already waiting is enough), and the drain stops when it is empty.
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        return; // no pipe: the signals keep their default actions
    readFd_ = fds[0];
    writeFd_ = fds[1];
    handlerFd.store(writeFd_);
    waitingFd.store(readFd_);
    servedSignal.store(0);
    notifier_ = new QSocketNotifier(readFd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &QuitSignals::drain);

    for (size_t i = 0; i < kSignals.size(); ++i) {
        if (::sigaction(kSignals[i], nullptr, &previous_[i]) != 0 || previous_[i].sa_handler == SIG_IGN)
            continue;
        struct sigaction action {};
        action.sa_handler = &onQuitSignal;
        sigemptyset(&action.sa_mask);
        // A file call the signal interrupts goes on rather than failing half done.
        action.sa_flags = SA_RESTART;
        installed_[i] = ::sigaction(kSignals[i], &action, nullptr) == 0;
    }
}

QuitSignals::~QuitSignals()
{
    for (size_t i = 0; i < kSignals.size(); ++i)
        if (installed_[i])
            ::sigaction(kSignals[i], &previous_[i], nullptr);
    handlerFd.store(-1);
    waitingFd.store(-1);
    servedSignal.store(0);
    delete notifier_;
    if (readFd_ >= 0)
        ::close(readFd_);
    if (writeFd_ >= 0)
        ::close(writeFd_);
}

void QuitSignals::drain()
{
    // The pipe is emptied before anyone hears of it: a listener may serve the
    // event loop again (a box on the way out) and must find nothing left here.
    std::vector<int> served;
    unsigned char bytes[16];
    for (;;) {
        const ssize_t n = ::read(readFd_, bytes, sizeof bytes);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        served.insert(served.end(), bytes, bytes + n);
    }
    for (const int signalNumber : served) {
        if (first_ == 0) {
            first_ = signalNumber;
            servedSignal.store(signalNumber);
        }
        emit arrived(signalNumber);
    }
}

bool quitSignalPending()
{
    if (servedSignal.load(std::memory_order_relaxed) != 0)
        return true;
    const int fd = waitingFd.load(std::memory_order_relaxed);
    if (fd < 0)
        return false;
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, 0) > 0 && (p.revents & POLLIN) != 0;
}

} // namespace platform
