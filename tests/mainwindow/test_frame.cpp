// The main window's frame: the layout that follows its size, the geometry kept
// for the next start, the minimum size, the function keys and the buttons.
#include "execute/frmexecute.h"
#include "mainwindow/framelayout.h"
#include "mainwindow/frmmain.h"
#include "mainwindow_fixture.h"
#include "platform/places.h"
#include "platform/settingsstore.h"
#include "platform/twips.h"
#include "settings/frmsettings.h"
#include "settings/loadsave.h"
#include "test_support.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <set>

TEST(FrameLayout, TheFileModeStripListsAndPathFollowTheOuterSize)
{
    // Outer size whose strip is the designed 4695 x 5895 twips.
    const FrameLayout design = frameLayout(9435, 6845);
    EXPECT_EQ(design.tabStripFilemode, QRect(4560, 120, 4695, 5895));
    EXPECT_EQ(design.lists, QSize(4545, 5095));
    EXPECT_EQ(design.txtPathWidth, 2705);
    EXPECT_EQ(design.txtPatternLeft, 8610);

    const FrameLayout wider = frameLayout(9435 + 1000, 6845 + 500);
    EXPECT_EQ(wider.tabStripFilemode, QRect(4560, 120, 5695, 6395));
    EXPECT_EQ(wider.lists, QSize(5545, 5595));
    EXPECT_EQ(wider.txtPathWidth, 3705);
    EXPECT_EQ(wider.txtPatternLeft, 9610);

    // Smaller than the margins: nothing negative.
    const FrameLayout tiny = frameLayout(100, 100);
    EXPECT_EQ(tiny.tabStripFilemode.size(), QSize(0, 0));
    EXPECT_EQ(tiny.lists, QSize(0, 0));
    EXPECT_EQ(tiny.txtPathWidth, 0);
    EXPECT_EQ(tiny.txtPatternLeft, 5905);
}

TEST(FrameLayout, GeometryValuesAreClampedToSixteenBits)
{
    const std::pair<qint64, qint16> cases[] = {
        {0, 0}, {-15, -15}, {32767, 32767}, {32768, 32767}, {40000 * 15, 32767}, {-32768, -32768}, {-40000, -32768}};
    for (const auto& [in, out] : cases)
        EXPECT_EQ(clampTwips(in), out) << in;
}

TEST(FrameLayout, DropDownRowsFillTheHeightBelowTheField)
{
    struct Case {
        int height, field, row, rows;
    };
    const Case cases[] = {{180, 24, 18, 8}, {150, 24, 18, 7}, {180, 24, 26, 6}, {20, 24, 18, 1}, {180, 24, 0, 1}};
    for (const Case& c : cases)
        EXPECT_EQ(dropDownRows(c.height, c.field, c.row), c.rows) << c.height << " " << c.row;
}

class FrameTest : public MainWindowFixture<> {
protected:
    void closeForGood()
    {
        w->close();
        ASSERT_TRUE(w->exited());
        w.reset();
    }
    QString iniPath() const { return root() + "/config/Taborin/Taborin.ini"; }
};

// The controls of the client area and of the file pane, if the lists have one,
// each with its place in the client area.
static std::map<QWidget*, QRect> clientPlaces(QWidget* client)
{
    std::map<QWidget*, QRect> places;
    for (QWidget* c : client->findChildren<QWidget*>()) {
        QWidget* parent = c->parentWidget();
        const bool top = parent == client || parent->objectName() == "filePane" ||
                         QString(parent->metaObject()->className()) == "QFrame";
        if (top && c->isWindow() == false)
            places[c] = QRect(c->mapTo(client, QPoint(0, 0)), c->size());
    }
    return places;
}

