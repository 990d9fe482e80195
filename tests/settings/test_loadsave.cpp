#include "platform/datetext.h"
#include "settings/settingskeys.h"
#include "settings/storeforms.h"
#include "settings_fixture.h"
#include "settings_values.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>

namespace {

bool isDetailWidth(const QString& key)
{
    return key.contains("ColWidth") && key.back() >= '4' && key.back() <= '8';
}

// A valid value other than the default for every key, so that a round trip shows
// each one.
void changeEveryField(Settings& s)
{
    for (const SettingsKey& key : settingsKeys())
        changeToOtherValue(key, s, 3);
}

} // namespace

TEST_F(SettingsTest, TableHoldsEachKeyOnceAndFreshStructHoldsTheDefaults)
{
    const auto keys = settingsKeys();
    ASSERT_EQ(keys.size(), 126u);
    QSet<QString> names;
    for (const SettingsKey& k : keys)
        names.insert(QString::fromLatin1(k.key));
    EXPECT_EQ(names.size(), 126);
    // Every key but the history is written by a save, each exactly once.
    QStringList saved;
    for (const char* n : saveKeysBeforeShellStep())
        saved << n;
    for (const char* n : saveKeysAfterShellStep())
        saved << n;
    saved << "pathHistorySize"
          << "exceptionsEnabled";
    EXPECT_EQ(saved.size(), 126);
    EXPECT_EQ(QSet<QString>(saved.begin(), saved.end()), names);

    // A load from an empty store changes no field of a fresh struct except those
    // whose default depends on the screen and the clock.
    const Settings fresh;
    const Settings loaded = load();
    for (const SettingsKey& k : keys) {
        if (k.defaultKind != DefaultKind::Fixed)
            continue;
        EXPECT_EQ(storedText(k, loaded), storedText(k, fresh)) << k.key;
    }
}

TEST_F(SettingsTest, FirstStartWritesEveryKeyWithItsDefault)
{
    Settings s = load();
    EXPECT_EQ(s.Main_Top, (screenH - 7920) / 2);
    EXPECT_EQ(s.Main_Left, (screenW - 11000) / 2);
    EXPECT_EQ(s.Execute_Top, (screenH - 5000) / 2);
    EXPECT_EQ(s.Execute_Left, (screenW - 5960) / 2);
    EXPECT_EQ(s.dtDate, QDate(2024, 5, 6));
    EXPECT_EQ(s.dtTime, QTime(13, 14, 15));
    EXPECT_EQ(s.pathHistory.size(), 33);
    EXPECT_TRUE(errorLines().isEmpty());
    save(s);

    const QStringList keys = platform::SettingsStore().keys();
    for (const SettingsKey& k : settingsKeys()) {
        const QString name = QString::fromLatin1(k.key);
        EXPECT_EQ(keys.contains(name), !isDetailWidth(name)) << k.key;
    }
    EXPECT_EQ(keys.size(), 126 - 10 + 32);
    EXPECT_EQ(stored("Main_Width"), "11000");
    EXPECT_EQ(stored("Main_Top"), QString::number((screenH - 7920) / 2));
    EXPECT_EQ(stored("tabStrip"), "2");
    EXPECT_EQ(stored("txtFormat"), "<NAME> (<SIZE>).<EXT>");
    EXPECT_EQ(stored("hideLogo"), "False");
    EXPECT_EQ(stored("enableRenameAllIfNoneSelected"), "True");
    EXPECT_EQ(stored("Case1"), "4");
    EXPECT_EQ(stored("chkR"), "2");
    EXPECT_EQ(stored("txtPath"), "");
    EXPECT_EQ(stored("pathHistory0"), "");
    EXPECT_EQ(stored("pathHistory31"), "");
    EXPECT_EQ(stored("pathHistory32"), "<missing>");
    EXPECT_EQ(stored("dtDate"), "2024-05-06"); // the same under every locale
    EXPECT_EQ(stored("dtTime"), "13:14:15");
    EXPECT_EQ(stored("dtDateChk"), "False");
    // The missing file-type file was written; the two lists hold nothing new,
    // so they are not written.
    EXPECT_EQ(readLines(programFolder() + "/filetypes.txt").size(), 44);
    EXPECT_FALSE(QFile::exists(programFolder() + "/exceptions.txt"));
    EXPECT_FALSE(QFile::exists(programFolder() + "/replace.txt"));
}

