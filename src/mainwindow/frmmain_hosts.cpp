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
#include "platform/pathbox.h"

#include <QCoreApplication>

ExecuteHost FrmMain::executeHost()
{
    ExecuteHost h;
    h.window = this;
    h.ui = &ui;
    h.closesAfterRun = unattendedRun;
    h.listingJustRead = unattendedRun && listsForRunOnly_;
    h.logs = &state_.logs;
    h.files = &state_.files;
    h.preview = &state_.preview;
    h.state = &execute_;
    h.listOptions = &listOptions_;
    h.settings = &state_.settings;
    h.executeBusy = &executeBusy_;
    h.fileMode = &fileMode_;
    h.dirsAllowed = &dirsAllowed_;
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
    s.logs = &state_.logs;
    s.random = &state_.random;
    s.tables = &state_.tables;
    s.formatName = [this, options](const QString& dir, const QString& name) {
        FormatContext c{state_.random};
        c.logs = &state_.logs;
        c.media.logError = state_.logs.errorSink();
        c.media.codecNames = &state_.tables.codecNames;
        c.media.waveFormatNames = &state_.tables.waveFormatNames;
        c.media.mpegBytesToRead = state_.settings.mpegBytesToRead;
        c.htmlTitleReadSize = state_.settings.getHtmlTitle_ReadSize;
        c.renameMode = renameMode();
        c.yield = [] { QCoreApplication::processEvents(); };
        return formatFilename(name, dir, options, c);
    };
    s.detectExtension = [this, options](const QString& dir, const QString& name) {
        return detectFileType(dir, name, options, state_.tables.fileTypes, mp3Probe(mp3Library_.get()));
    };
    s.mp3Name = [this, options](const QString& dir, const QString& name) -> std::optional<QString> {
        const QString n = mp3NewName(mp3Library_.get(), dir, name, options);
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
    in.onlySelectedActive = state_.files.onlySelectedActive;
    in.selectedCount = state_.files.selectedCount;
    in.alwaysShowDirs = listOptions_.alwaysShowDirs;
    in.services = nameServices(in.options);
    in.yield = platform::throttledYield();
    if (!state_.files.undecodable.isEmpty())
        in.unrenamable = [this](const QString& path) { return isUnrenamable(state_.files, path); };
    return in;
}

FileListHost FrmMain::fileListHost()
{
    FileListHost h;
    h.window = this;
    h.ui = &ui;
    h.logs = &state_.logs;
    h.files = &state_.files;
    h.preview = &state_.preview;
    h.options = &listOptions_;
    h.mainWindowReady = &mainWindowReady_;
    h.fileMode = &fileMode_;
    h.executeBusy = &executeBusy_;
    // The list commands keep this host as long as the window lives: the boxes
    // are read when a procedure asks, never copied here.
    h.ticks = [this] { return listTicks(); };
    h.lwDirectory = lwDirectory;
    h.lwDragDrop = lwDragDrop;
    h.treeView = TreeView;
    h.statusBar = StatusBar;
    h.cmdExecute = cmdExecute;
    h.updateExecuteButton = [this] { updateExecuteButton(); };
    h.generateThumbnails = [this] { generateThumbnails(); };
    h.pathListed = [this](const QString& path) { platform::rememberPath(txtPath, path); };
    h.pathRefused = [this] { platform::setPathColour(txtPath, false); };
    h.untickThumbnails = [this] { chkThumbnails->setValue(0); };
    return h;
}

ListTicks FrmMain::listTicks() const
{
    ListTicks t;
    t.files = chkFiles->value();
    t.dirs = chkDirs->value();
    t.sub = chkSub->value();
    t.thumbnails = chkThumbnails->value();
    t.thumbnailsFreeSelect = chkThumbnailsFreeSelect->value();
    t.onlyRenameSelected = chkOnlyRenameSelected->value();
    t.path = txtPath->currentText();
    t.pattern = txtPattern->text();
    return t;
}

// The panel values through the binding table.
RenameOptions FrmMain::readOptions() const
{
    RenameOptions o;
    bindings_.readOptions(o);
    return o;
}

GateInputs FrmMain::gateInputs() const
{
    GateInputs in;
    in.fileMode = fileMode_;
    in.chkFiles = chkFiles->value();
    in.chkDirs = chkDirs->value();
    in.filesEnabled = chkFiles->isEnabled();
    in.dirsEnabled = chkDirs->isEnabled();
    in.fileEntries = int(state_.files.lstFiles[fileMode_].size());
    in.dirEntries = int(state_.files.lstDirs[fileMode_].size());
    in.chkSub = chkSub->value();
    in.subUncheckedAtStartup = state_.settings.uncheckSubsdirsAtStartup == 1;
    in.mode = renameMode();
    in.onlySelectedActive = state_.files.onlySelectedActive;
    in.selectedCount = state_.files.selectedCount;
    in.batchCount = batchCount();
    in.options = readOptions();
    // A start with /e and /x runs at its first activation and closes.
    in.unattended = exitAfterRun && startModeGiven_;
    return in;
}
