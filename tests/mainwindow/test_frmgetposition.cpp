#include "mainwindow/frmgetposition.h"
#include "mainwindow/frmmain.h"
#include "mainwindow_fixture.h"
#include "test_support.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

// ------------------------------------------------------------ the arithmetic

TEST(PickerArithmetic, InitialCaretIsPlacedAndKeptInsideTheSample)
{
    struct Case {
        PickerMode mode;
        int n, position, length;
        int start, selected;
    };
    const Case cases[] = {
        {PickerMode::Position, 6, 2, 9, 2, 0}, // length unused without a selection
        {PickerMode::Selection, 6, 1, 3, 1, 3},
        {PickerMode::Text, 6, 0, 0, 0, 0},
        {PickerMode::PositionFromEnd, 6, 2, 0, 4, 0}, // between d and e of "abcdef"
        {PickerMode::PositionFromEnd, 6, 0, 0, 6, 0},
        {PickerMode::SelectionFromEnd, 6, 1, 2, 3, 2}, // "de" of "abcdef"
        // Positions past the sample are pinned to it instead of going negative.
        {PickerMode::PositionFromEnd, 10, 50, 0, 0, 0},
        {PickerMode::SelectionFromEnd, 6, 5, 4, 0, 4},
        {PickerMode::Position, 6, 50, 0, 6, 0},
        {PickerMode::Selection, 6, 4, 9, 4, 2},
        {PickerMode::Position, 0, 3, 0, 0, 0},
        {PickerMode::Selection, 6, -3, -2, 0, 0},
    };
    for (const Case& c : cases) {
        const PickerCaret r = initialCaret(c.mode, c.n, c.position, c.length);
        EXPECT_EQ(r.start, c.start) << int(c.mode) << " n=" << c.n << " pos=" << c.position;
        EXPECT_EQ(r.length, c.selected) << int(c.mode) << " n=" << c.n << " pos=" << c.position;
    }
}

TEST(PickerArithmetic, ReadingGivesPositionLengthAndLabel)
{
    struct Case {
        PickerMode mode;
        int n, s, k;
        int position, length;
        const char* label;
    };
    const Case cases[] = {
        {PickerMode::Position, 6, 3, 0, 3, 0, "Current position: 3"},
        {PickerMode::Selection, 6, 1, 2, 1, 2, "Current position: 1\nSelection length: 2"},
        {PickerMode::Selection, 6, 4, 0, 4, 0, "Current position: 4\nSelection length: 0"},
        {PickerMode::PositionFromEnd, 6, 4, 0, 2, 0, "Current position: -2"},
        {PickerMode::PositionFromEnd, 6, 6, 0, 0, 0, "Current position: -0"},
        {PickerMode::SelectionFromEnd, 6, 2, 2, 2, 2, "Current position: -2\nSelection length: 2"},
        {PickerMode::SelectionFromEnd, 6, 3, 3, 0, 3, "Current position: 0\nSelection length: 3"},
    };
    for (const Case& c : cases) {
        const PickerReading r = readCaret(c.mode, c.n, c.s, c.k);
        EXPECT_EQ(r.position, c.position) << c.label;
        EXPECT_EQ(r.length, c.length) << c.label;
        EXPECT_TRUE(r.showsLabel);
        EXPECT_EQ(r.label, QString::fromUtf8(c.label));
    }
    EXPECT_FALSE(readCaret(PickerMode::Text, 6, 1, 2).showsLabel);
}

TEST(PickerArithmetic, IncomingNumbersAndInstructions)
{
    const std::pair<const char*, qint16> numbers[] = {
        {"007", 7}, {"2", 2}, {"", 0}, {"abc", 0}, {"12abc", 12}, {"99999", 32767}, {"-99999", -32768}, {" 3", 3},
    };
    for (const auto& [text, value] : numbers)
        EXPECT_EQ(pickerNumber(QString::fromLatin1(text)), value) << text;
    EXPECT_EQ(pickerInstruction(PickerMode::Position), "Place cursor on desired position:");
    EXPECT_EQ(pickerInstruction(PickerMode::PositionFromEnd), "Place cursor on desired position:");
    EXPECT_EQ(pickerInstruction(PickerMode::Selection), "Select text to set position and length:");
    EXPECT_EQ(pickerInstruction(PickerMode::SelectionFromEnd), "Select text to set position and length:");
    EXPECT_EQ(pickerInstruction(PickerMode::Text), "Select Text:");
}