TEST_F(SettingsTest, RoundTripKeepsEveryValue)
{
    Settings before;
    changeEveryField(before);
    before.storedPath = makeDir("start dir") + "/";
    before.showAllColumns = 1; // the detail widths are written only then
    before.pathHistory = QStringList{"/a", "/b b", "/c"};
    tables.exceptionWords = QStringList{"McDonald", "USA"};
    tables.batchReplaceList = {BatchReplaceItem{"a", "b", 1, 0, 3, 2}, BatchReplaceItem{"x", "", 0, 1, 0, 0}};
    save(before);

    tables = ConfigTables{};
    const Settings after = load();
    for (const SettingsKey& k : settingsKeys()) {
        if (k.defaultKind == DefaultKind::None)
            continue; // written only
        EXPECT_EQ(storedText(k, after), storedText(k, before)) << k.key;
    }
    EXPECT_EQ(after.pathHistory.mid(0, 3), before.pathHistory);
    EXPECT_EQ(after.pathHistory.size(), before.pathHistorySize + 1);
    EXPECT_EQ(tables.exceptionWords, QStringList({"McDonald", "USA"}));
    ASSERT_EQ(tables.batchReplaceList.size(), 2u);
    EXPECT_EQ(tables.batchReplaceList[0].start, 2);
    EXPECT_EQ(tables.batchReplaceList[0].count, 3);
    EXPECT_EQ(tables.batchReplaceList[1].swapMode, 1);
    EXPECT_EQ(after.lblBatchReplace, "2 items in batch replace list...");
    EXPECT_TRUE(errorLines().isEmpty());
}

TEST_F(SettingsTest, BadThumbnailWidthIsReportedOnceAndClamped)
{
    haveFileTypes();
    store({{"thumbsWidth", "wide"}});
    const Settings s = load();
    EXPECT_EQ(s.thumbsWidth, 64);
    const QStringList lines = errorLines();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].endsWith(") Error 13 (Type mismatch) Error loading settings!")) << lines[0].toStdString();
}

TEST_F(SettingsTest, OddValuesStayWithinWhatTheirUsersCanTake)
{
    struct Case {
        const char* key;
        QString text;
        int Settings::*field;
        int expected;
    };
    const Case cases[] = {
        {"thumbsWidth", "0", &Settings::thumbsWidth, 64},
        {"thumbsWidth", "5", &Settings::thumbsWidth, 16},
        {"thumbsHeight", "999", &Settings::thumbsHeight, 256},
        {"thumbsHeight", "100", &Settings::thumbsHeight, 100},
        {"mpegBytesToRead", "0", &Settings::mpegBytesToRead, 8192},
        {"mpegBytesToRead", "-5", &Settings::mpegBytesToRead, 8192},
        {"mpegBytesToRead", "2000000000", &Settings::mpegBytesToRead, 16 * 1024 * 1024},
        {"getHtmlTitle_ReadSize", "0", &Settings::getHtmlTitle_ReadSize, 2048},
        {"getHtmlTitle_ReadSize", "99999999", &Settings::getHtmlTitle_ReadSize, 1024 * 1024},
        {"Main_Width", "100", &Settings::Main_Width, 11000},
        {"Main_Height", "-5", &Settings::Main_Height, 7920},
        {"Main_Width", "9000", &Settings::Main_Width, 9000},
        {"Execute_Width", "10", &Settings::Execute_Width, 5960},
        {"Execute_Height", "0", &Settings::Execute_Height, 5000},
        {"Main_Top", "-300", &Settings::Main_Top, 0},
        {"Main_Top", QString::number(screenH + 1), &Settings::Main_Top, 0},
        {"Main_Top", QString::number(screenH), &Settings::Main_Top, screenH},
        {"Main_Left", QString::number(screenW + 1), &Settings::Main_Left, 0},
        {"Execute_Top", "-300", &Settings::Execute_Top, -300},
        {"Case1", "4.0", &Settings::Case1, 4},
        {"Case1", "6", &Settings::Case1, 6},
        {"Case1", "9", &Settings::Case1, 4},     // no such button: unchanged
        {"Case2", "lower", &Settings::Case2, 2}, // no number: as if absent
        {"optReplace", "1", &Settings::optReplace, 1},
        {"tabStrip", "9", &Settings::TabStrip, 2}, // no such tab: unchanged
        {"tabStrip", "5 tabs", &Settings::TabStrip, 5},
        {"chkR", "1", &Settings::chkR, 1},
        {"chkR", "3", &Settings::chkR, 2},
        {"processHidden", "0.5", &Settings::processHidden, 0},
        {"processHidden", "1.5", &Settings::processHidden, 2},
        {"processWriteProtected", "40000", &Settings::processWriteProtected, 1},
    };
    for (const Case& c : cases) {
        {
            platform::SettingsStore s;
            s.deleteSection();
            s.setValue(c.key, c.text);
            s.sync();
        }
        EXPECT_EQ(load().*c.field, c.expected) << c.key << "=" << c.text.toStdString();
    }
}

