#include "mediatest.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>

using namespace fixtures;

TEST_F(MediaTest, SecondCallWithTheSamePathIsAnsweredFromTheRecord)
{
    const QString path = writeFile("a.gif", gif(10, 20, 0xF7));
    MediaInfo info;
    ASSERT_EQ(getMediaProperties(path, info, context), -1);
    EXPECT_EQ(info.width, "10");
    QFile::remove(path);
    EXPECT_EQ(getMediaProperties(path, info, context), -1);
    EXPECT_EQ(info.width, "10");
    EXPECT_EQ(info.filePath, path);
}

TEST_F(MediaTest, EmptyPathMatchesAFreshRecord)
{
    MediaInfo info;
    EXPECT_EQ(getMediaProperties(QString(), info, context), -1);
    EXPECT_TRUE(info.width.isEmpty());
}

TEST_F(MediaTest, NoFileOrADirectoryGivesFalseWithoutLogging)
{
    makeDir("folder.gif");
    for (const QString& path : {work() + "/folder.gif", work() + "/missing.gif", work() + "/missing.mpg"}) {
        MediaInfo info;
        info.width = "stale";
        EXPECT_EQ(getMediaProperties(path, info, context), 0) << path.toStdString();
        EXPECT_EQ(info.filePath, path);
        EXPECT_TRUE(info.width.isEmpty());
    }
    EXPECT_EQ(logs->errorLogged, 0);
}

TEST_F(MediaTest, OnlyRegularFilesAreOpened)
{
    const QString fifo = work() + "/pipe.mpg";
    QDir().mkpath(work());
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    MediaInfo info;
    EXPECT_EQ(getMediaProperties(fifo, info, context), 0);
    EXPECT_EQ(logs->errorLogged, 0);
}

TEST_F(MediaTest, DoubledSeparatorIsCollapsedButKeptAsCacheKey)
{
    writeFile("photo.gif", gif(7, 8, 0));
    const QString doubled = work() + "//photo.gif";
    MediaInfo info;
    EXPECT_EQ(getMediaProperties(doubled, info, context), -1);
    EXPECT_EQ(info.filePath, doubled);
    EXPECT_EQ(info.width, "7");
}

TEST_F(MediaTest, DispatchByHeaderAndName)
{
    int r = 0;
    // A file under 32 bytes has no header: only the name can select a branch.
    MediaInfo pcxInfo = read("x.pcx", QByteArray(20, '\0'), &r);
    EXPECT_EQ(r, -1);
    EXPECT_EQ(pcxInfo.width, "1");
    EXPECT_EQ(pcxInfo.colorDepth, "0");
    read("x.gif", QByteArray("GIF89a").leftJustified(20, '\0'), &r);
    EXPECT_EQ(r, 0);
    // A "BM" header wins over the .pcx name.
    EXPECT_EQ(read("y.pcx", bmp(5, 6, 8), &r).width, "5");
    // Any other FORM file ends the call, even with an .mpg name.
    const MediaInfo aiff = read("sound.mpg", iff(5, 6, 8, 12, "AIFF"), &r);
    EXPECT_EQ(r, 0);
    EXPECT_TRUE(aiff.codec.isEmpty());
    // Unknown content.
    read("notes.txt", QByteArray(100, 'x'), &r);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(logs->errorLogged, 0);
}

// A little-endian RGB TIFF of 640 x 480 whose first directory claims long
// lists: `strips` strip offsets and `bits` bits-per-sample values (all 8),
// both standing, as far as the file goes, at offset 100.
QByteArray tiffWithLongLists(quint32 strips, quint32 bits)
{
    ByteBuilder b;
    b.raw("II*").u8(0).u32le(8).u16le(5);
    b.u16le(256).u16le(3).u32le(1).u32le(640);
    b.u16le(257).u16le(3).u32le(1).u32le(480);
    b.u16le(258).u16le(3).u32le(bits).u32le(bits == 1 ? 8 : 100);
    b.u16le(273).u16le(4).u32le(strips).u32le(100);
    b.u16le(277).u16le(3).u32le(1).u32le(3);
    b.u32le(0).padTo(100);
    if (bits > 1)
        b.raw(QByteArray::fromHex("0800").repeated(bits));
    return b;
}

