#include "listui/freeselectcommands.h"
#include "execute/dragdropadd.h"
#include "filelist/iconlists.h"
#include "platform/datetext.h"
#include "platform/windowbusy.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCoreApplication>
#include <QDropEvent>
#include <QHash>
#include <QItemSelection>
#include <QListView>
#include <QMimeData>
#include <QTreeView>
#include <QUrl>

namespace {

const QString kMain = QStringLiteral("main");
const QString kSelected = QStringLiteral("selected");

// The steps that end a bulk add, in the order each command takes them.
enum class EndStep { CountsText, Yield, Enable, FocusList, DefaultPointer, SelectionCount, Gate };

struct BulkShape {
    BulkAdd command;
    bool stopPreviewFirst;   // before the busy state
    bool switchToFreeSelect; // between the busy state and the status texts
    bool gateWhenComplete;   // the gate and a preview request after a complete run
    std::vector<EndStep> end;
};

using E = EndStep;
const BulkShape kShapes[] = {
    {BulkAdd::AddDialog,
     true,
     false,
     true,
     {E::CountsText, E::Yield, E::Enable, E::FocusList, E::DefaultPointer, E::SelectionCount}},
    {BulkAdd::DropOnDirectory,
     false,
     true,
     true,
     {E::CountsText, E::Yield, E::Enable, E::DefaultPointer, E::SelectionCount}},
    {BulkAdd::DropOnFreeSelect,
     false,
     false,
     true,
     {E::CountsText, E::Yield, E::Enable, E::DefaultPointer, E::SelectionCount}},
    // The selection count puts back the text that "Press escape to cancel..." stood in for.
    {BulkAdd::AddSelected, false, false, false, {E::Yield, E::Enable, E::DefaultPointer, E::Gate, E::SelectionCount}},
    {BulkAdd::DirectoryContents, false, false, false, {E::Yield, E::Enable, E::DefaultPointer, E::SelectionCount}},
};

const BulkShape& shapeOf(BulkAdd command)
{
    for (const BulkShape& s : kShapes)
        if (s.command == command)
            return s;
    return kShapes[0];
}

qsizetype nameLength(const QString& path)
{
    return path.size() - path.lastIndexOf(QLatin1Char('/')) - 1;
}

// The local files of a drop, in the order the data lists them; empty when the
// drop carries no file list.
QStringList droppedPaths(const QMimeData* data)
{
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            continue;
        QString path = url.toLocalFile();
        // A file manager may hand a directory on as "dir/"; the entry is the directory.
        if (path.size() > 1 && path.endsWith(QLatin1Char('/')))
            path.chop(1);
        if (!path.isEmpty())
            paths << path;
    }
    return paths;
}

} // namespace

std::vector<int> addDialogPercents(const QStringList& chosenPaths)
{
    std::vector<int> percents;
    qsizetype total = 0;
    for (const QString& p : chosenPaths)
        total += 1 + nameLength(p);
    qsizetype done = 0;
    for (const QString& p : chosenPaths) {
        percents.push_back(total > 0 ? int(platform::roundHalfEven(100.0 * double(done) / double(total))) : 0);
        done += nameLength(p);
    }
    return percents;
}

int stepPercent(qsizetype i, qsizetype n)
{
    return n > 0 ? int(platform::roundHalfEven(double(i) / double(n) * 100.0)) : 0;
}

void showFreeSelectHint(platform::ListView* list)
{
    list->setView(1);
    // "Arial" 10 pt bold italic: the desktop's sans-serif family.
    QFont f = QApplication::font();
    f.setFamilies({QStringLiteral("Sans Serif")});
    f.setStyleHint(QFont::SansSerif);
    f.setItalic(true);
    f.setPointSize(10);
    f.setBold(true);
    list->setHintFont(f);
    list->setLabelEdit(false);
    list->clear();
    platform::ListRow hint;
    hint.cells[0] = QStringLiteral("Drop files here...");
    list->addRow(hint);
    list->setSelected(0, false);
}

