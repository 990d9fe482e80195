#pragma once
#include "engine/renameoptions.h"

#include <QString>

// The "Space" mode on a whole name, in this order as the boxes ask: remove the
// leading spaces; remove the trailing spaces of the name and of its base name
// before the last "."; shrink every run of spaces to one. Only U+0020 counts.
QString trimSpaces(const QString& name, const RenameOptions& options);