struct ImageCase {
    const char* what;
    const char* name;
    QByteArray content;
    int result;
    const char* width;
    const char* height;
    const char* depth;
};

TEST_F(MediaTest, ImageHeaders)
{
    const ImageCase cases[] = {
        {"bmp", "a.bmp", bmp(640, 480, 24), -1, "640", "480", "24"},
        {"bmp top-down", "a.bmp", bmp(640, -480, 32), -1, "640", "480", "32"},
        {"bmp width too wide", "a.bmp", bmp(40000, 300, 8), -1, "", "300", "8"},
        {"bmp width above 16 bits", "a.bmp", bmp(70000, 300, 8), -1, "", "300", "8"},
        {"jpeg", "a.jpg", jpeg(640, 480), -1, "640", "480", "24"},
        {"jpeg progressive", "a.jpg", jpeg(1024, 768, 0xC2), -1, "1024", "768", "24"},
        {"jpeg after a big segment", "a.jpg", jpeg(800, 600, 0xC0, {{0xE1, QByteArray(39998, 'e')}}), -1, "800", "600",
         "24"},
        {"jpeg with tables first", "a.jpg",
         jpeg(32, 16, 0xC1, {{0xE0, "JFIF"}, {0xDB, QByteArray(65, 1)}, {0xC4, "h"}}), -1, "32", "16", "24"},
        {"jpeg without frame header", "a.jpg", jpeg(32, 16, 0xC5), 0, "", "", ""},
        {"jpeg too wide", "a.jpg", jpeg(40000, 16), -1, "", "16", "24"},
        {"gif", "a.gif", gif(320, 200, 0xF7), -1, "320", "200", "8"},
        {"gif depth 1", "a.gif", gif(1, 1, 0x80), -1, "1", "1", "1"},
        {"gif width too wide", "a.gif", gif(40000, 9, 0x10), -1, "", "9", "2"},
        {"png rgba", "a.png", png(800, 600, 8, 6), -1, "800", "600", "32"},
        {"png rgb 16", "a.png", png(800, 600, 16, 2), -1, "800", "600", "48"},
        {"png grey", "a.png", png(3, 4, 1, 0), -1, "3", "4", "1"},
        {"png palette", "a.png", png(3, 4, 8, 3), -1, "3", "4", "8"},
        {"png grey alpha", "a.png", png(3, 4, 8, 4), -1, "3", "4", "16"},
        {"png unknown colour type", "a.png", png(3, 4, 8, 5), -1, "3", "4", ""},
        {"png without IHDR", "a.png", QByteArray("\x89PNG\r\n\x1A\n").leftJustified(40, '\0'), 0, "", "", ""},
        {"tiff little-endian", "a.tif", tiffRgb(false, 640, 480), -1, "640", "480", "24"},
        {"tiff big-endian", "a.tif", tiffRgb(true, 640, 480), -1, "640", "480", "24"},
        {"tiff 16 bits per sample", "a.tif",
         tiff(false, {{{256, 4, {5000}}, {257, 4, {7000}}, {258, 3, {16, 16, 16}}, {277, 3, {3}}}}), -1, "5000", "7000",
         "48"},
        {"tiff grey with alpha", "a.tif", tiff(true, {{{256, 3, {9}}, {257, 3, {9}}, {258, 3, {8, 8}}, {277, 3, {2}}}}),
         -1, "9", "9", "16"},
        {"tiff without depth tags", "a.tif", tiff(false, {{{256, 3, {9}}, {257, 3, {9}}}}), -1, "9", "9", "0"},
        {"tiff with a strip list past the end", "a.tif", tiffWithLongLists(0xFFFFFFF0u, 1), -1, "640", "480", "24"},
        {"tiff with a bits list of a million values", "a.tif", tiffWithLongLists(1, 1000000), -1, "640", "480", "24"},
        {"tiff first directory past the end", "a.tif", ByteBuilder().raw("II*").u8(0).u32le(5000).padTo(64).data(), 0,
         "", "", ""},
        {"psd", "a.psd", psd(1920, 1080, 3, 8), -1, "1920", "1080", "24"},
        {"psd cmyk 16", "a.psd", psd(100, 50, 4, 16), -1, "100", "50", "64"},
        {"paint shop pro", "a.psp", paintShopPro(1024, 768, 24), -1, "1024", "768", "24"},
        {"iff", "a.iff", iff(320, 256, 5), -1, "320", "256", "5"},
        {"iff bitmap header after the first bytes", "a.iff", iff(640, 400, 4, 60), -1, "640", "400", "4"},
        {"iff without bitmap header", "a.iff", ByteBuilder().raw("FORMxxxxILBM").padTo(300).data(), 0, "", "", ""},
        {"pcx", "a.pcx", pcx(0, 0, 799, 599, 8, 1), -1, "800", "600", "8"},
        {"pcx 784 wide", "a.PCX", pcx(0, 0, 783, 10, 1, 4), -1, "784", "11", "4"},
        {"pcx inverted window", "a.pcx", pcx(10, 10, 5, 5, 8, 3), -1, "-4", "-4", "24"},
        {"fpbd", "a.agp", fpbd(300, 200), -1, "300", "200", "32"},
        {"fpbd without height", "a.agp", fpbd(300, 200, true, false), 0, "300", "", "32"},
        {"fpbd without width", "a.agp", fpbd(300, 200, false, true), 0, "", "", "32"},
    };
    for (const ImageCase& c : cases) {
        SCOPED_TRACE(c.what);
        int r = 0;
        const MediaInfo info = read(c.name, c.content, &r);
        EXPECT_EQ(r, c.result);
        EXPECT_EQ(info.width, c.width);
        EXPECT_EQ(info.height, c.height);
        EXPECT_EQ(info.colorDepth, c.depth);
        EXPECT_TRUE(info.frameRate.isEmpty());
        EXPECT_TRUE(info.soundPresence.isEmpty());
    }
    EXPECT_EQ(logs->errorLogged, 0);
}

