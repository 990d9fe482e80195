// A full preview of 32,767 rows in the real row model, against the bare
// transform loop over the same names, and the time to the first five rows.
#include "engine/convertcase.h"
#include "engine/enumerate.h"
#include "engine/findreplace.h"
#include "engine/logs.h"
#include "engine/preview.h"
#include "engine/processpart.h"
#include "engine/random.h"
#include "platform/listview.h"
#include "platform/uiservice.h"

#include "qtbenchmain.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

namespace {

constexpr int kRows = 32767;

struct Fixture {
    QTemporaryDir dir;
    Logs logs{dir.path()};
    RandomSource random{1};
    ConfigTables tables;
    platform::ListView list;
    PreviewState state;
    Fixture()
    {
        list.addColumn("filename", "Name", 3000);
        list.addColumn("preview", "Preview", 3000);
        list.addColumn("path", "Path", 3000);
        std::vector<platform::ListRow> rows(kRows);
        for (int i = 0; i < kRows; ++i) {
            rows[size_t(i)].cells[0] = QStringLiteral("Holiday photo %1 - beach and sunset.jpg").arg(i);
            rows[size_t(i)].cells[2] = QStringLiteral("/home/user/Pictures/%1/").arg(i / 1000);
        }
        list.setRows(std::move(rows));
    }
    PreviewInputs inputs(const QString& mode, const RenameOptions& o)
    {
        PreviewInputs in;
        in.model = list.model();
        in.selection = list.selectionModel();
        in.executeEnabled = [] { return true; };
        in.mode = modeFromKey(mode).value();
        in.options = o;
        in.services = {&logs, &random, &tables, {}, {}, {}};
        in.yield = platform::throttledYield();
        return in;
    }
};

Fixture& fixture()
{
    static Fixture* f = new Fixture; // outlives the application object on purpose
    return *f;
}

RenameOptions optionsFor(int mode)
{
    RenameOptions o;
    o.findText = "photo";
    o.replaceText = "picture";
    o.enumAutoDigits = 1;
    return o;
}

const char* kModes[] = {"Replace", "Case", "Enum"};

void BM_Preview(benchmark::State& state)
{
    Fixture& f = fixture();
    const QString mode = QString::fromLatin1(kModes[state.range(0)]);
    const RenameOptions o = optionsFor(int(state.range(0)));
    for (auto _ : state)
        generatePreview(f.state, f.inputs(mode, o), f.random, f.logs);
    state.SetItemsProcessed(state.iterations() * kRows);
    state.SetLabel(mode.toStdString());
}

// The same names through the bare transform, nothing else.
void BM_BareTransform(benchmark::State& state)
{
    Fixture& f = fixture();
    const RenameOptions o = optionsFor(int(state.range(0)));
    const EnumContext context{false, 0, kRows};
    for (auto _ : state) {
        for (int i = 0; i < kRows; ++i) {
            const QString& name = f.list.text(i);
            QString out;
            switch (state.range(0)) {
            case 0: {
                const ProcessPart split = splitProcessPart(name, o);
                out = joinProcessPart(replaceSingle(split.part, o, f.logs), split);
                break;
            }
            case 1:
                out = convertCase(name, o, f.tables.exceptionWords, f.random);
                break;
            default:
                out = enumerateName(name, i + 1, o, context);
                break;
            }
            benchmark::DoNotOptimize(out);
        }
    }
    state.SetItemsProcessed(state.iterations() * kRows);
    state.SetLabel(kModes[state.range(0)]);
}

// From an option change (a new request) to the first five rows written.
void BM_FirstFiveRows(benchmark::State& state)
{
    Fixture& f = fixture();
    const RenameOptions o = optionsFor(0);
    for (auto _ : state) {
        QElapsedTimer clock;
        PreviewInputs in = f.inputs("Replace", o);
        qint64 firstYield = -1;
        in.yield = [&] {
            if (firstYield < 0)
                firstYield = clock.nsecsElapsed();
            f.state.previewRequested = -1; // stop: only the first rows are timed
        };
        clock.start();
        generatePreview(f.state, in, f.random, f.logs);
        f.state.previewRequested = 0;
        state.SetIterationTime(double(firstYield) / 1e9);
    }
}

} // namespace

BENCHMARK(BM_Preview)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareTransform)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstFiveRows)->UseManualTime()->Unit(benchmark::kMicrosecond);

VEXORREN_QT_BENCHMARK_MAIN()
