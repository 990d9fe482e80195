#include "engine/enumerate.h"
#include "platform/failure.h"
#include "test_support.h"

namespace {

EnumContext rows(int n)
{
    EnumContext c;
    c.rowCount = n;
    return c;
}

RenameOptions manual(const char* digits, const char* start = "1", const char* step = "1")
{
    RenameOptions o;
    o.enumAutoDigits = 0;
    o.enumDigits = digits;
    o.enumStart = start;
    o.enumStep = step;
    return o;
}

} // namespace

TEST(Enumerate, DefaultsWithAutomaticDigits)
{
    const RenameOptions o; // "<ENUM>_<FULLNAME>", start 1, step 1, Auto
    EXPECT_EQ(enumerateName("a.txt", 3, o, rows(12)), "03_a.txt");
    EXPECT_EQ(enumerateName("a.txt", 3, o, rows(8)), "3_a.txt");
    EXPECT_EQ(enumerateName("a.txt", 9, o, rows(9)), "09_a.txt");   // top 10: two digits
    EXPECT_EQ(enumerateName("a.txt", 1, o, rows(99)), "001_a.txt"); // top 100: three digits
}

TEST(Enumerate, AutomaticDigitsTable)
{
    const struct {
        const char* start;
        const char* step;
        int count;
        std::vector<const char*> numbers; // counters 1, 2, ...
    } cases[] = {
        {"100", "10", 5, {"100", "110", "120", "130", "140"}},
        {"100", "-10", 5, {"100", "090", "080", "070", "060"}},
        {"0001", "1", 5, {"1", "2", "3", "4", "5"}},
        {"-5", "1", 3, {"-5", "-4", "-3"}}, // top -2: one digit
        {"0", "-1", 12, {"00", "-01", "-02"}},
    };
    for (const auto& c : cases) {
        RenameOptions o;
        o.enumFormat = "<ENUM>";
        o.enumStart = c.start;
        o.enumStep = c.step;
        for (size_t i = 0; i < c.numbers.size(); ++i)
            EXPECT_EQ(enumerateName("x", qint32(i + 1), o, rows(c.count)), QString::fromUtf8(c.numbers[i]))
                << c.start << "/" << c.step << " #" << i + 1;
    }
}

TEST(Enumerate, AutomaticDigitsCountSelectedRowsWhenOnlySelectedAreRenamed)
{
    RenameOptions o;
    o.enumFormat = "<ENUM>";
    EnumContext c;
    c.rowCount = 200;
    c.selectedCount = 3;
    c.onlySelectedActive = true;
    EXPECT_EQ(enumerateName("x", 2, o, c), "2");
    c.onlySelectedActive = false;
    EXPECT_EQ(enumerateName("x", 2, o, c), "002");
}

TEST(Enumerate, ManualDigitsAndTags)
{
    const struct {
        const char* format;
        const char* name;
        int counter;
        RenameOptions options;
        const char* expected;
    } cases[] = {
        {"<ENUM>", "x", 1, manual("2", "-2"), "-02"},
        {"<ENUM>", "x", 2, manual("2", "-2"), "-01"},
        {"<ENUM>", "x", 3, manual("2", "-2"), "00"},
        {"<ENUM>", "x", 4, manual("2", "-2"), "01"},
        {"<ENUM>", "x", 1, manual("3", "12345"), "12345"},
        {"<name> - <Enum>.<ext>", "song.mp3", 2, manual("2"), "song - 02.mp3"},
        {"<ENUM><X>", "x", 1, manual("1"), "1<X>"},
        {"a<", "x", 1, manual("1"), "a<"},
        {"<NAME>.<EXT>", "README", 1, manual("1"), "README."},
        {"<NAME>.<EXT>", ".profile", 1, manual("1"), "..profile"},
        {"<FULLNAME>|<NAME>|<EXT>", "a.b.c", 1, manual("1"), "a.b.c|a.b|c"},
        {"<fullName>", "name.", 1, manual("1"), "name."},
        {"<<ENUM>>", "x", 5, manual("3", "10", "5"), "<030>"},
        {"", "x", 1, manual("2"), ""},
    };
    for (const auto& c : cases) {
        RenameOptions o = c.options;
        o.enumFormat = c.format;
        EXPECT_EQ(enumerateName(c.name, c.counter, o, rows(10)), QString::fromUtf8(c.expected))
            << c.format << " " << c.name << " #" << c.counter;
    }
}