// ------------------------------------------------------------ through the main window

class PickerTest : public MainWindowFixture<> {
protected:
    bool opened = false;

    void start(const QStringList& files)
    {
        for (const QString& f : files)
            writeFile(f);
        MainWindowFixture::start();
        ctl<QComboBox>("txtPath")->setEditText(work());
        w->readDirectory();
        w->updateFileViews();
        if (ctl<platform::ListView>("lwDirectory")->count() > 0)
            ctl<platform::ListView>("lwDirectory")->setCurrentRow(0);
    }
    // Clicks `button` and, once the picker is up and active, runs `script` on
    // it. The picker is always closed afterwards, so no test waits on it.
    void pick(QToolButton* button, const std::function<void(FrmGetPosition*)>& script)
    {
        opened = false;
        QTimer::singleShot(0, w.get(), [this, script] {
            auto* d = qobject_cast<FrmGetPosition*>(QApplication::activeModalWidget());
            if (!d)
                return;
            opened = true;
            if (!QTest::qWaitForWindowActive(d) || !QTest::qWaitFor([d] { return d->nameBoxFocused(); }, 3000))
                ADD_FAILURE() << "the picker never got the focus";
            else
                script(d);
            if (d->isVisible()) {
                ADD_FAILURE() << "the script left the picker open";
                d->reject();
            }
        });
        QTest::mouseClick(button, Qt::LeftButton);
        QApplication::processEvents(); // the scripted timer runs even if nothing opened
    }
    static QLineEdit* edit(FrmGetPosition* d) { return d->cmbFiles->lineEdit(); }
    static bool waitLabel(FrmGetPosition* d, const QString& text)
    {
        return QTest::qWaitFor([&] { return d->lblCurrentPos->text() == text; }, 3000);
    }
};

TEST_F(PickerTest, AddFromEndPlacesCaretAndOkKeepsOrChangesThePosition)
{
    start({"abcdef.txt"});
    ctl<platform::TabStrip>("TabStrip")->selectKey("AddCrop");
    QTest::mouseClick(ctl<platform::OptionButton>("optAddEnding"), Qt::LeftButton);
    ctl<platform::TextBox>("txtAddPos")->setText("2");
    pick(ctl<QToolButton>("cmdAddGetPosition"), [&](FrmGetPosition* d) {
        EXPECT_EQ(d->windowTitle(), "Visual Assist");
        EXPECT_EQ(d->lblInfo->text(), "Place cursor on desired position:");
        EXPECT_EQ(d->cmbFiles->currentText(), "abcdef");
        EXPECT_EQ(edit(d)->cursorPosition(), 4);
        EXPECT_TRUE(waitLabel(d, "Current position: -2"));
        QTest::mouseClick(d->cmdOK, Qt::LeftButton);
    });
    EXPECT_TRUE(opened);
    EXPECT_EQ(ctl<platform::TextBox>("txtAddPos")->text(), "2");
    EXPECT_EQ(w->focusWidget(), ctl<platform::TextBox>("txtAdd"));

    // Moving the caret to the end picks 0; Enter in the name box presses OK.
    pick(ctl<QToolButton>("cmdAddGetPosition"), [&](FrmGetPosition* d) {
        QTest::keyClick(edit(d), Qt::Key_End);
        EXPECT_TRUE(waitLabel(d, "Current position: -0"));
        QTest::keyClick(edit(d), Qt::Key_Return);
    });
    EXPECT_EQ(ctl<platform::TextBox>("txtAddPos")->text(), "0");

    // From the beginning, counted from the start.
    QTest::mouseClick(ctl<platform::OptionButton>("optAddBeginning"), Qt::LeftButton);
    pick(ctl<QToolButton>("cmdAddGetPosition"), [&](FrmGetPosition* d) {
        EXPECT_EQ(edit(d)->cursorPosition(), 0);
        QTest::keyClick(edit(d), Qt::Key_Right);
        QTest::keyClick(edit(d), Qt::Key_Right);
        QTest::keyClick(edit(d), Qt::Key_Right);
        EXPECT_TRUE(waitLabel(d, "Current position: 3"));
        QTest::mouseClick(d->cmdOK, Qt::LeftButton);
    });
    EXPECT_EQ(ctl<platform::TextBox>("txtAddPos")->text(), "3");
}

