// The option panels driven as a user drives them: clicks on the real
// controls, keys typed into the boxes, tags chosen from the drop-down lists.
#include "mainwindow/frmmain.h"
#include "mainwindow/panelhandlers.h"
#include "mainwindow_fixture.h"
#include "platform/settingsstore.h"
#include "test_support.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QTest>

using platform::CheckBox;
using platform::OptionButton;
using platform::TextBox;

class PanelsTest : public MainWindowFixture<> {
protected:
    PanelsTest() { waitActive = true; }
    void listSample()
    {
        writeFile("a.txt");
        writeFile("b.txt");
        makeDir("sub");
        w->txtPath->setEditText(work());
        w->readDirectory();
        w->updateFileViews();
    }
    void clickTab(const QString& key)
    {
        QTest::mouseClick(w->TabStrip->tabButton(w->TabStrip->indexOfKey(key)), Qt::LeftButton);
        ASSERT_EQ(w->TabStrip->selectedKey(), key);
    }
    static void click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center()); }
    static void tick(QCheckBox* c) { QTest::mouseClick(c, Qt::LeftButton, {}, indicatorPoint(c)); }
    // Clicks into a box, which selects its whole text where the panel says so.
    static void clickInto(QLineEdit* box) { QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center()); }
    // The focus leaves by the Tab key, as a user leaves a box.
    static void leave(QWidget* box)
    {
        QTest::keyClick(box, Qt::Key_Tab);
        ASSERT_FALSE(box->hasFocus());
    }
    // Replaces the whole text by typing.
    static void retype(QLineEdit* box, const char* text)
    {
        clickInto(box);
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, text);
    }
    static void paste(QLineEdit* box, const QString& text)
    {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    }
    // The tag arrives once the list's handler has returned.
    static bool textBecomes(QLineEdit* box, const char* text)
    {
        return QTest::qWaitFor([&] { return box->text() == QLatin1String(text); }, 2000);
    }
    // Chooses an item of a tag list from its opened drop-down: the mouse opens
    // it, the keys walk to the item and Enter takes it (the drop-down ignores a
    // mouse release right after it opened).
    static void choose(QComboBox* list, int row)
    {
        QTest::mouseClick(list, Qt::LeftButton);
        QAbstractItemView* view = list->view();
        ASSERT_TRUE(QTest::qWaitFor([&] { return view->isVisible(); }, 2000));
        QTest::keyClick(view, Qt::Key_Home);
        for (int i = 0; i < row; ++i)
            QTest::keyClick(view, Qt::Key_Down);
        ASSERT_EQ(view->currentIndex().row(), row);
        QTest::keyClick(view, Qt::Key_Return);
        ASSERT_FALSE(view->isVisible());
        // The offscreen platform leaves the closed drop-down the active
        // window; a desktop gives the activation back to the main window.
        list->window()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(list->window()));
    }
};

