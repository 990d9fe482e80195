#pragma once
#include "settings/loadsave.h"

#include <QString>

class QWidget;
namespace platform {
class UiService;
}

// The file-manager entry "Start Vexor Renamer..." on every folder: a desktop
// entry for inode/directory whose Exec line starts this program with "/p" and
// the folder. "The keys exist" means that the file exists.

// $XDG_DATA_HOME/applications/vexorren-folder.desktop (default
// ~/.local/share/applications); a relative XDG_DATA_HOME is ignored, as the
// base-directory rules say.
QString shellMenuEntryPath();

// One Exec argument, quoted by the desktop-entry rules: inside double quotes
// '"', '`', '$' and '\' get a backslash, '%' is written "%%", and then every
// backslash is doubled for the string value. Empty when the text holds a
// character no Exec line can carry (a control character).
QString desktopExecArgument(const QString& text);

// The whole entry for `program` (an absolute path); empty when the path cannot
// be written into an Exec line.
QString shellMenuEntryText(const QString& program);

// Writes the entry for `program` (default: this executable) in one replace, so
// the file manager never reads half of it; shows "Error creating keys in file
// manager entry!" when that fails.
void createShellMenuKeys(platform::UiService& ui, QWidget* parent, const QString& program = QString());
// Removes the entry when it exists; shows "Error deleting keys from file manager
// entry!" when that fails.
void deleteShellMenuKeys(platform::UiService& ui, QWidget* parent);

// The save's step: createShellMenuKeys when asked to create, else deleteShellMenuKeys.
ShellMenuStep shellMenuStep(platform::UiService& ui, QWidget* parent);
