#pragma once
#include <algorithm>
#include <array>
#include <limits>
#include <optional>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>

// Every value the renamer keeps between runs, plus the run-only values of the
// command line. loadSettings fills it once at start-up; the main window applies
// it to its controls, the other subsystems read the variables from it, and at
// exit (or on the options window's OK) the main window copies its controls back
// in before saveSettings writes it out.
//
// Each field starts at its key's default, so a fresh Settings is a valid first
// start. A load step that fails leaves its field as it was (the default on a
// fresh struct); the key table in settingskeys.cpp names the key, store form and
// default of every field.
//
// Fields named after a main-window control hold that control's stored value:
//   check boxes    int 0 clear, 1 ticked, 2 grey (chkR/chkH/chkS/chkA only)
//   text boxes     QString, as typed
//   option groups  int, the 0-based index of the selected button of the group
//   tab strips     int, the 1-based index of the selected tab
//   date pickers   QDate/QTime; an invalid one means "leave the picker as created"
//                  at load, and is a failure at save
//
// Order in which the main window applies the control fields at its load step
// (the load order of the keys; the panels' handlers rely on it):
//   1. chkShowTreeview, chkOnlyRenameSelected
//   2. txtPattern (text), then its enabled state txtPatternEnabled
//   3. Mp3 panel: txtMp3Format, chkMp3AddExtension, chkMp3OnlyFilledTags,
//      chkMp3OnlyMp3Files, chkMp3UseID3v2
//   4. Find & Replace: txtFind, txtReplace, chkCaseSensitive, txtReplaceCount,
//      txtReplaceStart, optReplace (0 optReplaceSingle, 1 optReplaceBatch)
//   5. Attributes & Date: chkR, chkH, chkS, chkA, dtDate, dtTime, chkDateCreated,
//      chkDateAccessed, chkDateModified, chkDateDate, chkDateTime,
//      optAttrib (0 optAttrib_Attributes, 1 optAttrib_Date) last
//   6. Convert Case: Case1 (Case1_0..Case1_6), Case2 (Case2_0..Case2_5)
//   7. Add & Crop: optAddBegEnd (0 optAddBeginning, 1 optAddEnding),
//      optCropBegEnd (0 optCropBeginning, 1 optCropEnding), txtAdd, txtCropNumber,
//      txtAddPos, txtCropPos, optAddCrop (0 optAdd, 1 optCrop) last
//   8. TabStrip (selects the stored rename tab), chkProcessFilename,
//      chkProcessFileExt, chkPreview
//   9. Format: txtFormat, txtFormatParts, chkFormatAllMustBeAvailable,
//      chkFileDetect_TryMp3, chkFileDetect_TryText, chkFileDetect_KeepExt,
//      chkFormatTab (0 chkFormatTab_Format, 1 chkFormatTab_Detect) last
//  10. Enum: txtNormalize, txtEnumFormat, txtEnumZeros, txtEnumStart, txtEnumStep,
//      chkEnumAutoZeros, chkEnumResetBetweenDirs,
//      chkEnumTab (0 chkEnumTab_Enum, 1 chkEnumTab_Normalize) last
//  11. chkExceptionsEnabled
//  12. Space: chkSpaceBeginning, chkSpaceEnd, chkSpaceShrink
//  13. chkFiles, chkDirs, chkSub (already cleared by the load when
//      uncheckSubsdirsAtStartup is 1)
//  14. lblBatchReplace (caption)
// "Swap Mode" (chkReplaceMode) is not stored. After these, the main window's own
// load steps use: Main_Top, Main_Left, Main_Height, Main_Width, then
// Main_Maximized to place the window; dirColWidth1-3 and dragColWidth1-3, and
// columns 4 to 8 from dirColWidth4-8/dragColWidth4-8 only while showAllColumns
// is 1; lwFullRowSelect and lwShowGuidelines; storedPath as the text of txtPath;
// hideLogo for the compact layout; later the non-empty items 0 to
// pathHistorySize - 1 of pathHistory, in index order, as the list of txtPath.
// TabStripFilemode is never applied: every run starts in the "Directory" file
// mode. startMode and exitAfterRun are for the first activation.
//
// Before saveSettings the main window copies back every control field above,
// TabStripFilemode (index of the selected file-mode tab), the column widths in
// twips (rounded down), pathHistory (all items of txtPath's list, in list
// order), and at exit storedPath from the text of txtPath. The variables that
// other windows change (geometry, statistics, options) are kept here directly.
struct Settings {
    // Window geometry, twips. Sizes below the window's minimum size are loaded as
    // the default; a value outside the 16-bit store form is clamped when saved.
    int Main_Height = 7920;
    int Main_Width = 11000;
    int Main_Top = 0;         // default: centred on the screen
    int Main_Left = 0;        // default: centred on the screen
    int Main_Maximized = 0;   // 0 normal, 2 maximised
    int Execute_Width = 5960; // log window
    int Execute_Height = 5000;
    int Execute_Top = 0;          // default: centred on the screen
    int Execute_Left = 0;         // default: centred on the screen
    int frmexecute_maximized = 0; // 0 normal, 1 minimised, 2 maximised
    int frmSettings_Top = 0;      // options window; 0 makes it centre itself
    int frmSettings_Left = 0;

