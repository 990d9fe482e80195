#include "execute/frmexecute.h"
#include "listui_fixture.h"

#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

class InPlaceRenameTest : public ListUiTest {
protected:
    // F2 on `row`, then the typed text and Enter.
    void renameRow(platform::ListView* lw, int row, const QString& typed)
    {
        clickRow(lw, row);
        key(lw, Qt::Key_F2);
        QLineEdit* e = editor(lw);
        ASSERT_TRUE(e);
        e->selectAll();
        QTest::keyClicks(e, typed);
        QTest::keyClick(e, Qt::Key_Return);
        QCoreApplication::processEvents();
    }
    bool exists(const QString& relative) const { return QFileInfo::exists(work() + "/" + relative); }
};

TEST_F(InPlaceRenameTest, CaretRestsBeforeTheExtension)
{
    start();
    struct Case {
        const char* name;
        int caret;
        bool allSelected;
    };
    const Case cases[] = {{"photo.jpg", 5, false}, {"archive.tar.gz", 11, false}, {"README", 6, true}};
    for (const Case& c : cases)
        writeFile(c.name);
    listDirectory(work());
    for (const Case& c : cases) {
        const int r = rowOf(ctl<platform::ListView>("lwDirectory"), c.name);
        ASSERT_GE(r, 0) << c.name;
        clickRow(ctl<platform::ListView>("lwDirectory"), r);
        key(ctl<platform::ListView>("lwDirectory"), Qt::Key_F2);
        QLineEdit* e = editor(ctl<platform::ListView>("lwDirectory"));
        ASSERT_TRUE(e) << c.name;
        EXPECT_EQ(e->text(), c.name);
        EXPECT_EQ(e->cursorPosition(), c.caret) << c.name;
        EXPECT_EQ(e->hasSelectedText(), c.allSelected) << c.name;
        if (c.allSelected) {
            EXPECT_EQ(e->selectedText(), c.name);
        }
        EXPECT_FALSE(ctl<platform::ListView>("lwDirectory")->isSelected(r));
        QTest::keyClick(e, Qt::Key_Escape);
        EXPECT_TRUE(QFileInfo::exists(work() + "/" + c.name));
    }
}

TEST_F(InPlaceRenameTest, TypedNamePassesTheMapAndRefusalsChangeNothing)
{
    start();
    writeFile("one.txt", "1");
    writeFile("two.txt", "2");
    writeFile("x.txt");
    writeFile("last.txt");
    listDirectory(work());
    platform::ListView* lw = ctl<platform::ListView>("lwDirectory");

    renameRow(lw, rowOf(lw, "x.txt"), "a/b:c?");
    EXPECT_TRUE(exists("a-b-c"));
    EXPECT_FALSE(exists("x.txt"));
    EXPECT_GE(rowOf(lw, "a-b-c"), 0);
    EXPECT_TRUE(w->state().files.lstFiles[0].contains(work() + "/a-b-c"));
    EXPECT_FALSE(w->state().files.lstFiles[0].contains(work() + "/x.txt"));
    if (QLineEdit* e = editor(lw))
        QTest::keyClick(e, Qt::Key_Escape);

    // The tag is not a tag here: its characters are mapped like any others.
    renameRow(lw, rowOf(lw, "a-b-c"), "x<\\>y");
    EXPECT_TRUE(exists("x[-]y"));
    if (QLineEdit* e = editor(lw))
        QTest::keyClick(e, Qt::Key_Escape);

    // Onto an existing name: refused silently, both files keep name and content.
    renameRow(lw, rowOf(lw, "one.txt"), "two.txt");
    EXPECT_EQ(readText(work() + "/one.txt"), "1");
    EXPECT_EQ(readText(work() + "/two.txt"), "2");
    EXPECT_GE(rowOf(lw, "one.txt"), 0);
    EXPECT_EQ(w->state().preview.labelEditPending, 0);
    EXPECT_TRUE(ui.asked.empty());
    EXPECT_FALSE(QFileInfo::exists(programFolder() + "/errors.txt"));

    // Names that map to nothing, or to the directory or its parent, are refused.
    for (const char* bad : {"???", ".", "..", "   "}) {
        renameRow(lw, rowOf(lw, "one.txt"), QString::fromLatin1(bad));
        EXPECT_TRUE(exists("one.txt")) << bad;
        EXPECT_GE(rowOf(lw, "one.txt"), 0) << bad;
    }
    EXPECT_EQ(QDir(work()).entryList(QDir::Files).size(), 4);
    // Nothing of a run: no activity log line.
    EXPECT_FALSE(QFileInfo::exists(programFolder() + "/log.txt"));
}

