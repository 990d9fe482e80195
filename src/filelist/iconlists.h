#pragma once
#include "filelist/host.h"

// The icon lists of the two file lists. Each list owns a small list (16 x 16)
// and a large list (thumbsWidth x thumbsHeight); both start with the three
// default entries below and grow as a cache keyed by extension or path.
namespace defaultIcon {
inline constexpr qint16 File = 1;      // "default_file"
inline constexpr qint16 Dir = 2;       // "default_dir"
inline constexpr qint16 GhostDir = 3;  // "default_ghostdir": listed only to ease navigation
} // namespace defaultIcon

// Empties the Directory pair (imagelistSysIcons, imagelistSysIconsLarge), sizes
// it, puts the three default entries back and binds it to lwDirectory. Clears
// thumbnailsShownDir, since every thumbnail is gone.
void resetSysIcons(FileListHost& host);
// The same for the Free Select pair and lwDragDrop; clears thumbnailsShownFreeSel.
void resetSysIconsFreeSel(FileListHost& host);

// The small icon index of an entry of the directory list or the tree (isDir -1
// for a directory, 0 for a file); the large index is left in sysIconLargeIndex.
// A directory listed only because alwaysShowDirs is 1 while "Directories" is
// unticked gets the ghost icon. Shell icons are not looked up (yet): directories
// get the default directory icon, everything else the default file icon.
qint16 getSysIcon(FileListHost& host, const QString& path, qint16 isDir);
// The same for the Free Select list, which has no ghost directories.
qint16 getSysIconFreeSel(FileListHost& host, const QString& path, qint16 isDir);

// The default pictures: 1 directory, 2 ghost directory, 3 file (the order of
// the fixed default lists), drawn at `size` pixels.
QPixmap defaultPicture(int subject, int size);