// Each number box: what the user leaves in it, and what it shows once left.
TEST_F(PanelsTest, NumberBoxesAreCorrectedWhenLeft)
{
    start();
    clickTab("Enum");
    tick(w->chkEnumAutoZeros); // the padding box is editable only without "Auto"
    ASSERT_TRUE(w->txtEnumZeros->isEnabled());
    struct Case {
        const char* tab;
        TextBox* FrmMain::*box;
        const char* typed; // typed over the whole text; nullptr: pasted
        const char* pasted;
        const char* left;
    };
    const Case cases[] = {
        {"AddCrop", &FrmMain::txtCropNumber, "0", nullptr, "1"},
        {"AddCrop", &FrmMain::txtCropNumber, "00", nullptr, "1"},
        {"AddCrop", &FrmMain::txtCropNumber, "", nullptr, "1"},
        {"AddCrop", &FrmMain::txtCropNumber, "12", nullptr, "12"},
        {"AddCrop", &FrmMain::txtAddPos, nullptr, "-5", "0"},
        {"AddCrop", &FrmMain::txtAddPos, "", nullptr, "0"},
        {"AddCrop", &FrmMain::txtCropPos, "", nullptr, "0"},
        {"Replace", &FrmMain::txtReplaceStart, nullptr, "-5", "0"},
        {"Replace", &FrmMain::txtReplaceCount, "", nullptr, "0"},
        {"Enum", &FrmMain::txtEnumZeros, "45", nullptr, "32"},
        {"Enum", &FrmMain::txtEnumZeros, "", nullptr, "0"},
        {"Enum", &FrmMain::txtEnumStart, "-7", nullptr, "-7"},
        {"Enum", &FrmMain::txtEnumStart, "", nullptr, "0"},
        {"Enum", &FrmMain::txtEnumStep, "", nullptr, "1"},
        {"Enum", &FrmMain::txtEnumStep, "-1", nullptr, "-1"},
        {"Enum", &FrmMain::txtNormalize, "", nullptr, "0"},
        {"Enum", &FrmMain::txtNormalize, nullptr, "-3", "0"},
    };
    for (const Case& c : cases) {
        TextBox* box = w.get()->*c.box;
        SCOPED_TRACE(box->objectName().toStdString() + " " + (c.typed ? c.typed : c.pasted));
        clickTab(c.tab);
        clickInto(box);
        ASSERT_TRUE(box->hasFocus());
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Backspace);
        if (c.typed)
            QTest::keyClicks(box, c.typed);
        else
            paste(box, c.pasted);
        leave(box);
        EXPECT_EQ(box->text(), c.left);
    }
}

TEST_F(PanelsTest, NumberBoxesTakeDigitsOnlyAndMinusWhereAllowed)
{
    start();
    clickTab("AddCrop");
    // Entered by the keyboard, a number box selects its whole text (and its option).
    click(w->optAdd);
    clickInto(w->txtCropNumber);
    QTest::keyClick(w->txtCropNumber, Qt::Key_Tab);
    ASSERT_TRUE(w->txtCropPos->hasFocus());
    EXPECT_EQ(w->txtCropPos->selectedText(), w->txtCropPos->text());
    EXPECT_TRUE(w->optCrop->isChecked());

    retype(w->txtAddPos, "1a-2");
    EXPECT_EQ(w->txtAddPos->text(), "12");
    QTest::keyClick(w->txtAddPos, Qt::Key_Backspace);
    EXPECT_EQ(w->txtAddPos->text(), "1");

    // A minus typed anywhere in the start value makes it negative, once.
    clickTab("Enum");
    retype(w->txtEnumStart, "123");
    QTest::keyClick(w->txtEnumStart, Qt::Key_Home);
    QTest::keyClick(w->txtEnumStart, Qt::Key_Right);
    QTest::keyClicks(w->txtEnumStart, "-");
    EXPECT_EQ(w->txtEnumStart->text(), "-123");
    QTest::keyClicks(w->txtEnumStart, "-");
    EXPECT_EQ(w->txtEnumStart->text(), "-123");
    retype(w->txtEnumStep, "--5");
    EXPECT_EQ(w->txtEnumStep->text(), "-5");
    leave(w->txtEnumStep);
    EXPECT_EQ(w->txtEnumStep->text(), "-5");
    EXPECT_EQ(w->readOptions().enumStart, "-123");
}

// F5 corrects the focused box without moving the focus.
TEST_F(PanelsTest, LeaveCorrectionOfTheFocusedBoxOnRequest)
{
    start();
    clickTab("AddCrop");
    click(w->optCrop);
    retype(w->txtCropNumber, "0");
    w->panels->applyLeaveCorrection(QApplication::focusWidget());
    EXPECT_EQ(w->txtCropNumber->text(), "1");
    EXPECT_TRUE(w->txtCropNumber->hasFocus());
    w->panels->applyLeaveCorrection(w->cmdAbout); // no number box: nothing
}