FreeSelectCommands::FreeSelectCommands(const FileListHost& host, QString& addPath, QWidget* addButton, QObject* parent)
    : QObject(parent), host_(host), addPath_(addPath), addButton_(addButton)
{
    setObjectName(QStringLiteral("freeSelectCommands"));
    auto action = [this](const char* name, const QString& caption, void (FreeSelectCommands::*slot)()) {
        auto* a = new QAction(caption, this);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    mnuListviewAdd = action("mnuListviewAdd", QStringLiteral("Add Selected to Free Select"),
                            &FreeSelectCommands::mnuListviewAdd_Click);
    mnuDragdropRemove = action("mnuDragdropRemove", QStringLiteral("Remove Selected   (Del)"),
                               &FreeSelectCommands::mnuDragdropRemove_Click);
    mnuDragdropClear = action("mnuDragdropClear", QStringLiteral("Clear All   (Shift+Del)"),
                              &FreeSelectCommands::mnuDragdropClear_Click);

    acceptDropsOn(host_.lwDirectory);
    acceptDropsOn(host_.lwDragDrop);
}

QList<QAction*> FreeSelectCommands::actions() const
{
    return {mnuListviewAdd, mnuDragdropRemove, mnuDragdropClear};
}

void FreeSelectCommands::setStatus(const QString& panel, const QString& text)
{
    if (host_.statusBar->panelText(panel) != text)
        host_.statusBar->setPanelText(panel, text);
}

void FreeSelectCommands::countsText()
{
    const int mode = *host_.fileMode == 1 ? 1 : 0;
    setStatus(kMain, QStringLiteral("%1 Files, %2 Directories")
                         .arg(host_.files->lstFiles[mode].size())
                         .arg(host_.files->lstDirs[mode].size()));
}

// ---------------------------------------------------------------- adding

FreeSelectTarget FreeSelectCommands::target() const
{
    FreeSelectTarget t;
    t.lwDragDrop = host_.lwDragDrop;
    t.files = host_.files;
    t.listOptions = host_.options;
    t.thumbnails = host_.readTicks().thumbnailsFreeSelect == 1;
    t.logs = host_.logs;
    t.getSysIconFreeSel = [host = host_](const QString& path, bool isDir) mutable {
        return getSysIconFreeSel(host, path, isDir ? -1 : 0);
    };
    return t;
}

void FreeSelectCommands::dragDropAdd(QString& fullPath)
{
    ::dragDropAdd(target(), fullPath);
}

bool FreeSelectCommands::bulkAdd(BulkAdd command, const std::vector<BulkCandidate>& candidates, bool escapeStops)
{
    // A second bulk add while one runs (a drop delivered at one of its yields)
    // would share its busy state; it is left out.
    if (busy_)
        return false;
    busy_ = true;
    const BulkShape& shape = shapeOf(command);
    if (shape.stopPreviewFirst)
        stopPreview(*host_.preview);
    host_.ui->setMousePointer(11);
    platform::disableWindow(host_.window);
    // Only a press during this work stops it, not one left from before.
    host_.ui->clearEscape();
    if (shape.switchToFreeSelect)
        emit freeSelectModeWanted();
    setStatus(kMain, QStringLiteral("Adding Files..."));
    setStatus(kSelected, QStringLiteral("Press escape to cancel..."));
    QCoreApplication::processEvents();

    bool complete = true;
    {
        // One adder for the whole loop: its index of the listed entries makes
        // the duplicate test a look-up, and the rows reach the list at once.
        FreeSelectAdder adder(target());
        for (const BulkCandidate& c : candidates) {
            if (c.percent >= 0)
                setStatus(kMain, QStringLiteral("Adding Files... %1%").arg(c.percent));
            if (c.handOn) {
                QString path = c.path;
                adder.add(path);
            }
            if (escapeStops && host_.ui->pollEscape()) {
                complete = false;
                break;
            }
        }
        adder.finish();
    }

    if (complete) {
        if (host_.readTicks().thumbnailsFreeSelect == 1)
            emit thumbnailsWanted();
        if (shape.gateWhenComplete) {
            emit validate();
            host_.preview->previewRequested = -1;
        }
    }
    for (EndStep step : shape.end) {
        switch (step) {
        case EndStep::CountsText:
            countsText();
            break;
        case EndStep::Yield:
            QCoreApplication::processEvents();
            break;
        case EndStep::Enable:
            platform::enableWindow(host_.window);
            break;
        case EndStep::FocusList:
            host_.lwDragDrop->setFocus();
            break;
        case EndStep::DefaultPointer:
            host_.ui->setMousePointer(0);
            break;
        case EndStep::SelectionCount:
            emit countSelection(false);
            break;
        case EndStep::Gate:
            emit validate();
            break;
        }
    }
    busy_ = false;
    return complete;
}

void FreeSelectCommands::cmdDragDropAdd_Click()
{
    stopPreview(*host_.preview);
    QString start = addPath_;
    if (start.isEmpty())
        start = host_.readTicks().path;
    if (start.endsWith(QLatin1Char('/')))
        start.chop(1);
    // An empty folder stands for the root, as the separator alone would.
    if (start.isEmpty())
        start = QStringLiteral("/");
    // "*" rather than "*.*": on Linux "*.*" would hide every name without a dot.
    const QStringList chosen = host_.ui->openFiles(host_.window, QStringLiteral("Select Files To Add"), start,
                                                   QStringLiteral("All Files (*)"));
    // The dialog answers a cancel with no file; a name ending in "*" is a file
    // like any other here.
    if (chosen.isEmpty())
        return;
    if (chosen.size() == 1) {
        bulkAdd(BulkAdd::AddDialog, {BulkCandidate{chosen.front()}}, false);
        const QString& path = chosen.front();
        addPath_ = path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
        return;
    }
    const QString& first = chosen.front();
    const qsizetype slash = first.lastIndexOf(QLatin1Char('/'));
    addPath_ = slash <= 0 ? QStringLiteral("/") : first.left(slash);
    const std::vector<int> percents = addDialogPercents(chosen);
    std::vector<BulkCandidate> candidates;
    candidates.reserve(size_t(chosen.size()));
    for (qsizetype i = 0; i < chosen.size(); ++i)
        candidates.push_back({chosen[i], percents[size_t(i)]});
    bulkAdd(BulkAdd::AddDialog, candidates);
}

// A drop's candidates, each with its share of the whole as progress.
static std::vector<BulkCandidate> dropCandidates(const QStringList& paths)
{
    std::vector<BulkCandidate> candidates;
    candidates.reserve(size_t(paths.size()));
    for (qsizetype i = 0; i < paths.size(); ++i)
        candidates.push_back({paths[i], stepPercent(i + 1, paths.size())});
    return candidates;
}

void FreeSelectCommands::lwDirectory_OLEDragDrop(const QStringList& paths)
{
    if (!paths.isEmpty())
        bulkAdd(BulkAdd::DropOnDirectory, dropCandidates(paths));
}

void FreeSelectCommands::lwDragDrop_OLEDragDrop(const QStringList& paths)
{
    if (!paths.isEmpty())
        bulkAdd(BulkAdd::DropOnFreeSelect, dropCandidates(paths));
}

void FreeSelectCommands::mnuListviewAdd_Click()
{
    const platform::ListView* list = host_.lwDirectory;
    const int n = list->count();
    std::vector<bool> selected(size_t(n), false);
    for (const QItemSelectionRange& r : list->selectionModel()->selection())
        for (int row = r.top(); row <= r.bottom() && row < n; ++row)
            selected[size_t(row)] = true;
    std::vector<BulkCandidate> candidates;
    candidates.reserve(size_t(n));
    for (int row = 0; row < n; ++row) {
        BulkCandidate c;
        c.percent = stepPercent(row + 1, n);
        c.handOn = selected[size_t(row)];
        if (c.handOn)
            c.path = list->subItem(row, 2) + list->text(row);
        candidates.push_back(std::move(c));
    }
    bulkAdd(BulkAdd::AddSelected, candidates);
}

void FreeSelectCommands::addTreeEntry(QString fullPath)
{
    dragDropAdd(fullPath);
    if (host_.readTicks().thumbnailsFreeSelect == 1)
        emit thumbnailsWanted();
}

void FreeSelectCommands::addDirectoryContents(const QStringList& paths)
{
    std::vector<BulkCandidate> candidates;
    candidates.reserve(size_t(paths.size()));
    for (const QString& p : paths)
        candidates.push_back({p});
    bulkAdd(BulkAdd::DirectoryContents, candidates);
}

// ---------------------------------------------------------------- removing

void FreeSelectCommands::mnuDragdropRemove_Click()
{
    platform::ListView* list = host_.lwDragDrop;
    QStringList& files = host_.files->lstFiles[1];
    QStringList& dirs = host_.files->lstDirs[1];
    const int n = list->count();
    std::vector<bool> selected(size_t(n), false);
    bool any = false;
    for (const QItemSelectionRange& r : list->selectionModel()->selection())
        for (int row = r.top(); row <= r.bottom() && row < n; ++row) {
            selected[size_t(row)] = true;
            any = true;
        }

    if (any) {
        // Where each key stands in the stores, first occurrence first, so that
        // each selected row costs one look-up however long the collection is.
        auto index = [](const QStringList& store) {
            QHash<QString, std::vector<qsizetype>> positions;
            positions.reserve(store.size());
            for (qsizetype i = store.size() - 1; i >= 0; --i)
                positions[store[i]].push_back(i); // popped from the back: first occurrence first
            return positions;
        };
        QHash<QString, std::vector<qsizetype>> filePos = index(files), dirPos = index(dirs);
        std::vector<bool> fileGone(size_t(files.size()), false), dirGone(size_t(dirs.size()), false);
        std::vector<bool> rowGone(size_t(n), false);
        int removed = 0;
        for (int row = 0; row < n; ++row) {
            if (!selected[size_t(row)])
                continue;
            const QString key = list->subItem(row, 2) + list->text(row);
            auto take = [&key](QHash<QString, std::vector<qsizetype>>& pos, std::vector<bool>& gone) {
                auto it = pos.find(key);
                if (it == pos.end() || it->empty())
                    return false;
                gone[size_t(it->back())] = true;
                it->pop_back();
                return true;
            };
            if (take(filePos, fileGone) || take(dirPos, dirGone)) {
                rowGone[size_t(row)] = true;
                ++removed;
            }
        }
        if (removed > 0) {
            auto keep = [](QStringList& store, const std::vector<bool>& gone) {
                QStringList kept;
                kept.reserve(store.size());
                for (qsizetype i = 0; i < store.size(); ++i)
                    if (!gone[size_t(i)])
                        kept << store[i];
                store = std::move(kept);
            };
            keep(files, fileGone);
            keep(dirs, dirGone);
            // The rows that stay keep their order, and a selected row whose key
            // is in neither store stays selected.
            const int current = list->currentRow();
            std::vector<platform::ListRow> rows;
            std::vector<int> stillSelected;
            rows.reserve(size_t(n - removed));
            int newCurrent = -1;
            for (int row = 0; row < n; ++row) {
                if (row == current)
                    newCurrent = int(rows.size());
                if (rowGone[size_t(row)])
                    continue;
                if (selected[size_t(row)])
                    stillSelected.push_back(int(rows.size()));
                rows.push_back(list->row(row));
            }
            list->setRows(std::move(rows));
            QItemSelection keepSelected;
            const int lastColumn = std::max(list->model()->columnCount() - 1, 0);
            for (int r : stillSelected)
                keepSelected.select(list->model()->index(r, 0), list->model()->index(r, lastColumn));
            if (!keepSelected.isEmpty())
                list->selectionModel()->select(keepSelected, QItemSelectionModel::Select);
            if (list->count() > 0)
                list->setCurrentRow(std::min(std::max(newCurrent, 0), list->count() - 1));
        }
    }
    if (list->count() == 0)
        setHintState();
    emit validate();
}

void FreeSelectCommands::mnuDragdropClear_Click()
{
    host_.ui->setMousePointer(11);
    platform::disableWindow(host_.window);
    setStatus(kMain, QStringLiteral("Clearing..."));
    host_.lwDragDrop->clear();
    host_.files->lstDirs[1].clear();
    host_.files->lstFiles[1].clear();
    emit validate();
    if (host_.options->cacheIcons == 0)
        resetSysIconsFreeSel(host_);
    platform::enableWindow(host_.window);
    host_.ui->setMousePointer(0);
    setHintState();
}

void FreeSelectCommands::cmdDragDropDel_Click()
{
    stopPreview(*host_.preview);
    mnuDragdropRemove_Click();
    emit countSelection(false);
    host_.lwDragDrop->setFocus();
}

void FreeSelectCommands::cmdDragDropClear_Click()
{
    stopPreview(*host_.preview);
    mnuDragdropClear_Click();
    emit countSelection(false);
    host_.lwDragDrop->setFocus();
}

void FreeSelectCommands::setHintState()
{
    showFreeSelectHint(host_.lwDragDrop);
    addButton_->setFocus();
}

// ---------------------------------------------------------------- shell drops

void FreeSelectCommands::acceptDropsOn(platform::ListView* list)
{
    for (QAbstractItemView* v :
         {static_cast<QAbstractItemView*>(list->reportView()), static_cast<QAbstractItemView*>(list->iconView())}) {
        v->setAcceptDrops(true);
        v->viewport()->setAcceptDrops(true);
        v->viewport()->installEventFilter(this);
    }
}

bool FreeSelectCommands::eventFilter(QObject* watched, QEvent* e)
{
    const QEvent::Type type = e->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return QObject::eventFilter(watched, e);
    auto* drop = static_cast<QDropEvent*>(e);
    const QStringList paths = droppedPaths(drop->mimeData());
    if (paths.isEmpty())
        return QObject::eventFilter(watched, e); // not a file list: the view decides
    if (busy_ || !host_.window->isEnabled()) {
        drop->ignore();
        return true;
    }
    drop->acceptProposedAction();
    if (type != QEvent::Drop)
        return true;
    const bool ontoDirectory =
        watched == host_.lwDirectory->reportView()->viewport() || watched == host_.lwDirectory->iconView()->viewport();
    // The drag source waits for the drop to end: the add runs right after it.
    QMetaObject::invokeMethod(
        this,
        [this, paths, ontoDirectory] {
            if (ontoDirectory)
                lwDirectory_OLEDragDrop(paths);
            else
                lwDragDrop_OLEDragDrop(paths);
        },
        Qt::QueuedConnection);
    return true;
}
