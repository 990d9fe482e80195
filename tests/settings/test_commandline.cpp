#include "platform/arguments.h"
#include "settings/commandline.h"
#include "settings_fixture.h"

#include <QDir>
#include <QFileInfo>

TEST(CommandLineScan, SwitchesAreWholeArguments)
{
    struct Case {
        QStringList args;
        QString path, mode;
        int exit;
    };
    const Case cases[] = {
        {{}, "", "", 0},
        {{"/home/me/Music"}, "/home/me/Music", "", 0},
        {{"/home/me/My", "Music"}, "/home/me/My Music", "", 0},
        {{"/p", "/home/me/Music", "/e", "modecase", "/x"}, "/home/me/Music", "modecase", -1},
        {{"/e", "modecase", "/x"}, "", "modecase", -1},
        {{"/x"}, "/x", "", 0},
        {{"/x", "/home"}, "/x /home", "", 0},
        {{"/p", "/a", "/p", "/b"}, "/b", "", 0},
        {{"/p /home/me/e dir"}, "/home/me/e dir", "", 0},
        {{"/p", "/home/me/e", "/x", "ignored", "/e", " Modecase "}, "/home/me/e", "Modecase", -1},
        {{"/P", "/home"}, "/P /home", "", 0},
        {{"before", "/p", " \"/home/q\" "}, "/home/q", "", 0},
        {{"/e", "\"modecase\""}, "", "\"modecase\"", 0},
        {{"/e", "mode", "case", "/p"}, "", "mode case", 0},
    };
    for (const Case& c : cases) {
        const CommandLine line = scanCommandLine(c.args);
        EXPECT_EQ(line.pathText, c.path) << c.args.join('|').toStdString();
        EXPECT_EQ(line.startMode, c.mode) << c.args.join('|').toStdString();
        EXPECT_EQ(line.exitAfterRun, c.exit) << c.args.join('|').toStdString();
    }
}

class CommandLineTest : public SettingsTest {};

TEST_F(CommandLineTest, PathsNameTheStartDirectoryAndPattern)
{
    const QString dir = makeDir("music");
    writeFile("music/song.mp3");
    writeFile("music/notes.txt");
    makeDir("music/sub1");
    makeDir("music/e");
    const QString other = makeDir("other");
    store({{"txtPath", other}, {"txtPattern", "*.stored"}});

    struct Case {
        QStringList args;
        QString storedPath, pattern;
    };
    const Case cases[] = {
        {{dir}, dir + "/", "*.stored"},
        {{dir + "/"}, dir + "/", "*.stored"},
        {{dir + "/song.mp3"}, dir + "/", "song.mp3"},
        {{dir + "/missing.mp3"}, dir + "/", "missing.mp3"},
        {{dir + "/*.mp3"}, dir + "/", "*.mp3"},
        {{dir + "/*.zzz"}, dir + "/", "*.zzz"},
        {{dir + "/sub*"}, "", "*.stored"}, // matches only a directory
        {{work() + "/nope/x.txt"}, "", "x.txt"},
        {{"/p", work() + "/nope", "/p", dir}, dir + "/", "*.stored"},
        {{"/p", dir + "/e"}, dir + "/e/", "*.stored"},
        {{"/p " + dir + "/e"}, dir + "/e/", "*.stored"},
        {{"/p", "\"" + dir + "\""}, dir + "/", "*.stored"},
        {{"/e", "modecase", "/x"}, other + "/", "*.stored"},
        {{"/P", dir}, "", "music"}, // no switch: a path "/P <dir>"
    };
    for (const Case& c : cases) {
        const Settings s = load(c.args);
        EXPECT_EQ(s.storedPath, c.storedPath) << c.args.join('|').toStdString();
        EXPECT_EQ(s.txtPattern, c.pattern) << c.args.join('|').toStdString();
    }
}

