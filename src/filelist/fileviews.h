#pragma once
#include "filelist/host.h"

class QTreeWidgetItem;

// Tree nodes keep their key ("ROOT" for "[..]", "NODE" and the path relative
// to the working directory for an entry) and their icon index in these roles.
inline constexpr int kNodeKeyRole = Qt::UserRole;
inline constexpr int kNodeImageRole = Qt::UserRole + 1;

// Brings the Directory mode's views up to date after a read: the tree (while
// enableTreeview is on and no thumbnails are shown), the rows of lwDirectory,
// the counts in the status bar and the selection count. Holds the busy state
// (hourglass, main window disabled outside a run) while it works. Works on the
// Directory mode's lists whatever file mode is shown.
void updateFileViews(FileListHost& host);

// The node with the given key, nullptr when none.
QTreeWidgetItem* findNode(QTreeWidget* tree, const QString& key);
