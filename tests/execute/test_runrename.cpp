// End-to-end runs of "Rename!" on a real main window over temporary directories.
#include "run_fixture.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <sys/stat.h>

// How many of the process's descriptors are open on `path`.
static int descriptorsOn(const QString& path)
{
    int n = 0;
    const QString wanted = QFileInfo(path).canonicalFilePath();
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QString& fd : fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
        if (QFile::symLinkTarget(fds.filePath(fd)) == wanted)
            ++n;
    return n;
}

TEST_F(RunRenameTest, ReplaceRenamesAndLogsToTheWindowAndTheActivityLog)
{
    start();
    writeFile("alpha.txt", "A");
    writeFile("beta.txt", "B");
    listWork();
    replace("alpha", "gamma");
    w->cmdExecute_Click();

    EXPECT_FALSE(exists("alpha.txt"));
    EXPECT_EQ(readText(work() + "/gamma.txt"), "A");
    EXPECT_EQ(logLines(), QStringList{"File Renamed: alpha.txt --> gamma.txt"});
    EXPECT_EQ(activity(), QStringList{"File Renamed: " + work() + "/alpha.txt --> " + work() + "/gamma.txt"});
    FrmExecute* lw = logWin();
    ASSERT_TRUE(lw);
    EXPECT_EQ(lw->windowTitle(), "Status: Ready!");
    EXPECT_EQ(lw->lblInfo_Files->text(), "1 Files Renamed.");
    EXPECT_EQ(lw->lblInfo_Skipped->text(), "0 Warnings.");
    EXPECT_TRUE(lw->cmdClose->isVisible() && lw->cmdClose->isEnabled());
    EXPECT_FALSE(lw->cmdCancel->isVisible());
    EXPECT_TRUE(lw->cmdSaveLog->isEnabled());
    EXPECT_EQ(lw->progressValue(), 2);
    EXPECT_EQ(ctl<platform::StatusPanels>("StatusBar")->panelText("main"), "Ready!");

    EXPECT_TRUE(ctl<QPushButton>("cmdUndo")->isEnabledTo(w.get()));
    EXPECT_EQ(w->state().settings.totNumberOfFilesRenamedNew, 1);
    EXPECT_EQ(w->state().settings.totNumberOfDirsRenamedNew, 0);
    EXPECT_EQ(w->executeState().undo.undoFileCount, 1);
    EXPECT_EQ(w->executeState().undo.undoFiles[0].oldName, "alpha.txt");
    EXPECT_EQ(w->executeState().undo.undoFiles[0].newName, "gamma.txt");
    EXPECT_EQ(w->executeState().undo.undoFiles[0].dir, work() + "/");
    EXPECT_EQ(w->executeState().undo.undoIsChange, 0);
    EXPECT_TRUE(rowNames(ctl<platform::ListView>("lwDirectory")).contains("gamma.txt"));
    EXPECT_EQ(w->executeBusy(), 0);
    EXPECT_EQ(descriptorsOn(work()), 0) << "the run closes its working directory";

    // The main window stays disabled until the log window goes.
    EXPECT_FALSE(w->isEnabled());
    lw->cmdClose->click();
    EXPECT_TRUE(w->isEnabled());
    EXPECT_EQ(logWin(), nullptr);
    EXPECT_FALSE(QFileInfo::exists(programFolder() + "/errors.txt"));
}

TEST_F(RunRenameTest, OnlySelectedRowsAreRenamedAndTheSelectionComesBack)
{
    start();
    for (const char* n : {"x1.txt", "x2.txt", "x3.txt", "x4.txt", "x5.txt"})
        writeFile(n);
    listWork();
    ctl<platform::ListView>("lwDirectory")->setSelected(1, true);
    ctl<platform::ListView>("lwDirectory")->setSelected(3, true);
    w->updateSelectionCount(false);
    ASSERT_EQ(w->state().files.onlySelectedActive, -1);
    replace("x", "y");
    w->cmdExecute_Click();

    for (const char* n : {"x1.txt", "y2.txt", "x3.txt", "y4.txt", "x5.txt"})
        EXPECT_TRUE(exists(n)) << n;
    EXPECT_EQ(logLines().size(), 2);
    EXPECT_EQ(selectedNames(ctl<platform::ListView>("lwDirectory")), (QStringList{"y2.txt", "y4.txt"}));
    EXPECT_EQ(logWin()->progressValue(), 5); // every entry steps, taking part or not
}

