// The options window opened from a real main window, and what its "Ok" does there.
#include "execute/dragdropadd.h"
#include "filelist/iconlists.h"
#include "mainwindow/frmmain.h"
#include "mainwindow_fixture.h"
#include "platform/settingsstore.h"
#include "platform/twips.h"
#include "settings/frmbatchreplaceadd.h"
#include "settings/frmsettings.h"
#include "settings/listeditor.h"
#include "test_support.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>

namespace {

void click(QAbstractButton* b)
{
    clickButton(b);
}

void tab(FrmSettings* d, const char* key)
{
    click(d->TabStrip->tabButton(d->TabStrip->indexOfKey(QString::fromLatin1(key))));
}

} // namespace

class SettingsFromMainTest : public MainWindowFixture<> {
protected:
    void listWork()
    {
        ctl<QComboBox>("txtPath")->setEditText(work());
        w->readDirectory();
        w->updateFileViews();
    }
    // Opens the options window with `opener` and runs `inside` on it while it is shown.
    void withSettings(QAbstractButton* opener, std::function<void(FrmSettings*)> inside)
    {
        bool ran = false;
        whenModal<FrmSettings>([&](FrmSettings* d) {
            ran = true;
            inside(d);
            if (d->isVisible())
                click(d->cmdCancel);
        });
        click(opener);
        EXPECT_TRUE(ran);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
    QStringList columnKeys(platform::ListView* list) const
    {
        QStringList keys;
        for (const platform::ListColumn& c : list->model()->columns())
            keys << c.key;
        return keys;
    }
};

TEST_F(SettingsFromMainTest, OpenersShowTheirTabAndTheMainWindowCatchesUpAfterClosing)
{
    start();
    QString shownTab;
    QPoint shownAt;
    withSettings(ctl<QPushButton>("cmdSettings"), [&](FrmSettings* d) {
        shownTab = d->TabStrip->selectedKey();
        shownAt = d->pos();
        EXPECT_FALSE(w->isActiveWindow());
    });
    EXPECT_EQ(shownTab, "general");
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QSize size(platform::toPixels(8400), platform::toPixels(6300));
    EXPECT_EQ(shownAt, QPoint(screen.width() / 2 - size.width() / 2, screen.height() / 2 - size.height() / 2));
    // However it closed: a forced recount, the gate and a fresh preview.
    EXPECT_EQ(w->state().preview.previewRequested, -1);

    withSettings(ctl<QToolButton>("cmdExceptionsEdit"), [&](FrmSettings* d) { shownTab = d->TabStrip->selectedKey(); });
    EXPECT_EQ(shownTab, "exceptions");
    withSettings(ctl<QPushButton>("cmdSettings"), [&](FrmSettings* d) { shownTab = d->TabStrip->selectedKey(); });
    EXPECT_EQ(shownTab, "exceptions");
    withSettings(ctl<QToolButton>("cmdReplaceEdit"), [&](FrmSettings* d) { shownTab = d->TabStrip->selectedKey(); });
    EXPECT_EQ(shownTab, "batchreplace");
    EXPECT_EQ(w->settingsTabIndex(), 6);
}

// Two rows made in the window, then "Ok": the label counts them, "replace.txt"
// holds them, and a batch run applies them in their order.
TEST_F(SettingsFromMainTest, BatchRowsFromTheWindowAreCountedStoredAndAppliedInOrder)
{
    writeFile("abc.txt");
    start();
    listWork();
    const auto addRow = [](const char* find, const char* replace) {
        whenModal<FrmBatchReplaceAdd>([=](FrmBatchReplaceAdd* item) {
            QTest::keyClicks(item->txtFind, find);
            QTest::keyClicks(item->txtReplace, replace);
            QTest::keyClick(item->txtReplace, Qt::Key_Return);
        });
    };
    withSettings(ctl<QToolButton>("cmdReplaceEdit"), [&](FrmSettings* d) {
        addRow("a", "x");
        click(d->batchReplaceEditor->addButton());
        addRow("x", "y");
        click(d->batchReplaceEditor->addButton());
        EXPECT_EQ(d->batchReplaceEditor->count(), 2);
        click(d->cmdOK);
    });
    EXPECT_EQ(ctl<QLabel>("lblBatchReplace")->text(), "2 items in batch replace list...");
    EXPECT_EQ(readLines(programFolder() + "/replace.txt"), QStringList({"a/x/0/0/0/0", "x/y/0/0/0/0"}));

    ctl<platform::TabStrip>("TabStrip")->selectKey("Replace");
    ctl<platform::OptionButton>("optReplaceBatch")->select();
    ASSERT_TRUE(ctl<QPushButton>("cmdExecute")->isEnabled());
    w->cmdExecute_Click();
    EXPECT_EQ(QDir(work()).entryList(QDir::Files), QStringList({"ybc.txt"}));
}

TEST_F(SettingsFromMainTest, ShowAllColumnsAddsAndRemovesTheSevenColumnsByKey)
{
    writeFile("a.txt", "12345");
    start();
    listWork();
    const QStringList three = {"filename", "preview", "path"};
    const QStringList all = three + QStringList{"size", "date", "attrib", "ext", "type", "sizeb", "dateb"};
    for (platform::ListView* lw : {ctl<platform::ListView>("lwDirectory"), ctl<platform::ListView>("lwDragDrop")})
        EXPECT_EQ(columnKeys(lw), three);
    withSettings(ctl<QPushButton>("cmdSettings"), [&](FrmSettings* d) {
        tab(d, "interface");
        click(d->chkShowAllColumns);
        click(d->cmdOK);
    });
    for (platform::ListView* lw : {ctl<platform::ListView>("lwDirectory"), ctl<platform::ListView>("lwDragDrop")})
        EXPECT_EQ(columnKeys(lw), all);
    EXPECT_EQ(
        ctl<platform::ListView>("lwDirectory")->model()->headerData(9, Qt::Horizontal, Qt::DisplayRole).toString(),
        "Date Sorting");
    EXPECT_EQ(ctl<platform::ListView>("lwDirectory")->columnWidth(3), w->state().settings.dirColWidth4);
    EXPECT_EQ(ctl<platform::ListView>("lwDirectory")->columnWidth(8), 0);
    // The re-read filled the new columns.
    ASSERT_EQ(ctl<platform::ListView>("lwDirectory")->count(), 1);
    EXPECT_EQ(ctl<platform::ListView>("lwDirectory")->subItem(0, 8).toLongLong(), 5);

    withSettings(ctl<QPushButton>("cmdSettings"), [&](FrmSettings* d) {
        click(d->chkShowAllColumns);
        click(d->cmdOK);
    });
    for (platform::ListView* lw : {ctl<platform::ListView>("lwDirectory"), ctl<platform::ListView>("lwDragDrop")})
        EXPECT_EQ(columnKeys(lw), three);
}

// The re-read of "Ok" fills the Directory mode's lists only: the Free Select
// collection shown meanwhile stays as it was.
TEST_F(SettingsFromMainTest, AListingChangeWhileFreeSelectIsShownLeavesTheCollection)
{
    writeFile("a.txt");
    writeFile("b.txt");
    writeFile(".hidden");
    start();
    listWork();
    EXPECT_EQ(w->state().files.lstFiles[0].size(), 2);
    toFreeSelect({"a.txt"});
    const QStringList collected = w->state().files.lstFiles[1];
    ASSERT_EQ(collected, QStringList({work() + "/a.txt"}));
    withSettings(ctl<QPushButton>("cmdSettings"), [&](FrmSettings* d) {
        tab(d, "listing");
        click(d->chkHidden);
        click(d->cmdOK);
    });
    EXPECT_EQ(w->fileMode(), 1);
    EXPECT_EQ(w->state().files.lstFiles[1], collected);
    ASSERT_EQ(ctl<platform::ListView>("lwDragDrop")->count(), 1);
    EXPECT_EQ(ctl<platform::ListView>("lwDragDrop")->text(0), "a.txt");
    EXPECT_EQ(w->state().files.lstFiles[0].size(), 3); // the hidden file is listed now
    EXPECT_EQ(ctl<platform::StatusPanels>("StatusBar")->panelText("main"), "1 Files, 0 Directories");
}

// New thumbnail sizes empty both icon lists; the Free Select rows fetch their
// icons again, and make their thumbnails again while thumbnails are shown.
TEST_F(SettingsFromMainTest, ThumbnailSizeChangeGivesTheFreeSelectRowsTheirIconsAgain)
{
    writeFile("a.txt");
    makeDir("sub");
    start();
    toFreeSelect({"sub", "a.txt"});
    ASSERT_EQ(ctl<platform::ListView>("lwDragDrop")->count(), 2);
    const auto makeStale = [&] {
        for (int r = 0; r < 2; ++r)
            ctl<platform::ListView>("lwDragDrop")->setIcons(r, 99, 99);
    };
    const auto resize = [&](const char* width) {
        withSettings(ctl<QPushButton>("cmdSettings"), [&](FrmSettings* d) {
            tab(d, "interface2");
            d->txtThumbWidth->setFocus();
            QTest::keyClick(d->txtThumbWidth, Qt::Key_Delete);
            QTest::keyClicks(d->txtThumbWidth, width);
            click(d->cmdOK);
        });
    };
    makeStale();
    resize("96");
    const platform::ImageList& large = w->state().files.imagelistSysIconsFreeSelectLarge;
    EXPECT_EQ(large.size, QSize(96, 64));
    EXPECT_EQ(w->state().files.imagelistSysIconsLarge.size, QSize(96, 64));
    const platform::ImageList& small = w->state().files.imagelistSysIconsFreeSelect;
    for (int r = 0; r < 2; ++r) {
        const platform::ListRow& row = ctl<platform::ListView>("lwDragDrop")->row(r);
        EXPECT_TRUE(row.smallIcon >= 1 && row.smallIcon <= small.count()) << r;
        EXPECT_TRUE(row.largeIcon >= 1 && row.largeIcon <= large.count()) << r;
        EXPECT_FALSE(small.image(row.smallIcon).isNull());
        EXPECT_FALSE(large.image(row.largeIcon).isNull());
    }
    EXPECT_EQ(w->state().files.thumbnailsShownFreeSel, 0);

    click(ctl<platform::CheckBox>("chkThumbnailsFreeSelect"));
    makeStale();
    resize("128");
    EXPECT_EQ(large.size, QSize(128, 64));
    EXPECT_TRUE(ctl<platform::ListView>("lwDragDrop")->row(0).largeIcon >= 1 &&
                ctl<platform::ListView>("lwDragDrop")->row(0).largeIcon <= large.count());
    EXPECT_EQ(w->state().files.thumbnailsShownFreeSel, -1);
}

TEST_F(SettingsFromMainTest, OkAppliesTheOptionsThatShowInTheMainWindowAndStoresThem)
{
    platform::SettingsStore().setValue("enableTreeview", "1");
    makeDir("sub");
    start();
    listWork();
    click(ctl<platform::CheckBox>("chkShowTreeview"));
    ASSERT_TRUE(ctl<QTreeWidget>("TreeView")->isVisible());
    const QString entry = root() + "/data/file-manager/actions/vexorren.desktop";

    withSettings(ctl<QPushButton>("cmdSettings"), [&](FrmSettings* d) {
        click(d->chkShellShowVexor); // off
        tab(d, "interface");
        click(d->chkEnableTreeview);   // off
        click(d->chkLwShowGuidelines); // on
        tab(d, "listing");
        click(d->chkPatternFile);       // off: no pattern option left
        click(d->chkHideSystemFolders); // off
        click(d->cmdOK);
    });
    EXPECT_EQ(ctl<platform::CheckBox>("chkShowTreeview")->value(), 0);
    EXPECT_FALSE(ctl<platform::CheckBox>("chkShowTreeview")->isVisible());
    EXPECT_FALSE(ctl<QTreeWidget>("TreeView")->isVisible());
    EXPECT_TRUE(ctl<platform::ListView>("lwDirectory")->isVisible());
    EXPECT_FALSE(ctl<platform::TextBox>("txtPattern")->isEnabled());
    EXPECT_EQ(ctl<QComboBox>("txtPath")->lineEdit()->palette().color(QPalette::Text), QColor(0, 0, 0));
    EXPECT_FALSE(QFileInfo::exists(entry));
    platform::SettingsStore store;
    EXPECT_EQ(store.value("shellShowVexor"), "0");
    EXPECT_EQ(store.value("enableTreeview"), "0");
    EXPECT_EQ(store.value("lwShowGuidelines"), "1");
    // "Ok" stores the start directory of the run, not the path box's text.
    EXPECT_EQ(store.value("txtPath", "<none>"), "");

    withSettings(ctl<QPushButton>("cmdSettings"), [&](FrmSettings* d) {
        click(d->chkShellShowVexor);
        click(d->cmdOK);
    });
    EXPECT_TRUE(QFileInfo::exists(entry));
    EXPECT_TRUE(ui.asked.empty());
}

// "/p DIR/a.txt" puts "a.txt" into the pattern box for this run only: neither
// the exit nor "Ok" stores it, while a pattern the user types there is stored.
TEST_F(SettingsFromMainTest, APatternFromTheCommandLineIsStoredOnlyWhenTheUserTypesOne)
{
    const QString dir = makeDir("songs");
    writeFile("songs/a.txt");
    writeFile("songs/b.txt");
    platform::SettingsStore().setValue("txtPattern", "*.txt");
    const auto storedPattern = [] { return platform::SettingsStore().value("txtPattern"); };

    start({"/p", dir + "/a.txt"});
    EXPECT_EQ(ctl<platform::TextBox>("txtPattern")->text(), "a.txt");
    withSettings(ctl<QPushButton>("cmdSettings"), [&](FrmSettings* d) { click(d->cmdOK); });
    EXPECT_EQ(storedPattern(), "*.txt");
    w->close();
    ASSERT_TRUE(w->exited());
    w.reset();
    EXPECT_EQ(storedPattern(), "*.txt");

    start({"/p", dir + "/a.txt"});
    auto* box = ctl<platform::TextBox>("txtPattern");
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, "b*");
    QTest::keyClick(box, Qt::Key_Return);
    auto* list = ctl<platform::ListView>("lwDirectory");
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->text(0), "b.txt");
    w->close();
    ASSERT_TRUE(w->exited());
    w.reset();
    EXPECT_EQ(storedPattern(), "b*");
}

