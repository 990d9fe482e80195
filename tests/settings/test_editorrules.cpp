#include "settings/editorrules.h"
#include "test_support.h"

TEST(EditorRules, ExceptionAnswersAreTrimmedAndCleaned)
{
    const std::vector<std::pair<std::optional<QString>, std::optional<QString>>> cases = {
        {"  a:b ", "ab"},     {"McDonald", "McDonald"}, {"", std::nullopt}, {"    ", std::nullopt},
        {"\tword\t", "word"}, {"/*\"\\?:<>|", ""},      {" x|y ", "xy"},    {"line\nbreak", "linebreak"},
        {" ::  ", ""},        {"a b", "a b"},
    };
    for (const auto& [answer, word] : cases)
        EXPECT_EQ(exceptionWordFromAnswer(*answer), word) << answer->toStdString();
    EXPECT_EQ(exceptionWordsFromEntries({}), QStringList({""}));
    EXPECT_EQ(exceptionWordsFromEntries({"a", ""}), QStringList({"a", ""}));
}

TEST(EditorRules, LeaveRulesOfTheNumberBoxes)
{
    const std::vector<std::pair<const char*, const char*>> thumbs = {{"", "64"},     {"0", "16"},    {"15", "16"},
                                                                     {"16", "16"},   {"256", "256"}, {"257", "256"},
                                                                     {"999", "256"}, {"064", "064"}, {"abc", "16"}};
    for (const auto& [typed, after] : thumbs)
        EXPECT_EQ(thumbSizeAfterLeave(typed), after) << typed;
    const std::vector<std::pair<const char*, const char*>> counts = {
        {"", "0"}, {"0", "0"}, {"7", "7"}, {"-3", "0"}, {"999", "999"}};
    for (const auto& [typed, after] : counts)
        EXPECT_EQ(countAfterLeave(typed), after) << typed;
}

// Rows hold texts; the item takes "x" marks exactly and numbers within 0 to 999.
TEST(EditorRules, BatchRowsAndItemsConvertBothWays)
{
    const BatchReplaceItem item{"find", "repl", 1, 0, 12, 3};
    EXPECT_EQ(batchRow(item), QStringList({"find", "repl", "x", "", "3", "12"}));
    const BatchReplaceItem back = batchItem(batchRow(item));
    EXPECT_EQ(back.find, "find");
    EXPECT_EQ(back.caseSensitive, 1);
    EXPECT_EQ(back.swapMode, 0);
    EXPECT_EQ(back.start, 3);
    EXPECT_EQ(back.count, 12);

    struct Case {
        QStringList row;
        qint16 caseSensitive, swapMode, start, count;
    };
    const Case cases[] = {
        {{"a", "b", "X", "x ", "", "abc"}, 0, 0, 0, 0},
        {{"a", "b", "x", "x", "007", "1000"}, 1, 1, 7, 999},
        {{"a", "b", "", "", "-5", "2.5"}, 0, 0, 0, 2},
        {{"a"}, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        const BatchReplaceItem i = batchItem(c.row);
        EXPECT_EQ(i.caseSensitive, c.caseSensitive) << c.row.join('|').toStdString();
        EXPECT_EQ(i.swapMode, c.swapMode) << c.row.join('|').toStdString();
        EXPECT_EQ(i.start, c.start) << c.row.join('|').toStdString();
        EXPECT_EQ(i.count, c.count) << c.row.join('|').toStdString();
    }
}

TEST(EditorRules, OnlyTextsThatReplaceTxtReadsBackAreStorable)
{
    const std::vector<std::tuple<const char*, bool, bool>> cases = {
        {"abc", true, true}, {"a/b", false, false},   {"#a", false, true}, {"a#", true, true},
        {"", true, true},    {"tab\t", false, false}, {" #a", true, true}, {"//x", false, false},
    };
    for (const auto& [text, asFind, asReplace] : cases) {
        EXPECT_EQ(batchTextStorable(text, true), asFind) << text;
        EXPECT_EQ(batchTextStorable(text, false), asReplace) << text;
    }
}
