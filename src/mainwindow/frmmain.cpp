#include "mainwindow/frmmain.h"
#include "mainwindow/panelhandlers.h"
#include "engine/detect.h"
#include "engine/format.h"
#include "engine/mp3names.h"
#include "engine/preview.h"
#include "execute/frmexecute.h"
#include "execute/undo.h"
#include "execute/runrename.h"
#include "filelist/fileviews.h"
#include "filelist/generatethumbnails.h"
#include "filelist/iconlists.h"
#include "filelist/readdirectory.h"
#include "filelist/selectioncount.h"
#include "filelist/swaplistitems.h"
#include "filelist/systemfolders.h"
#include "platform/datetext.h"
#include "platform/fileops.h"
#include "platform/settingsstore.h"
#include "settings/configfiles.h"
#include "settings/loadsave.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QUrl>

FrmMain::FrmMain(platform::UiService& uiService, const QStringList& arguments, QWidget* parent)
    : QMainWindow(parent), ui(uiService), arguments_(arguments)
{
    setObjectName(QStringLiteral("frmMain"));
    buildUi();
    uiBuilt_ = true;
    // The handlers are connected before the stored values go in, so each value
    // still adjusts the controls that depend on it (the Process pair, "View as
    // Tree"); those that need a ready window test the ready flag.
    connectGate();
    Form_Load();
}

FrmMain::~FrmMain() = default;

// ---------------------------------------------------------------- start-up

void FrmMain::Form_Load()
{
    productTitle = QStringLiteral("Vexor Renamer");
    versionText = QStringLiteral("4.62");
    setMinimumSize(550, 528);
    mainWindowReady = 0;
    getSystemFolders(state.files.systemFolders);
    {
        platform::SettingsStore store;
        LoadContext context;
        context.programFolder = platform::programFolder();
        const QSize screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->size() : QSize(1024, 768);
        context.screenTwips = screen * 15;
        context.now = QDateTime::currentDateTime();
        context.arguments = arguments_;
        settingsLoadFailed = !loadSettings(store, state.logs, context, state.settings, state.tables);
    }
    applySettings();
    setWindowTitle(productTitle + QLatin1Char(' ') + versionText + QStringLiteral(" - Press F1 for Help"));
    state.preview.previewYieldInterval = 5;
    const Settings& st = state.settings;
    move(st.Main_Left / 15, st.Main_Top / 15);
    resize(st.Main_Width / 15, st.Main_Height / 15);
    if (st.Main_Maximized == 2)
        setWindowState(Qt::WindowMaximized);
    const int dirWidths[8] = {st.dirColWidth1, st.dirColWidth2, st.dirColWidth3, st.dirColWidth4,
                              st.dirColWidth5, st.dirColWidth6, st.dirColWidth7, st.dirColWidth8};
    const int dragWidths[8] = {st.dragColWidth1, st.dragColWidth2, st.dragColWidth3, st.dragColWidth4,
                               st.dragColWidth5, st.dragColWidth6, st.dragColWidth7, st.dragColWidth8};
    for (int c = 0; c < 3; ++c)
        lwDirectory->setColumnWidth(c, dirWidths[c]);
    for (int c = 0; c < 3; ++c)
        lwDragDrop->setColumnWidth(c, dragWidths[c]);
    if (st.showAllColumns == 1) {
        const char* keys[] = {"size", "date", "attrib", "ext", "type", "sizeb", "dateb"};
        const char* captions[] = {"Size", "Changed", "Attributes", "Extension", "Type", "Size in Bytes", "Date Sorting"};
        for (platform::ListView* lw : {lwDirectory, lwDragDrop}) {
            const int* widths = lw == lwDirectory ? dirWidths : dragWidths;
            for (int c = 0; c < 7; ++c)
                lw->addColumn(QString::fromLatin1(keys[c]), QString::fromLatin1(captions[c]), c < 5 ? widths[c + 3] : 0);
        }
    }
    for (platform::ListView* lw : {lwDirectory, lwDragDrop}) {
        lw->setFullRowSelect(st.lwFullRowSelect == 1);
        lw->setGridLines(st.lwShowGuidelines == 1);
    }
    txtPath->setEditText(st.storedPath);
    // Bring the stored tab's panel in front until the first activation.
    for (QFrame* f : {frmFindReplace, frmConvertCase, frmSetAttributes, frmAddCrop, frmMp3Tag, frmEnum, frmFormat, frmMisc})
        f->hide();
    const QString key = TabStrip->selectedKey();
    QFrame* front = key == QLatin1String("Replace") ? frmFindReplace
                    : key == QLatin1String("Case")  ? frmConvertCase
                    : key == QLatin1String("Enum")  ? frmEnum
                    : key == QLatin1String("misc")  ? frmMisc
                    : key == QLatin1String("Attrib") ? frmSetAttributes
                    : key == QLatin1String("AddCrop") ? frmAddCrop
                    : key == QLatin1String("Mp3")   ? frmMp3Tag
                                                    : frmFormat;
    front->show();
    front->raise();
    fillTagLists();
    setFreeSelectHint();
    for (int i = 0; i < st.pathHistorySize && i < st.pathHistory.size(); ++i)
        if (!st.pathHistory[i].isEmpty())
            txtPath->addItem(st.pathHistory[i]);
    txtPath->setEditText(st.storedPath);
    Mp3Component mp3 = initMp3Library(state.logs, mp3Factory);
    mp3Library = std::move(mp3.mp3Library);
    mp3InitFailed = mp3.mp3InitFailed;
    settingsTabIndex = 1;
    if (st.hideLogo || (QGuiApplication::primaryScreen() && QGuiApplication::primaryScreen()->size().width() == 640))
        compactLayout();
    updateListOptions();
}

