// The unattended run: "vexorren /p DIR /e MODE /x" with stored options, run
// as a real process against a temporary settings store and program folder.
#include "desktop_entry.h"
#include "platform/datetext.h"
#include "platform/filemanagerentry.h"
#include "platform/fileops.h"
#include "platform/settingsstore.h"
#include "test_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QSysInfo>

#include <functional>

#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct CliCase {
    const char* mode;
    std::vector<std::pair<const char*, QByteArray>> files; // created before the run
    std::vector<std::pair<const char*, const char*>> keys; // stored settings
    QStringList expected;                                  // names after the run
};

} // namespace

class CommandLineTest : public TempEnv {
protected:
    int runRenamer(const QStringList& args, const QStringList& extraEnv = {})
    {
        QProcess p;
        QProcessEnvironment env = programEnvironment();
        for (const QString& e : extraEnv)
            env.insert(e.section('=', 0, 0), e.section('=', 1));
        p.setProcessEnvironment(env);
        p.start(QCoreApplication::applicationDirPath() + "/vexorren", args);
        if (!p.waitForFinished(30000)) {
            p.kill();
            return -1;
        }
        return p.exitCode();
    }
    // A run with the environment changed by `adjust`, started in `cwd`;
    // `program` starts the renamer itself when it is not the renamer.
    struct Outcome {
        int status = -1;
        QByteArray err;
    };
    static QString renamer() { return QCoreApplication::applicationDirPath() + "/vexorren"; }
    Outcome runIn(const QStringList& args, const std::function<void(QProcessEnvironment&)>& adjust,
                  const QString& cwd = QString(), const QString& program = renamer())
    {
        QProcess p;
        QProcessEnvironment env = programEnvironment();
        adjust(env);
        p.setProcessEnvironment(env);
        if (!cwd.isEmpty())
            p.setWorkingDirectory(cwd);
        p.start(program, args);
        if (!p.waitForFinished(30000)) {
            p.kill();
            p.waitForFinished();
            return {};
        }
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardError()};
    }
    // Convert Case: names upper case, extensions lower case ("ab.TXT" becomes "AB.txt").
    void storeUpperCase()
    {
        platform::SettingsStore store;
        store.setValue("Case1", "1");
        store.setValue("Case2", "2");
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

// An unattended run lists its folder once and renames with the options its
// mode sets: file-type detection ticks Files (stored unticked, with
// Directories ticked), and the file is listed and renamed.
TEST_F(CommandLineTest, AnUnattendedRunReadsWithTheOptionsItsModeSets)
{
    const QByteArray png = QByteArray::fromHex("89504e470d0a1a0a0000000d49484452") + QByteArray(64, '\0');
    const QString dir = makeDir("detect");
    QDir().mkpath(dir + "/inner");
    QFile f(dir + "/picture");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(png);
    f.close();
    {
        platform::SettingsStore store;
        store.setValue("chkFiles", "0");
        store.setValue("chkDirs", "1");
    }
    EXPECT_EQ(runRenamer({"/p", dir, "/e", "modefiletype", "/x"}), 0);
    EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name),
              QStringList({"inner", "picture.png"}));
}

