#include "engine/configtypes.h"
#include "engine/detect.h"
#include "engine/renameoptions.h"
#include "test_support.h"

#include <QFile>

namespace {

// The rows that the cases below rely on, in the built-in order.
std::vector<FileTypeDef> sampleRows()
{
    return {
        {1, "PK", "zip"},
        {1, "GIF", "gif"},
        {1, QByteArray("\xFF\xD8", 2), "jpg"},
        {1, "<HTML", "html"},
        {1, "<html", "html"},
        {1, "ID3", "mp3"},
        {1, QByteArray("\x00\x00\x01\xBA", 4), "mpg"},
        {9, "WAVE", "wav"},
        {-128, "TAG", "mp3"},
        {-18, "TRUEVISION-XFILE", "tga"},
    };
}

QByteArray waveFile()
{
    QByteArray b("RIFF\x24\x08\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x02\x00", 24);
    b += QByteArray(200, '\0');
    return b;
}

} // namespace

class Detect : public TempEnv {
protected:
    RenameOptions options;
    std::vector<FileTypeDef> rows = sampleRows();
    QString dir() const { return work() + "/"; }
    QString detect(const QString& name, const MpegAudioProbe& probe = {})
    {
        return detectFileType(dir(), name, options, rows, probe);
    }
    void setProbes(int mp3, int text)
    {
        options.detectTryMp3 = mp3;
        options.detectTryText = text;
    }
};

TEST_F(Detect, SignaturesAtPositiveAndNegativeOffsets)
{
    QByteArray mp3v1(1000, '\x01');
    mp3v1.replace(1000 - 128, 3, "TAG");
    QByteArray tga(300, '\x02');
    tga.replace(300 - 18, 16, "TRUEVISION-XFILE");
    QByteArray farWave(8, '\x03');
    farWave += "WAVE";
    const struct {
        const char* name;
        QByteArray content;
        const char* ext;
    } cases[] = {
        {"picture", "GIF89a\x01\x02", "gif"},
        {"song", "ID3\x03\x00", "mp3"},
        {"photo.dat", QByteArray("\xFF\xD8\xFF\xE0", 4), "jpg"},
        {"video", QByteArray("\x00\x00\x01\xBA\x44", 5), "mpg"},
        {"tagged", mp3v1, "mp3"},
        {"targa", tga, "tga"},
        {"wave", farWave, "wav"},
        {"tiny", "TAG\x01\x02\x03\x04\x05\x06\x07", ""}, // -128 lies before the first byte
        {"cut", "GI", ""},                               // the file ends inside the signature
        {"empty", "", ""},
        {"binary", QByteArray("\x01\x02\x03", 3), ""},
    };
    for (const auto& c : cases) {
        writeFile(c.name, c.content);
        EXPECT_EQ(detect(c.name), QString::fromLatin1(c.ext)) << c.name;
    }
}

TEST_F(Detect, LongFileReadsBeyondTheBufferedEnds)
{
    QByteArray big(100000, '\x05');
    big.replace(50000, 4, "DEEP");
    writeFile("deep.bin", big);
    rows = {{50001, "DEEP", "deep"}};
    EXPECT_EQ(detect("deep.bin"), "deep");
    rows = {{-50000, "DEEP", "deep"}};
    EXPECT_EQ(detect("deep.bin"), "deep");
    rows = {{-49999, "DEEP", "deep"}};
    EXPECT_EQ(detect("deep.bin"), "");
}

TEST_F(Detect, NoRegularFileGivesNothing)
{
    makeDir("folder");
    const QString target = writeFile("real.gif", "GIF89a");
    ASSERT_TRUE(QFile::link(target, work() + "/link"));
    EXPECT_EQ(detect("folder"), "");
    EXPECT_EQ(detect("missing"), "");
    EXPECT_EQ(detect("link"), "");
    EXPECT_EQ(detect("real.gif"), "gif");
}

TEST_F(Detect, WaveAndTheMp3Probe)
{
    writeFile("sound", waveFile());
    const MpegAudioProbe finds = [](const QString&) { return true; };
    const MpegAudioProbe fails = [](const QString&) -> bool { throw std::runtime_error("component"); };
    const struct {
        int mp3, text;
        const MpegAudioProbe* probe;
        const char* ext;
    } cases[] = {
        {0, 0, &finds, "wav"},  {0, 1, &finds, "wav"}, {1, 0, &finds, "mp3"},
        {1, 1, nullptr, "wav"}, {1, 0, &fails, "wav"},
    };
    for (const auto& c : cases) {
        setProbes(c.mp3, c.text);
        EXPECT_EQ(detect("sound", c.probe ? *c.probe : MpegAudioProbe{}), QString::fromLatin1(c.ext))
            << c.mp3 << c.text;
    }
}

TEST_F(Detect, ProbeRunsOnlyWithoutAMatchOrForWave)
{
    writeFile("pic.gif", "GIF89a");
    writeFile("noise", QByteArray(100, '\x01'));
    int calls = 0;
    const MpegAudioProbe counting = [&](const QString& path) {
        ++calls;
        EXPECT_EQ(path, work() + "/noise");
        return true;
    };
    setProbes(1, 0);
    EXPECT_EQ(detect("pic.gif", counting), "gif");
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(detect("noise", counting), "mp3");
    EXPECT_EQ(calls, 1);
    // With "Mp3" ticked and no component, the file stays undecided.
    EXPECT_EQ(detect("noise"), "");
}

TEST_F(Detect, TextAndHtmlProbes)
{
    const QByteArray text = QByteArray("Dear reader,\r\n\tthis is plain text.\n") + QByteArray(70, 'a');
    QByteArray utf16;
    for (char c : QByteArray("Hello wide world"))
        utf16 += c, utf16 += '\0';
    const struct {
        const char* name;
        QByteArray content;
        const char* withText;
    } cases[] = {
        {"letter", text, "txt"},
        {"page", "<!DOCTYPE x>\n<Html><body>", "html"},
        {"latin", "caf\xe9 na\xefve", "txt"},
        {"wide", utf16, ""},
        {"short binary", QByteArray("ab\x01", 3), ""}, // probed on the bytes it has
        {"short text", "abc", "txt"},
        {"deleted", QByteArray("abc\x7f", 4), ""},
        {"late html", QByteArray(64, ' ') + "<html>", "txt"}, // beyond the sample
    };
    for (const auto& c : cases) {
        writeFile(c.name, c.content);
        setProbes(0, 1);
        EXPECT_EQ(detect(c.name), QString::fromLatin1(c.withText)) << c.name;
        setProbes(0, 0);
        EXPECT_EQ(detect(c.name), "") << c.name << " without the probe";
    }
}

TEST_F(Detect, TableEdgeRows)
{
    writeFile("letter.txt", "plain text");
    writeFile("sound", waveFile());
    setProbes(1, 1);
    const MpegAudioProbe finds = [](const QString&) { return true; };
    // An empty row matches every file and no probe runs.
    rows = {FileTypeDef{}};
    EXPECT_EQ(detect("letter.txt", finds), "");
    // "WAV" in capitals is an ordinary answer: no probes.
    rows = {{9, "WAVE", "WAV"}};
    EXPECT_EQ(detect("sound", finds), "WAV");
    // Offset 0 names no byte.
    rows = {{0, "plain", "zero"}};
    setProbes(0, 0);
    EXPECT_EQ(detect("letter.txt"), "");
}
