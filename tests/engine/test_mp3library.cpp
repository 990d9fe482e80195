#include "engine/logs.h"
#include "engine/mp3library.h"
#include "platform/failure.h"
#include "test_mp3fixtures.h"
#include "test_support.h"

#include <QFile>
#include <QRandomGenerator>

#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>

using namespace mp3fx;

namespace {

class Mp3LibraryTest : public TempEnv {
protected:
    Mp3Library lib;
};

} // namespace

TEST_F(Mp3LibraryTest, LoadAnswersByTagsAndAudio)
{
    const struct {
        const char* file;
        QByteArray content;
        bool ok, id3v1, id3v2, audio;
        const char* title; // of the tag object
    } cases[] = {
        {"v1.mp3", frames(20) + id3v1(sampleV1), true, true, false, true, "V1 Title"},
        {"v23.mp3", id3v2(3, sampleV2) + frames(20), true, false, true, true, "Song"},
        {"both.mp3", id3v2(3, sampleV2) + frames(20) + id3v1(sampleV1), true, true, true, true, "Song"},
        {"plain.mp3", frames(20), true, false, false, true, ""},
        {"tagsonly.mp3", id3v2(3, sampleV2) + id3v1(sampleV1), true, true, true, false, "Song"},
        {"text.mp3", QByteArray("hello, this is not audio\n").repeated(100), false, false, false, false, ""},
        {"empty.mp3", QByteArray(), false, false, false, false, ""},
        // An "ID3" header with nothing in it, in front of other data: no tag.
        {"stray.mp3", QByteArray("ID3\3\0\0\0\0\0\0", 10) + QByteArray(5000, 'x'), false, false, false, false, ""},
        // An ID3v1 block of nothing but empty fields and no genre: no tag.
        {"blankv1.mp3", QByteArray(3000, 'x') + id3v1(V1{}), false, false, false, false, ""},
        // One frame alone is not taken for audio: the next one must follow it.
        {"oneframe.mp3", frames(1), false, false, false, false, ""},
    };
    for (const auto& c : cases) {
        const QString path = writeFile(c.file, c.content);
        lib.reset();
        EXPECT_EQ(lib.load(path), c.ok) << c.file;
        EXPECT_EQ(lib.tag().hasId3v1, c.id3v1) << c.file;
        EXPECT_EQ(lib.tag().hasId3v2Frames, c.id3v2) << c.file;
        EXPECT_EQ(lib.hasTag(), c.id3v1 || c.id3v2) << c.file;
        EXPECT_EQ(lib.hasMpegAudio(), c.audio) << c.file;
        EXPECT_EQ(lib.tag().title, QString::fromLatin1(c.title)) << c.file;
    }
}

TEST_F(Mp3LibraryTest, MissingDirectoryAndLinkAreNotLoaded)
{
    const QString real = writeFile("real.mp3", frames(20));
    EXPECT_FALSE(lib.load(work() + "/missing.mp3"));
    EXPECT_FALSE(lib.load(makeDir("folder.mp3")));
    ASSERT_TRUE(QFile::link(real, work() + "/link.mp3"));
    EXPECT_FALSE(lib.load(work() + "/link.mp3"));
    EXPECT_TRUE(lib.load(real));
}

TEST_F(Mp3LibraryTest, TagObjectIsTheWholeId3v2TagNeverMerged)
{
    // ID3v2 with an empty title, ID3v1 with one: the tag object keeps the empty title.
    const Frames v2{{"TIT2", text("")}, {"TPE1", text("Band")}};
    ASSERT_TRUE(lib.load(writeFile("a.mp3", id3v2(3, v2) + frames(20) + id3v1(sampleV1))));
    const Mp3Tag& t = lib.tag();
    EXPECT_EQ(t.title, "");
    EXPECT_EQ(t.artist, "Band");
    EXPECT_EQ(t.album, "");
    EXPECT_EQ(t.id3v1.title, "V1 Title");
    EXPECT_EQ(t.id3v1.album, "V1 Album");
}

