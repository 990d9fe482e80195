#include "platform/filemanagerentry.h"
#include "platform/settingsstore.h"
#include "test_support.h"
#include "uninstall/purgix.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <sys/stat.h>

using platform::SettingsStore;

namespace {

const QString removeTitle = QStringLiteral("Vexor Renamer Purgix");
const QString removeText = QStringLiteral("Do you want to remove the Vexor Renamer settings from this computer?");
const QString keepTitle = QStringLiteral("Vexor Renamer Uninstall");
const QString keepText = QStringLiteral("Do you want to keep the Vexor Renamer settings?\n\nThis is recommended if "
                                        "you are upgrading Vexor Renamer or have other versions installed.");
const QString dirsKey = QStringLiteral("totNumberOfDirsRenamedNew");
const QString filesKey = QStringLiteral("totNumberOfFilesRenamedNew");

// Also records how the box was styled.
class RecordingUi : public ScriptedUi {
public:
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;

    QMessageBox::StandardButton message(QWidget* parent, const QString& title, const QString& text, QMessageBox::Icon i,
                                        QMessageBox::StandardButtons b, QMessageBox::StandardButton def) override
    {
        icon = i;
        buttons = b;
        defaultButton = def;
        return ScriptedUi::message(parent, title, text, i, b, def);
    }
};

class PurgixTest : public TempEnv {
protected:
    QString storeDir() const { return root() + "/config/Taborin"; }
    QString storeFile() const { return storeDir() + "/Taborin.ini"; }

    // The renamer's section as it looks after some use, and another program's.
    void storeSettings(const QStringList& statistics)
    {
        SettingsStore other(QStringLiteral("Other Program"));
        other.setValue("keep", "1");
        SettingsStore store;
        store.setValue("txtPath", "/home/me/Music");
        store.setValue("pathHistory0", "/home/me");
        store.setValue("hideLogo", "False");
        store.setValue("Main_Width", "11000");
        if (!statistics.value(0).isNull())
            store.setValue(dirsKey, statistics.value(0));
        if (!statistics.value(1).isNull())
            store.setValue(filesKey, statistics.value(1));
    }

    RecordingUi run(const QStringList& arguments, QMessageBox::StandardButton answer)
    {
        RecordingUi ui;
        ui.answers.push_back(answer);
        EXPECT_TRUE(purgixMain(arguments, ui));
        EXPECT_EQ(ui.asked.size(), 1u);
        EXPECT_TRUE(ui.answers.empty());
        return ui;
    }

    QStringList sectionKeys() const
    {
        QStringList keys = SettingsStore().keys();
        keys.sort();
        return keys;
    }