TEST_F(RunRenameTest, AnExistingTargetGivesAWarningAndBothFilesKeepTheirContent)
{
    start();
    writeFile("a.txt", "first");
    writeFile("b.txt", "second");
    listWork();
    replace("a", "b");
    w->cmdExecute_Click();

    EXPECT_EQ(readText(work() + "/a.txt"), "first");
    EXPECT_EQ(readText(work() + "/b.txt"), "second");
    EXPECT_EQ(logLines(), QStringList{"WARNING: Couldn't rename file <a.txt> as <b.txt> Filename already exists..."});
    EXPECT_EQ(activity(), QStringList{"WARNING: Couldn't rename file <" + work() + "/a.txt> as <" + work() +
                                      "/b.txt> Filename already exists..."});
    EXPECT_EQ(logWin()->lblInfo_Skipped->text(), "1 Warnings.");
    EXPECT_EQ(w->executeState().run.warningCount, 1);
    EXPECT_EQ(w->executeState().undo.undoFileCount, 0);
    EXPECT_FALSE(ctl<QPushButton>("cmdUndo")->isEnabledTo(w.get()));
    EXPECT_EQ(w->state().settings.totNumberOfFilesRenamedNew, 0);
}

TEST_F(RunRenameTest, SubDirectoryTagsCreateTheMissingLevels)
{
    struct Case {
        bool aExists;
        QStringList created;
    };
    const Case cases[] = {
        {true, {"a/b"}},
        {false, {"a", "a/b"}},
    };
    start();
    for (const Case& c : cases) {
        QDir(work()).removeRecursively();
        QDir().mkpath(work());
        writeFile("c.txt", "C");
        if (c.aExists)
            makeDir("a");
        listWork();
        replace("c", "a<\\>b<\\>c");
        w->cmdExecute_Click();
        // Each created folder by its whole path, in the window as in log.txt.
        QStringList lines;
        for (const QString& d : c.created)
            lines << "Created directory: " + work() + "/" + d;
        lines << "File Renamed: c.txt --> a/b/c.txt";
        EXPECT_EQ(logLines(), lines);
        const QStringList made = activity().filter("Created directory: "); // this case's lines last
        EXPECT_EQ(made.mid(made.size() - c.created.size()), lines.mid(0, c.created.size()));
        EXPECT_EQ(readText(work() + "/a/b/c.txt"), "C");
        QStringList created{QString()};
        for (const QString& d : c.created)
            created << work() + "/" + d;
        EXPECT_EQ(w->executeState().undo.createdDirs, created);
        EXPECT_EQ(w->executeState().undo.undoFiles[0].newName, "a/b/c.txt");
        logWin()->cmdClose->click();
    }
}

TEST_F(RunRenameTest, ATagInsideAnOldNameNeverCreatesADirectory)
{
    start();
    writeFile("x<\\>y.txt", "T");
    listWork();
    replace("x", "z");
    w->cmdExecute_Click();
    EXPECT_EQ(readText(work() + "/z[-]y.txt"), "T");
    EXPECT_FALSE(exists("z"));
}

TEST_F(RunRenameTest, CancelAfterTheFirstEntryStopsThePass)
{
    start();
    for (const char* n : {"x1.txt", "x2.txt", "x3.txt"})
        writeFile(n);
    listWork();
    replace("x", "y");
    atFirst([&] { return w->executeState().run.filesDone >= 1; }, [&] { logWin()->cmdCancel->click(); });
    w->cmdExecute_Click();

    EXPECT_TRUE(exists("y1.txt"));
    EXPECT_TRUE(exists("x2.txt"));
    EXPECT_TRUE(exists("x3.txt"));
    EXPECT_EQ(logLines().size(), 1);
    EXPECT_EQ(w->executeState().undo.undoFileCount, 1);
    EXPECT_EQ(logWin()->progressValue(), 0); // the cancelled entry gets no step
    EXPECT_TRUE(ctl<QPushButton>("cmdUndo")->isEnabledTo(w.get()));
    EXPECT_EQ(rowNames(ctl<platform::ListView>("lwDirectory")), (QStringList{"x2.txt", "x3.txt", "y1.txt"}));
    EXPECT_EQ(descriptorsOn(work()), 0) << "also a cancelled run closes its working directory";
}

