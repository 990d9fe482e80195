#include "platform/twips.h"
#include "settings/frmbatchreplaceadd.h"
#include "settings/frmsettings.h"
#include "settings/listeditor.h"
#include "test_support.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

namespace {

void click(QAbstractButton* b)
{
    clickButton(b);
}

QStringList texts(const ListEditor* e)
{
    QStringList out;
    for (const QStringList& row : e->rows())
        out << row.join(u'|');
    return out;
}

void clickRow(QTreeWidget* list, int row, bool twice = false)
{
    const QRect r = list->visualItemRect(list->topLevelItem(row));
    if (twice)
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, r.center());
    else
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
}

} // namespace

class SettingsWindowTest : public TempEnv {
public:
    Settings s;
    ConfigTables tables;
    ScriptedUi ui;
    qint16 tabIndex = 1;
    std::unique_ptr<FrmSettings> d;
    // Every signal of "Ok", by name, in the order it came.
    QStringList steps;

    void open()
    {
        d = std::make_unique<FrmSettings>(s, tables, ui, tabIndex);
        steps.clear();
        const auto note = [this](const char* name) { return [this, name] { steps << QString::fromLatin1(name); }; };
        QObject::connect(d.get(), &FrmSettings::iconListsReset, note("icons"));
        QObject::connect(d.get(), &FrmSettings::pathBoxBlack, note("black"));
        QObject::connect(d.get(), &FrmSettings::patternBoxEnabled, note("pattern"));
        QObject::connect(d.get(), &FrmSettings::treeOptionApplied, note("tree"));
        QObject::connect(d.get(), &FrmSettings::detailColumnsChanged, note("columns"));
        QObject::connect(d.get(), &FrmSettings::listLookApplied, note("look"));
        QObject::connect(d.get(), &FrmSettings::batchLabelChanged, note("label"));
        QObject::connect(d.get(), &FrmSettings::saveRequested, note("save"));
        QObject::connect(d.get(), &FrmSettings::rereadRequested, note("reread"));
        d->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(d.get()));
        activate();
    }
    void activate()
    {
        d->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(d.get()));
    }
    void tab(const char* key) { click(d->TabStrip->tabButton(d->TabStrip->indexOfKey(QString::fromLatin1(key)))); }
    QStringList shownFrames() const
    {
        QStringList out;
        for (QGroupBox* g : d->findChildren<QGroupBox*>())
            if (g->isVisible())
                out << g->objectName();
        out.sort();
        return out;
    }
    // Types into a box as a user does: click into it (which selects its text), type, leave with Tab.
    void typeInto(QLineEdit* box, const QString& keys, bool leave = true)
    {
        box->setFocus(Qt::TabFocusReason);
        EXPECT_TRUE(box->hasSelectedText() || box->text().isEmpty()) << box->objectName().toStdString();
        QTest::keyClick(box, Qt::Key_Delete);
        if (!keys.isEmpty())
            QTest::keyClicks(box, keys);
        if (leave)
            QTest::keyClick(box, Qt::Key_Tab);
    }
};