// The stored values go into the controls in the order the panels' handlers
// rely on (pattern boxes before their option keys, the attribute and date
// boxes before their option, everything before "Files" and "Directories").
void FrmMain::applySettings()
{
    Settings& st = state.settings;
    startMode = st.startMode;
    exitAfterRun = st.exitAfterRun != 0;
    storedPath = st.storedPath;
    chkShowTreeview->setValue(st.chkShowTreeview);
    chkOnlyRenameSelected->setValue(st.chkOnlyRenameSelected);
    txtPattern->setText(st.txtPattern);
    txtPattern->setEnabled(st.txtPatternEnabled);
    txtMp3Format->setText(st.txtMp3Format);
    chkMp3AddExtension->setValue(st.chkMp3AddExtension);
    chkMp3OnlyFilledTags->setValue(st.chkMp3OnlyFilledTags);
    chkMp3OnlyMp3Files->setValue(st.chkMp3OnlyMp3Files);
    chkMp3UseID3v2->setValue(st.chkMp3UseID3v2);
    txtFind->setText(st.txtFind);
    txtReplace->setText(st.txtReplace);
    chkCaseSensitive->setValue(st.chkCaseSensitive);
    txtReplaceCount->setText(st.txtReplaceCount);
    txtReplaceStart->setText(st.txtReplaceStart);
    (st.optReplace == 1 ? optReplaceBatch : optReplaceSingle)->select();
    chkR->setValue(st.chkR);
    chkH->setValue(st.chkH);
    chkS->setValue(st.chkS);
    chkA->setValue(st.chkA);
    if (st.dtDate.isValid())
        dtDate->setDate(st.dtDate);
    if (st.dtTime.isValid())
        dtTime->setTime(st.dtTime);
    chkDateCreated->setValue(st.chkDateCreated);
    chkDateAccessed->setValue(st.chkDateAccessed);
    chkDateModified->setValue(st.chkDateModified);
    chkDateDate->setValue(st.chkDateDate);
    chkDateTime->setValue(st.chkDateTime);
    (st.optAttrib == 1 ? optAttrib_Date : optAttrib_Attributes)->select();
    if (st.Case1 >= 0 && st.Case1 < int(Case1.size()))
        Case1[size_t(st.Case1)]->select();
    if (st.Case2 >= 0 && st.Case2 < int(Case2.size()))
        Case2[size_t(st.Case2)]->select();
    (st.optAddBegEnd == 1 ? optAddEnding : optAddBeginning)->select();
    (st.optCropBegEnd == 1 ? optCropEnding : optCropBeginning)->select();
    txtAdd->setText(st.txtAdd);
    txtCropNumber->setText(st.txtCropNumber);
    txtAddPos->setText(st.txtAddPos);
    txtCropPos->setText(st.txtCropPos);
    (st.optAddCrop == 1 ? optCrop : optAdd)->select();
    if (st.TabStrip >= 1 && st.TabStrip <= TabStrip->count())
        TabStrip->setCurrentIndex(st.TabStrip - 1);
    chkProcessFilename->setValue(st.chkProcessFilename);
    chkProcessFileExt->setValue(st.chkProcessFileExt);
    chkPreview->setValue(st.chkPreview);
    txtFormat->setText(st.txtFormat);
    txtFormatParts->setText(st.txtFormatParts);
    chkFormatAllMustBeAvailable->setValue(st.chkFormatAllMustBeAvailable);
    chkFileDetect_TryMp3->setValue(st.chkFileDetect_TryMp3);
    chkFileDetect_TryText->setValue(st.chkFileDetect_TryText);
    chkFileDetect_KeepExt->setValue(st.chkFileDetect_KeepExt);
    (st.chkFormatTab == 1 ? chkFormatTab_Detect : chkFormatTab_Format)->select();
    txtNormalize->setText(st.txtNormalize);
    txtEnumFormat->setText(st.txtEnumFormat);
    txtEnumZeros->setText(st.txtEnumZeros);
    txtEnumStart->setText(st.txtEnumStart);
    txtEnumStep->setText(st.txtEnumStep);
    chkEnumAutoZeros->setValue(st.chkEnumAutoZeros);
    chkEnumResetBetweenDirs->setValue(st.chkEnumResetBetweenDirs);
    (st.chkEnumTab == 1 ? chkEnumTab_Normalize : chkEnumTab_Enum)->select();
    chkExceptionsEnabled->setValue(st.chkExceptionsEnabled);
    chkSpaceBeginning->setValue(st.chkSpaceBeginning);
    chkSpaceEnd->setValue(st.chkSpaceEnd);
    chkSpaceShrink->setValue(st.chkSpaceShrink);
    chkFiles->setValue(st.chkFiles);
    chkDirs->setValue(st.chkDirs);
    chkSub->setValue(st.chkSub);
    lblBatchReplace->setText(st.lblBatchReplace.isEmpty() ? batchReplaceCaption(batchCount()) : st.lblBatchReplace);
}

