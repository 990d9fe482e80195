#include "filelist/fileviews.h"
#include "filelist/readdirectory.h"
#include "listui/navigation.h"
#include "listui/treecommands.h"
#include "mainwindow/frmmain.h"
#include "mainwindow_fixture.h"
#include "test_support.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QSignalSpy>
#include <QTest>

namespace {

// A scripted service that remembers the folder each folder dialog opened with.
class FolderUi : public ScriptedUi {
public:
    QStringList folderStarts;
    QString folder(QWidget* parent, const QString& title, const QString& dir) override
    {
        folderStarts.push_back(dir);
        return ScriptedUi::folder(parent, title, dir);
    }
};

} // namespace

class NavigationTest : public MainWindowFixture<FolderUi> {
protected:
    std::unique_ptr<QSignalSpy> reads;

    void start()
    {
        MainWindowFixture::start();
        reads = std::make_unique<QSignalSpy>(part<Navigation>(), &Navigation::readDirectoryWanted);
    }
    void TearDown() override
    {
        reads.reset();
        MainWindowFixture::TearDown();
    }
    QString dir(const QString& relative = {}) const
    {
        return relative.isEmpty() ? work() + "/" : work() + "/" + relative + "/";
    }
    // Clicks into the path box, types over its text and presses Enter.
    void typePath(const QString& text, bool enter = true)
    {
        QLineEdit* edit = ctl<QComboBox>("txtPath")->lineEdit();
        QTest::mouseClick(edit, Qt::LeftButton);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        if (text.isEmpty())
            QTest::keyClick(ctl<QComboBox>("txtPath"), Qt::Key_Delete);
        else
            QTest::keyClicks(ctl<QComboBox>("txtPath"), text);
        if (enter)
            QTest::keyClick(ctl<QComboBox>("txtPath"), Qt::Key_Return);
    }
    void goTo(const QString& path)
    {
        typePath(path);
        ASSERT_EQ(w->state().files.listedDirectory, path);
        reads->clear();
    }
    QStringList rowNames() const
    {
        QStringList names;
        for (int i = 0; i < ctl<platform::ListView>("lwDirectory")->count(); ++i)
            names << ctl<platform::ListView>("lwDirectory")->text(i);
        return names;
    }
    bool pathSelectedWhole() const
    {
        const QLineEdit* e = ctl<QComboBox>("txtPath")->lineEdit();
        return e->selectionStart() == 0 && e->selectedText() == e->text();
    }
    QColor pathColour() const { return ctl<QComboBox>("txtPath")->lineEdit()->palette().color(QPalette::Text); }
    QString errors() const { return readText(programFolder() + "/errors.txt"); }
};

