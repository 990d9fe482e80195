#pragma once
#include "engine/mp3library.h"
#include "engine/preview.h"
#include "execute/executehost.h"
#include "filelist/host.h"
#include "listui/freeselectcommands.h"
#include "listui/navigation.h"
#include "listui/treecommands.h"
#include "mainwindow/appstate.h"
#include "mainwindow/filepane.h"
#include "mainwindow/frmgetposition.h"
#include "mainwindow/gate.h"
#include "platform/controls.h"
#include "platform/listview.h"
#include "platform/outersize.h"
#include "platform/uiservice.h"
#include "settings/bindings.h"

class ListCommands;
class InPlaceRename;
class ListMenus;

#include "version.h"

#include <array>
#include <optional>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QTimeEdit>
#include <QTimer>
#include <QTreeWidget>

class PanelHandlers;

// The renamer's main window: the list options, the rename-mode tab strip with
// its eight option panels, the file-mode tab strip with the lists, and the
// validation gate that decides whether "Rename!" may run.
class FrmMain : public QMainWindow {
    Q_OBJECT
public:
    FrmMain(platform::UiService& ui, const QStringList& arguments, QWidget* parent = nullptr);
    ~FrmMain() override;

    AppState state;
    platform::UiService& ui;

    // Program-wide values of the main window.
    QString productTitle = QStringLiteral("Vexor Renamer");
    QString versionText = QString::fromLatin1(kVersionText);
    qint16 mainWindowReady = 0;
    qint16 fileMode = 0;
    qint16 dirsAllowed = -1;
    std::unique_ptr<Mp3Library> mp3Library; // empty when its creation failed
    qint16 mp3InitFailed = 0;
    // Lets a test make the MP3 component's creation fail.
    Mp3LibraryFactory mp3Factory = &Mp3Library::create;
    qint16 settingsTabIndex = 1;
    qint16 executeBusy = 0;
    QString startMode;
    bool exitAfterRun = false;
    // While the unattended run of the command line runs.
    bool unattendedRun = false;
    // The settings store exists but could not be read: a command-line run does
    // not start on defaults the user never chose.
    bool settingsLoadFailed = false;
    // The program's exit status: 0 done, 1 items failed or errors were
    // logged, 2 the command-line run could not start.
    int exitStatus = 0;
    QString storedPath;
    bool exited = false;
    FileListOptions listOptions;
    // The run of "Rename!": its state, the undo store and the open log window.
    ExecuteState execute;
    FreeSelectCommands* freeSelect = nullptr;

    // Controls, under the names the rest of the program uses.
    QLabel* imgLogo;
    QFrame* frmOptions;
    platform::CheckBox *chkFiles, *chkDirs, *chkSub, *chkProcessFilename, *chkProcessFileExt, *chkOnlyRenameSelected;
    platform::TabStrip* TabStrip;
    QFrame* tabBody;
    QFrame *frmFindReplace, *frmConvertCase, *frmSetAttributes, *frmAddCrop, *frmMp3Tag, *frmEnum, *frmFormat, *frmMisc;
    std::array<QGroupBox*, 15> frame{};
    // The option button each frame carries, or null.
    std::array<platform::OptionButton*, 15> frameOption{};
    QPushButton *cmdExecute, *cmdUndo, *cmdSettings, *cmdHelp, *cmdAbout;
    // The right-hand file pane; the pointers below name its controls.
    FilePane* filePane;
    platform::TabStrip* TabStripFilemode;
    QFrame* fileBody;
    QToolButton *cmdRefresh, *cmdParentDir, *cmdShowDirReq, *cmdDragDropAdd, *cmdDragDropDel, *cmdDragDropClear;
    QComboBox* txtPath;
    platform::TextBox* txtPattern;
    platform::ListView *lwDirectory, *lwDragDrop;
    QTreeWidget* TreeView;
    platform::CheckBox *chkThumbnails, *chkThumbnailsFreeSelect, *chkPreview, *chkShowTreeview;
    platform::StatusPanels* StatusBar;
    // F1 help, F5 Rename!, F12 refresh (owned by the navigation group).
    QAction *actHelp, *actExecute, *actRefresh = nullptr;
    QTimer* tmrPreview;
    // Command groups of the file pane.
    Navigation* navigation = nullptr;
    TreeCommands* treeCommands = nullptr;

