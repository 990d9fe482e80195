// SIGTERM, SIGINT and SIGHUP sent to the real vexorren: a run ends where the
// log window's Cancel ends it, the settings are saved and the status is 128 +
// the signal's number.
#include "platform/settingsstore.h"
#include "test_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <csignal>
#include <memory>
#include <unistd.h>

namespace {

// The signals a process catches, from its /proc status.
quint64 caughtSignals(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("SigCgt:"))
            return line.mid(7).trimmed().toULongLong(nullptr, 16);
    return 0;
}

bool catches(qint64 pid, int signalNumber)
{
    return (caughtSignals(pid) >> (signalNumber - 1)) & 1;
}

int linesStartingWith(const QStringList& lines, const QString& head)
{
    int n = 0;
    for (const QString& line : lines)
        n += line.contains(head) ? 1 : 0;
    return n;
}

} // namespace

class SignalExitTest : public TempEnv {
protected:
    // Starts vexorren as test_commandline.cpp does, in this test's places,
    // with the three signals at their default action whatever this process
    // was started with.
    // `errorWithoutReader`: its standard error is a pipe whose reader is gone.
    std::unique_ptr<QProcess> startRenamer(const QStringList& args, bool errorWithoutReader = false)
    {
        auto p = std::make_unique<QProcess>();
        p->setProcessEnvironment(programEnvironment());
        p->setChildProcessModifier([errorWithoutReader] {
            for (int s : {SIGTERM, SIGINT, SIGHUP, SIGPIPE})
                ::signal(s, SIG_DFL);
            int ends[2];
            if (errorWithoutReader && ::pipe(ends) == 0) {
                ::close(ends[0]);
                ::dup2(ends[1], STDERR_FILENO);
                ::close(ends[1]);
            }
        });
        p->start(QCoreApplication::applicationDirPath() + "/vexorren", args);
        EXPECT_TRUE(p->waitForStarted(10000));
        return p;
    }
    // The status the process ended with; -1 when it was killed or did not end.
    static int endOf(QProcess& p)
    {
        if (!p.waitForFinished(30000)) {
            p.kill();
            p.waitForFinished();
            return -1;
        }
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }
};

// SIGTERM in the middle of an unattended run: the file in flight is finished
// and logged, no other is renamed, the statistics and settings are saved.
TEST_F(SignalExitTest, SigtermDuringAnUnattendedRunEndsItAsCancelWouldWithStatus143)
{
    // Enough files that the run still goes on when this test sees its first line.
    const int total = 10000;
    const QString dir = makeDir("many");
    for (int i = 1; i <= total; ++i)
        ASSERT_TRUE(QFile(dir + QString::asprintf("/f%05d.txt", i)).open(QIODevice::WriteOnly));
    {
        platform::SettingsStore store;
        store.setValue("txtFind", "f");
        store.setValue("txtReplace", "g");
        store.setValue("totNumberOfFilesRenamedNew", "7");
    }
    const QString log = programFolder() + "/log.txt";
    auto p = startRenamer({"/p", dir, "/e", "modereplace", "/x"});
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return QFileInfo(log).size() > 0 || p->state() == QProcess::NotRunning; }, 30000));
    ASSERT_EQ(p->state(), QProcess::Running) << "the run ended before the signal";
    ::kill(pid_t(p->processId()), SIGTERM);
    EXPECT_EQ(endOf(*p), 128 + SIGTERM) << p->readAllStandardError().toStdString();

    const int renamed = int(QDir(dir).entryList({"g*"}, QDir::Files).size());
    EXPECT_GT(renamed, 0);
    EXPECT_LT(renamed, total);
    EXPECT_EQ(renamed + QDir(dir).entryList({"f*"}, QDir::Files).size(), total);
    EXPECT_EQ(linesStartingWith(readLines(log), "File Renamed: "), renamed);
    EXPECT_EQ(platform::SettingsStore().value("totNumberOfFilesRenamedNew"), QString::number(7 + renamed));
    EXPECT_TRUE(readLines(programFolder() + "/errors.txt").isEmpty());
}

// A window waiting for the user closes as by its close button: the settings,
// the path given with /p among them, are saved.
TEST_F(SignalExitTest, ASignalToAnIdleWindowClosesItWith128PlusItsNumber)
{
    for (const int signalNumber : {SIGINT, SIGHUP, SIGTERM}) {
        SCOPED_TRACE(signalNumber);
        QFile::remove(root() + "/config/Taborin/Taborin.ini");
        const QString dir = makeDir(QStringLiteral("idle%1").arg(signalNumber));
        auto p = startRenamer({"/p", dir});
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return catches(p->processId(), signalNumber) || p->state() == QProcess::NotRunning; }, 30000));
        ASSERT_EQ(p->state(), QProcess::Running);
        ::kill(pid_t(p->processId()), signalNumber);
        EXPECT_EQ(endOf(*p), 128 + signalNumber) << p->readAllStandardError().toStdString();
        EXPECT_EQ(platform::SettingsStore().value("txtPath"), dir + "/");
    }
}

// A standard error nobody reads any more (the pipe of a script that ended)
// never ends the program: a refused run still says 2, a run still logs and
// saves what it did.
TEST_F(SignalExitTest, AStandardErrorWithoutAReaderEndsNothing)
{
    // A Thunar file that is a link cannot take our action: its message goes to
    // standard error at each save.
    ASSERT_TRUE(QDir().mkpath(root() + "/config/Thunar"));
    writeFile("elsewhere.xml", "<actions>\n</actions>\n");
    ASSERT_TRUE(QFile::link(root() + "/elsewhere.xml", root() + "/config/Thunar/uca.xml"));
    auto refused = startRenamer({"/p", root() + "/nothing", "/e", "modecase", "/x"}, true);
    EXPECT_EQ(endOf(*refused), 2);

    const QString dir = makeDir("quiet");
    ASSERT_TRUE(QFile(dir + "/f1.txt").open(QIODevice::WriteOnly));
    {
        platform::SettingsStore store;
        store.setValue("txtFind", "f");
        store.setValue("txtReplace", "g");
        store.setValue("totNumberOfFilesRenamedNew", "7");
    }
    auto run = startRenamer({"/p", dir, "/e", "modereplace", "/x"}, true);
    EXPECT_EQ(endOf(*run), 1);
    EXPECT_TRUE(QFileInfo::exists(dir + "/g1.txt"));
    EXPECT_EQ(linesStartingWith(readLines(programFolder() + "/log.txt"), "File Renamed: "), 1);
    EXPECT_EQ(platform::SettingsStore().value("totNumberOfFilesRenamedNew"), "8");
}
