#include "filelist_fixture.h"

#include "platform/failure.h"

class SelectionTest : public FileListTest {
protected:
    void SetUp() override
    {
        FileListTest::SetUp();
        for (int i = 0; i < 10; ++i)
            writeFile(QString("f%1.txt").arg(i), QByteArray(i * 100, 'x'));
        readAndShow(dir());
        ASSERT_EQ(lwDirectory->count(), 10);
        gateRuns = 0;
    }
    void select(int n)
    {
        lwDirectory->selectionModel()->clearSelection();
        for (int i = 0; i < n; ++i)
            lwDirectory->setSelected(i, true);
    }
};

TEST_F(SelectionTest, CountTexts)
{
    select(1);
    updateSelectionCount(host, 0);
    EXPECT_EQ(panel("selected"), "1 item selected...");
    select(7);
    updateSelectionCount(host, 0);
    EXPECT_EQ(panel("selected"), "7 items selected...");
    EXPECT_EQ(files.selectedCount, 7);
    select(0);
    updateSelectionCount(host, 0);
    EXPECT_EQ(panel("selected"), "0 items selected...");
}

TEST_F(SelectionTest, OnlySelectedRule)
{
    struct Case {
        int ticked;
        bool allWhenNone;
        int selected;
        qint16 active;
    };
    const Case cases[] = {
        {0, true, 3, 0}, {1, true, 3, -1}, {1, true, 0, 0}, {1, false, 0, -1}, {0, false, 0, 0},
    };
    for (const Case& c : cases) {
        files.selectedCount = 0; // no drop from a selection in these cases
        chkOnlyRenameSelected->setValue(c.ticked);
        options.enableRenameAllIfNoneSelected = c.allWhenNone;
        select(c.selected);
        gateRuns = 0;
        updateSelectionCount(host, 0);
        EXPECT_EQ(files.onlySelectedActive, c.active) << c.ticked << c.allWhenNone << c.selected;
        EXPECT_EQ(gateRuns, c.active == -1 ? 1 : 0);
    }
}

TEST_F(SelectionTest, DroppingToNoneRunsTheGateWhenThatMeansAllRows)
{
    chkOnlyRenameSelected->setValue(1);
    select(2);
    updateSelectionCount(host, 0);
    EXPECT_EQ(files.onlySelectedActive, -1);
    EXPECT_EQ(gateRuns, 1);
    select(0);
    updateSelectionCount(host, 0);
    EXPECT_EQ(files.onlySelectedActive, 0);
    EXPECT_EQ(gateRuns, 2) << "the preview must widen to all rows";
    updateSelectionCount(host, 0);
    EXPECT_EQ(gateRuns, 2) << "nothing changed";
}

TEST_F(SelectionTest, EmptyPathListsOnlyEmptyThePanel)
{
    select(3);
    updateSelectionCount(host, 0);
    files.lstFiles[0].clear();
    files.lstDirs[0].clear();
    updateSelectionCount(host, 0);
    EXPECT_EQ(panel("selected"), "");
    EXPECT_EQ(files.selectedCount, 3);
}

TEST_F(SelectionTest, TheHourglassDefersTheCountUnlessForced)
{
    select(2);
    files.selectionCountPending = -1;
    ui.setMousePointer(11);
    updateSelectionCount(host, 0);
    EXPECT_EQ(files.selectionCountPending, 0);
    EXPECT_EQ(files.selectedCount, 0);
    updateSelectionCount(host, -1);
    EXPECT_EQ(files.selectedCount, 2);
    ui.setMousePointer(0);
}

TEST_F(SelectionTest, FreeSelectCountsItsOwnList)
{
    fileMode = 1;
    files.lstFiles[1] = QStringList{"/x/a", "/x/b"};
    std::vector<platform::ListRow> rows(2);
    lwDragDrop->setRows(std::move(rows));
    lwDragDrop->setSelected(1, true);
    select(5);
    updateSelectionCount(host, 0);
    EXPECT_EQ(panel("selected"), "1 item selected...");
}

// ---------------------------------------------------------------- row exchange

TEST_F(SelectionTest, ExchangeMovesTheEntryAndDeselectsBoth)
{
    lwDirectory->setSubItem(0, 1, "new0");
    select(2);
    files.listOrderChanged = 0;
    const platform::ListRow a = lwDirectory->row(0), b = lwDirectory->row(1);
    swapListItems(host, 1, 2);
    EXPECT_EQ(lwDirectory->row(0).cells, b.cells);
    EXPECT_EQ(lwDirectory->row(1).cells, a.cells);
    EXPECT_EQ(lwDirectory->subItem(1, 1), "new0");
    EXPECT_FALSE(lwDirectory->isSelected(0));
    EXPECT_FALSE(lwDirectory->isSelected(1));
    EXPECT_EQ(files.listOrderChanged, -1);
}

TEST_F(SelectionTest, ExchangeLeavesDetailColumnsAloneWithoutThem)
{
    std::vector<platform::ListRow> rows(2);
    rows[0].cells = {"d", "", "/p/", "", "", "", "", "Dir", "", "k0"};
    rows[0].isDir = true;
    rows[0].smallIcon = rows[0].largeIcon = defaultIcon::GhostDir;
    rows[1].cells = {"f", "", "/p/", "1 kB", "", "", "", "File", "s1", "k1"};
    rows[1].smallIcon = rows[1].largeIcon = defaultIcon::File;
    lwDirectory->setRows(std::move(rows));
    swapListItems(host, 2, 1);
    EXPECT_EQ(lwDirectory->text(0), "f");
    EXPECT_EQ(lwDirectory->row(0).smallIcon, defaultIcon::File);
    EXPECT_EQ(lwDirectory->row(1).largeIcon, defaultIcon::GhostDir) << "the ghost marking travels";
    EXPECT_TRUE(lwDirectory->row(1).isDir);
    EXPECT_EQ(lwDirectory->subItem(0, 7), "Dir") << "no detail columns to move";
    options.showAllColumns = 1;
    swapListItems(host, 1, 2);
    EXPECT_EQ(lwDirectory->text(1), "f");
    EXPECT_EQ(lwDirectory->subItem(1, 7), "Dir");
    EXPECT_EQ(lwDirectory->subItem(1, 9), "k0") << "the detail columns moved with all columns shown";
    EXPECT_EQ(lwDirectory->subItem(0, 9), "k1");
}

TEST_F(SelectionTest, ExchangeInFreeSelectLeavesTheOrderFlag)
{
    fileMode = 1;
    std::vector<platform::ListRow> rows(2);
    rows[0].cells[0] = "x";
    rows[1].cells[0] = "y";
    lwDragDrop->setRows(std::move(rows));
    files.listOrderChanged = 0;
    swapListItems(host, 1, 2);
    EXPECT_EQ(lwDragDrop->text(0), "y");
    EXPECT_EQ(files.listOrderChanged, 0);
    swapListItems(host, 1, 1);
    EXPECT_EQ(lwDragDrop->text(0), "y");
}

TEST_F(SelectionTest, ExchangeOutsideTheListIsAFailure)
{
    try {
        swapListItems(host, 1, 11);
        FAIL() << "no failure";
    } catch (const platform::Failure& f) {
        EXPECT_EQ(f.number(), 9);
    }
}
