#include "mainwindow/frmmain.h"
#include "execute/frmexecute.h"
#include "filelist/iconlists.h"
#include "filelist/listoptions.h"
#include "filelist/readdirectory.h"
#include "filelist/systemfolders.h"
#include "listui/inplacerename.h"
#include "listui/listcommands.h"
#include "listui/listmenus.h"
#include "mainwindow/panels/findreplacepanel.h"
#include "mainwindow/panels/modepanel.h"
#include "platform/arguments.h"
#include "platform/places.h"
#include "platform/settingsstore.h"
#include "platform/twips.h"
#include "settings/commandline.h"
#include "settings/configfiles.h"
#include "settings/loadsave.h"
#include "settings/shellmenu.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>

FrmMain::FrmMain(platform::UiService& uiService, const QStringList& arguments, QWidget* parent)
    : QMainWindow(parent), arguments_(arguments), ui(uiService)
{
    setObjectName(QStringLiteral("frmMain"));
    buildUi();
    uiBuilt_ = true;
    // The handlers are connected before the stored values go in, so each value
    // still adjusts the controls that depend on it (the Process pair, "View as
    // Tree"); those that need a ready window test the ready flag.
    connectGate();
    connectNavigation();
    connectSettingsWindow();
    connectPanels();
    Form_Load();
    connectFreeSelect();
    connectListCommands();
}

void FrmMain::connectFreeSelect()
{
    freeSelect = new FreeSelectCommands(fileListHost(), state_.settings.dragDropAddPath, cmdDragDropAdd, this);
    connect(cmdDragDropAdd, &QAbstractButton::clicked, freeSelect, &FreeSelectCommands::cmdDragDropAdd_Click);
    connect(cmdDragDropDel, &QAbstractButton::clicked, freeSelect, &FreeSelectCommands::cmdDragDropDel_Click);
    connect(cmdDragDropClear, &QAbstractButton::clicked, freeSelect, &FreeSelectCommands::cmdDragDropClear_Click);
    connect(freeSelect, &FreeSelectCommands::freeSelectModeWanted, this,
            [this] { TabStripFilemode->selectKey(QStringLiteral("dragdrop")); });
    connect(freeSelect, &FreeSelectCommands::validate, this, &FrmMain::updateExecuteButton);
    connect(freeSelect, &FreeSelectCommands::countSelection, this, &FrmMain::updateSelectionCount);
    connect(freeSelect, &FreeSelectCommands::thumbnailsWanted, this, &FrmMain::generateThumbnailsFreeSelect);
    // The tree's two adds go to the collection's own commands.
    connect(treeCommands, &TreeCommands::addToFreeSelect, freeSelect, &FreeSelectCommands::addTreeEntry);
    connect(treeCommands, &TreeCommands::addContentsToFreeSelect, freeSelect,
            &FreeSelectCommands::addDirectoryContents);
}

void FrmMain::connectNavigation()
{
    const FileListHost host = fileListHost();
    navigation = new Navigation(host, txtPath, txtPattern, this);
    connect(cmdParentDir, &QAbstractButton::clicked, navigation, [this] { navigation->cmdParentDir_Click(); });
    connect(cmdRefresh, &QAbstractButton::clicked, navigation, [this] { navigation->cmdRefresh_Click(); });
    connect(cmdShowDirReq, &QAbstractButton::clicked, navigation, [this] { navigation->cmdShowDirReq_Click(); });
    addActions(navigation->actions());
    actRefresh = navigation->actRefresh;
    connect(navigation, &Navigation::readDirectoryWanted, this, [this] {
        readDirectory();
        updateFileViews();
    });
    connect(navigation, &Navigation::directoryModeWanted, this, [this] {
        if (TabStripFilemode->selectedKey() == QLatin1String("dragdrop"))
            TabStripFilemode->selectKey(QStringLiteral("listview"));
        TabStripFilemode_Click();
    });

    treeCommands = new TreeCommands(host, *navigation, this);
}

