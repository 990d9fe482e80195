#include "engine/renamemode.h"
#include "test_support.h"

// The keys round-trip, are unique and keep the stored tab order.
TEST(RenameModes, KeysAndCaptionsInTabOrder)
{
    const char* keys[] = {"Replace", "Case", "Enum", "misc", "Attrib", "AddCrop", "Mp3", "Format"};
    ASSERT_EQ(renameModes().size(), 8u);
    for (size_t i = 0; i < 8; ++i) {
        const RenameModeRow& row = renameModes()[i];
        EXPECT_EQ(size_t(row.mode), i);
        EXPECT_STREQ(row.key, keys[i]);
        EXPECT_EQ(modeFromKey(QString::fromLatin1(keys[i])), row.mode);
    }
    EXPECT_EQ(modeCaption(RenameMode::AddCrop), QStringLiteral("Add && Crop"));
    EXPECT_FALSE(modeFromKey(QStringLiteral("replace")).has_value());
    EXPECT_FALSE(modeFromKey(QString()).has_value());
}

TEST(RenameModes, EntriesEachModeMayProcess)
{
    struct Case {
        RenameMode mode;
        void (*set)(RenameOptions&);
        ModeEntries want;
    };
    const auto none = [](RenameOptions&) {};
    const Case cases[] = {
        {RenameMode::Replace, none, {true, true, true}},
        {RenameMode::Replace, [](RenameOptions& o) { o.replaceBatch = true; }, {true, true, true}},
        {RenameMode::Case, none, {true, false, false}},
        {RenameMode::Space, none, {true, false, false}},
        {RenameMode::Attrib, none, {true, false, false}},
        {RenameMode::Attrib, [](RenameOptions& o) { o.dateMode = true; }, {false, false, false}},
        {RenameMode::Enum, none, {true, false, false}},
        {RenameMode::Enum, [](RenameOptions& o) { o.normalizeMode = true; }, {true, true, true}},
        {RenameMode::AddCrop, [](RenameOptions& o) { o.cropMode = true; }, {true, true, true}},
        {RenameMode::Mp3, none, {false, false, false}},
        {RenameMode::Format, none, {true, true, true}},
        {RenameMode::Format, [](RenameOptions& o) { o.detectMode = true; }, {false, false, false}},
    };
    for (const Case& c : cases) {
        RenameOptions o;
        c.set(o);
        const ModeEntries e = modeEntries(c.mode, o);
        EXPECT_EQ(e.dirs, c.want.dirs) << modeKey(c.mode).toStdString();
        EXPECT_EQ(e.processName, c.want.processName) << modeKey(c.mode).toStdString();
        EXPECT_EQ(e.processExt, c.want.processExt) << modeKey(c.mode).toStdString();
    }
}

TEST(RenameModes, StartModeWords)
{
    struct Case {
        const char* word;
        RenameMode mode;
        int sub;
    };
    const Case cases[] = {
        {"modereplace", RenameMode::Replace, 0}, {"MODEBATCHREPLACE", RenameMode::Replace, 1},
        {"modecase", RenameMode::Case, -1},      {"modeenum", RenameMode::Enum, 0},
        {"modenormalize", RenameMode::Enum, 1},  {"modespace", RenameMode::Space, -1},
        {"modedate", RenameMode::Attrib, 1},     {"modeattrib", RenameMode::Attrib, 0},
        {"modeadd", RenameMode::AddCrop, 0},     {"ModeCrop", RenameMode::AddCrop, 1},
        {"modemp3", RenameMode::Mp3, -1},        {"modeformat", RenameMode::Format, 0},
        {"modefiletype", RenameMode::Format, 1},
    };
    for (const Case& c : cases) {
        const auto choice = startModeFromWord(QString::fromLatin1(c.word));
        ASSERT_TRUE(choice.has_value()) << c.word;
        EXPECT_EQ(choice->mode, c.mode) << c.word;
        EXPECT_EQ(choice->subOption, c.sub) << c.word;
    }
    EXPECT_FALSE(startModeFromWord(QStringLiteral("modemisc")).has_value());
    EXPECT_FALSE(startModeFromWord(QString()).has_value());
}