// glibc fills every freed block with the perturb byte: a read of freed memory
// on the way out (a filter of a view already deleted) crashes the run instead
// of passing by luck. The sanitizer build catches the same reads itself.
TEST_F(CommandLineTest, ExitReadsNoFreedMemory)
{
    const QString dir = makeDir("perturb");
    writeFile("perturb/hello world.TXT");
    writeFile("perturb/second file.txt");
    {
        platform::SettingsStore store;
        store.setValue("Case1", "1");
        store.setValue("Case2", "2");
    }
    for (const char* byte : {"165", "90"}) {
        EXPECT_EQ(runRenamer({"/p", dir, "/e", "modecase", "/x"}, {QStringLiteral("MALLOC_PERTURB_=") + byte}), 0)
            << byte;
        EXPECT_EQ(QDir(dir).entryList(QDir::Files, QDir::Name), QStringList({"HELLO WORLD.txt", "SECOND FILE.txt"}))
            << byte;
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

// A desktop stores its date and time in its own locale; a cron job (no
// locale at all) or a service (C.UTF-8) reads them back, puts them on the
// files and leaves their texts as they were. A text that reads as two dates
// there is refused, and stays for the locale that wrote it.
TEST_F(CommandLineTest, AStoredDateOfAnotherLocaleIsReadOrTheRunRefused)
{
    const QDateTime old(QDate(2001, 1, 1), QTime(10, 0));
    const auto locale = [](const char* lcAll) {
        return [lcAll](QProcessEnvironment& env) {
            for (const char* name : {"LANG", "LANGUAGE", "LC_ALL", "LC_TIME", "LC_NUMERIC", "LC_MESSAGES"})
                env.remove(QString::fromLatin1(name));
            if (lcAll)
                env.insert("LC_ALL", QString::fromLatin1(lcAll));
        };
    };
    struct Case {
        const char* name;
        const char* lcAll; // none: a cron job's environment
        const char* date;
        const char* time;
        int status;
        QDateTime modified; // after the run
    };
    const std::vector<Case> cases = {
        {"German under C.UTF-8", "C.UTF-8", "24.03.2020", "12:30:00", 0, QDateTime(QDate(2020, 3, 24), QTime(12, 30))},
        {"German under no locale", nullptr, "24.03.2020", "12:30:00", 0, QDateTime(QDate(2020, 3, 24), QTime(12, 30))},
        {"US under C.UTF-8", "C.UTF-8", "3/24/2020", "12:30:00 PM", 0, QDateTime(QDate(2020, 3, 24), QTime(12, 30))},
        {"British under German", "de_DE.UTF-8", "24/03/2020", "1:05:09 PM", 0,
         QDateTime(QDate(2020, 3, 24), QTime(13, 5, 9))},
        {"ambiguous under C.UTF-8", "C.UTF-8", "03/04/2020", "12:30:00", 2, old},
        {"ambiguous under the US locale that wrote it", "en_US.UTF-8", "03/04/2020", "12:30:00", 0,
         QDateTime(QDate(2020, 3, 4), QTime(12, 30))},
    };
    const QString settingsFile = platform::SettingsStore().fileName();
    int i = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString dir = makeDir(QStringLiteral("dates %1").arg(++i));
        const QString file = writeFile(QStringLiteral("dates %1/a.txt").arg(i), "x");
        {
            QFile f(file);
            ASSERT_TRUE(f.open(QIODevice::ReadWrite));
            ASSERT_TRUE(f.setFileTime(old, QFileDevice::FileModificationTime));
        }
        QFile::remove(settingsFile);
        QFile::remove(programFolder() + "/errors.txt");
        writeFileBytes(settingsFile, QByteArray("[Vexor%20Renamer]\r\nchkDateModified=1\r\nchkDateDate=1\r\n"
                                                "chkDateTime=1\r\ndtDate=") +
                                         c.date + "\r\ndtTime=" + c.time + "\r\n");
        const Outcome run = runIn({"/p", dir, "/e", "modedate", "/x"}, locale(c.lcAll));
        EXPECT_EQ(run.status, c.status) << run.err.toStdString();
        EXPECT_EQ(platform::toDateTime(platform::entryInfo(file)->modified), c.modified);
        // Neither key was changed by the run: their lines stay byte for byte.
        const QByteArray after = fileBytes(settingsFile);
        EXPECT_TRUE(after.contains(QByteArray("\r\ndtDate=") + c.date + "\r\n")) << after.toStdString();
        EXPECT_TRUE(after.contains(QByteArray("\r\ndtTime=") + c.time + "\r\n")) << after.toStdString();
        if (c.status == 2) {
            EXPECT_TRUE(run.err.contains("Vexor Renamer: the run was not started: the stored New Date \"03/04/2020\" "
                                         "cannot be read as one date"))
                << run.err.toStdString();
            EXPECT_EQ(readLines(programFolder() + "/errors.txt").size(), 1);
            EXPECT_TRUE(readText(programFolder() + "/errors.txt")
                            .contains(") Error 13 (Type mismatch) Error loading settings!"));
            EXPECT_FALSE(QFileInfo::exists(programFolder() + "/log.txt"));
        } else {
            EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
            EXPECT_FALSE(QFileInfo::exists(programFolder() + "/errors.txt"))
                << readText(programFolder() + "/errors.txt").toStdString();
        }
        QFile::remove(programFolder() + "/log.txt");
    }
}

// An unattended run that cannot do what its command line asks says why on
// standard error, ends with status 2 and changes nothing: no rename, no log
// line, no error line; only the settings are saved.
TEST_F(CommandLineTest, AnUnattendedRunThatCannotDoWhatItWasToldIsRefused)
{
    const QString last = makeDir("last used");
    writeFile("last used/ab.TXT");
    struct Case {
        const char* name;
        QStringList args; // "DIR" stands for the folder of the case
        std::vector<std::pair<const char*, const char*>> keys;
        const char* why;
    };
    const QString tooLong = "DIR/" + QString(5000, 'a');
    const std::vector<Case> cases = {
        {"crop 0", {"/p", "DIR", "/e", "modecrop", "/x"}, {{"txtCropNumber", "0"}}, "Crop count is 0"},
        {"crop empty", {"/p", "DIR", "/e", "modecrop", "/x"}, {{"txtCropNumber", ""}}, "Crop count is empty"},
        {"crop x2", {"/p", "DIR", "/e", "modecrop", "/x"}, {{"txtCropNumber", "x2"}}, "Crop count is 0"},
        {"nothing selected",
         {"/p", "DIR", "/e", "modecase", "/x"},
         {{"chkOnlyRenameSelected", "1"}, {"enableRenameAllIfNoneSelected", "False"}},
         "Only Rename Selected and no row is selected"},
        // The attributes tab is exempt in the window, where rows can be selected.
        {"nothing selected, attributes",
         {"/p", "DIR", "/e", "modeattrib", "/x"},
         {{"chkOnlyRenameSelected", "1"}, {"enableRenameAllIfNoneSelected", "False"}, {"chkR", "1"}},
         "Only Rename Selected and no row is selected"},
        {"nothing selected, dates",
         {"/p", "DIR", "/e", "modedate", "/x"},
         {{"chkOnlyRenameSelected", "1"},
          {"enableRenameAllIfNoneSelected", "False"},
          {"chkDateModified", "1"},
          {"chkDateDate", "1"}},
         "Only Rename Selected and no row is selected"},
        {"empty find", {"/p", "DIR", "/e", "modereplace", "/x"}, {{"txtFind", ""}}, "the Find text is empty"},
        {"pattern matching nothing", {"/p", "DIR/zz*", "/e", "modecase", "/x"}, {}, "the list is empty"},
        {"a path naming nothing", {"/p", "DIR/gone/deeper", "/e", "modecase", "/x"}, {}, "names nothing that exists"},
        {"a last level naming nothing",
         {"/p", "DIR/Musik", "/e", "modecase", "/x"},
         {},
         "the folder given with /p names nothing that exists: "},
        {"an empty path", {"/p", "", "/e", "modecase", "/x"}, {}, "the folder given with /p is empty"},
        {"a path too long", {"/p", tooLong, "/e", "modecase", "/x"}, {}, "is longer than a path may be"},
        {"a mistyped word", {"/p", "DIR", "/e", "modereplce", "/x"}, {}, "the mode word \"modereplce\" is not one of"},
        {"an empty word", {"/p", "DIR", "/e", "", "/x"}, {}, "/e was given without a mode word"},
        {"no word", {"/p", "DIR", "/e", "/x"}, {}, "/e was given without a mode word"},
    };
    int i = 0;
    for (const Case& c : cases) {
        const QString dir = makeDir(QStringLiteral("case %1").arg(++i));
        writeFile(QStringLiteral("case %1/ab.TXT").arg(i));
        writeFile(QStringLiteral("case %1/12name.TXT").arg(i));
        {
            platform::SettingsStore store;
            store.deleteSection();
            store.setValue("txtPath", last + "/");
            store.setValue("Case1", "1");
            store.setValue("Case2", "2");
            store.setValue("txtFind", "a");
            store.setValue("txtReplace", "x");
            for (const auto& [key, value] : c.keys)
                store.setValue(key, value);
        }
        QFile::remove(programFolder() + "/errors.txt");
        QStringList args;
        for (const QString& a : c.args)
            args.append(a.startsWith("DIR") ? dir + a.mid(3) : a);
        const Outcome run = runIn(args, [](QProcessEnvironment&) {});
        EXPECT_EQ(run.status, 2) << c.name << ": " << run.err.toStdString();
        EXPECT_TRUE(run.err.contains("Vexor Renamer: the run was not started: "))
            << c.name << ": " << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(c.why)) << c.name << ": " << run.err.toStdString();
        EXPECT_EQ(QDir(dir).entryList(QDir::Files, QDir::Name), QStringList({"12name.TXT", "ab.TXT"})) << c.name;
        EXPECT_EQ(QDir(last).entryList(QDir::Files), QStringList{"ab.TXT"}) << c.name;
        EXPECT_FALSE(QFileInfo::exists(programFolder() + "/log.txt")) << c.name;
        EXPECT_FALSE(QFileInfo::exists(programFolder() + "/errors.txt")) << c.name;
    }
    // A folder below one that may not be searched (root may search any folder).
    if (::geteuid() != 0) {
        const QString closed = makeDir("closed");
        const QString inner = makeDir("closed/inner");
        writeFile("closed/inner/ab.TXT");
        ASSERT_EQ(::chmod(QFile::encodeName(closed).constData(), 0), 0);
        const Outcome run = runIn({"/p", inner, "/e", "modecase", "/x"}, [](QProcessEnvironment&) {});
        ::chmod(QFile::encodeName(closed).constData(), 0755);
        EXPECT_EQ(run.status, 2) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains("cannot be looked at: Permission denied")) << run.err.toStdString();
        EXPECT_EQ(QDir(inner).entryList(QDir::Files), QStringList{"ab.TXT"});
    }
}

// "/p DIR/a.txt" renames a.txt alone and a mistyped "/p DIR/Musik" is refused,
// but neither pattern outlives its run: the next "/p DIR" renames everything,
// and the settings keep the pattern the user stored.
TEST_F(CommandLineTest, APatternFromThePathLastsOneRun)
{
    storeUpperCase();
    platform::SettingsStore().setValue("txtPattern", "*.txt");
    const auto names = [](const QString& dir) {
        return QDir(dir).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    };
    const struct {
        const char* last;
        int status;
        QByteArray err;    // a part of standard error
        QStringList after; // the names after that run
    } cases[] = {
        {"a.txt", 0, "", {"A.txt", "b.txt", "c.txt"}},
        {"Musik",
         2,
         "Vexor Renamer: the run was not started: the folder given with /p names nothing that exists: ",
         {"a.txt", "b.txt", "c.txt"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.last);
        const QString dir = makeDir(QStringLiteral("case ") + c.last);
        for (const char* name : {"a.txt", "b.txt", "c.txt"})
            writeFile(QStringLiteral("case ") + c.last + "/" + name);
        const Outcome run = runIn({"/p", dir + "/" + c.last, "/e", "modecase", "/x"}, [](QProcessEnvironment&) {});
        EXPECT_EQ(run.status, c.status) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(c.err)) << run.err.toStdString();
        EXPECT_EQ(names(dir), c.after);
        EXPECT_EQ(platform::SettingsStore().value("txtPattern"), "*.txt");
        const Outcome whole = runIn({"/p", dir, "/e", "modecase", "/x"}, [](QProcessEnvironment&) {});
        EXPECT_EQ(whole.status, 0) << whole.err.toStdString();
        EXPECT_EQ(names(dir), QStringList({"A.txt", "B.txt", "C.txt"}));
        EXPECT_EQ(platform::SettingsStore().value("txtPattern"), "*.txt");
    }
    // Beside folders only, the same: not a hint on the Files and Directories boxes.
    const QString folders = makeDir("folders");
    makeDir("folders/Music");
    const Outcome run = runIn({"/p", folders + "/Musik", "/e", "modecase", "/x"}, [](QProcessEnvironment&) {});
    EXPECT_EQ(run.status, 2) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("names nothing that exists: " + QFile::encodeName(folders) + "/Musik."))
        << run.err.toStdString();
    EXPECT_EQ(names(folders), QStringList{"Music"});
}

