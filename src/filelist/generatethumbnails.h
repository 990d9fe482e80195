#pragma once
#include "filelist/host.h"

// Gives every row of lwDirectory the large picture the icon lookup chooses
// while thumbnails are requested: a thumbnail for a picture file, the large
// shell icon otherwise. The window is busy meanwhile (disabled, hourglass,
// "Generating Thumbnails... p%"); Escape stops after the current row. Only a
// run over every row marks the list as showing thumbnails (thumbnailsShownDir).
// However the run ends, the pointer, the status texts and makeThumbnailsNow are
// put back, and the window is enabled again unless a run or an Undo is in
// progress. A failure in the loop is passed on after that.
void generateThumbnails(FileListHost& host);
// The same for lwDragDrop (thumbnailsShownFreeSel); it first stops the preview
// and drops a pending request.
void generateThumbnailsFreeSelect(FileListHost& host);
