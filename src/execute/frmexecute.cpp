#include "execute/frmexecute.h"
#include "platform/captionfit.h"
#include "platform/failure.h"
#include "platform/ownfiles.h"
#include "platform/twips.h"
#include "settings/loadsave.h"

#include <algorithm>
#include <cmath>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <QWindow>

namespace {

// Stored geometry is 16-bit; a window too large for that form stores its limit.
int storeForm(double twips)
{
    return int(std::clamp(std::round(twips), -32768.0, 32767.0));
}

// The list takes one row size for all its lines, so that long runs stay fast.
// That row is as wide as the widest line painted so far: a long line on screen
// can be scrolled to its end instead of being cut at the window's edge.
class WidestLineDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QSize own = QStyledItemDelegate::sizeHint(option, index);
        widest_ = std::max(widest_, own.width());
        return {widest_, own.height()};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const int width = QStyledItemDelegate::sizeHint(option, index).width();
        if (width > widest_) {
            widest_ = width;
            // Lays the list out again with the wider row.
            emit const_cast<WidestLineDelegate*>(this)->sizeHintChanged(index);
        }
        QStyledItemDelegate::paint(painter, option, index);
    }

private:
    mutable int widest_ = 0;
};

} // namespace

// The log window's lines. A long run gives thousands of lines between two
// looks at the screen; they reach the view in one insertion, at the next look
// (publish()), instead of one model insertion and one item each.
class LogLines : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(shown_); }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole || index.row() < 0 || index.row() >= shown_)
            return {};
        return lines_[index.row()];
    }

    void append(const QString& line) { lines_.push_back(line); }
    bool pending() const { return lines_.size() > shown_; }
    void publish()
    {
        if (!pending())
            return;
        beginInsertRows({}, int(shown_), int(lines_.size() - 1));
        shown_ = lines_.size();
        endInsertRows();
    }
    const QStringList& lines() const { return lines_; }

private:
    QStringList lines_;
    qsizetype shown_ = 0;
};