// The controls' values go back into the settings before they are saved.
void FrmMain::readBackSettings()
{
    Settings& st = state.settings;
    st.chkShowTreeview = chkShowTreeview->value();
    st.chkOnlyRenameSelected = chkOnlyRenameSelected->value();
    st.txtPattern = txtPattern->text();
    st.txtMp3Format = txtMp3Format->text();
    st.chkMp3AddExtension = chkMp3AddExtension->value();
    st.chkMp3OnlyFilledTags = chkMp3OnlyFilledTags->value();
    st.chkMp3OnlyMp3Files = chkMp3OnlyMp3Files->value();
    st.chkMp3UseID3v2 = chkMp3UseID3v2->value();
    st.txtFind = txtFind->text();
    st.txtReplace = txtReplace->text();
    st.chkCaseSensitive = chkCaseSensitive->value();
    st.txtReplaceCount = txtReplaceCount->text();
    st.txtReplaceStart = txtReplaceStart->text();
    st.optReplace = optReplaceBatch->isChecked() ? 1 : 0;
    st.chkR = chkR->value();
    st.chkH = chkH->value();
    st.chkS = chkS->value();
    st.chkA = chkA->value();
    st.dtDate = dtDate->date();
    st.dtTime = dtTime->time();
    st.chkDateCreated = chkDateCreated->value();
    st.chkDateAccessed = chkDateAccessed->value();
    st.chkDateModified = chkDateModified->value();
    st.chkDateDate = chkDateDate->value();
    st.chkDateTime = chkDateTime->value();
    st.optAttrib = optAttrib_Date->isChecked() ? 1 : 0;
    const RenameOptions o = readOptions();
    st.Case1 = o.nameCase;
    st.Case2 = o.extCase;
    st.optAddBegEnd = optAddEnding->isChecked() ? 1 : 0;
    st.optCropBegEnd = optCropEnding->isChecked() ? 1 : 0;
    st.txtAdd = txtAdd->text();
    st.txtCropNumber = txtCropNumber->text();
    st.txtAddPos = txtAddPos->text();
    st.txtCropPos = txtCropPos->text();
    st.optAddCrop = optCrop->isChecked() ? 1 : 0;
    st.TabStrip = TabStrip->selectedIndex();
    st.chkProcessFilename = chkProcessFilename->value();
    st.chkProcessFileExt = chkProcessFileExt->value();
    st.chkPreview = chkPreview->value();
    st.txtFormat = txtFormat->text();
    st.txtFormatParts = txtFormatParts->text();
    st.chkFormatAllMustBeAvailable = chkFormatAllMustBeAvailable->value();
    st.chkFileDetect_TryMp3 = chkFileDetect_TryMp3->value();
    st.chkFileDetect_TryText = chkFileDetect_TryText->value();
    st.chkFileDetect_KeepExt = chkFileDetect_KeepExt->value();
    st.chkFormatTab = chkFormatTab_Detect->isChecked() ? 1 : 0;
    st.txtNormalize = txtNormalize->text();
    st.txtEnumFormat = txtEnumFormat->text();
    st.txtEnumZeros = txtEnumZeros->text();
    st.txtEnumStart = txtEnumStart->text();
    st.txtEnumStep = txtEnumStep->text();
    st.chkEnumAutoZeros = chkEnumAutoZeros->value();
    st.chkEnumResetBetweenDirs = chkEnumResetBetweenDirs->value();
    st.chkEnumTab = chkEnumTab_Normalize->isChecked() ? 1 : 0;
    st.chkExceptionsEnabled = chkExceptionsEnabled->value();
    st.chkSpaceBeginning = chkSpaceBeginning->value();
    st.chkSpaceEnd = chkSpaceEnd->value();
    st.chkSpaceShrink = chkSpaceShrink->value();
    st.chkFiles = chkFiles->value();
    st.chkDirs = chkDirs->value();
    st.chkSub = chkSub->value();
    st.TabStripFilemode = TabStripFilemode->selectedIndex();
    int* dirWidths[8] = {&st.dirColWidth1, &st.dirColWidth2, &st.dirColWidth3, &st.dirColWidth4,
                         &st.dirColWidth5, &st.dirColWidth6, &st.dirColWidth7, &st.dirColWidth8};
    int* dragWidths[8] = {&st.dragColWidth1, &st.dragColWidth2, &st.dragColWidth3, &st.dragColWidth4,
                          &st.dragColWidth5, &st.dragColWidth6, &st.dragColWidth7, &st.dragColWidth8};
    for (int c = 0; c < 8; ++c) {
        if (c < lwDirectory->model()->columnCount())
            *dirWidths[c] = lwDirectory->columnWidth(c);
        if (c < lwDragDrop->model()->columnCount())
            *dragWidths[c] = lwDragDrop->columnWidth(c);
    }
    st.pathHistory.clear();
    for (int i = 0; i < txtPath->count(); ++i)
        st.pathHistory.push_back(txtPath->itemText(i));
    if (windowState() == Qt::WindowNoState) {
        const QRect g = geometry();
        st.Main_Top = g.top() * 15;
        st.Main_Left = g.left() * 15;
        st.Main_Height = g.height() * 15;
        st.Main_Width = g.width() * 15;
    }
    if (!isMinimized())
        st.Main_Maximized = isMaximized() ? 2 : 0;
}

// The listing settings the file-list code follows.
void FrmMain::updateListOptions()
{
    const Settings& st = state.settings;
    FileListOptions& o = listOptions;
    o.alwaysShowDirs = st.alwaysShowDirs;
    o.cacheIcons = st.cacheIcons;
    const int dir[8] = {st.dirColWidth1, st.dirColWidth2, st.dirColWidth3, st.dirColWidth4,
                        st.dirColWidth5, st.dirColWidth6, st.dirColWidth7, st.dirColWidth8};
    const int drag[8] = {st.dragColWidth1, st.dragColWidth2, st.dragColWidth3, st.dragColWidth4,
                         st.dragColWidth5, st.dragColWidth6, st.dragColWidth7, st.dragColWidth8};
    std::copy(std::begin(dir), std::end(dir), o.dirColWidth);
    std::copy(std::begin(drag), std::end(drag), o.dragColWidth);
    o.enableRenameAllIfNoneSelected = st.enableRenameAllIfNoneSelected;
    o.enableTreeview = st.enableTreeview;
    o.hideSystemFolders = st.hideSystemFolders;
    o.processHidden = st.processHidden;
    o.processSystem = st.processSystem;
    o.processWriteProtected = st.processWriteProtected;
    o.showAllColumns = st.showAllColumns;
    o.thumbsAspect = st.thumbsAspect;
    o.thumbsBorder = st.thumbsBorder;
    o.thumbsWidth = st.thumbsWidth;
    o.thumbsHeight = st.thumbsHeight;
    o.usePatternForFiles = st.usePatternForFiles;
    o.usePatternForDirs = st.usePatternForDirs;
    o.useSysIcons = st.useSysIcons;
}

void FrmMain::setFreeSelectHint()
{
    lwDragDrop->setView(1);
    QFont f = QApplication::font();
    f.setItalic(true);
    f.setPointSize(10);
    f.setBold(true);
    lwDragDrop->setListFont(f);
    lwDragDrop->setLabelEdit(false);
    lwDragDrop->clear();
    platform::ListRow hint;
    hint.cells[0] = QStringLiteral("Drop files here...");
    lwDragDrop->addRow(hint);
    lwDragDrop->setSelected(0, false);
}

bool FrmMain::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate && !activated_)
        QTimer::singleShot(0, this, [this] { Form_Activate(); });
    if (e->type() == QEvent::Show && !activated_)
        // Some window systems never activate a window; start anyway shortly after the first show.
        QTimer::singleShot(300, this, [this] { Form_Activate(); });
    return QMainWindow::event(e);
}

