#include "platform/listview.h"

#include <algorithm>
#include <QHeaderView>
#include <QListView>
#include <QStackedLayout>
#include <QTimer>
#include <QTreeView>

namespace platform {

int ImageList::add(const QString& key, const QPixmap& pixmap)
{
    images.push_back(pixmap);
    keys.push_back(key);
    if (byKey_.contains(key))
        duplicates_ = true;
    else
        byKey_.insert(key, count());
    return count();
}

int ImageList::indexOfKey(const QString& key) const
{
    return byKey_.value(key, 0);
}

void ImageList::setKey(int index, const QString& key)
{
    if (index < 1 || index > count())
        return;
    const QString old = keys[index - 1];
    keys[index - 1] = key;
    if (byKey_.value(old) == index) {
        byKey_.remove(old);
        // Another entry with the old key (never made by the program) takes its place.
        const qsizetype other = duplicates_ ? keys.indexOf(old) : -1;
        if (other >= 0)
            byKey_.insert(old, int(other) + 1);
    }
    const int holder = byKey_.value(key, 0);
    if (holder != 0)
        duplicates_ = true;
    if (holder == 0 || holder > index)
        byKey_.insert(key, index);
}

void ImageList::clear()
{
    images.clear();
    keys.clear();
    byKey_.clear();
    duplicates_ = false;
}

QPixmap ImageList::image(int index) const
{
    if (index < 1 || index > count())
        return {};
    return images[size_t(index - 1)];
}

ListModel::ListModel(QObject* parent) : QAbstractTableModel(parent) {}

int ListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(rows.size());
}

int ListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(columns.size());
}

QVariant ListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || size_t(index.row()) >= rows.size() || index.column() >= 10)
        return {};
    const ListRow& r = rows[size_t(index.row())];
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return r.cells[size_t(index.column())];
    if (role == Qt::DecorationRole && index.column() == 0) {
        const ImageList* list = largeIconsShown ? largeIcons : smallIcons;
        const int i = largeIconsShown ? r.largeIcon : r.smallIcon;
        if (list && i > 0)
            return list->image(i);
    }
    return {};
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && size_t(section) < columns.size())
        return columns[size_t(section)].caption;
    return {};
}

Qt::ItemFlags ListModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (editable && index.column() == 0)
        f |= Qt::ItemIsEditable;
    return f;
}

bool ListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.column() != 0)
        return false;
    const QString t = value.toString();
    if (afterLabelEdit && !afterLabelEdit(index.row(), t))
        return false;
    if (!afterLabelEdit)
        rows[size_t(index.row())].cells[0] = t;
    emit dataChanged(index, index);
    return true;
}

void ListModel::markChanged(int row)
{
    dirtyFirst_ = dirtyFirst_ < 0 ? row : std::min(dirtyFirst_, row);
    dirtyLast_ = std::max(dirtyLast_, row);
    if (!flushQueued_) {
        flushQueued_ = true;
        QTimer::singleShot(0, this, [this] { flush(); });
    }
}

void ListModel::flush()
{
    flushQueued_ = false;
    if (dirtyFirst_ < 0)
        return;
    const int last = std::min<int>(dirtyLast_, int(rows.size()) - 1);
    if (last >= dirtyFirst_ && !columns.empty())
        emit dataChanged(index(dirtyFirst_, 0), index(last, int(columns.size()) - 1));
    dirtyFirst_ = dirtyLast_ = -1;
}

void ListModel::resetRows(std::vector<ListRow> newRows)
{
    beginResetModel();
    rows = std::move(newRows);
    dirtyFirst_ = dirtyLast_ = -1;
    endResetModel();
}

