#pragma once
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

// The name a computed new name becomes on disk, with the sub-directory tags
// left as markers for the level-by-level creation. A "<\>" (or marker text)
// that the old name already held is never a tag: when the old name holds one,
// every tag of the new name is rendered by the map instead.
QString taggedForm(const QString& oldName, const QString& rawNewName);
// The marker-resolved form: markers become "/", empty path parts are dropped.
QString resolvedForm(const QString& taggedName);

// Free Select upkeep outside Undo: a path the collection holds after the run.
void addRebuildFile(ExecuteHost& h, const QString& path);
void addRebuildDir(ExecuteHost& h, const QString& path);