FrmExecute::FrmExecute(ExecuteHost host) : QDialog(nullptr), host_(std::move(host))
{
    setObjectName(QStringLiteral("frmExecute"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Log"));
    // The controls lie on a client that scrolls where the screen is smaller
    // than the window's minimum.
    auto* client = new QWidget;
    client->setObjectName(QStringLiteral("client"));
    clientScroll_ = new platform::ScrollClient(client, this);
    clientScroll_->setObjectName(QStringLiteral("clientScroll"));
    auto* whole = new QVBoxLayout(this);
    whole->setContentsMargins(0, 0, 0, 0);
    whole->addWidget(clientScroll_);
    connect(clientScroll_, &platform::ScrollClient::clientResized, this, [this] { Form_Resize(); });
    client->installEventFilter(this);
    setSizeGripEnabled(true); // after the client, so that the grip lies on it

    cmdClose = new QPushButton(QStringLiteral("Close"), client);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    lstLog = new QListView(client);
    lstLog->setObjectName(QStringLiteral("lstLog"));
    lines_ = new LogLines(lstLog);
    lstLog->setModel(lines_);
    lstLog->setEditTriggers(QAbstractItemView::NoEditTriggers);
    publishTimer_ = new QTimer(this);
    publishTimer_->setSingleShot(true);
    publishTimer_->setInterval(0);
    connect(publishTimer_, &QTimer::timeout, this, [this] { publish(); });
    lstLog->setUniformItemSizes(true);
    lstLog->setItemDelegate(new WidestLineDelegate(lstLog));
    cmdSaveLog = new QPushButton(QStringLiteral("Save Log..."), client);
    cmdSaveLog->setObjectName(QStringLiteral("cmdSaveLog"));
    lblInfo_Files = new QLabel(QStringLiteral("0 Files Renamed."), client);
    lblInfo_Files->setObjectName(QStringLiteral("lblInfo_Files"));
    lblInfo_Dirs = new QLabel(QStringLiteral("0 Directories Renamed."), client);
    lblInfo_Dirs->setObjectName(QStringLiteral("lblInfo_Dirs"));
    lblInfo_Skipped = new QLabel(QStringLiteral("0 Warnings."), client);
    lblInfo_Skipped->setObjectName(QStringLiteral("lblInfo_Skipped"));
    Progress = new QProgressBar(client);
    Progress->setObjectName(QStringLiteral("Progress"));
    Progress->setTextVisible(false);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), client);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    cmdClose->setDefault(true);
    setTabOrder(cmdClose, lstLog);
    setTabOrder(lstLog, cmdSaveLog);
    setTabOrder(cmdSaveLog, cmdCancel);

    connect(cmdClose, &QPushButton::clicked, this, [this] { cmdClose_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    connect(cmdSaveLog, &QPushButton::clicked, this, [this] { cmdSaveLog_Click(); });
    Form_Load();
}

FrmExecute::~FrmExecute()
{
    // An unloaded window let go of the report when it unloaded; it may be
    // deleted later than the program state.
    if (!unloaded_)
        release();
}

void FrmExecute::release()
{
    if (host_.state && host_.state->report == this)
        host_.state->report = nullptr;
}

void FrmExecute::Form_Load()
{
    // The smallest outer size; fitOuterSize() takes the frame off once it is known.
    using platform::toPixels;
    const QSize smallest(toPixels(logMinWidth), toPixels(logMinHeight));
    outerSize_.setMinimum(smallest);
    const Settings& g = *host_.settings;
    // The stored rectangle is the outer one, fitted to the screen: Qt places
    // the outer corner but sizes the inner area, so the size waits for the
    // frame's margins.
    normalOuter_ =
        storedGeometry_.restore(QRect(g.Execute_Left, g.Execute_Top, g.Execute_Width, g.Execute_Height), smallest);
    move(normalOuter_.topLeft());
    // The minimum, cut to the screen the window goes to, before the size.
    fitOuterSize();
    resize(normalOuter_.size());
    outerSize_.setPending(normalOuter_.size());
    // A window shown maximised at once has no normal place the window system
    // knows: a restore would put it in the screen's corner. It is maximised
    // once it stands at its stored rectangle (maximizeWhenPlaced()).
    pendingMaximize_ = g.frmexecute_maximized == 2;
    if (g.frmexecute_maximized == 1)
        setWindowState(Qt::WindowMinimized);
    syncBar();
    Form_Resize();
}

void FrmExecute::place(QWidget* w, int left, int top, int width, int height)
{
    const QRect r = platform::pixelRect(left, top, width, height);
    w->setGeometry(r.x(), r.y(), std::max(r.width(), 1), std::max(r.height(), 1));
}

void FrmExecute::Form_Resize()
{
    // W and H are the outer size; the places are inside the frame. Where the
    // client scrolls, the outer size the window would need to show it whole.
    const QSize outer = frameGeometry().size() + (isVisible() ? clientScroll_->clientGrowth() : QSize());
    const int W = int(platform::toTwips(outer.width()));
    const int H = int(platform::toTwips(outer.height()));
    const int closeLeft = W - 1700;
    const int buttonTop = H - 1000;
    place(lstLog, 120, 120, W - 350, H - 1600);
    place(cmdClose, closeLeft, buttonTop, 1335, 495);
    place(cmdSaveLog, closeLeft - 1500, buttonTop, 1335, 495);
    place(Progress, 120, H - 1450, W - 350, 255);
    // The counters may use the room up to "Save Log...": five-digit counts in
    // the default font need more than their classic width.
    const int labelWidth = std::max(2175, closeLeft - 1500 - 150);
    // A line each: taller than their pitch, they would lie over each other.
    place(lblInfo_Files, 120, H - 1150, labelWidth, 200);
    place(lblInfo_Dirs, 120, H - 950, labelWidth, 200);
    place(lblInfo_Skipped, 120, H - 750, labelWidth, 200);
    platform::widenCaptions(clientScroll_->client());
    cmdCancel->setGeometry(cmdClose->geometry());
}

void FrmExecute::resizeEvent(QResizeEvent* e)
{
    QDialog::resizeEvent(e);
    Form_Resize();
}

bool FrmExecute::event(QEvent* e)
{
    const bool done = QDialog::event(e);
    switch (e->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::WindowStateChange:
        fitOuterSize();
        recordNormalRect(e->type() == QEvent::Move && e->spontaneous() && !exposed());
        maximizeWhenPlaced();
        break;
    case QEvent::Paint:
        maximizeWhenPainted();
        break;
    default:
        break;
    }
    return done;
}

// The client covers the window, so its paint is the window's.
bool FrmExecute::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == clientScroll_->client() && e->type() == QEvent::Paint)
        maximizeWhenPainted();
    return QDialog::eventFilter(watched, e);
}

// A window system that tells no frame: maximised once it is on the screen.
void FrmExecute::maximizeWhenPainted()
{
    if (pendingMaximize_ && shown_)
        QTimer::singleShot(0, this, [this] { maximize(); });
}

