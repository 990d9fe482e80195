// The log window, the Free Select add, the single-entry rename, a whole run
// into a recording report and the small helpers, over bare lists.
#include "engine/forbidden.h"
#include "execute/dragdropadd.h"
#include "execute/frmexecute.h"
#include "execute/passes.h"
#include "execute/renameentry.h"
#include "execute/runrename.h"
#include "execute/undo.h"
#include "platform/failure.h"
#include "platform/twips.h"
#include "recording_report.h"
#include "settings/loadsave.h"
#include "test_support.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSizeGrip>
#include <QTest>

namespace {

// Everything a host points at, owned by the test.
struct BareHost {
    QWidget window;
    ScriptedUi ui;
    Logs logs;
    FileListState files;
    PreviewState preview;
    ExecuteState state;
    FileListOptions listOptions;
    Settings settings;
    qint16 executeBusy = 0, fileMode = 0, dirsAllowed = -1;
    platform::ListView* lwDirectory;
    platform::ListView* lwDragDrop;
    QTreeWidget* treeView;
    RecordingReport report;
    QStringList statusTexts; // every text of the status bar in turn
    bool executeEnabled = true;
    int undoEnabled = -1; // as the run last set it; -1: never set
    ExecuteHost h;

    explicit BareHost(const QString& programFolder) : logs(programFolder)
    {
        lwDirectory = new platform::ListView(&window);
        lwDragDrop = new platform::ListView(&window);
        for (platform::ListView* l : {lwDirectory, lwDragDrop})
            for (const char* key : {"filename", "preview", "path"})
                l->addColumn(key, key, 1500);
        lwDragDrop->hide();
        treeView = new QTreeWidget(&window);
        treeView->hide();
        h.window = &window;
        h.ui = &ui;
        h.logs = &logs;
        h.files = &files;
        h.preview = &preview;
        h.state = &state;
        h.listOptions = &listOptions;
        h.settings = &settings;
        h.executeBusy = &executeBusy;
        h.fileMode = &fileMode;
        h.dirsAllowed = &dirsAllowed;
        h.lwDirectory = lwDirectory;
        h.lwDragDrop = lwDragDrop;
        h.treeView = treeView;
        // A run reports into the recorder, and so does a single rename outside a run.
        h.openReport = [this](ExecuteHost&) { return &report; };
        state.report = &report;
        h.executeEnabled = [this] { return executeEnabled; };
        h.setUndoEnabled = [this](bool on) { undoEnabled = on ? 1 : 0; };
        h.showStatus = [this](const QString& text) { statusTexts.push_back(text); };
        h.renameMode = [] { return RenameMode::Replace; };
        h.readOptions = [] { return RenameOptions(); };
        h.nameServices = [this](const RenameOptions&) {
            NameServices s;
            s.logs = &logs;
            return s;
        };
        state.run.yieldIntervalMs = 0;
    }
};

class PiecesTest : public TempEnv {
protected:
    std::unique_ptr<BareHost> b;
    void SetUp() override
    {
        TempEnv::SetUp();
        b = std::make_unique<BareHost>(programFolder());
    }
    void TearDown() override
    {
        b.reset();
        TempEnv::TearDown();
    }
    FreeSelectTarget target() const { return freeSelectTarget(b->h); }
};

} // namespace

// ---------------------------------------------------------------- log window

TEST_F(PiecesTest, LogWindowKeepsItsMinimumSizeAndLaysOutFromItsSize)
{
    const int tpp = platform::twipsPerPixel();
    b->settings.Execute_Width = 1500; // far below the minimum
    b->settings.Execute_Height = 900;
    FrmExecute* w = openLogWindow(b->h);
    // The minimum and the stored size are outer sizes, frame included.
    const QSize frame = w->frameGeometry().size() - w->size();
    const QSize smallest(platform::toPixels(logMinWidth), platform::toPixels(logMinHeight));
    EXPECT_EQ(w->minimumSize() + frame, smallest);
    EXPECT_GE(w->frameGeometry().width(), smallest.width());
    EXPECT_GE(w->frameGeometry().height(), smallest.height());
    w->resize(5960 / tpp, 5000 / tpp);
    const int W = w->frameGeometry().width() * tpp, H = w->frameGeometry().height() * tpp;
    EXPECT_EQ(w->lstLog->geometry(), platform::pixelRect(120, 120, W - 350, H - 1600));
    EXPECT_EQ(w->cmdClose->geometry(), w->cmdCancel->geometry());
    EXPECT_EQ(w->cmdClose->x(), (W - 1700) / tpp);
    EXPECT_EQ(w->cmdSaveLog->x(), (W - 3200) / tpp);
    EXPECT_EQ(w->Progress->y(), (H - 1450) / tpp);
    EXPECT_EQ(w->lblInfo_Skipped->y(), (H - 750) / tpp);
    unloadLogWindow(b->h);
}

// A font so large that the log window's minimum is wider than the screen:
// the window takes no more than the screen, its controls keep their places
// at the minimum and scroll, and Close, reached with the scroll bar, closes it.
TEST_F(PiecesTest, ALogWindowWiderThanTheScreenScrollsToItsButtons)
{
    const ScaleScope scale(2.5);
    ASSERT_TRUE(scale.found());
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    ASSERT_GT(platform::toPixels(logMinWidth), area.width()) << "a minimum wider than the test's screen";
    b->window.show();
    FrmExecute* w = openLogWindow(b->h);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    const QSize frame = w->frameGeometry().size() - w->size();
    EXPECT_TRUE(area.contains(w->frameGeometry())) << ::testing::PrintToString(w->frameGeometry());
    EXPECT_LE(w->minimumWidth() + frame.width(), area.width());
    auto* scroll = w->findChild<QScrollArea*>("clientScroll");
    ASSERT_NE(scroll, nullptr);
    EXPECT_TRUE(scroll->horizontalScrollBar()->isVisible());
    // Laid out at the minimum: the list ends where Close begins, less the design's gap.
    const int W = platform::toPixels(logMinWidth) * platform::twipsPerPixel();
    EXPECT_EQ(w->cmdClose->x(), (W - 1700) / platform::twipsPerPixel());
    EXPECT_FALSE(inSight(w->cmdClose, scroll));
    ASSERT_TRUE(scrollIntoSight(w->cmdClose, scroll));
    QTest::mouseClick(w->cmdClose, Qt::LeftButton);
    EXPECT_EQ(logWindow(b->h), nullptr);
}

