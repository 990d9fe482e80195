// The main window's boxes beside the lists (files, directories, the Process
// pair, preview, tree and thumbnails) and its steps of the directory read.
#include "filelist/fileviews.h"
#include "filelist/generatethumbnails.h"
#include "filelist/iconlists.h"
#include "filelist/readdirectory.h"
#include "filelist/selectioncount.h"
#include "listui/listcommands.h"
#include "mainwindow/frmmain.h"
#include "platform/failure.h"

void FrmMain::openDirectoryRow(const QString& path)
{
    if (sender() == lwDragDropCommands) {
        TabStripFilemode->selectKey(QStringLiteral("listview"));
        if (fileMode_ != 0)
            TabStripFilemode_Click();
    }
    txtPath->setEditText(path);
    navigation->txtPath_LostFocus();
}

// ---------------------------------------------------------------- list options

void FrmMain::refreshDirectoryView()
{
    if (txtPath->currentText() != state_.files.listedDirectory)
        readDirectory();
    updateFileViews();
}

void FrmMain::chkFiles_Click()
{
    if (mainWindowReady_ == 0)
        return;
    if (!chkDirs->isEnabled()) {
        chkFiles->setValue(1);
        return;
    }
    if (chkFiles->value() == 1 || chkDirs->value() == 1)
        refreshDirectoryView();
    else
        chkDirs->setValue(1);
}

void FrmMain::chkDirs_Click()
{
    if (chkFiles->value() == 1 || chkDirs->value() == 1)
        refreshDirectoryView();
    else
        chkFiles->setValue(1);
}

void FrmMain::chkSub_Click()
{
    readDirectory();
    updateFileViews();
}

void FrmMain::chkProcessFilename_Click()
{
    if (chkProcessFilename->value() == 0)
        chkProcessFileExt->setValue(1);
    updateExecuteButton();
}

void FrmMain::chkProcessFileExt_Click()
{
    if (chkProcessFileExt->value() == 0)
        chkProcessFilename->setValue(1);
    updateExecuteButton();
}

void FrmMain::chkOnlyRenameSelected_Click()
{
    updateSelectionCount(false);
    updateExecuteButton();
}

void FrmMain::chkPreview_Click()
{
    if (chkPreview->value() == 1)
        state_.preview.previewRequested = -1;
    else
        StatusBar->setPanelText(QStringLiteral("preview"), QString());
}

void FrmMain::chkShowTreeview_Click()
{
    if (fileMode_ == 1)
        return;
    if (chkShowTreeview->value() == 0) {
        TreeView->hide();
        lwDirectory->show();
        lwDirectory->raise();
        chkPreview->setEnabled(true);
        chkThumbnails->setEnabled(true);
        chkOnlyRenameSelected->setEnabled(true);
        if (mainWindowReady_ == -1)
            lwDirectory->setFocus();
        return;
    }
    if (state_.files.thumbnailsShownDir == -1) {
        stopPreview(state_.preview);
        readDirectory();
        updateFileViews();
    }
    lwDirectory->hide();
    TreeView->show();
    TreeView->raise();
    chkPreview->setEnabled(false);
    chkThumbnails->setEnabled(false);
    chkOnlyRenameSelected->setEnabled(false);
    if (mainWindowReady_ == -1)
        TreeView->setFocus();
}

// A list that shows only its hint row holds no entries to draw.
void FrmMain::chkThumbnails_Click()
{
    if (lwDirectory->showsHintRow()) {
        chkThumbnails->setValue(0);
        return;
    }
    if (chkThumbnails->value() != 0) {
        chkPreview->setEnabled(false);
        lwDirectory->setView(0);
        chkShowTreeview->setEnabled(false);
        if (state_.files.thumbnailsShownDir == 0) {
            stopPreview(state_.preview);
            generateThumbnails();
        }
    } else {
        chkPreview->setEnabled(true);
        lwDirectory->setView(3);
        chkShowTreeview->setEnabled(true);
    }
}

void FrmMain::chkThumbnailsFreeSelect_Click()
{
    if (lwDragDrop->showsHintRow()) {
        chkThumbnailsFreeSelect->setValue(0);
        return;
    }
    if (chkThumbnailsFreeSelect->value() != 0) {
        chkPreview->setEnabled(false);
        lwDragDrop->setView(0);
        if (state_.files.thumbnailsShownFreeSel == 0)
            generateThumbnailsFreeSelect();
    } else {
        chkPreview->setEnabled(true);
        lwDragDrop->setView(3);
    }
}

void FrmMain::generateThumbnails()
{
    runThumbnails(::generateThumbnails, QStringLiteral("generateThumbnails"));
}

void FrmMain::generateThumbnailsFreeSelect()
{
    runThumbnails(::generateThumbnailsFreeSelect, QStringLiteral("generateThumbnailsFreeSelect"));
}

void FrmMain::runThumbnails(void (*step)(FileListHost&), const QString& stepName)
{
    FileListHost h = fileListHost();
    try {
        step(h);
    } catch (const platform::Failure& f) {
        state_.logs.logError(f.errorText() + stepName);
    }
}

void FrmMain::resetIconLists()
{
    if (resetIconListsOnly())
        generateThumbnailsFreeSelect();
}

bool FrmMain::resetIconListsOnly()
{
    FileListHost h = fileListHost();
    resetSysIcons(h);
    resetSysIconsFreeSel(h);
    reloadFreeSelectIcons(h);
    return chkThumbnailsFreeSelect->value() == 1 && !lwDragDrop->showsHintRow();
}

// ---------------------------------------------------------------- directory reading

void FrmMain::readDirectory()
{
    FileListHost h = fileListHost();
    ::readDirectory(h);
}

void FrmMain::updateFileViews()
{
    FileListHost h = fileListHost();
    ::updateFileViews(h);
}

void FrmMain::updateSelectionCount(bool force)
{
    FileListHost h = fileListHost();
    ::updateSelectionCount(h, force ? -1 : 0);
}
