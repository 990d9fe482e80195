#include "listui/listcommands.h"
#include "filelist/selectioncount.h"
#include "filelist/swaplistitems.h"
#include "platform/failure.h"
#include "platform/fileops.h"
#include "platform/windowbusy.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QListView>
#include <QMouseEvent>
#include <QTreeView>
#include <QUrl>

ListCommands::ListCommands(const FileListHost& host, bool directoryList, QObject* parent)
    : QObject(parent), host_(host), list_(directoryList ? host.lwDirectory : host.lwDragDrop),
      directoryList_(directoryList)
{
    for (QAbstractItemView* v :
         {static_cast<QAbstractItemView*>(list_->reportView()), static_cast<QAbstractItemView*>(list_->iconView())}) {
        v->installEventFilter(this);
        v->viewport()->installEventFilter(this);
        connect(v, &QAbstractItemView::pressed, this, [this](const QModelIndex& i) { itemClick(i.row()); });
    }
    QHeaderView* header = list_->reportView()->header();
    header->setSectionsClickable(true);
    connect(header, &QHeaderView::sectionClicked, this, &ListCommands::columnClick);
}

void ListCommands::count()
{
    updateSelectionCount(host_, 0);
}

// ---------------------------------------------------------------- open

void ListCommands::open()
{
    if (itemClicked != -1 || list_->count() == 0)
        return;
    stopPreview(*host_.preview);
    const QString oldDir = host_.readTicks().path;
    host_.files->previousPath = oldDir;
    const int r = list_->currentRow();
    if (r < 0)
        return;
    const QString dir = list_->subItem(r, 2);
    const QString path = dir + list_->text(r);
    try {
        // A row without a directory (the hint row) names no entry; it is never
        // looked up relative to the program's own working directory.
        if (dir.isEmpty() || !platform::entryExists(path, 55))
            throw platform::makeFailure(platform::failures::FileNotFound);
        if (platform::isDirectory(path)) {
            emit openDirectory(path);
            return;
        }
        // The desktop opens the file; no shell command line is ever built.
        host_.ui->openUrl(QUrl::fromLocalFile(path));
    } catch (const platform::Failure& f) {
        host_.logs->logError(f.errorText() +
                             (directoryList_ ? QStringLiteral("lwDirectory_DblClick: NEWDIR=")
                                             : QStringLiteral("lwDragDrop_DblClick: NEWDIR=")) +
                             path + QStringLiteral(" OLDDIR=") + oldDir);
    }
}

// ---------------------------------------------------------------- keys

void ListCommands::f2()
{
    if (list_->currentRow() < 0)
        return;
    emit startLabelEdit();
    list_->selectionModel()->clearSelection();
    FileListState& s = *host_.files;
    s.selectedCount = 0;
    host_.statusBar->setPanelText(QStringLiteral("selected"), QStringLiteral("0 items selected..."));
    const bool ticked = host_.readTicks().onlyRenameSelected == 1;
    s.onlySelectedActive = ticked && !host_.options->enableRenameAllIfNoneSelected ? -1 : 0;
    if (s.onlySelectedActive == -1 && host_.updateExecuteButton)
        host_.updateExecuteButton();
}

void ListCommands::selectAll()
{
    platform::disableWindow(host_.window);
    host_.ui->setMousePointer(11);
    if (list_->count() > 0 && list_->model()->columnCount() > 0)
        list_->selectionModel()->select(
            QItemSelection(list_->model()->index(0, 0),
                           list_->model()->index(list_->count() - 1, list_->model()->columnCount() - 1)),
            QItemSelectionModel::Select);
    host_.ui->setMousePointer(0);
    platform::enableWindow(host_.window);
}

void ListCommands::copyCurrentName()
{
    const int r = list_->currentRow();
    if (r < 0)
        return;
    QGuiApplication::clipboard()->setText(list_->text(r));
}

void ListCommands::keyDown(int key, Qt::KeyboardModifiers)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        open();
}

