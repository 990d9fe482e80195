#include "engine/processpart.h"
#include "test_support.h"

namespace {

RenameOptions boxes(int name, int ext)
{
    RenameOptions o;
    o.processName = name;
    o.processExt = ext;
    return o;
}

} // namespace

TEST(ProcessPart, SplitAndJoinTable)
{
    const struct {
        int name, ext;
        const char* in;
        const char* part;    // what the split hands to the transform
        const char* changed; // a transform's result
        const char* joined;  // the join of that result
    } cases[] = {
        // Process Name alone
        {1, 0, "photo.jpg", "photo", "PHOTO", "PHOTO.jpg"},
        {1, 0, "archive.tar.gz", "archive.tar", "x", "x.gz"},
        {1, 0, ".htaccess", ".htaccess", ".HT", ".HT"},
        {1, 0, "README", "README", "readme", "readme"},
        {1, 0, "photo.jpg", "photo", "", "jpg"},
        // Process Extension alone
        {0, 1, "photo.jpg", "jpg", "png", "photo.png"},
        {0, 1, "photo.jpg", "jpg", "", "photo"},
        {0, 1, "README", "", "", "README"},
        {0, 1, ".htaccess", "", "", ".htaccess"},
        // both
        {1, 1, "photo.jpg", "photo.jpg", "x.y", "x.y"},
        // A final dot is kept, so an unchanged part leaves such a name alone.
        {1, 0, "name.", "name", "name", "name."},
        {1, 0, "name.", "name", "NAME", "NAME."},
        {0, 1, "name.", "", "", "name."},
        {0, 1, "a.b.", "", "", "a.b."},
        {1, 0, "..", ".", ".", ".."},
    };
    for (const auto& c : cases) {
        const RenameOptions o = boxes(c.name, c.ext);
        const QString in = QString::fromUtf8(c.in);
        const ProcessPart s = splitProcessPart(in, o);
        EXPECT_EQ(s.part, QString::fromUtf8(c.part)) << c.in << " " << c.name << c.ext;
        EXPECT_EQ(joinProcessPart(QString::fromUtf8(c.changed), s), QString::fromUtf8(c.joined))
            << c.in << " " << c.name << c.ext;
        // Joining the untouched part always gives the name back.
        EXPECT_EQ(joinProcessPart(s.part, s), in) << c.in << " " << c.name << c.ext;
    }
}
