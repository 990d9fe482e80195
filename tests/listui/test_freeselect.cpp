#include "listui/freeselectcommands.h"
#include "mainwindow/frmmain.h"
#include "mainwindow_fixture.h"
#include "test_support.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QUrl>

class FreeSelectTest : public MainWindowFixture<> {
protected:
    FreeSelectCommands* fs = nullptr;
    QStringList mainTexts; // every text the "main" panel was given

    void start()
    {
        MainWindowFixture::start();
        fs = part<FreeSelectCommands>();
        ASSERT_NE(fs, nullptr);
        QObject::connect(ctl<platform::StatusPanels>("StatusBar"), &platform::StatusPanels::panelTextSet, w.get(),
                         [this](const QString& key, const QString& text) {
                             if (key == "main")
                                 mainTexts << text;
                         });
    }
    void showFreeSelect()
    {
        QTest::mouseClick(ctl<platform::TabStrip>("TabStripFilemode")->tabButton(1), Qt::LeftButton);
        ASSERT_EQ(w->fileMode(), 1);
    }
    QStringList percentTexts() const { return mainTexts.filter("%"); }
    // The preview timer's ticks leave a preview request alone, so a test reads it.
    void holdPreviewRequests() { QObject::disconnect(ctl<QTimer>("tmrPreview"), &QTimer::timeout, w.get(), nullptr); }

