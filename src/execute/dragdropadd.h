#pragma once
#include "engine/logs.h"
#include "filelist/filelists.h"
#include "filelist/host.h"
#include "platform/listview.h"

#include <functional>
#include <QSet>
#include <QString>
#include <vector>

struct ExecuteHost;

// What adding an entry to the Free Select collection touches.
struct FreeSelectTarget {
    platform::ListView* lwDragDrop = nullptr;
    FileListState* files = nullptr;
    const FileListOptions* listOptions = nullptr; // showAllColumns
    bool thumbnails = false;                      // chkThumbnailsFreeSelect ticked: the first entry opens the icon view
    Logs* logs = nullptr;
    // Small icon index of the entry (its large one is left in files->sysIconLargeIndex);
    // the list's default icons when empty.
    std::function<qint16(const QString& path, bool isDir)> getSysIconFreeSel;
};
FreeSelectTarget freeSelectTarget(const ExecuteHost& h);

// Adds many paths in one go: the duplicate test uses an index of the listed
// entries, and the new rows reach the list at once in finish().
class FreeSelectAdder {
public:
    explicit FreeSelectAdder(FreeSelectTarget target);
    ~FreeSelectAdder();
    FreeSelectAdder(const FreeSelectAdder&) = delete;
    FreeSelectAdder& operator=(const FreeSelectAdder&) = delete;

    // dragDropAdd for one path: `fullPath` gets its doubled "/" collapsed.
    void add(QString& fullPath);
    // Hands the pending rows to the list; also done by the destructor.
    void finish();

private:
    void addChecked(QString& fullPath);

    FreeSelectTarget t_;
    QSet<QString> listed_;
    std::vector<platform::ListRow> pending_;
    bool indexed_ = false;
};

// Adds an existing file or directory to the Free Select collection (a row of
// lwDragDrop and an item of lstFiles[1] or lstDirs[1]), unless it is missing,
// has no name, or is listed already. The list leaves its hint state. Failures
// are written to the error log with the tag "dragDropAdd: ".
void dragDropAdd(const FreeSelectTarget& target, QString& fullPath);
