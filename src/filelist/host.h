#pragma once
#include "engine/logs.h"
#include "engine/previewstate.h"
#include "filelist/filelists.h"
#include "platform/controls.h"
#include "platform/listview.h"
#include "platform/uiservice.h"

#include <functional>
#include <QPushButton>
#include <QString>
#include <QTreeWidget>

// Listing settings the directory read and the row build follow, taken from
// the settings by fileListOptions() (filelist/listoptions.h).
struct FileListOptions {
    int alwaysShowDirs = 0;
    int cacheIcons = 0;
    int dirColWidth[8] = {3030, 3020, 3030, 1000, 1800, 720, 600, 600};
    int dragColWidth[8] = {3030, 3020, 3030, 1000, 1800, 720, 600, 600};
    bool enableRenameAllIfNoneSelected = true;
    int enableTreeview = 0;
    int hideSystemFolders = 1;
    int processHidden = 0;
    int processSystem = 0;
    int processWriteProtected = 1;
    int showAllColumns = 0;
    int thumbsAspect = 1;
    int thumbsBorder = 1;
    int thumbsWidth = 64;
    int thumbsHeight = 64;
    int usePatternForFiles = 1;
    int usePatternForDirs = 0;
    int useSysIcons = 1;
};

// The boxes of the file pane that the list procedures follow, as plain values
// (0 unticked, 1 ticked). The list commands live as long as the window, so
// the host reads them afresh at each call, never once at start-up.
struct ListTicks {
    int files = 1;                // chkFiles
    int dirs = 1;                 // chkDirs
    int sub = 0;                  // chkSub
    int thumbnails = 0;           // chkThumbnails
    int thumbnailsFreeSelect = 0; // chkThumbnailsFreeSelect
    int onlyRenameSelected = 0;   // chkOnlyRenameSelected
    QString path;                 // txtPath: the working directory, ending in "/"
    QString pattern;              // txtPattern
};

// What the file-list procedures touch on the main window and in the program's
// state. The main window fills it; tests build one around bare widgets.
struct FileListHost {
    QWidget* window = nullptr; // enabled while no long work runs
    platform::UiService* ui = nullptr;
    Logs* logs = nullptr;
    FileListState* files = nullptr;
    PreviewState* preview = nullptr;
    const FileListOptions* options = nullptr;
    const qint16* mainWindowReady = nullptr;
    const qint16* fileMode = nullptr;
    const qint16* executeBusy = nullptr;

    // The file pane's boxes as they stand now; each procedure reads them once
    // when it starts. The defaults of ListTicks when empty.
    std::function<ListTicks()> ticks;

    // What the procedures show: the lists, the tree, the status bar, and
    // "Rename!" (disabled while a directory is read).
    platform::ListView* lwDirectory = nullptr;
    platform::ListView* lwDragDrop = nullptr;
    QTreeWidget* treeView = nullptr;
    platform::StatusPanels* statusBar = nullptr;
    QPushButton* cmdExecute = nullptr;

    std::function<void()> updateExecuteButton; // the validation gate
    std::function<void()> generateThumbnails;  // thumbnails of lwDirectory; optional
    // The path box: a read listed this path (it heads the history), or the
    // path is one the program does not list (its text turns red). Optional.
    std::function<void(const QString& path)> pathListed;
    std::function<void()> pathRefused;
    // A hint row took the place of the rows: "Thumbnails" is unticked. Optional.
    std::function<void()> untickThumbnails;

    ListTicks readTicks() const { return ticks ? ticks() : ListTicks{}; }
};

// The end of long list work that stopped early: outside a run the main window
// is enabled again and validated; the pointer is normal again.
void endListWork(FileListHost& host);
// A read or rebuild that failed or was cancelled: the Directory mode's lists
// and the tree are emptied, then the work ends as above.
void dropDirectoryListing(FileListHost& host);