void FrmMain::Form_Activate()
{
    if (mainWindowReady != 0 || activated_)
        return;
    activated_ = true;
    mainWindowReady = -1;
    {
        FileListHost h = fileListHost();
        resetSysIconsFreeSel(h);
    }
    if (listOptions.enableTreeview != 0) {
        chkShowTreeview->show();
    } else {
        chkShowTreeview->setValue(0);
        chkShowTreeview->hide();
    }
    TabStrip_Click();
    TabStripFilemode_Click();
    readDirectory();
    updateFileViews();
    updateSelectionCount(false);
    updateExecuteButton();
    txtPath->setFocus();
    commandLineRun();
}

void FrmMain::commandLineRun()
{
    if (startMode.isEmpty())
        return;
    if (settingsLoadFailed) {
        exitStatus = 2;
        ui.message(this, productTitle,
                   QStringLiteral("Error loading settings!\n\nThe command-line run was not started."),
                   QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok);
        if (exitAfterRun)
            close();
        return;
    }
    struct Mode {
        const char* word;
        const char* tab;
        platform::OptionButton* option;
    };
    const Mode modes[] = {
        {"modereplace", "Replace", optReplaceSingle},    {"modebatchreplace", "Replace", optReplaceBatch},
        {"modecase", "Case", nullptr},                   {"modeenum", "Enum", chkEnumTab_Enum},
        {"modenormalize", "Enum", chkEnumTab_Normalize}, {"modespace", "misc", nullptr},
        {"modedate", "Attrib", optAttrib_Date},          {"modeattrib", "Attrib", optAttrib_Attributes},
        {"modeadd", "AddCrop", optAdd},                  {"modecrop", "AddCrop", optCrop},
        {"modemp3", "Mp3", nullptr},                     {"modeformat", "Format", chkFormatTab_Format},
        {"modefiletype", "Format", chkFormatTab_Detect},
    };
    const QString word = startMode.toLower();
    for (const Mode& m : modes) {
        if (word != QLatin1String(m.word))
            continue;
        if (m.option)
            m.option->select();
        const QString tab = QString::fromLatin1(m.tab);
        if (TabStrip->selectedKey() == tab)
            TabStrip_Click();
        else
            TabStrip->selectKey(tab);
        break;
    }
    if (cmdExecute->isEnabled()) {
        execute.run.outcome = RunOutcome::None;
        cmdExecute_Click();
        exitStatus = execute.run.outcome == RunOutcome::NotStarted   ? 2
                     : execute.run.outcome == RunOutcome::SomeFailed ? 1
                                                                     : 0;
    }
    if (exitAfterRun) {
        ExecuteHost h = executeHost();
        unloadLogWindow(h);
        close();
    }
}

// ---------------------------------------------------------------- close and exit

bool FrmMain::Form_QueryUnload()
{
    // Refused while long list work shows the hourglass, or while the window is disabled.
    return !(hourglass() || !isEnabled() || executeBusy != 0);
}

void FrmMain::closeEvent(QCloseEvent* e)
{
    if (exited) {
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
    state.settings.storedPath = storedPath;
    {
        platform::SettingsStore store;
        saveSettings(store, state.logs, platform::programFolder(), state.settings, state.tables);
    }
    exited = true;
    tmrPreview->stop();
    QCoreApplication::quit();
}

// ---------------------------------------------------------------- layout

void FrmMain::resizeEvent(QResizeEvent* e)
{
    QMainWindow::resizeEvent(e);
    Form_Resize();
}

void FrmMain::Form_Resize()
{
    if (isMinimized() || !uiBuilt_)
        return;
    // Twips of the client area; the file-mode strip keeps its design place.
    const int w = centralWidget()->width() * 15;
    const int h = (centralWidget()->height() + StatusBar->height()) * 15;
    const int tabWidth = w - 4560 - 180;
    const int tabHeight = h - 120 - 830 + 375;
    place(fileBody, 4560, 120 + 345, std::max(tabWidth, 300), std::max(tabHeight - 345, 300));
    for (QWidget* list : {static_cast<QWidget*>(lwDragDrop), static_cast<QWidget*>(TreeView), static_cast<QWidget*>(lwDirectory)})
        list->resize(std::max(tabWidth - 150, 150) / 15, std::max(tabHeight - 800 + 230, 150) / 15);
    const int pathWidth = std::max(tabWidth - 1990, 300);
    txtPath->resize(pathWidth / 15, txtPath->height());
    txtPattern->move((5805 + pathWidth + 100) / 15, txtPattern->y());
}

// A small screen or a hidden logo: the left column moves up by the logo's height.
void FrmMain::compactLayout()
{
    imgLogo->hide();
    for (QWidget* w : {static_cast<QWidget*>(frmOptions), static_cast<QWidget*>(TabStrip), static_cast<QWidget*>(tabBody),
                       static_cast<QWidget*>(cmdExecute), static_cast<QWidget*>(cmdUndo), static_cast<QWidget*>(cmdSettings),
                       static_cast<QWidget*>(cmdHelp), static_cast<QWidget*>(cmdAbout), static_cast<QWidget*>(frmFindReplace),
                       static_cast<QWidget*>(frmConvertCase), static_cast<QWidget*>(frmSetAttributes),
                       static_cast<QWidget*>(frmAddCrop), static_cast<QWidget*>(frmMp3Tag), static_cast<QWidget*>(frmEnum),
                       static_cast<QWidget*>(frmFormat), static_cast<QWidget*>(frmMisc)})
        w->move(w->x(), w->y() - 760 / 15);
}

// ---------------------------------------------------------------- keys and buttons

void FrmMain::keyPressEvent(QKeyEvent* e)
{
    QMainWindow::keyPressEvent(e);
}

bool FrmMain::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::MouseButtonPress) {
        for (size_t i = 0; i < frame.size(); ++i)
            if (watched == frame[i]) {
                frame_Click(int(i));
                break;
            }
    }
    if (e->type() == QEvent::KeyPress && isActiveWindow()) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_F1) {
            cmdHelp_Click();
            return true;
        }
        if (key == Qt::Key_F5) {
            if (executeLocked(executeHost()))
                return true;
            cmdAbout->setFocus();
            QCoreApplication::processEvents();
            updateExecuteButton();
            QCoreApplication::processEvents();
            if (cmdExecute->isEnabled())
                cmdExecute_Click();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, e);
}

