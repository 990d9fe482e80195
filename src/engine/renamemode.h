#pragma once
#include "engine/renameoptions.h"

#include <array>
#include <optional>
#include <QString>
#include <QStringList>

// The eight rename modes, in the order of their tabs. The tab key text is
// converted at the tab strip and the settings only; everything else compares
// the enum.
enum class RenameMode { Replace, Case, Enum, Space, Attrib, AddCrop, Mp3, Format };

// Which entries a mode may process: directories, and the name and extension
// parts of the list area.
struct ModeEntries {
    bool dirs = true;
    bool processName = true;
    bool processExt = true;
};

struct RenameModeRow {
    RenameMode mode;
    const char* key;     // tab key
    const char* caption; // tab caption as stored ("Find && Replace")
    // Per sub-option (0 the first of the mode's option pair, 1 the second).
    ModeEntries entries[2];
    // Start-mode words selecting the mode and its sub-option; nullptr when
    // the sub-option has none. A mode without a pair has only word 0 and
    // does not touch an option.
    const char* startWords[2];
    bool hasOptionPair;
};

const std::array<RenameModeRow, 8>& renameModes();
const RenameModeRow& modeRow(RenameMode mode);
QString modeKey(RenameMode mode);
QString modeCaption(RenameMode mode);
std::optional<RenameMode> modeFromKey(const QString& key);

// The sub-option of a mode chosen in the options (batch replace, crop, dates,
// normalize, detection); 0 for modes without a pair.
int modeSubOption(RenameMode mode, const RenameOptions& options);
ModeEntries modeEntries(RenameMode mode, const RenameOptions& options);

// The mode and sub-option a start-mode word names (any case).
struct StartModeChoice {
    RenameMode mode;
    int subOption; // -1 when the mode has no option pair
};
std::optional<StartModeChoice> startModeFromWord(const QString& word);
// Every start-mode word, in the order of the tabs.
QStringList startModeWords();