TEST_F(SettingsWindowTest, OpensOnTheRememberedTabCentredOrWhereItWasLeft)
{
    const int tpp = platform::twipsPerPixel();
    open();
    EXPECT_EQ(d->windowTitle(), "Vexor Renamer Settings");
    EXPECT_EQ(d->TabStrip->selectedKey(), "general");
    EXPECT_EQ(shownFrames(), QStringList({"frmGeneralMisc", "frmLog", "frmShell", "frmStartup"}));
    EXPECT_EQ(d->frmShell->title(), "File Manager Integration");
    EXPECT_EQ(d->chkShellShowVexor->text(),
              "Show \"Start Vexor Renamer\" when right clicking on directories in the file manager.");
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(d->pos(), QPoint(screen.width() / 2 - d->width() / 2, screen.height() / 2 - d->height() / 2));

    const std::vector<std::pair<const char*, QStringList>> tabs = {
        {"interface", {"frmListview", "frmMisc", "frmTreeview"}},
        {"interface2", {"frmSysIcons", "frmThumbs"}},
        {"listing", {"frmInclude", "frmPattern", "frmSecurity"}},
        {"batchreplace", {"frmBatchReplace"}},
        {"exceptions", {"frmExceptions"}},
    };
    const QString shots = qEnvironmentVariable("SHOT_DIR"); // pictures of every tab, to look at
    if (!shots.isEmpty())
        d->grab().save(shots + "/settings-general.png");
    for (const auto& [key, frames] : tabs) {
        tab(key);
        EXPECT_EQ(shownFrames(), frames) << key;
        if (!shots.isEmpty())
            d->grab().save(shots + "/settings-" + key + ".png");
    }
    EXPECT_EQ(d->TabStrip->tabButton(2)->text(), "Icons && Thumbnails");
    d->move(80, 90); // the whole window still on the test's screen
    click(d->cmdCancel);
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(tabIndex, 5);
    EXPECT_EQ(s.frmSettings_Top, d->pos().y() * tpp);
    EXPECT_EQ(s.frmSettings_Left, d->pos().x() * tpp);

    open();
    EXPECT_EQ(d->TabStrip->selectedKey(), "exceptions");
    EXPECT_EQ(d->pos(), QPoint(s.frmSettings_Left / tpp, s.frmSettings_Top / tpp));
    QTest::keyClick(d.get(), Qt::Key_Escape);
    EXPECT_FALSE(d->isVisible());
    EXPECT_TRUE(steps.isEmpty());
}

// A remembered place that would put part of the window off the screen (left
// there on a larger one) brings it up whole on the screen, Ok and Cancel in
// reach; the remembered place stays as stored while the user does not move
// the window.
TEST_F(SettingsWindowTest, ARememberedPlaceOffTheScreenComesBackOnIt)
{
    const int tpp = platform::twipsPerPixel();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    struct Case {
        int left, top; // pixels
    };
    const Case cases[] = {
        {area.right() - 100, area.bottom() - 100}, {area.right() - 300, 40}, {20, area.bottom() - 50}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.left) + "," + std::to_string(c.top));
        s.frmSettings_Left = qint16(c.left * tpp);
        s.frmSettings_Top = qint16(c.top * tpp);
        open();
        EXPECT_TRUE(area.contains(d->frameGeometry())) << ::testing::PrintToString(d->frameGeometry());
        for (QPushButton* b : {d->cmdOK, d->cmdCancel})
            EXPECT_TRUE(area.contains(QRect(b->mapToGlobal(QPoint()), b->size()))) << b->text().toStdString();
        click(d->cmdCancel);
        EXPECT_FALSE(d->isVisible());
        EXPECT_EQ(s.frmSettings_Left, c.left * tpp);
        EXPECT_EQ(s.frmSettings_Top, c.top * tpp);
    }
}

TEST_F(SettingsWindowTest, ThumbnailBoxesTakeDigitsAndKeepTheirRange)
{
    struct Case {
        const char* typed;
        const char* afterLeave;
    };
    const Case cases[] = {{"5", "16"}, {"999", "256"},   {"", "64"},    {"96", "96"},
                          {"0", "16"}, {"12345", "123"}, {"x7y", "16"}, {"100abc", "100"}};
    open();
    tab("interface2");
    for (QLineEdit* box : {d->txtThumbWidth, d->txtThumbHeight})
        for (const Case& c : cases) {
            typeInto(box, QString::fromLatin1(c.typed));
            EXPECT_EQ(box->text(), c.afterLeave) << c.typed;
        }

    // Enter presses "Ok" while the focus stays in the box: the rule still holds.
    const Case enterCases[] = {{"", "64"}, {"0", "16"}, {"999", "256"}, {"80", "80"}};
    for (const Case& c : enterCases) {
        open();
        tab("interface2");
        typeInto(d->txtThumbWidth, QString::fromLatin1(c.typed), false);
        QTest::keyClick(d->txtThumbWidth, Qt::Key_Return);
        EXPECT_FALSE(d->isVisible()) << c.typed;
        EXPECT_EQ(s.thumbsWidth, QString::fromLatin1(c.afterLeave).toInt()) << c.typed;
    }
}

