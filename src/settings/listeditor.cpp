#include "settings/listeditor.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

ListEditor::ListEditor(const QStringList& headers, const Names& names, QWidget* parent)
    : QWidget(parent), list_(new QTreeWidget(this)), add_(new QPushButton(QStringLiteral("Add"), this)),
      edit_(new QPushButton(QStringLiteral("Edit"), this)), remove_(new QPushButton(QStringLiteral("Delete"), this)),
      columns_(int(headers.size()))
{
    list_->setObjectName(names.list);
    add_->setObjectName(names.add);
    edit_->setObjectName(names.edit);
    remove_->setObjectName(names.remove);
    list_->setColumnCount(columns_);
    list_->setHeaderLabels(headers);
    list_->setHeaderHidden(columns_ == 1);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setItemsExpandable(false);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setAllColumnsShowFocus(true);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    if (columns_ > 1)
        list_->header()->setStretchLastSection(false);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    for (QPushButton* b : {add_, edit_, remove_})
        buttons->addWidget(b);
    buttons->addStretch();
    if (!names.up.isEmpty()) {
        const auto picture = [this](const QString& name, QStyle::StandardPixmap icon, const QString& tip) {
            auto* b = new QToolButton(this);
            b->setObjectName(name);
            b->setIcon(style()->standardIcon(icon));
            b->setToolTip(tip);
            return b;
        };
        up_ = picture(names.up, QStyle::SP_ArrowUp, QStringLiteral("Move up"));
        down_ = picture(names.down, QStyle::SP_ArrowDown, QStringLiteral("Move down"));
        buttons->addWidget(up_);
        buttons->addWidget(down_);
        connect(up_, &QToolButton::clicked, this, [this] { moveSelected(-1); });
        connect(down_, &QToolButton::clicked, this, [this] { moveSelected(1); });
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);

    connect(add_, &QPushButton::clicked, this, &ListEditor::addClicked);
    connect(edit_, &QPushButton::clicked, this, &ListEditor::editClicked);
    connect(remove_, &QPushButton::clicked, this, &ListEditor::deleteClicked);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, &ListEditor::editClicked);
}

int ListEditor::count() const
{
    return list_->topLevelItemCount();
}

QStringList ListEditor::row(int r) const
{
    QStringList cells;
    const QTreeWidgetItem* item = list_->topLevelItem(r);
    for (int c = 0; item && c < columns_; ++c)
        cells << item->text(c);
    return cells;
}

std::vector<QStringList> ListEditor::rows() const
{
    std::vector<QStringList> all;
    all.reserve(size_t(count()));
    for (int r = 0; r < count(); ++r)
        all.push_back(row(r));
    return all;
}

void ListEditor::setRows(const std::vector<QStringList>& rows)
{
    list_->clear();
    QList<QTreeWidgetItem*> items;
    for (const QStringList& cells : rows)
        items << new QTreeWidgetItem(cells.mid(0, columns_));
    list_->addTopLevelItems(items);
}

void ListEditor::appendRow(const QStringList& cells)
{
    list_->addTopLevelItem(new QTreeWidgetItem(cells.mid(0, columns_)));
}

void ListEditor::setRow(int r, const QStringList& cells)
{
    if (QTreeWidgetItem* item = list_->topLevelItem(r))
        for (int c = 0; c < columns_; ++c)
            item->setText(c, c < cells.size() ? cells[c] : QString());
}

void ListEditor::removeRow(int r)
{
    delete list_->takeTopLevelItem(r);
}

int ListEditor::selectedRow() const
{
    for (int r = 0; r < count(); ++r)
        if (list_->topLevelItem(r)->isSelected())
            return r;
    return -1;
}

void ListEditor::selectRow(int r)
{
    if (QTreeWidgetItem* item = list_->topLevelItem(r)) {
        list_->setCurrentItem(item);
        item->setSelected(true);
    }
}

void ListEditor::moveSelected(int step)
{
    const int r = selectedRow();
    if (r < 0)
        return;
    const int other = r + step;
    if (other >= 0 && other < count()) {
        const QStringList moved = row(r);
        setRow(r, row(other));
        setRow(other, moved);
        selectRow(other);
    }
    list_->setFocus();
}
