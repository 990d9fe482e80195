#pragma once
#include "platform/failure.h"

#include <optional>
#include <QStringList>

// The last failure of a procedure that goes on after failures: a new failure
// replaces the one remembered and a successful step leaves it alone. Nothing
// clears it, so a failure of any step, early or late, is told at the end.
struct FailureMemo {
    std::optional<platform::Failure> last;
    // Failures that name what they concern (a file left unread, say): each is
    // a line of its own, written as it stands.
    QStringList ownLines;

    void remember(const platform::Failure& failure) { last = failure; }
    void note(const QString& line) { ownLines.append(line); }
    bool any() const { return last.has_value(); }
    // "Error N (description) " followed by the text.
    QString lineWith(const QString& text) const { return last ? last->errorText() + text : text; }
};

// Runs one step; a failure it throws is remembered and the caller goes on.
template <typename Step> void goOn(FailureMemo& memo, Step&& step)
{
    try {
        step();
    } catch (const platform::Failure& failure) {
        memo.remember(failure);
    }
}