TEST_F(PanelsTest, SpinnersStepWithinTheirRangeAndSelectTheirOption)
{
    start();
    clickTab("Replace");
    click(w->optReplaceBatch);
    retype(w->txtReplaceStart, "");
    QTest::mouseClick(w->UpDownReplace1->upButton(), Qt::LeftButton);
    EXPECT_EQ(w->txtReplaceStart->text(), "1");
    EXPECT_TRUE(w->optReplaceSingle->isChecked());
    EXPECT_TRUE(w->optReplaceSingle->hasFocus());
    QTest::mouseClick(w->UpDownReplace1->downButton(), Qt::LeftButton);
    QTest::mouseClick(w->UpDownReplace1->downButton(), Qt::LeftButton);
    EXPECT_EQ(w->txtReplaceStart->text(), "0");

    clickTab("AddCrop");
    click(w->optAdd);
    QTest::mouseClick(w->UpDownCrop1->downButton(), Qt::LeftButton);
    EXPECT_EQ(w->txtCropNumber->text(), "1"); // 1..999
    EXPECT_TRUE(w->optCrop->isChecked());
    EXPECT_TRUE(w->optCrop->hasFocus());

    // With "Auto" ticked the padding box is grey and keeps its number; its spinner still works.
    clickTab("Enum");
    click(w->chkEnumTab_Normalize);
    ASSERT_EQ(w->chkEnumAutoZeros->value(), 1);
    EXPECT_FALSE(w->txtEnumZeros->isEnabled());
    EXPECT_EQ(w->txtEnumZeros->palette().color(QPalette::Base), QApplication::palette().color(QPalette::Button));
    EXPECT_TRUE(w->UpDownEnum3->isEnabled());
    QTest::mouseClick(w->UpDownEnum3->upButton(), Qt::LeftButton);
    EXPECT_EQ(w->txtEnumZeros->text(), "3");
    EXPECT_TRUE(w->chkEnumTab_Enum->isChecked());
    w->txtNormalize->setText("99");
    QTest::mouseClick(w->UpDownNormalize->upButton(), Qt::LeftButton);
    EXPECT_EQ(w->txtNormalize->text(), "99");
    EXPECT_TRUE(w->chkEnumTab_Normalize->isChecked());
}

TEST_F(PanelsTest, AttributeBoxesCycleGreyUntickedTicked)
{
    start();
    listSample();
    clickTab("Attrib");
    click(w->optAttrib_Date);
    for (CheckBox* box : {w->chkR, w->chkH, w->chkS, w->chkA}) {
        SCOPED_TRACE(box->text().toStdString());
        ASSERT_EQ(box->value(), 2);
        std::vector<int> seen;
        for (int i = 0; i < 4; ++i) {
            tick(box);
            seen.push_back(box->value());
        }
        EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 0}));
        EXPECT_TRUE(w->optAttrib_Attributes->isChecked());
        EXPECT_TRUE(w->cmdExecute->isEnabled());
        tick(box); // 1
        tick(box); // grey again
        ASSERT_EQ(box->value(), 2);
    }
    EXPECT_EQ(w->panels->lastAttrValueR, 2);
    // All four grey: nothing to change.
    EXPECT_FALSE(w->cmdExecute->isEnabled());
}

TEST_F(PanelsTest, NewDateAndNewTimeKeepOneTickedAndTheirPickersFollow)
{
    start();
    clickTab("Attrib");
    ASSERT_TRUE(w->optAttrib_Attributes->isChecked());
    ASSERT_EQ(w->chkDateDate->value(), 1);
    ASSERT_EQ(w->chkDateTime->value(), 1);
    tick(w->chkDateTime);
    EXPECT_TRUE(w->optAttrib_Date->isChecked());
    EXPECT_EQ(w->chkDateTime->value(), 0);
    EXPECT_FALSE(w->dtTime->isEnabled());
    EXPECT_TRUE(w->dtDate->isEnabled());
    tick(w->chkDateDate);
    EXPECT_EQ(w->chkDateDate->value(), 0);
    EXPECT_EQ(w->chkDateTime->value(), 1);
    EXPECT_FALSE(w->dtDate->isEnabled());
    EXPECT_TRUE(w->dtTime->isEnabled());
    tick(w->chkDateDate);
    EXPECT_TRUE(w->dtDate->isEnabled());

    // "Get Current Date" selects the dates and puts today into the picker.
    click(w->optAttrib_Attributes);
    w->dtDate->setDate(QDate(2001, 2, 3));
    ASSERT_TRUE(w->optAttrib_Date->isChecked()); // a change of the picker selects the dates too
    click(w->optAttrib_Attributes);
    click(w->cmdGetCurrentDate);
    EXPECT_TRUE(w->optAttrib_Date->isChecked());
    EXPECT_EQ(w->dtDate->date(), QDate::currentDate());
    EXPECT_TRUE(w->dtDate->hasFocus());
    click(w->optAttrib_Attributes);
    tick(w->chkDateCreated);
    EXPECT_TRUE(w->optAttrib_Date->isChecked());
}

