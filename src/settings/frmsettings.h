#pragma once
#include "engine/configtypes.h"
#include "platform/controls.h"
#include "settings/settings.h"

#include <array>
#include <optional>
#include <QDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QPoint>
#include <QPushButton>
#include <utility>
#include <vector>

class ListEditor;
class QTreeWidget;
namespace platform {
class UiService;
}

// The options window: the program-wide options that belong to no rename mode,
// on six tabs, and the editors of the exception words and the batch-replace
// list. Nothing changes while it is open; "Ok" applies every control at once,
// stores everything and closes it; "Cancel", Escape and the close box only
// close it.
//
// What "Ok" changes in the main window it asks for through the signals below,
// emitted in the order of its steps; the main window connects them.
class FrmSettings : public QDialog {
    Q_OBJECT
public:
    // `tabIndex` is the remembered tab (1 = "General"): read when the window
    // loads, written when it closes.
    FrmSettings(Settings& settings, ConfigTables& tables, platform::UiService& ui, qint16& tabIndex,
                QWidget* parent = nullptr);

    platform::TabStrip* TabStrip;
    QGroupBox *frmShell, *frmStartup, *frmGeneralMisc, *frmLog, *frmMisc, *frmTreeview, *frmListview, *frmThumbs,
        *frmSysIcons, *frmPattern, *frmInclude, *frmSecurity, *frmExceptions, *frmBatchReplace;
    platform::CheckBox *chkShellShowVexor, *chkStartupInLastDir, *chkUncheckSubsdirsAtStartup,
        *chkRenameAllIfNoneSelected, *chkAutoCloseLog, *chkShowPath, *chkKeepFileOrder, *chkAlwaysShowDirs,
        *chkEnableTreeview, *chkShowAllColumns, *chkLwShowGuidelines, *chkLwFullRowSelect, *chkThumbAspect,
        *chkThumbBorder, *chkUseSysIcons, *chkCache, *chkPatternFile, *chkPatternDir, *chkHidden, *chkSystem,
        *chkWriteProtected, *chkHideSystemFolders;
    QLineEdit *txtThumbWidth, *txtThumbHeight;
    ListEditor* exceptionsEditor;
    ListEditor* batchReplaceEditor;
    QTreeWidget* lstExceptions;
    QTreeWidget* lwBatchReplace;
    QPushButton *cmdOK, *cmdCancel;

    void TabStrip_Click();
    void chkUseSysIcons_Click();
    void cmdOK_Click();
    void cmdExceptionsAdd_Click();
    void cmdExceptionsEdit_Click();
    void cmdExceptionsDel_Click();
    void cmdBatchReplaceAdd_Click();
    void cmdBatchReplaceEdit_Click();
    void cmdBatchReplaceDelete_Click();

    // -1 while the item dialog edits the selected row, 0 while it adds one.
    qint16 batchReplaceEditMode = 0;

    // Closing by any way runs the unload step; refused while "Ok" is at work.
    void done(int result) override;

signals:
    // The steps of "Ok" that reach the main window, in this order.
    void iconListsReset();                      // the thumbnail size changed
    void pathBoxBlack();                        // "Hide system folders" is unticked
    void patternBoxEnabled(bool enabled);       // either pattern option is on
    void treeOptionApplied(int enableTreeview); // offer or withdraw "View as Tree"
    void detailColumnsChanged(bool shown);      // add or remove the seven detail columns
    void listLookApplied(bool fullRowSelect, bool gridLines);
    void batchLabelChanged(const QString& caption); // the Replace panel's batch label
    void saveRequested();                           // store every setting
    void rereadRequested();                         // a listing option changed

protected:
    bool event(QEvent* e) override;

private:
    void buildUi();
    void Form_Load();
    void Form_Unload();
    void placeWindow();
    void fitToScreen(bool placing);
    void convertLists();

    Settings& s_;
    ConfigTables& tables_;
    platform::UiService& ui_;
    qint16& tabIndex_;
    // The check boxes that edit one setting each, in the order they are loaded.
    std::vector<std::pair<platform::CheckBox*, int Settings::*>> boxes_;
    bool applying_ = false;
    bool unloaded_ = false;
    // Where the stored place put the window, in pixels: a window left there
    // keeps its stored twips, which the pixels would round at a large scale.
    std::optional<QPoint> placedAt_;
    // The window's size as designed; a smaller screen gets less, and the
    // tabs' contents scroll.
    QSize designSize_;
};
