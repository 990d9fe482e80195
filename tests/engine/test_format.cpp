#include "engine/forbidden.h"
#include "engine/format.h"
#include "engine/logs.h"
#include "engine/random.h"
#include "engine/renameoptions.h"
#include "engine/sizetext.h"
#include "platform/datetext.h"
#include "platform/fileops.h"
#include "test_support.h"

#include <QDir>
#include <QSet>

class Format : public TempEnv {
protected:
    RandomSource random{7};
    FormatContext context{.random = random};
    RenameOptions options;
    std::unique_ptr<Logs> logs;

    void SetUp() override
    {
        TempEnv::SetUp();
        logs = std::make_unique<Logs>(programFolder());
        context.logs = logs.get();
        options.formatParts = QStringLiteral("<%1> - <%2>");
        options.allTagsRequired = 0;
    }
    QString dir() const { return work() + "/"; }
    QString run(const QString& format, const QString& name, int required = 0)
    {
        options.formatText = format;
        options.allTagsRequired = required;
        return formatFilename(name, dir(), options, context);
    }
};

TEST_F(Format, FileTagsTable)
{
    writeFile("Artist - Title.mp3", QByteArray(2560, 'x'));
    makeDir("Albums");
    const struct {
        const char* format;
        const char* name;
        const char* result;
    } cases[] = {
        {"<NAME> (<SIZE>).<EXT>", "Artist - Title.mp3", "Artist - Title (2 kB).mp3"},
        {"<name>|<Ext>|<fullname>", "Artist - Title.mp3", "Artist - Title|mp3|Artist - Title.mp3"},
        {"<SIZEB>", "Artist - Title.mp3", "2560"},
        {"<PARENT>", "Artist - Title.mp3", "work"},
        {"<%2> by <%1>", "Artist - Title.mp3", "Title by Artist"},
        {"<FLETTER><FLETTERN1><FLETTERN2>", "Artist - Title.mp3", "AAA"},
        {"<ENUM><ARTIST> <\\> <<NAME>", "Artist - Title.mp3", "<ENUM><ARTIST> <\\> <Artist - Title"},
        {"<NAME", "Artist - Title.mp3", "<NAME"},
        {"<NAME> [<SIZE>]", "Albums", "Albums [0 bytes]"},
        // A missing entry: empty texts, size 0.
        {"<NAME>|<SIZE>|<SIZEB>|<DATE>", "ghost.txt", "|0 bytes|0|"},
        {"", "Artist - Title.mp3", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(run(QString::fromUtf8(c.format), QString::fromUtf8(c.name)), QString::fromUtf8(c.result)) << c.format;
}

TEST_F(Format, DateAndTimeTags)
{
    const QString path = writeFile("a.txt", "x");
    platform::setFileTimes(path, timespec{1600000000, 0}, timespec{1700000000, 0});
    const QDateTime modified = platform::toDateTime(timespec{1700000000, 0});
    const QDateTime accessed = platform::toDateTime(timespec{1600000000, 0});
    const QDateTime created = platform::createdTime(*platform::entryInfo(path));
    EXPECT_EQ(run("<DATE> <TIME>", "a.txt"),
              platform::dateText(modified.date()) + " " + platform::timeText(modified.time()));
    EXPECT_EQ(run("<ADATE> <ATIME>", "a.txt"),
              platform::dateText(accessed.date()) + " " + platform::timeText(accessed.time()));
    EXPECT_EQ(run("<CDATE> <CTIME>", "a.txt"),
              platform::dateText(created.date()) + " " + platform::timeText(created.time()));
    // The map of the callers makes the separators harmless.
    EXPECT_FALSE(applyTagAndMap(run("<DATE> <TIME>", "a.txt")).contains('/'));
}

TEST_F(Format, AllTagsRequiredRule)
{
    writeFile("README", "x");
    writeFile("song.mp3", "x");
    makeDir("Photos");
    const struct {
        const char* format;
        const char* name;
        const char* withRule;
        const char* withoutRule;
    } cases[] = {
        {"<NAME> (<SIZE>).<EXT>", "README", "README", "README (1 bytes)."},
        {"<NAME> (<SIZE>).<EXT>", "song.mp3", "song (1 bytes).mp3", "song (1 bytes).mp3"},
        {"<NAME>-<DIRFILES>", "song.mp3", "song.mp3", "song-"},
        {"<NAME>-<WIDTH>", "song.mp3", "song.mp3", "song-"},
        {"<NAME>-<HTMLTITLE>", "song.mp3", "song.mp3", "song-"},
        {"<%1>", "song.mp3", "song.mp3", ""},
        {"<EXT>", "Photos", "Photos", ""},
        {"<FULLNAME><SIZE><DATE><RND><FLETTER>", "song.mp3", nullptr, nullptr},
        {"x<FLETTER>", "---", "x", "x"},
        {"<PARENT>", "song.mp3", "work", "work"},
    };
    for (const auto& c : cases) {
        const QString name = QString::fromUtf8(c.name);
        const QString with = run(QString::fromUtf8(c.format), name, 1);
        if (c.withRule) {
            EXPECT_EQ(with, QString::fromUtf8(c.withRule)) << c.format << " with the rule";
            EXPECT_EQ(run(QString::fromUtf8(c.format), name, 0), QString::fromUtf8(c.withoutRule)) << c.format;
        } else {
            EXPECT_NE(with, name) << c.format << ": these tags never keep the old name";
        }
    }
}

TEST_F(Format, DirectoryTags)
{
    writeFile("Album/a.mp3", QByteArray(10, 'a'));
    writeFile("Album/b.mp3", QByteArray(2000, 'b'));
    writeFile("Album/CD2/c.mp3", QByteArray(3000, 'c'));
    FormatRecords records;
    options.formatText = QStringLiteral("<DIRFILES> <DIRDIRS> <DIRSIZEB> <DIRSIZE> | "
                                        "<SDIRFILES> <SDIRDIRS> <SDIRSIZEB> <SDIRSIZE>");
    EXPECT_EQ(formatFilename("Album", dir(), options, context, records), "2 1 2010 2 kB | 3 1 5010 5 kB");
    EXPECT_EQ(records.dir.path, work() + "/Album");
    // A file has no directory values.
    EXPECT_EQ(run("[<DIRFILES>]", "Album"), "[2]");
    writeFile("x.txt");
    EXPECT_EQ(run("[<DIRFILES>]", "x.txt"), "[]");
}

TEST_F(Format, FailedDirectoryCountIsNeverUsed)
{
    writeFile("Top/a.txt", "abc");
    makeDir("Top/gone");
    // The walk fails: a subdirectory vanishes while it is counted.
    context.yield = [&] { QDir(work() + "/Top/gone").removeRecursively(); };
    EXPECT_EQ(run("<NAME>-<DIRFILES>-<SDIRFILES>-<DIRDIRS>", "Top"), "Top---");
    EXPECT_EQ(readLines(logs->errorFile()).size(), 1);
    makeDir("Top/gone");
    EXPECT_EQ(run("<NAME>-<SDIRFILES>", "Top", 1), "Top");
}

TEST_F(Format, MediaTagsAgainstTheEmptyInterface)
{
    writeFile("movie.avi", "RIFF");
    FormatRecords records;
    options.formatText = QStringLiteral("<NAME> <WIDTH>x<HEIGHT> <LENGTH> <FREQS> <DEPTH>");
    EXPECT_EQ(formatFilename("movie.avi", dir(), options, context, records), "movie x   ");
    EXPECT_EQ(records.media.filePath, work() + "/movie.avi");
    EXPECT_EQ(run("<WIDTH>", "movie.avi", 1), "movie.avi");
}

TEST_F(Format, MediaValuesAsTheTagsShowThem)
{
    writeFile("clip.avi");
    const struct {
        const char* format;
        const char* result;
    } cases[] = {
        {"<WIDTH>x<HEIGHT>", "640x480"},
        {"<DEPTH>/<DEPTHB>", "16M/24"},
        {"<LENGTH>|<LENGTHS>", "1 H 2 Min 5 Sec|01:02:05"},
        {"<FREQ>|<FREQS>", "22050|22"},
        {"<FPS> <CODEC> <BITRATE> <SMODE> <BITS> <SNDFORMAT> <SNDBITRATE> <SOUND>",
         "25 DivX 5 800 Stereo 16 PCM 128 Sound"},
    };
    for (const auto& c : cases) {
        FormatRecords records;
        MediaInfo& m = records.media;
        m.filePath = work() + "/clip.avi"; // already read for this name: no second read
        m.width = "640", m.height = "480", m.colorDepth = "24", m.lengthSeconds = "3725", m.soundFrequency = "22050",
        m.frameRate = "25", m.codec = "DivX 5", m.bitrate = "800", m.soundMode = "Stereo", m.soundBits = "16",
        m.soundFormat = "PCM", m.soundBitrate = "128", m.soundPresence = "Sound";
        options.formatText = QString::fromUtf8(c.format);
        EXPECT_EQ(formatFilename("clip.avi", dir(), options, context, records), QString::fromUtf8(c.result))
            << c.format;
    }
}

TEST(ColorCount, DepthTexts)
{
    const struct {
        double bits;
        const char* text;
    } cases[] = {{24, "16M"}, {16, "64k"}, {15, "32k"}, {32, "16M+"}, {8, "256"}, {1, "2"}};
    for (const auto& c : cases)
        EXPECT_EQ(colorCountText(c.bits), QString::fromLatin1(c.text)) << c.bits;
}

TEST_F(Format, FailureGivesTheEmptyNameAndOneLogLine)
{
    writeFile("pic.bmp");
    FormatRecords records;
    records.media.filePath = work() + "/pic.bmp";
    records.media.colorDepth = QStringLiteral("lots");
    options.formatText = QStringLiteral("<NAME>-<DEPTH>.<EXT>");
    options.formatParts = QStringLiteral("<%1>");
    EXPECT_EQ(formatFilename("pic.bmp", dir(), options, context, records), "");
    EXPECT_EQ(logs->errorLogged, -1);
    const QStringList lines = readLines(logs->errorFile());
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].endsWith("Error 13 (Type mismatch) formatFilename: FILE=" + work() +
                                  "/pic.bmp FORMAT=<NAME>-<DEPTH>.<EXT> PARTS=<%1>"))
        << lines[0].toStdString();
}

