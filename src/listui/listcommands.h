#pragma once
#include "filelist/host.h"

#include <QObject>

class QAbstractItemView;

// The mouse and keyboard commands of one file list (the directory list or the
// Free Select list; the two are twins): opening a row, the keys, the mouse
// buttons, sorting by a header click and moving a row by dragging it.
class ListCommands : public QObject {
    Q_OBJECT
public:
    // `directoryList` picks the twin: the directory list or the Free Select list.
    ListCommands(const FileListHost& host, bool directoryList, QObject* parent);

    platform::ListView* list() const { return list_; }
    bool isDirectoryList() const { return directoryList_; }

    // Double click, Enter and "Open": a directory becomes the working
    // directory, a file opens with the desktop's default program.
    void open();
    // F2: the edit starts on the current row, then nothing stays selected.
    void f2();
    // Ctrl+A and the "All" command.
    void selectAll();
    // Puts the current row's name on the clipboard.
    void copyCurrentName();
    // A click on header `column` (from 0): flips the list's order and sorts;
    // rows that already stand in the flipped order take the other one.
    void columnClick(int column);

    // The list's sort order: 0 ascending, 1 descending; the first click
    // ascends unless the rows already ascend in that column.
    qint16 sortOrder = 1;
    qint16 itemClicked = 0;
    qint16 itemClickedSinceMouseDown = 0;
    qint16 listDragActive = 0;
    int listDragSource = -1; // row from 0 at the last press on a row, -1 none
    int dropHighlight = -1;  // row under a dragged row, -1 none

signals:
    // A directory row was opened: the window shows `path` as working directory.
    void openDirectory(const QString& path);
    void startLabelEdit();  // F2
    void parentDirectory(); // Backspace in the directory list
    void removeSelected();  // Delete in the Free Select list
    void clearAll();        // Shift+Delete in the Free Select list
    void addDialog();       // Insert in the Free Select list
    // A right click: the popup menu at `globalPos` (the list has rows).
    void popupMenu(const QPoint& globalPos);
    // A row was moved by dragging.
    void rowMoved();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void keyDown(int key, Qt::KeyboardModifiers mods);
    void keyUp(int key, Qt::KeyboardModifiers mods);
    void mouseDown();
    void itemClick(int row);
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers mods, const QPoint& globalPos);
    void dragOver(QAbstractItemView* view, const QPoint& pos);
    void dragDrop();
    void count();

    FileListHost host_;
    platform::ListView* list_;
    bool directoryList_;
    bool releasing_ = false;
};
