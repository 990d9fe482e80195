// The option panels driven as a user drives them: clicks on the real
// controls, keys typed into the boxes, tags chosen from the drop-down lists.
#include "mainwindow/frmmain.h"
#include "mainwindow/panels/modepanel.h"
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
        ctl<QComboBox>("txtPath")->setEditText(work());
        w->readDirectory();
        w->updateFileViews();
    }
    void clickTab(const QString& key)
    {
        QTest::mouseClick(
            ctl<platform::TabStrip>("TabStrip")->tabButton(ctl<platform::TabStrip>("TabStrip")->indexOfKey(key)),
            Qt::LeftButton);
        ASSERT_EQ(ctl<platform::TabStrip>("TabStrip")->selectedKey(), key);
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
    tick(ctl<platform::CheckBox>("chkEnumAutoZeros")); // the padding box is editable only without "Auto"
    ASSERT_TRUE(ctl<platform::TextBox>("txtEnumZeros")->isEnabled());
    struct Case {
        const char* tab;
        const char* box;
        const char* typed; // typed over the whole text; nullptr: pasted
        const char* pasted;
        const char* left;
    };
    const Case cases[] = {
        {"AddCrop", "txtCropNumber", "0", nullptr, "1"},  {"AddCrop", "txtCropNumber", "00", nullptr, "1"},
        {"AddCrop", "txtCropNumber", "", nullptr, "1"},   {"AddCrop", "txtCropNumber", "12", nullptr, "12"},
        {"AddCrop", "txtAddPos", nullptr, "-5", "0"},     {"AddCrop", "txtAddPos", "", nullptr, "0"},
        {"AddCrop", "txtCropPos", "", nullptr, "0"},      {"Replace", "txtReplaceStart", nullptr, "-5", "0"},
        {"Replace", "txtReplaceCount", "", nullptr, "0"}, {"Enum", "txtEnumZeros", "45", nullptr, "32"},
        {"Enum", "txtEnumZeros", "", nullptr, "0"},       {"Enum", "txtEnumStart", "-7", nullptr, "-7"},
        {"Enum", "txtEnumStart", "", nullptr, "0"},       {"Enum", "txtEnumStep", "", nullptr, "1"},
        {"Enum", "txtEnumStep", "-1", nullptr, "-1"},     {"Enum", "txtNormalize", "", nullptr, "0"},
        {"Enum", "txtNormalize", nullptr, "-3", "0"},
    };
    for (const Case& c : cases) {
        TextBox* box = ctl<TextBox>(c.box);
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
    click(ctl<platform::OptionButton>("optAdd"));
    clickInto(ctl<platform::TextBox>("txtCropNumber"));
    QTest::keyClick(ctl<platform::TextBox>("txtCropNumber"), Qt::Key_Tab);
    ASSERT_TRUE(ctl<platform::TextBox>("txtCropPos")->hasFocus());
    EXPECT_EQ(ctl<platform::TextBox>("txtCropPos")->selectedText(), ctl<platform::TextBox>("txtCropPos")->text());
    EXPECT_TRUE(ctl<platform::OptionButton>("optCrop")->isChecked());

    retype(ctl<platform::TextBox>("txtAddPos"), "1a-2");
    EXPECT_EQ(ctl<platform::TextBox>("txtAddPos")->text(), "12");
    QTest::keyClick(ctl<platform::TextBox>("txtAddPos"), Qt::Key_Backspace);
    EXPECT_EQ(ctl<platform::TextBox>("txtAddPos")->text(), "1");

    // A minus typed anywhere in the start value makes it negative, once.
    clickTab("Enum");
    retype(ctl<platform::TextBox>("txtEnumStart"), "123");
    QTest::keyClick(ctl<platform::TextBox>("txtEnumStart"), Qt::Key_Home);
    QTest::keyClick(ctl<platform::TextBox>("txtEnumStart"), Qt::Key_Right);
    QTest::keyClicks(ctl<platform::TextBox>("txtEnumStart"), "-");
    EXPECT_EQ(ctl<platform::TextBox>("txtEnumStart")->text(), "-123");
    QTest::keyClicks(ctl<platform::TextBox>("txtEnumStart"), "-");
    EXPECT_EQ(ctl<platform::TextBox>("txtEnumStart")->text(), "-123");
    retype(ctl<platform::TextBox>("txtEnumStep"), "--5");
    EXPECT_EQ(ctl<platform::TextBox>("txtEnumStep")->text(), "-5");
    leave(ctl<platform::TextBox>("txtEnumStep"));
    EXPECT_EQ(ctl<platform::TextBox>("txtEnumStep")->text(), "-5");
    EXPECT_EQ(w->readOptions().enumStart, "-123");
}

// F5 corrects the focused box without moving the focus.
TEST_F(PanelsTest, LeaveCorrectionOfTheFocusedBoxOnRequest)
{
    start();
    clickTab("AddCrop");
    click(ctl<platform::OptionButton>("optCrop"));
    retype(ctl<platform::TextBox>("txtCropNumber"), "0");
    w->applyLeaveCorrection(QApplication::focusWidget());
    EXPECT_EQ(ctl<platform::TextBox>("txtCropNumber")->text(), "1");
    EXPECT_TRUE(ctl<platform::TextBox>("txtCropNumber")->hasFocus());
    w->applyLeaveCorrection(ctl<QPushButton>("cmdAbout")); // no number box: nothing
}

TEST_F(PanelsTest, SpinnersStepWithinTheirRangeAndSelectTheirOption)
{
    start();
    clickTab("Replace");
    click(ctl<platform::OptionButton>("optReplaceBatch"));
    retype(ctl<platform::TextBox>("txtReplaceStart"), "");
    QTest::mouseClick(ctl<platform::UpDown>("UpDownReplace1")->upButton(), Qt::LeftButton);
    EXPECT_EQ(ctl<platform::TextBox>("txtReplaceStart")->text(), "1");
    EXPECT_TRUE(ctl<platform::OptionButton>("optReplaceSingle")->isChecked());
    EXPECT_TRUE(ctl<platform::OptionButton>("optReplaceSingle")->hasFocus());
    QTest::mouseClick(ctl<platform::UpDown>("UpDownReplace1")->downButton(), Qt::LeftButton);
    QTest::mouseClick(ctl<platform::UpDown>("UpDownReplace1")->downButton(), Qt::LeftButton);
    EXPECT_EQ(ctl<platform::TextBox>("txtReplaceStart")->text(), "0");

    clickTab("AddCrop");
    click(ctl<platform::OptionButton>("optAdd"));
    QTest::mouseClick(ctl<platform::UpDown>("UpDownCrop1")->downButton(), Qt::LeftButton);
    EXPECT_EQ(ctl<platform::TextBox>("txtCropNumber")->text(), "1"); // 1..999
    EXPECT_TRUE(ctl<platform::OptionButton>("optCrop")->isChecked());
    EXPECT_TRUE(ctl<platform::OptionButton>("optCrop")->hasFocus());

    // With "Auto" ticked the padding box is grey and keeps its number; its spinner still works.
    clickTab("Enum");
    click(ctl<platform::OptionButton>("chkEnumTab_Normalize"));
    ASSERT_EQ(ctl<platform::CheckBox>("chkEnumAutoZeros")->value(), 1);
    EXPECT_FALSE(ctl<platform::TextBox>("txtEnumZeros")->isEnabled());
    EXPECT_EQ(ctl<platform::TextBox>("txtEnumZeros")->palette().color(QPalette::Base),
              QApplication::palette().color(QPalette::Button));
    EXPECT_TRUE(ctl<platform::UpDown>("UpDownEnum3")->isEnabled());
    QTest::mouseClick(ctl<platform::UpDown>("UpDownEnum3")->upButton(), Qt::LeftButton);
    EXPECT_EQ(ctl<platform::TextBox>("txtEnumZeros")->text(), "3");
    EXPECT_TRUE(ctl<platform::OptionButton>("chkEnumTab_Enum")->isChecked());
    ctl<platform::TextBox>("txtNormalize")->setText("99");
    QTest::mouseClick(ctl<platform::UpDown>("UpDownNormalize")->upButton(), Qt::LeftButton);
    EXPECT_EQ(ctl<platform::TextBox>("txtNormalize")->text(), "99");
    EXPECT_TRUE(ctl<platform::OptionButton>("chkEnumTab_Normalize")->isChecked());
}

TEST_F(PanelsTest, AttributeBoxesCycleGreyUntickedTicked)
{
    start();
    listSample();
    clickTab("Attrib");
    click(ctl<platform::OptionButton>("optAttrib_Date"));
    for (CheckBox* box : {ctl<platform::CheckBox>("chkR"), ctl<platform::CheckBox>("chkH"),
                          ctl<platform::CheckBox>("chkS"), ctl<platform::CheckBox>("chkA")}) {
        SCOPED_TRACE(box->text().toStdString());
        ASSERT_EQ(box->value(), 2);
        std::vector<int> seen;
        for (int i = 0; i < 4; ++i) {
            tick(box);
            seen.push_back(box->value());
        }
        EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 0}));
        EXPECT_TRUE(ctl<platform::OptionButton>("optAttrib_Attributes")->isChecked());
        EXPECT_TRUE(ctl<QPushButton>("cmdExecute")->isEnabled());
        tick(box); // 1
        tick(box); // grey again
        ASSERT_EQ(box->value(), 2);
    }
    EXPECT_EQ(ctl<AttributesPanel>("frmSetAttributes")->lastAttrValueR(), 2);
    // All four grey: nothing to change.
    EXPECT_FALSE(ctl<QPushButton>("cmdExecute")->isEnabled());
}

