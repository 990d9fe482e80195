#pragma once
#include "filelist/host.h"

#include <functional>
#include <optional>
#include <QAction>
#include <QDateTime>
#include <QList>
#include <QMenu>
#include <QObject>
#include <QStringList>
#include <QTreeWidget>

class Navigation;

// A node's path relative to the working directory: the texts of the node and
// its ancestors joined by "/" ("[..]" for the parent-directory node).
QString nodeFullPath(const QTreeWidgetItem* node);

// The directory tree's commands: opening a node by double-click or Enter,
// Backspace to the parent, and the popup menu with "Add to Free Select",
// "Add Directory Contents to Free Select" and "Copy Filename".
class TreeCommands : public QObject {
    Q_OBJECT
public:
    // The tree is the host's treeView; a directory opened in it becomes the
    // working directory through `navigation`.
    TreeCommands(const FileListHost& host, Navigation& navigation, QObject* parent);

    QList<QAction*> actions() const;
    QMenu* mnuPopupTreeview;
    QAction* mnuTreeviewAdd;
    QAction* mnuTreeviewAddRecursive;
    QAction* mnuTreeviewCopy;

    // The last expand or collapse of a node; unset until the first one.
    std::optional<QDateTime> lastTreeToggleTime;

    void TreeView_Toggle();
    void TreeView_DblClick();
    // True when the key was handled.
    bool TreeView_KeyUp(int key);
    void TreeView_MouseUp(Qt::MouseButton button, const QPoint& globalPos);
    void mnuTreeviewAdd_Click();
    void mnuTreeviewAddRecursive_Click();
    void mnuTreeviewCopy_Click();

signals:
    // The Free Select collection takes one entry (and makes its pictures).
    void addToFreeSelect(const QString& fullPath);
    // The Free Select collection takes these paths in one bulk add.
    void addContentsToFreeSelect(const QStringList& fullPaths);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // The selected node's full path: the working directory and its FullPath.
    QString selectedPath() const;
    FileListHost host_;
    Navigation& nav_;
};
