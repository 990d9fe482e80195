#include "execute/runstate.h"
#include "execute/frmexecute.h"

#include <algorithm>

void PathSnapshot::assign(QStringList items)
{
    items_ = std::move(items);
    where_.clear();
    where_.reserve(items_.size());
    for (qsizetype i = 0; i < items_.size(); ++i)
        where_[items_[i]].push_back(i);
}

void PathSnapshot::replaceAll(const QString& from, const QString& to)
{
    if (from == to)
        return;
    const auto it = where_.find(from);
    if (it == where_.end())
        return;
    std::vector<qsizetype> positions = std::move(it.value());
    where_.erase(it);
    std::vector<qsizetype>& target = where_[to];
    for (qsizetype p : positions) {
        items_[p] = to;
        target.push_back(p);
    }
    std::sort(target.begin(), target.end());
}

ExecuteState::~ExecuteState()
{
    delete frmExecute.data();
}