void FrmMain::cmdHelp_Click()
{
    const QString help = platform::shippedFile(QStringLiteral("help.html"));
    if (!help.isEmpty())
        ui.openUrl(QUrl::fromLocalFile(help));
}

void FrmMain::cmdExecute_Click()
{
    ExecuteHost host = executeHost();
    runRename(host);
}

void FrmMain::cmdUndo_Click()
{
    ExecuteHost host = executeHost();
    runUndo(host);
}

ExecuteHost FrmMain::executeHost()
{
    ExecuteHost h;
    h.window = this;
    h.ui = &ui;
    h.logs = &state.logs;
    h.files = &state.files;
    h.preview = &state.preview;
    h.state = &execute;
    h.listOptions = &listOptions;
    h.settings = &state.settings;
    h.executeBusy = &executeBusy;
    h.fileMode = &fileMode;
    h.dirsAllowed = &dirsAllowed;
    h.lwDirectory = lwDirectory;
    h.lwDragDrop = lwDragDrop;
    h.treeView = TreeView;
    h.chkFiles = chkFiles;
    h.chkDirs = chkDirs;
    h.chkThumbnailsFreeSelect = chkThumbnailsFreeSelect;
    h.chkShowTreeview = chkShowTreeview;
    h.cmdExecute = cmdExecute;
    h.cmdUndo = cmdUndo;
    h.statusBar = StatusBar;
    h.modeKey = [this] { return TabStrip->selectedKey(); };
    h.readOptions = [this] { return readOptions(); };
    h.nameServices = [this](const RenameOptions& o) { return nameServices(o); };
    h.updateExecuteButton = [this] { updateExecuteButton(); };
    h.readDirectory = [this] { readDirectory(); };
    h.updateFileViews = [this] { updateFileViews(); };
    h.updateSelectionCount = [this](bool force) { updateSelectionCount(force); };
    h.generateThumbnailsFreeSelect = [this] { generateThumbnailsFreeSelect(); };
    h.swapListItems = [fh = fileListHost()](int a, int b) mutable { ::swapListItems(fh, a, b); };
    h.getSysIconFreeSel = [fh = fileListHost()](const QString& path, bool isDir) mutable {
        return ::getSysIconFreeSel(fh, path, isDir ? -1 : 0);
    };
    return h;
}

// ---------------------------------------------------------------- tab strips

void FrmMain::TabStrip_Click()
{
    if (mainWindowReady == 0)
        return;
    bool dirs = true, processName = true, processExt = true;
    for (QFrame* f : {frmFindReplace, frmConvertCase, frmSetAttributes, frmAddCrop, frmMp3Tag, frmEnum, frmFormat, frmMisc})
        f->hide();
    const QString key = TabStrip->selectedKey();
    auto show = [](QFrame* f) {
        f->show();
        f->raise();
    };
    if (key == QLatin1String("Replace")) {
        show(frmFindReplace);
    } else if (key == QLatin1String("AddCrop")) {
        show(frmAddCrop);
    } else if (key == QLatin1String("Case")) {
        show(frmConvertCase);
        processName = processExt = false;
    } else if (key == QLatin1String("misc")) {
        show(frmMisc);
        processName = processExt = false;
    } else if (key == QLatin1String("Attrib")) {
        show(frmSetAttributes);
        processName = processExt = false;
        if (optAttrib_Date->isChecked())
            dirs = false;
    } else if (key == QLatin1String("Enum")) {
        show(frmEnum);
        if (chkEnumTab_Enum->isChecked())
            processName = processExt = false;
    } else if (key == QLatin1String("Format")) {
        show(frmFormat);
        if (chkFormatTab_Detect->isChecked())
            dirs = processName = processExt = false;
    } else if (key == QLatin1String("Mp3")) {
        if (mp3InitFailed == -1) {
            ui.message(this, productTitle,
                       QStringLiteral("The Mp3 library failed to initialize! You will not be able\n"
                                      "to use any Mp3 featues. You can probably solve this\n"
                                      "problem by re-installing Vexor Renamer!"),
                       QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok);
            mp3InitFailed = 0;
        }
        show(frmMp3Tag);
        dirs = processName = processExt = false;
        chkFiles->setValue(1);
    }
    if (fileMode == 1) {
        chkDirs->setEnabled(false);
    } else {
        chkDirs->setEnabled(dirs);
        if (!dirs) {
            chkFiles->setValue(1);
            chkDirs->setValue(0);
        }
    }
    dirsAllowed = dirs ? -1 : 0;
    chkProcessFilename->setEnabled(processName);
    chkProcessFileExt->setEnabled(processExt);
    updateExecuteButton();
    if (!isEnabled())
        return;
    if (key == QLatin1String("Replace") && optReplaceSingle->isChecked())
        txtFind->setFocus();
    if (key == QLatin1String("AddCrop") && optAdd->isChecked())
        txtAdd->setFocus();
    if (key == QLatin1String("AddCrop") && optCrop->isChecked())
        txtCropNumber->setFocus();
    if (key == QLatin1String("Attrib"))
        chkR->setFocus();
    if (key == QLatin1String("Mp3"))
        txtMp3Format->setFocus();
    if (key == QLatin1String("Enum") && chkEnumTab_Enum->isChecked())
        txtEnumFormat->setFocus();
    if (key == QLatin1String("Enum") && chkEnumTab_Normalize->isChecked())
        txtNormalize->setFocus();
    if (key == QLatin1String("Format") && chkFormatTab_Format->isChecked())
        txtFormat->setFocus();
    if (key == QLatin1String("Format") && chkFormatTab_Detect->isChecked())
        chkFileDetect_KeepExt->setFocus();
}

