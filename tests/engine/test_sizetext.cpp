#include "engine/sizetext.h"
#include "test_support.h"

TEST(SizeText, BoundsAndRounding)
{
    const QLocale c = QLocale::c();
    const struct {
        double bytes;
        const char* text;
    } cases[] = {
        {0, "0 bytes"},
        {1, "1 bytes"},
        {1000, "1000 bytes"},
        {1024, "1024 bytes"},
        {1025, "1 kB"},
        {1536, "2 kB"},
        {2560, "2 kB"}, // 2.5 goes to the even neighbour
        {3584, "4 kB"},
        {1048576, "1024 kB"},
        {1048577, "1 MB"},
        {2621440, "2.5 MB"},
        {1073741824, "1024 MB"},
        {1.5 * 1073741824, "1.5 GB"},
        {3.0 * 1073741824, "3 GB"},
        {5.0 * 1099511627776.0, "5120 GB"}, // 64-bit sizes stay exact
    };
    for (const auto& k : cases)
        EXPECT_EQ(sizeText(k.bytes, c), QString::fromLatin1(k.text)) << k.bytes;
}

TEST(SizeText, UsesTheLocaleDecimalMark)
{
    EXPECT_EQ(sizeText(1.5 * 1073741824, QLocale(QLocale::German, QLocale::Germany)), "1,5 GB");
    EXPECT_EQ(sizeText(2621440, QLocale(QLocale::German, QLocale::Germany)), "2,5 MB");
}
