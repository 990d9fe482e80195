#include "execute/dragdropadd.h"
#include "execute/executehost.h"
#include "filelist/listrows.h"
#include "platform/failure.h"
#include "platform/fileops.h"

#include <optional>
#include <QApplication>
#include <QItemSelection>

FreeSelectTarget freeSelectTarget(const ExecuteHost& h)
{
    FreeSelectTarget t;
    t.lwDragDrop = h.lwDragDrop;
    t.files = h.files;
    t.listOptions = h.listOptions;
    t.thumbnails = h.ticks.thumbnailsFreeSelect == 1;
    t.logs = h.logs;
    t.getSysIconFreeSel = h.getSysIconFreeSel;
    return t;
}

FreeSelectAdder::FreeSelectAdder(FreeSelectTarget target) : t_(std::move(target)) {}

FreeSelectAdder::~FreeSelectAdder()
{
    finish();
}

void FreeSelectAdder::add(QString& fullPath)
{
    t_.files->thumbnailsShownFreeSel = 0;
    fullPath.replace(QStringLiteral("//"), QStringLiteral("/"));
    try {
        addChecked(fullPath);
    } catch (const platform::Failure& f) {
        t_.logs->logError(f.errorText() + QStringLiteral("dragDropAdd: ") + fullPath);
    } catch (const std::exception&) {
        t_.logs->logError(platform::makeFailure(platform::failures::Overflow).errorText() +
                          QStringLiteral("dragDropAdd: ") + fullPath);
    }
}

void FreeSelectAdder::addChecked(QString& fullPath)
{
    // A relative path would be looked up in the program's working directory
    // but listed under "/", that is as another entry: it adds nothing.
    if (!fullPath.startsWith(QLatin1Char('/')))
        return;
    const bool isFile = platform::entryExists(fullPath, 39);
    const bool isDir = !isFile && platform::entryExists(fullPath, 55);
    if (!isFile && !isDir)
        return;

    qint16 small = 0, large = 0;
    if (t_.getSysIconFreeSel) {
        small = t_.getSysIconFreeSel(fullPath, isDir);
        large = t_.files->sysIconLargeIndex;
    } else {
        const QString key = isDir ? QStringLiteral("default_dir") : QStringLiteral("default_file");
        small = qint16(t_.files->imagelistSysIconsFreeSelect.indexOfKey(key));
        large = qint16(t_.files->imagelistSysIconsFreeSelectLarge.indexOfKey(key));
    }

    const qsizetype slash = fullPath.lastIndexOf(QLatin1Char('/'));
    const QString name = slash < 0 ? fullPath : fullPath.mid(slash + 1);
    const QString dir = slash < 0 ? QStringLiteral("/") : fullPath.left(slash + 1);
    if (name.isEmpty() || dir.isEmpty())
        return;

    platform::ListView* list = t_.lwDragDrop;
    if (list->showsHintRow()) {
        // The first entry ends the hint state.
        list->setView(t_.thumbnails ? 0 : 3);
        list->setListFont(QApplication::font());
        list->setLabelEdit(false);
        list->clear();
        pending_.clear();
        listed_.clear();
        indexed_ = true;
    }
    if (!indexed_) {
        for (int r = 0; r < list->count(); ++r)
            listed_.insert(list->subItem(r, 2) + list->text(r));
        indexed_ = true;
    }
    const QString key = dir + name;
    if (listed_.contains(key))
        return;
    listed_.insert(key);

    // The row in the layout both lists share. When the detail columns cannot be
    // read the entry is still listed, with those columns empty, and the failure logged.
    const bool allColumns = t_.listOptions && t_.listOptions->showAllColumns == 1;
    std::optional<platform::Failure> failure;
    platform::ListRow row;
    try {
        row = entryRow(key, isDir, allColumns);
    } catch (const platform::Failure& f) {
        failure = f;
        row = entryRow(key, isDir, false);
    }
    row.smallIcon = small;
    row.largeIcon = large;
    pending_.push_back(std::move(row));
    (isDir ? t_.files->lstDirs[1] : t_.files->lstFiles[1]).push_back(key);
    if (failure)
        throw *failure;
}

void FreeSelectAdder::finish()
{
    if (pending_.empty())
        return;
    platform::ListView* list = t_.lwDragDrop;
    if (pending_.size() == 1) {
        list->addRow(std::move(pending_.front()));
        pending_.clear();
        return;
    }
    // One model reset for many rows; the selection of the rows already there is kept.
    const QModelIndexList selected = list->selectionModel()->selectedRows();
    std::vector<platform::ListRow> rows = list->model()->rows();
    rows.reserve(rows.size() + pending_.size());
    for (platform::ListRow& r : pending_)
        rows.push_back(std::move(r));
    pending_.clear();
    list->setRows(std::move(rows));
    if (!selected.isEmpty() && list->model()->columnCount() > 0) {
        QItemSelection sel;
        for (const QModelIndex& i : selected)
            sel.select(list->model()->index(i.row(), 0), list->model()->index(i.row(), 0));
        list->selectionModel()->select(sel, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}

void dragDropAdd(const FreeSelectTarget& target, QString& fullPath)
{
    FreeSelectAdder adder(target);
    adder.add(fullPath);
    adder.finish();
}