TEST_F(PiecesTest, LogWindowCaptionsAreNotClipped)
{
    const int tpp = platform::twipsPerPixel();
    FrmExecute* w = openLogWindow(b->h);
    w->resize(5960 / tpp, 5000 / tpp);
    w->lblInfo_Files->setText("32767 Files Renamed.");
    w->lblInfo_Dirs->setText("32767 Directories Renamed.");
    w->lblInfo_Skipped->setText("32767 Warnings.");
    for (QLabel* l : {w->lblInfo_Files, w->lblInfo_Dirs, w->lblInfo_Skipped})
        EXPECT_LE(l->sizeHint().width(), l->width()) << l->text().toStdString();
    for (QPushButton* p : {w->cmdClose, w->cmdSaveLog, w->cmdCancel})
        EXPECT_LE(p->sizeHint().width(), p->width()) << p->text().toStdString();
    unloadLogWindow(b->h);
}

TEST_F(PiecesTest, LogWindowRefusesToCloseWhileBusyAndStoresItsGeometryOnUnload)
{
    const int tpp = platform::twipsPerPixel();
    b->window.show();
    int validated = 0;
    b->h.updateExecuteButton = [&] { ++validated; };
    FrmExecute* w = openLogWindow(b->h);
    b->window.setEnabled(false);
    b->executeBusy = -1;
    w->close();
    QTest::keyClick(w, Qt::Key_Escape);
    EXPECT_EQ(logWindow(b->h), w);
    b->executeBusy = 0;
    w->cmdClose->setEnabled(false);
    QTest::keyClick(w, Qt::Key_Escape); // Close disabled: Escape does nothing
    EXPECT_EQ(logWindow(b->h), w);
    w->cmdClose->setEnabled(true);
    w->move(30, 40);
    w->resize(400, 300);
    const QRect outer = w->frameGeometry();
    QTest::keyClick(w, Qt::Key_Escape);
    EXPECT_EQ(logWindow(b->h), nullptr);
    EXPECT_TRUE(b->window.isEnabled());
    EXPECT_EQ(validated, 1);
    EXPECT_EQ(b->settings.Execute_Left, 30 * tpp);
    EXPECT_EQ(b->settings.Execute_Top, 40 * tpp);
    EXPECT_EQ(b->settings.Execute_Width, outer.width() * tpp);
    EXPECT_EQ(b->settings.Execute_Height, outer.height() * tpp);
    EXPECT_EQ(b->settings.frmexecute_maximized, 0);
    EXPECT_FALSE(QFileInfo::exists(programFolder() + "/errors.txt"));
}

TEST_F(PiecesTest, LogWindowUnloadLogsWhenTheListCannotTakeTheFocus)
{
    // The main window is hidden, so its list cannot take the focus.
    int validated = 0;
    b->h.updateExecuteButton = [&] { ++validated; };
    openLogWindow(b->h);
    b->window.setEnabled(false);
    unloadLogWindow(b->h);
    EXPECT_TRUE(b->window.isEnabled());
    EXPECT_EQ(validated, 0);
    const QStringList errors = readLines(programFolder() + "/errors.txt");
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].endsWith("Error 5 (Invalid procedure call or argument) Unload frmExecute"));
}

TEST_F(PiecesTest, ProgressStopsAtItsMaximumAndAnEmptyBarShowsZero)
{
    FrmExecute* w = openLogWindow(b->h);
    setProgressMax(b->h, 0);
    stepExecuteProgress(b->h);
    EXPECT_EQ(w->windowTitle(), "Status: Renaming... 0%");
    EXPECT_EQ(w->Progress->value(), 0);
    setProgressMax(b->h, 3);
    for (int i = 0; i < 4; ++i)
        stepExecuteProgress(b->h);
    EXPECT_EQ(w->progressValue(), 3);
    EXPECT_EQ(w->Progress->value(), 3);
    EXPECT_EQ(w->Progress->maximum(), 3);
    EXPECT_EQ(w->windowTitle(), "Status: Renaming... 100%");
    b->state.run.progressValue = 1;
    stepExecuteProgress(b->h);
    EXPECT_EQ(w->windowTitle(), "Status: Renaming... 66%");
    unloadLogWindow(b->h);
}

TEST_F(PiecesTest, MaximisedLogWindowKeepsTheStoredNormalGeometry)
{
    const int tpp = platform::twipsPerPixel();
    b->window.show();
    FrmExecute* w = openLogWindow(b->h);
    w->resize(420, 310);
    const QRect normal = w->frameGeometry();
    w->showMaximized();
    b->settings.Execute_Width = 5000;
    unloadLogWindow(b->h);
    EXPECT_EQ(b->settings.frmexecute_maximized, 2);
    // The size the user gave it before maximising, not the one stored before.
    EXPECT_EQ(b->settings.Execute_Width, normal.width() * tpp);
    EXPECT_EQ(b->settings.Execute_Height, normal.height() * tpp);

    // Opened maximised and never restored: the stored rectangle stays.
    b->settings.Execute_Width = 5000;
    w = openLogWindow(b->h);
    EXPECT_TRUE(w->isMaximized());
    unloadLogWindow(b->h);
    EXPECT_EQ(b->settings.frmexecute_maximized, 2);
    EXPECT_EQ(b->settings.Execute_Width, 5000);
}

