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
        ctl<QComboBox>("txtPath")->setEditText(work());
        w->readDirectory();
        w->updateFileViews();
    }
};

TEST_F(MainWindowTest, StartsWithTitleDefaultTabAndHintRow)
{
    start();
    EXPECT_EQ(w->windowTitle(), "Vexor Renamer 4.62 - Press F1 for Help");
    EXPECT_EQ(ctl<platform::TabStrip>("TabStrip")->selectedKey(), "Case");
    for (QFrame* f :
         {ctl<QFrame>("frmFindReplace"), ctl<QFrame>("frmSetAttributes"), ctl<QFrame>("frmAddCrop"),
          ctl<QFrame>("frmMp3Tag"), ctl<QFrame>("frmEnum"), ctl<QFrame>("frmFormat"), ctl<QFrame>("frmMisc")})
        EXPECT_FALSE(f->isVisible()) << f->objectName().toStdString();
    EXPECT_TRUE(ctl<QFrame>("frmConvertCase")->isVisible());
    ASSERT_EQ(ctl<platform::ListView>("lwDragDrop")->count(), 1);
    EXPECT_EQ(ctl<platform::ListView>("lwDragDrop")->text(0), "Drop files here...");
    EXPECT_TRUE(ctl<platform::ListView>("lwDragDrop")->listFont().bold());
    EXPECT_TRUE(ctl<platform::ListView>("lwDragDrop")->listFont().italic());
    EXPECT_EQ(ctl<platform::ListView>("lwDragDrop")->view(), 1);
    EXPECT_EQ(w->findChild<QWidget*>("frame(13)"), ctl<QGroupBox>("frame(13)"));
}

TEST_F(MainWindowTest, CountsShowInTheMainPanel)
{
    start();
    listSample();
    EXPECT_EQ(ctl<platform::StatusPanels>("StatusBar")->panelText("main"), "2 Files, 0 Directories");
    ctl<platform::CheckBox>("chkDirs")->setValue(1);
    EXPECT_EQ(ctl<platform::StatusPanels>("StatusBar")->panelText("main"), "2 Files, 1 Directories");
}

TEST_F(MainWindowTest, Mp3TabForcesFilesOnly)
{
    start();
    ctl<platform::CheckBox>("chkDirs")->setValue(1);
    ctl<platform::TabStrip>("TabStrip")->selectKey("Mp3");
    EXPECT_EQ(ctl<platform::CheckBox>("chkFiles")->value(), 1);
    EXPECT_EQ(ctl<platform::CheckBox>("chkDirs")->value(), 0);
    EXPECT_FALSE(ctl<platform::CheckBox>("chkDirs")->isEnabled());
    EXPECT_EQ(w->dirsAllowed(), 0);
    EXPECT_FALSE(ctl<platform::CheckBox>("chkProcessFilename")->isEnabled());
    ctl<platform::TabStrip>("TabStrip")->selectKey("Replace");
    EXPECT_TRUE(ctl<platform::CheckBox>("chkDirs")->isEnabled());
    EXPECT_EQ(w->dirsAllowed(), -1);
}

TEST_F(MainWindowTest, FreeSelectHidesTheDirectoryControls)
{
    start();
    ctl<platform::CheckBox>("chkDirs")->setValue(1);
    ctl<platform::TabStrip>("TabStripFilemode")->selectKey("dragdrop");
    EXPECT_EQ(w->fileMode(), 1);
    EXPECT_FALSE(ctl<QComboBox>("txtPath")->isVisible());
    EXPECT_FALSE(ctl<platform::TextBox>("txtPattern")->isVisible());
    EXPECT_FALSE(ctl<QToolButton>("cmdShowDirReq")->isVisible());
    EXPECT_FALSE(ctl<platform::CheckBox>("chkFiles")->isEnabled());
    EXPECT_FALSE(ctl<platform::CheckBox>("chkDirs")->isEnabled());
    EXPECT_FALSE(ctl<platform::CheckBox>("chkSub")->isEnabled());
    EXPECT_EQ(ctl<platform::CheckBox>("chkDirs")->value(), 1); // ticks stay
    EXPECT_TRUE(ctl<platform::ListView>("lwDragDrop")->isVisible());
    EXPECT_TRUE(ctl<QToolButton>("cmdDragDropAdd")->isVisible());
    ctl<platform::TabStrip>("TabStripFilemode")->selectKey("listview");
    EXPECT_TRUE(ctl<QComboBox>("txtPath")->isVisible());
    EXPECT_TRUE(ctl<platform::CheckBox>("chkDirs")->isEnabled());
}

