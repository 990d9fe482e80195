#include "mediainfo/medianames.h"
#include "mediainfo/mpegaudio.h"
#include "mediatest.h"

#include <QCoreApplication>
#include <QTimer>

using namespace fixtures;

namespace {

MpegStream with(const std::function<void(MpegStream&)>& change)
{
    MpegStream m;
    change(m);
    return m;
}

} // namespace

TEST_F(MediaTest, MpegProgramStream)
{
    int r = 0;
    const MediaInfo info = read("clip.dat", mpeg(MpegStream{}), &r);
    EXPECT_EQ(r, -1);
    EXPECT_EQ(info.width, "352");
    EXPECT_EQ(info.height, "288");
    EXPECT_EQ(info.frameRate, "25");
    EXPECT_EQ(info.bitrate, "1150");
    EXPECT_EQ(info.colorDepth, "24");
    EXPECT_EQ(info.codec, "MPEG");
    EXPECT_EQ(info.lengthSeconds, "101");
    EXPECT_EQ(info.soundPresence, "Sound");
    EXPECT_EQ(info.soundFormat, "MPEG 1 Layer 2");
    EXPECT_EQ(info.soundBitrate, "224");
    EXPECT_EQ(info.soundFrequency, "48000");
    EXPECT_EQ(info.soundMode, "Mono");
    EXPECT_EQ(info.soundBits, "16");
}

struct MpegCase {
    const char* what;
    MpegStream stream;
    qint64 blockSize;
    const char* width;
    const char* height;
    const char* frameRate;
    const char* bitrate;
    const char* length;
    const char* sound;
};

TEST_F(MediaTest, MpegFieldsAndScans)
{
    const MpegCase cases[] = {
        {"12 pictures round down", with([](MpegStream& m) {
             m.lastTime = {0, 1, 40, 12};
         }),
         8192, "352", "288", "25", "1150", "100", "Sound"},
        {"variable bit rate", with([](MpegStream& m) { m.bitRateField = 262143; }), 8192, "352", "288", "25", "104857",
         "101", "Sound"},
        {"tall picture", with([](MpegStream& m) { m.width = 720, m.height = 2160; }), 8192, "720", "2160", "25", "1150",
         "101", "Sound"},
        {"one hour to 70 minutes", with([](MpegStream& m) {
             m.firstTime = {1, 0, 0, 0}, m.lastTime = {1, 10, 0, 0};
         }),
         8192, "352", "288", "25", "1150", "600", "Sound"},
        {"frame-rate code 0", with([](MpegStream& m) {
             m.frameRateCode = 0, m.lastTime = {0, 0, 10, 1};
         }),
         8192, "352", "288", "0", "1150", "11", "Sound"},
        {"ntsc", with([](MpegStream& m) {
             m.frameRateCode = 4, m.lastTime = {0, 0, 10, 15};
         }),
         8192, "352", "288", "29.97", "1150", "11", "Sound"},
        {"longer than nine hours", with([](MpegStream& m) {
             m.firstTime = {9, 10, 0, 0}, m.lastTime = {20, 0, 0, 0};
         }),
         8192, "352", "288", "25", "1150", "39000", "Sound"},
        {"no group of pictures", with([](MpegStream& m) { m.firstTime = {}, m.lastTime = {}; }), 8192, "352", "288",
         "25", "1150", "", "Sound"},
        {"last group out of reach", with([](MpegStream& m) { m.lastTime = {}; }), 64, "352", "288", "25", "1150", "",
         "Sound"},
        {"video stream without sound",
         with([](MpegStream& m) { m.programStream = false, m.audioHeader.clear(), m.middlePadding = 9000; }), 8192,
         "352", "288", "25", "1150", "101", "No Sound"},
        // One block holds the whole file: its first group of pictures is also the last found.
        {"video stream shorter than a block",
         with([](MpegStream& m) { m.programStream = false, m.audioHeader.clear(), m.middlePadding = 100; }), 8192,
         "352", "288", "25", "1150", "0", "No Sound"},
        {"no sound within 14 blocks", with([](MpegStream& m) { m.audioHeader.clear(); }), 64, "352", "288", "25",
         "1150", "101", "No Sound"},
    };
    for (const MpegCase& c : cases) {
        SCOPED_TRACE(c.what);
        context.mpegBytesToRead = c.blockSize;
        int r = 0;
        const MediaInfo info = read("clip.mpg", mpeg(c.stream), &r);
        EXPECT_EQ(r, -1);
        EXPECT_EQ(info.width, c.width);
        EXPECT_EQ(info.height, c.height);
        EXPECT_EQ(info.frameRate, c.frameRate);
        EXPECT_EQ(info.bitrate, c.bitrate);
        EXPECT_EQ(info.lengthSeconds, c.length);
        EXPECT_EQ(info.soundPresence, c.sound);
    }
    EXPECT_EQ(logs->errorLogged, 0);
}

