#include "mainwindow/frmmain.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vexor Renamer"));
    FrmMain w;
    w.show();
    return app.exec();
}