// A log window stored maximised comes back to its stored place and size when
// the user restores it, as one stored in its normal state opens there; one
// maximised and restored before its Close stores back what it had, at every
// opening, and the next one opens there again.
TEST_F(PiecesTest, ARestoredLogWindowStandsAtItsStoredPlaceAndSize)
{
    b->window.show();
    b->settings.Execute_Left = 900;
    b->settings.Execute_Top = 600;
    b->settings.Execute_Width = 5960;
    b->settings.Execute_Height = 5000;
    const QRect stored(900, 600, 5960, 5000);
    const auto storedRect = [&] {
        const Settings& g = b->settings;
        return QRect(g.Execute_Left, g.Execute_Top, g.Execute_Width, g.Execute_Height);
    };
    FrmExecute* w = openLogWindow(b->h);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    const QRect normal = w->frameGeometry();
    QTest::mouseClick(w->cmdClose, Qt::LeftButton);
    ASSERT_EQ(storedRect(), stored);
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        b->settings.frmexecute_maximized = 2;
        w = openLogWindow(b->h);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
        EXPECT_TRUE(w->isMaximized());
        w->showNormal();
        QCoreApplication::processEvents();
        EXPECT_EQ(w->frameGeometry(), normal);
        w->showMaximized();
        QCoreApplication::processEvents();
        w->showNormal();
        QCoreApplication::processEvents();
        EXPECT_EQ(w->frameGeometry(), normal);
        QTest::mouseClick(w->cmdClose, Qt::LeftButton);
        ASSERT_EQ(logWindow(b->h), nullptr);
        EXPECT_EQ(storedRect(), stored);
        EXPECT_EQ(b->settings.frmexecute_maximized, 0);

        w = openLogWindow(b->h);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
        EXPECT_EQ(w->frameGeometry(), normal);
        QTest::mouseClick(w->cmdClose, Qt::LeftButton);
        EXPECT_EQ(storedRect(), stored);
    }
}

// A window system that tells no frame never lets the stored size become an
// outer one; a log window stored maximised is maximised all the same once it
// is on the screen.
TEST_F(PiecesTest, AFramelessLogWindowStoredMaximisedIsMaximised)
{
    b->window.show();
    b->settings.frmexecute_maximized = 2;
    auto w = std::make_unique<FrmExecute>(b->h);
    w->setWindowFlag(Qt::FramelessWindowHint);
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    ASSERT_EQ(w->frameGeometry(), w->geometry()) << "no frame";
    EXPECT_TRUE(QTest::qWaitFor([&] { return w->isMaximized(); }));
}

TEST_F(PiecesTest, LogWindowReopensWhereItWasClosedAtTheSameOuterSize)
{
    b->window.show();
    FrmExecute* w = openLogWindow(b->h);
    ASSERT_NE(w->frameGeometry(), w->geometry()) << "a frame to tell outer from inner";
    w->move(60, 50);
    w->resize(450, 320);
    const QRect closed = w->frameGeometry();
    QTest::mouseClick(w->cmdClose, Qt::LeftButton);
    ASSERT_EQ(logWindow(b->h), nullptr);
    for (int round = 0; round < 2; ++round) {
        w = openLogWindow(b->h);
        EXPECT_EQ(w->frameGeometry(), closed) << round;
        QTest::mouseClick(w->cmdClose, Qt::LeftButton);
        ASSERT_EQ(logWindow(b->h), nullptr);
    }
}

// A position left of or above the primary screen, and one that is no whole
// number of pixels, come back as stored at every opening the window was not
// moved, whether it is closed at once or after the window system has placed
// and shown it (the offscreen platform moves a new window by its frame then);
// a move changes it by the distance moved.
TEST_F(PiecesTest, AStoredPositionStaysWhileTheWindowIsNotMoved)
{
    b->window.show();
    b->settings.Execute_Left = -300;
    b->settings.Execute_Top = -290;
    for (const bool waitForExposure : {false, true, true}) {
        FrmExecute* w = openLogWindow(b->h);
        if (waitForExposure) {
            ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
        }
        QTest::mouseClick(w->cmdClose, Qt::LeftButton);
        ASSERT_EQ(logWindow(b->h), nullptr);
        EXPECT_EQ(b->settings.Execute_Left, -300) << waitForExposure;
        EXPECT_EQ(b->settings.Execute_Top, -290) << waitForExposure;
    }
    FrmExecute* w = openLogWindow(b->h);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    const QPoint before = w->frameGeometry().topLeft();
    w->move(before + QPoint(10, 20));
    QCoreApplication::processEvents();
    // The distance the window system moved it (offscreen adds its frame again).
    const QPoint moved = w->frameGeometry().topLeft() - before;
    ASSERT_GE(moved.x(), 10);
    QTest::mouseClick(w->cmdClose, Qt::LeftButton);
    EXPECT_EQ(b->settings.Execute_Left, -300 + platform::toTwips(moved.x()));
    EXPECT_EQ(b->settings.Execute_Top, -290 + platform::toTwips(moved.y()));
}

