// An unattended run (/e WORD /x) works on the listing of the first activation
// without building rows, while a window start with /e builds them and runs
// Rename! from the window. Both must decide alike: the same selection count,
// only-selected state, gate verdict and box values, and the same result on disk,
// except that nothing can be selected in a run nobody watches.
#include "mainwindow_fixture.h"
#include "platform/datetext.h"
#include "platform/fileops.h"
#include "platform/settingsstore.h"
#include "test_support.h"

#include <QDir>
#include <QFile>

namespace {

const char* const kWords[] = {"modereplace", "modebatchreplace", "modecase",    "modeenum", "modenormalize",
                              "modespace",   "modeattrib",       "modedate",    "modeadd",  "modecrop",
                              "modemp3",     "modeformat",       "modefiletype"};

// What a run leaves on disk: each name with its attributes and whether its
// modified date is the one the date word sets.
QStringList diskState(const QString& dir)
{
    QStringList state;
    for (const QFileInfo& f : QDir(dir).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const auto info = platform::entryInfo(f.filePath());
        const bool dated = info && platform::toDateTime(info->modified).date() == QDate(2011, 11, 11);
        state.append(QStringLiteral("%1 attr=%2%3")
                         .arg(f.fileName())
                         .arg(platform::getAttributes(f.filePath()))
                         .arg(dated ? QStringLiteral(" dated") : QString()));
    }
    return state;
}

struct GateCase {
    const char* name;
    std::vector<std::pair<const char*, const char*>> keys; // stored on top of the words' own
    // The refusal expected for a word, empty when it runs.
    std::function<QString(const QString& word)> refusal;
    // The window start's verdict where it differs from the unattended run's.
    std::function<QString(const QString& word)> windowRefusal = {};
};

} // namespace

class UnattendedDecisionTest : public MainWindowFixture<>, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override
    {
        MainWindowFixture<>::SetUp();
        ui.failOnUnscripted = false; // the runs' boxes take their default buttons
        QDir().mkpath(programFolder());
        QFile replace(programFolder() + "/replace.txt");
        ASSERT_TRUE(replace.open(QIODevice::WriteOnly));
        replace.write("a/x/0/0/0/0\n");
    }
    void fill(const QString& dir)
    {
        QDir().mkpath(dir + "/sub folder");
        const QByteArray png = QByteArray::fromHex("89504e470d0a1a0a0000000d49484452") + QByteArray(64, '\0');
        for (const auto& [name, content] :
             std::vector<std::pair<QString, QByteArray>>{{"ab c.TXT", "12345"},
                                                         {"12 x  y .txt", {}},
                                                         {"track 7.mp3", mp3WithId3v1("Artist", "Song")},
                                                         {"picture", png}}) {
            QFile f(dir + "/" + name);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
    }
    void store(const GateCase& c)
    {
        platform::SettingsStore s;
        s.deleteSection();
        // Options with which every word renames something.
        const std::vector<std::pair<const char*, QString>> base = {
            {"txtFind", "a"},
            {"txtReplace", "x"},
            {"Case1", "1"},
            {"Case2", "2"},
            {"txtEnumFormat", "<ENUM>-<NAME>"},
            {"chkEnumAutoZeros", "0"},
            {"txtEnumZeros", "2"},
            {"txtNormalize", "3"},
            {"chkR", "1"},
            {"chkDateModified", "1"},
            {"chkDateDate", "1"},
            {"chkDateTime", "0"},
            {"dtDate", platform::dateText(QDate(2011, 11, 11))},
            {"dtTime", platform::timeText(QTime(12, 0))}, // not the clock: both starts read the same
            {"txtAdd", "new "},
            {"txtAddPos", "0"},
            {"txtCropNumber", "2"},
            {"txtCropPos", "0"},
            {"txtMp3Format", "<ARTIST> - <TITLE>"},
            {"txtFormat", "<NAME> [<SIZEB>].<EXT>"},
            {"chkDirs", "1"},
        };
        for (const auto& [key, value] : base)
            s.setValue(QString::fromLatin1(key), value);
        for (const auto& [key, value] : c.keys)
            s.setValue(QString::fromLatin1(key), QString::fromLatin1(value));
    }
    // One start: the decision it took and what it left on disk.
    std::pair<FrmMain::RunDecision, QStringList> startWith(const GateCase& c, const QString& word, bool unattended)
    {
        const QString dir = work() + (unattended ? "/unattended " : "/window ") + word;
        fill(dir);
        store(c);
        QStringList args{"/p", dir, "/e", word};
        if (unattended)
            args << "/x";
        start(args);
        EXPECT_TRUE(w->commandLineDecision().has_value()) << word.toStdString();
        const FrmMain::RunDecision d = w->commandLineDecision().value_or(FrmMain::RunDecision{});
        EXPECT_EQ(w->exited(), unattended) << word.toStdString();
        if (unattended) {
            EXPECT_EQ(w->exitStatus(), d.executeEnabled ? 0 : 2) << word.toStdString();
        }
        dropMainWindow();
        return {d, diskState(dir)};
    }
};

