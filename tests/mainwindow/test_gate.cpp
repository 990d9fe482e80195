#include "mainwindow/gate.h"
#include "test_support.h"

#include <functional>

namespace {

GateInputs usable(const QString& mode)
{
    GateInputs in;
    in.mode = modeFromKey(mode).value();
    in.fileEntries = 3;
    in.dirEntries = 1;
    in.chkFiles = 1;
    return in;
}

struct GateCase {
    const char* name;
    std::function<void(GateInputs&)> setup;
    bool enabled;
};

} // namespace

TEST(Gate, VerdictPerModeAndInput)
{
    const GateCase cases[] = {
        {"empty lists",
         [](GateInputs& in) {
             in.mode = RenameMode::Space;
             in.fileEntries = in.dirEntries = 0;
         },
         false},
        {"files unticked, dirs unticked",
         [](GateInputs& in) {
             in.mode = RenameMode::Space;
             in.chkFiles = 0;
         },
         false},
        {"dirs ticked but disabled",
         [](GateInputs& in) {
             in.mode = RenameMode::Space;
             in.chkFiles = 0;
             in.chkDirs = 1;
             in.dirsEnabled = false;
         },
         false},
        {"dirs ticked and enabled",
         [](GateInputs& in) {
             in.mode = RenameMode::Space;
             in.chkFiles = 0;
             in.chkDirs = 1;
         },
         true},
        {"free select with only dirs",
         [](GateInputs& in) {
             in.mode = RenameMode::Space;
             in.fileMode = 1;
             in.chkFiles = 0;
             in.fileEntries = 0;
         },
         true},
        {"only selected, none selected",
         [](GateInputs& in) {
             in.mode = RenameMode::Space;
             in.onlySelectedActive = -1;
         },
         false},
        {"only selected exempt for Attrib",
         [](GateInputs& in) {
             in.mode = RenameMode::Attrib;
             in.onlySelectedActive = -1;
             in.options.attrHidden = 1;
         },
         true},
        {"only selected binds Attrib in a run nobody watches",
         [](GateInputs& in) {
             in.mode = RenameMode::Attrib;
             in.onlySelectedActive = -1;
             in.options.attrHidden = 1;
             in.unattended = true;
         },
         false},
        {"a row selected in a run nobody watches",
         [](GateInputs& in) {
             in.mode = RenameMode::Attrib;
             in.onlySelectedActive = -1;
             in.selectedCount = 1;
             in.options.attrHidden = 1;
             in.unattended = true;
         },
         true},
        {"replace empty find", [](GateInputs& in) { in.mode = RenameMode::Replace; }, false},
        {"replace a->A case-insensitive",
         [](GateInputs& in) {
             in.mode = RenameMode::Replace;
             in.options.findText = "a";
             in.options.replaceText = "A";
         },
         false},
        {"replace a->A case-sensitive",
         [](GateInputs& in) {
             in.mode = RenameMode::Replace;
             in.options.findText = "a";
             in.options.replaceText = "A";
             in.options.caseSensitive = 1;
         },
         true},
        {"replace ß->SS case-insensitive",
         [](GateInputs& in) {
             in.mode = RenameMode::Replace;
             in.options.findText = QString::fromUtf8("ß");
             in.options.replaceText = "SS";
         },
         true},
        {"replace space by nothing",
         [](GateInputs& in) {
             in.mode = RenameMode::Replace;
             in.options.findText = " ";
         },
         true},
        {"batch empty",
         [](GateInputs& in) {
             in.mode = RenameMode::Replace;
             in.options.replaceBatch = true;
             in.options.findText = "x";
         },
         false},
        {"batch one item",
         [](GateInputs& in) {
             in.mode = RenameMode::Replace;
             in.options.replaceBatch = true;
             in.batchCount = 1;
         },
         true},
        {"case no change both",
         [](GateInputs& in) {
             in.mode = RenameMode::Case;
             in.options.nameCase = 0;
             in.options.extCase = 0;
         },
         false},
        {"case exceptions alone",
         [](GateInputs& in) {
             in.mode = RenameMode::Case;
             in.options.nameCase = 0;
             in.options.extCase = 0;
             in.options.useExceptions = 1;
         },
         true},
        {"attrib all grey", [](GateInputs& in) { in.mode = RenameMode::Attrib; }, false},
        {"dates none ticked",
         [](GateInputs& in) {
             in.mode = RenameMode::Attrib;
             in.options.dateMode = true;
             in.options.setModified = 0;
         },
         false},
        {"dates modified",
         [](GateInputs& in) {
             in.mode = RenameMode::Attrib;
             in.options.dateMode = true;
         },
         true},
        {"add empty text", [](GateInputs& in) { in.mode = RenameMode::AddCrop; }, false},
        {"add empty pos",
         [](GateInputs& in) {
             in.mode = RenameMode::AddCrop;
             in.options.addText = "x";
             in.options.addPos = "";
         },
         false},
        {"add ok",
         [](GateInputs& in) {
             in.mode = RenameMode::AddCrop;
             in.options.addText = "x";
         },
         true},
        {"crop zero",
         [](GateInputs& in) {
             in.mode = RenameMode::AddCrop;
             in.options.cropMode = true;
             in.options.cropCount = "0";
         },
         false},
        {"crop pasted text",
         [](GateInputs& in) {
             in.mode = RenameMode::AddCrop;
             in.options.cropMode = true;
             in.options.cropCount = "abc";
         },
         false},
        {"crop ok",
         [](GateInputs& in) {
             in.mode = RenameMode::AddCrop;
             in.options.cropMode = true;
         },
         true},
        {"mp3 lower-case tag",
         [](GateInputs& in) {
             in.mode = RenameMode::Mp3;
             in.options.mp3Format = "<artist>";
         },
         true},
        {"mp3 only subdir tag",
         [](GateInputs& in) {
             in.mode = RenameMode::Mp3;
             in.options.mp3Format = "a<\\>b";
         },
         false},
        {"format name, parts twice unused",
         [](GateInputs& in) {
             in.mode = RenameMode::Format;
             in.options.formatText = "<NAME>";
             in.options.formatParts = "<%1><%1>";
         },
         true},
        {"format part, parts twice",
         [](GateInputs& in) {
             in.mode = RenameMode::Format;
             in.options.formatText = "<%1>";
             in.options.formatParts = "<%1><%1>";
         },
         false},
        {"format parts with %0",
         [](GateInputs& in) {
             in.mode = RenameMode::Format;
             in.options.formatText = "<NAME>";
             in.options.formatParts = "<%0>";
         },
         false},
        {"format empty",
         [](GateInputs& in) {
             in.mode = RenameMode::Format;
             in.options.formatText = "";
         },
         false},
        {"detection passes",
         [](GateInputs& in) {
             in.mode = RenameMode::Format;
             in.options.detectMode = true;
         },
         true},
        {"enum default", [](GateInputs& in) { in.mode = RenameMode::Enum; }, true},
        {"enum zero padding with auto",
         [](GateInputs& in) {
             in.mode = RenameMode::Enum;
             in.options.enumDigits = "0";
         },
         false},
        {"enum padding not a number",
         [](GateInputs& in) {
             in.mode = RenameMode::Enum;
             in.options.enumDigits = "x";
         },
         false},
        {"enum without tag",
         [](GateInputs& in) {
             in.mode = RenameMode::Enum;
             in.options.enumFormat = "<NAME>";
         },
         false},
        {"normalize empty",
         [](GateInputs& in) {
             in.mode = RenameMode::Enum;
             in.options.normalizeMode = true;
             in.options.normalizeWidth = "";
         },
         false},
        {"space none",
         [](GateInputs& in) {
             in.mode = RenameMode::Space;
             in.options.trimLeading = 0;
         },
         false},
    };
    for (const GateCase& c : cases) {
        GateInputs in = usable("misc");
        in.options.trimLeading = 1;
        c.setup(in);
        const GateVerdict v = judgeGate(in);
        EXPECT_EQ(v.enabled, c.enabled) << c.name;
        // An unattended run that is refused says which rule refused it.
        EXPECT_EQ(v.refusal.isEmpty(), c.enabled) << c.name << ": " << v.refusal.toStdString();
    }
}