TEST_F(SettingsTest, FindAndReplaceStartAndCountStayWithinTheSpinnerRange)
{
    const struct {
        const char* key;
        const char* text;
        QString Settings::*field;
        const char* expected;
    } cases[] = {
        {"txtReplaceStart", "-1", &Settings::txtReplaceStart, "0"},
        {"txtReplaceStart", "1000", &Settings::txtReplaceStart, "999"},
        {"txtReplaceStart", "40000", &Settings::txtReplaceStart, "999"},
        {"txtReplaceStart", "7", &Settings::txtReplaceStart, "7"},
        {"txtReplaceStart", "", &Settings::txtReplaceStart, ""}, // reads as 0: kept as it is
        {"txtReplaceCount", "-32768", &Settings::txtReplaceCount, "0"},
        {"txtReplaceCount", "99999999999", &Settings::txtReplaceCount, "999"},
        {"txtReplaceCount", "999", &Settings::txtReplaceCount, "999"},
        {"txtReplaceCount", "0", &Settings::txtReplaceCount, "0"},
    };
    for (const auto& c : cases) {
        {
            platform::SettingsStore s;
            s.deleteSection();
            s.setValue(c.key, c.text);
            s.sync();
        }
        EXPECT_EQ(load().*c.field, c.expected) << c.key << "=" << c.text;
    }
}

// A value that cannot be read is told at the end of the load whatever steps
// come after it: the command line's, the stored folder's, and the writing of a
// missing file-type file on a first start.
TEST_F(SettingsTest, AFailureOfAnyStepIsToldAtTheEnd)
{
    const struct {
        const char* name;
        const char* key;
        const char* text;
        bool firstStart; // no file-type file yet: the load writes one
        bool commandLine;
        const char* line;
    } cases[] = {
        {"window width, stored folder", "Main_Width", "wide", false, false, "Error 13 (Type mismatch)"},
        {"window width, command line", "Main_Width", "wide", false, true, "Error 13 (Type mismatch)"},
        {"window width, first start", "Main_Width", "wide", true, false, "Error 13 (Type mismatch)"},
        {"window width, first start, command line", "Main_Width", "wide", true, true, "Error 13 (Type mismatch)"},
        {"settings window place", "frmSettings_Left", "99999", false, false, "Error 6 (Overflow)"},
        {"start in the last folder", "startupInLastDir", "yes", false, false, "Error 13 (Type mismatch)"},
        {"thumbnail width, first start", "thumbsWidth", "wide", true, false, "Error 13 (Type mismatch)"},
    };
    const QString folder = makeDir("start");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(programFolder() + "/errors.txt");
        QFile::remove(programFolder() + "/filetypes.txt");
        if (!c.firstStart)
            haveFileTypes();
        {
            platform::SettingsStore s;
            s.deleteSection();
            s.setValue("txtPath", folder);
            s.setValue(c.key, c.text);
            s.sync();
        }
        const Settings s = load(c.commandLine ? QStringList{"/p", folder} : QStringList{});
        EXPECT_EQ(s.storedPath, folder + "/") << "the step after the failure still ran";
        EXPECT_EQ(s.Main_Width, 11000);
        EXPECT_EQ(s.Main_Left, (screenW - 11000) / 2);
        const QStringList lines = errorLines();
        ASSERT_EQ(lines.size(), 1) << lines.join('\n').toStdString();
        EXPECT_TRUE(lines[0].endsWith(QStringLiteral(") %1 Error loading settings!").arg(c.line)))
            << lines[0].toStdString();
        EXPECT_TRUE(QFile::exists(programFolder() + "/filetypes.txt"));
    }
}

TEST_F(SettingsTest, OnlyTheLastFailureIsNamed)
{
    haveFileTypes();
    store({{"chkR", "7"}, {"processSystem", "70000"}});
    load();
    const QStringList lines = errorLines();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].endsWith(") Error 6 (Overflow) Error loading settings!")) << lines[0].toStdString();
}

