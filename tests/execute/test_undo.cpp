// Attribute and date runs, the enumeration pass and Undo, end to end.
#include "execute/filetimes.h"
#include "filelist/swaplistitems.h"
#include "platform/datetext.h"
#include "platform/fileops.h"
#include "run_fixture.h"

#include <limits>
#include <map>
#include <optional>
#include <QSignalBlocker>
#include <sys/xattr.h>

class UndoTest : public RunRenameTest {
protected:
    void runAndClose()
    {
        ASSERT_TRUE(ctl<QPushButton>("cmdExecute")->isEnabled());
        w->cmdExecute_Click();
        if (FrmExecute* lw = logWin())
            lw->unload();
    }
    void undo(QMessageBox::StandardButton answer = QMessageBox::Yes)
    {
        ui.answers.push_back(answer);
        w->cmdUndo_Click();
        if (FrmExecute* lw = logWin())
            lw->unload();
    }
    QStringList names() const
    {
        QStringList out = QDir(work()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
        return out;
    }
    void enumFormat(const QString& format = "<ENUM>_<NAME>")
    {
        ctl<platform::TabStrip>("TabStrip")->selectKey("Enum");
        ctl<platform::OptionButton>("chkEnumTab_Enum")->select();
        ctl<platform::TextBox>("txtEnumFormat")->setText(format);
        ctl<platform::CheckBox>("chkEnumAutoZeros")->setValue(0);
        ctl<platform::TextBox>("txtEnumZeros")->setText("1");
    }
    QStringList previewColumn(platform::ListView* list)
    {
        w->state().preview.previewRequested = -1;
        w->tmrPreview_Timer();
        QStringList out;
        for (int r = 0; r < list->count(); ++r)
            out << list->subItem(r, 1);
        return out;
    }
};

// A hand-edited count at a 32-bit limit stays there: never an overflow.
TEST_F(UndoTest, CountsAtTheirLimitsStayThere)
{
    writeFile("a1.txt");
    start();
    listWork();
    replace("a", "b");
    w->state().settings.totNumberOfFilesRenamedNew = std::numeric_limits<int>::max();
    runAndClose();
    EXPECT_EQ(names(), QStringList{"b1.txt"});
    EXPECT_EQ(w->state().settings.totNumberOfFilesRenamedNew, std::numeric_limits<int>::max());
    w->state().settings.totNumberOfFilesRenamedNew = std::numeric_limits<int>::min();
    undo();
    EXPECT_EQ(names(), QStringList{"a1.txt"});
    EXPECT_EQ(w->state().settings.totNumberOfFilesRenamedNew, std::numeric_limits<int>::min());
}

TEST_F(UndoTest, ARenameRunUndoneRestoresNamesAndStatistics)
{
    writeFile("a1.txt", "1");
    writeFile("a2.txt", "2");
    makeDir("adir");
    start();
    ctl<platform::CheckBox>("chkDirs")->setValue(1);
    listWork();
    replace("a", "b");
    runAndClose();
    EXPECT_EQ(names(), QStringList({"b1.txt", "b2.txt", "bdir"}));
    EXPECT_EQ(w->state().settings.totNumberOfFilesRenamedNew, 2);
    EXPECT_EQ(w->state().settings.totNumberOfDirsRenamedNew, 1);
    EXPECT_TRUE(ctl<QPushButton>("cmdUndo")->isEnabled());
    undo(QMessageBox::No);
    EXPECT_EQ(ui.asked.back().text, "Undo last operation?");
    EXPECT_EQ(names(), QStringList({"b1.txt", "b2.txt", "bdir"})); // "No" changes nothing
    EXPECT_TRUE(ctl<QPushButton>("cmdUndo")->isEnabled());
    undo();
    EXPECT_EQ(names(), QStringList({"a1.txt", "a2.txt", "adir"}));
    EXPECT_EQ(w->state().settings.totNumberOfFilesRenamedNew, 0);
    EXPECT_EQ(w->state().settings.totNumberOfDirsRenamedNew, 0);
    EXPECT_FALSE(ctl<QPushButton>("cmdUndo")->isEnabled());
    EXPECT_TRUE(activity().contains("File Renamed: " + work() + "/b1.txt --> " + work() + "/a1.txt"))
        << activity().join("\n").toStdString();
}

TEST_F(UndoTest, CreatedDirectoriesAreRemovedInReverseOrderUnlessForeignFilesRemain)
{
    writeFile("x.txt", "x");
    writeFile("y.txt", "y");
    start();
    listWork();
    replace("x", "a<\\>b<\\>x");
    runAndClose();
    ASSERT_TRUE(exists("a/b/x.txt"));
    undo();
    EXPECT_TRUE(exists("x.txt"));
    EXPECT_FALSE(exists("a"));
    const QStringList lines = activity();
    const auto inner = lines.indexOf("Deleted directory: " + work() + "/a/b");
    const auto outer = lines.indexOf("Deleted directory: " + work() + "/a");
    EXPECT_GE(inner, 0);
    EXPECT_GT(outer, inner);

    // A foreign file keeps its level.
    listWork();
    runAndClose();
    writeFile("a/foreign.txt", "f");
    undo();
    EXPECT_TRUE(exists("x.txt"));
    EXPECT_TRUE(exists("a/foreign.txt"));
    EXPECT_FALSE(exists("a/b"));
    EXPECT_TRUE(activity().contains("WARNING: Failed to delete directory <" + work() + "/a>"));
}

TEST_F(UndoTest, ChainsAndUnmappableNamesComeBackExactly)
{
    writeFile("a.txt", "A");
    writeFile("b.txt", "B");
    writeFile("a?b:c.txt", "Q");
    start();
    listWork();
    w->state().tables.batchReplaceList = {{"a", "c", 0, 0, 0, 0}, {"b", "a", 0, 0, 0, 0}};
    ctl<platform::TabStrip>("TabStrip")->selectKey("Replace");
    ctl<platform::OptionButton>("optReplaceBatch")->select();
    runAndClose();
    // a -> c first, then b -> a: a chain inside one run.
    EXPECT_EQ(readText(work() + "/c.txt"), "A");
    EXPECT_EQ(readText(work() + "/a.txt"), "B");
    undo();
    EXPECT_EQ(readText(work() + "/a.txt"), "A");
    EXPECT_EQ(readText(work() + "/b.txt"), "B");
    EXPECT_EQ(readText(work() + "/a?b:c.txt"), "Q"); // "?" and ":" restored verbatim
    EXPECT_FALSE(exists("c.txt"));
}

TEST_F(UndoTest, AttributeRunAndItsUndo)
{
    const QString f = writeFile("f.txt", "x");
    const QString d = makeDir("d");
    platform::setAttributes(f, platform::attr::ReadOnly | platform::attr::Archive);
    start();
    ctl<platform::CheckBox>("chkDirs")->setValue(1);
    listWork();
    ctl<platform::TabStrip>("TabStrip")->selectKey("Attrib");
    ctl<platform::OptionButton>("optAttrib_Attributes")->select();
    ctl<platform::CheckBox>("chkR")->setValue(0);
    ctl<platform::CheckBox>("chkH")->setValue(1);
    ctl<platform::CheckBox>("chkS")->setValue(2);
    ctl<platform::CheckBox>("chkA")->setValue(2);
    runAndClose();
    EXPECT_EQ(platform::getAttributes(f), platform::attr::Hidden | platform::attr::Archive);
    EXPECT_EQ(platform::getAttributes(d) & platform::attr::Changeable, platform::attr::Hidden);
    const QStringList after = activity();
    EXPECT_TRUE(after.contains("File Attribute Changed: " + f + " [R--A] -> [-H-A]")) << after.join("\n").toStdString();
    EXPECT_TRUE(after.contains("Directory Attribute Changed: " + d + " [----] -> [-H--]"));
    undo();
    EXPECT_EQ(platform::getAttributes(f), platform::attr::ReadOnly | platform::attr::Archive);
    EXPECT_EQ(platform::getAttributes(d) & platform::attr::Changeable, 0);
    const QStringList back = activity();
    const auto dirLine = back.lastIndexOf("Directory Attribute Changed: " + d + " [-H--] -> [----]");
    const auto fileLine = back.lastIndexOf("File Attribute Changed: " + f + " [-H-A] -> [R--A]");
    EXPECT_GE(dirLine, 0);
    EXPECT_GT(fileLine, dirLine); // directories first
}

TEST_F(UndoTest, DateRunOnModifiedTimeAndItsUndoAlsoWithoutWritePermission)
{
    const QString f = writeFile("f.txt", "x");
    const QString ro = writeFile("ro.txt", "y");
    const QDateTime original(QDate(2019, 4, 5), QTime(6, 7, 8));
    for (const QString& p : {f, ro})
        platform::setFileTimes(p, std::nullopt, platform::toTimespec(original));
    platform::setAttributes(ro, platform::attr::ReadOnly);
    const auto roMode = platform::entryInfo(ro)->mode;
    start();
    listWork();
    ctl<platform::TabStrip>("TabStrip")->selectKey("Attrib");
    ctl<platform::OptionButton>("optAttrib_Date")->select();
    ctl<platform::CheckBox>("chkDateModified")->setValue(1);
    ctl<platform::CheckBox>("chkDateDate")->setValue(1);
    ctl<platform::CheckBox>("chkDateTime")->setValue(1);
    ctl<QDateEdit>("dtDate")->setDate(QDate(2023, 1, 2));
    ctl<QTimeEdit>("dtTime")->setTime(QTime(3, 4, 5));
    runAndClose();
    for (const QString& p : {f, ro})
        EXPECT_EQ(platform::toDateTime(platform::entryInfo(p)->modified), QDateTime(QDate(2023, 1, 2), QTime(3, 4, 5)));
    EXPECT_EQ(platform::entryInfo(ro)->mode, roMode);
    undo();
    for (const QString& p : {f, ro})
        EXPECT_EQ(platform::toDateTime(platform::entryInfo(p)->modified), original);
    EXPECT_EQ(platform::entryInfo(ro)->mode, roMode);
}

TEST_F(UndoTest, ANewCreationTimeIsAWarningWhileModifiedIsStillSet)
{
    const QString f = writeFile("f.txt", "x");
    start();
    listWork();
    ctl<platform::TabStrip>("TabStrip")->selectKey("Attrib");
    ctl<platform::OptionButton>("optAttrib_Date")->select();
    ctl<platform::CheckBox>("chkDateCreated")->setValue(1);
    ctl<platform::CheckBox>("chkDateModified")->setValue(1);
    ctl<QDateEdit>("dtDate")->setDate(QDate(2001, 2, 3));
    runAndClose();
    const QStringList lines = activity();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const QString& l) {
        return l.startsWith("WARNING! Change File Created Date Failed: " + f);
    })) << lines.join("\n").toStdString();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                            [&](const QString& l) { return l.startsWith("File Modified Date Changed: " + f); }));
    EXPECT_EQ(platform::toDateTime(platform::entryInfo(f)->modified).date(), QDate(2001, 2, 3));
    EXPECT_TRUE(ctl<QPushButton>("cmdUndo")->isEnabled()); // the file changed: it has its undo record
}