FrmMain::~FrmMain()
{
    // An object that watches a widget dies before it: the command groups filter
    // and read the panes' widgets, which QObject would delete first (children go
    // in creation order), and the window's own filter must not see its members
    // after they are gone. Later created, earlier deleted. The panels outlive
    // the window's members too: a focus change while they are taken down must
    // not reach the gate or the state.
    qApp->removeEventFilter(this);
    for (ModePanel* p : panels_)
        if (p)
            p->disconnect(this);
    delete listMenus;
    delete inPlaceRename;
    delete lwDragDropCommands;
    delete lwDirectoryCommands;
    delete freeSelect;
    delete treeCommands;
    delete navigation;
}

// ---------------------------------------------------------------- start-up

void FrmMain::Form_Load()
{
    productTitle = QStringLiteral("Vexor Renamer");
    versionText = QString::fromLatin1(kVersionText);
    const QSize smallest(platform::toPixels(mainMinWidth), platform::toPixels(mainMinHeight));
    outerSize_.setMinimum(smallest);
    mainWindowReady_ = 0;
    getSystemFolders(state_.files.systemFolders);
    {
        store_ = std::make_unique<platform::SettingsStore>();
        LoadContext context;
        context.programFolder = platform::programFolder();
        const QSize screen =
            QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->size() : QSize(1024, 768);
        context.screenTwips = screen * platform::twipsPerPixel();
        context.now = ui.now();
        context.arguments = arguments_;
        settingsLoadFailed = !loadSettings(*store_, state_.logs, context, state_.settings, state_.tables);
    }
    applySettings();
    setWindowTitle(productTitle + QLatin1Char(' ') + versionText + QStringLiteral(" - Press F1 for Help"));
    state_.preview.previewYieldInterval = 5;
    const Settings& st = state_.settings;
    // The stored place and size are the outer rectangle's, fitted to the
    // screen; Qt moves the outer corner but sizes the inner area, which
    // fitOuterSize() corrects once the frame is known.
    const QRect outer =
        storedGeometry_.restore(QRect(st.Main_Left, st.Main_Top, st.Main_Width, st.Main_Height), smallest);
    // The minimum, cut to the screen the window goes to, before the size.
    move(outer.topLeft());
    fitOuterSize();
    resize(outer.size());
    outerSize_.setPending(outer.size());
    // Maximised only once the normal rectangle is right, so a restore finds it.
    pendingMaximize_ = st.Main_Maximized == 2;
    for (int c = 0; c < 3; ++c)
        lwDirectory->setColumnWidth(c, st.*kDirColWidths[size_t(c)]);
    for (int c = 0; c < 3; ++c)
        lwDragDrop->setColumnWidth(c, st.*kDragColWidths[size_t(c)]);
    if (st.showAllColumns == 1)
        addDetailColumnsFromSettings();
    filePane->setListLook(st.lwFullRowSelect == 1, st.lwShowGuidelines == 1);
    txtPath->setEditText(st.storedPath);
    // Bring the stored tab's panel in front until the first activation.
    for (ModePanel* p : panels_)
        p->hide();
    QFrame* front = panel(renameMode());
    front->show();
    front->raise();
    fillTagLists();
    setFreeSelectHint();
    for (int i = 0; i < st.pathHistorySize && i < st.pathHistory.size(); ++i)
        if (!st.pathHistory[i].isEmpty())
            txtPath->addItem(st.pathHistory[i]);
    txtPath->setEditText(st.storedPath);
    Mp3Component mp3 = initMp3Library(state_.logs, mp3Factory);
    mp3Library_ = std::move(mp3.mp3Library);
    mp3InitFailed = mp3.mp3InitFailed;
    settingsTabIndex_ = 1;
    if (st.hideLogo || (QGuiApplication::primaryScreen() && QGuiApplication::primaryScreen()->size().width() == 640))
        compactLayout();
    updateListOptions();
}

// The stored values go into the controls through the binding table.
void FrmMain::applySettings()
{
    Settings& st = state_.settings;
    startMode = st.startMode;
    exitAfterRun = st.exitAfterRun != 0;
    startModeGiven_ = st.startModeGiven;
    startPathGiven_ = st.startPathGiven;
    startPathProblem_ = st.startPathProblem;
    storedPath = st.storedPath;
    bindings_.apply(st);
}

