#include "listui_fixture.h"

class ListMenusTest : public ListUiTest {
protected:
    // Name and caption of every item of a menu, separators as "-".
    static QStringList items(QMenu* menu)
    {
        QStringList out;
        for (QAction* a : menu->actions())
            out << a->objectName() + "|" + (a->isSeparator() ? QStringLiteral("-") : a->text());
        return out;
    }
};

TEST_F(ListMenusTest, PopupMenusHoldTheirItemsInOrder)
{
    start();
    ListMenus* m = part<ListMenus>();
    struct Menu {
        QMenu* menu;
        QString caption;
        QStringList items;
    };
    const QString sel = "Select", copy = "Copy to Clipboard";
    const Menu menus[] = {
        {m->mnuPopupListview,
         "popupListview",
         {"mnuListviewOpen|Open", "mnuListviewRename|Manual Rename   (F2)",
          "mnuListviewAdd|Add Selected to Free Select", "mnuSep6|-", "mnuSelect|Select", "sep7|-",
          "copy0|Copy to Clipboard"}},
        {m->mnuPopupDragdrop,
         "popupDragdrop",
         {"mnuDragdropOpen|Open", "mnuDrapDropRename|Manual Rename   (F2)", "mnuSep7|-",
          "mnuDragdropRemove|Remove Selected   (Del)", "mnuDragdropClear|Clear All   (Shift+Del)", "mnuSep3|-",
          "mnuFSSel|Select", "mnuSep15|-", "mnyCopy|Copy to Clipboard"}},
        {m->mnuPopupListview->findChild<QMenu*>("mnuSelect"),
         sel,
         {"mnuSelAll|All   (Ctrl+A)", "mnuSelNone|None", "sep10|-", "mnuSelInvert|Invert", "sep11|-",
          "mnuSelPreview|All with Preview", "mnuSelNoPreview|All without Preview"}},
        {m->mnuPopupDragdrop->findChild<QMenu*>("mnuFSSel"),
         sel,
         {"mnuFsSelAll|All   (Ctrl+A)", "mnuFsSelNone|None", "sep12|-", "mnuFsSelInvert|Invert", "sep13|-",
          "mnuFSSelPreview|All with Preview", "mnuFSSelNoPreview|All without Preview"}},
        {m->mnuPopupListview->findChild<QMenu*>("copy0"),
         copy,
         {"mnuListviewCopy|Filename   (Ctrl+C)", "mnuListviewCopyPreview|Preview",
          "mnuListviewCopyIncPath|Filename incl. Path", "mnuListviewCopyPreviewIncPath|Preview incl. Path",
          "mnuSep12|-", "mnuListviewCopySelFilenames|Selected Filenames", "mnuListviewCopySelPreview|Selected Previews",
          "mnuListviewCopySelFilenamesIncPaths|Selected Filenames incl. Paths",
          "mnuListviewCopySelPreviewsIncPaths|Selected Previews incl. Paths", "mnuSep14|-",
          "mnuListFilenames|All Filenames", "mnuListPreviews|All Previews",
          "mnuListFilenamesIncPaths|All Filenames incl. Paths", "mnuListPreviewsIncPaths|All Previews incl. Paths"}},
        {m->mnuPopupDragdrop->findChild<QMenu*>("mnyCopy"),
         copy,
         {"mnuDragdropCopy|Filename   (Ctrl+C)", "mnuDragdropCopyPreview|Preview",
          "mnuDragdropCopyIncPath|Filename incl. Path", "mnuDragdropCopyPreviewIncPath|Preview incl. Path",
          "mnuSep10|-", "mnuFSCopySelFilenames|Selected Filenames", "mnuFSCopySelPreviews|Selected Previews",
          "mnuFSCopySelFilenamesIncPaths|Selected Filenames incl. Paths",
          "mnuFSCopySelPreviewsIncPaths|Selected Previews incl. Paths", "mnuSep11|-",
          "mnuFSListFilenames|All Filenames", "mnuFSListPreviews|All Previews",
          "mnuFSListFilenamesIncPaths|All Filenames incl. Paths",
          "mnuFSListPreviewsIncPaths|All Previews incl. Paths"}},
    };
    for (const Menu& menu : menus) {
        ASSERT_TRUE(menu.menu) << menu.caption.toStdString();
        EXPECT_EQ(menu.menu->title(), menu.caption);
        EXPECT_EQ(items(menu.menu), menu.items) << menu.caption.toStdString();
        for (QAction* a : menu.menu->actions()) {
            EXPECT_TRUE(a->isEnabled());
            EXPECT_TRUE(a->isVisible());
            EXPECT_FALSE(a->isChecked());
            EXPECT_TRUE(a->shortcut().isEmpty());
        }
    }
    EXPECT_EQ(m->mnuPopupListview->defaultAction(), m->mnuListviewOpen);
    EXPECT_EQ(m->mnuPopupDragdrop->defaultAction(), m->mnuDragdropOpen);
}

