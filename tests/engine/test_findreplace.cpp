#include "engine/findreplace.h"
#include "engine/logs.h"
#include "platform/failure.h"
#include "test_support.h"

class FindReplaceTest : public TempEnv {
protected:
    void SetUp() override
    {
        TempEnv::SetUp();
        logs = std::make_unique<Logs>(programFolder());
    }
    QString run(const char* source, const char* find, const char* replace, int cs, int swap, int start, int count)
    {
        return findReplace(QString::fromUtf8(source), QString::fromUtf8(find), QString::fromUtf8(replace), cs, swap,
                           start, count, panel, *logs);
    }
    RenameOptions panel;
    std::unique_ptr<Logs> logs;
};

TEST_F(FindReplaceTest, Table)
{
    const struct {
        const char* source;
        const char* find;
        const char* replace;
        int cs, swap, start, count;
        const char* expected;
    } cases[] = {
        {"Hello hello", "hello", "bye", 0, 0, 0, 0, "bye bye"},
        {"Hello hello", "hello", "bye", 1, 0, 0, 0, "Hello bye"},
        {"HELLO", "hello", "bye", 0, 0, 0, 0, "bye"},
        {"aaaaa", "a", "b", 0, 0, 3, 0, "aaabb"},
        {"aaaaa", "a", "b", 0, 0, 5, 0, "aaaaa"},
        {"aaaaa", "a", "b", 0, 0, 9, 0, "aaaaa"},
        {"a-a-a", "a", "b", 0, 0, 0, 1, "b-a-a"},
        {"a-a-a", "a", "b", 0, 0, 0, 2, "b-b-a"},
        {"a-a-a", "a", "b", 0, 0, 2, 1, "a-b-a"},
        {"a-a-a", "a", "b", 0, 0, 0, -1, "b-b-b"},
        {"aaaa", "aa", "a", 0, 0, 0, 0, "aa"},
        {"a", "a", "aa", 0, 0, 0, 0, "aa"},
        {"abc", "x", "y", 0, 0, 0, 0, "abc"},
        {"abc", "b", "", 0, 0, 0, 0, "ac"},
        // swap
        {"left-right", "left", "right", 0, 1, 0, 0, "right-left"},
        {"a-b-a-b", "a", "b", 0, 1, 0, 1, "b-a-a-b"},
        {"Left-RIGHT", "left", "right", 0, 1, 0, 0, "right-left"},
        {"Left-RIGHT", "left", "right", 1, 1, 0, 0, "Left-RIGHT"},
        {"a-b-a-b", "a", "b", 0, 1, 2, 0, "a-a-b-a"},
        {"ab-ba", "a", "", 0, 1, 0, 0, "b-b"},
        // A "*" is an ordinary character of a Linux name and survives the swap.
        {"a*b", "a", "b", 0, 1, 0, 0, "b*a"},
        {"x*y", "x", "*", 0, 1, 0, 0, "*xy"},
        // The start counts characters: one outside the basic plane is one.
        {"😀aa", "a", "b", 0, 0, 1, 0, "😀bb"},
        {"😀😀a", "a", "b", 0, 0, 2, 0, "😀😀b"},
        {"😀😀a", "😀", "x", 0, 0, 1, 0, "😀xa"},
        {"😀a", "a", "b", 0, 0, 2, 0, "😀a"},
        // empty source or find
        {"", "a", "b", 0, 0, 0, 0, ""},
        {"abc", "", "b", 0, 0, 0, 0, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(run(c.source, c.find, c.replace, c.cs, c.swap, c.start, c.count), QString::fromUtf8(c.expected))
            << c.source << " find " << c.find << " repl " << c.replace << " cs" << c.cs << " swap" << c.swap << " start"
            << c.start << " count" << c.count;
    EXPECT_EQ(logs->errorLogged, 0);
    EXPECT_EQ(readText(logs->errorFile()), QString());
}

TEST_F(FindReplaceTest, BadStartOrCountIsLoggedAndGivesEmpty)
{
    panel.caseSensitive = 1;
    panel.swapMode = 0;
    EXPECT_EQ(run("abc", "b", "x", 0, 1, 32767, 0), QString());
    EXPECT_EQ(run("abc", "b", "x", 0, 0, -1, 0), QString());
    EXPECT_EQ(run("abc", "b", "x", 0, 0, 0, -2), QString());
    EXPECT_EQ(logs->errorLogged, -1);
    const QStringList lines = readLines(logs->errorFile());
    ASSERT_EQ(lines.size(), 3);
    // The CASE and SWAP values are the panel's, not the call's.
    EXPECT_TRUE(lines[0].endsWith(") Error 6 (Overflow) Find & Replace: SOURCE=abc FIND=b REPLACE: x CASE: 1 SWAP=0"))
        << lines[0].toStdString();
    EXPECT_TRUE(lines[1].contains("Error 5 (Invalid procedure call or argument) Find & Replace: SOURCE=abc"));
    EXPECT_TRUE(lines[2].contains("Error 5 "));
}

TEST_F(FindReplaceTest, SinglePairReadsTheBoxes)
{
    RenameOptions o;
    o.findText = "a";
    o.replaceText = "b";
    o.replaceStart = "1";
    o.replaceCount = "1 time";
    EXPECT_EQ(replaceSingle("aaa", o, *logs), "aba");
    o.replaceStart = "40000";
    EXPECT_THROW(replaceSingle("aaa", o, *logs), platform::Failure); // the caller reports it
}

TEST_F(FindReplaceTest, BatchItemsWorkOnThePreviousResult)
{
    std::vector<BatchReplaceItem> items;
    items.push_back({"a", "b", 0, 0, 0, 0});
    items.push_back({"b", "c", 0, 0, 0, 0});
    EXPECT_EQ(replaceBatch("a", items, panel, *logs), "c");
    items.push_back({"C", "x", 1, 0, 0, 0}); // case-sensitive: no match
    items.push_back({"c", "y", 0, 0, 1, 1}); // start 1 keeps the first character
    EXPECT_EQ(replaceBatch("aa", items, panel, *logs), "cy");
    EXPECT_EQ(replaceBatch("zz", {}, panel, *logs), "zz");
}