// With no Thunar file of the user's, "Ok" starts one from Thunar's defaults,
// so the folder menu keeps Thunar's own actions next to ours; with the option
// off the copy goes again. A place it cannot write is named in one box and in
// an error line, which makes the exit status 1.
TEST_F(SettingsFromMainTest, OkKeepsThunarsOwnActionsAndNamesAPlaceItCannotWrite)
{
    const QByteArray defaults = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<actions>\n<action>"
                                "<icon>utilities-terminal</icon><name>Open Terminal Here</name>"
                                "<command>exo-open --working-directory %f --launch TerminalEmulator</command>"
                                "<directories/></action>\n</actions>\n";
    QDir().mkpath(systemConfig() + "/Thunar");
    {
        QFile f(systemConfig() + "/Thunar/uca.xml");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(defaults);
    }
    const QString thunar = root() + "/config/Thunar/uca.xml";
    start();

    withSettings(ctl<QPushButton>("cmdSettings"), [&](FrmSettings* d) {
        EXPECT_TRUE(d->chkShellShowVexor->isChecked());
        click(d->cmdOK);
    });
    EXPECT_TRUE(ui.asked.empty());
    EXPECT_TRUE(readText(thunar).contains("<name>Open Terminal Here</name>"));
    EXPECT_TRUE(readText(thunar).contains("<name>Start Vexor Renamer...</name>"));

    withSettings(ctl<QPushButton>("cmdSettings"), [&](FrmSettings* d) {
        click(d->chkShellShowVexor); // off
        click(d->cmdOK);
    });
    EXPECT_TRUE(ui.asked.empty());
    EXPECT_FALSE(QFileInfo::exists(thunar));

    // The user's file kept elsewhere behind a link is never written through.
    const QString dotfile = writeFile("dotfiles/uca.xml", defaults);
    ASSERT_TRUE(QFile::link(dotfile, thunar));
    ui.answers = {QMessageBox::Ok};
    withSettings(ctl<QPushButton>("cmdSettings"), [&](FrmSettings* d) {
        click(d->chkShellShowVexor); // on
        click(d->cmdOK);
    });
    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(ui.asked[0].text, "Error creating keys in file manager entry!\n\n" + thunar +
                                    " is a symbolic link; the action was not added there.");
    EXPECT_EQ(ui.asked[0].icon, QMessageBox::Critical);
    EXPECT_EQ(readText(dotfile).toUtf8(), defaults);
    EXPECT_TRUE(QFileInfo::exists(root() + "/data/file-manager/actions/vexorren.desktop"));
    const QStringList errors = readLines(programFolder() + "/errors.txt");
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].endsWith(") Error creating keys in file manager entry! " + thunar +
                                   " is a symbolic link; the action was not added there."))
        << errors[0].toStdString();
    EXPECT_EQ(w->exitStatus(), 1);
}

