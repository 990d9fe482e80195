#include "filelist/listoptions.h"

FileListOptions fileListOptions(const Settings& st)
{
    FileListOptions o;
    o.alwaysShowDirs = st.alwaysShowDirs;
    o.cacheIcons = st.cacheIcons;
    for (size_t c = 0; c < 8; ++c) {
        o.dirColWidth[c] = st.*kDirColWidths[c];
        o.dragColWidth[c] = st.*kDragColWidths[c];
    }
    o.enableRenameAllIfNoneSelected = st.enableRenameAllIfNoneSelected;
    o.enableTreeview = st.enableTreeview;
    o.hideSystemFolders = st.hideSystemFolders;
    o.processHidden = st.processHidden;
    o.processSystem = st.processSystem;
    o.processWriteProtected = st.processWriteProtected;
    o.showAllColumns = st.showAllColumns;
    o.thumbsAspect = st.thumbsAspect;
    o.thumbsBorder = st.thumbsBorder;
    o.thumbsWidth = st.thumbsWidth;
    o.thumbsHeight = st.thumbsHeight;
    o.usePatternForFiles = st.usePatternForFiles;
    o.usePatternForDirs = st.usePatternForDirs;
    o.useSysIcons = st.useSysIcons;
    return o;
}
