// The four buttons that open the position picker and write its values back.
#include "engine/processpart.h"
#include "mainwindow/frmmain.h"

void FrmMain::showPicker()
{
    platform::ListView* list = activeList();
    const RenameOptions options = readOptions();
    QStringList samples;
    samples.reserve(list->count());
    for (int r = 0; r < list->count(); ++r)
        samples.append(splitProcessPart(list->text(r), options).part);
    FrmGetPosition dialog(picker, samples, list->currentRow(), this);
    dialog.exec();
}

void FrmMain::cmdAddGetPosition_Click()
{
    if (activeListShowsHint())
        return;
    picker.vaMode = optAddBeginning->isChecked() ? PickerMode::Position : PickerMode::PositionFromEnd;
    picker.vaPosition = pickerNumber(txtAddPos->text());
    showPicker();
    txtAddPos->setText(QString::number(picker.vaPosition));
    txtAdd->setFocus(Qt::OtherFocusReason);
}

void FrmMain::cmdCropGetPosition_Click()
{
    if (activeListShowsHint())
        return;
    picker.vaMode = optCropBeginning->isChecked() ? PickerMode::Selection : PickerMode::SelectionFromEnd;
    picker.vaLength = pickerNumber(txtCropNumber->text());
    picker.vaPosition = pickerNumber(txtCropPos->text());
    showPicker();
    txtCropPos->setText(QString::number(picker.vaPosition));
    txtCropNumber->setText(QString::number(picker.vaLength));
    txtCropNumber->setFocus(Qt::OtherFocusReason);
}

void FrmMain::cmdReplaceGetPosition_Click()
{
    if (activeListShowsHint())
        return;
    picker.vaMode = PickerMode::Position;
    picker.vaPosition = pickerNumber(txtReplaceStart->text());
    showPicker();
    txtReplaceStart->setText(QString::number(picker.vaPosition));
    txtReplaceStart->setFocus(Qt::OtherFocusReason);
}

void FrmMain::cmdReplaceGetString_Click()
{
    if (activeListShowsHint())
        return;
    picker.vaLength = 0;
    picker.vaPosition = 0;
    picker.vaMode = PickerMode::Text;
    picker.vaText = txtFind->text();
    showPicker();
    txtFind->setText(picker.vaText);
    txtFind->setFocus(Qt::OtherFocusReason);
}