TEST_F(CommandLineTest, RunOnlyValues)
{
    Settings s = load({"/e", "modecase", "/x"});
    EXPECT_EQ(s.startMode, "modecase");
    EXPECT_EQ(s.exitAfterRun, -1);
    s = load({});
    EXPECT_EQ(s.startMode, "");
    EXPECT_EQ(s.exitAfterRun, 0);
}

// What an unattended run refuses is told apart from what was not given: "/p"
// or "/e" with nothing after it, and a path that names no folder to list.
TEST_F(CommandLineTest, WhatWasGivenAndWhyItCannotBeUsed)
{
    const QString folder = makeDir("start");
    writeFile("start/ab.txt");
    store({{"txtPath", folder}});
    struct Case {
        QStringList args;
        bool pathGiven, modeGiven;
        QString problem; // the start of startPathProblem
        bool storedFolderOpened;
    };
    const Case cases[] = {
        {{}, false, false, "", true},
        {{"/e", "modecase", "/x"}, false, true, "", true},
        {{"/e", "/x"}, false, true, "", true},
        {{"/p", "", "/e", "modecase"}, true, true, "is empty", true},
        {{"/p", folder + "/gone/deeper", "/e", "x"},
         true,
         true,
         "names nothing that exists: " + folder + "/gone/deeper",
         false},
        {{"/p", folder + "/" + QString(5000, 'a')}, true, false, "is longer than a path may be: ", false},
        {{"/p", folder + QChar(char16_t(0xDCFF))}, true, false, "is not valid UTF-8: " + folder + "\\xFF", false},
        {{"/p", folder}, true, false, "", true},
        // A last level that names nothing (a mistyped name) still becomes the
        // window's pattern, but a run nobody watches would only guess.
        {{"/p", folder + "/Musik", "/e", "modecase", "/x"},
         true,
         true,
         "names nothing that exists: " + folder + "/Musik",
         true},
        {{"/p", folder + "/ab.txt", "/e", "modecase", "/x"}, true, true, "", true},
        {{"/p", folder + "/AB.TXT", "/e", "modecase", "/x"}, true, true, "", true}, // as a pattern compares
        {{"/p", folder + "/zz*", "/e", "modecase", "/x"}, true, true, "", true},    // a pattern may match nothing
    };
    for (const Case& c : cases) {
        const Settings s = load(c.args);
        const std::string name = platform::printableText(c.args.join('|')).left(80).toStdString();
        EXPECT_EQ(s.startPathGiven, c.pathGiven) << name;
        EXPECT_EQ(s.startModeGiven, c.modeGiven) << name;
        if (!c.problem.isEmpty()) {
            EXPECT_TRUE(s.startPathProblem.startsWith(c.problem)) << name << ": " << s.startPathProblem.toStdString();
        }
        EXPECT_EQ(s.startPathProblem.isEmpty(), c.problem.isEmpty()) << name;
        EXPECT_LE(s.startPathProblem.size(), 300) << name; // a long path is shortened for the message
        EXPECT_EQ(s.storedPath, c.storedFolderOpened ? folder + "/" : QString()) << name;
    }
}

