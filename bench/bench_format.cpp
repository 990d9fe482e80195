#include "engine/format.h"
#include "engine/random.h"
#include "engine/renameoptions.h"
#include "mediainfo/dirinfo.h"
#include "platform/fileops.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

namespace {

constexpr int EntryCount = 32767;

// One flat folder of 32,767 files for the names, and a tree of 32,767 entries
// (31 folders of 1056 files each) for the directory statistics.
struct Fixture {
    QTemporaryDir root;
    QString flat, tree;
    std::vector<QString> names;

    Fixture()
    {
        flat = root.path() + "/flat";
        tree = root.path() + "/tree";
        QDir().mkpath(flat);
        for (int i = 0; i < EntryCount; ++i) {
            names.push_back(QStringLiteral("Holiday photo %1 - final.jpg").arg(i));
            QFile f(flat + "/" + names.back());
            f.open(QIODevice::WriteOnly);
            f.write(QByteArray(i % 5000, 'x'));
        }
        for (int d = 0; d < 31; ++d) {
            const QString sub = tree + QStringLiteral("/folder %1").arg(d);
            QDir().mkpath(sub);
            for (int i = 0; i < 1056; ++i) {
                QFile f(sub + QStringLiteral("/file %1.txt").arg(i));
                f.open(QIODevice::WriteOnly);
                f.write("abc");
            }
        }
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

void runFormat(benchmark::State& state, const QString& format)
{
    Fixture& fx = fixture();
    RandomSource random(1);
    FormatContext context{.random = random};
    RenameOptions options;
    options.formatText = format;
    const QString dir = fx.flat + "/";
    for (auto _ : state) {
        for (const QString& name : fx.names)
            benchmark::DoNotOptimize(formatFilename(name, dir, options, context));
    }
    state.SetItemsProcessed(state.iterations() * int64_t(fx.names.size()));
    state.counters["ns_per_name"] = benchmark::Counter(
        double(fx.names.size()), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The file-system cost alone: one status query per name.
void BM_StatOnly(benchmark::State& state)
{
    Fixture& fx = fixture();
    const QString dir = fx.flat + "/";
    for (auto _ : state) {
        for (const QString& name : fx.names)
            benchmark::DoNotOptimize(platform::entryInfo(dir + name));
    }
    state.SetItemsProcessed(state.iterations() * int64_t(fx.names.size()));
}
BENCHMARK(BM_StatOnly)->Unit(benchmark::kMillisecond);

void BM_FormatNameSize(benchmark::State& state)
{
    runFormat(state, QStringLiteral("<NAME> (<SIZE>).<EXT>"));
}
BENCHMARK(BM_FormatNameSize)->Unit(benchmark::kMillisecond);

void BM_FormatDate(benchmark::State& state)
{
    runFormat(state, QStringLiteral("<DATE> <TIME> <NAME>.<EXT>"));
}
BENCHMARK(BM_FormatDate)->Unit(benchmark::kMillisecond);

// Statistics of a 32,767-entry tree against the same walk by find(1).
void BM_DirInfoTree(benchmark::State& state)
{
    Fixture& fx = fixture();
    for (auto _ : state) {
        DirInfo info;
        benchmark::DoNotOptimize(getDirInfo(fx.tree, info));
        if (info.treeFiles + info.treeDirs != EntryCount)
            state.SkipWithError("wrong count");
    }
}
BENCHMARK(BM_DirInfoTree)->Unit(benchmark::kMillisecond);

void BM_FindWcTree(benchmark::State& state)
{
    Fixture& fx = fixture();
    const QByteArray command = "find '" + QFile::encodeName(fx.tree) + "' | wc -l";
    for (auto _ : state) {
        FILE* p = ::popen(command.constData(), "r");
        char line[64] = {};
        benchmark::DoNotOptimize(std::fgets(line, sizeof line, p));
        ::pclose(p);
    }
}
BENCHMARK(BM_FindWcTree)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
