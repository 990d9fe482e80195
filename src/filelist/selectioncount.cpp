#include "filelist/selectioncount.h"

void updateSelectionCount(FileListHost& host, qint16 force)
{
    FileListState& s = *host.files;
    s.selectionCountPending = 0;
    if (host.ui->mousePointer() == 11 && force != -1)
        return;
    const int mode = *host.fileMode == 1 ? 1 : 0;
    if (s.lstFiles[mode].isEmpty() && s.lstDirs[mode].isEmpty()) {
        host.statusBar->setPanelText(QStringLiteral("selected"), QString());
        return;
    }
    const platform::ListView* list = mode == 0 ? host.lwDirectory : host.lwDragDrop;
    const int n = list->selectedCount();
    host.statusBar->setPanelText(QStringLiteral("selected"), n == 1 ? QStringLiteral("1 item selected...")
                                                                    : QStringLiteral("%1 items selected...").arg(n));
    const qint16 before = s.selectedCount;
    s.selectedCount = qint16(std::min(n, 32767));
    const bool ticked = host.readTicks().onlyRenameSelected == 1;
    const bool allWhenNone = host.options->enableRenameAllIfNoneSelected;
    s.onlySelectedActive = ticked && (!allWhenNone || n != 0) ? -1 : 0;
    const bool droppedToAll = ticked && allWhenNone && n == 0 && before != 0;
    if ((s.onlySelectedActive == -1 || droppedToAll) && host.updateExecuteButton)
        host.updateExecuteButton();
}
