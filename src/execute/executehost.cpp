#include "execute/executehost.h"

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
