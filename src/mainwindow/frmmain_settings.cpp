// The main window's side of the options window: opening it, and the steps of
// its "Ok" that change the main window.
#include "filelist/detailcolumns.h"
#include "mainwindow/frmmain.h"
#include "mainwindow/panels/findreplacepanel.h"
#include "platform/places.h"
#include "platform/settingsstore.h"
#include "settings/frmsettings.h"
#include "settings/loadsave.h"
#include "settings/shellmenu.h"

void FrmMain::connectSettingsWindow()
{
    connect(cmdSettings, &QPushButton::clicked, this, [this] { cmdSettings_Click(); });
}

void FrmMain::cmdSettings_Click()
{
    if (mainWindowReady_ != 0)
        showSettings(QString());
}

void FrmMain::showSettings(const QString& tabKey)
{
    FrmSettings d(state_.settings, state_.tables, ui, settingsTabIndex_, this);
    // The thumbnails and the re-read are drawn once the window has closed, so
    // it does not stand greyed over the lists while they are redrawn.
    bool freeSelectThumbnails = false;
    bool reread = false;
    connect(&d, &FrmSettings::iconListsReset, this, [this, &freeSelectThumbnails] {
        updateListOptions(); // the new cell size
        freeSelectThumbnails = resetIconListsOnly();
    });
    connect(&d, &FrmSettings::pathBoxBlack, this, [this] {
        QPalette pal = txtPath->palette();
        pal.setColor(QPalette::Text, QColor(0, 0, 0));
        txtPath->setPalette(pal);
        if (txtPath->lineEdit())
            txtPath->lineEdit()->setPalette(pal);
    });
    connect(&d, &FrmSettings::patternBoxEnabled, txtPattern, &QWidget::setEnabled);
    connect(&d, &FrmSettings::treeOptionApplied, this, [this](int enableTreeview) {
        updateListOptions();
        filePane->applyTreeOption(enableTreeview != 0);
    });
    connect(&d, &FrmSettings::detailColumnsChanged, this, [this](bool shown) {
        if (shown) {
            addDetailColumnsFromSettings();
        } else {
            removeDetailColumns(lwDirectory);
            removeDetailColumns(lwDragDrop);
        }
    });
    connect(&d, &FrmSettings::listLookApplied, filePane, &FilePane::setListLook);
    connect(&d, &FrmSettings::batchLabelChanged, findReplace_, &FindReplacePanel::setBatchCaption);
    connect(&d, &FrmSettings::saveRequested, this, [this, &d] {
        // The start directory of this run is stored, not the path box's text.
        readBackSettings();
        saveAllSettings(&d);
    });
    // The re-read fills the Directory mode's lists, also while Free Select is
    // shown, so the collection is never replaced by the working directory.
    connect(&d, &FrmSettings::rereadRequested, this, [&reread] { reread = true; });
    if (!tabKey.isEmpty())
        d.TabStrip->selectKey(tabKey);
    d.exec();
    if (freeSelectThumbnails)
        generateThumbnailsFreeSelect();
    if (reread) {
        updateListOptions();
        readDirectory();
        updateFileViews();
    }
    updateListOptions();
    updateSelectionCount(true);
    updateExecuteButton();
    state_.preview.previewRequested = -1;
}

void FrmMain::addDetailColumnsFromSettings()
{
    const Settings& st = state_.settings;
    int dir[5], drag[5];
    for (size_t c = 0; c < 5; ++c) {
        dir[c] = st.*kDirColWidths[c + 3];
        drag[c] = st.*kDragColWidths[c + 3];
    }
    addDetailColumns(lwDirectory, dir);
    addDetailColumns(lwDragDrop, drag);
}
