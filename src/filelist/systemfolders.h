#pragma once
#include "filelist/filelists.h"

// The folders whose content a directory read keeps out of the list unless the
// user allows it. On Linux: "/usr/" stands for the System folder, "/etc/" for
// the Windows folder, "/opt/" for Program Files and "/" for the drive root;
// /boot, /bin, /sbin, the /lib folders, /dev, /proc, /sys and /run are the
// others. Each folder ends with "/" and is held in its canonical path.
void getSystemFolders(SystemFolders& folders);

// True when the working directory `path` lies in the System, Windows or
// Program Files folder or one of the others (the folder itself or anything
// below it) or is the root itself. Paths are compared in their canonical form, so a link into /usr or a
// path spelt "/usr/../usr" is caught as well.
bool isProtectedFolder(const QString& path, const SystemFolders& folders);
