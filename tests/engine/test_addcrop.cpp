#include "engine/addcrop.h"
#include "platform/failure.h"
#include "test_support.h"

TEST(AddCrop, AddTable)
{
    const struct {
        const char* pos;
        bool fromEnd;
        const char* expected;
    } cases[] = {
        {"0", false, "Xabcdef"}, {"0", true, "abcdefX"}, {"2", false, "abXcdef"}, {"2", true, "abcdXef"},
        {"6", false, "abcdefX"}, {"6", true, "Xabcdef"}, {"7", false, "abcdef"},  {"7", true, "abcdef"},
    };
    RenameOptions o;
    o.addText = "X";
    for (const auto& c : cases) {
        o.addPos = c.pos;
        o.addFromEnd = c.fromEnd;
        EXPECT_EQ(addCropChars("abcdef", o), QString::fromUtf8(c.expected)) << c.pos << " end=" << c.fromEnd;
    }
    EXPECT_EQ(addCropChars("", o), QString()); // an empty part gets nothing added
}

TEST(AddCrop, CropTable)
{
    const struct {
        const char* count;
        const char* pos;
        bool fromEnd;
        const char* expected;
    } cases[] = {
        {"2", "0", false, "cdef"},   {"2", "0", true, "abcd"},   {"2", "1", false, "adef"},
        {"2", "1", true, "abcf"},    {"10", "2", false, "ab"},   {"10", "2", true, "ef"},
        {"1", "6", false, "abcdef"}, {"3", "9", true, "abcdef"}, {"1", "5", false, "abcde"},
        // A pasted minus sign removes nothing instead of repeating characters.
        {"-2", "3", false, "abcdef"}, {"-2", "1", true, "abcdef"},
    };
    RenameOptions o;
    o.cropMode = true;
    for (const auto& c : cases) {
        o.cropCount = c.count;
        o.cropPos = c.pos;
        o.cropFromEnd = c.fromEnd;
        EXPECT_EQ(addCropChars("abcdef", o), QString::fromUtf8(c.expected))
            << c.count << "@" << c.pos << " end=" << c.fromEnd;
    }
}

TEST(AddCrop, BadPositionsFailTowardsTheCaller)
{
    RenameOptions o;
    o.addText = "X";
    o.addPos = "-1";
    EXPECT_THROW(addCropChars("abc", o), platform::Failure);
    o.addPos = "70000";
    EXPECT_THROW(addCropChars("abc", o), platform::Failure);
}
