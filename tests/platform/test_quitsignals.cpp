// The signals that end the program reach it through the event loop, never
// inside a handler.
#include "platform/quitsignals.h"
#include "test_support.h"

#include <QSignalSpy>

#include <csignal>

namespace {

struct sigaction actionOf(int signalNumber)
{
    struct sigaction a {};
    ::sigaction(signalNumber, nullptr, &a);
    return a;
}

} // namespace

TEST(QuitSignals, EachSignalWaitsForTheEventLoopAndArrivesThere)
{
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signalNumber);
        platform::QuitSignals quit;
        QSignalSpy spy(&quit, &platform::QuitSignals::arrived);
        EXPECT_FALSE(platform::quitSignalPending());
        ASSERT_EQ(::raise(signalNumber), 0);
        // Handled, but not yet served.
        EXPECT_EQ(spy.count(), 0);
        EXPECT_EQ(quit.received(), 0);
        EXPECT_TRUE(platform::quitSignalPending());
        ASSERT_TRUE(QTest::qWaitFor([&] { return spy.count() == 1; }, 5000));
        EXPECT_EQ(spy.at(0).at(0).toInt(), signalNumber);
        EXPECT_EQ(quit.received(), signalNumber);
        // Still pending after it was served: the program is on its way out.
        EXPECT_TRUE(platform::quitSignalPending());
        EXPECT_EQ(platform::signalExitStatus(signalNumber), 128 + signalNumber);
    }
}

TEST(QuitSignals, TheFirstSignalIsTheOneReceived)
{
    platform::QuitSignals quit;
    QSignalSpy spy(&quit, &platform::QuitSignals::arrived);
    ::raise(SIGINT);
    ::raise(SIGTERM);
    ASSERT_TRUE(QTest::qWaitFor([&] { return spy.count() == 2; }, 5000));
    EXPECT_EQ(quit.received(), SIGINT);
    EXPECT_EQ(spy.at(1).at(0).toInt(), SIGTERM);
}

// A file call a signal interrupts goes on; a signal ignored at the start
// (nohup) stays ignored; the handlers before come back afterwards.
TEST(QuitSignals, HandlersRestartCallsKeepAnIgnoredSignalAndComeBackAfterwards)
{
    const struct sigaction hangUpBefore = actionOf(SIGHUP);
    const struct sigaction termBefore = actionOf(SIGTERM);
    ::signal(SIGHUP, SIG_IGN);
    {
        platform::QuitSignals quit;
        EXPECT_EQ(actionOf(SIGHUP).sa_handler, SIG_IGN);
        for (const int signalNumber : {SIGTERM, SIGINT}) {
            const struct sigaction a = actionOf(signalNumber);
            EXPECT_NE(a.sa_handler, SIG_DFL) << signalNumber;
            EXPECT_NE(a.sa_handler, SIG_IGN) << signalNumber;
            EXPECT_TRUE(a.sa_flags & SA_RESTART) << signalNumber;
        }
        ::raise(SIGHUP);
        EXPECT_FALSE(platform::quitSignalPending());
    }
    EXPECT_EQ(actionOf(SIGHUP).sa_handler, SIG_IGN);
    EXPECT_EQ(actionOf(SIGTERM).sa_handler, termBefore.sa_handler);
    EXPECT_FALSE(platform::quitSignalPending());
    ::sigaction(SIGHUP, &hangUpBefore, nullptr);
}
