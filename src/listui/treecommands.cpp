#include "listui/treecommands.h"

#include "filelist/fileviews.h"
#include "listui/navigation.h"
#include "platform/failure.h"
#include "platform/fileops.h"

#include <algorithm>
#include <QClipboard>
#include <QGuiApplication>
#include <QHash>
#include <QKeyEvent>
#include <QMouseEvent>

namespace {

const QString kRootKey = QStringLiteral("ROOT");

bool isRootNode(const QTreeWidgetItem* node)
{
    return node->data(0, kNodeKeyRole).toString() == kRootKey;
}

// Every node below `parent`, parents before their children.
void collectNodes(QTreeWidgetItem* parent, QList<QTreeWidgetItem*>& out)
{
    for (int i = 0; i < parent->childCount(); ++i) {
        out.push_back(parent->child(i));
        collectNodes(parent->child(i), out);
    }
}

} // namespace

QString nodeFullPath(const QTreeWidgetItem* node)
{
    QString path = node->text(0);
    for (const QTreeWidgetItem* n = node->parent(); n; n = n->parent())
        path = n->text(0) + QLatin1Char('/') + path;
    return path;
}

TreeCommands::TreeCommands(const FileListHost& host, Navigation& navigation, QObject* parent)
    : QObject(parent), host_(host), nav_(navigation)
{
    mnuPopupTreeview = new QMenu(QStringLiteral("popupTreeview"), host_.treeView);
    mnuPopupTreeview->setObjectName(QStringLiteral("mnuPopupTreeview"));
    const auto item = [this](const QString& name, const QString& caption) {
        QAction* a = mnuPopupTreeview->addAction(caption);
        a->setObjectName(name);
        return a;
    };
    mnuTreeviewAdd = item(QStringLiteral("mnuTreeviewAdd"), QStringLiteral("Add to Free Select"));
    mnuTreeviewAddRecursive =
        item(QStringLiteral("mnuTreeviewAddRecursive"), QStringLiteral("Add Directory Contents to Free Select"));
    mnuPopupTreeview->addSeparator()->setObjectName(QStringLiteral("mnuSep2"));
    mnuTreeviewCopy = item(QStringLiteral("mnuTreeviewCopy"), QStringLiteral("Copy Filename"));
    connect(mnuTreeviewAdd, &QAction::triggered, this, &TreeCommands::mnuTreeviewAdd_Click);
    connect(mnuTreeviewAddRecursive, &QAction::triggered, this, &TreeCommands::mnuTreeviewAddRecursive_Click);
    connect(mnuTreeviewCopy, &QAction::triggered, this, &TreeCommands::mnuTreeviewCopy_Click);

    QTreeWidget* tree = host_.treeView;
    // Opening a node is this group's; the tree does not also toggle it.
    tree->setExpandsOnDoubleClick(false);
    connect(tree, &QTreeWidget::itemExpanded, this, &TreeCommands::TreeView_Toggle);
    connect(tree, &QTreeWidget::itemCollapsed, this, &TreeCommands::TreeView_Toggle);
    tree->installEventFilter(this);
    tree->viewport()->installEventFilter(this);
}

QList<QAction*> TreeCommands::actions() const
{
    return {mnuTreeviewAdd, mnuTreeviewAddRecursive, mnuTreeviewCopy};
}

bool TreeCommands::eventFilter(QObject* watched, QEvent* e)
{
    QTreeWidget* tree = host_.treeView;
    if (watched == tree->viewport()) {
        if (e->type() == QEvent::MouseButtonDblClick && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
            TreeView_DblClick();
            return true;
        }
        if (e->type() == QEvent::MouseButtonRelease) {
            auto* m = static_cast<QMouseEvent*>(e);
            TreeView_MouseUp(m->button(), m->globalPosition().toPoint());
        }
        return false;
    }
    if (watched == tree && e->type() == QEvent::KeyRelease) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (!k->isAutoRepeat())
            return TreeView_KeyUp(k->key());
    }
    return false;
}

QString TreeCommands::selectedPath() const
{
    const QTreeWidgetItem* node = host_.treeView->currentItem();
    return node ? host_.readTicks().path + nodeFullPath(node) : QString();
}

void TreeCommands::TreeView_Toggle()
{
    if (host_.treeView->topLevelItemCount() > 0)
        lastTreeToggleTime = host_.ui->now();
}

