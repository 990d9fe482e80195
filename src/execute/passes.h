#pragma once
#include "execute/executehost.h"

#include <functional>
#include <QString>

// The new name of one entry, or empty for "unchanged". May throw platform::Failure.
using EntryNameFn = std::function<QString(const QString& dir, const QString& name, bool isDir)>;

// The frame every renaming pass shares: the files of the current file mode in
// list order, then (with `withDirs`) the directories from the last to the
// first; entries that isPathSelected refuses are left alone; Cancel is tested
// after each entry, and the progress steps after each entry that did not end
// the pass. A failure that reaches the frame ends the pass with one error line
// ("<passName>: Failed To Execute"); the undo counts are set in every case.
void runRenamePass(ExecuteHost& h, const QString& passName, bool withDirs, const EntryNameFn& newName);

// Whether the entry takes part in the run: every entry unless only the selected
// rows are processed (and never during Undo). A refused entry of the Free
// Select collection is kept for the rebuild.
bool isPathSelected(ExecuteHost& h, const QString& fullPath);

// The passes. Each reads the options and name services once: the main window
// is disabled during the pass, so the panels cannot change between entries.
void executeReplace(ExecuteHost& h);
void executeBatchReplace(ExecuteHost& h);
void executeCase(ExecuteHost& h);
void executeAddCrop(ExecuteHost& h);
void executeNormalize(ExecuteHost& h);
void executeFormat(ExecuteHost& h);
void executeSpace(ExecuteHost& h);
void executeFileDetect(ExecuteHost& h);
void executeMp3(ExecuteHost& h);
// Passes that land with their own code; until then they change nothing.
void executeEnum(ExecuteHost& h);
void executeAttributes(ExecuteHost& h);
void executeDates(ExecuteHost& h);

// One row of the dispatch: the mode, the option test and the pass.
struct PassRow {
    RenameMode mode;
    bool (*optionSet)(const RenameOptions&);
    void (*pass)(ExecuteHost&);
};
// The twelve rows in the order they are tested.
const std::vector<PassRow>& passTable();
// Runs the one pass whose row matches; false when none does.
bool dispatchPass(ExecuteHost& h, RenameMode mode, const RenameOptions& options);