ListView::ListView(QWidget* parent)
    : QWidget(parent), model_(new ListModel(this)), selection_(new QItemSelectionModel(model_, this)),
      report_(new QTreeView(this)), icons_(new QListView(this)), stack_(new QStackedLayout(this))
{
    report_->setModel(model_);
    report_->setSelectionModel(selection_);
    report_->setRootIsDecorated(false);
    report_->setUniformRowHeights(true);
    report_->setItemsExpandable(false);
    report_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    report_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    report_->setAllColumnsShowFocus(true);
    report_->header()->setStretchLastSection(false);
    icons_->setModel(model_);
    icons_->setSelectionModel(selection_);
    icons_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    icons_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    icons_->setUniformItemSizes(true);
    icons_->setResizeMode(QListView::Adjust);
    stack_->setContentsMargins(0, 0, 0, 0);
    stack_->addWidget(report_);
    stack_->addWidget(icons_);
    stack_->setCurrentWidget(report_);
    font_ = font();
    for (QAbstractItemView* v : {static_cast<QAbstractItemView*>(report_), static_cast<QAbstractItemView*>(icons_)})
        connect(v, &QAbstractItemView::pressed, this, [this] { emit rowsClicked(); });
}

QWidget* ListView::activeView() const
{
    return stack_->currentWidget();
}

void ListView::setCell(int row, int col, const QString& t)
{
    QString& cell = model_->rows[size_t(row)].cells[size_t(col)];
    if (cell == t)
        return;
    cell = t;
    model_->markChanged(row);
}

void ListView::setRows(std::vector<ListRow> rows)
{
    model_->resetRows(std::move(rows));
}

void ListView::addRow(ListRow r)
{
    const int n = count();
    model_->beginInsertRows({}, n, n);
    model_->rows.push_back(std::move(r));
    model_->endInsertRows();
}

void ListView::removeRow(int row)
{
    model_->beginRemoveRows({}, row, row);
    model_->rows.erase(model_->rows.begin() + row);
    model_->endRemoveRows();
}

void ListView::clear()
{
    model_->resetRows({});
}

bool ListView::isSelected(int row) const
{
    return selection_->isRowSelected(row, {});
}

void ListView::setSelected(int row, bool on)
{
    if (row < 0 || row >= count() || model_->columns.empty())
        return;
    selection_->select(model_->index(row, 0),
                       (on ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) | QItemSelectionModel::Rows);
}

int ListView::selectedCount() const
{
    return int(selection_->selectedRows().size());
}

int ListView::currentRow() const
{
    const QModelIndex i = selection_->currentIndex();
    return i.isValid() ? i.row() : -1;
}

void ListView::setCurrentRow(int row)
{
    if (row < 0 || row >= count())
        return;
    selection_->setCurrentIndex(model_->index(row, 0), QItemSelectionModel::NoUpdate);
}

void ListView::setView(int v)
{
    view_ = v;
    if (v == 3) {
        model_->largeIconsShown = false;
        stack_->setCurrentWidget(report_);
        return;
    }
    icons_->setViewMode(v == 0 ? QListView::IconMode : QListView::ListMode);
    icons_->setFlow(v == 0 ? QListView::LeftToRight : QListView::TopToBottom);
    icons_->setWrapping(true);
    model_->largeIconsShown = v == 0;
    if (v == 0 && model_->largeIcons)
        icons_->setIconSize(model_->largeIcons->size);
    else if (model_->smallIcons)
        icons_->setIconSize(model_->smallIcons->size);
    stack_->setCurrentWidget(icons_);
}

void ListView::setListFont(const QFont& f)
{
    font_ = f;
    report_->setFont(f);
    icons_->setFont(f);
}

void ListView::addColumn(const QString& key, const QString& caption, int widthTwips)
{
    const int n = int(model_->columns.size());
    model_->beginInsertColumns({}, n, n);
    model_->columns.push_back({key, caption, widthTwips});
    model_->endInsertColumns();
    setColumnWidth(n, widthTwips);
}

int ListView::columnIndex(const QString& key) const
{
    for (size_t i = 0; i < model_->columns.size(); ++i)
        if (model_->columns[i].key == key)
            return int(i);
    return -1;
}

void ListView::setColumnWidth(int column, int widthTwips)
{
    if (column < 0 || size_t(column) >= model_->columns.size())
        return;
    model_->columns[size_t(column)].widthTwips = widthTwips;
    const int px = widthTwips / 15;
    report_->setColumnHidden(column, px <= 0);
    if (px > 0)
        report_->setColumnWidth(column, px);
}

