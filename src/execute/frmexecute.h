#pragma once
#include "execute/executehost.h"

#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

// The log window of a run or an Undo: the lines written so far, the progress
// bar, three counters and Close/Cancel/"Save Log...". It is shown without
// blocking; the main window stays disabled until this window unloads, and it
// refuses to close while the run is in progress.
class FrmExecute : public QDialog {
    Q_OBJECT
public:
    // The host is copied: the window outlives the call that opened it.
    explicit FrmExecute(ExecuteHost host);

    QListWidget* lstLog;
    QPushButton* cmdClose;
    QPushButton* cmdSaveLog;
    QPushButton* cmdCancel;
    QLabel* lblInfo_Files;
    QLabel* lblInfo_Dirs;
    QLabel* lblInfo_Skipped;
    QProgressBar* Progress;

    // The bar's values as the writers see them; the bar widget mirrors them.
    double progressMin() const { return min_; }
    double progressMax() const { return max_; }
    double progressValue() const { return value_; }
    void setProgressMax(double max);
    void setProgressValue(double value);

    void addLine(const QString& line);
    QStringList lines() const;
    // Sets the caption only when it changes.
    void setCaption(const QString& caption);
    void setLabel(QLabel* label, const QString& text);
    // "Status: Renaming... N%"
    void showPercent(int percent);

    void Form_Load();
    void Form_Resize();
    void cmdCancel_Click();
    void cmdClose_Click();
    bool Form_QueryUnload() const;
    void cmdSaveLog_Click();
    void Form_Unload();
    // Closes the window unless a run is in progress; true when it is gone.
    bool unload();
    bool unloaded() const { return unloaded_; }
    // Drops the window without its unload steps.
    void discard();

protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    // Escape presses "Close" only while it is enabled and shown.
    void reject() override;

private:
    void place(QWidget* w, int left, int top, int width, int height);
    void syncBar();
    void fitOuterSize();
    void recordNormalRect();

    ExecuteHost host_;
    double min_ = 0, max_ = 0, value_ = 0;
    bool unloaded_ = false;
    int shownPercent_ = -1;
    // The stored size is the outer one; it is applied once the frame is known.
    QSize pendingOuterSize_;
    QMargins appliedMargins_;
    // The last outer rectangle in the normal state, kept for the settings.
    QRect normalOuter_;
    bool normalSeen_ = false;
};

// The open log window of the host, or nullptr.
FrmExecute* logWindow(const ExecuteHost& h);
// Creates and shows the log window for a run or an Undo.
FrmExecute* openLogWindow(ExecuteHost& h);
// Unloads the log window when one is open; nothing otherwise.
void unloadLogWindow(ExecuteHost& h);
// One line into the log window (the writer puts the same event into "log.txt" itself).
void logWindowLine(ExecuteHost& h, const QString& line);
// The line to the log window and the same text to "log.txt".
void reportLine(ExecuteHost& h, const QString& line);
// One more warning, shown in the log window's counter.
void countWarning(ExecuteHost& h);
// The progress step after each entry: value + 1 up to the maximum, caption with the percentage.
void stepExecuteProgress(ExecuteHost& h);