// The controls' values go back into the settings before they are saved.
void FrmMain::readBackSettings()
{
    Settings& st = state_.settings;
    bindings_.readBack(st);
    st.TabStripFilemode = TabStripFilemode->selectedIndex();
    for (int c = 0; c < 8; ++c) {
        if (c < lwDirectory->model()->columnCount())
            st.*kDirColWidths[size_t(c)] = lwDirectory->columnWidth(c);
        if (c < lwDragDrop->model()->columnCount())
            st.*kDragColWidths[size_t(c)] = lwDragDrop->columnWidth(c);
    }
    st.pathHistory.clear();
    for (int i = 0; i < txtPath->count(); ++i)
        st.pathHistory.push_back(txtPath->itemText(i));
    recordGeometry();
}

// The listing settings the file-list code follows.
void FrmMain::updateListOptions()
{
    listOptions_ = fileListOptions(state_.settings);
}

void FrmMain::setFreeSelectHint()
{
    showFreeSelectHint(lwDragDrop);
}

bool FrmMain::event(QEvent* e)
{
    switch (e->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::WindowStateChange:
    case QEvent::WindowActivate:
        fitOuterSize();
        if (isVisible() && platform::normalState(this))
            storedGeometry_.seen(frameGeometry());
        break;
    default:
        break;
    }
    if (e->type() == QEvent::WindowActivate && !activated_)
        QTimer::singleShot(0, this, [this] { Form_Activate(); });
    if (e->type() == QEvent::Show && !activated_)
        // Some window systems never activate a window; start anyway shortly after the first show.
        QTimer::singleShot(300, this, [this] { Form_Activate(); });
    return QMainWindow::event(e);
}

void FrmMain::Form_Activate()
{
    if (mainWindowReady_ != 0 || activated_)
        return;
    activated_ = true;
    if (pendingMaximize_) { // no frame was reported: a window system without one
        pendingMaximize_ = false;
        setWindowState(windowState() | Qt::WindowMaximized);
    }
    mainWindowReady_ = -1;
    {
        FileListHost h = fileListHost();
        resetSysIconsFreeSel(h);
    }
    filePane->applyTreeOption(listOptions_.enableTreeview != 0);
    TabStrip_Click();
    TabStripFilemode_Click();
    // An unattended run that cannot do what it was told stops before it reads
    // or writes anything but the settings.
    if (const QString refused = commandLineRefusal(); !refused.isEmpty()) {
        refuseCommandLineRun(refused);
        return;
    }
    listsForRunOnly_ = unattendedDirectoryRun();
    if (listsForRunOnly_)
        state_.logs.errorLogged = 0; // the run counts what its read logs
    readDirectory();
    // The rows are what a user would look at; an unattended run closes its
    // window unseen. Everything else the read and the build leave (counts,
    // selection count, gate, the boxes' corrections) comes from the steps
    // below, which both starts take.
    if (!listsForRunOnly_)
        updateFileViews();
    updateSelectionCount(false);
    updateExecuteButton();
    txtPath->setFocus();
    commandLineRun();
}

// An unattended run (/e and /x) in the Directory mode works on the listing
// of the first activation: its window closes after the run and nobody looks
// at the list in between, so no rows are built and the run does not read the
// folder a second time. The numbering mode keeps the rows, since it numbers
// them in the order shown.
bool FrmMain::unattendedDirectoryRun() const
{
    if (startMode.isEmpty() || !exitAfterRun || settingsLoadFailed || fileMode_ != 0)
        return false;
    const std::optional<StartModeChoice> choice = startModeFromWord(startMode);
    return (choice ? choice->mode : renameMode()) != RenameMode::Enum;
}

QString FrmMain::commandLineRefusal() const
{
    // Where nobody can see the window, an exit switch with no run to end would
    // leave it open for ever.
    if (exitAfterRun && !startModeGiven_ && !platform::hasDisplay())
        return exitWithoutRunProblem(arguments_);
    if (!exitAfterRun || !startModeGiven_)
        return {};
    if (startMode.isEmpty())
        return QStringLiteral("/e was given without a mode word");
    if (!startModeFromWord(startMode))
        return QStringLiteral("the mode word \"%1\" is not one of %2")
            .arg(platform::printableText(startMode), startModeWords().join(QStringLiteral(", ")));
    if (startPathGiven_ && !startPathProblem_.isEmpty())
        return QStringLiteral("the folder given with /p ") + startPathProblem_;
    return {};
}