TEST_F(PanelsTest, NewDateAndNewTimeKeepOneTickedAndTheirPickersFollow)
{
    start();
    clickTab("Attrib");
    // Without stored values the pickers start at the clock's date and time.
    EXPECT_EQ(ctl<QDateEdit>("dtDate")->date(), ui.clock.date());
    EXPECT_EQ(ctl<QTimeEdit>("dtTime")->time(), ui.clock.time());
    ASSERT_TRUE(ctl<platform::OptionButton>("optAttrib_Attributes")->isChecked());
    ASSERT_EQ(ctl<platform::CheckBox>("chkDateDate")->value(), 1);
    ASSERT_EQ(ctl<platform::CheckBox>("chkDateTime")->value(), 1);
    tick(ctl<platform::CheckBox>("chkDateTime"));
    EXPECT_TRUE(ctl<platform::OptionButton>("optAttrib_Date")->isChecked());
    EXPECT_EQ(ctl<platform::CheckBox>("chkDateTime")->value(), 0);
    EXPECT_FALSE(ctl<QTimeEdit>("dtTime")->isEnabled());
    EXPECT_TRUE(ctl<QDateEdit>("dtDate")->isEnabled());
    tick(ctl<platform::CheckBox>("chkDateDate"));
    EXPECT_EQ(ctl<platform::CheckBox>("chkDateDate")->value(), 0);
    EXPECT_EQ(ctl<platform::CheckBox>("chkDateTime")->value(), 1);
    EXPECT_FALSE(ctl<QDateEdit>("dtDate")->isEnabled());
    EXPECT_TRUE(ctl<QTimeEdit>("dtTime")->isEnabled());
    tick(ctl<platform::CheckBox>("chkDateDate"));
    EXPECT_TRUE(ctl<QDateEdit>("dtDate")->isEnabled());

    // "Get Current Date" selects the dates and puts today into the picker.
    click(ctl<platform::OptionButton>("optAttrib_Attributes"));
    ctl<QDateEdit>("dtDate")->setDate(QDate(2001, 2, 3));
    ASSERT_TRUE(
        ctl<platform::OptionButton>("optAttrib_Date")->isChecked()); // a change of the picker selects the dates too
    click(ctl<platform::OptionButton>("optAttrib_Attributes"));
    ui.clock = QDateTime(QDate(2026, 3, 2), QTime(0, 0, 5)); // just past midnight
    click(ctl<QToolButton>("cmdGetCurrentDate"));
    EXPECT_TRUE(ctl<platform::OptionButton>("optAttrib_Date")->isChecked());
    EXPECT_EQ(ctl<QDateEdit>("dtDate")->date(), QDate(2026, 3, 2));
    EXPECT_TRUE(ctl<QDateEdit>("dtDate")->hasFocus());
    click(ctl<QToolButton>("cmdGetCurrentTime"));
    EXPECT_EQ(ctl<QTimeEdit>("dtTime")->time(), QTime(0, 0, 5));
    click(ctl<platform::OptionButton>("optAttrib_Attributes"));
    tick(ctl<platform::CheckBox>("chkDateCreated"));
    EXPECT_TRUE(ctl<platform::OptionButton>("optAttrib_Date")->isChecked());
}

