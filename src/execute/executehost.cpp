#include "execute/executehost.h"

#include <QCoreApplication>
#include <utility>

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

void swapListRows(ExecuteHost& h, int a, int b)
{
    platform::ListView* list = h.activeList();
    if (h.mode() == 0)
        h.files->listOrderChanged = -1;
    if (a != b) {
        // The whole row moves: with the detail columns off those cells are empty,
        // and the sort data travels with the texts it belongs to.
        std::swap(list->row(a - 1), list->row(b - 1));
        list->model()->markChanged(a - 1);
        list->model()->markChanged(b - 1);
    }
    list->setSelected(a - 1, false);
    list->setSelected(b - 1, false);
}