TEST_F(Mp3LibraryTest, Id3v2ValuesAndFrames)
{
    ASSERT_TRUE(lib.load(writeFile("a.mp3", id3v2(3, sampleV2) + frames(20))));
    const Mp3Tag& t = lib.tag();
    EXPECT_EQ(t.title, "Song");
    EXPECT_EQ(t.artist, "Band");
    EXPECT_EQ(t.album, "Record");
    EXPECT_EQ(t.year, "1999");
    EXPECT_EQ(t.comment, "Nice");
    EXPECT_EQ(t.track, "3/12");
    EXPECT_EQ(t.genre, "Rock");
    EXPECT_EQ(t.id3v2Frames.version, 3);
    const Id3v2FrameSet& set = t.id3v2Frames.frames23;
    EXPECT_TRUE(set.frameIds.contains("TCOM"));
    EXPECT_EQ(set.frameText("TCOM"), "Writer");
    EXPECT_EQ(set.frameText("TBPM"), "120");
    EXPECT_EQ(set.frameText("TENC"), "");
    EXPECT_TRUE(t.id3v2Frames.frames22.frameIds.isEmpty());
    EXPECT_TRUE(t.id3v2Frames.frames24.frameIds.isEmpty());
}

TEST_F(Mp3LibraryTest, FrameSetOfEachVersionUsesFourLetterNames)
{
    const struct {
        int major;
        Frames frames;
        const Id3v2FrameSet Id3v2Frames::*set;
    } cases[] = {
        {2, {{"TT2", text("Two")}, {"TCM", text("Writer2")}}, &Id3v2Frames::frames22},
        {3, {{"TIT2", text("Three")}, {"TCOM", text("Writer3")}}, &Id3v2Frames::frames23},
        {4, {{"TIT2", text("Four")}, {"TCOM", text("Writer4")}}, &Id3v2Frames::frames24},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(lib.load(writeFile(QString("v%1.mp3").arg(c.major), id3v2(c.major, c.frames) + frames(20))));
        const Id3v2Frames& f = lib.tag().id3v2Frames;
        EXPECT_EQ(f.version, c.major);
        EXPECT_EQ((f.*c.set).frameText("TCOM"), QString("Writer%1").arg(c.major));
        EXPECT_FALSE(lib.tag().title.isEmpty()) << c.major;
    }
}