    // A shell drop of local files onto the list's visible view, as the user
    // makes it; the add runs right after the drop has been taken.
    bool drop(platform::ListView* list, const QStringList& paths, const QString& text = {})
    {
        QMimeData mime;
        QList<QUrl> urls;
        for (const QString& p : paths)
            urls << QUrl::fromLocalFile(p);
        if (!urls.isEmpty())
            mime.setUrls(urls);
        if (!text.isEmpty())
            mime.setText(text);
        QWidget* viewport = qobject_cast<QAbstractItemView*>(list->activeView())->viewport();
        const QPoint pos = viewport->rect().center();
        QDragEnterEvent enter(pos, Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(viewport, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent dropped(QPointF(pos), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(viewport, &dropped);
        QCoreApplication::processEvents();
        return dropped.isAccepted();
    }
    // Clicks a row of the list's report view; Ctrl adds it to the selection.
    void clickRow(platform::ListView* list, int row, Qt::KeyboardModifiers mods = {})
    {
        QTreeView* v = list->reportView();
        const QRect r = v->visualRect(list->model()->index(row, 0));
        ASSERT_TRUE(r.isValid()) << row;
        QTest::mouseClick(v->viewport(), Qt::LeftButton, mods, r.center());
    }
    QStringList names(const platform::ListView* list) const
    {
        QStringList n;
        for (int r = 0; r < list->count(); ++r)
            n << list->text(r);
        return n;
    }
    void expectHintState()
    {
        const platform::ListView* l = ctl<platform::ListView>("lwDragDrop");
        ASSERT_EQ(l->count(), 1);
        EXPECT_EQ(l->text(0), "Drop files here...");
        EXPECT_EQ(l->row(0).smallIcon, 0);
        EXPECT_TRUE(l->listFont().bold());
        EXPECT_TRUE(l->listFont().italic());
        EXPECT_EQ(l->listFont().pointSize(), 10);
        EXPECT_EQ(l->view(), 1);
        EXPECT_FALSE(l->isSelected(0));
        EXPECT_TRUE(w->state().files.lstFiles[1].isEmpty());
        EXPECT_TRUE(w->state().files.lstDirs[1].isEmpty());
    }
    void expectIdle()
    {
        EXPECT_TRUE(w->isEnabled());
        EXPECT_EQ(ui.mousePointer(), 0);
        EXPECT_FALSE(fs->bulkAddRunning());
    }
};

TEST(FreeSelectProgress, PercentagesOfTheDialogAndOfDrops)
{
    // Names of 5, 5 and 10 characters: 23 characters after the folder.
    EXPECT_EQ(addDialogPercents({"/wxyz/aaaaa", "/wxyz/bbbbb", "/wxyz/cccccccccc"}), (std::vector<int>{0, 22, 43}));
    // Only the names count, whatever the folder.
    EXPECT_EQ(addDialogPercents({"/aaaaa", "/bbbbb", "/cccccccccc"}), (std::vector<int>{0, 22, 43}));
    EXPECT_EQ(addDialogPercents({"/a/x", "/a/y"}), (std::vector<int>{0, 25}));
    struct Case {
        int i, n, percent;
    };
    for (const Case& c :
         {Case{1, 4, 25}, Case{4, 4, 100}, Case{1, 8, 12}, Case{3, 8, 38}, Case{1, 3, 33}, Case{2, 3, 67}})
        EXPECT_EQ(stepPercent(c.i, c.n), c.percent) << c.i << "/" << c.n;
}

TEST_F(FreeSelectTest, DragDropAddListsEachExistingEntryOnce)
{
    start();
    const QString file = writeFile("a.txt");
    makeDir("d");
    QString doubled = work() + "//a.txt";
    fs->dragDropAdd(doubled);
    EXPECT_EQ(doubled, file);
    ASSERT_EQ(ctl<platform::ListView>("lwDragDrop")->count(), 1);
    EXPECT_EQ(ctl<platform::ListView>("lwDragDrop")->text(0), "a.txt");
    EXPECT_EQ(ctl<platform::ListView>("lwDragDrop")->subItem(0, 2), work() + "/");
    EXPECT_FALSE(ctl<platform::ListView>("lwDragDrop")->listFont().italic());
    EXPECT_FALSE(ctl<platform::ListView>("lwDragDrop")->listFont().bold());
    EXPECT_EQ(ctl<platform::ListView>("lwDragDrop")->view(), 3);

    // Nothing more: the same entry again, a missing path, the root, a name
    // relative to the program's working directory (even where one exists there).
    const QString savedCwd = QDir::currentPath();
    QDir::setCurrent(work());
    for (QString p :
         {file, work() + "//a.txt", work() + "/missing.txt", QString("/"), QString("a.txt"), QString("d")}) {
        fs->dragDropAdd(p);
        EXPECT_EQ(ctl<platform::ListView>("lwDragDrop")->count(), 1) << p.toStdString();
    }
    QDir::setCurrent(savedCwd);
    EXPECT_EQ(w->state().files.lstFiles[1], QStringList{file});
    EXPECT_TRUE(w->state().files.lstDirs[1].isEmpty());
    EXPECT_FALSE(QFileInfo::exists(programFolder() + "/errors.txt"));
}

TEST_F(FreeSelectTest, AddDialogWithThreeFilesShowsItsProgressAndKeepsTheFolder)
{
    start();
    w->state().settings.dragDropAddPath = work() + "/";
    const QString folder = makeDir("pics");
    const QStringList chosen = {writeFile("pics/aaaaa"), writeFile("pics/bbbbb"), writeFile("pics/cccccccccc")};
    ui.openAnswers.push_back(chosen);
    showFreeSelect();
    holdPreviewRequests();
    w->state().preview.previewRequested = 0;
    mainTexts.clear();
    QTest::mouseClick(ctl<QToolButton>("cmdDragDropAdd"), Qt::LeftButton);

    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(ui.asked[0].title, "Select Files To Add");
    EXPECT_EQ(ui.openDirs.value(0), work()); // one trailing "/" removed
    EXPECT_EQ(ui.openFilters.value(0), "All Files (*)");
    EXPECT_EQ(percentTexts(), (QStringList{"Adding Files... 0%", "Adding Files... 22%", "Adding Files... 43%"}));
    EXPECT_EQ(names(ctl<platform::ListView>("lwDragDrop")), (QStringList{"aaaaa", "bbbbb", "cccccccccc"}));
    EXPECT_EQ(w->state().files.lstFiles[1], chosen);
    EXPECT_EQ(w->state().settings.dragDropAddPath, folder);
    EXPECT_EQ(ctl<platform::StatusPanels>("StatusBar")->panelText("main"), "3 Files, 0 Directories");
    EXPECT_EQ(ctl<platform::StatusPanels>("StatusBar")->panelText("selected"), "0 items selected...");
    EXPECT_EQ(w->state().preview.previewRequested, -1);
    EXPECT_TRUE(ctl<platform::ListView>("lwDragDrop")->hasFocus());
    expectIdle();

    // The next dialog opens in that folder.
    QTest::mouseClick(ctl<QToolButton>("cmdDragDropAdd"), Qt::LeftButton);
    EXPECT_EQ(ui.openDirs.value(1), folder);
}

TEST_F(FreeSelectTest, AddDialogCancelAndSingleFiles)
{
    start();
    showFreeSelect();
    ctl<QComboBox>("txtPath")->setEditText(work() + "/");
    // A cancel: nothing added, the folder kept, the preview still stopped.
    w->state().preview.previewRequested = -1;
    ui.openAnswers.push_back({});
    QTest::mouseClick(ctl<QToolButton>("cmdDragDropAdd"), Qt::LeftButton);
    EXPECT_EQ(ui.openDirs.value(0), work()); // the path box when no folder is remembered
    EXPECT_EQ(w->state().preview.previewRequested, 0);
    EXPECT_TRUE(w->state().settings.dragDropAddPath.isEmpty());
    expectHintState();

    // One file, even one whose name ends in "*": added, no progress, its folder kept with "/".
    for (const char* name : {"star*", "*"}) {
        const QString folder = makeDir(QString("in %1").arg(name == QString("*") ? 2 : 1));
        const QString file = writeFile(QFileInfo(folder).fileName() + "/" + name);
        ui.openAnswers.push_back({file});
        mainTexts.clear();
        QTest::mouseClick(ctl<QToolButton>("cmdDragDropAdd"), Qt::LeftButton);
        EXPECT_EQ(ctl<platform::ListView>("lwDragDrop")->text(ctl<platform::ListView>("lwDragDrop")->count() - 1),
                  QString(name));
        EXPECT_EQ(w->state().files.lstFiles[1].last(), file);
        EXPECT_EQ(w->state().settings.dragDropAddPath, folder + "/");
        EXPECT_TRUE(percentTexts().isEmpty());
        expectIdle();
    }
    EXPECT_EQ(ctl<platform::ListView>("lwDragDrop")->count(), 2);
    // The remembered folder ends in "/"; the dialog still opens in it.
    ui.openAnswers.push_back({});
    QTest::mouseClick(ctl<QToolButton>("cmdDragDropAdd"), Qt::LeftButton);
    EXPECT_EQ(ui.openDirs.last(), work() + "/in 2");
}

TEST_F(FreeSelectTest, DropOfFourFilesOntoTheDirectoryListSwitchesToFreeSelect)
{
    start();
    writeFile("listed.txt");
    ctl<QComboBox>("txtPath")->setEditText(work());
    w->readDirectory();
    w->updateFileViews();
    ASSERT_EQ(w->fileMode(), 0);
    const QStringList files = {writeFile("x/1.txt"), writeFile("x/2.txt"), writeFile("x/3.txt"), writeFile("x/4.txt")};
    mainTexts.clear();
    ASSERT_TRUE(drop(ctl<platform::ListView>("lwDirectory"), files));

    EXPECT_EQ(w->fileMode(), 1);
    EXPECT_EQ(ctl<platform::TabStrip>("TabStripFilemode")->selectedKey(), "dragdrop");
    EXPECT_TRUE(ctl<platform::ListView>("lwDragDrop")->isVisible());
    EXPECT_FALSE(ctl<platform::ListView>("lwDirectory")->isVisible());
    EXPECT_EQ(percentTexts(), (QStringList{"Adding Files... 25%", "Adding Files... 50%", "Adding Files... 75%",
                                           "Adding Files... 100%"}));
    EXPECT_EQ(names(ctl<platform::ListView>("lwDragDrop")), (QStringList{"1.txt", "2.txt", "3.txt", "4.txt"}));
    EXPECT_EQ(ctl<platform::StatusPanels>("StatusBar")->panelText("main"), "4 Files, 0 Directories");
    EXPECT_EQ(w->state().files.lstFiles[0].size(), 1); // the directory list keeps its own
    expectIdle();
}

TEST_F(FreeSelectTest, EscapeDuringADropKeepsWhatWasAdded)
{
    start();
    showFreeSelect();
    const QStringList files = {writeFile("1.txt"), writeFile("2.txt"), writeFile("3.txt"), writeFile("4.txt")};
    ASSERT_TRUE(drop(ctl<platform::ListView>("lwDragDrop"), {writeFile("0.txt")}));
    QTest::mouseClick(ctl<platform::CheckBox>("chkThumbnailsFreeSelect"), Qt::LeftButton, {},
                      indicatorPoint(ctl<platform::CheckBox>("chkThumbnailsFreeSelect")));
    ASSERT_EQ(ctl<platform::CheckBox>("chkThumbnailsFreeSelect")->value(), 1);
    QSignalSpy thumbnails(fs, &FreeSelectCommands::thumbnailsWanted);
    QSignalSpy gate(fs, &FreeSelectCommands::validate);
    holdPreviewRequests();
    w->state().preview.previewRequested = 0;
    // A press left from before the drop does not count; one while the first
    // file is being added stops the drop after it.
    ui.latchEscape();
    auto press = QObject::connect(ctl<platform::StatusPanels>("StatusBar"), &platform::StatusPanels::panelTextSet,
                                  w.get(), [this](const QString&, const QString& text) {
                                      if (text == "Adding Files... 25%")
                                          ui.latchEscape();
                                  });
    ASSERT_TRUE(drop(ctl<platform::ListView>("lwDragDrop"), files));
    QObject::disconnect(press);

    EXPECT_EQ(names(ctl<platform::ListView>("lwDragDrop")), (QStringList{"0.txt", "1.txt"}));
    EXPECT_EQ(w->state().files.lstFiles[1], (QStringList{work() + "/0.txt", files[0]}));
    EXPECT_EQ(thumbnails.count(), 0);
    EXPECT_EQ(gate.count(), 0);
    EXPECT_EQ(w->state().preview.previewRequested, 0);
    EXPECT_EQ(ctl<platform::StatusPanels>("StatusBar")->panelText("main"), "2 Files, 0 Directories");
    EXPECT_EQ(ctl<platform::StatusPanels>("StatusBar")->panelText("selected"), "0 items selected...");
    expectIdle();

    // The same drop again, with only a press from before it, completes: the
    // pictures, the gate and a preview request.
    ui.latchEscape();
    ASSERT_TRUE(drop(ctl<platform::ListView>("lwDragDrop"), files));
    EXPECT_EQ(ctl<platform::ListView>("lwDragDrop")->count(), 5);
    EXPECT_EQ(ctl<platform::ListView>("lwDragDrop")->view(), 0); // "Thumbnails" ticked: large icons
    EXPECT_EQ(thumbnails.count(), 1);
    EXPECT_EQ(w->state().files.thumbnailsShownFreeSel, -1);
    EXPECT_EQ(gate.count(), 1);
    EXPECT_EQ(w->state().preview.previewRequested, -1);
    EXPECT_EQ(ctl<platform::StatusPanels>("StatusBar")->panelText("main"), "5 Files, 0 Directories");
    expectIdle();
}

TEST_F(FreeSelectTest, DropsWithoutLocalFilesAreNotTaken)
{
    start();
    showFreeSelect();
    EXPECT_FALSE(drop(ctl<platform::ListView>("lwDragDrop"), {}, "just text"));
    expectHintState();
    // A directory handed on with a trailing "/" is the directory.
    const QString dir = makeDir("folder");
    ASSERT_TRUE(drop(ctl<platform::ListView>("lwDragDrop"), {dir + "/"}));
    EXPECT_EQ(names(ctl<platform::ListView>("lwDragDrop")), QStringList{"folder"});
    EXPECT_EQ(w->state().files.lstDirs[1], QStringList{dir});
    EXPECT_EQ(ctl<platform::StatusPanels>("StatusBar")->panelText("main"), "0 Files, 1 Directories");
}

TEST_F(FreeSelectTest, RemoveSelectedTakesEverySelectedRowAndEndsInTheHint)
{
    start();
    showFreeSelect();
    const QStringList files = {writeFile("1.txt"), writeFile("2.txt"), writeFile("3.txt"), writeFile("4.txt")};
    const QString dir = makeDir("5");
    ASSERT_TRUE(drop(ctl<platform::ListView>("lwDragDrop"), files + QStringList{dir}));
    platform::ListView* l = ctl<platform::ListView>("lwDragDrop");
    ASSERT_EQ(l->count(), 5);

    // Two neighbours and a directory: none is skipped.
    clickRow(l, 1);
    clickRow(l, 2, Qt::ControlModifier);
    clickRow(l, 4, Qt::ControlModifier);
    QTest::mouseClick(ctl<QToolButton>("cmdDragDropDel"), Qt::LeftButton);
    EXPECT_EQ(names(l), (QStringList{"1.txt", "4.txt"}));
    EXPECT_EQ(w->state().files.lstFiles[1], (QStringList{files[0], files[3]}));
    EXPECT_TRUE(w->state().files.lstDirs[1].isEmpty());
    EXPECT_EQ(ctl<platform::StatusPanels>("StatusBar")->panelText("main"), "2 Files, 0 Directories");
    EXPECT_TRUE(l->hasFocus());

    // A selected row whose entry is in neither store stays, still selected.
    w->state().files.lstFiles[1].removeAll(files[3]);
    clickRow(l, 0);
    clickRow(l, 1, Qt::ControlModifier);
    QTest::mouseClick(ctl<QToolButton>("cmdDragDropDel"), Qt::LeftButton);
    EXPECT_EQ(names(l), QStringList{"4.txt"});
    EXPECT_TRUE(l->isSelected(0));

    // The last entry gone: the hint state again.
    w->state().files.lstFiles[1] << files[3];
    clickRow(l, 0);
    QTest::mouseClick(ctl<QToolButton>("cmdDragDropDel"), Qt::LeftButton);
    expectHintState();
    EXPECT_EQ(ctl<platform::StatusPanels>("StatusBar")->panelText("main"), "0 Files, 0 Directories");
    EXPECT_EQ(ctl<platform::StatusPanels>("StatusBar")->panelText("selected"), "");
    expectIdle();
}

TEST_F(FreeSelectTest, ClearAllEndsInTheHintAndFollowsTheIconCacheSetting)
{
    start();
    showFreeSelect();
    const QStringList entries = {writeFile("a.txt"), makeDir("b")};
    struct Case {
        int cacheIcons;
        bool keeps;
    };
    for (const Case c : {Case{0, false}, Case{1, true}}) {
        SCOPED_TRACE(c.cacheIcons);
        w->listOptions().cacheIcons = c.cacheIcons;
        ASSERT_TRUE(drop(ctl<platform::ListView>("lwDragDrop"), entries));
        ASSERT_EQ(ctl<platform::ListView>("lwDragDrop")->count(), 2);
        // The entries' icons and one more cached since the lists were reset.
        w->state().files.imagelistSysIconsFreeSelect.add("cached", QPixmap(16, 16));
        w->state().files.imagelistSysIconsFreeSelectLarge.add("cached", QPixmap(64, 64));
        const int small = w->state().files.imagelistSysIconsFreeSelect.count();
        const int large = w->state().files.imagelistSysIconsFreeSelectLarge.count();
        ASSERT_GT(small, 3);
        mainTexts.clear();
        QTest::mouseClick(ctl<QToolButton>("cmdDragDropClear"), Qt::LeftButton);
        EXPECT_TRUE(mainTexts.contains("Clearing..."));
        expectHintState();
        // Without the cache only the three default pictures are left.
        EXPECT_EQ(w->state().files.imagelistSysIconsFreeSelect.count(), c.keeps ? small : 3);
        EXPECT_EQ(w->state().files.imagelistSysIconsFreeSelectLarge.count(), c.keeps ? large : 3);
        EXPECT_EQ(ctl<platform::StatusPanels>("StatusBar")->panelText("main"), "0 Files, 0 Directories");
        EXPECT_TRUE(ctl<platform::ListView>("lwDragDrop")->hasFocus());
        EXPECT_FALSE(ctl<QPushButton>("cmdExecute")->isEnabled());
        expectIdle();
    }
}

TEST_F(FreeSelectTest, AddSelectedTakesTheSelectedDirectoryRowsAndKeepsTheMode)
{
    start();
    writeFile("a.txt");
    writeFile("b.txt");
    writeFile("c.txt");
    ctl<QComboBox>("txtPath")->setEditText(work());
    w->readDirectory();
    w->updateFileViews();
    platform::ListView* l = ctl<platform::ListView>("lwDirectory");
    ASSERT_EQ(names(l), (QStringList{"a.txt", "b.txt", "c.txt"}));

    // Nothing selected: every row visited, nothing added.
    mainTexts.clear();
    fs->mnuListviewAdd->trigger();
    EXPECT_EQ(percentTexts(), (QStringList{"Adding Files... 33%", "Adding Files... 67%", "Adding Files... 100%"}));
    expectHintState();

    clickRow(l, 2);
    clickRow(l, 0, Qt::ControlModifier);
    fs->mnuListviewAdd->trigger();
    EXPECT_EQ(w->fileMode(), 0);
    EXPECT_TRUE(l->isVisible());
    EXPECT_EQ(names(ctl<platform::ListView>("lwDragDrop")), (QStringList{"a.txt", "c.txt"})); // row order
    EXPECT_EQ(w->state().files.lstFiles[1], (QStringList{work() + "/a.txt", work() + "/c.txt"}));
    EXPECT_EQ(ctl<platform::StatusPanels>("StatusBar")->panelText("main"),
              "3 Files, 0 Directories"); // the gate of the Directory mode
    EXPECT_EQ(ctl<platform::StatusPanels>("StatusBar")->panelText("selected"), "2 items selected...");
    expectIdle();
}

TEST_F(FreeSelectTest, TheButtonsAndActionsCarryTheirTexts)
{
    start();
    EXPECT_EQ(ctl<QToolButton>("cmdDragDropAdd")->toolTip(), "Add Files");
    EXPECT_EQ(ctl<QToolButton>("cmdDragDropDel")->toolTip(), "Remove Selected");
    EXPECT_EQ(ctl<QToolButton>("cmdDragDropClear")->toolTip(), "Remove All");
    QStringList actions;
    for (QAction* a : fs->actions())
        actions << a->objectName() + "=" + a->text();
    EXPECT_EQ(actions,
              (QStringList{"mnuListviewAdd=Add Selected to Free Select", "mnuDragdropRemove=Remove Selected   (Del)",
                           "mnuDragdropClear=Clear All   (Shift+Del)"}));
    // Shown only in the Free Select mode.
    EXPECT_FALSE(ctl<QToolButton>("cmdDragDropAdd")->isVisible());
    showFreeSelect();
    for (QWidget* b : {static_cast<QWidget*>(ctl<QToolButton>("cmdDragDropAdd")),
                       static_cast<QWidget*>(ctl<QToolButton>("cmdDragDropDel")),
                       static_cast<QWidget*>(ctl<QToolButton>("cmdDragDropClear"))})
        EXPECT_TRUE(b->isVisible() && b->isEnabled()) << b->objectName().toStdString();
}

// The desktop's own font may be bold or italic: entries drawn in it are still
// entries, not the hint row, and the next add keeps them.
TEST_F(FreeSelectTest, ABoldItalicDesktopFontIsNotTakenForTheHintRow)
{
    const QFont saved = QApplication::font();
    QFont desktop = saved;
    desktop.setBold(true);
    desktop.setItalic(true);
    QApplication::setFont(desktop);
    start();
    const QString a = writeFile("a.txt"), b = writeFile("b.txt");
    writeFile("c.txt");
    ctl<QComboBox>("txtPath")->setEditText(work());
    w->readDirectory();
    w->updateFileViews();
    EXPECT_FALSE(ctl<platform::ListView>("lwDirectory")->showsHintRow());
    EXPECT_EQ(ctl<platform::ListView>("lwDirectory")->count(), 3);
    QString pa = a, pb = b;
    fs->dragDropAdd(pa);
    fs->dragDropAdd(pb);
    QApplication::setFont(saved);
    ASSERT_EQ(ctl<platform::ListView>("lwDragDrop")->count(), 2);
    EXPECT_EQ(ctl<platform::ListView>("lwDragDrop")->text(0), "a.txt");
    EXPECT_EQ(ctl<platform::ListView>("lwDragDrop")->text(1), "b.txt");
    EXPECT_FALSE(ctl<platform::ListView>("lwDragDrop")->showsHintRow());
}
