#include "engine/fileinfo.h"
#include "engine/format.h"
#include "engine/logs.h"
#include "engine/random.h"
#include "engine/renameoptions.h"
#include "platform/fileops.h"
#include "test_support.h"

#include <QDir>

TEST(FileInfoName, SplitRule)
{
    const struct {
        const char* name;
        const char* base;
        const char* ext;
    } cases[] = {
        {"README", "README", ""}, {".profile", "", ".profile"},
        {"a.b.c", "a.b", "c"},    {"archive.tar.gz", "archive.tar", "gz"},
        {"ends.", "ends", ""},    {"x.y", "x", "y"},
    };
    for (const auto& c : cases) {
        const NameSplit s = splitFileInfoName(QString::fromUtf8(c.name));
        EXPECT_EQ(s.baseName, QString::fromUtf8(c.base)) << c.name;
        EXPECT_EQ(s.ext, QString::fromUtf8(c.ext)) << c.name;
    }
}

TEST(NameParts, PatternExamples)
{
    // Expected parts 0..3; later parts are always empty here.
    const struct {
        const char* pattern;
        const char* source;
        std::array<const char*, 4> parts;
    } cases[] = {
        {"<%1> - <%2>", "Artist - Title", {"", "Artist", "Title", ""}},
        {"<%1>_<%2>", "a_b_c", {"", "a", "b_c", ""}},
        {"<%1> (<%2>)", "Song (Live) x", {" x", "Song", "Live", ""}},
        {"Track <%1>", "Track 05", {"", "05", "", ""}},
        {"Track <%1>", "track 05", {"", "", "", ""}},
        {"<%1> <<%2>>", "Title [Remix]", {"", "Title", "Remix", ""}},
        {"<%1><%2>", "abc", {"", "", "abc", ""}},
        {"<%1> - <%2>", "NoSeparator", {"", "", "", ""}},
        // A typed "[%2]" is the marker too; "<%0>" is plain text.
        {"<%1>-[%2]", "x-y", {"", "x", "y", ""}},
        {"<%1>.<%0>", "a.[%0]", {"", "a", "", ""}},
        // A later literal that is missing keeps the parts cut before it.
        {"<%1>-<%2>+<%3>", "a-b", {"", "a", "", ""}},
        // A marker used twice keeps its last value.
        {"<%1>-<%1>-<%2>", "a-b-c", {"", "b", "c", ""}},
        {"<%3>", "whole", {"", "", "", "whole"}},
    };
    for (const auto& c : cases) {
        const auto parts = cutNameParts(QString::fromUtf8(c.source), QString::fromUtf8(c.pattern));
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(parts[k], QString::fromUtf8(c.parts[k])) << c.pattern << " on " << c.source << " part " << k;
        for (int k = 4; k < 10; ++k)
            EXPECT_TRUE(parts[k].isEmpty());
    }
}

class FileInfoTest : public TempEnv {
protected:
    RandomSource random{1};
    FormatContext context{.random = random};
    RenameOptions options;
    void SetUp() override
    {
        TempEnv::SetUp();
        options.formatText = QStringLiteral("<%1>-<%2>");
        options.formatParts = QStringLiteral("<%1> - <%2>");
    }
};

TEST_F(FileInfoTest, FillsNamesSizeTimesAndParent)
{
    const QString path = writeFile("Music/Rock/Artist - Title.mp3", QByteArray(1234, 'x'));
    const timespec when{1700000000, 0};
    platform::setFileTimes(path, timespec{1600000000, 0}, when);
    QString dir = work() + "/Music/Rock/";
    FileInfo info;
    ASSERT_TRUE(getFileInfo("Artist - Title.mp3", dir, info, options, context));
    EXPECT_EQ(dir, work() + "/Music/Rock"); // one trailing "/" removed in the caller's variable
    EXPECT_EQ(info.key, "Artist - Title.mp3");
    EXPECT_EQ(info.fullName, "Artist - Title.mp3");
    EXPECT_EQ(info.baseName, "Artist - Title");
    EXPECT_EQ(info.ext, "mp3");
    EXPECT_EQ(info.size, 1234);
    EXPECT_EQ(info.parent, "Rock");
    EXPECT_EQ(platform::toDateTime(info.modified), platform::toDateTime(when));
    EXPECT_EQ(platform::toDateTime(info.accessed), platform::toDateTime(timespec{1600000000, 0}));
    EXPECT_EQ(platform::toDateTime(info.created), platform::createdTime(*platform::entryInfo(path)));
    EXPECT_EQ(info.parts[1], "Artist");
    EXPECT_EQ(info.parts[2], "Title");
}

