#include "settings/frmsettings.h"

#include "engine/textutil.h"
#include "platform/outersize.h"
#include "platform/scrollclient.h"
#include "platform/twips.h"
#include "platform/uiservice.h"
#include "settings/boxrules.h"
#include "settings/configfiles.h"
#include "settings/editorrules.h"
#include "settings/frmbatchreplaceadd.h"
#include "settings/listeditor.h"

#include <algorithm>
#include <cmath>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWindow>

namespace {

struct TabDef {
    const char* key;
    const char* caption;
    std::vector<QGroupBox * FrmSettings::*> frames;
};

const std::vector<TabDef>& tabDefs()
{
    using F = FrmSettings;
    static const std::vector<TabDef> tabs = {
        {"general", "General", {&F::frmShell, &F::frmStartup, &F::frmGeneralMisc, &F::frmLog}},
        {"interface", "Interface", {&F::frmMisc, &F::frmTreeview, &F::frmListview}},
        {"interface2", "Icons && Thumbnails", {&F::frmThumbs, &F::frmSysIcons}},
        {"listing", "File System", {&F::frmPattern, &F::frmInclude, &F::frmSecurity}},
        {"exceptions", "Exceptions", {&F::frmExceptions}},
        {"batchreplace", "Batch Replace", {&F::frmBatchReplace}},
    };
    return tabs;
}

QString exceptionTitle()
{
    return QStringLiteral("Vexor Renamer");
}

qint16 clamped16(qint64 twips)
{
    return qint16(std::clamp<qint64>(twips, -32768, 32767));
}

qint16 toTwips16(int pixels)
{
    return clamped16(qint64(platform::toTwips(pixels)));
}

} // namespace

