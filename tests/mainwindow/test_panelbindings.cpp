// The panel controls as the run and the preview read them: each control a user
// changes moves exactly its own field of RenameOptions.
#include "mainwindow/frmmain.h"
#include "mainwindow_fixture.h"
#include "platform/datetext.h"
#include "test_support.h"

#include <QTest>

namespace {

// Converts to any field type, so that counting how many of them brace-initialise
// RenameOptions counts its fields: a field added without a row fails the test.
struct AnyField {
    template <class T> operator T() const { return T{}; }
};

template <class T, class... A> constexpr size_t fieldCount()
{
    if constexpr (requires { T{A{}..., AnyField{}}; })
        return fieldCount<T, A..., AnyField>();
    else
        return sizeof...(A);
}

void click(QAbstractButton* b)
{
    clickButton(b);
}
void tick(QCheckBox* c)
{
    QTest::mouseClick(c, Qt::LeftButton, {}, indicatorPoint(c));
}
// Replaces the whole text by typing.
void retype(QLineEdit* box, const char* text)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center());
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, QString::fromLatin1(text));
}
// One step of the edit's first section up, by the arrow key. The focus comes
// by code: on the offscreen platform a click into a date box with a calendar
// drop-down steps its day down (no hover precedes the press), which a click on
// a desktop does not.
void stepUp(QDateTimeEdit* edit)
{
    edit->setFocus(Qt::TabFocusReason);
    QTest::keyClick(edit, Qt::Key_Up);
}

class PanelBindingTest : public MainWindowFixture<> {
protected:
    PanelBindingTest() { waitActive = true; }
};

} // namespace