// The editing keys of the number boxes work as in any line box; only printable
// non-digits typed without Ctrl or Meta are dropped.
static void expectEditingKeysWork(QLineEdit* box)
{
    SCOPED_TRACE(box->objectName().toStdString());
    box->setFocus();
    box->setText("64");
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, "5");
    EXPECT_EQ(box->text(), "5");
    QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(box->text(), "64");
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "64");
    QTest::keyClick(box, Qt::Key_End);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box->text(), "646");
    QTest::keyClicks(box, "x-");
    EXPECT_EQ(box->text(), "646");
}

TEST_F(SettingsWindowTest, NumberBoxesTakeTheEditingKeys)
{
    open();
    tab("interface2");
    for (QLineEdit* box : {d->txtThumbWidth, d->txtThumbHeight})
        expectEditingKeysWork(box);

    FrmBatchReplaceAdd item(false, {});
    item.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&item));
    item.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&item));
    for (QLineEdit* box : {item.txtReplaceStart, item.txtReplaceCount})
        expectEditingKeysWork(box);
}

TEST_F(SettingsWindowTest, ExceptionNoteIsSpelledRight)
{
    open();
    QStringList notes;
    for (QLabel* l : d->findChildren<QLabel*>())
        if (l->text().startsWith("Exceptions will"))
            notes << l->text();
    EXPECT_EQ(notes, QStringList{"Exceptions will override the \"Convert Case\" settings."});
}

TEST_F(SettingsWindowTest, SystemIconsBoxEnablesTheIconControlsWhoseValuesAreStoredAnyway)
{
    open();
    tab("interface2");
    const std::vector<QWidget*> five = {d->chkCache, d->txtThumbWidth, d->txtThumbHeight, d->chkThumbAspect,
                                        d->chkThumbBorder};
    for (QWidget* w : five)
        EXPECT_TRUE(w->isEnabled());
    click(d->chkThumbBorder);
    click(d->chkUseSysIcons);
    for (QWidget* w : five)
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    click(d->cmdOK);
    EXPECT_EQ(s.useSysIcons, 0);
    EXPECT_EQ(s.thumbsBorder, 0);
    EXPECT_EQ(steps, QStringList({"pattern", "tree", "look", "label", "save", "reread"}));
}

TEST_F(SettingsWindowTest, CancelLeavesEverySettingAsItWas)
{
    tables.exceptionWords = {"McDonald"};
    open();
    tab("listing");
    click(d->chkHidden);
    tab("interface");
    click(d->chkShowAllColumns);
    tab("exceptions");
    ui.inputs = {QStringLiteral("new")};
    click(d->exceptionsEditor->addButton());
    EXPECT_EQ(texts(d->exceptionsEditor), QStringList({"McDonald", "new"}));
    click(d->cmdCancel);
    EXPECT_EQ(s.processHidden, Settings{}.processHidden);
    EXPECT_EQ(s.showAllColumns, 0);
    EXPECT_EQ(tables.exceptionWords, QStringList({"McDonald"}));
    EXPECT_TRUE(steps.isEmpty());

    open();
    EXPECT_EQ(d->chkHidden->value(), 0);
    EXPECT_EQ(texts(d->exceptionsEditor), QStringList({"McDonald"}));
}

