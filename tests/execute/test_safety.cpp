// Hostile input against a real run: links out of the working directory,
// control characters from files and names, names without end, a log that
// cannot be written, hard links, links under Write Protect, exact date stamps.
#include "platform/fileops.h"
#include "run_fixture.h"

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <QClipboard>
#include <QDirIterator>
#include <QScopeGuard>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool hasControlChar(const QString& s)
{
    return std::any_of(s.begin(), s.end(), [](QChar c) {
        const char16_t u = c.unicode();
        return u < 0x20 || (u >= 0x7F && u <= 0x9F);
    });
}

} // namespace

class SafetyTest : public RunRenameTest {
protected:
    void clickRename()
    {
        ASSERT_TRUE(ctl<QPushButton>("cmdExecute")->isEnabled());
        QTest::mouseClick(ctl<QPushButton>("cmdExecute"), Qt::LeftButton);
    }
    void closeLog()
    {
        if (FrmExecute* lw = logWin())
            lw->unload();
    }
    QString outside() const { return root() + "/outside"; }
    // a1.txt to a3.txt, listed, with "a" to be replaced by "b".
    void threeFilesToRename()
    {
        writeFile("a1.txt", "1");
        writeFile("a2.txt", "2");
        writeFile("a3.txt", "3");
        start();
        listWork();
        replace("a", "b");
    }
    QStringList outsideEntries() const
    {
        return QDir(outside()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }
    void format(const QString& pattern)
    {
        ctl<platform::TabStrip>("TabStrip")->selectKey("Format");
        ctl<platform::OptionButton>("chkFormatTab_Format")->select();
        ctl<platform::TextBox>("txtFormat")->setText(pattern);
    }
    // Every file below the working directory, by its path from there, sorted.
    QStringList filesOnDisk() const
    {
        QStringList out;
        QDirIterator it(work(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            out << it.next().mid(work().size() + 1);
        out.sort();
        return out;
    }
    QString previewOf(int row)
    {
        w->state().preview.previewRequested = -1;
        w->tmrPreview_Timer();
        return ctl<platform::ListView>("lwDirectory")->subItem(row, 1);
    }
};

TEST_F(SafetyTest, ALevelThatIsALinkIsNeverEnteredWhereverItPoints)
{
    QDir().mkpath(outside());
    writeFile("a.txt", "A");
    writeFile("title.html", "<html><title>Docs</title></html>"); // no "a" in its name
    ASSERT_TRUE(QFile::link(outside(), work() + "/Docs"));
    ASSERT_TRUE(QFile::link(work() + "/a.txt", work() + "/Mine")); // a link to a file inside
    start();
    listWork();

    struct Case {
        std::function<void()> setUp;
        const char* kept; // the entry that must stay where it is
    };
    const std::vector<Case> cases = {
        {[&] { replace("a", "Docs<\\>a"); }, "a.txt"},         // typed tag into the link
        {[&] { replace("a", "Docs<\\>deep<\\>a"); }, "a.txt"}, // a level below it is never made
        {[&] { replace("a", "Mine<\\>a"); }, "a.txt"},         // a link to a file is no level either
        {[&] {
             format("<HTMLTITLE><\\><NAME>.<EXT>");
             ctl<platform::CheckBox>("chkFormatAllMustBeAvailable")
                 ->setValue(1); // entries without a title keep their names
         },
         "title.html"}, // the level from a title
    };
    for (const Case& c : cases) {
        c.setUp();
        clickRename();
        EXPECT_EQ(w->executeState().run.warningCount, 1)
            << c.kept << logLines().join("\n").toStdString() << readText(programFolder() + "/errors.txt").toStdString();
        ASSERT_FALSE(logLines().isEmpty());
        EXPECT_EQ(w->executeState().run.filesDone, 0) << c.kept;
        EXPECT_TRUE(exists(c.kept)) << c.kept;
        EXPECT_EQ(outsideEntries(), QStringList()) << c.kept;
        EXPECT_TRUE(logLines().last().startsWith("WARNING: Couldn't rename file <")) << logLines().last().toStdString();
        EXPECT_TRUE(logLines().last().endsWith("Skipping...")) << logLines().last().toStdString();
        EXPECT_FALSE(ctl<QPushButton>("cmdUndo")->isEnabled());
        closeLog();
    }
    EXPECT_TRUE(QFileInfo(work() + "/Docs").isSymLink());
    EXPECT_EQ(readText(work() + "/a.txt"), "A");
}

TEST_F(SafetyTest, ControlCharactersNeverReachANameOrTheLogsAsLineBreaks)
{
    writeFile("page.html", "<html><title>Evil\x1b[2J\x07Title\x7f</title></html>");
    writeFile("song.mp3", mp3WithId3v1("Art\x1b]0;pwned\x07ist", "Ti\rtle\x01"));
    const QByteArray forged = "a\n(01.01.2000 00:00:00) File Renamed: x --> y\x1b[31m.txt";
    writeFile(QString::fromUtf8(forged), "F");
    start();
    listWork();

    format("<HTMLTITLE>.<EXT>");
    ctl<platform::CheckBox>("chkFormatAllMustBeAvailable")->setValue(1); // files without a title keep their names
    clickRename();
    closeLog();
    EXPECT_TRUE(exists("Evil[2JTitle.html"));

    ctl<platform::TabStrip>("TabStrip")->selectKey("Mp3");
    ctl<platform::TextBox>("txtMp3Format")->setText("<ARTIST> - <TITLE>");
    clickRename();
    closeLog();
    EXPECT_TRUE(exists("Art]0;pwnedist - Title.mp3"));
    for (const QString& name : QDir(work()).entryList(QDir::Files)) {
        if (!name.startsWith("a\n")) {
            EXPECT_FALSE(hasControlChar(name)) << name.toStdString();
        }
    }

    // An old name with a line feed and an escape sequence: one event, one line.
    const int linesBefore = readLines(programFolder() + "/log.txt").size();
    replace("a", "b");
    clickRename();
    closeLog();
    const QStringList lines = readLines(programFolder() + "/log.txt");
    ASSERT_EQ(lines.size(), linesBefore + 2) << lines.join("\n").toStdString(); // the old name and the MP3 name
    EXPECT_FALSE(std::any_of(lines.begin(), lines.end(), [](const QString& l) { return l.startsWith("(01.01.2000"); }));
    EXPECT_TRUE(lines[linesBefore].contains("File Renamed: " + work() +
                                            "/a\\n(01.01.2000 00:00:00) File Renamed: x --> y\\x1B[31m.txt --> "))
        << lines[linesBefore].toStdString();
    const QByteArray raw = [&] {
        QFile f(programFolder() + "/log.txt");
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    EXPECT_FALSE(raw.contains('\x1b'));
    EXPECT_FALSE(raw.contains('\r'));
    EXPECT_FALSE(raw.contains('\0'));
}

TEST_F(SafetyTest, ANameWithoutEndIsAFailedItemInThePreviewAndTheRun)
{
    writeFile("a.txt", "A");
    writeFile("z.txt", "Z");
    start();
    listWork();
    w->state().tables.batchReplaceList.assign(30, BatchReplaceItem{"a", "aa", 0, 0, 0, 0});
    ctl<platform::TabStrip>("TabStrip")->selectKey("Replace");
    ctl<platform::OptionButton>("optReplaceBatch")->select();
    EXPECT_EQ(previewOf(0), QString()); // a.txt: past the limit
    clickRename();
    EXPECT_TRUE(exists("a.txt"));
    EXPECT_EQ(w->executeState().run.warningCount, 1);
    EXPECT_EQ(w->executeState().run.filesDone, 0);
    const QString last = logLines().last();
    EXPECT_TRUE(last.startsWith("WARNING: Couldn't rename file <a.txt> as <aaaa")) << last.left(80).toStdString();
    EXPECT_LT(last.size(), 4096 + 200);
    closeLog();
}

TEST_F(SafetyTest, NoChangeWithoutItsLineInTheActivityLog)
{
    writeFile("a1.txt", "1");
    writeFile("a2.txt", "2");
    writeFile("a3.txt", "3");
    // The program folder under a regular file: log.txt can never be made.
    const QString regular = writeFile("plain", "x");
    qputenv("VEXORREN_HOME", (regular + "/program").toLocal8Bit());
    start();
    listWork();
    replace("a", "b");
    ui.answers = {QMessageBox::Ok};
    clickRename();
    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_TRUE(ui.asked[0].text.contains(regular + "/program/log.txt")) << ui.asked[0].text.toStdString();
    EXPECT_TRUE(ui.asked[0].text.contains("Cannot create the folder " + regular + "/program: Not a directory"))
        << ui.asked[0].text.toStdString();
    EXPECT_TRUE(exists("a1.txt") && exists("a2.txt") && exists("a3.txt"));
    EXPECT_EQ(w->executeState().run.outcome, RunOutcome::NotStarted);
    EXPECT_TRUE(w->isEnabled()); // nothing started: the window stays usable
    EXPECT_EQ(logWin(), nullptr);
}

TEST_F(SafetyTest, ALogThatStopsTakingLinesEndsThePassAndBlocksUndo)
{
    threeFilesToRename();
    const QString log = programFolder() + "/log.txt";
    // After the first rename the log turns into something no line can be appended to.
    atFirst([&] { return w->executeState().run.filesDone == 1; },
            [&] {
                QFile::remove(log);
                QDir().mkpath(log);
            });
    ui.answers = {QMessageBox::Ok};
    clickRename();
    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_TRUE(ui.asked[0].text.contains(log)) << ui.asked[0].text.toStdString();
    EXPECT_EQ(w->executeState().run.filesDone, 2); // the entry at hand, then the pass ended
    EXPECT_TRUE(exists("a3.txt"));
    EXPECT_EQ(w->executeState().run.outcome, RunOutcome::SomeFailed);
    closeLog();

    // Undo cannot write its lines either: it changes nothing and stays available.
    ui.asked.clear();
    ui.answers = {QMessageBox::Yes, QMessageBox::Ok};
    w->cmdUndo_Click();
    ASSERT_EQ(ui.asked.size(), 2u);
    EXPECT_TRUE(ui.asked[1].text.contains(log));
    EXPECT_TRUE(exists("b1.txt") && exists("b2.txt"));
    EXPECT_TRUE(ctl<QPushButton>("cmdUndo")->isEnabled());
}

// A disk that fills in the middle of a line: log.txt keeps its whole lines
// only, and the box names the change whose line is missing there, the one
// change no file records.
TEST_F(SafetyTest, ALineTheDiskHadNoRoomForIsTakenBackAndNamedInTheBox)
{
    threeFilesToRename();
    const QString log = programFolder() + "/log.txt";
    std::optional<FileSizeLimit> full;
    QByteArray before;
    atFirst([&] { return w->executeState().run.filesDone == 1; },
            [&] {
                before = fileBytes(log);
                full.emplace(rlim_t(before.size() + 11));
            });
    ui.answers = {QMessageBox::Ok};
    clickRename();
    full.reset();
    ASSERT_EQ(ui.asked.size(), 1u);
    const QString box = ui.asked[0].text;
    EXPECT_TRUE(box.contains(log + ":\nFile too large\n")) << box.toStdString();
    EXPECT_TRUE(box.contains("\nFile Renamed: " + work() + "/a2.txt --> " + work() + "/b2.txt")) << box.toStdString();
    EXPECT_TRUE(exists("b1.txt") && exists("b2.txt") && exists("a3.txt"));
    EXPECT_EQ(fileBytes(log), before);
    EXPECT_EQ(activity(), QStringList{"File Renamed: " + work() + "/a1.txt --> " + work() + "/b1.txt"});
    EXPECT_EQ(w->executeState().run.outcome, RunOutcome::SomeFailed);
    closeLog();
}

// A name that holds a backslash and the letters of an escape, and the name
// that holds the character, leave two lines that tell which was renamed: the
// log is the only record of an old name once Undo is gone.
TEST_F(SafetyTest, ABackslashInANameIsWrittenSoTheLineReadsBackToIt)
{
    const QChar rlo(0x202E);
    writeFile(R"(c\u202Ed.txt)", "1");
    writeFile(QString("c") + rlo + "d.txt", "2");
    writeFile(R"(c\\.txt)", "3");
    start();
    listWork();
    replace("c", "x");
    clickRename();
    const QString dir = work() + "/";
    // The new names have their backslash mapped and their control dropped.
    const QStringList expected = {
        R"(File Renamed: c\\\\.txt --> x--.txt)",
        R"(File Renamed: c\\u202Ed.txt --> x-u202Ed.txt)",
        R"(File Renamed: c\u202Ed.txt --> xd.txt)",
    };
    QStringList window = logLines();
    window.sort();
    EXPECT_EQ(window, expected);
    QStringList logged = activity();
    logged.sort();
    QStringList expectedLogged;
    for (const QString& line : expected)
        expectedLogged << QString(line).replace("Renamed: ", "Renamed: " + dir).replace(" --> ", " --> " + dir);
    EXPECT_EQ(logged, expectedLogged);
    closeLog();
}

TEST_F(SafetyTest, WriteProtectOnALinkIsAFailedChange)
{
    const QString f = writeFile("f.txt", "x");
    ASSERT_TRUE(QFile::link(f, work() + "/link.txt"));
    start();
    listWork();
    ctl<platform::TabStrip>("TabStrip")->selectKey("Attrib");
    ctl<platform::OptionButton>("optAttrib_Attributes")->select();
    ctl<platform::CheckBox>("chkR")->setValue(1);
    ctl<platform::CheckBox>("chkH")->setValue(2);
    ctl<platform::CheckBox>("chkS")->setValue(2);
    ctl<platform::CheckBox>("chkA")->setValue(2);
    clickRename();
    const QStringList lines = logLines();
    EXPECT_TRUE(lines.contains("File Attribute Changed: f.txt [----] -> [R---]")) << lines.join("\n").toStdString();
    EXPECT_TRUE(lines.contains("WARNING! File attribute change failed: link.txt [----] -> [R---]"))
        << lines.join("\n").toStdString();
    EXPECT_FALSE(std::any_of(lines.begin(), lines.end(),
                             [](const QString& l) { return l.startsWith("File Attribute Changed: link.txt"); }));
    EXPECT_EQ(w->executeState().run.filesDone, 1);
    EXPECT_EQ(w->executeState().run.warningCount, 1);
    EXPECT_EQ(w->executeState().undo.undoFileCount, 1);
    EXPECT_EQ(w->executeState().undo.undoFiles[0].oldName, "f.txt");
    closeLog();
}

TEST_F(SafetyTest, UndoOfADateRunRestoresTheExactStampsAndReportsOnlyWhatItChanged)
{
    const QString f = writeFile("f.txt", "x");
    const timespec modified{1555555555, 123456789}, accessed{1444444444, 987654321};
    platform::setFileTimes(f, accessed, modified);
    start();
    listWork();
    ctl<platform::TabStrip>("TabStrip")->selectKey("Attrib");
    ctl<platform::OptionButton>("optAttrib_Date")->select();
    ctl<platform::CheckBox>("chkDateModified")->setValue(1);
    ctl<platform::CheckBox>("chkDateAccessed")->setValue(1);
    ctl<platform::CheckBox>("chkDateDate")->setValue(1);
    ctl<platform::CheckBox>("chkDateTime")->setValue(1);
    ctl<QDateEdit>("dtDate")->setDate(QDate(2022, 2, 2));
    clickRename();
    closeLog();
    ASSERT_EQ(platform::toDateTime(platform::entryInfo(f)->modified).date(), QDate(2022, 2, 2));

    ui.answers = {QMessageBox::Yes};
    w->cmdUndo_Click();
    const auto info = platform::entryInfo(f);
    EXPECT_EQ(info->modified.tv_sec, modified.tv_sec);
    EXPECT_EQ(info->modified.tv_nsec, modified.tv_nsec);
    EXPECT_EQ(info->accessed.tv_sec, accessed.tv_sec);
    EXPECT_EQ(info->accessed.tv_nsec, accessed.tv_nsec);
    const QStringList lines = logLines();
    EXPECT_EQ(w->executeState().run.warningCount, 0) << lines.join("\n").toStdString();
    EXPECT_FALSE(std::any_of(lines.begin(), lines.end(), [](const QString& l) { return l.contains("Created Date"); }))
        << lines.join("\n").toStdString();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                            [](const QString& l) { return l.startsWith("File Modified Date Changed: f.txt ["); }));
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                            [](const QString& l) { return l.startsWith("File Accessed Date Changed: f.txt ["); }));
    closeLog();
}

