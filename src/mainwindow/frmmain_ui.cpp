// Construction of the main window's controls. Places are given in twips, as
// the window's design keeps them, and converted at the font's twips per pixel.
#include "mainwindow/framelayout.h"
#include "mainwindow/frmmain.h"
#include "mainwindow/taglists.h"
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
using platform::OptionButton;
using platform::TextBox;
using platform::UpDown;

namespace {

using widgetbuild::named;
using widgetbuild::pictureButton;

QLabel* label(const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setWordWrap(false);
    return l;
}

// A row: widgets side by side, then a stretch.
QHBoxLayout* row(std::initializer_list<QWidget*> widgets)
{
    auto* h = new QHBoxLayout;
    h->setSpacing(4);
    for (QWidget* w : widgets)
        h->addWidget(w);
    h->addStretch(1);
    return h;
}

// Captions written for a narrower desktop font: one point smaller, so they fit.
void smallerFont(QWidget* w)
{
    QFont f = w->font();
    f.setPointSizeF(f.pointSizeF() - 1);
    w->setFont(f);
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
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("client"));
    setCentralWidget(central);

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
    buildModePanels();

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
    platform::widenCaptions(central);

    buildListArea();
    buildBindings();

    StatusBar = named(new platform::StatusPanels(this), QStringLiteral("StatusBar"));
    setStatusBar(StatusBar);

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
    filePane = new FilePane(state.files, centralWidget());
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

// A panel frame; a caption that begins with six spaces carries its option
// button, which a click on the frame selects.
static QGroupBox* makeFrame(std::array<QGroupBox*, 15>& frames, std::array<OptionButton*, 15>& frameOptions, int index,
                            const QString& caption, QWidget* parent, OptionButton** option = nullptr,
                            const QString& optionName = QString())
{
    // "&&" in the caption shows as one "&".
    auto* g = named(new QGroupBox(caption, parent), QStringLiteral("frame(%1)").arg(index));
    frames[size_t(index)] = g;
    if (option) {
        *option = named(new OptionButton(QString(), g), optionName);
        frameOptions[size_t(index)] = *option;
        (*option)->setGeometry(7, -1, 18, 18);
        (*option)->raise();
    }
    return g;
}

// The two options of a panel lie in separate frames, so Qt would not make them
// exclusive by itself: one group keeps exactly one of them selected, and a
// click on the selected one keeps it.
static void exclusivePair(QWidget* panel, OptionButton* a, OptionButton* b)
{
    auto* group = new QButtonGroup(panel);
    group->setExclusive(true);
    group->addButton(a);
    group->addButton(b);
}

static QFrame* makePanel(QWidget* parent, const QString& name)
{
    auto* p = named(new QFrame(parent), name);
    p->hide();
    return p;
}

void FrmMain::buildPanels()
{
    buildFindReplace();
    buildConvertCase();
    buildMisc();
    buildAttributes();
    buildAddCrop();
    buildEnum();
    buildMp3();
    buildFormat();
    place(frmFindReplace, 240, 3000, 4095, 3375);
    for (QFrame* f : {frmConvertCase, frmSetAttributes, frmAddCrop, frmMp3Tag, frmEnum, frmMisc})
        place(f, 240, 2880 + 120, 4095, 3495 - 120);
    place(frmFormat, 240, 2865 + 135, 4095, 3495 - 135);
    // Design state: the Convert Case panel in front.
    frmConvertCase->show();
}

static TextBox* numberBox(QWidget* parent, const QString& name, const QString& text, int maxLength)
{
    auto* t = named(new TextBox(parent), name);
    t->setText(text);
    t->setMaxLength(maxLength);
    t->setFixedWidth(12 + 7 * std::min(maxLength, 6));
    return t;
}

void FrmMain::buildFindReplace()
{
    frmFindReplace = makePanel(centralWidget(), QStringLiteral("frmFindReplace"));
    auto* v = new QVBoxLayout(frmFindReplace);
    v->setContentsMargins(0, 0, 0, 0);
    auto* single = makeFrame(frame, frameOption, 13, QStringLiteral("      Single Replace"), frmFindReplace,
                             &optReplaceSingle, QStringLiteral("optReplaceSingle"));
    auto* batch = makeFrame(frame, frameOption, 14, QStringLiteral("      Batch Replace"), frmFindReplace,
                            &optReplaceBatch, QStringLiteral("optReplaceBatch"));
    exclusivePair(frmFindReplace, optReplaceSingle, optReplaceBatch);
    txtFind = named(new TextBox(single), QStringLiteral("txtFind"));
    txtReplace = named(new TextBox(single), QStringLiteral("txtReplace"));
    cmdReplaceGetString =
        pictureButton(single, QStringLiteral("cmdReplaceGetString"), QStyle::SP_FileDialogContentsView,
                      QStringLiteral("Open visual assist window..."));
    chkCaseSensitive =
        named(new CheckBox(QStringLiteral("Case Sensitive"), single), QStringLiteral("chkCaseSensitive"));
    chkReplaceMode = named(new CheckBox(QStringLiteral("Swap Mode"), single), QStringLiteral("chkReplaceMode"));
    txtReplaceStart = numberBox(single, QStringLiteral("txtReplaceStart"), QStringLiteral("0"), 3);
    txtReplaceCount = numberBox(single, QStringLiteral("txtReplaceCount"), QStringLiteral("0"), 3);
    UpDownReplace1 = named(new UpDown(txtReplaceStart, 0, 999, single), QStringLiteral("UpDownReplace1"));
    UpDownReplace2 = named(new UpDown(txtReplaceCount, 0, 999, single), QStringLiteral("UpDownReplace2"));
    cmdReplaceGetPosition =
        pictureButton(single, QStringLiteral("cmdReplaceGetPosition"), QStyle::SP_FileDialogContentsView,
                      QStringLiteral("Open visual assist window..."));
    for (QToolButton* b : {cmdReplaceGetString, cmdReplaceGetPosition})
        b->setFixedSize(22, 20);
    auto* sv = new QVBoxLayout(single);
    sv->setContentsMargins(6, 14, 6, 4);
    sv->setSpacing(2);
    sv->addWidget(label(QStringLiteral("Look for..."), single));
    auto* findRow = new QHBoxLayout;
    findRow->addWidget(txtFind, 1);
    findRow->addWidget(cmdReplaceGetString);
    sv->addLayout(findRow);
    sv->addWidget(label(QStringLiteral("... and replace with:"), single));
    sv->addWidget(txtReplace);
    sv->addLayout(row({chkCaseSensitive, chkReplaceMode}));
    sv->addLayout(row({label(QStringLiteral("Start:"), single), txtReplaceStart, UpDownReplace1, cmdReplaceGetPosition,
                       label(QStringLiteral("Count:"), single), txtReplaceCount, UpDownReplace2}));

    cmdReplaceAdd = pictureButton(batch, QStringLiteral("cmdReplaceAdd"), QStyle::SP_ArrowDown,
                                  QStringLiteral("Add current replace settings to batch replace list"));
    cmdReplaceEdit = pictureButton(batch, QStringLiteral("cmdReplaceEdit"), QStyle::SP_FileDialogDetailedView,
                                   QStringLiteral("Edit batch replace list..."));
    lblBatchReplace =
        named(label(QStringLiteral("0 items in batch replace list..."), batch), QStringLiteral("lblBatchReplace"));
    auto* bv = new QHBoxLayout(batch);
    bv->setContentsMargins(6, 14, 6, 4);
    bv->addWidget(lblBatchReplace, 1);
    bv->addWidget(cmdReplaceAdd);
    bv->addWidget(cmdReplaceEdit);
    v->addWidget(single);
    v->addWidget(batch);
    v->addStretch(1);
    optReplaceSingle->setChecked(true);
}

void FrmMain::buildConvertCase()
{
    frmConvertCase = makePanel(centralWidget(), QStringLiteral("frmConvertCase"));
    auto* name = makeFrame(frame, frameOption, 4, QStringLiteral("Filename"), frmConvertCase);
    auto* ext = makeFrame(frame, frameOption, 5, QStringLiteral("File Extension"), frmConvertCase);
    auto* exc = makeFrame(frame, frameOption, 6, QStringLiteral("Exceptions"), frmConvertCase);
    const char* nameCaps[] = {"No Change",        "Upper case", "Lower case", "Capitalize sentences",
                              "Capitalize words", "Invert",     "Random"};
    const char* extCaps[] = {"No Change", "Upper case", "Lower case", "Capitalize", "Invert", "Random"};
    auto* nv = new QVBoxLayout(name);
    nv->setContentsMargins(3, 14, 0, 4);
    nv->setSpacing(1);
    for (int i = 0; i < 7; ++i) {
        Case1[size_t(i)] =
            named(new OptionButton(QString::fromLatin1(nameCaps[i]), name), QStringLiteral("Case1_%1").arg(i));
        nv->addWidget(Case1[size_t(i)]);
    }
    auto* ev = new QVBoxLayout(ext);
    ev->setContentsMargins(6, 14, 6, 4);
    ev->setSpacing(1);
    for (int i = 0; i < 6; ++i) {
        Case2[size_t(i)] =
            named(new OptionButton(QString::fromLatin1(extCaps[i]), ext), QStringLiteral("Case2_%1").arg(i));
        ev->addWidget(Case2[size_t(i)]);
    }
    ev->addStretch(1);
    chkExceptionsEnabled =
        named(new CheckBox(QStringLiteral("Use Exceptions"), exc), QStringLiteral("chkExceptionsEnabled"));
    cmdExceptionsEdit = pictureButton(exc, QStringLiteral("cmdExceptionsEdit"), QStyle::SP_FileDialogDetailedView,
                                      QStringLiteral("Edit Exceptions..."));
    auto* xv = new QHBoxLayout(exc);
    xv->setContentsMargins(6, 14, 6, 4);
    xv->addWidget(chkExceptionsEnabled, 1);
    xv->addWidget(cmdExceptionsEdit);
    auto* grid = new QGridLayout(frmConvertCase);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(name, 0, 0);
    grid->addWidget(ext, 0, 1);
    grid->addWidget(exc, 1, 0, 1, 2);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
    grid->setRowStretch(2, 1);
    Case1[4]->setChecked(true);
    Case2[2]->setChecked(true);
}

void FrmMain::buildMisc()
{
    frmMisc = makePanel(centralWidget(), QStringLiteral("frmMisc"));
    auto* f = makeFrame(frame, frameOption, 7, QStringLiteral("Space Trimming"), frmMisc);
    chkSpaceBeginning =
        named(new CheckBox(QStringLiteral("Remove leading spaces"), f), QStringLiteral("chkSpaceBeginning"));
    chkSpaceEnd = named(new CheckBox(QStringLiteral("Remove trailing spaces"), f), QStringLiteral("chkSpaceEnd"));
    chkSpaceShrink =
        named(new CheckBox(QStringLiteral("Shrink multiple spaces into one"), f), QStringLiteral("chkSpaceShrink"));
    auto* fv = new QVBoxLayout(f);
    fv->setContentsMargins(6, 14, 6, 4);
    for (CheckBox* c : {chkSpaceBeginning, chkSpaceEnd, chkSpaceShrink}) {
        c->setValue(1);
        fv->addWidget(c);
    }
    auto* v = new QVBoxLayout(frmMisc);
    v->setContentsMargins(0, 0, 0, 0);
    v->addWidget(f);
    auto* tip = label(QStringLiteral("Tip:   Right click on the file list\nto show a popup menu!"), frmMisc);
    v->addWidget(tip);
    v->addStretch(1);
}

void FrmMain::buildAttributes()
{
    frmSetAttributes = makePanel(centralWidget(), QStringLiteral("frmSetAttributes"));
    auto* a = makeFrame(frame, frameOption, 2, QStringLiteral("      Attributes"), frmSetAttributes,
                        &optAttrib_Attributes, QStringLiteral("optAttrib_Attributes"));
    auto* d = makeFrame(frame, frameOption, 3, QStringLiteral("      Date && Time"), frmSetAttributes, &optAttrib_Date,
                        QStringLiteral("optAttrib_Date"));
    exclusivePair(frmSetAttributes, optAttrib_Attributes, optAttrib_Date);
    chkR = named(new CheckBox(QStringLiteral("Write Protect"), a, true), QStringLiteral("chkR"));
    chkH = named(new CheckBox(QStringLiteral("Hidden"), a, true), QStringLiteral("chkH"));
    chkS = named(new CheckBox(QStringLiteral("System"), a, true), QStringLiteral("chkS"));
    chkA = named(new CheckBox(QStringLiteral("Archive"), a, true), QStringLiteral("chkA"));
    auto* ag = new QGridLayout(a);
    ag->setContentsMargins(6, 14, 6, 4);
    ag->addWidget(chkR, 0, 0);
    ag->addWidget(chkH, 0, 1);
    ag->addWidget(chkS, 1, 0);
    ag->addWidget(chkA, 1, 1);
    for (CheckBox* c : {chkR, chkH, chkS, chkA})
        c->setValue(2);

    chkDateCreated = named(new CheckBox(QStringLiteral("Created"), d), QStringLiteral("chkDateCreated"));
    chkDateAccessed = named(new CheckBox(QStringLiteral("Accessed"), d), QStringLiteral("chkDateAccessed"));
    chkDateModified = named(new CheckBox(QStringLiteral("Modified"), d), QStringLiteral("chkDateModified"));
    chkDateDate = named(new CheckBox(QStringLiteral("New Date:"), d), QStringLiteral("chkDateDate"));
    chkDateTime = named(new CheckBox(QStringLiteral("New Time:"), d), QStringLiteral("chkDateTime"));
    dtDate = named(new QDateEdit(QDate::currentDate(), d), QStringLiteral("dtDate"));
    dtDate->setCalendarPopup(true);
    dtTime = named(new QTimeEdit(QTime::currentTime(), d), QStringLiteral("dtTime"));
    dtTime->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    cmdGetCurrentDate = pictureButton(d, QStringLiteral("cmdGetCurrentDate"), QStyle::SP_BrowserReload,
                                      QStringLiteral("Get Current Date"));
    cmdGetCurrentTime = pictureButton(d, QStringLiteral("cmdGetCurrentTime"), QStyle::SP_BrowserReload,
                                      QStringLiteral("Get Current Time"));
    chkDateModified->setValue(1);
    chkDateDate->setValue(1);
    chkDateTime->setValue(1);
    auto* dv = new QVBoxLayout(d);
    dv->setContentsMargins(6, 14, 6, 4);
    dv->setSpacing(2);
    dv->addWidget(label(QStringLiteral("Change:"), d));
    dv->addLayout(row({chkDateCreated, chkDateAccessed, chkDateModified}));
    auto* dateRow = new QGridLayout;
    dateRow->addWidget(chkDateDate, 0, 0);
    dateRow->addWidget(dtDate, 0, 1);
    dateRow->addWidget(cmdGetCurrentDate, 0, 2);
    dateRow->addWidget(chkDateTime, 1, 0);
    dateRow->addWidget(dtTime, 1, 1);
    dateRow->addWidget(cmdGetCurrentTime, 1, 2);
    dateRow->setColumnStretch(1, 1);
    dv->addLayout(dateRow);
    auto* v = new QVBoxLayout(frmSetAttributes);
    v->setContentsMargins(0, 0, 0, 0);
    v->addWidget(a);
    v->addWidget(d);
    v->addStretch(1);
    optAttrib_Attributes->setChecked(true);
}

void FrmMain::buildAddCrop()
{
    frmAddCrop = makePanel(centralWidget(), QStringLiteral("frmAddCrop"));
    auto* a =
        makeFrame(frame, frameOption, 0, QStringLiteral("      Add"), frmAddCrop, &optAdd, QStringLiteral("optAdd"));
    auto* c =
        makeFrame(frame, frameOption, 1, QStringLiteral("      Crop"), frmAddCrop, &optCrop, QStringLiteral("optCrop"));
    exclusivePair(frmAddCrop, optAdd, optCrop);
    txtAdd = named(new TextBox(a), QStringLiteral("txtAdd"));
    txtAddPos = numberBox(a, QStringLiteral("txtAddPos"), QStringLiteral("0"), 3);
    UpDownAdd = named(new UpDown(txtAddPos, 0, 999, a), QStringLiteral("UpDownAdd"));
    cmdAddGetPosition = pictureButton(a, QStringLiteral("cmdAddGetPosition"), QStyle::SP_FileDialogContentsView,
                                      QStringLiteral("Open visual assist window..."));
    // Each Beginning / End pair is a group of its own.
    auto* addEnds = new QWidget(a);
    optAddBeginning = named(new OptionButton(QStringLiteral("Beginning"), addEnds), QStringLiteral("optAddBeginning"));
    optAddEnding = named(new OptionButton(QStringLiteral("End of filename."), addEnds), QStringLiteral("optAddEnding"));
    auto* ae = new QHBoxLayout(addEnds);
    ae->setContentsMargins(0, 0, 0, 0);
    ae->addWidget(label(QStringLiteral("from"), addEnds));
    ae->addWidget(optAddBeginning);
    ae->addWidget(optAddEnding);
    ae->addStretch(1);
    auto* av = new QVBoxLayout(a);
    av->setContentsMargins(6, 12, 6, 2);
    av->setSpacing(1);
    // The label stands beside the box: under it, the two frames would not fit
    // the panel with this desktop's font metrics.
    auto* insertRow = new QHBoxLayout;
    insertRow->addWidget(label(QStringLiteral("Insert..."), a));
    insertRow->addWidget(txtAdd, 1);
    av->addLayout(insertRow);
    av->addLayout(row({label(QStringLiteral("at Pos"), a), txtAddPos, UpDownAdd, cmdAddGetPosition}));
    av->addWidget(addEnds);

    txtCropNumber = numberBox(c, QStringLiteral("txtCropNumber"), QStringLiteral("1"), 3);
    UpDownCrop1 = named(new UpDown(txtCropNumber, 1, 999, c), QStringLiteral("UpDownCrop1"));
    txtCropPos = numberBox(c, QStringLiteral("txtCropPos"), QStringLiteral("0"), 3);
    UpDownCrop2 = named(new UpDown(txtCropPos, 0, 999, c), QStringLiteral("UpDownCrop2"));
    cmdCropGetPosition = pictureButton(c, QStringLiteral("cmdCropGetPosition"), QStyle::SP_FileDialogContentsView,
                                       QStringLiteral("Open visual assist window..."));
    auto* cropEnds = new QWidget(c);
    optCropBeginning =
        named(new OptionButton(QStringLiteral("Beginning"), cropEnds), QStringLiteral("optCropBeginning"));
    optCropEnding =
        named(new OptionButton(QStringLiteral("End of filename."), cropEnds), QStringLiteral("optCropEnding"));
    auto* ce = new QHBoxLayout(cropEnds);
    ce->setContentsMargins(0, 0, 0, 0);
    ce->addWidget(label(QStringLiteral("from"), cropEnds));
    ce->addWidget(optCropBeginning);
    ce->addWidget(optCropEnding);
    ce->addStretch(1);
    for (QToolButton* b : {cmdAddGetPosition, cmdCropGetPosition})
        b->setFixedSize(22, 20);
    auto* cv = new QVBoxLayout(c);
    cv->setContentsMargins(6, 12, 6, 2);
    cv->setSpacing(1);
    cv->addLayout(
        row({label(QStringLiteral("Remove"), c), txtCropNumber, UpDownCrop1, label(QStringLiteral("char(s)"), c)}));
    cv->addLayout(row({label(QStringLiteral("at Pos"), c), txtCropPos, UpDownCrop2, cmdCropGetPosition}));
    cv->addWidget(cropEnds);
    auto* v = new QVBoxLayout(frmAddCrop);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(2);
    v->addWidget(a);
    v->addWidget(c);
    auto* tip = label(QStringLiteral("Tip:   Toggle 'Process Extension'\nto change 'End of filename'"), frmAddCrop);
    smallerFont(tip);
    v->addWidget(tip);
    v->addStretch(1);
    optAdd->setChecked(true);
    optAddBeginning->setChecked(true);
    optCropBeginning->setChecked(true);
}

void FrmMain::buildEnum()
{
    frmEnum = makePanel(centralWidget(), QStringLiteral("frmEnum"));
    auto* e = makeFrame(frame, frameOption, 11, QStringLiteral("      Sequential Renaming"), frmEnum, &chkEnumTab_Enum,
                        QStringLiteral("chkEnumTab_Enum"));
    auto* n = makeFrame(frame, frameOption, 12, QStringLiteral("      Normalize Numbers"), frmEnum,
                        &chkEnumTab_Normalize, QStringLiteral("chkEnumTab_Normalize"));
    exclusivePair(frmEnum, chkEnumTab_Enum, chkEnumTab_Normalize);
    txtEnumFormat = named(new TextBox(e), QStringLiteral("txtEnumFormat"));
    txtEnumFormat->setText(QStringLiteral("<ENUM>_<FULLNAME>"));
    cmbEnumFormat = named(new QComboBox(e), QStringLiteral("cmbEnumFormat"));
    cmbEnumFormat->setFixedWidth(20);
    txtEnumStart = numberBox(e, QStringLiteral("txtEnumStart"), QStringLiteral("1"), 9);
    txtEnumStep = numberBox(e, QStringLiteral("txtEnumStep"), QStringLiteral("1"), 6);
    txtEnumZeros = numberBox(e, QStringLiteral("txtEnumZeros"), QStringLiteral("2"), 2);
    UpDownEnum1 = named(new UpDown(txtEnumStart, -99999, 99999, e), QStringLiteral("UpDownEnum1"));
    UpDownEnum2 = named(new UpDown(txtEnumStep, -99999, 99999, e), QStringLiteral("UpDownEnum2"));
    UpDownEnum3 = named(new UpDown(txtEnumZeros, 0, 32, e), QStringLiteral("UpDownEnum3"));
    chkEnumResetBetweenDirs =
        named(new CheckBox(QStringLiteral("Reset Each Dir."), e), QStringLiteral("chkEnumResetBetweenDirs"));
    chkEnumAutoZeros = named(new CheckBox(QStringLiteral("Auto"), e), QStringLiteral("chkEnumAutoZeros"));
    chkEnumAutoZeros->setValue(1);
    smallerFont(chkEnumResetBetweenDirs);
    auto* ev = new QVBoxLayout(e);
    ev->setContentsMargins(6, 14, 6, 4);
    ev->setSpacing(2);
    auto* formatRow = new QHBoxLayout;
    formatRow->setSpacing(0);
    formatRow->addWidget(label(QStringLiteral("Format:"), e));
    formatRow->addSpacing(4);
    formatRow->addWidget(txtEnumFormat, 1);
    formatRow->addWidget(cmbEnumFormat);
    ev->addLayout(formatRow);
    ev->addLayout(row({label(QStringLiteral("Start Value:"), e), txtEnumStart, UpDownEnum1, chkEnumResetBetweenDirs}));
    ev->addLayout(row({label(QStringLiteral("Step:"), e), txtEnumStep, UpDownEnum2}));
    ev->addLayout(row({label(QStringLiteral("Zero Padding:"), e), txtEnumZeros, UpDownEnum3,
                       label(QStringLiteral("Digits"), e), chkEnumAutoZeros}));
    txtNormalize = numberBox(n, QStringLiteral("txtNormalize"), QStringLiteral("2"), 2);
    UpDownNormalize = named(new UpDown(txtNormalize, 0, 99, n), QStringLiteral("UpDownNormalize"));
    auto* nv = new QVBoxLayout(n);
    nv->setContentsMargins(6, 14, 6, 4);
    nv->addLayout(row({label(QStringLiteral("Zero Padding:"), n), txtNormalize, UpDownNormalize,
                       label(QStringLiteral("Digits"), n)}));
    auto* v = new QVBoxLayout(frmEnum);
    v->setContentsMargins(0, 0, 0, 0);
    v->addWidget(e);
    v->addWidget(n);
    v->addStretch(1);
    chkEnumTab_Enum->setChecked(true);
}

void FrmMain::buildMp3()
{
    frmMp3Tag = makePanel(centralWidget(), QStringLiteral("frmMp3Tag"));
    auto* f = makeFrame(frame, frameOption, 10, QStringLiteral("Rename Mp3's Based On Content"), frmMp3Tag);
    txtMp3Format = named(new TextBox(f), QStringLiteral("txtMp3Format"));
    txtMp3Format->setText(QStringLiteral("<ARTIST> - <TITLE>"));
    cmbAddMp3Tag = named(new QComboBox(f), QStringLiteral("cmbAddMp3Tag"));
    cmbAddMp3Tag->setFixedWidth(20);
    chkMp3AddExtension =
        named(new CheckBox(QStringLiteral("Add .mp3 to end of filename."), f), QStringLiteral("chkMp3AddExtension"));
    chkMp3OnlyFilledTags = named(new CheckBox(QStringLiteral("Only rename if all used tags are available."), f),
                                 QStringLiteral("chkMp3OnlyFilledTags"));
    chkMp3OnlyMp3Files = named(new CheckBox(QStringLiteral("Only process files with .mp3 extension."), f),
                               QStringLiteral("chkMp3OnlyMp3Files"));
    chkMp3UseID3v2 = named(new CheckBox(QStringLiteral("Use ID3v2 If Available"), f), QStringLiteral("chkMp3UseID3v2"));
    auto* fv = new QVBoxLayout(f);
    fv->setContentsMargins(6, 14, 6, 4);
    fv->setSpacing(2);
    auto* patternRow = new QHBoxLayout;
    patternRow->setSpacing(0);
    patternRow->addWidget(label(QStringLiteral("Pattern:"), f));
    patternRow->addSpacing(4);
    patternRow->addWidget(txtMp3Format, 1);
    patternRow->addWidget(cmbAddMp3Tag);
    fv->addLayout(patternRow);
    for (CheckBox* c : {chkMp3AddExtension, chkMp3OnlyFilledTags, chkMp3OnlyMp3Files, chkMp3UseID3v2}) {
        c->setValue(1);
        smallerFont(c);
        fv->addWidget(c);
    }
    auto* v = new QVBoxLayout(frmMp3Tag);
    v->setContentsMargins(0, 0, 0, 0);
    v->addWidget(f);
    v->addWidget(
        label(QStringLiteral("Tip:  Use the 'Move to SubDir' tag to\norganize your Mp3 collection!"), frmMp3Tag));
    v->addStretch(1);
}

void FrmMain::buildFormat()
{
    frmFormat = makePanel(centralWidget(), QStringLiteral("frmFormat"));
    auto* f = makeFrame(frame, frameOption, 8, QStringLiteral("      Format Filename"), frmFormat, &chkFormatTab_Format,
                        QStringLiteral("chkFormatTab_Format"));
    auto* d = makeFrame(frame, frameOption, 9, QStringLiteral("      Filetype Detection"), frmFormat,
                        &chkFormatTab_Detect, QStringLiteral("chkFormatTab_Detect"));
    exclusivePair(frmFormat, chkFormatTab_Format, chkFormatTab_Detect);
    txtFormat = named(new TextBox(f), QStringLiteral("txtFormat"));
    txtFormat->setText(QStringLiteral("<NAME> (<SIZE>).<EXT>"));
    cmbFormat = named(new QComboBox(f), QStringLiteral("cmbFormat"));
    txtFormatParts = named(new TextBox(f), QStringLiteral("txtFormatParts"));
    txtFormatParts->setText(QStringLiteral("<%1> - <%2>"));
    cmbFormatParts = named(new QComboBox(f), QStringLiteral("cmbFormatParts"));
    for (QComboBox* c : {cmbFormat, cmbFormatParts})
        c->setFixedWidth(20);
    chkFormatAllMustBeAvailable = named(new CheckBox(QStringLiteral("Only rename if all used tags are available."), f),
                                        QStringLiteral("chkFormatAllMustBeAvailable"));
    chkFormatAllMustBeAvailable->setValue(1);
    smallerFont(chkFormatAllMustBeAvailable);
    auto* fv = new QVBoxLayout(f);
    fv->setContentsMargins(6, 14, 6, 4);
    fv->setSpacing(2);
    auto* formatRow = new QHBoxLayout;
    formatRow->setSpacing(0);
    formatRow->addWidget(txtFormat, 1);
    formatRow->addWidget(cmbFormat);
    fv->addLayout(formatRow);
    auto* partsRow = new QHBoxLayout;
    partsRow->setSpacing(0);
    partsRow->addWidget(label(QStringLiteral("Define Parts:"), f));
    partsRow->addSpacing(4);
    partsRow->addWidget(txtFormatParts, 1);
    partsRow->addWidget(cmbFormatParts);
    fv->addLayout(partsRow);
    fv->addWidget(chkFormatAllMustBeAvailable);
    chkFileDetect_KeepExt =
        named(new CheckBox(QStringLiteral("Keep old extension"), d), QStringLiteral("chkFileDetect_KeepExt"));
    chkFileDetect_TryText =
        named(new CheckBox(QStringLiteral("Text/Html"), d), QStringLiteral("chkFileDetect_TryText"));
    chkFileDetect_TryMp3 = named(new CheckBox(QStringLiteral("Mp3"), d), QStringLiteral("chkFileDetect_TryMp3"));
    auto* dv = new QVBoxLayout(d);
    dv->setContentsMargins(6, 14, 6, 4);
    dv->setSpacing(2);
    dv->addWidget(chkFileDetect_KeepExt);
    auto* advanced = label(QStringLiteral("If simple detection fails, try advanced detection for:"), d);
    advanced->setWordWrap(true);
    dv->addWidget(advanced);
    dv->addLayout(row({chkFileDetect_TryText, chkFileDetect_TryMp3}));
    auto* v = new QVBoxLayout(frmFormat);
    v->setContentsMargins(0, 0, 0, 0);
    v->addWidget(f);
    v->addWidget(d);
    v->addStretch(1);
    chkFormatTab_Format->setChecked(true);
}

void FrmMain::fillTagLists()
{
    for (const char* item : kEnumFormatItems)
        cmbEnumFormat->addItem(QString::fromLatin1(item));
    for (const char* item : kMp3TagItems)
        cmbAddMp3Tag->addItem(QString::fromLatin1(item));
    for (const char* item : kFormatTagItems)
        cmbFormat->addItem(QString::fromLatin1(item));
    for (int i = 1; i <= 9; ++i)
        cmbFormatParts->addItem(QStringLiteral("Part %1 <%%1>").arg(i));
    for (QComboBox* c : {cmbEnumFormat, cmbAddMp3Tag, cmbFormat, cmbFormatParts}) {
        c->setCurrentIndex(-1);
        setTagListLook(c);
    }
    // Height of the opened list in twips, including the edit field.
    setComboDropHeight(platform::toPixels(2700), txtPath);
}

// The panel, option pair and focus control of each rename mode, in the order
// of the modes.
void FrmMain::buildModePanels()
{
    modePanels = {{
        {frmFindReplace, {optReplaceSingle, optReplaceBatch}, {txtFind, nullptr}},
        {frmConvertCase, {nullptr, nullptr}, {nullptr, nullptr}},
        {frmEnum, {chkEnumTab_Enum, chkEnumTab_Normalize}, {txtEnumFormat, txtNormalize}},
        {frmMisc, {nullptr, nullptr}, {nullptr, nullptr}},
        {frmSetAttributes, {optAttrib_Attributes, optAttrib_Date}, {chkR, chkR}},
        {frmAddCrop, {optAdd, optCrop}, {txtAdd, txtCropNumber}},
        {frmMp3Tag, {nullptr, nullptr}, {txtMp3Format, txtMp3Format}},
        {frmFormat, {chkFormatTab_Format, chkFormatTab_Detect}, {txtFormat, chkFileDetect_KeepExt}},
    }};
}

// The controls with their settings fields and the RenameOptions fields they
// fill, in the order the panels' handlers rely on at load (pattern boxes before
// their option keys, the attribute and date boxes before their option,
// everything before "Files" and "Directories").
void FrmMain::buildBindings()
{
    using S = Settings;
    using O = RenameOptions;
    SettingsBindings& b = bindings;
    b.check(chkShowTreeview, &S::chkShowTreeview);
    b.check(chkOnlyRenameSelected, &S::chkOnlyRenameSelected);
    b.text(txtPattern, &S::txtPattern);
    b.loadStep([this](const Settings& s) { txtPattern->setEnabled(s.txtPatternEnabled); });
    b.text(txtMp3Format, &S::txtMp3Format, &O::mp3Format);
    b.check(chkMp3AddExtension, &S::chkMp3AddExtension, &O::mp3AddExtension);
    b.check(chkMp3OnlyFilledTags, &S::chkMp3OnlyFilledTags, &O::mp3OnlyFilledTags);
    b.check(chkMp3OnlyMp3Files, &S::chkMp3OnlyMp3Files, &O::mp3OnlyMp3Files);
    b.check(chkMp3UseID3v2, &S::chkMp3UseID3v2, &O::mp3UseId3v2);
    b.text(txtFind, &S::txtFind, &O::findText);
    b.text(txtReplace, &S::txtReplace, &O::replaceText);
    b.check(chkCaseSensitive, &S::chkCaseSensitive, &O::caseSensitive);
    b.check(chkReplaceMode, &O::swapMode); // not stored
    b.text(txtReplaceCount, &S::txtReplaceCount, &O::replaceCount);
    b.text(txtReplaceStart, &S::txtReplaceStart, &O::replaceStart);
    b.options({optReplaceSingle, optReplaceBatch}, &S::optReplace, &O::replaceBatch);
    b.check(chkR, &S::chkR, &O::attrReadOnly);
    b.check(chkH, &S::chkH, &O::attrHidden);
    b.check(chkS, &S::chkS, &O::attrSystem);
    b.check(chkA, &S::chkA, &O::attrArchive);
    b.date(dtDate, &S::dtDate, &O::dateText);
    b.time(dtTime, &S::dtTime, &O::timeText);
    b.check(chkDateCreated, &S::chkDateCreated, &O::setCreated);
    b.check(chkDateAccessed, &S::chkDateAccessed, &O::setAccessed);
    b.check(chkDateModified, &S::chkDateModified, &O::setModified);
    b.check(chkDateDate, &S::chkDateDate, &O::useDate);
    b.check(chkDateTime, &S::chkDateTime, &O::useTime);
    b.options({optAttrib_Attributes, optAttrib_Date}, &S::optAttrib, &O::dateMode);
    b.options({Case1.begin(), Case1.end()}, &S::Case1, &O::nameCase);
    b.options({Case2.begin(), Case2.end()}, &S::Case2, &O::extCase);
    b.options({optAddBeginning, optAddEnding}, &S::optAddBegEnd, &O::addFromEnd);
    b.options({optCropBeginning, optCropEnding}, &S::optCropBegEnd, &O::cropFromEnd);
    b.text(txtAdd, &S::txtAdd, &O::addText);
    b.text(txtCropNumber, &S::txtCropNumber, &O::cropCount);
    b.text(txtAddPos, &S::txtAddPos, &O::addPos);
    b.text(txtCropPos, &S::txtCropPos, &O::cropPos);
    b.options({optAdd, optCrop}, &S::optAddCrop, &O::cropMode);
    b.tab(TabStrip, &S::TabStrip);
    b.check(chkProcessFilename, &S::chkProcessFilename, &O::processName);
    b.check(chkProcessFileExt, &S::chkProcessFileExt, &O::processExt);
    b.check(chkPreview, &S::chkPreview);
    b.text(txtFormat, &S::txtFormat, &O::formatText);
    b.text(txtFormatParts, &S::txtFormatParts, &O::formatParts);
    b.check(chkFormatAllMustBeAvailable, &S::chkFormatAllMustBeAvailable, &O::allTagsRequired);
    b.check(chkFileDetect_TryMp3, &S::chkFileDetect_TryMp3, &O::detectTryMp3);
    b.check(chkFileDetect_TryText, &S::chkFileDetect_TryText, &O::detectTryText);
    b.check(chkFileDetect_KeepExt, &S::chkFileDetect_KeepExt, &O::detectKeepExt);
    b.options({chkFormatTab_Format, chkFormatTab_Detect}, &S::chkFormatTab, &O::detectMode);
    b.text(txtNormalize, &S::txtNormalize, &O::normalizeWidth);
    b.text(txtEnumFormat, &S::txtEnumFormat, &O::enumFormat);
    b.text(txtEnumZeros, &S::txtEnumZeros, &O::enumDigits);
    b.text(txtEnumStart, &S::txtEnumStart, &O::enumStart);
    b.text(txtEnumStep, &S::txtEnumStep, &O::enumStep);
    b.check(chkEnumAutoZeros, &S::chkEnumAutoZeros, &O::enumAutoDigits);
    b.check(chkEnumResetBetweenDirs, &S::chkEnumResetBetweenDirs, &O::enumResetPerDir);
    b.options({chkEnumTab_Enum, chkEnumTab_Normalize}, &S::chkEnumTab, &O::normalizeMode);
    b.check(chkExceptionsEnabled, &S::chkExceptionsEnabled, &O::useExceptions);
    b.check(chkSpaceBeginning, &S::chkSpaceBeginning, &O::trimLeading);
    b.check(chkSpaceEnd, &S::chkSpaceEnd, &O::trimTrailing);
    b.check(chkSpaceShrink, &S::chkSpaceShrink, &O::shrinkSpaces);
    b.check(chkFiles, &S::chkFiles);
    b.check(chkDirs, &S::chkDirs);
    b.check(chkSub, &S::chkSub);
}
