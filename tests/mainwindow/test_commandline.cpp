// The unattended run: "vexorren /p DIR /e MODE /x" with stored options, run
// as a real process against a temporary settings store and program folder.
#include "desktop_entry.h"
#include "platform/datetext.h"
#include "platform/fileops.h"
#include "platform/settingsstore.h"
#include "test_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <fcntl.h>
#include <unistd.h>

namespace {

QByteArray mp3WithId3v1(const QByteArray& artist, const QByteArray& title)
{
    QByteArray frame(417, '\0');
    frame[0] = char(0xFF);
    frame[1] = char(0xFB);
    frame[2] = char(0x90);
    frame[3] = char(0x64);
    QByteArray data = frame.repeated(5);
    QByteArray tag(128, '\0');
    tag.replace(0, 3, "TAG");
    tag.replace(3, title.size(), title);
    tag.replace(33, artist.size(), artist);
    tag[127] = char(255);
    return data + tag;
}

struct CliCase {
    const char* mode;
    std::vector<std::pair<const char*, QByteArray>> files; // created before the run
    std::vector<std::pair<const char*, const char*>> keys; // stored settings
    QStringList expected;                                  // names after the run
};

} // namespace

class CommandLineTest : public TempEnv {
protected:
    int runRenamer(const QStringList& args)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_CONFIG_HOME", root() + "/config");
        env.insert("XDG_DATA_HOME", root() + "/data");
        env.insert("VEXORREN_HOME", programFolder());
        p.setProcessEnvironment(env);
        p.start(QCoreApplication::applicationDirPath() + "/vexorren", args);
        if (!p.waitForFinished(30000)) {
            p.kill();
            return -1;
        }
        return p.exitCode();
    }
};

TEST_F(CommandLineTest, EveryStartModeRunsAndExits)
{
    const QByteArray png = QByteArray::fromHex("89504e470d0a1a0a0000000d49484452") + QByteArray(64, '\0');
    const std::vector<CliCase> cases = {
        {"modereplace", {{"a b.txt", {}}}, {{"txtFind", "a"}, {"txtReplace", "x"}}, {"x b.txt"}},
        {"modebatchreplace", {{"abc.txt", {}}}, {}, {"xyc.txt"}},
        {"modecase", {{"hello world.TXT", {}}}, {{"Case1", "1"}, {"Case2", "2"}}, {"HELLO WORLD.txt"}},
        {"modespace", {{" lead  and  trail .txt", {}}}, {}, {"lead and trail.txt"}},
        {"modeadd", {{"name.txt", {}}}, {{"txtAdd", "new "}, {"txtAddPos", "0"}}, {"new name.txt"}},
        {"modecrop", {{"12name.txt", {}}}, {{"txtCropNumber", "2"}, {"txtCropPos", "0"}}, {"name.txt"}},
        {"modenormalize", {{"track 7.mp3", {}}}, {{"txtNormalize", "3"}}, {"track 007.mp3"}},
        {"modeenum",
         {{"a.txt", {}}, {"b.txt", {}}},
         {{"txtEnumFormat", "<ENUM>-<NAME>"}, {"chkEnumAutoZeros", "0"}, {"txtEnumZeros", "2"}},
         {"01-a", "02-b"}},
        {"modeformat", {{"doc.txt", "12345"}}, {{"txtFormat", "<NAME> [<SIZEB>].<EXT>"}}, {"doc [5].txt"}},
        {"modefiletype", {{"picture", png}}, {}, {"picture.png"}},
        {"modemp3",
         {{"track.mp3", mp3WithId3v1("Artist", "Song")}},
         {{"txtMp3Format", "<ARTIST> - <TITLE>"}},
         {"Artist - Song.mp3"}},
    };
    for (const CliCase& c : cases) {
        const QString dir = work() + "/" + c.mode;
        QDir().mkpath(dir);
        for (const auto& [name, content] : c.files) {
            QFile f(dir + "/" + QString::fromUtf8(name));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        {
            platform::SettingsStore store;
            store.deleteSection();
            for (const auto& [key, value] : c.keys)
                store.setValue(key, value);
        }
        QFile replace(programFolder() + "/replace.txt");
        ASSERT_TRUE(replace.open(QIODevice::WriteOnly));
        replace.write("a/x/0/0/0/0\nb/y/0/0/0/0\n");
        replace.close();
        EXPECT_EQ(runRenamer({"/p", dir, "/e", c.mode, "/x"}), 0) << c.mode;
        QStringList names = QDir(dir).entryList(QDir::Files, QDir::Name);
        EXPECT_EQ(names, c.expected) << c.mode << ": " << names.join(" | ").toStdString();
        // The run saved its settings on the way out.
        EXPECT_EQ(platform::SettingsStore().value("txtPath"), dir + "/") << c.mode;
    }
}

TEST_F(CommandLineTest, AttributesAndDatesRunUnattended)
{
    const QString dir = makeDir("attr");
    const QString f = writeFile("attr/file.txt", "x");
    {
        platform::SettingsStore store;
        store.setValue("chkR", "1");
        store.setValue("chkA", "1");
    }
    EXPECT_EQ(runRenamer({"/p", dir, "/e", "modeattrib", "/x"}), 0);
    EXPECT_EQ(platform::getAttributes(f), platform::attr::ReadOnly | platform::attr::Archive);
    {
        platform::SettingsStore store;
        store.setValue("chkDateModified", "1");
        store.setValue("chkDateDate", "1");
        store.setValue("chkDateTime", "0");
        store.setValue("dtDate", platform::dateText(QDate(2011, 11, 11)));
    }
    EXPECT_EQ(runRenamer({"/p", dir, "/e", "modedate", "/x"}), 0);
    EXPECT_EQ(platform::toDateTime(platform::entryInfo(f)->modified).date(), QDate(2011, 11, 11));
}

TEST_F(CommandLineTest, ExitFlagWithoutAValidModeStillExits)
{
    const QString dir = makeDir("nothing");
    writeFile("nothing/keep.txt");
    EXPECT_EQ(runRenamer({"/p", dir, "/e", "modereplace", "/x"}), 0); // empty find text: nothing runs
    EXPECT_TRUE(QFileInfo::exists(dir + "/keep.txt"));
}

// The exit status says how an unattended run went, and every box it met is on
// standard error, answered with its default button.
TEST_F(CommandLineTest, ExitStatusAndBoxesOfUnattendedRuns)
{
    auto run = [&](const QStringList& args, const QString& programDir, QByteArray* err) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_CONFIG_HOME", root() + "/config");
        env.insert("XDG_DATA_HOME", root() + "/data");
        env.insert("VEXORREN_HOME", programDir);
        p.setProcessEnvironment(env);
        p.start(QCoreApplication::applicationDirPath() + "/vexorren", args);
        if (!p.waitForFinished(30000)) {
            p.kill();
            return -1;
        }
        *err = p.readAllStandardError();
        return p.exitCode();
    };
    const QString dir = makeDir("odd");
    writeFile("odd/a b.txt");
    const QByteArray bad = QFile::encodeName(dir) + "/bad\xff.txt";
    const int fd = ::open(bad.constData(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ::close(fd);
    {
        platform::SettingsStore store;
        store.setValue("txtFind", "a");
        store.setValue("txtReplace", "x");
    }
    QByteArray err;
    // A name that is not UTF-8 is listed, never renamed, and reported: status 1.
    EXPECT_EQ(run({"/p", dir, "/e", "modereplace", "/x"}, programFolder(), &err), 1) << err.toStdString();
    EXPECT_TRUE(err.contains("Vexor Renamer: There were errors during execution!")) << err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(dir + "/x b.txt"));
    const QStringList errors = readLines(programFolder() + "/errors.txt");
    // Once when the directory is first listed, once for the run; not once per read.
    EXPECT_EQ(errors.filter("not valid UTF-8").size(), 2) << errors.join("\n").toStdString();
    ::unlink(bad.constData());

    // Nothing to fail: status 0.
    EXPECT_EQ(run({"/p", dir, "/e", "modereplace", "/x"}, programFolder(), &err), 0) << err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(dir + "/x b.txt")); // no "a" left

    // No log.txt can be written: nothing changes, status 2, the box names the file.
    writeFile("odd/a2.txt");
    const QString regular = writeFile("plain", "x");
    EXPECT_EQ(run({"/p", dir, "/e", "modereplace", "/x"}, regular + "/program", &err), 2) << err.toStdString();
    EXPECT_TRUE(err.contains(regular.toUtf8() + "/program/log.txt")) << err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(dir + "/a2.txt"));

    // A settings store that cannot be read: the run does not start on defaults.
    const QString storeFile = platform::SettingsStore().fileName();
    QFile::remove(storeFile);
    QDir().mkpath(storeFile);
    EXPECT_EQ(run({"/p", dir, "/e", "modecase", "/x"}, programFolder(), &err), 2) << err.toStdString();
    EXPECT_TRUE(err.contains("Error loading settings!")) << err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(dir + "/a2.txt"));
    EXPECT_TRUE(readText(programFolder() + "/errors.txt").contains("Error loading settings!"));
}