TEST_F(PickerTest, CancelEscapeAndCloseWriteTheIncomingValuesBack)
{
    start({"abcdef.txt"});
    ctl<platform::TabStrip>("TabStrip")->selectKey("AddCrop");
    ctl<platform::TextBox>("txtAddPos")->setText("007");
    pick(ctl<QToolButton>("cmdAddGetPosition"), [&](FrmGetPosition* d) {
        QTest::keyClick(edit(d), Qt::Key_End);
        EXPECT_TRUE(waitLabel(d, "Current position: 6"));
        QTest::mouseClick(d->cmdCancel, Qt::LeftButton);
    });
    EXPECT_EQ(ctl<platform::TextBox>("txtAddPos")->text(), "7");

    ctl<platform::TabStrip>("TabStrip")->selectKey("Replace");
    ctl<platform::TextBox>("txtFind")->setText("keep me");
    pick(ctl<QToolButton>("cmdReplaceGetString"), [&](FrmGetPosition* d) {
        QTest::keyClick(edit(d), Qt::Key_End, Qt::ShiftModifier);
        d->posTimer_Timer();
        QTest::keyClick(edit(d), Qt::Key_Escape);
    });
    EXPECT_EQ(ctl<platform::TextBox>("txtFind")->text(), "keep me");
    EXPECT_EQ(w->focusWidget(), ctl<platform::TextBox>("txtFind"));

    ctl<platform::TextBox>("txtReplaceStart")->setText("4");
    pick(ctl<QToolButton>("cmdReplaceGetPosition"), [&](FrmGetPosition* d) {
        QTest::keyClick(edit(d), Qt::Key_Home);
        EXPECT_TRUE(waitLabel(d, "Current position: 0"));
        d->close();
    });
    EXPECT_EQ(ctl<platform::TextBox>("txtReplaceStart")->text(), "4");
}