TEST(ParentPath, SkipsTrailingSlashAndStopsAtTheRoot)
{
    const struct {
        const char* path;
        const char* parent;
    } cases[] = {
        {"/a/b/", "/a/"}, {"/a/b", "/a/"}, {"/a/", "/"}, {"/a", "/"}, {"/", ""}, {"", ""}, {"a/b/", "a/"}, {"ab", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parentPath(QString::fromUtf8(c.path)), QString::fromUtf8(c.parent)) << c.path;
}

TEST_F(NavigationTest, TypedDirectoryAndEnterReadsItOnceWithTrailingSlash)
{
    writeFile("sub/inner.txt");
    writeFile("top.txt");
    start();
    goTo(dir());
    typePath(work() + "/sub");
    EXPECT_EQ(reads->count(), 1);
    EXPECT_EQ(ctl<QComboBox>("txtPath")->currentText(), dir("sub"));
    EXPECT_EQ(w->state().files.listedDirectory, dir("sub"));
    EXPECT_EQ(rowNames(), QStringList{"inner.txt"});
    EXPECT_TRUE(pathSelectedWhole());
    EXPECT_EQ(pathColour(), QColor(0, 0, 0));
    // Enter again, and leaving the box unchanged, read nothing.
    QTest::keyClick(ctl<QComboBox>("txtPath"), Qt::Key_Return);
    ctl<platform::ListView>("lwDirectory")->reportView()->setFocus();
    EXPECT_EQ(reads->count(), 1);
    // The history got the read path only, never a typed text by itself.
    EXPECT_EQ(ctl<QComboBox>("txtPath")->itemText(0), dir("sub"));
    EXPECT_EQ(ctl<QComboBox>("txtPath")->findText(work() + "/sub"), -1);
}

TEST_F(NavigationTest, MissingPathTurnsRedAndChangesNothing)
{
    writeFile("a.txt");
    start();
    goTo(dir());
    typePath(work() + "/nothing", false);
    EXPECT_EQ(pathColour(), QColor(255, 0, 0));
    QTest::keyClick(ctl<QComboBox>("txtPath"), Qt::Key_Return);
    EXPECT_EQ(reads->count(), 0);
    EXPECT_EQ(ctl<QComboBox>("txtPath")->currentText(), work() + "/nothing/");
    EXPECT_EQ(pathColour(), QColor(255, 0, 0));
    EXPECT_EQ(w->state().files.listedDirectory, dir());
    EXPECT_EQ(rowNames(), QStringList{"a.txt"});
    // Leaving the box does not try again; a real folder typed next is black again.
    ctl<platform::ListView>("lwDirectory")->reportView()->setFocus();
    EXPECT_EQ(reads->count(), 0);
    typePath(work(), false);
    EXPECT_EQ(pathColour(), QColor(0, 0, 0));
    EXPECT_TRUE(errors().isEmpty());
}

TEST_F(NavigationTest, EmptiedPathBoxShowsTheRequestForADirectory)
{
    writeFile("a.txt");
    start();
    goTo(dir());
    typePath(QString(), false);
    QTest::keyClick(ctl<QComboBox>("txtPath"), Qt::Key_Tab); // leaving the box
    EXPECT_EQ(reads->count(), 1);
    EXPECT_EQ(ctl<QComboBox>("txtPath")->currentText(), "");
    EXPECT_EQ(rowNames(), QStringList{kChooseDirectoryHint});
    EXPECT_TRUE(w->state().files.lstFiles[0].isEmpty());
}

TEST_F(NavigationTest, PatternChangeReadsAgainAndAnEmptyPatternBecomesAll)
{
    writeFile("a.txt");
    writeFile("b.jpg");
    start();
    goTo(dir());
    QTest::mouseClick(ctl<platform::TextBox>("txtPattern"), Qt::LeftButton);
    QTest::keyClick(ctl<platform::TextBox>("txtPattern"), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(ctl<platform::TextBox>("txtPattern"), "*.txt");
    QTest::keyClick(ctl<platform::TextBox>("txtPattern"), Qt::Key_Return);
    EXPECT_EQ(reads->count(), 1);
    EXPECT_EQ(rowNames(), QStringList{"a.txt"});
    EXPECT_TRUE(ctl<platform::TextBox>("txtPattern")->hasFocus()); // Enter is swallowed, the focus stays
    // Leaving without a change reads nothing.
    QTest::keyClick(ctl<platform::TextBox>("txtPattern"), Qt::Key_Tab);
    EXPECT_EQ(reads->count(), 1);
    // Emptied and left: "*.*" and a new read.
    QTest::mouseClick(ctl<platform::TextBox>("txtPattern"), Qt::LeftButton);
    QTest::keyClick(ctl<platform::TextBox>("txtPattern"), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(ctl<platform::TextBox>("txtPattern"), Qt::Key_Delete);
    QTest::keyClick(ctl<platform::TextBox>("txtPattern"), Qt::Key_Tab);
    EXPECT_EQ(ctl<platform::TextBox>("txtPattern")->text(), "*.*");
    EXPECT_EQ(reads->count(), 2);
    EXPECT_EQ(rowNames(), (QStringList{"a.txt", "b.jpg"}));
}

TEST_F(NavigationTest, ParentButtonGoesUpAndPutsTheFocusIntoThePathBox)
{
    makeDir("a/b");
    start();
    goTo(dir("a/b"));
    ctl<platform::ListView>("lwDirectory")->reportView()->setFocus();
    w->state().preview.previewRequested = -1;
    QTest::mouseClick(ctl<QToolButton>("cmdParentDir"), Qt::LeftButton);
    EXPECT_EQ(ctl<QComboBox>("txtPath")->currentText(), dir("a"));
    EXPECT_EQ(w->state().files.listedDirectory, dir("a"));
    EXPECT_EQ(reads->count(), 1);
    EXPECT_TRUE(ctl<QComboBox>("txtPath")->hasFocus());
    EXPECT_TRUE(pathSelectedWhole());
    // A path typed without its trailing "/" has the same parent.
    typePath(work() + "/a/b");
    reads->clear();
    QTest::mouseClick(ctl<QToolButton>("cmdParentDir"), Qt::LeftButton);
    EXPECT_EQ(ctl<QComboBox>("txtPath")->currentText(), dir("a"));
    EXPECT_EQ(reads->count(), 1);
}

TEST_F(NavigationTest, ParentOfAFolderBelowTheRootIsTheRootWhichHasNone)
{
    start();
    goTo(QDir::tempPath() + "/");
    ASSERT_EQ(parentPath(QDir::tempPath() + "/"), "/");
    QTest::mouseClick(ctl<QToolButton>("cmdParentDir"), Qt::LeftButton);
    EXPECT_EQ(ctl<QComboBox>("txtPath")->currentText(), "/");
    EXPECT_EQ(reads->count(), 1);
    reads->clear();
    w->state().preview.previewRequested = -1;
    QTest::mouseClick(ctl<QToolButton>("cmdParentDir"), Qt::LeftButton);
    EXPECT_EQ(ctl<QComboBox>("txtPath")->currentText(), "/");
    EXPECT_EQ(reads->count(), 0);
    EXPECT_EQ(w->state().preview.previewRequested, 0); // only the preview stopped
    EXPECT_TRUE(errors().isEmpty());
    // The root's content is hidden and its path red; the next folder is black again.
    EXPECT_EQ(pathColour(), QColor(255, 0, 0));
    goTo(dir());
    EXPECT_EQ(pathColour(), QColor(0, 0, 0));
}

TEST_F(NavigationTest, ParentThatVanishedIsOneErrorLine)
{
    makeDir("a/b");
    start();
    goTo(dir("a/b"));
    ASSERT_TRUE(QDir(work() + "/a").removeRecursively());
    QTest::mouseClick(ctl<QToolButton>("cmdParentDir"), Qt::LeftButton);
    EXPECT_EQ(ctl<QComboBox>("txtPath")->currentText(), dir("a/b"));
    EXPECT_EQ(reads->count(), 0);
    const QStringList lines = readLines(programFolder() + "/errors.txt");
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].endsWith(") Error 53 (File not found) cmdParentDir")) << lines[0].toStdString();
}

TEST_F(NavigationTest, F12InFreeSelectSwitchesToTheDirectoryListAndReads)
{
    writeFile("a.txt");
    start();
    goTo(dir());
    QTest::mouseClick(ctl<platform::TabStrip>("TabStripFilemode")
                          ->tabButton(ctl<platform::TabStrip>("TabStripFilemode")->indexOfKey("dragdrop")),
                      Qt::LeftButton);
    ASSERT_EQ(w->fileMode(), 1);
    writeFile("new.txt");
    QTest::keyClick(w.get(), Qt::Key_F12);
    EXPECT_EQ(ctl<platform::TabStrip>("TabStripFilemode")->selectedKey(), "listview");
    EXPECT_EQ(w->fileMode(), 0);
    EXPECT_EQ(reads->count(), 1);
    EXPECT_EQ(rowNames(), (QStringList{"a.txt", "new.txt"}));
    EXPECT_TRUE(ctl<QComboBox>("txtPath")->hasFocus());
    // The refresh button reads again although nothing changed.
    QTest::mouseClick(ctl<QToolButton>("cmdRefresh"), Qt::LeftButton);
    EXPECT_EQ(reads->count(), 2);
}

TEST_F(NavigationTest, HistoryChoiceNavigatesAtOnceAndSelectsTheText)
{
    makeDir("one");
    writeFile("two/t.txt");
    start();
    goTo(dir("one"));
    goTo(dir("two"));
    ASSERT_EQ(ctl<QComboBox>("txtPath")->itemText(1), dir("one"));
    QComboBox* box = ctl<QComboBox>("txtPath");
    QTest::mouseClick(box->lineEdit(), Qt::LeftButton);
    box->showPopup();
    QAbstractItemView* view = box->view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));
    const QRect item = view->visualRect(view->model()->index(1, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->state().files.listedDirectory == dir("one"); }, 2000));
    EXPECT_EQ(reads->count(), 1);
    EXPECT_EQ(box->currentText(), dir("one"));
    EXPECT_TRUE(pathSelectedWhole());
    EXPECT_EQ(box->itemText(0), dir("one"));
    EXPECT_EQ(box->count(), 2);
}

