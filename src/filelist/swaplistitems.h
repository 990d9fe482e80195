#pragma once
#include "filelist/host.h"

// Exchanges the contents of rows a and b (1-based) of the current file mode's
// list: icons, name, preview, directory, and while showAllColumns is 1 the
// detail columns with their sort keys; what the sort needs (directory flag,
// byte count) travels with the entry. Both rows end deselected. In the
// Directory mode the row order counts as changed by hand. A position outside
// the list is failure 9, for the calling command to handle.
void swapListItems(FileListHost& host, int a, int b);
