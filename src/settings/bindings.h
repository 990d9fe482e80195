#pragma once
#include "platform/controls.h"
#include "settings/settings.h"
#include "settings/settingskeys.h"

#include <functional>
#include <optional>
#include <QDateEdit>
#include <QTimeEdit>
#include <vector>

// The table between controls and Settings fields, used both ways: apply puts
// the stored values into the controls in the table's order (the order the
// panels' handlers rely on), readBack copies the controls into the fields
// before a save. A window builds one table and never copies by hand.
class SettingsBindings {
public:
    void check(platform::CheckBox* box, int Settings::*field);
    void text(platform::TextBox* box, QString Settings::*field);
    // The field is the index of the selected button of the group. An index out
    // of range selects none; with none selected the field keeps its value.
    void options(std::vector<platform::OptionButton*> group, int Settings::*field);
    // An invalid stored date or time leaves the control as it is.
    void date(QDateEdit* edit, QDate Settings::*field);
    void time(QTimeEdit* edit, QTime Settings::*field);
    // The field is the 1-based tab index; one with no tab selects nothing.
    void tab(platform::TabStrip* strip, int Settings::*field);
    // A step of the load that reads settings but has no field of its own to save.
    void loadStep(std::function<void(const Settings&)> apply);

    void apply(const Settings& settings) const;
    void readBack(Settings& settings) const;
    // The fields the table saves, in its order.
    std::vector<SettingsTarget> fields() const;

private:
    struct Row {
        std::optional<SettingsTarget> field;
        std::function<void(const Settings&)> apply;
        std::function<void(Settings&)> readBack;
    };
    std::vector<Row> rows_;
};