// Text typed, pasted or stored into any mode's boxes: a line feed or an escape
// never reaches the name on disk, and the preview showed the name the run gave.
TEST_F(SafetyTest, ControlCharactersInTypedTextNeverReachANameInAnyMode)
{
    struct Case {
        const char* mode;
        const char* file; // the one entry of the folder
        std::function<void()> setUp;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"Replace pasted", "a.txt",
         [&] {
             replace("a", "");
             auto* box = ctl<platform::TextBox>("txtReplace");
             QGuiApplication::clipboard()->setText("Report\n2024\x1b[2J");
             box->setFocus();
             QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
             ASSERT_EQ(box->text(), "Report\n2024\x1b[2J");
         },
         "Report2024[2J.txt"},
        {"Replace batch", "a.txt",
         [&] {
             w->state().tables.batchReplaceList = {BatchReplaceItem{"a", "x\r\ny\x07", 0, 0, 0, 0}};
             ctl<platform::TabStrip>("TabStrip")->selectKey("Replace");
             ctl<platform::OptionButton>("optReplaceBatch")->select();
         },
         "xy.txt"},
        {"Add", "a.txt",
         [&] {
             ctl<platform::TabStrip>("TabStrip")->selectKey("AddCrop");
             ctl<platform::OptionButton>("optAdd")->select();
             ctl<platform::OptionButton>("optAddBeginning")->select();
             ctl<platform::TextBox>("txtAdd")->setText(QString("\x1b]0;t\x07") + QChar(0x9B) + "new ");
         },
         "]0;tnew a.txt"},
        {"Enum", "a.txt",
         [&] {
             ctl<platform::TabStrip>("TabStrip")->selectKey("Enum");
             ctl<platform::OptionButton>("chkEnumTab_Enum")->select();
             ctl<platform::CheckBox>("chkEnumAutoZeros")->setValue(0);
             ctl<platform::TextBox>("txtEnumZeros")->setText("2");
             ctl<platform::TextBox>("txtEnumFormat")->setText("<ENUM>\t<NAME>\n.<EXT>");
         },
         "01a.txt"},
        {"Format", "a.txt", [&] { format("Report\n<NAME>\x1b.<EXT>"); }, "Reporta.txt"},
        {"Mp3", "song.mp3",
         [&] {
             ctl<platform::TabStrip>("TabStrip")->selectKey("Mp3");
             ctl<platform::TextBox>("txtMp3Format")->setText("<ARTIST>\n-\x1b<TITLE>");
         },
         "Artist-Title.mp3"},
    };
    start();
    for (const Case& c : cases) {
        QDir(work()).removeRecursively();
        writeFile(c.file, QByteArray(c.file).endsWith(".mp3") ? mp3WithId3v1("Artist", "Title") : "A");
        listWork();
        c.setUp();
        const QString shown = previewOf(0);
        EXPECT_EQ(shown, c.expected) << c.mode;
        clickRename();
        EXPECT_EQ(QDir(work()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{c.expected}) << c.mode;
        EXPECT_EQ(logLines(), QStringList{QString("File Renamed: ") + c.file + " --> " + shown}) << c.mode;
        EXPECT_EQ(activity().last(), "File Renamed: " + work() + "/" + c.file + " --> " + work() + "/" + shown)
            << c.mode;
        closeLog();
    }
}