TEST_F(PanelsTest, DatesForbidDirectoriesAndAttributesAllowThemAgainUnticked)
{
    start();
    listSample();
    tick(ctl<platform::CheckBox>("chkDirs"));
    ASSERT_EQ(ctl<platform::ListView>("lwDirectory")->count(), 3);
    clickTab("Attrib");
    click(ctl<platform::OptionButton>("optAttrib_Date"));
    EXPECT_EQ(ctl<platform::CheckBox>("chkDirs")->value(), 0);
    EXPECT_FALSE(ctl<platform::CheckBox>("chkDirs")->isEnabled());
    EXPECT_EQ(ctl<platform::CheckBox>("chkFiles")->value(), 1);
    EXPECT_EQ(ctl<platform::ListView>("lwDirectory")->count(), 2);
    click(ctl<platform::OptionButton>("optAttrib_Attributes"));
    EXPECT_TRUE(ctl<platform::CheckBox>("chkDirs")->isEnabled());
    EXPECT_EQ(ctl<platform::CheckBox>("chkDirs")->value(), 0);
    EXPECT_EQ(w->dirsAllowed(), -1);

    // Free Select keeps "Directories" disabled for attributes and for the format option.
    QTest::mouseClick(ctl<platform::TabStrip>("TabStripFilemode")->tabButton(1), Qt::LeftButton);
    ASSERT_EQ(w->fileMode(), 1);
    click(ctl<platform::OptionButton>("optAttrib_Date"));
    click(ctl<platform::OptionButton>("optAttrib_Attributes"));
    EXPECT_FALSE(ctl<platform::CheckBox>("chkDirs")->isEnabled());
    clickTab("Format");
    tick(ctl<platform::CheckBox>("chkFileDetect_KeepExt"));
    EXPECT_TRUE(ctl<platform::OptionButton>("chkFormatTab_Detect")->isChecked());
    click(ctl<platform::OptionButton>("chkFormatTab_Format"));
    EXPECT_FALSE(ctl<platform::CheckBox>("chkDirs")->isEnabled());
    EXPECT_EQ(w->dirsAllowed(), -1);
}

