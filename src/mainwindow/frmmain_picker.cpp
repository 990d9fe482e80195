// The position picker, shown when a panel has set its values.
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
