#include "platform/listview.h"
#include "platform/twips.h"

#include <algorithm>
#include <QHeaderView>
#include <QLineEdit>
#include <QListView>
#include <QStackedLayout>
#include <QStyledItemDelegate>
#include <QTreeView>

namespace platform {

namespace {

// Fills the edit box once: a change of other cells of the row while the box is
// open (the preview column) must not overwrite what the user is typing.
class LabelDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        if (editor->property("labelFilled").toBool())
            return;
        editor->setProperty("labelFilled", true);
        QStyledItemDelegate::setEditorData(editor, index);
    }
};

} // namespace

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
    report_->setItemDelegate(new LabelDelegate(report_));
    icons_->setModel(model_);
    icons_->setItemDelegate(new LabelDelegate(icons_));
    icons_->setSelectionModel(selection_);
    icons_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // The icon view shows one column; a click there selects the whole row, as
    // in the report view, so the row counts as selected.
    icons_->setSelectionBehavior(QAbstractItemView::SelectRows);
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

void ListView::addRow(ListRow r)
{
    std::vector<ListRow> one;
    one.push_back(std::move(r));
    model_->insertItems(count(), std::move(one));
}

bool ListView::isSelected(int row) const
{
    return selection_->isRowSelected(row, {});
}

void ListView::setSelected(int row, bool on)
{
    if (row < 0 || row >= count() || model_->columns_.empty())
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
        model_->setIconLists(model_->smallIcons_, model_->largeIcons_, false);
        stack_->setCurrentWidget(report_);
        return;
    }
    icons_->setViewMode(v == 0 ? QListView::IconMode : QListView::ListMode);
    icons_->setFlow(v == 0 ? QListView::LeftToRight : QListView::TopToBottom);
    icons_->setWrapping(true);
    model_->setIconLists(model_->smallIcons_, model_->largeIcons_, v == 0);
    if (v == 0 && model_->largeIcons_)
        icons_->setIconSize(model_->largeIcons_->size);
    else if (model_->smallIcons_)
        icons_->setIconSize(model_->smallIcons_->size);
    stack_->setCurrentWidget(icons_);
}

void ListView::setListFont(const QFont& f)
{
    hint_ = false;
    font_ = f;
    report_->setFont(f);
    icons_->setFont(f);
    icons_->setWordWrap(false);
}

void ListView::setHintFont(const QFont& f)
{
    hint_ = true;
    font_ = f;
    report_->setFont(f);
    icons_->setFont(f);
    // A message row wraps at the list's edge, so it is read without scrolling.
    icons_->setWordWrap(true);
}

void ListView::addColumn(const QString& key, const QString& caption, int widthTwips)
{
    const int n = int(model_->columns_.size());
    model_->beginInsertColumns({}, n, n);
    model_->columns_.push_back({key, caption, widthTwips});
    model_->endInsertColumns();
    setColumnWidth(n, widthTwips);
}

int ListView::columnIndex(const QString& key) const
{
    for (size_t i = 0; i < model_->columns_.size(); ++i)
        if (model_->columns_[i].key == key)
            return int(i);
    return -1;
}

void ListView::setColumnWidth(int column, int widthTwips)
{
    if (column < 0 || size_t(column) >= model_->columns_.size())
        return;
    model_->columns_[size_t(column)].widthTwips = widthTwips;
    const int px = toPixels(widthTwips);
    report_->setColumnHidden(column, px <= 0);
    if (px > 0)
        report_->setColumnWidth(column, px);
}

int ListView::columnWidth(int column) const
{
    if (column < 0 || size_t(column) >= model_->columns_.size())
        return 0;
    if (report_->isColumnHidden(column))
        return 0;
    // A column still as wide as it was made gives back its twips: its pixels
    // converted back would be cut to the scale's multiples.
    const int pixels = report_->columnWidth(column);
    const int given = model_->columns_[size_t(column)].widthTwips;
    return pixels == toPixels(given) ? given : int(toTwips(pixels));
}