void FrmMain::TabStripFilemode_Click()
{
    const QString key = TabStripFilemode->selectedKey();
    if (key == QLatin1String("listview")) {
        fileMode = 0;
        txtPath->setEnabled(true);
        txtPattern->setEnabled(true);
        chkFiles->setEnabled(true);
        chkDirs->setEnabled(dirsAllowed == -1);
        chkSub->setEnabled(true);
        cmdRefresh->show();
        cmdParentDir->show();
        cmdDragDropDel->hide();
        cmdDragDropClear->hide();
        cmdDragDropAdd->hide();
        lwDragDrop->hide();
        if (listOptions.enableTreeview == -1 || listOptions.enableTreeview == 1)
            chkShowTreeview->show();
        txtPath->show();
        txtPattern->show();
        cmdShowDirReq->show();
        chkThumbnails->show();
        chkThumbnailsFreeSelect->hide();
        if (chkShowTreeview->value() == 1) {
            lwDirectory->hide();
            TreeView->show();
            TreeView->raise();
        } else {
            TreeView->hide();
            lwDirectory->show();
            lwDirectory->raise();
        }
        if (mainWindowReady == -1)
            txtPath->setFocus();
    } else if (key == QLatin1String("dragdrop")) {
        fileMode = 1;
        txtPath->setEnabled(false);
        txtPattern->setEnabled(false);
        chkFiles->setEnabled(false);
        chkDirs->setEnabled(false);
        chkSub->setEnabled(false);
        cmdRefresh->hide();
        cmdParentDir->hide();
        cmdDragDropDel->show();
        cmdDragDropClear->show();
        cmdDragDropAdd->show();
        TreeView->hide();
        lwDirectory->hide();
        lwDragDrop->show();
        lwDragDrop->raise();
        chkThumbnails->hide();
        chkThumbnailsFreeSelect->show();
        chkShowTreeview->hide();
        txtPath->hide();
        txtPattern->hide();
        cmdShowDirReq->hide();
        if (isEnabled() && mainWindowReady == -1)
            lwDragDrop->setFocus();
    }
    updateSelectionCount(false);
    updateExecuteButton();
}

void FrmMain::frame_Click(int index)
{
    platform::OptionButton* target = nullptr;
    switch (index) {
    case 0: target = optAdd; break;
    case 1: target = optCrop; break;
    case 2: target = optAttrib_Attributes; break;
    case 3: target = optAttrib_Date; break;
    case 8: target = chkFormatTab_Format; break;
    case 9: target = chkFormatTab_Detect; break;
    case 11: target = chkEnumTab_Enum; break;
    case 12: target = chkEnumTab_Normalize; break;
    case 13: target = optReplaceSingle; break;
    case 14: target = optReplaceBatch; break;
    default: break;
    }
    if (target)
        target->select();
}

// ---------------------------------------------------------------- the validation gate

RenameOptions FrmMain::readOptions() const
{
    RenameOptions o;
    o.processName = chkProcessFilename->value();
    o.processExt = chkProcessFileExt->value();
    o.replaceBatch = optReplaceBatch->isChecked();
    o.findText = txtFind->text();
    o.replaceText = txtReplace->text();
    o.caseSensitive = chkCaseSensitive->value();
    o.swapMode = chkReplaceMode->value();
    o.replaceStart = txtReplaceStart->text();
    o.replaceCount = txtReplaceCount->text();
    for (size_t i = 0; i < Case1.size(); ++i)
        if (Case1[i]->isChecked())
            o.nameCase = int(i);
    for (size_t i = 0; i < Case2.size(); ++i)
        if (Case2[i]->isChecked())
            o.extCase = int(i);
    o.useExceptions = chkExceptionsEnabled->value();
    o.trimLeading = chkSpaceBeginning->value();
    o.trimTrailing = chkSpaceEnd->value();
    o.shrinkSpaces = chkSpaceShrink->value();
    o.dateMode = optAttrib_Date->isChecked();
    o.attrReadOnly = chkR->value();
    o.attrHidden = chkH->value();
    o.attrSystem = chkS->value();
    o.attrArchive = chkA->value();
    o.setCreated = chkDateCreated->value();
    o.setAccessed = chkDateAccessed->value();
    o.setModified = chkDateModified->value();
    o.useDate = chkDateDate->value();
    o.useTime = chkDateTime->value();
    o.dateText = platform::dateText(dtDate->date());
    o.timeText = platform::timeText(dtTime->time());
    o.cropMode = optCrop->isChecked();
    o.addText = txtAdd->text();
    o.addPos = txtAddPos->text();
    o.addFromEnd = optAddEnding->isChecked();
    o.cropCount = txtCropNumber->text();
    o.cropPos = txtCropPos->text();
    o.cropFromEnd = optCropEnding->isChecked();
    o.normalizeMode = chkEnumTab_Normalize->isChecked();
    o.enumFormat = txtEnumFormat->text();
    o.enumStart = txtEnumStart->text();
    o.enumStep = txtEnumStep->text();
    o.enumDigits = txtEnumZeros->text();
    o.enumAutoDigits = chkEnumAutoZeros->value();
    o.enumResetPerDir = chkEnumResetBetweenDirs->value();
    o.normalizeWidth = txtNormalize->text();
    o.mp3Format = txtMp3Format->text();
    o.mp3AddExtension = chkMp3AddExtension->value();
    o.mp3OnlyFilledTags = chkMp3OnlyFilledTags->value();
    o.mp3OnlyMp3Files = chkMp3OnlyMp3Files->value();
    o.mp3UseId3v2 = chkMp3UseID3v2->value();
    o.detectMode = chkFormatTab_Detect->isChecked();
    o.formatText = txtFormat->text();
    o.formatParts = txtFormatParts->text();
    o.allTagsRequired = chkFormatAllMustBeAvailable->value();
    o.detectKeepExt = chkFileDetect_KeepExt->value();
    o.detectTryText = chkFileDetect_TryText->value();
    o.detectTryMp3 = chkFileDetect_TryMp3->value();
    return o;
}

GateInputs FrmMain::gateInputs() const
{
    GateInputs in;
    in.fileMode = fileMode;
    in.chkFiles = chkFiles->value();
    in.chkDirs = chkDirs->value();
    in.filesEnabled = chkFiles->isEnabled();
    in.dirsEnabled = chkDirs->isEnabled();
    in.fileEntries = int(state.files.lstFiles[fileMode].size());
    in.dirEntries = int(state.files.lstDirs[fileMode].size());
    in.modeKey = TabStrip->selectedKey();
    in.onlySelectedActive = state.files.onlySelectedActive;
    in.selectedCount = state.files.selectedCount;
    in.batchCount = batchCount();
    in.options = readOptions();
    return in;
}

