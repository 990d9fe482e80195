#pragma once
#include "execute/executehost.h"
#include "platform/outersize.h"
#include "platform/scrollclient.h"

#include <array>
#include <optional>
#include <QDialog>
#include <QLabel>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

class LogLines;

// The log window of a run or an Undo: the lines written so far, the progress
// bar, three counters and Close/Cancel/"Save Log...". It is shown without
// blocking; the main window stays disabled until this window unloads, and it
// refuses to close while the run is in progress.
class FrmExecute : public QDialog, public RunReport {
    Q_OBJECT
public:
    // The host is copied: the window outlives the call that opened it.
    explicit FrmExecute(ExecuteHost host);
    ~FrmExecute() override;

    QListView* lstLog;
    QPushButton* cmdClose;
    QPushButton* cmdSaveLog;
    QPushButton* cmdCancel;
    QLabel* lblInfo_Files;
    QLabel* lblInfo_Dirs;
    QLabel* lblInfo_Skipped;
    QProgressBar* Progress;

    // The bar's values as the run gave them; the bar widget mirrors them.
    double progressMax() const { return max_; }
    double progressValue() const { return value_; }
    QStringList lines() const;

    // The report of the run.
    void addLine(const QString& line) override;
    void setCount(RunCount counter, const QString& text) override;
    // Sets the caption only when it changes.
    void setCaption(const QString& caption) override;
    void setProgress(double value, double max) override;
    void setStage(RunStage stage) override;
    void dismiss() override { unload(); }
    void setVisible(bool visible) override;
    QWidget* dialogParent() override { return this; }

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
    bool eventFilter(QObject* watched, QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    // Escape presses "Close" only while it is enabled and shown.
    void reject() override;

private:
    void place(QWidget* w, int left, int top, int width, int height);
    void syncBar();
    // Hands the lines and counter texts given since the last look to the
    // widgets; see addLine().
    void publish();
    void fitOuterSize();
    // A window stored maximised is maximised once it stands shown at its
    // stored rectangle: the one the window system restores it to.
    void maximizeWhenPlaced();
    void maximizeWhenPainted();
    void maximize();
    // `placement`: a move by the window system before the window was first
    // exposed (a window manager keeping it on the screen, a frame put around
    // it), which no user made: it is where the window first stood.
    void recordNormalRect(bool placement = false);
    // Whether the window has been on the screen at all yet.
    bool exposed();
    // An unloaded window takes no more of the run's report.
    void release();

    ExecuteHost host_;
    platform::ScrollClient* clientScroll_ = nullptr;
    LogLines* lines_ = nullptr;
    QTimer* publishTimer_ = nullptr;
    std::array<std::optional<QString>, 3> pendingCounts_;
    double max_ = 0, value_ = 0;
    bool unloaded_ = false;
    // The stored size is the outer one; it is applied once the frame is known.
    platform::OuterSize outerSize_{QSize(370, 194)};
    // The last outer rectangle in the normal state, kept for the settings.
    QRect normalOuter_;
    bool normalSeen_ = false;
    // The stored rectangle as read (twips) and where the window first stood
    // on the screen: a window that did not move or resize stores it back
    // unchanged, so pixel rounding and the window system never shift it.
    platform::StoredGeometry storedGeometry_;
    bool exposedOnce_ = false;
    bool pendingMaximize_ = false;
    bool shown_ = false; // shown to the window system, after the Show event
};

// The open log window of the host, or nullptr.
FrmExecute* logWindow(const ExecuteHost& h);
// Creates and shows the log window for a run or an Undo and makes it the run's report.
FrmExecute* openLogWindow(ExecuteHost& h);
// Unloads the log window when one is open; nothing otherwise.
void unloadLogWindow(ExecuteHost& h);
