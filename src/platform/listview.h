#pragma once
#include "platform/listmodel.h"

#include <QFont>
#include <QItemSelectionModel>
#include <QWidget>
#include <utility>
#include <vector>

class QTreeView;
class QLineEdit;
class QListView;
class QStackedLayout;

namespace platform {

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

    int count() const { return model_->count(); }
    // Rows are 0-based here; the program's 1-based positions are i + 1.
    const QString& text(int row) const { return model_->cell(row, 0); }
    const QString& subItem(int row, int n) const { return model_->cell(row, n); }
    const ListRow& row(int r) const { return model_->row(r); }
    // Cell and icon changes reach the views batched (see ListModel).
    void setText(int row, const QString& t) { model_->setCell(row, 0, t); }
    void setSubItem(int row, int n, const QString& t) { model_->setCell(row, n, t); }
    void setCell(int row, int col, const QString& t) { model_->setCell(row, col, t); }
    void setIcons(int row, qint16 smallIcon, qint16 largeIcon) { model_->setIcons(row, smallIcon, largeIcon); }
    void swapRows(int a, int b, int lastCell = 9) { model_->swapRows(a, b, lastCell); }
    void flush() { model_->flush(); }

    void setRows(std::vector<ListRow> rows) { model_->resetRows(std::move(rows)); }
    void addRow(ListRow r);
    void removeRow(int row) { model_->removeItems(row, 1); }
    void clear() { model_->resetRows({}); }

    bool isSelected(int row) const;
    void setSelected(int row, bool on);
    int selectedCount() const;
    // The row with the keyboard focus, -1 when none.
    int currentRow() const;
    void setCurrentRow(int row);

    // 0 icon, 1 small icon, 3 report.
    int view() const { return view_; }
    void setView(int v);
    // The font of entries; the list leaves its hint state.
    void setListFont(const QFont& f);
    // The font of a hint row; the list enters its hint state.
    void setHintFont(const QFont& f);
    QFont listFont() const { return font_; }
    // A list in its hint state shows only one message row (the Free Select
    // list's "Drop files here...", the directory list's notices) and holds no
    // entries. Kept as a flag: the desktop's own font may be bold or italic.
    bool showsHintRow() const { return hint_; }

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
    // Opens the edit box on the current row and reports it by labelEditOpened.
    void startLabelEdit();

    // Sorts the rows by one column, keeping the selection. Directories come
    // first in either order, or, without dirsFirstAlways, first in ascending
    // order and last in descending order (the exact reverse).
    void sortByColumn(int column, Qt::SortOrder order, bool dirsFirstAlways = true);
    // Whether the rows already stand as sortByColumn would put them.
    bool standsSortedBy(int column, Qt::SortOrder order, bool dirsFirstAlways = true) const;

signals:
    void rowsClicked();
    // The edit box of an in-place edit has opened on `row`.
    void labelEditOpened(int row, QLineEdit* editor);

private:
    bool sortsBySize(int column) const;

    ListModel* model_;
    QItemSelectionModel* selection_;
    QTreeView* report_;
    QListView* icons_;
    QStackedLayout* stack_;
    int view_ = 3;
    QFont font_;
    bool hint_ = false;
};

} // namespace platform