// "..<\>" typed into a box would move the entry out of its folder: the run
// refuses it before making anything, and both logs say why.
TEST_F(SafetyTest, ANameThatWouldLeaveTheFolderIsAWarningThatSaysSo)
{
    writeFile("a.txt", "A");
    start();
    listWork();
    struct Case {
        const char* typed;
        const char* reason;
    };
    const Case cases[] = {
        {"..<\\><NAME>.<EXT>", "New name would leave the folder..."},
        {"sub<\\>..<\\>..<\\><NAME>.<EXT>", "New name would leave the folder..."},
        {"sub<\\>.<\\><NAME>.<EXT>", "New name holds a \".\" level..."},
        {".", "New name holds a \".\" level..."},
    };
    for (const Case& c : cases) {
        format("");
        auto* box = ctl<platform::TextBox>("txtFormat");
        box->setFocus();
        QTest::keyClicks(box, c.typed);
        ASSERT_EQ(box->text(), c.typed);
        EXPECT_EQ(previewOf(0), QString()) << c.typed; // a failed item shows no name
        clickRename();
        EXPECT_EQ(w->executeState().run.warningCount, 1) << c.typed;
        EXPECT_EQ(logWin()->lblInfo_Skipped->text(), "1 Warnings.");
        ASSERT_EQ(logLines().size(), 1) << logLines().join("\n").toStdString();
        EXPECT_TRUE(logLines()[0].startsWith("WARNING: Couldn't rename file <a.txt> as <")) << c.typed;
        EXPECT_TRUE(logLines()[0].endsWith(QString("> ") + c.reason)) << logLines()[0].toStdString();
        EXPECT_TRUE(activity().last().endsWith(QString("> ") + c.reason)) << activity().last().toStdString();
        EXPECT_EQ(w->executeState().run.outcome, RunOutcome::SomeFailed);
        EXPECT_EQ(QDir(work()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"a.txt"}) << c.typed;
        EXPECT_EQ(QDir(root()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).filter("a.txt"), QStringList())
            << c.typed;
        closeLog();
    }
}