// Names on disk are case-sensitive, names a user types often are not: a last
// level that names no entry exactly but one directory in another letter case
// opens that directory (also through a link, as its very name would), for a
// window and for a run nobody watches alike. A file so named stays a pattern;
// several such entries leave a run nobody watches nothing to choose from.
TEST_F(CommandLineTest, ALastLevelInAnotherLetterCase)
{
    const QString dir = makeDir("case");
    const QString musik = makeDir("case/Musik");
    writeFile("case/Musik/song.mp3");
    writeFile("case/a.txt");
    makeDir("case/Twin");
    makeDir("case/TWIN");
    makeDir("case/Mixed");
    writeFile("case/MIXED");
    writeFile("case/exact");
    makeDir("case/EXACT");
    for (const char* name : {"abc", "abC", "aBc", "aBC", "Abc", "ABC"})
        makeDir(QStringLiteral("case/") + name);
    ASSERT_TRUE(QFile::link(musik, dir + "/Linked"));
    store({{"txtPattern", "*.stored"}});

    const QString twice = "names no entry exactly but 2 in another letter case ";
    const struct {
        const char* last;
        QString storedPath, pattern;
        QString problem; // the start of the unattended run's refusal
    } cases[] = {
        {"musik", musik + "/", "*.stored", ""},
        {"MUSIK", musik + "/", "*.stored", ""},
        {"A.TXT", dir + "/", "A.TXT", ""}, // a file: a run on that file
        {"twin", dir + "/", "twin", twice + "(\"TWIN\", \"Twin\"): "},
        {"mixed", dir + "/", "mixed", twice + "(\"MIXED\", \"Mixed\"): "},
        {"exact", dir + "/", "exact", ""}, // the very name wins over one in another case
        {"Exact", dir + "/", "Exact", twice + "(\"EXACT\", \"exact\"): "},
        {"ABc", dir + "/", "ABc",
         "names no entry exactly but 6 in another letter case (\"ABC\", \"Abc\", \"aBC\", \"aBc\", 2 more): "},
        {"linked", dir + "/Linked/", "*.stored", ""}, // a link to a folder opens as its very name does
        {"nothing", dir + "/", "nothing", "names nothing that exists: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.last);
        const QString given = dir + "/" + c.last;
        const Settings window = load({"/p", given});
        EXPECT_EQ(window.storedPath, c.storedPath);
        EXPECT_EQ(window.txtPattern, c.pattern);
        const Settings run = load({"/p", given, "/e", "modecase", "/x"});
        EXPECT_EQ(run.storedPath, c.storedPath);
        EXPECT_EQ(run.txtPattern, c.pattern);
        EXPECT_EQ(run.startPathProblem, c.problem.isEmpty() ? QString() : c.problem + given);
    }
}

TEST_F(CommandLineTest, LoneExitSwitchIsAPathBelowTheRoot)
{
    if (QFileInfo::exists("/x"))
        GTEST_SKIP() << "/x exists on this machine";
    store({{"txtPattern", "*.stored"}});
    const Settings s = load({"/x"});
    EXPECT_EQ(s.storedPath, "/");
    EXPECT_EQ(s.txtPattern, "x");
    EXPECT_EQ(s.exitAfterRun, 0);
    EXPECT_EQ(s.startMode, "");
}

TEST_F(CommandLineTest, RootStaysTheRoot)
{
    EXPECT_EQ(splitStartPath("/").path, "/");
    EXPECT_EQ(load({"/p", "/"}).storedPath, "/");
}

TEST_F(CommandLineTest, StoredDirectoryIsNotReadWhenTheCommandLineGivesAPath)
{
    haveFileTypes();
    const QString other = makeDir("other");
    store({{"txtPath", other}, {"Main_Width", "wide"}});
    const Settings s = load({work() + "/gone/deeper"});
    EXPECT_EQ(s.storedPath, "");
    // The geometry failure before the command line is still told.
    const QStringList lines = errorLines();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].endsWith(") Error 13 (Type mismatch) Error loading settings!")) << lines[0].toStdString();
}

// Linux names may hold double quotes, end in blanks or be "*": a path that
// names such an entry means it, never the neighbour its cleaned text would name.
TEST_F(CommandLineTest, APathNamingAnExistingEntryIsTakenAsGiven)
{
    const QString quoted = makeDir("\"photos\"");
    makeDir("photos");
    const QString blank = makeDir("trail ");
    makeDir("trail");
    const QString star = makeDir("parent/\"*\"");
    writeFile("parent/other.txt");
    writeFile("parent/\"*\"/inside.txt");
    store({{"txtPattern", "*.stored"}});

    struct Case {
        QStringList args;
        QString storedPath, pattern;
    };
    const Case cases[] = {
        {{"/p", quoted}, quoted + "/", "*.stored"},
        {{"/p", blank}, blank + "/", "*.stored"},
        {{"/p", blank + "/"}, blank + "/", "*.stored"},
        {{"/p", star}, star + "/", "*.stored"},
        {{star}, star + "/", "*.stored"},
        // Texts that name nothing are cleaned as before.
        {{"/p", "\"" + work() + "/photos\""}, work() + "/photos/", "*.stored"},
        {{"/p", work() + "/photos  "}, work() + "/photos/", "*.stored"},
        {{"/p", " " + work() + "/trail "}, work() + "/trail/", "*.stored"},
    };
    for (const Case& c : cases) {
        const Settings s = load(c.args);
        EXPECT_EQ(s.storedPath, c.storedPath) << c.args.join('|').toStdString();
        EXPECT_EQ(s.txtPattern, c.pattern) << c.args.join('|').toStdString();
    }
}

