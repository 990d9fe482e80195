#include "platform/wildcard.h"
#include "test_support.h"

struct WildcardCase {
    const char* name;
    const char* pattern;
    bool match;
};

TEST(Wildcard, Table)
{
    const WildcardCase cases[] = {
        {"README", "*.*", true},
        {"a.b.c", "*.*", true},
        {"x", "", true},
        {"photo.JPG", "*.jpg", true},
        {"photo.jpeg", "*.jpg", false},
        {"a.txt", "?.txt", true},
        {"ab.txt", "?.txt", false},
        {"readme", "readme.*", true},
        {"readme.md", "readme.*", true},
        {"Ärger.TXT", "ä*.txt", true},
        {"abc", "a*c", true},
        {"abcd", "a*c", false},
        {"a.tar.gz", "*.gz", true},
        {"aaa", "*a*a*a*", true},
        {"aa", "*a*a*a*", false},
        {"x.y", "*", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::matchesPattern(QString::fromUtf8(c.name), QString::fromUtf8(c.pattern)), c.match)
            << c.name << " ~ " << c.pattern;
}
