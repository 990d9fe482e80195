#include "engine/forbidden.h"
#include "engine/mp3library.h"
#include "engine/mp3names.h"
#include "engine/renameoptions.h"
#include "platform/failure.h"
#include "test_mp3fixtures.h"
#include "test_support.h"

#include <QFileInfo>
#include <QLocale>

using namespace mp3fx;

namespace {

// The fixture files of the name tables, by name.
QByteArray fixture(const QString& name)
{
    if (name == "both.mp3") // 960 frames: 25 seconds of audio
        return id3v2(3, sampleV2) + frames(960) + id3v1(sampleV1);
    if (name == "v1.mp3")
        return frames(20) + id3v1(sampleV1);
    if (name == "v2.mp3")
        return id3v2(3, sampleV2) + frames(20);
    if (name == "none.mp3")
        return frames(20);
    if (name == "emptytitle.mp3")
        return id3v2(3, {{"TIT2", text("")}, {"TPE1", text("Band")}}) + frames(20) + id3v1(sampleV1);
    if (name == "tab.mp3")
        return id3v2(3, {{"TIT2", text("Tab\there")}, {"TPE1", text("Line\nFeed\r")}}) + frames(20);
    if (name == "mono.mp3")
        return frames(20, Mpeg2L3Mono, Mpeg2L3Length);
    if (name == "noaudio.mp3")
        return id3v2(3, sampleV2) + id3v1(sampleV1);
    return QByteArray();
}

RenameOptions options(const QString& format, int useV2 = 1, int onlyFilled = 1, int addExt = 1)
{
    RenameOptions o;
    o.mp3Format = format;
    o.mp3UseId3v2 = useV2;
    o.mp3OnlyFilledTags = onlyFilled;
    o.mp3AddExtension = addExt;
    return o;
}

class Mp3NamesTest : public TempEnv {
protected:
    Mp3Library lib;

    // Loads a file with these bytes, as the preview does, and names it.
    QString nameOf(const QString& file, const QByteArray& content, const RenameOptions& o)
    {
        const QString path = writeFile(file, content);
        lib.reset();
        if (!lib.load(path))
            return QStringLiteral("(not loaded)");
        return formatMp3Name(lib, file, QFileInfo(path).size(), o);
    }
    QString nameOf(const QString& file, const RenameOptions& o) { return nameOf(file, fixture(file), o); }
};

} // namespace

