// SIGTERM, SIGINT and SIGHUP while the window is open: a run stops where
// Cancel stops it, an Undo runs to its end, a directory read stops as on
// Escape, an open box takes its cancel answer, and then the window closes as
// its close button would, saving the settings.
#include "execute/passes.h"
#include "mainwindow/panels/casepanel.h"
#include "mainwindow/quitonsignal.h"
#include "platform/quitsignals.h"
#include "platform/settingsstore.h"
#include "run_fixture.h"

#include <QDir>

#include <csignal>
#include <memory>
#include <utility>

namespace {

// Files f0001.txt, f0002.txt ... below `folder`.
void writeNumbered(const QString& folder, int count)
{
    for (int i = 1; i <= count; ++i)
        writeFileBytes(folder + QString::asprintf("/f%04d.txt", i), QByteArray());
}

int namesStartingWith(const QString& folder, const QString& prefix)
{
    return int(QDir(folder).entryList({prefix + "*"}, QDir::Files).size());
}

// Raises SIGTERM the first time the watched widget is shown. Its parent is
// that widget, so it never outlives it.
class RaiseOnShow : public QObject {
public:
    explicit RaiseOnShow(QWidget* watched) : QObject(watched) { watched->installEventFilter(this); }
    bool raised = false;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Show && !std::exchange(raised, true))
            ::raise(SIGTERM);
        return false;
    }
};

} // namespace

class QuitOnSignalTest : public RunRenameTest {
protected:
    std::unique_ptr<platform::QuitSignals> quitSignals;
    QuitOnSignal* onSignal = nullptr;

    // The program's own wiring: the window hears of every signal served.
    void listen()
    {
        quitSignals = std::make_unique<platform::QuitSignals>();
        onSignal = new QuitOnSignal(*w, ui);
        QObject::connect(quitSignals.get(), &platform::QuitSignals::arrived, onSignal, &QuitOnSignal::quit);
    }
    void TearDown() override
    {
        RunRenameTest::TearDown();
        quitSignals.reset();
    }
    bool closes()
    {
        return QTest::qWaitFor([this] { return w->exited(); }, 10000);
    }
    int renamedLines()
    {
        int n = 0;
        for (const QString& line : activity())
            n += line.startsWith("File Renamed: ") ? 1 : 0;
        return n;
    }
};

// However long the run's interval between two turns of the event loop, a
// signal that came in is served after the entry at hand, where a click on
// Cancel would be seen.
TEST_F(QuitOnSignalTest, AWaitingSignalIsServedAfterTheEntryAtHand)
{
    writeNumbered(work(), 20);
    start();
    listWork();
    platform::QuitSignals quit;
    QObject::connect(&quit, &platform::QuitSignals::arrived, w.get(),
                     [this] { w->executeState().run.cancelRequested = -1; });
    ExecuteHost h = w->executeHost();
    CommandScope scope(h);
    RunState& r = w->executeState().run;
    r.cancelRequested = 0;
    r.yieldIntervalMs = 24 * 3600 * 1000; // no turn of the loop is due during this pass
    r.sinceYield.start();
    int names = 0;
    runRenamePass(h, "executeReplace", false, [&](const QString&, const QString& name, bool) {
        if (++names == 5)
            ::raise(SIGTERM);
        return "g" + name.mid(1);
    });
    EXPECT_EQ(quit.received(), SIGTERM);
    EXPECT_EQ(names, 5);
    EXPECT_EQ(r.filesDone, 5);
    EXPECT_EQ(namesStartingWith(work(), "g"), 5);
}