// For every field: show its panel, set the context the change needs (by code,
// before the values are taken), change the control as a user does, and compare
// the whole struct with the values before plus the one expected change.
TEST_F(PanelBindingTest, EachControlChangesExactlyItsOwnOption)
{
    start();
    using O = RenameOptions;
    using Window = FrmMain;
    struct Row {
        const char* name;
        OptionsTarget field;
        const char* tab;
        std::function<void(Window&)> context; // may be empty
        std::function<void(Window&)> act;
        std::function<void(O&, const Window&)> expect;
    };
    auto flip = [](int O::*f) { return [f](O& o, const Window&) { o.*f = 1 - o.*f; }; };
    auto set = [](auto f, auto v) { return [f, v](O& o, const Window&) { o.*f = v; }; };
    auto text = [](QString O::*f, const char* t) {
        return [f, t](O& o, const Window&) { o.*f = QString::fromLatin1(t); };
    };
    const std::vector<Row> rows = {
        // The list area's Process boxes; name off needs the extension on.
        {"processExt",
         &O::processExt,
         "Replace",
         {},
         [](Window& w) { tick(control<platform::CheckBox>(w, "chkProcessFileExt")); },
         flip(&O::processExt)},
        {"processName", &O::processName, "Replace",
         [](Window& w) { control<platform::CheckBox>(w, "chkProcessFileExt")->setValue(1); },
         [](Window& w) { tick(control<platform::CheckBox>(w, "chkProcessFilename")); }, flip(&O::processName)},
        // Find & Replace
        {"replaceBatch",
         &O::replaceBatch,
         "Replace",
         {},
         [](Window& w) { click(control<platform::OptionButton>(w, "optReplaceBatch")); },
         set(&O::replaceBatch, true)},
        {"findText", &O::findText, "Replace",
         [](Window& w) { control<platform::OptionButton>(w, "optReplaceSingle")->select(); },
         [](Window& w) { retype(control<platform::TextBox>(w, "txtFind"), "old"); }, text(&O::findText, "old")},
        {"replaceText",
         &O::replaceText,
         "Replace",
         {},
         [](Window& w) { retype(control<platform::TextBox>(w, "txtReplace"), "new"); },
         text(&O::replaceText, "new")},
        {"caseSensitive",
         &O::caseSensitive,
         "Replace",
         {},
         [](Window& w) { tick(control<platform::CheckBox>(w, "chkCaseSensitive")); },
         flip(&O::caseSensitive)},
        {"swapMode",
         &O::swapMode,
         "Replace",
         {},
         [](Window& w) { tick(control<platform::CheckBox>(w, "chkReplaceMode")); },
         flip(&O::swapMode)},
        {"replaceStart",
         &O::replaceStart,
         "Replace",
         {},
         [](Window& w) { retype(control<platform::TextBox>(w, "txtReplaceStart"), "7"); },
         text(&O::replaceStart, "7")},
        {"replaceCount",
         &O::replaceCount,
         "Replace",
         {},
         [](Window& w) { retype(control<platform::TextBox>(w, "txtReplaceCount"), "3"); },
         text(&O::replaceCount, "3")},
        // Convert Case
        {"nameCase",
         &O::nameCase,
         "Case",
         {},
         [](Window& w) { click(control<platform::OptionButton>(w, "Case1_0")); },
         set(&O::nameCase, 0)},
        {"extCase",
         &O::extCase,
         "Case",
         {},
         [](Window& w) { click(control<platform::OptionButton>(w, "Case2_0")); },
         set(&O::extCase, 0)},
        {"useExceptions",
         &O::useExceptions,
         "Case",
         {},
         [](Window& w) { tick(control<platform::CheckBox>(w, "chkExceptionsEnabled")); },
         flip(&O::useExceptions)},
        // Space
        {"trimLeading",
         &O::trimLeading,
         "misc",
         {},
         [](Window& w) { tick(control<platform::CheckBox>(w, "chkSpaceBeginning")); },
         flip(&O::trimLeading)},
        {"trimTrailing",
         &O::trimTrailing,
         "misc",
         {},
         [](Window& w) { tick(control<platform::CheckBox>(w, "chkSpaceEnd")); },
         flip(&O::trimTrailing)},
        {"shrinkSpaces",
         &O::shrinkSpaces,
         "misc",
         {},
         [](Window& w) { tick(control<platform::CheckBox>(w, "chkSpaceShrink")); },
         flip(&O::shrinkSpaces)},
        // Attributes & Date: a grey attribute box turns unticked at a click.
        {"dateMode", &O::dateMode, "Attrib",
         [](Window& w) { control<platform::OptionButton>(w, "optAttrib_Attributes")->select(); },
         [](Window& w) { click(control<platform::OptionButton>(w, "optAttrib_Date")); }, set(&O::dateMode, true)},
        {"attrReadOnly", &O::attrReadOnly, "Attrib",
         [](Window& w) { control<platform::OptionButton>(w, "optAttrib_Attributes")->select(); },
         [](Window& w) { tick(control<platform::CheckBox>(w, "chkR")); }, set(&O::attrReadOnly, 0)},
        {"attrHidden",
         &O::attrHidden,
         "Attrib",
         {},
         [](Window& w) { tick(control<platform::CheckBox>(w, "chkH")); },
         set(&O::attrHidden, 0)},
        {"attrSystem",
         &O::attrSystem,
         "Attrib",
         {},
         [](Window& w) { tick(control<platform::CheckBox>(w, "chkS")); },
         set(&O::attrSystem, 0)},
        {"attrArchive",
         &O::attrArchive,
         "Attrib",
         {},
         [](Window& w) { tick(control<platform::CheckBox>(w, "chkA")); },
         set(&O::attrArchive, 0)},
        {"setCreated", &O::setCreated, "Attrib",
         [](Window& w) { control<platform::OptionButton>(w, "optAttrib_Date")->select(); },
         [](Window& w) { tick(control<platform::CheckBox>(w, "chkDateCreated")); }, flip(&O::setCreated)},
        {"setAccessed",
         &O::setAccessed,
         "Attrib",
         {},
         [](Window& w) { tick(control<platform::CheckBox>(w, "chkDateAccessed")); },
         flip(&O::setAccessed)},
        {"setModified",
         &O::setModified,
         "Attrib",
         {},
         [](Window& w) { tick(control<platform::CheckBox>(w, "chkDateModified")); },
         flip(&O::setModified)},
        // One of the two stays ticked, so each is changed while the other is.
        {"useTime", &O::useTime, "Attrib",
         [](Window& w) { control<platform::CheckBox>(w, "chkDateDate")->setValue(1); },
         [](Window& w) { tick(control<platform::CheckBox>(w, "chkDateTime")); }, flip(&O::useTime)},
        {"useDate", &O::useDate, "Attrib",
         [](Window& w) { control<platform::CheckBox>(w, "chkDateTime")->setValue(1); },
         [](Window& w) { tick(control<platform::CheckBox>(w, "chkDateDate")); }, flip(&O::useDate)},
        // Away from the last day a date box can show.
        {"dateText", &O::dateText, "Attrib",
         [](Window& w) {
             control<platform::CheckBox>(w, "chkDateDate")->setValue(1);
             control<QDateEdit>(w, "dtDate")->setDate(QDate(2020, 6, 15));
         },
         [](Window& w) { stepUp(control<QDateEdit>(w, "dtDate")); },
         [](O& o, const Window& w) { o.dateText = platform::dateText(control<QDateEdit>(w, "dtDate")->date()); }},
        // Away from the day's last hour, where the first section cannot step up.
        {"timeText", &O::timeText, "Attrib",
         [](Window& w) {
             control<platform::CheckBox>(w, "chkDateTime")->setValue(1);
             control<QTimeEdit>(w, "dtTime")->setTime(QTime(12, 0));
         },
         [](Window& w) { stepUp(control<QTimeEdit>(w, "dtTime")); },
         [](O& o, const Window& w) { o.timeText = platform::timeText(control<QTimeEdit>(w, "dtTime")->time()); }},
        // Add & Crop
        {"cropMode", &O::cropMode, "AddCrop", [](Window& w) { control<platform::OptionButton>(w, "optAdd")->select(); },
         [](Window& w) { click(control<platform::OptionButton>(w, "optCrop")); }, set(&O::cropMode, true)},
        {"addText", &O::addText, "AddCrop", [](Window& w) { control<platform::OptionButton>(w, "optAdd")->select(); },
         [](Window& w) { retype(control<platform::TextBox>(w, "txtAdd"), "pre_"); }, text(&O::addText, "pre_")},
        {"addPos",
         &O::addPos,
         "AddCrop",
         {},
         [](Window& w) { retype(control<platform::TextBox>(w, "txtAddPos"), "4"); },
         text(&O::addPos, "4")},
        {"addFromEnd", &O::addFromEnd, "AddCrop",
         [](Window& w) { control<platform::OptionButton>(w, "optAddBeginning")->select(); },
         [](Window& w) { click(control<platform::OptionButton>(w, "optAddEnding")); }, set(&O::addFromEnd, true)},
        {"cropCount", &O::cropCount, "AddCrop",
         [](Window& w) { control<platform::OptionButton>(w, "optCrop")->select(); },
         [](Window& w) { retype(control<platform::TextBox>(w, "txtCropNumber"), "5"); }, text(&O::cropCount, "5")},
        {"cropPos",
         &O::cropPos,
         "AddCrop",
         {},
         [](Window& w) { retype(control<platform::TextBox>(w, "txtCropPos"), "6"); },
         text(&O::cropPos, "6")},
        {"cropFromEnd", &O::cropFromEnd, "AddCrop",
         [](Window& w) { control<platform::OptionButton>(w, "optCropBeginning")->select(); },
         [](Window& w) { click(control<platform::OptionButton>(w, "optCropEnding")); }, set(&O::cropFromEnd, true)},
        // Enum
        {"normalizeMode", &O::normalizeMode, "Enum",
         [](Window& w) { control<platform::OptionButton>(w, "chkEnumTab_Enum")->select(); },
         [](Window& w) { click(control<platform::OptionButton>(w, "chkEnumTab_Normalize")); },
         set(&O::normalizeMode, true)},
        {"normalizeWidth",
         &O::normalizeWidth,
         "Enum",
         {},
         [](Window& w) { retype(control<platform::TextBox>(w, "txtNormalize"), "4"); },
         text(&O::normalizeWidth, "4")},
        {"enumFormat", &O::enumFormat, "Enum",
         [](Window& w) { control<platform::OptionButton>(w, "chkEnumTab_Enum")->select(); },
         [](Window& w) { retype(control<platform::TextBox>(w, "txtEnumFormat"), "x<ENUM>"); },
         text(&O::enumFormat, "x<ENUM>")},
        {"enumStart",
         &O::enumStart,
         "Enum",
         {},
         [](Window& w) { retype(control<platform::TextBox>(w, "txtEnumStart"), "-3"); },
         text(&O::enumStart, "-3")},
        {"enumStep",
         &O::enumStep,
         "Enum",
         {},
         [](Window& w) { retype(control<platform::TextBox>(w, "txtEnumStep"), "5"); },
         text(&O::enumStep, "5")},
        // Resetting per directory unticks "Auto", so "Auto" is changed alone first.
        {"enumAutoDigits", &O::enumAutoDigits, "Enum",
         [](Window& w) { control<platform::CheckBox>(w, "chkEnumResetBetweenDirs")->setValue(0); },
         [](Window& w) { tick(control<platform::CheckBox>(w, "chkEnumAutoZeros")); }, flip(&O::enumAutoDigits)},
        {"enumDigits", &O::enumDigits, "Enum",
         [](Window& w) { control<platform::CheckBox>(w, "chkEnumAutoZeros")->setValue(0); },
         [](Window& w) { retype(control<platform::TextBox>(w, "txtEnumZeros"), "3"); }, text(&O::enumDigits, "3")},
        {"enumResetPerDir", &O::enumResetPerDir, "Enum",
         [](Window& w) { control<platform::CheckBox>(w, "chkEnumAutoZeros")->setValue(0); },
         [](Window& w) { tick(control<platform::CheckBox>(w, "chkEnumResetBetweenDirs")); }, flip(&O::enumResetPerDir)},
        // Mp3
        {"mp3Format",
         &O::mp3Format,
         "Mp3",
         {},
         [](Window& w) { retype(control<platform::TextBox>(w, "txtMp3Format"), "t"); },
         text(&O::mp3Format, "t")},
        {"mp3AddExtension",
         &O::mp3AddExtension,
         "Mp3",
         {},
         [](Window& w) { tick(control<platform::CheckBox>(w, "chkMp3AddExtension")); },
         flip(&O::mp3AddExtension)},
        {"mp3OnlyFilledTags",
         &O::mp3OnlyFilledTags,
         "Mp3",
         {},
         [](Window& w) { tick(control<platform::CheckBox>(w, "chkMp3OnlyFilledTags")); },
         flip(&O::mp3OnlyFilledTags)},
        {"mp3OnlyMp3Files",
         &O::mp3OnlyMp3Files,
         "Mp3",
         {},
         [](Window& w) { tick(control<platform::CheckBox>(w, "chkMp3OnlyMp3Files")); },
         flip(&O::mp3OnlyMp3Files)},
        {"mp3UseId3v2",
         &O::mp3UseId3v2,
         "Mp3",
         {},
         [](Window& w) { tick(control<platform::CheckBox>(w, "chkMp3UseID3v2")); },
         flip(&O::mp3UseId3v2)},
        // Format
        {"detectMode", &O::detectMode, "Format",
         [](Window& w) { control<platform::OptionButton>(w, "chkFormatTab_Format")->select(); },
         [](Window& w) { click(control<platform::OptionButton>(w, "chkFormatTab_Detect")); },
         set(&O::detectMode, true)},
        {"detectKeepExt",
         &O::detectKeepExt,
         "Format",
         {},
         [](Window& w) { tick(control<platform::CheckBox>(w, "chkFileDetect_KeepExt")); },
         flip(&O::detectKeepExt)},
        {"detectTryText",
         &O::detectTryText,
         "Format",
         {},
         [](Window& w) { tick(control<platform::CheckBox>(w, "chkFileDetect_TryText")); },
         flip(&O::detectTryText)},
        {"detectTryMp3",
         &O::detectTryMp3,
         "Format",
         {},
         [](Window& w) { tick(control<platform::CheckBox>(w, "chkFileDetect_TryMp3")); },
         flip(&O::detectTryMp3)},
        {"formatText", &O::formatText, "Format",
         [](Window& w) { control<platform::OptionButton>(w, "chkFormatTab_Format")->select(); },
         [](Window& w) { retype(control<platform::TextBox>(w, "txtFormat"), "<NAME>"); },
         text(&O::formatText, "<NAME>")},
        {"formatParts",
         &O::formatParts,
         "Format",
         {},
         [](Window& w) { retype(control<platform::TextBox>(w, "txtFormatParts"), "a"); },
         text(&O::formatParts, "a")},
        {"allTagsRequired",
         &O::allTagsRequired,
         "Format",
         {},
         [](Window& w) { tick(control<platform::CheckBox>(w, "chkFormatAllMustBeAvailable")); },
         flip(&O::allTagsRequired)},
    };

    // One row per field, each a field the table fills, and the table fills no other.
    EXPECT_EQ(rows.size(), fieldCount<RenameOptions>());
    const std::vector<OptionsTarget> bound = w->bindings().optionFields();
    EXPECT_EQ(bound.size(), rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(std::count(bound.begin(), bound.end(), rows[i].field), 1) << rows[i].name;
        for (size_t j = 0; j < i; ++j)
            EXPECT_TRUE(rows[i].field != rows[j].field) << rows[i].name;
    }

    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QTest::mouseClick(
            ctl<platform::TabStrip>("TabStrip")
                ->tabButton(ctl<platform::TabStrip>("TabStrip")->indexOfKey(QString::fromLatin1(row.tab))),
            Qt::LeftButton);
        ASSERT_EQ(ctl<platform::TabStrip>("TabStrip")->selectedKey(), QString::fromLatin1(row.tab));
        if (row.context)
            row.context(*w);
        const RenameOptions before = w->readOptions();
        row.act(*w);
        QCoreApplication::processEvents();
        const RenameOptions after = w->readOptions();
        RenameOptions expected = before;
        row.expect(expected, *w);
        EXPECT_FALSE(after == before) << "the control did not change its field";
        EXPECT_TRUE(after == expected) << "another field changed too";
    }
}