TEST_F(ListMenusTest, CopyCommandsWriteTheirLines)
{
    start();
    ctl<platform::CheckBox>("chkPreview")->setValue(0); // the previews are the test's own
    writeFile("a.txt");
    writeFile("b.txt");
    writeFile("c.txt");
    listDirectory(work());
    platform::ListView* lw = ctl<platform::ListView>("lwDirectory");
    lw->setSubItem(1, 1, "B.TXT"); // a preview on one row
    const QString d = work() + "/";
    clickRow(lw, 0);
    clickRow(lw, 2, Qt::ControlModifier);
    struct Case {
        const char* item;
        QString expected;
    };
    const Case cases[] = {
        {"mnuListFilenames", "a.txt\nb.txt\nc.txt\n"},
        {"mnuListPreviews", "B.TXT\n"},
        {"mnuListFilenamesIncPaths", d + "a.txt\n" + d + "b.txt\n" + d + "c.txt\n"},
        {"mnuListPreviewsIncPaths", d + "B.TXT\n"},
        {"mnuListviewCopySelFilenames", "a.txt\nc.txt\n"},
        {"mnuListviewCopySelPreview", "\n\n"},
        {"mnuListviewCopySelFilenamesIncPaths", d + "a.txt\n" + d + "c.txt\n"},
        {"mnuListviewCopySelPreviewsIncPaths", d + "\n" + d + "\n"},
    };
    for (const Case& c : cases) {
        QGuiApplication::clipboard()->setText("old");
        menuCommand(lw, -1, c.item, "copy0", Qt::ControlModifier);
        EXPECT_EQ(clip(), c.expected) << c.item;
        EXPECT_TRUE(w->isEnabled());
        EXPECT_EQ(ui.mousePointer(), 0);
    }
}

TEST_F(ListMenusTest, CurrentRowCopiesHaveNoLineEnd)
{
    start();
    ctl<platform::CheckBox>("chkPreview")->setValue(0);
    const QString a = writeFile("a.txt");
    writeFile("b.txt");
    listDirectory(work());
    platform::ListView* lw = ctl<platform::ListView>("lwDirectory");
    lw->setSubItem(0, 1, "A.TXT");
    const struct {
        const char* item;
        QString expected;
    } cases[] = {{"mnuListviewCopy", "a.txt"},
                 {"mnuListviewCopyPreview", "A.TXT"},
                 {"mnuListviewCopyIncPath", a},
                 {"mnuListviewCopyPreviewIncPath", work() + "/A.TXT"}};
    for (const auto& c : cases) {
        menuCommand(lw, 0, c.item, "copy0");
        EXPECT_EQ(clip(), c.expected) << c.item;
    }
    // An unchanged row's preview is empty text.
    menuCommand(lw, 1, "mnuListviewCopyPreview", "copy0");
    EXPECT_EQ(clip(), "");
}

TEST_F(ListMenusTest, SelectCommandsSetEveryRowAndCount)
{
    start();
    ctl<platform::CheckBox>("chkPreview")->setValue(0);
    for (const char* n : {"a.txt", "b.txt", "c.txt", "d.txt"})
        writeFile(n);
    listDirectory(work());
    platform::ListView* lw = ctl<platform::ListView>("lwDirectory");
    auto selected = [&] {
        QList<int> rows;
        for (int r = 0; r < lw->count(); ++r)
            if (lw->isSelected(r))
                rows << r;
        return rows;
    };
    clickRow(lw, 0);
    clickRow(lw, 2, Qt::ControlModifier);
    ASSERT_EQ(selected(), (QList<int>{0, 2}));
    // With Ctrl held, the right click on empty space keeps the selection.
    menuCommand(lw, -1, "mnuSelInvert", "mnuSelect", Qt::ControlModifier);
    EXPECT_EQ(selected(), (QList<int>{1, 3}));
    EXPECT_EQ(ctl<platform::StatusPanels>("StatusBar")->panelText("selected"), "2 items selected...");
    menuCommand(lw, -1, "mnuSelInvert", "mnuSelect", Qt::ControlModifier);
    EXPECT_EQ(selected(), (QList<int>{0, 2}));
    // A right click on a row selects that row alone before the menu shows.
    menuCommand(lw, 1, "mnuSelInvert", "mnuSelect");
    EXPECT_EQ(selected(), (QList<int>{0, 2, 3}));
    EXPECT_TRUE(w->isEnabled());
    EXPECT_EQ(ui.mousePointer(), 0);

    lw->setSubItem(1, 1, "B.TXT");
    menuCommand(lw, 3, "mnuSelPreview", "mnuSelect");
    EXPECT_EQ(selected(), (QList<int>{1}));
    menuCommand(lw, 3, "mnuSelNoPreview", "mnuSelect");
    EXPECT_EQ(selected(), (QList<int>{0, 2, 3}));
    EXPECT_EQ(ctl<platform::StatusPanels>("StatusBar")->panelText("selected"), "3 items selected...");
    menuCommand(lw, 3, "mnuSelAll", "mnuSelect");
    EXPECT_EQ(selected().size(), 4);
    menuCommand(lw, 3, "mnuSelNone", "mnuSelect");
    EXPECT_TRUE(selected().isEmpty());
    // A right click on empty space without a modifier clears the selection after the menu.
    menuCommand(lw, 3, "mnuSelAll", "mnuSelect");
    menuCommand(lw, -1, "mnuListviewCopySelFilenames", "copy0");
    EXPECT_EQ(clip(), "a.txt\nb.txt\nc.txt\nd.txt\n");
    EXPECT_TRUE(selected().isEmpty());
    EXPECT_EQ(ctl<platform::StatusPanels>("StatusBar")->panelText("selected"), "0 items selected...");
}

