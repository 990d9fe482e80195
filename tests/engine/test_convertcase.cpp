#include "engine/convertcase.h"
#include "engine/random.h"
#include "test_support.h"

namespace {

QString convert(const char* name, int nameCase, int extCase, const QStringList& words = {}, int useExceptions = 0)
{
    RenameOptions o;
    o.nameCase = nameCase;
    o.extCase = extCase;
    o.useExceptions = useExceptions;
    RandomSource random(1);
    return convertCase(QString::fromUtf8(name), o, words.isEmpty() ? QStringList{QString()} : words, random);
}

} // namespace

TEST(ConvertCase, ModesTable)
{
    const struct {
        const char* in;
        int nameCase, extCase;
        const char* expected;
    } cases[] = {
        {"", NameUpper, ExtUpper, ""},
        {"README", NameUpper, ExtUpper, "README"},
        {"readme", NameUpper, ExtLower, "README"},
        {"archive.tar.gz", NameWords, ExtLower, "Archive.Tar.gz"},
        {".profile", NameWords, ExtUpper, ".PROFILE"},
        {"MiXeD.TxT", NameInvert, ExtInvert, "mIxEd.tXt"},
        {"a1-b_2.Jpg", NameInvert, ExtNoChange, "A1-B_2.Jpg"},
        {"the BEST of", NameSentence, ExtNoChange, "The best of"},
        {"iPod McDonald", NameWords, ExtNoChange, "Ipod Mcdonald"},
        {"rock 'n roll", NameWords, ExtNoChange, "Rock 'N Roll"},
        {"don't stop", NameWords, ExtNoChange, "Don't Stop"},
        {"a_b-c(d)e", NameWords, ExtNoChange, "A_B-C(D)E"},
        {"x!y;z", NameWords, ExtNoChange, "X!Y;Z"},
        {"a{b}c[d]e,f", NameWords, ExtNoChange, "A{B}C[D]E,F"},
        {"say `hi ´yo", NameWords, ExtNoChange, "Say `Hi ´Yo"},
        {"x'y", NameWords, ExtNoChange, "X'y"},
        {"photo.JPEG", NameNoChange, ExtCapitalize, "photo.Jpeg"},
        {"photo.jpeg", NameLower, ExtUpper, "photo.JPEG"},
        {"ÉCOLE.TXT", NameLower, ExtLower, "école.txt"},
        {"straße.txt", NameUpper, ExtNoChange, "STRAßE.txt"}, // one-to-one mapping: length kept
        // One-to-one mapping also where the full mapping has more characters.
        {"İZMİR.TXT", NameLower, ExtLower, "izmir.txt"},
        {"İstanbul", NameWords, ExtNoChange, "İstanbul"},
        {"i\u0307zmir", NameSentence, ExtNoChange, "I\u0307zmir"}, // "i" and a combining dot stay two characters
        {"ᾳ.ᾀ", NameUpper, ExtUpper, "ᾼ.ᾈ"},
        {"ᾼ", NameLower, ExtNoChange, "ᾳ"},
        {"İ", NameInvert, ExtNoChange, "i"},
        {"𐐨.txt", NameUpper, ExtNoChange, "𐐀.txt"},
        // A final dot stays in every mode.
        {"abc.", NameNoChange, ExtNoChange, "abc."},
        {"abc.", NameUpper, ExtUpper, "ABC."},
        {"a.b.", NameUpper, ExtNoChange, "A.B."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(convert(c.in, c.nameCase, c.extCase), QString::fromUtf8(c.expected))
            << c.in << " " << c.nameCase << "/" << c.extCase;
}

TEST(ConvertCase, ExceptionWordsTable)
{
    const struct {
        const char* in;
        int nameCase, extCase;
        QStringList words;
        const char* expected;
    } cases[] = {
        {"the dvd collection.avi", NameWords, ExtLower, {"DVD"}, "The DVD Collection.avi"},
        {"dvds.avi", NameWords, ExtLower, {"DVD"}, "Dvds.avi"},
        {"my dvd's.avi", NameWords, ExtLower, {"DVD"}, "My DVD's.avi"},
        {"lord of the rings", NameWords, ExtLower, {"of"}, "Lord of The Rings"},
        {"offer", NameWords, ExtLower, {"of"}, "Offer"},
        {"song.mp3", NameNoChange, ExtLower, {"MP3"}, "song.MP3"},
        {"dvd,cd.txt", NameNoChange, ExtNoChange, {"DVD"}, "DVD,cd.txt"},
        // In the extension a following "," is no right bound.
        {"x.dvd,cd", NameNoChange, ExtNoChange, {"DVD"}, "x.dvd,cd"},
        {"x.dvd-cd", NameNoChange, ExtNoChange, {"DVD"}, "x.DVD-cd"},
        // Left bounds: start, blank, "(", "[", "-", ".", "_", "'"; not ",".
        {"(dvd)[dvd]_dvd_'dvd'", NameNoChange, ExtNoChange, {"DVD"}, "(DVD)[DVD]_DVD_'DVD'"},
        {",dvd", NameNoChange, ExtNoChange, {"DVD"}, ",dvd"},
        {"a-dvd.b", NameNoChange, ExtNoChange, {"DVD"}, "a-DVD.b"},
        // A word never spans the dot between base and extension.
        {"abc.def", NameNoChange, ExtNoChange, {"C.D"}, "abc.def"},
        // Later words override earlier ones; overlapping occurrences are seen.
        {"the dvd", NameLower, ExtLower, {"DVD", "Dvd"}, "the Dvd"},
        {"aa aa", NameNoChange, ExtNoChange, {"AA AA", "Aa"}, "Aa Aa"},
        {"aaa", NameNoChange, ExtNoChange, {"", "AAA"}, "AAA"},
        // The word's stored form wins even against upper case.
        {"THE ONE", NameUpper, ExtNoChange, {"the"}, "the ONE"},
        // A final dot stays also with exceptions.
        {"dvd.", NameNoChange, ExtNoChange, {"DVD"}, "DVD."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(convert(c.in, c.nameCase, c.extCase, c.words, 1), QString::fromUtf8(c.expected)) << c.in;
    // Unticked, the list is not applied.
    EXPECT_EQ(convert("the dvd.avi", NameNoChange, ExtNoChange, {"DVD"}, 0), "the dvd.avi");
}

TEST(ConvertCase, RandomGivesBothCasesAndLeavesOtherCharacters)
{
    RenameOptions o;
    o.nameCase = NameRandom;
    o.extCase = ExtRandom;
    RandomSource random(42);
    bool upper[2] = {}, lower[2] = {};
    for (int i = 0; i < 200; ++i) {
        const QString r = convertCase("ab-1.c", o, {QString()}, random);
        ASSERT_EQ(r.size(), 6);
        EXPECT_EQ(r.mid(2, 3), "-1.");
        for (int k : {0, 5}) {
            const int slot = k == 0 ? 0 : 1;
            upper[slot] |= r[k].isUpper();
            lower[slot] |= r[k].isLower();
        }
    }
    EXPECT_TRUE(upper[0] && lower[0] && upper[1] && lower[1]);
    // The one generator goes on between calls: two calls rarely agree.
    RandomSource same(7);
    const QString long1 = convertCase(QString(40, u'a'), o, {QString()}, same);
    const QString long2 = convertCase(QString(40, u'a'), o, {QString()}, same);
    EXPECT_NE(long1, long2);
}
