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
        {"2", "0", false, "cdef"},
        {"2", "0", true, "abcd"},
        {"2", "1", false, "adef"},
        {"2", "1", true, "abcf"},
        {"10", "2", false, "ab"},
        {"10", "2", true, "ef"},
        {"1", "6", false, "abcdef"},
        {"3", "9", true, "abcdef"},
        {"1", "5", false, "abcde"},
        // A pasted minus sign removes nothing instead of repeating characters.
        {"-2", "3", false, "abcdef"},
        {"-2", "1", true, "abcdef"},
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

// Positions and numbers count characters: a character outside the basic plane
// (two UTF-16 units) is one character and is never split.
TEST(AddCrop, CharactersOutsideTheBasicPlaneCountAsOne)
{
    const struct {
        bool crop;
        const char* text;
        const char* number; // text to add, or characters to remove
        const char* pos;
        bool fromEnd;
        const char* expected;
    } cases[] = {
        {false, "😀b.txt", "X", "1", false, "😀Xb.txt"},
        {false, "😀b.txt", "X", "5", true, "😀Xb.txt"},
        {false, "a😀", "X", "2", false, "a😀X"},
        {false, "a😀", "X", "3", false, "a😀"}, // past the end: two characters, not three units
        {false, "𝒜𝒝", "😀", "1", true, "𝒜😀𝒝"},
        {true, "😀b.txt", "1", "0", false, "b.txt"},
        {true, "😀b.txt", "1", "5", true, "b.txt"},
        {true, "a😀b", "1", "1", false, "ab"},
        {true, "a😀b", "2", "0", true, "a"},
        {true, "a😀b", "1", "2", true, "😀b"},
        {true, "a😀b", "1", "1", true, "ab"},
        {true, "😀😀", "5", "1", false, "😀"},
        {true, "😀😀", "1", "2", false, "😀😀"}, // a position at the end removes nothing
    };
    for (const auto& c : cases) {
        RenameOptions o;
        o.cropMode = c.crop;
        (c.crop ? o.cropCount : o.addText) = QString::fromUtf8(c.number);
        (c.crop ? o.cropPos : o.addPos) = c.pos;
        (c.crop ? o.cropFromEnd : o.addFromEnd) = c.fromEnd;
        const QString out = addCropChars(QString::fromUtf8(c.text), o);
        EXPECT_EQ(out, QString::fromUtf8(c.expected))
            << c.text << (c.crop ? " crop " : " add ") << c.number << "@" << c.pos << " end=" << c.fromEnd;
        EXPECT_FALSE(out.contains(QChar(QChar::ReplacementCharacter)));
        EXPECT_EQ(QString::fromUtf8(out.toUtf8()), out); // valid UTF-16: no half pair on disk
    }
}
