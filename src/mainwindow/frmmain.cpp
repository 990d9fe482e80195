#include "mainwindow/frmmain.h"

FrmMain::FrmMain(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Vexor Renamer 4.62 - Press F1 for Help"));
    resize(640, 480);
}
