#include "engine/normalize.h"
#include "test_support.h"

TEST(Normalize, Table)
{
    const struct {
        const char* in;
        int width;
        const char* expected;
    } cases[] = {
        {"", 0, ""},
        {"", 5, ""},
        {"IMG_0001", 2, "IMG_01"},
        {"IMG_0001", 6, "IMG_000001"},
        {"  a1 b22 c333  ", 2, "a01 b22 c333"},
        {"007 Bond 0", 3, "007 Bond 000"},
        {"0000", 2, "00"},
        {"12345", 3, "12345"},
        {"Track 5 of 12", 0, "Track  of "},
        {"1.5", 3, "001.005"},
        {"-5", 3, "-005"},
        {"12345", 11, "00000012345"},
        {"a007b", -1, "a7b"},
        {"000", -1, ""},
        {"no digits", 4, "no digits"},
        {"  padded  ", 4, "padded"},
        {"\tx1\t", 2, "\tx01\t"},
        {"\xef\xbc\x91\xef\xbc\x92", 4, "\xef\xbc\x91\xef\xbc\x92"}, // full-width digits are not digits
        {"7", 1, "7"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(normalizeNumbers(QString::fromUtf8(c.in), c.width), QString::fromUtf8(c.expected))
            << "[" << c.in << "] @ " << c.width;
}