TEST_F(PanelsTest, DetectionOptionsSelectDetectionAndTypingSelectsFormat)
{
    start();
    listSample();
    tick(ctl<platform::CheckBox>("chkDirs"));
    clickTab("Format");
    ASSERT_TRUE(ctl<platform::OptionButton>("chkFormatTab_Format")->isChecked());
    ASSERT_TRUE(ctl<platform::CheckBox>("chkProcessFilename")->isEnabled());
    for (CheckBox* c :
         {ctl<platform::CheckBox>("chkFileDetect_KeepExt"), ctl<platform::CheckBox>("chkFileDetect_TryText"),
          ctl<platform::CheckBox>("chkFileDetect_TryMp3")}) {
        SCOPED_TRACE(c->text().toStdString());
        click(ctl<platform::OptionButton>("chkFormatTab_Format"));
        tick(c);
        EXPECT_TRUE(ctl<platform::OptionButton>("chkFormatTab_Detect")->isChecked());
        EXPECT_EQ(ctl<platform::CheckBox>("chkDirs")->value(), 0);
        EXPECT_FALSE(ctl<platform::CheckBox>("chkDirs")->isEnabled());
        EXPECT_EQ(ctl<platform::CheckBox>("chkFiles")->value(), 1);
        EXPECT_FALSE(ctl<platform::CheckBox>("chkProcessFilename")->isEnabled());
        EXPECT_FALSE(ctl<platform::CheckBox>("chkProcessFileExt")->isEnabled());
        EXPECT_EQ(w->dirsAllowed(), 0);
    }
    // Clicking into the pattern does not select the format option; typing does.
    clickInto(ctl<platform::TextBox>("txtFormat"));
    EXPECT_TRUE(ctl<platform::OptionButton>("chkFormatTab_Detect")->isChecked());
    QTest::keyClicks(ctl<platform::TextBox>("txtFormat"), "x");
    EXPECT_TRUE(ctl<platform::OptionButton>("chkFormatTab_Format")->isChecked());
    EXPECT_TRUE(ctl<platform::CheckBox>("chkDirs")->isEnabled());
    EXPECT_TRUE(ctl<platform::CheckBox>("chkProcessFilename")->isEnabled());
    EXPECT_EQ(w->dirsAllowed(), -1);
    click(ctl<platform::OptionButton>("chkFormatTab_Detect"));
    tick(ctl<platform::CheckBox>("chkFormatAllMustBeAvailable"));
    EXPECT_TRUE(ctl<platform::OptionButton>("chkFormatTab_Format")->isChecked());
}