TEST_F(Mp3NamesTest, TagTable)
{
    const struct {
        const char* file;
        const char* format;
        int useV2, onlyFilled, addExt;
        const char* expected;
    } cases[] = {
        // ID3 values, from the tag object or from the ID3v1 tag only.
        {"both.mp3", "<ARTIST> - <TITLE>", 1, 1, 1, "Band - Song.mp3"},
        {"both.mp3", "<ARTIST> - <TITLE>", 0, 1, 1, "V1 Artist - V1 Title.mp3"},
        {"both.mp3", "<artist> - <Title>", 1, 1, 1, "Band - Song.mp3"},
        {"both.mp3", "<ALBUM>,<YEAR>,<COMMENT>", 1, 1, 1, "Record,1999,Nice.mp3"},
        {"both.mp3", "<ALBUM>,<YEAR>,<COMMENT>", 0, 1, 1, "V1 Album,1987,V1 Comment.mp3"},
        {"both.mp3", "<GENRE>", 1, 1, 1, "Rock.mp3"},
        {"both.mp3", "<GENRE>", 0, 1, 1, "Pop.mp3"},
        {"both.mp3", "<TRACK>-<TRACKN>", 1, 1, 1, "3-03.mp3"},
        {"both.mp3", "<TRACK>-<TRACKN>", 0, 1, 1, "5-05.mp3"},
        {"v1.mp3", "<ARTIST> - <TITLE>", 1, 1, 1, "V1 Artist - V1 Title.mp3"},
        {"v1.mp3", "<ARTIST> - <TITLE>", 0, 1, 1, "V1 Artist - V1 Title.mp3"},
        {"v1.mp3", "<GENRE> <TRACKN>", 1, 1, 1, "Pop 05.mp3"},
        {"v2.mp3", "<ARTIST>", 1, 1, 1, "Band.mp3"},
        {"v2.mp3", "<ARTIST>", 0, 1, 1, ""},
        {"v2.mp3", "<ARTIST>", 0, 0, 1, ".mp3"},
        // The ID3v2 tag's empty title stays empty: no falling back to ID3v1.
        {"emptytitle.mp3", "<TITLE>", 1, 1, 1, ""},
        {"emptytitle.mp3", "<TITLE>", 0, 1, 1, "V1 Title.mp3"},
        // ID3v2 frames, whatever the ID3v1 choice.
        {"both.mp3", "<COMPOSER>,<BPM>", 1, 1, 1, "Writer,120.mp3"},
        {"both.mp3", "<COMPOSER>,<BPM>", 0, 1, 1, "Writer,120.mp3"},
        {"both.mp3", "<ORIGARTIST><COPYRIGHT><ENCODEDBY>", 1, 1, 1, ""},
        {"v1.mp3", "<COMPOSER>", 1, 0, 0, ""},
        // Stream values.
        {"both.mp3", "<LENGTH>,<LENGTHS>,<BITRATE>,<STEREO>,<FREQ>,<FREQS>,<MPEG>,<LAYER>,<SMODE>", 1, 1, 1,
         "25 Sec,00:25,128,Stereo,44100,44,MPEG 1,3,Joint Stereo.mp3"},
        {"mono.mp3", "<STEREO> <SMODE> <FREQS> <MPEG> <LAYER>", 1, 1, 1, "Mono Mono 22 MPEG 2 3.mp3"},
        {"noaudio.mp3", "<ARTIST> <BITRATE>", 1, 0, 1, "Band .mp3"},
        {"noaudio.mp3", "<ARTIST> <BITRATE>", 1, 1, 1, ""},
        // No tag at all.
        {"none.mp3", "<ARTIST> - <TITLE>", 1, 1, 1, ""},
        {"none.mp3", "<ARTIST> - <TITLE>", 1, 0, 1, " - .mp3"},
        {"none.mp3", "<BITRATE>", 1, 1, 1, "128.mp3"},
        // The walk over the format.
        {"both.mp3", "", 1, 1, 1, ""},
        {"both.mp3", "Best of", 1, 1, 1, "Best of.mp3"},
        {"both.mp3", "<<ARTIST>", 1, 1, 1, "<Band.mp3"},
        {"both.mp3", "<ALBUMS><\\>x", 1, 1, 1, "<ALBUMS><\\>x.mp3"},
        {"both.mp3", "<TITLE><TITLE>", 1, 1, 1, "SongSong.mp3"},
        {"both.mp3", "<ARTIST>.MP3", 1, 1, 1, "Band.MP3"},
        {"both.mp3", "<ARTIST>.Mp3", 1, 1, 1, "Band.Mp3"},
        {"both.mp3", "<ARTIST>", 1, 1, 0, "Band"},
        {"none.mp3", "<ARTIST>", 1, 0, 0, ""},
        // Control characters go, from the values and from the format.
        {"tab.mp3", "<TITLE> <ARTIST>", 1, 1, 1, "Tabhere LineFeed.mp3"},
        {"tab.mp3", "a\tb", 1, 1, 1, "ab.mp3"},
    };
    for (const auto& c : cases) {
        const QString got = nameOf(c.file, options(QString::fromUtf8(c.format), c.useV2, c.onlyFilled, c.addExt));
        EXPECT_EQ(got, QString::fromUtf8(c.expected)) << c.file << " " << c.format << " v2=" << c.useV2;
    }
}

TEST_F(Mp3NamesTest, UnfilledOccurrencesCountEachTime)
{
    // The second "<COMPOSER>" is as unfilled as the first; "<ARTIST>" is still appended without the rule.
    EXPECT_EQ(nameOf("v1.mp3", options("<ARTIST><COMPOSER><COMPOSER>", 1, 0)), "V1 Artist.mp3");
    EXPECT_EQ(nameOf("v1.mp3", options("<ARTIST><COMPOSER><COMPOSER>", 1, 1)), "");
}

