#pragma once
#include "engine/newname.h"
#include "engine/previewstate.h"
#include "engine/renameoptions.h"

#include <functional>

class QItemSelectionModel;
namespace platform {
class ListModel;
}
class Logs;
class RandomSource;

// What one preview reads besides the rows themselves.
struct PreviewInputs {
    platform::ListModel* model = nullptr;           // the rows of the active list
    const QItemSelectionModel* selection = nullptr; // its selection
    bool directoryList = true;                      // ghost rows exist only there
    std::function<bool()> executeEnabled;           // "Rename!" enabled, read for every row
    RenameMode mode = RenameMode::Replace;          // the selected rename mode
    RenameOptions options;
    qint16 onlySelectedActive = 0;
    int selectedCount = 0;
    int alwaysShowDirs = 0;
    NameServices services;
    std::function<void()> yield; // lets the event loop run
    // Entries whose names on disk are not valid text: listed, never renamed.
    std::function<bool(const QString& fullPath)> unrenamable;
};

// Fills the preview column (cell 1) of the rows with the name every row would get and
// counts the changes in state.previewRenameCount. Stops at the next row when the
// request is raised again or the token changes. Never throws: a failure ends the
// preview with one error line naming the stage it was in.
void generatePreview(PreviewState& state, const PreviewInputs& in, RandomSource& random, Logs& logs);

// The status panel text after a preview: "1 item to rename..." / "N items to rename...".
QString previewCountText(qint32 count);