TEST_F(PanelsTest, EnumOptionsAutoDigitsAndResetEachDir)
{
    start();
    clickTab("Enum");
    ASSERT_TRUE(ctl<platform::OptionButton>("chkEnumTab_Enum")->isChecked());
    EXPECT_FALSE(ctl<platform::CheckBox>("chkProcessFilename")->isEnabled());
    const int nameTick = ctl<platform::CheckBox>("chkProcessFilename")->value(),
              extTick = ctl<platform::CheckBox>("chkProcessFileExt")->value();
    click(ctl<platform::OptionButton>("chkEnumTab_Normalize"));
    EXPECT_TRUE(ctl<platform::CheckBox>("chkProcessFilename")->isEnabled());
    EXPECT_TRUE(ctl<platform::CheckBox>("chkProcessFileExt")->isEnabled());
    click(ctl<platform::OptionButton>("chkEnumTab_Enum"));
    EXPECT_FALSE(ctl<platform::CheckBox>("chkProcessFilename")->isEnabled());
    EXPECT_FALSE(ctl<platform::CheckBox>("chkProcessFileExt")->isEnabled());
    EXPECT_EQ(ctl<platform::CheckBox>("chkProcessFilename")->value(), nameTick);
    EXPECT_EQ(ctl<platform::CheckBox>("chkProcessFileExt")->value(), extTick);

    // "Reset Each Dir." unticks and disables "Auto"; the digits box comes back with its number.
    ASSERT_EQ(ctl<platform::CheckBox>("chkEnumAutoZeros")->value(), 1);
    ASSERT_FALSE(ctl<platform::TextBox>("txtEnumZeros")->isEnabled());
    click(ctl<platform::OptionButton>("chkEnumTab_Normalize"));
    tick(ctl<platform::CheckBox>("chkEnumResetBetweenDirs"));
    EXPECT_TRUE(ctl<platform::OptionButton>("chkEnumTab_Normalize")->isChecked()); // no focus rule of its own
    EXPECT_EQ(ctl<platform::CheckBox>("chkEnumAutoZeros")->value(), 0);
    EXPECT_FALSE(ctl<platform::CheckBox>("chkEnumAutoZeros")->isEnabled());
    EXPECT_TRUE(ctl<platform::TextBox>("txtEnumZeros")->isEnabled());
    EXPECT_EQ(ctl<platform::TextBox>("txtEnumZeros")->text(), "2");
    EXPECT_EQ(ctl<platform::TextBox>("txtEnumZeros")->palette().color(QPalette::Base),
              QApplication::palette().color(QPalette::Base));
    tick(ctl<platform::CheckBox>("chkEnumResetBetweenDirs"));
    EXPECT_TRUE(ctl<platform::CheckBox>("chkEnumAutoZeros")->isEnabled());
    EXPECT_EQ(ctl<platform::CheckBox>("chkEnumAutoZeros")->value(), 0);
    // A click on "Auto" selects the enumeration through the focus.
    tick(ctl<platform::CheckBox>("chkEnumAutoZeros"));
    EXPECT_TRUE(ctl<platform::OptionButton>("chkEnumTab_Enum")->isChecked());
    EXPECT_FALSE(ctl<platform::TextBox>("txtEnumZeros")->isEnabled());
}

TEST_F(PanelsTest, TouchingAnInputSelectsItsOption)
{
    start();
    clickTab("AddCrop");
    click(ctl<platform::OptionButton>("optCrop"));
    click(ctl<platform::OptionButton>("optAddEnding"));
    EXPECT_TRUE(ctl<platform::OptionButton>("optAdd")->isChecked());
    click(ctl<platform::OptionButton>("optCropBeginning"));
    EXPECT_TRUE(ctl<platform::OptionButton>("optCrop")->isChecked());
    clickInto(ctl<platform::TextBox>("txtAdd"));
    EXPECT_TRUE(ctl<platform::OptionButton>("optAdd")->isChecked());

    clickTab("Enum");
    ctl<platform::TextBox>("txtEnumFormat")->setText("<ENUM>_<NAME>");
    click(ctl<platform::OptionButton>("chkEnumTab_Normalize"));
    clickInto(ctl<platform::TextBox>("txtEnumFormat"));
    EXPECT_TRUE(ctl<platform::OptionButton>("chkEnumTab_Enum")->isChecked());
    EXPECT_FALSE(ctl<platform::TextBox>("txtEnumFormat")->hasSelectedText()); // the pattern keeps its caret
    clickInto(ctl<platform::TextBox>("txtNormalize"));
    EXPECT_TRUE(ctl<platform::OptionButton>("chkEnumTab_Normalize")->isChecked());

    clickTab("Replace");
    click(ctl<platform::OptionButton>("optReplaceBatch"));
    tick(ctl<platform::CheckBox>("chkCaseSensitive"));
    EXPECT_TRUE(ctl<platform::OptionButton>("optReplaceSingle")->isChecked());
    click(ctl<platform::OptionButton>("optReplaceBatch"));
    // The batch buttons take the focus without choosing the batch list... nor the single pair.
    ctl<QToolButton>("cmdReplaceAdd")->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(ctl<platform::OptionButton>("optReplaceBatch")->isChecked());
    clickInto(ctl<platform::TextBox>("txtReplace"));
    EXPECT_TRUE(ctl<platform::OptionButton>("optReplaceSingle")->isChecked());
}

