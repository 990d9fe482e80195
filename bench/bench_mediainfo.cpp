// Time of one getMediaProperties call per format (the seed files of the fuzz
// corpus, a 2 MB MPEG program stream) and for a 1 MB file that is no media file.
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
    files.push_back({"non-media-1MB", BenchFile{writeFile(scratch.path() + "/notes.dat", randomBytes(1 << 20))}});
    for (const auto& [name, file] : files)
        benchmark::RegisterBenchmark(("BM_GetMediaProperties/" + name).c_str(),
                                     [file = file](benchmark::State& s) { readOnce(s, file); });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