TEST_F(PanelsTest, DatesForbidDirectoriesAndAttributesAllowThemAgainUnticked)
{
    start();
    listSample();
    tick(w->chkDirs);
    ASSERT_EQ(w->lwDirectory->count(), 3);
    clickTab("Attrib");
    click(w->optAttrib_Date);
    EXPECT_EQ(w->chkDirs->value(), 0);
    EXPECT_FALSE(w->chkDirs->isEnabled());
    EXPECT_EQ(w->chkFiles->value(), 1);
    EXPECT_EQ(w->lwDirectory->count(), 2);
    click(w->optAttrib_Attributes);
    EXPECT_TRUE(w->chkDirs->isEnabled());
    EXPECT_EQ(w->chkDirs->value(), 0);
    EXPECT_EQ(w->dirsAllowed, -1);

    // Free Select keeps "Directories" disabled for attributes and for the format option.
    QTest::mouseClick(w->TabStripFilemode->tabButton(1), Qt::LeftButton);
    ASSERT_EQ(w->fileMode, 1);
    click(w->optAttrib_Date);
    click(w->optAttrib_Attributes);
    EXPECT_FALSE(w->chkDirs->isEnabled());
    clickTab("Format");
    tick(w->chkFileDetect_KeepExt);
    EXPECT_TRUE(w->chkFormatTab_Detect->isChecked());
    click(w->chkFormatTab_Format);
    EXPECT_FALSE(w->chkDirs->isEnabled());
    EXPECT_EQ(w->dirsAllowed, -1);
}

TEST_F(PanelsTest, DetectionOptionsSelectDetectionAndTypingSelectsFormat)
{
    start();
    listSample();
    tick(w->chkDirs);
    clickTab("Format");
    ASSERT_TRUE(w->chkFormatTab_Format->isChecked());
    ASSERT_TRUE(w->chkProcessFilename->isEnabled());
    for (CheckBox* c : {w->chkFileDetect_KeepExt, w->chkFileDetect_TryText, w->chkFileDetect_TryMp3}) {
        SCOPED_TRACE(c->text().toStdString());
        click(w->chkFormatTab_Format);
        tick(c);
        EXPECT_TRUE(w->chkFormatTab_Detect->isChecked());
        EXPECT_EQ(w->chkDirs->value(), 0);
        EXPECT_FALSE(w->chkDirs->isEnabled());
        EXPECT_EQ(w->chkFiles->value(), 1);
        EXPECT_FALSE(w->chkProcessFilename->isEnabled());
        EXPECT_FALSE(w->chkProcessFileExt->isEnabled());
        EXPECT_EQ(w->dirsAllowed, 0);
    }
    // Clicking into the pattern does not select the format option; typing does.
    clickInto(w->txtFormat);
    EXPECT_TRUE(w->chkFormatTab_Detect->isChecked());
    QTest::keyClicks(w->txtFormat, "x");
    EXPECT_TRUE(w->chkFormatTab_Format->isChecked());
    EXPECT_TRUE(w->chkDirs->isEnabled());
    EXPECT_TRUE(w->chkProcessFilename->isEnabled());
    EXPECT_EQ(w->dirsAllowed, -1);
    click(w->chkFormatTab_Detect);
    tick(w->chkFormatAllMustBeAvailable);
    EXPECT_TRUE(w->chkFormatTab_Format->isChecked());
}

