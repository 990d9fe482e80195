#pragma once
#include "test_support.h"

#include "engine/logs.h"
#include "engine/previewstate.h"
#include "filelist/fileviews.h"
#include "filelist/host.h"
#include "filelist/iconlists.h"
#include "filelist/listrows.h"
#include "filelist/readdirectory.h"
#include "filelist/selectioncount.h"
#include "filelist/swaplistitems.h"
#include "filelist/systemfolders.h"
#include "platform/controls.h"
#include "platform/listview.h"
#include "platform/pathbox.h"

#include <memory>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

// A FileListHost around bare widgets, as the main window would hand it over.
class FileListTest : public TempEnv {
protected:
    void SetUp() override
    {
        TempEnv::SetUp();
        window = std::make_unique<QWidget>();
        logs = std::make_unique<Logs>(programFolder());
        lwDirectory = new platform::ListView(window.get());
        lwDragDrop = new platform::ListView(window.get());
        addColumns(lwDirectory);
        addColumns(lwDragDrop);
        tree = new QTreeWidget(window.get());
        txtPath = new QComboBox(window.get());
        txtPath->setEditable(true);
        txtPattern = new QLineEdit(QStringLiteral("*.*"), window.get());
        auto box = [&](const char* caption, int value) {
            auto* b = new platform::CheckBox(QString::fromLatin1(caption), window.get());
            b->setValue(value);
            return b;
        };
        chkFiles = box("Files", 1);
        chkDirs = box("Directories", 1);
        chkSub = box("Subdirectories", 0);
        chkThumbnails = box("Thumbnails", 0);
        chkOnlyRenameSelected = box("Only Rename Selected", 0);
        cmdExecute = new QPushButton(QStringLiteral("Rename!"), window.get());
        status = new platform::StatusPanels(window.get());
        files.systemFolders = {
            QStringLiteral("/usr/"), QStringLiteral("/etc/"), QStringLiteral("/opt/"), QStringLiteral("/"), {}};

        host.window = window.get();
        host.ui = &ui;
        host.logs = logs.get();
        host.files = &files;
        host.preview = &preview;
        host.options = &options;
        host.lwDirectory = lwDirectory;
        host.lwDragDrop = lwDragDrop;
        host.treeView = tree;
        host.cmdExecute = cmdExecute;
        host.statusBar = status;
        // The boxes are read at each call, as the main window does.
        host.ticks = [this] {
            ListTicks t;
            t.files = chkFiles->value();
            t.dirs = chkDirs->value();
            t.sub = chkSub->value();
            t.thumbnails = chkThumbnails->value();
            t.onlyRenameSelected = chkOnlyRenameSelected->value();
            t.path = txtPath->currentText();
            t.pattern = txtPattern->text();
            return t;
        };
        host.pathListed = [this](const QString& path) { platform::rememberPath(txtPath, path); };
        host.pathRefused = [this] { platform::setPathColour(txtPath, false); };
        host.untickThumbnails = [this] { chkThumbnails->setValue(0); };
        host.mainWindowReady = &mainWindowReady;
        host.fileMode = &fileMode;
        host.executeBusy = &executeBusy;
        host.updateExecuteButton = [this] { ++gateRuns; };
    }

    static void addColumns(platform::ListView* lw)
    {
        const char* keys[] = {"filename", "preview", "path", "size", "date", "attrib", "ext", "type", "sizeb", "dateb"};
        for (const char* k : keys)
            lw->addColumn(QString::fromLatin1(k), QString::fromLatin1(k), 1000);
    }

    // The working directory as the navigation hands it over: ending in "/".
    QString dir(const QString& relative = QString()) const
    {
        return relative.isEmpty() ? work() + "/" : work() + "/" + relative + "/";
    }

    void read(const QString& path)
    {
        txtPath->setEditText(path);
        readDirectory(host);
    }

    void readAndShow(const QString& path)
    {
        read(path);
        updateFileViews(host);
    }

    // Escape pressed while the next piece of long work runs: it arrives at the
    // work's first turn of the event loop.
    void escapeDuringWork()
    {
        QTimer::singleShot(0, [this] { ui.latchEscape(); });
    }

    // Paths relative to the working folder, for readable expectations.
    QStringList relative(const QStringList& paths) const
    {
        QStringList out;
        for (const QString& p : paths)
            out << (p.startsWith(work() + "/") ? p.mid(work().size() + 1) : p);
        return out;
    }

    QStringList rowNames() const
    {
        QStringList out;
        for (int i = 0; i < lwDirectory->count(); ++i)
            out << lwDirectory->text(i);
        return out;
    }

    QString panel(const char* key) const { return status->panelText(QString::fromLatin1(key)); }

    std::unique_ptr<QWidget> window;
    std::unique_ptr<Logs> logs;
    ScriptedUi ui;
    FileListState files;
    PreviewState preview;
    FileListOptions options;
    platform::ListView* lwDirectory = nullptr;
    platform::ListView* lwDragDrop = nullptr;
    QTreeWidget* tree = nullptr;
    QComboBox* txtPath = nullptr;
    QLineEdit* txtPattern = nullptr;
    platform::CheckBox *chkFiles = nullptr, *chkDirs = nullptr, *chkSub = nullptr, *chkThumbnails = nullptr,
                       *chkOnlyRenameSelected = nullptr;
    QPushButton* cmdExecute = nullptr;
    platform::StatusPanels* status = nullptr;
    qint16 mainWindowReady = -1;
    qint16 fileMode = 0;
    qint16 executeBusy = 0;
    int gateRuns = 0;
    FileListHost host;
};