// What each change sets off on "Ok", and in which order.
TEST_F(SettingsWindowTest, OkAppliesInItsOrderAndRereadsOnlyForListingChanges)
{
    struct Case {
        const char* name;
        std::function<void(SettingsWindowTest&)> change;
        QStringList steps;
        std::function<bool(const Settings&)> stored;
    };
    const QStringList plain = {"pattern", "tree", "look", "label", "save"};
    const Case cases[] = {
        {"nothing", [](SettingsWindowTest&) {}, plain, [](const Settings&) { return true; }},
        {"hidden items",
         [](SettingsWindowTest& t) {
             t.tab("listing");
             click(t.d->chkHidden);
         },
         plain + QStringList{"reread"}, [](const Settings& s) { return s.processHidden == 1; }},
        {"show all columns",
         [](SettingsWindowTest& t) {
             t.tab("interface");
             click(t.d->chkShowAllColumns);
         },
         {"pattern", "tree", "columns", "look", "label", "save", "reread"},
         [](const Settings& s) { return s.showAllColumns == 1; }},
        {"width",
         [](SettingsWindowTest& t) {
             t.tab("interface2");
             t.typeInto(t.d->txtThumbWidth, "96");
         },
         {"icons", "pattern", "tree", "look", "label", "save", "reread"},
         [](const Settings& s) { return s.thumbsWidth == 96 && s.thumbsHeight == 64; }},
        {"black border only",
         [](SettingsWindowTest& t) {
             t.tab("interface2");
             click(t.d->chkThumbBorder);
         },
         plain + QStringList{"reread"}, [](const Settings& s) { return s.thumbsBorder == 0; }},
        {"system folders shown",
         [](SettingsWindowTest& t) {
             t.tab("listing");
             click(t.d->chkHideSystemFolders);
         },
         {"black", "pattern", "tree", "look", "label", "save", "reread"},
         [](const Settings& s) { return s.hideSystemFolders == 0; }},
        {"stored-only options",
         [](SettingsWindowTest& t) {
             for (QCheckBox* c :
                  {static_cast<QCheckBox*>(t.d->chkShowPath), static_cast<QCheckBox*>(t.d->chkAutoCloseLog),
                   static_cast<QCheckBox*>(t.d->chkRenameAllIfNoneSelected),
                   static_cast<QCheckBox*>(t.d->chkShellShowVexor)})
                 click(c);
             t.tab("interface");
             click(t.d->chkKeepFileOrder);
             click(t.d->chkLwShowGuidelines);
         },
         plain,
         [](const Settings& s) {
             return s.showFullPath == 1 && s.autoCloseLogWindow == 1 && !s.enableRenameAllIfNoneSelected &&
                    s.shellShowVexor == 0 && s.keepFileOrder == 1 && s.lwShowGuidelines == 1;
         }},
    };
    for (const Case& c : cases) {
        s = Settings{};
        open();
        c.change(*this);
        QSignalSpy look(d.get(), &FrmSettings::listLookApplied);
        QSignalSpy pattern(d.get(), &FrmSettings::patternBoxEnabled);
        click(d->cmdOK);
        EXPECT_FALSE(d->isVisible()) << c.name;
        EXPECT_EQ(steps, c.steps) << c.name;
        EXPECT_TRUE(c.stored(s)) << c.name;
        ASSERT_EQ(look.size(), 1);
        EXPECT_EQ(look[0][1].toBool(), s.lwShowGuidelines == 1);
        ASSERT_EQ(pattern.size(), 1);
        EXPECT_TRUE(pattern[0][0].toBool());
        EXPECT_EQ(ui.mousePointer(), 0);
    }
}

TEST_F(SettingsWindowTest, ExceptionWordsAreTrimmedAndCleanedAndAskedBeforeDeleting)
{
    tables.exceptionWords = {"", "McDonald", "", "iPod"};
    open();
    tab("exceptions");
    ListEditor* e = d->exceptionsEditor;
    EXPECT_EQ(texts(e), QStringList({"McDonald", "iPod"}));

    ui.inputs = {QStringLiteral("  a:b "),        QStringLiteral("   "), std::nullopt,
                 QStringLiteral("x/*\"\\?:<>|y"), QStringLiteral("::"),  QStringLiteral("tab\tword")};
    for (int i = 0; i < 6; ++i)
        click(e->addButton());
    EXPECT_EQ(texts(e), QStringList({"McDonald", "iPod", "ab", "xy", "", "tabword"}));
    EXPECT_EQ(ui.asked[0].title, "Vexor Renamer");
    EXPECT_EQ(ui.asked[0].text, "Enter a word that should always be spelled with the casing you type here:");

    // Edit needs a selection; the old word is offered; empty and Cancel keep it.
    ui.asked.clear();
    click(e->editButton());
    EXPECT_TRUE(ui.asked.empty());
    clickRow(d->lstExceptions, 1);
    ui.inputs = {QStringLiteral(" IPOD? "), QStringLiteral(""), std::nullopt};
    click(e->editButton());
    EXPECT_EQ(ui.asked[0].text, "Edit Exception:");
    clickRow(d->lstExceptions, 1, true); // a double-click edits too
    click(e->editButton());
    EXPECT_EQ(texts(e).mid(0, 2), QStringList({"McDonald", "IPOD"}));
    EXPECT_EQ(ui.asked.size(), 3u);

    ui.asked.clear();
    ui.answers = {QMessageBox::No, QMessageBox::Yes};
    click(e->deleteButton());
    EXPECT_EQ(ui.asked[0].text, "Are you sure you want to delete the exception 'IPOD'?");
    EXPECT_EQ(ui.asked[0].icon, QMessageBox::Question);
    EXPECT_EQ(texts(e).size(), 6);
    click(e->deleteButton());
    EXPECT_EQ(texts(e), QStringList({"McDonald", "ab", "xy", "", "tabword"}));

    click(d->cmdOK);
    EXPECT_EQ(tables.exceptionWords, QStringList({"McDonald", "ab", "xy", "", "tabword"}));
}