TEST_F(QuitOnSignalTest, ARunStopsWhereCancelStopsItAndTheWindowClosesWithItsSettingsSaved)
{
    const int total = 300;
    writeNumbered(work(), total);
    start();
    listen();
    listWork();
    replace("f", "g");
    RunState& r = w->executeState().run;
    atFirst([&] { return r.filesDone >= 3; }, [] { ::raise(SIGTERM); });
    clickButton(ctl<QPushButton>("cmdExecute"));

    ASSERT_TRUE(closes());
    EXPECT_EQ(onSignal->signalNumber(), SIGTERM);
    const int renamed = r.filesDone;
    EXPECT_GE(renamed, 3);
    EXPECT_LT(renamed, total);
    // Every rename done has its line, and its undo record.
    EXPECT_EQ(namesStartingWith(work(), "g"), renamed);
    EXPECT_EQ(namesStartingWith(work(), "f"), total - renamed);
    EXPECT_EQ(renamedLines(), renamed);
    EXPECT_EQ(w->executeState().undo.undoFileCount, renamed);
    // The log window closed before the main window, which saved the settings.
    EXPECT_EQ(logWin(), nullptr);
    EXPECT_EQ(platform::SettingsStore().value("totNumberOfFilesRenamedNew"), QString::number(renamed));
    EXPECT_EQ(platform::SettingsStore().value("txtFind"), "f");
    EXPECT_TRUE(readLines(programFolder() + "/errors.txt").isEmpty());
}

TEST_F(QuitOnSignalTest, AnUndoRunsToItsEndBeforeTheWindowCloses)
{
    const int total = 40;
    writeNumbered(work(), total);
    start();
    listWork();
    replace("f", "g");
    clickButton(ctl<QPushButton>("cmdExecute"));
    ASSERT_EQ(namesStartingWith(work(), "g"), total);
    ASSERT_TRUE(logWin());
    clickButton(logWin()->cmdClose);

    listen();
    RunState& r = w->executeState().run;
    atFirst([&] { return r.undoInProgress == -1 && r.filesDone >= 3; }, [] { ::raise(SIGHUP); });
    ui.answers.push_back(QMessageBox::Yes);
    clickButton(ctl<QPushButton>("cmdUndo"));

    ASSERT_TRUE(closes());
    EXPECT_EQ(onSignal->signalNumber(), SIGHUP);
    EXPECT_EQ(namesStartingWith(work(), "f"), total);
    EXPECT_EQ(r.filesDone, total);
    EXPECT_EQ(platform::SettingsStore().value("totNumberOfFilesRenamedNew"), "0");
}

// F5 lets the focus change go through before it runs: a signal served there
// closes the window, and the run it was on its way to does not start.
TEST_F(QuitOnSignalTest, ASignalOnTheWayToARunClosesTheWindowWithoutTheRun)
{
    writeNumbered(work(), 5);
    waitActive = true;
    start();
    listen();
    listWork();
    replace("f", "g");
    ASSERT_TRUE(ctl<QPushButton>("cmdExecute")->isEnabled());
    auto* find = ctl<QLineEdit>("txtFind");
    find->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return find->hasFocus(); }, 2000));
    ::raise(SIGTERM);
    QTest::keyClick(find, Qt::Key_F5);

    ASSERT_TRUE(closes());
    EXPECT_EQ(namesStartingWith(work(), "g"), 0);
    EXPECT_EQ(w->executeState().frmExecute.data(), nullptr);
    EXPECT_TRUE(readLines(programFolder() + "/log.txt").isEmpty());
    EXPECT_EQ(platform::SettingsStore().value("txtFind"), "f");
}

// An unattended start whose signal is served while the start word's tab is
// chosen (a turn of the loop there) closes without its run and says nothing:
// no run was refused, the status is the signal's.
TEST_F(QuitOnSignalTest, ASignalAsTheStartWordIsChosenEndsTheUnattendedStartWithoutALine)
{
    writeNumbered(work(), 5);
    const QStringList before = QDir(work()).entryList(QDir::Files);
    platform::SettingsStore().setValue("Case1", "1");
    platform::SettingsStore().setValue("tabStrip", "1"); // another tab than the start word's
    quitSignals = std::make_unique<platform::QuitSignals>();
    w = std::make_unique<FrmMain>(ui, QStringList{"/p", work(), "/e", "modecase", "/x"});
    onSignal = new QuitOnSignal(*w, ui);
    QObject::connect(quitSignals.get(), &platform::QuitSignals::arrived, onSignal, &QuitOnSignal::quit);
    // Raised as the start word's panel shows, before the turn of the loop that
    // follows the choice of its tab.
    auto* raiser = new RaiseOnShow(w->findChild<CasePanel*>());
    w->show();

    ASSERT_TRUE(closes());
    EXPECT_TRUE(raiser->raised);
    EXPECT_EQ(onSignal->signalNumber(), SIGTERM);
    EXPECT_TRUE(ui.consoleLines.isEmpty()) << ui.consoleLines.join('\n').toStdString();
    EXPECT_EQ(QDir(work()).entryList(QDir::Files), before);
    EXPECT_TRUE(readLines(programFolder() + "/log.txt").isEmpty());
}