// At one and a half times the design's scale a stored height taller than the
// screen is cut to it, and the window system rounds the size it was given by
// a pixel: closed without the user's resize, the window stores its twips back
// as they were, every time. A drag of the size grip stores the size the user
// made, and the place it did not move stays.
TEST_F(PiecesTest, OnlyTheUsersResizeChangesTheStoredSize)
{
    const ScaleScope scale(1.5);
    ASSERT_TRUE(scale.found());
    const int tpp = scale.twipsPerPixel();
    b->window.show();
    b->settings.Execute_Left = 900;
    b->settings.Execute_Top = 600;
    b->settings.Execute_Width = 5960;
    b->settings.Execute_Height = 9000;
    ASSERT_GT(9000 / tpp, b->window.screen()->availableGeometry().height()) << "a screen that cuts the window";
    for (const QSize rounding : {QSize(1, -1), QSize(-1, 1), QSize(0, 1), QSize(0, 0)}) {
        SCOPED_TRACE(::testing::Message() << "rounded by " << rounding.width() << "x" << rounding.height());
        FrmExecute* w = openLogWindow(b->h);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
        w->resize(w->size() + rounding);
        QCoreApplication::processEvents();
        QTest::mouseClick(w->cmdClose, Qt::LeftButton);
        ASSERT_EQ(logWindow(b->h), nullptr);
        EXPECT_EQ(b->settings.Execute_Width, 5960);
        EXPECT_EQ(b->settings.Execute_Height, 9000);
        EXPECT_EQ(b->settings.Execute_Left, 900);
        EXPECT_EQ(b->settings.Execute_Top, 600);
    }

    FrmExecute* w = openLogWindow(b->h);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    const QRect before = w->frameGeometry();
    auto* grip = w->findChild<QSizeGrip*>();
    ASSERT_NE(grip, nullptr);
    const QPoint from = grip->rect().center();
    const QPoint to = from - QPoint(30, 80);
    QTest::mousePress(grip, Qt::LeftButton, {}, from);
    QTest::mouseMove(grip, to);
    QTest::mouseRelease(grip, Qt::LeftButton, {}, to);
    QCoreApplication::processEvents();
    const QRect dragged = w->frameGeometry();
    ASSERT_EQ(dragged.size(), before.size() - QSize(30, 80));
    ASSERT_EQ(dragged.topLeft(), before.topLeft());
    QTest::mouseClick(w->cmdClose, Qt::LeftButton);
    ASSERT_EQ(logWindow(b->h), nullptr);
    EXPECT_EQ(b->settings.Execute_Width, dragged.width() * tpp);
    EXPECT_EQ(b->settings.Execute_Height, dragged.height() * tpp);
    EXPECT_EQ(b->settings.Execute_Left, 900);
    EXPECT_EQ(b->settings.Execute_Top, 600);
}

TEST_F(PiecesTest, ALongLogLineCanBeScrolledToItsEnd)
{
    FrmExecute* w = openLogWindow(b->h);
    const QString longLine = "Renamed: " + QString("a rather long directory name/").repeated(8) + "end.txt";
    w->addLine("short");
    QCoreApplication::processEvents();
    w->addLine(longLine);
    w->addLine("short again");
    for (int i = 0; i < 3; ++i) {
        w->lstLog->viewport()->grab(); // painted, as on screen
        QCoreApplication::processEvents();
    }
    QScrollBar* bar = w->lstLog->horizontalScrollBar();
    const int textWidth = w->lstLog->fontMetrics().horizontalAdvance(longLine);
    ASSERT_GT(textWidth, w->lstLog->viewport()->width());
    EXPECT_GE(bar->maximum() + w->lstLog->viewport()->width(), textWidth);
    // The end of the line comes into view.
    w->lstLog->setFocus();
    QTest::keyClick(w->lstLog, Qt::Key_Right, Qt::NoModifier);
    bar->setValue(bar->maximum());
    const QRect row = w->lstLog->visualRect(w->lstLog->model()->index(1, 0));
    EXPECT_GE(row.right(), w->lstLog->viewport()->width() - 1 - 20);
    EXPECT_LE(row.left() + textWidth, w->lstLog->viewport()->width() + 20);
    unloadLogWindow(b->h);
}

// A long run lets the screen change every so often; each time the window shows
// its first lines, not an empty list still being laid out.
TEST_F(PiecesTest, ALongRunShowsItsLinesWhileItRuns)
{
    FrmExecute* w = openLogWindow(b->h);
    QWidget* view = w->lstLog->viewport();
    for (int pause = 1; pause <= 5; ++pause) {
        for (int i = 0; i < 4000; ++i)
            w->addLine(QStringLiteral("File Renamed: Track %1.mp3 --> Song %1.mp3").arg((pause - 1) * 4000 + i));
        QCoreApplication::processEvents(); // the run's pause
        const QImage shown = view->grab().toImage();
        const QRect first = w->lstLog->visualRect(w->lstLog->model()->index(0, 0));
        ASSERT_TRUE(view->rect().intersects(first)) << pause;
        bool inked = false;
        for (int x = first.left(); x <= std::min(first.right(), shown.width() - 1) && !inked; ++x)
            for (int y = std::max(first.top(), 0); y <= std::min(first.bottom(), shown.height() - 1) && !inked; ++y)
                inked = qGray(shown.pixel(x, y)) < 128;
        EXPECT_TRUE(inked) << "pause " << pause << ": the first line is not drawn";
        EXPECT_EQ(w->lstLog->model()->rowCount(), pause * 4000);
    }
    unloadLogWindow(b->h);
}

