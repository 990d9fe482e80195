#include "platform/places.h"
#include "platform/uiservice.h"
#include "uninstall/purgix.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    platform::ignoreRelativeXdgPlaces();
    // Qt aborts when it finds no display; the question is the user's to answer,
    // so without a display nothing is removed.
    if (!platform::displayAvailable()) {
        std::fputs("purgix: no display found (DISPLAY and WAYLAND_DISPLAY are not set); nothing was removed.\n",
                   stderr);
        return 2;
    }
    QApplication app(argc, argv);
    platform::QtUiService ui;
    ui.answerWithoutDisplay = true;
    return purgixMain(app.arguments().mid(1), ui) ? 0 : 1;
}