TEST_F(SettingsWindowTest, AnEmptiedExceptionListKeepsOneEmptyWord)
{
    tables.exceptionWords = {"one"};
    open();
    tab("exceptions");
    clickRow(d->lstExceptions, 0);
    ui.answers = {QMessageBox::Yes};
    click(d->exceptionsEditor->deleteButton());
    click(d->cmdOK);
    EXPECT_EQ(tables.exceptionWords, QStringList({""}));
}

// The batch list through its real item dialog: add, edit, move, delete, then "Ok".
TEST_F(SettingsWindowTest, BatchListIsEditedThroughTheItemDialogAndConvertedOnOk)
{
    tables.batchReplaceList = {BatchReplaceItem{"old", "new", 1, 0, 2, 0}};
    open();
    tab("batchreplace");
    ListEditor* e = d->batchReplaceEditor;
    EXPECT_EQ(texts(e), QStringList({"old|new|x||0|2"}));
    QStringList headers;
    for (int c = 0; c < d->lwBatchReplace->columnCount(); ++c)
        headers << d->lwBatchReplace->headerItem()->text(c);
    EXPECT_EQ(headers, QStringList({"Find", "Replace", "Case", "Swap", "Start", "Count"}));

    bool okDisabledAtFirst = false, okFollowsFind = false;
    QString caption;
    whenModal<FrmBatchReplaceAdd>([&](FrmBatchReplaceAdd* item) {
        caption = item->windowTitle();
        okDisabledAtFirst = !item->cmdOK->isEnabled();
        EXPECT_TRUE(item->txtFind->hasFocus());
        QTest::keyClicks(item->txtFind, "a");
        const bool on = item->cmdOK->isEnabled();
        QTest::keyClick(item->txtFind, Qt::Key_Backspace);
        okFollowsFind = on && !item->cmdOK->isEnabled();
        QTest::keyClicks(item->txtFind, "a");
        QTest::keyClicks(item->txtReplace, "x");
        click(item->chkReplaceMode);
        typeInto(item->txtReplaceStart, "3");
        typeInto(item->txtReplaceCount, "", false); // emptied, then Enter
        QTest::keyClick(item->txtReplaceCount, Qt::Key_Return);
    });
    click(e->addButton());
    activate();
    EXPECT_EQ(caption, "Add Batch Replace Item");
    EXPECT_TRUE(okDisabledAtFirst);
    EXPECT_TRUE(okFollowsFind);
    EXPECT_EQ(texts(e), QStringList({"old|new|x||0|2", "a|x||x|3|0"}));
    EXPECT_EQ(e->selectedRow(), -1); // a new row is not selected
    EXPECT_EQ(d->batchReplaceEditMode, 0);

    // Edit without a selection does nothing; with one, the dialog shows the row.
    click(e->editButton());
    clickRow(d->lwBatchReplace, 1);
    QStringList shown;
    whenModal<FrmBatchReplaceAdd>([&](FrmBatchReplaceAdd* item) {
        caption = item->windowTitle();
        shown = {item->txtFind->text(),
                 item->txtReplace->text(),
                 QString::number(item->chkCaseSensitive->value()),
                 QString::number(item->chkReplaceMode->value()),
                 item->txtReplaceStart->text(),
                 item->txtReplaceCount->text()};
        EXPECT_TRUE(item->cmdOK->isEnabled());
        click(item->chkCaseSensitive);
        click(item->cmdOK);
    });
    click(e->editButton());
    activate();
    EXPECT_EQ(caption, "Edit Batch Replace Item");
    EXPECT_EQ(d->batchReplaceEditMode, -1);
    EXPECT_EQ(shown, QStringList({"a", "x", "0", "1", "3", "0"}));
    EXPECT_EQ(texts(e), QStringList({"old|new|x||0|2", "a|x|x|x|3|0"}));

    // Cancel in the dialog changes nothing (double-click opens it too).
    whenModal<FrmBatchReplaceAdd>([&](FrmBatchReplaceAdd* item) {
        QTest::keyClicks(item->txtFind, "zzz");
        QTest::keyClick(item, Qt::Key_Escape);
    });
    clickRow(d->lwBatchReplace, 1, true);
    activate();
    EXPECT_EQ(texts(e), QStringList({"old|new|x||0|2", "a|x|x|x|3|0"}));

    // Moving: all six columns change places; the ends move nothing but focus the list.
    click(e->upButton());
    EXPECT_EQ(texts(e), QStringList({"a|x|x|x|3|0", "old|new|x||0|2"}));
    EXPECT_EQ(e->selectedRow(), 0);
    d->cmdOK->setFocus();
    click(e->upButton());
    EXPECT_EQ(texts(e), QStringList({"a|x|x|x|3|0", "old|new|x||0|2"}));
    EXPECT_TRUE(d->lwBatchReplace->hasFocus());
    click(e->downButton());
    click(e->downButton());
    EXPECT_EQ(texts(e), QStringList({"old|new|x||0|2", "a|x|x|x|3|0"}));
    EXPECT_EQ(e->selectedRow(), 1);

    click(d->cmdOK);
    ASSERT_EQ(tables.batchReplaceList.size(), 2u);
    const BatchReplaceItem& second = tables.batchReplaceList[1];
    EXPECT_EQ(second.find, "a");
    EXPECT_EQ(second.replace, "x");
    EXPECT_EQ(second.caseSensitive, 1);
    EXPECT_EQ(second.swapMode, 1);
    EXPECT_EQ(second.start, 3);
    EXPECT_EQ(second.count, 0);
    EXPECT_EQ(s.lblBatchReplace, "2 items in batch replace list...");
}