TEST_F(MainWindowTest, FilesAndDirectoriesNeverBothUnticked)
{
    start();
    ctl<platform::CheckBox>("chkDirs")->setValue(0);
    QTest::mouseClick(ctl<platform::CheckBox>("chkFiles"), Qt::LeftButton, {},
                      indicatorPoint(ctl<platform::CheckBox>("chkFiles")));
    EXPECT_EQ(ctl<platform::CheckBox>("chkDirs")->value(), 1);
    QTest::mouseClick(ctl<platform::CheckBox>("chkDirs"), Qt::LeftButton, {},
                      indicatorPoint(ctl<platform::CheckBox>("chkDirs")));
    EXPECT_EQ(ctl<platform::CheckBox>("chkFiles")->value(), 1);
    ctl<platform::CheckBox>("chkProcessFilename")->setValue(0);
    EXPECT_EQ(ctl<platform::CheckBox>("chkProcessFileExt")->value(), 1);
}

TEST_F(MainWindowTest, ViewAsTreeDisablesPreviewThumbnailsAndOnlySelected)
{
    start();
    ctl<platform::CheckBox>("chkShowTreeview")->setValue(1);
    EXPECT_FALSE(ctl<platform::CheckBox>("chkPreview")->isEnabled());
    EXPECT_FALSE(ctl<platform::CheckBox>("chkThumbnails")->isEnabled());
    EXPECT_FALSE(ctl<platform::CheckBox>("chkOnlyRenameSelected")->isEnabled());
    EXPECT_TRUE(ctl<QTreeWidget>("TreeView")->isVisible());
    ctl<platform::CheckBox>("chkShowTreeview")->setValue(0);
    EXPECT_TRUE(ctl<platform::CheckBox>("chkPreview")->isEnabled());
    EXPECT_TRUE(ctl<platform::ListView>("lwDirectory")->isVisible());
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
    ctl<platform::TabStrip>("TabStrip")->selectKey("Replace");
    EXPECT_FALSE(ctl<QPushButton>("cmdExecute")->isEnabled());
    QTest::keyClicks(ctl<platform::TextBox>("txtFind"), "a");
    EXPECT_TRUE(ctl<QPushButton>("cmdExecute")->isEnabled());
    w->frame_Click(14); // batch replace with an empty list
    EXPECT_TRUE(ctl<platform::OptionButton>("optReplaceBatch")->isChecked());
    EXPECT_FALSE(ctl<QPushButton>("cmdExecute")->isEnabled());
}

