#pragma once
#include "engine/renameoptions.h"

#include <QString>
#include <span>
#include <vector>

// What the automatic digit count needs besides the panel values.
struct EnumContext {
    bool onlySelectedActive = false; // only the selected rows are processed
    int selectedCount = 0;           // selected rows of the active list
    int rowCount = 0;                // rows of the active list
};

// The new name of an entry from options.enumFormat: "<NAME>", "<EXT>",
// "<FULLNAME>" and "<ENUM>" (any case) become the base name, the extension,
// the name and the number start + step * (counter - 1), zero-padded to the
// fixed or automatic number of digits. Other text is copied. An empty format
// gives the empty text. A start or step text that is not a number (a lone
// "-") throws platform::Failure 13; fixed digits beyond 16 bits throw 6.
QString enumerateName(const QString& name, qint32 counter, const RenameOptions& options, const EnumContext& context);

// One row of the active list as the enumeration sees it.
struct EnumRow {
    QString dir; // the path column: the directory with a trailing "/"
    bool selected = false;
    bool ghost = false; // a ghost directory row, shown but never renamed
};

// The counter of every row, in one pass over the rows in list order: 1 for the
// first processed row, one more for each processed row after it; with
// resetPerDir, every directory has its own counter that counts its own
// processed rows in list order, wherever they stand in the list. Rows that are
// not processed (ghost rows, and unselected rows while onlySelectedActive) get
// 0 and do not count. The preview and the run both number with it, so a run
// gives the names its preview showed.
std::vector<qint32> enumCounters(std::span<const EnumRow> rows, bool onlySelectedActive, bool resetPerDir);