TEST_F(MediaTest, MpegWithoutSequenceHeader)
{
    int r = 0;
    const MediaInfo info = read("clip.mpg", QByteArray(100000, '\0'), &r);
    EXPECT_EQ(r, 0);
    EXPECT_TRUE(info.width.isEmpty());
    EXPECT_TRUE(info.soundPresence.isEmpty());
    // The bytes 00 00 01 BA select the branch whatever the name.
    read("clip.bin", QByteArray("\x00\x00\x01\xBA", 4).leftJustified(64, '\0'), &r);
    EXPECT_EQ(r, 0);
}

TEST_F(MediaTest, MpegAudioPacketWithoutValidHeader)
{
    const MediaInfo info = read("clip.mpeg", mpeg(with([](MpegStream& m) { m.audioHeader = "no header"; })));
    EXPECT_EQ(info.soundPresence, "Sound");
    EXPECT_EQ(info.soundBits, "16");
    EXPECT_EQ(info.soundBitrate, "0");
    EXPECT_EQ(info.soundFrequency, "0");
    EXPECT_EQ(info.soundFormat, "");
    EXPECT_EQ(info.soundMode, "Mono");
}

TEST_F(MediaTest, VideoCdFile)
{
    ByteBuilder b;
    b.raw("RIFF").u32le(0).raw("CDXAfmt ").padTo(44).raw(mpeg(MpegStream{}));
    const MediaInfo info = read("avseq01.dat", b);
    EXPECT_EQ(info.width, "352");
    EXPECT_EQ(info.lengthSeconds, "101");
}

TEST_F(MediaTest, TimeCodeAtTheVeryEndOfTheFile)
{
    // The last block ends one byte before the end of the file, so the time
    // code of a final group of pictures lies partly behind it.
    ByteBuilder b;
    b.raw(mpeg(with([](MpegStream& m) { m.lastTime = {}; })));
    b.raw(QByteArrayView("\x00\x00\x01\xB8", 4)).u32be(timeCode(0, 2, 0, 0));
    int r = 0;
    const MediaInfo info = read("end.mpg", b, &r);
    EXPECT_EQ(r, -1);
    EXPECT_EQ(info.lengthSeconds, "120");
}

TEST_F(MediaTest, AudioPacketInTheLastPartialBlock)
{
    context.mpegBytesToRead = 1000;
    const MediaInfo info = read("a.mpg", mpeg(with([](MpegStream& m) {
                                    m.middlePadding = 0;
                                    m.lastTime = {};
                                })));
    EXPECT_EQ(info.soundPresence, "Sound");
    EXPECT_EQ(info.soundFrequency, "48000");
}

TEST_F(MediaTest, MpegScansServeTheEventLoopOnlyWhenAllowed)
{
    for (bool allowed : {false, true}) {
        context.yieldDuringScans = allowed;
        bool fired = false;
        QTimer::singleShot(0, [&fired] { fired = true; });
        read(allowed ? "y.mpg" : "n.mpg", mpeg(MpegStream{}));
        EXPECT_EQ(fired, allowed);
        QCoreApplication::processEvents();
    }
}

struct AudioCase {
    const char* what;
    QByteArray bytes;
    bool result;
    const char* versionLayer;
    int bitrate;
    int sampleRate;
    const char* channelMode;
    bool stereo;
};