TEST_F(MediaTest, ShortFilesAreReadInTheBytesTheyHave)
{
    // A Paint Shop Pro file of 100 bytes still has its size fields at 50 and 54.
    const QByteArray psp = paintShopPro(64, 48, 8).left(100);
    const MediaInfo info = read("short.psp", psp);
    EXPECT_EQ(info.width, "64");
    EXPECT_EQ(info.height, "48");
    EXPECT_EQ(info.colorDepth, "8");
    // An IFF file under 256 bytes whose bitmap header lies beyond the first 32.
    int r = 0;
    const MediaInfo ilbm = read("short.iff", iff(320, 200, 8, 40).left(100), &r);
    EXPECT_EQ(r, -1);
    EXPECT_EQ(ilbm.width, "320");
}

TEST_F(MediaTest, JpegEndingInsideItsFrameHeader)
{
    QByteArray j = jpeg(640, 480, 0xC0, {{0xE0, QByteArray(40, 'j')}});
    const qsizetype frame = j.indexOf("\xFF\xC0");
    int r = 0;
    const MediaInfo info = read("cut.jpg", j.left(frame + 6), &r);
    EXPECT_EQ(r, -1);
    EXPECT_EQ(info.colorDepth, "24");
}

TEST_F(MediaTest, JpegSegmentLengthBelowTwoNeverReadsBackwards)
{
    // A length of 0 and of 1 followed by a real frame header.
    ByteBuilder b;
    b.u8(0xFF).u8(0xD8).u8(0xFF).u8(0xE0).u16be(0).u8(0xFF).u8(0xE1).u16be(1);
    b.raw(jpeg(12, 34).mid(2));
    const MediaInfo info = read("damaged.jpg", b);
    EXPECT_EQ(info.width, "12");
    EXPECT_EQ(info.height, "34");
}

TEST_F(MediaTest, HiddenTiffIsReadLikeAnyOtherFile)
{
    const MediaInfo info = read(".hidden.tif", tiffRgb(false, 64, 32));
    EXPECT_EQ(info.width, "64");
    EXPECT_EQ(info.colorDepth, "24");
}
