#include "mainwindow/frmmain.h"
#include "mainwindow_fixture.h"
#include "test_support.h"

#include <QApplication>
#include <QTest>
#include <QToolButton>

class MainWindowTest : public MainWindowFixture<> {
protected:
    void listSample()
    {
        writeFile("a.txt");
        writeFile("b.txt");
        makeDir("sub");
        w->txtPath->setEditText(work());
        w->readDirectory();
        w->updateFileViews();
    }
};

TEST_F(MainWindowTest, StartsWithTitleDefaultTabAndHintRow)
{
    start();
    EXPECT_EQ(w->windowTitle(), "Vexor Renamer 4.62 - Press F1 for Help");
    EXPECT_EQ(w->TabStrip->selectedKey(), "Case");
    for (QFrame* f :
         {w->frmFindReplace, w->frmSetAttributes, w->frmAddCrop, w->frmMp3Tag, w->frmEnum, w->frmFormat, w->frmMisc})
        EXPECT_FALSE(f->isVisible()) << f->objectName().toStdString();
    EXPECT_TRUE(w->frmConvertCase->isVisible());
    ASSERT_EQ(w->lwDragDrop->count(), 1);
    EXPECT_EQ(w->lwDragDrop->text(0), "Drop files here...");
    EXPECT_TRUE(w->lwDragDrop->listFont().bold());
    EXPECT_TRUE(w->lwDragDrop->listFont().italic());
    EXPECT_EQ(w->lwDragDrop->view(), 1);
    EXPECT_EQ(w->findChild<QWidget*>("frame(13)"), w->frame[13]);
}

TEST_F(MainWindowTest, CountsShowInTheMainPanel)
{
    start();
    listSample();
    EXPECT_EQ(w->StatusBar->panelText("main"), "2 Files, 0 Directories");
    w->chkDirs->setValue(1);
    EXPECT_EQ(w->StatusBar->panelText("main"), "2 Files, 1 Directories");
}

TEST_F(MainWindowTest, Mp3TabForcesFilesOnly)
{
    start();
    w->chkDirs->setValue(1);
    w->TabStrip->selectKey("Mp3");
    EXPECT_EQ(w->chkFiles->value(), 1);
    EXPECT_EQ(w->chkDirs->value(), 0);
    EXPECT_FALSE(w->chkDirs->isEnabled());
    EXPECT_EQ(w->dirsAllowed, 0);
    EXPECT_FALSE(w->chkProcessFilename->isEnabled());
    w->TabStrip->selectKey("Replace");
    EXPECT_TRUE(w->chkDirs->isEnabled());
    EXPECT_EQ(w->dirsAllowed, -1);
}

TEST_F(MainWindowTest, FreeSelectHidesTheDirectoryControls)
{
    start();
    w->chkDirs->setValue(1);
    w->TabStripFilemode->selectKey("dragdrop");
    EXPECT_EQ(w->fileMode, 1);
    EXPECT_FALSE(w->txtPath->isVisible());
    EXPECT_FALSE(w->txtPattern->isVisible());
    EXPECT_FALSE(w->cmdShowDirReq->isVisible());
    EXPECT_FALSE(w->chkFiles->isEnabled());
    EXPECT_FALSE(w->chkDirs->isEnabled());
    EXPECT_FALSE(w->chkSub->isEnabled());
    EXPECT_EQ(w->chkDirs->value(), 1); // ticks stay
    EXPECT_TRUE(w->lwDragDrop->isVisible());
    EXPECT_TRUE(w->cmdDragDropAdd->isVisible());
    w->TabStripFilemode->selectKey("listview");
    EXPECT_TRUE(w->txtPath->isVisible());
    EXPECT_TRUE(w->chkDirs->isEnabled());
}

