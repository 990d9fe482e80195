#include "execute/runrename.h"
#include "execute/dragdropadd.h"
#include "execute/passes.h"
#include "platform/failure.h"

#include <algorithm>
#include <QItemSelection>

namespace {

using PositionIndex = QHash<QString, std::vector<int>>;

QString rowPath(const platform::ListView* list, int row)
{
    return list->subItem(row, 2) + list->text(row);
}

PositionIndex rowIndex(const platform::ListView* list)
{
    PositionIndex index;
    index.reserve(list->count());
    for (int r = 0; r < list->count(); ++r)
        index[rowPath(list, r)].push_back(r);
    return index;
}

void movePosition(PositionIndex& index, const QString& from, const QString& to, int oldPos, int newPos)
{
    std::vector<int>& a = index[from];
    a.erase(std::remove(a.begin(), a.end(), oldPos), a.end());
    if (a.empty())
        index.remove(from);
    std::vector<int>& b = index[to];
    b.insert(std::lower_bound(b.begin(), b.end(), newPos), newPos);
}

// Runs one group of the command's steps; a failure nothing else caught is
// logged and the command goes on with its next steps, so the main window is
// never left disabled.
template <class F> void guarded(ExecuteHost& h, const char* stage, F&& steps)
{
    try {
        steps();
    } catch (const platform::Failure& f) {
        h.logs->logError(f.errorText() + QStringLiteral("cmdExecute_Click: ") + QLatin1String(stage));
    } catch (const std::exception&) {
        h.logs->logError(platform::makeFailure(platform::failures::Overflow).errorText() +
                         QStringLiteral("cmdExecute_Click: ") + QLatin1String(stage));
    }
}

// The first rename at or after `from` whose old path is `path`, or -1.
qsizetype firstRecord(const QHash<QString, std::vector<qsizetype>>& byOld, const QString& path, qsizetype from)
{
    const auto it = byOld.find(path);
    if (it == byOld.end())
        return -1;
    const auto at = std::lower_bound(it->begin(), it->end(), from);
    return at == it->end() ? -1 : *at;
}

// Where a path of the collection ends up after the directory renames made from
// `stamp` on: each rename of the path itself or of a directory above it moves it.
QString movedPath(QString path, qsizetype stamp, const QHash<QString, std::vector<qsizetype>>& byOld,
                  const std::vector<std::pair<QString, QString>>& renames)
{
    for (;;) {
        qsizetype best = -1;
        qsizetype cut = path.size();
        while (cut > 0) {
            const qsizetype idx = firstRecord(byOld, path.left(cut), stamp);
            if (idx >= 0 && (best < 0 || idx < best))
                best = idx;
            cut = path.lastIndexOf(QLatin1Char('/'), cut - 1);
        }
        if (best < 0)
            return path;
        const auto& [from, to] = renames[size_t(best)];
        path = to + path.mid(from.size());
        stamp = best + 1;
    }
}

// Renamed entries of one kind: the index of every record by its old full path.
template <class Item>
QHash<QString, std::vector<qsizetype>> recordsByOldPath(const std::vector<Item>& records, qsizetype count)
{
    QHash<QString, std::vector<qsizetype>> byOld;
    for (qsizetype i = 0; i < count && size_t(i) < records.size(); ++i)
        byOld[records[size_t(i)].dir + records[size_t(i)].oldName].push_back(i);
    return byOld;
}

template <class Item>
void repathList(QStringList& items, platform::ListView* rows, PositionIndex& rowPositions,
                const std::vector<Item>& records, qsizetype count)
{
    const auto byOld = recordsByOldPath(records, count);
    if (byOld.isEmpty())
        return;
    for (QString& item : items) {
        qsizetype from = 0;
        for (;;) {
            const qsizetype idx = firstRecord(byOld, item, from);
            if (idx < 0)
                break;
            const Item& rec = records[size_t(idx)];
            const QString oldPath = item;
            const QString newPath = rec.dir + rec.newName;
            item = newPath;
            const auto it = rowPositions.find(oldPath);
            if (it != rowPositions.end() && !it->empty()) {
                const int row = it->front();
                rows->setText(row, rec.newName);
                movePosition(rowPositions, oldPath, rowPath(rows, row), row, row);
                break;
            }
            from = idx + 1;
        }
    }
}

void percentStatus(ExecuteHost& h, const QString& head, int percent, int& shown)
{
    if (percent == shown)
        return;
    shown = percent;
    setStatus(h, head + QString::number(percent) + QLatin1Char('%'));
}

// A fresh undo store; the result is the maximum of the progress bar.
double prepareStore(ExecuteHost& h)
{
    const qint16 fm = h.mode();
    RunState& r = h.run();
    h.undo().reset(h.files->lstFiles[fm].size(), h.files->lstDirs[fm].size());
    r.undoInProgress = 0;
    r.filesDone = 0;
    r.dirsDone = 0;
    r.warningCount = 0;
    double dirs = 0, files = 0;
    if (fm == 0) {
        dirs = h.ticks.dirs == 1 ? double(h.files->lstDirs[0].size()) : 0;
        files = h.ticks.files == 1 ? double(h.files->lstFiles[0].size()) : 0;
    } else {
        dirs = double(h.files->lstDirs[1].size());
        files = double(h.files->lstFiles[1].size());
    }
    if (*h.dirsAllowed == 0)
        dirs = 0;
    return files + dirs;
}

void openRunWindow(ExecuteHost& h)
{
    *h.executeBusy = -1;
    openRunReport(h).setStage(RunStage::Cancellable);
    showCaption(h, QStringLiteral("Status: Preparing..."));
}

// The lists the pass walks.
void preparePass(ExecuteHost& h, RenameMode mode)
{
    if (h.mode() == 0) {
        if (mode != RenameMode::Enum && h.readDirectory && !h.listingJustRead) {
            h.readDirectory();
            // A folder gone since the preview (or too large now) is a failure of
            // the run, not a run over nothing.
            if (!h.files->readFailure.isEmpty()) {
                reportLine(h, QStringLiteral("Warning! Could not read the working folder: ") + h.files->readFailure);
                countWarning(h);
            }
        }
        if (h.ticks.dirs == 0)
            h.files->lstDirs[0].clear();
        if (h.ticks.files == 0)
            h.files->lstFiles[0].clear();
        return;
    }
    RunState& r = h.run();
    r.rebuildFiles.clear();
    r.rebuildDirs.clear();
    r.filesHandled.assign(size_t(h.files->lstFiles[1].size()), 0);
    r.dirsHandled.assign(size_t(h.files->lstDirs[1].size()), 0);
}

void reload(ExecuteHost& h)
{
    if (h.mode() == 0) {
        if (!h.closesAfterRun)
            reloadDirectoryMode(h);
        return;
    }
    if (h.undo().undoIsChange != 0)
        return; // attributes and dates: the rows stay as they are
    completeRebuildLists(h);
    rebuildFreeSelect(h);
}

void finishWindow(ExecuteHost& h)
{
    showCaption(h, QStringLiteral("Status: Ready!"));
    setStatus(h, QStringLiteral("Ready!"));
    report(h).setStage(RunStage::Finished);
}

} // namespace