TEST_F(SettingsWindowTest, BatchDeleteRemovesTheSelectedRowWithoutAskingAndTheLabelCounts)
{
    tables.batchReplaceList = {BatchReplaceItem{"a", "b"}, BatchReplaceItem{"c", "d"}};
    const std::vector<std::pair<int, const char*>> cases = {{0, "2 items in batch replace list..."},
                                                            {1, "1 item in batch replace list..."},
                                                            {2, "0 items in batch replace list..."}};
    for (const auto& [deletes, label] : cases) {
        tables.batchReplaceList = {BatchReplaceItem{"a", "b"}, BatchReplaceItem{"c", "d"}};
        open();
        tab("batchreplace");
        click(d->batchReplaceEditor->deleteButton()); // nothing selected: nothing happens
        for (int i = 0; i < deletes; ++i) {
            clickRow(d->lwBatchReplace, 0);
            click(d->batchReplaceEditor->deleteButton());
            EXPECT_TRUE(d->lwBatchReplace->hasFocus());
        }
        QSignalSpy labels(d.get(), &FrmSettings::batchLabelChanged);
        click(d->cmdOK);
        EXPECT_EQ(int(tables.batchReplaceList.size()), 2 - deletes);
        ASSERT_EQ(labels.size(), 1);
        EXPECT_EQ(labels[0][0].toString(), label);
        EXPECT_TRUE(ui.asked.empty());
    }
}

