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

// A stored date or time is read back by a process whatever its locale: a
// desktop session and a job started by cron or a service do not share one.
TEST(DateText, StoredTextsReadBackUnderEveryLocale)
{
    const QLocale c = QLocale::c();
    const QLocale de(QLocale::German, QLocale::Germany);
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QLocale gb(QLocale::English, QLocale::UnitedKingdom);
    const QDate march24(2020, 3, 24);
    const struct {
        QString text;
        std::vector<QLocale> readers;
        std::optional<QDate> expected;
    } dates[] = {
        {"2020-03-24", {c, de, us, gb}, march24},
        {" 2020-03-24 ", {c, de}, march24},
        {"24.03.2020", {c, de, us, gb}, march24},
        {"24/03/2020", {c, de, us, gb}, march24},
        {"3/24/2020", {c, de, us, gb}, march24},
        {"24 Mar 2020", {c, de, us, gb}, march24},
        // Day and month both 12 or below: only a locale that writes it this
        // way may read it.
        {"03/04/2020", {c, de}, std::nullopt},
        {"03/04/2020", {us}, QDate(2020, 3, 4)},
        {"03/04/2020", {gb}, QDate(2020, 4, 3)},
        {"someday", {c, de, us}, std::nullopt},
        {"", {c, us}, std::nullopt},
        {"31.02.2020", {c, de}, std::nullopt},
        {"2020-03-24junk", {c, de, us}, std::nullopt},
        {QString(100000, u'1'), {c}, std::nullopt},
    };
    for (const auto& d : dates)
        for (const QLocale& reader : d.readers)
            EXPECT_EQ(readStoredDate(d.text, reader), d.expected)
                << d.text.left(40).toStdString() << " under " << reader.name().toStdString();

    const struct {
        QString text;
        std::vector<QLocale> readers;
        std::optional<QTime> expected;
    } times[] = {
        {"12:30:00", {c, de, us}, QTime(12, 30)},
        {"12:30", {c, de, us}, QTime(12, 30)}, // the minutes alone
        {"12:30:00 PM", {c, de, us}, QTime(12, 30)},
        {"12:30:00 AM", {c, de}, QTime(0, 30)},
        {"1:05:09 PM", {c, de, gb}, QTime(13, 5, 9)},
        {QString::fromUtf8("1:05:09\u202FPM"), {c, us}, QTime(13, 5, 9)}, // a narrow blank
        {"13.05.09", {c, us}, QTime(13, 5, 9)},
        {"noon", {c, de, us}, std::nullopt},
        {"25:00:00", {c, de}, std::nullopt},
    };
    for (const auto& t : times)
        for (const QLocale& reader : t.readers)
            EXPECT_EQ(readStoredTime(t.text, reader), t.expected)
                << t.text.toStdString() << " under " << reader.name().toStdString();

    EXPECT_EQ(storedDateText(march24), "2020-03-24");
    EXPECT_EQ(storedTimeText(QTime(9, 5, 7, 450)), "09:05:07");
}

// What any locale wrote is read back as written, or not at all: never as
// another date or time (the 4th of March is also the 3rd of April), unless
// the reader's own form reads it so.
TEST(DateText, NoLocalesTextIsReadAsAnotherValue)
{
    const QList<QLocale> readers{QLocale::c(), QLocale(QLocale::German, QLocale::Germany),
                                 QLocale(QLocale::English, QLocale::UnitedStates)};
    const QList<QLocale> writers =
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    const struct {
        QDate date;
        QTime time;
    } values[] = {{QDate(2020, 3, 24), QTime(13, 5, 9)}, {QDate(2020, 3, 4), QTime(1, 5, 9)}};
    for (const auto& [date, time] : values) {
        int readByAll = 0;
        for (const QLocale& writer : writers) {
            const QString d = dateText(date, writer);
            const QString t = timeText(time, writer);
            const std::string of = " of " + writer.name().toStdString();
            // Under the locale that wrote it, as the program has always read it.
            if (parseDateText(d, writer)) {
                EXPECT_EQ(readStoredDate(d, writer), date) << d.toStdString() << of;
            }
            if (parseTimeText(t, writer)) {
                EXPECT_EQ(readStoredTime(t, writer), time) << t.toStdString() << of;
            }
            bool all = true;
            for (const QLocale& reader : readers) {
                const auto rd = readStoredDate(d, reader);
                const auto rt = readStoredTime(t, reader);
                const std::string under = of + " under " + reader.name().toStdString();
                // The reader's own form comes first (a text it wrote itself);
                // any other reading is the value written.
                if (const auto own = parseDateText(d, reader)) {
                    EXPECT_EQ(rd, own) << d.toStdString() << under;
                } else {
                    EXPECT_TRUE(!rd || *rd == date) << d.toStdString() << under;
                }
                if (const auto own = parseTimeText(t, reader)) {
                    EXPECT_EQ(rt, own) << t.toStdString() << under;
                } else {
                    EXPECT_TRUE(!rt || *rt == time) << t.toStdString() << under;
                }
                all = all && rd && rt;
            }
            readByAll += all ? 1 : 0;
        }
        // Most locales write digits and a few signs that every other one
        // reads, where the day cannot be a month.
        if (date.day() > 12) {
            EXPECT_GT(readByAll, writers.size() / 2);
        }
    }
}

// Locales whose AM and PM texts differ in length read their own times back
// on both halves of the day, also the hour 12 of each, in every reader that
// takes a locale's form.
TEST(DateText, AmAndPmTextsOfDifferentLengthsReadBack)
{
    const QTime times[] = {QTime(0, 30, 0),  QTime(1, 5, 9),  QTime(11, 59, 59),
                           QTime(12, 30, 0), QTime(13, 5, 9), QTime(23, 59, 59)};
    for (const char* name : {"ee_GH", "kab_DZ", "naq_NA", "to_TO", "chr_US", "en_US"}) {
        const QLocale locale(QString::fromLatin1(name));
        for (const QTime& time : times) {
            const QString text = timeText(time, locale);
            const std::string trace = std::string(name) + " " + text.toStdString();
            EXPECT_EQ(parseTimeText(text, locale), time) << trace;
            EXPECT_EQ(readStoredTime(text, locale), time) << trace;
            const QDate day(2020, 3, 24);
            EXPECT_EQ(parseDateTimeText(dateText(day, locale) + u' ' + text, locale), QDateTime(day, time)) << trace;
        }
    }
}
