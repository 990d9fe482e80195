#include "platform/places.h"
#include "platform/uiservice.h"
#include "uninstall/purgix.h"

#include <QApplication>

int main(int argc, char** argv)
{
    platform::ignoreRelativeXdgPlaces();
    QApplication app(argc, argv);
    platform::QtUiService ui;
    ui.answerWithoutDisplay = true;
    purgixMain(app.arguments().mid(1), ui);
    return 0;
}
