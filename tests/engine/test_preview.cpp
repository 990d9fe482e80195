#include "engine/logs.h"
#include "engine/preview.h"
#include "engine/random.h"
#include "engine/renamemode.h"
#include "platform/listview.h"
#include "test_support.h"

namespace {

class PreviewTest : public TempEnv {
protected:
    platform::ListView list;
    PreviewState state;
    RandomSource random{7};
    std::unique_ptr<Logs> logs;
    ConfigTables tables;
    bool executeEnabled = true;

    void SetUp() override
    {
        TempEnv::SetUp();
        logs = std::make_unique<Logs>(programFolder());
        list.addColumn("filename", "Name", 3000);
        list.addColumn("preview", "Preview", 3000);
        list.addColumn("path", "Path", 3000);
    }
    void rows(std::initializer_list<std::pair<const char*, const char*>> entries)
    {
        std::vector<platform::ListRow> r;
        for (const auto& [dir, name] : entries) {
            platform::ListRow row;
            row.cells[0] = QString::fromUtf8(name);
            row.cells[2] = QString::fromUtf8(dir);
            row.smallIcon = 1;
            r.push_back(row);
        }
        list.setRows(std::move(r));
    }
    PreviewInputs inputs(const QString& mode, const RenameOptions& o)
    {
        PreviewInputs in;
        in.model = list.model();
        in.selection = list.selectionModel();
        in.executeEnabled = [this] { return executeEnabled; };
        in.mode = modeFromKey(mode).value();
        in.options = o;
        in.services.logs = logs.get();
        in.services.random = &random;
        in.services.tables = &tables;
        return in;
    }
    QStringList column() const
    {
        QStringList out;
        for (int i = 0; i < list.count(); ++i)
            out << list.subItem(i, 1);
        return out;
    }
};

} // namespace

// Every mode previews its names except Attributes, which changes none.
TEST(PreviewTextTest, StartTextOfEachMode)
{
    for (const RenameModeRow& row : renameModes()) {
        const bool attrib = row.mode == RenameMode::Attrib;
        EXPECT_EQ(modeHasPreview(row.mode), !attrib) << row.key;
        EXPECT_EQ(previewStartText(row.mode), attrib ? "No Preview Available..." : "Generating Preview...") << row.key;
    }
}

TEST_F(PreviewTest, ReplaceShowsOnlyChangedNamesAndCounts)
{
    rows({{"/d/", "a.txt"}, {"/d/", "b.txt"}, {"/d/", "ab.txt"}});
    RenameOptions o;
    o.findText = "a";
    o.replaceText = "x";
    generatePreview(state, inputs("Replace", o), random, *logs);
    EXPECT_EQ(column(), QStringList({"x.txt", "", "xb.txt"}));
    EXPECT_EQ(state.previewRenameCount, 2);
    EXPECT_EQ(previewCountText(2), "2 items to rename...");
    EXPECT_EQ(previewCountText(1), "1 item to rename...");
    EXPECT_EQ(previewCountText(0), "0 items to rename...");

    executeEnabled = false; // an empty find box disables "Rename!"
    generatePreview(state, inputs("Replace", o), random, *logs);
    EXPECT_EQ(column(), QStringList({"", "", ""}));
    EXPECT_EQ(state.previewRenameCount, 0);
}

TEST_F(PreviewTest, CaseOnlyChangeCountsAndAttribShowsNothing)
{
    rows({{"/d/", "A.TXT"}, {"/d/", "b.txt"}});
    RenameOptions o;
    o.nameCase = 0;
    o.extCase = 2; // lower-case extension
    generatePreview(state, inputs("Case", o), random, *logs);
    EXPECT_EQ(column(), QStringList({"A.txt", ""}));
    EXPECT_EQ(state.previewRenameCount, 1);
    generatePreview(state, inputs("Attrib", o), random, *logs);
    EXPECT_EQ(column(), QStringList({"", ""}));
}

TEST_F(PreviewTest, TagAndMapApplyOnlyToChangedNames)
{
    rows({{"/d/", "12:30 x.txt"}, {"/d/", "a.txt"}, {"/d/", "ba.txt"}, {"/d/", "b<\\>a.txt"}});
    RenameOptions o;
    o.findText = "a";
    o.replaceText = "<\\>sub?";
    generatePreview(state, inputs("Replace", o), random, *logs);
    // The name with ":" is not changed by the rule, so it shows nothing; a
    // leading tag makes no empty level; a tag the old name held stays text.
    EXPECT_EQ(column(), QStringList({"", "sub.txt", "b/sub.txt", "b[-][-]sub.txt"}));
}