TEST_F(MainWindowTest, ThumbnailBoxesSwitchTheViewAndMakePicturesOnce)
{
    start();
    auto click = [](QCheckBox* box) { QTest::mouseClick(box, Qt::LeftButton, {}, indicatorPoint(box)); };
    // The hint row holds no entries: the box does not tick.
    ASSERT_TRUE(ctl<platform::ListView>("lwDirectory")->listFont().bold());
    ASSERT_EQ(ctl<platform::ListView>("lwDirectory")->text(0), "Please choose a working directory...");
    const int hintView = ctl<platform::ListView>("lwDirectory")->view();
    click(ctl<platform::CheckBox>("chkThumbnails"));
    EXPECT_EQ(ctl<platform::CheckBox>("chkThumbnails")->value(), 0);
    EXPECT_EQ(ctl<platform::ListView>("lwDirectory")->view(), hintView);
    EXPECT_TRUE(ctl<platform::CheckBox>("chkPreview")->isEnabled());

    QImage picture(120, 80, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    ASSERT_TRUE(picture.save(writeFile("photo.jpg"), "JPG"));
    listSample();
    int generated = 0;
    ui.onEscapeRead = [&] { ++generated; };
    click(ctl<platform::CheckBox>("chkThumbnails"));
    EXPECT_EQ(ctl<platform::CheckBox>("chkThumbnails")->value(), 1);
    EXPECT_EQ(ctl<platform::ListView>("lwDirectory")->view(), 0);
    EXPECT_FALSE(ctl<platform::CheckBox>("chkPreview")->isEnabled());
    EXPECT_FALSE(ctl<platform::CheckBox>("chkShowTreeview")->isEnabled());
    EXPECT_EQ(generated, 3);
    EXPECT_EQ(w->state().files.thumbnailsShownDir, -1);
    EXPECT_TRUE(w->isEnabled());
    EXPECT_EQ(ctl<platform::StatusPanels>("StatusBar")->panelText("main"), "3 Files, 0 Directories");
    const platform::ImageList& large = w->state().files.imagelistSysIconsLarge;
    int photo = -1;
    for (int i = 0; i < ctl<platform::ListView>("lwDirectory")->count(); ++i)
        if (ctl<platform::ListView>("lwDirectory")->text(i) == "photo.jpg")
            photo = i;
    ASSERT_GE(photo, 0);
    EXPECT_EQ(large.keys.at(ctl<platform::ListView>("lwDirectory")->row(photo).largeIcon - 1), work() + "/photo.jpg");

    click(ctl<platform::CheckBox>("chkThumbnails"));
    EXPECT_EQ(ctl<platform::ListView>("lwDirectory")->view(), 3);
    EXPECT_TRUE(ctl<platform::CheckBox>("chkPreview")->isEnabled());
    EXPECT_TRUE(ctl<platform::CheckBox>("chkShowTreeview")->isEnabled());
    click(ctl<platform::CheckBox>("chkThumbnails"));
    EXPECT_EQ(ctl<platform::ListView>("lwDirectory")->view(), 0);
    EXPECT_EQ(generated, 3) << "the pictures are made once";

    // The Free Select list's box refuses while the list shows "Drop files here...".
    ctl<platform::TabStrip>("TabStripFilemode")->selectKey("dragdrop");
    click(ctl<platform::CheckBox>("chkThumbnailsFreeSelect"));
    EXPECT_EQ(ctl<platform::CheckBox>("chkThumbnailsFreeSelect")->value(), 0);
    EXPECT_EQ(ctl<platform::ListView>("lwDragDrop")->view(), 1);
}

TEST_F(MainWindowTest, ANewThumbnailSizeRemakesTheFreeSelectPictures)
{
    start();
    QImage picture(120, 80, QImage::Format_RGB32);
    picture.fill(Qt::darkBlue);
    ASSERT_TRUE(picture.save(writeFile("photo.jpg"), "JPG"));
    writeFile("notes.txt");
    ctl<platform::TabStrip>("TabStripFilemode")->selectKey("dragdrop");
    ctl<platform::ListView>("lwDragDrop")->setListFont(QApplication::font());
    std::vector<platform::ListRow> rows(2);
    rows[0].cells[0] = "photo.jpg";
    rows[1].cells[0] = "notes.txt";
    for (platform::ListRow& r : rows)
        r.cells[2] = work() + "/";
    ctl<platform::ListView>("lwDragDrop")->setRows(rows);
    QTest::mouseClick(ctl<platform::CheckBox>("chkThumbnailsFreeSelect"), Qt::LeftButton, {},
                      indicatorPoint(ctl<platform::CheckBox>("chkThumbnailsFreeSelect")));
    ASSERT_EQ(w->state().files.thumbnailsShownFreeSel, -1);
    EXPECT_EQ(ctl<platform::ListView>("lwDragDrop")->view(), 0);

    w->listOptions().thumbsWidth = 96;
    w->listOptions().thumbsHeight = 40;
    w->resetIconLists();
    const platform::ImageList& small = w->state().files.imagelistSysIconsFreeSelect;
    const platform::ImageList& large = w->state().files.imagelistSysIconsFreeSelectLarge;
    EXPECT_EQ(large.keys.at(ctl<platform::ListView>("lwDragDrop")->row(0).largeIcon - 1), work() + "/photo.jpg");
    EXPECT_EQ(large.image(ctl<platform::ListView>("lwDragDrop")->row(0).largeIcon).size(), QSize(96, 40));
    EXPECT_EQ(small.keys.at(ctl<platform::ListView>("lwDragDrop")->row(0).smallIcon - 1), ">JPG");
    EXPECT_EQ(small.keys.at(ctl<platform::ListView>("lwDragDrop")->row(1).smallIcon - 1), ">TXT");
    EXPECT_EQ(large.keys.at(ctl<platform::ListView>("lwDragDrop")->row(1).largeIcon - 1), ">TXT");
    EXPECT_EQ(w->state().files.thumbnailsShownFreeSel, -1);
    EXPECT_EQ(w->state().files.imagelistSysIconsLarge.size, QSize(96, 40));
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
