#include "platform/pathbox.h"

#include <QColor>
#include <QComboBox>
#include <QLineEdit>
#include <QPalette>

namespace platform {

void rememberPath(QComboBox* box, const QString& path)
{
    for (int i = 0; i < box->count(); ++i) {
        if (box->itemText(i) == path) {
            box->removeItem(i);
            box->setEditText(path);
            break;
        }
    }
    box->insertItem(0, path);
    if (box->currentText() != path)
        box->setEditText(path);
}

void setPathColour(QComboBox* box, bool listable)
{
    QPalette pal = box->palette();
    pal.setColor(QPalette::Text, listable ? QColor(0, 0, 0) : QColor(255, 0, 0));
    box->setPalette(pal);
    if (box->lineEdit())
        box->lineEdit()->setPalette(pal);
}

bool pathIsRed(const QComboBox* box)
{
    const QLineEdit* edit = box->lineEdit();
    return (edit ? edit->palette() : box->palette()).color(QPalette::Text) == QColor(255, 0, 0);
}

} // namespace platform