// A name the run refuses shows nothing and is not counted: the drop of its
// control characters would hide or empty it, or a level passes 255 bytes.
TEST_F(PreviewTest, ANameTheRunRefusesShowsNothing)
{
    rows({{"/d/", "\x1b.txt"}, {"/d/", "b\x1b.txt"}, {"/d/", "c.txt"}});
    RenameOptions o;
    o.nameCase = 1; // upper
    o.extCase = 1;  // upper
    generatePreview(state, inputs("Case", o), random, *logs);
    EXPECT_EQ(column(), QStringList({"", "B.TXT", "C.TXT"}));
    EXPECT_EQ(state.previewRenameCount, 2);

    const QString e = QString::fromUtf8("é");
    rows({{"/d/", "a.txt"}, {"/d/", "ab.txt"}});
    o.findText = "a";
    o.replaceText = e.repeated(125) + "x"; // 251 bytes
    generatePreview(state, inputs("Replace", o), random, *logs);
    EXPECT_EQ(column(), QStringList({e.repeated(125) + "x.txt", ""})); // 255 and 256 bytes
    EXPECT_EQ(state.previewRenameCount, 1);
}

TEST_F(PreviewTest, OnlySelectedSkipsRowsAndKeepsEnumerationDense)
{
    rows({{"/d/", "a.txt"}, {"/d/", "b.txt"}, {"/d/", "c.txt"}});
    list.setSelected(0, true);
    list.setSelected(2, true);
    RenameOptions o;
    o.enumFormat = "<ENUM>_<NAME>";
    o.enumAutoDigits = 0;
    o.enumDigits = "1";
    PreviewInputs in = inputs("Enum", o);
    in.onlySelectedActive = -1;
    in.selectedCount = 2;
    generatePreview(state, in, random, *logs);
    EXPECT_EQ(column(), QStringList({"1_a", "", "2_c"}));
}

TEST_F(PreviewTest, GhostRowsAreSkipped)
{
    rows({{"/d/", "ghost"}, {"/d/", "a.txt"}});
    list.setIcons(0, 3, 0);
    RenameOptions o;
    o.enumFormat = "<ENUM>_<NAME>";
    o.enumAutoDigits = 0;
    o.enumDigits = "1";
    PreviewInputs in = inputs("Enum", o);
    in.alwaysShowDirs = 1;
    generatePreview(state, in, random, *logs);
    EXPECT_EQ(column(), QStringList({"", "1_a"}));
}

TEST_F(PreviewTest, ARaisedRequestStopsAtTheNextRow)
{
    std::initializer_list<std::pair<const char*, const char*>> twelve = {
        {"/d/", "a1"}, {"/d/", "a2"}, {"/d/", "a3"}, {"/d/", "a4"},  {"/d/", "a5"},  {"/d/", "a6"},
        {"/d/", "a7"}, {"/d/", "a8"}, {"/d/", "a9"}, {"/d/", "a10"}, {"/d/", "a11"}, {"/d/", "a12"}};
    rows(twelve);
    RenameOptions o;
    o.findText = "a";
    o.replaceText = "b";
    PreviewInputs in = inputs("Replace", o);
    int yields = 0;
    in.yield = [&] {
        ++yields;
        state.previewRequested = -1; // an option changed while the preview yielded
    };
    generatePreview(state, in, random, *logs);
    EXPECT_EQ(yields, 1);
    EXPECT_EQ(list.subItem(4, 1), "b5");
    EXPECT_EQ(list.subItem(5, 1), ""); // not reached
    // The next tick starts again from the first row.
    state.previewRequested = 0;
    in.yield = nullptr;
    generatePreview(state, in, random, *logs);
    EXPECT_EQ(list.subItem(11, 1), "b12");
    EXPECT_EQ(state.previewRenameCount, 12);
}

TEST_F(PreviewTest, AFailureEndsThePreviewWithItsStep)
{
    rows({{"/d/", "a.txt"}});
    RenameOptions o;
    o.addText = "x";
    o.addPos = "-1"; // a negative position is an invalid call
    generatePreview(state, inputs("AddCrop", o), random, *logs);
    EXPECT_EQ(logs->errorLogged, -1);
    EXPECT_TRUE(readText(programFolder() + "/errors.txt")
                    .contains("Error 5 (Invalid procedure call or argument) generatePreview: ERR=10 TAB=Add && Crop"))
        << readText(programFolder() + "/errors.txt").toStdString();
}