TEST_F(NavigationTest, FolderDialogReadsOnlyAnotherFolder)
{
    makeDir("other");
    writeFile("other/o.txt");
    start();
    goTo(dir());
    // Cancel and the same folder read nothing; the focus goes to the path box.
    ui.folderAnswers = {QString(), work()};
    for (int i = 0; i < 2; ++i) {
        ctl<platform::ListView>("lwDirectory")->reportView()->setFocus();
        QTest::mouseClick(ctl<QToolButton>("cmdShowDirReq"), Qt::LeftButton);
        EXPECT_EQ(reads->count(), 0);
        EXPECT_TRUE(ctl<QComboBox>("txtPath")->hasFocus());
    }
    EXPECT_EQ(ui.folderStarts, (QStringList{work(), work()}));
    ASSERT_FALSE(ui.asked.empty());
    EXPECT_EQ(ui.asked.back().title, "Choose Working Directory:");
    // Another folder, chosen while Free Select is shown (the button is hidden
    // there, so the command is called): the Directory mode reads it.
    QTest::mouseClick(ctl<platform::TabStrip>("TabStripFilemode")
                          ->tabButton(ctl<platform::TabStrip>("TabStripFilemode")->indexOfKey("dragdrop")),
                      Qt::LeftButton);
    ui.folderAnswers = {work() + "/other"};
    part<Navigation>()->cmdShowDirReq_Click();
    EXPECT_EQ(reads->count(), 1);
    EXPECT_EQ(w->fileMode(), 0);
    EXPECT_EQ(ctl<QComboBox>("txtPath")->currentText(), dir("other"));
    EXPECT_EQ(rowNames(), QStringList{"o.txt"});
    // The root stays "/" as the start folder.
    typePath("/");
    ui.folderAnswers = {QString()};
    part<Navigation>()->cmdShowDirReq_Click();
    EXPECT_EQ(ui.folderStarts.back(), "/");
}