void reloadDirectoryMode(ExecuteHost& h)
{
    if (h.readDirectory)
        h.readDirectory();
    if (h.updateFileViews)
        h.updateFileViews();
    h.ui->setMousePointer(11);
}

void beginBookkeeping(ExecuteHost& h)
{
    RunState& r = h.run();
    r.iconKeys.reset();
    r.rebuildFiles.clear();
    r.rebuildDirs.clear();
    r.dirRenames.clear();
    r.filesHandled.clear();
    r.dirsHandled.clear();
    r.sinceYield.invalidate();
}

void takeSnapshots(ExecuteHost& h)
{
    const platform::ListView* list = h.activeList();
    const int n = list->count();
    std::vector<char> selected(size_t(n), 0);
    for (const QModelIndex& i : list->selectionModel()->selectedRows())
        if (i.row() >= 0 && i.row() < n)
            selected[size_t(i.row())] = 1;
    QStringList listed, chosen;
    listed.reserve(n);
    for (int row = 0; row < n; ++row) {
        listed.push_back(rowPath(list, row));
        if (selected[size_t(row)])
            chosen.push_back(listed.back());
    }
    RunState& r = h.run();
    r.listedPaths.assign(std::move(listed));
    r.selectedAtStart = chosen;
    r.selectedAtStartSet = QSet<QString>(chosen.begin(), chosen.end());
    r.selectedPaths.assign(std::move(chosen));
}

