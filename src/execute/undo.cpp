#include "execute/undo.h"
#include "execute/executehost.h"
#include "execute/filetimes.h"
#include "execute/renameentry.h"
#include "execute/runrename.h"
#include "platform/datetext.h"
#include "platform/failure.h"
#include "platform/fileops.h"

namespace {

// Every step from the clean-up on goes on past a failing statement.
template <class F> void tolerant(F&& steps)
{
    try {
        steps();
    } catch (const std::exception&) {
    }
}

// A stored "date time" text as the two texts the file times take.
std::pair<QString, QString> dateAndTime(const QString& stored)
{
    if (stored.trimmed().isEmpty())
        return {};
    if (const auto when = platform::parseDateTimeText(stored))
        return {platform::dateText(when->date()), platform::timeText(when->time())};
    return {stored, QString()}; // does not convert: the restore fails with its warning
}

bool sameStamp(const timespec& a, const timespec& b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

QString stampDate(const timespec& t)
{
    return platform::dateText(platform::toDateTime(t).date());
}

QString stampTime(const timespec& t)
{
    return platform::timeText(platform::toDateTime(t).time());
}

// Puts back the exact stamps a date run recorded. As in the run, a stamp
// that already has its recorded value is no change and gets no line; nothing
// is said of a creation time left as it was (Linux cannot set one; a file
// system without one has none to restore). A file that is gone gets a
// warning for every stamp.
void restoreExactDates(ExecuteHost& h, const UndoFileItem& rec, qint32 position)
{
    const QString path = rec.dir + rec.oldName;
    const auto info = platform::entryInfo(path);
    const bool found = info && !info->isDir;
    bool timesOk = false;
    if (found) {
        try {
            platform::setFileTimes(path, rec.accessedStamp, rec.modifiedStamp);
            timesOk = true;
        } catch (const platform::Failure&) {
        }
    }
    const bool createdKept =
        found && (!rec.hadBirthTime || !info->hasBirthTime || sameStamp(info->born, rec.bornStamp));
    struct Stamp {
        const char* done;
        const char* failed;
        timespec before;
        timespec target;
        bool restored;
        bool report;
    };
    const timespec none{};
    const Stamp stamps[3] = {
        {"File Created Date Changed: ", "WARNING! Change File Created Date Failed: ",
         found ? (info->hasBirthTime ? info->born : info->modified) : none, rec.bornStamp, false, !createdKept},
        {"File Accessed Date Changed: ", "WARNING! Change File Accessed Date Failed: ", found ? info->accessed : none,
         rec.accessedStamp, timesOk, !found || !sameStamp(info->accessed, rec.accessedStamp)},
        {"File Modified Date Changed: ", "WARNING! Change File Modified Date Failed: ", found ? info->modified : none,
         rec.modifiedStamp, timesOk, !found || !sameStamp(info->modified, rec.modifiedStamp)},
    };
    bool failed = false;
    for (const Stamp& s : stamps) {
        if (!s.report)
            continue;
        failed = failed || !s.restored;
        const QString before =
            found ? stampDate(s.before) + QLatin1Char(' ') + stampTime(s.before) : QStringLiteral(" ");
        reportEntryLine(h, QLatin1String(s.restored ? s.done : s.failed), rec.dir,
                        rec.oldName + QStringLiteral(" [") + before + QStringLiteral("] --> [") + stampDate(s.target) +
                            QLatin1Char(' ') + stampTime(s.target) + QStringLiteral("]"),
                        showsFullPath(h));
    }
    if (failed) {
        countWarning(h);
    } else {
        report(h).setCount(RunCount::Files, QString::number(position + 1) + QStringLiteral(" Files Changed."));
    }
    stepExecuteProgress(h);
}

void restoreDates(ExecuteHost& h)
{
    UndoStore& u = h.undo();
    const char* done[3] = {
        "File Created Date Changed: ", "File Accessed Date Changed: ", "File Modified Date Changed: "};
    const char* failed[3] = {
        "WARNING! Change File Created Date Failed: ", "WARNING! Change File Accessed Date Failed: ",
        "WARNING! Change File Modified Date Failed: "};
    OldFileDates old;
    for (qint32 p = 0; p < u.undoFileCount && h.run().logFailure.isEmpty(); ++p) {
        const UndoFileItem& rec = u.undoFiles[size_t(p)];
        if (rec.exactStamps) {
            restoreExactDates(h, rec, p);
            continue;
        }
        const std::pair<QString, QString> target[3] = {dateAndTime(rec.created), dateAndTime(rec.accessed),
                                                       dateAndTime(rec.modified)};
        SetDatesResult result;
        try {
            result = setFileDates(rec.dir + rec.oldName, target[0].first, target[0].second, target[1].first,
                                  target[1].second, target[2].first, target[2].second, old);
        } catch (const platform::Failure&) {
            result = {};
        }
        const bool ok = result.ok && !result.createdRefused;
        const std::pair<QString, QString> before[3] = {{old.createdDate, old.createdTime},
                                                       {old.accessedDate, old.accessedTime},
                                                       {old.modifiedDate, old.modifiedTime}};
        for (int i = 0; i < 3; ++i) {
            // A stamp that already had its old value is no change.
            if (result.ok && !result.changes[size_t(i)] && !(i == 0 && result.createdRefused))
                continue;
            reportEntryLine(h, QLatin1String(ok ? done[i] : failed[i]), rec.dir,
                            rec.oldName + QStringLiteral(" [") + before[i].first + QLatin1Char(' ') + before[i].second +
                                QStringLiteral("] --> [") + target[i].first + QLatin1Char(' ') + target[i].second +
                                QStringLiteral("]"),
                            showsFullPath(h));
        }
        if (ok)
            report(h).setCount(RunCount::Files, QString::number(p + 1) + QStringLiteral(" Files Changed."));
        else
            countWarning(h);
        stepExecuteProgress(h);
    }
}

template <class Item> void restoreAttributes(ExecuteHost& h, const Item& rec, bool isDir, qint32 position)
{
    const QString tail = rec.oldName + QStringLiteral(" [") + rec.attrNewText + QStringLiteral("] -> [") +
                         rec.attrOldText + QStringLiteral("]");
    // The log window shows the name alone here, whatever the option says.
    try {
        platform::restoreAttributes(rec.dir + rec.oldName, rec.attrOld, rec.dosAttribOld);
        reportEntryLine(
            h, isDir ? QStringLiteral("Directory Attribute Changed: ") : QStringLiteral("File Attribute Changed: "),
            rec.dir, tail, false);
        if (isDir)
            report(h).setCount(RunCount::Dirs, QString::number(position) + QStringLiteral(" Directories Changed."));
        else
            report(h).setCount(RunCount::Files, QString::number(position) + QStringLiteral(" Files Changed."));
    } catch (const platform::Failure&) {
        reportEntryLine(h,
                        isDir ? QStringLiteral("WARNING! Dir attribute change failed: ")
                              : QStringLiteral("WARNING! File attribute change failed: "),
                        rec.dir, tail, false);
        countWarning(h);
    }
    stepExecuteProgress(h);
}

// Free Select: the collection's paths follow an entry renamed back.
void repathRebuild(std::vector<RebuildItem>& items, const QString& from, const QString& to, bool below)
{
    for (RebuildItem& item : items) {
        if (item.path == from)
            item.path = to;
        else if (below && item.path.startsWith(from + QLatin1Char('/')))
            item.path = to + item.path.mid(from.size());
    }
}

void restoreNames(ExecuteHost& h)
{
    UndoStore& u = h.undo();
    RunState& r = h.run();
    const bool freeSelect = h.mode() == 1;
    for (qint32 i = u.undoDirCount - 1; i >= 0 && r.logFailure.isEmpty(); --i) {
        const UndoDirItem rec = u.undoDirs[size_t(i)];
        QString back = rec.oldName;
        const bool renamed = renameDir(h, rec.newName, back, rec.dir, NameForm::Verbatim);
        stepExecuteProgress(h);
        if (freeSelect && renamed) {
            repathRebuild(r.rebuildFiles, rec.dir + rec.newName, rec.dir + rec.oldName, true);
            repathRebuild(r.rebuildDirs, rec.dir + rec.newName, rec.dir + rec.oldName, true);
        }
    }
    // Last to first, as for directories: a chain ("b" to "c", then "a" to "b")
    // comes back completely.
    for (qint32 i = u.undoFileCount - 1; i >= 0 && r.logFailure.isEmpty(); --i) {
        const UndoFileItem rec = u.undoFiles[size_t(i)];
        QString back = rec.oldName;
        const bool renamed = renameFile(h, rec.newName, back, rec.dir, NameForm::Verbatim);
        stepExecuteProgress(h);
        if (freeSelect && renamed)
            repathRebuild(r.rebuildFiles, rec.dir + rec.newName, rec.dir + rec.oldName, false);
    }
    showCaption(h, QStringLiteral("Status: Checking Files..."));
    h.ui->setMousePointer(11);
    setStatus(h, QStringLiteral("Checking Files..."));
    repathOtherMode(h, true);
}

void removeCreatedDirectories(ExecuteHost& h)
{
    QStringList& created = h.undo().createdDirs;
    for (qsizetype i = created.size() - 1; i >= 1 && h.run().logFailure.isEmpty(); --i) {
        const QString path = created[i];
        try {
            platform::removeDirectory(path);
            reportLine(h, QStringLiteral("Deleted directory: ") + path);
        } catch (const platform::Failure&) {
            reportLine(h, QStringLiteral("WARNING: Failed to delete directory <") + path + QStringLiteral(">"));
            countWarning(h);
        }
    }
    created = QStringList{QString()};
}

} // namespace

void runUndo(ExecuteHost& h)
{
    if (executeLocked(h))
        return;
    CommandScope active(h);
    if (h.ui->message(h.window, QStringLiteral("Vexor Renamer"), QStringLiteral("Undo last operation?"),
                      QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) != QMessageBox::Yes)
        return;
    RunState& r = h.run();
    UndoStore& u = h.undo();
    r.logFailure.clear();
    if (!activityLogReady(h))
        return; // nothing changed: the Undo stays available
    const qint16 orderChangedBefore = h.files->listOrderChanged;
    r.cancelRequested = 0;
    stopPreview(*h.preview);
    r.undoInProgress = -1;
    *h.executeBusy = -1;

    openRunReport(h);
    setProgressMax(h, double(u.undoFileCount) + double(u.undoDirCount));
    showCaption(h, QStringLiteral("Status: Preparing..."));
    setStatus(h, QStringLiteral("Status: Preparing..."));
    h.ui->setMousePointer(11);
    serveEvents(h);
    report(h).setStage(RunStage::Uncancellable);
    h.window->setEnabled(false);

    r.filesDone = 0;
    r.dirsDone = 0;
    r.warningCount = 0;
    addToCount(h.settings->totNumberOfFilesRenamedNew, -qint64(u.undoFileCount));
    addToCount(h.settings->totNumberOfDirsRenamedNew, -qint64(u.undoDirCount));

    tolerant([&] {
        beginBookkeeping(h);
        r.rebuildFiles.clear();
        r.rebuildDirs.clear();
        if (h.mode() == 1) {
            for (const QString& p : h.files->lstFiles[1])
                r.rebuildFiles.push_back({p, 0});
            for (const QString& p : h.files->lstDirs[1])
                r.rebuildDirs.push_back({p, 0});
        }
        takeSnapshots(h);
    });

    h.ui->setMousePointer(0);
    showCaption(h, QStringLiteral("Status: Renaming..."));
    setStatus(h, QStringLiteral("Status: Renaming..."));
    serveEvents(h);

    tolerant([&] {
        if (u.undoIsChange == 0) {
            restoreNames(h);
        } else if (u.undoIsDates == -1) {
            restoreDates(h);
        } else {
            qint32 p = 0;
            for (qint32 i = u.undoDirCount - 1; i >= 0 && r.logFailure.isEmpty(); --i)
                restoreAttributes(h, u.undoDirs[size_t(i)], true, ++p);
            p = 0;
            for (qint32 i = 0; i < u.undoFileCount && r.logFailure.isEmpty(); ++i)
                restoreAttributes(h, u.undoFiles[size_t(i)], false, ++p);
        }
    });

    tolerant([&] { removeCreatedDirectories(h); });
    tolerant([&] {
        if (h.mode() == 0) {
            reloadDirectoryMode(h);
        } else {
            rebuildFreeSelect(h);
        }
    });
    // The rows go back to the order the user gave them under the run's own
    // rule; otherwise the reload's sort order stands, so a restored name is
    // not left at the place its renamed form had.
    tolerant([&] {
        if (h.settings->keepFileOrder == 1 && (orderChangedBefore == -1 || h.mode() == 1))
            restoreOrder(h, false);
    });
    tolerant([&] { restoreSelection(h); });
    tolerant([&] {
        if (h.updateSelectionCount)
            h.updateSelectionCount(true);
    });

    showCaption(h, QStringLiteral("Status: Ready!"));
    setStatus(h, QStringLiteral("Ready!"));
    report(h).setStage(RunStage::Finished);
    h.ui->setMousePointer(0);
    *h.executeBusy = 0;
    if (h.setUndoEnabled)
        h.setUndoEnabled(false);
    reportLogStopped(h);
    if (h.settings->autoCloseLogWindow == 1)
        report(h).dismiss();
}