TEST_F(FileInfoTest, SecondRequestIsFreeAndOtherCaseRefills)
{
    writeFile("Song.txt", "abc");
    QString dir = work() + "/";
    FileInfo info;
    ASSERT_TRUE(getFileInfo("Song.txt", dir, info, options, context));
    ASSERT_TRUE(QFile::remove(work() + "/Song.txt"));
    EXPECT_TRUE(getFileInfo("Song.txt", dir, info, options, context)); // from the record
    EXPECT_EQ(info.size, 3);
    EXPECT_FALSE(getFileInfo("song.txt", dir, info, options, context)); // other case: looked up
    EXPECT_TRUE(info.key.isEmpty());
}

TEST_F(FileInfoTest, MissingEntryGivesEmptyRecordWithoutLogLine)
{
    Logs logs(programFolder());
    context.logs = &logs;
    QString dir = work() + "/";
    FileInfo info;
    EXPECT_FALSE(getFileInfo("ghost.txt", dir, info, options, context));
    EXPECT_TRUE(info.key.isEmpty());
    EXPECT_TRUE(info.baseName.isEmpty());
    EXPECT_EQ(info.size, 0);
    EXPECT_EQ(logs.errorLogged, 0);
    EXPECT_FALSE(QFile::exists(logs.errorFile()));
}

TEST_F(FileInfoTest, DirectoryEntryAndRootParent)
{
    makeDir("Albums/2004");
    QString dir = work() + "/Albums/";
    FileInfo info;
    ASSERT_TRUE(getFileInfo("2004", dir, info, options, context));
    EXPECT_EQ(info.baseName, "2004");
    EXPECT_EQ(info.size, 0);
    EXPECT_EQ(info.parent, "Albums");

    QString root = QStringLiteral("/");
    FileInfo top;
    ASSERT_TRUE(getFileInfo("tmp", root, top, options, context));
    EXPECT_EQ(root, "");
    EXPECT_EQ(top.parent, "");
}

TEST_F(FileInfoTest, PartsAreCutOnlyWhenUsedAndInFormatMode)
{
    writeFile("Artist - Title.mp3");
    const QString name = QStringLiteral("Artist - Title.mp3");
    struct Case {
        const char* what;
        std::function<void(RenameOptions&, FormatContext&)> change;
        const char* part1;
    };
    const std::vector<Case> cases = {
        {"base name", [](RenameOptions&, FormatContext&) {}, "Artist"},
        {"full name", [](RenameOptions& o, FormatContext&) { o.processExt = 1; }, "Artist"},
        {"extension only",
         [](RenameOptions& o, FormatContext&) {
             o.processName = 0;
             o.processExt = 1;
         },
         ""},
        {"marker unused", [](RenameOptions& o, FormatContext&) { o.formatText = "<NAME>"; }, ""},
        {"empty pattern", [](RenameOptions& o, FormatContext&) { o.formatParts.clear(); }, ""},
        {"detection", [](RenameOptions& o, FormatContext&) { o.detectMode = true; }, ""},
        {"other tab", [](RenameOptions&, FormatContext& c) { c.renameMode = RenameMode::Enum; }, ""},
    };
    for (const Case& c : cases) {
        RenameOptions o = options;
        FormatContext ctx{.random = random};
        c.change(o, ctx);
        QString dir = work() + "/";
        FileInfo info;
        ASSERT_TRUE(getFileInfo(name, dir, info, o, ctx));
        EXPECT_EQ(info.parts[1], QString::fromUtf8(c.part1)) << c.what;
    }
    // Full name as the source: the extension stays with the last part.
    RenameOptions o = options;
    o.processExt = 1;
    QString dir = work() + "/";
    FileInfo info;
    getFileInfo(name, dir, info, o, context);
    EXPECT_EQ(info.parts[2], "Title.mp3");
}
