#include "listui_fixture.h"

#include <QSet>

class ListCommandsTest : public ListUiTest {};

TEST_F(ListCommandsTest, DoubleClickOnAFreeSelectDirectoryShowsItAsTheWorkingDirectory)
{
    start();
    const QString sub = makeDir("photos");
    writeFile("photos/inside.jpg");
    const QString other = writeFile("other.txt");
    addToFreeSelect({sub, other});
    ctl<platform::TabStrip>("TabStripFilemode")->selectKey("dragdrop");
    ASSERT_EQ(w->fileMode(), 1);
    const QStringList filesBefore = w->state().files.lstFiles[1];
    const QStringList dirsBefore = w->state().files.lstDirs[1];
    const int r = rowOf(ctl<platform::ListView>("lwDragDrop"), "photos");
    ASSERT_GE(r, 0);
    QTest::mouseDClick(viewport(ctl<platform::ListView>("lwDragDrop")), Qt::LeftButton, {},
                       rowPoint(ctl<platform::ListView>("lwDragDrop"), r));
    EXPECT_EQ(w->fileMode(), 0);
    EXPECT_EQ(ctl<platform::TabStrip>("TabStripFilemode")->selectedKey(), "listview");
    EXPECT_EQ(ctl<QComboBox>("txtPath")->currentText(), sub + "/");
    EXPECT_EQ(names(ctl<platform::ListView>("lwDirectory")), QStringList{"inside.jpg"});
    EXPECT_EQ(w->state().files.lstFiles[1], filesBefore);
    EXPECT_EQ(w->state().files.lstDirs[1], dirsBefore);
    EXPECT_EQ(names(ctl<platform::ListView>("lwDragDrop")).size(), 2);
}

TEST_F(ListCommandsTest, EnterOpensAFileThroughTheDesktopAndAVanishedRowIsLogged)
{
    start();
    const QString a = writeFile("a.txt");
    writeFile("b.txt");
    listDirectory(work());
    clickRow(ctl<platform::ListView>("lwDirectory"), 0);
    key(ctl<platform::ListView>("lwDirectory"), Qt::Key_Return);
    ASSERT_EQ(ui.opened.size(), 1u);
    EXPECT_EQ(ui.opened[0], QUrl::fromLocalFile(a));
    EXPECT_EQ(w->state().preview.previewToken, -1);

    // The row of a file that vanished: one error line, nothing opened.
    QFile::remove(work() + "/b.txt");
    clickRow(ctl<platform::ListView>("lwDirectory"), 1);
    key(ctl<platform::ListView>("lwDirectory"), Qt::Key_Return);
    EXPECT_EQ(ui.opened.size(), 1u);
    const QString log = readText(programFolder() + "/errors.txt");
    EXPECT_TRUE(
        log.contains("Error 53 (File not found) lwDirectory_DblClick: NEWDIR=" + work() + "/b.txt OLDDIR=" + work()))
        << log.toStdString();

    // The Free Select hint row names no entry: opening it only logs.
    ctl<platform::TabStrip>("TabStripFilemode")->selectKey("dragdrop");
    clickRow(ctl<platform::ListView>("lwDragDrop"), 0);
    key(ctl<platform::ListView>("lwDragDrop"), Qt::Key_Enter);
    EXPECT_EQ(ui.opened.size(), 1u);
    EXPECT_TRUE(readText(programFolder() + "/errors.txt").contains("lwDragDrop_DblClick: NEWDIR=Drop files here..."));
    EXPECT_EQ(w->fileMode(), 1);
}

TEST_F(ListCommandsTest, SizeHeaderSortsByBytesBothWaysWithDirectoriesFirstAscending)
{
    {
        platform::SettingsStore store;
        store.setValue("showAllColumns", "1");
    }
    start();
    writeFile("ten.bin", QByteArray(10, 'x'));
    writeFile("nine.bin", QByteArray(9, 'x'));
    writeFile("big.bin", QByteArray(2000, 'x'));
    writeFile("hundred.bin", QByteArray(100, 'x'));
    makeDir("folder");
    ctl<platform::CheckBox>("chkDirs")->setValue(1);
    listDirectory(work());
    const int size = ctl<platform::ListView>("lwDirectory")->columnIndex("size");
    ASSERT_GE(size, 0);
    QHeaderView* header = ctl<platform::ListView>("lwDirectory")->reportView()->header();
    const QPoint at(header->sectionViewportPosition(size) + 5, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    const QStringList ascending{"folder", "nine.bin", "ten.bin", "hundred.bin", "big.bin"};
    EXPECT_EQ(names(ctl<platform::ListView>("lwDirectory")), ascending);
    EXPECT_EQ(w->state().files.listOrderChanged, -1);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    QStringList descending = ascending;
    std::reverse(descending.begin(), descending.end());
    EXPECT_EQ(names(ctl<platform::ListView>("lwDirectory")), descending);
    // The order belongs to the list: another header flips it again.
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(0) + 5, 5));
    EXPECT_EQ(names(ctl<platform::ListView>("lwDirectory")),
              (QStringList{"folder", "big.bin", "hundred.bin", "nine.bin", "ten.bin"}));
}

