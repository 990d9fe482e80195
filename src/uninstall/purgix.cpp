#include "uninstall/purgix.h"

void purgixMain(const QStringList&, platform::UiService&) {}
