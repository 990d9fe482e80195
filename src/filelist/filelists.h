#pragma once
#include "filelist/readdetails.h"
#include "filelist/shellicons.h"
#include "platform/listview.h"

#include <memory>
#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

// The fixed folders whose content a read hides behind a notice.
struct SystemFolders {
    QString system;
    QString windows;
    QString programFiles;
    QString root;
    // The other folders of the system that are protected with everything below them.
    QStringList others;
};

class ThumbnailsAhead;

// Program-wide values of the file lists: the path lists of both file modes
// (index 0 Directory, 1 Free Select), the selection state and the icon lists.
struct FileListState {
    QStringList lstFiles[2];
    QStringList lstDirs[2];
    qint16 selectedCount = 0;
    qint16 onlySelectedActive = 0;
    qint16 selectionCountPending = 0;
    qint16 listOrderChanged = 0;
    qint16 thumbnailsShownDir = 0;
    qint16 thumbnailsShownFreeSel = 0;
    qint16 makeThumbnailsNow = 0;
    qint16 sysIconLargeIndex = 0;
    // The pictures a thumbnail run has asked to be decoded ahead, while it runs.
    ThumbnailsAhead* thumbnailsAhead = nullptr;
    QString listedDirectory;
    // Why the last read of the working directory listed nothing: the limit, a
    // read error, a folder that is gone, Escape or the system-folder notice.
    // Empty after a read that listed its folder (or had no folder to read).
    QString readFailure;
    QString previousPath;
    SystemFolders systemFolders;
    platform::ImageList imagelistSysIcons;
    platform::ImageList imagelistSysIconsLarge;
    platform::ImageList imagelistSysIconsFreeSelect;
    platform::ImageList imagelistSysIconsFreeSelectLarge;
    // The pictures the icon lists share (one folder picture for every directory).
    ShellIcons shellIcons;
    // The directory list's stored sort order (0 ascending, 1 descending); a
    // rebuild leaves 1, so the first click on a column header sorts ascending.
    qint16 dirSortOrder = 1;
    // Entries of the Directory mode's lists whose path on disk is not valid
    // UTF-8 (the name itself or a directory above it): the listed path, which
    // shows the undecodable bytes as U+FFFD, mapped to the bytes on disk. Such
    // entries are shown but never renamed.
    QHash<QString, QByteArray> undecodable;
    // The last directory read's details of the Directory mode's lists; the
    // row build that follows the read takes them and drops them.
    std::shared_ptr<const ReadDetails> readDetails;
    // Such names already written to the error log: each gets one line from
    // the end of one run of "Rename!" to the end of the next (that run's own
    // reads included), however often it is read meanwhile.
    QSet<QString> undecodableReported;
};

// True for an entry that must never be renamed because its name on disk
// cannot be written back from the listed text.
inline bool isUnrenamable(const FileListState& s, const QString& path)
{
    return s.undecodable.contains(path);
}