void completeRebuildLists(ExecuteHost& h)
{
    RunState& r = h.run();
    // Entries the pass never accounted for (Cancel, a files-only pass, a
    // failure) stay in the collection as they were.
    for (size_t i = 0; i < r.filesHandled.size() && i < size_t(h.files->lstFiles[1].size()); ++i)
        if (!r.filesHandled[i])
            r.rebuildFiles.push_back({h.files->lstFiles[1][qsizetype(i)], 0});
    for (size_t i = 0; i < r.dirsHandled.size() && i < size_t(h.files->lstDirs[1].size()); ++i)
        if (!r.dirsHandled[i])
            r.rebuildDirs.push_back({h.files->lstDirs[1][qsizetype(i)], 0});
    r.filesHandled.clear();
    r.dirsHandled.clear();
    if (r.dirRenames.empty())
        return;
    QHash<QString, std::vector<qsizetype>> byOld;
    for (size_t i = 0; i < r.dirRenames.size(); ++i)
        byOld[r.dirRenames[i].first].push_back(qsizetype(i));
    for (auto* list : {&r.rebuildFiles, &r.rebuildDirs})
        for (RebuildItem& item : *list) {
            item.path = movedPath(item.path, item.stamp, byOld, r.dirRenames);
            item.stamp = qsizetype(r.dirRenames.size());
        }
}

void rebuildFreeSelect(ExecuteHost& h)
{
    RunState& r = h.run();
    showCaption(h, QStringLiteral("Status: Checking Files..."));
    h.lwDragDrop->clear();
    h.files->lstDirs[1].clear();
    h.files->lstFiles[1].clear();
    serveEvents(h);
    const double total = double(r.rebuildFiles.size() + r.rebuildDirs.size());
    int shown = -1;
    {
        FreeSelectAdder adder(freeSelectTarget(h));
        size_t i = 0;
        for (auto* list : {&r.rebuildFiles, &r.rebuildDirs})
            for (RebuildItem& item : *list) {
                adder.add(item.path);
                ++i;
                percentStatus(h, QStringLiteral("Checking Files... "), int(double(i) / total * 100), shown);
            }
    }
    if (h.ticks.thumbnailsFreeSelect == 1 && h.generateThumbnailsFreeSelect)
        h.generateThumbnailsFreeSelect();
}

void repathOtherMode(ExecuteHost& h, bool reverse)
{
    const int other = h.mode() == 0 ? 1 : 0;
    if (h.files->lstFiles[other].isEmpty() && h.files->lstDirs[other].isEmpty())
        return;
    platform::ListView* rows = h.otherList();
    PositionIndex positions = rowIndex(rows);
    const UndoStore& u = h.undo();
    if (!reverse) {
        const RunState& r = h.run();
        repathList(h.files->lstFiles[other], rows, positions, u.undoFiles, r.filesDone);
        repathList(h.files->lstDirs[other], rows, positions, u.undoDirs, r.dirsDone);
        return;
    }
    // Undo: the records read from their new name back to their old one.
    auto reversed = [](auto records, qsizetype count) {
        records.resize(size_t(std::min<qsizetype>(count, qsizetype(records.size()))));
        for (auto& rec : records)
            std::swap(rec.oldName, rec.newName);
        return records;
    };
    const auto files = reversed(u.undoFiles, u.undoFileCount);
    const auto dirs = reversed(u.undoDirs, u.undoDirCount);
    repathList(h.files->lstFiles[other], rows, positions, files, qsizetype(files.size()));
    repathList(h.files->lstDirs[other], rows, positions, dirs, qsizetype(dirs.size()));
}

void restoreOrder(ExecuteHost& h, bool progress)
{
    if (!h.swapListItems)
        return;
    platform::ListView* list = h.activeList();
    const QStringList& listed = h.run().listedPaths.items();
    // The last snapshotted position needs no search: the others put it in place.
    qsizetype n = listed.size() - 1;
    n = std::min<qsizetype>(n, list->count());
    PositionIndex positions = rowIndex(list);
    int shown = -1;
    for (qsizetype i = 0; i < n; ++i) {
        const QString& wanted = listed[i];
        const auto it = positions.constFind(wanted);
        int j = -1;
        if (it != positions.constEnd())
            for (int p : *it)
                if (p != int(i)) {
                    j = p;
                    break;
                }
        if (j < 0) {
            if (progress)
                percentStatus(h, QStringLiteral("Restoring Order... "), int(double(i) / double(n) * 100), shown);
            continue;
        }
        const QString displaced = rowPath(list, int(i));
        h.swapListItems(int(i) + 1, j + 1);
        movePosition(positions, wanted, wanted, j, int(i));
        movePosition(positions, displaced, displaced, int(i), j);
    }
}