TEST_F(SettingsTest, WritingANewFileTypeFileKeepsEarlierFailures)
{
    store({{"thumbsWidth", "wide"}});
    load();
    ASSERT_EQ(errorLines().size(), 1);
    EXPECT_TRUE(errorLines()[0].endsWith(") Error 13 (Type mismatch) Error loading settings!"))
        << errorLines()[0].toStdString();
    EXPECT_TRUE(QFile::exists(programFolder() + "/filetypes.txt"));
    // A failure after it (a line the wave-format reader cannot cut) is the
    // last one, and the one named.
    QFile::remove(programFolder() + "/filetypes.txt");
    writeProgramFile("waveformats.txt", "no tab here\n");
    load();
    ASSERT_EQ(errorLines().size(), 2);
    EXPECT_FALSE(errorLines()[1].contains("Type mismatch")) << errorLines()[1].toStdString();
}

TEST_F(SettingsTest, SubdirectoriesAreClearedAtStartWhenAsked)
{
    const std::pair<const char*, int> cases[] = {{"1", 0}, {"0", 1}, {"2", 1}};
    for (const auto& [uncheck, expected] : cases) {
        store({{"chkSub", "1"}, {"uncheckSubsdirsAtStartup", uncheck}});
        EXPECT_EQ(load().chkSub, expected) << uncheck;
    }
}

TEST_F(SettingsTest, PatternBoxIsEnabledByEitherPatternSetting)
{
    store({{"usePatternForFiles", "0"}, {"usePatternForDirs", "0"}});
    EXPECT_FALSE(load().txtPatternEnabled);
    store({{"usePatternForDirs", "1"}});
    EXPECT_TRUE(load().txtPatternEnabled);
}

TEST_F(SettingsTest, StoredStartDirectory)
{
    const QString dir = makeDir("photos");
    store({{"txtPath", dir}, {"txtPattern", "*.jpg"}});
    Settings s = load();
    EXPECT_EQ(s.storedPath, dir + "/");
    EXPECT_EQ(s.txtPattern, "*.jpg");

    store({{"startupInLastDir", "0"}});
    EXPECT_EQ(load().storedPath, "");

    haveFileTypes();
    store({{"startupInLastDir", "1"}});
    QDir(dir).removeRecursively();
    EXPECT_EQ(load().storedPath, "");
    EXPECT_TRUE(errorLines().isEmpty());
}

// A pattern that came from the command line ("/p DIR/a.txt", or a mistyped
// "/p DIR/Musik") is for that run: the save keeps the stored pattern, unless
// the box holds another one, which the user typed.
TEST_F(SettingsTest, APatternFromTheCommandLineIsNeverStored)
{
    const QString dir = makeDir("photos");
    writeFile("photos/a.txt");
    store({{"txtPattern", "*.jpg"}});
    for (const QString& last : {QStringLiteral("a.txt"), QStringLiteral("Musik")}) {
        SCOPED_TRACE(last.toStdString());
        Settings s = load({"/p", dir + "/" + last});
        EXPECT_EQ(s.txtPattern, last);
        EXPECT_TRUE(save(s));
        EXPECT_EQ(stored("txtPattern"), "*.jpg");
        EXPECT_EQ(load({"/p", dir}).txtPattern, "*.jpg");
    }
    Settings typed = load({"/p", dir + "/a.txt"});
    typed.txtPattern = "*.png";
    EXPECT_TRUE(save(typed));
    EXPECT_EQ(stored("txtPattern"), "*.png");
    // Without a pattern on the command line the box's pattern is stored.
    Settings plain = load({"/p", dir});
    plain.txtPattern = "a.txt";
    EXPECT_TRUE(save(plain));
    EXPECT_EQ(stored("txtPattern"), "a.txt");
    EXPECT_TRUE(errorLines().isEmpty());
}

TEST_F(SettingsTest, PathHistoryHasItsStoredSize)
{
    store({{"pathHistorySize", "5"}, {"pathHistory0", "/a"}, {"pathHistory2", "/c"}, {"pathHistory5", "/f"}});
    Settings s = load();
    EXPECT_EQ(s.pathHistory, QStringList({"/a", "", "/c", "", "", ""}));

    // The save writes the first pathHistorySize items of the path box's list.
    s.pathHistory = QStringList{"/x", "/y", "/z"};
    save(s);
    EXPECT_EQ(stored("pathHistory0"), "/x");
    EXPECT_EQ(stored("pathHistory2"), "/z");
    EXPECT_EQ(stored("pathHistory3"), "");
    EXPECT_EQ(stored("pathHistory4"), "");
    EXPECT_EQ(stored("pathHistory5"), "/f"); // never touched

    s.pathHistorySize = 2;
    save(s);
    EXPECT_EQ(stored("pathHistory1"), "/y");
    EXPECT_EQ(stored("pathHistory2"), "/z");
    EXPECT_EQ(load().pathHistory, QStringList({"/x", "/y", ""}));
}