    // Start-up choices
    int chkShowTreeview = 0;
    int chkOnlyRenameSelected = 1;
    bool enableRenameAllIfNoneSelected = true;
    int startupInLastDir = 1;
    int TabStripFilemode = 1; // key tabStripFilemode; written only, never applied

    // Working directory and pattern
    QString storedPath; // key txtPath: the start directory, ending in "/"
    QString txtPattern = QStringLiteral("*.*");
    bool txtPatternEnabled = true; // usePatternForFiles or usePatternForDirs is not 0

    // Mp3 panel
    QString txtMp3Format = QStringLiteral("<ARTIST> - <TITLE>");
    int chkMp3AddExtension = 1;
    int chkMp3OnlyFilledTags = 1;
    int chkMp3OnlyMp3Files = 1;
    int chkMp3UseID3v2 = 1;

    // Find & Replace panel
    QString txtFind;
    QString txtReplace;
    int chkCaseSensitive = 0;
    QString txtReplaceCount = QStringLiteral("0");
    QString txtReplaceStart = QStringLiteral("0");
    int optReplace = 0; // 0 optReplaceSingle, 1 optReplaceBatch

    // Attributes & Date panel
    int chkR = 2;
    int chkH = 2;
    int chkS = 2;
    int chkA = 2;
    QDate dtDate; // loaded as today's date when not stored
    QTime dtTime; // loaded as the current time when not stored
    int chkDateCreated = 0;
    int chkDateAccessed = 0;
    int chkDateModified = 1;
    int chkDateDate = 1;
    int chkDateTime = 1;
    int optAttrib = 0;      // 0 optAttrib_Attributes, 1 optAttrib_Date
    bool dtDateChk = false; // the pickers' check-box property; written only
    bool dtTimeChk = false;
    // A stored dtDate or dtTime text that the load could not read as one
    // value, and what the picker shows in its place (the time of the load).
    // A run from the command line that would use it is refused, and a save
    // that finds the picker still showing it keeps the stored text.
    template <class T> struct Unread {
        QString text;
        T shown;
    };
    std::optional<Unread<QDate>> dtDateUnread;
    std::optional<Unread<QTime>> dtTimeUnread;

    // Convert Case panel
    int Case1 = 4; // Case1_0 .. Case1_6
    int Case2 = 2; // Case2_0 .. Case2_5

    // Add & Crop panel
    int optAddBegEnd = 0;  // 0 optAddBeginning, 1 optAddEnding
    int optCropBegEnd = 0; // 0 optCropBeginning, 1 optCropEnding
    QString txtAdd;
    QString txtCropNumber = QStringLiteral("1");
    QString txtAddPos = QStringLiteral("0");
    QString txtCropPos = QStringLiteral("0");
    int optAddCrop = 0; // 0 optAdd, 1 optCrop

    // Rename mode and scope
    int TabStrip = 2; // key tabStrip; 1 "Replace" .. 8 "Format"
    int chkProcessFilename = 1;
    int chkProcessFileExt = 0;
    int chkPreview = 1; // key chkRealtimePreview

    // Statistics (add to them with addToCount)
    int totNumberOfFilesRenamedNew = 0;
    int totNumberOfDirsRenamedNew = 0;

    // Format panel
    QString txtFormat = QStringLiteral("<NAME> (<SIZE>).<EXT>");
    QString txtFormatParts = QStringLiteral("<%1> - <%2>");
    int chkFormatAllMustBeAvailable = 1;
    int chkFileDetect_TryMp3 = 0;
    int chkFileDetect_TryText = 0;
    int chkFileDetect_KeepExt = 0;
    int chkFormatTab = 0; // 0 chkFormatTab_Format, 1 chkFormatTab_Detect

