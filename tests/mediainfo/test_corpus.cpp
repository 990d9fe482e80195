#include "../../fuzz/mediafuzzinput.h"
#include "mediafixtures.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace fixtures;

namespace {

QString corpusDir()
{
    return QFileInfo(QStringLiteral(__FILE__)).absolutePath() + QStringLiteral("/../../fuzz/corpus");
}

enum Suffix { Bin = 0, Mpg = 1, Pcx = 2 };
enum Block { Block8192 = 0, Block16 = 1, Block100 = 2, Block1024 = 3 };

std::vector<std::pair<QString, QByteArray>> seeds()
{
    AviStreams a;
    AviStreams soundOnly;
    soundOnly.video = false;
    WavFormat w;
    MpegStream m;
    m.middlePadding = 600;
    MpegStream video = m;
    video.programStream = false;
    video.audioHeader.clear();
    ByteBuilder cdxa;
    cdxa.raw("RIFF").u32le(0).raw("CDXAfmt ").padTo(44).raw(mpeg(m));
    std::vector<TiffField> many;
    for (int i = 0; i < 8; ++i)
        many.push_back({256 + i, 1 + i % 5, {quint32(i + 1), 2, 3, 4, 5, 6}});
    return {
        {"bmp", mediafuzz::encode(Bin, Block8192, bmp(640, -480, 24))},
        {"jpeg", mediafuzz::encode(Bin, Block8192, jpeg(640, 480, 0xC0, {{0xE0, "JFIF"}, {0xDB, QByteArray(20, 1)}}))},
        {"gif", mediafuzz::encode(Bin, Block8192, gif(320, 200, 0xF7))},
        {"png", mediafuzz::encode(Bin, Block8192, png(800, 600, 8, 6))},
        {"tiff-le", mediafuzz::encode(Bin, Block8192, tiffRgb(false, 640, 480))},
        {"tiff-be", mediafuzz::encode(Bin, Block8192, tiffRgb(true, 640, 480))},
        {"tiff-types", mediafuzz::encode(Bin, Block8192, tiff(true, {many, {{297, 3, {1, 3}}}}))},
        {"psd", mediafuzz::encode(Bin, Block8192, psd(1920, 1080, 3, 8))},
        {"psp", mediafuzz::encode(Bin, Block8192, paintShopPro(1024, 768, 24))},
        {"iff", mediafuzz::encode(Bin, Block8192, iff(320, 256, 5, 40))},
        {"pcx", mediafuzz::encode(Pcx, Block8192, pcx(0, 0, 799, 599, 8, 1))},
        {"fpbd", mediafuzz::encode(Bin, Block8192, fpbd(300, 200))},
        {"avi", mediafuzz::encode(Bin, Block8192, avi(a))},
        {"avi-sound", mediafuzz::encode(Bin, Block8192, avi(soundOnly))},
        {"wav", mediafuzz::encode(Bin, Block8192, wav(w))},
        {"mpeg-ps", mediafuzz::encode(Bin, Block100, mpeg(m))},
        {"mpeg-video", mediafuzz::encode(Mpg, Block16, mpeg(video))},
        {"mpeg-cdxa", mediafuzz::encode(Bin, Block1024, cdxa)},
    };
}

} // namespace

// Every seed and every input the fuzzer kept goes through the reader once more.
TEST(MediaCorpus, Replay)
{
    const QDir dir(corpusDir());
    const QFileInfoList files = dir.entryInfoList(QDir::Files, QDir::Name);
    ASSERT_FALSE(files.isEmpty()) << corpusDir().toStdString();
    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    for (const QFileInfo& fi : files) {
        SCOPED_TRACE(fi.fileName().toStdString());
        QFile f(fi.absoluteFilePath());
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray input = f.readAll();
        const int r =
            mediafuzz::run(scratch.path(), reinterpret_cast<const uint8_t*>(input.constData()), size_t(input.size()));
        EXPECT_TRUE(r == 0 || r == -1);
    }
}

// The seeds of each format are read as what they are.
TEST(MediaCorpus, SeedsAreRecognised)
{
    QTemporaryDir scratch;
    for (const auto& [name, input] : seeds()) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(
            mediafuzz::run(scratch.path(), reinterpret_cast<const uint8_t*>(input.constData()), size_t(input.size())),
            -1);
    }
}

TEST(MediaCorpus, WriteSeeds)
{
    const QString target = qEnvironmentVariable("VEXORREN_SEED_CORPUS");
    if (target.isEmpty())
        GTEST_SKIP() << "set VEXORREN_SEED_CORPUS to a folder to write the seed corpus";
    QDir().mkpath(target);
    for (const auto& [name, input] : seeds()) {
        QFile f(target + "/seed-" + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(input);
    }
}