TEST_F(InPlaceRenameTest, EnterMovesTheEditToTheNextRow)
{
    start();
    for (const char* n : {"a.txt", "b.txt", "c.txt"})
        writeFile(n);
    listDirectory(work());
    platform::ListView* lw = ctl<platform::ListView>("lwDirectory");
    renameRow(lw, 0, "first.txt");
    EXPECT_TRUE(exists("first.txt"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return editor(lw) != nullptr; }, 2000));
    EXPECT_EQ(lw->currentRow(), 1);
    EXPECT_EQ(editor(lw)->text(), "b.txt");
    EXPECT_EQ(editor(lw)->cursorPosition(), 1);
    QTest::keyClicks(editor(lw), "x");
    QTest::keyClick(editor(lw), Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] { return exists("bx.txt"); }, 2000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return editor(lw) != nullptr; }, 2000));
    EXPECT_EQ(lw->currentRow(), 2);
    // Enter without a change ends the chain.
    QTest::keyClick(editor(lw), Qt::Key_Return);
    QTest::qWait(250);
    EXPECT_FALSE(editor(lw));
    EXPECT_TRUE(exists("c.txt"));
    EXPECT_EQ(names(lw), (QStringList{"first.txt", "bx.txt", "c.txt"}));
}

TEST_F(InPlaceRenameTest, RenamedDirectoryRepathsEntriesBelowItInBothModes)
{
    for (bool subdirs : {true, false}) {
        SCOPED_TRACE(subdirs ? "Subdirectories ticked" : "Subdirectories unticked");
        start();
        const QString old = makeDir("old");
        writeFile("old/x.txt");
        makeDir("older");
        const QString keep = writeFile("older/y.txt");
        ctl<platform::CheckBox>("chkSub")->setValue(subdirs ? 1 : 0);
        ctl<platform::CheckBox>("chkDirs")->setValue(1);
        listDirectory(work());
        addToFreeSelect({old, work() + "/old/x.txt", keep});
        ctl<platform::TabStrip>("TabStripFilemode")->selectKey("dragdrop");
        platform::ListView* fs = ctl<platform::ListView>("lwDragDrop");
        renameRow(fs, rowOf(fs, "old"), "new");
        if (QLineEdit* e = editor(fs))
            QTest::keyClick(e, Qt::Key_Escape);
        EXPECT_TRUE(exists("new/x.txt"));
        const QString now = work() + "/new";
        FileListState& s = w->state().files;
        EXPECT_TRUE(s.lstDirs[1].contains(now));
        EXPECT_TRUE(s.lstFiles[1].contains(now + "/x.txt"));
        EXPECT_TRUE(s.lstFiles[1].contains(keep)) << "a sibling with a longer name keeps its path";
        const int fx = rowOf(fs, "x.txt");
        ASSERT_GE(fx, 0);
        EXPECT_EQ(fs->subItem(fx, 2), now + "/");
        EXPECT_EQ(fs->subItem(rowOf(fs, "y.txt"), 2), work() + "/older/");
        // The directory list: the row of the directory itself, and below it.
        platform::ListView* dl = ctl<platform::ListView>("lwDirectory");
        EXPECT_GE(rowOf(dl, "new"), 0);
        EXPECT_TRUE(s.lstDirs[0].contains(now));
        if (subdirs) {
            EXPECT_TRUE(s.lstFiles[0].contains(now + "/x.txt"));
            EXPECT_EQ(dl->subItem(rowOf(dl, "x.txt"), 2), now + "/");
            EXPECT_EQ(dl->subItem(rowOf(dl, "y.txt"), 2), work() + "/older/");
        }
        for (const QString& p : s.lstFiles[0] + s.lstFiles[1])
            EXPECT_FALSE(p.startsWith(work() + "/old/")) << p.toStdString();
        w->setExited();
        w.reset();
        QDir(now).removeRecursively();
        QDir(work() + "/older").removeRecursively();
    }
}

