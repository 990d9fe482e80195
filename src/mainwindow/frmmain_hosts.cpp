// What the main window hands to the lower subsystems: the panel values as
// plain structs, and the hosts and services with the controls and state each
// one touches and the main window's procedures.
#include "engine/detect.h"
#include "engine/format.h"
#include "engine/mp3names.h"
#include "execute/frmexecute.h"
#include "filelist/iconlists.h"
#include "filelist/swaplistitems.h"
#include "mainwindow/frmmain.h"

#include <QCoreApplication>

ExecuteHost FrmMain::executeHost()
{
    ExecuteHost h;
    h.window = this;
    h.ui = &ui;
    h.closesAfterRun = unattendedRun;
    h.logs = &state.logs;
    h.files = &state.files;
    h.preview = &state.preview;
    h.state = &execute;
    h.listOptions = &listOptions;
    h.settings = &state.settings;
    h.executeBusy = &executeBusy;
    h.fileMode = &fileMode;
    h.dirsAllowed = &dirsAllowed;
    h.lwDirectory = lwDirectory;
    h.lwDragDrop = lwDragDrop;
    h.treeView = TreeView;
    // The ticks as they stand when "Rename!" or Undo is pressed.
    h.ticks.files = chkFiles->value();
    h.ticks.dirs = chkDirs->value();
    h.ticks.thumbnailsFreeSelect = chkThumbnailsFreeSelect->value();
    h.ticks.showTreeview = chkShowTreeview->value();
    h.openReport = [](ExecuteHost& host) -> RunReport* { return openLogWindow(host); };
    h.executeEnabled = [this] { return cmdExecute->isEnabled(); };
    h.setUndoEnabled = [this](bool on) { cmdUndo->setEnabled(on); };
    h.showStatus = [this](const QString& text) { StatusBar->setPanelText(QStringLiteral("main"), text); };
    h.renameMode = [this] { return renameMode(); };
    h.readOptions = [this] { return readOptions(); };
    h.nameServices = [this](const RenameOptions& o) { return nameServices(o); };
    h.updateExecuteButton = [this] { updateExecuteButton(); };
    h.readDirectory = [this] { readDirectory(); };
    h.updateFileViews = [this] { updateFileViews(); };
    h.updateSelectionCount = [this](bool force) { updateSelectionCount(force); };
    h.generateThumbnailsFreeSelect = [this] { generateThumbnailsFreeSelect(); };
    h.swapListItems = [fh = fileListHost()](int a, int b) mutable { ::swapListItems(fh, a, b); };
    h.getSysIconFreeSel = [fh = fileListHost()](const QString& path, bool isDir) mutable {
        return ::getSysIconFreeSel(fh, path, isDir ? -1 : 0);
    };
    return h;
}

NameServices FrmMain::nameServices(const RenameOptions& options)
{
    NameServices s;
    s.logs = &state.logs;
    s.random = &state.random;
    s.tables = &state.tables;
    s.formatName = [this, options](const QString& dir, const QString& name) {
        FormatContext c{state.random};
        c.logs = &state.logs;
        c.media.logError = state.logs.errorSink();
        c.media.codecNames = &state.tables.codecNames;
        c.media.waveFormatNames = &state.tables.waveFormatNames;
        c.media.mpegBytesToRead = state.settings.mpegBytesToRead;
        c.htmlTitleReadSize = state.settings.getHtmlTitle_ReadSize;
        c.renameMode = renameMode();
        c.yield = [] { QCoreApplication::processEvents(); };
        return formatFilename(name, dir, options, c);
    };
    s.detectExtension = [this, options](const QString& dir, const QString& name) {
        return detectFileType(dir, name, options, state.tables.fileTypes, mp3Probe(mp3Library.get()));
    };
    s.mp3Name = [this, options](const QString& dir, const QString& name) -> std::optional<QString> {
        const QString n = mp3NewName(mp3Library.get(), dir, name, options);
        return n.isEmpty() ? std::nullopt : std::optional<QString>(n);
    };
    return s;
}

PreviewInputs FrmMain::previewInputs()
{
    PreviewInputs in;
    in.directoryList = TabStripFilemode->selectedKey() == QLatin1String("listview");
    platform::ListView* list = in.directoryList ? lwDirectory : lwDragDrop;
    in.model = list->model();
    in.selection = list->selectionModel();
    in.executeEnabled = [this] { return cmdExecute->isEnabled(); };
    in.mode = renameMode();
    in.options = readOptions();
    in.onlySelectedActive = state.files.onlySelectedActive;
    in.selectedCount = state.files.selectedCount;
    in.alwaysShowDirs = listOptions.alwaysShowDirs;
    in.services = nameServices(in.options);
    in.yield = platform::throttledYield();
    if (!state.files.undecodable.isEmpty())
        in.unrenamable = [this](const QString& path) { return isUnrenamable(state.files, path); };
    return in;
}

FileListHost FrmMain::fileListHost()
{
    FileListHost h;
    h.window = this;
    h.ui = &ui;
    h.logs = &state.logs;
    h.files = &state.files;
    h.preview = &state.preview;
    h.options = &listOptions;
    h.lwDirectory = lwDirectory;
    h.lwDragDrop = lwDragDrop;
    h.treeView = TreeView;
    h.txtPath = txtPath;
    h.txtPattern = txtPattern;
    h.chkFiles = chkFiles;
    h.chkDirs = chkDirs;
    h.chkSub = chkSub;
    h.chkThumbnails = chkThumbnails;
    h.chkShowTreeview = chkShowTreeview;
    h.chkOnlyRenameSelected = chkOnlyRenameSelected;
    h.cmdExecute = cmdExecute;
    h.statusBar = StatusBar;
    h.mainWindowReady = &mainWindowReady;
    h.fileMode = &fileMode;
    h.executeBusy = &executeBusy;
    h.updateExecuteButton = [this] { updateExecuteButton(); };
    h.generateThumbnails = [this] { generateThumbnails(); };
    return h;
}

// The panel values through the binding table.
RenameOptions FrmMain::readOptions() const
{
    RenameOptions o;
    bindings.readOptions(o);
    return o;
}

GateInputs FrmMain::gateInputs() const
{
    GateInputs in;
    in.fileMode = fileMode;
    in.chkFiles = chkFiles->value();
    in.chkDirs = chkDirs->value();
    in.filesEnabled = chkFiles->isEnabled();
    in.dirsEnabled = chkDirs->isEnabled();
    in.fileEntries = int(state.files.lstFiles[fileMode].size());
    in.dirEntries = int(state.files.lstDirs[fileMode].size());
    in.mode = renameMode();
    in.onlySelectedActive = state.files.onlySelectedActive;
    in.selectedCount = state.files.selectedCount;
    in.batchCount = batchCount();
    in.options = readOptions();
    return in;
}
