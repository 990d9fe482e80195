#include "mediainfo/mediainfo.h"

int getMediaProperties(const QString& path, MediaInfo& info, const MediaContext&)
{
    if (path == info.filePath)
        return -1;
    info = MediaInfo{};
    info.filePath = path;
    return 0;
}
