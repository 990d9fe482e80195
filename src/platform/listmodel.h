#pragma once
#include <array>
#include <functional>
#include <QAbstractTableModel>
#include <QHash>
#include <QPixmap>
#include <QStringList>
#include <vector>

namespace platform {

// A keyed list of pictures, indexed from 1 like the lists the rows refer to.
// Keys are found through a hash, so a list of tens of thousands of path keys
// stays cheap to search; change a key only through setKey.
struct ImageList {
    QSize size{16, 16};
    std::vector<QPixmap> images;
    QStringList keys;
    int add(const QString& key, const QPixmap& pixmap);
    int indexOfKey(const QString& key) const; // 0 when missing
    // Gives entry `index` (from 1) a new key; the first of equal keys is found.
    void setKey(int index, const QString& key);
    void clear();
    int count() const { return static_cast<int>(images.size()); }
    QPixmap image(int index) const;

private:
    QHash<QString, int> byKey_; // key -> index from 1
    bool duplicates_ = false;   // some key stands twice: a removed key may still be found
};

// One row: Text and SubItems(1..9) as cells 0..9, icon indexes, and what the
// sort needs besides the texts.
struct ListRow {
    std::array<QString, 10> cells;
    qint16 smallIcon = 0;
    qint16 largeIcon = 0;
    bool isDir = false;    // directories sort before files
    qint64 sizeBytes = -1; // "Size" sorts by bytes, also past 100 GB
    const QString& text() const { return cells[0]; }
};

struct ListColumn {
    QString key;
    QString caption;
    int widthTwips = 0;
};

// The rows of one list, shown by a report view and an icon view at once.
// Rows are read through the const accessors and change only through the
// methods below, each of which tells the views. Cell and icon changes are
// batched: the views hear of them on flush() or at the next turn of the event
// loop, as one dataChanged over the changed range.
class ListModel : public QAbstractTableModel {
    Q_OBJECT
    friend class ListView; // columns and icon lists

public:
    explicit ListModel(QObject* parent = nullptr);
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    int count() const { return static_cast<int>(rows_.size()); }
    const std::vector<ListRow>& rows() const { return rows_; }
    const ListRow& row(int r) const { return rows_[size_t(r)]; }
    const QString& cell(int r, int col) const { return rows_[size_t(r)].cells[size_t(col)]; }
    const std::vector<ListColumn>& columns() const { return columns_; }
    const ImageList* smallIcons() const { return smallIcons_; }
    const ImageList* largeIcons() const { return largeIcons_; }
    bool largeIconsShown() const { return largeIconsShown_; }

    bool editable = false;
    // Called for an in-place edit; return false to refuse the new text. Without
    // it an edit sets the text itself.
    std::function<bool(int row, const QString& newText)> afterLabelEdit;

    // Batched changes of one row.
    void setCell(int row, int col, const QString& text);
    // Always marked: the picture behind an unchanged index may be new.
    void setIcons(int row, qint16 smallIcon, qint16 largeIcon);
    void setRow(int row, ListRow r);
    // Trades the two rows' icons, sort data and cells 0..lastCell; the rows
    // themselves stay where they are (a data change, not a move).
    void swapRows(int a, int b, int lastCell = 9);
    void flush();

    // Structural changes; pending batched changes are told first.
    void insertItems(int at, std::vector<ListRow> newRows);
    void removeItems(int first, int n);
    void resetRows(std::vector<ListRow> newRows);
    // Puts the rows in a new order: newOrder[i] is the old position of the row
    // that now stands at i. Persistent indexes (the selection, the current row,
    // an open editor) follow their rows. Anything but a permutation is ignored.
    void reorder(const std::vector<int>& newOrder);

private:
    void markChanged(int row);
    void setIconLists(const ImageList* small, const ImageList* large, bool largeShown);

    std::vector<ListRow> rows_;
    std::vector<ListColumn> columns_;
    const ImageList* smallIcons_ = nullptr;
    const ImageList* largeIcons_ = nullptr;
    bool largeIconsShown_ = false;
    int dirtyFirst_ = -1, dirtyLast_ = -1;
    bool flushQueued_ = false;
};

} // namespace platform