// "Ok" stores the settings at once: where the file cannot be written, the user
// is told in a box and the error log has the save's line.
TEST_F(SettingsFromMainTest, OkWhereTheSettingsFileCannotBeWrittenSaysSo)
{
    start();
    const QString folder = root() + "/config/Taborin";
    writeFileBytes(folder, "not a folder");
    ui.answers.push_back(QMessageBox::Ok);
    withSettings(ctl<QPushButton>("cmdSettings"), [&](FrmSettings* d) {
        click(d->chkShellShowVexor);
        click(d->cmdOK);
    });
    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(ui.asked[0].icon, QMessageBox::Critical);
    EXPECT_EQ(ui.asked[0].text, "Error 76 (Path not found) Error saving settings!\n\nThe settings file " + folder +
                                    "/Taborin.ini could not be written; the settings were not saved.");
    const QStringList errors = readLines(programFolder() + "/errors.txt");
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].endsWith(") Error 76 (Path not found) Error saving settings!")) << errors[0].toStdString();
    EXPECT_EQ(fileBytes(folder), "not a folder");
}

TEST_F(SettingsFromMainTest, OkClosesTheWindowBeforeTheThumbnailsAreRedrawn)
{
    QImage picture(120, 80, QImage::Format_RGB32);
    picture.fill(Qt::darkBlue);
    ASSERT_TRUE(picture.save(writeFile("photo.jpg"), "JPG"));
    start();
    listWork();
    click(ctl<QCheckBox>("chkThumbnails"));
    toFreeSelect({"photo.jpg"});
    click(ctl<QCheckBox>("chkThumbnailsFreeSelect"));
    ASSERT_EQ(w->state().files.thumbnailsShownFreeSel, -1);

    // What the status bar says while the options window is still on screen.
    QStringList whileShown;
    QObject::connect(ctl<platform::StatusPanels>("StatusBar"), &platform::StatusPanels::panelTextSet, w.get(),
                     [&](const QString& key, const QString& text) {
                         for (FrmSettings* d : w->findChildren<FrmSettings*>())
                             if (key == "main" && d->isVisible())
                                 whileShown << text;
                     });
    QStringList afterwards;
    QObject::connect(ctl<platform::StatusPanels>("StatusBar"), &platform::StatusPanels::panelTextSet, w.get(),
                     [&](const QString& key, const QString& text) {
                         if (key == "main")
                             afterwards << text;
                     });
    withSettings(ctl<QPushButton>("cmdSettings"), [&](FrmSettings* d) {
        tab(d, "interface2");
        d->txtThumbWidth->setFocus();
        QTest::keyClick(d->txtThumbWidth, Qt::Key_Delete);
        QTest::keyClicks(d->txtThumbWidth, "96");
        click(d->cmdOK);
    });
    EXPECT_FALSE(whileShown.contains("Generating Thumbnails...")) << whileShown.join("|").toStdString();
    EXPECT_FALSE(whileShown.contains("Reading Directory Structure...")) << whileShown.join("|").toStdString();
    EXPECT_TRUE(afterwards.contains("Generating Thumbnails...")) << afterwards.join("|").toStdString();
    EXPECT_TRUE(afterwards.contains("Reading Directory Structure...")) << afterwards.join("|").toStdString();
    EXPECT_EQ(w->state().files.thumbnailsShownFreeSel, -1);
    EXPECT_EQ(w->state().files.imagelistSysIconsFreeSelectLarge.size, QSize(96, 64));
}
