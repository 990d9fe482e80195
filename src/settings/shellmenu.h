#pragma once
#include "settings/loadsave.h"

#include <QString>

class QWidget;
namespace platform {
class UiService;
}

// The file-manager entry "Start Vexor Renamer..." on every folder: a right-click
// action in the place each file manager keeps user actions
// (platform/filemanagerentry.h). "The keys exist" means that these files, and
// our element in Thunar's file, exist.

// Writes the actions for `program` (default: this executable); when any of them
// failed, one box: "Error creating keys in file manager entry!" and a line per
// failed place with its file and the reason.
void createShellMenuKeys(platform::UiService& ui, QWidget* parent, const QString& program = QString());
// Removes them where they exist; when any removal failed, one box: "Error
// deleting keys from file manager entry!" and a line per failed place.
void deleteShellMenuKeys(platform::UiService& ui, QWidget* parent);

// The save's step: createShellMenuKeys when asked to create, else deleteShellMenuKeys.
ShellMenuStep shellMenuStep(platform::UiService& ui, QWidget* parent);
