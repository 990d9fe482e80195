#pragma once
#include <QString>
#include <QStringList>

// Reading desktop entries the way a file manager does, for the tests of the
// file-manager entry.

// The arguments of an Exec value: the string escapes first, then the quoting,
// then the field code %f replaced by `folder`.
QStringList desktopExecArguments(const QString& value, const QString& folder);
// The value of the Exec line of an entry's text.
QString desktopExecValue(const QString& entryText);
// What desktop-file-validate says against the file; empty when it accepts it.
QString desktopFileComplaints(const QString& path);