    // Enum panel
    QString txtNormalize = QStringLiteral("2");
    QString txtEnumFormat = QStringLiteral("<ENUM>_<FULLNAME>");
    QString txtEnumZeros = QStringLiteral("2");
    QString txtEnumStart = QStringLiteral("1");
    QString txtEnumStep = QStringLiteral("1");
    int chkEnumAutoZeros = 1;
    int chkEnumResetBetweenDirs = 0;
    int chkEnumTab = 0; // 0 chkEnumTab_Enum, 1 chkEnumTab_Normalize

    // Options (most edited by the options window)
    int processHidden = 0;
    int processSystem = 0;
    int processWriteProtected = 1;
    int showFullPath = 0;
    int alwaysShowDirs = 0;
    int shellShowVexor = 1; // 1: every save creates the file-manager entry
    int shellShowAuto = 1;
    int usePatternForFiles = 1;
    int usePatternForDirs = 0;
    int chkExceptionsEnabled = 0; // key exceptionsEnabled
    int hideSystemFolders = 1;
    int useSysIcons = 1;
    int enableTreeview = 0;
    int showAllColumns = 0;
    int lwShowGuidelines = 0;
    int lwFullRowSelect = 0;
    int keepFileOrder = 0;
    int autoCloseLogWindow = 0;
    int cacheIcons = 0;
    int getHtmlTitle_ReadSize = 2048; // loaded within 1..1 MiB (0 or less: 2048)
    bool hideLogo = false;
    int mpegBytesToRead = 8192; // loaded within 1..16 MiB (0 or less: 8192)
    int mpegFakeBitrate = 128000;
    int thumbsBorder = 1;
    int thumbsAspect = 1;
    int thumbsWidth = 64; // loaded within 16..256 (0: 64)
    int thumbsHeight = 64;

    // Space panel
    int chkSpaceBeginning = 1;
    int chkSpaceEnd = 1;
    int chkSpaceShrink = 1;

    // Column widths in twips: lwDirectory and lwDragDrop, columns 1 to 8
    int dirColWidth1 = 3030, dirColWidth2 = 3020, dirColWidth3 = 3030, dirColWidth4 = 1000;
    int dirColWidth5 = 1800, dirColWidth6 = 720, dirColWidth7 = 600, dirColWidth8 = 600;
    int dragColWidth1 = 3030, dragColWidth2 = 3020, dragColWidth3 = 3030, dragColWidth4 = 1000;
    int dragColWidth5 = 1800, dragColWidth6 = 720, dragColWidth7 = 600, dragColWidth8 = 600;

    // Listing scope and Free Select folder
    int chkFiles = 1;
    int chkDirs = 0;
    int chkSub = 0;
    int uncheckSubsdirsAtStartup = 1;
    QString dragDropAddPath;

    // Path history: after the load, items 0 to pathHistorySize (the last one
    // always empty); before a save, the items of txtPath's list.
    int pathHistorySize = 32;
    QStringList pathHistory;

    // Run-only values of the command line, never stored.
    QString startMode;           // the word after "/e", trimmed
    int exitAfterRun = 0;        // -1 when "/x" was given with "/p" or "/e"
    bool startModeGiven = false; // "/e" was given, even without a word
    bool startPathGiven = false; // a path was given, even an empty one
    // Why the path given names no folder that can be listed, or nothing an
    // unattended run could work on; empty when it does or none was given
    // ("/p" with an empty text included).
    QString startPathProblem;
    // The pattern that came from "/p" lasts for this run: while the pattern
    // box still holds it, the save writes the stored pattern back instead.
    QString commandLinePattern; // empty when "/p" gave none
    QString storedPattern;      // txtPattern as the store held it at start

    // Caption of the Replace panel's lblBatchReplace, set after "replace.txt" is read.
    QString lblBatchReplace;
};

// The column width fields of lwDirectory and lwDragDrop, column 1 first.
inline constexpr std::array<int Settings::*, 8> kDirColWidths = {
    &Settings::dirColWidth1, &Settings::dirColWidth2, &Settings::dirColWidth3, &Settings::dirColWidth4,
    &Settings::dirColWidth5, &Settings::dirColWidth6, &Settings::dirColWidth7, &Settings::dirColWidth8};
inline constexpr std::array<int Settings::*, 8> kDragColWidths = {
    &Settings::dragColWidth1, &Settings::dragColWidth2, &Settings::dragColWidth3, &Settings::dragColWidth4,
    &Settings::dragColWidth5, &Settings::dragColWidth6, &Settings::dragColWidth7, &Settings::dragColWidth8};

// A statistics count moved by `change`: it stops at the 32-bit limits, so a
// hand-edited count near them never overflows.
inline void addToCount(int& count, qint64 change)
{
    count = int(
        std::clamp<qint64>(qint64(count) + change, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}
