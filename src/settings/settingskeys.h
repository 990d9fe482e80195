#pragma once
#include "settings/settings.h"

#include <QString>
#include <span>
#include <variant>

// The table of the settings store's named keys: what each key holds, the form of
// its text, its default and the Settings field it is loaded into and saved from.
// The rows are in the order in which loadSettings reads them.

// How a value is written as text and read back.
enum class StoreForm {
    Int,    // signed 16-bit decimal; a fraction rounds half to even
    Long,   // signed 32-bit decimal
    Bool,   // "True" / "False"
    Check,  // a check box value 0, 1 or 2
    Text,   // a text box's text, unchanged
    Option, // index of the selected button of an option group
    Tab,    // 1-based index of the selected tab
    Width,  // column width in twips (as Long)
    Date,   // ISO 8601 "yyyy-MM-dd"; read also in any locale's short date
    Time,   // "HH:mm:ss"; read also in any locale's long or short time
};

// Defaults that depend on the run: the screen, the clock, a size just loaded.
enum class DefaultKind {
    Fixed,          // defaultText
    CentreVertical, // (screen height - the size field) / 2
    CentreHorizontal,
    Today,
    Now,
    None, // written only; never read back
};

using SettingsTarget =
    std::variant<int Settings::*, bool Settings::*, QString Settings::*, QDate Settings::*, QTime Settings::*>;

struct SettingsKey {
    const char* key;
    StoreForm form;
    const char* defaultText; // for DefaultKind::Fixed
    SettingsTarget target;   // the field it is loaded into and saved from
    int choices = 0;         // Option: buttons in the group; Tab: tabs on the strip
    DefaultKind defaultKind = DefaultKind::Fixed;
    int Settings::*centreSize = nullptr; // the size a centred default uses
};

// The 126 named keys. The numbered keys "pathHistory0" and on come on top.
std::span<const SettingsKey> settingsKeys();
// The row of a key, or nullptr.
const SettingsKey* findSettingsKey(const QString& key);
// Index of a key in settingsKeys(); -1 when unknown.
int settingsKeyIndex(const char* key);

// Keys in the order saveSettings writes them: the run before the file-manager
// entry step and the run after it, up to the save's error line. The column widths
// 4 to 8 are listed and skipped while showAllColumns is not 1; pathHistorySize,
// the history keys and exceptionsEnabled follow these runs.
std::span<const char* const> saveKeysBeforeShellStep();
std::span<const char* const> saveKeysAfterShellStep();
