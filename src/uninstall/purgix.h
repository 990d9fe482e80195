#pragma once
#include <QStringList>

namespace platform {
class UiService;
}

// The uninstall tool's whole work: asks its one question and acts on the answer.
// False when the settings file could not be read or written (the user was told).
bool purgixMain(const QStringList& arguments, platform::UiService& ui);
