#include "mediatest.h"

#include <QLocale>

using namespace fixtures;

namespace {

QString decimal(const char* whole, const char* fraction)
{
    return QString::fromLatin1(whole) + QLocale::system().decimalPoint() + QString::fromLatin1(fraction);
}

} // namespace

TEST_F(MediaTest, AviWithVideoAndSound)
{
    tables.codecNames = {{"div3", "lower"}, {"DIV3", "DivX 3"}};
    tables.waveFormatNames = {{85, "MPEG Layer 3"}, {85, "second"}};
    AviStreams a;
    a.fileSize = 1000000;
    int r = 0;
    const MediaInfo info = read("movie.avi", avi(a), &r);
    EXPECT_EQ(r, -1);
    EXPECT_EQ(info.width, "320");
    EXPECT_EQ(info.height, "240");
    EXPECT_EQ(info.frameRate, "15");
    EXPECT_EQ(info.lengthSeconds, "10");
    EXPECT_EQ(info.bitrate, "800");
    EXPECT_EQ(info.codec, "DivX 3");
    EXPECT_EQ(info.colorDepth, "24");
    EXPECT_EQ(info.soundPresence, "Sound");
    EXPECT_EQ(info.soundFormat, "MPEG Layer 3");
    EXPECT_EQ(info.soundMode, "Stereo");
    EXPECT_EQ(info.soundFrequency, "44100");
    EXPECT_EQ(info.soundBitrate, "128");
    EXPECT_EQ(info.soundBits, "16");
}

struct AviCase {
    const char* what;
    AviStreams streams;
    const char* frameRate;
    const char* length;
    const char* bitrate;
    const char* codec;
    const char* soundMode;
};

TEST_F(MediaTest, AviRatesAndEdgeValues)
{
    auto with = [](auto change) {
        AviStreams a;
        a.fileSize = 1000000;
        change(a);
        return a;
    };
    const AviCase cases[] = {
        {"ntsc", with([](AviStreams& a) { a.rate = 30000, a.scale = 1001, a.totalFrames = 2997; }), "29.97", "100",
         "80", "DIV3", "Stereo"},
        {"scale 0", with([](AviStreams& a) { a.scale = 0; }), "", "", "", "DIV3", "Stereo"},
        {"rate 0", with([](AviStreams& a) { a.rate = 0; }), "0", "", "", "DIV3", "Stereo"},
        {"no frames", with([](AviStreams& a) { a.totalFrames = 0; }), "15", "0", "", "DIV3", "Stereo"},
        {"frames beyond 31 bits", with([](AviStreams& a) { a.totalFrames = 0x80000000u; }), "15", "0", "", "DIV3",
         "Stereo"},
        {"six channels", with([](AviStreams& a) { a.channels = 6; }), "15", "10", "800", "DIV3", "Mono"},
        {"unknown handler kept", with([](AviStreams& a) { a.handler = "xvid"; }), "15", "10", "800", "xvid", "Stereo"},
    };
    for (const AviCase& c : cases) {
        SCOPED_TRACE(c.what);
        const MediaInfo info = read("m.avi", avi(c.streams));
        EXPECT_EQ(info.frameRate, QString(c.frameRate).replace('.', QLocale::system().decimalPoint()));
        EXPECT_EQ(info.lengthSeconds, c.length);
        EXPECT_EQ(info.bitrate, c.bitrate);
        EXPECT_EQ(info.codec, c.codec);
        EXPECT_EQ(info.soundMode, c.soundMode);
    }
}

TEST_F(MediaTest, AviWithOnlySoundOrOnlyVideo)
{
    AviStreams soundOnly;
    soundOnly.video = false;
    MediaInfo info = read("s.avi", avi(soundOnly));
    EXPECT_EQ(info.width, "320");
    EXPECT_TRUE(info.codec.isEmpty());
    EXPECT_TRUE(info.frameRate.isEmpty());
    EXPECT_TRUE(info.lengthSeconds.isEmpty());
    EXPECT_TRUE(info.colorDepth.isEmpty());
    EXPECT_EQ(info.soundPresence, "Sound");
    EXPECT_EQ(info.soundFormat, "85"); // the table has no entry for it

    AviStreams videoOnly;
    videoOnly.audio = false;
    videoOnly.handler = QByteArray(4, '\0');
    info = read("v.avi", avi(videoOnly));
    EXPECT_EQ(info.soundPresence, "No Sound");
    EXPECT_TRUE(info.soundFormat.isEmpty());
    EXPECT_EQ(info.codec, QString(4, QChar(0)));
}

TEST_F(MediaTest, AviWithoutMainHeader)
{
    int r = 0;
    const MediaInfo info = read("x.avi", ByteBuilder().raw("RIFF").u32le(0).raw("AVI LIST").padTo(500).data(), &r);
    EXPECT_EQ(r, 0);
    EXPECT_TRUE(info.soundPresence.isEmpty());
}

TEST_F(MediaTest, WavFormat)
{
    WavFormat w;
    w.fileSize = 1764044;
    int r = 0;
    const MediaInfo info = read("a.wav", wav(w), &r);
    EXPECT_EQ(r, -1);
    EXPECT_EQ(info.soundPresence, "Sound");
    EXPECT_EQ(info.soundFrequency, "44100");
    EXPECT_EQ(info.soundMode, "Stereo");
    EXPECT_EQ(info.soundBits, "16");
    EXPECT_EQ(info.soundBitrate, "1411");
    EXPECT_EQ(info.lengthSeconds, decimal("10", "0002494331066"));
    EXPECT_EQ(info.soundFormat, "1");
    EXPECT_TRUE(info.width.isEmpty());
}

TEST_F(MediaTest, WavEdgeCases)
{
    tables.waveFormatNames = {{1, "PCM"}, {-2, "negative"}};
    WavFormat extensible;
    extensible.formatTag = 65534;
    extensible.fileSize = 1000;
    EXPECT_EQ(read("e.wav", wav(extensible)).soundFormat, "65534");

    WavFormat pcm;
    pcm.avgBytesPerSecond = 0;
    pcm.channels = 1;
    pcm.fileSize = 1000;
    MediaInfo info = read("z.wav", wav(pcm));
    EXPECT_EQ(info.soundFormat, "PCM");
    EXPECT_EQ(info.soundMode, "Mono");
    EXPECT_TRUE(info.lengthSeconds.isEmpty());
    EXPECT_EQ(info.soundBitrate, "0");

    WavFormat noFmt;
    noFmt.withFmt = false;
    noFmt.fileSize = 1000;
    int r = 0;
    info = read("n.wav", wav(noFmt), &r);
    EXPECT_EQ(r, -1);
    EXPECT_EQ(info.soundPresence, "No Sound");
    EXPECT_TRUE(info.soundFrequency.isEmpty());
    EXPECT_TRUE(info.lengthSeconds.isEmpty());
}

TEST_F(MediaTest, WavShorterThanItsBlockIsReadInTheBytesItHas)
{
    WavFormat w;
    w.avgBytesPerSecond = 44;
    const QByteArray content = wav(w); // 44 bytes
    ASSERT_LT(content.size(), 256);
    const MediaInfo info = read("tiny.wav", content);
    EXPECT_EQ(info.soundFrequency, "44100");
    EXPECT_EQ(info.lengthSeconds, "1");
}
