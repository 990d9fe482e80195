#include "mediainfo/duration.h"
#include "test_support.h"

TEST(Duration, TextsAndClock)
{
    const struct {
        int seconds;
        const char* text;
        const char* clock;
    } cases[] = {
        {3725, "1 H 2 Min 5 Sec", "01:02:05"},
        {245, "4 Min 5 Sec", "04:05"},
        {0, "0 Sec", "00:00"},
        {59, "59 Sec", "00:59"},
        {36000, "10 H 0 Min 0 Sec", "10:00:00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatDurationText(c.seconds), c.text);
        EXPECT_EQ(formatDurationClock(c.seconds), c.clock);
    }
}
