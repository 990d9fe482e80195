#pragma once
#include "execute/executehost.h"

// The "Rename!" command: validates once more, freezes the main window, opens
// the log window, snapshots the rows and the selection, runs the one pass of
// the selected mode, then brings the lists back in step with the disk,
// restores the row order and the selection, enables "Undo", adds to the
// statistics and reports errors. Does nothing while a run or an Undo is in
// progress. The main window stays disabled until the log window unloads.
void runRename(ExecuteHost& h);

// The steps a run and an Undo share.

// Directory mode: reads the working directory again and rebuilds the views.
void reloadDirectoryMode(ExecuteHost& h);
// Snapshots of the active list: every row, and the selected rows, as full paths.
void takeSnapshots(ExecuteHost& h);
// Resets the per-run indexes (selection set, icon keys, Free Select bookkeeping).
void beginBookkeeping(ExecuteHost& h);
// Free Select: empties the list and both stores and adds back the rebuild lists,
// entries inside renamed directories at their new paths.
void rebuildFreeSelect(ExecuteHost& h);
// The other file mode's path lists and rows take the new paths of entries
// renamed under their exact old path.
// With `reverse` (Undo) the records lead from their new names back to the old ones.
void repathOtherMode(ExecuteHost& h, bool reverse = false);
// Puts the rows of the active list back in the snapshot order. `progress`
// shows "Restoring Order... N%" in the status bar.
void restoreOrder(ExecuteHost& h, bool progress);
// Selects the rows whose paths are in the selection snapshot.
void restoreSelection(ExecuteHost& h);
// The rebuild lists as the collection holds them after the pass: paths moved
// by later directory renames, and entries the pass never reached kept as they were.
void completeRebuildLists(ExecuteHost& h);