TEST_F(Format, HtmlTitleTag)
{
    writeFile("page.html", "<html><title>My Page</title>");
    writeFile("blank.html", "<html><title></title>");
    EXPECT_EQ(run("<NAME> - <HTMLTITLE>.<EXT>", "page.html"), "page - My Page.html");
    EXPECT_EQ(run("<NAME> - <HTMLTITLE>.<EXT>", "blank.html", 1), "blank.html");
    context.htmlTitleReadSize = 10;
    EXPECT_EQ(run("<HTMLTITLE>", "page.html"), "");
}

TEST_F(Format, ValuesFromFilesNeverMakeDirectories)
{
    writeFile("trick.html", "<title>a<\\>b</title>");
    writeFile("x<.txt", "x"); // a name ending in "<" before a typed "\>"
    const QString title = applyTagAndMap(run("<HTMLTITLE>", "trick.html"));
    EXPECT_FALSE(title.contains('/')) << title.toStdString();
    EXPECT_EQ(title, "a[-]b");
    EXPECT_FALSE(applyTagAndMap(run("<NAME>\\>y", "x<.txt")).contains('/'));
    // A typed tag still makes a directory.
    EXPECT_EQ(applyTagAndMap(run("<EXT><\\><NAME>", "x<.txt")), "txt/x[");
    // The old name's own "<\>" is text.
    const QString odd = QStringLiteral("a<\\>b");
    writeFile(odd);
    EXPECT_EQ(applyTagAndMap(run("<FULLNAME>", odd)), "a[-]b");
}

