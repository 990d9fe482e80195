#pragma once
#include "engine/logs.h"
#include "engine/newname.h"
#include "engine/previewstate.h"
#include "engine/renameoptions.h"
#include "execute/runreport.h"
#include "execute/runstate.h"
#include "filelist/filelists.h"
#include "filelist/host.h"
#include "platform/listview.h"
#include "platform/uiservice.h"
#include "settings/settings.h"

#include <functional>
#include <QTreeWidget>

// The ticks of the main window a run follows, as the boxes' values (0
// unticked, 1 ticked), read once when "Rename!" or Undo is pressed.
struct RunTicks {
    int files = 1;                // chkFiles: directory mode renames files
    int dirs = 1;                 // chkDirs: directory mode renames directories
    int thumbnailsFreeSelect = 0; // chkThumbnailsFreeSelect: the rebuilt collection gets thumbnails
    int showTreeview = 0;         // chkShowTreeview: the tree takes the focus back
};

// What a run of "Rename!" touches on the main window and in the program's
// state, and the main window's procedures it calls. The main window fills it;
// tests build one around bare lists and a recording report.
struct ExecuteHost {
    QWidget* window = nullptr; // the main window: disabled from the start of a run until the log window unloads
    platform::UiService* ui = nullptr;
    Logs* logs = nullptr;
    FileListState* files = nullptr;
    PreviewState* preview = nullptr;
    ExecuteState* state = nullptr;
    const FileListOptions* listOptions = nullptr; // showAllColumns
    // keepFileOrder, autoCloseLogWindow, showFullPath, the log window's
    // geometry (Execute_*, frmexecute_maximized) and the rename statistics.
    Settings* settings = nullptr;
    qint16* executeBusy = nullptr;
    const qint16* fileMode = nullptr;
    const qint16* dirsAllowed = nullptr;

    platform::ListView* lwDirectory = nullptr;
    platform::ListView* lwDragDrop = nullptr;
    QTreeWidget* treeView = nullptr;
    RunTicks ticks;

    // Opens where a run or an Undo reports (the main window: the log window);
    // the run reports nowhere when empty.
    std::function<RunReport*(ExecuteHost&)> openReport;
    // Whether "Rename!" is enabled; an empty one counts as enabled.
    std::function<bool()> executeEnabled;
    std::function<void(bool)> setUndoEnabled;
    // The main panel of the status bar.
    std::function<void(const QString&)> showStatus;

    // The rename mode: the selected tab and the panels' values.
    std::function<RenameMode()> renameMode;
    std::function<RenameOptions()> readOptions;
    std::function<NameServices(const RenameOptions&)> nameServices;

    // The main window's procedures.
    std::function<void()> updateExecuteButton;
    std::function<void()> readDirectory;
    std::function<void()> updateFileViews;
    std::function<void(bool force)> updateSelectionCount;
    // Exchanges rows a and b (1-based) of the active list; no order restore when empty.
    std::function<void(int a, int b)> swapListItems;
    std::function<void()> generateThumbnailsFreeSelect; // nothing when empty
    // Small icon index of a Free Select entry (its large one is left in
    // files->sysIconLargeIndex); the default icons of the list when empty.
    std::function<qint16(const QString& path, bool isDir)> getSysIconFreeSel;
    // Serves the event loop; QCoreApplication::processEvents when empty.
    std::function<void()> yield;

    // A command-line run whose window closes right after it: nobody sees the
    // list again, so it is not read again after the run.
    bool closesAfterRun = false;
    // The listing was read for this run right before it, after its options
    // were set, so the pass does not read the folder again.
    bool listingJustRead = false;

    qint16 mode() const { return *fileMode; }
    platform::ListView* activeList() const { return *fileMode == 0 ? lwDirectory : lwDragDrop; }
    platform::ListView* otherList() const { return *fileMode == 0 ? lwDragDrop : lwDirectory; }
    RunState& run() const { return state->run; }
    UndoStore& undo() const { return state->undo; }
};

// Where the run at hand reports; a report that shows nothing when there is none.
RunReport& report(const ExecuteHost& h);
// Opens the report of a new run or Undo with an empty bar.
RunReport& openRunReport(ExecuteHost& h);
// One line to the report (the writer puts the same event into "log.txt" itself).
void showLine(ExecuteHost& h, const QString& line);
// The line to the report and the same text to "log.txt".
void reportLine(ExecuteHost& h, const QString& line);
// An attribute or date line, opening & folder & rest: the report shows the
// folder only when `showDir`, "log.txt" always has it, so that same-named
// files of different folders stay apart there.
void reportEntryLine(ExecuteHost& h, const QString& opening, const QString& dir, const QString& rest, bool showDir);
// Whether the log window shows the folders of such lines.
bool showsFullPath(const ExecuteHost& h);
// One more warning, shown in the report's counter.
void countWarning(ExecuteHost& h);
void showCaption(ExecuteHost& h, const QString& caption);
// The bar's maximum; its value starts again at 0.
void setProgressMax(ExecuteHost& h, double max);
// The progress step after each entry: value + 1 up to the maximum, and the
// caption with the percentage when that changes.
void stepExecuteProgress(ExecuteHost& h);

// Serves the event loop now.
void serveEvents(ExecuteHost& h);
// Serves the event loop unless it was served less than the run's interval ago
// and no signal to end the program waits for its Cancel.
void serveEventsThrottled(ExecuteHost& h);
void setStatus(ExecuteHost& h, const QString& text);
// One line to "log.txt". When it cannot be written the run remembers why and
// its pass ends after the entry at hand: nothing more changes without its line.
void writeActivity(ExecuteHost& h, const QString& line);
// Before the first change of a run or an Undo: true when "log.txt" can be
// appended to; otherwise the error box naming the file and the reason is shown
// and nothing may change.
bool activityLogReady(ExecuteHost& h);
// The error box for a "log.txt" that stopped taking lines during the run.
void reportLogStopped(ExecuteHost& h);
// True while a run or an Undo is in progress, including its last steps.
bool executeLocked(const ExecuteHost& h);
// Held by "Rename!" and Undo from their first step until they return; test
// executeLocked before taking it.
class CommandScope {
public:
    explicit CommandScope(ExecuteHost& h) : run_(h.state->run) { run_.commandActive = true; }
    ~CommandScope()
    {
        run_.commandActive = false;
        run_.baseDir.close();
    }
    CommandScope(const CommandScope&) = delete;
    CommandScope& operator=(const CommandScope&) = delete;

private:
    RunState& run_;
};
