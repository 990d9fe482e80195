#pragma once
#include "settings/loadsave.h"

#include <QString>

class Logs;
class QWidget;
namespace platform {
class UiService;
}

// The file-manager entry "Start Vexor Renamer..." on every folder: a right-click
// action in the place each file manager keeps user actions
// (platform/filemanagerentry.h). "The keys exist" means that these files, and
// our element in Thunar's file, exist.

// Writes the actions for `program` (default: this executable); when any of them
// failed, an error line per failed place, "Error creating keys in file manager
// entry!" with its file and the reason, then one box: that heading and a line
// per place.
void createShellMenuKeys(platform::UiService& ui, QWidget* parent, Logs& logs, const QString& program = QString());
// Removes them where they exist; when any removal failed, an error line per
// failed place and one box, headed "Error deleting keys from file manager entry!".
void deleteShellMenuKeys(platform::UiService& ui, QWidget* parent, Logs& logs);

// The save's step: createShellMenuKeys when asked to create, else deleteShellMenuKeys.
ShellMenuStep shellMenuStep(platform::UiService& ui, QWidget* parent, Logs& logs);
