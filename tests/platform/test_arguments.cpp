#include "platform/arguments.h"

#include <gtest/gtest.h>

// Argument bytes come back whole: UTF-8 as text, any other byte as a marker
// that no file name decodes to, shown as "\xHH" in messages.
TEST(Arguments, BytesThatAreNotUtf8AreKeptAndShown)
{
    struct Case {
        const char* bytes;
        bool undecodable;
        const char* printable;
    };
    const Case cases[] = {
        {"/home/me/Music", false, "/home/me/Music"},
        {"/home/me/M\xc3\xbcsik \xe2\x82\xac \xf0\x9f\x8e\xb5", false,
         "/home/me/M\xc3\xbcsik \xe2\x82\xac \xf0\x9f\x8e\xb5"},
        {"/tmp/\xff", true, "/tmp/\\xFF"},
        {"a\xc3", true, "a\\xC3"},                          // cut short
        {"\xc0\xaf", true, "\\xC0\\xAF"},                   // an overlong "/"
        {"\xed\xa0\x80", true, "\\xED\\xA0\\x80"},          // a surrogate written as UTF-8
        {"\xf4\x90\x80\x80", true, "\\xF4\\x90\\x80\\x80"}, // past U+10FFFF
        {"line\nfeed\x1b[2J", false, "line\\x0Afeed\\x1B[2J"},
    };
    for (const Case& c : cases) {
        const QString text = platform::argumentText(c.bytes);
        EXPECT_EQ(platform::holdsUndecodable(text), c.undecodable) << c.bytes;
        EXPECT_EQ(platform::printableText(text), QString::fromUtf8(c.printable)) << c.bytes;
        EXPECT_FALSE(text.contains(QChar(QChar::ReplacementCharacter))) << c.bytes;
    }
    // Two arguments that differ only in a byte that is not UTF-8 stay two texts.
    EXPECT_NE(platform::argumentText("x\xfe"), platform::argumentText("x\xff"));
}
