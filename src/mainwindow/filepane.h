#pragma once
#include "mainwindow/framelayout.h"
#include "platform/controls.h"
#include "platform/listview.h"

#include <QComboBox>
#include <QFrame>
#include <QToolButton>
#include <QTreeWidget>

struct FileListState;

// The right-hand file pane: the file-mode strip, the path and pattern boxes,
// both lists, the tree, their buttons and the boxes beside the strip. It owns
// their construction and places; the main window connects their handlers.
class FilePane : public QWidget {
    Q_OBJECT
public:
    FilePane(FileListState& files, QWidget* parent);

    // The pane's left top corner in the main window's client area, in twips.
    static constexpr int kLeft = 4560;
    static constexpr int kTop = 120;

    platform::TabStrip* TabStripFilemode;
    QFrame* fileBody;
    QToolButton *cmdRefresh, *cmdParentDir, *cmdShowDirReq, *cmdDragDropAdd, *cmdDragDropDel, *cmdDragDropClear;
    QComboBox* txtPath;
    platform::TextBox* txtPattern;
    platform::ListView *lwDirectory, *lwDragDrop;
    QTreeWidget* TreeView;
    platform::CheckBox *chkThumbnails, *chkThumbnailsFreeSelect, *chkPreview, *chkShowTreeview;

    // Takes the places that the window's outer size gives (client twips).
    void layoutFor(const FrameLayout& layout);
    // Whether "View as Tree" has a place among the boxes beside the tabs; it
    // keeps it in both file modes, so the lists do not jump between the modes.
    void setTreeBoxEnabled(bool enabled);
    // The controls of the Directory mode; the tree or the list as the tree
    // box says; the tree box itself only while the tree is enabled.
    void showDirectoryMode(bool treeEnabled);
    // The controls of the Free Select mode.
    void showFreeSelectMode();

private:
    void place(QWidget* w, int left, int top, int width, int height);
    void arrange();
    // Places the check boxes and returns the height of the rows they took
    // below the tabs (0 while they all stand beside the tabs).
    int arrangeCheckBoxes(int right);

    FrameLayout layout_;
    bool treeBoxEnabled_ = false;
};