// "/" separates the fields of "replace.txt" and a leading "#" makes its line a
// comment: the item dialog takes neither, typed or pasted.
TEST_F(SettingsWindowTest, ItemDialogRefusesWhatReplaceTxtCannotHold)
{
    FrmBatchReplaceAdd item(false, {});
    item.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&item));
    item.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&item));

    QTest::keyClicks(item.txtFind, "#a/b#");
    EXPECT_EQ(item.txtFind->text(), "ab#");
    item.txtFind->setCursorPosition(0);
    QTest::keyClicks(item.txtFind, "#");
    EXPECT_EQ(item.txtFind->text(), "ab#");
    QTest::keyClicks(item.txtReplace, "#c/d");
    EXPECT_EQ(item.txtReplace->text(), "#cd");

    QGuiApplication::clipboard()->setText("x/y");
    for (QLineEdit* box : {item.txtFind, item.txtReplace}) {
        const QString before = box->text();
        box->setFocus();
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(box->text(), before);
    }
    QGuiApplication::clipboard()->setText("line\nbreak");
    item.txtFind->setFocus();
    QTest::keyClick(item.txtFind, Qt::Key_V, Qt::ControlModifier);
    EXPECT_FALSE(item.txtFind->text().contains('\n'));

    // Start and count: digits only, at most three; an emptied box becomes "0".
    QGuiApplication::clipboard()->setText("12x");
    item.txtReplaceStart->setFocus();
    QTest::keyClick(item.txtReplaceStart, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(item.txtReplaceStart->text(), "0");
    item.txtReplaceStart->selectAll();
    QTest::keyClicks(item.txtReplaceStart, "a-12345");
    EXPECT_EQ(item.txtReplaceStart->text(), "123");
    item.txtReplaceStart->selectAll();
    QTest::keyClick(item.txtReplaceStart, Qt::Key_Delete);
    QTest::keyClick(item.txtReplaceStart, Qt::Key_Tab);
    EXPECT_EQ(item.txtReplaceStart->text(), "0");

    // A row brought in with such a text cannot be confirmed until it is mended.
    FrmBatchReplaceAdd edit(true, {"#x", "y/z", "", "", "0", "0"});
    EXPECT_FALSE(edit.cmdOK->isEnabled());
}

// The re-read of "Ok" lets events through: a second "Ok", "Cancel", Escape or
// the close box meanwhile is refused, and the window closes once, after it.
TEST_F(SettingsWindowTest, OkRefusesASecondOkOrACloseWhileItRereads)
{
    open();
    tab("listing");
    click(d->chkHidden);
    bool stillOpen = false;
    QObject::connect(d.get(), &FrmSettings::rereadRequested, [&] {
        click(d->cmdOK);
        click(d->cmdCancel);
        QTest::keyClick(d.get(), Qt::Key_Escape);
        d->close();
        stillOpen = d->isVisible();
    });
    QSignalSpy finished(d.get(), &QDialog::finished);
    click(d->cmdOK);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(steps.count("save"), 1);
    EXPECT_FALSE(d->isVisible());
    ASSERT_EQ(finished.size(), 1);
    EXPECT_EQ(finished[0][0].toInt(), int(QDialog::Accepted));
}

// At a large scale a pixel is several twips: a window left where its stored
// place put it keeps that place exactly, one the user moved stores the move.
TEST_F(SettingsWindowTest, AStoredPlaceTheUserLeftAloneStaysExactAtEveryScale)
{
    for (const double factor : {1.0, 1.25, 1.5, 1.75, 2.0}) {
        SCOPED_TRACE(::testing::Message() << "scale " << factor);
        const ScaleScope scale(factor);
        ASSERT_TRUE(scale.found());
        const int tpp = scale.twipsPerPixel();
        s.frmSettings_Top = 1003;
        s.frmSettings_Left = 2001;
        for (const QPoint rounding : {QPoint(0, 0), QPoint(1, -1), QPoint(-2, 2)}) {
            open();
            d->move(d->pos() + rounding);
            click(d->cmdCancel);
            EXPECT_EQ(s.frmSettings_Top, 1003);
            EXPECT_EQ(s.frmSettings_Left, 2001);
        }
        open();
        d->move(d->pos() + QPoint(40, -30));
        click(d->cmdOK);
        EXPECT_EQ(s.frmSettings_Top, 1003 - 30 * tpp);
        EXPECT_EQ(s.frmSettings_Left, 2001 + 40 * tpp);
        d.reset();
    }
}