void ListCommands::keyUp(int key, Qt::KeyboardModifiers mods)
{
    const bool ctrl = mods & Qt::ControlModifier;
    const bool shift = mods & Qt::ShiftModifier;
    switch (key) {
    case Qt::Key_F2:
        f2();
        break;
    case Qt::Key_A:
        if (ctrl)
            selectAll();
        count();
        break;
    case Qt::Key_C:
        if (ctrl)
            copyCurrentName();
        break;
    case Qt::Key_Up:
    case Qt::Key_Down:
        count();
        break;
    case Qt::Key_Backspace:
        if (directoryList_)
            emit parentDirectory();
        break;
    case Qt::Key_Delete:
        if (!directoryList_) {
            if (shift)
                emit clearAll();
            else
                emit removeSelected();
        }
        break;
    case Qt::Key_Insert:
        if (!directoryList_)
            emit addDialog();
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------- mouse

void ListCommands::mouseDown()
{
    host_.files->selectionCountPending = -1;
    itemClicked = 0;
    itemClickedSinceMouseDown = 0;
}

void ListCommands::itemClick(int row)
{
    if (row < 0 || row >= list_->count())
        return;
    listDragSource = list_->currentRow() >= 0 ? list_->currentRow() : row;
    itemClickedSinceMouseDown = -1;
    itemClicked = -1;
    list_->setSelected(row, true);
}

void ListCommands::mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers mods, const QPoint& globalPos)
{
    if (button == Qt::RightButton && list_->count() > 0)
        emit popupMenu(globalPos);
    if (button == Qt::MiddleButton)
        copyCurrentName();
    bool cleared = false;
    if ((mods & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == 0 && itemClickedSinceMouseDown == 0) {
        list_->selectionModel()->clearSelection();
        cleared = true;
    }
    count();
    if (cleared)
        host_.preview->previewRequested = -1;
    itemClickedSinceMouseDown = 0;
}

// ---------------------------------------------------------------- sorting

void ListCommands::columnClick(int column)
{
    qint16& order = directoryList_ ? host_.files->dirSortOrder : sortOrder;
    order = order == 0 ? 1 : 0;
    const QString key =
        column < list_->model()->columnCount() ? list_->model()->columns()[size_t(column)].key : QString();
    int sortColumn = column;
    if (key == QLatin1String("size"))
        sortColumn = list_->columnIndex(QStringLiteral("sizeb"));
    else if (key == QLatin1String("date"))
        sortColumn = list_->columnIndex(QStringLiteral("dateb"));
    // A click always shows a change: rows that already stand in the flipped
    // order (a directory just read by name, say) take the other one.
    const auto sortOrderOf = [](qint16 o) { return o == 0 ? Qt::AscendingOrder : Qt::DescendingOrder; };
    if (list_->standsSortedBy(sortColumn, sortOrderOf(order), false) &&
        !list_->standsSortedBy(sortColumn, sortOrderOf(order == 0 ? 1 : 0), false))
        order = order == 0 ? 1 : 0;
    list_->sortByColumn(sortColumn, sortOrderOf(order), false);
    QCoreApplication::processEvents();
    if (directoryList_)
        host_.files->listOrderChanged = -1;
    if (host_.updateExecuteButton)
        host_.updateExecuteButton();
}

// ---------------------------------------------------------------- moving a row

void ListCommands::dragOver(QAbstractItemView* view, const QPoint& pos)
{
    const QModelIndex i = view->indexAt(pos);
    dropHighlight = i.isValid() ? i.row() : -1;
    if (i.isValid())
        view->scrollTo(i);
}

void ListCommands::dragDrop()
{
    const int target = dropHighlight;
    dropHighlight = -1;
    if (target < 0 || listDragSource < 0 || listDragSource >= list_->count()) {
        listDragActive = 0;
        return;
    }
    // The original left the drag flag set here; it ends the drag like every other drop.
    if (list_->text(target) == list_->text(listDragSource)) {
        listDragActive = 0;
        return;
    }
    const int s = listDragSource + 1;
    const int t = target + 1;
    try {
        if (s < t)
            for (int k = s; k <= t - 1; ++k)
                swapListItems(host_, k, k + 1);
        else
            for (int k = s - 1; k >= t; --k)
                swapListItems(host_, k, k + 1);
    } catch (const platform::Failure&) {
        listDragActive = 0;
        return;
    }
    list_->setCurrentRow(target);
    list_->setSelected(target, true);
    listDragActive = 0;
    emit rowMoved();
}

// ---------------------------------------------------------------- events

bool ListCommands::eventFilter(QObject* watched, QEvent* e)
{
    QAbstractItemView* view = nullptr;
    for (QAbstractItemView* v :
         {static_cast<QAbstractItemView*>(list_->reportView()), static_cast<QAbstractItemView*>(list_->iconView())})
        if (watched == v || watched == v->viewport())
            view = v;
    if (!view)
        return false;
    // Keys of an open edit box pass up through the view; they are the box's.
    if (e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease) {
        QWidget* focus = QApplication::focusWidget();
        if (focus && focus != view && view->isAncestorOf(focus))
            return false;
    }
    switch (e->type()) {
    case QEvent::KeyPress:
        if (watched == view) {
            auto* k = static_cast<QKeyEvent*>(e);
            if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
                keyDown(k->key(), k->modifiers());
                return true;
            }
        }
        break;
    case QEvent::KeyRelease:
        if (watched == view) {
            auto* k = static_cast<QKeyEvent*>(e);
            if (!k->isAutoRepeat())
                keyUp(k->key(), k->modifiers());
        }
        break;
    case QEvent::MouseButtonPress:
        if (watched == view->viewport())
            mouseDown();
        break;
    case QEvent::MouseButtonDblClick:
        if (watched == view->viewport()) {
            // The second press of a double click: the row it lands on counts.
            mouseDown();
            const QModelIndex i = view->indexAt(static_cast<QMouseEvent*>(e)->position().toPoint());
            if (i.isValid()) {
                list_->setCurrentRow(i.row());
                itemClick(i.row());
            }
            if (static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton)
                open();
            return true;
        }
        break;
    case QEvent::MouseMove:
        if (watched == view->viewport()) {
            auto* m = static_cast<QMouseEvent*>(e);
            if (listDragActive == -1) {
                dragOver(view, m->position().toPoint());
                return true;
            }
            if (m->buttons() == Qt::LeftButton && itemClickedSinceMouseDown == -1) {
                listDragActive = -1;
                view->viewport()->setCursor(Qt::DragMoveCursor);
                dragOver(view, m->position().toPoint());
                return true;
            }
            if (m->buttons() == Qt::NoButton && host_.files->selectionCountPending == -1)
                count();
        }
        break;
    case QEvent::MouseButtonRelease:
        if (watched == view->viewport()) {
            auto* m = static_cast<QMouseEvent*>(e);
            if (listDragActive == -1) {
                view->viewport()->unsetCursor();
                dragDrop();
                itemClickedSinceMouseDown = 0;
                return true;
            }
            if (releasing_ || itemClickedSinceMouseDown != -1) {
                if (!releasing_)
                    mouseUp(m->button(), m->modifiers(), m->globalPosition().toPoint());
                break;
            }
            // After a press on a row the view finishes its own release first (it
            // may still select that row), so the menu's commands come after it.
            releasing_ = true;
            QCoreApplication::sendEvent(watched, e);
            releasing_ = false;
            mouseUp(m->button(), m->modifiers(), m->globalPosition().toPoint());
            return true;
        }
        break;
    default:
        break;
    }
    return false;
}
