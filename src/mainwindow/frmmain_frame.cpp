// The window frame of the main window: the layout that follows the window's
// size, the compact layout, the geometry kept for the next start, the key
// preview and function keys, the frames' clicks and the Help and About buttons.
#include "mainwindow/filepane.h"
#include "mainwindow/framelayout.h"
#include "mainwindow/frmabout.h"
#include "mainwindow/frmmain.h"
#include "mainwindow/panels/modepanel.h"
#include "platform/places.h"
#include "platform/twips.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <QWindow>

void FrmMain::Form_Resize()
{
    if (!uiBuilt_)
        return;
    if (!isMinimized()) {
        // The layout follows the outer size; where the client scrolls, the
        // outer size the window would need to show it whole.
        const QSize outer = frameGeometry().size() + clientScroll->clientGrowth();
        filePane->layoutFor(frameLayout(int(platform::toTwips(outer.width())), int(platform::toTwips(outer.height()))));
    }
    recordGeometry();
}

// The normal rectangle is kept at every resize, so a maximise before the exit
// does not lose it; a minimised window keeps everything as it was.
void FrmMain::recordGeometry()
{
    if (mainWindowReady_ == 0 || isMinimized())
        return;
    Settings& st = state_.settings;
    if (platform::normalState(this)) {
        const QRect twips = storedGeometry_.twipsFor(frameGeometry());
        st.Main_Top = clampTwips(twips.top());
        st.Main_Left = clampTwips(twips.left());
        st.Main_Height = clampTwips(twips.height());
        st.Main_Width = clampTwips(twips.width());
    }
    st.Main_Maximized = isMaximized() ? 2 : 0;
}

void FrmMain::fitOuterSize()
{
    const platform::OuterSize::Fit fit = outerSize_.fit(this);
    if (fit.minimumChanged)
        fitClientMinimum();
    if (fit.resized) {
        if (pendingMaximize_) {
            // After the new size has been taken, so that it is the one a restore returns to.
            pendingMaximize_ = false;
            QTimer::singleShot(0, this, [this] { setWindowState(windowState() | Qt::WindowMaximized); });
        }
    }
}

// The client is never smaller than at the window's own minimum size: where
// the screen allows less, it scrolls rather than lay its controls over each
// other or cut them.
void FrmMain::fitClientMinimum()
{
    const QSize statusBar(0, StatusBar->sizeHint().height());
    client->setMinimumSize(outerSize_.minimum() - outerSize_.frame() - statusBar);
}

// The window's key preview: the key still goes on to the focused control
// afterwards, whatever its modifiers.
void FrmMain::Form_KeyDown(int key)
{
    if (key == Qt::Key_F1)
        actHelp->trigger();
    if (key == Qt::Key_F5)
        actExecute->trigger();
    if (key == Qt::Key_F12)
        actRefresh->trigger();
}

void FrmMain::cmdHelp_Click()
{
    openHelpPage(ui, this);
}

void FrmMain::cmdAbout_Click()
{
    if (mainWindowReady_ == 0)
        return;
    FrmAbout about(ui, productTitle, versionText, state_.settings.totNumberOfFilesRenamedNew,
                   state_.settings.totNumberOfDirsRenamedNew, this);
    about.exec();
}

// ---------------------------------------------------------------- layout

void FrmMain::resizeEvent(QResizeEvent* e)
{
    QMainWindow::resizeEvent(e);
    Form_Resize();
}

// A small screen or a hidden logo: the left column moves up by the logo's height.
void FrmMain::compactLayout()
{
    imgLogo->hide();
    for (QWidget* w :
         {static_cast<QWidget*>(frmOptions), static_cast<QWidget*>(TabStrip), static_cast<QWidget*>(tabBody),
          static_cast<QWidget*>(cmdExecute), static_cast<QWidget*>(cmdUndo), static_cast<QWidget*>(cmdSettings),
          static_cast<QWidget*>(cmdHelp), static_cast<QWidget*>(cmdAbout)})
        w->move(w->x(), w->y() - platform::toPixels(760));
    for (QWidget* w : panels_)
        w->move(w->x(), w->y() - platform::toPixels(760));
}

// ---------------------------------------------------------------- keys and buttons

void FrmMain::keyPressEvent(QKeyEvent* e)
{
    QMainWindow::keyPressEvent(e);
}

bool FrmMain::eventFilter(QObject* watched, QEvent* e)
{
    // Every key passes here before the focused control gets it, and still reaches
    // it afterwards; the parents it propagates to do not run the keys twice.
    if (e->type() == QEvent::KeyPress && isActiveWindow()) {
        QWidget* first = QApplication::focusWidget() ? QApplication::focusWidget() : this;
        if (watched == first)
            Form_KeyDown(static_cast<QKeyEvent*>(e)->key());
    }
    return QMainWindow::eventFilter(watched, e);
}
