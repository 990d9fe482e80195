#pragma once
#include <QMainWindow>

// The renamer's main window.
class FrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit FrmMain(QWidget* parent = nullptr);
};