// "/p ~/musik" for the folder Musik runs inside Musik, whichever of Files and
// Directories is ticked, and never renames Musik itself; "/p DIR/A.TXT" for
// a.txt renames that file alone; a name that two entries match in another
// letter case is refused with both named.
TEST_F(CommandLineTest, ALastLevelInAnotherLetterCaseIsTheEntryItMatches)
{
    const auto names = [](const QString& dir) {
        return QDir(dir).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    };
    const struct {
        const char* name;
        const char* last;    // the last level given after the case's folder
        const char* chkDirs; // stored "Directories"
        int status;
        QByteArray err;      // standard error
        QStringList top;     // the case's folder after the run
        QStringList inMusik; // Musik after the run
    } cases[] = {
        {"files only", "musik", "0", 0, "", {"Musik", "b.txt", "c.txt"}, {"SONG.mp3", "inner"}},
        {"directories too", "musik", "1", 0, "", {"Musik", "b.txt", "c.txt"}, {"INNER", "SONG.mp3"}},
        {"a file", "B.TXT", "0", 0, "", {"B.txt", "Musik", "c.txt"}, {"inner", "song.MP3"}},
        {"two entries",
         "c.TXT",
         "0",
         2,
         "Vexor Renamer: the run was not started: the folder given with /p names no entry exactly but 2 in another "
         "letter case (\"C.txt\", \"c.txt\"): ",
         {"C.txt", "Musik", "b.txt", "c.txt"},
         {"inner", "song.MP3"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString dir = makeDir(QStringLiteral("case ") + c.name);
        const QString sub = QStringLiteral("case ") + c.name;
        makeDir(sub + "/Musik/inner");
        writeFile(sub + "/Musik/song.MP3");
        writeFile(sub + "/b.txt");
        writeFile(sub + "/c.txt");
        if (c.status != 0)
            writeFile(sub + "/C.txt");
        {
            platform::SettingsStore store;
            store.deleteSection();
            store.setValue("Case1", "1");
            store.setValue("Case2", "2");
            store.setValue("chkDirs", c.chkDirs);
        }
        const QString given = dir + "/" + c.last;
        const Outcome run = runIn({"/p", given, "/e", "modecase", "/x"}, [](QProcessEnvironment&) {});
        EXPECT_EQ(run.status, c.status) << run.err.toStdString();
        EXPECT_EQ(run.err.toStdString(),
                  c.err.isEmpty() ? std::string() : (c.err + QFile::encodeName(given) + ".\n").toStdString());
        EXPECT_EQ(names(dir), c.top);
        EXPECT_EQ(names(dir + "/Musik"), c.inMusik);
    }
}

// A music folder holds Artist/Album folders only. The option that unticks
// "Subdirectories" at every start is on by default and holds for unattended
// runs too: the refusal says so, naming the option, instead of blaming the
// Files and Directories boxes.
TEST_F(CommandLineTest, AFolderOfSubfoldersOnlyNamesWhatLeftItsFilesOut)
{
    const QByteArray refused = "Vexor Renamer: the run was not started: ";
    const QByteArray noFiles = "the folder's top level holds no files to rename and \"Subdirectories\" is off";
    const struct {
        const char* name;
        std::vector<std::pair<const char*, const char*>> keys;
        int status;
        QByteArray err;
        const char* song; // the song's name after the run
    } cases[] = {
        {"the option at its default",
         {{"chkSub", "1"}},
         2,
         refused + noFiles +
             ": the option 'Uncheck \"Subdirectories\" at startup.' (options window) unticks it at every start, runs "
             "from the command line too.\n",
         "song.TXT"},
        {"Subdirectories stored off",
         {{"uncheckSubsdirsAtStartup", "0"}, {"chkSub", "0"}},
         2,
         refused + noFiles + ".\n",
         "song.TXT"},
        {"Subdirectories on", {{"uncheckSubsdirsAtStartup", "0"}, {"chkSub", "1"}}, 0, "", "SONG.txt"},
        {"Files and Directories unticked",
         {{"uncheckSubsdirsAtStartup", "0"}, {"chkSub", "1"}, {"chkFiles", "0"}},
         2,
         refused + "\"Files\" and \"Directories\" leave nothing to rename in this mode.\n",
         "song.TXT"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString dir = makeDir(QStringLiteral("music ") + c.name);
        const QString album = makeDir(QStringLiteral("music ") + c.name + "/Artist/Album");
        writeFile(QStringLiteral("music ") + c.name + "/Artist/Album/song.TXT");
        {
            platform::SettingsStore store;
            store.deleteSection();
            store.setValue("Case1", "1");
            store.setValue("Case2", "2");
            for (const auto& [key, value] : c.keys)
                store.setValue(key, value);
        }
        const Outcome run = runIn({"/p", dir, "/e", "modecase", "/x"}, [](QProcessEnvironment&) {});
        EXPECT_EQ(run.status, c.status) << run.err.toStdString();
        EXPECT_EQ(run.err.toStdString(), c.err.toStdString());
        EXPECT_EQ(QDir(album).entryList(QDir::Files), QStringList{c.song});
    }
}

// A folder that may be listed but not entered (mode r--) shows its names, yet
// none of its entries can be looked at: the run is refused with the cause, not
// with the read's box. Root enters any folder, so as root the renamer runs as
// the user nobody (setpriv), with places of its own it can write to.
TEST_F(CommandLineTest, AFolderThatCannotBeEnteredIsARefusedRun)
{
    const QString dir = makeDir("listed only");
    writeFile("listed only/ab.TXT");
    QString program = renamer();
    QStringList args = {"/p", dir, "/e", "modecase", "/x"};
    std::function<void(QProcessEnvironment&)> adjust = [](QProcessEnvironment&) {};
    if (::geteuid() == 0) {
        program = QStandardPaths::findExecutable("setpriv");
        if (program.isEmpty())
            GTEST_SKIP() << "running as root without setpriv";
        constexpr uid_t nobody = 65534;
        const QString own = root() + "/nobody";
        for (const char* place : {"", "/config/Taborin", "/data", "/program", "/home", "/runtime"})
            ASSERT_TRUE(QDir().mkpath(own + place));
        {
            QSettings store(own + "/config/Taborin/Taborin.ini", QSettings::IniFormat);
            store.setValue("Vexor Renamer/Case1", "1");
            store.setValue("Vexor Renamer/Case2", "2");
        }
        for (const char* place : {"", "/config", "/config/Taborin", "/config/Taborin/Taborin.ini", "/data", "/program",
                                  "/home", "/runtime"})
            ASSERT_EQ(::chown(QFile::encodeName(own + place).constData(), nobody, nobody), 0) << place;
        ASSERT_EQ(::chmod(QFile::encodeName(own + "/runtime").constData(), 0700), 0);
        ASSERT_EQ(::chmod(QFile::encodeName(root()).constData(), 0711), 0);
        args = QStringList{"--reuid=65534", "--regid=65534", "--clear-groups", renamer()} + args;
        adjust = [own](QProcessEnvironment& env) {
            env.insert("XDG_CONFIG_HOME", own + "/config");
            env.insert("XDG_DATA_HOME", own + "/data");
            env.insert("VEXORREN_HOME", own + "/program");
            env.insert("HOME", own + "/home");
            env.insert("XDG_RUNTIME_DIR", own + "/runtime");
        };
    } else {
        storeUpperCase();
    }
    ASSERT_EQ(::chmod(QFile::encodeName(dir).constData(), 0444), 0);
    const Outcome run = runIn(args, adjust, QString(), program);
    ::chmod(QFile::encodeName(dir).constData(), 0755);
    EXPECT_EQ(run.status, 2) << run.err.toStdString();
    const QByteArray line = "Vexor Renamer: the run was not started: the folder given with /p cannot be entered: "
                            "Permission denied: " +
                            QFile::encodeName(dir) + ".\n";
    EXPECT_EQ(run.err.count(line), 1) << run.err.toStdString();
    EXPECT_FALSE(run.err.contains("An error occured")) << run.err.toStdString();
    EXPECT_EQ(QDir(dir).entryList(QDir::Files), QStringList{"ab.TXT"});
}

// Where nobody can see the window (offscreen, minimal), an exit switch with no
// run to end closes the start at once, with status 2 and one line naming what
// is missing, instead of a window that waits for ever.
TEST_F(CommandLineTest, AnExitSwitchWithNoRunEndsWhereNobodySeesTheWindow)
{
    storeUpperCase();
    const QString dir = makeDir("unseen");
    writeFile("unseen/ab.TXT");
    const QByteArray missing = "Vexor Renamer: the run was not started: /x was given without /e and a mode word";
    const struct {
        QStringList args;
        QByteArray rest; // what follows the line's start
    } cases[] = {
        {{"/p", dir, "/x"}, ".\n"},
        {{"/p", dir, "/E", "modecase", "/x"}, " (\"/E\" is no switch: switches are written in lower case).\n"},
        {{"/p", dir, "/e modecase", "/x"}, " (\"/e modecase\" is one argument: /e and its mode word are two).\n"},
    };
    for (const char* platformName : {"offscreen", "minimal"}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(platformName) + ": " + c.args.join(' ').toStdString());
            const Outcome run = runIn(
                c.args, [platformName](QProcessEnvironment& env) { env.insert("QT_QPA_PLATFORM", platformName); });
            EXPECT_EQ(run.status, 2) << run.err.toStdString();
            EXPECT_EQ(run.err.count(missing + c.rest), 1) << run.err.toStdString();
            EXPECT_EQ(QDir(dir).entryList(QDir::Files), QStringList{"ab.TXT"});
        }
    }
}

// A path argument is bytes: one that is not UTF-8 is never decoded into a
// name that another folder has (U+FFFD), and the run is refused.
TEST_F(CommandLineTest, APathThatIsNotUtf8IsRefusedAndItsLookalikeIsLeftAlone)
{
    storeUpperCase();
    const QString dir = makeDir("bytes");
    const QString lookalike = makeDir(QStringLiteral("bytes/\uFFFD"));
    writeFile(QStringLiteral("bytes/\uFFFD/ab.TXT"));
    // The shell passes the byte 0xFF itself; a QString argument cannot hold it.
    const Outcome run = runIn(
        {"-c", "exec \"$0\" /p \"$1/$(printf '\\377')\" /e modecase /x", renamer(), dir}, [](QProcessEnvironment&) {},
        QString(), "/bin/sh");
    const QByteArray& err = run.err;
    EXPECT_EQ(run.status, 2) << err.toStdString();
    EXPECT_TRUE(err.contains("is not valid UTF-8: " + dir.toUtf8() + "/\\xFF")) << err.toStdString();
    EXPECT_EQ(QDir(lookalike).entryList(QDir::Files), QStringList{"ab.TXT"});
}

namespace {

// Removes a tree that may reach past PATH_MAX, level by level through
// descriptors, as no full path of its deepest levels can be used.
void removeDeepTree(int parent, const char* name)
{
    const int fd = ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
    if (fd >= 0) {
        if (DIR* d = ::fdopendir(fd)) {
            std::vector<std::string> names;
            while (const dirent* e = ::readdir(d))
                if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
                    names.emplace_back(e->d_name);
            for (const std::string& n : names)
                if (::unlinkat(::dirfd(d), n.c_str(), 0) != 0)
                    removeDeepTree(::dirfd(d), n.c_str());
            ::closedir(d);
        } else {
            ::close(fd);
        }
    }
    ::unlinkat(parent, name, AT_REMOVEDIR);
}

} // namespace

// Every error line the process writes makes the status at least 1: the
// load's, and a part of the tree that could not be read (never left out silently).
TEST_F(CommandLineTest, ErrorLinesMakeTheStatusAtLeastOne)
{
    storeUpperCase();
    const QString dir = makeDir("status");
    writeFile("status/ab.TXT");
    QDir().mkpath(programFolder() + "/filetypes.txt"); // a folder where a list belongs
    Outcome run = runIn({"/p", dir, "/e", "modecase", "/x"}, [](QProcessEnvironment&) {});
    EXPECT_EQ(run.status, 1) << run.err.toStdString();
    EXPECT_EQ(QDir(dir).entryList(QDir::Files), QStringList{"AB.txt"});
    EXPECT_TRUE(readText(programFolder() + "/errors.txt").contains("/filetypes.txt was not read (it is a folder)"));
    QDir(programFolder() + "/filetypes.txt").removeRecursively();
    QFile::remove(programFolder() + "/errors.txt");

    // A subfolder whose path is longer than a path may be.
    platform::SettingsStore().setValue("chkSub", "1");
    platform::SettingsStore().setValue("uncheckSubsdirsAtStartup", "0");
    const QString deep = makeDir("deep");
    writeFile("deep/cd.TXT");
    const std::string level(200, 'd');
    int fd = ::open(QFile::encodeName(deep).constData(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    for (int i = 0; i < 25; ++i) {
        ASSERT_EQ(::mkdirat(fd, level.c_str(), 0755), 0);
        const int next = ::openat(fd, level.c_str(), O_RDONLY | O_DIRECTORY);
        ::close(fd);
        ASSERT_GE(next, 0);
        fd = next;
    }
    ::close(fd);
    run = runIn({"/p", deep, "/e", "modecase", "/x"}, [](QProcessEnvironment&) {});
    EXPECT_EQ(run.status, 1) << run.err.toStdString();
    EXPECT_EQ(QDir(deep).entryList(QDir::Files), QStringList{"CD.txt"});
    const QStringList errors = readLines(programFolder() + "/errors.txt");
    EXPECT_EQ(errors.filter("this folder could not be read (File name too long)").size(), 1)
        << errors.join('\n').toStdString();
    removeDeepTree(AT_FDCWD, QFile::encodeName(deep + "/" + QString::fromStdString(level)).constData());
}

// A hand-edited value that cannot be read is told alike on a first run (which
// writes the missing lists) and on a later one, whether the load reads it
// before the command line or after it: one line, status 1, and the run still
// renames.
TEST_F(CommandLineTest, AValueTheLoadCannotReadGivesTheSameLineAndStatusOnEveryRun)
{
    const struct {
        const char* key;
        const char* text;
        const char* line;
    } cases[] = {
        {"Main_Width", "abc", "Error 13 (Type mismatch) Error loading settings!"},
        {"Execute_Top", "99999", "Error 6 (Overflow) Error loading settings!"},
        {"startupInLastDir", "abc", "Error 13 (Type mismatch) Error loading settings!"},
        {"thumbsWidth", "abc", "Error 13 (Type mismatch) Error loading settings!"},
    };
    const QString dir = makeDir("songs");
    const QStringList lists = {"filetypes.txt", "codecs.txt", "waveformats.txt"};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        for (const QString& list : lists)
            QFile::remove(programFolder() + "/" + list);
        QStringList told;
        for (const char* which : {"first run", "later run"}) {
            SCOPED_TRACE(which);
            QFile::remove(programFolder() + "/errors.txt");
            QFile::remove(dir + "/AB.txt");
            writeFile("songs/ab.TXT");
            {
                platform::SettingsStore store;
                store.deleteSection();
                store.setValue("Case1", "1");
                store.setValue("Case2", "2");
                store.setValue(c.key, c.text);
            }
            const Outcome run = runIn({"/p", dir, "/e", "modecase", "/x"}, [](QProcessEnvironment&) {});
            EXPECT_EQ(run.status, 1) << run.err.toStdString();
            EXPECT_EQ(QDir(dir).entryList(QDir::Files), QStringList{"AB.txt"});
            for (const QString& list : lists)
                EXPECT_TRUE(QFileInfo::exists(programFolder() + "/" + list)) << list.toStdString();
            const QStringList errors = readLines(programFolder() + "/errors.txt");
            EXPECT_EQ(errors.size(), 1) << errors.join('\n').toStdString();
            if (errors.isEmpty())
                continue;
            EXPECT_TRUE(errors[0].endsWith(QStringLiteral(") ") + c.line)) << errors[0].toStdString();
            told.append(errors[0].section(QStringLiteral(") "), 1)); // without the time stamp
        }
        if (told.size() == 2) {
            EXPECT_EQ(told[0], told[1]);
        }
    }
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
    // One line for the whole unattended run, however often the name is read.
    EXPECT_EQ(errors.filter("not valid UTF-8").size(), 1) << errors.join("\n").toStdString();
    // The next unattended run reports it again, once, and fails again.
    EXPECT_EQ(run({"/p", dir, "/e", "modereplace", "/x"}, programFolder(), &err), 1) << err.toStdString();
    EXPECT_EQ(readLines(programFolder() + "/errors.txt").filter("not valid UTF-8").size(), 2);
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
    // An empty folder: the run is refused (status 2), the exit saves all the same.
    EXPECT_EQ(runRenamer({"/p", first, "/e", "modereplace", "/x"}), 2);
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
    EXPECT_EQ(runRenamer({"/p", first, "/e", "modereplace", "/x"}), 2);
    EXPECT_FALSE(QFileInfo::exists(entry));
    EXPECT_FALSE(QFileInfo::exists(root() + "/config/Thunar/uca.xml"));
}

// A folder named with double quotes, a trailing blank or "*" is the folder the
// run works in; its neighbour that the cleaned text would name is left alone.
TEST_F(CommandLineTest, APathArgumentRenamesOnlyTheFolderItNames)
{
    storeUpperCase();
    struct Case {
        const char* named;
        const char* neighbour; // beside it; empty: the parent itself
    };
    const Case cases[] = {{"\"photos\"", "photos"}, {"trail ", "trail"}, {"\"*\"", ""}};
    int i = 0;
    for (const Case& c : cases) {
        const QString parent = makeDir(QStringLiteral("case%1").arg(++i));
        const QString named = makeDir(QStringLiteral("case%1/").arg(i) + c.named);
        const QString neighbour = *c.neighbour ? makeDir(QStringLiteral("case%1/").arg(i) + c.neighbour) : parent;
        writeFile(named.mid(work().size() + 1) + "/ab.TXT");
        writeFile(neighbour.mid(work().size() + 1) + "/ab.TXT");
        EXPECT_EQ(runRenamer({"/p", named, "/e", "modecase", "/x"}), 0) << c.named;
        EXPECT_EQ(QDir(named).entryList(QDir::Files), QStringList{"AB.txt"}) << c.named;
        EXPECT_EQ(QDir(neighbour).entryList(QDir::Files), QStringList{"ab.TXT"}) << c.named;
        EXPECT_EQ(platform::SettingsStore().value("txtPath"), named + "/") << c.named;
    }
}

// A relative path is the folder below the current directory, and the stored
// path and the log lines name it absolutely.
TEST_F(CommandLineTest, ARelativePathIsStoredAndLoggedAbsolute)
{
    storeUpperCase();
    makeDir("here/sub");
    writeFile("here/sub/ab.TXT");
    const QString here = QFileInfo(work() + "/here").canonicalFilePath();
    const Outcome run = runIn(
        {"/p", "sub", "/e", "modecase", "/x"}, [](QProcessEnvironment&) {}, here);
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(here + "/sub/AB.txt"));
    EXPECT_EQ(platform::SettingsStore().value("txtPath"), here + "/sub/");
    const QStringList log = readLines(programFolder() + "/log.txt");
    ASSERT_FALSE(log.filter("AB.txt").isEmpty()) << log.join("\n").toStdString();
    for (const QString& line : log.filter("ab.TXT"))
        EXPECT_TRUE(line.contains(here + "/sub/ab.TXT")) << line.toStdString();
}

// From cron or ssh there is no display: an unattended run runs offscreen, a
// start that needs a window says why it cannot and ends with status 2.
TEST_F(CommandLineTest, WithoutADisplayOnlyAnUnattendedRunStarts)
{
    storeUpperCase();
    const QString dir = makeDir("headless");
    writeFile("headless/ab.TXT");
    const auto noDisplay = [](QProcessEnvironment& env) {
        env.remove("QT_QPA_PLATFORM");
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
    };
    for (const QStringList& args :
         {QStringList{"/p", dir}, QStringList{"/p", dir, "/e", "modecase"}, QStringList{"/p", dir, "/x"}}) {
        const Outcome run = runIn(args, noDisplay);
        EXPECT_EQ(run.status, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains("no display found")) << run.err.toStdString();
        EXPECT_TRUE(QFileInfo::exists(dir + "/ab.TXT"));
    }
    const Outcome run = runIn({"/p", dir, "/e", "modecase", "/x"}, noDisplay);
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(QDir(dir).entryList(QDir::Files), QStringList{"AB.txt"});
}

// A display that is named but cannot be opened (its server gone, a plugin that
// is not installed), where Qt alone aborts: an unattended run goes on
// offscreen, a start that needs a window says what it tried and ends with 2.
TEST_F(CommandLineTest, ADeadDisplayIsNoDisplay)
{
    storeUpperCase();
    const QString x = deadXDisplay();
    // No compositor's socket in an empty runtime folder.
    const QString runtime = makeDir("runtime");
    ASSERT_TRUE(
        QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    struct DeadCase {
        QString name;
        std::vector<std::pair<QString, QString>> env;
        QString tried;
    };
    const std::vector<DeadCase> cases = {
        {"x", {{"DISPLAY", x}}, "(tried xcb on DISPLAY=" + x + ")"},
        {"wayland",
         {{"WAYLAND_DISPLAY", "wayland-97"}, {"XDG_RUNTIME_DIR", runtime}},
         "(tried wayland on WAYLAND_DISPLAY=wayland-97, xcb without DISPLAY)"},
        {"plugin",
         {{"QT_QPA_PLATFORM", "nosuchplugin"}, {"DISPLAY", x}},
         "(tried nosuchplugin, as QT_QPA_PLATFORM names)"},
    };
    for (const DeadCase& c : cases) {
        const auto dead = [&c](QProcessEnvironment& env) {
            for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE"})
                env.remove(name);
            for (const auto& [name, value] : c.env)
                env.insert(name, value);
        };
        const QString dir = makeDir(c.name);
        writeFile(c.name + "/ab.TXT");
        const Outcome window = runIn({"/p", dir}, dead);
        EXPECT_EQ(window.status, 2) << c.name.toStdString() << ": " << window.err.toStdString();
        EXPECT_TRUE(window.err.contains("Vexor Renamer: no display could be opened " + c.tried.toUtf8()))
            << window.err.toStdString();
        EXPECT_TRUE(QFileInfo::exists(dir + "/ab.TXT"));
        const Outcome run = runIn({"/p", dir, "/e", "modecase", "/x"}, dead);
        EXPECT_EQ(run.status, 0) << c.name.toStdString() << ": " << run.err.toStdString();
        EXPECT_EQ(QDir(dir).entryList(QDir::Files), QStringList{"AB.txt"}) << c.name.toStdString();
    }
}

// From cron (no display, no session: nothing but PATH, HOME and our places),
// on a display that has gone, or on a platform without one that the user
// chose, a run that goes well prints nothing: cron mails every line. Qt's
// lines about the platform it could not open, the runtime folder it made up
// and the size hints stay out; any other warning of Qt's still shows.
TEST_F(CommandLineTest, AGoodRunWithoutADisplayPrintsNothing)
{
    storeUpperCase();
    const QString x = deadXDisplay();
    // After sudo or su from a desktop, XDG_RUNTIME_DIR still names the
    // desktop user's folder: owned by someone else, or open to others.
    QString othersRuntime = QStringLiteral("/");
    if (::geteuid() == 0) {
        othersRuntime = makeDir("others-runtime");
        EXPECT_EQ(::chown(QFile::encodeName(othersRuntime).constData(), 65534, 65534), 0);
    }
    const QString openRuntime = makeDir("open-runtime");
    QFile::setPermissions(openRuntime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                           QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    struct QuietCase {
        QString name;
        std::vector<std::pair<QString, QString>> env; // on top of the cron environment
        QByteArray err;                               // all of standard error
    };
    const std::vector<QuietCase> cases = {
        {"cron", {}, {}},
        {"dead display", {{"DISPLAY", x}}, {}},
        {"offscreen", {{"QT_QPA_PLATFORM", "offscreen"}}, {}},
        {"minimal", {{"QT_QPA_PLATFORM", "minimal"}}, {}},
        {"after sudo", {{"XDG_RUNTIME_DIR", othersRuntime}}, {}},
        {"after su", {{"XDG_RUNTIME_DIR", openRuntime}, {"QT_QPA_PLATFORM", "minimal"}}, {}},
        {"another warning",
         {{"DISPLAY", x}, {"QT_SCALE_FACTOR_ROUNDING_POLICY", "bogus"}},
         "Unknown scale factor rounding policy: bogus."},
    };
    const QString path = qEnvironmentVariable("PATH");
    for (const QuietCase& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        const QString dir = makeDir(c.name);
        writeFile(c.name + "/ab.TXT");
        const auto cron = [&](QProcessEnvironment& env) {
            env.clear();
            env.insert("PATH", path);
            env.insert("HOME", root() + "/home");
            env.insert("XDG_CONFIG_HOME", root() + "/config");
            env.insert("VEXORREN_HOME", programFolder());
            for (const auto& [name, value] : c.env)
                env.insert(name, value);
        };
        const Outcome run = runIn({"/p", dir, "/e", "modecase", "/x"}, cron);
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        EXPECT_EQ(QDir(dir).entryList(QDir::Files), QStringList{"AB.txt"});
        if (c.err.isEmpty()) {
            EXPECT_EQ(run.err.toStdString(), "");
        } else {
            EXPECT_TRUE(run.err.startsWith(c.err)) << run.err.toStdString();
            EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
        }
    }
    EXPECT_FALSE(QFileInfo::exists(programFolder() + "/errors.txt"));
}

// A file-manager entry that the exit cannot write, or cannot remove once the
// option is off, is an error of the run like a failed save: one error line
// naming the file and why, the box on standard error, and status 1 although
// every rename went through. The file is left as it was.
TEST_F(CommandLineTest, AnEntryThatCannotBeWrittenOrRemovedMakesTheStatusOne)
{
    storeUpperCase();
    const QString thunar = root() + "/config/Thunar/uca.xml";
    const QByteArray ours = QByteArray("<actions>\n<action><unique-id>") + platform::kThunarActionId +
                            "</unique-id></action>\n</actions>\n";
    const QString added = "; the action was not added there";
    const QString removed = "; the action was not removed there";
    struct EntryCase {
        QString name;
        const char* option; // shellShowVexor
        QByteArray content; // Thunar's file, or the file its link names
        bool link;
        QString reason;
    };
    const std::vector<EntryCase> cases = {
        {"a link", "1", "<actions/>\n", true, "is a symbolic link" + added},
        {"not well-formed", "1", "<actions><action>", false, "is not a well-formed file of custom actions" + added},
        {"declared ISO-8859-1", "1",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<actions><action><name>Caf\xe9</name></action></actions>\n",
         false, "is not a well-formed file of custom actions" + added},
        {"a link to ours, removing", "0", ours, true, "is a symbolic link" + removed},
        {"ours not well-formed, removing", "0", ours.chopped(11), false,
         "is not a well-formed file of custom actions" + removed},
    };
    for (const EntryCase& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        QDir(root() + "/config/Thunar").removeRecursively();
        QFile::remove(programFolder() + "/errors.txt");
        platform::SettingsStore().setValue("shellShowVexor", c.option);
        const QString target = c.link ? writeFile("dotfiles/" + c.name, c.content) : QString();
        if (c.link) {
            QDir().mkpath(QFileInfo(thunar).path());
            ASSERT_TRUE(QFile::link(target, thunar));
        } else {
            writeFileBytes(thunar, c.content);
        }
        const QString dir = makeDir(c.name);
        writeFile(c.name + "/ab.TXT");
        const Outcome run = runIn({"/p", dir, "/e", "modecase", "/x"}, [](QProcessEnvironment&) {});
        EXPECT_EQ(run.status, 1) << run.err.toStdString();
        EXPECT_EQ(QDir(dir).entryList(QDir::Files), QStringList{"AB.txt"});
        const QString heading = *c.option == '1' ? "Error creating keys in file manager entry!"
                                                 : "Error deleting keys from file manager entry!";
        const QString line = thunar + " " + c.reason + ".";
        const QStringList errors = readLines(programFolder() + "/errors.txt");
        EXPECT_EQ(errors.size(), 1) << errors.join('\n').toStdString();
        EXPECT_TRUE(errors.value(0).endsWith(") " + heading + " " + line)) << errors.join('\n').toStdString();
        EXPECT_EQ(run.err.toStdString(), ("Vexor Renamer: " + heading + "\n\n" + line + "\n").toStdString());
        EXPECT_EQ(QFileInfo(thunar).isSymLink(), c.link);
        EXPECT_EQ(fileBytes(c.link ? target : thunar), c.content);
    }
}

// The offscreen platform moves a new window by its frame once it is shown: the
// log window of an unattended run still stores back the position it was given.
TEST_F(CommandLineTest, AnUnattendedRunLeavesTheLogWindowWhereItWasStored)
{
    storeUpperCase();
    {
        platform::SettingsStore store;
        store.setValue("Execute_Top", "-300");
        store.setValue("Execute_Left", "-300");
    }
    const QString dir = makeDir("place");
    for (const QString name : {"first.TXT", "second.TXT"}) {
        writeFile("place/" + name);
        EXPECT_EQ(runRenamer({"/p", dir, "/e", "modecase", "/x"}), 0);
        EXPECT_TRUE(QFileInfo::exists(dir + "/" + name.section('.', 0, 0).toUpper() + ".txt"));
        const QSettings stored(root() + "/config/Taborin/Taborin.ini", QSettings::IniFormat);
        EXPECT_EQ(stored.value("Vexor Renamer/Execute_Top").toString(), "-300") << name.toStdString();
        EXPECT_EQ(stored.value("Vexor Renamer/Execute_Left").toString(), "-300") << name.toStdString();
    }
}

// More entries than the lists hold: the limit message, nothing renamed, status 2.
TEST_F(CommandLineTest, AFolderOverTheListLimitIsARefusedRun)
{
    storeUpperCase();
    const QString dir = makeDir("many");
    const QByteArray base = QFile::encodeName(dir);
    for (int i = 0; i < 40000; ++i) {
        const QByteArray name = base + "/f" + QByteArray::number(i).rightJustified(5, '0') + ".TXT";
        const int fd = ::open(name.constData(), O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0);
        ::close(fd);
    }
    const Outcome run = runIn({"/p", dir, "/e", "modecase", "/x"}, [](QProcessEnvironment&) {});
    EXPECT_EQ(run.status, 2) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("Too much files!")) << run.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(dir + "/f00000.TXT"));
    EXPECT_TRUE(QFileInfo::exists(dir + "/f39999.TXT"));
    EXPECT_EQ(QDir(dir).entryList({"*.txt"}, QDir::Files | QDir::CaseSensitive).size(), 0);
}

// A system folder is refused before anything in it is read: the notice on
// standard error and status 2. (The kernel refuses renames under /proc too.)
TEST_F(CommandLineTest, ASystemFolderIsARefusedRun)
{
    storeUpperCase();
    const Outcome run = runIn({"/p", "/proc/self/", "/e", "modecase", "/x"}, [](QProcessEnvironment&) {});
    EXPECT_EQ(run.status, 2) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("The content of this folder is hidden.")) << run.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(programFolder() + "/log.txt")) << "no run was started";
}