TEST_F(FrameTest, WideningMovesOnlyTheStripListsPathAndPattern)
{
    start();
    w->resize(800, 600);
    QCoreApplication::processEvents();
    QWidget* client = ctl<QWidget>("client");
    const std::map<QWidget*, QRect> before = clientPlaces(client);

    w->resize(900, 600); // 1500 twips wider
    QCoreApplication::processEvents();
    const std::map<QWidget*, QRect> after = clientPlaces(client);

    std::set<QWidget*> growing = {ctl<QFrame>("fileBody"), ctl<platform::ListView>("lwDirectory"),
                                  ctl<platform::ListView>("lwDragDrop"), ctl<QTreeWidget>("TreeView"),
                                  ctl<QComboBox>("txtPath")};
    if (QWidget* pane = client->findChild<QWidget*>("filePane"))
        growing.insert(pane);
    // The option panels' own children move with their panel, which does not move.
    for (const auto& [c, g] : before) {
        const QRect now = after.at(c);
        const std::string name = c->objectName().toStdString();
        if (growing.count(c)) {
            EXPECT_EQ(now, g.adjusted(0, 0, 100, 0)) << name;
        } else if (c == ctl<platform::TextBox>("txtPattern")) {
            EXPECT_EQ(now, g.translated(100, 0)) << name;
        } else if (!ctl<QFrame>("fileBody")->isAncestorOf(c) &&
                   !ctl<platform::ListView>("lwDirectory")->isAncestorOf(c) &&
                   !ctl<platform::ListView>("lwDragDrop")->isAncestorOf(c) &&
                   !ctl<QTreeWidget>("TreeView")->isAncestorOf(c) && !ctl<QComboBox>("txtPath")->isAncestorOf(c)) {
            EXPECT_EQ(now, g) << name;
        }
    }
    // The lists keep inside the strip's panel, the pattern box inside it too.
    const QRect body(ctl<QFrame>("fileBody")->mapTo(client, QPoint(0, 0)), ctl<QFrame>("fileBody")->size());
    for (QWidget* list : {static_cast<QWidget*>(ctl<platform::ListView>("lwDirectory")),
                          static_cast<QWidget*>(ctl<platform::ListView>("lwDragDrop")),
                          static_cast<QWidget*>(ctl<QTreeWidget>("TreeView")),
                          static_cast<QWidget*>(ctl<platform::TextBox>("txtPattern"))})
        EXPECT_TRUE(body.contains(QRect(list->mapTo(client, QPoint(0, 0)), list->size())))
            << list->objectName().toStdString();
}

TEST_F(FrameTest, TheOpenedPathListKeepsItsHeight)
{
    start();
    const int row = ctl<QComboBox>("txtPath")->view()->sizeHintForRow(0) > 0
                        ? ctl<QComboBox>("txtPath")->view()->sizeHintForRow(0)
                        : ctl<QComboBox>("txtPath")->fontMetrics().height() + 2;
    EXPECT_EQ(ctl<QComboBox>("txtPath")->maxVisibleItems(),
              dropDownRows(platform::toPixels(2700), ctl<QComboBox>("txtPath")->sizeHint().height(), row));
}

TEST_F(FrameTest, TheOuterSizeNeverGoesBelowTheMinimum)
{
    start();
    w->resize(100, 100);
    QCoreApplication::processEvents();
    EXPECT_EQ(w->frameGeometry().size(), QSize(platform::toPixels(mainMinWidth), platform::toPixels(mainMinHeight)));
    for (QWidget* c : {static_cast<QWidget*>(ctl<platform::TextBox>("txtPattern")),
                       static_cast<QWidget*>(ctl<QPushButton>("cmdAbout"))})
        EXPECT_LE(c->mapTo(ctl<QWidget>("client"), QPoint(c->width() - 1, 0)).x(), ctl<QWidget>("client")->width())
            << c->objectName().toStdString();
}