TEST_F(Format, RandomTagsDrawAnewEachTime)
{
    writeFile("r.txt");
    QSet<QChar> letters, digits;
    for (int i = 0; i < 200; ++i) {
        const QString s = run("<RND><RND#>", "r.txt");
        ASSERT_EQ(s.size(), 2);
        EXPECT_TRUE(s[0] >= 'A' && s[0] <= 'Z');
        EXPECT_TRUE(s[1] >= '0' && s[1] <= '9');
        letters.insert(s[0]);
        digits.insert(s[1]);
    }
    EXPECT_GT(letters.size(), 20);
    EXPECT_EQ(digits.size(), 10);
    const QString many = run("<RND><RND><RND><RND><RND><RND><RND><RND>", "r.txt");
    EXPECT_GT(QSet<QChar>(many.begin(), many.end()).size(), 1) << "one draw repeated";
}

TEST_F(Format, TagsWithoutReadersOpenNothing)
{
    FormatRecords records;
    options.formatText = QStringLiteral("x<RND>-<FLETTER>");
    formatFilename("anything.bin", dir(), options, context, records);
    EXPECT_TRUE(records.file.key.isEmpty());
    EXPECT_TRUE(records.media.filePath.isEmpty());
    EXPECT_TRUE(records.dir.path.isEmpty());
    // File tags read the file information only.
    writeFile("f.txt", "abc");
    FormatRecords fileOnly;
    options.formatText = QStringLiteral("<NAME> (<SIZE>).<EXT>");
    formatFilename("f.txt", dir(), options, context, fileOnly);
    EXPECT_EQ(fileOnly.file.key, "f.txt");
    EXPECT_TRUE(fileOnly.media.filePath.isEmpty());
    EXPECT_TRUE(fileOnly.dir.path.isEmpty());
}
