#pragma once
#include "filelist/host.h"

#include <QObject>

class QLineEdit;

// Renaming one entry by editing its name in either file list. The typed name
// loses its control characters (C0 and C1), passes the forbidden-character map and the entry is renamed on disk at
// once, without log, undo record or statistics; then every path list and row
// that names it, and for a directory everything below it, is brought in step.
class InPlaceRename : public QObject {
    Q_OBJECT
public:
    InPlaceRename(const FileListHost& host, QObject* parent);

    // Opens the edit on the list's current row. A row without a directory (the
    // hint row) names no entry, so no edit opens there.
    void startEdit(platform::ListView* list);

    // The close of an edit on `row` of `list` with the typed text; false keeps
    // the old name (unchanged, blank, refused by the map or by the disk).
    bool afterLabelEdit(platform::ListView* list, int row, const QString& typed);

private:
    void beforeLabelEdit(platform::ListView* list, int row, QLineEdit* editor);
    void repathBelow(platform::ListView* list, QStringList& dirs, QStringList& files, bool rows, bool lists,
                     const QString& oldFull, const QString& newFull);

    FileListHost host_;
};

// Replaces the leading `oldFull` of `s` by `newFull` when `s` is that path or
// lies below it ("/" right after the prefix); true when it did.
bool repathBelowPrefix(QString& s, const QString& oldFull, const QString& newFull);