// A Date run started from the command line would put on the files a date or
// time that the stored text did not give and nobody chose in the window.
QString FrmMain::unreadDateRefusal() const
{
    if (renameMode() != RenameMode::Attrib)
        return {};
    const RenameOptions o = readOptions();
    if (!o.dateMode)
        return {};
    const Settings& st = state_.settings;
    const bool date = o.useDate == 1 && st.dtDateUnread;
    const bool time = o.useTime == 1 && st.dtTimeUnread;
    const auto named = [](const char* what, const QString& text) {
        constexpr qsizetype kShown = 60;
        const QString shown = text.size() > kShown ? text.left(kShown) + QStringLiteral("...") : text;
        return QString::fromLatin1(what) + QStringLiteral(" \"") + platform::printableText(shown) + u'"';
    };
    if (date && time)
        return QStringLiteral("the stored %1 and %2 cannot be read as one date and time; choose them in the window")
            .arg(named("New Date", st.dtDateUnread->text), named("New Time", st.dtTimeUnread->text));
    if (date)
        return QStringLiteral("the stored %1 cannot be read as one date; choose it in the window")
            .arg(named("New Date", st.dtDateUnread->text));
    if (time)
        return QStringLiteral("the stored %1 cannot be read as one time; choose it in the window")
            .arg(named("New Time", st.dtTimeUnread->text));
    return {};
}

void FrmMain::refuseCommandLineRun(const QString& why)
{
    exitStatus_ = exitStatusFor(RunOutcome::NotStarted);
    ui.consoleLine(QStringLiteral("Vexor Renamer: the run was not started: ") + why + QLatin1Char('.'));
    // A window that was not told to close stays for the user.
    if (exitAfterRun)
        close();
}

void FrmMain::selectStartMode()
{
    if (const std::optional<StartModeChoice> choice = startModeFromWord(startMode)) {
        if (choice->subOption >= 0)
            panel(choice->mode)->selectSubOption(choice->subOption);
        if (renameMode() == choice->mode)
            TabStrip_Click();
        else
            TabStrip->selectKey(modeKey(choice->mode));
    }
}

void FrmMain::commandLineRun()
{
    if (startMode.isEmpty())
        return;
    // Closed on the way here (a signal at a turn of the loop): nothing is run.
    if (exited_)
        return;
    if (settingsLoadFailed) {
        exitStatus_ = exitStatusFor(RunOutcome::NotStarted);
        ui.message(this, productTitle,
                   QStringLiteral("Error loading settings!\n\nThe settings file %1 %2.\n\nThe command-line run was "
                                  "not started.")
                       .arg(platform::printableText(store_->fileName()), store_->readProblem()),
                   QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok);
        if (exitAfterRun)
            close();
        return;
    }
    // The read already said why (the limit, a read error): the run has nothing
    // it was given to work on. The system-folder notice is a row of the list,
    // which an unattended run does not show: its text goes into a box.
    if (fileMode_ == 0 && !state_.files.readFailure.isEmpty()) {
        exitStatus_ = exitStatusFor(RunOutcome::NotStarted);
        if (exitAfterRun && state_.files.readFailure == QLatin1String(kHiddenFolderNotice))
            ui.message(this, productTitle, state_.files.readFailure, QMessageBox::Critical, QMessageBox::Ok,
                       QMessageBox::Ok);
        if (exitAfterRun)
            close();
        return;
    }
    selectStartMode();
    const GateVerdict verdict = judgeGate(gateInputs());
    commandLineDecision_ = RunDecision{renameMode(),
                                       modeSubOption(renameMode()),
                                       readOptions(),
                                       state_.files.onlySelectedActive,
                                       state_.files.selectedCount,
                                       StatusBar->panelText(QStringLiteral("main")),
                                       cmdExecute->isEnabled(),
                                       verdict.refusal};
    execute_.run.outcome = RunOutcome::None;
    if (cmdExecute->isEnabled()) {
        if (const QString refused = unreadDateRefusal(); !refused.isEmpty()) {
            listsForRunOnly_ = false;
            refuseCommandLineRun(refused);
            return;
        }
        unattendedRun = exitAfterRun;
        cmdExecute_Click();
        unattendedRun = false;
        exitStatus_ = exitStatusFor(execute_.run.outcome);
    }
    listsForRunOnly_ = false;
    // A signal served at a turn of the loop on the way (choosing the start
    // word's tab) closed the window: the run never began and nothing refused it.
    if (exited_)
        return;
    if (!exitAfterRun)
        return;
    // "Rename!" was off, or turned off by the run's own check: the run did
    // not do what it was told.
    if (execute_.run.outcome == RunOutcome::None) {
        const QString why = judgeGate(gateInputs()).refusal;
        refuseCommandLineRun(why.isEmpty() ? QStringLiteral("\"Rename!\" is disabled") : why);
        return;
    }
    ExecuteHost h = executeHost();
    unloadLogWindow(h);
    close();
}

