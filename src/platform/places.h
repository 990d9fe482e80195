#pragma once
#include <QString>

namespace platform {

// The folder that holds what lives "beside the program" and may be written:
// the configuration text files, errors.txt and log.txt. $VEXORREN_HOME when set,
// else $XDG_DATA_HOME/vexorren (default ~/.local/share/vexorren). Created on demand.
QString programFolder();
// The XDG base directory given by `variable` (XDG_DATA_HOME, XDG_CONFIG_HOME ...),
// or `fallback` below the home folder when it is unset, empty or relative: the
// base-directory rules make a relative one invalid.
QString xdgHome(const char* variable, const QString& fallback);
// Removes relative XDG base directories from the environment, so Qt's own
// lookups (the settings store among them) fall back to the home folder as well.
// Called first thing, before Qt reads them.
void ignoreRelativeXdgPlaces();
// programFolder() + "/" + name.
QString programFile(const QString& name);
// A file shipped with the program (the help page): share/vexorren/ beside the
// executable's bin/ folder, in the build tree and when installed. Empty when missing.
QString shippedFile(const QString& name);
// Where that file belongs, whether it is there or not (for a message naming it).
QString shippedFilePlace(const QString& name);

} // namespace platform