TEST_F(PiecesTest, LogWindowButtonsFollowTheStagesOfARunAndOfAnUndo)
{
    b->window.show();
    auto shown = [](QPushButton* p) { return p->isVisible() ? (p->isEnabled() ? "on" : "off") : "hidden"; };
    struct Step {
        RunStage stage;
        const char *close, *cancel, *save;
    };
    const std::vector<Step> run = {{RunStage::Cancellable, "hidden", "on", "off"},
                                   {RunStage::Uncancellable, "hidden", "off", "off"},
                                   {RunStage::Finished, "on", "hidden", "on"}};
    const std::vector<Step> undo = {{RunStage::Uncancellable, "off", "hidden", "off"},
                                    {RunStage::Finished, "on", "hidden", "on"}};
    for (const auto* steps : {&run, &undo}) {
        FrmExecute* w = openLogWindow(b->h);
        RunReport& rep = report(b->h);
        EXPECT_EQ(&rep, static_cast<RunReport*>(w));
        rep.addLine("File Renamed: a --> b");
        for (const Step& s : *steps) {
            rep.setStage(s.stage);
            EXPECT_STREQ(shown(w->cmdClose), s.close);
            EXPECT_STREQ(shown(w->cmdCancel), s.cancel);
            EXPECT_STREQ(shown(w->cmdSaveLog), s.save);
        }
        EXPECT_EQ(w->lines(), QStringList{"File Renamed: a --> b"});
        QTest::mouseClick(w->cmdClose, Qt::LeftButton);
        EXPECT_EQ(logWindow(b->h), nullptr);
        EXPECT_EQ(b->state.report, nullptr); // a closed window takes no more lines
    }
}

TEST_F(PiecesTest, LogWindowShowsTheCountersAndTheBarItIsGiven)
{
    FrmExecute* w = openLogWindow(b->h);
    RunReport& rep = *w;
    rep.setCount(RunCount::Files, "3 Files Renamed.");
    rep.setCount(RunCount::Dirs, "2 Directories Renamed.");
    rep.setCount(RunCount::Warnings, "1 Warnings.");
    rep.setCaption("Status: Renaming... 40%");
    rep.setProgress(2, 5);
    QCoreApplication::processEvents(); // the counters show when the run lets the screen change
    EXPECT_EQ(w->lblInfo_Files->text(), "3 Files Renamed.");
    EXPECT_EQ(w->lblInfo_Dirs->text(), "2 Directories Renamed.");
    EXPECT_EQ(w->lblInfo_Skipped->text(), "1 Warnings.");
    EXPECT_EQ(w->windowTitle(), "Status: Renaming... 40%");
    EXPECT_EQ(w->Progress->maximum(), 5);
    EXPECT_EQ(w->Progress->value(), 2);
    rep.setProgress(0, 0); // an empty range shows an empty bar, not a busy one
    EXPECT_EQ(w->Progress->maximum(), 1);
    EXPECT_EQ(w->Progress->value(), 0);
    unloadLogWindow(b->h);
}

// ---------------------------------------------------------------- dragDropAdd

TEST_F(PiecesTest, DragDropAddListsExistingEntriesOnceAndLeavesTheHintState)
{
    QFont hint = QApplication::font();
    hint.setItalic(true);
    hint.setBold(true);
    b->lwDragDrop->setHintFont(hint);
    platform::ListRow hintRow;
    hintRow.cells[0] = "Drop files here...";
    b->lwDragDrop->addRow(hintRow);

    writeFile("a.txt");
    makeDir("d");
    QString doubled = work() + "//a.txt";
    dragDropAdd(target(), doubled);
    EXPECT_EQ(doubled, work() + "/a.txt");
    QString again = work() + "/a.txt";
    dragDropAdd(target(), again);
    QString dir = work() + "/d";
    dragDropAdd(target(), dir);
    QString missing = work() + "/nothing";
    dragDropAdd(target(), missing);
    QString root = "/";
    dragDropAdd(target(), root);
    QString otherCase = work() + "/A.txt"; // does not exist: skipped too
    dragDropAdd(target(), otherCase);

    EXPECT_FALSE(b->lwDragDrop->listFont().italic());
    EXPECT_FALSE(b->lwDragDrop->listFont().bold());
    EXPECT_EQ(b->lwDragDrop->view(), 3);
    ASSERT_EQ(b->lwDragDrop->count(), 2);
    EXPECT_EQ(b->lwDragDrop->text(0), "a.txt");
    EXPECT_EQ(b->lwDragDrop->subItem(0, 2), work() + "/");
    EXPECT_EQ(b->lwDragDrop->text(1), "d");
    EXPECT_EQ(b->files.lstFiles[1], QStringList{work() + "/a.txt"});
    EXPECT_EQ(b->files.lstDirs[1], QStringList{work() + "/d"});
    EXPECT_FALSE(QFileInfo::exists(programFolder() + "/errors.txt"));
}

TEST_F(PiecesTest, DragDropAddFillsTheDetailColumns)
{
    b->listOptions.showAllColumns = 1;
    writeFile("two.dots.txt", QByteArray(2048, 'x'));
    writeFile(".hidden");
    writeFile("plain");
    makeDir("folder");
    FreeSelectAdder adder(target());
    for (const char* n : {"two.dots.txt", ".hidden", "plain", "folder"}) {
        QString p = work() + "/" + n;
        adder.add(p);
    }
    adder.finish();
    ASSERT_EQ(b->lwDragDrop->count(), 4);
    const platform::ListView* l = b->lwDragDrop;
    EXPECT_EQ(l->subItem(0, 3), "2 kB");
    EXPECT_EQ(l->subItem(0, 6), "txt");
    EXPECT_EQ(l->subItem(0, 7), "File");
    EXPECT_EQ(l->subItem(0, 8), "00000002048");
    EXPECT_EQ(l->subItem(1, 6), "hidden");
    EXPECT_EQ(l->subItem(2, 6), "");
    EXPECT_EQ(l->subItem(3, 3), "");
    EXPECT_EQ(l->subItem(3, 7), "Dir");
    EXPECT_EQ(l->subItem(3, 8), "");
    EXPECT_EQ(l->subItem(3, 9).size(), 19);
    EXPECT_TRUE(l->subItem(3, 5).startsWith("["));
}