    void expectOtherSectionKept() const
    {
        EXPECT_EQ(SettingsStore(QStringLiteral("Other Program")).value("keep"), "1");
    }
};

struct QuestionCase {
    QStringList arguments;
    bool keep;
};

// Readable case names in the test output instead of a byte dump.
void PrintTo(const QuestionCase& c, std::ostream* os)
{
    *os << '"' << c.arguments.join(' ').toStdString() << "\" -> " << (c.keep ? "keep" : "remove");
}

class PurgixQuestionTest : public PurgixTest, public ::testing::WithParamInterface<QuestionCase> {};

// The answer that changes nothing, so only the choice of question is seen.
TEST_P(PurgixQuestionTest, ArgumentsChooseTheQuestion)
{
    const QuestionCase& c = GetParam();
    storeSettings({"12", "345"});
    const RecordingUi ui = run(c.arguments, c.keep ? QMessageBox::Yes : QMessageBox::No);
    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(ui.asked[0].title, c.keep ? keepTitle : removeTitle);
    EXPECT_EQ(ui.asked[0].text, c.keep ? keepText : removeText);
    EXPECT_EQ(ui.icon, QMessageBox::Question);
    EXPECT_EQ(ui.buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(ui.defaultButton, QMessageBox::Yes);
    EXPECT_EQ(sectionKeys().size(), 6);
}

INSTANTIATE_TEST_SUITE_P(Arguments, PurgixQuestionTest,
                         ::testing::Values(QuestionCase{{}, false}, QuestionCase{{""}, false},
                                           QuestionCase{{"uninst"}, true}, QuestionCase{{"/uninst"}, true},
                                           QuestionCase{{"uninstall"}, true},
                                           QuestionCase{{"/s", "preuninstaller"}, true},
                                           QuestionCase{{"Uninst"}, false}, QuestionCase{{"UNINST"}, false},
                                           QuestionCase{{"/Uninstall"}, false},
                                           // The arguments are joined with blanks before the search.
                                           QuestionCase{{"un", "inst"}, false}));

TEST_F(PurgixTest, RemoveYesLeavesOnlyTheStoredStatistics)
{
    storeSettings({"12", "345"});
    run({}, QMessageBox::Yes);
    EXPECT_EQ(sectionKeys(), QStringList({dirsKey, filesKey}));
    EXPECT_EQ(SettingsStore().value(dirsKey), "12");
    EXPECT_EQ(SettingsStore().value(filesKey), "345");
    expectOtherSectionKept();
}

// Without a display the question cannot be asked: the real program says so,
// naming what it tried, and removes nothing, where Qt alone would abort. A
// display that is named but cannot be opened is no display. Its line is all
// that standard error gets: Qt's own lines about the platforms it tried stay
// out.
TEST_F(PurgixTest, WithoutADisplayNothingIsRemoved)
{
    storeSettings({"12", "345"});
    const QStringList before = sectionKeys();
    const QString x = deadXDisplay();
    const std::vector<std::pair<std::vector<std::pair<QString, QString>>, QByteArray>> cases = {
        {{}, "purgix: no display found (DISPLAY and WAYLAND_DISPLAY are not set); nothing was removed."},
        {{{"DISPLAY", x}},
         "purgix: no display could be opened (tried xcb on DISPLAY=" + x.toUtf8() + "); nothing was removed."},
        {{{"QT_QPA_PLATFORM", "nosuchplugin"}},
         "purgix: no display could be opened (tried nosuchplugin, as QT_QPA_PLATFORM names); nothing was removed."},
    };
    for (const auto& [set, line] : cases) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE"})
            env.remove(name);
        for (const auto& [name, value] : set)
            env.insert(name, value);
        p.setProcessEnvironment(env);
        p.start(QCoreApplication::applicationDirPath() + "/purgix", {});
        ASSERT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << line.toStdString();
        EXPECT_EQ(p.exitCode(), 2) << line.toStdString();
        EXPECT_EQ(p.readAllStandardError().toStdString(), (line + '\n').toStdString());
        EXPECT_EQ(sectionKeys(), before);
    }
}

// On a platform without a display that the user chose, the question and its
// default answer are the only lines on standard error, without a session's
// runtime folder too.
TEST_F(PurgixTest, OnTheOffscreenPlatformOnlyItsOwnLinesReachStandardError)
{
    storeSettings({"12", "345"});
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE", "XDG_RUNTIME_DIR"})
        env.remove(name);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.start(QCoreApplication::applicationDirPath() + "/purgix", {});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_EQ(p.readAllStandardError().toStdString(), (removeTitle + ": " + removeText + "\n").toStdString());
    EXPECT_EQ(sectionKeys(), QStringList({dirsKey, filesKey}));
}

struct StatisticsCase {
    const char* name;
    QStringList stored; // directories, files; a null text is not stored
    QStringList kept;   // the keys left in the section
};

void PrintTo(const StatisticsCase& c, std::ostream* os)
{
    *os << c.name;
}

class PurgixStatisticsTest : public PurgixTest, public ::testing::WithParamInterface<StatisticsCase> {};

TEST_P(PurgixStatisticsTest, RemoveYesWritesBackWhatWasStored)
{
    const StatisticsCase& c = GetParam();
    storeSettings(c.stored);
    run({}, QMessageBox::Yes);
    EXPECT_EQ(sectionKeys(), c.kept);
    SettingsStore store;
    if (c.kept.contains(dirsKey)) {
        EXPECT_EQ(store.value(dirsKey), c.stored.value(0));
    }
    if (c.kept.contains(filesKey)) {
        EXPECT_EQ(store.value(filesKey), c.stored.value(1));
    }
    expectOtherSectionKept();
}

INSTANTIATE_TEST_SUITE_P(Statistics, PurgixStatisticsTest,
                         ::testing::Values(StatisticsCase{"Neither", {QString(), QString()}, {}},
                                           StatisticsCase{"OnlyFiles", {QString(), "345"}, {filesKey}},
                                           StatisticsCase{"DirsMinusOne", {"-1", "345"}, {filesKey}},
                                           StatisticsCase{"BothMinusOne", {"-1", "-1"}, {}},
                                           StatisticsCase{"Zero", {"0", "0"}, {dirsKey, filesKey}},
                                           StatisticsCase{"Negative", {"-7", "-2147483648"}, {dirsKey, filesKey}},
                                           StatisticsCase{"NotANumber", {"lots", "12abc"}, {dirsKey, filesKey}},
                                           StatisticsCase{"Empty", {"", "345"}, {dirsKey, filesKey}}),
                         [](const ::testing::TestParamInfo<StatisticsCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(PurgixTest, KeepNoRemovesTheSectionWithTheStatistics)
{
    storeSettings({"12", "345"});
    run({"uninst"}, QMessageBox::No);
    EXPECT_TRUE(sectionKeys().isEmpty());
    expectOtherSectionKept();
}

struct AnswerCase {
    QStringList arguments;
    QMessageBox::StandardButton answer;
};

const AnswerCase everyAnswer[] = {
    {{}, QMessageBox::Yes}, {{}, QMessageBox::No}, {{"uninst"}, QMessageBox::Yes}, {{"uninst"}, QMessageBox::No}};

TEST_F(PurgixTest, RemoveNoAndKeepYesChangeNothing)
{
    storeSettings({"12", "345"});
    const QByteArray before = readText(storeFile()).toUtf8();
    ASSERT_FALSE(before.isEmpty());
    run({}, QMessageBox::No);
    run({"uninst"}, QMessageBox::Yes);
    EXPECT_EQ(readText(storeFile()).toUtf8(), before);
}

TEST_F(PurgixTest, NoStoreStaysNoStore)
{
    for (const AnswerCase& c : everyAnswer) {
        run(c.arguments, c.answer);
        EXPECT_FALSE(QFile::exists(storeFile()));
        EXPECT_FALSE(QDir(storeDir()).exists());
    }
}

TEST_F(PurgixTest, StoreWithoutTheSectionIsNotRewritten)
{
    {
        SettingsStore other(QStringLiteral("Other Program"));
        other.setValue("keep", "1");
    }
    const QByteArray before = readText(storeFile()).toUtf8();
    ASSERT_FALSE(before.isEmpty());
    for (const AnswerCase& c : everyAnswer) {
        run(c.arguments, c.answer);
        EXPECT_EQ(readText(storeFile()).toUtf8(), before);
    }
}

// The folder actions the renamer put in the file managers' places go with the
// settings, the user's own Thunar actions stay; an answer that keeps the
// settings keeps them too.
TEST_F(PurgixTest, RemovingTheSettingsRemovesTheFileManagerActions)
{
    const platform::FileManagerPlaces places = platform::fileManagerPlaces();
    const QByteArray mine = "<?xml version=\"1.0\"?>\n<actions>\n<action><name>Mine</name><unique-id>1-1</unique-id>"
                            "<command>true</command></action>\n</actions>\n";
    const auto readBytes = [](const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    for (const AnswerCase& c : everyAnswer) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString() + (c.answer == QMessageBox::Yes ? " yes" : " no"));
        storeSettings({"12", "345"});
        QDir().mkpath(QFileInfo(places.thunar).path());
        QFile f(places.thunar);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(mine);
        f.close();
        ASSERT_TRUE(platform::writeFileManagerEntries("/usr/bin/vexorren").empty());
        const bool removed = c.arguments.isEmpty() == (c.answer == QMessageBox::Yes);
        run(c.arguments, c.answer);
        for (const QString& place : {places.actions, places.serviceMenu, places.nemoAction})
            EXPECT_EQ(QFileInfo::exists(place), !removed) << place.toStdString();
        EXPECT_EQ(readBytes(places.thunar).contains(platform::kThunarActionId), !removed);
        EXPECT_TRUE(readBytes(places.thunar).contains("<name>Mine</name>"));
        if (removed) {
            EXPECT_EQ(readBytes(places.thunar), mine);
        }
    }
}

// An action that stays behind is named with its file and why, once, after the
// question; the settings are removed all the same.
TEST_F(PurgixTest, AnActionThatCannotBeRemovedIsNamed)
{
    const platform::FileManagerPlaces places = platform::fileManagerPlaces();
    const QByteArray withOurs = QByteArray("<actions>\n<action><unique-id>") + platform::kThunarActionId +
                                "</unique-id></action>\n</actions>\n";
    const QString dotfile = writeFile("dotfiles/uca.xml", withOurs);
    QDir().mkpath(QFileInfo(places.thunar).path());
    ASSERT_TRUE(QFile::link(dotfile, places.thunar));
    QDir().mkpath(places.nemoAction + "/inside");
    for (const AnswerCase& c : everyAnswer) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString() + (c.answer == QMessageBox::Yes ? " yes" : " no"));
        storeSettings({"12", "345"});
        const bool removed = c.arguments.isEmpty() == (c.answer == QMessageBox::Yes);
        RecordingUi ui;
        ui.answers = {c.answer, QMessageBox::Ok};
        purgixMain(c.arguments, ui);
        if (!removed) {
            EXPECT_EQ(ui.asked.size(), 1u);
            continue;
        }
        ASSERT_EQ(ui.asked.size(), 2u);
        EXPECT_EQ(ui.asked[1].title, removeTitle);
        EXPECT_EQ(ui.asked[1].text, "Error deleting keys from file manager entry!\n\n" + places.nemoAction +
                                        " could not be removed: Is a directory.\n" + places.thunar +
                                        " is a symbolic link; the action was not removed there.");
        EXPECT_EQ(ui.icon, QMessageBox::Critical);
        EXPECT_EQ(ui.defaultButton, QMessageBox::Ok);
        EXPECT_FALSE(sectionKeys().contains("txtPath"));
        EXPECT_EQ(readText(dotfile).toUtf8(), withOurs);
    }
}

