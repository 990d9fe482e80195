#pragma once
#include "execute/undostore.h"
#include "platform/fileops.h"

#include <array>
#include <optional>
#include <QElapsedTimer>
#include <QHash>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

class FrmExecute;
class RunReport;

// A list of full paths with an index of where each path sits, so that a run
// replaces a renamed path without scanning the whole list for every entry.
class PathSnapshot {
public:
    void assign(QStringList items);
    void clear() { assign({}); }
    const QStringList& items() const { return items_; }
    qsizetype size() const { return items_.size(); }
    bool contains(const QString& path) const { return first_.contains(path); }
    // Every item equal to `from` becomes `to`.
    void replaceAll(const QString& from, const QString& to);

private:
    QStringList items_;
    // Each path's positions form a chain: the first one, then next_ until -1.
    QHash<QString, qsizetype> first_;
    std::vector<qsizetype> next_;
};

// A path the Free Select collection holds after the run, with the number of
// directory renames already done when it was listed: only later renames of a
// directory above it move it.
struct RebuildItem {
    QString path;
    qsizetype stamp = 0;
};

// How the last command-line relevant run of "Rename!" went.
enum class RunOutcome {
    None,       // no run was asked for or "Rename!" was disabled
    Done,       // every change went through
    SomeFailed, // warnings, or lines in the error log
    NotStarted  // it could not start ("log.txt" cannot be written, the folder could not be read)
};

// The exit status of a command-line run: 0 done (or nothing to do), 1 warnings
// or errors, 2 it could not start.
int exitStatusFor(RunOutcome outcome);

// The values of one run of "Rename!" (or of an Undo), kept until the next one.
struct RunState {
    qint16 cancelRequested = 0;
    qint16 undoInProgress = 0;
    qint32 filesDone = 0;
    qint32 dirsDone = 0;
    qint32 warningCount = 0;
    // The bar as the report shows it, and the percentage its caption shows (-1: none yet).
    double progressValue = 0;
    double progressMax = 0;
    int shownPercent = -1;
    // Why "log.txt" stopped taking lines during this run or Undo (empty while
    // it takes them): the pass ends at its next entry, as on Cancel.
    QString logFailure;
    // The line that could not be written there: the last thing the run did.
    QString logFailureLine;
    RunOutcome outcome = RunOutcome::None;

    // Rows selected when the run started, in row order; never changed during the run.
    QStringList selectedAtStart;
    QSet<QString> selectedAtStartSet;
    // The selected rows and every row of the active list, kept equal to the entries' current paths.
    PathSnapshot selectedPaths;
    PathSnapshot listedPaths;

    // Free Select: what the collection holds after the run, files and directories.
    std::vector<RebuildItem> rebuildFiles;
    std::vector<RebuildItem> rebuildDirs;
    // Free Select: every directory renamed by the pass, old and new full path, in order.
    std::vector<std::pair<QString, QString>> dirRenames;
    // Free Select: which collection entries the pass reached and accounted for.
    std::vector<char> filesHandled;
    std::vector<char> dirsHandled;

    // True from the first step of "Rename!" or Undo until it returns, also while
    // its last steps serve the event loop; no second command starts meanwhile.
    bool commandActive = false;

    // During a pass the event loop is served at most once per interval: Cancel
    // and the timer still answer within it, and a large run is not dominated by
    // repaints of the log window. 0 serves it at every point.
    int yieldIntervalMs = 100;
    QElapsedTimer sinceYield;
    // A signal to end the program was looked for since the bar's last step:
    // one look per item is enough.
    bool signalLookedFor = false;

    // Where each key sits in the four icon lists (-1: not there), built at the
    // first rename of a run: one look-up per rename finds every list to re-key.
    std::optional<QHash<QString, std::array<int, 4>>> iconKeys;

    // The directory the renames of the command go through, opened at its first
    // rename and closed when the command returns.
    platform::BaseDirectory baseDir;
};

// The execution subsystem's part of the program state.
struct ExecuteState {
    RunState run;
    UndoStore undo;
    // The open log window, if any; it is not a child of the main window, which
    // stays disabled while the log window is open.
    QPointer<FrmExecute> frmExecute;
    // Where the run at hand reports (the log window or a test's recorder);
    // nullptr when nothing takes its lines.
    RunReport* report = nullptr;
    ExecuteState() = default;
    ExecuteState(const ExecuteState&) = delete;
    ExecuteState& operator=(const ExecuteState&) = delete;
    ~ExecuteState();
};