// ---------------------------------------------------------------- single renames and helpers

// A command-line run ends with 0 when it did its work or had none to do, 1 after
// warnings or errors and 2 when it could not start.
TEST(RunOutcomeTest, ExitStatusOfEachOutcome)
{
    const std::pair<RunOutcome, int> cases[] = {
        {RunOutcome::None, 0}, {RunOutcome::Done, 0}, {RunOutcome::SomeFailed, 1}, {RunOutcome::NotStarted, 2}};
    for (const auto& [outcome, status] : cases)
        EXPECT_EQ(exitStatusFor(outcome), status) << int(outcome);
}

TEST_F(PiecesTest, NameFormsOfARun)
{
    const QString M = SubDirMarker;
    struct Case {
        QString oldName, raw, tagged, resolved;
    };
    const Case cases[] = {
        {"c.txt", "a<\\>b<\\>c.txt", "a" + M + "b" + M + "c.txt", "a/b/c.txt"},
        {"c.txt", "<\\>c.txt", M + "c.txt", "c.txt"},
        {"c.txt", "a<\\><\\>c.txt", "a" + M + M + "c.txt", "a/c.txt"},
        {"c.txt", "a:b?.txt", "a-b.txt", "a-b.txt"},
        {"x<\\>y.txt", "z<\\>y.txt", "z[-]y.txt", "z[-]y.txt"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(taggedForm(c.oldName, c.raw), c.tagged) << c.raw.toStdString();
        EXPECT_EQ(resolvedForm(taggedForm(c.oldName, c.raw)), c.resolved) << c.raw.toStdString();
    }
}

TEST_F(PiecesTest, RenameFileOutcomes)
{
    writeFile("a.txt", "A");
    writeFile("taken.txt", "T");
    b->files.imagelistSysIconsFreeSelect.add(work() + "/a.txt", QPixmap());
    b->state.run.listedPaths.assign({work() + "/a.txt", work() + "/taken.txt"});
    b->state.run.selectedPaths.assign({work() + "/a.txt"});
    b->executeBusy = -1;

    QString same = "a.txt";
    EXPECT_FALSE(renameFile(b->h, "a.txt", same, work() + "/"));
    QString mappedSame = "a?.txt"; // the map makes it the old name
    EXPECT_FALSE(renameFile(b->h, "a.txt", mappedSame, work() + "/"));
    QString taken = "taken.txt";
    EXPECT_FALSE(renameFile(b->h, "a.txt", taken, work() + "/"));
    QString gone = "new.txt";
    EXPECT_FALSE(renameFile(b->h, "missing.txt", gone, work() + "/"));
    QString ok = "A b?.txt";
    EXPECT_TRUE(renameFile(b->h, "a.txt", ok, work() + "/"));
    EXPECT_EQ(ok, "A b.txt");
    QString verbatim = "a?.txt";
    EXPECT_TRUE(renameFile(b->h, "A b.txt", verbatim, work() + "/", NameForm::Verbatim));

    EXPECT_EQ(b->report.lines,
              (QStringList{"WARNING: Couldn't rename file <a.txt> as <taken.txt> Filename already exists...",
                           "WARNING: Couldn't rename file <missing.txt> as <new.txt> Skipping...",
                           "File Renamed: a.txt --> A b.txt", "File Renamed: A b.txt --> a?.txt"}));
    EXPECT_EQ(b->report.files, "2 Files Renamed.");
    EXPECT_EQ(b->report.warnings, "2 Warnings.");
    EXPECT_EQ(readText(work() + "/a?.txt"), "A");
    EXPECT_EQ(b->state.run.warningCount, 2);
    EXPECT_EQ(b->state.run.filesDone, 2);
    EXPECT_EQ(b->state.run.listedPaths.items(), (QStringList{work() + "/a?.txt", work() + "/taken.txt"}));
    EXPECT_EQ(b->state.run.selectedPaths.items(), QStringList{work() + "/a?.txt"});
    EXPECT_EQ(b->files.imagelistSysIconsFreeSelect.keys, QStringList{work() + "/a?.txt"});
    EXPECT_EQ(b->state.undo.undoFiles[1].newName, "a?.txt");
    EXPECT_EQ(b->state.undo.undoFiles.size(), 2u); // grown from empty, one per record
    b->executeBusy = 0;
}

TEST_F(PiecesTest, ShowFullPathPutsTheDirectoryIntoTheLines)
{
    writeFile("a.txt");
    b->settings.showFullPath = 1;
    QString n = "b.txt";
    renameFile(b->h, "a.txt", n, work() + "/");
    EXPECT_EQ(b->report.lines, QStringList{"File Renamed: " + work() + "/a.txt --> " + work() + "/b.txt"});
}

TEST_F(PiecesTest, UndoModeWritesNoRecordsAndNoRebuildEntries)
{
    writeFile("a.txt");
    b->fileMode = 1;
    b->state.run.undoInProgress = -1;
    QString n = "b.txt";
    EXPECT_TRUE(renameFile(b->h, "a.txt", n, work() + "/", NameForm::Verbatim));
    EXPECT_EQ(b->state.run.filesDone, 1);
    EXPECT_TRUE(b->state.run.rebuildFiles.empty());
    EXPECT_TRUE(b->state.undo.undoFiles.empty());
}

TEST_F(PiecesTest, FreeSelectRebuildFollowsRenamedDirectoriesOnly)
{
    // Renaming /x/abc moves /x/abc/f.txt but not the sibling /x/abc2.
    makeDir("abc");
    makeDir("abc2");
    writeFile("abc/f.txt");
    b->fileMode = 1;
    addRebuildFile(b->h, work() + "/abc/f.txt");
    addRebuildDir(b->h, work() + "/abc2");
    QString n = "xyz";
    ASSERT_TRUE(renameDir(b->h, "abc", n, work() + "/"));
    completeRebuildLists(b->h);
    ASSERT_EQ(b->state.run.rebuildFiles.size(), 1u);
    EXPECT_EQ(b->state.run.rebuildFiles[0].path, work() + "/xyz/f.txt");
    ASSERT_EQ(b->state.run.rebuildDirs.size(), 2u);
    EXPECT_EQ(b->state.run.rebuildDirs[0].path, work() + "/abc2");
    EXPECT_EQ(b->state.run.rebuildDirs[1].path, work() + "/xyz");
}

TEST_F(PiecesTest, UndoStoreGrowsPastItsFirstSize)
{
    UndoStore u;
    u.reset(1, 0);
    EXPECT_TRUE(u.undoFiles.empty()); // room is reserved, no empty record is made
    u.putFile(0, UndoFileItem{"x", "y", "/d/", 0, {}, {}, {}, {}, {}});
    EXPECT_EQ(u.undoFiles.size(), 1u);
    u.putFile(5, UndoFileItem{"a", "b", "/d/", 0, {}, {}, {}, {}, {}});
    EXPECT_EQ(u.undoFiles.size(), 6u);
    EXPECT_EQ(u.undoFiles[5].newName, "b");
    EXPECT_EQ(u.createdDirs, QStringList{QString()});
}

TEST_F(PiecesTest, PassTableTestsItsRowsInOrder)
{
    const auto& t = passTable();
    ASSERT_EQ(t.size(), 12u);
    const char* keys[] = {"Replace", "Replace", "Case", "Attrib", "Attrib", "AddCrop",
                          "Mp3",     "Enum",    "Enum", "Format", "Format", "misc"};
    for (size_t i = 0; i < t.size(); ++i)
        EXPECT_EQ(modeKey(t[i].mode), QLatin1String(keys[i]));
    RenameOptions o;
    o.normalizeMode = true;
    EXPECT_EQ(t[7].pass, &executeNormalize);
    EXPECT_TRUE(t[7].optionSet(o));
    EXPECT_FALSE(t[8].optionSet(o));
}

TEST_F(PiecesTest, AFailureInsideAPassEndsItWithOneErrorLine)
{
    writeFile("a.txt");
    writeFile("b.txt");
    b->files.lstFiles[0] = QStringList{work() + "/a.txt", work() + "/b.txt"};
    int calls = 0;
    runRenamePass(b->h, "executeReplace", true, [&](const QString&, const QString&, bool) -> QString {
        if (++calls == 2)
            throw platform::makeFailure(platform::failures::TypeMismatch);
        return "c.txt";
    });
    EXPECT_TRUE(QFileInfo::exists(work() + "/c.txt"));
    EXPECT_TRUE(QFileInfo::exists(work() + "/b.txt"));
    EXPECT_EQ(b->state.undo.undoFileCount, 1);
    const QStringList errors = readLines(programFolder() + "/errors.txt");
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].endsWith("Error 13 (Type mismatch) executeReplace: Failed To Execute"));
}

