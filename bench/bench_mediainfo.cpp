// Time of one getMediaProperties call per format (the seed files of the fuzz
// corpus, a 2 MB MPEG program stream, a 100 MB TIFF with a list of 25 million
// values) and for a 1 MB file that is no media file.
#include "../fuzz/mediafuzzinput.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

namespace {

struct BenchFile {
    QString path;
    qint64 blockSize = 8192;
};

void readOnce(benchmark::State& state, const BenchFile& file)
{
    const ConfigTables tables = mediafuzz::tables();
    MediaContext context;
    context.codecNames = &tables.codecNames;
    context.waveFormatNames = &tables.waveFormatNames;
    context.mpegBytesToRead = file.blockSize;
    context.yieldDuringScans = false;
    for (auto _ : state) {
        MediaInfo info;
        benchmark::DoNotOptimize(getMediaProperties(file.path, info, context));
    }
}

QString writeFile(const QString& path, const QByteArray& content)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(content);
    return path;
}

QByteArray mpegProgramStream(qsizetype size)
{
    QByteArray b;
    b += QByteArray("\x00\x00\x01\xBA\x21\x00\x01\x00\x01\x80\x1B\x91", 12);
    b += QByteArray("\x00\x00\x01\xB3\x16\x01\x20\x13\x2C\xEE\x21\x40", 12);
    b += QByteArray("\x00\x00\x01\xB8\x00\x08\x00\x40", 8);
    b += QByteArray(3000, '\0');
    b += QByteArray("\x00\x00\x01\xC0\x01\x00\x0F\xFF\xFD\xB4\xC4", 11);
    b += QByteArray(size - b.size() - 100, '\0');
    b += QByteArray("\x00\x00\x01\xB8\x00\x19\x46\xC0", 8);
    return b.leftJustified(size, '\0');
}

QByteArray randomBytes(qsizetype size)
{
    QByteArray b(size, Qt::Uninitialized);
    QRandomGenerator gen(42);
    for (char& c : b)
        c = char(gen.generate() & 0xFF);
    // Nothing that a header test could take for a media file.
    b[0] = 'x';
    return b;
}

// A 100 MB TIFF of 640 x 480 whose first directory also holds a list of 25
// million strip offsets (sparse on disk): the read must not cost the list.
QString tiffWithLongList(const QString& path)
{
    constexpr quint32 listCount = 25'000'000;
    QByteArray b("II*\0", 4);
    auto u16 = [&](quint16 v) { b.append(char(v & 0xFF)).append(char(v >> 8)); };
    auto u32 = [&](quint32 v) {
        u16(quint16(v & 0xFFFF));
        u16(quint16(v >> 16));
    };
    u32(8);
    u16(5);
    const quint32 entries[5][4] = {
        {256, 3, 1, 640}, {257, 3, 1, 480}, {258, 3, 1, 8}, {273, 4, listCount, 100}, {277, 3, 1, 3}};
    for (const auto& e : entries) {
        u16(quint16(e[0]));
        u16(quint16(e[1]));
        u32(e[2]);
        u32(e[3]);
    }
    u32(0);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        f.write(b);
        f.resize(100 + qint64(4) * listCount);
    }
    return path;
}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return 1;
    std::vector<std::pair<std::string, BenchFile>> files;
    const QString corpus = QFileInfo(QStringLiteral(__FILE__)).absolutePath() + QStringLiteral("/../fuzz/corpus");
    for (const QFileInfo& fi : QDir(corpus).entryInfoList({QStringLiteral("seed-*")}, QDir::Files, QDir::Name)) {
        QFile f(fi.absoluteFilePath());
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const QByteArray raw = f.readAll();
        const mediafuzz::Input in =
            mediafuzz::decode(reinterpret_cast<const uint8_t*>(raw.constData()), size_t(raw.size()));
        const QString path = writeFile(scratch.path() + "/" + fi.fileName() + in.suffix, in.content);
        files.push_back({fi.fileName().mid(5).toStdString(), BenchFile{path, in.blockSize}});
    }
    files.push_back({"mpeg-2MB", BenchFile{writeFile(scratch.path() + "/big.mpg", mpegProgramStream(2 << 20))}});
    files.push_back({"tiff-25M-list-100MB", BenchFile{tiffWithLongList(scratch.path() + "/long-list.tif")}});
    files.push_back({"non-media-1MB", BenchFile{writeFile(scratch.path() + "/notes.dat", randomBytes(1 << 20))}});
    for (const auto& [name, file] : files)
        benchmark::RegisterBenchmark(("BM_GetMediaProperties/" + name).c_str(),
                                     [file = file](benchmark::State& s) { readOnce(s, file); });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