FrmSettings::FrmSettings(Settings& settings, ConfigTables& tables, platform::UiService& ui, qint16& tabIndex,
                         QWidget* parent)
    : QDialog(parent), s_(settings), tables_(tables), ui_(ui), tabIndex_(tabIndex)
{
    setObjectName(QStringLiteral("frmSettings"));
    setWindowTitle(QStringLiteral("Vexor Renamer Settings"));
    setModal(true);
    buildUi();
    Form_Load();
    connect(TabStrip, &platform::TabStrip::currentChanged, this, [this] { TabStrip_Click(); });
    connect(chkUseSysIcons, &QCheckBox::stateChanged, this, [this] { chkUseSysIcons_Click(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { reject(); });
    connect(exceptionsEditor, &ListEditor::addClicked, this, [this] { cmdExceptionsAdd_Click(); });
    connect(exceptionsEditor, &ListEditor::editClicked, this, [this] { cmdExceptionsEdit_Click(); });
    connect(exceptionsEditor, &ListEditor::deleteClicked, this, [this] { cmdExceptionsDel_Click(); });
    connect(batchReplaceEditor, &ListEditor::addClicked, this, [this] { cmdBatchReplaceAdd_Click(); });
    connect(batchReplaceEditor, &ListEditor::editClicked, this, [this] { cmdBatchReplaceEdit_Click(); });
    connect(batchReplaceEditor, &ListEditor::deleteClicked, this, [this] { cmdBatchReplaceDelete_Click(); });
}

void FrmSettings::buildUi()
{
    using platform::CheckBox;
    auto frame = [this](const char* name, const char* caption) {
        auto* g = new QGroupBox(QString::fromUtf8(caption), this);
        g->setObjectName(QString::fromLatin1(name));
        new QVBoxLayout(g);
        return g;
    };
    auto box = [](QGroupBox* g, const char* name, const char* caption) {
        auto* c = new CheckBox(QString::fromUtf8(caption), g);
        c->setObjectName(QString::fromLatin1(name));
        g->layout()->addWidget(c);
        return c;
    };

    TabStrip = new platform::TabStrip(this, 6);
    TabStrip->setObjectName(QStringLiteral("TabStrip"));
    for (const TabDef& t : tabDefs())
        TabStrip->addKeyedTab(QString::fromLatin1(t.key), QString::fromLatin1(t.caption));

    frmShell = frame("frmShell", "File Manager Integration");
    chkShellShowVexor = box(frmShell, "chkShellShowVexor",
                            "Show \"Start Vexor Renamer\" when right clicking on directories in the file manager.");
    frmStartup = frame("frmStartup", "Startup");
    chkStartupInLastDir = box(frmStartup, "chkStartupInLastDir", "Open last directory used at startup.");
    chkUncheckSubsdirsAtStartup =
        box(frmStartup, "chkUncheckSubsdirsAtStartup", "Uncheck \"Subdirectories\" at startup.");
    frmGeneralMisc = frame("frmGeneralMisc", "Misc.");
    chkRenameAllIfNoneSelected = box(frmGeneralMisc, "chkRenameAllIfNoneSelected",
                                     "Rename all if nothing is selected when \"Only rename selected\" is on.");
    frmLog = frame("frmLog", "Log Window");
    chkAutoCloseLog = box(frmLog, "chkAutoCloseLog", "Automatically close log window after execution.");
    chkShowPath = box(frmLog, "chkShowPath", "Show full path in log window.");
    frmMisc = frame("frmMisc", "Misc.");
    chkKeepFileOrder = box(frmMisc, "chkKeepFileOrder", "Keep file order after execution (slow if many files)");
    chkAlwaysShowDirs = box(frmMisc, "chkAlwaysShowDirs", "Always show dir icons (for easier navigation)");
    frmTreeview = frame("frmTreeview", "Treeview");
    chkEnableTreeview = box(frmTreeview, "chkEnableTreeview", "Enable Treeview");
    frmListview = frame("frmListview", "Listviews");
    chkShowAllColumns = box(frmListview, "chkShowAllColumns", "Show all columns");
    chkLwShowGuidelines = box(frmListview, "chkLwShowGuidelines", "Show guidelines");
    chkLwFullRowSelect = box(frmListview, "chkLwFullRowSelect", "Full row select");

    frmThumbs = frame("frmThumbs", "Thumbnails");
    {
        auto* sizes = new QGridLayout;
        txtThumbWidth = new QLineEdit(frmThumbs);
        txtThumbWidth->setObjectName(QStringLiteral("txtThumbWidth"));
        txtThumbHeight = new QLineEdit(frmThumbs);
        txtThumbHeight->setObjectName(QStringLiteral("txtThumbHeight"));
        sizes->addWidget(new QLabel(QStringLiteral("Width:"), frmThumbs), 0, 0);
        sizes->addWidget(txtThumbWidth, 0, 1);
        sizes->addWidget(new QLabel(QStringLiteral("Height:"), frmThumbs), 1, 0);
        sizes->addWidget(txtThumbHeight, 1, 1);
        sizes->setColumnStretch(2, 1);
        for (QLineEdit* t : {txtThumbWidth, txtThumbHeight}) {
            t->setFixedWidth(t->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
            selectAllOnFocus(t);
            makeDigitBox(t, 3, [t] { t->setText(thumbSizeAfterLeave(t->text())); });
        }
        static_cast<QVBoxLayout*>(frmThumbs->layout())->addLayout(sizes);
    }
    chkThumbAspect = box(frmThumbs, "chkThumbAspect", "Keep aspect ratio");
    chkThumbBorder = box(frmThumbs, "chkThumbBorder", "Black border");
    frmSysIcons = frame("frmSysIcons", "System Icons && Thumbnails");
    chkUseSysIcons = box(frmSysIcons, "chkUseSysIcons", "Enable system icons && thumbnails");
    chkCache = box(frmSysIcons, "chkCache", "Use cache");
    frmPattern = frame("frmPattern", "Pattern Mask");
    chkPatternFile = box(frmPattern, "chkPatternFile", "Apply to files");
    chkPatternDir = box(frmPattern, "chkPatternDir", "Apply to directories");
    frmInclude = frame("frmInclude", " File && Directory Listing");
    chkHidden = box(frmInclude, "chkHidden", "Show hidden items");
    chkSystem = box(frmInclude, "chkSystem", "Show system items");
    chkWriteProtected = box(frmInclude, "chkWriteProtected", "Show write protected items");
    frmSecurity = frame("frmSecurity", "Security");
    chkHideSystemFolders = box(frmSecurity, "chkHideSystemFolders", "Hide system folders");

    frmExceptions = frame("frmExceptions", "Case Convert Exceptions");
    exceptionsEditor =
        new ListEditor({QStringLiteral("Exception")},
                       {QStringLiteral("lstExceptions"), QStringLiteral("cmdExceptionsAdd"),
                        QStringLiteral("cmdExceptionsEdit"), QStringLiteral("cmdExceptionsDel"), QString(), QString()},
                       frmExceptions);
    lstExceptions = exceptionsEditor->list();
    frmExceptions->layout()->addWidget(exceptionsEditor);
    frmExceptions->layout()->addWidget(
        new QLabel(QStringLiteral("Exceptions will override the \"Convert Case\" settings."), frmExceptions));

    frmBatchReplace = frame("frmBatchReplace", "Batch Replace List");
    batchReplaceEditor = new ListEditor({QStringLiteral("Find"), QStringLiteral("Replace"), QStringLiteral("Case"),
                                         QStringLiteral("Swap"), QStringLiteral("Start"), QStringLiteral("Count")},
                                        {QStringLiteral("lwBatchReplace"), QStringLiteral("cmdBatchReplaceAdd"),
                                         QStringLiteral("cmdBatchReplaceEdit"), QStringLiteral("cmdBatchReplaceDelete"),
                                         QStringLiteral("cmdBatchReplaceUp"), QStringLiteral("cmdBatchReplaceDown")},
                                        frmBatchReplace);
    lwBatchReplace = batchReplaceEditor->list();
    const int widths[] = {2250, 2250, 675, 675, 675, 675}; // twips
    for (int c = 0; c < 6; ++c)
        lwBatchReplace->header()->resizeSection(c, platform::toPixels(widths[c]));
    frmBatchReplace->layout()->addWidget(batchReplaceEditor);

    cmdOK = new QPushButton(QStringLiteral("Ok"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    // The frames of every tab share one column; a tab shows only its own.
    auto* body = new QVBoxLayout;
    for (const TabDef& t : tabDefs())
        for (QGroupBox* FrmSettings::*f : t.frames)
            body->addWidget(this->*f, (this->*f == frmExceptions || this->*f == frmBatchReplace) ? 1 : 0);
    body->addStretch(0);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    // The tabs scroll where the screen is too small for them; Ok and Cancel
    // stay below them in sight.
    auto* tabs = new QWidget;
    tabs->setObjectName(QStringLiteral("tabContents"));
    auto* tabsLayout = new QVBoxLayout(tabs);
    tabsLayout->setContentsMargins(0, 0, 0, 0);
    tabsLayout->addWidget(TabStrip);
    tabsLayout->addLayout(body, 1);
    auto* scroll = new platform::ScrollClient(tabs, this);
    scroll->setObjectName(QStringLiteral("tabScroll"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll, 1);
    layout->addLayout(buttons);
    designSize_ = QSize(platform::toPixels(8400), platform::toPixels(6300));
    setFixedSize(designSize_);

    // The window's plain boxes and their fields, used at load and at "Ok".
    boxes_ = {{chkHidden, &Settings::processHidden},
              {chkSystem, &Settings::processSystem},
              {chkWriteProtected, &Settings::processWriteProtected},
              {chkPatternFile, &Settings::usePatternForFiles},
              {chkPatternDir, &Settings::usePatternForDirs},
              {chkStartupInLastDir, &Settings::startupInLastDir},
              {chkShellShowVexor, &Settings::shellShowVexor},
              {chkShowPath, &Settings::showFullPath},
              {chkUncheckSubsdirsAtStartup, &Settings::uncheckSubsdirsAtStartup},
              {chkHideSystemFolders, &Settings::hideSystemFolders},
              {chkUseSysIcons, &Settings::useSysIcons},
              {chkEnableTreeview, &Settings::enableTreeview},
              {chkAlwaysShowDirs, &Settings::alwaysShowDirs},
              {chkKeepFileOrder, &Settings::keepFileOrder},
              {chkAutoCloseLog, &Settings::autoCloseLogWindow},
              {chkShowAllColumns, &Settings::showAllColumns},
              {chkLwFullRowSelect, &Settings::lwFullRowSelect},
              {chkLwShowGuidelines, &Settings::lwShowGuidelines}};
}

// ---------------------------------------------------------------- load and unload

void FrmSettings::Form_Load()
{
    const int tab = tabIndex_ >= 1 && tabIndex_ <= TabStrip->count() ? tabIndex_ : 1;
    TabStrip->setCurrentIndex(tab - 1);
    TabStrip_Click();
    // A stored value other than 0 or 1 (a hand-edited store) shows unticked.
    for (const auto& [box, field] : boxes_)
        box->setValue(s_.*field == 1 ? 1 : 0);
    chkRenameAllIfNoneSelected->setValue(s_.enableRenameAllIfNoneSelected ? 1 : 0);
    txtThumbWidth->setText(QString::number(s_.thumbsWidth));
    txtThumbHeight->setText(QString::number(s_.thumbsHeight));
    chkThumbAspect->setValue(s_.thumbsAspect == 1 ? 1 : 0);
    chkThumbBorder->setValue(s_.thumbsBorder == 1 ? 1 : 0);
    chkCache->setValue(s_.cacheIcons == 1 ? 1 : 0);
    QStringList words;
    for (const QString& w : tables_.exceptionWords)
        if (!w.isEmpty())
            words << w;
    std::vector<QStringList> wordRows;
    for (const QString& w : words)
        wordRows.push_back({w});
    exceptionsEditor->setRows(wordRows);
    chkUseSysIcons_Click();
    placeWindow();
    std::vector<QStringList> rows;
    for (const BatchReplaceItem& item : tables_.batchReplaceList)
        if (!item.find.isEmpty())
            rows.push_back(batchRow(item));
    batchReplaceEditor->setRows(rows);
}

void FrmSettings::placeWindow()
{
    fitToScreen(false);
    if (s_.frmSettings_Top == 0) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        const QRect area = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
        move(area.x() + area.width() / 2 - width() / 2, area.y() + area.height() / 2 - height() / 2);
    } else {
        placedAt_ = QPoint(platform::toPixels(s_.frmSettings_Left), platform::toPixels(s_.frmSettings_Top));
        move(*placedAt_);
    }
    fitToScreen(true);
}

// The whole window, Ok and Cancel with it, fits the screen's available area:
// a screen too small for it gets a smaller window. When it is placed, a place
// that would put part of it off the area moves it onto the area; the stored
// place stays unless the user moves the window.
void FrmSettings::fitToScreen(bool placing)
{
    QMargins m = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    // Until the window system tells its own frame, one like its owner's.
    if (const QWidget* owner = parentWidget(); m.isNull() && owner && owner->window()->windowHandle())
        m = owner->window()->windowHandle()->frameMargins();
    const QSize frame(m.left() + m.right(), m.top() + m.bottom());
    const QRect area = platform::availableAreaFor(QRect(pos(), size() + frame));
    const QSize inner = platform::minimumOnArea(designSize_ + frame, area) - frame;
    if (inner != size())
        setFixedSize(inner);
    if (!placing)
        return;
    const QRect outer(pos(), inner + frame);
    const QPoint moved = platform::fitToArea(outer, outer.size(), area).topLeft() - outer.topLeft();
    if (!moved.isNull()) {
        move(pos() + moved);
        if (placedAt_)
            *placedAt_ += moved;
    }
}

bool FrmSettings::event(QEvent* e)
{
    const bool done = QDialog::event(e);
    if (e->type() == QEvent::Show)
        fitToScreen(true);
    else if (e->type() == QEvent::Move && isVisible())
        fitToScreen(false); // perhaps onto another screen
    return done;
}

void FrmSettings::Form_Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    if (placedAt_) {
        const QPoint moved = pos() - *placedAt_;
        s_.frmSettings_Top = clamped16(platform::movedEdgeTwips(s_.frmSettings_Top, moved.y()));
        s_.frmSettings_Left = clamped16(platform::movedEdgeTwips(s_.frmSettings_Left, moved.x()));
    } else {
        s_.frmSettings_Top = toTwips16(pos().y());
        s_.frmSettings_Left = toTwips16(pos().x());
    }
    tabIndex_ = qint16(TabStrip->selectedIndex());
}

void FrmSettings::done(int result)
{
    // The re-read of "Ok" lets events through; the window stays until it ends.
    if (applying_)
        return;
    Form_Unload();
    QDialog::done(result);
}

// ---------------------------------------------------------------- tabs and icons

void FrmSettings::TabStrip_Click()
{
    const std::vector<QGroupBox*> all = {frmShell,    frmMisc,         frmPattern,     frmInclude, frmExceptions,
                                         frmTreeview, frmListview,     frmSecurity,    frmStartup, frmThumbs,
                                         frmSysIcons, frmBatchReplace, frmGeneralMisc, frmLog};
    for (QGroupBox* f : all)
        f->raise();
    for (QGroupBox* f : all)
        f->hide();
    const QString key = TabStrip->selectedKey();
    for (const TabDef& t : tabDefs())
        if (key == QLatin1String(t.key))
            for (QGroupBox* FrmSettings::*f : t.frames)
                (this->*f)->show();
}

void FrmSettings::chkUseSysIcons_Click()
{
    const bool on = chkUseSysIcons->value() == 1;
    for (QWidget* w :
         std::initializer_list<QWidget*>{chkCache, txtThumbWidth, txtThumbHeight, chkThumbAspect, chkThumbBorder})
        w->setEnabled(on);
}

// ---------------------------------------------------------------- Ok

void FrmSettings::cmdOK_Click()
{
    if (applying_)
        return;
    applying_ = true;
    ui_.setMousePointer(11);
    Settings& s = s_;

    bool reread = false;
    for (platform::CheckBox* c :
         {chkHidden, chkSystem, chkWriteProtected, chkPatternFile, chkPatternDir, chkAlwaysShowDirs,
          chkHideSystemFolders, chkUseSysIcons, chkEnableTreeview, chkShowAllColumns})
        for (const auto& [box, field] : boxes_)
            if (box == c && box->value() != s.*field)
                reread = true;

    // Enter presses "Ok" without the focus leaving a size box: its leave rule
    // runs here, so no empty, too small or too large size is stored.
    for (QLineEdit* t : {txtThumbWidth, txtThumbHeight})
        t->setText(thumbSizeAfterLeave(t->text()));
    const int width = int(leadingNumber(txtThumbWidth->text()));
    const int height = int(leadingNumber(txtThumbHeight->text()));
    if (width != s.thumbsWidth || height != s.thumbsHeight) {
        s.thumbsWidth = width;
        s.thumbsHeight = height;
        s.thumbsAspect = chkThumbAspect->value();
        s.thumbsBorder = chkThumbBorder->value();
        emit iconListsReset();
        reread = true;
    }
    if (chkThumbAspect->value() != s.thumbsAspect || chkThumbBorder->value() != s.thumbsBorder)
        reread = true;

    if (chkHideSystemFolders->value() == 0)
        emit pathBoxBlack();
    const bool columnsChanged = chkShowAllColumns->value() != s.showAllColumns;
    for (const auto& [box, field] : boxes_)
        s.*field = box->value();
    s.txtPatternEnabled = s.usePatternForFiles != 0 || s.usePatternForDirs != 0;
    emit patternBoxEnabled(s.txtPatternEnabled);
    emit treeOptionApplied(s.enableTreeview);
    s.enableRenameAllIfNoneSelected = chkRenameAllIfNoneSelected->value() != 0;
    s.thumbsWidth = width;
    s.thumbsHeight = height;
    s.thumbsAspect = chkThumbAspect->value();
    s.thumbsBorder = chkThumbBorder->value();
    s.cacheIcons = chkCache->value();
    if (columnsChanged)
        emit detailColumnsChanged(s.showAllColumns == 1);
    emit listLookApplied(s.lwFullRowSelect == 1, s.lwShowGuidelines == 1);
    convertLists();
    emit saveRequested();
    if (reread)
        emit rereadRequested();
    ui_.setMousePointer(0);
    applying_ = false;
    accept();
}

void FrmSettings::convertLists()
{
    QStringList words;
    for (const QStringList& row : exceptionsEditor->rows())
        words << row.value(0);
    tables_.exceptionWords = exceptionWordsFromEntries(words);
    tables_.batchReplaceList = batchListFromRows(batchReplaceEditor->rows());
    s_.lblBatchReplace = batchReplaceCaption(qsizetype(tables_.batchReplaceList.size()));
    emit batchLabelChanged(s_.lblBatchReplace);
}

// ---------------------------------------------------------------- exception words

void FrmSettings::cmdExceptionsAdd_Click()
{
    const std::optional<QString> answer = ui_.inputBox(
        this, exceptionTitle(),
        QStringLiteral("Enter a word that should always be spelled with the casing you type here:"), QString());
    if (const auto word = exceptionWordFromAnswer(answer.value_or(QString())))
        exceptionsEditor->appendRow({*word});
}

void FrmSettings::cmdExceptionsEdit_Click()
{
    const int r = exceptionsEditor->selectedRow();
    if (r < 0 || exceptionsEditor->count() == 0)
        return;
    const std::optional<QString> answer =
        ui_.inputBox(this, exceptionTitle(), QStringLiteral("Edit Exception:"), exceptionsEditor->row(r).value(0));
    if (const auto word = exceptionWordFromAnswer(answer.value_or(QString())))
        exceptionsEditor->setRow(r, {*word});
}

void FrmSettings::cmdExceptionsDel_Click()
{
    const int r = exceptionsEditor->selectedRow();
    if (r < 0 || exceptionsEditor->count() == 0)
        return;
    const QString text = QStringLiteral("Are you sure you want to delete the exception '") +
                         exceptionsEditor->row(r).value(0) + QStringLiteral("'?");
    if (ui_.message(this, exceptionTitle(), text, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No,
                    QMessageBox::No) == QMessageBox::Yes)
        exceptionsEditor->removeRow(r);
}

// ---------------------------------------------------------------- batch-replace list

void FrmSettings::cmdBatchReplaceAdd_Click()
{
    batchReplaceEditMode = 0;
    FrmBatchReplaceAdd dialog(false, {}, this);
    if (dialog.exec() == QDialog::Accepted)
        batchReplaceEditor->appendRow(dialog.row());
}

void FrmSettings::cmdBatchReplaceEdit_Click()
{
    const int r = batchReplaceEditor->selectedRow();
    if (r < 0)
        return;
    batchReplaceEditMode = -1;
    FrmBatchReplaceAdd dialog(true, batchReplaceEditor->row(r), this);
    if (dialog.exec() == QDialog::Accepted)
        batchReplaceEditor->setRow(r, dialog.row());
}

void FrmSettings::cmdBatchReplaceDelete_Click()
{
    const int r = batchReplaceEditor->selectedRow();
    if (r < 0)
        return;
    batchReplaceEditor->removeRow(r);
    lwBatchReplace->setFocus();
}
