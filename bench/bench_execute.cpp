// A Replace run of "Rename!" inside the program (re-reads, pass, log window,
// activity log, restore steps) against the bare file-system work it does:
// renameat2 plus one appended log line per file.
#include "execute/frmexecute.h"
#include "execute/runrename.h"
#include "mainwindow/frmmain.h"
#include "platform/uiservice.h"

#include "qtbenchmain.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

// A run that logged an error ends with a message box; the benchmark must not wait on it.
class SilentUi : public platform::QtUiService {
public:
    QMessageBox::StandardButton message(QWidget*, const QString&, const QString&, QMessageBox::Icon,
                                        QMessageBox::StandardButtons, QMessageBox::StandardButton) override
    {
        return QMessageBox::Ok;
    }
};

void makeFiles(const QString& dir, int n)
{
    QDir(dir).removeRecursively();
    QDir().mkpath(dir);
    for (int i = 1; i <= n; ++i) {
        QFile f(dir + QStringLiteral("/file_%1.txt").arg(i, 5, 10, QLatin1Char('0')));
        f.open(QIODevice::WriteOnly);
    }
}

void BM_RunReplace(benchmark::State& state)
{
    QTemporaryDir tmp;
    qputenv("VEXORREN_HOME", tmp.path().toLocal8Bit());
    const QString dir = tmp.path() + QStringLiteral("/files");
    const int n = int(state.range(0));
    SilentUi ui;
    for (auto _ : state) {
        state.PauseTiming();
        makeFiles(dir, n);
        auto w = std::make_unique<FrmMain>(ui, QStringList());
        w->show();
        w->Form_Activate();
        w->findChild<platform::CheckBox*>(QStringLiteral("chkPreview"))->setValue(0);
        w->findChild<QComboBox*>(QStringLiteral("txtPath"))->setEditText(dir);
        w->readDirectory();
        w->updateFileViews();
        w->findChild<platform::TabStrip*>(QStringLiteral("TabStrip"))->selectKey(QStringLiteral("Replace"));
        w->findChild<platform::OptionButton*>(QStringLiteral("optReplaceSingle"))->select();
        w->findChild<platform::TextBox*>(QStringLiteral("txtFind"))->setText(QStringLiteral("file"));
        w->findChild<platform::TextBox*>(QStringLiteral("txtReplace"))->setText(QStringLiteral("item"));
        state.ResumeTiming();
        w->cmdExecute_Click();
        state.PauseTiming();
        if (w->executeState().run.filesDone != n)
            state.SkipWithError("not every file was renamed");
        w->setExited();
        w.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_RunReplace)->Arg(1000)->Arg(32767)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_PlainRename(benchmark::State& state)
{
    QTemporaryDir tmp;
    const QString dir = tmp.path() + QStringLiteral("/files");
    const QByteArray log = (tmp.path() + QStringLiteral("/log.txt")).toLocal8Bit();
    const int n = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        makeFiles(dir, n);
        const QStringList names = QDir(dir).entryList(QDir::Files);
        state.ResumeTiming();
        for (const QString& name : names) {
            QString target = name;
            target.replace(QStringLiteral("file"), QStringLiteral("item"));
            const QByteArray from = (dir + QLatin1Char('/') + name).toLocal8Bit();
            const QByteArray to = (dir + QLatin1Char('/') + target).toLocal8Bit();
            if (renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) != 0)
                continue;
            const QByteArray line = "(now) File Renamed: " + from + " --> " + to + "\n";
            const int fd = ::open(log.constData(), O_WRONLY | O_APPEND | O_CREAT, 0644);
            if (fd >= 0) {
                benchmark::DoNotOptimize(::write(fd, line.constData(), size_t(line.size())));
                ::close(fd);
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_PlainRename)->Arg(1000)->Arg(32767)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

VEXORREN_QT_BENCHMARK_MAIN()
