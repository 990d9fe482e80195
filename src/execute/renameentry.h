#pragma once
#include "engine/forbidden.h"
#include "execute/executehost.h"

#include <QString>

// How a new name reaches the disk.
enum class NameForm {
    Tagged,  // a computed name: "<\>" creates sub-directories, forbidden characters are mapped
    Verbatim // a stored name put back as it is (Undo): no tag, no map
};

// Renames dir + oldName to dir + newName without ever replacing an existing
// entry, with everything one rename implies during a run: the log-window and
// "log.txt" lines, the counter and its label, the undo record, the snapshots,
// the Free Select rebuild list and the icon keys. A failure becomes a warning
// line and is counted. `newName` receives the final name once a rename is
// attempted. True only when the entry was renamed on disk.
bool renameFile(ExecuteHost& h, const QString& oldName, QString& newName, const QString& dir,
                NameForm form = NameForm::Tagged);
bool renameDir(ExecuteHost& h, const QString& oldName, QString& newName, const QString& dir,
               NameForm form = NameForm::Tagged);

// An entry whose bytes on disk cannot be written back from its listed text
// is never renamed: one counted warning names it, its undecodable bytes
// written as "\xHH".
void skipUndecodable(ExecuteHost& h, bool isDir, const QString& oldName, const QString& dir);

// Free Select upkeep outside Undo: a path the collection holds after the run.
void addRebuildFile(ExecuteHost& h, const QString& path);
void addRebuildDir(ExecuteHost& h, const QString& path);
