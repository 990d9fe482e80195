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
#include "platform/scrollclient.h"
#include "platform/settingsstore.h"
#include "platform/uiservice.h"
#include "settings/bindings.h"

class ListCommands;
class InPlaceRename;
class ListMenus;

#include "version.h"

#include <array>
#include <memory>
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

class ModePanel;
class FindReplacePanel;
class Mp3Panel;

// The renamer's main window: the list options, the rename-mode tab strip with
// its eight option panels, the file-mode tab strip with the lists, and the
// validation gate that decides whether "Rename!" may run.
class FrmMain : public QMainWindow {
    Q_OBJECT
public:
    FrmMain(platform::UiService& ui, const QStringList& arguments, QWidget* parent = nullptr);
    ~FrmMain() override;

    // What tests and the program's main() read of the window.
    AppState& state() { return state_; }
    ExecuteState& executeState() { return execute_; }
    // The listing options taken from the settings; a test may change one.
    FileListOptions& listOptions() { return listOptions_; }
    const SettingsBindings& bindings() const { return bindings_; }
    qint16 mainWindowReady() const { return mainWindowReady_; }
    qint16 fileMode() const { return fileMode_; }
    qint16 dirsAllowed() const { return dirsAllowed_; }
    qint16 executeBusy() const { return executeBusy_; }
    qint16 settingsTabIndex() const { return settingsTabIndex_; }
    // The program's exit status: 0 done, 1 items failed or any error line was
    // written, 2 the command-line run could not start.
    int exitStatus() const;
    // What the command-line run found when it decided whether to run "Rename!":
    // every way of starting that run must leave the same. Empty before.
    struct RunDecision {
        RenameMode mode;
        int subOption;
        RenameOptions options;
        qint16 onlySelectedActive;
        qint16 selectedCount;
        QString counts; // the status panel "main"
        bool executeEnabled;
        QString refusal;
        bool operator==(const RunDecision&) const = default;
    };
    const std::optional<RunDecision>& commandLineDecision() const { return commandLineDecision_; }
    // Once exited, closing the window neither asks nor saves.
    bool exited() const { return exited_; }
    void setExited() { exited_ = true; }
    // The MP3 component; an empty one makes its passes fail.
    void setMp3Library(std::unique_ptr<Mp3Library> library) { mp3Library_ = std::move(library); }

    // The rename-mode panels, indexed by RenameMode.
    ModePanel* panel(RenameMode mode) const { return panels_[size_t(mode)]; }
    // The selected tab's mode; the tab key is converted here only.
    RenameMode renameMode() const;
    // Which option of the mode's pair is selected (0 for modes without one).
    int modeSubOption(RenameMode mode) const;

    // Opens a directory row: Directory mode, then the directory as the working one.
    void openDirectoryRow(const QString& path);

    // The leave correction of `box` when it is a panel's number box.
    void applyLeaveCorrection(QWidget* box);

    // Start-up, activation, exit.
    void Form_Load();
    void Form_Activate();
    bool Form_QueryUnload();
    void Form_Unload();
    // The save of the exit and of the options window's "Ok"; a settings file
    // that cannot be written is also told in a box over boxParent.
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
    int batchCount() const { return int(state_.tables.batchReplaceList.size()); }

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
    // Why an unattended run (/e and /x) cannot do what its command line asks
    // (an unknown or empty mode word, a path that names no folder to list);
    // empty when it can, and always for a window start.
    QString commandLineRefusal() const;
    // Why a Date run from the command line would use a stored date or time
    // that could not be read; empty when it would not.
    QString unreadDateRefusal() const;
    // Says why on standard error and ends with status 2; closes the window
    // when the command line said /x.
    void refuseCommandLineRun(const QString& why);
    bool unattendedDirectoryRun() const;
    void selectStartMode();
    void tmrPreview_Timer();
    PreviewInputs previewInputs();
    NameServices nameServices(const RenameOptions& options);

    // Directory reading and file views (filled by the file-list code).
    void readDirectory();
    void updateFileViews();
    void updateSelectionCount(bool force);
    FileListHost fileListHost();
    // The file pane's boxes as they stand now.
    ListTicks listTicks() const;
    platform::ListView* activeList() const { return fileMode_ == 0 ? lwDirectory : lwDragDrop; }
    void setFreeSelectHint();