TEST_F(RunRenameTest, TheLogWindowRefusesToCloseAndRenameDoesNotRestartDuringARun)
{
    start();
    for (const char* n : {"x1.txt", "x2.txt"})
        writeFile(n);
    listWork();
    replace("x", "y");
    bool stillOpen = false;
    atFirst([&] { return w->executeState().run.filesDone >= 1; },
            [&] {
                FrmExecute* lw = logWin();
                lw->close();
                QTest::keyClick(lw, Qt::Key_Escape);
                w->cmdExecute_Click(); // a second run must not start
                stillOpen = logWin() == lw && lw->isVisible();
            });
    w->cmdExecute_Click();
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(logLines().size(), 2);
    EXPECT_EQ(w->state().settings.totNumberOfFilesRenamedNew, 2);
}

TEST_F(RunRenameTest, ALoggedFailureEndsWithTheErrorMessageAndNoRestartFromItsYields)
{
    start();
    writeFile("song.mp3", "not really");
    listWork();
    w->setMp3Library(nullptr); // the component is missing: its pass fails
    ctl<platform::TabStrip>("TabStrip")->selectKey("Mp3");
    ctl<platform::TextBox>("txtMp3Format")->setText("<TITLE>");
    ASSERT_TRUE(ctl<QPushButton>("cmdExecute")->isEnabled());
    int nestedRuns = 0;
    ui.onMessage = [&] {
        const qint32 before = w->executeState().run.filesDone;
        w->cmdExecute_Click(); // from inside the last steps: still refused
        nestedRuns += logWin() == nullptr || w->executeState().run.filesDone != before ? 1 : 0;
    };
    ui.answers.push_back(QMessageBox::Ok);
    w->cmdExecute_Click();

    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(ui.asked[0].title, "Vexor Renamer");
    EXPECT_EQ(ui.asked[0].text, "There were errors during execution!");
    EXPECT_EQ(nestedRuns, 0);
    const QStringList errors = readLines(programFolder() + "/errors.txt");
    ASSERT_FALSE(errors.isEmpty());
    EXPECT_TRUE(errors.last().endsWith("executeMp3: Failed To Execute")) << errors.last().toStdString();
    EXPECT_EQ(w->state().logs.errorLogged, 0);
    EXPECT_EQ(w->executeBusy(), 0);
    EXPECT_TRUE(logWin()->cmdClose->isEnabled());
    EXPECT_TRUE(exists("song.mp3"));
}

TEST_F(RunRenameTest, AutoCloseLogWindowGivesTheMainWindowBack)
{
    start();
    writeFile("x1.txt");
    listWork();
    replace("x", "y");
    w->state().settings.autoCloseLogWindow = 1;
    w->state().settings.Execute_Width = 6000;
    w->cmdExecute_Click();
    EXPECT_TRUE(exists("y1.txt"));
    EXPECT_EQ(logWin(), nullptr);
    EXPECT_TRUE(w->isEnabled());
    EXPECT_EQ(w->state().settings.Execute_Width, 6000);
    EXPECT_EQ(w->state().settings.frmexecute_maximized, 0);
}

TEST_F(RunRenameTest, NothingToChangeLeavesUndoAndSaveLogDisabled)
{
    start();
    writeFile("plain.txt");
    listWork();
    replace("zzz", "y");
    w->cmdExecute_Click();
    EXPECT_TRUE(logLines().isEmpty());
    EXPECT_FALSE(ctl<QPushButton>("cmdUndo")->isEnabledTo(w.get()));
    EXPECT_FALSE(logWin()->cmdSaveLog->isEnabled());
    EXPECT_EQ(w->state().settings.totNumberOfFilesRenamedNew, 0);
}