// At the smallest size the boxes beside the file-mode tabs find no room there:
// they wrap into rows of their own, and nothing is cut, hidden or overlapped.
TEST_F(FrameTest, AtTheMinimumSizeEveryControlIsWholeInsideTheWindow)
{
    for (const char* tree : {"0", "1"}) {
        SCOPED_TRACE(std::string("tree option ") + tree);
        platform::SettingsStore().setValue("enableTreeview", tree);
        start();
        w->resize(100, 100);
        QCoreApplication::processEvents();
        QWidget* client = ctl<QWidget>("client");
        for (int mode : {0, 1}) {
            SCOPED_TRACE(mode == 0 ? "Directory" : "Free Select");
            QTest::mouseClick(ctl<platform::TabStrip>("TabStripFilemode")->tabButton(mode), Qt::LeftButton);
            QCoreApplication::processEvents();
            EXPECT_EQ(ctl<platform::CheckBox>("chkShowTreeview")->isVisible(), mode == 0 && tree == std::string("1"));
            std::vector<QWidget*> pane;
            for (const auto& [c, g] : clientPlaces(client)) {
                if (!c->isVisible())
                    continue;
                EXPECT_TRUE(client->rect().contains(g)) << c->objectName().toStdString();
                if (c->parentWidget()->objectName() == "filePane" && c != ctl<QFrame>("fileBody"))
                    pane.push_back(c);
            }
            for (size_t i = 0; i < pane.size(); ++i)
                for (size_t j = i + 1; j < pane.size(); ++j)
                    EXPECT_FALSE(pane[i]->geometry().intersects(pane[j]->geometry()))
                        << pane[i]->objectName().toStdString() << " and " << pane[j]->objectName().toStdString();
            for (QWidget* box : {static_cast<QWidget*>(ctl<platform::CheckBox>("chkThumbnails")),
                                 static_cast<QWidget*>(ctl<platform::CheckBox>("chkThumbnailsFreeSelect")),
                                 static_cast<QWidget*>(ctl<platform::CheckBox>("chkPreview")),
                                 static_cast<QWidget*>(ctl<platform::CheckBox>("chkShowTreeview"))}) {
                if (box->isVisible()) {
                    EXPECT_GE(box->width(), box->sizeHint().width()) << box->objectName().toStdString();
                }
            }
            // Still the user's boxes: a click reaches them.
            QTest::mouseClick(ctl<platform::CheckBox>("chkPreview"), Qt::LeftButton);
            EXPECT_EQ(ctl<platform::CheckBox>("chkPreview")->value(), 0);
            QTest::mouseClick(ctl<platform::CheckBox>("chkPreview"), Qt::LeftButton);
            EXPECT_EQ(ctl<platform::CheckBox>("chkPreview")->value(), 1);
        }
        closeForGood();
    }
}

// Where the strip is wide enough, the boxes stand beside the tabs and the lists
// keep their design top; at the smallest size they take rows above the path row.
TEST_F(FrameTest, TheBoxesBesideTheTabsWrapOnlyWhenTheStripIsTooNarrow)
{
    const int tpp = platform::twipsPerPixel();
    platform::SettingsStore().setValue("enableTreeview", "1");
    start();
    const int designListTop = (852 - 120) / tpp;
    const int tabsBottom = ctl<platform::TabStrip>("TabStripFilemode")->geometry().bottom();
    for (const QSize size : {QSize(19200, 13500) / tpp, QSize(13500, 9000) / tpp}) {
        w->resize(size);
        QCoreApplication::processEvents();
        for (QWidget* box : {static_cast<QWidget*>(ctl<platform::CheckBox>("chkThumbnails")),
                             static_cast<QWidget*>(ctl<platform::CheckBox>("chkPreview")),
                             static_cast<QWidget*>(ctl<platform::CheckBox>("chkShowTreeview"))})
            EXPECT_LE(box->geometry().bottom(), tabsBottom) << box->objectName().toStdString() << " " << size.width();
        EXPECT_EQ(ctl<platform::ListView>("lwDirectory")->y(), designListTop);
    }
    w->resize(100, 100);
    QCoreApplication::processEvents();
    EXPECT_GT(ctl<platform::CheckBox>("chkShowTreeview")->y(), tabsBottom);
    EXPECT_GT(ctl<QToolButton>("cmdRefresh")->y(), ctl<platform::CheckBox>("chkShowTreeview")->geometry().bottom());
    EXPECT_GT(ctl<platform::ListView>("lwDirectory")->y(), ctl<QToolButton>("cmdRefresh")->geometry().bottom());
    // The lists still end where the strip's panel says.
    EXPECT_EQ(
        ctl<platform::ListView>("lwDirectory")->geometry().bottom(),
        designListTop +
            qRound(frameLayout(w->frameGeometry().width() * tpp, w->frameGeometry().height() * tpp).lists.height() /
                   double(tpp)) -
            1);
}

