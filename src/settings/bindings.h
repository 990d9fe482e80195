#pragma once
#include "engine/renameoptions.h"
#include "platform/controls.h"
#include "settings/settings.h"
#include "settings/settingskeys.h"

#include <functional>
#include <optional>
#include <QDateEdit>
#include <QTimeEdit>
#include <variant>
#include <vector>

// A field of RenameOptions a binding row fills.
using OptionsTarget = std::variant<int RenameOptions::*, bool RenameOptions::*, QString RenameOptions::*>;

// The table between controls and their fields, used every way: apply puts the
// stored Settings values into the controls in the table's order (the order the
// panels' handlers rely on), readBack copies the controls into the Settings
// fields before a save, and readOptions copies the panel controls into a
// RenameOptions. A control is listed once, with each field it fills; a null
// field leaves that direction out. A window builds one table and never copies
// by hand.
class SettingsBindings {
public:
    void check(platform::CheckBox* box, int Settings::*field, int RenameOptions::*option = nullptr);
    void text(platform::TextBox* box, QString Settings::*field, QString RenameOptions::*option = nullptr);
    // The field is the index of the selected button of the group. An index out
    // of range selects none; with none selected the field keeps its value.
    void options(std::vector<platform::OptionButton*> group, int Settings::*field,
                 int RenameOptions::*option = nullptr);
    // As above; the option of a pair is true while its second button is selected.
    void options(std::vector<platform::OptionButton*> group, int Settings::*field, bool RenameOptions::*option);
    // An invalid stored date or time leaves the control as it is. The option
    // gets the date or time as the program shows it.
    void date(QDateEdit* edit, QDate Settings::*field, QString RenameOptions::*option = nullptr);
    void time(QTimeEdit* edit, QTime Settings::*field, QString RenameOptions::*option = nullptr);
    // The field is the 1-based tab index; one with no tab selects nothing.
    void tab(platform::TabStrip* strip, int Settings::*field);
    // A panel control that is not stored.
    void check(platform::CheckBox* box, int RenameOptions::*option);
    // A step of the load that reads settings but has no field of its own to save.
    void loadStep(std::function<void(const Settings&)> apply);

    void apply(const Settings& settings) const;
    void readBack(Settings& settings) const;
    void readOptions(RenameOptions& options) const;
    // The fields the table saves, in its order.
    std::vector<SettingsTarget> fields() const;
    // The RenameOptions fields the table fills, in its order.
    std::vector<OptionsTarget> optionFields() const;

private:
    struct Row {
        std::optional<SettingsTarget> field;
        std::function<void(const Settings&)> apply;
        std::function<void(Settings&)> readBack;
        std::optional<OptionsTarget> option;
        std::function<void(RenameOptions&)> readOptions;
    };
    // The Settings side of a row, empty for a null field.
    template <class T>
    static Row stored(T Settings::*field, std::function<void(const Settings&)> apply,
                      std::function<void(Settings&)> readBack);
    std::vector<Row> rows_;
};