void ListView::removeExtraColumns(int keep)
{
    const int n = int(model_->columns_.size());
    if (n <= keep)
        return;
    model_->beginRemoveColumns({}, keep, n - 1);
    model_->columns_.resize(size_t(keep));
    model_->endRemoveColumns();
}

void ListView::removeColumn(const QString& key)
{
    const int i = columnIndex(key);
    if (i < 0)
        return;
    model_->beginRemoveColumns({}, i, i);
    model_->columns_.erase(model_->columns_.begin() + i);
    model_->endRemoveColumns();
}

void ListView::setSmallIcons(const ImageList* list)
{
    model_->setIconLists(list, model_->largeIcons_, model_->largeIconsShown_);
    if (list)
        report_->setIconSize(list->size);
}

void ListView::setLargeIcons(const ImageList* list)
{
    model_->setIconLists(model_->smallIcons_, list, model_->largeIconsShown_);
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
    // A style sheet for the items takes over their selected look too, so it
    // names the selection colours; without them a selected row loses its text.
    report_->setStyleSheet(
        on ? QStringLiteral(
                 "QTreeView::item { border-bottom: 1px solid palette(mid); border-right: 1px solid palette(mid); }"
                 "QTreeView::item:selected { background: palette(highlight); color: palette(highlighted-text); }")
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
    if (!v)
        return;
    v->edit(model_->index(r, 0));
    // The editor is a child of the viewport; the open one is the visible one.
    for (QLineEdit* e : v->viewport()->findChildren<QLineEdit*>())
        if (e->isVisibleTo(v)) {
            emit labelEditOpened(r, e);
            break;
        }
}

namespace {

// The order of two rows under a column sort.
struct RowLess {
    int column;
    Qt::SortOrder order;
    bool dirsFirstAlways;
    bool bySize;
    bool operator()(const ListRow& x, const ListRow& y) const
    {
        if (x.isDir != y.isDir)
            return dirsFirstAlways || order == Qt::AscendingOrder ? x.isDir : y.isDir;
        int c;
        if (bySize)
            c = x.sizeBytes < y.sizeBytes ? -1 : x.sizeBytes > y.sizeBytes ? 1 : 0;
        else
            c = QString::compare(x.cells[size_t(column)], y.cells[size_t(column)], Qt::CaseInsensitive);
        return order == Qt::AscendingOrder ? c < 0 : c > 0;
    }
};

} // namespace

bool ListView::sortsBySize(int column) const
{
    const QString& key = model_->columns_[size_t(column)].key;
    return key == QLatin1String("size") || key == QLatin1String("sizeb");
}

void ListView::sortByColumn(int column, Qt::SortOrder order, bool dirsFirstAlways)
{
    if (column < 0 || size_t(column) >= model_->columns_.size())
        return;
    std::vector<int> newOrder(static_cast<size_t>(count()));
    for (size_t i = 0; i < newOrder.size(); ++i)
        newOrder[i] = int(i);
    const RowLess less{column, order, dirsFirstAlways, sortsBySize(column)};
    const std::vector<ListRow>& rows = model_->rows();
    std::stable_sort(newOrder.begin(), newOrder.end(),
                     [&](int a, int b) { return less(rows[size_t(a)], rows[size_t(b)]); });
    // The selection and the current row follow their rows.
    model_->reorder(newOrder);
}

bool ListView::standsSortedBy(int column, Qt::SortOrder order, bool dirsFirstAlways) const
{
    if (column < 0 || size_t(column) >= model_->columns_.size())
        return true;
    // A stable sort keeps the rows where they are exactly when no row belongs before the one above it.
    const RowLess less{column, order, dirsFirstAlways, sortsBySize(column)};
    const std::vector<ListRow>& rows = model_->rows();
    for (size_t i = 1; i < rows.size(); ++i)
        if (less(rows[i], rows[i - 1]))
            return false;
    return true;
}

} // namespace platform