TEST_F(PanelsTest, BatchAddAppendsThePairAndCountsIt)
{
    start();
    clickTab("Replace");
    ASSERT_TRUE(w->state().tables.batchReplaceList.empty());
    tick(ctl<platform::CheckBox>("chkPreview")); // unticked: the append asks for a preview all the same
    ASSERT_EQ(ctl<platform::CheckBox>("chkPreview")->value(), 0);
    w->state().preview.previewRequested = 0;

    // An empty find box: nothing at all.
    click(ctl<QToolButton>("cmdReplaceAdd"));
    EXPECT_TRUE(w->state().tables.batchReplaceList.empty());
    EXPECT_EQ(ctl<QLabel>("lblBatchReplace")->text(), "0 items in batch replace list...");
    EXPECT_EQ(w->state().preview.previewRequested, 0);

    clickInto(ctl<platform::TextBox>("txtFind"));
    QTest::keyClicks(ctl<platform::TextBox>("txtFind"), "a");
    clickInto(ctl<platform::TextBox>("txtReplace"));
    QTest::keyClicks(ctl<platform::TextBox>("txtReplace"), "b");
    tick(ctl<platform::CheckBox>("chkCaseSensitive"));
    retype(ctl<platform::TextBox>("txtReplaceStart"), "");
    paste(ctl<platform::TextBox>("txtReplaceStart"), "-5");
    retype(ctl<platform::TextBox>("txtReplaceCount"), "3");
    click(ctl<QToolButton>("cmdReplaceAdd"));
    EXPECT_EQ(ctl<QLabel>("lblBatchReplace")->text(), "1 item in batch replace list...");
    EXPECT_EQ(w->state().preview.previewRequested, -1);
    click(ctl<QToolButton>("cmdReplaceAdd"));
    EXPECT_EQ(ctl<QLabel>("lblBatchReplace")->text(), "2 items in batch replace list...");
    ASSERT_EQ(w->state().tables.batchReplaceList.size(), 2u);
    for (const BatchReplaceItem& item : w->state().tables.batchReplaceList) {
        EXPECT_EQ(item.find, "a");
        EXPECT_EQ(item.replace, "b");
        EXPECT_EQ(item.caseSensitive, 1);
        EXPECT_EQ(item.swapMode, 0);
        EXPECT_EQ(item.start, 0); // the pasted "-5" as the box's range allows
        EXPECT_EQ(item.count, 3);
    }
    EXPECT_TRUE(ctl<platform::OptionButton>("optReplaceSingle")->isChecked()); // the option stays

    // A pair the batch file could not give back is refused with a message.
    for (const char* find : {"a/b", "#a"}) {
        ui.answers.push_back(QMessageBox::Ok);
        retype(ctl<platform::TextBox>("txtFind"), find);
        click(ctl<QToolButton>("cmdReplaceAdd"));
        EXPECT_EQ(w->state().tables.batchReplaceList.size(), 2u) << find;
        ASSERT_FALSE(ui.asked.empty());
        EXPECT_TRUE(ui.asked.back().text.contains("\"/\"")) << ui.asked.back().text.toStdString();
    }
    EXPECT_EQ(ctl<QLabel>("lblBatchReplace")->text(), "2 items in batch replace list...");

    // Batch replace with the two items can run: Rename! follows the list.
    listSample();
    click(ctl<platform::OptionButton>("optReplaceBatch"));
    EXPECT_TRUE(ctl<QPushButton>("cmdExecute")->isEnabled());
}

