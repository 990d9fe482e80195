#include "filelist/generatethumbnails.h"
#include "filelist/iconlists.h"
#include "filelist/thumbnailsahead.h"
#include "platform/datetext.h"
#include "platform/fileops.h"
#include "platform/windowbusy.h"

#include <QCoreApplication>

namespace {

const QString kMain = QStringLiteral("main");
const QString kSelected = QStringLiteral("selected");

// The busy state of one run, undone when the run ends in any way.
class BusyScope {
public:
    explicit BusyScope(FileListHost& h) : h_(h)
    {
        if (h_.window)
            platform::disableWindow(h_.window);
        pointer_ = h_.ui->mousePointer();
        h_.ui->setMousePointer(11);
        main_ = h_.statusBar->panelText(kMain);
        h_.statusBar->setPanelText(kMain, QStringLiteral("Generating Thumbnails..."));
        selected_ = h_.statusBar->panelText(kSelected);
        h_.statusBar->setPanelText(kSelected, QStringLiteral("Press escape to cancel..."));
        h_.files->makeThumbnailsNow = -1;
        h_.ui->clearEscape();
    }
    ~BusyScope()
    {
        h_.files->makeThumbnailsNow = 0;
        h_.statusBar->setPanelText(kMain, main_);
        h_.statusBar->setPanelText(kSelected, selected_);
        // A run's or an Undo's window keeps the main window disabled and the hourglass.
        const bool executing = h_.executeBusy && *h_.executeBusy != 0;
        if (!executing && h_.window)
            platform::enableWindow(h_.window);
        h_.ui->setMousePointer(executing ? pointer_ : 0);
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    FileListHost& h_;
    QString main_, selected_;
    int pointer_ = 0;
};

using Lookup = qint16 (*)(FileListHost&, const QString&, qint16);

// Lends the run's decoder to the lookups while the run lasts.
class AheadScope {
public:
    AheadScope(FileListState& s, ThumbnailsAhead& ahead) : s_(s) { s_.thumbnailsAhead = &ahead; }
    ~AheadScope() { s_.thumbnailsAhead = nullptr; }
    AheadScope(const AheadScope&) = delete;
    AheadScope& operator=(const AheadScope&) = delete;

private:
    FileListState& s_;
};

QString rowPath(platform::ListView* list, int i)
{
    return list->subItem(i, 2) + list->text(i);
}

// True when every row was visited.
bool run(FileListHost& h, platform::ListView* list, Lookup lookup, const platform::ImageList& large)
{
    BusyScope busy(h);
    QCoreApplication::processEvents();
    const int n = list->count();
    // Declared after the busy state: a stopped run waits for the decodes under
    // way before it gives the window back.
    ThumbnailsAhead ahead(large.size, h.options->thumbsAspect);
    const AheadScope lent(*h.files, ahead);
    int asked = 0;
    QString shown;
    for (int i = 0; i < n; ++i) {
        for (; asked < n && asked <= i + ahead.depth(); ++asked) {
            const QString next = rowPath(list, asked);
            if (thumbnailPending(h, large, next))
                ahead.ask(next);
        }
        const QString path = rowPath(list, i);
        // A path that is not a file (a directory, or gone since the list was built) counts as a directory.
        const qint16 isDir = platform::entryExists(path, 39) ? 0 : -1;
        lookup(h, path, isDir);
        list->setIcons(i, list->row(i).smallIcon, h.files->sysIconLargeIndex);
        const QString text = QStringLiteral("Generating Thumbnails... %1%")
                                 .arg(int(platform::roundHalfEven(double(i + 1) / double(n) * 100.0)));
        // Rewriting an unchanged text costs more than it shows.
        if (text != shown) {
            shown = text;
            h.statusBar->setPanelText(kMain, text);
        }
        if (h.ui->pollEscape()) {
            list->flush();
            return false;
        }
    }
    list->flush();
    return true;
}

} // namespace

void generateThumbnails(FileListHost& host)
{
    if (run(host, host.lwDirectory, &getSysIcon, host.files->imagelistSysIconsLarge))
        host.files->thumbnailsShownDir = -1;
}

void generateThumbnailsFreeSelect(FileListHost& host)
{
    host.preview->previewRequested = 0;
    host.preview->previewToken = -1;
    if (run(host, host.lwDragDrop, &getSysIconFreeSel, host.files->imagelistSysIconsFreeSelectLarge))
        host.files->thumbnailsShownFreeSel = -1;
}
