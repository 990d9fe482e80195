#include "engine/addcrop.h"
#include "engine/convertcase.h"
#include "engine/enumerate.h"
#include "engine/findreplace.h"
#include "engine/logs.h"
#include "engine/normalize.h"
#include "engine/processpart.h"
#include "engine/random.h"
#include "engine/spaces.h"

#include <benchmark/benchmark.h>

#include <QStringList>
#include <QTemporaryDir>
#include <vector>

// The preview runs one transform over every row of the list on each option
// change, so each benchmark runs its transform over a full list of 32,767
// names and reports the time per name ("per_name", e.g. 250ns).

namespace {

constexpr int NameCount = 32767;

const std::vector<QString>& names()
{
    static const std::vector<QString> list = [] {
        const char* patterns[] = {
            "IMG_%1.JPG",
            "%1 - the artist - a song title (live version).mp3",
            "holiday photo  %1 .jpeg",
            "Document final v%1.docx",
            "  the dvd collection of %1 movies.avi",
            "archive.%1.tar.gz",
            "Scan_2023-05-14_%1.pdf",
            "README %1",
            "track %1 of 12 - don't stop me now.flac",
            ".config%1",
        };
        std::vector<QString> v;
        v.reserve(NameCount);
        for (int i = 0; i < NameCount; ++i)
            v.push_back(QString::fromUtf8(patterns[i % 10]).arg(i, 4, 10, QLatin1Char('0')));
        return v;
    }();
    return list;
}

QStringList exceptionWords()
{
    QStringList words;
    const char* fixed[] = {"DVD",  "MP3", "of",  "the",  "a",        "an", "and",  "in", "on",
                           "at",   "to",  "for", "CD",   "TV",       "HD", "USA",  "UK", "BBC",
                           "NASA", "PDF", "JPG", "iPod", "McDonald", "DJ", "feat."};
    for (const char* w : fixed)
        words << QString::fromUtf8(w);
    for (int i = 0; words.size() < 50; ++i)
        words << QStringLiteral("Word%1").arg(i);
    return words;
}

std::vector<BatchReplaceItem> batchList()
{
    std::vector<BatchReplaceItem> items;
    const char* pairs[][2] = {{"_", " "},
                              {"  ", " "},
                              {"IMG", "Photo"},
                              {"final", "done"},
                              {"(live version)", "[live]"},
                              {"the artist", "Artist"},
                              {"%20", " "},
                              {"docx", "doc"},
                              {"jpeg", "jpg"},
                              {"Scan", "scan"},
                              {"tar", "tgz"},
                              {"song", "Song"},
                              {"movies", "films"},
                              {"README", "Readme"},
                              {"track", "Track"},
                              {"don't", "do not"},
                              {"v1", "v01"},
                              {"2023", "23"},
                              {"collection", "set"},
                              {".config", "config"}};
    for (int i = 0; i < 20; ++i) {
        BatchReplaceItem item;
        item.find = QString::fromUtf8(pairs[i][0]);
        item.replace = QString::fromUtf8(pairs[i][1]);
        item.caseSensitive = qint16(i % 2);
        item.swapMode = qint16(i == 5 ? 1 : 0);
        items.push_back(item);
    }
    return items;
}

template <typename F> void overNames(benchmark::State& state, F transform)
{
    const std::vector<QString>& list = names();
    for (auto _ : state) {
        qsizetype total = 0;
        for (const QString& n : list)
            total += transform(n).size();
        benchmark::DoNotOptimize(total);
    }
    state.counters["per_name"] = benchmark::Counter(double(list.size()), benchmark::Counter::kIsIterationInvariantRate |
                                                                             benchmark::Counter::kInvert);
}

struct LogFolder {
    QTemporaryDir dir;
    Logs logs{dir.path()};
};

} // namespace

static void BM_SplitJoin(benchmark::State& state)
{
    RenameOptions o;
    overNames(state, [&](const QString& n) {
        const ProcessPart p = splitProcessPart(n, o);
        return joinProcessPart(p.part, p);
    });
}
BENCHMARK(BM_SplitJoin);

static void BM_FindReplaceSingle(benchmark::State& state)
{
    LogFolder log;
    RenameOptions o;
    o.findText = QStringLiteral("the");
    o.replaceText = QStringLiteral("THE");
    overNames(state, [&](const QString& n) {
        const ProcessPart p = splitProcessPart(n, o);
        return joinProcessPart(replaceSingle(p.part, o, log.logs), p);
    });
}
BENCHMARK(BM_FindReplaceSingle);

