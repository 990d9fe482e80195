// Construction of the main window's controls. Places are given in twips, as
// the window's design keeps them, and converted at the font's twips per pixel.
#include "mainwindow/framelayout.h"
#include "mainwindow/frmmain.h"
#include "mainwindow/panels/addcroppanel.h"
#include "mainwindow/panels/attributespanel.h"
#include "mainwindow/panels/casepanel.h"
#include "mainwindow/panels/enumpanel.h"
#include "mainwindow/panels/findreplacepanel.h"
#include "mainwindow/panels/formatpanel.h"
#include "mainwindow/panels/mp3panel.h"
#include "mainwindow/panels/spacepanel.h"
#include "mainwindow/widgetbuild.h"
#include "platform/captionfit.h"
#include "platform/places.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPainter>
#include <QStyle>
#include <QVBoxLayout>

using platform::CheckBox;

namespace {

using widgetbuild::named;

QLabel* label(const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setWordWrap(false);
    return l;
}

// The logo is a file shipped with the program; without it the place stays empty.
QPixmap logoPixmap()
{
    const QString path = platform::shippedFile(QStringLiteral("logo.png"));
    return path.isEmpty() ? QPixmap() : QPixmap(path);
}

} // namespace

void FrmMain::place(QWidget* w, int left, int top, int width, int height)
{
    w->setGeometry(platform::pixelRect(left, top, width, height));
}

void FrmMain::buildUi()
{
    client = new QWidget;
    client->setObjectName(QStringLiteral("client"));
    clientScroll = named(new platform::ScrollClient(client, this), QStringLiteral("clientScroll"));
    setCentralWidget(clientScroll);
    QWidget* central = client;

    imgLogo = named(new QLabel(central), QStringLiteral("imgLogo"));
    imgLogo->setPixmap(logoPixmap());
    place(imgLogo, 90, 45, 4470, 810);

    // List options: "Include:" and "Process:" rows.
    frmOptions = named(new QFrame(central), QStringLiteral("frmOptions"));
    place(frmOptions, 120, 840, 4500, 1335); // a little wider than designed: captions are wider here
    chkFiles = named(new CheckBox(QStringLiteral("Files"), frmOptions), QStringLiteral("chkFiles"));
    chkDirs = named(new CheckBox(QStringLiteral("Directories"), frmOptions), QStringLiteral("chkDirs"));
    chkSub = named(new CheckBox(QStringLiteral("Subdirectories"), frmOptions), QStringLiteral("chkSub"));
    chkProcessFilename =
        named(new CheckBox(QStringLiteral("Process Name"), frmOptions), QStringLiteral("chkProcessFilename"));
    chkProcessFileExt =
        named(new CheckBox(QStringLiteral("Process Extension"), frmOptions), QStringLiteral("chkProcessFileExt"));
    chkOnlyRenameSelected = named(new CheckBox(QStringLiteral("Only Rename Selected"), frmOptions),
                                  QStringLiteral("chkOnlyRenameSelected"));
    {
        auto* grid = new QGridLayout(frmOptions);
        grid->setContentsMargins(0, 2, 0, 2);
        grid->setHorizontalSpacing(2);
        grid->setVerticalSpacing(2);
        grid->addWidget(label(QStringLiteral("Include:"), frmOptions), 0, 0);
        grid->addWidget(chkFiles, 0, 1);
        grid->addWidget(chkDirs, 0, 2);
        grid->addWidget(chkSub, 1, 1, 1, 2);
        grid->addWidget(label(QStringLiteral("Process:"), frmOptions), 2, 0);
        grid->addWidget(chkProcessFilename, 2, 1);
        grid->addWidget(chkProcessFileExt, 2, 2);
        grid->addWidget(chkOnlyRenameSelected, 3, 1, 1, 2);
        grid->setColumnStretch(3, 1);
    }
    chkFiles->setValue(1);
    chkDirs->setValue(0);
    chkSub->setValue(0);
    chkProcessFilename->setValue(1);
    chkProcessFileExt->setValue(0);
    chkOnlyRenameSelected->setValue(1);

    // Rename-mode tab strip: the tabs and the body the panels lie on.
    tabBody = named(new QFrame(central), QStringLiteral("tabBody"));
    tabBody->setFrameShape(QFrame::StyledPanel);
    TabStrip = named(new platform::TabStrip(central, 4), QStringLiteral("TabStrip"));
    for (const RenameModeRow& m : renameModes())
        TabStrip->addKeyedTab(QString::fromLatin1(m.key), QString::fromLatin1(m.caption));
    // Eight tabs do not fit one row of the strip's width: two rows of four.
    place(TabStrip, 120, 2280, 4335, 690);
    TabStrip->resize(std::max(TabStrip->width(), TabStrip->minimumSizeHint().width()), TabStrip->height());
    place(tabBody, 120, 2280 + 690, 4335, 4215 - 690);
    tabBody->lower();

    buildPanels();

    cmdExecute = named(new QPushButton(QStringLiteral("Rename!"), central), QStringLiteral("cmdExecute"));
    cmdExecute->setToolTip(QStringLiteral("Rename Files & Directories (F5)"));
    QFont bold = cmdExecute->font();
    bold.setBold(true);
    cmdExecute->setFont(bold);
    cmdUndo = named(new QPushButton(QStringLiteral("Undo"), central), QStringLiteral("cmdUndo"));
    cmdUndo->setToolTip(QStringLiteral("Undo Last Operation"));
    cmdUndo->setEnabled(false);
    cmdSettings = named(new QPushButton(QStringLiteral("Settings"), central), QStringLiteral("cmdSettings"));
    cmdSettings->setToolTip(QStringLiteral("Open Settings Window"));
    cmdHelp = named(new QPushButton(QStringLiteral("Help"), central), QStringLiteral("cmdHelp"));
    cmdHelp->setToolTip(QStringLiteral("Show Help (F1)"));
    cmdAbout = named(new QPushButton(QStringLiteral("About"), central), QStringLiteral("cmdAbout"));
    cmdAbout->setToolTip(QStringLiteral("About Vexor Renamer"));
    place(cmdExecute, 120, 6600, 1575, 495);
    place(cmdUndo, 2040, 6600, 735, 495);
    place(cmdSettings, 2880, 6600, 735, 495);
    place(cmdHelp, 3720, 6600, 735, 240); // ends where About begins, not on it
    place(cmdAbout, 3720, 6840, 735, 255);
    cmdExecute->setEnabled(false);
    mp3Panel_->setEnterTarget(cmdExecute);
    platform::widenCaptions(central);

    buildListArea();
    buildBindings();

    StatusBar = named(new platform::StatusPanels(this), QStringLiteral("StatusBar"));
    setStatusBar(StatusBar);
    connect(clientScroll, &platform::ScrollClient::clientResized, this, &FrmMain::Form_Resize);

    // The window's keys; they work wherever the focus is inside the window
    // (see Form_KeyDown).
    const auto windowAction = [this](const QString& name, QKeySequence key) {
        auto* a = named(new QAction(this), name);
        // The window's key preview triggers the action and lets the key go on to
        // the focused control; the shortcut only names the key.
        a->setShortcut(key);
        a->setShortcutContext(Qt::WidgetShortcut);
        addAction(a);
        return a;
    };
    actHelp = windowAction(QStringLiteral("actHelp"), QKeySequence(Qt::Key_F1));
    actExecute = windowAction(QStringLiteral("actExecute"), QKeySequence(Qt::Key_F5));

    tmrPreview = named(new QTimer(this), QStringLiteral("tmrPreview"));
    tmrPreview->setInterval(100);
    connect(tmrPreview, &QTimer::timeout, this, &FrmMain::tmrPreview_Timer);
    tmrPreview->start();
}

