#pragma once
#include "platform/fileops.h"

#include <ctime>
#include <QString>
#include <QStringList>
#include <vector>

// What the last run of "Rename!" changed, kept in memory for one Undo.

struct UndoFileItem {
    QString oldName;
    QString newName;     // the final name (tag resolved, map applied); may hold "/"
    QString dir;         // with its trailing "/"
    qint16 attrOld = 0;  // R 1, H 2, S 4, A 32 before an attribute change
    QString attrNewText; // "R--A" form after the change
    QString attrOldText; // the same before it
    QString created;     // old times of a date change: short date, blank, long time
    QString accessed;
    QString modified;
    // A date change also keeps the old stamps exactly (nanoseconds), so an
    // Undo puts them back as they were, not to the second.
    bool exactStamps = false;
    timespec accessedStamp{}, modifiedStamp{}, bornStamp{};
    bool hadBirthTime = false;
    // An attribute change keeps the extended attribute as it was, so an Undo
    // removes one the entry did not have and writes back the exact old bytes.
    platform::StoredDosAttrib dosAttribOld{};
};

struct UndoDirItem {
    QString oldName;
    QString newName;
    QString dir;
    qint16 attrOld = 0;
    QString attrNewText;
    QString attrOldText;
    platform::StoredDosAttrib dosAttribOld{};
};

struct UndoStore {
    std::vector<UndoFileItem> undoFiles;
    std::vector<UndoDirItem> undoDirs;
    qint32 undoFileCount = 0;
    qint32 undoDirCount = 0;
    // Item 0 is always empty; the created directories are items 1 and up, parents first.
    QStringList createdDirs{QString()};
    qint16 undoIsChange = 0; // 0 renames, -1 attributes or dates
    qint16 undoIsDates = 0;  // with undoIsChange -1: -1 dates, 0 attributes

    // Empties the store, with room reserved for the listed entries plus one; the kind flags stay.
    void reset(qsizetype fileEntries, qsizetype dirEntries);
    // Writes the record at `index`, growing the store when a re-read listed more
    // entries than it was sized for: a record is never dropped.
    void putFile(qint32 index, UndoFileItem item);
    void putDir(qint32 index, UndoDirItem item);
};