TEST_F(SettingsTest, DetailColumnWidthsAreWrittenOnlyWhileShown)
{
    store({{"dirColWidth4", "1111"}, {"dragColWidth8", "2222"}});
    Settings s = load();
    s.dirColWidth4 = 5;
    s.dragColWidth8 = 6;
    s.dirColWidth1 = 1234;
    save(s);
    EXPECT_EQ(stored("dirColWidth4"), "1111");
    EXPECT_EQ(stored("dragColWidth8"), "2222");
    EXPECT_EQ(stored("dirColWidth1"), "1234");
    s.showAllColumns = 1;
    save(s);
    EXPECT_EQ(stored("dirColWidth4"), "5");
    EXPECT_EQ(stored("dragColWidth8"), "6");
}

TEST_F(SettingsTest, GeometryOutsideTheStoreFormIsClampedWhenSaved)
{
    Settings s;
    s.dtDate = QDate(2020, 1, 2);
    s.dtTime = QTime(3, 4, 5);
    s.Main_Width = 50000;
    s.Main_Left = -40000;
    s.Execute_Height = 32767;
    s.totNumberOfFilesRenamedNew = 100000; // a Long keeps its value
    save(s);
    EXPECT_EQ(stored("Main_Width"), "32767");
    EXPECT_EQ(stored("Main_Left"), "-32768");
    EXPECT_EQ(stored("Execute_Height"), "32767");
    EXPECT_EQ(stored("totNumberOfFilesRenamedNew"), "100000");
    EXPECT_TRUE(errorLines().isEmpty());
}

TEST_F(SettingsTest, SaveReportsItsFailureOnceAndWritesTheRest)
{
    Settings s;
    s.dtDate = QDate(); // a picker value that cannot be written
    s.dtTime = QTime(1, 2, 3);
    save(s);
    const QStringList lines = errorLines();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].endsWith(") Error 13 (Type mismatch) Error saving settings!")) << lines[0].toStdString();
    EXPECT_EQ(stored("dtDate"), "<missing>");
    EXPECT_EQ(stored("chkDateDate"), "1");
    EXPECT_EQ(stored("tabStripFilemode"), "1");
    EXPECT_EQ(stored("exceptionsEnabled"), "0");
}

// The keys reach the file in one write at the end; when that write fails, it
// is the save's last failure and names the one error line, the caller hears
// of it, and the lists are still written.
TEST_F(SettingsTest, AStoreThatCannotBeWrittenIsTheSavesLastFailure)
{
    // A plain file where the store's folder should be.
    writeFileBytes(root() + "/config/Taborin", "not a folder");
    Settings s = load();
    s.dtDate = QDate(); // a key that fails before the write
    tables.exceptionWords = QStringList{"McDonald"};
    platform::SettingsStore store;
    {
        Logs logs(programFolder());
        EXPECT_FALSE(saveSettings(store, logs, programFolder(), s, tables));
    }
    const QStringList lines = errorLines();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].endsWith(") Error 76 (Path not found) Error saving settings!")) << lines[0].toStdString();
    EXPECT_EQ(settingsNotSavedText(store), "Error 76 (Path not found) Error saving settings!\n\nThe settings file " +
                                               store.fileName() +
                                               " could not be written; the settings were not saved.");
    EXPECT_EQ(readText(programFolder() + "/exceptions.txt"), "McDonald\n");
    EXPECT_EQ(fileBytes(root() + "/config/Taborin"), "not a folder");
}

// A session that changes no setting leaves the file as it was, with the
// lines of other programs and the user's comments; a change rewrites only
// the renamer's section.
TEST_F(SettingsTest, ASaveOfWhatWasLoadedLeavesTheFileAlone)
{
    EXPECT_TRUE(save(load())); // the first start writes every key
    const QString file = platform::SettingsStore().fileName();
    const QByteArray others = "; by hand\n[Other%20Program]\nname=Gr\xfc\xdf"
                              "e\n\n";
    writeFileBytes(file, others + fileBytes(file));
    const QByteArray before = fileBytes(file);
    const QDateTime written = QFileInfo(file).lastModified();

    Settings s = load();
    EXPECT_TRUE(save(s));
    EXPECT_EQ(fileBytes(file), before);
    EXPECT_EQ(QFileInfo(file).lastModified(), written);

    s.txtFind = "changed";
    EXPECT_TRUE(save(s));
    EXPECT_TRUE(fileBytes(file).startsWith(others));
    EXPECT_EQ(stored("txtFind"), "changed");
    EXPECT_EQ(load().txtFind, "changed");
    EXPECT_TRUE(errorLines().isEmpty());
}

