#include "settings/settingskeys.h"

#include <cstring>

namespace {

using F = StoreForm;
using K = DefaultKind;
using S = Settings;

// Default texts are read back in the key's form, exactly as a stored text would be.
const SettingsKey keyTable[] = {
    {"Main_Height", F::Int, "7920", &S::Main_Height},
    {"Main_Width", F::Int, "11000", &S::Main_Width},
    {"Main_Top", F::Int, nullptr, &S::Main_Top, 0, K::CentreVertical, &S::Main_Height},
    {"Main_Left", F::Int, nullptr, &S::Main_Left, 0, K::CentreHorizontal, &S::Main_Width},
    {"Main_Maximized", F::Int, "0", &S::Main_Maximized},
    {"Execute_Width", F::Int, "5960", &S::Execute_Width},
    {"Execute_Height", F::Int, "5000", &S::Execute_Height},
    {"Execute_Top", F::Int, nullptr, &S::Execute_Top, 0, K::CentreVertical, &S::Execute_Height},
    {"Execute_Left", F::Int, nullptr, &S::Execute_Left, 0, K::CentreHorizontal, &S::Execute_Width},
    {"frmexecute_maximized", F::Int, "0", &S::frmexecute_maximized},
    {"frmSettings_Top", F::Int, "0", &S::frmSettings_Top},
    {"frmSettings_Left", F::Int, "0", &S::frmSettings_Left},
    {"chkShowTreeview", F::Check, "0", &S::chkShowTreeview},
    {"chkOnlyRenameSelected", F::Check, "1", &S::chkOnlyRenameSelected},
    {"enableRenameAllIfNoneSelected", F::Bool, "True", &S::enableRenameAllIfNoneSelected},
    {"startupInLastDir", F::Int, "1", &S::startupInLastDir},
    {"tabStripFilemode", F::Tab, "1", &S::TabStripFilemode, 2},
    {"txtPath", F::Text, "", &S::storedPath},
    {"txtPattern", F::Text, "*.*", &S::txtPattern},
    {"txtMp3Format", F::Text, "<ARTIST> - <TITLE>", &S::txtMp3Format},
    {"chkMp3AddExtension", F::Check, "1", &S::chkMp3AddExtension},
    {"chkMp3OnlyFilledTags", F::Check, "1", &S::chkMp3OnlyFilledTags},
    {"chkMp3OnlyMp3Files", F::Check, "1", &S::chkMp3OnlyMp3Files},
    {"chkMp3UseID3v2", F::Check, "1", &S::chkMp3UseID3v2},
    {"txtFind", F::Text, "", &S::txtFind},
    {"txtReplace", F::Text, "", &S::txtReplace},
    {"chkCaseSensitive", F::Check, "0", &S::chkCaseSensitive},
    {"txtReplaceCount", F::Text, "0", &S::txtReplaceCount},
    {"txtReplaceStart", F::Text, "0", &S::txtReplaceStart},
    {"optReplace", F::Option, "0", &S::optReplace, 2},
    {"chkR", F::Check, "2", &S::chkR},
    {"chkH", F::Check, "2", &S::chkH},
    {"chkS", F::Check, "2", &S::chkS},
    {"chkA", F::Check, "2", &S::chkA},
    {"dtDate", F::Date, nullptr, &S::dtDate, 0, K::Today},
    {"dtTime", F::Time, nullptr, &S::dtTime, 0, K::Now},
    {"chkDateCreated", F::Check, "0", &S::chkDateCreated},
    {"chkDateAccessed", F::Check, "0", &S::chkDateAccessed},
    {"chkDateModified", F::Check, "1", &S::chkDateModified},
    {"chkDateDate", F::Check, "1", &S::chkDateDate},
    {"chkDateTime", F::Check, "1", &S::chkDateTime},
    {"optAttrib", F::Option, "0", &S::optAttrib, 2},
    {"dtDateChk", F::Bool, nullptr, &S::dtDateChk, 0, K::None},
    {"dtTimeChk", F::Bool, nullptr, &S::dtTimeChk, 0, K::None},
    {"Case1", F::Option, "4", &S::Case1, 7},
    {"Case2", F::Option, "2", &S::Case2, 6},
    {"optAddBegEnd", F::Option, "0", &S::optAddBegEnd, 2},
    {"optCropBegEnd", F::Option, "0", &S::optCropBegEnd, 2},
    {"txtAdd", F::Text, "", &S::txtAdd},
    {"txtCropNumber", F::Text, "1", &S::txtCropNumber},
    {"txtAddPos", F::Text, "0", &S::txtAddPos},
    {"txtCropPos", F::Text, "0", &S::txtCropPos},
    {"optAddCrop", F::Option, "0", &S::optAddCrop, 2},
    {"tabStrip", F::Tab, "2", &S::TabStrip, 8},
    {"chkProcessFilename", F::Check, "1", &S::chkProcessFilename},
    {"chkProcessFileExt", F::Check, "0", &S::chkProcessFileExt},
    {"chkRealtimePreview", F::Check, "1", &S::chkPreview},
    {"totNumberOfFilesRenamedNew", F::Long, "0", &S::totNumberOfFilesRenamedNew},
    {"totNumberOfDirsRenamedNew", F::Long, "0", &S::totNumberOfDirsRenamedNew},
    {"txtFormat", F::Text, "<NAME> (<SIZE>).<EXT>", &S::txtFormat},
    {"txtFormatParts", F::Text, "<%1> - <%2>", &S::txtFormatParts},
    {"chkFormatAllMustBeAvailable", F::Check, "1", &S::chkFormatAllMustBeAvailable},
    {"chkFileDetect_TryMp3", F::Check, "0", &S::chkFileDetect_TryMp3},
    {"chkFileDetect_TryText", F::Check, "0", &S::chkFileDetect_TryText},
    {"chkFileDetect_KeepExt", F::Check, "0", &S::chkFileDetect_KeepExt},
    {"chkFormatTab", F::Option, "0", &S::chkFormatTab, 2},
    {"txtNormalize", F::Text, "2", &S::txtNormalize},
    {"txtEnumFormat", F::Text, "<ENUM>_<FULLNAME>", &S::txtEnumFormat},
    {"txtEnumZeros", F::Text, "2", &S::txtEnumZeros},
    {"txtEnumStart", F::Text, "1", &S::txtEnumStart},
    {"txtEnumStep", F::Text, "1", &S::txtEnumStep},
    {"chkEnumAutoZeros", F::Check, "1", &S::chkEnumAutoZeros},
    {"chkEnumResetBetweenDirs", F::Check, "0", &S::chkEnumResetBetweenDirs},
    {"chkEnumTab", F::Option, "0", &S::chkEnumTab, 2},
    {"processHidden", F::Int, "0", &S::processHidden},
    {"processSystem", F::Int, "0", &S::processSystem},
    {"processWriteProtected", F::Int, "1", &S::processWriteProtected},
    {"showFullPath", F::Int, "0", &S::showFullPath},
    {"alwaysShowDirs", F::Int, "0", &S::alwaysShowDirs},
    {"shellShowVexor", F::Int, "1", &S::shellShowVexor},
    {"shellShowAuto", F::Int, "1", &S::shellShowAuto},
    {"usePatternForFiles", F::Int, "1", &S::usePatternForFiles},
    {"usePatternForDirs", F::Int, "0", &S::usePatternForDirs},
    {"exceptionsEnabled", F::Check, "0", &S::chkExceptionsEnabled},
    {"hideSystemFolders", F::Int, "1", &S::hideSystemFolders},
    {"useSysIcons", F::Int, "1", &S::useSysIcons},
    {"enableTreeview", F::Int, "0", &S::enableTreeview},
    {"showAllColumns", F::Int, "0", &S::showAllColumns},
    {"lwShowGuidelines", F::Int, "0", &S::lwShowGuidelines},
    {"lwFullRowSelect", F::Int, "0", &S::lwFullRowSelect},
    {"keepFileOrder", F::Int, "0", &S::keepFileOrder},
    {"autoCloseLogWindow", F::Int, "0", &S::autoCloseLogWindow},
    {"cacheIcons", F::Int, "0", &S::cacheIcons},
    {"getHtmlTitle_ReadSize", F::Long, "2048", &S::getHtmlTitle_ReadSize},
    {"hideLogo", F::Bool, "False", &S::hideLogo},
    {"mpegBytesToRead", F::Long, "8192", &S::mpegBytesToRead},
    {"mpegFakeBitrate", F::Long, "128000", &S::mpegFakeBitrate},
    {"thumbsBorder", F::Int, "1", &S::thumbsBorder},
    {"thumbsAspect", F::Int, "1", &S::thumbsAspect},
    {"thumbsWidth", F::Int, "64", &S::thumbsWidth},
    {"thumbsHeight", F::Int, "64", &S::thumbsHeight},
    {"chkSpaceBeginning", F::Check, "1", &S::chkSpaceBeginning},
    {"chkSpaceEnd", F::Check, "1", &S::chkSpaceEnd},
    {"chkSpaceShrink", F::Check, "1", &S::chkSpaceShrink},
    {"dirColWidth1", F::Width, "3030", &S::dirColWidth1},
    {"dirColWidth2", F::Width, "3020", &S::dirColWidth2},
    {"dirColWidth3", F::Width, "3030", &S::dirColWidth3},
    {"dirColWidth4", F::Width, "1000", &S::dirColWidth4},
    {"dirColWidth5", F::Width, "1800", &S::dirColWidth5},
    {"dirColWidth6", F::Width, "720", &S::dirColWidth6},
    {"dirColWidth7", F::Width, "600", &S::dirColWidth7},
    {"dirColWidth8", F::Width, "600", &S::dirColWidth8},
    {"dragColWidth1", F::Width, "3030", &S::dragColWidth1},
    {"dragColWidth2", F::Width, "3020", &S::dragColWidth2},
    {"dragColWidth3", F::Width, "3030", &S::dragColWidth3},
    {"dragColWidth4", F::Width, "1000", &S::dragColWidth4},
    {"dragColWidth5", F::Width, "1800", &S::dragColWidth5},
    {"dragColWidth6", F::Width, "720", &S::dragColWidth6},
    {"dragColWidth7", F::Width, "600", &S::dragColWidth7},
    {"dragColWidth8", F::Width, "600", &S::dragColWidth8},
    {"chkFiles", F::Check, "1", &S::chkFiles},
    {"chkDirs", F::Check, "0", &S::chkDirs},
    {"chkSub", F::Check, "0", &S::chkSub},
    {"uncheckSubsdirsAtStartup", F::Int, "1", &S::uncheckSubsdirsAtStartup},
    {"dragDropAddPath", F::Text, "", &S::dragDropAddPath},
    {"pathHistorySize", F::Int, "32", &S::pathHistorySize},
};

// clang-format off
const char* const saveBeforeShell[] = {
    "Main_Top", "Main_Left", "Main_Height", "Main_Width", "Main_Maximized", "txtPath", "txtPattern",
    "usePatternForFiles", "usePatternForDirs", "Execute_Top", "Execute_Left", "Execute_Width", "Execute_Height",
    "frmexecute_maximized", "frmSettings_Top", "frmSettings_Left", "chkShowTreeview", "chkOnlyRenameSelected",
    "enableRenameAllIfNoneSelected", "chkRealtimePreview", "txtMp3Format", "chkMp3AddExtension",
    "chkMp3OnlyFilledTags", "chkMp3OnlyMp3Files", "chkMp3UseID3v2", "chkFiles", "chkDirs", "chkSub", "tabStrip",
    "chkProcessFilename", "chkProcessFileExt", "showAllColumns", "txtFind", "txtReplace", "chkCaseSensitive",
    "txtReplaceCount", "txtReplaceStart", "optReplace", "Case1", "Case2", "chkR", "chkH", "chkS", "chkA",
    "chkDateCreated", "chkDateAccessed", "chkDateModified", "dtDateChk", "dtTimeChk", "dtDate", "dtTime",
    "chkDateDate", "chkDateTime", "optAttrib", "optAddCrop", "optAddBegEnd", "optCropBegEnd", "txtAdd",
    "txtCropNumber", "txtAddPos", "txtCropPos", "totNumberOfFilesRenamedNew", "totNumberOfDirsRenamedNew",
    "processHidden", "processSystem", "processWriteProtected", "showFullPath", "alwaysShowDirs",
    "shellShowVexor", "shellShowAuto", "startupInLastDir", "uncheckSubsdirsAtStartup", "hideSystemFolders",
    "useSysIcons", "enableTreeview",
};

const char* const saveAfterShell[] = {
    "lwShowGuidelines", "lwFullRowSelect", "keepFileOrder", "autoCloseLogWindow", "cacheIcons", "thumbsBorder",
    "thumbsAspect", "thumbsWidth", "thumbsHeight", "chkFormatTab", "txtFormat", "txtFormatParts",
    "chkFormatAllMustBeAvailable", "chkFileDetect_TryMp3", "chkFileDetect_TryText", "chkFileDetect_KeepExt",
    "chkEnumTab", "txtNormalize", "txtEnumFormat", "txtEnumZeros", "txtEnumStart", "txtEnumStep",
    "chkEnumAutoZeros", "chkEnumResetBetweenDirs", "chkSpaceBeginning", "chkSpaceEnd", "chkSpaceShrink",
    "getHtmlTitle_ReadSize", "hideLogo", "dirColWidth1", "dirColWidth2", "dirColWidth3", "dirColWidth4",
    "dirColWidth5", "dirColWidth6", "dirColWidth7", "dirColWidth8", "dragColWidth1", "dragColWidth2",
    "dragColWidth3", "dragColWidth4", "dragColWidth5", "dragColWidth6", "dragColWidth7", "dragColWidth8",
    "mpegBytesToRead", "mpegFakeBitrate", "dragDropAddPath", "tabStripFilemode",
};
// clang-format on

} // namespace

std::span<const SettingsKey> settingsKeys()
{
    return keyTable;
}

int settingsKeyIndex(const char* key)
{
    for (size_t i = 0; i < std::size(keyTable); ++i)
        if (std::strcmp(keyTable[i].key, key) == 0)
            return static_cast<int>(i);
    return -1;
}

const SettingsKey* findSettingsKey(const QString& key)
{
    const int i = settingsKeyIndex(key.toLatin1().constData());
    return i < 0 ? nullptr : &keyTable[i];
}

std::span<const char* const> saveKeysBeforeShellStep()
{
    return saveBeforeShell;
}

std::span<const char* const> saveKeysAfterShellStep()
{
    return saveAfterShell;
}