TEST_F(Mp3NamesTest, GenreRules)
{
    const struct {
        QByteArray stored;
        const char* expected; // "" = unfilled
    } cases[] = {
        {"(17)Rock", "Rock"}, {"Rock", "Rock"}, {"(17)", ""},
        {"Rock (Live)", ""},  {"Unknown", ""},  {"unknown", "unknown"},
    };
    for (const auto& c : cases) {
        const QByteArray file = id3v2(3, {{"TCON", text(c.stored)}}) + frames(5);
        EXPECT_EQ(nameOf("g.mp3", file, options("<GENRE>", 1, 1, 0)), QString::fromLatin1(c.expected))
            << c.stored.constData();
    }
    // From the ID3v1 tag: the name of its number; no genre reads "Unknown".
    EXPECT_EQ(nameOf("g1.mp3", frames(5) + id3v1(V1{"T", "", "", "", "", 0, 17}), options("<GENRE>", 0, 1, 0)), "Rock");
    EXPECT_EQ(nameOf("g2.mp3", frames(5) + id3v1(V1{"T", "", "", "", "", 0, 255}), options("<GENRE>", 0, 1, 0)), "");
}

TEST_F(Mp3NamesTest, TrackRules)
{
    const struct {
        QByteArray stored;
        const char* track; // "" = unfilled
        const char* padded;
    } cases[] = {
        {"3/12", "3", "03"}, {"07/12", "07", "07"}, {"12", "12", "12"}, {"0", "", ""},  {"0/12", "", ""},
        {"/12", "", ""},     {"", "", ""},          {" 3", " 3", "03"}, {"x3", "", ""}, {"115", "115", "115"},
    };
    for (const auto& c : cases) {
        const QByteArray file = id3v2(3, {{"TRCK", text(c.stored)}, {"TIT2", text("t")}}) + frames(5);
        EXPECT_EQ(nameOf("t.mp3", file, options("<TRACK>", 1, 1, 0)), QString::fromLatin1(c.track))
            << c.stored.constData();
        EXPECT_EQ(nameOf("t.mp3", file, options("<TRACKN>", 1, 1, 0)), QString::fromLatin1(c.padded))
            << c.stored.constData();
    }
    // An ID3v1 track of 0 is no track.
    EXPECT_EQ(nameOf("t1.mp3", frames(5) + id3v1(V1{"T", "", "", "", "", 0, 1}), options("<TRACK>", 0, 1, 0)), "");
}