    // The picker's buttons do nothing while the active list shows only its hint row.
    bool activeListShowsHint() const { return activeList()->showsHintRow(); }
    // Shows the picker modally over the active list's samples.
    void showPicker();
    // The options window: opened by "Settings" on the remembered tab, by the
    // panels' edit buttons on their list's tab.
    void cmdSettings_Click();
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
    void buildBindings();
    void fillTagLists();
    void connectGate();
    void connectPanels();
    // A panel's sub-option changed: its effect on the list options, then the gate.
    void applySubOption(const ModePanel& panel);
    void connectNavigation();
    void connectFreeSelect();
    void connectSettingsWindow();
    void addDetailColumnsFromSettings();
    void connectListCommands();
    void place(QWidget* w, int left, int top, int width, int height);
    void compactLayout();
    void recordGeometry();
    void fitOuterSize();
    void fitClientMinimum();
    // The outer size the stored geometry asks for, until the window system
    // tells how wide the frame is; then the inner size is set from it.
    platform::OuterSize outerSize_{QSize(550, 528)};
    // The stored rectangle as read and where the window was put.
    platform::StoredGeometry storedGeometry_;
    bool pendingMaximize_ = false;
    QStringList arguments_;
    bool activated_ = false;
    bool uiBuilt_ = false; // resize events may come before the controls exist
    bool closing_ = false;
    std::array<ModePanel*, 8> panels_{};

    AppState state_;
    platform::UiService& ui;

    // Program-wide values of the main window.
    QString productTitle = QStringLiteral("Vexor Renamer");
    QString versionText = QString::fromLatin1(kVersionText);
    qint16 mainWindowReady_ = 0;
    qint16 fileMode_ = 0;
    qint16 dirsAllowed_ = -1;
    std::unique_ptr<Mp3Library> mp3Library_; // empty when its creation failed
    qint16 mp3InitFailed = 0;
    // Lets a test make the MP3 component's creation fail.
    Mp3LibraryFactory mp3Factory = &Mp3Library::create;
    qint16 settingsTabIndex_ = 1;
    qint16 executeBusy_ = 0;
    QString startMode;
    bool exitAfterRun = false;
    // While the unattended run of the command line runs.
    bool unattendedRun = false;
    // The start read the folder for the unattended run only: no rows were
    // built, and the run works on that listing without reading it again.
    bool listsForRunOnly_ = false;
    bool startModeGiven_ = false;
    bool startPathGiven_ = false;
    QString startPathProblem_;
    std::optional<RunDecision> commandLineDecision_;
    // The settings store exists but could not be read: a command-line run does
    // not start on defaults the user never chose.
    bool settingsLoadFailed = false;
    // The store as the load read it, kept for the saves: another run may save
    // between this run's load and its save, and a save keeps what that run
    // changed and this one did not.
    std::unique_ptr<platform::SettingsStore> store_;
    int exitStatus_ = 0;
    QString storedPath;
    bool exited_ = false;
    FileListOptions listOptions_;
    // The run of "Rename!": its state, the undo store and the open log window.
    ExecuteState execute_;
    FreeSelectCommands* freeSelect = nullptr;

    // The client area, scrolled where the screen is smaller than the window's
    // minimum; every control below lies on it.
    platform::ScrollClient* clientScroll;
    QWidget* client;
    // Controls, under the names the rest of the program uses.
    QLabel* imgLogo;
    QFrame* frmOptions;
    platform::CheckBox *chkFiles, *chkDirs, *chkSub, *chkProcessFilename, *chkProcessFileExt, *chkOnlyRenameSelected;
    platform::TabStrip* TabStrip;
    QFrame* tabBody;
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

    // The list command groups: keys, mouse, open, sort and drag of each list;
    // the in-place rename; the popup menus with their select and copy commands.
    ListCommands *lwDirectoryCommands = nullptr, *lwDragDropCommands = nullptr;
    InPlaceRename* inPlaceRename = nullptr;
    ListMenus* listMenus = nullptr;
    // The controls and their settings fields, used at load and at exit.
    SettingsBindings bindings_;
    // The position picker's values, kept between its openings.
    PickerValues picker;
    FindReplacePanel* findReplace_ = nullptr;
    Mp3Panel* mp3Panel_ = nullptr;
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
