// What the main window hands to the lower subsystems: the panel values as
// plain structs, and the hosts and services with the controls and state each
// one touches and the main window's procedures.
#include "engine/detect.h"
#include "engine/format.h"
#include "engine/mp3names.h"
#include "filelist/iconlists.h"
#include "filelist/swaplistitems.h"
#include "mainwindow/frmmain.h"
#include "platform/datetext.h"

#include <QCoreApplication>

ExecuteHost FrmMain::executeHost()
{
    ExecuteHost h;
    h.window = this;
    h.ui = &ui;
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
    h.chkFiles = chkFiles;
    h.chkDirs = chkDirs;
    h.chkThumbnailsFreeSelect = chkThumbnailsFreeSelect;
    h.chkShowTreeview = chkShowTreeview;
    h.cmdExecute = cmdExecute;
    h.cmdUndo = cmdUndo;
    h.statusBar = StatusBar;
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

RenameOptions FrmMain::readOptions() const
{
    RenameOptions o;
    o.processName = chkProcessFilename->value();
    o.processExt = chkProcessFileExt->value();
    o.replaceBatch = optReplaceBatch->isChecked();
    o.findText = txtFind->text();
    o.replaceText = txtReplace->text();
    o.caseSensitive = chkCaseSensitive->value();
    o.swapMode = chkReplaceMode->value();
    o.replaceStart = txtReplaceStart->text();
    o.replaceCount = txtReplaceCount->text();
    for (size_t i = 0; i < Case1.size(); ++i)
        if (Case1[i]->isChecked())
            o.nameCase = int(i);
    for (size_t i = 0; i < Case2.size(); ++i)
        if (Case2[i]->isChecked())
            o.extCase = int(i);
    o.useExceptions = chkExceptionsEnabled->value();
    o.trimLeading = chkSpaceBeginning->value();
    o.trimTrailing = chkSpaceEnd->value();
    o.shrinkSpaces = chkSpaceShrink->value();
    o.dateMode = optAttrib_Date->isChecked();
    o.attrReadOnly = chkR->value();
    o.attrHidden = chkH->value();
    o.attrSystem = chkS->value();
    o.attrArchive = chkA->value();
    o.setCreated = chkDateCreated->value();
    o.setAccessed = chkDateAccessed->value();
    o.setModified = chkDateModified->value();
    o.useDate = chkDateDate->value();
    o.useTime = chkDateTime->value();
    o.dateText = platform::dateText(dtDate->date());
    o.timeText = platform::timeText(dtTime->time());
    o.cropMode = optCrop->isChecked();
    o.addText = txtAdd->text();
    o.addPos = txtAddPos->text();
    o.addFromEnd = optAddEnding->isChecked();
    o.cropCount = txtCropNumber->text();
    o.cropPos = txtCropPos->text();
    o.cropFromEnd = optCropEnding->isChecked();
    o.normalizeMode = chkEnumTab_Normalize->isChecked();
    o.enumFormat = txtEnumFormat->text();
    o.enumStart = txtEnumStart->text();
    o.enumStep = txtEnumStep->text();
    o.enumDigits = txtEnumZeros->text();
    o.enumAutoDigits = chkEnumAutoZeros->value();
    o.enumResetPerDir = chkEnumResetBetweenDirs->value();
    o.normalizeWidth = txtNormalize->text();
    o.mp3Format = txtMp3Format->text();
    o.mp3AddExtension = chkMp3AddExtension->value();
    o.mp3OnlyFilledTags = chkMp3OnlyFilledTags->value();
    o.mp3OnlyMp3Files = chkMp3OnlyMp3Files->value();
    o.mp3UseId3v2 = chkMp3UseID3v2->value();
    o.detectMode = chkFormatTab_Detect->isChecked();
    o.formatText = txtFormat->text();
    o.formatParts = txtFormatParts->text();
    o.allTagsRequired = chkFormatAllMustBeAvailable->value();
    o.detectKeepExt = chkFileDetect_KeepExt->value();
    o.detectTryText = chkFileDetect_TryText->value();
    o.detectTryMp3 = chkFileDetect_TryMp3->value();
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