TEST_F(ListMenusTest, FreeSelectHintRowIsAnOrdinaryRowToTheCommands)
{
    start();
    ctl<platform::TabStrip>("TabStripFilemode")->selectKey("dragdrop");
    platform::ListView* lw = ctl<platform::ListView>("lwDragDrop");
    menuCommand(lw, 0, "mnuFSListFilenames", "mnyCopy");
    EXPECT_EQ(clip(), "Drop files here...\n");
    menuCommand(lw, 0, "mnuFSListPreviews", "mnyCopy");
    EXPECT_EQ(clip(), "");
    menuCommand(lw, 0, "mnuFsSelAll", "mnuFSSel");
    EXPECT_TRUE(lw->isSelected(0));
    EXPECT_EQ(ctl<platform::StatusPanels>("StatusBar")->panelText("selected"), "");
}

TEST_F(ListMenusTest, MenuCommandsGiveTheKeyboardFocusBackToTheList)
{
    waitActive = true;
    start();
    ctl<platform::CheckBox>("chkPreview")->setValue(0);
    for (const char* n : {"a.txt", "b.txt", "c.txt", "d.txt"})
        writeFile(n);
    listDirectory(work());
    auto* lw = ctl<platform::ListView>("lwDirectory");
    clickRow(lw, 0);
    ASSERT_EQ(QApplication::focusWidget(), view(lw));
    // The keys go where the focus is, as a user's keys do.
    auto press = [](int k, Qt::KeyboardModifiers mods = {}) {
        QWidget* f = QApplication::focusWidget();
        ASSERT_NE(f, nullptr);
        QTest::keyClick(f, Qt::Key(k), mods);
    };
    const struct {
        const char* item;
        const char* submenu;
    } commands[] = {{"mnuSelInvert", "mnuSelect"},
                    {"mnuListFilenames", "copy0"},
                    {"mnuListviewCopySelFilenames", "copy0"},
                    {"mnuListviewAdd", nullptr}};
    for (const auto& c : commands) {
        menuCommand(lw, 1, c.item, c.submenu ? QString::fromLatin1(c.submenu) : QString());
        // Adding to Free Select yields while it works: the activation and with
        // it the focus may come back through the event queue.
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == view(lw); }, 3000)) << c.item;
        press(Qt::Key_Down);
        EXPECT_EQ(lw->currentRow(), 2) << c.item;
    }
    // Ctrl+A runs under the disabled window too; the next key still reaches the list.
    press(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(lw->selectedCount(), 4);
    EXPECT_EQ(QApplication::focusWidget(), view(lw));
    press(Qt::Key_Up);
    EXPECT_EQ(lw->currentRow(), 1);

    // Free Select: Select > All, then Del removes every row.
    clickButton(ctl<platform::TabStrip>("TabStripFilemode")->tabButton(1));
    auto* fs = ctl<platform::ListView>("lwDragDrop");
    toFreeSelect({"a.txt", "b.txt", "c.txt"});
    clickRow(fs, 0);
    menuCommand(fs, 0, "mnuFsSelAll", "mnuFSSel");
    EXPECT_EQ(QApplication::focusWidget(), view(fs));
    press(Qt::Key_Delete);
    EXPECT_TRUE(fs->showsHintRow());
}
