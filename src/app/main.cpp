#include "mainwindow/frmmain.h"
#include "mainwindow/quitonsignal.h"
#include "platform/arguments.h"
#include "platform/display.h"
#include "platform/places.h"
#include "platform/qtmessages.h"
#include "platform/quitsignals.h"
#include "platform/uiservice.h"
#include "settings/commandline.h"

#include <csignal>
#include <cstdio>
#include <QApplication>

int main(int argc, char** argv)
{
    platform::ignoreRelativeXdgPlaces();
    // Qt aborts when it can open no platform to show a window on; it falls back
    // on the offscreen one instead. An unattended run (from cron or ssh) needs
    // no window: it runs there, its boxes on stderr. Any other start says why
    // it cannot start.
    platform::QtMessages qtMessages;
    platform::DisplayChoice display;
    QApplication app(argc, argv);
    qtMessages.platformChosen();
    // SIGTERM, SIGINT and SIGHUP end the program through its event loop, as
    // Cancel and the close button would; the status is then 128 + the signal.
    platform::QuitSignals quitSignals;
    // A standard error whose reader has gone (a closed pipe) must not end the
    // program between a rename and its log line: the write fails instead.
    std::signal(SIGPIPE, SIG_IGN);
    if (!display.opened()) {
        const CommandLine line = scanCommandLine(platform::argumentTexts(argc, argv));
        if (line.exitAfterRun == 0 || line.startMode.isEmpty()) {
            std::fprintf(stderr,
                         "Vexor Renamer: %s.\n"
                         "Start it from a desktop session, or run it unattended with /e and /x.\n",
                         display.problem().toLocal8Bit().constData());
            return 2;
        }
    }
    QApplication::setApplicationName(QStringLiteral("Vexor Renamer"));
    platform::QtUiService ui;
    ui.answerWithoutDisplay = true;
    // Qt has taken its own options out of argv by now; the rest are decoded
    // without loss (a path need not be UTF-8).
    FrmMain w(ui, platform::argumentTexts(argc, argv));
    ui.setMainWindow(&w);
    QObject::connect(&quitSignals, &platform::QuitSignals::arrived, new QuitOnSignal(w, ui), &QuitOnSignal::quit);
    w.show();
    const int status = app.exec();
    if (quitSignals.received() != 0)
        return platform::signalExitStatus(quitSignals.received());
    return status != 0 ? status : w.exitStatus();
}