// ------------------------------------------------------------------ the tree

class TreeTest : public NavigationTest {
protected:
    QTreeWidget* tree = nullptr;

    void startWithTree()
    {
        makeDir("a/x");
        makeDir("ab");
        writeFile("ab/y.txt");
        writeFile("a/x/deep.txt");
        writeFile("f.txt");
        start();
        w->listOptions().enableTreeview = 1;
        ctl<platform::CheckBox>("chkDirs")->setValue(1);
        ctl<platform::CheckBox>("chkSub")->setValue(1);
        ctl<platform::CheckBox>("chkShowTreeview")->setValue(1);
        tree = ctl<QTreeWidget>("TreeView");
        goTo(dir());
        ASSERT_TRUE(tree->isVisible());
        ASSERT_GT(tree->topLevelItemCount(), 0);
    }
    QTreeWidgetItem* node(const QString& fullPath) const
    {
        QTreeWidgetItem* n = findNode(tree, "NODE" + fullPath);
        if (!n && fullPath == "[..]")
            n = findNode(tree, "ROOT");
        return n;
    }
    QPoint at(QTreeWidgetItem* n) const { return tree->visualItemRect(n).center(); }
    // A double-click as the mouse gives it: a click, then the second press.
    void doubleClick(QTreeWidgetItem* n)
    {
        const QPoint p = at(n);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, p);
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, p);
    }
    // Right-clicks the node and clicks the menu entry; false when it is disabled.
    bool menuCommand(QTreeWidgetItem* n, QAction* action)
    {
        QTest::mouseClick(tree->viewport(), Qt::RightButton, {}, at(n));
        QMenu* menu = part<TreeCommands>()->mnuPopupTreeview;
        if (!QTest::qWaitForWindowExposed(menu))
            return false;
        const bool enabled = action->isEnabled();
        if (enabled)
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
        else
            menu->close();
        return enabled;
    }
};

TEST_F(TreeTest, DoubleClickOpensADirectoryAndNotAFile)
{
    startWithTree();
    ASSERT_TRUE(node("[..]"));
    ASSERT_TRUE(node("a")) << tree->topLevelItemCount();
    w->state().preview.previewRequested = -1;
    doubleClick(node("f.txt"));
    EXPECT_EQ(reads->count(), 0);
    EXPECT_EQ(w->state().preview.previewRequested, 0); // a file stops the preview only
    doubleClick(node("a"));
    EXPECT_EQ(reads->count(), 1);
    EXPECT_EQ(ctl<QComboBox>("txtPath")->currentText(), dir("a"));
    ASSERT_TRUE(tree->currentItem());
    EXPECT_EQ(tree->currentItem()->text(0), "[..]");
    EXPECT_TRUE(node("x"));
}

TEST_F(TreeTest, ParentNodeWaitsOneSecondAfterAToggle)
{
    startWithTree();
    doubleClick(node("a"));
    reads->clear();
    // Expand "x" with the keyboard, then click "[..]" and double-click it at once.
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at(node("x")));
    QTest::keyClick(tree, Qt::Key_Right);
    ASSERT_TRUE(node("x")->isExpanded());
    ASSERT_TRUE(part<TreeCommands>()->lastTreeToggleTime);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at(node("[..]")));
    ui.clock = ui.clock.addMSecs(999);
    doubleClick(node("[..]"));
    EXPECT_EQ(reads->count(), 0);
    EXPECT_EQ(ctl<QComboBox>("txtPath")->currentText(), dir("a"));
    ui.clock = ui.clock.addMSecs(1);
    doubleClick(node("[..]"));
    EXPECT_EQ(reads->count(), 1);
    EXPECT_EQ(ctl<QComboBox>("txtPath")->currentText(), dir());
}

