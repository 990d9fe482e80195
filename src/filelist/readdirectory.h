#pragma once
#include "filelist/host.h"

// The most entries a path list holds (its count is 16-bit).
inline constexpr int kListLimit = 32767;

// Reads the working directory named by the path box (ListTicks::path) into
// the Directory mode's path lists lstFiles(0) and lstDirs(0), whatever file
// mode is shown: files and directories that the listing settings admit,
// filtered by the pattern box, with
// every subdirectory below while "Subdirectories" is ticked. Entries of each
// directory are taken in case-insensitive name order; lstDirs ends in
// case-insensitive path order with "/" before every other character, so each
// directory comes right before the paths below it. Symbolic links are listed
// as entries and never walked. Shows the hint row for an empty path box and
// the notice for a protected system folder instead of reading. Handles every
// failure itself (limit message, Escape, the question whether to go on).
// Callers follow it with updateFileViews, except the read a run makes right
// before its pass.
void readDirectory(FileListHost& host);

// The texts of the two hint rows of the directory list.
inline const char* const kChooseDirectoryHint = "Please choose a working directory...";
inline const char* const kHiddenFolderNotice =
    "The content of this folder is hidden. You can disable this security feature in the settings...";
