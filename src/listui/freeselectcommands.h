#pragma once
#include "execute/dragdropadd.h"
#include "filelist/host.h"

#include <QAction>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <vector>

// The commands that add many paths in one go; each differs in a few steps of
// the common frame (see the table in the source).
enum class BulkAdd { AddDialog, DropOnDirectory, DropOnFreeSelect, AddSelected, DirectoryContents };

// One step of a bulk add: the path handed on (when handOn) and the percentage
// shown before it (-1: no progress text).
struct BulkCandidate {
    QString path;
    int percent = -1;
    bool handOn = true;
};

// The Add dialog's progress before each chosen file: the characters of the
// names already handed on against all characters after the folder in the
// dialog's returned text (the folder, then a separator and a name per file).
std::vector<int> addDialogPercents(const QStringList& chosenPaths);
// i / n x 100 for the i-th of n (from 1), a half to the even number.
int stepPercent(qsizetype i, qsizetype n);

// Puts the Free Select list into its hint state: the one bold italic row
// "Drop files here..." in the small-icon view, not selected.
void showFreeSelectHint(platform::ListView* list);

// The Free Select collection's commands: adding (the Add dialog, shell drops
// onto either list, "Add Selected to Free Select"), removing and clearing.
// Every add goes through dragDropAdd. The main window creates the group,
// connects its signals and the clicks of the Add, Remove and Clear buttons.
class FreeSelectCommands : public QObject {
    Q_OBJECT
public:
    // `addPath` is the stored folder the Add dialog opens in; `addButton`
    // takes the focus when the list is emptied.
    FreeSelectCommands(const FileListHost& host, QString& addPath, QWidget* addButton, QObject* parent);

    // "Add Selected to Free Select", "Remove Selected   (Del)", "Clear All   (Shift+Del)".
    QList<QAction*> actions() const;
    QAction* mnuListviewAdd;
    QAction* mnuDragdropRemove;
    QAction* mnuDragdropClear;

    // Adds one entry; `fullPath` gets its doubled "/" collapsed.
    void dragDropAdd(QString& fullPath);

    void cmdDragDropAdd_Click();
    void cmdDragDropDel_Click();
    void cmdDragDropClear_Click();
    void lwDirectory_OLEDragDrop(const QStringList& paths);
    void lwDragDrop_OLEDragDrop(const QStringList& paths);
    void mnuListviewAdd_Click();
    void mnuDragdropRemove_Click();
    void mnuDragdropClear_Click();
    // The directory tree's two adds: one entry, then the pictures; and the
    // bulk add of the paths below a node.
    void addTreeEntry(QString fullPath);
    void addDirectoryContents(const QStringList& paths);

    void setHintState();
    // Runs the common frame; false when Escape stopped it.
    bool bulkAdd(BulkAdd command, const std::vector<BulkCandidate>& candidates, bool escapeStops = true);
    bool bulkAddRunning() const { return busy_; }

signals:
    void validate();                 // the validation gate
    void countSelection(bool force); // the selection count
    void thumbnailsWanted();         // the Free Select list's pictures
    void freeSelectModeWanted();     // a bulk add shows the Free Select mode

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    FreeSelectTarget target() const;
    void setStatus(const QString& panel, const QString& text);
    void countsText();
    void acceptDropsOn(platform::ListView* list);

    FileListHost host_;
    QString& addPath_;
    QWidget* addButton_;
    bool busy_ = false;
};
