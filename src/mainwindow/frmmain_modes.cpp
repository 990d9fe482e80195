// The main window's rename-mode and file-mode tabs, the validation gate, the
// preview timer and the Rename! and Undo buttons.
#include "engine/preview.h"
#include "execute/runrename.h"
#include "execute/undo.h"
#include "listui/inplacerename.h"
#include "mainwindow/framelayout.h"
#include "mainwindow/frmmain.h"
#include "mainwindow/panels/modepanel.h"
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
    // A window closed at a turn of the loop on the way here (by a signal)
    // starts nothing more.
    if (exited_)
        return;
    ExecuteHost host = executeHost();
    runRename(host);
}

void FrmMain::cmdUndo_Click()
{
    if (exited_)
        return;
    ExecuteHost host = executeHost();
    runUndo(host);
}

// ---------------------------------------------------------------- tab strips

void FrmMain::TabStrip_Click()
{
    if (mainWindowReady_ == 0)
        return;
    const RenameMode mode = renameMode();
    const int sub = modeSubOption(mode);
    const ModeEntries entries = modeRow(mode).entries[sub];
    const bool dirs = entries.dirs;
    for (ModePanel* p : panels_)
        p->hide();
    if (mode == RenameMode::Mp3 && mp3InitFailed == -1) {
        ui.message(this, productTitle,
                   QStringLiteral("The Mp3 library failed to initialize! You will not be able\n"
                                  "to use any Mp3 featues. You can probably solve this\n"
                                  "problem by re-installing Vexor Renamer!"),
                   QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok);
        mp3InitFailed = 0;
    }
    panel(mode)->show();
    panel(mode)->raise();
    if (mode == RenameMode::Mp3)
        chkFiles->setValue(1);
    if (fileMode_ == 1) {
        chkDirs->setEnabled(false);
    } else {
        chkDirs->setEnabled(dirs);
        if (!dirs) {
            chkFiles->setValue(1);
            chkDirs->setValue(0);
        }
    }
    dirsAllowed_ = dirs ? -1 : 0;
    chkProcessFilename->setEnabled(entries.processName);
    chkProcessFileExt->setEnabled(entries.processExt);
    updateExecuteButton();
    if (!isEnabled())
        return;
    if (QWidget* focus = panel(mode)->focusFor(sub))
        focus->setFocus();
}

RenameMode FrmMain::renameMode() const
{
    return modeFromKey(TabStrip->selectedKey()).value_or(RenameMode::Replace);
}

int FrmMain::modeSubOption(RenameMode mode) const
{
    return panel(mode)->subOption();
}

void FrmMain::TabStripFilemode_Click()
{
    const QString key = TabStripFilemode->selectedKey();
    if (key == QLatin1String("listview")) {
        fileMode_ = 0;
        chkFiles->setEnabled(true);
        chkDirs->setEnabled(dirsAllowed_ == -1);
        chkSub->setEnabled(true);
        filePane->showDirectoryMode(listOptions_.enableTreeview == -1 || listOptions_.enableTreeview == 1);
        if (mainWindowReady_ == -1)
            txtPath->setFocus();
    } else if (key == QLatin1String("dragdrop")) {
        fileMode_ = 1;
        chkFiles->setEnabled(false);
        chkDirs->setEnabled(false);
        chkSub->setEnabled(false);
        filePane->showFreeSelectMode();
        if (isEnabled() && mainWindowReady_ == -1)
            lwDragDrop->setFocus();
    }
    updateSelectionCount(false);
    updateExecuteButton();
}

void FrmMain::frame_Click(int index)
{
    for (ModePanel* p : panels_)
        if (p->clickFrame(index))
            return;
}

void FrmMain::applySubOption(const ModePanel& p)
{
    const ListEffect effect = p.effectOf(p.subOption());
    if (effect.dirs == ListEffect::Dirs::Allow) {
        dirsAllowed_ = -1;
        // In Free Select the file-mode switch keeps "Directories" disabled.
        if (fileMode_ == 0)
            chkDirs->setEnabled(true);
    } else if (effect.dirs == ListEffect::Dirs::FilesOnly) {
        dirsAllowed_ = 0;
        chkDirs->setEnabled(false);
        chkFiles->setValue(1);
        chkDirs->setValue(0);
    }
    if (effect.process != ListEffect::Process::Keep) {
        const bool on = effect.process == ListEffect::Process::Enable;
        chkProcessFilename->setEnabled(on);
        chkProcessFileExt->setEnabled(on);
    }
    updateExecuteButton();
}

void FrmMain::applyLeaveCorrection(QWidget* box)
{
    for (ModePanel* p : panels_)
        if (p->applyLeaveCorrection(box))
            return;
}

// ---------------------------------------------------------------- the validation gate

void FrmMain::updateExecuteButton()
{
    if (mainWindowReady_ == 0)
        return;
    tmrPreview->stop();
    const GateVerdict v = judgeGate(gateInputs());
    StatusBar->setPanelText(QStringLiteral("main"), v.countsText());
    cmdExecute->setEnabled(v.enabled);
    if (chkPreview->value() != 1)
        dropStalePreview();
    QCoreApplication::processEvents();
    if (chkPreview->value() == 1)
        state_.preview.previewRequested = -1;
    tmrPreview->start();
}

FrmMain::PreviewMadeFor FrmMain::previewInputsNow() const
{
    return {renameMode(), readOptions(), state_.files.onlySelectedActive, cmdExecute->isEnabled()};
}

void FrmMain::dropStalePreview()
{
    std::optional<PreviewMadeFor>& made = previewMadeFor_[fileMode_ == 1 ? 1 : 0];
    if (!made || *made == previewInputsNow())
        return;
    made.reset();
    // A preview still running for the old inputs stops; a pending request stays.
    state_.preview.previewToken = -1;
    platform::ListView* list = activeList();
    for (int r = 0; r < list->count(); ++r)
        list->setSubItem(r, 1, QString());
    StatusBar->setPanelText(QStringLiteral("preview"), QString());
}

// ---------------------------------------------------------------- timer

void FrmMain::tmrPreview_Timer()
{
    if (state_.preview.labelEditPending == -1) {
        state_.preview.labelEditPending = 0;
        inPlaceRename->startEdit(activeList());
    }
    if (state_.files.selectionCountPending == -1 && !ui.leftButtonDown())
        updateSelectionCount(false);
    if (state_.preview.previewRequested == -1) {
        const RenameMode mode = renameMode();
        StatusBar->setPanelText(QStringLiteral("preview"), previewStartText(mode));
        state_.preview.previewRequested = 0;
        previewMadeFor_[fileMode_ == 1 ? 1 : 0] = previewInputsNow();
        generatePreview(state_.preview, previewInputs(), state_.random, state_.logs);
        if (modeHasPreview(mode))
            StatusBar->setPanelText(QStringLiteral("preview"), previewCountText(state_.preview.previewRenameCount));
    }
    if (windowState() == Qt::WindowNoState && mainWindowReady_ == -1) {
        const QRect twips = storedGeometry_.twipsFor(frameGeometry());
        state_.settings.Main_Top = clampTwips(twips.top());
        state_.settings.Main_Left = clampTwips(twips.left());
    }
}
