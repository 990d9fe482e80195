// The windows on a small screen at a larger desktop font: none asks for more
// than the screen's available area, and every control can be reached and used
// with the mouse, scrolling where the window is smaller than its layout. On a
// screen that holds them nothing changes: the designed minimum, the designed
// places, no scroll bars.
//
// Each case runs the DISABLED_ tests below in a process of this binary of its
// own, on an offscreen screen of the case's size with QT_FONT_DPI set, as a
// desktop at that font setting starts the program.
#include "execute/frmexecute.h"
#include "mainwindow/frmabout.h"
#include "mainwindow_fixture.h"
#include "platform/scrollclient.h"
#include "platform/settingsstore.h"
#include "platform/twips.h"
#include "settings/frmsettings.h"
#include "settings/loadsave.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyleOptionSlider>
#include <QTemporaryDir>

namespace {

struct Screen {
    int width, height, fontDpi;
};

std::string nameOf(const Screen& s)
{
    return std::to_string(s.width) + "x" + std::to_string(s.height) + " at " + std::to_string(s.fontDpi) + " dpi";
}

// Runs this binary's test `test` on the screen `s`; its output when it failed.
::testing::AssertionResult passesOn(const Screen& s, const char* test)
{
    QTemporaryDir dir;
    QFile config(dir.path() + "/screen.json");
    if (!config.open(QIODevice::WriteOnly))
        return ::testing::AssertionFailure() << "cannot write the screen's description";
    config.write(QStringLiteral(R"({"screens":[{"name":"s0","x":0,"y":0,"width":%1,"height":%2,)"
                                R"("logicalDpiX":96,"logicalDpiY":96,"dpr":1}]})")
                     .arg(s.width)
                     .arg(s.height)
                     .toUtf8());
    config.close();
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName());
    env.insert("QT_FONT_DPI", QString::number(s.fontDpi));
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QCoreApplication::applicationFilePath(),
            {"--gtest_also_run_disabled_tests", QStringLiteral("--gtest_filter=SmallScreen.DISABLED_") + test});
    if (!p.waitForFinished(60000))
        return ::testing::AssertionFailure() << "did not end";
    const QByteArray out = p.readAll();
    if (p.exitCode() != 0 || !out.contains("[  PASSED  ] 1 test"))
        return ::testing::AssertionFailure() << out.toStdString();
    return ::testing::AssertionSuccess();
}

// Brings `b` into sight with the scroll bars and clicks it.
void scrollAndClick(QAbstractButton* b, QScrollArea* area)
{
    ASSERT_TRUE(scrollIntoSight(b, area)) << b->objectName().toStdString() << " cannot be brought into sight";
    clickButton(b);
}

// The window's frame, and its minimum with the frame, lie on the area.
void expectFitsArea(const QWidget* window)
{
    const QRect area = window->screen()->availableGeometry();
    const QSize frame = window->frameGeometry().size() - window->size();
    EXPECT_TRUE(area.contains(window->frameGeometry()))
        << window->objectName().toStdString() << " " << ::testing::PrintToString(window->frameGeometry()) << " on "
        << ::testing::PrintToString(area);
    EXPECT_LE((window->minimumSize() + frame).width(), area.width()) << window->objectName().toStdString();
    EXPECT_LE((window->minimumSize() + frame).height(), area.height()) << window->objectName().toStdString();
}

bool scrollBarsShown(const QScrollArea* area)
{
    return area->verticalScrollBar()->isVisible() || area->horizontalScrollBar()->isVisible();
}

} // namespace

class SmallScreen : public MainWindowFixture<> {
protected:
    QScrollArea* clientScroll() { return ctl<QScrollArea>("clientScroll"); }
    FrmExecute* openLog() { return logWindow(w->executeHost()); }
    // Closes the open log window with a click on its Close button.
    void closeLogWindow()
    {
        FrmExecute* log = openLog();
        ASSERT_NE(log, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(log));
        expectFitsArea(log);
        scrollAndClick(log->cmdClose, log->findChild<QScrollArea*>("clientScroll"));
        EXPECT_EQ(openLog(), nullptr);
    }
};

