#include "filelist/fileviews.h"
#include "filelist/iconlists.h"
#include "filelist/listrows.h"
#include "filelist/selectioncount.h"
#include "platform/datetext.h"
#include "platform/windowbusy.h"

#include <algorithm>
#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QTreeWidgetItemIterator>

namespace {

const QString kMain = QStringLiteral("main");

void yieldToEvents()
{
    QCoreApplication::processEvents();
}

// Builds the nodes detached from the tree and hands them over in one go.
class TreeBuilder {
public:
    TreeBuilder(FileListHost& h, const ListTicks& ticks, qint64 rowsTotal)
        : h_(h), s_(*h.files), t_(ticks), rowsTotal_(rowsTotal)
    {
    }
    bool run();

private:
    bool addNodes(const QStringList& paths, qint16 isDir);
    QIcon icon(int index);
    void cancel();

    FileListHost& h_;
    FileListState& s_;
    const ListTicks& t_;
    qint64 rowsTotal_;
    qsizetype cut_ = 0;
    QList<QTreeWidgetItem*> top_;
    QHash<QString, QTreeWidgetItem*> byKey_;
    std::vector<QIcon> icons_;
    qint64 nodesDone_ = 0;
    int shownPercent_ = -1;
    bool lines_ = false;
};

QIcon TreeBuilder::icon(int index)
{
    if (index < 1)
        return {};
    if (size_t(index) >= icons_.size())
        icons_.resize(size_t(index) + 1);
    QIcon& i = icons_[size_t(index)];
    if (i.isNull())
        i = QIcon(s_.imagelistSysIcons.image(index));
    return i;
}

QTreeWidgetItem* makeNode(const QString& key, const QString& text, int image, const QIcon& icon)
{
    auto* node = new QTreeWidgetItem(QStringList{text});
    node->setData(0, kNodeKeyRole, key);
    node->setData(0, kNodeImageRole, image);
    node->setIcon(0, icon);
    return node;
}

bool TreeBuilder::addNodes(const QStringList& paths, qint16 isDir)
{
    for (const QString& p : paths) {
        const QString rel = p.mid(cut_);
        const qint16 small = getSysIcon(h_, p, isDir);
        const qsizetype j = rel.lastIndexOf(QLatin1Char('/'));
        const QString key = QStringLiteral("NODE") + rel;
        QTreeWidgetItem* node = makeNode(key, rel.mid(j + 1), small, icon(small));
        QTreeWidgetItem* parent = j >= 0 ? byKey_.value(QStringLiteral("NODE") + rel.left(j)) : nullptr;
        if (parent) {
            parent->addChild(node);
            lines_ = true;
        } else {
            top_.push_back(node); // also an entry whose directory is not listed
        }
        if (isDir == -1)
            byKey_.insert(key, node);
        ++nodesDone_;
        if (rowsTotal_ > 0) {
            const int percent = int(platform::roundHalfEven(double(nodesDone_) / double(rowsTotal_) * 100.0));
            if (percent != shownPercent_) {
                shownPercent_ = percent;
                h_.statusBar->setPanelText(kMain, QStringLiteral("Building Treeview... %1%").arg(percent));
            }
        }
        if (h_.ui->pollEscape()) {
            cancel();
            return false;
        }
    }
    return true;
}

void TreeBuilder::cancel()
{
    qDeleteAll(top_);
    top_.clear();
    h_.statusBar->setPanelText(QStringLiteral("selected"), QStringLiteral("User Cancelled!"));
    dropDirectoryListing(h_);
}

bool TreeBuilder::run()
{
    QTreeWidget* tree = h_.treeView;
    const FileListOptions& o = *h_.options;
    h_.statusBar->setPanelText(kMain, QStringLiteral("Building Tree Structure..."));
    yieldToEvents();
    tree->clear();
    yieldToEvents();
    tree->setRootIsDecorated(false);
    const QString& p = t_.path;
    // Relative paths start after the separator, also when the path box lacks it.
    cut_ = p.endsWith(QLatin1Char('/')) ? p.size() : p.size() + 1;
    const bool dirsShown = t_.dirs == 1 || o.alwaysShowDirs == 1;
    if (!QDir(p).isRoot() && dirsShown)
        top_.push_back(makeNode(QStringLiteral("ROOT"), QStringLiteral("[..]"), defaultIcon::GhostDir,
                                icon(defaultIcon::GhostDir)));
    if ((t_.sub == 1 || dirsShown) && !addNodes(s_.lstDirs[0], -1))
        return false;
    if (t_.files == 1 && !addNodes(s_.lstFiles[0], 0))
        return false;
    tree->addTopLevelItems(top_);
    top_.clear();
    tree->setRootIsDecorated(lines_);
    return true;
}

// Only the top level is kept in alphabetical order; children stay in list order.
void sortTopLevel(QTreeWidget* tree)
{
    QList<QTreeWidgetItem*> items = tree->invisibleRootItem()->takeChildren();
    std::stable_sort(items.begin(), items.end(), [](const QTreeWidgetItem* a, const QTreeWidgetItem* b) {
        return QString::compare(a->text(0), b->text(0), Qt::CaseInsensitive) < 0;
    });
    tree->addTopLevelItems(items);
}

QString countsText(const FileListState& s, const ListTicks& t)
{
    const qsizetype files = t.files != 0 ? s.lstFiles[0].size() : 0;
    const qsizetype dirs = t.dirs != 0 ? s.lstDirs[0].size() : 0;
    return QStringLiteral("%1 Files, %2 Directories").arg(files).arg(dirs);
}

} // namespace

void updateFileViews(FileListHost& host)
{
    FileListState& s = *host.files;
    const FileListOptions& o = *host.options;
    const ListTicks t = host.readTicks();
    const bool dirsShown = t.dirs == 1 || o.alwaysShowDirs == 1;
    const qint64 rowsTotal = (dirsShown ? s.lstDirs[0].size() : 0) + (t.files == 1 ? s.lstFiles[0].size() : 0);
    if (t.path.isEmpty())
        return;
    if (s.lstDirs[0].isEmpty() && s.lstFiles[0].isEmpty()) {
        host.statusBar->setPanelText(kMain, QStringLiteral("0 Files, 0 Directories"));
        return;
    }
    if (*host.mainWindowReady == 0)
        return;
    host.ui->clearEscape(); // only a press during the build cancels it
    host.preview->previewToken = -1;
    host.ui->setMousePointer(11);
    const bool busy = *host.executeBusy != 0;
    if (!busy && host.window)
        platform::disableWindow(host.window);
    if (o.enableTreeview != 0 && t.thumbnails != 1 && !TreeBuilder(host, t, rowsTotal).run())
        return;
    updateListview(host);
    yieldToEvents();
    host.statusBar->setPanelText(kMain, countsText(s, t));
    yieldToEvents();
    const bool subAndFiles = t.sub == 1 && t.files == 1;
    const bool dirsAndFiles = t.dirs == 1 && t.files == 1;
    if (o.alwaysShowDirs == 0 && !subAndFiles && !dirsAndFiles)
        sortTopLevel(host.treeView);
    if (!busy) {
        if (host.window)
            platform::enableWindow(host.window);
        if (host.updateExecuteButton)
            host.updateExecuteButton();
    }
    host.ui->setMousePointer(0);
    updateSelectionCount(host, 0);
}

QTreeWidgetItem* findNode(QTreeWidget* tree, const QString& key)
{
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        if ((*it)->data(0, kNodeKeyRole).toString() == key)
            return *it;
    return nullptr;
}
