#pragma once
#include "platform/controls.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

// The item dialog of the batch-replace list: one row's find and replace texts,
// case and swap marks, start and count, for a new row (add mode) or the
// selected one (edit mode).
class FrmBatchReplaceAdd : public QDialog {
    Q_OBJECT
public:
    // `row` holds the six columns of the row to edit; unused in add mode.
    FrmBatchReplaceAdd(bool editMode, const QStringList& row, QWidget* parent = nullptr);

    // The six columns after "OK".
    QStringList row() const { return row_; }

    QLineEdit* txtFind;
    QLineEdit* txtReplace;
    platform::CheckBox* chkCaseSensitive;
    platform::CheckBox* chkReplaceMode;
    QLineEdit* txtReplaceStart;
    QLineEdit* txtReplaceCount;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

    void txtFind_Change();
    void cmdOK_Click();

protected:
    bool event(QEvent* e) override;

private:
    QStringList row_;
};
