#pragma once
#include <QByteArray>
#include <QMap>
#include <QString>

// One section of an INI file written in the form QSettings reads back, beside
// sections this program does not own: their lines, comments and bytes (also
// text that is not UTF-8) stay exactly as they were.
namespace platform {

// The section's lines as QSettings writes them: the header, then one
// "key=value" line per key in key order, values escaped and quoted as
// QSettings escapes a text. Empty for no values. A key with "/" is a key of a
// subsection.
QByteArray iniSectionText(const QString& section, const QMap<QString, QString>& values);

// `file` with the section (every place it or one of its subsections appears,
// as QSettings cuts the file into lines and sections) replaced by
// `sectionText`, or removed when that is empty. Every byte outside them is
// kept. A new section goes at the end, or, where the file's last line runs
// on (an open quote, a trailing backslash) and would swallow it, before the
// first section.
QByteArray withIniSection(const QByteArray& file, const QString& section, const QByteArray& sectionText);

} // namespace platform