TEST_F(MainWindowTest, FilesAndDirectoriesNeverBothUnticked)
{
    start();
    w->chkDirs->setValue(0);
    QTest::mouseClick(w->chkFiles, Qt::LeftButton, {}, indicatorPoint(w->chkFiles));
    EXPECT_EQ(w->chkDirs->value(), 1);
    QTest::mouseClick(w->chkDirs, Qt::LeftButton, {}, indicatorPoint(w->chkDirs));
    EXPECT_EQ(w->chkFiles->value(), 1);
    w->chkProcessFilename->setValue(0);
    EXPECT_EQ(w->chkProcessFileExt->value(), 1);
}

TEST_F(MainWindowTest, ViewAsTreeDisablesPreviewThumbnailsAndOnlySelected)
{
    start();
    w->chkShowTreeview->setValue(1);
    EXPECT_FALSE(w->chkPreview->isEnabled());
    EXPECT_FALSE(w->chkThumbnails->isEnabled());
    EXPECT_FALSE(w->chkOnlyRenameSelected->isEnabled());
    EXPECT_TRUE(w->TreeView->isVisible());
    w->chkShowTreeview->setValue(0);
    EXPECT_TRUE(w->chkPreview->isEnabled());
    EXPECT_TRUE(w->lwDirectory->isVisible());
}

TEST_F(MainWindowTest, CloseIsRefusedWhileDisabledOrBusy)
{
    start();
    w->setEnabled(false);
    EXPECT_FALSE(w->close());
    EXPECT_TRUE(w->isVisible());
    w->setEnabled(true);
    ui.setMousePointer(11);
    EXPECT_FALSE(w->close());
    ui.setMousePointer(0);
}

TEST_F(MainWindowTest, GateFollowsPanelInput)
{
    start();
    listSample();
    w->TabStrip->selectKey("Replace");
    EXPECT_FALSE(w->cmdExecute->isEnabled());
    QTest::keyClicks(w->txtFind, "a");
    EXPECT_TRUE(w->cmdExecute->isEnabled());
    w->frame_Click(14); // batch replace with an empty list
    EXPECT_TRUE(w->optReplaceBatch->isChecked());
    EXPECT_FALSE(w->cmdExecute->isEnabled());
}

