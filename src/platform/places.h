#pragma once
#include <QString>

namespace platform {

// The folder that holds what lives "beside the program" and may be written:
// the configuration text files, errors.txt and log.txt. $VEXORREN_HOME when set,
// else $XDG_DATA_HOME/vexorren (default ~/.local/share/vexorren). Created on demand.
QString programFolder();
// programFolder() + "/" + name.
QString programFile(const QString& name);
// A file shipped with the program (the help page): share/vexorren/ beside the
// executable's bin/ folder, in the build tree and when installed. Empty when missing.
QString shippedFile(const QString& name);

} // namespace platform
