#pragma once
#include "filelist/host.h"
#include "settings/settings.h"

// The listing settings the file-list code follows, taken from the loaded
// settings at the start and after the options window's "Ok".
FileListOptions fileListOptions(const Settings& settings);