TEST_F(FrameTest, TheNormalRectangleSurvivesAMaximisedExit)
{
    const int tpp = platform::twipsPerPixel();
    start();
    w->move(40, 30);
    w->resize(700, 600);
    QCoreApplication::processEvents();
    const QRect normal = w->frameGeometry();
    EXPECT_EQ(w->state().settings.Main_Width, normal.width() * tpp);
    EXPECT_EQ(w->state().settings.Main_Height, normal.height() * tpp);
    w->showMaximized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->isMaximized(); }, 2000));
    QCoreApplication::processEvents();
    EXPECT_EQ(w->state().settings.Main_Maximized, 2);
    EXPECT_EQ(w->state().settings.Main_Width, normal.width() * tpp);
    closeForGood();

    QSettings ini(iniPath(), QSettings::IniFormat);
    EXPECT_EQ(ini.value("Vexor Renamer/Main_Maximized").toString(), "2");
    EXPECT_EQ(ini.value("Vexor Renamer/Main_Width").toInt(), normal.width() * tpp);
    EXPECT_EQ(ini.value("Vexor Renamer/Main_Height").toInt(), normal.height() * tpp);

    start();
    EXPECT_TRUE(w->isMaximized());
    w->showNormal();
    QCoreApplication::processEvents();
    EXPECT_EQ(w->frameGeometry().size(), normal.size());
    // Restored where it stood, and stored so: the next start opens there.
    EXPECT_EQ(w->frameGeometry(), normal);
    closeForGood();
    QSettings again(iniPath(), QSettings::IniFormat);
    EXPECT_EQ(again.value("Vexor Renamer/Main_Left").toInt(), normal.x() * tpp);
    EXPECT_EQ(again.value("Vexor Renamer/Main_Top").toInt(), normal.y() * tpp);
    start();
    EXPECT_EQ(w->frameGeometry(), normal);
}

// At one and a half times the design's scale a stored size taller than the
// screen is cut to it, and the window system rounds the size and place it
// gave the window by a pixel: an exit without the user's move or resize stores
// the twips back as they were read, every time. A real resize stores the size
// the user made, and the place it did not move stays.
TEST_F(FrameTest, OnlyTheUsersResizeChangesTheStoredGeometry)
{
    const ScaleScope scale(1.5);
    ASSERT_TRUE(scale.found());
    const int tpp = scale.twipsPerPixel();
    const std::pair<QString, int> stored[] = {
        {"Main_Left", 450}, {"Main_Top", 300}, {"Main_Width", 11000}, {"Main_Height", 9990}};
    {
        platform::SettingsStore store;
        for (const auto& [key, value] : stored)
            store.setValue(key, QString::number(value));
    }
    const auto storedValue = [&](const QString& key) {
        return QSettings(iniPath(), QSettings::IniFormat).value("Vexor Renamer/" + key).toInt();
    };
    for (const QPoint rounding : {QPoint(1, -1), QPoint(-1, 1), QPoint(0, 0)}) {
        SCOPED_TRACE(::testing::Message() << "rounded by " << rounding.x() << "," << rounding.y());
        start();
        ASSERT_GT(9990 / tpp, w->screen()->availableGeometry().height()) << "a screen that cuts the window";
        const QRect placed = w->frameGeometry();
        w->resize(w->size() + QSize(rounding.x(), rounding.y()));
        w->move(w->pos() + rounding);
        QCoreApplication::processEvents();
        ASSERT_LE((w->frameGeometry().topLeft() - placed.topLeft()).manhattanLength(), 2);
        closeForGood();
        for (const auto& [key, value] : stored)
            EXPECT_EQ(storedValue(key), value) << key.toStdString();
    }

    // The window is at its minimum and the screen smaller: a resize that grows it.
    start();
    const QRect before = w->frameGeometry();
    w->resize(w->size() + QSize(40, 30));
    QCoreApplication::processEvents();
    const QRect resized = w->frameGeometry();
    ASSERT_EQ(resized.size(), before.size() + QSize(40, 30));
    ASSERT_EQ(resized.topLeft(), before.topLeft());
    closeForGood();
    EXPECT_EQ(storedValue("Main_Width"), resized.width() * tpp);
    EXPECT_EQ(storedValue("Main_Height"), resized.height() * tpp);
    EXPECT_EQ(storedValue("Main_Left"), 450);
    EXPECT_EQ(storedValue("Main_Top"), 300);
}

TEST_F(FrameTest, ACloseWhileTheHourglassShowsIsRefusedAndWritesNothing)
{
    start();
    QFile::remove(iniPath());
    ui.setMousePointer(11);
    w->close();
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(w->exited());
    EXPECT_FALSE(QFile::exists(iniPath()));
    ui.setMousePointer(0);
    closeForGood();
    EXPECT_TRUE(QFile::exists(iniPath()));
}

