#pragma once
#include "engine/configtypes.h"
#include "engine/renameoptions.h"

#include <QString>
#include <vector>

class Logs;

// Replaces find by replace in source, or swaps the two texts (swapMode 1).
// The first `start` characters stay untouched and are not searched; at most
// `count` replacements are made from the left (0 or -1: all). caseSensitive 0
// compares without regard to case. Occurrences never overlap and inserted text
// is never searched again. An empty source or find gives the empty text.
//
// Never throws: a start outside 0..32766 or a count below -1 writes one
// "Find & Replace:" line to the error log and gives the empty text. That line
// carries the panel's case and swap boxes (from `panel`), also for batch items.
QString findReplace(const QString& source, const QString& find, const QString& replace, int caseSensitive, int swapMode,
                    int start, int count, const RenameOptions& panel, Logs& logs);

// The single pair of the panel on a name part. The start and count boxes are
// read as 16-bit numbers; one out of that range throws platform::Failure 6.
QString replaceSingle(const QString& part, const RenameOptions& options, Logs& logs);
// The batch list on a name part, item by item in list order, each item on the
// result of the one before.
QString replaceBatch(const QString& part, const std::vector<BatchReplaceItem>& items, const RenameOptions& options,
                     Logs& logs);