void FrmMain::buildListArea()
{
    filePane = new FilePane(state_.files, client);
    const FilePane& p = *filePane;
    TabStripFilemode = p.TabStripFilemode;
    fileBody = p.fileBody;
    cmdRefresh = p.cmdRefresh;
    cmdParentDir = p.cmdParentDir;
    cmdShowDirReq = p.cmdShowDirReq;
    cmdDragDropAdd = p.cmdDragDropAdd;
    cmdDragDropDel = p.cmdDragDropDel;
    cmdDragDropClear = p.cmdDragDropClear;
    txtPath = p.txtPath;
    txtPattern = p.txtPattern;
    lwDirectory = p.lwDirectory;
    lwDragDrop = p.lwDragDrop;
    TreeView = p.TreeView;
    chkThumbnails = p.chkThumbnails;
    chkThumbnailsFreeSelect = p.chkThumbnailsFreeSelect;
    chkPreview = p.chkPreview;
    chkShowTreeview = p.chkShowTreeview;
}

// The eight option panels, in the order of the modes, on the tab strip's body.
void FrmMain::buildPanels()
{
    QWidget* central = client;
    const PanelContext context{ui, productTitle, state_, picker, [this] { return !activeListShowsHint(); }};
    findReplace_ = new FindReplacePanel(context, central);
    mp3Panel_ = new Mp3Panel(context, central);
    panels_ = {findReplace_,
               new CasePanel(context, central),
               new EnumPanel(context, central),
               new SpacePanel(context, central),
               new AttributesPanel(context, central),
               new AddCropPanel(context, central),
               mp3Panel_,
               new FormatPanel(context, central)};
    for (ModePanel* p : panels_)
        place(p, 240, 3000, 4095, p->mode() == RenameMode::Format ? 3360 : 3375);
    // Design state: the Convert Case panel in front.
    panel(RenameMode::Case)->show();
}

void FrmMain::fillTagLists()
{
    // Height of the opened list in twips, including the edit field.
    setComboDropHeight(platform::toPixels(2700), txtPath);
}

// The controls with their settings fields and the RenameOptions fields they
// fill, in the order the panels' handlers rely on at load (pattern boxes before
// their option keys, the attribute and date boxes before their option,
// everything before "Files" and "Directories").
void FrmMain::buildBindings()
{
    using S = Settings;
    using O = RenameOptions;
    SettingsBindings& b = bindings_;
    b.check(chkShowTreeview, &S::chkShowTreeview);
    b.check(chkOnlyRenameSelected, &S::chkOnlyRenameSelected);
    b.text(txtPattern, &S::txtPattern);
    b.loadStep([this](const Settings& s) { txtPattern->setEnabled(s.txtPatternEnabled); });
    for (RenameMode m :
         {RenameMode::Mp3, RenameMode::Replace, RenameMode::Attrib, RenameMode::Case, RenameMode::AddCrop})
        panel(m)->addBindings(b);
    b.tab(TabStrip, &S::TabStrip);
    b.check(chkProcessFilename, &S::chkProcessFilename, &O::processName);
    b.check(chkProcessFileExt, &S::chkProcessFileExt, &O::processExt);
    b.check(chkPreview, &S::chkPreview);
    // The Format and Enum options decide about the Process pair: after it.
    for (RenameMode m : {RenameMode::Format, RenameMode::Enum, RenameMode::Space})
        panel(m)->addBindings(b);
    b.check(chkFiles, &S::chkFiles);
    b.check(chkDirs, &S::chkDirs);
    b.check(chkSub, &S::chkSub);
}
