#include "mainwindow/frmmain.h"
#include "platform/arguments.h"
#include "platform/places.h"
#include "platform/uiservice.h"
#include "settings/commandline.h"

#include <cstdio>
#include <QApplication>

int main(int argc, char** argv)
{
    platform::ignoreRelativeXdgPlaces();
    // Qt aborts when it finds no platform to show a window on; that has to be
    // decided before the application object exists. An unattended run (from
    // cron or ssh) needs no window: it runs offscreen, its boxes on stderr.
    if (!platform::displayAvailable()) {
        const CommandLine line = scanCommandLine(platform::argumentTexts(argc, argv));
        if (line.exitAfterRun == 0 || line.startMode.isEmpty()) {
            std::fputs("Vexor Renamer: no display found (DISPLAY and WAYLAND_DISPLAY are not set).\n"
                       "Start it from a desktop session, or run it unattended with /e and /x.\n",
                       stderr);
            return 2;
        }
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vexor Renamer"));
    platform::QtUiService ui;
    ui.answerWithoutDisplay = true;
    // Qt has taken its own options out of argv by now; the rest are decoded
    // without loss (a path need not be UTF-8).
    FrmMain w(ui, platform::argumentTexts(argc, argv));
    ui.setMainWindow(&w);
    w.show();
    const int status = app.exec();
    return status != 0 ? status : w.exitStatus();
}
