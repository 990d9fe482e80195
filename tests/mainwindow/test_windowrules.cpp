// The main window's option pairs, its load order, the selection the user makes
// and the Escape key, driven through the real widgets.
#include "mainwindow/frmmain.h"
#include "mainwindow_fixture.h"
#include "platform/settingsstore.h"
#include "test_support.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>
#include <QTimer>
#include <QTreeView>

namespace {

struct Pair {
    const char* tab; // the rename-mode tab the pair lies on
    const char* key; // settings key: 0 the first option, 1 the second
    const char* first;
    const char* second;
};

const Pair kPairs[] = {
    {"Replace", "optReplace", "optReplaceSingle", "optReplaceBatch"},
    {"AddCrop", "optAddCrop", "optAdd", "optCrop"},
    {"Format", "chkFormatTab", "chkFormatTab_Format", "chkFormatTab_Detect"},
    {"Enum", "chkEnumTab", "chkEnumTab_Enum", "chkEnumTab_Normalize"},
    {"Attrib", "optAttrib", "optAttrib_Attributes", "optAttrib_Date"},
};

} // namespace

class WindowRulesTest : public MainWindowFixture<> {
protected:
    static void store(const std::vector<std::pair<QString, QString>>& values)
    {
        platform::SettingsStore s;
        for (const auto& [key, value] : values)
            s.setValue(key, value);
        s.sync();
    }
    void clickTab(const QString& key)
    {
        QTest::mouseClick(
            ctl<platform::TabStrip>("TabStrip")->tabButton(ctl<platform::TabStrip>("TabStrip")->indexOfKey(key)),
            Qt::LeftButton);
        ASSERT_EQ(ctl<platform::TabStrip>("TabStrip")->selectedKey(), key);
    }
    static void click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center()); }
    void clickRow(platform::ListView* list, int row, Qt::KeyboardModifiers mods = {})
    {
        auto* view = list->reportView();
        const QRect r = view->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, mods, r.center());
    }
    QStringList names() const { return QDir(work()).entryList(QDir::Files, QDir::Name); }
};

TEST_F(WindowRulesTest, EachOptionPairStaysExclusiveUnderClicks)
{
    start();
    for (const Pair& p : kPairs) {
        SCOPED_TRACE(p.tab);
        clickTab(p.tab);
        platform::OptionButton* a = ctl<platform::OptionButton>(p.first);
        platform::OptionButton* b = ctl<platform::OptionButton>(p.second);
        ASSERT_TRUE(a->isVisible() && b->isVisible());
        click(b);
        EXPECT_TRUE(b->isChecked());
        EXPECT_FALSE(a->isChecked());
        click(b); // the selected one stays selected
        EXPECT_TRUE(b->isChecked());
        EXPECT_FALSE(a->isChecked());
        click(a);
        EXPECT_TRUE(a->isChecked());
        EXPECT_FALSE(b->isChecked());
        click(a);
        EXPECT_TRUE(a->isChecked());
        EXPECT_FALSE(b->isChecked());
    }
    // A change of the pair runs its handlers: the date option forbids directories.
    clickTab("Attrib");
    click(ctl<platform::OptionButton>("optAttrib_Date"));
    EXPECT_FALSE(ctl<platform::CheckBox>("chkDirs")->isEnabled());
    EXPECT_EQ(w->dirsAllowed(), 0);
    click(ctl<platform::OptionButton>("optAttrib_Attributes"));
    EXPECT_TRUE(ctl<platform::CheckBox>("chkDirs")->isEnabled());
    EXPECT_EQ(w->dirsAllowed(), -1);
}