TEST_F(MainWindowTest, ThumbnailBoxesSwitchTheViewAndMakePicturesOnce)
{
    start();
    auto click = [](QCheckBox* box) { QTest::mouseClick(box, Qt::LeftButton, {}, indicatorPoint(box)); };
    // The hint row holds no entries: the box does not tick.
    ASSERT_TRUE(w->lwDirectory->listFont().bold());
    ASSERT_EQ(w->lwDirectory->text(0), "Please choose a working directory...");
    const int hintView = w->lwDirectory->view();
    click(w->chkThumbnails);
    EXPECT_EQ(w->chkThumbnails->value(), 0);
    EXPECT_EQ(w->lwDirectory->view(), hintView);
    EXPECT_TRUE(w->chkPreview->isEnabled());

    QImage picture(120, 80, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    ASSERT_TRUE(picture.save(writeFile("photo.jpg"), "JPG"));
    listSample();
    int generated = 0;
    ui.onEscapeRead = [&] { ++generated; };
    click(w->chkThumbnails);
    EXPECT_EQ(w->chkThumbnails->value(), 1);
    EXPECT_EQ(w->lwDirectory->view(), 0);
    EXPECT_FALSE(w->chkPreview->isEnabled());
    EXPECT_FALSE(w->chkShowTreeview->isEnabled());
    EXPECT_EQ(generated, 3);
    EXPECT_EQ(w->state.files.thumbnailsShownDir, -1);
    EXPECT_TRUE(w->isEnabled());
    EXPECT_EQ(w->StatusBar->panelText("main"), "3 Files, 0 Directories");
    const platform::ImageList& large = w->state.files.imagelistSysIconsLarge;
    int photo = -1;
    for (int i = 0; i < w->lwDirectory->count(); ++i)
        if (w->lwDirectory->text(i) == "photo.jpg")
            photo = i;
    ASSERT_GE(photo, 0);
    EXPECT_EQ(large.keys.at(w->lwDirectory->row(photo).largeIcon - 1), work() + "/photo.jpg");

    click(w->chkThumbnails);
    EXPECT_EQ(w->lwDirectory->view(), 3);
    EXPECT_TRUE(w->chkPreview->isEnabled());
    EXPECT_TRUE(w->chkShowTreeview->isEnabled());
    click(w->chkThumbnails);
    EXPECT_EQ(w->lwDirectory->view(), 0);
    EXPECT_EQ(generated, 3) << "the pictures are made once";

    // The Free Select list's box refuses while the list shows "Drop files here...".
    w->TabStripFilemode->selectKey("dragdrop");
    click(w->chkThumbnailsFreeSelect);
    EXPECT_EQ(w->chkThumbnailsFreeSelect->value(), 0);
    EXPECT_EQ(w->lwDragDrop->view(), 1);
}

TEST_F(MainWindowTest, ANewThumbnailSizeRemakesTheFreeSelectPictures)
{
    start();
    QImage picture(120, 80, QImage::Format_RGB32);
    picture.fill(Qt::darkBlue);
    ASSERT_TRUE(picture.save(writeFile("photo.jpg"), "JPG"));
    writeFile("notes.txt");
    w->TabStripFilemode->selectKey("dragdrop");
    w->lwDragDrop->setListFont(QApplication::font());
    std::vector<platform::ListRow> rows(2);
    rows[0].cells[0] = "photo.jpg";
    rows[1].cells[0] = "notes.txt";
    for (platform::ListRow& r : rows)
        r.cells[2] = work() + "/";
    w->lwDragDrop->setRows(rows);
    QTest::mouseClick(w->chkThumbnailsFreeSelect, Qt::LeftButton, {}, indicatorPoint(w->chkThumbnailsFreeSelect));
    ASSERT_EQ(w->state.files.thumbnailsShownFreeSel, -1);
    EXPECT_EQ(w->lwDragDrop->view(), 0);

    w->listOptions.thumbsWidth = 96;
    w->listOptions.thumbsHeight = 40;
    w->resetIconLists();
    const platform::ImageList& small = w->state.files.imagelistSysIconsFreeSelect;
    const platform::ImageList& large = w->state.files.imagelistSysIconsFreeSelectLarge;
    EXPECT_EQ(large.keys.at(w->lwDragDrop->row(0).largeIcon - 1), work() + "/photo.jpg");
    EXPECT_EQ(large.image(w->lwDragDrop->row(0).largeIcon).size(), QSize(96, 40));
    EXPECT_EQ(small.keys.at(w->lwDragDrop->row(0).smallIcon - 1), ">JPG");
    EXPECT_EQ(small.keys.at(w->lwDragDrop->row(1).smallIcon - 1), ">TXT");
    EXPECT_EQ(large.keys.at(w->lwDragDrop->row(1).largeIcon - 1), ">TXT");
    EXPECT_EQ(w->state.files.thumbnailsShownFreeSel, -1);
    EXPECT_EQ(w->state.files.imagelistSysIconsLarge.size, QSize(96, 40));
}

TEST_F(MainWindowTest, CaptionsAndToolTipsReadRight)
{
    start();
    EXPECT_EQ(ctl<QToolButton>("cmdShowDirReq")->toolTip(), "Change Directory");
    EXPECT_EQ(ctl<QToolButton>("cmdParentDir")->toolTip(), "Parent Directory");
    EXPECT_EQ(ctl<QToolButton>("cmdRefresh")->toolTip(), "Refresh Directory (F12)");
    EXPECT_EQ(ctl<QCheckBox>("chkSpaceEnd")->text(), "Remove trailing spaces");
    auto* format = ctl<QComboBox>("cmbFormat");
    EXPECT_GE(format->findText("Accessed Date <ADATE>"), 0);
    EXPECT_GE(format->findText("Accessed Time <ATIME>"), 0);
}