TEST_F(InPlaceRenameTest, FileListedInBothListsIsRenamedInBoth)
{
    start();
    const QString a = writeFile("a.txt");
    writeFile("b.txt");
    listDirectory(work());
    addToFreeSelect({a});
    renameRow(ctl<platform::ListView>("lwDirectory"), rowOf(ctl<platform::ListView>("lwDirectory"), "a.txt"), "Z.txt");
    if (QLineEdit* e = editor(ctl<platform::ListView>("lwDirectory")))
        QTest::keyClick(e, Qt::Key_Escape);
    EXPECT_EQ(names(ctl<platform::ListView>("lwDragDrop")), QStringList{"Z.txt"});
    EXPECT_EQ(w->state().files.lstFiles[1], QStringList{work() + "/Z.txt"});
    EXPECT_EQ(ui.mousePointer(), 0);
}

TEST_F(InPlaceRenameTest, MenuItemOpensTheEdit)
{
    start();
    writeFile("note.md");
    listDirectory(work());
    clickRow(ctl<platform::ListView>("lwDirectory"), 0);
    menuCommand(ctl<platform::ListView>("lwDirectory"), 0, "mnuListviewRename");
    // The menu's action may be served after the menu has closed.
    QLineEdit* e = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (e = editor(ctl<platform::ListView>("lwDirectory"))) != nullptr; }, 3000));
    EXPECT_EQ(e->cursorPosition(), 4);
    EXPECT_FALSE(ctl<platform::ListView>("lwDirectory")->isSelected(0)) << "the edited row stays unselected";
    QTest::keyClick(e, Qt::Key_Escape);
}

// The working folder itself renamed in place from Free Select: the Directory
// list still shows its entries, and Rename! says the folder is gone.
TEST_F(InPlaceRenameTest, RenameInAWorkingFolderRenamedAwaySaysItIsGone)
{
    start();
    const QString folder = makeDir("w");
    writeFile("w/a1.txt");
    writeFile("w/a2.txt");
    listDirectory(folder);
    ctl<platform::TabStrip>("TabStrip")->selectKey("Replace");
    QTest::mouseClick(ctl<QRadioButton>("optReplaceSingle"), Qt::LeftButton);
    for (const auto& [box, text] : {std::pair{"txtFind", "a"}, std::pair{"txtReplace", "x"}}) {
        auto* edit = ctl<QLineEdit>(box);
        edit->setFocus();
        QTest::keyClicks(edit, text);
    }
    addToFreeSelect({folder});
    ctl<platform::TabStrip>("TabStripFilemode")->selectKey("dragdrop");
    renameRow(ctl<platform::ListView>("lwDragDrop"), rowOf(ctl<platform::ListView>("lwDragDrop"), "w"), "v");
    if (QLineEdit* e = editor(ctl<platform::ListView>("lwDragDrop")))
        QTest::keyClick(e, Qt::Key_Escape);
    ASSERT_TRUE(exists("v/a1.txt"));
    ctl<platform::TabStrip>("TabStripFilemode")->selectKey("listview");
    EXPECT_EQ(names(ctl<platform::ListView>("lwDirectory")), (QStringList{"a1.txt", "a2.txt"}));

    auto* run = ctl<QPushButton>("cmdExecute");
    ASSERT_TRUE(run->isEnabled());
    ui.answers = {QMessageBox::Ok}; // "There were errors during execution!"
    QTest::mouseClick(run, Qt::LeftButton);
    FrmExecute* log = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* f = qobject_cast<FrmExecute*>(top))
            log = f;
    ASSERT_TRUE(log);
    const QString gone =
        "Warning! Could not read the working folder: " + folder + "/ no longer exists. Error 76 (Path not found)";
    EXPECT_TRUE(log->lines().contains(gone)) << log->lines().join("\n").toStdString();
    EXPECT_EQ(log->findChild<QLabel*>("lblInfo_Skipped")->text(), "1 Warnings.");
    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(ui.asked[0].text, "There were errors during execution!");
    const QStringList errors = readLines(programFolder() + "/errors.txt");
    ASSERT_EQ(errors.size(), 1) << errors.join("\n").toStdString();
    EXPECT_TRUE(errors[0].endsWith(") Error 76 (Path not found) readDirectory: " + folder + "/"))
        << errors[0].toStdString();
    EXPECT_TRUE(readText(programFolder() + "/log.txt").contains(gone));
    EXPECT_TRUE(exists("v/a1.txt") && exists("v/a2.txt"));
    log->unload();
}