TEST_F(ListCommandsTest, FreeSelectSortLeavesTheOrderFlagAlone)
{
    start();
    addToFreeSelect({writeFile("b.txt"), writeFile("a.txt")});
    ctl<platform::TabStrip>("TabStripFilemode")->selectKey("dragdrop");
    w->state().files.listOrderChanged = 0;
    QHeaderView* header = ctl<platform::ListView>("lwDragDrop")->reportView()->header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(5, header->height() / 2));
    EXPECT_EQ(names(ctl<platform::ListView>("lwDragDrop")), (QStringList{"a.txt", "b.txt"}));
    EXPECT_EQ(w->state().files.listOrderChanged, 0);
}

TEST_F(ListCommandsTest, DraggingARowMovesItByNeighbourExchanges)
{
    start();
    for (const char* n : {"1.txt", "2.txt", "3.txt", "4.txt", "5.txt", "6.txt"})
        writeFile(n);
    listDirectory(work());
    platform::ListView* lw = ctl<platform::ListView>("lwDirectory");
    auto drag = [&](int from, int to) {
        QTest::mousePress(viewport(lw), Qt::LeftButton, {}, rowPoint(lw, from));
        QTest::mouseMove(viewport(lw), rowPoint(lw, (from + to) / 2));
        QTest::mouseMove(viewport(lw), rowPoint(lw, to));
        QTest::mouseRelease(viewport(lw), Qt::LeftButton, {}, rowPoint(lw, to));
    };
    drag(1, 4); // row 2 onto row 5
    EXPECT_EQ(names(lw), (QStringList{"1.txt", "3.txt", "4.txt", "5.txt", "2.txt", "6.txt"}));
    EXPECT_TRUE(lw->isSelected(4));
    EXPECT_EQ(lw->selectedCount(), 1);
    EXPECT_EQ(w->state().files.listOrderChanged, -1);
    EXPECT_EQ(lw->subItem(4, 2) + lw->text(4), work() + "/2.txt") << "the directory travels with the name";
    drag(4, 1); // and back
    EXPECT_EQ(names(lw), (QStringList{"1.txt", "2.txt", "3.txt", "4.txt", "5.txt", "6.txt"}));
    EXPECT_TRUE(lw->isSelected(1));
    // The path lists keep their order.
    EXPECT_EQ(w->state().files.lstFiles[0].first(), work() + "/1.txt");
    // A plain click after the drag selects, it does not drag.
    clickRow(lw, 3);
    EXPECT_EQ(names(lw), (QStringList{"1.txt", "2.txt", "3.txt", "4.txt", "5.txt", "6.txt"}));
}