TEST_F(FrameTest, HelpButtonAndF1OpenTheShippedPage)
{
    start();
    QTest::mouseClick(ctl<QPushButton>("cmdHelp"), Qt::LeftButton);
    ctl<platform::TextBox>("txtPattern")->setFocus();
    QTest::keyClick(ctl<platform::TextBox>("txtPattern"), Qt::Key_F1);
    QTest::keyClick(ctl<platform::TextBox>("txtPattern"), Qt::Key_F1, Qt::ShiftModifier);
    const QUrl page = QUrl::fromLocalFile(platform::shippedFile("help.html"));
    ASSERT_FALSE(page.isEmpty());
    EXPECT_EQ(ui.opened, std::vector<QUrl>({page, page, page}));
}

// Run by the next test only, from a copy of this program that has no
// share/vexorren/ beside it.
TEST_F(FrameTest, DISABLED_HelpButtonAndF1NameTheMissingPage)
{
    const QString missing = QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../share/vexorren/help.html");
    ASSERT_FALSE(QFileInfo::exists(missing));
    start();
    ui.answers = {QMessageBox::Ok, QMessageBox::Ok};
    QTest::mouseClick(ctl<QPushButton>("cmdHelp"), Qt::LeftButton);
    auto* pattern = ctl<QLineEdit>("txtPattern");
    pattern->setFocus();
    QTest::keyClick(pattern, Qt::Key_F1);
    ASSERT_EQ(ui.asked.size(), 2u);
    for (const ScriptedUi::Asked& a : ui.asked)
        EXPECT_EQ(a.text, "The help page could not be found:\n\n" + missing);
    EXPECT_TRUE(ui.opened.empty());
}

TEST(HelpPage, AMissingPageIsNamedByHelpAndF1)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir().mkpath(dir.path() + "/bin"));
    const QString copy = dir.path() + "/bin/" + QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    ASSERT_TRUE(QFile::copy(QCoreApplication::applicationFilePath(), copy));
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.start(copy,
            {"--gtest_also_run_disabled_tests", "--gtest_filter=FrameTest.DISABLED_HelpButtonAndF1NameTheMissingPage"});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QByteArray out = p.readAllStandardOutput();
    EXPECT_EQ(p.exitCode(), 0) << out.toStdString();
    EXPECT_TRUE(out.contains("[  PASSED  ] 1 test")) << out.toStdString();
}

TEST_F(FrameTest, FunctionKeysStillReachTheFocusedControl)
{
    start();
    int f1Seen = 0;
    QObject::connect(ctl<platform::TextBox>("txtPattern"), &platform::TextBox::keyPress, w.get(),
                     [&](QKeyEvent* e) { f1Seen += e->key() == Qt::Key_F1; });
    ctl<platform::TextBox>("txtPattern")->setFocus();
    QTest::keyClick(ctl<platform::TextBox>("txtPattern"), Qt::Key_F1);
    EXPECT_EQ(f1Seen, 1);
    EXPECT_EQ(ui.opened.size(), 1u); // once, not once per parent the key passes
}

TEST_F(FrameTest, F5CommitsTheFocusedBoxBeforeTheRun)
{
    writeFile("xab.txt");
    start();
    ctl<QComboBox>("txtPath")->setEditText(work());
    w->readDirectory();
    w->updateFileViews();
    ctl<platform::TabStrip>("TabStrip")->selectKey("AddCrop");
    ctl<platform::OptionButton>("optCrop")->select();
    ctl<platform::OptionButton>("optCropBeginning")->select();
    ctl<platform::TextBox>("txtCropPos")->setText("0");
    // The box's own leave correction turns an empty count into "1".
    ctl<platform::TextBox>("txtCropNumber")->setFocus();
    ctl<platform::TextBox>("txtCropNumber")->clear();
    w->updateExecuteButton();
    QTest::keyClick(ctl<platform::TextBox>("txtCropNumber"), Qt::Key_F5, Qt::ShiftModifier);
    EXPECT_EQ(ctl<platform::TextBox>("txtCropNumber")->text(), "1");
    EXPECT_TRUE(QFile::exists(work() + "/ab.txt"))
        << QDir(work()).entryList(QDir::Files).join(",").toStdString() << " log "
        << !w->executeState().frmExecute.isNull() << " en " << ctl<QPushButton>("cmdExecute")->isEnabled();
    ASSERT_FALSE(w->executeState().frmExecute.isNull()); // the run's log window
    w->executeState().frmExecute->unload();
}

