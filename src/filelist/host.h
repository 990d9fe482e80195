#pragma once
#include "engine/logs.h"
#include "engine/previewstate.h"
#include "filelist/filelists.h"
#include "platform/controls.h"
#include "platform/listview.h"
#include "platform/uiservice.h"

#include <functional>
#include <QComboBox>
#include <QPushButton>
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

// What the file-list procedures touch on the main window and in the program's
// state. The main window fills it once; tests build one around bare widgets.
struct FileListHost {
    QWidget* window = nullptr; // enabled while no long work runs
    platform::UiService* ui = nullptr;
    Logs* logs = nullptr;
    FileListState* files = nullptr;
    PreviewState* preview = nullptr;
    const FileListOptions* options = nullptr;
    platform::ListView* lwDirectory = nullptr;
    platform::ListView* lwDragDrop = nullptr;
    QTreeWidget* treeView = nullptr;
    QComboBox* txtPath = nullptr;
    QLineEdit* txtPattern = nullptr;
    platform::CheckBox* chkFiles = nullptr;
    platform::CheckBox* chkDirs = nullptr;
    platform::CheckBox* chkSub = nullptr;
    platform::CheckBox* chkThumbnails = nullptr;
    platform::CheckBox* chkShowTreeview = nullptr;
    platform::CheckBox* chkOnlyRenameSelected = nullptr;
    QPushButton* cmdExecute = nullptr;
    platform::StatusPanels* statusBar = nullptr;
    const qint16* mainWindowReady = nullptr;
    const qint16* fileMode = nullptr;
    const qint16* executeBusy = nullptr;
    std::function<void()> updateExecuteButton; // the validation gate
    std::function<void()> generateThumbnails;  // thumbnails of lwDirectory; optional
};

// The end of long list work that stopped early: outside a run the main window
// is enabled again and validated; the pointer is normal again.
void endListWork(FileListHost& host);
// A read or rebuild that failed or was cancelled: the Directory mode's lists
// and the tree are emptied, then the work ends as above.
void dropDirectoryListing(FileListHost& host);
