#include "engine/mp3library.h"
#include "engine/mp3names.h"
#include "engine/renameoptions.h"

#include "../tests/engine/test_mp3fixtures.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <vector>

namespace {

bool writeFile(const QString& path, const QByteArray& content)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(content) == content.size();
}

} // namespace

// What the preview does per row in the Mp3 mode: reset, load, build the name.
static void BM_LoadAndFormatTaggedFiles(benchmark::State& state)
{
    QTemporaryDir dir;
    std::vector<QString> names;
    for (int i = 0; i < 1000; ++i) {
        const QByteArray track = QByteArray::number(i % 20 + 1) + "/20";
        const QByteArray content = mp3fx::id3v2(3,
                                                {{"TIT2", mp3fx::text("Song number " + QByteArray::number(i))},
                                                 {"TPE1", mp3fx::text("Some Band")},
                                                 {"TALB", mp3fx::text("Greatest Hits")},
                                                 {"TRCK", mp3fx::text(track)},
                                                 {"TCON", mp3fx::text("(17)Rock")},
                                                 {"TCOM", mp3fx::text("Writer")}},
                                                512) +
                                   mp3fx::frames(40) +
                                   mp3fx::id3v1({"Song", "Some Band", "Greatest Hits", "2001", "", i % 20 + 1, 17});
        names.push_back(QStringLiteral("track%1.mp3").arg(i));
        if (!writeFile(dir.filePath(names.back()), content)) {
            state.SkipWithError("cannot write the files");
            return;
        }
    }
    RenameOptions options;
    options.mp3Format = QStringLiteral("<TRACKN> - <ARTIST> - <TITLE> (<ALBUM>, <GENRE>, <BITRATE>, <LENGTHS>)");
    Mp3Library lib;
    const QString folder = dir.path() + QLatin1Char('/');
    for (auto _ : state) {
        int named = 0;
        for (const QString& n : names)
            named += mp3NewName(&lib, folder, n, options).isEmpty() ? 0 : 1;
        if (named != int(names.size()))
            state.SkipWithError("a file got no name");
        benchmark::DoNotOptimize(named);
    }
    state.SetItemsProcessed(state.iterations() * int64_t(names.size()));
}
BENCHMARK(BM_LoadAndFormatTaggedFiles)->Unit(benchmark::kMillisecond);

// A large file that is not MPEG: the frame search stops early instead of
// scanning 50 MB. Argument 0: zeros; 1: random bytes.
static void BM_LoadLargeNonMpegFile(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.mp3"));
    QByteArray content(50 * 1024 * 1024, '\0');
    if (state.range(0) == 1) {
        QRandomGenerator rng(7);
        rng.fillRange(reinterpret_cast<quint32*>(content.data()), content.size() / 4);
    }
    if (!writeFile(path, content)) {
        state.SkipWithError("cannot write the file");
        return;
    }
    content.clear();
    Mp3Library lib;
    for (auto _ : state) {
        lib.reset();
        benchmark::DoNotOptimize(lib.load(path));
    }
}
BENCHMARK(BM_LoadLargeNonMpegFile)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