// A name on disk that is not UTF-8 is listed but never renamed: the run names
// it by its bytes as a counted warning, and a command-line run would end with 1.
TEST_F(SafetyTest, ANameThatIsNotUtf8IsACountedWarningNamedByItsBytes)
{
    const QByteArray base = QFile::encodeName(work());
    const QByteArray badFile = base + "/bad\xff.txt", badDir = base + "/d\xfe", inside = badDir + "/c.txt";
    // The temporary folder's clean-up goes by decoded names: these go by their bytes.
    const auto removeBad = qScopeGuard([&] {
        ::unlink(badFile.constData());
        ::unlink(inside.constData());
        ::rmdir(badDir.constData());
    });
    QDir().mkpath(work());
    ASSERT_EQ(::mkdir(badDir.constData(), 0755), 0);
    for (const QByteArray& bad : {badFile, inside}) {
        const int fd = ::open(bad.constData(), O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0) << bad.toStdString();
        ::close(fd);
    }
    writeFile("a.txt", "A");
    start();
    ctl<platform::CheckBox>("chkSub")->setValue(1);
    ctl<platform::CheckBox>("chkDirs")->setValue(1);
    listWork();
    replace("a", "b");
    ui.answers = {QMessageBox::Ok}; // the read's error-log lines are announced at the end
    clickRename();
    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(ui.asked[0].text, "There were errors during execution!");
    EXPECT_TRUE(exists("b.txt"));
    for (const QByteArray& bad : {badFile, badDir, inside})
        EXPECT_TRUE(platform::entryInfoNative(bad)) << bad.toStdString();
    const QStringList lines = logLines();
    EXPECT_EQ(lines.filter("WARNING"),
              (QStringList{"WARNING: Couldn't rename file <bad\\xFF.txt> Name is not valid UTF-8...",
                           "WARNING: Couldn't rename file <c.txt> Path is not valid UTF-8...",
                           "WARNING: Couldn't rename dir <d\\xFE> Name is not valid UTF-8..."}))
        << lines.join("\n").toStdString();
    EXPECT_EQ(activity().filter("WARNING"),
              (QStringList{"WARNING: Couldn't rename file <" + work() + "/bad\\xFF.txt> Name is not valid UTF-8...",
                           "WARNING: Couldn't rename file <" + work() + "/d\\xFE/c.txt> Path is not valid UTF-8...",
                           "WARNING: Couldn't rename dir <" + work() + "/d\\xFE> Name is not valid UTF-8..."}));
    EXPECT_EQ(logWin()->lblInfo_Skipped->text(), "3 Warnings.");
    EXPECT_EQ(exitStatusFor(w->executeState().run.outcome), 1);
    closeLog();
}

