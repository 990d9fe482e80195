#pragma once
#include "engine/configtypes.h"
#include "engine/enumerate.h"
#include "engine/renamemode.h"
#include "engine/renameoptions.h"

#include <functional>
#include <optional>
#include <QString>

class Logs;
class RandomSource;

// The services of the modes that read files (Format tags, detection by
// content, MP3 tags). Empty functions give no name.
struct NameServices {
    Logs* logs = nullptr;
    RandomSource* random = nullptr;
    const ConfigTables* tables = nullptr;
    // The Format mode's name for dir + name; empty when it gives none.
    std::function<QString(const QString& dir, const QString& name)> formatName;
    // The extension detected from the content, without a dot; empty when none.
    std::function<QString(const QString& dir, const QString& name)> detectExtension;
    // The Mp3 mode's name, std::nullopt when the file gives no tags or frames.
    std::function<std::optional<QString>(const QString& dir, const QString& name)> mp3Name;
};

// The mode's computation for one entry, shared by the preview and the passes of
// a run so that a run applies exactly the names its preview showed. The result
// is the raw new name (tag and map not yet applied); empty means no new name.
// `step` is set to the stage that ran, for error lines. Failures of the
// transforms pass on to the caller as platform::Failure.
struct NameRequest {
    RenameMode mode = RenameMode::Replace;
    QString dir; // with its trailing "/"
    QString name;
    qint32 enumCounter = 1;
    EnumContext enumContext;
};
QString computeNewName(const NameRequest& request, const RenameOptions& options, const NameServices& services,
                       int& step);

// Extension by content: the new name for an extension found by detection.
// Empty when the name keeps its name ("dll" at the end, nothing detected, or
// already ending with it while the old extension is kept).
QString nameWithDetectedExtension(const QString& name, const QString& ext, bool keepExt);

// Whether the Mp3 mode takes this file at all ("Only process files with .mp3
// extension.").
bool mp3FilterPasses(const QString& name, const RenameOptions& options);
