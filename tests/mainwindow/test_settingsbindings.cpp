#include "mainwindow/frmmain.h"
#include "mainwindow_fixture.h"
#include "platform/settingsstore.h"
#include "settings/settingskeys.h"
#include "settings/storeforms.h"
#include "settings_values.h"
#include "test_support.h"

#include <QDateEdit>
#include <QTest>
#include <QTimeEdit>
#include <QToolButton>

namespace {

// A valid value other than the default for a bound field. The values agree
// with each other, so that no handler changes one of them at load: the
// Normalize tab allows directories, and "Process Name" off goes with
// "Process Extension" on.
void changeField(const SettingsKey& key, Settings& s)
{
    changeToOtherValue(key, s, 2); // a box is ticked or not
}

class SettingsBindingTest : public MainWindowFixture<> {};

} // namespace

// Every bound key stored with a value other than its default survives a
// start, an exit and a restart.
TEST_F(SettingsBindingTest, EveryBoundKeySurvivesStartExitAndRestart)
{
    std::vector<const SettingsKey*> bound;
    {
        FrmMain probe(ui, QStringList());
        probe.setExited();
        for (const SettingsTarget& field : probe.bindings().fields()) {
            const SettingsKey* found = nullptr;
            for (const SettingsKey& key : settingsKeys())
                if (key.target == field)
                    found = &key;
            ASSERT_NE(found, nullptr) << "a bound field without a settings key";
            bound.push_back(found);
        }
    }
    ASSERT_GE(bound.size(), 60u);

    Settings changed;
    for (const SettingsKey* key : bound)
        changeField(*key, changed);
    // One of "New Date:" and "New Time:" stays ticked (both are ticked by
    // default), so only "New Date:" leaves its default here.
    changed.chkDateTime = 1;
    std::map<QString, QString> expected;
    {
        platform::SettingsStore store;
        for (const SettingsKey* key : bound) {
            const QString text = storedText(*key, changed);
            if (key->defaultKind == DefaultKind::Fixed && QLatin1String(key->key) != QLatin1String("chkDateTime")) {
                ASSERT_NE(text, QString::fromLatin1(key->defaultText)) << key->key;
            }
            expected[QString::fromLatin1(key->key)] = text;
            store.setValue(QString::fromLatin1(key->key), text);
        }
        // The tree view's box keeps its tick only while the tree is enabled.
        store.setValue(QStringLiteral("enableTreeview"), QStringLiteral("1"));
        // "Subdirectories" is unticked at every start unless told otherwise.
        store.setValue(QStringLiteral("uncheckSubsdirsAtStartup"), QStringLiteral("0"));
        ASSERT_TRUE(store.sync());
    }

    for (int round = 1; round <= 2; ++round) {
        start();
        EXPECT_EQ(ctl<platform::TabStrip>("TabStrip")->selectedKey(), QStringLiteral("Enum"));
        EXPECT_EQ(ctl<platform::TextBox>("txtFind")->text(), QStringLiteral("x"));
        EXPECT_EQ(ctl<platform::CheckBox>("chkDirs")->value(), 1);
        // Forget the loaded values: what is saved must come from the controls.
        Settings fresh;
        fresh.enableTreeview = 1;
        fresh.uncheckSubsdirsAtStartup = 0;
        w->state().settings = fresh;
        w->close();
        ASSERT_TRUE(w->exited());
        w.reset();
        platform::SettingsStore store;
        for (const auto& [key, text] : expected)
            EXPECT_EQ(store.value(key), text) << "round " << round << ", key " << key.toStdString();
    }
}

// A stored date and time that cannot be read stay in the file while the
// pickers show the time of the start in their place; what the user chooses
// there replaces them, also today's date taken with its button.
TEST_F(SettingsBindingTest, AnUnreadableStoredDateStaysUntilTheUserChoosesOne)
{
    ui.failOnUnscripted = false;
    const struct {
        const char* name;
        std::function<void(FrmMain&)> choose;
        bool dateChosen, timeChosen;
    } cases[] = {
        {"nothing touched", [](FrmMain&) {}, false, false},
        {"current date button",
         [](FrmMain& w) { QTest::mouseClick(control<QToolButton>(w, "cmdGetCurrentDate"), Qt::LeftButton); }, true,
         false},
        {"current time button",
         [](FrmMain& w) { QTest::mouseClick(control<QToolButton>(w, "cmdGetCurrentTime"), Qt::LeftButton); }, false,
         true},
        {"a day up in the picker",
         [](FrmMain& w) {
             auto* picker = control<QDateEdit>(w, "dtDate");
             picker->setFocus();
             QTest::keyClick(picker, Qt::Key_Up);
         },
         true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        {
            platform::SettingsStore store;
            store.deleteSection();
            store.setValue("dtDate", "someday");
            store.setValue("dtTime", "noon");
            ASSERT_TRUE(store.sync());
        }
        start();
        ctl<platform::TabStrip>("TabStrip")->selectKey("Attrib");
        EXPECT_EQ(ctl<QDateEdit>("dtDate")->date(), ui.clock.date());
        c.choose(*w);
        const QDate date = ctl<QDateEdit>("dtDate")->date();
        const QTime time = ctl<QTimeEdit>("dtTime")->time();
        w->close();
        ASSERT_TRUE(w->exited());
        dropMainWindow();
        platform::SettingsStore store;
        EXPECT_EQ(store.value("dtDate"), c.dateChosen ? date.toString("yyyy-MM-dd") : QString("someday"));
        EXPECT_EQ(store.value("dtTime"), c.timeChosen ? time.toString("HH:mm:ss") : QString("noon"));
    }
}
