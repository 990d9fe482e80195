#include "execute/filetimes.h"
#include "platform/datetext.h"
#include "platform/failure.h"
#include "platform/fileops.h"
#include "test_support.h"

#include <QFile>

class FileTimesTest : public TempEnv {};

TEST_F(FileTimesTest, SetsModifiedAndKeepsTheOtherStamps)
{
    const QString f = writeFile("t.txt", "x");
    platform::setFileTimes(f, timespec{1500000000, 123456789}, timespec{1500000100, 5});
    OldFileDates old;
    const QDate day(2021, 5, 6);
    const auto r = setFileDates(f, {}, {}, {}, {}, platform::dateText(day), platform::timeText(QTime(7, 8, 9)), old);
    EXPECT_TRUE(r.ok);
    EXPECT_TRUE(r.anyWritten);
    EXPECT_FALSE(r.createdRefused);
    auto info = platform::entryInfo(f);
    EXPECT_EQ(platform::toDateTime(info->modified), QDateTime(day, QTime(7, 8, 9)));
    EXPECT_EQ(info->accessed.tv_sec, 1500000000); // untouched, to the nanosecond
    EXPECT_EQ(info->accessed.tv_nsec, 123456789);
    EXPECT_EQ(old.modifiedDate, platform::dateText(QDateTime::fromSecsSinceEpoch(1500000100).date()));
}

TEST_F(FileTimesTest, DateOnlyKeepsTheTimeOfDayAndReadOnlyModeStays)
{
    const QString f = writeFile("ro.txt", "x");
    const QDateTime before(QDate(2020, 1, 2), QTime(13, 14, 15));
    platform::setFileTimes(f, std::nullopt, platform::toTimespec(before));
    platform::setAttributes(f, platform::attr::ReadOnly);
    const auto modeBefore = platform::entryInfo(f)->mode;
    OldFileDates old;
    const auto r = setFileDates(f, {}, {}, {}, {}, platform::dateText(QDate(2022, 2, 3)), {}, old);
    EXPECT_TRUE(r.ok);
    const auto info = platform::entryInfo(f);
    EXPECT_EQ(platform::toDateTime(info->modified), QDateTime(QDate(2022, 2, 3), QTime(13, 14, 15)));
    EXPECT_EQ(info->mode, modeBefore);
}

TEST_F(FileTimesTest, CreationTimeIsRefusedUnlessUnchanged)
{
    const QString f = writeFile("c.txt", "x");
    FileStamps stamps;
    ASSERT_TRUE(getFileDates(f, stamps));
    OldFileDates old;
    // The time shown, to the second: no change, nothing refused.
    auto r = setFileDates(f, platform::dateText(stamps.created.date()), platform::timeText(stamps.created.time()), {},
                          {}, {}, {}, old);
    EXPECT_TRUE(r.ok);
    EXPECT_FALSE(r.createdRefused);
    // Another creation time is refused while the modified time is still set.
    r = setFileDates(f, platform::dateText(QDate(2001, 1, 1)), {}, {}, {}, platform::dateText(QDate(2002, 2, 2)), {},
                     old);
    EXPECT_TRUE(r.createdRefused);
    EXPECT_TRUE(r.anyWritten);
    EXPECT_EQ(platform::toDateTime(platform::entryInfo(f)->modified).date(), QDate(2002, 2, 2));
}

TEST_F(FileTimesTest, MissingFilesDirectoriesAndBadTexts)
{
    OldFileDates old;
    old.modifiedDate = "kept";
    EXPECT_FALSE(setFileDates(work() + "/none", {}, {}, {}, {}, "1/1/2020", {}, old).ok);
    EXPECT_FALSE(setFileDates(makeDir("d"), {}, {}, {}, {}, "1/1/2020", {}, old).ok);
    EXPECT_EQ(old.modifiedDate, "kept");
    const QString f = writeFile("t.txt");
    const auto before = platform::entryInfo(f)->modified;
    EXPECT_THROW(setFileDates(f, {}, {}, {}, {}, "not a date", {}, old), platform::Failure);
    EXPECT_EQ(platform::entryInfo(f)->modified.tv_nsec, before.tv_nsec);
}

TEST(Attributes, WantedBitsFollowTheBoxes)
{
    using namespace platform::attr;
    // Read-only cleared, hidden set, system and archive kept, on R--A: -H-A.
    EXPECT_EQ(wantedAttributes(ReadOnly | Archive, 0, 1, 2, 2), Hidden | Archive);
    EXPECT_EQ(wantedAttributes(ReadOnly | Archive | Directory, 2, 2, 2, 2), ReadOnly | Archive);
    EXPECT_EQ(wantedAttributes(Hidden, 1, 0, 1, 0), ReadOnly | System);
}

TEST_F(FileTimesTest, ANewValueEqualToTheOldOneIsNoChangeAndNotRewritten)
{
    const QString f = writeFile("same.txt", "x");
    const QDateTime when(QDate(2020, 6, 7), QTime(8, 9, 10));
    platform::setFileTimes(f, timespec{platform::toTimespec(when).tv_sec, 444},
                           timespec{platform::toTimespec(when).tv_sec, 555});
    OldFileDates old;
    const QString d = platform::dateText(when.date()), t = platform::timeText(when.time());
    const struct {
        const char* what;
        QString accessedDate, accessedTime, modifiedDate, modifiedTime;
        std::array<bool, 3> changes;
    } cases[] = {
        {"nothing asked", {}, {}, {}, {}, {false, false, false}},
        {"the same date", {}, {}, d, {}, {false, false, false}},
        {"the same date and time", d, t, d, t, {false, false, false}},
        {"another time for access only", {}, platform::timeText(QTime(1, 2, 3)), d, t, {false, true, false}},
    };
    for (const auto& c : cases) {
        const auto r = setFileDates(f, {}, {}, c.accessedDate, c.accessedTime, c.modifiedDate, c.modifiedTime, old);
        EXPECT_TRUE(r.ok) << c.what;
        EXPECT_EQ(r.changes, c.changes) << c.what;
        EXPECT_EQ(r.anyWritten, c.changes[1] || c.changes[2]) << c.what;
        EXPECT_EQ(platform::entryInfo(f)->modified.tv_nsec, 555) << c.what; // the unchanged stamp keeps its fraction
    }
    EXPECT_EQ(platform::toDateTime(platform::entryInfo(f)->accessed), QDateTime(when.date(), QTime(1, 2, 3)));
}
