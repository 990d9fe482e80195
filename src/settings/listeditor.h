#pragma once
#include <QStringList>
#include <QWidget>
#include <vector>

class QPushButton;
class QToolButton;
class QTreeWidget;

// The one list editor of the options window: a list of rows (one column or
// several, with headers) with "Add", "Edit" and "Delete" buttons and, when
// asked for, "Move up" and "Move down" picture buttons. It keeps the rows and
// the selection and moves rows itself; what Add, Edit and Delete do is up to
// the window, which hears of the clicks (a double-click on the list counts as
// Edit).
class ListEditor : public QWidget {
    Q_OBJECT
public:
    // Object names of the list and its buttons; no names for up and down means
    // no move buttons.
    struct Names {
        QString list, add, edit, remove, up, down;
    };
    // One header means a plain list without a header row.
    ListEditor(const QStringList& headers, const Names& names, QWidget* parent = nullptr);

    QTreeWidget* list() const { return list_; }
    QPushButton* addButton() const { return add_; }
    QPushButton* editButton() const { return edit_; }
    QPushButton* deleteButton() const { return remove_; }
    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

    int count() const;
    QStringList row(int r) const;
    std::vector<QStringList> rows() const;
    void setRows(const std::vector<QStringList>& rows);
    void appendRow(const QStringList& cells);
    void setRow(int r, const QStringList& cells);
    void removeRow(int r);
    // The first selected row; -1 when none.
    int selectedRow() const;
    void selectRow(int r);

    // Move up (-1) or down (1): the selected row changes place with its
    // neighbour, all columns together, and stays selected; the focus goes to
    // the list, also when there was nothing to move.
    void moveSelected(int step);

signals:
    void addClicked();
    void editClicked();
    void deleteClicked();

private:
    QTreeWidget* list_;
    QPushButton* add_;
    QPushButton* edit_;
    QPushButton* remove_;
    QToolButton* up_ = nullptr;
    QToolButton* down_ = nullptr;
    int columns_;
};
