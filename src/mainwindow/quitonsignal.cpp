#include "mainwindow/quitonsignal.h"
#include "execute/frmexecute.h"
#include "mainwindow/frmmain.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace {

// How often a refused close is tried again.
constexpr int kRetryMs = 20;

// A box takes its cancel button, the button Escape presses; a box that has
// none takes its default one. A dialog is cancelled, anything else closed.
void dismiss(QWidget* modal)
{
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        box->close();
        if (box->isVisible() && box->defaultButton())
            box->defaultButton()->click();
        return;
    }
    if (auto* dialog = qobject_cast<QDialog*>(modal)) {
        dialog->reject();
        return;
    }
    modal->close();
}

// Answers the open menus, boxes and dialogs, innermost first; true when there
// was one. One that will not close yet (a dialog in the middle of its "Ok") is
// left for the next try.
bool dismissOpenDialogs()
{
    bool any = false;
    QWidget* last = nullptr;
    while (QWidget* popup = QApplication::activePopupWidget()) {
        if (popup == last)
            return true;
        last = popup;
        any = true;
        popup->close();
    }
    while (QWidget* modal = QApplication::activeModalWidget()) {
        if (modal == last)
            return true;
        last = modal;
        any = true;
        dismiss(modal);
    }
    return any;
}

} // namespace

QuitOnSignal::QuitOnSignal(FrmMain& window, platform::UiService& ui)
    : QObject(&window), window_(window), ui_(ui), retry_(new QTimer(this))
{
    retry_->setInterval(kRetryMs);
    connect(retry_, &QTimer::timeout, this, &QuitOnSignal::step);
}

void QuitOnSignal::quit(int signalNumber)
{
    if (signal_ == 0)
        signal_ = signalNumber;
    retry_->start();
    step();
}

void QuitOnSignal::step()
{
    if (window_.exited()) {
        retry_->stop();
        return;
    }
    // The code that opened a box goes on from its answer before anything
    // closes: the close waits for the next try.
    if (dismissOpenDialogs()) {
        retryIn(kRetryMs);
        return;
    }
    if (stepping_)
        return;
    stepping_ = true;
    RunState& run = window_.executeState().run;
    const bool commandRuns = run.commandActive || window_.executeBusy() != 0;
    // A run clears Cancel as it starts: while a command runs, Cancel is given
    // again at every turn of the loop it serves.
    retryIn(commandRuns ? 0 : kRetryMs);
    if (commandRuns) {
        // Cancel, as the log window's button does; an Undo never reads it and
        // runs to its end.
        run.cancelRequested = -1;
    } else {
        if (FrmExecute* log = window_.executeState().frmExecute.data())
            log->unload();
        if (window_.Form_QueryUnload())
            window_.close();
        else
            ui_.latchEscape(); // long list work stops where it reads Escape
    }
    stepping_ = false;
}

void QuitOnSignal::retryIn(int ms)
{
    if (retry_->interval() != ms)
        retry_->setInterval(ms);
}