TEST_F(PanelsTest, TagListsHoldTheirItemsAndInsertAtTheKeptCaret)
{
    start();
    EXPECT_EQ(ctl<QComboBox>("cmbAddMp3Tag")->count(), 28);
    EXPECT_EQ(ctl<QComboBox>("cmbFormat")->count(), 52);
    EXPECT_EQ(ctl<QComboBox>("cmbFormatParts")->count(), 9);
    EXPECT_EQ(ctl<QComboBox>("cmbEnumFormat")->count(), 4);
    EXPECT_EQ(ctl<QComboBox>("cmbAddMp3Tag")->itemText(27), "Move To SubDir <\\>");
    EXPECT_EQ(ctl<QComboBox>("cmbFormat")->itemText(9), "Accessed Date <ADATE>");
    EXPECT_EQ(ctl<QComboBox>("cmbFormat")->itemText(17), "Number of Dirs. in Dir. & SubDirs  <SDIRDIRS>");
    EXPECT_EQ(ctl<QComboBox>("cmbFormat")->itemText(51), "Part 9 <%9>");
    EXPECT_EQ(ctl<QComboBox>("cmbFormatParts")->itemText(0), "Part 1 <%1>");
    EXPECT_EQ(ctl<QComboBox>("cmbEnumFormat")->itemText(3), "Curr. Full Name <FULLNAME>");

    // The MP3 pattern: the caret left after "<AR" takes the tag there.
    clickTab("Mp3");
    clickInto(ctl<platform::TextBox>("txtMp3Format"));
    QTest::keyClick(ctl<platform::TextBox>("txtMp3Format"), Qt::Key_Home);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(ctl<platform::TextBox>("txtMp3Format"), Qt::Key_Right);
    QGuiApplication::clipboard()->setText("old");
    choose(ctl<QComboBox>("cmbAddMp3Tag"), 27);
    EXPECT_TRUE(textBecomes(ctl<platform::TextBox>("txtMp3Format"), "<AR<\\>TIST> - <TITLE>"))
        << ctl<platform::TextBox>("txtMp3Format")->text().toStdString();
    EXPECT_TRUE(ctl<platform::TextBox>("txtMp3Format")->hasFocus());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "<\\>");

    // The Format pattern: a selection is replaced by the tag, also after the focus went elsewhere.
    clickTab("Format");
    // Entered by the keyboard, a pattern box selects nothing: its caret waits at the end.
    ASSERT_TRUE(ctl<platform::TextBox>("txtFormat")->hasFocus());
    QTest::keyClick(ctl<platform::TextBox>("txtFormat"), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_TRUE(ctl<platform::TextBox>("txtFormatParts")->hasFocus());
    EXPECT_FALSE(ctl<platform::TextBox>("txtFormatParts")->hasSelectedText());
    EXPECT_EQ(ctl<platform::TextBox>("txtFormatParts")->cursorPosition(),
              ctl<platform::TextBox>("txtFormatParts")->text().size());
    ctl<platform::TextBox>("txtFormat")->setText("<NAME> (<SIZE>).<EXT>");
    clickInto(ctl<platform::TextBox>("txtFormat"));
    QTest::keyClick(ctl<platform::TextBox>("txtFormat"), Qt::Key_End);
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(ctl<platform::TextBox>("txtFormat"), Qt::Key_Left,
                        Qt::ShiftModifier); // ".<EXT>" minus "." : "<EXT>"
    ASSERT_EQ(ctl<platform::TextBox>("txtFormat")->selectedText(), "<EXT>");
    leave(ctl<platform::TextBox>("txtFormat"));
    choose(ctl<QComboBox>("cmbFormat"), 25);
    EXPECT_TRUE(textBecomes(ctl<platform::TextBox>("txtFormat"), "<NAME> (<SIZE>).<RND#>"))
        << ctl<platform::TextBox>("txtFormat")->text().toStdString();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "<RND#>");

    // The parts pattern, and the tag chosen from the list a second time.
    clickInto(ctl<platform::TextBox>("txtFormatParts"));
    QTest::keyClick(ctl<platform::TextBox>("txtFormatParts"), Qt::Key_End);
    choose(ctl<QComboBox>("cmbFormatParts"), 2);
    EXPECT_TRUE(textBecomes(ctl<platform::TextBox>("txtFormatParts"), "<%1> - <%2><%3>"))
        << ctl<platform::TextBox>("txtFormatParts")->text().toStdString();
    choose(ctl<QComboBox>("cmbFormatParts"), 2);
    EXPECT_TRUE(textBecomes(ctl<platform::TextBox>("txtFormatParts"), "<%1> - <%2><%3><%3>"))
        << ctl<platform::TextBox>("txtFormatParts")->text().toStdString();

    // The enumeration pattern: the caret last at the start takes the tag at the start,
    // and the enumeration option is chosen.
    clickTab("Enum");
    click(ctl<platform::OptionButton>("chkEnumTab_Normalize"));
    ctl<platform::TextBox>("txtEnumFormat")->setText("_x");
    clickInto(ctl<platform::TextBox>("txtEnumFormat"));
    QTest::keyClick(ctl<platform::TextBox>("txtEnumFormat"), Qt::Key_Home);
    leave(ctl<platform::TextBox>("txtEnumFormat"));
    click(ctl<platform::OptionButton>("chkEnumTab_Normalize"));
    choose(ctl<QComboBox>("cmbEnumFormat"), 0);
    EXPECT_TRUE(textBecomes(ctl<platform::TextBox>("txtEnumFormat"), "<ENUM>_x"))
        << ctl<platform::TextBox>("txtEnumFormat")->text().toStdString();
    EXPECT_TRUE(ctl<platform::OptionButton>("chkEnumTab_Enum")->isChecked());
}