TEST_F(ListCommandsTest, KeysOfTheLists)
{
    start();
    for (const char* n : {"a.txt", "b.txt", "c.txt"})
        writeFile(n);
    listDirectory(work());
    platform::ListView* lw = ctl<platform::ListView>("lwDirectory");
    clickRow(lw, 1);
    key(lw, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(lw->selectedCount(), 3);
    EXPECT_EQ(ctl<platform::StatusPanels>("StatusBar")->panelText("selected"), "3 items selected...");
    EXPECT_EQ(ui.mousePointer(), 0);
    EXPECT_TRUE(w->isEnabled());
    key(lw, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clip(), "b.txt");
    // A middle click copies the current row's name too.
    QGuiApplication::clipboard()->setText("x");
    QTest::mouseClick(viewport(lw), Qt::MiddleButton, {}, rowPoint(lw, 2));
    EXPECT_EQ(clip(), lw->text(lw->currentRow()));
    // A click on empty space clears the selection and requests a preview.
    key(lw, Qt::Key_A, Qt::ControlModifier);
    w->state().preview.previewRequested = 0;
    QTest::mouseClick(viewport(lw), Qt::LeftButton, {}, emptyPoint(lw));
    EXPECT_EQ(lw->selectedCount(), 0);
    EXPECT_EQ(ctl<platform::StatusPanels>("StatusBar")->panelText("selected"), "0 items selected...");
    EXPECT_EQ(w->state().preview.previewRequested, -1);
    // With Ctrl held the selection stays.
    key(lw, Qt::Key_A, Qt::ControlModifier);
    QTest::mouseClick(viewport(lw), Qt::LeftButton, Qt::ControlModifier, emptyPoint(lw));
    EXPECT_EQ(lw->selectedCount(), 3);
}

TEST_F(ListCommandsTest, F2LeavesNothingSelectedAndShowsZero)
{
    start();
    writeFile("a.txt");
    writeFile("b.txt");
    listDirectory(work());
    platform::ListView* lw = ctl<platform::ListView>("lwDirectory");
    key(lw, Qt::Key_A, Qt::ControlModifier);
    ASSERT_EQ(lw->selectedCount(), 2);
    key(lw, Qt::Key_F2);
    EXPECT_EQ(lw->selectedCount(), 0);
    EXPECT_EQ(w->state().files.selectedCount, 0);
    EXPECT_EQ(ctl<platform::StatusPanels>("StatusBar")->panelText("selected"), "0 items selected...");
    EXPECT_TRUE(editor(lw));
    QTest::keyClick(editor(lw), Qt::Key_Escape);

    // On the hint row no edit opens, yet the selection is cleared and counted.
    ctl<platform::TabStrip>("TabStripFilemode")->selectKey("dragdrop");
    clickRow(ctl<platform::ListView>("lwDragDrop"), 0);
    key(ctl<platform::ListView>("lwDragDrop"), Qt::Key_F2);
    EXPECT_FALSE(editor(ctl<platform::ListView>("lwDragDrop")));
    EXPECT_EQ(ctl<platform::ListView>("lwDragDrop")->selectedCount(), 0);
    EXPECT_EQ(ctl<platform::StatusPanels>("StatusBar")->panelText("selected"), "0 items selected...");
}

TEST_F(ListCommandsTest, AHeaderClickAlwaysChangesTheOrderShown)
{
    start();
    writeFile("b.txt");
    writeFile("a.txt");
    writeFile("c.txt");
    listDirectory(work());
    auto* lw = ctl<platform::ListView>("lwDirectory");
    const QStringList ascending{"a.txt", "b.txt", "c.txt"};
    const QStringList descending{"c.txt", "b.txt", "a.txt"};
    ASSERT_EQ(names(lw), ascending); // read in ascending name order
    QHeaderView* header = lw->reportView()->header();
    const QPoint name(header->sectionViewportPosition(0) + 5, header->height() / 2);
    // The rows already ascend by name: the first click descends, the next ascends.
    for (const QStringList& expected : {descending, ascending, descending}) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, name);
        EXPECT_EQ(names(lw), expected);
    }

    // The Free Select list stands in the order its entries were added: it ascends first.
    clickButton(ctl<platform::TabStrip>("TabStripFilemode")->tabButton(1));
    toFreeSelect({"b.txt", "c.txt", "a.txt"});
    auto* fs = ctl<platform::ListView>("lwDragDrop");
    QHeaderView* fsHeader = fs->reportView()->header();
    const QPoint fsName(fsHeader->sectionViewportPosition(0) + 5, fsHeader->height() / 2);
    for (const QStringList& expected : {ascending, descending}) {
        QTest::mouseClick(fsHeader->viewport(), Qt::LeftButton, {}, fsName);
        EXPECT_EQ(names(fs), expected);
    }
}

TEST_F(ListCommandsTest, SelectedRowsStayReadableWithGuidelines)
{
    start();
    writeFile("abcdefgh.txt");
    writeFile("other.txt");
    listDirectory(work());
    auto* lw = ctl<platform::ListView>("lwDirectory");
    clickRow(lw, 0);
    ASSERT_TRUE(lw->isSelected(0));
    // The name cell of the selected row shows its text: pixels that stand out
    // clearly from the cell's background.
    auto textPixels = [&] {
        QAbstractItemView* v = view(lw);
        const QRect cell = v->visualRect(lw->model()->index(0, 0));
        const QImage shot = v->viewport()->grab().toImage();
        const QColor background = shot.pixelColor(cell.right() - 3, cell.center().y());
        int n = 0;
        for (int y = cell.top() + 2; y < cell.bottom() - 1; ++y)
            for (int x = cell.left() + 24; x < cell.right() - 4; ++x)
                if (std::abs(qGray(shot.pixel(x, y)) - qGray(background.rgb())) > 80)
                    ++n;
        return n;
    };
    for (bool gridLines : {true, false}) {
        lw->setGridLines(gridLines);
        EXPECT_GT(textPixels(), 20) << gridLines;
    }
}