TEST_F(CommandLineTest, ARelativePathIsMadeAbsolute)
{
    makeDir("base/sub");
    writeFile("base/sub/song.mp3");
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(work() + "/base"));
    const QString base = QDir::currentPath(); // as the system spells it
    store({{"txtPattern", "*.stored"}});
    struct Case {
        QStringList args;
        QString pathText, storedPath, pattern;
    };
    const Case cases[] = {
        {{"/p", "sub"}, base + "/sub", base + "/sub/", "*.stored"},
        {{"/p", "sub/"}, base + "/sub/", base + "/sub/", "*.stored"},
        {{"/p", "./sub//song.mp3"}, base + "/sub/song.mp3", base + "/sub/", "song.mp3"},
        {{"/p", "."}, base, base + "/", "*.stored"},
        {{"sub"}, base + "/sub", base + "/sub/", "*.stored"},
        {{"/p", "\"sub\""}, base + "/sub", base + "/sub/", "*.stored"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(scanCommandLine(c.args).pathText, c.pathText) << c.args.join('|').toStdString();
        const Settings s = load(c.args);
        EXPECT_EQ(s.storedPath, c.storedPath) << c.args.join('|').toStdString();
        EXPECT_EQ(s.txtPattern, c.pattern) << c.args.join('|').toStdString();
    }
    ASSERT_TRUE(QDir::setCurrent(before));
}

// An exit switch with no run to end: what is missing, and a hint where an
// argument looks like a mode switch that is none.
TEST(CommandLineScan, AnExitSwitchWithoutARunSaysWhatIsMissing)
{
    const QString missing = QStringLiteral("/x was given without /e and a mode word");
    const struct {
        QStringList args;
        QString text;
    } cases[] = {
        {{"/p", "/nowhere", "/x"}, missing},
        {{"/p", "/nowhere", "/E", "modecase", "/x"},
         missing + " (\"/E\" is no switch: switches are written in lower case)"},
        {{"/p", "/nowhere", "/E modecase", "/x"},
         missing + " (\"/E modecase\" is no switch: switches are written in lower case)"},
        {{"/p", "/nowhere", "/e modecase", "/x"},
         missing + " (\"/e modecase\" is one argument: /e and its mode word are two)"},
        {{"/p", "/nowhere", "/e " + QString(36, 'm') + QStringLiteral("\U0001D11E"), "/x"}, // cut before the clef
         missing + " (\"/e " + QString(36, 'm') + "...\" is one argument: /e and its mode word are two)"},
        {{"/p", "/nowhere", "/e " + QString(60, 'm'), "/x"},
         missing + " (\"/e " + QString(37, 'm') + "...\" is one argument: /e and its mode word are two)"},
        {{"/p", "/nowhere"}, ""},
        {{"/p", "/nowhere", "/e", "modecase", "/x"}, ""},
        {{"/p", "/nowhere", "/e", "", "/x"}, ""}, // refused for its empty word instead
        {{"/x"}, ""},                             // no switch among the arguments: a path
        {{"/P", "/nowhere", "/x"}, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(exitWithoutRunProblem(c.args), c.text) << c.args.join('|').toStdString();
}
