#include "settings/bindings.h"

void SettingsBindings::check(platform::CheckBox* box, int Settings::*field)
{
    rows_.push_back(
        {field, [=](const Settings& s) { box->setValue(s.*field); }, [=](Settings& s) { s.*field = box->value(); }});
}

void SettingsBindings::text(platform::TextBox* box, QString Settings::*field)
{
    rows_.push_back(
        {field, [=](const Settings& s) { box->setText(s.*field); }, [=](Settings& s) { s.*field = box->text(); }});
}

void SettingsBindings::options(std::vector<platform::OptionButton*> group, int Settings::*field)
{
    rows_.push_back({field,
                     [=](const Settings& s) {
                         const int index = s.*field;
                         if (index >= 0 && index < int(group.size()))
                             group[size_t(index)]->select();
                     },
                     [=](Settings& s) {
                         for (size_t i = 0; i < group.size(); ++i)
                             if (group[i]->isChecked())
                                 s.*field = int(i);
                     }});
}

void SettingsBindings::date(QDateEdit* edit, QDate Settings::*field)
{
    rows_.push_back({field,
                     [=](const Settings& s) {
                         if ((s.*field).isValid())
                             edit->setDate(s.*field);
                     },
                     [=](Settings& s) { s.*field = edit->date(); }});
}

void SettingsBindings::time(QTimeEdit* edit, QTime Settings::*field)
{
    rows_.push_back({field,
                     [=](const Settings& s) {
                         if ((s.*field).isValid())
                             edit->setTime(s.*field);
                     },
                     [=](Settings& s) { s.*field = edit->time(); }});
}

void SettingsBindings::tab(platform::TabStrip* strip, int Settings::*field)
{
    rows_.push_back({field,
                     [=](const Settings& s) {
                         if (s.*field >= 1 && s.*field <= strip->count())
                             strip->setCurrentIndex(s.*field - 1);
                     },
                     [=](Settings& s) { s.*field = strip->selectedIndex(); }});
}

void SettingsBindings::loadStep(std::function<void(const Settings&)> apply)
{
    rows_.push_back({std::nullopt, std::move(apply), {}});
}

void SettingsBindings::apply(const Settings& settings) const
{
    for (const Row& row : rows_)
        row.apply(settings);
}

void SettingsBindings::readBack(Settings& settings) const
{
    for (const Row& row : rows_)
        if (row.readBack)
            row.readBack(settings);
}

std::vector<SettingsTarget> SettingsBindings::fields() const
{
    std::vector<SettingsTarget> out;
    for (const Row& row : rows_)
        if (row.field)
            out.push_back(*row.field);
    return out;
}
