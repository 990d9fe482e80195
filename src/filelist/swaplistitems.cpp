#include "filelist/swaplistitems.h"
#include "platform/failure.h"

#include <utility>

void swapListItems(FileListHost& host, int a, int b)
{
    platform::ListView* list = host.lwDirectory;
    if (*host.fileMode == 0)
        host.files->listOrderChanged = -1;
    else
        list = host.lwDragDrop;
    if (a < 1 || b < 1 || a > list->count() || b > list->count())
        throw platform::makeFailure(platform::failures::SubscriptOutOfRange);
    platform::ListRow& x = list->row(a - 1);
    platform::ListRow& y = list->row(b - 1);
    std::swap(x.smallIcon, y.smallIcon);
    std::swap(x.largeIcon, y.largeIcon);
    std::swap(x.isDir, y.isDir);
    std::swap(x.sizeBytes, y.sizeBytes);
    const size_t last = host.options->showAllColumns == 1 ? 9 : 2;
    for (size_t c = 0; c <= last; ++c)
        std::swap(x.cells[c], y.cells[c]);
    list->model()->markChanged(a - 1);
    list->model()->markChanged(b - 1);
    list->setSelected(a - 1, false);
    list->setSelected(b - 1, false);
}
