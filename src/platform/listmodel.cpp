#include "platform/listmodel.h"

#include <algorithm>
#include <QTimer>
#include <utility>

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
    return parent.isValid() ? 0 : count();
}

int ListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant ListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || size_t(index.row()) >= rows_.size() || index.column() >= 10)
        return {};
    const ListRow& r = rows_[size_t(index.row())];
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return r.cells[size_t(index.column())];
    if (role == Qt::DecorationRole && index.column() == 0) {
        const ImageList* list = largeIconsShown_ ? largeIcons_ : smallIcons_;
        const int i = largeIconsShown_ ? r.largeIcon : r.smallIcon;
        if (list && i > 0)
            return list->image(i);
    }
    return {};
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && size_t(section) < columns_.size())
        return columns_[size_t(section)].caption;
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
    if (role != Qt::EditRole || !index.isValid() || index.column() != 0 || index.row() >= count())
        return false;
    const QString t = value.toString();
    if (afterLabelEdit && !afterLabelEdit(index.row(), t))
        return false;
    if (!afterLabelEdit)
        rows_[size_t(index.row())].cells[0] = t;
    emit dataChanged(index, index);
    return true;
}

void ListModel::setCell(int row, int col, const QString& text)
{
    if (row < 0 || row >= count() || col < 0 || col >= 10)
        return;
    QString& cell = rows_[size_t(row)].cells[size_t(col)];
    if (cell == text)
        return;
    cell = text;
    markChanged(row);
}

void ListModel::setIcons(int row, qint16 smallIcon, qint16 largeIcon)
{
    if (row < 0 || row >= count())
        return;
    ListRow& r = rows_[size_t(row)];
    r.smallIcon = smallIcon;
    r.largeIcon = largeIcon;
    markChanged(row);
}

void ListModel::setRow(int row, ListRow r)
{
    if (row < 0 || row >= count())
        return;
    rows_[size_t(row)] = std::move(r);
    markChanged(row);
}

void ListModel::swapRows(int a, int b, int lastCell)
{
    if (a < 0 || b < 0 || a >= count() || b >= count() || a == b)
        return;
    ListRow& x = rows_[size_t(a)];
    ListRow& y = rows_[size_t(b)];
    std::swap(x.smallIcon, y.smallIcon);
    std::swap(x.largeIcon, y.largeIcon);
    std::swap(x.isDir, y.isDir);
    std::swap(x.sizeBytes, y.sizeBytes);
    for (int c = 0; c <= std::min(lastCell, 9); ++c)
        std::swap(x.cells[size_t(c)], y.cells[size_t(c)]);
    markChanged(a);
    markChanged(b);
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
    const int last = std::min(dirtyLast_, count() - 1);
    if (last >= dirtyFirst_ && !columns_.empty())
        emit dataChanged(index(dirtyFirst_, 0), index(last, int(columns_.size()) - 1));
    dirtyFirst_ = dirtyLast_ = -1;
}

void ListModel::insertItems(int at, std::vector<ListRow> newRows)
{
    if (newRows.empty())
        return;
    flush();
    at = std::clamp(at, 0, count());
    beginInsertRows({}, at, at + int(newRows.size()) - 1);
    rows_.insert(rows_.begin() + at, std::make_move_iterator(newRows.begin()), std::make_move_iterator(newRows.end()));
    endInsertRows();
}

void ListModel::removeItems(int first, int n)
{
    if (first < 0 || n <= 0 || first + n > count())
        return;
    flush();
    beginRemoveRows({}, first, first + n - 1);
    rows_.erase(rows_.begin() + first, rows_.begin() + first + n);
    endRemoveRows();
}

void ListModel::resetRows(std::vector<ListRow> newRows)
{
    beginResetModel();
    rows_ = std::move(newRows);
    dirtyFirst_ = dirtyLast_ = -1;
    endResetModel();
}

void ListModel::reorder(const std::vector<int>& newOrder)
{
    if (newOrder.size() != rows_.size())
        return;
    std::vector<int> newPos(rows_.size(), -1);
    for (size_t i = 0; i < newOrder.size(); ++i) {
        const int from = newOrder[i];
        if (from < 0 || from >= count() || newPos[size_t(from)] >= 0)
            return;
        newPos[size_t(from)] = int(i);
    }
    flush();
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<ListRow> sorted;
    sorted.reserve(rows_.size());
    for (int from : newOrder)
        sorted.push_back(std::move(rows_[size_t(from)]));
    rows_ = std::move(sorted);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& i : before)
        after.push_back(index(newPos[size_t(i.row())], i.column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void ListModel::setIconLists(const ImageList* small, const ImageList* large, bool largeShown)
{
    if (small == smallIcons_ && large == largeIcons_ && largeShown == largeIconsShown_)
        return;
    smallIcons_ = small;
    largeIcons_ = large;
    largeIconsShown_ = largeShown;
    if (!rows_.empty() && !columns_.empty())
        emit dataChanged(index(0, 0), index(count() - 1, 0), {Qt::DecorationRole});
}

} // namespace platform