TEST_F(SettingsTest, FileManagerEntryStepSitsBetweenTheKeyRuns)
{
    std::vector<bool> calls;
    bool keysBefore = false, keysAfter = true;
    Settings s;
    {
        platform::SettingsStore st;
        Logs logs(programFolder());
        saveSettings(st, logs, programFolder(), s, tables, [&](bool create) {
            calls.push_back(create);
            keysBefore = st.contains("enableTreeview");
            keysAfter = st.contains("lwShowGuidelines");
        });
    }
    s.shellShowVexor = 2;
    save(s, [&](bool create) { calls.push_back(create); });
    EXPECT_EQ(calls, std::vector<bool>({true, false}));
    EXPECT_TRUE(keysBefore);
    EXPECT_FALSE(keysAfter);
}

TEST_F(SettingsTest, WordsDatesAndTimesThatDoNotReadBackKeepTheField)
{
    haveFileTypes();
    store({{"hideLogo", "TRUE"}, {"enableRenameAllIfNoneSelected", "0"}});
    Settings s = load();
    EXPECT_TRUE(s.hideLogo);
    EXPECT_FALSE(s.enableRenameAllIfNoneSelected);
    EXPECT_TRUE(errorLines().isEmpty());

    store({{"hideLogo", "maybe"}, {"dtDate", "someday"}, {"dtTime", "noon"}});
    s = load();
    EXPECT_FALSE(s.hideLogo);
    // The pickers show the time of the load, as with nothing stored.
    EXPECT_EQ(s.dtDate, QDate(2024, 5, 6));
    EXPECT_EQ(s.dtTime, QTime(13, 14, 15));
    ASSERT_TRUE(s.dtDateUnread && s.dtTimeUnread);
    EXPECT_EQ(s.dtDateUnread->text, "someday");
    EXPECT_EQ(s.dtTimeUnread->text, "noon");
    ASSERT_EQ(errorLines().size(), 1);
    EXPECT_TRUE(errorLines()[0].endsWith(") Error 13 (Type mismatch) Error loading settings!"));
}

// A desktop session, a cron job (no LANG) and a service (C.UTF-8) each have a
// locale of their own: a date and a time stored under one read back under
// the others, and a save that did not change them keeps their texts.
TEST_F(SettingsTest, DatesAndTimesOfAnotherLocaleReadBackAndStayAsWritten)
{
    haveFileTypes();
    const struct {
        const char* date;
        const char* time;
    } stores[] = {
        {"24.03.2020", "12:30:00"},  {"3/24/2020", "12:30:00 PM"}, {"24/03/2020", "12:30:00"},
        {"24 Mar 2020", "12:30:00"}, {"2020-03-24", "12:30:00"},
    };
    const QString file = platform::SettingsStore().fileName();
    for (const auto& c : stores) {
        QFile::remove(file);
        QFile::remove(programFolder() + "/errors.txt");
        store({{"dtDate", c.date}, {"dtTime", c.time}});
        Settings s = load();
        EXPECT_EQ(s.dtDate, QDate(2020, 3, 24)) << c.date;
        EXPECT_EQ(s.dtTime, QTime(12, 30)) << c.time;
        EXPECT_FALSE(s.dtDateUnread || s.dtTimeUnread);
        EXPECT_TRUE(errorLines().isEmpty()) << c.date;
        EXPECT_TRUE(save(s));
        const QByteArray bytes = fileBytes(file);
        EXPECT_TRUE(bytes.contains(QByteArray("\ndtDate=") + c.date + "\n")) << bytes.toStdString();
        EXPECT_TRUE(bytes.contains(QByteArray("\ndtTime=") + c.time + "\n")) << bytes.toStdString();

        // A date chosen in the window is stored in the form every locale reads.
        s.dtDate = QDate(2021, 12, 1);
        EXPECT_TRUE(save(s));
        EXPECT_EQ(stored("dtDate"), "2021-12-01");
        EXPECT_EQ(stored("dtTime"), c.time);
    }
}