TEST_F(PanelsTest, EnumOptionsAutoDigitsAndResetEachDir)
{
    start();
    clickTab("Enum");
    ASSERT_TRUE(w->chkEnumTab_Enum->isChecked());
    EXPECT_FALSE(w->chkProcessFilename->isEnabled());
    const int nameTick = w->chkProcessFilename->value(), extTick = w->chkProcessFileExt->value();
    click(w->chkEnumTab_Normalize);
    EXPECT_TRUE(w->chkProcessFilename->isEnabled());
    EXPECT_TRUE(w->chkProcessFileExt->isEnabled());
    click(w->chkEnumTab_Enum);
    EXPECT_FALSE(w->chkProcessFilename->isEnabled());
    EXPECT_FALSE(w->chkProcessFileExt->isEnabled());
    EXPECT_EQ(w->chkProcessFilename->value(), nameTick);
    EXPECT_EQ(w->chkProcessFileExt->value(), extTick);

    // "Reset Each Dir." unticks and disables "Auto"; the digits box comes back with its number.
    ASSERT_EQ(w->chkEnumAutoZeros->value(), 1);
    ASSERT_FALSE(w->txtEnumZeros->isEnabled());
    click(w->chkEnumTab_Normalize);
    tick(w->chkEnumResetBetweenDirs);
    EXPECT_TRUE(w->chkEnumTab_Normalize->isChecked()); // no focus rule of its own
    EXPECT_EQ(w->chkEnumAutoZeros->value(), 0);
    EXPECT_FALSE(w->chkEnumAutoZeros->isEnabled());
    EXPECT_TRUE(w->txtEnumZeros->isEnabled());
    EXPECT_EQ(w->txtEnumZeros->text(), "2");
    EXPECT_EQ(w->txtEnumZeros->palette().color(QPalette::Base), QApplication::palette().color(QPalette::Base));
    tick(w->chkEnumResetBetweenDirs);
    EXPECT_TRUE(w->chkEnumAutoZeros->isEnabled());
    EXPECT_EQ(w->chkEnumAutoZeros->value(), 0);
    // A click on "Auto" selects the enumeration through the focus.
    tick(w->chkEnumAutoZeros);
    EXPECT_TRUE(w->chkEnumTab_Enum->isChecked());
    EXPECT_FALSE(w->txtEnumZeros->isEnabled());
}

TEST_F(PanelsTest, TouchingAnInputSelectsItsOption)
{
    start();
    clickTab("AddCrop");
    click(w->optCrop);
    click(w->optAddEnding);
    EXPECT_TRUE(w->optAdd->isChecked());
    click(w->optCropBeginning);
    EXPECT_TRUE(w->optCrop->isChecked());
    clickInto(w->txtAdd);
    EXPECT_TRUE(w->optAdd->isChecked());

    clickTab("Enum");
    w->txtEnumFormat->setText("<ENUM>_<NAME>");
    click(w->chkEnumTab_Normalize);
    clickInto(w->txtEnumFormat);
    EXPECT_TRUE(w->chkEnumTab_Enum->isChecked());
    EXPECT_FALSE(w->txtEnumFormat->hasSelectedText()); // the pattern keeps its caret
    clickInto(w->txtNormalize);
    EXPECT_TRUE(w->chkEnumTab_Normalize->isChecked());

    clickTab("Replace");
    click(w->optReplaceBatch);
    tick(w->chkCaseSensitive);
    EXPECT_TRUE(w->optReplaceSingle->isChecked());
    click(w->optReplaceBatch);
    // The batch buttons take the focus without choosing the batch list... nor the single pair.
    w->cmdReplaceAdd->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(w->optReplaceBatch->isChecked());
    clickInto(w->txtReplace);
    EXPECT_TRUE(w->optReplaceSingle->isChecked());
}

