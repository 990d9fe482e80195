#pragma once
#include <QStringList>

namespace platform {
class UiService;
}

// The uninstall tool's whole work: asks its one question and acts on the answer.
void purgixMain(const QStringList& arguments, platform::UiService& ui);