TEST_F(WindowRulesTest, EveryStoredChoiceComesBackAloneAndSoDoesAClickedOne)
{
    for (const Pair& p : kPairs) {
        for (int stored : {0, 1}) {
            SCOPED_TRACE(std::string(p.key) + "=" + std::to_string(stored));
            store({{p.key, QString::number(stored)}});
            start();
            platform::OptionButton* a = ctl<platform::OptionButton>(p.first);
            platform::OptionButton* b = ctl<platform::OptionButton>(p.second);
            EXPECT_EQ(a->isChecked(), stored == 0);
            EXPECT_EQ(b->isChecked(), stored == 1);
            // The other option, clicked and saved at exit, is the one a restart shows.
            clickTab(p.tab);
            click(stored == 0 ? b : a);
            EXPECT_TRUE(w->close());
            w.reset();
            EXPECT_EQ(platform::SettingsStore().value(p.key), QString::number(1 - stored));
            start();
            a = ctl<platform::OptionButton>(p.first);
            b = ctl<platform::OptionButton>(p.second);
            EXPECT_EQ(a->isChecked(), stored == 1);
            EXPECT_EQ(b->isChecked(), stored == 0);
            dropMainWindow();
        }
    }
}

TEST_F(WindowRulesTest, EachStartModeWordSelectsItsOptionWhateverIsStored)
{
    struct Case {
        const char* word;
        const char* key;
        const char* stored; // the other option
        const char* wanted;
        const char* other;
        const char* tab;
    };
    const Case cases[] = {
        {"modereplace", "optReplace", "1", "optReplaceSingle", "optReplaceBatch", "Replace"},
        {"modebatchreplace", "optReplace", "0", "optReplaceBatch", "optReplaceSingle", "Replace"},
        {"modeadd", "optAddCrop", "1", "optAdd", "optCrop", "AddCrop"},
        {"modecrop", "optAddCrop", "0", "optCrop", "optAdd", "AddCrop"},
        {"modeformat", "chkFormatTab", "1", "chkFormatTab_Format", "chkFormatTab_Detect", "Format"},
        {"modefiletype", "chkFormatTab", "0", "chkFormatTab_Detect", "chkFormatTab_Format", "Format"},
        {"modeenum", "chkEnumTab", "1", "chkEnumTab_Enum", "chkEnumTab_Normalize", "Enum"},
        {"modenormalize", "chkEnumTab", "0", "chkEnumTab_Normalize", "chkEnumTab_Enum", "Enum"},
        {"modeattrib", "optAttrib", "1", "optAttrib_Attributes", "optAttrib_Date", "Attrib"},
        {"modedate", "optAttrib", "0", "optAttrib_Date", "optAttrib_Attributes", "Attrib"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word);
        // No working directory: "Rename!" stays disabled, so nothing runs.
        store({{c.key, c.stored}, {"startupInLastDir", "0"}});
        start({"/e", c.word});
        EXPECT_EQ(ctl<platform::TabStrip>("TabStrip")->selectedKey(), c.tab);
        EXPECT_TRUE(ctl<platform::OptionButton>(c.wanted)->isChecked());
        EXPECT_FALSE(ctl<platform::OptionButton>(c.other)->isChecked());
        dropMainWindow();
    }
}

TEST_F(WindowRulesTest, StoredValuesRunTheirHandlersWhileTheyLoad)
{
    store({{"chkProcessFilename", "0"}, {"chkProcessFileExt", "0"}, {"enableTreeview", "1"}, {"chkShowTreeview", "1"}});
    start();
    EXPECT_EQ(ctl<platform::CheckBox>("chkProcessFilename")->value(), 1);
    EXPECT_EQ(ctl<platform::CheckBox>("chkProcessFileExt")->value(), 0);
    EXPECT_FALSE(ctl<platform::CheckBox>("chkPreview")->isEnabled());
    EXPECT_FALSE(ctl<platform::CheckBox>("chkThumbnails")->isEnabled());
    EXPECT_FALSE(ctl<platform::CheckBox>("chkOnlyRenameSelected")->isEnabled());
    // Unticking the tree by a click gives the three boxes back.
    QTest::mouseClick(ctl<platform::CheckBox>("chkShowTreeview"), Qt::LeftButton, {},
                      indicatorPoint(ctl<platform::CheckBox>("chkShowTreeview")));
    EXPECT_TRUE(ctl<platform::CheckBox>("chkPreview")->isEnabled());
    EXPECT_TRUE(ctl<platform::CheckBox>("chkOnlyRenameSelected")->isEnabled());
    // What is saved is what the window shows.
    EXPECT_TRUE(w->close());
    w.reset();
    EXPECT_EQ(platform::SettingsStore().value("chkProcessFilename"), "1");
    EXPECT_EQ(platform::SettingsStore().value("chkProcessFileExt"), "0");
}