TEST_F(FrameTest, F5WithRenameDisabledOnlyMovesTheFocus)
{
    writeFile("a.txt");
    start();
    ctl<QComboBox>("txtPath")->setEditText(work());
    w->readDirectory();
    w->updateFileViews();
    ctl<platform::TabStrip>("TabStrip")->selectKey("Replace");
    ctl<platform::OptionButton>("optReplaceSingle")->select();
    ctl<platform::TextBox>("txtFind")->setText("");
    ctl<platform::TextBox>("txtFind")->setFocus();
    QTest::keyClick(ctl<platform::TextBox>("txtFind"), Qt::Key_F5);
    EXPECT_FALSE(ctl<QPushButton>("cmdExecute")->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), ctl<QPushButton>("cmdAbout"));
    EXPECT_TRUE(QFile::exists(work() + "/a.txt"));
    EXPECT_TRUE(w->executeState().frmExecute.isNull());
}

TEST_F(FrameTest, SettingsButtonRecountsValidatesAndRequestsAPreview)
{
    start();
    int shown = 0;
    whenModal<FrmSettings>([&](FrmSettings* d) {
        ++shown;
        w->state().preview.previewRequested = 0;
        ctl<QPushButton>("cmdExecute")->setEnabled(false); // as if the window left the gate stale
        QTest::mouseClick(d->cmdCancel, Qt::LeftButton);
    });
    ctl<platform::TabStrip>("TabStrip")->selectKey("Case");
    QTest::mouseClick(ctl<QPushButton>("cmdSettings"), Qt::LeftButton);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(w->state().preview.previewRequested, -1);
    EXPECT_EQ(ctl<QPushButton>("cmdExecute")->isEnabled(), judgeGate(w->gateInputs()).enabled);
}

TEST_F(FrameTest, F12ReReadsTheWorkingDirectory)
{
    writeFile("a.txt");
    start();
    ctl<QComboBox>("txtPath")->setEditText(work());
    w->readDirectory();
    w->updateFileViews();
    const int before = ctl<platform::ListView>("lwDirectory")->count();
    writeFile("b.txt");
    ctl<platform::TextBox>("txtPattern")->setFocus();
    QTest::keyClick(ctl<platform::TextBox>("txtPattern"), Qt::Key_F12);
    EXPECT_EQ(ctl<platform::ListView>("lwDirectory")->count(), before + 1);
}

TEST_F(FrameTest, AClickOnALabelInsideAFrameLeavesItsOption)
{
    start();
    ctl<platform::TabStrip>("TabStrip")->selectKey("Replace");
    ctl<platform::OptionButton>("optReplaceBatch")->select();
    QGroupBox* single = ctl<QGroupBox>("frame(13)");
    QLabel* inside = single->findChild<QLabel*>();
    ASSERT_TRUE(inside);
    QTest::mouseClick(inside, Qt::LeftButton, {}, inside->rect().center());
    EXPECT_TRUE(ctl<platform::OptionButton>("optReplaceBatch")->isChecked());
    // A click on the frame's own area away from its children selects it.
    QPoint empty;
    for (int y = single->height() - 3; y > 10 && empty.isNull(); --y)
        for (int x = single->width() - 3; x > 3; x -= 3)
            if (!single->childAt(x, y)) {
                empty = QPoint(x, y);
                break;
            }
    ASSERT_FALSE(empty.isNull());
    QTest::mousePress(single, Qt::LeftButton, {}, empty);
    EXPECT_TRUE(ctl<platform::OptionButton>("optReplaceBatch")->isChecked()); // not on the press
    QTest::mouseRelease(single, Qt::LeftButton, {}, empty);
    EXPECT_TRUE(ctl<platform::OptionButton>("optReplaceSingle")->isChecked());
}