// Relative XDG places are invalid: settings, program folder and file-manager
// files go below HOME, and nothing is made in the current directory.
TEST_F(CommandLineTest, RelativeXdgPlacesAreIgnored)
{
    const QString dir = makeDir("xdg");
    writeFile("xdg/ab.TXT");
    const QString cwd = makeDir("cwd");
    const QString home = root() + "/home";
    {
        QSettings store(home + "/.config/Taborin/Taborin.ini", QSettings::IniFormat);
        store.setValue("Vexor Renamer/Case1", "1");
        store.setValue("Vexor Renamer/Case2", "2");
    }
    const Outcome run = runIn(
        {"/p", dir, "/e", "modecase", "/x"},
        [](QProcessEnvironment& env) {
            env.remove("VEXORREN_HOME");
            env.insert("XDG_DATA_HOME", "reldata");
            env.insert("XDG_CONFIG_HOME", "relconfig");
            env.insert("XDG_CACHE_HOME", "relcache");
        },
        cwd);
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(QDir(cwd).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
    EXPECT_TRUE(QFileInfo::exists(home + "/.config/Taborin/Taborin.ini"));
    EXPECT_TRUE(QFileInfo::exists(home + "/.local/share/vexorren/log.txt"));
    EXPECT_TRUE(QFileInfo::exists(home + "/.local/share/file-manager/actions/vexorren.desktop"));
    EXPECT_EQ(QDir(dir).entryList(QDir::Files), QStringList{"AB.txt"}) << "the options of the store below HOME";
}

// A settings store that cannot be read (a FIFO, a link to a FIFO or a directory,
// a link loop) is a load failure: the run does not start, nothing hangs, the
// exit writes nothing over it and says so once.
TEST_F(CommandLineTest, AStoreThatCannotBeReadIsNeverWrittenOver)
{
    const QString dir = makeDir("files");
    writeFile("files/a.txt");
    const QString file = platform::SettingsStore().fileName();
    const QByteArray native = QFile::encodeName(file);
    const QByteArray fifo = QFile::encodeName(root() + "/fifo");
    const QByteArray folder = QFile::encodeName(makeDir("folder"));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    QDir().mkpath(QFileInfo(file).path());
    const struct {
        const char* name;
        std::function<int()> make;
        mode_t type;
    } cases[] = {
        {"fifo", [&] { return ::mkfifo(native.constData(), 0600); }, S_IFIFO},
        {"link to a fifo", [&] { return ::symlink(fifo.constData(), native.constData()); }, S_IFLNK},
        {"link to a directory", [&] { return ::symlink(folder.constData(), native.constData()); }, S_IFLNK},
        {"link loop", [&] { return ::symlink(native.constData(), native.constData()); }, S_IFLNK},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(c.make(), 0) << c.name;
        QFile::remove(programFolder() + "/errors.txt");
        EXPECT_EQ(runRenamer({"/p", dir, "/e", "modecase", "/x"}), 2) << c.name;
        struct stat st {};
        ASSERT_EQ(::lstat(native.constData(), &st), 0) << c.name;
        EXPECT_EQ(st.st_mode & S_IFMT, c.type) << c.name;
        EXPECT_TRUE(QDir(QString::fromUtf8(folder)).isEmpty()) << c.name;
        EXPECT_TRUE(QFileInfo::exists(dir + "/a.txt")) << c.name;
        const QStringList errors = readLines(programFolder() + "/errors.txt");
        EXPECT_EQ(errors.filter("Error loading settings!").size(), 1) << c.name;
        EXPECT_EQ(errors.filter(" could not be read; the settings will not be saved.").size(), 1) << c.name;
        ::unlink(native.constData());
    }
}

// Without a display, a settings file that cannot be written at the exit is
// told on standard error, and the error log has the save's line.
TEST_F(CommandLineTest, AnExitThatCannotSaveTheSettingsSaysSoOnStandardError)
{
    const QString dir = makeDir("files");
    writeFile("files/ab.TXT");
    writeFileBytes(root() + "/config/Taborin", "not a folder");
    const Outcome run = runIn({"/p", dir, "/e", "modecase", "/x"}, [](QProcessEnvironment&) {});
    EXPECT_EQ(run.status, 1) << "the renames went through, the save did not";
    EXPECT_TRUE(run.err.contains("Vexor Renamer: Error 76 (Path not found) Error saving settings!\n\nThe settings "
                                 "file " +
                                 QFile::encodeName(root()) + "/config/Taborin/Taborin.ini could not be written"))
        << run.err.toStdString();
    const QStringList errors = readLines(programFolder() + "/errors.txt");
    EXPECT_EQ(errors.filter(") Error 76 (Path not found) Error saving settings!").size(), 1)
        << errors.join('\n').toStdString();
    EXPECT_EQ(fileBytes(root() + "/config/Taborin"), "not a folder");
}

// An exceptions list written in Latin-1 by an older system is applied as meant,
// and the exit leaves the unchanged list as it was.
TEST_F(CommandLineTest, ALatin1ExceptionsListIsAppliedByACaseRun)
{
    const QString dir = makeDir("case");
    writeFile(QStringLiteral("case/m\u00fcller und sohn.txt"));
    const QByteArray latin1 = "M\xfcller\r\nUSA\r\n";
    {
        QDir().mkpath(programFolder());
        QFile f(programFolder() + "/exceptions.txt");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(latin1);
    }
    {
        platform::SettingsStore store;
        store.setValue("Case1", "1"); // upper case
        store.setValue("Case2", "0");
        store.setValue("exceptionsEnabled", "1");
    }
    EXPECT_EQ(runRenamer({"/p", dir, "/e", "modecase", "/x"}), 0);
    EXPECT_EQ(QDir(dir).entryList(QDir::Files), QStringList{QStringLiteral("M\u00fcller UND SOHN.txt")});
    QFile f(programFolder() + "/exceptions.txt");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), latin1);
}