void FrmMain::updateExecuteButton()
{
    if (mainWindowReady == 0)
        return;
    tmrPreview->stop();
    const GateVerdict v = judgeGate(gateInputs());
    StatusBar->setPanelText(QStringLiteral("main"), v.countsText());
    cmdExecute->setEnabled(v.enabled);
    QCoreApplication::processEvents();
    if (chkPreview->value() == 1)
        state.preview.previewRequested = -1;
    tmrPreview->start();
}

void FrmMain::connectGate()
{
    // The option panels' controls have their own handlers.
    panels = new PanelHandlers(*this);
    chkFiles->onClick = [this] { chkFiles_Click(); };
    chkDirs->onClick = [this] { chkDirs_Click(); };
    chkSub->onClick = [this] { chkSub_Click(); };
    chkProcessFilename->onClick = [this] { chkProcessFilename_Click(); };
    chkProcessFileExt->onClick = [this] { chkProcessFileExt_Click(); };
    chkOnlyRenameSelected->onClick = [this] { chkOnlyRenameSelected_Click(); };
    chkPreview->onClick = [this] { chkPreview_Click(); };
    chkShowTreeview->onClick = [this] { chkShowTreeview_Click(); };
    chkThumbnails->onClick = [this] { chkThumbnails_Click(); };
    chkThumbnailsFreeSelect->onClick = [this] { chkThumbnailsFreeSelect_Click(); };
    connect(TabStrip, &platform::TabStrip::currentChanged, this, [this] { TabStrip_Click(); });
    connect(TabStripFilemode, &platform::TabStrip::currentChanged, this, [this] { TabStripFilemode_Click(); });
    connect(cmdExecute, &QPushButton::clicked, this, [this] { cmdExecute_Click(); });
    connect(cmdUndo, &QPushButton::clicked, this, [this] { cmdUndo_Click(); });
    connect(cmdHelp, &QPushButton::clicked, this, [this] { cmdHelp_Click(); });
    // Every selection change in either list is counted at once, so the count,
    // the gate, the preview and the run agree with what the user selected.
    for (platform::ListView* lw : {lwDirectory, lwDragDrop})
        connect(lw->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this, lw] {
            if (lw == activeList())
                updateSelectionCount(false);
        });
    for (QGroupBox* f : frame)
        f->installEventFilter(this);
    qApp->installEventFilter(this);
}

bool FrmMain::showSettingsWindow(const QString& tabKey)
{
    // The options window opens here, modally, on the tab with this key; until
    // it exists the panels' "Edit..." buttons do nothing.
    Q_UNUSED(tabKey);
    return false;
}

// ---------------------------------------------------------------- list options

void FrmMain::refreshDirectoryView()
{
    if (txtPath->currentText() != state.files.listedDirectory)
        readDirectory();
    updateFileViews();
}

void FrmMain::chkFiles_Click()
{
    if (mainWindowReady == 0)
        return;
    if (!chkDirs->isEnabled()) {
        chkFiles->setValue(1);
        return;
    }
    if (chkFiles->value() == 1 || chkDirs->value() == 1)
        refreshDirectoryView();
    else
        chkDirs->setValue(1);
}

void FrmMain::chkDirs_Click()
{
    if (chkFiles->value() == 1 || chkDirs->value() == 1)
        refreshDirectoryView();
    else
        chkFiles->setValue(1);
}

void FrmMain::chkSub_Click()
{
    readDirectory();
    updateFileViews();
}

void FrmMain::chkProcessFilename_Click()
{
    if (chkProcessFilename->value() == 0)
        chkProcessFileExt->setValue(1);
    updateExecuteButton();
}

void FrmMain::chkProcessFileExt_Click()
{
    if (chkProcessFileExt->value() == 0)
        chkProcessFilename->setValue(1);
    updateExecuteButton();
}

void FrmMain::chkOnlyRenameSelected_Click()
{
    updateSelectionCount(false);
    updateExecuteButton();
}

void FrmMain::chkPreview_Click()
{
    if (chkPreview->value() == 1)
        state.preview.previewRequested = -1;
    else
        StatusBar->setPanelText(QStringLiteral("preview"), QString());
}

void FrmMain::chkShowTreeview_Click()
{
    if (fileMode == 1)
        return;
    if (chkShowTreeview->value() == 0) {
        TreeView->hide();
        lwDirectory->show();
        lwDirectory->raise();
        chkPreview->setEnabled(true);
        chkThumbnails->setEnabled(true);
        chkOnlyRenameSelected->setEnabled(true);
        if (mainWindowReady == -1)
            lwDirectory->setFocus();
        return;
    }
    if (state.files.thumbnailsShownDir == -1) {
        stopPreview(state.preview);
        readDirectory();
        updateFileViews();
    }
    lwDirectory->hide();
    TreeView->show();
    TreeView->raise();
    chkPreview->setEnabled(false);
    chkThumbnails->setEnabled(false);
    chkOnlyRenameSelected->setEnabled(false);
    if (mainWindowReady == -1)
        TreeView->setFocus();
}

// A list that shows only its hint row holds no entries to draw.
void FrmMain::chkThumbnails_Click()
{
    if (lwDirectory->listFont().bold()) {
        chkThumbnails->setValue(0);
        return;
    }
    if (chkThumbnails->value() != 0) {
        chkPreview->setEnabled(false);
        lwDirectory->setView(0);
        chkShowTreeview->setEnabled(false);
        if (state.files.thumbnailsShownDir == 0) {
            stopPreview(state.preview);
            generateThumbnails();
        }
    } else {
        chkPreview->setEnabled(true);
        lwDirectory->setView(3);
        chkShowTreeview->setEnabled(true);
    }
}

