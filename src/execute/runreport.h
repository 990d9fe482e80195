#pragma once
#include <QString>

class QWidget;

// The three counters under the log.
enum class RunCount { Files, Dirs, Warnings };

// What the user may do while a run or an Undo goes on.
enum class RunStage {
    Cancellable,   // the pass of "Rename!": Cancel is offered
    Uncancellable, // Undo, and "Rename!" after its pass: nothing can be pressed
    Finished       // the report may be closed and its lines saved
};

// Where a run of "Rename!" or an Undo reports what it does. The log window
// implements it; the passes, the run and Undo see only this, so they also run
// without a window (a test records what they report).
class RunReport {
public:
    virtual ~RunReport() = default;
    virtual void addLine(const QString& line) = 0;
    // The counter's whole text, e.g. "3 Files Renamed.".
    virtual void setCount(RunCount counter, const QString& text) = 0;
    virtual void setCaption(const QString& caption) = 0;
    // `value` of `max` steps are done; sent only when the value or the maximum changes.
    virtual void setProgress(double value, double max) = 0;
    virtual void setStage(RunStage stage) = 0;
    // The run is over and the report is to close by itself.
    virtual void dismiss() = 0;
    // The parent of the run's message boxes, or nullptr.
    virtual QWidget* dialogParent() { return nullptr; }
};