void FrmExecute::setVisible(bool visible)
{
    QDialog::setVisible(visible);
    shown_ = visible;
    maximizeWhenPlaced();
}

// Not from the Show event itself: the window system is told of the window
// only after it, and a window that is maximised before it is shown has no
// normal place to be restored to.
void FrmExecute::maximizeWhenPlaced()
{
    if (pendingMaximize_ && shown_ && !outerSize_.pending())
        maximize();
}

void FrmExecute::maximize()
{
    if (!pendingMaximize_ || unloaded_)
        return;
    pendingMaximize_ = false;
    setWindowState(windowState() | Qt::WindowMaximized);
}

bool FrmExecute::exposed()
{
    if (!exposedOnce_)
        exposedOnce_ = windowHandle() && windowHandle()->isExposed();
    return exposedOnce_;
}

// Once the window system tells the frame's margins, the minimum and the
// stored size become outer sizes.
void FrmExecute::fitOuterSize()
{
    if (outerSize_.fit(this).minimumChanged) {
        // The client is never smaller than at the window's own minimum: a
        // screen that allows less scrolls it.
        clientScroll_->client()->setMinimumSize(outerSize_.minimum() - outerSize_.frame());
        Form_Resize();
    }
}

// Kept at every move and resize in the normal state, so a maximise before the
// close does not lose the size the user gave the window.
void FrmExecute::recordNormalRect(bool placement)
{
    if (unloaded_ || !platform::normalState(this) || !isVisible())
        return;
    normalOuter_ = frameGeometry();
    storedGeometry_.seen(normalOuter_, placement);
    normalSeen_ = true;
}

void FrmExecute::syncBar()
{
    // QProgressBar takes integers and shows a busy animation for an empty range;
    // an empty range here simply shows an empty bar.
    const int max = std::max(int(std::max(max_, 0.0)), 1);
    if (Progress->minimum() != 0 || Progress->maximum() != max)
        Progress->setRange(0, max);
    const int value = int(std::clamp(value_, 0.0, std::max(max_, 0.0)));
    // Each move repaints the bar at once, so a bar of more steps than it is
    // wide moves only when it grows by a pixel (and at most 4096 times). The
    // first and the last step always show.
    const int shown = Progress->value();
    const int step = max / std::clamp(Progress->width(), 1, 4096);
    if (shown != value && (value == 0 || value == max || std::abs(value - shown) >= step))
        Progress->setValue(value);
}

void FrmExecute::setProgress(double value, double max)
{
    value_ = value;
    max_ = max;
    syncBar();
}

// Lines and counters change once per renamed entry, but the screen only
// changes when the run lets events through; the widgets take what is new then
// (the timer fires at the next event loop pass) or when the stage changes.
void FrmExecute::addLine(const QString& line)
{
    lines_->append(line);
    if (!publishTimer_->isActive())
        publishTimer_->start();
}

void FrmExecute::publish()
{
    publishTimer_->stop();
    if (lines_->pending()) {
        lines_->publish();
        // Laid out now, not at the next pause: the screen changes only in a
        // pause, and a list waiting for its layout draws nothing.
        lstLog->doItemsLayout();
    }
    QLabel* labels[3] = {lblInfo_Files, lblInfo_Dirs, lblInfo_Skipped};
    for (size_t i = 0; i < pendingCounts_.size(); ++i)
        if (pendingCounts_[i]) {
            labels[i]->setText(*pendingCounts_[i]);
            pendingCounts_[i].reset();
        }
}

QStringList FrmExecute::lines() const
{
    return lines_->lines();
}

void FrmExecute::setCaption(const QString& caption)
{
    if (windowTitle() != caption)
        setWindowTitle(caption);
}

void FrmExecute::setCount(RunCount counter, const QString& text)
{
    const size_t i = counter == RunCount::Files ? 0 : counter == RunCount::Dirs ? 1 : 2;
    pendingCounts_[i] = text;
    if (!publishTimer_->isActive())
        publishTimer_->start();
}