void FrmMain::chkThumbnailsFreeSelect_Click()
{
    if (lwDragDrop->listFont().bold()) {
        chkThumbnailsFreeSelect->setValue(0);
        return;
    }
    if (chkThumbnailsFreeSelect->value() != 0) {
        chkPreview->setEnabled(false);
        lwDragDrop->setView(0);
        if (state.files.thumbnailsShownFreeSel == 0)
            generateThumbnailsFreeSelect();
    } else {
        chkPreview->setEnabled(true);
        lwDragDrop->setView(3);
    }
}

void FrmMain::generateThumbnails()
{
    FileListHost h = fileListHost();
    try {
        ::generateThumbnails(h);
    } catch (const platform::Failure& f) {
        state.logs.logError(f.errorText() + QStringLiteral("generateThumbnails"));
    }
}

void FrmMain::generateThumbnailsFreeSelect()
{
    FileListHost h = fileListHost();
    try {
        ::generateThumbnailsFreeSelect(h);
    } catch (const platform::Failure& f) {
        state.logs.logError(f.errorText() + QStringLiteral("generateThumbnailsFreeSelect"));
    }
}

void FrmMain::resetIconLists()
{
    FileListHost h = fileListHost();
    resetSysIcons(h);
    resetSysIconsFreeSel(h);
    reloadFreeSelectIcons(h);
    if (chkThumbnailsFreeSelect->value() == 1 && !lwDragDrop->listFont().bold())
        generateThumbnailsFreeSelect();
}

// ---------------------------------------------------------------- timer

void FrmMain::tmrPreview_Timer()
{
    if (state.preview.labelEditPending == -1) {
        state.preview.labelEditPending = 0;
        activeList()->startLabelEdit();
    }
    if (state.files.selectionCountPending == -1 && !ui.leftButtonDown())
        updateSelectionCount(false);
    if (state.preview.previewRequested == -1) {
        const bool attrib = TabStrip->selectedKey() == QLatin1String("Attrib");
        StatusBar->setPanelText(QStringLiteral("preview"), attrib ? QStringLiteral("No Preview Available...")
                                                                  : QStringLiteral("Generating Preview..."));
        state.preview.previewRequested = 0;
        generatePreview(state.preview, previewInputs(), state.random, state.logs);
        if (!attrib)
            StatusBar->setPanelText(QStringLiteral("preview"), previewCountText(state.preview.previewRenameCount));
    }
    if (windowState() == Qt::WindowNoState && mainWindowReady == -1) {
        state.settings.Main_Top = std::clamp(y() * 15, -32768, 32767);
        state.settings.Main_Left = std::clamp(x() * 15, -32768, 32767);
    }
}

NameServices FrmMain::nameServices(const RenameOptions& options)
{
    NameServices s;
    s.logs = &state.logs;
    s.random = &state.random;
    s.tables = &state.tables;
    s.formatName = [this, options](const QString& dir, const QString& name) {
        FormatContext c{state.random};
        c.logs = &state.logs;
        c.media.logs = &state.logs;
        c.media.tables = &state.tables;
        c.media.mpegBytesToRead = state.settings.mpegBytesToRead;
        c.htmlTitleReadSize = state.settings.getHtmlTitle_ReadSize;
        c.renameModeKey = TabStrip->selectedKey();
        c.renameModeCaption = TabStrip->tabCaption(TabStrip->currentIndex());
        c.yield = [] { QCoreApplication::processEvents(); };
        return formatFilename(name, dir, options, c);
    };
    s.detectExtension = [this, options](const QString& dir, const QString& name) {
        return detectFileType(dir, name, options, state.tables.fileTypes, mp3Probe(mp3Library.get()));
    };
    s.mp3Name = [this, options](const QString& dir, const QString& name) -> std::optional<QString> {
        const QString n = mp3NewName(mp3Library.get(), dir, name, options);
        return n.isEmpty() ? std::nullopt : std::optional<QString>(n);
    };
    return s;
}

PreviewInputs FrmMain::previewInputs()
{
    PreviewInputs in;
    in.list = activeList();
    in.directoryList = TabStripFilemode->selectedKey() == QLatin1String("listview");
    in.list = in.directoryList ? lwDirectory : lwDragDrop;
    in.executeEnabled = [this] { return cmdExecute->isEnabled(); };
    in.modeKey = TabStrip->selectedKey();
    in.modeCaption = TabStrip->tabCaption(TabStrip->currentIndex());
    in.options = readOptions();
    in.onlySelectedActive = state.files.onlySelectedActive;
    in.selectedCount = state.files.selectedCount;
    in.alwaysShowDirs = listOptions.alwaysShowDirs;
    in.services = nameServices(in.options);
    in.yield = platform::throttledYield();
    if (!state.files.undecodable.isEmpty())
        in.unrenamable = [this](const QString& path) { return isUnrenamable(state.files, path); };
    return in;
}

// ---------------------------------------------------------------- directory reading

FileListHost FrmMain::fileListHost()
{
    FileListHost h;
    h.window = this;
    h.ui = &ui;
    h.logs = &state.logs;
    h.files = &state.files;
    h.preview = &state.preview;
    h.options = &listOptions;
    h.lwDirectory = lwDirectory;
    h.lwDragDrop = lwDragDrop;
    h.treeView = TreeView;
    h.txtPath = txtPath;
    h.txtPattern = txtPattern;
    h.chkFiles = chkFiles;
    h.chkDirs = chkDirs;
    h.chkSub = chkSub;
    h.chkThumbnails = chkThumbnails;
    h.chkShowTreeview = chkShowTreeview;
    h.chkOnlyRenameSelected = chkOnlyRenameSelected;
    h.cmdExecute = cmdExecute;
    h.statusBar = StatusBar;
    h.mainWindowReady = &mainWindowReady;
    h.fileMode = &fileMode;
    h.executeBusy = &executeBusy;
    h.updateExecuteButton = [this] { updateExecuteButton(); };
    h.generateThumbnails = [this] { generateThumbnails(); };
    return h;
}

void FrmMain::readDirectory()
{
    FileListHost h = fileListHost();
    ::readDirectory(h);
}

void FrmMain::updateFileViews()
{
    FileListHost h = fileListHost();
    ::updateFileViews(h);
}

void FrmMain::updateSelectionCount(bool force)
{
    FileListHost h = fileListHost();
    ::updateSelectionCount(h, force ? -1 : 0);
}
