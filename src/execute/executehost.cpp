#include "execute/executehost.h"
#include "platform/quitsignals.h"

#include <cmath>
#include <QCoreApplication>
#include <utility>

namespace {

// Takes what a run reports when nothing shows it.
class NoReport : public RunReport {
public:
    void addLine(const QString&) override {}
    void setCount(RunCount, const QString&) override {}
    void setCaption(const QString&) override {}
    void setProgress(double, double) override {}
    void setStage(RunStage) override {}
    void dismiss() override {}
};

} // namespace

RunReport& report(const ExecuteHost& h)
{
    static NoReport none;
    return h.state->report ? *h.state->report : none;
}

RunReport& openRunReport(ExecuteHost& h)
{
    RunState& r = h.run();
    r.progressValue = 0;
    r.progressMax = 0;
    r.shownPercent = -1;
    h.state->report = h.openReport ? h.openReport(h) : nullptr;
    return report(h);
}

void showLine(ExecuteHost& h, const QString& line)
{
    // As in the log files: a name's line feed or escape never splits or
    // colours a line of the window (or of the log it saves).
    report(h).addLine(escapeControlChars(line));
}

void reportLine(ExecuteHost& h, const QString& line)
{
    showLine(h, line);
    writeActivity(h, line);
}

void reportEntryLine(ExecuteHost& h, const QString& opening, const QString& dir, const QString& rest, bool showDir)
{
    showLine(h, opening + (showDir ? dir : QString()) + rest);
    writeActivity(h, opening + dir + rest);
}

bool showsFullPath(const ExecuteHost& h)
{
    return h.settings->showFullPath == 1;
}

void countWarning(ExecuteHost& h)
{
    RunState& r = h.run();
    ++r.warningCount;
    report(h).setCount(RunCount::Warnings, QString::number(r.warningCount) + QStringLiteral(" Warnings."));
}

void showCaption(ExecuteHost& h, const QString& caption)
{
    h.run().shownPercent = -1;
    report(h).setCaption(caption);
}

void setProgressMax(ExecuteHost& h, double max)
{
    RunState& r = h.run();
    r.progressValue = 0;
    r.progressMax = max;
    report(h).setProgress(r.progressValue, r.progressMax);
}

// A signal to end the program is served after the item at hand, as a click
// on Cancel would be, until the run has taken it as its Cancel: a run of quick
// renames may do thousands in one interval.
static bool signalToServe(RunState& r)
{
    r.signalLookedFor = true;
    return r.cancelRequested != -1 && platform::quitSignalPending();
}

// Served less than the run's interval ago, the event loop is not due.
static bool yieldDue(const RunState& r)
{
    return !(r.yieldIntervalMs > 0 && r.sinceYield.isValid() && r.sinceYield.elapsed() < r.yieldIntervalMs);
}

void stepExecuteProgress(ExecuteHost& h)
{
    RunState& r = h.run();
    if (r.progressValue >= 0 && r.progressValue < r.progressMax) {
        r.progressValue += 1;
        report(h).setProgress(r.progressValue, r.progressMax);
    }
    // A bar without a maximum stands at 0 %; the caption only changes with the percentage.
    const float percent = r.progressMax > 0 ? float(r.progressValue) / float(r.progressMax) * 100.0f : 0.0f;
    const int shown = int(std::floor(percent));
    if (shown != r.shownPercent) {
        report(h).setCaption(QStringLiteral("Status: Renaming... ") + QString::number(shown) + QLatin1Char('%'));
        r.shownPercent = shown;
    }
    // One look for a signal per item: a renamed one looked when it was renamed.
    const bool looked = std::exchange(r.signalLookedFor, false);
    if (yieldDue(r) || (!looked && signalToServe(r)))
        serveEvents(h);
    r.signalLookedFor = false;
}

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
    if (yieldDue(r) || signalToServe(r))
        serveEvents(h);
}

void setStatus(ExecuteHost& h, const QString& text)
{
    if (h.showStatus)
        h.showStatus(text);
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
    if (r.logFailure.isEmpty()) {
        r.logFailure = h.logs->activityError();
        r.logFailureLine = line;
    }
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
    QWidget* parent = report(h).dialogParent();
    if (!parent)
        parent = h.window;
    // A change whose line failed was made all the same: the box tells it.
    logBox(h, parent, r.logFailure,
           QStringLiteral("The operation was stopped after this line, which could not be written there:\n") +
               escapeControlChars(r.logFailureLine));
}