TEST_F(RunRenameTest, SaveLogWritesTheLines)
{
    start();
    writeFile("x1.txt");
    writeFile("x2.txt");
    listWork();
    replace("x", "y");
    w->cmdExecute_Click();
    FrmExecute* lw = logWin();
    ui.saveAnswers.push_back(root() + "/saved");
    lw->cmdSaveLog->click();
    EXPECT_EQ(readLines(root() + "/saved.txt"),
              (QStringList{"File Renamed: x1.txt --> y1.txt", "File Renamed: x2.txt --> y2.txt"}));
    // Cancelled dialog: nothing written.
    lw->cmdSaveLog->click();
    EXPECT_EQ(QDir(root()).entryList({"saved*"}).size(), 1);
    // A file that cannot be written: the error message.
    ui.saveAnswers.push_back(root() + "/missing/dir/log.txt");
    ui.answers.push_back(QMessageBox::Ok);
    lw->cmdSaveLog->click();
    ASSERT_FALSE(ui.asked.empty());
    EXPECT_EQ(ui.asked.back().title, "Error!");
    EXPECT_EQ(ui.asked.back().text, "Error saving log file!");
    EXPECT_EQ(lw->lines().size(), 2);

    // A FIFO in the chosen place is refused without blocking and stays; a link
    // to a file of the user's is written through and stays a link.
    const QByteArray fifo = QFile::encodeName(root() + "/pipe.txt");
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    ui.saveAnswers.push_back(root() + "/pipe.txt");
    ui.answers.push_back(QMessageBox::Ok);
    const auto errorBoxes = [&] {
        return std::count_if(ui.asked.begin(), ui.asked.end(),
                             [](const ScriptedUi::Asked& a) { return a.text == "Error saving log file!"; });
    };
    const auto before = errorBoxes();
    lw->cmdSaveLog->click();
    EXPECT_EQ(errorBoxes(), before + 1);
    struct stat st {};
    ASSERT_EQ(::lstat(fifo.constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));

    {
        QFile target(root() + "/target.txt");
        ASSERT_TRUE(target.open(QIODevice::WriteOnly));
        target.write("old\n");
    }
    ASSERT_TRUE(QFile::link(root() + "/target.txt", root() + "/linked.txt"));
    ui.saveAnswers.push_back(root() + "/linked.txt");
    lw->cmdSaveLog->click();
    EXPECT_EQ(errorBoxes(), before + 1);
    EXPECT_TRUE(QFileInfo(root() + "/linked.txt").isSymLink());
    EXPECT_EQ(readLines(root() + "/target.txt").size(), 2);
}

TEST_F(RunRenameTest, KeepFileOrderPutsSwappedRowsBack)
{
    struct Case {
        int keepFileOrder;
        QStringList rows;
    };
    for (const Case& c : {Case{1, {"c2.txt", "b2.txt", "a2.txt"}}, Case{0, {"a2.txt", "b2.txt", "c2.txt"}}}) {
        start();
        QDir(work()).removeRecursively();
        QDir().mkpath(work());
        for (const char* n : {"a1.txt", "b1.txt", "c1.txt"})
            writeFile(n);
        listWork();
        ExecuteHost h = w->executeHost();
        h.swapListItems(1, 3);
        ASSERT_EQ(rowNames(ctl<platform::ListView>("lwDirectory")), (QStringList{"c1.txt", "b1.txt", "a1.txt"}));
        EXPECT_EQ(w->state().files.listOrderChanged, -1);
        w->state().settings.keepFileOrder = c.keepFileOrder;
        replace("1", "2");
        w->cmdExecute_Click();
        EXPECT_EQ(rowNames(ctl<platform::ListView>("lwDirectory")), c.rows) << c.keepFileOrder;
        w->setExited();
        w.reset();
    }
}