TEST_F(Mp3LibraryTest, GenreKeepsBareNumbers)
{
    const struct {
        QByteArray stored;
        const char* genre;
    } cases[] = {
        {"(17)Rock", "Rock"},           {"Rock", "Rock"}, {"(17)", "(17)"}, {"(4)Eurodisco", "(4)Eurodisco"},
        {"Rock (Live)", "Rock (Live)"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(lib.load(writeFile("g.mp3", id3v2(3, {{"TCON", text(c.stored)}}) + frames(5))));
        EXPECT_EQ(lib.tag().genre, QString::fromLatin1(c.genre)) << c.stored.constData();
    }
}

TEST_F(Mp3LibraryTest, Id3v1ValuesAndGenreNames)
{
    ASSERT_TRUE(lib.load(writeFile("a.mp3", frames(20) + id3v1(sampleV1))));
    const Id3v1Tag& v1 = lib.tag().id3v1;
    EXPECT_EQ(v1.artist, "V1 Artist");
    EXPECT_EQ(v1.year, "1987");
    EXPECT_EQ(v1.comment, "V1 Comment");
    EXPECT_EQ(v1.track, 5);
    EXPECT_EQ(v1.genreIndex, 13);
    // Without an ID3v2 tag the tag object is the ID3v1 tag.
    EXPECT_EQ(lib.tag().track, "5");
    EXPECT_EQ(lib.tag().genre, "Pop");
    EXPECT_EQ(Id3v1Tag::genreName(17), "Rock");
    EXPECT_EQ(Id3v1Tag::genreName(255), "Unknown");
    EXPECT_EQ(Id3v1Tag::genreName(-1), "Unknown");
}

TEST_F(Mp3LibraryTest, UnicodeTitleWrittenByTagLib)
{
    const QString path = writeFile("u.mp3", frames(20));
    {
        const QByteArray native = QFile::encodeName(path);
        TagLib::MPEG::File f(native.constData(), false);
        f.ID3v2Tag(true)->setTitle(TagLib::String("Grüße 日本", TagLib::String::UTF8));
        f.ID3v1Tag(true)->setTitle("Title1");
        ASSERT_TRUE(f.save(TagLib::MPEG::File::ID3v1 | TagLib::MPEG::File::ID3v2, TagLib::File::StripOthers,
                           TagLib::ID3v2::v3));
    }
    ASSERT_TRUE(lib.load(path));
    EXPECT_EQ(lib.tag().title, QString::fromUtf8("Grüße 日本"));
    EXPECT_EQ(lib.tag().id3v1.title, "Title1");
}

TEST_F(Mp3LibraryTest, StreamValues)
{
    const struct {
        const char* file;
        QByteArray content;
        const char *version, *layer, *mode;
        int bitrate, rate, seconds;
    } cases[] = {
        // 960 frames of 417 bytes at 128 kbit/s: 25.02 s.
        {"cbr.mp3", id3v2(3, sampleV2) + frames(960) + id3v1(sampleV1), "MPEG Version 1", "III", "Joint Stereo", 128,
         44100, 25},
        // The Xing header's count wins over the file length: 2489 frames are 65.02 s.
        {"vbr.mp3", xingFrames(20, 2489, 1040000), "MPEG Version 1", "III", "Joint Stereo", 128, 44100, 65},
        {"mono.mp3", frames(20, Mpeg2L3Mono, Mpeg2L3Length), "MPEG Version 2", "III", "Single Channel", 64, 22050, 0},
        {"layer2.mp3", frames(20, Mpeg1L2Dual), "MPEG Version 1", "II", "Dual Channel", 128, 44100, 0},
        // Data in front of the first frame is skipped.
        {"junk.mp3", QByteArray(3000, 'j') + frames(20), "MPEG Version 1", "III", "Joint Stereo", 128, 44100, 0},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(lib.load(writeFile(c.file, c.content))) << c.file;
        ASSERT_TRUE(lib.hasMpegAudio()) << c.file;
        const Mp3StreamInfo& s = lib.streamInfo();
        EXPECT_EQ(s.mpegVersionText, c.version) << c.file;
        EXPECT_EQ(s.layerText, c.layer) << c.file;
        EXPECT_EQ(s.channelModeText, c.mode) << c.file;
        EXPECT_EQ(s.bitrate, c.bitrate) << c.file;
        EXPECT_EQ(s.sampleRate, c.rate) << c.file;
        EXPECT_EQ(s.durationSeconds, c.seconds) << c.file;
    }
}

TEST_F(Mp3LibraryTest, FrameSearchIsBounded)
{
    const qint64 bound = Mp3Library::FrameSearchBytes;
    // Audio that starts inside the searched stretch is found, also behind a tag.
    EXPECT_TRUE(lib.load(writeFile("near.mp3", QByteArray(bound - 2000, '\0') + frames(20))));
    EXPECT_TRUE(lib.hasMpegAudio());
    const QByteArray tag = id3v2(3, sampleV2, 200000);
    EXPECT_TRUE(lib.load(writeFile("behindtag.mp3", tag + QByteArray(bound - 2000, '\0') + frames(20))));
    EXPECT_TRUE(lib.hasMpegAudio());
    // Past it, a large file that is not MPEG is not scanned to its end.
    EXPECT_FALSE(lib.load(writeFile("far.mp3", QByteArray(bound + 1000, '\0') + frames(20))));
    EXPECT_FALSE(lib.hasMpegAudio());
    // A stray "ID3" deep inside other data is no tag either.
    EXPECT_FALSE(
        lib.load(writeFile("strayid3.mp3", QByteArray(300000, '\0') + id3v2(3, sampleV2) + QByteArray(1000, '\0'))));
}

TEST_F(Mp3LibraryTest, LoadReplacesThePreviousFileWithOrWithoutReset)
{
    const QString tagged = writeFile("tagged.mp3", id3v2(3, sampleV2) + frames(20) + id3v1(sampleV1));
    const QString plain = writeFile("plain.mp3", frames(20, Mpeg2L3Mono, Mpeg2L3Length));
    const QString junk = writeFile("junk.mp3", QByteArray(4000, 'x'));
    ASSERT_TRUE(lib.load(tagged));
    ASSERT_TRUE(lib.load(plain)); // no reset in between, as the content detection does
    EXPECT_FALSE(lib.hasTag());
    EXPECT_EQ(lib.tag().title, "");
    EXPECT_EQ(lib.streamInfo().sampleRate, 22050);
    ASSERT_TRUE(lib.load(tagged));
    EXPECT_FALSE(lib.load(junk));
    EXPECT_FALSE(lib.hasTag());
    EXPECT_FALSE(lib.hasMpegAudio());
    ASSERT_TRUE(lib.load(tagged));
    lib.reset();
    EXPECT_FALSE(lib.hasTag());
    EXPECT_EQ(lib.streamInfo().bitrate, 0);
}

TEST_F(Mp3LibraryTest, MalformedFilesNeverCrash)
{
    const QByteArray good = id3v2(3, sampleV2) + frames(20) + id3v1(sampleV1);
    QList<QByteArray> files;
    for (int cut : {3, 9, 10, 40, int(good.size()) / 2, int(good.size()) - 100})
        files << good.left(cut);
    // Headers that claim more than the file holds, and frame sizes beyond the tag.
    files << QByteArray("ID3\3\0\0\x7F\x7F\x7F\x7F", 10) + frames(3);
    files << QByteArray("ID3\4\0\0\0\0\1\0", 10) + "TIT2" + QByteArray("\x7F\x7F\x7F\x7F\0\0", 6) + "abc";
    files << QByteArray("ID3\3\0\0\0\0\1\0", 10) + "TIT2" + QByteArray("\xFF\xFF\xFF\xFF\0\0", 6) + "abc";
    files << QByteArray("ID3\x09\0\0\0\0\0\x20", 10) + QByteArray(32, '\xFF');
    QRandomGenerator rng(12345);
    for (int i = 0; i < 300; ++i) {
        QByteArray data(int(rng.bounded(1, 6000)), '\0');
        for (char& ch : data)
            ch = char(rng.bounded(256));
        if (i % 3 == 0)
            data.prepend(QByteArray("ID3\3\0\0\0\0\x10\0", 10));
        if (i % 3 == 1) {
            // A real file with some bytes overwritten.
            data = good;
            for (int k = 0; k < 20; ++k)
                data[int(rng.bounded(int(data.size())))] = char(rng.bounded(256));
        }
        files << data;
    }
    int loaded = 0;
    for (int i = 0; i < files.size(); ++i)
        loaded += lib.load(writeFile(QString("bad%1.mp3").arg(i), files[i])) ? 1 : 0;
    EXPECT_GT(loaded, 0); // the lightly damaged files still read
}

TEST_F(Mp3LibraryTest, CreationFailureIsLoggedAndKept)
{
    Logs logs(programFolder());
    const Mp3Component ok = initMp3Library(logs);
    EXPECT_NE(ok.mp3Library, nullptr);
    EXPECT_EQ(ok.mp3InitFailed, 0);
    EXPECT_EQ(logs.errorLogged, 0);

    const Mp3Component failed = initMp3Library(
        logs, []() -> std::unique_ptr<Mp3Library> { throw platform::Failure(7, QStringLiteral("Out of memory")); });
    EXPECT_EQ(failed.mp3Library, nullptr);
    EXPECT_EQ(failed.mp3InitFailed, -1);
    const Mp3Component none = initMp3Library(logs, [] { return std::unique_ptr<Mp3Library>(); });
    EXPECT_EQ(none.mp3InitFailed, -1);

    const QStringList lines = readLines(logs.errorFile());
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].endsWith(") Error 7 (Out of memory) MP3 Init: Failed to initialize Mirelo Mp3 Library!"))
        << lines[0].toStdString();
    EXPECT_TRUE(lines[1].endsWith("MP3 Init: Failed to initialize Mirelo Mp3 Library!"));
}

TEST_F(Mp3LibraryTest, ProbeForFileTypeDetection)
{
    const QString audio = writeFile("song.wav", frames(20));
    const QString tagOnly = writeFile("tag.bin", QByteArray(2000, 'x') + id3v1(sampleV1));
    const QString text = writeFile("notes.txt", "just words");
    const auto probe = mp3Probe(&lib);
    EXPECT_TRUE(probe(audio));
    EXPECT_FALSE(probe(tagOnly)); // loads, but holds no MPEG audio
    EXPECT_FALSE(probe(text));
    EXPECT_FALSE(probe(work() + "/missing"));
    EXPECT_FALSE(mp3Probe(nullptr)(audio));
}
