#include "platform/settingsstore.h"
#include "test_support.h"

#include <QFile>

using platform::SettingsStore;

class SettingsStoreTest : public TempEnv {};

TEST_F(SettingsStoreTest, WriteReadDeleteKeepsOtherSections)
{
    {
        SettingsStore other(QStringLiteral("Other Program"));
        other.setValue("keep", "1");
    }
    SettingsStore store;
    EXPECT_EQ(store.value("missing", "dflt"), "dflt");
    store.setValue("txtFind", "a, b");
    store.setValue("hideLogo", "False");
    ASSERT_TRUE(store.sync());
    EXPECT_TRUE(store.fileName().startsWith(root() + "/config/Taborin/Taborin.ini"));
    {
        SettingsStore again;
        EXPECT_EQ(again.value("txtFind"), "a, b");
        EXPECT_EQ(again.value("hideLogo"), "False");
        EXPECT_EQ(again.keys().size(), 2);
        again.deleteSection();
    }
    SettingsStore after;
    EXPECT_TRUE(after.keys().isEmpty());
    EXPECT_EQ(SettingsStore(QStringLiteral("Other Program")).value("keep"), "1");
}

TEST_F(SettingsStoreTest, ReadingNeverCreatesTheFile)
{
    {
        SettingsStore store;
        EXPECT_EQ(store.value("x", "d"), "d");
        store.deleteSection();
    }
    EXPECT_FALSE(QFile::exists(root() + "/config/Taborin/Taborin.ini"));
}
