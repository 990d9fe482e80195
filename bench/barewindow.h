#pragma once
// The main window's part that the file lists touch, built from bare widgets,
// for benchmarks that read directories or make icons without the window.
#include "engine/logs.h"
#include "engine/previewstate.h"
#include "filelist/host.h"
#include "platform/controls.h"
#include "platform/listview.h"
#include "platform/uiservice.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QWidget>

struct BareFileListWindow {
    QWidget window;
    platform::QtUiService ui;
    QTemporaryDir logDir;
    Logs logs{logDir.path()};
    FileListState files;
    PreviewState preview;
    FileListOptions options;
    qint16 ready = -1, mode = 0, busy = 0;
    FileListHost host;
    platform::ListView* lw;

    // `detail`: every detail column shown and the tree enabled.
    explicit BareFileListWindow(bool detail = false)
    {
        lw = new platform::ListView(&window);
        for (const char* k : {"filename", "preview", "path", "size", "date", "attrib", "ext", "type", "sizeb", "dateb"})
            lw->addColumn(QString::fromLatin1(k), QString::fromLatin1(k), 1000);
        auto box = [&](int v) {
            auto* b = new platform::CheckBox(QString(), &window);
            b->setValue(v);
            return b;
        };
        options.showAllColumns = detail ? 1 : 0;
        options.enableTreeview = detail ? 1 : 0;
        host.window = &window;
        host.ui = &ui;
        host.logs = &logs;
        host.files = &files;
        host.preview = &preview;
        host.options = &options;
        host.lwDirectory = lw;
        host.lwDragDrop = new platform::ListView(&window);
        host.treeView = new QTreeWidget(&window);
        host.txtPath = new QComboBox(&window);
        host.txtPath->setEditable(true);
        host.txtPattern = new QLineEdit(QStringLiteral("*.*"), &window);
        host.chkFiles = box(1);
        host.chkDirs = box(1);
        host.chkSub = box(1);
        host.chkThumbnails = box(0);
        host.chkShowTreeview = box(0);
        host.chkOnlyRenameSelected = box(0);
        host.cmdExecute = new QPushButton(&window);
        host.statusBar = new platform::StatusPanels(&window);
        host.mainWindowReady = &ready;
        host.fileMode = &mode;
        host.executeBusy = &busy;
    }
};