void FrmExecute::setStage(RunStage stage)
{
    publish();
    switch (stage) {
    case RunStage::Cancellable:
        cmdClose->setEnabled(false);
        cmdClose->hide();
        cmdCancel->setEnabled(true);
        cmdCancel->show();
        cmdCancel->raise();
        cmdCancel->setFocus();
        cmdSaveLog->setEnabled(false);
        break;
    case RunStage::Uncancellable:
        // Whichever of Cancel and Close shows stays, disabled: a run keeps its
        // Cancel, an Undo (never cancellable) shows Close from the start.
        if (!cmdClose->isHidden())
            cmdCancel->hide();
        cmdCancel->setEnabled(false);
        cmdClose->setEnabled(false);
        cmdSaveLog->setEnabled(false);
        break;
    case RunStage::Finished:
        cmdCancel->setEnabled(false);
        cmdCancel->hide();
        cmdClose->setEnabled(true);
        cmdClose->show();
        cmdClose->raise();
        cmdClose->setFocus();
        cmdSaveLog->setEnabled(!lines_->lines().isEmpty());
        break;
    }
}

void FrmExecute::cmdCancel_Click()
{
    host_.run().cancelRequested = -1;
}

void FrmExecute::cmdClose_Click()
{
    unload();
}

bool FrmExecute::Form_QueryUnload() const
{
    return *host_.executeBusy != -1;
}

void FrmExecute::reject()
{
    if (cmdClose->isEnabled() && cmdClose->isVisible())
        cmdClose_Click();
}

void FrmExecute::cmdSaveLog_Click()
{
    QString name = host_.ui->saveFile(this, QStringLiteral("Save Log"), QString(),
                                      QStringLiteral("Text Files (*.txt);;All Files (*)"));
    if (name.isEmpty())
        return;
    if (QFileInfo(name).suffix().isEmpty())
        name += QStringLiteral(".txt");
    QByteArray text;
    for (const QString& line : lines_->lines())
        text += (line + QLatin1Char('\n')).toUtf8();
    bool ok = true;
    // A FIFO or device in the chosen place is refused, never opened.
    try {
        platform::replaceOwnFile(name, text);
    } catch (const platform::Failure&) {
        ok = false;
    }
    if (!ok)
        host_.ui->message(this, QStringLiteral("Error!"), QStringLiteral("Error saving log file!"),
                          QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok);
}

void FrmExecute::Form_Unload()
{
    Settings& g = *host_.settings;
    const Qt::WindowStates st = windowState();
    recordNormalRect();
    if (normalSeen_) {
        const QRect twips = storedGeometry_.twipsFor(normalOuter_);
        g.Execute_Top = storeForm(twips.top());
        g.Execute_Left = storeForm(twips.left());
        g.Execute_Width = storeForm(twips.width());
        g.Execute_Height = storeForm(twips.height());
    }
    g.frmexecute_maximized = (st & Qt::WindowMaximized) ? 2 : (st & Qt::WindowMinimized) ? 1 : 0;
    if (host_.window)
        host_.window->setEnabled(true);

    QWidget* target = host_.lwDirectory;
    if (host_.mode() != 0)
        target = host_.lwDragDrop;
    else if (host_.ticks.showTreeview != 0)
        target = host_.treeView;
    if (!target || !target->isVisible() || !target->isEnabled()) {
        // The list cannot take the focus: logged, and the validation is left out.
        host_.logs->logError(platform::makeFailure(platform::failures::InvalidCall).errorText() +
                             QStringLiteral("Unload frmExecute"));
        return;
    }
    target->setFocus();
    if (host_.updateExecuteButton)
        host_.updateExecuteButton();
}

void FrmExecute::discard()
{
    unloaded_ = true;
    release();
    hide();
    deleteLater();
}

bool FrmExecute::unload()
{
    if (unloaded_)
        return true;
    close();
    return unloaded_;
}

void FrmExecute::closeEvent(QCloseEvent* e)
{
    if (unloaded_) {
        e->accept();
        return;
    }
    if (!Form_QueryUnload()) {
        e->ignore();
        return;
    }
    unloaded_ = true;
    release();
    Form_Unload();
    e->accept();
}

FrmExecute* logWindow(const ExecuteHost& h)
{
    FrmExecute* w = h.state->frmExecute.data();
    return w && !w->unloaded() ? w : nullptr;
}

FrmExecute* openLogWindow(ExecuteHost& h)
{
    if (FrmExecute* old = logWindow(h))
        old->discard(); // every run starts with a fresh window
    auto* w = new FrmExecute(h);
    h.state->frmExecute = w;
    h.state->report = w;
    if (h.window && h.window->windowHandle()) {
        w->winId();
        w->windowHandle()->setTransientParent(h.window->windowHandle());
    }
    w->show();
    return w;
}

void unloadLogWindow(ExecuteHost& h)
{
    if (FrmExecute* w = logWindow(h))
        w->unload();
}