TEST_F(TreeTest, EnterOpensAndBackspaceGoesUpWithTheFocusKept)
{
    startWithTree();
    tree->setFocus();
    tree->setCurrentItem(node("a"));
    QTest::keyClick(tree, Qt::Key_Return);
    EXPECT_EQ(ctl<QComboBox>("txtPath")->currentText(), dir("a"));
    EXPECT_EQ(tree->currentItem()->text(0), "[..]");
    QTest::keyClick(tree, Qt::Key_Backspace);
    EXPECT_EQ(ctl<QComboBox>("txtPath")->currentText(), dir());
    EXPECT_EQ(reads->count(), 2);
    EXPECT_TRUE(tree->hasFocus());
    EXPECT_EQ(part<Navigation>()->parentDirByKey, 0);
}

TEST_F(TreeTest, OpeningAVanishedDirectoryIsOneErrorLine)
{
    startWithTree();
    ASSERT_TRUE(QDir(work() + "/ab").removeRecursively());
    doubleClick(node("ab"));
    EXPECT_EQ(reads->count(), 0);
    const QStringList lines = readLines(programFolder() + "/errors.txt");
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral(") Error 53 (File not found) TreeView_DblClick: NEWDIR=") + work() +
                                  "/ab OLDDIR=" + dir()))
        << lines[0].toStdString();
}

TEST_F(TreeTest, AddDirectoryContentsAddsWhatLiesBelowTheNodeOnly)
{
    startWithTree();
    EXPECT_FALSE(menuCommand(node("f.txt"), part<TreeCommands>()->mnuTreeviewAddRecursive));
    EXPECT_FALSE(menuCommand(node("[..]"), part<TreeCommands>()->mnuTreeviewAddRecursive));
    ASSERT_TRUE(menuCommand(node("a"), part<TreeCommands>()->mnuTreeviewAddRecursive));
    const FileListState& s = w->state().files;
    EXPECT_EQ(s.lstDirs[1], QStringList{work() + "/a/x"});
    EXPECT_EQ(s.lstFiles[1], QStringList{work() + "/a/x/deep.txt"});
    EXPECT_TRUE(w->isEnabled());
    EXPECT_EQ(ctl<platform::StatusPanels>("StatusBar")->panelText("main"), "Adding Files...");
    EXPECT_EQ(w->fileMode(), 0); // the file mode stays
}

TEST_F(TreeTest, EscapeStopsAddingDirectoryContentsAndKeepsWhatWasAdded)
{
    startWithTree();
    ui.onEscapeRead = [this] { ui.latchEscape(); };
    ASSERT_TRUE(menuCommand(node("a"), part<TreeCommands>()->mnuTreeviewAddRecursive));
    const FileListState& s = w->state().files;
    EXPECT_EQ(s.lstDirs[1].size() + s.lstFiles[1].size(), 1);
    EXPECT_TRUE(w->isEnabled());
    EXPECT_EQ(ui.mousePointer(), 0);
}

TEST_F(TreeTest, AddToFreeSelectAndCopyFilename)
{
    startWithTree();
    ASSERT_TRUE(menuCommand(node("[..]"), part<TreeCommands>()->mnuTreeviewAdd));
    EXPECT_TRUE(w->state().files.lstDirs[1].isEmpty());
    EXPECT_TRUE(w->state().files.lstFiles[1].isEmpty());
    ASSERT_TRUE(menuCommand(node("f.txt"), part<TreeCommands>()->mnuTreeviewAdd));
    EXPECT_EQ(w->state().files.lstFiles[1], QStringList{work() + "/f.txt"});
    ASSERT_TRUE(menuCommand(node("ab"), part<TreeCommands>()->mnuTreeviewAdd));
    EXPECT_EQ(w->state().files.lstDirs[1], QStringList{work() + "/ab"});
    ASSERT_TRUE(menuCommand(node("f.txt"), part<TreeCommands>()->mnuTreeviewCopy));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "f.txt");
    ASSERT_TRUE(menuCommand(node("[..]"), part<TreeCommands>()->mnuTreeviewCopy));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "[..]");
}
