#include "platform/settingsstore.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <functional>
#include <sys/stat.h>
#include <unistd.h>

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

// A store that is no regular file, also behind a link, is never opened (a FIFO
// would block) and never written: it reads as empty and keeps its place.
TEST_F(SettingsStoreTest, AStoreThatCannotBeReadIsNeverOpenedNorWritten)
{
    const QString file = SettingsStore().fileName();
    const QByteArray native = QFile::encodeName(file);
    const QByteArray fifo = QFile::encodeName(root() + "/fifo");
    const QByteArray folder = QFile::encodeName(root() + "/folder");
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    ASSERT_TRUE(QDir().mkpath(root() + "/folder"));
    QDir().mkpath(QFileInfo(file).path());
    const struct {
        const char* name;
        std::function<void()> make;
        mode_t type; // of the store's own place, seen with lstat
    } cases[] = {
        {"fifo", [&] { ::mkfifo(native.constData(), 0600); }, S_IFIFO},
        {"link to a fifo", [&] { ::symlink(fifo.constData(), native.constData()); }, S_IFLNK},
        {"link to a directory", [&] { ::symlink(folder.constData(), native.constData()); }, S_IFLNK},
        {"link to itself", [&] { ::symlink(native.constData(), native.constData()); }, S_IFLNK},
        {"directory", [&] { ::mkdir(native.constData(), 0700); }, S_IFDIR},
    };
    for (const auto& c : cases) {
        c.make();
        {
            SettingsStore store;
            EXPECT_NE(store.readError(), 0) << c.name;
            EXPECT_EQ(store.value("txtFind", "dflt"), "dflt") << c.name;
            EXPECT_TRUE(store.keys().isEmpty()) << c.name;
            store.setValue("txtFind", "x");
            store.deleteSection();
            EXPECT_FALSE(store.sync()) << c.name;
        }
        struct stat st {};
        ASSERT_EQ(::lstat(native.constData(), &st), 0) << c.name;
        EXPECT_EQ(st.st_mode & S_IFMT, c.type) << c.name;
        EXPECT_TRUE(QDir(root() + "/folder").isEmpty()) << c.name;
        if (S_ISDIR(st.st_mode))
            ::rmdir(native.constData());
        else
            ::unlink(native.constData());
    }

    // A link to a regular file (a dotfile set up by the user) is read and
    // written through, and stays a link.
    const QString target = root() + "/dotfiles/Taborin.ini";
    QDir().mkpath(root() + "/dotfiles");
    {
        QFile f(target);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Vexor%20Renamer]\ntxtFind=kept\n");
    }
    ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), native.constData()), 0);
    {
        SettingsStore store;
        EXPECT_EQ(store.readError(), 0);
        EXPECT_EQ(store.value("txtFind"), "kept");
        store.setValue("txtReplace", "new");
        EXPECT_TRUE(store.sync());
    }
    EXPECT_TRUE(QFileInfo(file).isSymLink());
    EXPECT_EQ(SettingsStore().value("txtReplace"), "new");
}
