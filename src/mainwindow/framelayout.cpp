#include "mainwindow/framelayout.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QStyle>

#include <algorithm>
#include <limits>

FrameLayout frameLayout(int outerWidth, int outerHeight)
{
    FrameLayout l;
    const int tabWidth = std::max(outerWidth - kFileModeLeft - 180, 0);
    const int tabHeight = std::max(outerHeight - kFileModeTop - 830, 0);
    l.tabStripFilemode = QRect(kFileModeLeft, kFileModeTop, tabWidth, tabHeight);
    l.lists = QSize(std::max(tabWidth - 150, 0), std::max(tabHeight - 800, 0));
    l.txtPathWidth = std::max(tabWidth - 1990, 0);
    l.txtPatternLeft = kPathLeft + l.txtPathWidth + 100;
    return l;
}

int dropDownRows(int height, int fieldHeight, int rowHeight)
{
    if (rowHeight <= 0)
        return 1;
    return std::max((height - fieldHeight) / rowHeight, 1);
}

void setComboDropHeight(int height, QComboBox* combo)
{
    // Styles that open a list over the whole screen ignore the row count otherwise.
    combo->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    combo->ensurePolished();
    combo->view()->ensurePolished();
    const int row = combo->count() > 0 ? combo->view()->sizeHintForRow(0) : combo->fontMetrics().height() + 2;
    combo->setMaxVisibleItems(dropDownRows(height, combo->sizeHint().height(), row));
}

void setTagListLook(QComboBox* combo)
{
    combo->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    combo->setMaxVisibleItems(kTagListRows);
    QAbstractItemView* view = combo->view();
    combo->ensurePolished();
    view->ensurePolished();
    int widest = 0;
    for (int i = 0; i < combo->count(); ++i)
        widest = std::max(widest, view->sizeHintForIndex(combo->model()->index(i, combo->modelColumn())).width());
    const int scroll =
        combo->count() > kTagListRows ? view->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view) : 0;
    view->setMinimumWidth(widest + scroll + 2 * view->frameWidth() + 4);
}

qint16 clampTwips(qint64 twips)
{
    return qint16(std::clamp<qint64>(twips, std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max()));
}
