#pragma once
#include "filelist/host.h"

// Rebuilds every row of lwDirectory from the Directory mode's path lists, in
// one model reset: directories first (while "Directories" is ticked or
// alwaysShowDirs is 1; ghost rows in the second case), then files (while
// "Files" is ticked), each group in case-insensitive name order. Directories
// are kept first by the rows' isDir flag; no row's text is altered for it.
// Escape or an entry that cannot be queried empties the Directory mode's
// lists, the rows and the tree; the result is false then. Called by
// updateFileViews, which holds the busy state around it.
bool updateListview(FileListHost& host);

// One row in the layout of both lists: the name, the directory that holds
// the entry (ending in "/"), and with allColumns the size text, date, attribute
// text, extension, type and the two sort keys. `native` is the entry's path on
// disk when the listed path cannot be encoded back to it, else empty. The icons
// are the caller's. Throws platform::Failure when the entry cannot be queried.
platform::ListRow entryRow(const QString& path, bool isDir, bool allColumns, const QByteArray& native = {});
