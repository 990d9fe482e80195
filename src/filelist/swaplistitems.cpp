#include "filelist/swaplistitems.h"
#include "platform/failure.h"

void swapListItems(FileListHost& host, int a, int b)
{
    platform::ListView* list = host.lwDirectory;
    if (*host.fileMode == 0)
        host.files->listOrderChanged = -1;
    else
        list = host.lwDragDrop;
    if (a < 1 || b < 1 || a > list->count() || b > list->count())
        throw platform::makeFailure(platform::failures::SubscriptOutOfRange);
    list->swapRows(a - 1, b - 1, host.options->showAllColumns == 1 ? 9 : 2);
    list->setSelected(a - 1, false);
    list->setSelected(b - 1, false);
}