TEST_F(PanelsTest, EnterInTheMp3PatternGoesToRenameWithoutRunning)
{
    start();
    writeFile("a.mp3");
    ctl<QComboBox>("txtPath")->setEditText(work());
    w->readDirectory();
    w->updateFileViews();
    clickTab("Mp3");
    ASSERT_TRUE(ctl<QPushButton>("cmdExecute")->isEnabled());
    clickInto(ctl<platform::TextBox>("txtMp3Format"));
    QTest::keyClick(ctl<platform::TextBox>("txtMp3Format"), Qt::Key_Return);
    EXPECT_TRUE(ctl<QPushButton>("cmdExecute")->hasFocus());
    EXPECT_TRUE(QFileInfo::exists(work() + "/a.mp3"));
    EXPECT_TRUE(w->executeState().frmExecute.isNull());

    // Without a tag "Rename!" is disabled and Enter stays in the box.
    retype(ctl<platform::TextBox>("txtMp3Format"), "x");
    ASSERT_FALSE(ctl<QPushButton>("cmdExecute")->isEnabled());
    QTest::keyClick(ctl<platform::TextBox>("txtMp3Format"), Qt::Key_Return);
    EXPECT_TRUE(ctl<platform::TextBox>("txtMp3Format")->hasFocus());
}

// Controls of a hidden panel pass the focus on: to "Rename!", or to "About"
// while "Rename!" is disabled. The keyboard never reaches them either.
TEST_F(PanelsTest, HiddenPanelsPassTheFocusOn)
{
    start();
    clickTab("Case");
    ASSERT_FALSE(ctl<QFrame>("frmFindReplace")->isVisible());
    ASSERT_FALSE(ctl<QPushButton>("cmdExecute")->isEnabled());
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(ctl<platform::TextBox>("txtFind"), &in);
    EXPECT_TRUE(ctl<QPushButton>("cmdAbout")->hasFocus());
    listSample();
    ASSERT_TRUE(ctl<QPushButton>("cmdExecute")->isEnabled());
    QApplication::sendEvent(ctl<platform::TextBox>("txtFind"), &in);
    EXPECT_TRUE(ctl<QPushButton>("cmdExecute")->hasFocus());

    clickTab("Replace"); // nothing to find: "Rename!" is disabled
    ASSERT_FALSE(ctl<QPushButton>("cmdExecute")->isEnabled());
    QApplication::sendEvent(ctl<platform::OptionButton>("Case1_2"), &in);
    EXPECT_TRUE(ctl<QPushButton>("cmdAbout")->hasFocus());
    EXPECT_TRUE(ctl<platform::OptionButton>("Case1_4")->isChecked()); // the option is not chosen by the focus

    // Tab walks the whole window without stopping in a hidden panel.
    ctl<QComboBox>("txtPath")->setFocus();
    for (int i = 0; i < 60; ++i) {
        QWidget* f = QApplication::focusWidget();
        ASSERT_NE(f, nullptr);
        for (QFrame* hidden :
             {ctl<QFrame>("frmConvertCase"), ctl<QFrame>("frmSetAttributes"), ctl<QFrame>("frmAddCrop"),
              ctl<QFrame>("frmMp3Tag"), ctl<QFrame>("frmEnum"), ctl<QFrame>("frmFormat"), ctl<QFrame>("frmMisc")})
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
    EXPECT_EQ(ctl<platform::CheckBox>("chkEnumAutoZeros")->value(), 0);
    EXPECT_FALSE(ctl<platform::CheckBox>("chkEnumAutoZeros")->isEnabled());
    EXPECT_TRUE(ctl<platform::TextBox>("txtEnumZeros")->isEnabled());
    // Both date boxes stored unticked: one comes back ticked, with its picker.
    EXPECT_EQ(ctl<platform::CheckBox>("chkDateDate")->value() + ctl<platform::CheckBox>("chkDateTime")->value(), 1);
    EXPECT_EQ(ctl<QDateEdit>("dtDate")->isEnabled(), ctl<platform::CheckBox>("chkDateDate")->value() == 1);
    EXPECT_EQ(ctl<QTimeEdit>("dtTime")->isEnabled(), ctl<platform::CheckBox>("chkDateTime")->value() == 1);
    EXPECT_TRUE(ctl<platform::OptionButton>("optAttrib_Attributes")->isChecked());
    // "Write Protect" stored ticked: the next click makes it grey.
    clickTab("Attrib");
    tick(ctl<platform::CheckBox>("chkR"));
    EXPECT_EQ(ctl<platform::CheckBox>("chkR")->value(), 2);
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
    EXPECT_EQ(ctl<platform::StatusPanels>("StatusBar")->panelText("preview"), "");

    // The same for a changed option of the mode whose names are shown. A click
    // on empty space asks for one preview, also without Instant Preview.
    clickTab("Replace");
    QAbstractItemView* view = list->reportView();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(5, view->viewport()->height() - 5));
    ASSERT_TRUE(QTest::qWaitFor([&] { return previews() == replaced; }, 3000));
    QTest::keyClicks(ctl<QLineEdit>("txtReplace"), "y");
    EXPECT_EQ(previews(), none);
}