TEST_F(PiecesTest, TheEnumerationRunWorksOnTheListsAsRead)
{
    struct Case {
        const char* key;
        int reads;
    };
    for (const Case& c : {Case{"Replace", 2}, Case{"Enum", 1}}) {
        int reads = 0;
        b->h.readDirectory = [&] { ++reads; };
        b->h.renameMode = [&] { return modeFromKey(QString::fromLatin1(c.key)).value(); };
        runRename(b->h);
        EXPECT_EQ(reads, c.reads) << c.key;
        EXPECT_EQ(b->executeBusy, 0);
        EXPECT_EQ(b->ui.mousePointer(), 0);
    }
}

// ---------------------------------------------------------------- a run into a recording report

namespace {

RenameOptions fileToItem()
{
    RenameOptions o;
    o.findText = "file";
    o.replaceText = "item";
    return o;
}

} // namespace

TEST_F(PiecesTest, AReplaceRunReportsItsLinesCountersProgressAndCaptions)
{
    writeFile("a_file.txt");
    writeFile("b_file.txt");
    writeFile("b_item.txt"); // taken: a warning
    makeDir("d_file");
    b->files.lstFiles[0] = QStringList{work() + "/a_file.txt", work() + "/b_file.txt", work() + "/b_item.txt"};
    b->files.lstDirs[0] = QStringList{work() + "/d_file"};
    b->h.readOptions = [] { return fileToItem(); };
    b->state.report = nullptr; // opened by the run
    runRename(b->h);

    const RecordingReport& rep = b->report;
    EXPECT_EQ(rep.lines, (QStringList{"File Renamed: a_file.txt --> a_item.txt",
                                      "WARNING: Couldn't rename file <b_file.txt> as <b_item.txt> Filename already "
                                      "exists...",
                                      "Directory Renamed: d_file --> d_item"}));
    EXPECT_TRUE(QFileInfo::exists(work() + "/a_item.txt"));
    EXPECT_TRUE(QFileInfo::exists(work() + "/b_file.txt"));
    EXPECT_TRUE(QFileInfo::exists(work() + "/d_item"));
    EXPECT_EQ(rep.files, "1 Files Renamed.");
    EXPECT_EQ(rep.dirs, "1 Directories Renamed.");
    EXPECT_EQ(rep.warnings, "1 Warnings.");
    // Every entry steps the bar, the one with the warning too; b_item.txt stays as it is.
    const std::vector<std::pair<double, double>> bar = {{0, 4}, {1, 4}, {2, 4}, {3, 4}, {4, 4}};
    EXPECT_EQ(rep.progress, bar);
    EXPECT_EQ(rep.captions,
              (QStringList{"Status: Preparing...", "Status: Renaming...", "Status: Renaming... 25%",
                           "Status: Renaming... 50%", "Status: Renaming... 75%", "Status: Renaming... 100%",
                           "Status: Checking Files...", "Status: Checking Files...", "Status: Ready!"}));
    EXPECT_EQ(rep.stages, (std::vector<RunStage>{RunStage::Cancellable, RunStage::Uncancellable, RunStage::Finished}));
    EXPECT_EQ(rep.dismissed, 0);
    EXPECT_EQ(b->statusTexts.front(), "Preparing...");
    EXPECT_EQ(b->statusTexts.back(), "Ready!");
    EXPECT_EQ(b->undoEnabled, 1);
    EXPECT_EQ(b->state.run.outcome, RunOutcome::SomeFailed);
    // "log.txt" gets the same events with full paths.
    const QStringList activity = readLines(programFolder() + "/log.txt");
    ASSERT_EQ(activity.size(), 3);
    EXPECT_TRUE(activity[0].endsWith("File Renamed: " + work() + "/a_file.txt --> " + work() + "/a_item.txt"));

    // Undo reports into a fresh report of its own: it cannot be cancelled.
    b->report = RecordingReport();
    b->ui.answers.push_back(QMessageBox::Yes);
    runUndo(b->h);
    EXPECT_EQ(b->report.lines,
              (QStringList{"Directory Renamed: d_item --> d_file", "File Renamed: a_item.txt --> a_file.txt"}));
    EXPECT_EQ(b->report.stages, (std::vector<RunStage>{RunStage::Uncancellable, RunStage::Finished}));
    EXPECT_EQ(b->report.progress.front(), (std::pair<double, double>{0, 2}));
    EXPECT_EQ(b->report.progress.back(), (std::pair<double, double>{2, 2}));
    EXPECT_EQ(b->report.caption(), "Status: Ready!");
    EXPECT_EQ(b->undoEnabled, 0);
    EXPECT_TRUE(QFileInfo::exists(work() + "/a_file.txt"));
    EXPECT_TRUE(QFileInfo::exists(work() + "/d_file"));
}