TEST_F(RunRenameTest, DirectoriesAreRenamedAfterTheirContents)
{
    start();
    makeDir("xdir/xsub");
    writeFile("xdir/x1.txt", "1");
    toFreeSelect({"xdir", "xdir/xsub", "xdir/x1.txt"});
    replace("x", "y");
    w->cmdExecute_Click();

    EXPECT_EQ(logLines(), (QStringList{"File Renamed: x1.txt --> y1.txt", "Directory Renamed: xsub --> ysub",
                                       "Directory Renamed: xdir --> ydir"}));
    EXPECT_TRUE(exists("ydir/ysub"));
    EXPECT_EQ(readText(work() + "/ydir/y1.txt"), "1");
    EXPECT_EQ(logWin()->lblInfo_Dirs->text(), "2 Directories Renamed.");
    EXPECT_EQ(w->state().settings.totNumberOfDirsRenamedNew, 2);
    // The collection follows the renamed directory.
    EXPECT_EQ(w->state().files.lstFiles[1], QStringList{work() + "/ydir/y1.txt"});
    EXPECT_EQ(w->state().files.lstDirs[1], (QStringList{work() + "/ydir/ysub", work() + "/ydir"}));
    EXPECT_EQ(rowNames(ctl<platform::ListView>("lwDragDrop")), (QStringList{"y1.txt", "ysub", "ydir"}));
}

TEST_F(RunRenameTest, FreeSelectKeepsUnselectedEntriesAndItsOrder)
{
    start();
    makeDir("dx");
    writeFile("fx1.txt");
    writeFile("fx2.txt");
    toFreeSelect({"dx", "fx1.txt", "fx2.txt"});
    ctl<platform::ListView>("lwDragDrop")->setSelected(0, true);
    ctl<platform::ListView>("lwDragDrop")->setSelected(1, true);
    w->updateSelectionCount(false);
    ASSERT_EQ(w->state().files.onlySelectedActive, -1);
    w->state().settings.keepFileOrder = 1;
    replace("x", "y");
    w->cmdExecute_Click();

    EXPECT_TRUE(exists("dy"));
    EXPECT_TRUE(exists("fy1.txt"));
    EXPECT_TRUE(exists("fx2.txt"));
    EXPECT_EQ(rowNames(ctl<platform::ListView>("lwDragDrop")), (QStringList{"dy", "fy1.txt", "fx2.txt"}));
    EXPECT_EQ(selectedNames(ctl<platform::ListView>("lwDragDrop")), (QStringList{"dy", "fy1.txt"}));
    EXPECT_EQ(w->state().files.lstFiles[1].size() + w->state().files.lstDirs[1].size(), 3);
}

TEST_F(RunRenameTest, AFilesOnlyPassKeepsTheDirectoriesOfTheCollection)
{
    start();
    makeDir("d");
    writeFile("f.txt");
    toFreeSelect({"d", "f.txt"});
    ctl<platform::TabStrip>("TabStrip")->selectKey("Format");
    ctl<platform::OptionButton>("chkFormatTab_Detect")->select();
    ASSERT_EQ(w->dirsAllowed(), 0);
    ASSERT_TRUE(ctl<QPushButton>("cmdExecute")->isEnabled());
    w->cmdExecute_Click();
    EXPECT_EQ(w->state().files.lstDirs[1], QStringList{work() + "/d"});
    EXPECT_EQ(w->state().files.lstFiles[1], QStringList{work() + "/f.txt"});
    EXPECT_EQ(logWin()->progressMax(), 1);
}

TEST_F(RunRenameTest, ARenameInDirectoryModeFollowsIntoTheCollection)
{
    start();
    writeFile("alpha.txt");
    writeFile("other.txt");
    toFreeSelect({"alpha.txt", "other.txt"});
    ctl<platform::TabStrip>("TabStripFilemode")->selectKey("listview");
    listWork();
    replace("alpha", "gamma");
    w->cmdExecute_Click();
    EXPECT_EQ(w->state().files.lstFiles[1], (QStringList{work() + "/gamma.txt", work() + "/other.txt"}));
    EXPECT_EQ(rowNames(ctl<platform::ListView>("lwDragDrop")), (QStringList{"gamma.txt", "other.txt"}));
}