    // Find & Replace
    platform::OptionButton *optReplaceSingle, *optReplaceBatch;
    platform::TextBox *txtFind, *txtReplace, *txtReplaceStart, *txtReplaceCount;
    platform::CheckBox *chkCaseSensitive, *chkReplaceMode;
    platform::UpDown *UpDownReplace1, *UpDownReplace2;
    QToolButton *cmdReplaceGetString, *cmdReplaceGetPosition, *cmdReplaceAdd, *cmdReplaceEdit;
    QLabel* lblBatchReplace;
    // Convert Case
    std::array<platform::OptionButton*, 7> Case1{};
    std::array<platform::OptionButton*, 6> Case2{};
    platform::CheckBox* chkExceptionsEnabled;
    QToolButton* cmdExceptionsEdit;
    // Space
    platform::CheckBox *chkSpaceBeginning, *chkSpaceEnd, *chkSpaceShrink;
    // Attributes & Date
    platform::OptionButton *optAttrib_Attributes, *optAttrib_Date;
    platform::CheckBox *chkR, *chkH, *chkS, *chkA;
    platform::CheckBox *chkDateCreated, *chkDateAccessed, *chkDateModified, *chkDateDate, *chkDateTime;
    QDateEdit* dtDate;
    QTimeEdit* dtTime;
    QToolButton *cmdGetCurrentDate, *cmdGetCurrentTime;
    // Add & Crop
    platform::OptionButton *optAdd, *optCrop, *optAddBeginning, *optAddEnding, *optCropBeginning, *optCropEnding;
    platform::TextBox *txtAdd, *txtAddPos, *txtCropNumber, *txtCropPos;
    platform::UpDown *UpDownAdd, *UpDownCrop1, *UpDownCrop2;
    QToolButton *cmdAddGetPosition, *cmdCropGetPosition;
    // Enum
    platform::OptionButton *chkEnumTab_Enum, *chkEnumTab_Normalize;
    platform::TextBox *txtEnumFormat, *txtEnumStart, *txtEnumStep, *txtEnumZeros, *txtNormalize;
    QComboBox* cmbEnumFormat;
    platform::CheckBox *chkEnumResetBetweenDirs, *chkEnumAutoZeros;
    platform::UpDown *UpDownEnum1, *UpDownEnum2, *UpDownEnum3, *UpDownNormalize;
    // Mp3
    platform::TextBox* txtMp3Format;
    QComboBox* cmbAddMp3Tag;
    platform::CheckBox *chkMp3AddExtension, *chkMp3OnlyFilledTags, *chkMp3OnlyMp3Files, *chkMp3UseID3v2;
    // Format
    platform::OptionButton *chkFormatTab_Format, *chkFormatTab_Detect;
    platform::TextBox *txtFormat, *txtFormatParts;
    QComboBox *cmbFormat, *cmbFormatParts;
    platform::CheckBox *chkFormatAllMustBeAvailable, *chkFileDetect_KeepExt, *chkFileDetect_TryText,
        *chkFileDetect_TryMp3;

    // Per rename mode (indexed by RenameMode): its panel, its option pair and
    // the control that takes the focus for each option.
    struct ModePanel {
        QFrame* panel;
        std::array<platform::OptionButton*, 2> options;
        std::array<QWidget*, 2> focus;
    };
    std::array<ModePanel, 8> modePanels{};
    const ModePanel& modePanel(RenameMode mode) const { return modePanels[size_t(mode)]; }
    // The selected tab's mode; the tab key is converted here only.
    RenameMode renameMode() const;
    // Which option of the mode's pair is selected (0 for modes without one).
    int modeSubOption(RenameMode mode) const;

    // The list command groups: keys, mouse, open, sort and drag of each list;
    // the in-place rename; the popup menus with their select and copy commands.
    ListCommands *lwDirectoryCommands = nullptr, *lwDragDropCommands = nullptr;
    InPlaceRename* inPlaceRename = nullptr;
    ListMenus* listMenus = nullptr;
    // Opens a directory row: Directory mode, then the directory as the working one.
    void openDirectoryRow(const QString& path);

    // The controls and their settings fields, used at load and at exit.
    SettingsBindings bindings;

    // The option panels' handlers.
    PanelHandlers* panels = nullptr;

    // Start-up, activation, exit.
    void Form_Load();
    void Form_Activate();
    bool Form_QueryUnload();
    void Form_Unload();
    // The save of the exit and of the options window's "Ok".
    void saveAllSettings(QWidget* boxParent);
    void Form_Resize();

    // Tab strips and frames.
    void TabStrip_Click();
    void TabStripFilemode_Click();
    void frame_Click(int index);

