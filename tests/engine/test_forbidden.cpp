#include "engine/forbidden.h"
#include "test_support.h"

TEST(Forbidden, MapAndTagTable)
{
    const struct {
        const char* in;
        const char* mapped; // map only
        const char* tagged; // tag kept, map applied
    } cases[] = {
        {"a/b:c", "a-b-c", "a-b-c"},
        {"what?", "what", "what"},
        {"x:y|z", "x-y-z", "x-y-z"},
        {"say \"hi\"", "say ''hi''", "say ''hi''"},
        {"<b>", "[b]", "[b]"},
        {"2024<\\>photo", "2024[-]photo", "2024/photo"},
        {"a\\b", "a-b", "a-b"},
        {"<<\\>>", "[[-]]", "[/]"},
        {"???", "", ""},
        {"*star*", "-star-", "-star-"},
    };
    for (const auto& c : cases) {
        QString s = QString::fromUtf8(c.in);
        EXPECT_EQ(replaceForbiddenChars(s), QString::fromUtf8(c.mapped)) << c.in;
        EXPECT_EQ(s, QString::fromUtf8(c.mapped)) << "in place: " << c.in;
        EXPECT_EQ(applyTagAndMap(QString::fromUtf8(c.in)), QString::fromUtf8(c.tagged)) << c.in;
    }
}

TEST(Forbidden, TextFromNamesNeverBecomesATag)
{
    // An old name on disk that holds the tag characters keeps them as plain text.
    const QString old = QStringLiteral("a<\\>b");
    EXPECT_EQ(applyTagAndMap(neutralizeTags(old) + "<\\>x"), "a[-]b/x");
    // The marker's own characters in a name are disarmed too.
    const QString sneaky = QStringLiteral("x") + SubDirMarker + QStringLiteral("y");
    EXPECT_FALSE(applyTagAndMap(neutralizeTags(sneaky)).contains('/'));
    // The old currency-sign form is ordinary text.
    const QString legacy = QString::fromUtf8("a\u00a4SuBDiR\u00a4b");
    EXPECT_EQ(applyTagAndMap(neutralizeTags(legacy)), legacy);
    EXPECT_EQ(protectTagAndMap("a<\\>b"), "a" + SubDirMarker + "b");
}

// Whatever text a rule put together, the form on disk holds no C0 or C1
// control character; the tag and the map still work around where they were.
TEST(Forbidden, TheFormOnDiskDropsControlCharacters)
{
    const QString M = SubDirMarker;
    const struct {
        QString oldName, raw, tagged;
    } cases[] = {
        {"old.txt", "Report\n2024\x1b[2J.txt", "Report2024[2J.txt"},
        {"old.txt", QString("a") + QChar(0x85) + QChar(0x9F) + QChar(0x7F) + "b", "ab"},
        {"old.txt", QString("tab\there") + QChar(0xA0) + "nbsp",
         QString("tabhere") + QChar(0xA0) + "nbsp"}, // U+00A0 stays
        {"old.txt", "x\r<\\>\ny?.txt", "x" + M + "y.txt"},
        {"old.txt", "\n\x01\x1f", ""},
        // An old name whose "<\>" is split by a control is text from a name, never a tag.
        {"A<\n\\>b", "a<\n\\>b", "a[-]b"},
        {"a<\n\\>b", "a<\n\\>b<\\>c", "a[-]b[-]c"},
    };
    for (const auto& c : cases) {
        const QString tagged = taggedForm(c.oldName, c.raw);
        EXPECT_EQ(tagged, c.tagged) << c.raw.toStdString();
        EXPECT_EQ(resolvedForm(tagged), QString(c.tagged).replace(M, "/")) << c.raw.toStdString();
    }
}

TEST(Forbidden, DotLevelsOfAResolvedName)
{
    const struct {
        const char* name;
        DotLevel level;
    } cases[] = {
        {"a.txt", DotLevel::None},    {"...", DotLevel::None},  {".hidden", DotLevel::None},
        {"a/..b/c.", DotLevel::None}, {"..", DotLevel::Up},     {"../a.txt", DotLevel::Up},
        {"a/../../b", DotLevel::Up},  {"a/./..", DotLevel::Up}, {".", DotLevel::Here},
        {"./a.txt", DotLevel::Here},  {"a/.", DotLevel::Here},  {"", DotLevel::None},
    };
    for (const auto& c : cases)
        EXPECT_EQ(dotLevelOf(c.name), c.level) << c.name;
}