TEST_F(PanelsTest, BatchAddAppendsThePairAndCountsIt)
{
    start();
    clickTab("Replace");
    ASSERT_TRUE(w->state.tables.batchReplaceList.empty());
    tick(w->chkPreview); // unticked: the append asks for a preview all the same
    ASSERT_EQ(w->chkPreview->value(), 0);
    w->state.preview.previewRequested = 0;

    // An empty find box: nothing at all.
    click(w->cmdReplaceAdd);
    EXPECT_TRUE(w->state.tables.batchReplaceList.empty());
    EXPECT_EQ(w->lblBatchReplace->text(), "0 items in batch replace list...");
    EXPECT_EQ(w->state.preview.previewRequested, 0);

    clickInto(w->txtFind);
    QTest::keyClicks(w->txtFind, "a");
    clickInto(w->txtReplace);
    QTest::keyClicks(w->txtReplace, "b");
    tick(w->chkCaseSensitive);
    retype(w->txtReplaceStart, "");
    paste(w->txtReplaceStart, "-5");
    retype(w->txtReplaceCount, "3");
    click(w->cmdReplaceAdd);
    EXPECT_EQ(w->lblBatchReplace->text(), "1 item in batch replace list...");
    EXPECT_EQ(w->state.preview.previewRequested, -1);
    click(w->cmdReplaceAdd);
    EXPECT_EQ(w->lblBatchReplace->text(), "2 items in batch replace list...");
    ASSERT_EQ(w->state.tables.batchReplaceList.size(), 2u);
    for (const BatchReplaceItem& item : w->state.tables.batchReplaceList) {
        EXPECT_EQ(item.find, "a");
        EXPECT_EQ(item.replace, "b");
        EXPECT_EQ(item.caseSensitive, 1);
        EXPECT_EQ(item.swapMode, 0);
        EXPECT_EQ(item.start, 0); // the pasted "-5" as the box's range allows
        EXPECT_EQ(item.count, 3);
    }
    EXPECT_TRUE(w->optReplaceSingle->isChecked()); // the option stays

    // A pair the batch file could not give back is refused with a message.
    for (const char* find : {"a/b", "#a"}) {
        ui.answers.push_back(QMessageBox::Ok);
        retype(w->txtFind, find);
        click(w->cmdReplaceAdd);
        EXPECT_EQ(w->state.tables.batchReplaceList.size(), 2u) << find;
        ASSERT_FALSE(ui.asked.empty());
        EXPECT_TRUE(ui.asked.back().text.contains("\"/\"")) << ui.asked.back().text.toStdString();
    }
    EXPECT_EQ(w->lblBatchReplace->text(), "2 items in batch replace list...");

    // Batch replace with the two items can run: Rename! follows the list.
    listSample();
    click(w->optReplaceBatch);
    EXPECT_TRUE(w->cmdExecute->isEnabled());
}