// A stored date that cannot be read stays in the file until the user chooses
// one; the first save that has a chosen one writes it, and a later save of the
// value it read keeps the file's text whatever an earlier save wrote.
TEST_F(SettingsTest, AnUnreadableDateStaysStoredUntilOneIsChosen)
{
    haveFileTypes();
    store({{"dtDate", "sometime"}, {"dtTime", "13:14:15 o'clock"}});
    Settings s = load();
    ASSERT_TRUE(s.dtDateUnread && s.dtTimeUnread);
    EXPECT_TRUE(save(s));
    EXPECT_EQ(stored("dtDate"), "sometime");
    EXPECT_EQ(stored("dtTime"), "13:14:15 o'clock");
    EXPECT_EQ(errorLines().size(), 1); // the load's line, none of the save

    Settings chosen = s;
    chosen.dtTime = QTime(8, 0);
    EXPECT_TRUE(save(chosen));
    EXPECT_EQ(stored("dtDate"), "sometime");
    EXPECT_EQ(stored("dtTime"), "08:00:00");

    // One store, saved from the options window and again at exit: the second
    // save writes the date read again, as the first one changed it.
    store({{"dtDate", "24.03.2020"}});
    platform::SettingsStore st;
    Logs logs(programFolder());
    Settings loaded;
    loadSettings(st, logs, context(), loaded, tables);
    Settings changed = loaded;
    changed.dtDate = QDate(2022, 2, 2);
    EXPECT_TRUE(saveSettings(st, logs, programFolder(), changed, tables, {}));
    EXPECT_EQ(stored("dtDate"), "2022-02-02");
    EXPECT_TRUE(saveSettings(st, logs, programFolder(), loaded, tables, {}));
    EXPECT_EQ(stored("dtDate"), "2020-03-24");
}

TEST_F(SettingsTest, AStoreThatExistsButCannotBeReadIsALoadFailure)
{
    const QString file = platform::SettingsStore().fileName();
    // A directory in the store's place: the load gives the defaults and says so.
    QDir().mkpath(file);
    {
        platform::SettingsStore s;
        Logs logs(programFolder());
        Settings settings;
        EXPECT_FALSE(loadSettings(s, logs, context({"/p", work(), "/e", "modecase"}), settings, tables));
        EXPECT_EQ(settings.startMode, "modecase");
        EXPECT_EQ(settings.txtFind, Settings{}.txtFind);
    }
    QStringList errors = readLines(programFolder() + "/errors.txt");
    ASSERT_EQ(errors.size(), 2);
    EXPECT_TRUE(errors[0].endsWith(") Error 75 (Path/File access error) Error loading settings!"))
        << errors[0].toStdString();
    EXPECT_TRUE(errors[1].endsWith(" could not be read; the settings will not be saved.")) << errors[1].toStdString();

    // The save stores nothing, runs no file-manager step, and still writes the
    // lists, which were read on their own.
    {
        platform::SettingsStore s;
        Logs logs(programFolder());
        Settings settings;
        tables.exceptionWords = QStringList{"McDonald"};
        bool stepRan = false;
        saveSettings(s, logs, programFolder(), settings, tables, [&](bool) { stepRan = true; });
        EXPECT_FALSE(stepRan);
    }
    EXPECT_TRUE(QFileInfo(file).isDir());
    EXPECT_TRUE(QDir(file).isEmpty());
    EXPECT_EQ(readText(programFolder() + "/exceptions.txt"), "McDonald\n");
    errors = readLines(programFolder() + "/errors.txt");
    EXPECT_EQ(errors.size(), 2);

    // A readable store, and no store at all, load normally.
    QDir().rmdir(file);
    {
        platform::SettingsStore s;
        Logs logs(programFolder());
        Settings settings;
        EXPECT_TRUE(loadSettings(s, logs, context(), settings, tables));
    }
    store({{"txtFind", "x"}});
    {
        platform::SettingsStore s;
        Logs logs(programFolder());
        Settings settings;
        EXPECT_TRUE(loadSettings(s, logs, context(), settings, tables));
        EXPECT_EQ(settings.txtFind, "x");
    }
}

// A settings file kept by hand, with CR LF line ends, comments among and after
// the renamer's keys and other programs' sections: a save that changes one
// value changes that line only.
TEST_F(SettingsTest, ASaveChangesOnlyTheLineOfAChangedValue)
{
    EXPECT_TRUE(save(load()));
    const QString file = platform::SettingsStore().fileName();
    QByteArray section = fileBytes(file);
    ASSERT_TRUE(section.contains("\ntxtFind=\n"));
    section.replace("\ntxtFind=\n", "\n; what I look for\ntxtFind=\n");
    QByteArray handKept = "; my settings\n[Other%20Program]\nname=Gr\xfc\xdf"
                          "e\n\n" +
                          section + "\n; the next one is Third's\n[Third]\nz=1\n";
    handKept.replace("\n", "\r\n");
    writeFileBytes(file, handKept);

    Settings s = load();
    s.txtFind = "new";
    EXPECT_TRUE(save(s));
    QByteArray expected = handKept;
    expected.replace("\r\ntxtFind=\r\n", "\r\ntxtFind=new\r\n");
    EXPECT_EQ(fileBytes(file), expected);
    EXPECT_EQ(load().txtFind, "new");
}

