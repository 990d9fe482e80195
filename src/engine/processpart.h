#pragma once
#include "engine/renameoptions.h"

#include <QString>

// The part of a name that find and replace, add and crop and the number
// normalisation work on: the base name, the extension, or the whole name, as
// "Process Name" and "Process Extension" choose. The split hands back what it
// put aside, so a split and its join need no shared state.
struct ProcessPart {
    enum class Kind { Whole, Name, Extension };
    QString part;  // the text to transform
    QString aside; // the rest, put back by joinProcessPart
    Kind kind = Kind::Whole;
    // The name ends in a "." after its base name ("name."): the join keeps
    // that dot, so a rule that changes nothing leaves such a name alone.
    bool trailingDot = false;
};

// The extension is what follows the last "."; a name without a dot and a name
// whose only dot is its first character (".htaccess") have none.
ProcessPart splitProcessPart(const QString& name, const RenameOptions& options);
// The whole name from the transformed part and what the split put aside.
QString joinProcessPart(const QString& part, const ProcessPart& split);
