#include "mainwindow/frmmain.h"
#include "platform/uiservice.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vexor Renamer"));
    platform::QtUiService ui;
    ui.answerWithoutDisplay = true;
    FrmMain w(ui, app.arguments().mid(1));
    ui.setMainWindow(&w);
    w.show();
    const int status = app.exec();
    return status != 0 ? status : w.exitStatus();
}
