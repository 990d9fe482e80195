#pragma once
#include "engine/fileinfo.h"
#include "engine/renamemode.h"
#include "mediainfo/dirinfo.h"
#include "mediainfo/mediainfo.h"

#include <functional>
#include <QString>

class Logs;
class RandomSource;
struct RenameOptions;

// What the Format tags need beyond the panel values.
struct FormatContext {
    RandomSource& random;                       // the program's one generator
    Logs* logs = nullptr;                       // failures go to the error log
    MediaContext media{};                       // for the media tags
    qint32 htmlTitleReadSize = 2048;            // getHtmlTitle_ReadSize
    RenameMode renameMode = RenameMode::Format; // the selected rename mode
    std::function<void()> yield{};              // served inside directory walks; empty = never
};

// The readers' records of one formatFilename call. Each is filled by the first
// tag that needs it and serves the later tags of the same name.
struct FormatRecords {
    FileInfo file;
    MediaInfo media;
    DirInfo dir;
};

// The new name that the Format text gives the entry `name` in `dir` (with or
// without a trailing "/"), before the sub-directory tag and the forbidden
// characters are mapped. Empty when the format text is empty or a failure
// occurred (logged); `name` itself when a required tag has no value. Values read
// from files and names never form the sub-directory tag.
QString formatFilename(const QString& name, const QString& dir, const RenameOptions& options, FormatContext& context);
// The same with records the caller provides (fresh for each name).
QString formatFilename(const QString& name, const QString& dir, const RenameOptions& options, FormatContext& context,
                       FormatRecords& records);

// "<DEPTH>": the number of colours of a depth in bits ("256", "32k", "64k", "16M", "16M+").
QString colorCountText(double bits);
