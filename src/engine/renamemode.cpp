#include "engine/renamemode.h"

namespace {
constexpr ModeEntries kAll{true, true, true};
constexpr ModeEntries kWholeName{true, false, false};
constexpr ModeEntries kFilesWholeName{false, false, false};

const std::array<RenameModeRow, 8> kModes{{
    {RenameMode::Replace, "Replace", "Find && Replace", {kAll, kAll}, {"modereplace", "modebatchreplace"}, true},
    {RenameMode::Case, "Case", "Convert Case", {kWholeName, kWholeName}, {"modecase", nullptr}, false},
    {RenameMode::Enum, "Enum", "Enum", {kWholeName, kAll}, {"modeenum", "modenormalize"}, true},
    {RenameMode::Space, "misc", "Space", {kWholeName, kWholeName}, {"modespace", nullptr}, false},
    {RenameMode::Attrib,
     "Attrib",
     "Attributes && Date",
     {kWholeName, kFilesWholeName},
     {"modeattrib", "modedate"},
     true},
    {RenameMode::AddCrop, "AddCrop", "Add && Crop", {kAll, kAll}, {"modeadd", "modecrop"}, true},
    {RenameMode::Mp3, "Mp3", "Mp3", {kFilesWholeName, kFilesWholeName}, {"modemp3", nullptr}, false},
    {RenameMode::Format, "Format", "Format", {kAll, kFilesWholeName}, {"modeformat", "modefiletype"}, true},
}};
} // namespace

const std::array<RenameModeRow, 8>& renameModes()
{
    return kModes;
}

const RenameModeRow& modeRow(RenameMode mode)
{
    return kModes[size_t(mode)];
}

QString modeKey(RenameMode mode)
{
    return QString::fromLatin1(modeRow(mode).key);
}

QString modeCaption(RenameMode mode)
{
    return QString::fromLatin1(modeRow(mode).caption);
}

std::optional<RenameMode> modeFromKey(const QString& key)
{
    for (const RenameModeRow& row : kModes)
        if (key == QLatin1String(row.key))
            return row.mode;
    return std::nullopt;
}

int modeSubOption(RenameMode mode, const RenameOptions& o)
{
    switch (mode) {
    case RenameMode::Replace:
        return o.replaceBatch ? 1 : 0;
    case RenameMode::Enum:
        return o.normalizeMode ? 1 : 0;
    case RenameMode::Attrib:
        return o.dateMode ? 1 : 0;
    case RenameMode::AddCrop:
        return o.cropMode ? 1 : 0;
    case RenameMode::Format:
        return o.detectMode ? 1 : 0;
    default:
        return 0;
    }
}

ModeEntries modeEntries(RenameMode mode, const RenameOptions& options)
{
    return modeRow(mode).entries[modeSubOption(mode, options)];
}

std::optional<StartModeChoice> startModeFromWord(const QString& word)
{
    const QString w = word.toLower();
    for (const RenameModeRow& row : kModes)
        for (int sub = 0; sub < 2; ++sub)
            if (row.startWords[sub] && w == QLatin1String(row.startWords[sub]))
                return StartModeChoice{row.mode, row.hasOptionPair ? sub : -1};
    return std::nullopt;
}

QStringList startModeWords()
{
    QStringList words;
    for (const RenameModeRow& row : kModes)
        for (const char* w : row.startWords)
            if (w)
                words.append(QLatin1String(w));
    return words;
}