// The main window and every window its buttons open fit the screen; each
// button is brought into sight with the scroll bars where it is not, and
// does what it says when clicked. Tab to a control out of sight scrolls it
// into sight.
TEST_F(SmallScreen, DISABLED_EveryButtonReachedAndUsed)
{
    writeFile("song one.txt");
    start({"/p", work()});
    expectFitsArea(w.get());
    ASSERT_EQ(ctl<QComboBox>("txtPath")->currentText(), work() + "/");

    // Convert Case, upper case, then Rename!.
    auto* modes = ctl<platform::TabStrip>("TabStrip");
    scrollAndClick(modes->tabButton(modes->indexOfKey("Case")), clientScroll());
    scrollAndClick(ctl<QAbstractButton>("Case1_1"), clientScroll());
    auto* rename = ctl<QPushButton>("cmdExecute");
    ASSERT_TRUE(QTest::qWaitFor([&] { return rename->isEnabled(); }, 3000));
    scrollAndClick(rename, clientScroll());
    EXPECT_EQ(QDir(work()).entryList(QDir::Files), QStringList({"SONG ONE.txt"}));
    closeLogWindow();

    ui.answers.push_back(QMessageBox::Yes); // "Undo last operation?"
    scrollAndClick(ctl<QPushButton>("cmdUndo"), clientScroll());
    EXPECT_EQ(QDir(work()).entryList(QDir::Files), QStringList({"song one.txt"}));
    if (openLog())
        closeLogWindow();

    // The options window: whole on the screen, a box ticked, Ok.
    bool optionsShown = false;
    whenModal<FrmSettings>([&](FrmSettings* d) {
        optionsShown = true;
        expectFitsArea(d);
        auto* tabs = d->findChild<QScrollArea*>("tabScroll");
        ASSERT_NE(tabs, nullptr);
        for (QAbstractButton* b :
             {static_cast<QAbstractButton*>(d->cmdOK), static_cast<QAbstractButton*>(d->cmdCancel)})
            EXPECT_TRUE(d->frameGeometry().contains(onScreen(b)) &&
                        d->screen()->availableGeometry().contains(onScreen(b)))
                << b->text().toStdString() << " at " << ::testing::PrintToString(onScreen(b));
        scrollAndClick(d->chkShowPath, tabs);
        EXPECT_EQ(d->chkShowPath->value(), 1);
        clickButton(d->cmdOK);
    });
    scrollAndClick(ctl<QPushButton>("cmdSettings"), clientScroll());
    EXPECT_TRUE(optionsShown);
    EXPECT_EQ(platform::SettingsStore().value("showFullPath"), "1");

    const size_t opened = ui.opened.size();
    scrollAndClick(ctl<QPushButton>("cmdHelp"), clientScroll());
    EXPECT_EQ(ui.opened.size(), opened + 1);

    bool aboutShown = false;
    whenModal<FrmAbout>([&](FrmAbout* about) {
        aboutShown = true;
        expectFitsArea(about);
        auto* clickArea = about->findChild<QWidget*>("clickShape");
        ASSERT_NE(clickArea, nullptr);
        QTest::mouseClick(clickArea, Qt::LeftButton, {}, clickArea->rect().center());
    });
    scrollAndClick(ctl<QPushButton>("cmdAbout"), clientScroll());
    EXPECT_TRUE(aboutShown);

    // The keyboard reaches a control out of sight too: Tab to it scrolls it into sight.
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    ASSERT_TRUE(scrollIntoSight(ctl<QWidget>("txtPath"), clientScroll()));
    ctl<QWidget>("txtPath")->setFocus(Qt::TabFocusReason);
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    ASSERT_FALSE(inSight(rename, clientScroll()));
    for (int press = 0; press < 100 && QApplication::focusWidget() && QApplication::focusWidget() != rename; ++press)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), rename);
    EXPECT_TRUE(inSight(rename, clientScroll()));

    // Down to its smallest size the window still lets the user reach the
    // status bar and the last control of the list pane.
    w->resize(1, 1);
    QCoreApplication::processEvents();
    expectFitsArea(w.get());
    EXPECT_TRUE(w->screen()->availableGeometry().contains(onScreen(w->statusBar())));
    EXPECT_TRUE(scrollIntoSight(ctl<QWidget>("txtPattern"), clientScroll()));
    EXPECT_TRUE(scrollIntoSight(ctl<QPushButton>("cmdAbout"), clientScroll()));
}