TEST_F(UndoTest, AStampWhoseNewValueEqualsTheOldOneIsNoChange)
{
    const QDateTime accessed(QDate(2018, 3, 4), QTime(5, 6, 7));
    const QDateTime modified(QDate(2019, 4, 5), QTime(6, 7, 8));
    struct Case {
        const char* what;
        bool accessedBox, newDate, newTime;
        QDate date;
        QTime time;
        QStringList lines; // the date lines of the run, without their tails
    };
    const Case cases[] = {
        {"both New boxes unticked", true, false, false, QDate(2001, 1, 1), QTime(1, 1, 1), {}},
        {"the old date, time unticked", false, true, false, modified.date(), QTime(1, 1, 1), {}},
        {"the old date and time", false, true, true, modified.date(), modified.time(), {}},
        {"the modified date: only access changes",
         true,
         true,
         false,
         modified.date(),
         QTime(1, 1, 1),
         {"File Accessed Date Changed: f.txt"}},
        {"a new date", false, true, false, QDate(2023, 1, 2), QTime(1, 1, 1), {"File Modified Date Changed: f.txt"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QDir(work()).removeRecursively();
        QDir().mkpath(work());
        const QString f = writeFile("f.txt", "x");
        platform::setFileTimes(f, timespec{platform::toTimespec(accessed).tv_sec, 111},
                               timespec{platform::toTimespec(modified).tv_sec, 222});
        const qsizetype before = activity().size();
        start();
        listWork();
        ctl<platform::TabStrip>("TabStrip")->selectKey("Attrib");
        ctl<platform::OptionButton>("optAttrib_Date")->select();
        ctl<platform::CheckBox>("chkDateAccessed")->setValue(c.accessedBox ? 1 : 0);
        ctl<platform::CheckBox>("chkDateModified")->setValue(1);
        {
            // The window keeps one of "New Date:" and "New Time:" ticked; the
            // run's own rule for neither is reached past those handlers.
            std::optional<QSignalBlocker> keepBoth;
            if (!c.newDate && !c.newTime)
                keepBoth.emplace(ctl<platform::CheckBox>("chkDateTime"));
            ctl<platform::CheckBox>("chkDateDate")->setValue(c.newDate ? 1 : 0);
            ctl<platform::CheckBox>("chkDateTime")->setValue(c.newTime ? 1 : 0);
        }
        ctl<QDateEdit>("dtDate")->setDate(c.date);
        ctl<QTimeEdit>("dtTime")->setTime(c.time);
        runAndClose();
        QStringList lines;
        for (const QString& l : activity().mid(before))
            if (l.contains("Date"))
                lines << l.left(l.indexOf(" [")).replace(work() + "/", QString());
        EXPECT_EQ(lines, c.lines);
        EXPECT_EQ(ctl<QPushButton>("cmdUndo")->isEnabled(), !c.lines.isEmpty()); // an undo record only for a change
        EXPECT_EQ(w->state().settings.totNumberOfFilesRenamedNew, c.lines.isEmpty() ? 0 : 1);
        const auto info = platform::entryInfo(f);
        if (c.lines.isEmpty()) {
            EXPECT_EQ(info->modified.tv_nsec, 222); // not even rewritten
            EXPECT_EQ(info->accessed.tv_nsec, 111);
        }
        EXPECT_EQ(platform::toDateTime(info->modified).date(),
                  c.lines == QStringList{"File Modified Date Changed: f.txt"} ? c.date : modified.date());
        w->setExited();
        w.reset();
    }
}

TEST_F(UndoTest, AfterAnUndoTheRowsFollowTheKeepFileOrderRule)
{
    struct Case {
        int keepFileOrder;
        bool swapped; // rows 1 and 3 exchanged by hand before the run
        QStringList afterRun, afterUndo;
    };
    const Case cases[] = {
        {0, false, {"b1.txt", "c1.txt", "z1.txt"}, {"a1.txt", "b1.txt", "c1.txt"}},
        {1, false, {"b1.txt", "c1.txt", "z1.txt"}, {"a1.txt", "b1.txt", "c1.txt"}},
        {0, true, {"b1.txt", "c1.txt", "z1.txt"}, {"a1.txt", "b1.txt", "c1.txt"}},
        {1, true, {"c1.txt", "b1.txt", "z1.txt"}, {"c1.txt", "b1.txt", "a1.txt"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "keep=" << c.keepFileOrder << " swapped=" << c.swapped);
        QDir(work()).removeRecursively();
        QDir().mkpath(work());
        for (const char* n : {"a1.txt", "b1.txt", "c1.txt"})
            writeFile(n);
        start();
        listWork();
        w->state().settings.keepFileOrder = c.keepFileOrder;
        if (c.swapped) {
            ExecuteHost h = w->executeHost();
            h.swapListItems(1, 3);
        }
        replace("a", "z");
        runAndClose();
        EXPECT_EQ(rowNames(ctl<platform::ListView>("lwDirectory")), c.afterRun);
        undo();
        EXPECT_EQ(names(), QStringList({"a1.txt", "b1.txt", "c1.txt"}));
        EXPECT_EQ(rowNames(ctl<platform::ListView>("lwDirectory")), c.afterUndo);
        w->setExited();
        w.reset();
    }
}

TEST_F(UndoTest, AFreeSelectRunUndoneRepathsItsEntries)
{
    writeFile("one.txt", "1");
    writeFile("two.txt", "2");
    start();
    listWork();
    toFreeSelect({"two.txt", "one.txt"});
    replace("o", "0");
    runAndClose();
    EXPECT_TRUE(exists("0ne.txt"));
    EXPECT_EQ(rowNames(ctl<platform::ListView>("lwDragDrop")), QStringList({"tw0.txt", "0ne.txt"}));
    undo();
    EXPECT_TRUE(exists("one.txt"));
    EXPECT_TRUE(exists("two.txt"));
    EXPECT_EQ(rowNames(ctl<platform::ListView>("lwDragDrop")), QStringList({"two.txt", "one.txt"}));
    EXPECT_EQ(w->state().files.lstFiles[1].size(), 2);
}

TEST_F(UndoTest, EnumerationNumbersRowsAsThePreviewShowed)
{
    writeFile("c.txt");
    writeFile("a.txt");
    writeFile("b.txt");
    start();
    listWork();
    enumFormat();
    // c moved to the top of the list: the numbers follow the rows.
    FileListHost fh = w->fileListHost();
    swapListItems(fh, 1, 3); // c a b -> rows: c, b, a
    swapListItems(fh, 2, 3); //          -> rows: c, a, b
    EXPECT_EQ(rowNames(ctl<platform::ListView>("lwDirectory")), QStringList({"c.txt", "a.txt", "b.txt"}));
    EXPECT_EQ(previewColumn(ctl<platform::ListView>("lwDirectory")), QStringList({"1_c", "2_a", "3_b"}));
    runAndClose();
    EXPECT_EQ(names(), QStringList({"1_c", "2_a", "3_b"}));
}

TEST_F(UndoTest, EnumerationWithOnlySelectedAndResetPerDirectory)
{
    writeFile("a.txt");
    writeFile("b.txt");
    writeFile("c.txt");
    writeFile("sub/d.txt");
    writeFile("sub/e.txt");
    start();
    ctl<platform::CheckBox>("chkSub")->setValue(1);
    listWork();
    enumFormat();
    ctl<platform::CheckBox>("chkEnumResetBetweenDirs")->setValue(1);
    const QStringList shown = previewColumn(ctl<platform::ListView>("lwDirectory"));
    runAndClose();
    EXPECT_EQ(shown, QStringList({"1_a", "2_b", "3_c", "1_d", "2_e"})) << shown.join(",").toStdString();
    EXPECT_TRUE(exists("3_c"));
    EXPECT_TRUE(exists("sub/2_e"));

    // Only the selected rows, numbered densely.
    ctl<platform::CheckBox>("chkEnumResetBetweenDirs")->setValue(0);
    listWork();
    for (int r = 0; r < ctl<platform::ListView>("lwDirectory")->count(); ++r)
        if (ctl<platform::ListView>("lwDirectory")->text(r) == "1_a" ||
            ctl<platform::ListView>("lwDirectory")->text(r) == "3_c")
            ctl<platform::ListView>("lwDirectory")->setSelected(r, true);
    w->updateSelectionCount(true);
    ctl<platform::TextBox>("txtEnumFormat")->setText("n<ENUM>");
    runAndClose();
    EXPECT_TRUE(exists("n1"));
    EXPECT_TRUE(exists("n2"));
    EXPECT_TRUE(exists("2_b")); // unselected rows keep their names
}

TEST_F(UndoTest, EnumerationResetsPerDirectoryInTheFreeSelectCollection)
{
    writeFile("d1/a.txt");
    writeFile("d2/b.txt");
    writeFile("d1/c.txt");
    start();
    listWork();
    toFreeSelect({"d1/a.txt", "d2/b.txt", "d1/c.txt"});
    enumFormat();
    ctl<platform::CheckBox>("chkEnumResetBetweenDirs")->setValue(1);
    const QStringList shown = previewColumn(ctl<platform::ListView>("lwDragDrop"));
    // d1 recurs after d2: it goes on with its own count.
    EXPECT_EQ(shown, QStringList({"1_a", "1_b", "2_c"}));
    runAndClose();
    EXPECT_TRUE(exists("d1/1_a"));
    EXPECT_TRUE(exists("d2/1_b"));
    EXPECT_TRUE(exists("d1/2_c"));
}

TEST_F(UndoTest, ResetEachDirNumbersEveryFolderOfASubdirectoryListOnItsOwn)
{
    // Three albums read with their subdirectories: the list is sorted by name
    // across the folders, so their rows alternate.
    for (const char* album : {"A", "B", "C"})
        for (int t = 1; t <= 3; ++t)
            writeFile(QStringLiteral("%1/Track 0%2.mp3").arg(QLatin1String(album)).arg(t), "x");
    waitActive = true;
    start();
    listWork();
    clickButton(ctl<QCheckBox>("chkSub"));
    auto* list = ctl<platform::ListView>("lwDirectory");
    ASSERT_EQ(list->count(), 9);
    EXPECT_EQ(list->text(0), "Track 01.mp3");
    EXPECT_EQ(list->text(1), "Track 01.mp3");

    auto* tabs = ctl<platform::TabStrip>("TabStrip");
    QTest::mouseClick(tabs->tabButton(tabs->indexOfKey("Enum")), Qt::LeftButton);
    auto* format = ctl<QLineEdit>("txtEnumFormat");
    QTest::mouseClick(format, Qt::LeftButton);
    QTest::keyClick(format, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(format, "Trip <ENUM>.<EXT>");
    clickButton(ctl<QCheckBox>("chkEnumResetBetweenDirs"));

    const QStringList shown = previewColumn(list);
    for (int r = 0; r < list->count(); ++r) {
        // Track 0n of every album becomes Trip 0n.
        EXPECT_EQ(shown[r], QString(list->text(r)).replace("Track", "Trip")) << list->subItem(r, 2).toStdString();
    }
    clickButton(ctl<QPushButton>("cmdExecute"));
    EXPECT_FALSE(logLines().join("\n").contains("already exists")) << logLines().join("\n").toStdString();
    if (FrmExecute* lw = logWin())
        lw->unload();
    for (const char* album : {"A", "B", "C"})
        for (int t = 1; t <= 3; ++t)
            EXPECT_TRUE(exists(QStringLiteral("%1/Trip 0%2.mp3").arg(QLatin1String(album)).arg(t))) << album << t;
}

// Same-named files of two folders: "log.txt" names the folder of every date
// line, the log window only with "Show full path in log window"; Undo reports
// the one stamp the run changed, not the ones it left alone.
TEST_F(UndoTest, DateLinesNameTheirFolderInLogTxtAndUndoReportsOnlyTheStampsItChanged)
{
    const QDateTime accessed(QDate(2018, 3, 4), QTime(5, 6, 7));
    const QDateTime modified(QDate(2019, 4, 5), QTime(6, 7, 8));
    for (const char* name : {"one/f.txt", "two/f.txt"})
        platform::setFileTimes(writeFile(name, "x"), platform::toTimespec(accessed), platform::toTimespec(modified));
    for (const bool fullPathShown : {false, true}) {
        SCOPED_TRACE(fullPathShown ? "full path shown" : "names only");
        QFile::remove(programFolder() + "/log.txt");
        start();
        w->state().settings.showFullPath = fullPathShown ? 1 : 0;
        clickButton(ctl<QCheckBox>("chkSub"));
        listWork();
        auto* tabs = ctl<platform::TabStrip>("TabStrip");
        QTest::mouseClick(tabs->tabButton(tabs->indexOfKey("Attrib")), Qt::LeftButton);
        clickButton(ctl<QRadioButton>("optAttrib_Date"));
        for (const char* box : {"chkDateCreated", "chkDateAccessed", "chkDateModified"}) {
            auto* c = ctl<QCheckBox>(box);
            if (c->isChecked() != (QByteArray(box) == "chkDateModified"))
                clickButton(c);
        }
        ctl<QDateEdit>("dtDate")->setDate(QDate(2023, 1, 2));
        clickButton(ctl<QPushButton>("cmdExecute"));
        const QString shown = fullPathShown ? work() + "/one/" : QString();
        const QStringList windowLines = logLines();
        ASSERT_EQ(windowLines.size(), 2) << windowLines.join("\n").toStdString();
        EXPECT_TRUE(windowLines[0].startsWith("File Modified Date Changed: " + shown + "f.txt ["))
            << windowLines[0].toStdString();
        clickButton(logWin()->cmdClose);
        QStringList logged = activity();
        ASSERT_EQ(logged.size(), 2);
        EXPECT_TRUE(logged[0].startsWith("File Modified Date Changed: " + work() + "/one/f.txt ["));
        EXPECT_TRUE(logged[1].startsWith("File Modified Date Changed: " + work() + "/two/f.txt ["));

        ui.answers.push_back(QMessageBox::Yes);
        clickButton(ctl<QPushButton>("cmdUndo"));
        QStringList undone = logLines();
        ASSERT_EQ(undone.size(), 2) << undone.join("\n").toStdString();
        EXPECT_TRUE(undone[0].startsWith("File Modified Date Changed: " + shown + "f.txt ["))
            << undone[0].toStdString();
        clickButton(logWin()->cmdClose);
        logged = activity().mid(2);
        ASSERT_EQ(logged.size(), 2) << logged.join("\n").toStdString();
        EXPECT_TRUE(logged[1].startsWith("File Modified Date Changed: " + work() + "/two/f.txt ["))
            << logged[1].toStdString();
        for (const char* name : {"one/f.txt", "two/f.txt"})
            EXPECT_EQ(platform::toDateTime(platform::entryInfo(work() + "/" + name)->modified), modified);
        dropMainWindow();
    }
}

// An attribute run undone leaves the extended attributes as they were before:
// entries that had no user.DOSATTRIB have none again, the others get their
// exact old bytes back (another program's data after the bits included).
TEST_F(UndoTest, UndoOfAnAttributeRunRestoresTheStoredAttributesExactly)
{
    const auto stored = [](const QString& path) -> std::optional<QByteArray> {
        QByteArray buf(4096, '\0');
        const ssize_t n =
            lgetxattr(QFile::encodeName(path).constData(), "user.DOSATTRIB", buf.data(), size_t(buf.size()));
        return n < 0 ? std::nullopt : std::optional<QByteArray>(buf.left(n));
    };
    const auto store = [](const QString& path, const QByteArray& value) {
        return setxattr(QFile::encodeName(path).constData(), "user.DOSATTRIB", value.constData(), size_t(value.size()),
                        0) == 0;
    };
    const QString probe = writeFile("probe", "p");
    if (!store(probe, "0x0"))
        GTEST_SKIP() << "the file system of " << work().toStdString() << " keeps no user extended attributes";
    QFile::remove(probe);

    std::map<QString, std::optional<QByteArray>> before;
    for (int i = 1; i <= 3; ++i)
        before[writeFile("plain" + QString::number(i) + ".txt", "x")] = std::nullopt;
    before[makeDir("folder")] = std::nullopt;
    const QByteArray sambaLike = QByteArray("0x20\0", 5) + QByteArray::fromHex("03000300000011000000200000001a2b");
    for (const auto& [name, value] :
         {std::pair("samba.txt", sambaLike), std::pair("wide.txt", QByteArray("0X00000020"))}) {
        const QString f = writeFile(name, "x");
        ASSERT_TRUE(store(f, value));
        before[f] = value;
    }

    start();
    clickButton(ctl<QCheckBox>("chkDirs"));
    ASSERT_EQ(ctl<platform::CheckBox>("chkDirs")->value(), 1);
    listWork();
    auto* tabs = ctl<platform::TabStrip>("TabStrip");
    QTest::mouseClick(tabs->tabButton(tabs->indexOfKey("Attrib")), Qt::LeftButton);
    clickButton(ctl<QRadioButton>("optAttrib_Attributes"));
    for (const auto& [box, wanted] : {std::pair("chkS", 1), std::pair("chkA", 1)}) {
        auto* c = ctl<platform::CheckBox>(box);
        for (int clicks = 0; clicks < 3 && c->value() != wanted; ++clicks)
            clickButton(c);
        ASSERT_EQ(c->value(), wanted) << box;
    }
    clickButton(ctl<QPushButton>("cmdExecute"));
    clickButton(logWin()->cmdClose);
    for (const auto& [path, old] : before) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_EQ(platform::getAttributes(path) & (platform::attr::System | platform::attr::Archive),
                  platform::attr::System | platform::attr::Archive);
        EXPECT_TRUE(stored(path).has_value());
    }

    ui.answers.push_back(QMessageBox::Yes);
    clickButton(ctl<QPushButton>("cmdUndo"));
    const QStringList undone = logLines();
    clickButton(logWin()->cmdClose);
    EXPECT_EQ(undone.size(), qsizetype(before.size())) << undone.join("\n").toStdString();
    for (const auto& [path, old] : before) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_EQ(stored(path), old);
    }
    EXPECT_TRUE(undone.contains("File Attribute Changed: plain1.txt [--SA] -> [----]"))
        << undone.join("\n").toStdString();
    EXPECT_TRUE(undone.contains("File Attribute Changed: wide.txt [--SA] -> [---A]"));
    EXPECT_TRUE(undone.contains("Directory Attribute Changed: folder [--SA] -> [----]"));
}

// Run after run and Undo after Undo, through the buttons and keys a user
// presses: each opens a log window on the screen, and its Close (the button,
// Escape, Enter or the window's close box) gives the main window back.
TEST_F(UndoTest, EveryRunAndEveryUndoShowsItsLogWindowAndItsCloseEnablesTheMainWindow)
{
    writeFile("alpha.txt");
    writeFile("beta.txt");
    waitActive = true;
    start();
    listWork();
    ctl<platform::TabStrip>("TabStrip")->selectKey("Case");
    ctl<platform::OptionButton>("Case1_5")->select(); // "Invert": every run changes the names
    w->updateExecuteButton();
    const auto shownLog = [&]() -> FrmExecute* {
        FrmExecute* lw = logWin();
        if (!lw || !QTest::qWaitForWindowExposed(lw))
            return nullptr;
        return lw->isVisible() ? lw : nullptr;
    };
    const std::function<void(FrmExecute*)> closes[] = {
        [](FrmExecute* lw) { QTest::mouseClick(lw->cmdClose, Qt::LeftButton); },
        [](FrmExecute* lw) { QTest::keyClick(lw, Qt::Key_Escape); },
        [](FrmExecute* lw) { QTest::keyClick(lw, Qt::Key_Return); },
        [](FrmExecute* lw) { lw->close(); }, // the window's close box
    };
    const QStringList upper = {"ALPHA.txt", "BETA.txt"}, lower = {"alpha.txt", "beta.txt"};
    // The command's log window is on the screen, finished, over a disabled
    // main window, with the names it made; its close gives the window back.
    const auto finishedAndClosed = [&](const char* command, const QStringList& made,
                                       const std::function<void(FrmExecute*)>& close) {
        FrmExecute* lw = shownLog();
        ASSERT_TRUE(lw) << "no log window after " << command;
        EXPECT_EQ(lw->windowTitle(), "Status: Ready!");
        EXPECT_EQ(names(), made);
        EXPECT_FALSE(w->isEnabled());
        close(lw);
        ASSERT_EQ(logWin(), nullptr);
        EXPECT_TRUE(w->isEnabled());
    };
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(round);
        const auto& close = closes[round];
        if (round % 2 == 0) {
            QTest::mouseClick(ctl<QPushButton>("cmdExecute"), Qt::LeftButton);
        } else {
            // A window manager activates the main window again when the log
            // window goes; the offscreen platform leaves that to the test.
            w->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_F5);
        }
        ASSERT_NO_FATAL_FAILURE(finishedAndClosed("Rename!", upper, close));

        // Undo answered No changes nothing and opens no window.
        ui.answers = {QMessageBox::No};
        QTest::mouseClick(ctl<QPushButton>("cmdUndo"), Qt::LeftButton);
        EXPECT_EQ(logWin(), nullptr);
        EXPECT_TRUE(w->isEnabled());
        EXPECT_EQ(names(), upper);

        ui.answers = {QMessageBox::Yes};
        QTest::mouseClick(ctl<QPushButton>("cmdUndo"), Qt::LeftButton);
        ASSERT_NO_FATAL_FAILURE(finishedAndClosed("Undo", lower, close));
        EXPECT_FALSE(ctl<QPushButton>("cmdUndo")->isEnabled());
    }
}