// A pasted line feed, escape sequence or C1 character never reaches the name on
// disk; a paste of nothing but control characters leaves the entry as it was.
TEST_F(InPlaceRenameTest, PastedControlCharactersNeverReachTheName)
{
    start();
    writeFile("a.txt");
    writeFile("b.txt");
    listDirectory(work());
    auto* lw = ctl<platform::ListView>("lwDirectory");
    const struct {
        const char* row;
        QString pasted;
        const char* expected;
    } cases[] = {
        {"a.txt", QStringLiteral("new\nline\x1b[31m.txt"), "newline[31m.txt"},
        {"b.txt", QStringLiteral("c1") + QChar(0x85) + QChar(0x7F) + QStringLiteral(".txt"), "c1.txt"},
        {"c1.txt", QStringLiteral("\r\n\t"), "c1.txt"},
    };
    for (const auto& c : cases) {
        const int r = rowOf(lw, c.row);
        ASSERT_GE(r, 0) << c.row;
        clickRow(lw, r);
        key(lw, Qt::Key_F2);
        QLineEdit* e = editor(lw);
        ASSERT_TRUE(e) << c.row;
        e->selectAll();
        QGuiApplication::clipboard()->setText(c.pasted);
        QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(e, Qt::Key_Return);
        QCoreApplication::processEvents();
        EXPECT_TRUE(exists(c.expected)) << c.expected;
        EXPECT_GE(rowOf(lw, c.expected), 0) << c.expected;
        if (QLineEdit* open = editor(lw))
            QTest::keyClick(open, Qt::Key_Escape);
    }
    const QStringList names = QDir(work()).entryList(QDir::Files);
    EXPECT_EQ(names, QStringList({"c1.txt", "newline[31m.txt"}));
}

// The list commands are built once at start-up; a box ticked later by a click
// still reaches the window's read and the commands' next use.
TEST_F(InPlaceRenameTest, SubdirectoriesTickedByAClickReachTheReadAndTheRename)
{
    start();
    makeDir("old");
    writeFile("old/x.txt");
    auto* sub = ctl<platform::CheckBox>("chkSub");
    sub->setValue(0);
    ctl<platform::CheckBox>("chkDirs")->setValue(1);
    listDirectory(work());
    FileListState& s = w->state().files;
    ASSERT_FALSE(s.lstFiles[0].contains(work() + "/old/x.txt"));

    QTest::mouseClick(sub, Qt::LeftButton, {}, indicatorPoint(sub));
    ASSERT_EQ(sub->value(), 1);
    EXPECT_TRUE(s.lstFiles[0].contains(work() + "/old/x.txt")) << "the read walked the subdirectory";
    platform::ListView* dl = ctl<platform::ListView>("lwDirectory");
    renameRow(dl, rowOf(dl, "old"), "new");
    ASSERT_TRUE(exists("new/x.txt"));
    EXPECT_TRUE(s.lstFiles[0].contains(work() + "/new/x.txt")) << "the rename followed the ticked box";
    EXPECT_EQ(dl->subItem(rowOf(dl, "x.txt"), 2), work() + "/new/");

    QTest::mouseClick(sub, Qt::LeftButton, {}, indicatorPoint(sub));
    ASSERT_EQ(sub->value(), 0);
    EXPECT_FALSE(s.lstFiles[0].contains(work() + "/new/x.txt")) << "the next read left it out again";
}
