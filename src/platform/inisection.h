#pragma once
#include <QByteArray>
#include <QMap>
#include <QString>

// One section of an INI file written in the form QSettings reads back, beside
// sections this program does not own: their lines, comments and bytes (also
// text that is not UTF-8) stay exactly as they were.
namespace platform {

// The section's values as QSettings reads them from `file` (keys of
// subsections hold a "/"; a value QSettings reads as a list is joined again
// with ", "), read here in memory: nothing else is needed, so it cannot fail.
// Only the section's own lines are looked at. A line of it that is not valid
// UTF-8 is read as Windows-1252, as the configuration lists are: QSettings
// would drop or replace its letters.
QMap<QString, QString> iniSectionValues(const QByteArray& file, const QString& section);

// The section's lines as QSettings writes them: the header, then one
// "key=value" line per key in key order, values escaped and quoted as
// QSettings escapes a text. Empty for no values. A key with "/" is a key of a
// subsection.
QByteArray iniSectionText(const QString& section, const QMap<QString, QString>& values);

// `file` with the section (every place it or one of its subsections appears,
// as QSettings cuts the file into lines and sections) holding `values`, and
// read back so by QSettings. Every byte outside the section is kept. Inside
// it, the lines of keys whose value stays stay as they are, with the comment
// and blank lines around them; a changed key's line is rewritten in place, a
// removed key's line goes, and new keys follow the last line of the
// section's first place. A line that is not UTF-8 is rewritten as UTF-8. With
// no values the section goes, but for the comments after its last key, which
// may speak of what follows. A new section goes at the end, or, where the
// file's last line runs on (an open quote, a trailing backslash) and would
// swallow it, before the first section.
QByteArray withIniSection(const QByteArray& file, const QString& section, const QMap<QString, QString>& values);

} // namespace platform