// Where the screen holds the windows, they are as designed: the minimum of
// the main and log windows and the options window's size, every control at
// its designed place from the window's corner, and no scroll bar, also at
// the main window's smallest size.
TEST_F(SmallScreen, DISABLED_AsDesignedWhereTheScreenHoldsTheWindows)
{
    start();
    const QSize frame = w->frameGeometry().size() - w->size();
    EXPECT_EQ(w->minimumSize() + frame, QSize(platform::toPixels(mainMinWidth), platform::toPixels(mainMinHeight)));
    for (const bool smallest : {false, true}) {
        SCOPED_TRACE(smallest ? "smallest" : "first size");
        if (smallest) {
            w->resize(1, 1);
            QCoreApplication::processEvents();
            EXPECT_EQ(w->frameGeometry().size(),
                      QSize(platform::toPixels(mainMinWidth), platform::toPixels(mainMinHeight)));
        }
        EXPECT_FALSE(scrollBarsShown(clientScroll()));
        EXPECT_EQ(ctl<QWidget>("client")->geometry(), QRect(QPoint(0, 0), clientScroll()->viewport()->size()));
        EXPECT_EQ(ctl<QWidget>("client")->mapTo(w.get(), QPoint(0, 0)), QPoint(0, 0));
        EXPECT_EQ(clientScroll()->size(), QSize(w->width(), w->height() - w->statusBar()->height()));
        const std::pair<const char*, QRect> designed[] = {
            {"cmdExecute", platform::pixelRect(120, 6600, 1575, 495)},
            {"cmdUndo", platform::pixelRect(2040, 6600, 735, 495)},
            {"cmdSettings", platform::pixelRect(2880, 6600, 735, 495)},
            {"cmdHelp", platform::pixelRect(3720, 6600, 735, 240)},
            {"cmdAbout", platform::pixelRect(3720, 6840, 735, 255)},
        };
        for (const auto& [name, place] : designed) {
            auto* b = ctl<QWidget>(name);
            EXPECT_EQ(b->mapTo(w.get(), QPoint(0, 0)), place.topLeft()) << name;
        }
    }

    ExecuteHost host = w->executeHost();
    FrmExecute* log = openLogWindow(host);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(log));
    const QSize logFrame = log->frameGeometry().size() - log->size();
    EXPECT_EQ(log->minimumSize() + logFrame, QSize(platform::toPixels(logMinWidth), platform::toPixels(logMinHeight)));
    log->resize(1, 1);
    QCoreApplication::processEvents();
    EXPECT_FALSE(scrollBarsShown(log->findChild<QScrollArea*>("clientScroll")));
    const int W = log->frameGeometry().width() * platform::twipsPerPixel();
    const int H = log->frameGeometry().height() * platform::twipsPerPixel();
    EXPECT_EQ(QRect(log->lstLog->mapTo(log, QPoint(0, 0)), log->lstLog->size()),
              platform::pixelRect(120, 120, W - 350, H - 1600));
    unloadLogWindow(host);

    bool optionsShown = false;
    whenModal<FrmSettings>([&](FrmSettings* d) {
        optionsShown = true;
        EXPECT_EQ(d->size(), QSize(platform::toPixels(8400), platform::toPixels(6300)));
        for (int tab = 0; tab < d->TabStrip->count(); ++tab) {
            QTest::mouseClick(d->TabStrip->tabButton(tab), Qt::LeftButton);
            QCoreApplication::processEvents();
            EXPECT_FALSE(scrollBarsShown(d->findChild<QScrollArea*>("tabScroll"))) << tab;
        }
        // The tab strip at the window's corner, inside the layout's margin.
        const int margin = d->layout()->contentsMargins().left();
        EXPECT_EQ(d->TabStrip->mapTo(d, QPoint(0, 0)), QPoint(margin, d->layout()->contentsMargins().top()));
        clickButton(d->cmdCancel);
    });
    clickButton(ctl<QPushButton>("cmdSettings"));
    EXPECT_TRUE(optionsShown);
}

// 1366 x 768 is a common laptop screen; 120 and 144 dpi are the usual larger
// font settings. 1024 x 600 is a small netbook's.
TEST(SmallScreenRuns, EveryButtonIsReachedAndUsed)
{
    for (const Screen& s : {Screen{1366, 768, 120}, Screen{1366, 768, 144}, Screen{1024, 600, 144}})
        EXPECT_TRUE(passesOn(s, "EveryButtonReachedAndUsed")) << nameOf(s);
}

TEST(SmallScreenRuns, NothingChangesWhereTheScreenHoldsTheWindows)
{
    for (const Screen& s :
         {Screen{1366, 768, 96}, Screen{1920, 1080, 96}, Screen{1920, 1080, 120}, Screen{2560, 1440, 144}})
        EXPECT_TRUE(passesOn(s, "AsDesignedWhereTheScreenHoldsTheWindows")) << nameOf(s);
}