// A close is refused while the hourglass shows: the read stops where it looks
// for Escape, and the window closes once it has.
TEST_F(QuitOnSignalTest, ADirectoryReadStopsAsOnEscapeAndTheWindowClosesAfterIt)
{
    writeNumbered(work(), 50);
    makeDir("work/inner");
    start();
    listen();
    ctl<QComboBox>("txtPath")->setEditText(work());
    // The signal comes while the read looks at the first file.
    bool raised = false;
    ui.onEscapeRead = [&] {
        if (!std::exchange(raised, true))
            ::raise(SIGINT);
    };
    clickButton(ctl<QAbstractButton>("cmdRefresh"));
    ASSERT_TRUE(raised);
    EXPECT_EQ(w->state().files.readFailure, "User Cancelled!");
    EXPECT_TRUE(w->state().files.lstFiles[0].isEmpty());

    ASSERT_TRUE(closes());
    EXPECT_EQ(onSignal->signalNumber(), SIGINT);
    EXPECT_EQ(platform::SettingsStore().value("txtPath"), work());
}

// The real boxes of the program, not scripted answers.
class QuitOnSignalBoxTest : public MainWindowFixture<platform::QtUiService> {
protected:
    void TearDown() override
    {
        MainWindowFixture::TearDown();
        quitSignals.reset();
    }
    std::unique_ptr<platform::QuitSignals> quitSignals;
};

TEST_F(QuitOnSignalBoxTest, AnOpenBoxTakesItsCancelAnswerAndTheWindowCloses)
{
    writeNumbered(work(), 3);
    start();
    ui.setMainWindow(w.get());
    quitSignals = std::make_unique<platform::QuitSignals>();
    auto* onSignal = new QuitOnSignal(*w, ui);
    QObject::connect(quitSignals.get(), &platform::QuitSignals::arrived, onSignal, &QuitOnSignal::quit);

    ctl<QComboBox>("txtPath")->setEditText(work());
    clickButton(ctl<QAbstractButton>("cmdRefresh"));
    auto* tabs = ctl<platform::TabStrip>("TabStrip");
    QTest::mouseClick(tabs->tabButton(tabs->indexOfKey("Replace")), Qt::LeftButton);
    auto* find = ctl<QLineEdit>("txtFind");
    QTest::mouseClick(find, Qt::LeftButton);
    QTest::keyClicks(find, "f");
    auto* replacement = ctl<QLineEdit>("txtReplace");
    QTest::mouseClick(replacement, Qt::LeftButton);
    QTest::keyClicks(replacement, "g");
    clickButton(ctl<QPushButton>("cmdExecute"));
    ASSERT_EQ(namesStartingWith(work(), "g"), 3);
    auto* log = w->executeState().frmExecute.data();
    ASSERT_TRUE(log);
    clickButton(log->cmdClose);

    // "Undo last operation?" asks Yes or No; the signal comes while it is up.
    QString asked;
    whenModal<QMessageBox>([&](QMessageBox* box) {
        asked = box->text();
        ::raise(SIGTERM);
    });
    // Should the box stay, the test fails instead of waiting for ever.
    QTimer backstop;
    backstop.setSingleShot(true);
    QObject::connect(&backstop, &QTimer::timeout, [] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            ADD_FAILURE() << "the box stayed open";
            box->close();
        }
    });
    backstop.start(10000);
    clickButton(ctl<QPushButton>("cmdUndo"));
    EXPECT_EQ(asked, "Undo last operation?");
    // No: nothing was undone.
    EXPECT_EQ(namesStartingWith(work(), "g"), 3);

    ASSERT_TRUE(QTest::qWaitFor([&] { return w->exited(); }, 10000));
    EXPECT_EQ(onSignal->signalNumber(), SIGTERM);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(platform::SettingsStore().value("txtFind"), "f");
}
