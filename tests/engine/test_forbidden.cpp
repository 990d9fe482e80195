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