// A click on a frame's own area selects the option the frame carries; the
// frames without one (the Case, Space and Mp3 frames) change no option.
TEST_F(FrameTest, AClickOnEachFrameSelectsItsOwnOption)
{
    start();
    struct Case {
        int frame;
        const char* tab;
        const char* option; // nullptr: the frame carries none
        const char* other;  // the option selected before the click
    };
    const Case cases[] = {
        {0, "AddCrop", "optAdd", "optCrop"},
        {1, "AddCrop", "optCrop", "optAdd"},
        {2, "Attrib", "optAttrib_Attributes", "optAttrib_Date"},
        {3, "Attrib", "optAttrib_Date", "optAttrib_Attributes"},
        {4, "Case", nullptr, "Case1_0"},
        {5, "Case", nullptr, "Case2_0"},
        {6, "Case", nullptr, "Case1_0"},
        {7, "misc", nullptr, nullptr},
        {8, "Format", "chkFormatTab_Format", "chkFormatTab_Detect"},
        {9, "Format", "chkFormatTab_Detect", "chkFormatTab_Format"},
        {10, "Mp3", nullptr, nullptr},
        {11, "Enum", "chkEnumTab_Enum", "chkEnumTab_Normalize"},
        {12, "Enum", "chkEnumTab_Normalize", "chkEnumTab_Enum"},
        {13, "Replace", "optReplaceSingle", "optReplaceBatch"},
        {14, "Replace", "optReplaceBatch", "optReplaceSingle"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frame);
        ctl<platform::TabStrip>("TabStrip")->selectKey(c.tab);
        QGroupBox* box = ctl<QGroupBox>(QStringLiteral("frame(%1)").arg(c.frame));
        ASSERT_TRUE(box->isVisible());
        if (c.other)
            w->findChild<platform::OptionButton*>(c.other)->select();
        std::set<QObject*> selectedBefore;
        for (platform::OptionButton* o : w->findChildren<platform::OptionButton*>())
            if (o->isChecked())
                selectedBefore.insert(o);
        QPoint empty;
        for (int y = box->height() - 3; y > 10 && empty.isNull(); --y)
            for (int x = box->width() - 3; x > 3; x -= 3)
                if (!box->childAt(x, y)) {
                    empty = QPoint(x, y);
                    break;
                }
        ASSERT_FALSE(empty.isNull());
        QTest::mouseClick(box, Qt::LeftButton, {}, empty);
        std::set<QObject*> selectedAfter;
        for (platform::OptionButton* o : w->findChildren<platform::OptionButton*>())
            if (o->isChecked())
                selectedAfter.insert(o);
        if (c.option) {
            auto* option = w->findChild<platform::OptionButton*>(c.option);
            ASSERT_TRUE(option);
            EXPECT_TRUE(option->isChecked());
            selectedBefore.erase(w->findChild<platform::OptionButton*>(c.other));
            selectedBefore.insert(option);
        }
        EXPECT_EQ(selectedAfter, selectedBefore);
    }
}

// A session that changes no setting leaves the settings file as it was, with
// the lines the user or another program keep there; a click that changes an
// option rewrites only the renamer's section at the exit.
TEST_F(FrameTest, AnExitWithoutAChangeLeavesTheSettingsFileAlone)
{
    start();
    closeForGood(); // the first exit writes every setting
    const QByteArray others = "; by hand\n[Other%20Program]\nname=Gr\xfc\xdf"
                              "e\n\n";
    writeFileBytes(iniPath(), others + fileBytes(iniPath()));
    const QByteArray before = fileBytes(iniPath());

    start();
    closeForGood();
    EXPECT_EQ(fileBytes(iniPath()), before);

    start();
    auto* sub = ctl<platform::CheckBox>("chkSub");
    const int was = sub->value();
    clickButton(sub);
    closeForGood();
    EXPECT_TRUE(fileBytes(iniPath()).startsWith(others));
    EXPECT_EQ(platform::SettingsStore().value("chkSub"), QString::number(1 - was));
    EXPECT_TRUE(readText(programFolder() + "/errors.txt").isEmpty());
}

// The exit's save that cannot write the settings file says so in a box and in
// the error log, and the window still closes.
TEST_F(FrameTest, AnExitThatCannotSaveTheSettingsSaysSo)
{
    start();
    writeFileBytes(root() + "/config/Taborin", "not a folder");
    ui.answers.push_back(QMessageBox::Ok);
    closeForGood();
    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(ui.asked[0].icon, QMessageBox::Critical);
    EXPECT_EQ(ui.asked[0].text, "Error 76 (Path not found) Error saving settings!\n\nThe settings file " + iniPath() +
                                    " could not be written; the settings were not saved.");
    const QStringList errors = readLines(programFolder() + "/errors.txt");
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].endsWith(") Error 76 (Path not found) Error saving settings!")) << errors[0].toStdString();
}
