// The window frame of the main window: the layout that follows the window's
// size, the geometry kept for the next start, the function keys and the Help,
// About and Refresh buttons.
#include "mainwindow/filepane.h"
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

void FrmMain::Form_Resize()
{
    if (!uiBuilt_)
        return;
    if (!isMinimized()) {
        const QRect outer = frameGeometry();
        filePane->layoutFor(frameLayout(outer.width() * 15, outer.height() * 15));
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
    if (platform::normalState(this)) {
        const QRect outer = frameGeometry();
        st.Main_Top = clampTwips(qint64(outer.top()) * 15);
        st.Main_Left = clampTwips(qint64(outer.left()) * 15);
        st.Main_Height = clampTwips(qint64(outer.height()) * 15);
        st.Main_Width = clampTwips(qint64(outer.width()) * 15);
    }
    st.Main_Maximized = isMaximized() ? 2 : 0;
}

void FrmMain::fitOuterSize()
{
    if (outerSize_.fit(this).resized) {
        if (pendingMaximize_) {
            // After the new size has been taken, so that it is the one a restore returns to.
            pendingMaximize_ = false;
            QTimer::singleShot(0, this, [this] { setWindowState(windowState() | Qt::WindowMaximized); });
        }
    }
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
    // A missing page or viewer shows nothing, as the button promises no more.
    const QString help = platform::shippedFile(QStringLiteral("help.html"));
    if (!help.isEmpty())
        ui.openUrl(QUrl::fromLocalFile(help));
}

void FrmMain::cmdAbout_Click()
{
    if (mainWindowReady == 0)
        return;
    FrmAbout about(ui, productTitle, versionText, state.settings.totNumberOfFilesRenamedNew,
                   state.settings.totNumberOfDirsRenamedNew, this);
    about.exec();
}