TEST_F(WindowRulesTest, AMouseSelectionIsCountedPreviewedAndRenamedExactly)
{
    for (const char* n : {"a1.txt", "b1.txt", "c1.txt", "d1.txt"})
        writeFile(n);
    store({{"txtPath", work()}, {"chkOnlyRenameSelected", "1"}});
    start();
    platform::ListView* list = ctl<platform::ListView>("lwDirectory");
    ASSERT_EQ(list->count(), 4);
    clickTab("Replace");
    click(ctl<platform::OptionButton>("optReplaceSingle"));
    QTest::keyClicks(ctl<platform::TextBox>("txtFind"), "1");
    QTest::keyClicks(ctl<platform::TextBox>("txtReplace"), "2");
    clickRow(list, 1);
    clickRow(list, 3, Qt::ControlModifier);
    EXPECT_EQ(ctl<platform::StatusPanels>("StatusBar")->panelText("selected"), "2 items selected...");
    EXPECT_EQ(w->state().files.onlySelectedActive, -1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->subItem(1, 1) == "b2.txt"; }, 3000));
    EXPECT_EQ(list->subItem(0, 1), "");
    EXPECT_EQ(list->subItem(2, 1), "");
    EXPECT_EQ(list->subItem(3, 1), "d2.txt");
    ASSERT_TRUE(ctl<QPushButton>("cmdExecute")->isEnabled());
    QTest::mouseClick(ctl<QPushButton>("cmdExecute"), Qt::LeftButton);
    EXPECT_EQ(names(), QStringList({"a1.txt", "b2.txt", "c1.txt", "d2.txt"}));
}

// The system takes at most 255 bytes of UTF-8 in a name: typed two-byte
// letters that make 255 bytes show in the preview and are renamed; one byte
// more shows nothing, is not counted and is left with a warning.
TEST_F(WindowRulesTest, ANameOverTheSystemsByteLimitShowsNoPreview)
{
    writeFile("a.txt");
    writeFile("ab.txt");
    store({{"txtPath", work()}});
    start();
    platform::ListView* list = ctl<platform::ListView>("lwDirectory");
    ASSERT_EQ(list->count(), 2);
    clickTab("Replace");
    click(ctl<platform::OptionButton>("optReplaceSingle"));
    const QString typed = QString::fromUtf8("é").repeated(125) + "x"; // 251 bytes
    QTest::keyClicks(ctl<platform::TextBox>("txtFind"), "a");
    auto* replace = ctl<platform::TextBox>("txtReplace");
    for (int i = 0; i < 125; ++i) // the "é" key of a French keyboard
        QTest::sendKeyEvent(QTest::Click, replace, Qt::Key_Eacute, QString::fromUtf8("é"), Qt::NoModifier);
    QTest::keyClick(replace, Qt::Key_X);
    ASSERT_EQ(ctl<platform::TextBox>("txtReplace")->text(), typed);
    const QString fits = typed + ".txt"; // 255 bytes; "ab.txt" would take 256
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->subItem(0, 1) == fits; }, 3000)) << list->subItem(0, 1).size();
    EXPECT_EQ(list->text(1), "ab.txt");
    EXPECT_EQ(list->subItem(1, 1), "");
    EXPECT_EQ(ctl<platform::StatusPanels>("StatusBar")->panelText("preview"), "1 item to rename...");
    ASSERT_TRUE(ctl<QPushButton>("cmdExecute")->isEnabled());
    QTest::mouseClick(ctl<QPushButton>("cmdExecute"), Qt::LeftButton);
    EXPECT_EQ(names(), QStringList({"ab.txt", fits}));
    EXPECT_EQ(w->executeState().run.warningCount, 1);
}