void TreeCommands::TreeView_DblClick()
{
    QTreeWidget* tree = host_.treeView;
    if (tree->topLevelItemCount() == 0)
        return;
    stopPreview(*host_.preview);
    const QString oldDir = host_.readTicks().path;
    host_.files->previousPath = oldDir;
    const QTreeWidgetItem* node = tree->currentItem();
    if (!node)
        return;
    QString newDir = oldDir + nodeFullPath(node);
    try {
        if (!isRootNode(node)) {
            // A link is an entry of its own: it is never opened as a directory.
            if ((platform::getAttributes(newDir) & platform::attr::Directory) == 0)
                return;
        } else {
            // The double-click that toggled a node must not also leave the directory.
            if (lastTreeToggleTime && lastTreeToggleTime->msecsTo(host_.ui->now()) < 1000)
                return;
            newDir = parentPath(oldDir);
        }
    } catch (const platform::Failure& f) {
        host_.logs->logError(f.errorText() + QStringLiteral("TreeView_DblClick: NEWDIR=") + newDir +
                             QStringLiteral(" OLDDIR=") + oldDir);
        return;
    }
    nav_.goTo(newDir);
    if (tree->topLevelItemCount() > 0)
        tree->setCurrentItem(tree->topLevelItem(0));
}

bool TreeCommands::TreeView_KeyUp(int key)
{
    if (host_.treeView->topLevelItemCount() == 0)
        return false;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        TreeView_DblClick();
        return true;
    }
    if (key == Qt::Key_Backspace) {
        nav_.parentDirByKey = -1;
        nav_.cmdParentDir_Click();
        return true;
    }
    return false;
}

void TreeCommands::TreeView_MouseUp(Qt::MouseButton button, const QPoint& globalPos)
{
    if (button != Qt::RightButton || host_.treeView->topLevelItemCount() == 0)
        return;
    const QTreeWidgetItem* node = host_.treeView->currentItem();
    bool contents = false;
    if (node && !isRootNode(node)) {
        const auto info = platform::entryInfo(selectedPath());
        contents = info && info->isDir;
    }
    mnuTreeviewAddRecursive->setEnabled(contents);
    mnuTreeviewAdd->setEnabled(true);
    mnuTreeviewCopy->setEnabled(true);
    mnuPopupTreeview->setDefaultAction(nullptr);
    mnuPopupTreeview->popup(globalPos);
}

void TreeCommands::mnuTreeviewAdd_Click()
{
    const QTreeWidgetItem* node = host_.treeView->currentItem();
    // "[..]" stands for the parent directory, not for an entry of that name.
    if (!node || isRootNode(node))
        return;
    emit addToFreeSelect(selectedPath());
}

void TreeCommands::mnuTreeviewAddRecursive_Click()
{
    QTreeWidget* tree = host_.treeView;
    const QTreeWidgetItem* selected = tree->currentItem();
    if (!selected || isRootNode(selected))
        return;
    const QString base = host_.readTicks().path;
    const QString prefix = nodeFullPath(selected) + QLatin1Char('/');

    // The nodes below the selected one, in the order the tree was built from
    // the path lists: directories, then files.
    QHash<QString, int> buildOrder;
    const FileListState& s = *host_.files;
    const qsizetype cut = base.endsWith(QLatin1Char('/')) ? base.size() : base.size() + 1;
    int n = 0;
    for (const QStringList* list : {&s.lstDirs[0], &s.lstFiles[0]})
        for (const QString& path : *list)
            buildOrder.insert(QStringLiteral("NODE") + path.mid(cut), n++);
    QList<QTreeWidgetItem*> nodes;
    collectNodes(tree->invisibleRootItem(), nodes);
    std::stable_sort(nodes.begin(), nodes.end(), [&](const QTreeWidgetItem* a, const QTreeWidgetItem* b) {
        return buildOrder.value(a->data(0, kNodeKeyRole).toString(), -1) <
               buildOrder.value(b->data(0, kNodeKeyRole).toString(), -1);
    });
    QStringList candidates;
    for (const QTreeWidgetItem* node : nodes) {
        const QString full = nodeFullPath(node);
        if (!isRootNode(node) && full.startsWith(prefix))
            candidates.push_back(base + full);
    }

    emit addContentsToFreeSelect(candidates);
}

void TreeCommands::mnuTreeviewCopy_Click()
{
    if (const QTreeWidgetItem* node = host_.treeView->currentItem())
        QGuiApplication::clipboard()->setText(node->text(0));
}