// An unattended run reports the refusal: it names what left the list with
// nothing to rename.
TEST(Gate, AListWithNothingToRenameSaysWhy)
{
    const QString boxes = "\"Files\" and \"Directories\" leave nothing to rename in this mode";
    const QString noFiles = "the folder's top level holds no files to rename and \"Subdirectories\" is off";
    const QString option = ": the option 'Uncheck \"Subdirectories\" at startup.' (options window) unticks it at "
                           "every start, runs from the command line too";
    const struct {
        const char* name;
        std::function<void(GateInputs&)> setup;
        QString refusal;
    } cases[] = {
        {"empty", [](GateInputs& in) { in.fileEntries = in.dirEntries = 0; },
         "there is nothing to rename: the list is empty"},
        {"folders only, Subdirectories unticked at start", [](GateInputs& in) { in.subUncheckedAtStartup = true; },
         noFiles + option},
        {"folders only, Subdirectories off", [](GateInputs&) {}, noFiles},
        {"folders only, Files unticked",
         [](GateInputs& in) {
             in.chkFiles = 0;
             in.subUncheckedAtStartup = true;
         },
         boxes},
        {"folders only, Files disabled",
         [](GateInputs& in) {
             in.filesEnabled = false;
             in.subUncheckedAtStartup = true;
         },
         boxes},
        {"folders only, Subdirectories on", [](GateInputs& in) { in.chkSub = 1; }, boxes},
        {"files there, Files unticked",
         [](GateInputs& in) {
             in.fileEntries = 2;
             in.chkFiles = 0;
             in.subUncheckedAtStartup = true;
         },
         boxes},
    };
    for (const auto& c : cases) {
        GateInputs in = usable("misc");
        in.options.trimLeading = 1;
        in.fileEntries = 0;
        in.dirEntries = 2;
        c.setup(in);
        const GateVerdict v = judgeGate(in);
        EXPECT_FALSE(v.enabled) << c.name;
        EXPECT_EQ(v.refusal, c.refusal) << c.name;
    }
}

TEST(Gate, CountsFollowTheBoxesInDirectoryMode)
{
    GateInputs in = usable("misc");
    in.chkFiles = 0;
    EXPECT_EQ(judgeGate(in).countsText(), "0 Files, 0 Directories");
    in.chkDirs = 1;
    EXPECT_EQ(judgeGate(in).countsText(), "0 Files, 1 Directories");
    in.fileMode = 1;
    EXPECT_EQ(judgeGate(in).countsText(), "3 Files, 1 Directories");
}

TEST(Gate, NumbersNeverFail)
{
    EXPECT_EQ(gateNumber("12abc"), 12);
    EXPECT_EQ(gateNumber("-5"), -5);
    EXPECT_EQ(gateNumber("abc"), 0);
    EXPECT_EQ(gateNumber("99999999999999"), 32767);
    EXPECT_EQ(gateNumber("-99999999999999"), -32768);
}