TEST_F(RunRenameTest, CancelInFreeSelectKeepsTheEntriesThePassDidNotReach)
{
    start();
    for (const char* n : {"x1.txt", "x2.txt", "x3.txt"})
        writeFile(n);
    makeDir("xd");
    toFreeSelect({"x1.txt", "x2.txt", "x3.txt", "xd"});
    replace("x", "y");
    atFirst([&] { return w->executeState().run.filesDone >= 1; }, [&] { logWin()->cmdCancel->click(); });
    w->cmdExecute_Click();

    EXPECT_EQ(w->state().files.lstFiles[1], (QStringList{work() + "/y1.txt", work() + "/x2.txt", work() + "/x3.txt"}));
    EXPECT_EQ(w->state().files.lstDirs[1], QStringList{work() + "/xd"});
    EXPECT_EQ(ctl<platform::ListView>("lwDragDrop")->count(), 4);
}

TEST_F(RunRenameTest, ADisabledRenameDoesNothing)
{
    start();
    listWork(); // an empty folder: nothing to rename
    replace("x", "y");
    ASSERT_FALSE(ctl<QPushButton>("cmdExecute")->isEnabled());
    w->cmdExecute_Click();
    EXPECT_EQ(logWin(), nullptr);
    EXPECT_TRUE(w->isEnabled());
    EXPECT_EQ(ui.mousePointer(), 0);
    EXPECT_FALSE(QFileInfo::exists(programFolder() + "/log.txt"));
}

// F5 runs Rename! from any control of the window; F1 opens the help page.
TEST_F(RunRenameTest, WindowKeysRunAndOpenHelp)
{
    start();
    writeFile("alpha.txt", "A");
    listWork();
    replace("alpha", "gamma");
    ctl<platform::TextBox>("txtFind")->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ctl<platform::TextBox>("txtFind")->hasFocus(); }, 2000));
    QTest::keyClick(ctl<platform::TextBox>("txtFind"), Qt::Key_F5);
    EXPECT_TRUE(exists("gamma.txt"));
    EXPECT_FALSE(exists("alpha.txt"));
    ASSERT_TRUE(logWin());
    logWin()->cmdClose->click();

    w->activateWindow();
    ctl<platform::TextBox>("txtReplace")->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ctl<platform::TextBox>("txtReplace")->hasFocus(); }, 2000));
    QTest::keyClick(ctl<platform::TextBox>("txtReplace"), Qt::Key_F1);
    ASSERT_EQ(ui.opened.size(), 1u);
    EXPECT_TRUE(ui.opened[0].toLocalFile().endsWith("help.html"));
}

TEST_F(RunRenameTest, AddAndCropCountCharactersOutsideTheBasicPlaneOnDisk)
{
    struct Case {
        bool crop;
        const char* before;
        const char* after;
    };
    for (const Case& c : {Case{false, "😀b.txt", "😀Xb.txt"}, Case{true, "😀b.txt", "b.txt"}}) {
        SCOPED_TRACE(c.after);
        QDir(work()).removeRecursively();
        QDir().mkpath(work());
        writeFile(QString::fromUtf8(c.before), "x");
        start();
        listWork();
        ctl<platform::TabStrip>("TabStrip")->selectKey("AddCrop");
        (c.crop ? ctl<platform::OptionButton>("optCrop") : ctl<platform::OptionButton>("optAdd"))->select();
        ctl<platform::TextBox>("txtAdd")->setText("X");
        ctl<platform::TextBox>("txtAddPos")->setText("1");
        ctl<platform::TextBox>("txtCropNumber")->setText("1");
        ctl<platform::TextBox>("txtCropPos")->setText("0");
        w->cmdExecute_Click();
        EXPECT_EQ(QDir(work()).entryList(QDir::Files), QStringList{QString::fromUtf8(c.after)});
        EXPECT_EQ(readText(work() + "/" + QString::fromUtf8(c.after)), "x");
        // The log names the entry that exists.
        EXPECT_EQ(logLines(), QStringList{QString::fromUtf8("File Renamed: %1 --> %2")
                                              .arg(QString::fromUtf8(c.before), QString::fromUtf8(c.after))});
        w->setExited();
        w.reset();
    }
}
