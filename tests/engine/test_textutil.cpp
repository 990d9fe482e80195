#include "engine/textutil.h"
#include "platform/failure.h"
#include "test_support.h"

TEST(TextUtil, LeadingNumber)
{
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"12", 12}, {"  7abc", 7}, {"-3", -3},  {"+4", 4},  {"2.5x", 2.5}, {"1.2.3", 1.2}, {"abc", 0},
        {"", 0},    {"-", 0},      {".5", 0.5}, {"\t9", 9}, {"1e3", 1},    {"0007", 7},    {"- 5", 0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(leadingNumber(QString::fromUtf8(c.text)), c.value) << c.text;
}

TEST(TextUtil, Int16RoundsHalvesToEvenAndOverflows)
{
    EXPECT_EQ(toInt16(2.5), 2);
    EXPECT_EQ(toInt16(3.5), 4);
    EXPECT_EQ(toInt16(-2.5), -2);
    EXPECT_EQ(toInt16(2.4), 2);
    EXPECT_EQ(toInt16(32767), 32767);
    EXPECT_EQ(toInt16(-32768), -32768);
    EXPECT_EQ(toInt16(-32768.5), -32768);
    for (double v : {32767.5, 32768.0, -32769.0, 1e10}) {
        try {
            toInt16(v);
            ADD_FAILURE() << v;
        } catch (const platform::Failure& f) {
            EXPECT_EQ(f.number(), 6);
            EXPECT_EQ(f.description(), "Overflow");
        }
    }
    EXPECT_EQ(leadingInt16(QStringLiteral(" 12 boxes")), 12);
    EXPECT_THROW(leadingInt16(QStringLiteral("99999")), platform::Failure);
}

TEST(TextUtil, NumberFromTextAcceptsOnlyWholeNumbers)
{
    EXPECT_DOUBLE_EQ(numberFromText(QStringLiteral("-12")), -12);
    EXPECT_DOUBLE_EQ(numberFromText(QStringLiteral(" 5 ")), 5);
    EXPECT_DOUBLE_EQ(numberFromText(QStringLiteral("0001")), 1);
    for (const char* bad : {"-", "", "1-2", "--5", "5x", " "}) {
        try {
            numberFromText(QString::fromUtf8(bad));
            ADD_FAILURE() << bad;
        } catch (const platform::Failure& f) {
            EXPECT_EQ(f.number(), 13) << bad;
        }
    }
}

TEST(TextUtil, DigitsAndLettersByCodePoint)
{
    EXPECT_TRUE(isDigitChar(u'0'));
    EXPECT_TRUE(isDigitChar(u'9'));
    EXPECT_FALSE(isDigitChar(QChar(0xFF11))); // full-width one
    EXPECT_FALSE(isDigitChar(QChar(0x0663))); // Arabic-Indic three
    EXPECT_TRUE(isLetterChar(u'A'));
    EXPECT_TRUE(isLetterChar(u'z'));
    EXPECT_TRUE(isLetterChar(QChar(0x00E9))); // é
    EXPECT_TRUE(isLetterChar(QChar(0x00C0)));
    EXPECT_FALSE(isLetterChar(QChar(0x00BF))); // ¿
    EXPECT_FALSE(isLetterChar(QChar(0x0416))); // Cyrillic Zhe, beyond 255
    EXPECT_FALSE(isLetterChar(u'_'));
}

TEST(TextUtil, CaseMappingKeepsLength)
{
    EXPECT_EQ(upperText(u"straße"), QString::fromUtf8("STRAßE"));
    EXPECT_EQ(lowerText(u"ÀÉÎ"), QString::fromUtf8("àéî"));
    // Deseret letters live outside the basic plane and map within it.
    const QString deseretLower = QString::fromUtf8("\U00010428");
    EXPECT_EQ(upperText(deseretLower), QString::fromUtf8("\U00010400"));
    EXPECT_EQ(upperText(u"x1-y").size(), 4);
    EXPECT_EQ(lowerText(u"İZMİR"), "izmir");
    EXPECT_EQ(upperText(u"ᾀᾐᾠᾳῃῳ"), QString::fromUtf8("ᾈᾘᾨᾼῌῼ"));
}

TEST(TextUtil, CharacterPositionsSkipWholePairs)
{
    const QString t = QString::fromUtf8("a😀b");
    EXPECT_EQ(charCount(t), 3);
    EXPECT_EQ(unitOffset(t, 0), 0);
    EXPECT_EQ(unitOffset(t, 1), 1);
    EXPECT_EQ(unitOffset(t, 2), 3);
    EXPECT_EQ(unitOffset(t, 3), 4);
    EXPECT_EQ(unitOffset(t, 9), 4);
    EXPECT_EQ(unitOffset(t, -1), 0);
    const QString lone = QString(QChar(0xD800)) + QLatin1Char('x'); // an unpaired half counts as one
    EXPECT_EQ(charCount(lone), 2);
    EXPECT_EQ(unitOffset(lone, 1), 1);
}

TEST(TextUtil, TextFinderAgreesWithQtComparison)
{
    const char* hays[] = {"Hello hello HELLO",
                          "École école ÉCOLE",
                          "ΣΊΣΥΦΟΣ σίσυφος",
                          "straße STRASSE",
                          "\U00010400\U00010428 x",
                          "aaaa",
                          "",
                          "abcabc"};
    const char* needles[] = {"hello", "HeLLo", "école", "É", "σ", "ς", "ß", "\U00010428", "aa", "bca", "x", "zz"};
    for (const char* h : hays) {
        const QString hay = QString::fromUtf8(h);
        for (const char* nd : needles) {
            const QString needle = QString::fromUtf8(nd);
            for (Qt::CaseSensitivity cs : {Qt::CaseSensitive, Qt::CaseInsensitive}) {
                const TextFinder finder(needle, cs);
                for (qsizetype from = 0; from <= hay.size(); ++from)
                    EXPECT_EQ(finder.indexIn(hay, from), hay.indexOf(needle, from, cs))
                        << h << " / " << nd << " cs=" << cs << " from " << from;
            }
        }
    }
    EXPECT_EQ(TextFinder(QString(), Qt::CaseInsensitive).indexIn(u"abc"), -1);
}