TEST_F(PiecesTest, TheRunFollowsTheTicksTakenWhenRenameIsPressed)
{
    struct Case {
        int files, dirs;
        QStringList lines;
        double max;
    };
    const Case cases[] = {
        {1, 1, {"File Renamed: a_file.txt --> a_item.txt", "Directory Renamed: d_file --> d_item"}, 2},
        {0, 1, {"Directory Renamed: d_file --> d_item"}, 1},
        {1, 0, {"File Renamed: a_file.txt --> a_item.txt"}, 1},
        {0, 0, {}, 0},
    };
    b->h.readOptions = [] { return fileToItem(); };
    for (const Case& c : cases) {
        QDir(work()).removeRecursively();
        QDir().mkpath(work());
        writeFile("a_file.txt");
        makeDir("d_file");
        b->files.lstFiles[0] = QStringList{work() + "/a_file.txt"};
        b->files.lstDirs[0] = QStringList{work() + "/d_file"};
        b->report = RecordingReport();
        b->h.ticks.files = c.files;
        b->h.ticks.dirs = c.dirs;
        runRename(b->h);
        EXPECT_EQ(b->report.lines, c.lines) << c.files << c.dirs;
        ASSERT_FALSE(b->report.progress.empty());
        EXPECT_EQ(b->report.progress.front().second, c.max) << c.files << c.dirs;
        EXPECT_EQ(QFileInfo::exists(work() + "/a_item.txt"), c.files == 1);
        EXPECT_EQ(QFileInfo::exists(work() + "/d_item"), c.dirs == 1);
    }
}

TEST_F(PiecesTest, ADisabledRenameReportsNothing)
{
    writeFile("a_file.txt");
    b->files.lstFiles[0] = QStringList{work() + "/a_file.txt"};
    b->h.readOptions = [] { return fileToItem(); };
    b->executeEnabled = false;
    runRename(b->h);
    EXPECT_TRUE(b->report.lines.isEmpty());
    EXPECT_TRUE(b->report.captions.isEmpty());
    EXPECT_TRUE(QFileInfo::exists(work() + "/a_file.txt"));
    EXPECT_EQ(b->undoEnabled, -1);
}

TEST_F(PiecesTest, ARunWithoutAReportStillRenamesAndWritesTheActivityLog)
{
    writeFile("a_file.txt");
    b->files.lstFiles[0] = QStringList{work() + "/a_file.txt"};
    b->h.readOptions = [] { return fileToItem(); };
    b->h.openReport = nullptr;
    b->state.report = nullptr;
    runRename(b->h);
    EXPECT_TRUE(QFileInfo::exists(work() + "/a_item.txt"));
    EXPECT_EQ(b->state.run.filesDone, 1);
    EXPECT_EQ(b->state.run.progressValue, 1);
    EXPECT_EQ(b->state.run.outcome, RunOutcome::Done);
    const QStringList activity = readLines(programFolder() + "/log.txt");
    ASSERT_EQ(activity.size(), 1);
    EXPECT_TRUE(activity[0].endsWith("File Renamed: " + work() + "/a_file.txt --> " + work() + "/a_item.txt"));
    EXPECT_TRUE(b->report.lines.isEmpty());
}
