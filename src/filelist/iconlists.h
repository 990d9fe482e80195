#pragma once
#include "filelist/host.h"

// The icon lists of the two file lists. Each list owns a small list (16 x 16)
// and a large list (thumbsWidth x thumbsHeight); both start with the three
// default entries below and grow as a cache keyed by extension or path.
namespace defaultIcon {
inline constexpr qint16 File = 1;     // "default_file"
inline constexpr qint16 Dir = 2;      // "default_dir"
inline constexpr qint16 GhostDir = 3; // "default_ghostdir": listed only to ease navigation
} // namespace defaultIcon

// Empties the Directory pair (imagelistSysIcons, imagelistSysIconsLarge), sizes
// it, puts the three default entries back and binds it to lwDirectory. Clears
// thumbnailsShownDir, since every thumbnail is gone.
void resetSysIcons(FileListHost& host);
// The same for the Free Select pair and lwDragDrop; clears thumbnailsShownFreeSel.
void resetSysIconsFreeSel(FileListHost& host);

// After a reset of the Free Select pair its rows still hold numbers of the
// emptied lists: each row of lwDragDrop (unless it shows its hint) gets its
// icons looked up again. Thumbnails are the caller's to make again.
void reloadFreeSelectIcons(FileListHost& host);

// The small icon index of an entry of the directory list or the tree (isDir -1
// for a directory, 0 for a file); its large index is left in sysIconLargeIndex.
// The lists work as a cache: a file's pictures are kept under ">" and its
// extension in upper case, a directory's and an icon, cursor or program file's
// under its path, a thumbnail (while makeThumbnailsNow is set, for JPEG, GIF,
// BMP, RLE, WMF and EMF files) under its path in the large list. A directory
// listed only because alwaysShowDirs is 1 while "Directories" is unticked gets
// the ghost icon; with useSysIcons 0 only the default icons are given. A
// failure writes one error line and gives the default icons; nothing is kept
// for it, so the next call tries again.
qint16 getSysIcon(FileListHost& host, const QString& path, qint16 isDir);
// The same for the Free Select list, which has no ghost directories and gives
// the default file icon after a failure.
qint16 getSysIconFreeSel(FileListHost& host, const QString& path, qint16 isDir);

// True when a lookup of the file `path` while thumbnails are asked for would
// decode it for a thumbnail of `large`: system icons are on, its name ends in
// a picture extension and no thumbnail of that path is stored.
bool thumbnailPending(const FileListHost& host, const platform::ImageList& large, const QString& path);

// The default pictures: 1 directory, 2 ghost directory, 3 file (the order of
// the fixed default lists), drawn at `size` pixels.
QPixmap defaultPicture(int subject, int size);
