#pragma once
#include "platform/listview.h"

// The seven detail columns of both file lists, shown while showAllColumns is 1
// as the fourth to tenth columns: "size" "Size", "date" "Changed", "attrib"
// "Attributes", "ext" "Extension", "type" "Type", "sizeb" "Size in Bytes",
// "dateb" "Date Sorting".

// Appends them; `widths` are the widths in twips of the first five, the two
// sort-key columns get width 0.
void addDetailColumns(platform::ListView* list, const int (&widths)[5]);
// Removes them by key, in the order above, wherever they stand.
void removeDetailColumns(platform::ListView* list);