TEST_F(PickerTest, TextModePicksTheSelectionOrNothing)
{
    start({"abcdef.txt"});
    ctl<platform::TabStrip>("TabStrip")->selectKey("Replace");
    ctl<platform::TextBox>("txtFind")->setText("old");
    pick(ctl<QToolButton>("cmdReplaceGetString"), [&](FrmGetPosition* d) {
        EXPECT_EQ(d->lblInfo->text(), "Select Text:");
        EXPECT_EQ(edit(d)->cursorPosition(), 0);
        EXPECT_FALSE(edit(d)->hasSelectedText());
        d->posTimer_Timer();
        EXPECT_EQ(d->lblCurrentPos->text(), "");
        QTest::mouseClick(d->cmdOK, Qt::LeftButton);
    });
    EXPECT_EQ(ctl<platform::TextBox>("txtFind")->text(), "");

    pick(ctl<QToolButton>("cmdReplaceGetString"), [&](FrmGetPosition* d) {
        QTest::keyClick(edit(d), Qt::Key_Right);
        QTest::keyClick(edit(d), Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(edit(d), Qt::Key_Right, Qt::ShiftModifier);
        d->posTimer_Timer();
        QTest::keyClick(edit(d), Qt::Key_Return);
    });
    EXPECT_EQ(ctl<platform::TextBox>("txtFind")->text(), "bc");
}

// Enter is OK also when the selection runs to the end of the name, where the
// name box could take the key for a completion: the dialog closes and the
// boxes get what OK gives, in Crop and in "Look for".
TEST_F(PickerTest, EnterTakesASelectionThatRunsToTheEndOfTheName)
{
    start({"abcdef.txt", "zzz.txt"});
    ctl<platform::TabStrip>("TabStrip")->selectKey("AddCrop");
    QTest::mouseClick(ctl<platform::OptionButton>("optCropBeginning"), Qt::LeftButton);
    ctl<platform::TextBox>("txtCropPos")->setText("0");
    ctl<platform::TextBox>("txtCropNumber")->setText("1");
    pick(ctl<QToolButton>("cmdCropGetPosition"), [&](FrmGetPosition* d) {
        QTest::keyClick(edit(d), Qt::Key_Home);
        QTest::keyClick(edit(d), Qt::Key_Right);
        QTest::keyClick(edit(d), Qt::Key_Right);
        QTest::keyClick(edit(d), Qt::Key_End, Qt::ShiftModifier);
        EXPECT_EQ(edit(d)->selectedText(), "cdef");
        EXPECT_TRUE(waitLabel(d, "Current position: 2\nSelection length: 4"));
        QTest::keyClick(edit(d), Qt::Key_Return);
        EXPECT_FALSE(d->isVisible());
    });
    EXPECT_TRUE(opened);
    EXPECT_EQ(ctl<platform::TextBox>("txtCropPos")->text(), "2");
    EXPECT_EQ(ctl<platform::TextBox>("txtCropNumber")->text(), "4");

    ctl<platform::TabStrip>("TabStrip")->selectKey("Replace");
    ctl<platform::TextBox>("txtFind")->setText("old");
    pick(ctl<QToolButton>("cmdReplaceGetString"), [&](FrmGetPosition* d) {
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(edit(d), Qt::Key_Right);
        QTest::keyClick(edit(d), Qt::Key_End, Qt::ShiftModifier);
        d->posTimer_Timer(); // the tick a user's pause lets pass
        QTest::keyClick(edit(d), Qt::Key_Enter);
        EXPECT_FALSE(d->isVisible());
    });
    EXPECT_EQ(ctl<platform::TextBox>("txtFind")->text(), "def");
    EXPECT_EQ(w->focusWidget(), ctl<platform::TextBox>("txtFind"));
}

TEST_F(PickerTest, CropFromEndShowsPositionAndLengthAndSelectsTheIncomingRun)
{
    start({"abcdef.txt"});
    ctl<platform::TabStrip>("TabStrip")->selectKey("AddCrop");
    QTest::mouseClick(ctl<platform::OptionButton>("optCropEnding"), Qt::LeftButton);
    ctl<platform::TextBox>("txtCropPos")->setText("1");
    ctl<platform::TextBox>("txtCropNumber")->setText("2");
    pick(ctl<QToolButton>("cmdCropGetPosition"), [&](FrmGetPosition* d) {
        EXPECT_EQ(d->lblInfo->text(), "Select text to set position and length:");
        EXPECT_EQ(edit(d)->selectedText(), "de");
        EXPECT_TRUE(waitLabel(d, "Current position: -1\nSelection length: 2"));
        // A selection reaching the end reads position 0 without a sign.
        QTest::keyClick(edit(d), Qt::Key_End, Qt::ShiftModifier);
        EXPECT_TRUE(waitLabel(d, "Current position: 0\nSelection length: 3"));
        QTest::mouseClick(d->cmdOK, Qt::LeftButton);
    });
    EXPECT_EQ(ctl<platform::TextBox>("txtCropPos")->text(), "0");
    EXPECT_EQ(ctl<platform::TextBox>("txtCropNumber")->text(), "3");
    EXPECT_EQ(w->focusWidget(), ctl<platform::TextBox>("txtCropNumber"));

    // Only a caret: length 0 is written as it stands.
    QTest::mouseClick(ctl<platform::OptionButton>("optCropBeginning"), Qt::LeftButton);
    pick(ctl<QToolButton>("cmdCropGetPosition"), [&](FrmGetPosition* d) {
        EXPECT_EQ(edit(d)->selectedText(), "abc"); // position 0, length 3 as last picked
        QTest::keyClick(edit(d), Qt::Key_End);
        EXPECT_TRUE(waitLabel(d, "Current position: 6\nSelection length: 0"));
        QTest::mouseClick(d->cmdOK, Qt::LeftButton);
    });
    EXPECT_EQ(ctl<platform::TextBox>("txtCropPos")->text(), "6");
    EXPECT_EQ(ctl<platform::TextBox>("txtCropNumber")->text(), "0");
}

TEST_F(PickerTest, PositionsCountCharactersAndStayInsideTheSample)
{
    start({QString::fromUtf8("a\xF0\x9F\x98\x80"
                             "bc.txt")});
    ctl<platform::TabStrip>("TabStrip")->selectKey("AddCrop");
    QTest::mouseClick(ctl<platform::OptionButton>("optAddEnding"), Qt::LeftButton);
    // A position past the name starts the caret at the name's start.
    ctl<platform::TextBox>("txtAddPos")->setText("50");
    pick(ctl<QToolButton>("cmdAddGetPosition"), [&](FrmGetPosition* d) {
        EXPECT_EQ(edit(d)->cursorPosition(), 0);
        EXPECT_TRUE(waitLabel(d, "Current position: -4"));
        QTest::mouseClick(d->cmdOK, Qt::LeftButton);
    });
    EXPECT_EQ(ctl<platform::TextBox>("txtAddPos")->text(), "4");
    // The emoji is one character, as the add and crop rules count it.
    QTest::mouseClick(ctl<platform::OptionButton>("optAddBeginning"), Qt::LeftButton);
    pick(ctl<QToolButton>("cmdAddGetPosition"), [&](FrmGetPosition* d) {
        QTest::keyClick(edit(d), Qt::Key_End);
        EXPECT_TRUE(waitLabel(d, "Current position: 4"));
        QTest::keyClick(edit(d), Qt::Key_Left);
        EXPECT_TRUE(waitLabel(d, "Current position: 3"));
        // Edited text is measured as shown, but never kept in the list.
        QTest::keyClicks(edit(d), "xyz");
        EXPECT_TRUE(waitLabel(d, "Current position: 6"));
        QTest::keyClick(edit(d), Qt::Key_Return);
        EXPECT_EQ(d->cmbFiles->count(), 1);
        EXPECT_EQ(d->cmbFiles->itemText(0), QString::fromUtf8("a\xF0\x9F\x98\x80"
                                                              "bc"));
    });
    EXPECT_EQ(ctl<platform::TextBox>("txtAddPos")->text(), "6");
}

TEST_F(PickerTest, SamplesFollowTheProcessBoxesAndTheHintRowBlocksTheButtons)
{
    start({"photo.jpg", "archive.tar.gz", "README"});
    ctl<platform::TabStrip>("TabStrip")->selectKey("AddCrop");
    QTest::mouseClick(ctl<platform::CheckBox>("chkProcessFileExt"), Qt::LeftButton, {},
                      indicatorPoint(ctl<platform::CheckBox>("chkProcessFileExt")));
    QTest::mouseClick(ctl<platform::CheckBox>("chkProcessFilename"), Qt::LeftButton, {},
                      indicatorPoint(ctl<platform::CheckBox>("chkProcessFilename")));
    ASSERT_EQ(ctl<platform::CheckBox>("chkProcessFilename")->value(), 0);
    ASSERT_EQ(ctl<platform::CheckBox>("chkProcessFileExt")->value(), 1);
    ctl<platform::TextBox>("txtAddPos")->setText("1");
    QStringList samples;
    pick(ctl<QToolButton>("cmdAddGetPosition"), [&](FrmGetPosition* d) {
        for (int i = 0; i < d->cmbFiles->count(); ++i)
            samples << d->cmbFiles->itemText(i);
        QTest::mouseClick(d->cmdCancel, Qt::LeftButton);
    });
    QStringList expected;
    for (int r = 0; r < ctl<platform::ListView>("lwDirectory")->count(); ++r) {
        const QString name = ctl<platform::ListView>("lwDirectory")->text(r);
        expected << (name == "photo.jpg" ? "jpg" : name == "archive.tar.gz" ? "gz" : "");
    }
    EXPECT_EQ(samples, expected);

    // Free Select with only its hint row: nothing opens, nothing changes.
    ctl<platform::TabStrip>("TabStripFilemode")->selectKey("dragdrop");
    ASSERT_TRUE(ctl<platform::ListView>("lwDragDrop")->listFont().bold());
    ctl<platform::TextBox>("txtAddPos")->setText("007");
    pick(ctl<QToolButton>("cmdAddGetPosition"), [&](FrmGetPosition*) {});
    EXPECT_FALSE(opened);
    EXPECT_EQ(ctl<platform::TextBox>("txtAddPos")->text(), "007");
}
