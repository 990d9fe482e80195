#include "execute/executehost.h"

#include "execute/frmexecute.h"

#include <QCoreApplication>

void serveEvents(ExecuteHost& h)
{
    h.run().sinceYield.start();
    if (h.yield)
        h.yield();
    else
        QCoreApplication::processEvents();
}

void serveEventsThrottled(ExecuteHost& h)
{
    RunState& r = h.run();
    if (r.yieldIntervalMs > 0 && r.sinceYield.isValid() && r.sinceYield.elapsed() < r.yieldIntervalMs)
        return;
    serveEvents(h);
}

void setStatus(ExecuteHost& h, const QString& text)
{
    if (h.statusBar)
        h.statusBar->setPanelText(QStringLiteral("main"), text);
}

bool executeLocked(const ExecuteHost& h)
{
    return h.state->run.commandActive || *h.executeBusy != 0;
}

void writeActivity(ExecuteHost& h, const QString& line)
{
    if (h.logs->writeLog(line))
        return;
    RunState& r = h.run();
    if (r.logFailure.isEmpty())
        r.logFailure = h.logs->activityError();
    r.cancelRequested = -1;
}

static void logBox(ExecuteHost& h, QWidget* parent, const QString& reason, const QString& consequence)
{
    h.ui->message(parent, QStringLiteral("Vexor Renamer"),
                  QStringLiteral("Cannot write to the log file ") + h.logs->activityFile() + QStringLiteral(":\n") +
                      reason + QStringLiteral("\n\n") + consequence,
                  QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok);
}

bool activityLogReady(ExecuteHost& h)
{
    const QString problem = h.logs->activityLogProblem();
    if (problem.isEmpty())
        return true;
    logBox(h, h.window, problem, QStringLiteral("Nothing was changed."));
    return false;
}

void reportLogStopped(ExecuteHost& h)
{
    const RunState& r = h.run();
    if (r.logFailure.isEmpty())
        return;
    QWidget* parent = h.state->frmExecute ? static_cast<QWidget*>(h.state->frmExecute.data()) : h.window;
    logBox(h, parent, r.logFailure, QStringLiteral("The operation was stopped after the last change written there."));
}