int FrmMain::exitStatus() const
{
    return std::max(exitStatus_, state_.logs.errorLines > 0 ? 1 : 0);
}

// ---------------------------------------------------------------- close and exit

bool FrmMain::Form_QueryUnload()
{
    // Refused while long list work shows the hourglass, or while the window is disabled.
    return !(hourglass() || !isEnabled() || executeBusy_ != 0);
}

void FrmMain::closeEvent(QCloseEvent* e)
{
    if (exited_) {
        e->accept();
        return;
    }
    if (!Form_QueryUnload()) {
        e->ignore();
        return;
    }
    Form_Unload();
    e->accept();
}

void FrmMain::Form_Unload()
{
    storedPath = txtPath->currentText();
    readBackSettings();
    state_.settings.storedPath = storedPath;
    saveAllSettings(this);
    exited_ = true;
    tmrPreview->stop();
    QCoreApplication::quit();
}

void FrmMain::saveAllSettings(QWidget* boxParent)
{
    // Settings that could not be read at start are never written over (the file
    // may have become readable since): only the lists, which were read, are saved.
    if (settingsLoadFailed) {
        writeConfigLists(platform::programFolder(), state_.tables, state_.logs);
        return;
    }
    if (!saveSettings(*store_, state_.logs, platform::programFolder(), state_.settings, state_.tables,
                      shellMenuStep(ui, boxParent, state_.logs)))
        ui.message(boxParent, productTitle, settingsNotSavedText(*store_), QMessageBox::Critical, QMessageBox::Ok,
                   QMessageBox::Ok);
}

// ---------------------------------------------------------------- connections

void FrmMain::connectGate()
{
    using platform::CheckBox;
    connect(chkFiles, &CheckBox::valueClicked, this, &FrmMain::chkFiles_Click);
    connect(chkDirs, &CheckBox::valueClicked, this, &FrmMain::chkDirs_Click);
    connect(chkSub, &CheckBox::valueClicked, this, &FrmMain::chkSub_Click);
    connect(chkProcessFilename, &CheckBox::valueClicked, this, &FrmMain::chkProcessFilename_Click);
    connect(chkProcessFileExt, &CheckBox::valueClicked, this, &FrmMain::chkProcessFileExt_Click);
    connect(chkOnlyRenameSelected, &CheckBox::valueClicked, this, &FrmMain::chkOnlyRenameSelected_Click);
    connect(chkPreview, &CheckBox::valueClicked, this, &FrmMain::chkPreview_Click);
    connect(chkShowTreeview, &CheckBox::valueClicked, this, &FrmMain::chkShowTreeview_Click);
    connect(chkThumbnails, &CheckBox::valueClicked, this, &FrmMain::chkThumbnails_Click);
    connect(chkThumbnailsFreeSelect, &CheckBox::valueClicked, this, &FrmMain::chkThumbnailsFreeSelect_Click);
    connect(TabStrip, &platform::TabStrip::currentChanged, this, &FrmMain::TabStrip_Click);
    connect(TabStripFilemode, &platform::TabStrip::currentChanged, this, &FrmMain::TabStripFilemode_Click);
    connect(cmdExecute, &QPushButton::clicked, this, &FrmMain::cmdExecute_Click);
    connect(cmdUndo, &QPushButton::clicked, this, &FrmMain::cmdUndo_Click);
    connect(cmdHelp, &QPushButton::clicked, this, &FrmMain::cmdHelp_Click);
    connect(actHelp, &QAction::triggered, this, &FrmMain::cmdHelp_Click);
    connect(actExecute, &QAction::triggered, this, &FrmMain::actExecute_Triggered);
    connect(cmdAbout, &QPushButton::clicked, this, &FrmMain::cmdAbout_Click);
    // Every selection change in either list is counted at once, so the count,
    // the gate, the preview and the run agree with what the user selected.
    for (platform::ListView* lw : {lwDirectory, lwDragDrop})
        connect(lw->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this, lw] {
            if (lw == activeList())
                updateSelectionCount(false);
        });
    // The window's key preview: every key passes the window before its control.
    qApp->installEventFilter(this);
}