TEST_F(WindowRulesTest, ASelectionByKeysIsCountedAtOnce)
{
    for (const char* n : {"a.txt", "b.txt", "c.txt"})
        writeFile(n);
    store({{"txtPath", work()}});
    start();
    platform::ListView* list = ctl<platform::ListView>("lwDirectory");
    ASSERT_EQ(list->count(), 3);
    clickRow(list, 0);
    EXPECT_EQ(ctl<platform::StatusPanels>("StatusBar")->panelText("selected"), "1 item selected...");
    QTest::keyClick(list->reportView(), Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(list->reportView(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(ctl<platform::StatusPanels>("StatusBar")->panelText("selected"), "3 items selected...");
    EXPECT_EQ(w->state().files.selectedCount, 3);
}

TEST_F(WindowRulesTest, EscapeWhileIdleDoesNotCancelTheNextRead)
{
    writeFile("a.txt");
    writeFile("b.txt");
    store({{"txtPath", work()}});
    start();
    ASSERT_EQ(ctl<platform::ListView>("lwDirectory")->count(), 2);
    platform::EscapeLatch latch(ui);
    latch.window = w.get();
    QTest::keyClick(w->windowHandle(), Qt::Key_Escape);
    ASSERT_TRUE(ui.takeEscape()); // the press was seen ...
    QTest::keyClick(w->windowHandle(), Qt::Key_Escape);
    // ... and does not reach the read that a click starts later.
    QTest::mouseClick(ctl<platform::CheckBox>("chkSub"), Qt::LeftButton, {},
                      indicatorPoint(ctl<platform::CheckBox>("chkSub")));
    EXPECT_EQ(ctl<platform::ListView>("lwDirectory")->count(), 2);
    EXPECT_NE(ctl<platform::StatusPanels>("StatusBar")->panelText("selected"), "User Cancelled!");
    EXPECT_EQ(w->state().files.lstFiles[0].size(), 2);
    // A press while the read runs still cancels it.
    QTimer::singleShot(0, [&] { QTest::keyClick(w->windowHandle(), Qt::Key_Escape); });
    QTest::mouseClick(ctl<platform::CheckBox>("chkSub"), Qt::LeftButton, {},
                      indicatorPoint(ctl<platform::CheckBox>("chkSub")));
    EXPECT_EQ(ctl<platform::StatusPanels>("StatusBar")->panelText("selected"), "User Cancelled!");
    EXPECT_TRUE(w->state().files.lstFiles[0].isEmpty());
}

TEST_F(WindowRulesTest, AStoredStartOutsideTheSpinnerRangeIsUsedWithinIt)
{
    writeFile("photo.jpg");
    store({{"txtPath", work()},
           {"tabStrip", "1"},
           {"optReplace", "0"},
           {"txtFind", "o"},
           {"txtReplace", "0"},
           {"txtReplaceStart", "-1"},
           {"txtReplaceCount", "5000"}});
    start();
    EXPECT_EQ(ctl<platform::TextBox>("txtReplaceStart")->text(), "0");
    EXPECT_EQ(ctl<platform::TextBox>("txtReplaceCount")->text(), "999");
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return ctl<platform::ListView>("lwDirectory")->subItem(0, 1) == "ph0t0.jpg"; }, 3000));
    QTest::mouseClick(ctl<QPushButton>("cmdExecute"), Qt::LeftButton);
    EXPECT_EQ(names(), QStringList{"ph0t0.jpg"});
}
