#include "platform/datetext.h"
#include "test_support.h"

using namespace platform;

TEST(DateText, RoundTripUnderTwoLocales)
{
    for (const QLocale& loc :
         {QLocale(QLocale::English, QLocale::UnitedStates), QLocale(QLocale::German, QLocale::Germany)}) {
        const QDateTime when(QDate(2024, 3, 7), QTime(14, 5, 9));
        const QString text = dateTimeText(when, loc);
        EXPECT_TRUE(text.contains("2024")) << text.toStdString(); // two-digit year widened
        EXPECT_FALSE(shortDateFormat(loc).isEmpty());
        EXPECT_FALSE(longTimeFormat(loc).contains('t'));
        const auto back = parseDateTimeText(text, loc);
        ASSERT_TRUE(back) << text.toStdString();
        EXPECT_EQ(*back, when);
    }
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(dateText(QDate(2024, 3, 7), us), "3/7/2024");
    EXPECT_EQ(dateText(QDate(2024, 3, 7), QLocale(QLocale::German, QLocale::Germany)), "07.03.2024");
}

TEST(DateText, MidnightShowsTheDateAlone)
{
    const QLocale de(QLocale::German, QLocale::Germany);
    EXPECT_EQ(dateTimeText(QDateTime(QDate(2020, 1, 2), QTime(0, 0)), de), "02.01.2020");
    EXPECT_EQ(dateTimeText(QDateTime(QDate(2020, 1, 2), QTime(0, 0, 1)), de), "02.01.2020 00:00:01");
    const auto back = parseDateTimeText("02.01.2020", de);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, QDateTime(QDate(2020, 1, 2), QTime(0, 0)));
    EXPECT_FALSE(parseDateTimeText("not a date", de));
    EXPECT_EQ(sortKeyText(QDateTime(QDate(2020, 1, 2), QTime(3, 4, 5))), "2020-01-02 03:04:05");
}

TEST(DateText, NumbersRoundHalfToEvenWithoutGrouping)
{
    const QLocale de(QLocale::German, QLocale::Germany);
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_DOUBLE_EQ(roundHalfEven(1.125, 2), 1.12);
    EXPECT_DOUBLE_EQ(roundHalfEven(1.135, 2), 1.14);
    EXPECT_EQ(numberText(1234567.5, de), "1234567,5");
    EXPECT_EQ(numberText(2.10, us), "2.1");
    EXPECT_EQ(numberText(3.0, us), "3");
}