// ---------------------------------------------------------------- list commands

void FrmMain::connectListCommands()
{
    const FileListHost host = fileListHost();
    lwDirectoryCommands = new ListCommands(host, true, this);
    lwDragDropCommands = new ListCommands(host, false, this);
    inPlaceRename = new InPlaceRename(host, this);
    listMenus = new ListMenus(
        host, {freeSelect->mnuListviewAdd, freeSelect->mnuDragdropRemove, freeSelect->mnuDragdropClear}, this, this);
    for (ListCommands* c : {lwDirectoryCommands, lwDragDropCommands}) {
        platform::ListView* lw = c->list();
        QMenu* menu = c->isDirectoryList() ? listMenus->mnuPopupListview : listMenus->mnuPopupDragdrop;
        connect(c, &ListCommands::openDirectory, this, &FrmMain::openDirectoryRow);
        connect(c, &ListCommands::startLabelEdit, this, [this, lw] { inPlaceRename->startEdit(lw); });
        // The menu is modal: its command runs before the click's own clean-up.
        connect(c, &ListCommands::popupMenu, menu, [menu](const QPoint& at) { menu->exec(at); });
        connect(c, &ListCommands::rowMoved, this, [this] {
            // Enumeration numbers follow the row order; other previews stay as they are.
            if (renameMode() == RenameMode::Enum && modeSubOption(RenameMode::Enum) == 0)
                updateExecuteButton();
        });
    }
    connect(listMenus->mnuListviewOpen, &QAction::triggered, lwDirectoryCommands, &ListCommands::open);
    connect(listMenus->mnuDragdropOpen, &QAction::triggered, lwDragDropCommands, &ListCommands::open);
    connect(listMenus->mnuListviewRename, &QAction::triggered, this, [this] { inPlaceRename->startEdit(lwDirectory); });
    connect(listMenus->mnuDrapDropRename, &QAction::triggered, this, [this] { inPlaceRename->startEdit(lwDragDrop); });
    connect(lwDirectoryCommands, &ListCommands::parentDirectory, this, [this] {
        navigation->parentDirByKey = -1; // the focus stays in the list
        navigation->cmdParentDir_Click();
    });
    // Delete runs the menu commands themselves: no preview stop, count or focus move.
    connect(lwDragDropCommands, &ListCommands::removeSelected, freeSelect,
            &FreeSelectCommands::mnuDragdropRemove_Click);
    connect(lwDragDropCommands, &ListCommands::clearAll, freeSelect, &FreeSelectCommands::mnuDragdropClear_Click);
    connect(lwDragDropCommands, &ListCommands::addDialog, freeSelect, &FreeSelectCommands::cmdDragDropAdd_Click);
}

// ---------------------------------------------------------------- position picker

// Each panel runs its own controls; the window runs the gate on their
// changes, the list options' rules on a new sub-option, the picker and the
// options window on their request, and the focus guard of hidden panels.
void FrmMain::connectPanels()
{
    for (ModePanel* p : panels_) {
        connect(p, &ModePanel::changed, this, &FrmMain::updateExecuteButton);
        connect(p, &ModePanel::subOptionChanged, this, [this, p] { applySubOption(*p); });
        connect(p, &ModePanel::pickerRequested, this, &FrmMain::showPicker);
        connect(p, &ModePanel::settingsRequested, this, &FrmMain::showSettings);
        // A control of a hidden panel that gets the focus hands it on, so the
        // keyboard never works in a panel the user cannot see.
        connect(p, &ModePanel::focusArrived, this, [this, p] {
            if (renameMode() == p->mode())
                return;
            if (cmdExecute->isEnabled())
                cmdExecute->setFocus(Qt::OtherFocusReason);
            else
                cmdAbout->setFocus(Qt::OtherFocusReason);
        });
    }
}
