#pragma once
#include "filelist/host.h"

// Counts the selected rows of the active list (lwDirectory in the Directory
// mode, lwDragDrop in Free Select) into selectedCount, shows "1 item
// selected..." or "N items selected...", and decides onlySelectedActive. Skipped
// while the hourglass shows unless force is -1. Runs the validation gate while
// only the selected rows are processed, and also when the selection has just
// dropped to none while an empty selection means all rows, so the preview and
// "Rename!" agree on what will be processed.
void updateSelectionCount(FileListHost& host, qint16 force);
