#include "engine/spaces.h"
#include "test_support.h"

TEST(Spaces, Table)
{
    const struct {
        int leading, trailing, shrink;
        const char* in;
        const char* expected;
    } cases[] = {
        {1, 1, 1, "  my   file .txt ", "my file.txt"},
        {0, 1, 0, "name . txt", "name. txt"},
        {0, 1, 0, "a.b .c", "a.b.c"},
        {1, 0, 0, " x .txt", "x .txt"},
        {1, 0, 0, "   ", ""},
        {0, 1, 0, "   ", ""},
        {0, 0, 1, "   ", " "},
        {0, 1, 0, "no dot  ", "no dot"},
        {0, 1, 0, " .x", ".x"},
        {0, 0, 1, "a  b   c", "a b c"},
        {0, 0, 1, "tab\t\tstays", "tab\t\tstays"},
        {1, 1, 0, "\tx\t", "\tx\t"},
    };
    for (const auto& c : cases) {
        RenameOptions o;
        o.trimLeading = c.leading;
        o.trimTrailing = c.trailing;
        o.shrinkSpaces = c.shrink;
        EXPECT_EQ(trimSpaces(QString::fromUtf8(c.in), o), QString::fromUtf8(c.expected))
            << "[" << c.in << "] " << c.leading << c.trailing << c.shrink;
    }
}