TEST_F(Mp3NamesTest, NameAndSizeTagsNeverEmptyTheResult)
{
    ASSERT_TRUE(lib.load(writeFile("any.mp3", fixture("none.mp3"))));
    const QString point = QLocale::system().decimalPoint();
    const struct {
        const char* name;
        qint64 size;
        const char* format;
        QString expected;
    } cases[] = {
        {"song.final.mp3", 0, "<NAME>|<EXT>", "song.final|mp3.mp3"},
        {".hidden", 0, "<NAME>|<EXT>", "|.hidden.mp3"},
        {"readme", 0, "<NAME>|<EXT>", "readme|.mp3"},
        {"readme", 0, "<EXT>", ".mp3"},
        {"a.b", 0, "<FULLNAME>", "a.b.mp3"},
        {"x", 524288, "<SIZE>", "0" + point + "5.mp3"},
        {"x", 131072, "<SIZE>", "0" + point + "12.mp3"},
        {"x", 0, "<SIZE>", "0.mp3"},
        {"x", 3 * 1048576, "<SIZE> <SIZEB>", "3 3145728.mp3"},
        {"x", 5000000000LL, "<SIZEB>", "5000000000.mp3"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatMp3Name(lib, c.name, c.size, options(c.format)), c.expected) << c.name << " " << c.format;
}

TEST_F(Mp3NamesTest, TextFromFilesNeverMakesDirectories)
{
    const QByteArray file =
        id3v2(3, {{"TIT2", text("a<\\>b")}, {"TPE1", text("x<")}, {"TALB", text("A/B")}}) + frames(5);
    auto final = [&](const char* name, const char* format) {
        return applyTagAndMap(nameOf(name, file, options(format)));
    };
    EXPECT_EQ(final("t.mp3", "<TITLE>"), "a[-]b.mp3");
    // A value ending in "<" cannot join typed text into the tag.
    EXPECT_EQ(final("t.mp3", "<ARTIST>\\>"), "x[-].mp3");
    // A "/" inside a value is left to the map.
    EXPECT_EQ(nameOf("t.mp3", file, options("<ALBUM>")), "A/B.mp3");
    EXPECT_EQ(final("t.mp3", "<ALBUM>"), "A-B.mp3");
    // Only the typed tag makes a directory; a name on disk holding it does not.
    EXPECT_EQ(final("t.mp3", "<ARTIST><\\>song"), "x[/song.mp3");
    EXPECT_EQ(final("a<\\>b.mp3", "<NAME>"), "a[-]b.mp3");
}

TEST_F(Mp3NamesTest, ChooserItemsNameTheTags)
{
    const QStringList items = mp3TagChooserItems();
    ASSERT_EQ(items.size(), 28);
    EXPECT_EQ(items.first(), "Artist <ARTIST>");
    EXPECT_EQ(items[7], "Track Number (Normalized) <TRACKN>");
    EXPECT_EQ(items[26], "Beats Per Minute (ID3v2) <BPM>");
    EXPECT_EQ(items.last(), "Move To SubDir <\\>");
    // Every item but the last inserts a tag that the names replace.
    ASSERT_TRUE(lib.load(writeFile("x.mp3", fixture("both.mp3"))));
    for (int i = 0; i < 27; ++i) {
        const QString token = items[i].mid(items[i].lastIndexOf('<'));
        EXPECT_FALSE(formatMp3Name(lib, "x.mp3", 1, options(token, 1, 0, 0)).contains(token)) << items[i].toStdString();
    }
}

TEST_F(Mp3NamesTest, NewNameOfOneFileFiltersLoadsAndNames)
{
    const QString dir = work() + "/";
    for (const char* n : {"song.MP3", "notes.txt", "mp3", "tagged.mp3"})
        writeFile(n, fixture("both.mp3"));
    writeFile("junk.mp3", QByteArray(3000, 'j'));
    RenameOptions o = options("<ARTIST> - <TITLE>");
    o.mp3OnlyMp3Files = 1;
    EXPECT_EQ(mp3NewName(&lib, dir, "song.MP3", o), "Band - Song.mp3");
    EXPECT_EQ(mp3NewName(&lib, dir, "notes.txt", o), "");
    EXPECT_EQ(mp3NewName(&lib, dir, "mp3", o), "Band - Song.mp3");
    EXPECT_EQ(mp3NewName(&lib, dir, "junk.mp3", o), "");
    // The size is the file's own.
    o.mp3Format = "<SIZEB>";
    EXPECT_EQ(mp3NewName(&lib, dir, "tagged.mp3", o), QString::number(QFileInfo(dir + "tagged.mp3").size()) + ".mp3");
    o.mp3Format = "<ARTIST> - <TITLE>";
    o.mp3OnlyMp3Files = 0;
    EXPECT_EQ(mp3NewName(&lib, dir, "notes.txt", o), "Band - Song.mp3");
    // The filter takes the text after the last dot, in lower case.
    o.mp3OnlyMp3Files = 1;
    for (const char* n : {"a.mp3", "A.Mp3", "mp3", ".mp3", "x.tar.mp3"})
        EXPECT_TRUE(passesMp3Filter(n, o)) << n;
    for (const char* n : {"a.mp3.txt", "mp3.", "amp3", "a.mp4"})
        EXPECT_FALSE(passesMp3Filter(n, o)) << n;
}

TEST_F(Mp3NamesTest, MissingComponentIsAFailureOnlyForFilesItWouldRead)
{
    const QString dir = work() + "/";
    writeFile("song.mp3", fixture("both.mp3"));
    RenameOptions o = options("<ARTIST>");
    o.mp3OnlyMp3Files = 1;
    EXPECT_EQ(mp3NewName(nullptr, dir, "notes.txt", o), "");
    try {
        mp3NewName(nullptr, dir, "song.mp3", o);
        ADD_FAILURE() << "no failure for a missing component";
    } catch (const platform::Failure& f) {
        EXPECT_EQ(f.number(), 91);
        EXPECT_EQ(f.errorText(), "Error 91 (Object variable or With block variable not set) ");
    }
}

TEST_F(Mp3NamesTest, DamagedFilesGetNoNameAndNoCrash)
{
    const QByteArray good = fixture("both.mp3");
    RenameOptions o = options("<ARTIST><TITLE><ALBUM><YEAR><COMMENT><GENRE><TRACKN><LENGTH><BITRATE><COMPOSER>", 1, 0);
    o.mp3OnlyMp3Files = 1;
    const QString dir = work() + "/";
    for (int cut : {0, 5, 10, 30, 200, int(good.size()) / 3, int(good.size()) - 60}) {
        const QString name = QString("cut%1.mp3").arg(cut);
        writeFile(name, good.left(cut));
        const QString got = mp3NewName(&lib, dir, name, o);
        if (cut <= 10) {
            EXPECT_EQ(got, "") << cut;
        }
    }
}