int ListView::columnWidth(int column) const
{
    if (column < 0 || size_t(column) >= model_->columns.size())
        return 0;
    if (report_->isColumnHidden(column))
        return 0;
    return report_->columnWidth(column) * 15;
}

void ListView::removeExtraColumns(int keep)
{
    const int n = int(model_->columns.size());
    if (n <= keep)
        return;
    model_->beginRemoveColumns({}, keep, n - 1);
    model_->columns.resize(size_t(keep));
    model_->endRemoveColumns();
}

void ListView::removeColumn(const QString& key)
{
    const int i = columnIndex(key);
    if (i < 0)
        return;
    model_->beginRemoveColumns({}, i, i);
    model_->columns.erase(model_->columns.begin() + i);
    model_->endRemoveColumns();
}

void ListView::setSmallIcons(const ImageList* list)
{
    model_->smallIcons = list;
    if (list)
        report_->setIconSize(list->size);
}

void ListView::setLargeIcons(const ImageList* list)
{
    model_->largeIcons = list;
    if (list && view_ == 0)
        icons_->setIconSize(list->size);
}

void ListView::setFullRowSelect(bool on)
{
    report_->setAllColumnsShowFocus(on);
    report_->setSelectionBehavior(QAbstractItemView::SelectRows);
}

void ListView::setGridLines(bool on)
{
    report_->setStyleSheet(
        on ? QStringLiteral(
                 "QTreeView::item { border-bottom: 1px solid palette(mid); border-right: 1px solid palette(mid); }")
           : QString());
}

void ListView::setLabelEdit(bool automatic)
{
    model_->editable = true;
    const auto triggers = automatic ? QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed
                                    : QAbstractItemView::NoEditTriggers;
    report_->setEditTriggers(triggers);
    icons_->setEditTriggers(triggers);
}

void ListView::startLabelEdit()
{
    const int r = currentRow();
    if (r < 0)
        return;
    model_->editable = true;
    QAbstractItemView* v = qobject_cast<QAbstractItemView*>(activeView());
    if (v)
        v->edit(model_->index(r, 0));
}

void ListView::sortByColumn(int column, Qt::SortOrder order)
{
    if (column < 0 || size_t(column) >= model_->columns.size())
        return;
    std::vector<bool> selected(model_->rows.size());
    for (size_t i = 0; i < selected.size(); ++i)
        selected[i] = isSelected(int(i));
    std::vector<size_t> order_(model_->rows.size());
    for (size_t i = 0; i < order_.size(); ++i)
        order_[i] = i;
    const bool bySize = model_->columns[size_t(column)].key == QLatin1String("size") ||
                        model_->columns[size_t(column)].key == QLatin1String("sizeb");
    const auto& rows = model_->rows;
    std::stable_sort(order_.begin(), order_.end(), [&](size_t a, size_t b) {
        const ListRow& x = rows[a];
        const ListRow& y = rows[b];
        if (x.isDir != y.isDir)
            return x.isDir; // directories first, whatever the order
        int c;
        if (bySize)
            c = x.sizeBytes < y.sizeBytes ? -1 : x.sizeBytes > y.sizeBytes ? 1 : 0;
        else
            c = QString::compare(x.cells[size_t(column)], y.cells[size_t(column)], Qt::CaseInsensitive);
        return order == Qt::AscendingOrder ? c < 0 : c > 0;
    });
    std::vector<ListRow> sorted;
    sorted.reserve(rows.size());
    std::vector<bool> sel;
    for (size_t i : order_) {
        sorted.push_back(std::move(model_->rows[i]));
        sel.push_back(selected[i]);
    }
    model_->resetRows(std::move(sorted));
    QItemSelection s;
    for (size_t i = 0; i < sel.size(); ++i)
        if (sel[i])
            s.select(model_->index(int(i), 0), model_->index(int(i), int(model_->columns.size()) - 1));
    selection_->select(s, QItemSelectionModel::ClearAndSelect);
}

} // namespace platform
