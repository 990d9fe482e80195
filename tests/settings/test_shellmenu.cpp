#include "desktop_entry.h"
#include "settings/shellmenu.h"
#include "settings_fixture.h"

#include <QDir>
#include <QFile>

class ShellMenuTest : public SettingsTest {
protected:
    ScriptedUi ui;
    QString entry() const { return root() + "/data/applications/vexorren-folder.desktop"; }
};

TEST_F(ShellMenuTest, ExecArgumentsAreQuotedByTheDesktopEntryRules)
{
    struct Case {
        const char* path;
        const char* written;
    };
    const Case cases[] = {
        {"/usr/bin/vexorren", R"("/usr/bin/vexorren")"},
        {"/opt/my apps/vexorren", R"("/opt/my apps/vexorren")"},
        {R"(/opt/say "hi"/vexorren)", R"("/opt/say \\"hi\\"/vexorren")"},
        {R"(/opt/back\slash/vexorren)", R"("/opt/back\\\\slash/vexorren")"},
        {"/opt/$HOME/vexorren", R"("/opt/\\$HOME/vexorren")"},
        {"/opt/`id`/vexorren", R"("/opt/\\`id\\`/vexorren")"},
        {"/opt/100%/vexorren", R"("/opt/100%%/vexorren")"},
        {"/opt/it's/vexorren", R"("/opt/it's/vexorren")"},
        {"/opt/tab\there/vexorren", ""},
        {"/opt/line\nbreak/vexorren", ""},
    };
    for (const Case& c : cases) {
        const QString path = QString::fromUtf8(c.path);
        EXPECT_EQ(desktopExecArgument(path), QString::fromUtf8(c.written)) << c.path;
        if (*c.written) {
            EXPECT_EQ(desktopExecArguments(desktopExecArgument(path) + " /p %f", "/x"), QStringList({path, "/p", "/x"}))
                << c.path;
        }
    }
}

TEST_F(ShellMenuTest, CreateWritesAnEntryTheValidatorAcceptsAndDeleteRemovesIt)
{
    const QString program = work() + R"(/odd "bin" $dir\100%/it's vexorren)";
    createShellMenuKeys(ui, nullptr, program);
    ASSERT_TRUE(QFile::exists(entry()));
    EXPECT_TRUE(ui.asked.empty());
    const QString text = readText(entry());
    EXPECT_TRUE(text.startsWith("[Desktop Entry]\n"));
    for (const char* line :
         {"Type=Application", "Name=Start Vexor Renamer...", "MimeType=inode/directory;", "NoDisplay=true"})
        EXPECT_TRUE(text.split('\n').contains(QString::fromLatin1(line))) << line;
    EXPECT_EQ(desktopExecArguments(desktopExecValue(text), "/home/me/My Music"),
              QStringList({program, "/p", "/home/me/My Music"}));
    EXPECT_EQ(desktopFileComplaints(entry()), QString());

    // A second save overwrites without a message, and leaves no temporary file.
    createShellMenuKeys(ui, nullptr, "/usr/bin/vexorren");
    EXPECT_TRUE(ui.asked.empty());
    EXPECT_EQ(desktopExecArguments(desktopExecValue(readText(entry())), "/d"),
              QStringList({"/usr/bin/vexorren", "/p", "/d"}));
    EXPECT_EQ(QDir(root() + "/data/applications").entryList(QDir::Files | QDir::Hidden),
              QStringList({"vexorren-folder.desktop"}));

    deleteShellMenuKeys(ui, nullptr);
    EXPECT_FALSE(QFile::exists(entry()));
    // Nothing there: nothing to do and nothing to say.
    deleteShellMenuKeys(ui, nullptr);
    EXPECT_TRUE(ui.asked.empty());
}

TEST_F(ShellMenuTest, ThePathComesFromXdgDataHomeUnlessItIsRelative)
{
    EXPECT_EQ(shellMenuEntryPath(), entry());
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", "relative/data");
    EXPECT_EQ(shellMenuEntryPath(), QDir::homePath() + "/.local/share/applications/vexorren-folder.desktop");
    qputenv("XDG_DATA_HOME", saved);
}

// Each save that cannot write or remove the entry says so once, and the rest of
// the save (the keys after the entry, the two lists) still happens.
TEST_F(ShellMenuTest, AnEntryThatCannotBeWrittenOrRemovedGivesOneMessagePerSave)
{
    struct Case {
        const char* name;
        std::function<bool()> block; // false: this machine cannot set up the case
        int shellShowVexor;
        const char* message;
    };
    const QString apps = root() + "/data/applications";
    const Case cases[] = {
        {"read-only folder",
         [&] {
             QDir().mkpath(apps);
             QFile::setPermissions(apps, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
             return !QFileInfo(apps).isWritable(); // the super-user writes anyway
         },
         1, "Error creating keys in file manager entry!"},
        {"folder in place of the entry", [&] { return QDir().mkpath(entry()); }, 1,
         "Error creating keys in file manager entry!"},
        {"file in place of the folder",
         [&] {
             QDir().mkpath(root() + "/data");
             QFile f(apps);
             return f.open(QIODevice::WriteOnly);
         },
         1, "Error creating keys in file manager entry!"},
        {"folder in place of the entry, removing", [&] { return QDir().mkpath(entry() + "/inside"); }, 0,
         "Error deleting keys from file manager entry!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::setPermissions(apps, QFile::permissions(apps) | QFileDevice::WriteOwner);
        QDir(root() + "/data").removeRecursively();
        QFile::remove(programFolder() + "/replace.txt");
        if (!c.block())
            continue;
        Settings s;
        s.shellShowVexor = c.shellShowVexor;
        ui.asked.clear();
        ui.answers = {QMessageBox::Ok};
        tables.batchReplaceList = {BatchReplaceItem{"a", "b", 0, 0, 0, 0}};
        save(s, shellMenuStep(ui, nullptr));
        ASSERT_EQ(ui.asked.size(), 1u);
        EXPECT_EQ(ui.asked[0].text, QString::fromLatin1(c.message));
        EXPECT_EQ(ui.asked[0].icon, QMessageBox::Critical);
        EXPECT_EQ(stored("lwShowGuidelines"), "0");
        EXPECT_EQ(readLines(programFolder() + "/replace.txt"), QStringList({"a/b/0/0/0/0"}));
    }
    QFile::setPermissions(apps, QFile::permissions(apps) | QFileDevice::WriteOwner);
}