// The folder actions an exit writes run the renamer on a folder whose name
// has a blank; once the option is off, the next exit removes it.
TEST_F(CommandLineTest, ExitWritesTheFileManagerEntryWhoseCommandOpensAFolder)
{
    const QString entry = root() + "/data/file-manager/actions/vexorren.desktop";
    const QString first = makeDir("first");
    EXPECT_EQ(runRenamer({"/p", first, "/e", "modereplace", "/x"}), 0);
    ASSERT_TRUE(QFileInfo::exists(entry));
    EXPECT_TRUE(QFileInfo::exists(root() + "/data/kio/servicemenus/vexorren.desktop"));
    EXPECT_TRUE(readText(root() + "/config/Thunar/uca.xml").contains("Start Vexor Renamer..."));

    const QString folder = makeDir("my folder");
    writeFile("my folder/hello world.TXT");
    {
        platform::SettingsStore store;
        store.setValue("Case1", "1");
        store.setValue("Case2", "2");
    }
    QStringList args = desktopExecArguments(desktopExecValue(readText(entry)), folder);
    ASSERT_EQ(args.size(), 3);
    EXPECT_EQ(QFileInfo(args[0]).canonicalFilePath(),
              QFileInfo(QCoreApplication::applicationDirPath() + "/vexorren").canonicalFilePath());
    EXPECT_EQ(args.mid(1), QStringList({"/p", folder}));
    EXPECT_EQ(runRenamer(args.mid(1) + QStringList({"/e", "modecase", "/x"})), 0);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList({"HELLO WORLD.txt"}));

    platform::SettingsStore().setValue("shellShowVexor", "0");
    EXPECT_EQ(runRenamer({"/p", first, "/e", "modereplace", "/x"}), 0);
    EXPECT_FALSE(QFileInfo::exists(entry));
    EXPECT_FALSE(QFileInfo::exists(root() + "/config/Thunar/uca.xml"));
}
