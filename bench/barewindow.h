#pragma once
// The main window's part that the file lists touch, built from bare widgets,
// for benchmarks that read directories or make icons without the window.
#include "engine/logs.h"
#include "engine/previewstate.h"
#include "filelist/host.h"
#include "platform/controls.h"
#include "platform/listview.h"
#include "platform/uiservice.h"

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
    // Files, directories and subdirectories ticked; the path is the benchmark's.
    ListTicks ticks{.files = 1, .dirs = 1, .sub = 1, .pattern = QStringLiteral("*.*")};
    FileListHost host;
    platform::ListView* lw;

    // `detail`: every detail column shown and the tree enabled.
    explicit BareFileListWindow(bool detail = false)
    {
        lw = new platform::ListView(&window);
        for (const char* k : {"filename", "preview", "path", "size", "date", "attrib", "ext", "type", "sizeb", "dateb"})
            lw->addColumn(QString::fromLatin1(k), QString::fromLatin1(k), 1000);
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
        host.ticks = [this] { return ticks; };
        host.cmdExecute = new QPushButton(&window);
        host.statusBar = new platform::StatusPanels(&window);
        host.mainWindowReady = &ready;
        host.fileMode = &mode;
        host.executeBusy = &busy;
    }
};
