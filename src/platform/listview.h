#pragma once
#include <array>
#include <functional>
#include <QAbstractTableModel>
#include <QFont>
#include <QHash>
#include <QIcon>
#include <QItemSelectionModel>
#include <QPixmap>
#include <QStringList>
#include <QWidget>
#include <vector>

class QTreeView;
class QListView;
class QStackedLayout;

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
class ListModel : public QAbstractTableModel {
    Q_OBJECT
    friend class ListView;

public:
    explicit ListModel(QObject* parent = nullptr);
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    std::vector<ListRow> rows;
    std::vector<ListColumn> columns;
    const ImageList* smallIcons = nullptr;
    const ImageList* largeIcons = nullptr;
    bool largeIconsShown = false;
    bool editable = false;
    // Called for an in-place edit; return false to refuse the new text.
    std::function<bool(int row, const QString& newText)> afterLabelEdit;

    // Marks a cell changed; the views hear of all changes at once on flush.
    void markChanged(int row);
    void flush();
    void resetRows(std::vector<ListRow> newRows);

private:
    int dirtyFirst_ = -1, dirtyLast_ = -1;
    bool flushQueued_ = false;
};

// The facade the program's list code talks to: rows, Text, SubItems, icons,
// Selected, the font, the view (0 icon, 1 small icon, 3 report), label edit,
// sorting and column headers by key.
class ListView : public QWidget {
    Q_OBJECT
public:
    explicit ListView(QWidget* parent = nullptr);

    ListModel* model() const { return model_; }
    QItemSelectionModel* selectionModel() const { return selection_; }
    QTreeView* reportView() const { return report_; }
    QListView* iconView() const { return icons_; }
    QWidget* activeView() const;

    int count() const { return static_cast<int>(model_->rows.size()); }
    // Rows are 0-based here; the program's 1-based positions are i + 1.
    const QString& text(int row) const { return model_->rows[size_t(row)].cells[0]; }
    const QString& subItem(int row, int n) const { return model_->rows[size_t(row)].cells[size_t(n)]; }
    void setText(int row, const QString& t) { setCell(row, 0, t); }
    void setSubItem(int row, int n, const QString& t) { setCell(row, n, t); }
    void setCell(int row, int col, const QString& t);
    ListRow& row(int r) { return model_->rows[size_t(r)]; }
    const ListRow& row(int r) const { return model_->rows[size_t(r)]; }

    void setRows(std::vector<ListRow> rows);
    void addRow(ListRow r);
    void removeRow(int row);
    void clear();
    void flush() { model_->flush(); }

    bool isSelected(int row) const;
    void setSelected(int row, bool on);
    int selectedCount() const;
    // The row with the keyboard focus, -1 when none.
    int currentRow() const;
    void setCurrentRow(int row);

    // 0 icon, 1 small icon, 3 report.
    int view() const { return view_; }
    void setView(int v);
    void setListFont(const QFont& f);
    QFont listFont() const { return font_; }

    void addColumn(const QString& key, const QString& caption, int widthTwips);
    int columnIndex(const QString& key) const; // -1 when missing
    void setColumnWidth(int column, int widthTwips);
    int columnWidth(int column) const; // twips
    void removeExtraColumns(int keep);
    // Removes the column with this key, wherever it stands; nothing when there is none.
    void removeColumn(const QString& key);

    void setSmallIcons(const ImageList* list);
    void setLargeIcons(const ImageList* list);
    void setFullRowSelect(bool on);
    void setGridLines(bool on);
    void setLabelEdit(bool automatic);
    void startLabelEdit();

    // Sorts the rows by one column (directories first), keeping the selection.
    void sortByColumn(int column, Qt::SortOrder order);

signals:
    void rowsClicked();

private:
    ListModel* model_;
    QItemSelectionModel* selection_;
    QTreeView* report_;
    QListView* icons_;
    QStackedLayout* stack_;
    int view_ = 3;
    QFont font_;
};

} // namespace platform
