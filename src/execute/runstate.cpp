#include "execute/runstate.h"
#include "execute/frmexecute.h"

int exitStatusFor(RunOutcome outcome)
{
    switch (outcome) {
    case RunOutcome::NotStarted:
        return 2;
    case RunOutcome::SomeFailed:
        return 1;
    case RunOutcome::None:
    case RunOutcome::Done:
        break;
    }
    return 0;
}

void PathSnapshot::assign(QStringList items)
{
    items_ = std::move(items);
    first_.clear();
    first_.reserve(items_.size());
    next_.assign(size_t(items_.size()), -1);
    for (qsizetype i = items_.size() - 1; i >= 0; --i) {
        const auto it = first_.find(items_[i]);
        if (it == first_.end()) {
            first_.insert(items_[i], i);
        } else {
            next_[size_t(i)] = it.value();
            it.value() = i;
        }
    }
}

void PathSnapshot::replaceAll(const QString& from, const QString& to)
{
    if (from == to)
        return;
    const auto it = first_.find(from);
    if (it == first_.end())
        return;
    const qsizetype head = it.value();
    first_.erase(it);
    qsizetype tail = head;
    for (qsizetype p = head; p >= 0; p = next_[size_t(p)]) {
        items_[p] = to;
        tail = p;
    }
    const auto jt = first_.find(to);
    if (jt == first_.end()) {
        first_.insert(to, head);
    } else {
        next_[size_t(tail)] = jt.value();
        jt.value() = head;
    }
}

ExecuteState::~ExecuteState()
{
    delete frmExecute.data();
}