// An exceptions list that cannot be read (a GB of text, a folder, a FIFO that
// nobody writes to) neither stops nor holds an unattended case run: the run
// renames without exception words, errors.txt names the file in one line, and
// the file is as it was after the exit.
TEST_F(CommandLineTest, AnExceptionsListThatCannotBeReadIsNamedAndKept)
{
    const QString list = programFolder() + "/exceptions.txt";
    const QByteArray native = QFile::encodeName(list);
    const struct {
        const char* name;
        std::function<bool()> make;
        const char* reason;
    } cases[] = {
        {"a gigabyte of words",
         [&] {
             QFile f(list);
             return f.open(QIODevice::WriteOnly) && f.write("Mcdonald\n") == 9 && f.resize(qint64(1) << 30);
         },
         "it is larger than 4 MiB"},
        {"folder", [&] { return QDir().mkpath(list); }, "it is a folder"},
        {"fifo", [&] { return ::mkfifo(native.constData(), 0600) == 0; }, "it is not a regular file"},
    };
    QDir().mkpath(programFolder());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString dir = makeDir(QString("case-") + c.name);
        writeFile(QString("case-") + c.name + "/mcdonald farm.txt");
        ASSERT_TRUE(c.make());
        struct stat was {};
        ASSERT_EQ(::lstat(native.constData(), &was), 0);
        {
            platform::SettingsStore store;
            store.setValue("Case1", "1"); // upper case
            store.setValue("Case2", "0");
            store.setValue("exceptionsEnabled", "1");
        }
        QFile::remove(programFolder() + "/errors.txt");
        // It ends (no hang on the FIFO) and is not refused: the list's line
        // belongs to the load, before the run.
        const int status = runRenamer({"/p", dir, "/e", "modecase", "/x"});
        EXPECT_EQ(status, 1) << "its error line makes the status 1";
        EXPECT_EQ(QDir(dir).entryList(QDir::Files), QStringList{"MCDONALD FARM.txt"});
        const QStringList errors = readLines(programFolder() + "/errors.txt");
        ASSERT_EQ(errors.size(), 1) << errors.join("\n").toStdString();
        EXPECT_TRUE(errors[0].endsWith(") The configuration file " + list + " was not read (" + c.reason +
                                       "); it is left unchanged."))
            << errors[0].toStdString();
        struct stat now {};
        ASSERT_EQ(::lstat(native.constData(), &now), 0);
        EXPECT_EQ(now.st_mode, was.st_mode);
        EXPECT_EQ(now.st_ino, was.st_ino);
        EXPECT_EQ(now.st_size, was.st_size);
        if (QFileInfo(list).isDir())
            QDir().rmdir(list);
        else
            QFile::remove(list);
    }
}

