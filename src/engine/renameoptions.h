#pragma once
#include <QString>

// The values of the eight rename-mode panels at the moment of a call. The main
// window reads them from its controls through its binding table
// (settings/bindings.h), which names the control of each field; the transforms and the passes never see
// a widget. Check boxes are 0/1 (2 = unchanged, for the attribute choices);
// number boxes keep the text as typed, since the transforms read "the number the
// text begins with" and some of them fail on a text that is not a number.
struct RenameOptions {
    // Which part of a name the transforms work on (list area).
    int processName = 1; // chkProcessFilename
    int processExt = 0;  // chkProcessFileExt

    // Find & Replace
    bool replaceBatch = false;                  // optReplaceBatch selected
    QString findText;                           // txtFind
    QString replaceText;                        // txtReplace
    int caseSensitive = 0;                      // chkCaseSensitive
    int swapMode = 0;                           // chkReplaceMode
    QString replaceStart = QStringLiteral("0"); // txtReplaceStart
    QString replaceCount = QStringLiteral("0"); // txtReplaceCount

    // Convert Case: index of the selected option button
    int nameCase = 4;      // Case1_0 .. Case1_6
    int extCase = 2;       // Case2_0 .. Case2_5
    int useExceptions = 0; // chkExceptionsEnabled

    // Space
    int trimLeading = 0;  // chkSpaceBeginning
    int trimTrailing = 0; // chkSpaceEnd
    int shrinkSpaces = 0; // chkSpaceShrink

    // Attributes & Date
    bool dateMode = false; // the date option selected instead of the attribute one
    int attrReadOnly = 2;  // 0 clear, 1 set, 2 unchanged
    int attrHidden = 2;
    int attrSystem = 2;
    int attrArchive = 2;
    int setCreated = 0;
    int setAccessed = 0;
    int setModified = 1;
    int useDate = 1;  // "New Date:"
    int useTime = 0;  // "New Time:"
    QString dateText; // system short date text
    QString timeText; // long time text

    // Add & Crop
    bool cropMode = false;                   // optCrop selected
    QString addText;                         // txtAdd
    QString addPos = QStringLiteral("0");    // txtAddPos
    bool addFromEnd = false;                 // optAddEnding selected
    QString cropCount = QStringLiteral("1"); // txtCropNumber
    QString cropPos = QStringLiteral("0");   // txtCropPos
    bool cropFromEnd = false;                // optCropEnding selected

    // Enum
    bool normalizeMode = false; // chkEnumTab_Normalize selected
    QString enumFormat = QStringLiteral("<ENUM>_<FULLNAME>");
    QString enumStart = QStringLiteral("1");
    QString enumStep = QStringLiteral("1");
    QString enumDigits = QStringLiteral("2");     // txtEnumZeros
    int enumAutoDigits = 1;                       // chkEnumAutoZeros
    int enumResetPerDir = 0;                      // chkEnumResetBetweenDirs
    QString normalizeWidth = QStringLiteral("2"); // txtNormalize

    // Mp3
    QString mp3Format;
    int mp3AddExtension = 1;
    int mp3OnlyFilledTags = 0;
    int mp3OnlyMp3Files = 1;
    int mp3UseId3v2 = 1;

    // Format
    bool detectMode = false; // chkFormatTab_Detect selected
    QString formatText;      // txtFormat
    QString formatParts;     // txtFormatParts
    int allTagsRequired = 0; // chkFormatAllMustBeAvailable
    int detectKeepExt = 0;   // chkFileDetect_KeepExt
    int detectTryText = 0;   // chkFileDetect_TryText
    int detectTryMp3 = 0;    // chkFileDetect_TryMp3

    bool operator==(const RenameOptions&) const = default;
};