TEST(Enumerate, StartOrStepThatIsNoNumberFails)
{
    for (const char* bad : {"-", "", "1-"}) {
        try {
            enumerateName("x", 1, manual("2", bad), rows(3));
            ADD_FAILURE() << "start " << bad;
        } catch (const platform::Failure& f) {
            EXPECT_EQ(f.number(), 13);
        }
        EXPECT_THROW(enumerateName("x", 1, manual("2", "1", bad), rows(3)), platform::Failure) << "step " << bad;
    }
    // An empty format gives the empty text before anything is read.
    RenameOptions o = manual("2", "-");
    o.enumFormat.clear();
    EXPECT_EQ(enumerateName("x", 1, o, rows(3)), QString());
}

TEST(EnumCounters, Table)
{
    struct Row {
        const char* dir;
        bool selected, ghost;
    };
    const struct {
        const char* what;
        std::vector<Row> rows;
        bool onlySelected, reset;
        std::vector<qint32> expected;
    } cases[] = {
        {"plain", {{"/x/", 0, 0}, {"/x/", 0, 0}, {"/y/", 0, 0}}, false, false, {1, 2, 3}},
        {"only selected", {{"/x/", 1, 0}, {"/x/", 0, 0}, {"/x/", 1, 0}}, true, false, {1, 0, 2}},
        {"selection ignored when not in force", {{"/x/", 1, 0}, {"/x/", 0, 0}}, false, false, {1, 2}},
        {"ghost rows", {{"/x/d/", 0, 1}, {"/x/", 0, 0}, {"/x/", 0, 0}}, false, false, {0, 1, 2}},
        {"reset per dir", {{"/x/", 0, 0}, {"/x/", 0, 0}, {"/y/", 0, 0}, {"/y/", 0, 0}}, false, true, {1, 2, 1, 2}},
        // A list sorted by name across folders: each folder counts its own rows.
        {"alternating dirs", {{"/x/", 0, 0}, {"/y/", 0, 0}, {"/x/", 0, 0}, {"/y/", 0, 0}}, false, true, {1, 1, 2, 2}},
        {"recurring dir in runs",
         {{"/x/", 0, 0}, {"/x/", 0, 0}, {"/y/", 0, 0}, {"/x/", 0, 0}},
         false,
         true,
         {1, 2, 1, 3}},
        // An unselected row of another directory neither counts nor resets.
        {"skipped row does not reset", {{"/x/", 1, 0}, {"/y/", 0, 0}, {"/x/", 1, 0}}, true, true, {1, 0, 2}},
        {"ghost row does not reset", {{"/x/", 0, 0}, {"/x/sub/", 0, 1}, {"/x/", 0, 0}}, false, true, {1, 0, 2}},
        {"directories compared exactly", {{"/x/", 0, 0}, {"/X/", 0, 0}, {"/x/", 0, 0}}, false, true, {1, 1, 2}},
        {"no rows", {}, true, true, {}},
    };
    for (const auto& c : cases) {
        std::vector<EnumRow> rows;
        for (const Row& r : c.rows)
            rows.push_back({QString::fromUtf8(r.dir), r.selected, r.ghost});
        EXPECT_EQ(enumCounters(rows, c.onlySelected, c.reset), c.expected) << c.what;
    }
}

TEST(EnumCounters, RunAndPreviewAgreeOnNames)
{
    // Two files of one directory around an unselected file of another: the
    // names follow from the counters, so they differ and match the preview.
    const std::vector<EnumRow> rows = {{"/x/", true, false}, {"/y/", false, false}, {"/x/", true, false}};
    const std::vector<qint32> counters = enumCounters(rows, true, true);
    RenameOptions o;
    o.enumFormat = "<ENUM>";
    EnumContext c;
    c.onlySelectedActive = true;
    c.selectedCount = 2;
    c.rowCount = 3;
    EXPECT_NE(enumerateName("a", counters[0], o, c), enumerateName("c", counters[2], o, c));
}
