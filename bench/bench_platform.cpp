#include "platform/wildcard.h"

#include <benchmark/benchmark.h>

#include <QString>
#include <vector>

// Pattern matching runs once per directory entry during a read.
static void BM_MatchesPattern(benchmark::State& state)
{
    std::vector<QString> names;
    for (int i = 0; i < 32767; ++i)
        names.push_back(QStringLiteral("Holiday photo %1 - final version.jpg").arg(i));
    for (auto _ : state) {
        int hits = 0;
        for (const QString& n : names)
            hits += platform::matchesPattern(n, QStringLiteral("*photo*.JPG"));
        benchmark::DoNotOptimize(hits);
    }
    state.SetItemsProcessed(state.iterations() * int64_t(names.size()));
}
BENCHMARK(BM_MatchesPattern);

BENCHMARK_MAIN();
