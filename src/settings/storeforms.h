#pragma once
#include "engine/textutil.h"
#include "platform/failure.h"
#include "settings/settingskeys.h"

#include <optional>
#include <QString>
#include <QStringView>

// Reading and writing the settings store's value forms, and the two ways the
// stored texts and configuration lines are read as numbers.

// The whole text as a number (blanks around it allowed; "." or the system's
// decimal mark); nullopt when it is not one.
std::optional<double> numberFromText(const QString& text);

// Failures a store form reports.
platform::Failure typeMismatch();
platform::Failure overflowFailure();
platform::Failure invalidPropertyValue(); // a control refused the value
platform::Failure indexOutOfBounds();     // a tab index with no tab

// A whole number of the range, rounded half to even; throws 13 for no number
// and 6 outside the range.
int wholeNumber(const QString& text, qint64 min, qint64 max);

// Reads a stored text (or the default text) in the key's form into its field.
// Throws platform::Failure when the text does not fit; the field is unchanged then.
void readStoredValue(const SettingsKey& key, const QString& text, Settings& settings);
// The text that a save writes for the key; throws platform::Failure when the
// value cannot be written (an invalid date or time).
QString storedText(const SettingsKey& key, const Settings& settings);

// Whether a stored date or time text already says the field's value: it reads
// as that value, or it could not be read and the picker still shows what the
// load put in its place. A save leaves such a text as it is, in whatever
// locale's form it was written.
bool storedTextHolds(const SettingsKey& key, const QString& text, const Settings& settings);

// The text without the blanks (U+0020 only) at both ends.
QString trimBlanks(const QString& text);
