// The main window's rename-mode and file-mode tabs, the validation gate, the
// preview timer and the Rename! and Undo buttons.
#include "engine/preview.h"
#include "execute/runrename.h"
#include "execute/undo.h"
#include "listui/inplacerename.h"
#include "mainwindow/framelayout.h"
#include "mainwindow/frmmain.h"
#include "platform/twips.h"

#include <QCoreApplication>

// F5 runs Rename! as the button would, after the gate has seen the last input.
void FrmMain::actExecute_Triggered()
{
    if (executeLocked(executeHost()))
        return;
    // The focus leaves the control first, so its lost-focus handling corrects its value.
    cmdAbout->setFocus();
    QCoreApplication::processEvents();
    updateExecuteButton();
    QCoreApplication::processEvents();
    if (cmdExecute->isEnabled())
        cmdExecute_Click();
}

void FrmMain::cmdExecute_Click()
{
    ExecuteHost host = executeHost();
    runRename(host);
}

void FrmMain::cmdUndo_Click()
{
    ExecuteHost host = executeHost();
    runUndo(host);
}

// ---------------------------------------------------------------- tab strips

void FrmMain::TabStrip_Click()
{
    if (mainWindowReady == 0)
        return;
    const RenameMode mode = renameMode();
    const int sub = modeSubOption(mode);
    const ModeEntries entries = modeRow(mode).entries[sub];
    const bool dirs = entries.dirs;
    for (const ModePanel& p : modePanels)
        p.panel->hide();
    if (mode == RenameMode::Mp3 && mp3InitFailed == -1) {
        ui.message(this, productTitle,
                   QStringLiteral("The Mp3 library failed to initialize! You will not be able\n"
                                  "to use any Mp3 featues. You can probably solve this\n"
                                  "problem by re-installing Vexor Renamer!"),
                   QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok);
        mp3InitFailed = 0;
    }
    modePanel(mode).panel->show();
    modePanel(mode).panel->raise();
    if (mode == RenameMode::Mp3)
        chkFiles->setValue(1);
    if (fileMode == 1) {
        chkDirs->setEnabled(false);
    } else {
        chkDirs->setEnabled(dirs);
        if (!dirs) {
            chkFiles->setValue(1);
            chkDirs->setValue(0);
        }
    }
    dirsAllowed = dirs ? -1 : 0;
    chkProcessFilename->setEnabled(entries.processName);
    chkProcessFileExt->setEnabled(entries.processExt);
    updateExecuteButton();
    if (!isEnabled())
        return;
    if (QWidget* focus = modePanel(mode).focus[size_t(sub)])
        focus->setFocus();
}

RenameMode FrmMain::renameMode() const
{
    return modeFromKey(TabStrip->selectedKey()).value_or(RenameMode::Replace);
}

int FrmMain::modeSubOption(RenameMode mode) const
{
    platform::OptionButton* second = modePanel(mode).options[1];
    return second && second->isChecked() ? 1 : 0;
}

void FrmMain::TabStripFilemode_Click()
{
    const QString key = TabStripFilemode->selectedKey();
    if (key == QLatin1String("listview")) {
        fileMode = 0;
        chkFiles->setEnabled(true);
        chkDirs->setEnabled(dirsAllowed == -1);
        chkSub->setEnabled(true);
        filePane->showDirectoryMode(listOptions.enableTreeview == -1 || listOptions.enableTreeview == 1);
        if (mainWindowReady == -1)
            txtPath->setFocus();
    } else if (key == QLatin1String("dragdrop")) {
        fileMode = 1;
        chkFiles->setEnabled(false);
        chkDirs->setEnabled(false);
        chkSub->setEnabled(false);
        filePane->showFreeSelectMode();
        if (isEnabled() && mainWindowReady == -1)
            lwDragDrop->setFocus();
    }
    updateSelectionCount(false);
    updateExecuteButton();
}

void FrmMain::frame_Click(int index)
{
    if (platform::OptionButton* option = frameOption[size_t(index)])
        option->select();
}

// ---------------------------------------------------------------- the validation gate

void FrmMain::updateExecuteButton()
{
    if (mainWindowReady == 0)
        return;
    tmrPreview->stop();
    const GateVerdict v = judgeGate(gateInputs());
    StatusBar->setPanelText(QStringLiteral("main"), v.countsText());
    cmdExecute->setEnabled(v.enabled);
    if (chkPreview->value() != 1)
        dropStalePreview();
    QCoreApplication::processEvents();
    if (chkPreview->value() == 1)
        state.preview.previewRequested = -1;
    tmrPreview->start();
}

FrmMain::PreviewMadeFor FrmMain::previewInputsNow() const
{
    return {renameMode(), readOptions(), state.files.onlySelectedActive, cmdExecute->isEnabled()};
}

void FrmMain::dropStalePreview()
{
    std::optional<PreviewMadeFor>& made = previewMadeFor_[fileMode == 1 ? 1 : 0];
    if (!made || *made == previewInputsNow())
        return;
    made.reset();
    // A preview still running for the old inputs stops; a pending request stays.
    state.preview.previewToken = -1;
    platform::ListView* list = activeList();
    for (int r = 0; r < list->count(); ++r)
        list->setSubItem(r, 1, QString());
    StatusBar->setPanelText(QStringLiteral("preview"), QString());
}

// ---------------------------------------------------------------- timer

void FrmMain::tmrPreview_Timer()
{
    if (state.preview.labelEditPending == -1) {
        state.preview.labelEditPending = 0;
        inPlaceRename->startEdit(activeList());
    }
    if (state.files.selectionCountPending == -1 && !ui.leftButtonDown())
        updateSelectionCount(false);
    if (state.preview.previewRequested == -1) {
        const RenameMode mode = renameMode();
        StatusBar->setPanelText(QStringLiteral("preview"), previewStartText(mode));
        state.preview.previewRequested = 0;
        previewMadeFor_[fileMode == 1 ? 1 : 0] = previewInputsNow();
        generatePreview(state.preview, previewInputs(), state.random, state.logs);
        if (modeHasPreview(mode))
            StatusBar->setPanelText(QStringLiteral("preview"), previewCountText(state.preview.previewRenameCount));
    }
    if (windowState() == Qt::WindowNoState && mainWindowReady == -1) {
        state.settings.Main_Top = clampTwips(platform::toTwips(y()));
        state.settings.Main_Left = clampTwips(platform::toTwips(x()));
    }
}