// Runs that share the store save over each other: each adds its own renames
// to the statistics (within 32 bits), and puts the folders it listed first in
// the history that the others left; a second save of a run adds only what it
// did since its first.
TEST_F(SettingsTest, RunsSavingAtOnceAddUpTheirCountsAndFolders)
{
    store({{"totNumberOfFilesRenamedNew", "10"},
           {"totNumberOfDirsRenamedNew", "1"},
           {"pathHistorySize", "4"},
           {"pathHistory0", "/a/"},
           {"pathHistory1", "/b/"}});
    platform::SettingsStore firstStore, secondStore;
    Logs logs(programFolder());
    Settings first, second;
    ASSERT_TRUE(loadSettings(firstStore, logs, context(), first, tables));
    ASSERT_TRUE(loadSettings(secondStore, logs, context(), second, tables));

    first.totNumberOfFilesRenamedNew += 200;
    first.pathHistory = {"/one/", "/a/", "/b/"};
    second.totNumberOfFilesRenamedNew += 50;
    second.totNumberOfDirsRenamedNew -= 1; // an Undo
    second.pathHistory = {"/b/", "/two/", "/a/"};
    ASSERT_TRUE(saveSettings(firstStore, logs, programFolder(), first, tables));
    ASSERT_TRUE(saveSettings(secondStore, logs, programFolder(), second, tables));
    EXPECT_EQ(stored("totNumberOfFilesRenamedNew"), "260");
    EXPECT_EQ(stored("totNumberOfDirsRenamedNew"), "0");
    EXPECT_EQ(load().pathHistory, QStringList({"/b/", "/two/", "/one/", "/a/", ""}));

    store({{"totNumberOfFilesRenamedNew", "2147483600"}});
    first.totNumberOfFilesRenamedNew += 100;
    ASSERT_TRUE(saveSettings(firstStore, logs, programFolder(), first, tables));
    EXPECT_EQ(stored("totNumberOfFilesRenamedNew"), "2147483647");
    EXPECT_EQ(load().pathHistory, QStringList({"/b/", "/two/", "/one/", "/a/", ""}));
    EXPECT_TRUE(errorLines().isEmpty());
}

// Another program holds the store's lock for the whole save: the save gives
// up after a wait, and the line in errors.txt and the text the user is shown
// name the lock file.
TEST_F(SettingsTest, ASaveBlockedByAnotherProgramsLockNamesTheLockFile)
{
    Settings s = load();
    const QString file = platform::SettingsStore().fileName();
    ASSERT_TRUE(QDir().mkpath(QFileInfo(file).path()));
    QLockFile lock(file + ".lock");
    ASSERT_TRUE(lock.tryLock(0));
    platform::SettingsStore store;
    {
        Logs logs(programFolder());
        EXPECT_FALSE(saveSettings(store, logs, programFolder(), s, tables));
    }
    const QString named = "Error 75 (Path/File access error: another program holds the lock file " + file +
                          ".lock) Error saving settings!";
    const QStringList lines = errorLines();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].endsWith(named)) << lines[0].toStdString();
    EXPECT_TRUE(settingsNotSavedText(store).startsWith(named)) << settingsNotSavedText(store).toStdString();
    EXPECT_FALSE(QFile::exists(file));
}

// A store too large to be a settings file says so where the load reports it.
TEST_F(SettingsTest, AStoreLargerThan16MiBIsNamedAsSuch)
{
    const QString file = platform::SettingsStore().fileName();
    writeFileBytes(file, "[Vexor%20Renamer]\ntxtFind=a\n");
    ASSERT_TRUE(QFile::resize(file, 16 * 1024 * 1024 + 1));
    platform::SettingsStore s;
    Logs logs(programFolder());
    Settings settings;
    EXPECT_FALSE(loadSettings(s, logs, context(), settings, tables));
    const QStringList lines = errorLines();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(
        lines[1].endsWith("The settings file " + file + " is larger than 16 MiB; the settings will not be saved."))
        << lines[1].toStdString();
}
