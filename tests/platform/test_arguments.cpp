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

// A name's bytes that are not UTF-8 show as "\xHH", the rest as its text.
TEST(PrintableText, UndecodableBytesAreWrittenByTheirValue)
{
    const struct {
        QByteArray bytes;
        QString shown;
    } cases[] = {
        {"plain.txt", "plain.txt"},
        {"bad\xff.txt", R"(bad\xFF.txt)"},
        {"caf\xc3\xa9 \xe9t\xe9", QString::fromUtf8("café ") + R"(\xE9t\xE9)"},
        {"\xf0\x9f\x8e\xb5|\xf0\x9f\x8e", QString::fromUtf8("\xf0\x9f\x8e\xb5|") + R"(\xF0\x9F\x8E)"}, // cut at the end
        {"\xc0\xaf", R"(\xC0\xAF)"},                                                                   // overlong "/"
        {"\xed\xa0\x80", R"(\xED\xA0\x80)"},                                                           // a surrogate
        {"\xf4\x90\x80\x80", R"(\xF4\x90\x80\x80)"},                                                   // past U+10FFFF
        {"a\x80"
         "b\xfe",
         R"(a\x80b\xFE)"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::printableText(platform::argumentText(c.bytes)), c.shown) << c.bytes.toHex().toStdString();
}
