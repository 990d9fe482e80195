// The Free Select collection at its size limit: a shell drop of up to 32,767
// files onto the Free Select list, and Remove Selected of every row. Both
// look entries up in hash indexes, so the time per entry stays flat as the
// collection grows (the reported complexity is O(N)). And a column click on a
// shown list of 32,767 rows with every other row selected: the selection
// follows the rows.
#include "mainwindow/frmmain.h"
#include "platform/listview.h"
#include "platform/uiservice.h"

#include "qtbenchmain.h"

#include <benchmark/benchmark.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kMost = 32767;

// One folder of 32,767 empty files, made once; the runs take the first n.
struct Fixture {
    QTemporaryDir tmp;
    QList<QUrl> urls;
    Fixture()
    {
        for (const char* var : {"VEXORREN_HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME"})
            qputenv(var, (tmp.path() + QLatin1Char('/') + QLatin1String(var)).toLocal8Bit());
        const QString dir = tmp.path() + QStringLiteral("/files");
        QDir().mkpath(dir);
        for (int i = 0; i < kMost; ++i) {
            const QString path = dir + QStringLiteral("/file %1.txt").arg(i, 5, 10, QLatin1Char('0'));
            const int fd = ::open(QFile::encodeName(path).constData(), O_CREAT | O_WRONLY, 0644);
            if (fd >= 0)
                ::close(fd);
            urls << QUrl::fromLocalFile(path);
        }
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

std::unique_ptr<FrmMain> freeSelectWindow(platform::UiService& ui)
{
    auto w = std::make_unique<FrmMain>(ui, QStringList());
    w->show();
    w->Form_Activate();
    w->findChild<platform::CheckBox*>(QStringLiteral("chkPreview"))->setValue(0);
    w->findChild<platform::TabStrip*>(QStringLiteral("TabStripFilemode"))->selectKey(QStringLiteral("dragdrop"));
    return w;
}

// A drop as the shell delivers it, then the event-loop turn that runs the add.
void dropOnto(platform::ListView* list, const QList<QUrl>& urls)
{
    QMimeData mime;
    mime.setUrls(urls);
    QWidget* viewport = qobject_cast<QAbstractItemView*>(list->activeView())->viewport();
    const QPoint pos = viewport->rect().center();
    QDragEnterEvent enter(pos, Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(viewport, &enter);
    QDropEvent drop(QPointF(pos), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(viewport, &drop);
    QCoreApplication::processEvents();
}

void BM_DropOntoFreeSelect(benchmark::State& state)
{
    Fixture& f = fixture();
    const int n = int(state.range(0));
    const QList<QUrl> urls = f.urls.mid(0, n);
    platform::QtUiService ui;
    auto w = freeSelectWindow(ui);
    for (auto _ : state) {
        state.PauseTiming();
        w->findChild<FreeSelectCommands*>()->mnuDragdropClear_Click();
        state.ResumeTiming();
        dropOnto(w->findChild<platform::ListView*>(QStringLiteral("lwDragDrop")), urls);
        state.PauseTiming();
        if (w->state().files.lstFiles[1].size() != n) {
            state.SkipWithError(qPrintable(
                QStringLiteral("%1 of %2 dropped files were added").arg(w->state().files.lstFiles[1].size()).arg(n)));
            break;
        }
        state.ResumeTiming();
    }
    state.SetComplexityN(n);
    state.SetItemsProcessed(state.iterations() * n);
    w->setExited();
}
BENCHMARK(BM_DropOntoFreeSelect)
    ->RangeMultiplier(2)
    ->Range(4096, kMost)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

void BM_RemoveEverySelectedRow(benchmark::State& state)
{
    Fixture& f = fixture();
    const int n = int(state.range(0));
    const QList<QUrl> urls = f.urls.mid(0, n);
    platform::QtUiService ui;
    auto w = freeSelectWindow(ui);
    for (auto _ : state) {
        state.PauseTiming();
        dropOnto(w->findChild<platform::ListView*>(QStringLiteral("lwDragDrop")), urls);
        w->findChild<platform::ListView*>(QStringLiteral("lwDragDrop"))->reportView()->selectAll();
        state.ResumeTiming();
        w->findChild<FreeSelectCommands*>()->mnuDragdropRemove_Click();
        state.PauseTiming();
        if (!w->state().files.lstFiles[1].isEmpty()) {
            state.SkipWithError("rows were left");
            break;
        }
        state.ResumeTiming();
    }
    state.SetComplexityN(n);
    state.SetItemsProcessed(state.iterations() * n);
    w->setExited();
}
BENCHMARK(BM_RemoveEverySelectedRow)
    ->RangeMultiplier(2)
    ->Range(4096, kMost)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

void BM_SortKeepingTheSelection(benchmark::State& state)
{
    platform::ListView list;
    list.addColumn(QStringLiteral("filename"), QStringLiteral("Name"), 3000);
    list.addColumn(QStringLiteral("preview"), QStringLiteral("Preview"), 3000);
    list.addColumn(QStringLiteral("path"), QStringLiteral("Path"), 3000);
    std::vector<platform::ListRow> rows(kMost);
    for (int i = 0; i < kMost; ++i) {
        // A shuffled order, so every sort moves most rows.
        rows[size_t(i)].cells[0] = QStringLiteral("file %1.txt").arg((i * 7919) % kMost, 5, 10, QLatin1Char('0'));
        rows[size_t(i)].cells[2] = QStringLiteral("/home/user/files/");
    }
    list.setRows(std::move(rows));
    list.setFullRowSelect(true);
    list.resize(800, 600);
    list.show();
    QCoreApplication::processEvents();
    for (int i = 0; i < kMost; i += 2)
        list.setSelected(i, true);
    bool ascending = true;
    for (auto _ : state) {
        list.sortByColumn(0, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
        QCoreApplication::processEvents();
        ascending = !ascending;
    }
    if (list.selectedCount() != (kMost + 1) / 2)
        state.SkipWithError("the selection was lost");
    state.SetItemsProcessed(state.iterations() * kMost);
}
BENCHMARK(BM_SortKeepingTheSelection)->Unit(benchmark::kMillisecond);

} // namespace

VEXORREN_QT_BENCHMARK_MAIN()