// A replacement text typed into the settings file in an 8-bit encoding is
// used as the letters it means, and the run's save writes it back in UTF-8.
TEST_F(CommandLineTest, AnEightBitValueInTheSettingsFileIsReadAsWindows1252)
{
    const QString dir = makeDir("cafe");
    writeFile("cafe/x.txt");
    const QString file = platform::SettingsStore().fileName();
    writeFileBytes(file, "[Vexor%20Renamer]\ntxtFind=x\ntxtReplace=caf\xe9\n");
    EXPECT_EQ(runRenamer({"/p", dir, "/e", "modereplace", "/x"}), 0);
    EXPECT_EQ(QDir(dir).entryList(QDir::Files), QStringList{QString::fromUtf8("café.txt")});
    EXPECT_TRUE(fileBytes(file).contains("\ntxtReplace=caf\xc3\xa9\n")) << fileBytes(file).toStdString();
}

// Four unattended runs on four folders at once, one settings file: every
// rename is counted, and the history holds every folder.
TEST_F(CommandLineTest, RunsAtOnceAddUpTheirRenamesAndFolders)
{
    {
        platform::SettingsStore store;
        store.setValue("txtFind", "a");
        store.setValue("txtReplace", "b");
        store.setValue("totNumberOfFilesRenamedNew", "5");
    }
    QStringList dirs;
    for (int d = 0; d < 4; ++d) {
        dirs.append(makeDir(QStringLiteral("run%1").arg(d)));
        for (int i = 0; i < 200; ++i)
            writeFile(QStringLiteral("run%1/a%2.txt").arg(d).arg(i));
    }
    std::vector<std::unique_ptr<QProcess>> runs;
    const QProcessEnvironment env = programEnvironment();
    for (const QString& dir : dirs) {
        runs.push_back(std::make_unique<QProcess>());
        runs.back()->setProcessEnvironment(env);
        runs.back()->start(renamer(), {"/p", dir, "/e", "modereplace", "/x"});
    }
    for (const auto& run : runs) {
        ASSERT_TRUE(run->waitForFinished(120000));
        EXPECT_EQ(run->exitCode(), 0) << run->readAllStandardError().toStdString();
    }
    for (const QString& dir : dirs)
        EXPECT_EQ(QDir(dir).entryList({"b*.txt"}, QDir::Files).size(), 200) << dir.toStdString();
    const platform::SettingsStore store;
    EXPECT_EQ(store.value("totNumberOfFilesRenamedNew"), "805");
    QStringList history;
    for (int i = 0; i < 4; ++i)
        history.append(QDir::cleanPath(store.value(QStringLiteral("pathHistory%1").arg(i))));
    history.sort();
    EXPECT_EQ(history, dirs);
}