TEST_F(MediaTest, MpegAudioFrameHeader)
{
    const QByteArray zeros(300, '\0');
    const AudioCase cases[] = {
        {"layer 3", QByteArray("\xFF\xFB\x90\x44", 4), true, "MPEG 1 Layer 3", 128, 44100, "Joint Stereo", true},
        {"layer 2 mono", QByteArray("\xFF\xFD\xB4\xC4", 4), true, "MPEG 1 Layer 2", 224, 48000, "Mono", false},
        {"mpeg 2 layer 1", QByteArray("\xFF\xF6\x94\x80", 4), true, "MPEG 2 Layer 1", 144, 24000, "Dual Channel", true},
        {"mpeg 2.5", QByteArray("\xFF\xE2\x18\x00", 4), true, "MPEG 2.5 Layer 3", 8, 8000, "Stereo", true},
        {"layer bits 00", QByteArray("\xFF\xF9\x90\x00", 4), true, "MPEG 1 Unknown", 80, 44100, "Stereo", true},
        {"version bits 01", QByteArray("\xFF\xEB\x90\x44", 4) + zeros, false, "Unknown Layer 3", 80, 0, "Joint Stereo",
         true},
        {"bit-rate index 15", QByteArray("\xFF\xFB\xF0\x44", 4) + zeros, false, "MPEG 1 Layer 3", 0, 44100,
         "Joint Stereo", true},
        {"sample-rate index 3", QByteArray("\xFF\xFB\x9C\x44", 4) + zeros, false, "MPEG 1 Layer 3", 128, 0,
         "Joint Stereo", true},
        {"candidate swallows the real header", QByteArray("\xFF\xFF\xFF\xFB\x90\x44", 6), true, "MPEG 1 Layer 1", 0, 0,
         "Mono", false},
        {"header cut off", QByteArray("\x00\xFF\xFB", 3), true, "MPEG 1 Layer 3", 0, 0, "", false},
        {"nothing found", zeros, false, "", 0, 0, "", false},
    };
    for (const AudioCase& c : cases) {
        SCOPED_TRACE(c.what);
        const QString path = writeFile("audio.bin", QByteArray("skip") + c.bytes);
        MpegAudioHeader h;
        h.versionLayer = "stale";
        EXPECT_EQ(findMpegAudioHeader(path, h, 4), c.result);
        EXPECT_EQ(h.versionLayer, c.versionLayer);
        EXPECT_EQ(h.bitrateKbps, c.bitrate);
        EXPECT_EQ(h.sampleRate, c.sampleRate);
        EXPECT_EQ(h.channelMode, c.channelMode);
        EXPECT_EQ(h.isStereo, c.stereo);
    }
    MpegAudioHeader h;
    EXPECT_TRUE(findMpegAudioHeader(writeFile("short.bin", "abc"), h, 10));
    EXPECT_TRUE(h.versionLayer.isEmpty());
    EXPECT_TRUE(findMpegAudioHeader(work() + "/missing.bin", h, 0));
}

TEST(MediaNames, CodecNames)
{
    const std::vector<CodecName> table = {{"abcd", "first"}, {"ABCD", "second"}, {"", "empty code"}, {"EMPT", ""}};
    const struct {
        QString code;
        QString name;
    } cases[] = {
        {"ABCD", "second"},
        {"abcd", "first"},
        {"Abcd", "first"},
        {"", "empty code"},
        {"empt", ""},
        {"xvid", "xvid"},
        {QString(4, QChar(0)), QString(4, QChar(0))},
        {"a b ", "a b "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(lookupCodecName(table, c.code), c.name) << c.code.toStdString();
}

TEST(MediaNames, WaveFormatNames)
{
    const std::vector<WaveFormatName> table = {{1, "PCM"}, {85, "MP3"}, {85, "later"}, {-2, "minus"}};
    EXPECT_EQ(lookupWaveFormatName(table, 85), "MP3");
    EXPECT_EQ(lookupWaveFormatName(table, -2), "minus");
    EXPECT_EQ(lookupWaveFormatName(table, 2), "2");
    EXPECT_EQ(lookupWaveFormatName(table, -7), "-7");
    EXPECT_EQ(lookupWaveFormatName({WaveFormatName{}}, 0), "");
}

TEST(MediaNames, FrameRates)
{
    const char* texts[] = {"0", "23.976", "24", "25", "29.97", "30", "50", "59.94", "60", "0"};
    for (int code = 0; code <= 9; ++code)
        EXPECT_EQ(mpegFrameRateText(code), texts[code]);
    EXPECT_EQ(mpegFrameRateText(15), "0");
    EXPECT_EQ(mpegFrameRateText(-1), "0");
}

TEST_F(MediaTest, MpegFileGoneDuringAScanIsLoggedAndKeepsWhatWasRead)
{
    // The file disappears while the forward scan serves the event loop; the
    // sound scan then cannot open it again.
    context.yieldDuringScans = true;
    const QString path = writeFile("gone.mpg", mpeg(MpegStream{}));
    QTimer::singleShot(0, [path] { QFile::remove(path); });
    MediaInfo info;
    EXPECT_EQ(getMediaProperties(path, info, context), 0);
    EXPECT_EQ(info.width, "352");
    EXPECT_TRUE(info.lengthSeconds.isEmpty());
    EXPECT_TRUE(info.soundPresence.isEmpty());
    const QStringList lines = readLines(logs->errorFile());
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].endsWith("Error 53 (File not found) getMediaProperties: FILE=" + path))
        << lines[0].toStdString();
}

TEST_F(MediaTest, MpegBlockSizeOutOfRange)
{
    for (qint64 size : {qint64(0), qint64(-5), qint64(1) << 62}) {
        context.mpegBytesToRead = size;
        const MediaInfo info = read("b.mpg", mpeg(MpegStream{}));
        EXPECT_EQ(info.width, "352") << size;
        EXPECT_EQ(info.soundPresence, "Sound") << size;
    }
}