TEST_P(UnattendedDecisionTest, AnUnattendedRunDecidesAndRenamesAsAWindowStart)
{
    // Nothing can be selected in a run nobody watches: every word is refused.
    // A window start keeps the attributes tab's exemption, and its run there
    // changes nothing.
    const auto only = [](const QString&) { return QStringLiteral("Only Rename Selected and no row is selected"); };
    const auto onlyInTheWindow = [](const QString& w) {
        return w == "modeattrib" || w == "modedate" ? QString()
                                                    : QStringLiteral("Only Rename Selected and no row is selected");
    };
    const auto cropOnly = [](const char* why) {
        return [why](const QString& w) { return w == "modecrop" ? QString::fromLatin1(why) : QString(); };
    };
    const std::vector<GateCase> cases = {
        {"every option set", {}, [](const QString&) { return QString(); }},
        {"only selected, none selected, not all",
         {{"chkOnlyRenameSelected", "1"}, {"enableRenameAllIfNoneSelected", "False"}},
         only,
         onlyInTheWindow},
        {"only selected, none selected, all",
         {{"chkOnlyRenameSelected", "1"}, {"enableRenameAllIfNoneSelected", "True"}},
         [](const QString&) { return QString(); }},
        {"crop count 0", {{"txtCropNumber", "0"}}, cropOnly("Crop count is 0")},
        {"crop count empty", {{"txtCropNumber", ""}}, cropOnly("Crop count is empty")},
        {"crop count x2", {{"txtCropNumber", "x2"}}, cropOnly("Crop count is 0")},
    };
    const GateCase& c = cases[size_t(GetParam())];
    fill(work() + "/untouched");
    const QStringList untouched = diskState(work() + "/untouched");
    for (const char* wordText : kWords) {
        const QString word = QString::fromLatin1(wordText);
        SCOPED_TRACE(std::string(c.name) + " / " + wordText);
        const auto [window, windowDisk] = startWith(c, word, false);
        const auto [unattended, unattendedDisk] = startWith(c, word, true);
        const QString windowRefusal = c.windowRefusal ? c.windowRefusal(word) : c.refusal(word);
        EXPECT_EQ(unattended.refusal, c.refusal(word));
        EXPECT_EQ(unattended.executeEnabled, c.refusal(word).isEmpty());
        EXPECT_EQ(window.refusal, windowRefusal);
        EXPECT_EQ(window.executeEnabled, windowRefusal.isEmpty());
        // Everything else the two starts decide on is the same.
        FrmMain::RunDecision alike = unattended;
        alike.refusal = window.refusal;
        alike.executeEnabled = window.executeEnabled;
        EXPECT_TRUE(alike == window) << "unattended: " << unattended.refusal.toStdString() << " "
                                     << unattended.counts.toStdString() << " selected " << unattended.selectedCount
                                     << " only " << unattended.onlySelectedActive
                                     << "\nwindow: " << window.refusal.toStdString() << " "
                                     << window.counts.toStdString() << " selected " << window.selectedCount << " only "
                                     << window.onlySelectedActive;
        EXPECT_EQ(unattendedDisk, windowDisk);
        // A refused run changes nothing; a run that renames all rows changes something.
        if (!c.refusal(word).isEmpty()) {
            EXPECT_EQ(unattendedDisk, untouched);
        } else if (c.keys.empty()) {
            EXPECT_NE(unattendedDisk, untouched);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(GateAndSelection, UnattendedDecisionTest, ::testing::Range(0, 6));

// The tests run offscreen, where nobody sees the window: an exit switch with
// no run to end closes the start at once with status 2 and one line, while the
// same start without "/x" keeps its window, as a user's start does.
class ExitWithoutRunTest : public MainWindowFixture<> {};

TEST_F(ExitWithoutRunTest, AnExitSwitchWithNoRunEndsWhileAWindowStartStays)
{
    const QString dir = makeDir("folder");
    writeFile("folder/ab.TXT");
    platform::SettingsStore().setValue("Case1", "1");
    const QString missing = QStringLiteral("Vexor Renamer: the run was not started: /x was given without /e and a "
                                           "mode word");
    struct Case {
        QStringList args; // without "/x"
        QString line;
    };
    const std::vector<Case> cases = {
        {{"/p", dir}, missing + "."},
        {{"/p", dir, "/E", "modecase"}, missing + " (\"/E\" is no switch: switches are written in lower case)."},
        {{"/p", dir, "/e modecase"}, missing + " (\"/e modecase\" is one argument: /e and its mode word are two)."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        ui.consoleLines.clear();
        start(c.args + QStringList{"/x"});
        EXPECT_TRUE(w->exited());
        EXPECT_EQ(w->exitStatus(), 2);
        EXPECT_EQ(ui.consoleLines, QStringList{c.line});
        dropMainWindow();

        ui.consoleLines.clear();
        start(c.args);
        QCoreApplication::processEvents();
        EXPECT_FALSE(w->exited());
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(w->exitStatus(), 0);
        EXPECT_TRUE(ui.consoleLines.isEmpty());
        dropMainWindow();
        EXPECT_EQ(QDir(dir).entryList(QDir::Files), QStringList{"ab.TXT"});
    }
}

// A stored date or time that cannot be read as one value is never put on
// files by a run from the command line: the picker shows the time of the
// start in its place, and nobody chose that.
class UnreadDateTest : public MainWindowFixture<> {};

TEST_F(UnreadDateTest, ARunFromTheCommandLineNeverStampsADateNobodyChose)
{
    const QDateTime old(QDate(2001, 1, 1), QTime(10, 0));
    const QString refused = QStringLiteral("Vexor Renamer: the run was not started: the stored ");
    struct Case {
        const char* name;
        std::vector<std::pair<const char*, const char*>> keys;
        QStringList args; // after "/p DIR"
        QString line;     // empty when the run goes on
        QDateTime modified;
    };
    const std::vector<Case> cases = {
        {"date unattended",
         {{"dtDate", "sometime"}, {"chkDateDate", "1"}, {"chkDateTime", "0"}},
         {"/e", "modedate", "/x"},
         refused + "New Date \"sometime\" cannot be read as one date; choose it in the window.",
         old},
        {"date in a window",
         {{"dtDate", "sometime"}, {"chkDateDate", "1"}, {"chkDateTime", "0"}},
         {"/e", "modedate"},
         refused + "New Date \"sometime\" cannot be read as one date; choose it in the window.",
         old},
        {"date and time",
         {{"dtDate", "sometime"}, {"dtTime", "noon"}, {"chkDateDate", "1"}, {"chkDateTime", "1"}},
         {"/e", "modedate", "/x"},
         refused + "New Date \"sometime\" and New Time \"noon\" cannot be read as one date and time; choose them in "
                   "the window.",
         old},
        {"time alone",
         {{"dtDate", "2020-03-24"}, {"dtTime", "noon"}, {"chkDateDate", "1"}, {"chkDateTime", "1"}},
         {"/e", "modedate", "/x"},
         refused + "New Time \"noon\" cannot be read as one time; choose it in the window.",
         old},
        // The unread date is not used: the time alone is set, or attributes.
        {"date unticked",
         {{"dtDate", "sometime"}, {"dtTime", "12:00:00"}, {"chkDateDate", "0"}, {"chkDateTime", "1"}},
         {"/e", "modedate", "/x"},
         {},
         QDateTime(old.date(), QTime(12, 0))},
        {"attributes", {{"dtDate", "sometime"}, {"chkR", "1"}}, {"/e", "modeattrib", "/x"}, {}, old},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString dir = makeDir(QString::fromLatin1(c.name));
        const QString file = writeFile(QString::fromLatin1(c.name) + "/a.txt", "x");
        {
            QFile f(file);
            ASSERT_TRUE(f.open(QIODevice::ReadWrite));
            ASSERT_TRUE(f.setFileTime(old, QFileDevice::FileModificationTime));
        }
        {
            platform::SettingsStore s;
            s.deleteSection();
            s.setValue("chkDateModified", "1");
            for (const auto& [key, value] : c.keys)
                s.setValue(QString::fromLatin1(key), QString::fromLatin1(value));
        }
        ui.consoleLines.clear();
        const bool unattended = c.args.contains("/x");
        start(QStringList{"/p", dir} + c.args);
        QCoreApplication::processEvents();
        EXPECT_EQ(w->exited(), unattended);
        if (c.line.isEmpty()) {
            EXPECT_TRUE(ui.consoleLines.isEmpty()) << ui.consoleLines.join('\n').toStdString();
            EXPECT_NE(w->exitStatus(), 2);
        } else {
            EXPECT_EQ(ui.consoleLines, QStringList{c.line});
            EXPECT_EQ(w->exitStatus(), 2);
        }
        dropMainWindow();
        EXPECT_EQ(platform::toDateTime(platform::entryInfo(file)->modified), c.modified);
        EXPECT_EQ(QDir(dir).entryList(QDir::Files), QStringList{"a.txt"});
        EXPECT_EQ(platform::SettingsStore().value("dtDate"), QString::fromLatin1(c.keys[0].second));
    }
}
