#pragma once
#include "filelist/host.h"

#include <QObject>

class QAction;
class QMenu;

// Which rows a copy command takes and which part of each row it writes.
enum class CopyRows { Current, Selected, All, AllWithPreview };
enum class CopyPart { Name, Preview, NameIncPath, PreviewIncPath };
// How a selection command sets each row's selected flag.
enum class SelectRule { All, None, Invert, WithPreview, WithoutPreview };

// The clipboard text of a copy command: the current row's part alone, or one
// line per row taken, each ending in "\n" (empty when none is taken).
QString copyText(const platform::ListView& list, CopyRows rows, CopyPart part);

// The popup menus of both file lists with their "Select" and "Copy to
// Clipboard" submenus. Open, Manual Rename and the Free Select commands are
// actions whose behaviour belongs to the list commands and the collection.
class ListMenus : public QObject {
    Q_OBJECT
public:
    // The three Free Select commands are the collection's own actions, placed here.
    struct FreeSelectActions {
        QAction* mnuListviewAdd;
        QAction* mnuDragdropRemove;
        QAction* mnuDragdropClear;
    };
    ListMenus(const FileListHost& host, const FreeSelectActions& freeSelect, QWidget* menuParent, QObject* parent);

    QMenu* mnuPopupListview;
    QMenu* mnuPopupDragdrop;
    QAction *mnuListviewOpen, *mnuListviewRename, *mnuListviewAdd;
    QAction *mnuDragdropOpen, *mnuDrapDropRename, *mnuDragdropRemove, *mnuDragdropClear;

    // Runs a selection command on the list: every row's flag written under
    // the hourglass, then the count and the gate.
    void select(platform::ListView* list, SelectRule rule);
    // Runs a copy command on the list.
    void copy(platform::ListView* list, CopyRows rows, CopyPart part);

private:
    QMenu* buildMenu(platform::ListView* list, bool directoryList);

    FileListHost host_;
};