// A replacement pasted into the box whose control characters would hide or
// empty a name once dropped, or that makes a level longer than the system
// takes: the row shows no preview, and the run leaves the entry, makes nothing
// for it and warns with the reason. The other rows show the name the run gives.
TEST_F(SafetyTest, ANameTheDropWouldHideOrEmptyOrThatIsTooLongIsAWarningThatSaysWhy)
{
    const QString hidden = "New name would become hidden without its control characters...";
    const QString empty = "New name would be empty without its control characters...";
    const QString tooLong = "New name is too long: a name may be at most 255 bytes long...";
    const QString rlo(QChar(0x202E));
    const QString coder = QString::fromUtf8("\U0001F469\u200D\U0001F4BB");
    const QString e = QString::fromUtf8("é");
    struct Row {
        QString file;
        QString newName; // what the preview shows and the run gives; empty: refused
        QString reason;  // the warning's reason of a refused row
        QString logged;  // the old name as the lines show it, when not the name itself
    };
    struct Case {
        const char* what;
        QString find, pasted;
        std::vector<Row> rows;
    };
    const std::vector<Case> cases = {
        {"an escape in place of the name",
         "a",
         "\x1b",
         {{"a.txt", "", hidden, ""}, {"a", "", empty, ""}, {"ba.txt", "b.txt", "", ""}}},
        {"a right-to-left override",
         "_a",
         rlo + "txt",
         {{"invoice_a.exe", "invoicetxt.exe", "", ""},
          {"old" + rlo + "_a.doc", "oldtxt.doc", "", "old\\u202E_a.doc"},
          {coder + "_a.txt", coder + "txt.txt", "", ""}}},
        {"a level of 255 and one of 256 bytes",
         "a",
         "sub<\\>" + e.repeated(125) + "x",
         {{"a.txt", "sub/" + e.repeated(125) + "x.txt", "", ""}, {"ab.txt", "", tooLong, ""}}},
        {"a level a tag makes hidden", "a", "new<\\>\x1b", {{"a.txt", "", hidden, ""}}},
    };
    start();
    platform::ListView* list = ctl<platform::ListView>("lwDirectory");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QDir(work()).removeRecursively();
        for (const Row& r : c.rows)
            writeFile(r.file, "x");
        listWork();
        replace("", "");
        QTest::keyClicks(ctl<platform::TextBox>("txtFind"), c.find);
        auto* box = ctl<platform::TextBox>("txtReplace");
        QGuiApplication::clipboard()->setText(c.pasted);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        ASSERT_EQ(box->text(), c.pasted);

        QStringList expectedOnDisk;
        int refused = 0;
        ASSERT_EQ(list->count(), int(c.rows.size()));
        for (const Row& r : c.rows) {
            int row = 0;
            while (row < list->count() && list->text(row) != r.file)
                ++row;
            ASSERT_LT(row, list->count()) << r.file.toStdString();
            EXPECT_EQ(previewOf(row), r.newName) << r.file.toStdString();
            expectedOnDisk << (r.newName.isEmpty() ? r.file : r.newName);
            refused += r.newName.isEmpty() ? 1 : 0;
        }
        clickRename();

        expectedOnDisk.sort();
        EXPECT_EQ(filesOnDisk(), expectedOnDisk);
        EXPECT_EQ(QDir(work()).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden),
                  c.what == std::string("a level of 255 and one of 256 bytes") ? QStringList{"sub"} : QStringList());

        EXPECT_EQ(w->executeState().run.warningCount, refused);
        EXPECT_EQ(logWin()->lblInfo_Skipped->text(), QString::number(refused) + " Warnings.");
        EXPECT_EQ(w->executeState().run.outcome, refused ? RunOutcome::SomeFailed : RunOutcome::Done);
        const QStringList lines = logLines();
        const QStringList logged = activity();
        for (const Row& r : c.rows) {
            const QString old = r.logged.isEmpty() ? r.file : r.logged;
            if (r.newName.isEmpty()) {
                const QString head = "WARNING: Couldn't rename file <";
                const auto warned = [&](const QStringList& ls, const QString& dir) {
                    return std::any_of(ls.begin(), ls.end(), [&](const QString& l) {
                        return l.startsWith(head + dir + old + "> as <" + dir) && l.endsWith("> " + r.reason);
                    });
                };
                EXPECT_TRUE(warned(lines, "")) << r.file.toStdString() << "\n" << lines.join("\n").toStdString();
                EXPECT_TRUE(warned(logged, work() + "/")) << r.file.toStdString();
            } else {
                EXPECT_TRUE(lines.contains("File Renamed: " + old + " --> " + r.newName))
                    << r.file.toStdString() << "\n"
                    << lines.join("\n").toStdString();
                EXPECT_TRUE(logged.contains("File Renamed: " + work() + "/" + old + " --> " + work() + "/" + r.newName))
                    << r.file.toStdString();
            }
        }
        closeLog();

        // Undo gives every renamed entry its exact old name back, controls and all.
        if (refused == int(c.rows.size()))
            continue;
        ui.answers = {QMessageBox::Yes};
        ASSERT_TRUE(ctl<QPushButton>("cmdUndo")->isEnabled());
        QTest::mouseClick(ctl<QPushButton>("cmdUndo"), Qt::LeftButton);
        QStringList before;
        for (const Row& r : c.rows)
            before << r.file;
        before.sort();
        EXPECT_EQ(filesOnDisk(), before);
        EXPECT_EQ(QDir(work()).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
        closeLog();
    }
}
