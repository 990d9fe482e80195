#include "platform/display.h"
#include "platform/places.h"
#include "platform/qtmessages.h"
#include "platform/uiservice.h"
#include "uninstall/purgix.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    platform::ignoreRelativeXdgPlaces();
    // Qt aborts when it finds no display; it falls back on the offscreen
    // platform instead. The question is the user's to answer, so without a
    // display nothing is removed.
    platform::QtMessages qtMessages;
    platform::DisplayChoice display;
    QApplication app(argc, argv);
    qtMessages.platformChosen();
    if (!display.opened()) {
        std::fprintf(stderr, "purgix: %s; nothing was removed.\n", display.problem().toLocal8Bit().constData());
        return 2;
    }
    platform::QtUiService ui;
    ui.answerWithoutDisplay = true;
    return purgixMain(app.arguments().mid(1), ui) ? 0 : 1;
}