static void BM_FindReplaceSwap(benchmark::State& state)
{
    LogFolder log;
    RenameOptions o;
    o.findText = QStringLiteral("artist");
    o.replaceText = QStringLiteral("song");
    o.swapMode = 1;
    overNames(state, [&](const QString& n) { return replaceSingle(n, o, log.logs); });
}
BENCHMARK(BM_FindReplaceSwap);

static void BM_FindReplaceBatch20(benchmark::State& state)
{
    LogFolder log;
    RenameOptions o;
    const std::vector<BatchReplaceItem> items = batchList();
    overNames(state, [&](const QString& n) {
        const ProcessPart p = splitProcessPart(n, o);
        return joinProcessPart(replaceBatch(p.part, items, o, log.logs), p);
    });
}
BENCHMARK(BM_FindReplaceBatch20);

static void BM_AddChars(benchmark::State& state)
{
    RenameOptions o;
    o.addText = QStringLiteral("new_");
    o.addPos = QStringLiteral("3");
    o.addFromEnd = true;
    overNames(state, [&](const QString& n) {
        const ProcessPart p = splitProcessPart(n, o);
        return joinProcessPart(addCropChars(p.part, o), p);
    });
}
BENCHMARK(BM_AddChars);

static void BM_CropChars(benchmark::State& state)
{
    RenameOptions o;
    o.cropMode = true;
    o.cropPos = QStringLiteral("2");
    o.cropCount = QStringLiteral("4");
    overNames(state, [&](const QString& n) {
        const ProcessPart p = splitProcessPart(n, o);
        return joinProcessPart(addCropChars(p.part, o), p);
    });
}
BENCHMARK(BM_CropChars);

static void BM_TrimSpaces(benchmark::State& state)
{
    RenameOptions o;
    o.trimLeading = o.trimTrailing = o.shrinkSpaces = 1;
    overNames(state, [&](const QString& n) { return trimSpaces(n, o); });
}
BENCHMARK(BM_TrimSpaces);

static void BM_ConvertCaseWords50Exceptions(benchmark::State& state)
{
    RenameOptions o;
    o.nameCase = NameWords;
    o.extCase = ExtLower;
    o.useExceptions = 1;
    const QStringList words = exceptionWords();
    RandomSource random;
    overNames(state, [&](const QString& n) { return convertCase(n, o, words, random); });
}
BENCHMARK(BM_ConvertCaseWords50Exceptions);

static void BM_ConvertCaseRandom(benchmark::State& state)
{
    RenameOptions o;
    o.nameCase = NameRandom;
    o.extCase = ExtRandom;
    RandomSource random;
    overNames(state, [&](const QString& n) { return convertCase(n, o, {QString()}, random); });
}
BENCHMARK(BM_ConvertCaseRandom);

static void BM_NormalizeNumbers(benchmark::State& state)
{
    RenameOptions o;
    overNames(state, [&](const QString& n) {
        const ProcessPart p = splitProcessPart(n, o);
        return joinProcessPart(normalizeNumbers(p.part, 3), p);
    });
}
BENCHMARK(BM_NormalizeNumbers);

static void BM_EnumerateName(benchmark::State& state)
{
    RenameOptions o;
    o.enumFormat = QStringLiteral("<NAME> - <ENUM>.<EXT>");
    EnumContext c;
    c.rowCount = NameCount;
    qint32 counter = 0;
    overNames(state, [&](const QString& n) { return enumerateName(n, ++counter % NameCount + 1, o, c); });
}
BENCHMARK(BM_EnumerateName);

// The counters of a whole list, computed once per preview or run.
static void BM_EnumCounters(benchmark::State& state)
{
    std::vector<EnumRow> rows;
    rows.reserve(NameCount);
    for (int i = 0; i < NameCount; ++i)
        rows.push_back({QStringLiteral("/home/me/photos/%1/").arg(i / 100), i % 3 != 0, false});
    for (auto _ : state)
        benchmark::DoNotOptimize(enumCounters(rows, true, true));
    state.counters["per_name"] = benchmark::Counter(double(rows.size()), benchmark::Counter::kIsIterationInvariantRate |
                                                                             benchmark::Counter::kInvert);
}
BENCHMARK(BM_EnumCounters);

BENCHMARK_MAIN();