// A settings file larger than any settings file is not read: the unattended
// run does not start, and both its box and errors.txt say why.
TEST_F(CommandLineTest, ASettingsFileOver16MiBIsNamedAsSuch)
{
    const QString dir = makeDir("files");
    writeFile("files/ab.TXT");
    const QString file = platform::SettingsStore().fileName();
    writeFileBytes(file, "[Vexor%20Renamer]\nCase1=1\n");
    ASSERT_TRUE(QFile::resize(file, 17 * 1024 * 1024));
    const Outcome run = runIn({"/p", dir, "/e", "modecase", "/x"}, [](QProcessEnvironment&) {});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.err.contains("The settings file " + QFile::encodeName(file) + " is larger than 16 MiB.\n"))
        << run.err.toStdString();
    const QStringList errors = readLines(programFolder() + "/errors.txt");
    EXPECT_EQ(errors.filter(" is larger than 16 MiB; the settings will not be saved.").size(), 1)
        << errors.join('\n').toStdString();
    EXPECT_EQ(QFileInfo(file).size(), 17 * 1024 * 1024);
    EXPECT_TRUE(QFileInfo::exists(dir + "/ab.TXT"));
}

// Where /proc is not mounted (a chroot, a build container), the settings are
// read all the same: the stored options rename, the count goes on from the
// stored one, and the file's other lines stay. The run has a mount namespace
// of its own with an empty /proc.
TEST_F(CommandLineTest, SettingsAreReadWithoutProc)
{
    const QString unshare = QStandardPaths::findExecutable("unshare");
    if (unshare.isEmpty())
        GTEST_SKIP() << "no unshare";
    const QString dir = makeDir("music");
    writeFile("music/my song.txt");
    const QString file = platform::SettingsStore().fileName();
    const QByteArray before = "; mine\n[Vexor%20Renamer]\nCase1=1\nCase2=2\ntotNumberOfFilesRenamedNew=500\n"
                              "pathHistory0=/home/me/Old/\n[Other]\nk=1\n";
    writeFileBytes(file, before);
    // Root may make a mount namespace; another user maps itself to root in a
    // user namespace first.
    const QStringList namespaces =
        ::geteuid() == 0 ? QStringList{"--mount"} : QStringList{"--user", "--map-root-user", "--mount"};
#ifdef __SANITIZE_ADDRESS__
    // A sanitizer build reads its options from /proc/self/environ, and its
    // leak check needs the /proc that is gone: it is told to skip that check.
    const QString sanitizer = "mkdir /proc/self && printf 'ASAN_OPTIONS=detect_leaks=0\\0' >/proc/self/environ; ";
#else
    const QString sanitizer;
#endif
    const Outcome run = runIn(
        namespaces + QStringList{"/bin/sh", "-c",
                                 "mount -t tmpfs none /proc 2>/dev/null || exit 77; " + sanitizer +
                                     "test -e /proc/self/fd && exit 78; exec \"$@\"",
                                 "sh", renamer(), "/p", dir, "/e", "modecase", "/x"},
        [](QProcessEnvironment&) {}, QString(), unshare);
    if (run.status == 77 || (run.status == 1 && run.err.startsWith("unshare:")))
        GTEST_SKIP() << "no mount namespace here: " << run.err.toStdString();
    ASSERT_NE(run.status, 78) << "/proc is still there";
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(QDir(dir).entryList(QDir::Files), QStringList{"MY SONG.txt"});
    const platform::SettingsStore store;
    EXPECT_EQ(store.value("totNumberOfFilesRenamedNew"), "501");
    EXPECT_EQ(store.value("Case1"), "1");
    const QByteArray after = fileBytes(file);
    EXPECT_TRUE(after.startsWith("; mine\n[Vexor%20Renamer]\nCase1=1\nCase2=2\n")) << after.toStdString();
    EXPECT_TRUE(after.endsWith("\n[Other]\nk=1\n")) << after.toStdString();
    EXPECT_TRUE(after.contains("/home/me/Old/")) << after.toStdString();
}

