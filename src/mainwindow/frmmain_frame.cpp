// The window frame of the main window: the layout that follows the window's
// size, the geometry kept for the next start, the function keys and the Help,
// Settings and About buttons.
#include "mainwindow/framelayout.h"
#include "mainwindow/frmabout.h"
#include "mainwindow/frmmain.h"
#include "platform/places.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <QWindow>

namespace {

int px(int twips)
{
    return qRound(twips / 15.0);
}

bool normalState(const QWidget* w)
{
    return !(w->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
}

} // namespace

void FrmMain::Form_Resize()
{
    if (!uiBuilt_)
        return;
    if (!isMinimized()) {
        const QRect outer = frameGeometry();
        const FrameLayout l = frameLayout(outer.width() * 15, outer.height() * 15);
        // The tab buttons sit on top of the strip's panel, which holds the lists.
        const int tabsHeight = TabStripFilemode->height();
        const QRect strip = l.tabStripFilemode;
        fileBody->setGeometry(px(strip.left()), px(strip.top()) + tabsHeight, px(strip.width()),
                              std::max(px(strip.height()) - tabsHeight, 0));
        for (QWidget* list :
             {static_cast<QWidget*>(lwDragDrop), static_cast<QWidget*>(TreeView), static_cast<QWidget*>(lwDirectory)})
            list->resize(px(l.lists.width()), px(l.lists.height()));
        txtPath->resize(px(l.txtPathWidth), txtPath->height());
        txtPattern->move(px(l.txtPatternLeft), txtPattern->y());
    }
    recordGeometry();
}

// The normal rectangle is kept at every resize, so a maximise before the exit
// does not lose it; a minimised window keeps everything as it was.
void FrmMain::recordGeometry()
{
    if (mainWindowReady == 0 || isMinimized())
        return;
    Settings& st = state.settings;
    if (normalState(this)) {
        const QRect outer = frameGeometry();
        st.Main_Top = clampTwips(qint64(outer.top()) * 15);
        st.Main_Left = clampTwips(qint64(outer.left()) * 15);
        st.Main_Height = clampTwips(qint64(outer.height()) * 15);
        st.Main_Width = clampTwips(qint64(outer.width()) * 15);
    }
    st.Main_Maximized = isMaximized() ? 2 : 0;
}

// The stored sizes and the minimum size are outer sizes; Qt sizes the inner
// area. Once the window system tells the frame's margins, both are converted.
void FrmMain::fitOuterSize()
{
    const QMargins m = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    const QSize frame(m.left() + m.right(), m.top() + m.bottom());
    if (m != appliedMargins_) {
        appliedMargins_ = m;
        setMinimumSize(550 - frame.width(), 528 - frame.height());
    }
    if (pendingOuterSize_.isValid() && !m.isNull() && normalState(this)) {
        const QSize inner = pendingOuterSize_ - frame;
        pendingOuterSize_ = QSize();
        resize(inner);
        if (pendingMaximize_) {
            // After the new size has been taken, so that it is the one a restore returns to.
            pendingMaximize_ = false;
            QTimer::singleShot(0, this, [this] { setWindowState(windowState() | Qt::WindowMaximized); });
        }
    }
}

void FrmMain::Form_KeyDown(int key)
{
    if (key == Qt::Key_F1)
        cmdHelp_Click();
    if (key == Qt::Key_F5) {
        if (executeLocked(executeHost()))
            return;
        // The focus leaves the control first, so its lost-focus handling corrects its value.
        cmdAbout->setFocus();
        QCoreApplication::processEvents();
        updateExecuteButton();
        QCoreApplication::processEvents();
        if (cmdExecute->isEnabled())
            cmdExecute_Click();
    }
    if (key == Qt::Key_F12)
        cmdRefresh_Click();
}

void FrmMain::cmdHelp_Click()
{
    // A missing page or viewer shows nothing, as the button promises no more.
    const QString help = platform::shippedFile(QStringLiteral("help.html"));
    if (!help.isEmpty())
        ui.openUrl(QUrl::fromLocalFile(help));
}

void FrmMain::cmdSettings_Click()
{
    if (mainWindowReady == 0)
        return;
    emit settingsWindowRequested();
    // However the options window was closed, the lists and the gate follow it.
    updateSelectionCount(true);
    updateExecuteButton();
    state.preview.previewRequested = -1;
}

void FrmMain::cmdAbout_Click()
{
    if (mainWindowReady == 0)
        return;
    FrmAbout about(ui, productTitle, versionText, state.settings.totNumberOfFilesRenamedNew,
                   state.settings.totNumberOfDirsRenamedNew, this);
    about.exec();
}

// Re-reads the working directory and rebuilds the list and the tree.
void FrmMain::cmdRefresh_Click()
{
    if (fileMode != 0)
        return;
    readDirectory();
    updateFileViews();
    updateSelectionCount(false);
    updateExecuteButton();
}