    // The validation gate.
    void updateExecuteButton();
    GateInputs gateInputs() const;
    RenameOptions readOptions() const;
    int batchCount() const { return int(state.tables.batchReplaceList.size()); }

    // List options.
    void chkFiles_Click();
    void chkDirs_Click();
    void chkSub_Click();
    void chkProcessFilename_Click();
    void chkProcessFileExt_Click();
    void chkOnlyRenameSelected_Click();
    void chkPreview_Click();
    void chkShowTreeview_Click();
    void chkThumbnails_Click();
    void chkThumbnailsFreeSelect_Click();
    // The large pictures of each list (thumbnails of picture files).
    void generateThumbnails();
    void generateThumbnailsFreeSelect();
    // Empties both lists' icon caches (a new thumbnail size): the Free Select
    // rows get their icons again, and its thumbnails while its box is ticked;
    // the directory list gets them from its next read.
    void resetIconLists();
    // The same without drawing the thumbnails; true when they are due.
    bool resetIconListsOnly();
    void refreshDirectoryView();

    // Buttons and keys.
    void cmdExecute_Click();
    void cmdUndo_Click();
    ExecuteHost executeHost();
    void cmdHelp_Click();
    void cmdAbout_Click();
    void Form_KeyDown(int key);
    void actExecute_Triggered();
    void commandLineRun();
    void tmrPreview_Timer();
    PreviewInputs previewInputs();
    NameServices nameServices(const RenameOptions& options);

    // Directory reading and file views (filled by the file-list code).
    void readDirectory();
    void updateFileViews();
    void updateSelectionCount(bool force);
    FileListHost fileListHost();
    platform::ListView* activeList() const { return fileMode == 0 ? lwDirectory : lwDragDrop; }
    void setFreeSelectHint();

    // The position picker and its four opening buttons.
    PickerValues picker;
    void cmdAddGetPosition_Click();
    void cmdCropGetPosition_Click();
    void cmdReplaceGetPosition_Click();
    void cmdReplaceGetString_Click();
    // The buttons do nothing while the active list shows only its hint row.
    bool activeListShowsHint() const { return activeList()->showsHintRow(); }
    // Shows the picker modally over the active list's samples.
    void showPicker();
    // The options window: opened by "Settings" on the remembered tab, by the
    // panels' edit buttons on their list's tab.
    void cmdSettings_Click();
    void cmdExceptionsEdit_Click();
    void cmdReplaceEdit_Click();
    void showSettings(const QString& tabKey);

    // The pointer and enabled state of long work.
    bool hourglass() const { return ui.mousePointer() == 11; }

protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // Runs one list's thumbnail step; a failure is logged with the step's name.
    void runThumbnails(void (*step)(FileListHost&), const QString& stepName);
    void applySettings();
    void readBackSettings();
    void updateListOptions();
    void buildUi();
    void buildListArea();
    void buildPanels();
    void buildModePanels();
    void buildBindings();
    void buildFindReplace();
    void buildConvertCase();
    void buildMisc();
    void buildAttributes();
    void buildAddCrop();
    void buildEnum();
    void buildMp3();
    void buildFormat();
    void fillTagLists();
    void connectGate();
    void connectPicker();
    void connectNavigation();
    void connectFreeSelect();
    void connectSettingsWindow();
    void addDetailColumnsFromSettings();
    void connectListCommands();
    void place(QWidget* w, int left, int top, int width, int height);
    void compactLayout();
    void recordGeometry();
    void fitOuterSize();
    // The outer size the stored geometry asks for, until the window system
    // tells how wide the frame is; then the inner size is set from it.
    platform::OuterSize outerSize_{QSize(550, 528)};
    bool pendingMaximize_ = false;
    QStringList arguments_;
    bool activated_ = false;
    bool uiBuilt_ = false; // resize events may come before the controls exist
    bool closing_ = false;
    // What the preview column of each list (0 directory, 1 Free Select) was
    // last computed for. Without Instant Preview a column whose mode or
    // options changed since is emptied, so it never shows names the current
    // options would not give.
    struct PreviewMadeFor {
        RenameMode mode;
        RenameOptions options;
        qint16 onlySelectedActive;
        bool executeEnabled;
        bool operator==(const PreviewMadeFor&) const = default;
    };
    PreviewMadeFor previewInputsNow() const;
    void dropStalePreview();
    std::array<std::optional<PreviewMadeFor>, 2> previewMadeFor_;
};