// The real message box, answered by a click as soon as it is up.
TEST_F(PurgixTest, RealBoxReturnsAfterTheAnswer)
{
    storeSettings({"12", "345"});
    QString title, text;
    QTimer clicker;
    QObject::connect(&clicker, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        title = box->windowTitle();
        text = box->text();
        EXPECT_EQ(static_cast<QAbstractButton*>(box->defaultButton()), box->button(QMessageBox::Yes));
        EXPECT_EQ(box->icon(), QMessageBox::Question);
        box->button(QMessageBox::Yes)->click();
    });
    clicker.start(10);
    platform::QtUiService ui;
    purgixMain({}, ui);
    clicker.stop();
    EXPECT_EQ(title, removeTitle);
    EXPECT_EQ(text, removeText);
    EXPECT_EQ(sectionKeys(), QStringList({dirsKey, filesKey}));
}

} // namespace

// A FIFO, or a file too large to be a settings file, in the store's place:
// neither answer hangs on it or replaces it, and the user is told why nothing
// was removed.
TEST_F(PurgixTest, AStoreThatCannotBeReadIsLeftAndReported)
{
    QDir().mkpath(storeDir());
    const QByteArray file = QFile::encodeName(storeFile());
    constexpr qint64 tooLarge = 16 * 1024 * 1024 + 1;
    const struct {
        const char* name;
        std::function<void()> make;
        mode_t type;
        const char* why;
    } cases[] = {
        {"fifo", [&] { ASSERT_EQ(::mkfifo(file.constData(), 0600), 0); }, S_IFIFO, "could not be read"},
        {"over 16 MiB",
         [&] {
             writeFileBytes(storeFile(), "[Vexor%20Renamer]\ntxtFind=a\n");
             ASSERT_TRUE(QFile::resize(storeFile(), tooLarge));
         },
         S_IFREG, "is larger than 16 MiB"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.make();
        for (const QStringList& arguments : {QStringList{}, QStringList{"/uninst"}}) {
            RecordingUi ui;
            ui.answers = {arguments.isEmpty() ? QMessageBox::Yes : QMessageBox::No, QMessageBox::Ok};
            EXPECT_FALSE(purgixMain(arguments, ui));
            ASSERT_EQ(ui.asked.size(), 2u);
            EXPECT_EQ(ui.asked[1].text, QStringLiteral("The settings file %1 %2. The settings were not removed.")
                                            .arg(storeFile(), QString::fromLatin1(c.why)));
            EXPECT_EQ(ui.icon, QMessageBox::Critical);
            struct stat st {};
            ASSERT_EQ(::lstat(file.constData(), &st), 0);
            EXPECT_EQ(st.st_mode & S_IFMT, c.type);
            if (S_ISREG(st.st_mode)) {
                EXPECT_EQ(st.st_size, tooLarge);
            }
        }
        ::unlink(file.constData());
    }
}

namespace {

// Another program's section with a Latin-1 value, a comment, and a section
// after ours, as a user's dotfile may hold them.
const QByteArray sharedHead = "; kept by hand\n[Other%20Program]\nname=Gr\xfc\xdf"
                              "e\n\n";
const QByteArray sharedTail = "[Third]\nz=1\n";
const QByteArray sharedFile = sharedHead +
                              "[Vexor%20Renamer]\nMain_Width=11000\ntotNumberOfDirsRenamedNew=12\n"
                              "totNumberOfFilesRenamedNew=345\ntxtPath=/home/me\n\n" +
                              sharedTail;

} // namespace

// Both removals rewrite only the renamer's section: every other line and byte
// of the file stays.
TEST_F(PurgixTest, RemovingKeepsTheOtherSectionsByteForByte)
{
    const struct {
        QStringList arguments;
        QMessageBox::StandardButton answer;
        QByteArray after;
    } cases[] = {
        {{},
         QMessageBox::Yes,
         sharedHead + "[Vexor%20Renamer]\ntotNumberOfDirsRenamedNew=12\ntotNumberOfFilesRenamedNew=345\n\n" +
             sharedTail},
        {{"uninst"}, QMessageBox::No, sharedHead + sharedTail},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        writeFileBytes(storeFile(), sharedFile);
        run(c.arguments, c.answer);
        EXPECT_EQ(fileBytes(storeFile()), c.after);
    }
}

// A removal that cannot be written is told, with the reason, the file stays
// as it was, and the tool reports the failure to its caller.
TEST_F(PurgixTest, ARemovalThatCannotBeWrittenIsReported)
{
    // Larger than the limit below, so that the new file cannot be written.
    const QByteArray big = sharedFile + "[Big]\nb=" + QByteArray(64 * 1024, 'x') + "\n";
    for (const QStringList& arguments : {QStringList{}, QStringList{"/uninst"}}) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        writeFileBytes(storeFile(), big);
        RecordingUi ui;
        ui.answers = {arguments.isEmpty() ? QMessageBox::Yes : QMessageBox::No, QMessageBox::Ok};
        bool done = true;
        {
            FileSizeLimit full(4096);
            done = purgixMain(arguments, ui);
        }
        EXPECT_FALSE(done);
        ASSERT_EQ(ui.asked.size(), 2u);
        EXPECT_EQ(ui.asked[1].text, QStringLiteral("The settings file %1 could not be written: Error 75 (Path/File "
                                                   "access error). The settings were not removed.")
                                        .arg(storeFile()));
        EXPECT_EQ(ui.icon, QMessageBox::Critical);
        EXPECT_EQ(fileBytes(storeFile()), big);
    }
}
