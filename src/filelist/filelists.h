#pragma once
#include "platform/listview.h"

#include <QString>
#include <QStringList>

// The fixed folders whose content a read hides behind a notice.
struct SystemFolders {
    QString system;
    QString windows;
    QString programFiles;
    QString root;
};

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
    QString listedDirectory;
    QString previousPath;
    SystemFolders systemFolders;
    platform::ImageList imagelistSysIcons;
    platform::ImageList imagelistSysIconsLarge;
    platform::ImageList imagelistSysIconsFreeSelect;
    platform::ImageList imagelistSysIconsFreeSelectLarge;
};