TEST_F(PanelsTest, TagListsHoldTheirItemsAndInsertAtTheKeptCaret)
{
    start();
    EXPECT_EQ(w->cmbAddMp3Tag->count(), 28);
    EXPECT_EQ(w->cmbFormat->count(), 52);
    EXPECT_EQ(w->cmbFormatParts->count(), 9);
    EXPECT_EQ(w->cmbEnumFormat->count(), 4);
    EXPECT_EQ(w->cmbAddMp3Tag->itemText(27), "Move To SubDir <\\>");
    EXPECT_EQ(w->cmbFormat->itemText(9), "Accessed Date <ADATE>");
    EXPECT_EQ(w->cmbFormat->itemText(17), "Number of Dirs. in Dir. & SubDirs  <SDIRDIRS>");
    EXPECT_EQ(w->cmbFormat->itemText(51), "Part 9 <%9>");
    EXPECT_EQ(w->cmbFormatParts->itemText(0), "Part 1 <%1>");
    EXPECT_EQ(w->cmbEnumFormat->itemText(3), "Curr. Full Name <FULLNAME>");

    // The MP3 pattern: the caret left after "<AR" takes the tag there.
    clickTab("Mp3");
    clickInto(w->txtMp3Format);
    QTest::keyClick(w->txtMp3Format, Qt::Key_Home);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(w->txtMp3Format, Qt::Key_Right);
    QGuiApplication::clipboard()->setText("old");
    choose(w->cmbAddMp3Tag, 27);
    EXPECT_TRUE(textBecomes(w->txtMp3Format, "<AR<\\>TIST> - <TITLE>")) << w->txtMp3Format->text().toStdString();
    EXPECT_TRUE(w->txtMp3Format->hasFocus());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "<\\>");

    // The Format pattern: a selection is replaced by the tag, also after the focus went elsewhere.
    clickTab("Format");
    // Entered by the keyboard, a pattern box selects nothing: its caret waits at the end.
    ASSERT_TRUE(w->txtFormat->hasFocus());
    QTest::keyClick(w->txtFormat, Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_TRUE(w->txtFormatParts->hasFocus());
    EXPECT_FALSE(w->txtFormatParts->hasSelectedText());
    EXPECT_EQ(w->txtFormatParts->cursorPosition(), w->txtFormatParts->text().size());
    w->txtFormat->setText("<NAME> (<SIZE>).<EXT>");
    clickInto(w->txtFormat);
    QTest::keyClick(w->txtFormat, Qt::Key_End);
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(w->txtFormat, Qt::Key_Left, Qt::ShiftModifier); // ".<EXT>" minus "." : "<EXT>"
    ASSERT_EQ(w->txtFormat->selectedText(), "<EXT>");
    leave(w->txtFormat);
    choose(w->cmbFormat, 25);
    EXPECT_TRUE(textBecomes(w->txtFormat, "<NAME> (<SIZE>).<RND#>")) << w->txtFormat->text().toStdString();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "<RND#>");

    // The parts pattern, and the tag chosen from the list a second time.
    clickInto(w->txtFormatParts);
    QTest::keyClick(w->txtFormatParts, Qt::Key_End);
    choose(w->cmbFormatParts, 2);
    EXPECT_TRUE(textBecomes(w->txtFormatParts, "<%1> - <%2><%3>")) << w->txtFormatParts->text().toStdString();
    choose(w->cmbFormatParts, 2);
    EXPECT_TRUE(textBecomes(w->txtFormatParts, "<%1> - <%2><%3><%3>")) << w->txtFormatParts->text().toStdString();

    // The enumeration pattern: the caret last at the start takes the tag at the start,
    // and the enumeration option is chosen.
    clickTab("Enum");
    click(w->chkEnumTab_Normalize);
    w->txtEnumFormat->setText("_x");
    clickInto(w->txtEnumFormat);
    QTest::keyClick(w->txtEnumFormat, Qt::Key_Home);
    leave(w->txtEnumFormat);
    click(w->chkEnumTab_Normalize);
    choose(w->cmbEnumFormat, 0);
    EXPECT_TRUE(textBecomes(w->txtEnumFormat, "<ENUM>_x")) << w->txtEnumFormat->text().toStdString();
    EXPECT_TRUE(w->chkEnumTab_Enum->isChecked());
}

TEST_F(PanelsTest, EnterInTheMp3PatternGoesToRenameWithoutRunning)
{
    start();
    writeFile("a.mp3");
    w->txtPath->setEditText(work());
    w->readDirectory();
    w->updateFileViews();
    clickTab("Mp3");
    ASSERT_TRUE(w->cmdExecute->isEnabled());
    clickInto(w->txtMp3Format);
    QTest::keyClick(w->txtMp3Format, Qt::Key_Return);
    EXPECT_TRUE(w->cmdExecute->hasFocus());
    EXPECT_TRUE(QFileInfo::exists(work() + "/a.mp3"));
    EXPECT_TRUE(w->execute.frmExecute.isNull());

    // Without a tag "Rename!" is disabled and Enter stays in the box.
    retype(w->txtMp3Format, "x");
    ASSERT_FALSE(w->cmdExecute->isEnabled());
    QTest::keyClick(w->txtMp3Format, Qt::Key_Return);
    EXPECT_TRUE(w->txtMp3Format->hasFocus());
}

// Controls of a hidden panel pass the focus on: to "Rename!", or to "About"
// while "Rename!" is disabled. The keyboard never reaches them either.
TEST_F(PanelsTest, HiddenPanelsPassTheFocusOn)
{
    start();
    clickTab("Case");
    ASSERT_FALSE(w->frmFindReplace->isVisible());
    ASSERT_FALSE(w->cmdExecute->isEnabled());
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(w->txtFind, &in);
    EXPECT_TRUE(w->cmdAbout->hasFocus());
    listSample();
    ASSERT_TRUE(w->cmdExecute->isEnabled());
    QApplication::sendEvent(w->txtFind, &in);
    EXPECT_TRUE(w->cmdExecute->hasFocus());

    clickTab("Replace"); // nothing to find: "Rename!" is disabled
    ASSERT_FALSE(w->cmdExecute->isEnabled());
    QApplication::sendEvent(w->Case1[2], &in);
    EXPECT_TRUE(w->cmdAbout->hasFocus());
    EXPECT_TRUE(w->Case1[4]->isChecked()); // the option is not chosen by the focus

    // Tab walks the whole window without stopping in a hidden panel.
    w->txtPath->setFocus();
    for (int i = 0; i < 60; ++i) {
        QWidget* f = QApplication::focusWidget();
        ASSERT_NE(f, nullptr);
        for (QFrame* hidden : {w->frmConvertCase, w->frmSetAttributes, w->frmAddCrop, w->frmMp3Tag, w->frmEnum,
                               w->frmFormat, w->frmMisc})
            EXPECT_FALSE(hidden->isAncestorOf(f)) << f->objectName().toStdString();
        QTest::keyClick(f, Qt::Key_Tab);
    }
}