// A save that a folder's permissions stop names the cause: the settings folder
// that could not be made, or a lock file left by a program that has ended that
// could not be removed. The renames were done, so the status is 1. Root writes
// anywhere, so as root the renamer runs as the user nobody (setpriv).
TEST_F(CommandLineTest, ASaveStoppedByPermissionsNamesTheCause)
{
    const bool asRoot = ::geteuid() == 0;
    const QString setpriv = QStandardPaths::findExecutable("setpriv");
    if (asRoot && setpriv.isEmpty())
        GTEST_SKIP() << "running as root without setpriv";
    constexpr uid_t nobody = 65534;
    const QString own = root() + "/user";
    const QString config = own + "/config";
    const QString folder = config + "/Taborin";
    const QString file = folder + "/Taborin.ini";
    const struct {
        const char* name;
        QString locked;             // the folder the renamer may not write
        std::function<void()> make; // the store's places in it
        QString text;               // of the failure
    } cases[] = {
        {"the settings folder cannot be made", config, [] {},
         "Error 70 (Permission denied: the folder " + folder + " could not be made)"},
        {"a lock left by a program that has ended", folder,
         [&] {
             writeFileBytes(file, "[Vexor%20Renamer]\nCase1=1\nCase2=2\n");
             writeFileBytes(file + ".lock", "2147483647\nvexorren\n" + QSysInfo::machineHostName().toUtf8() + "\n");
         },
         "Error 75 (Path/File access error: the lock file " + file +
             ".lock, left by a program that has ended, could not be removed: Permission denied)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(own).removeRecursively();
        for (const char* place : {"", "/config", "/data", "/program", "/home", "/runtime", "/music"})
            ASSERT_TRUE(QDir().mkpath(own + place));
        ASSERT_TRUE(QDir().mkpath(c.locked));
        c.make();
        writeFileBytes(own + "/music/ab.TXT", "");
        ASSERT_EQ(::chmod(QFile::encodeName(own + "/runtime").constData(), 0700), 0);
        QString program = renamer();
        QStringList args = {"/p", own + "/music", "/e", "modecase", "/x"};
        if (asRoot) {
            // Everything but the locked folder and what it holds is the user's.
            for (const char* place : {"", "/data", "/program", "/home", "/runtime", "/music", "/music/ab.TXT"})
                ASSERT_EQ(::chown(QFile::encodeName(own + place).constData(), nobody, nobody), 0) << place;
            if (c.locked != config) {
                ASSERT_EQ(::chown(QFile::encodeName(config).constData(), nobody, nobody), 0);
            }
            ASSERT_EQ(::chmod(QFile::encodeName(root()).constData(), 0711), 0);
            program = setpriv;
            args = QStringList{"--reuid=65534", "--regid=65534", "--clear-groups", renamer()} + args;
        } else {
            ASSERT_EQ(::chmod(QFile::encodeName(c.locked).constData(), 0555), 0);
        }
        const Outcome run = runIn(
            args,
            [&](QProcessEnvironment& env) {
                env.insert("XDG_CONFIG_HOME", config);
                env.insert("XDG_DATA_HOME", own + "/data");
                env.insert("VEXORREN_HOME", own + "/program");
                env.insert("HOME", own + "/home");
                env.insert("XDG_RUNTIME_DIR", own + "/runtime");
            },
            QString(), program);
        ::chmod(QFile::encodeName(c.locked).constData(), 0755);
        EXPECT_EQ(run.status, 1) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains("Vexor Renamer: " + c.text.toUtf8() + " Error saving settings!\n"))
            << run.err.toStdString();
        const QStringList errors = readLines(own + "/program/errors.txt");
        EXPECT_EQ(errors.filter(c.text + " Error saving settings!").size(), 1) << errors.join('\n').toStdString();
        EXPECT_FALSE(QFileInfo::exists(own + "/music/ab.TXT"));
    }
}