void restoreSelection(ExecuteHost& h)
{
    platform::ListView* list = h.activeList();
    if (h.mode() == 1 && list->count() > 0) {
        const int current = list->currentRow();
        if (current >= 0)
            list->setSelected(current, false);
    }
    setStatus(h, QStringLiteral("Restoring Selection..."));
    const QStringList& wanted = h.run().selectedPaths.items();
    if (wanted.isEmpty() || list->model()->columnCount() == 0)
        return;
    const QSet<QString> set(wanted.begin(), wanted.end());
    QItemSelection selection;
    int runStart = -1;
    const int n = list->count();
    for (int row = 0; row <= n; ++row) {
        const bool on = row < n && set.contains(rowPath(list, row));
        if (on && runStart < 0)
            runStart = row;
        if (!on && runStart >= 0) {
            selection.select(list->model()->index(runStart, 0), list->model()->index(row - 1, 0));
            runStart = -1;
        }
    }
    if (!selection.isEmpty())
        list->selectionModel()->select(selection, QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void runRename(ExecuteHost& h)
{
    if (executeLocked(h))
        return;
    CommandScope active(h);
    RunState& r = h.run();

    // The options are checked once more; a disabled "Rename!" ends here.
    if (h.updateExecuteButton)
        h.updateExecuteButton();
    if (h.executeEnabled && !h.executeEnabled())
        return;
    r.logFailure.clear();
    // No change without its line in "log.txt": a log that cannot take one stops the run here.
    if (!activityLogReady(h)) {
        r.outcome = RunOutcome::NotStarted;
        return;
    }

    // Busy.
    h.ui->setMousePointer(11);
    h.window->setEnabled(false);
    setStatus(h, QStringLiteral("Preparing..."));
    serveEvents(h);

    // A pending or running preview stops.
    const qint16 orderChangedBefore = h.files->listOrderChanged;
    stopPreview(*h.preview);
    r.cancelRequested = 0;
    serveEvents(h);
    // A listing read for this run counts as the run's own read: what it logged stays.
    if (!h.listingJustRead)
        h.logs->errorLogged = 0;

    const RenameMode mode = h.renameMode();
    const RenameOptions options = h.readOptions();
    double total = 0;
    guarded(h, "prepare", [&] {
        beginBookkeeping(h);
        total = prepareStore(h);
    });
    openRunWindow(h);
    guarded(h, "snapshots", [&] {
        takeSnapshots(h);
        preparePass(h, mode);
    });

    // The pass runs with the normal pointer.
    setProgressMax(h, total);
    showCaption(h, QStringLiteral("Status: Renaming..."));
    setStatus(h, QStringLiteral("Renaming..."));
    serveEvents(h);
    h.ui->setMousePointer(0);

    // The passes catch what reaches them; this is the last net.
    guarded(h, "pass", [&] { dispatchPass(h, mode, options); });

    // From here on the run can no longer be cancelled.
    h.ui->setMousePointer(11);
    report(h).setStage(RunStage::Uncancellable);
    showCaption(h, QStringLiteral("Status: Checking Files..."));
    setStatus(h, QStringLiteral("Checking Files..."));

    guarded(h, "reload", [&] { reload(h); });
    guarded(h, "other mode", [&] {
        showCaption(h, QStringLiteral("Status: Checking Files..."));
        setStatus(h, QStringLiteral("Checking Files..."));
        if (h.undo().undoIsChange == 0)
            repathOtherMode(h);
    });
    guarded(h, "order", [&] {
        if (h.settings->keepFileOrder == 1 && (orderChangedBefore == -1 || h.mode() == 1)) {
            setStatus(h, QStringLiteral("Restoring Order..."));
            restoreOrder(h, true);
        }
    });
    guarded(h, "selection", [&] { restoreSelection(h); });

    // Undo button and statistics.
    if (h.setUndoEnabled)
        h.setUndoEnabled(r.filesDone > 0 || r.dirsDone > 0);
    addToCount(h.settings->totNumberOfFilesRenamedNew, r.filesDone);
    addToCount(h.settings->totNumberOfDirsRenamedNew, r.dirsDone);

    // The count is taken although the hourglass still shows.
    guarded(h, "selection count", [&] {
        if (h.updateSelectionCount)
            h.updateSelectionCount(true);
    });

    // The log window's finished state; from here it may close.
    finishWindow(h);
    h.ui->setMousePointer(0);
    *h.executeBusy = 0;
    // The run and the reads before it reported such names once; the next
    // period up to and including the next run reports them again.
    h.files->undecodableReported.clear();

    reportLogStopped(h);
    r.outcome = r.warningCount > 0 || h.logs->errorLogged == -1 || !r.logFailure.isEmpty() ? RunOutcome::SomeFailed
                                                                                           : RunOutcome::Done;
    if (h.logs->errorLogged == -1) {
        h.ui->message(report(h).dialogParent(), QStringLiteral("Vexor Renamer"),
                      QStringLiteral("There were errors during execution!"), QMessageBox::Critical, QMessageBox::Ok,
                      QMessageBox::Ok);
        h.logs->errorLogged = 0;
    }
    if (h.settings->autoCloseLogWindow == 1)
        report(h).dismiss();
}
