#include "settings/bindings.h"
#include "platform/datetext.h"

namespace {

// The index of the selected button of a group, or -1.
int selectedIndex(const std::vector<platform::OptionButton*>& group)
{
    for (size_t i = 0; i < group.size(); ++i)
        if (group[i]->isChecked())
            return int(i);
    return -1;
}

} // namespace

template <class T>
SettingsBindings::Row SettingsBindings::stored(T Settings::*field, std::function<void(const Settings&)> apply,
                                               std::function<void(Settings&)> readBack)
{
    Row row;
    if (field) {
        row.field = field;
        row.apply = std::move(apply);
        row.readBack = std::move(readBack);
    }
    return row;
}

void SettingsBindings::check(platform::CheckBox* box, int Settings::*field, int RenameOptions::*option)
{
    Row row = stored(
        field, [=](const Settings& s) { box->setValue(s.*field); }, [=](Settings& s) { s.*field = box->value(); });
    if (option) {
        row.option = option;
        row.readOptions = [=](RenameOptions& o) { o.*option = box->value(); };
    }
    rows_.push_back(std::move(row));
}

void SettingsBindings::check(platform::CheckBox* box, int RenameOptions::*option)
{
    check(box, static_cast<int Settings::*>(nullptr), option);
}

void SettingsBindings::text(platform::TextBox* box, QString Settings::*field, QString RenameOptions::*option)
{
    Row row = stored(
        field, [=](const Settings& s) { box->setText(s.*field); }, [=](Settings& s) { s.*field = box->text(); });
    if (option) {
        row.option = option;
        row.readOptions = [=](RenameOptions& o) { o.*option = box->text(); };
    }
    rows_.push_back(std::move(row));
}

void SettingsBindings::options(std::vector<platform::OptionButton*> group, int Settings::*field,
                               int RenameOptions::*option)
{
    Row row = stored(
        field,
        [=](const Settings& s) {
            const int index = s.*field;
            if (index >= 0 && index < int(group.size()))
                group[size_t(index)]->select();
        },
        [=](Settings& s) {
            if (const int index = selectedIndex(group); index >= 0)
                s.*field = index;
        });
    if (option) {
        row.option = option;
        row.readOptions = [=](RenameOptions& o) {
            if (const int index = selectedIndex(group); index >= 0)
                o.*option = index;
        };
    }
    rows_.push_back(std::move(row));
}

void SettingsBindings::options(std::vector<platform::OptionButton*> group, int Settings::*field,
                               bool RenameOptions::*option)
{
    options(group, field);
    if (option && group.size() >= 2) {
        Row& row = rows_.back();
        row.option = option;
        row.readOptions = [option, second = group[1]](RenameOptions& o) { o.*option = second->isChecked(); };
    }
}

void SettingsBindings::date(QDateEdit* edit, QDate Settings::*field, QString RenameOptions::*option)
{
    Row row = stored(
        field,
        [=](const Settings& s) {
            if ((s.*field).isValid())
                edit->setDate(s.*field);
        },
        [=](Settings& s) { s.*field = edit->date(); });
    if (option) {
        row.option = option;
        row.readOptions = [=](RenameOptions& o) { o.*option = platform::dateText(edit->date()); };
    }
    rows_.push_back(std::move(row));
}

void SettingsBindings::time(QTimeEdit* edit, QTime Settings::*field, QString RenameOptions::*option)
{
    Row row = stored(
        field,
        [=](const Settings& s) {
            if ((s.*field).isValid())
                edit->setTime(s.*field);
        },
        [=](Settings& s) { s.*field = edit->time(); });
    if (option) {
        row.option = option;
        row.readOptions = [=](RenameOptions& o) { o.*option = platform::timeText(edit->time()); };
    }
    rows_.push_back(std::move(row));
}

void SettingsBindings::tab(platform::TabStrip* strip, int Settings::*field)
{
    rows_.push_back(stored(
        field,
        [=](const Settings& s) {
            if (s.*field >= 1 && s.*field <= strip->count())
                strip->setCurrentIndex(s.*field - 1);
        },
        [=](Settings& s) { s.*field = strip->selectedIndex(); }));
}

void SettingsBindings::loadStep(std::function<void(const Settings&)> apply)
{
    Row row;
    row.apply = std::move(apply);
    rows_.push_back(std::move(row));
}

void SettingsBindings::apply(const Settings& settings) const
{
    for (const Row& row : rows_)
        if (row.apply)
            row.apply(settings);
}

void SettingsBindings::readBack(Settings& settings) const
{
    for (const Row& row : rows_)
        if (row.readBack)
            row.readBack(settings);
}

void SettingsBindings::readOptions(RenameOptions& options) const
{
    for (const Row& row : rows_)
        if (row.readOptions)
            row.readOptions(options);
}

std::vector<SettingsTarget> SettingsBindings::fields() const
{
    std::vector<SettingsTarget> out;
    for (const Row& row : rows_)
        if (row.field)
            out.push_back(*row.field);
    return out;
}

std::vector<OptionsTarget> SettingsBindings::optionFields() const
{
    std::vector<OptionsTarget> out;
    for (const Row& row : rows_)
        if (row.option)
            out.push_back(*row.option);
    return out;
}