// Stored values run the same handlers as a user's change, so the looks follow them.
TEST_F(PanelsTest, StoredValuesSetTheLooksTheyImply)
{
    {
        platform::SettingsStore s;
        for (const auto& [key, value] : std::vector<std::pair<QString, QString>>{{"chkEnumAutoZeros", "1"},
                                                                                 {"chkEnumResetBetweenDirs", "1"},
                                                                                 {"chkDateDate", "0"},
                                                                                 {"chkDateTime", "0"},
                                                                                 {"chkR", "1"},
                                                                                 {"optAttrib", "0"}})
            s.setValue(key, value);
        s.sync();
    }
    start();
    EXPECT_EQ(w->chkEnumAutoZeros->value(), 0);
    EXPECT_FALSE(w->chkEnumAutoZeros->isEnabled());
    EXPECT_TRUE(w->txtEnumZeros->isEnabled());
    // Both date boxes stored unticked: one comes back ticked, with its picker.
    EXPECT_EQ(w->chkDateDate->value() + w->chkDateTime->value(), 1);
    EXPECT_EQ(w->dtDate->isEnabled(), w->chkDateDate->value() == 1);
    EXPECT_EQ(w->dtTime->isEnabled(), w->chkDateTime->value() == 1);
    EXPECT_TRUE(w->optAttrib_Attributes->isChecked());
    // "Write Protect" stored ticked: the next click makes it grey.
    clickTab("Attrib");
    tick(w->chkR);
    EXPECT_EQ(w->chkR->value(), 2);
}

TEST_F(PanelsTest, WithoutInstantPreviewAPreviewOfOtherOptionsIsEmptied)
{
    start();
    listSample();
    auto* list = ctl<platform::ListView>("lwDirectory");
    auto previews = [&] {
        QStringList out;
        for (int r = 0; r < list->count(); ++r)
            out << list->subItem(r, 1);
        return out;
    };
    const QStringList none = {"", ""};
    const QStringList replaced = {"x.txt", ""};
    ASSERT_EQ(list->count(), 2);
    ASSERT_EQ(list->text(0), "a.txt");
    clickTab("Replace");
    retype(ctl<QLineEdit>("txtFind"), "a");
    retype(ctl<QLineEdit>("txtReplace"), "x");
    ASSERT_TRUE(QTest::qWaitFor([&] { return previews() == replaced; }, 3000));

    // Unticking keeps the column as it is: it still matches the options.
    tick(ctl<QCheckBox>("chkPreview"));
    ASSERT_EQ(ctl<QCheckBox>("chkPreview")->checkState(), Qt::Unchecked);
    EXPECT_EQ(previews(), replaced);

    // Another mode's tab: the Find & Replace names go.
    clickTab("Case");
    EXPECT_EQ(previews(), none);
    EXPECT_EQ(w->StatusBar->panelText("preview"), "");

    // The same for a changed option of the mode whose names are shown. A click
    // on empty space asks for one preview, also without Instant Preview.
    clickTab("Replace");
    QAbstractItemView* view = list->reportView();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(5, view->viewport()->height() - 5));
    ASSERT_TRUE(QTest::qWaitFor([&] { return previews() == replaced; }, 3000));
    QTest::keyClicks(ctl<QLineEdit>("txtReplace"), "y");
    EXPECT_EQ(previews(), none);
}
