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

// The Unicode controls that reorder or break a shown name go with the C0 and
// C1 ones; joiners, direction marks and their neighbours in the code table stay.
TEST(Forbidden, UnicodeControlsThatReorderOrBreakANameAreDropped)
{
    for (const char16_t u : {0x202A, 0x202B, 0x202C, 0x202D, 0x202E, 0x2066, 0x2067, 0x2068, 0x2069, 0x2028, 0x2029}) {
        const QString raw = QString("a") + QChar(u) + "b.txt";
        EXPECT_EQ(withoutControlChars(raw), "ab.txt") << std::hex << unsigned(u);
        EXPECT_EQ(taggedForm("old.txt", raw), "ab.txt") << std::hex << unsigned(u);
    }
    for (const char16_t u : {0x200C, 0x200D, 0x200E, 0x200F, 0x2027, 0x202F, 0x2065, 0x206A, 0x00A0, 0xFEFF}) {
        const QString raw = QString("a") + QChar(u) + "b.txt";
        EXPECT_EQ(withoutControlChars(raw), raw) << std::hex << unsigned(u);
        EXPECT_EQ(taggedForm("old.txt", raw), raw) << std::hex << unsigned(u);
    }
}

// The one judgement the preview and a run share: what a computed name becomes
// on disk, and whether it may have it. The bytes judged are those that go to
// the system: after the control drop, the tag and the map, level by level.
TEST(Forbidden, ANameThatTheDropHidesOrEmptiesOrThatIsTooLongIsRefused)
{
    const auto rep = [](const QString& s, int n) { return s.repeated(n); };
    const QString e = QString::fromUtf8("é");              // two bytes
    const QString cjk = QString::fromUtf8("字");           // three bytes
    const QString emoji = QString::fromUtf8("\U0001F600"); // four bytes, a surrogate pair
    const QString coder = QString::fromUtf8("\U0001F469\u200D\U0001F4BB");
    const QString rlo = QString(QChar(0x202E));
    const struct {
        const char* what;
        QString oldName, raw, resolved;
        NameRefusal refusal;
    } cases[] = {
        {"ESC.txt under Convert Case", "\x1b.txt", "\x1b.TXT", ".TXT", NameRefusal::HiddenWithoutControls},
        {"a dot after a map-removed ?", "a.txt", "?\x01.txt", ".txt", NameRefusal::HiddenWithoutControls},
        {"the map alone removes ?", "a.txt", "?.txt", ".txt", NameRefusal::None},
        {"a dot that was first already", ".a",
         ".\x01"
         "b",
         ".b", NameRefusal::None},
        {"only controls", "a.txt", "\x01\x1b" + rlo + QChar(0x2028), "", NameRefusal::EmptyWithoutControls},
        {"controls after the last tag", "a.txt", "sub<\\>\x1b", "sub", NameRefusal::EmptyWithoutControls},
        {"a level of controls between two", "a.txt", "x<\\>\x1b<\\>y", "x/y", NameRefusal::None},
        {"a tag makes a hidden level", "a.txt", "sub<\\>\x1b.txt", "sub/.txt", NameRefusal::HiddenWithoutControls},
        {"a typed hidden level", "a.txt", "sub<\\>.txt\x1b", "sub/.txt", NameRefusal::None},
        {"a dot after a level of controls", "a.txt", "\x1b<\\>.x", ".x", NameRefusal::None},
        {"tags of the old name are text", "a<\\>b", "x<\\>\x01.y", "x[-].y", NameRefusal::None},
        {"a dot level is named first", "a.txt", "\x01..", "..", NameRefusal::UpLevel},
        {"U+202E from a Replace text", "invoice.exe", "invoice" + rlo + "txt.exe", "invoicetxt.exe", NameRefusal::None},
        {"a line separator", "a.txt", QString("a") + QChar(0x2028) + "b.txt", "ab.txt", NameRefusal::None},
        {"emoji keep their joiner", "a.txt", coder + ".txt", coder + ".txt", NameRefusal::None},
        {"255 bytes of two-byte letters", "a.txt", rep(e, 125) + "x.txt", rep(e, 125) + "x.txt", NameRefusal::None},
        {"256 bytes of two-byte letters", "a.txt", rep(e, 126) + ".txt", rep(e, 126) + ".txt",
         NameRefusal::LevelTooLong},
        {"255 bytes of three-byte letters", "a.txt", rep(cjk, 85), rep(cjk, 85), NameRefusal::None},
        {"256 bytes of three-byte letters", "a.txt", rep(cjk, 85) + "a", rep(cjk, 85) + "a", NameRefusal::LevelTooLong},
        {"255 bytes with pairs", "a.txt", rep(emoji, 63) + "abc", rep(emoji, 63) + "abc", NameRefusal::None},
        {"256 bytes with pairs", "a.txt", rep(emoji, 63) + "abcd", rep(emoji, 63) + "abcd", NameRefusal::LevelTooLong},
        {"the map makes the 256th byte", "a.txt", rep("a", 254) + "\"", rep("a", 254) + "''",
         NameRefusal::LevelTooLong},
        {"the drop makes it fit", "a.txt", rep("a", 255) + "\x1b", rep("a", 255), NameRefusal::None},
        {"every level may take 255 bytes", "a.txt", rep("a", 255) + "<\\>" + rep("b", 255),
         rep("a", 255) + "/" + rep("b", 255), NameRefusal::None},
        {"a tag makes a long level", "a.txt", "sub<\\>" + rep("b", 256), "sub/" + rep("b", 256),
         NameRefusal::LevelTooLong},
        {"a long level before a tag", "a.txt", rep("d", 256) + "<\\>b.txt", rep("d", 256) + "/b.txt",
         NameRefusal::LevelTooLong},
        {"past the unit limit", "a.txt", rep("a", MaxNameLength + 1), rep("a", MaxNameLength + 1),
         NameRefusal::TooLong},
    };
    for (const auto& c : cases) {
        const NameOnDisk form = nameOnDisk(c.oldName, c.raw);
        EXPECT_EQ(form.resolved, c.resolved) << c.what;
        EXPECT_EQ(form.refusal, c.refusal) << c.what;
        EXPECT_EQ(form.tagged, taggedForm(c.oldName, c.raw)) << c.what;
        EXPECT_EQ(form.resolved, resolvedForm(form.tagged)) << c.what;
        EXPECT_EQ(levelTooLong(form.resolved),
                  c.refusal == NameRefusal::LevelTooLong || c.refusal == NameRefusal::TooLong)
            << c.what;
    }
}
