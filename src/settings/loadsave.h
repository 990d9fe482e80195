#pragma once
#include "engine/configtypes.h"
#include "settings/settings.h"

#include <functional>
#include <QDateTime>
#include <QSize>
#include <QStringList>

class Logs;
namespace platform {
class SettingsStore;
}

// What the load needs from its surroundings.
struct LoadContext {
    QString programFolder; // where the configuration text files live
    QSize screenTwips;     // screen width and height in twips (15 per pixel)
    QDateTime now;         // gives the date and time pickers' defaults
    QStringList arguments; // the command line without the program's own path
};

// Loads every stored setting, the command line, the configuration text files and
// the path history into `settings` and `tables`, once at start-up. A step that
// fails leaves its field as it was and the load goes on; the last failure of
// any step (a bad window size as much as a bad list line, on a first start as
// on any other) gives one error line "Error N (description) Error loading
// settings!"; a configuration file left unread writes its own line before it
// (configfiles.h). A store file that exists but cannot be read is
// such a failure, and the result is then false: the values are the defaults,
// which no command-line run may act on and no save may store; a second error
// line says that the settings will not be saved.
bool loadSettings(platform::SettingsStore& store, Logs& logs, const LoadContext& context, Settings& settings,
                  ConfigTables& tables);

// The save's step that creates (true) or deletes (false) the file-manager entry.
// An empty function does nothing.
using ShellMenuStep = std::function<void(bool create)>;

// Writes every key (column widths 4 to 8 only while showAllColumns is 1), the path
// history from settings.pathHistory, and rewrites "exceptions.txt" and
// "replace.txt". The keys reach the store's file in one write at the end of
// them, and only when one of them changed. A failure of the keys before the
// history, or of that write, gives one error line "Error N (description) Error
// saving settings!" naming the last; the two files have their own. False when
// the store's file could not be written (store.writeFailure() tells why). A
// store that cannot be read (readError) gets nothing and the shell step does
// not run; the lists are still written.
bool saveSettings(platform::SettingsStore& store, Logs& logs, const QString& programFolder, const Settings& settings,
                  const ConfigTables& tables, const ShellMenuStep& shellMenuStep = {});

// What the user is told when saveSettings could not write the store's file:
// the error line's text and the file.
QString settingsNotSavedText(const platform::SettingsStore& store);

// Minimum sizes of the main window and the log window, in twips.
inline constexpr int mainMinWidth = 550 * 15;
inline constexpr int mainMinHeight = 528 * 15;
inline constexpr int logMinWidth = 370 * 15;
inline constexpr int logMinHeight = 194 * 15;
