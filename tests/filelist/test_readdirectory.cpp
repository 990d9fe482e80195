#include "filelist_fixture.h"

#include "platform/fileops.h"

#include <fcntl.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListView>
#include <QScrollBar>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

bool canSetDosBits(const QString& path)
{
    const QByteArray p = QFile::encodeName(path);
    return ::setxattr(p.constData(), "user.DOSATTRIB", "0x0", 3, 0) == 0;
}

const QString kLimitText = QStringLiteral(
    "Error: Too much files!\n\nVexor Renamer can only handle 32,767 files and 32,767 directories at once.\n"
    "Please limit number of files by selecting a more specific path.");

} // namespace

TEST_F(FileListTest, WalkListsEachDirectoryBeforeWhatLiesBelowIt)
{
    writeFile("top.txt");
    writeFile("b/in-b.txt");
    writeFile("a/x/in-x.txt");
    writeFile("a/in-a.txt");
    makeDir("a b");
    chkSub->setValue(1);
    read(dir());
    EXPECT_EQ(relative(files.lstDirs[0]), (QStringList{"a", "a/x", "a b", "b"}));
    EXPECT_EQ(relative(files.lstFiles[0]), (QStringList{"top.txt", "a/in-a.txt", "a/x/in-x.txt", "b/in-b.txt"}));
    EXPECT_EQ(files.listedDirectory, dir());
    EXPECT_EQ(files.previousPath, dir());
    EXPECT_TRUE(window->isEnabled());
    EXPECT_EQ(ui.mousePointer(), 0);
    EXPECT_FALSE(cmdExecute->isEnabled()); // until the view update runs the gate
}

// A walk wider and deeper than the directories it lists ahead: the order is
// the walk's own, and a second read sees what changed after the first.
TEST_F(FileListTest, AWideDeepWalkKeepsItsOrderAndSeesLaterChanges)
{
    QStringList dirs, made;
    for (int i = 0; i < 12; ++i) {
        const QString d = QString("d%1").arg(i, 2, 10, QChar('0'));
        dirs << d;
        made << d + "/f.txt";
        for (int j = 0; j < 2; ++j) {
            const QString s = d + QString("/s%1").arg(j);
            dirs << s << s + "/t";
            made << s + "/t/g.txt";
        }
    }
    for (const QString& f : made)
        writeFile(f);
    // Each directory's files, then what lies below it.
    QStringList expectedFiles;
    for (int i = 0; i < 12; ++i) {
        const QString d = QString("d%1").arg(i, 2, 10, QChar('0'));
        expectedFiles << d + "/f.txt" << d + "/s0/t/g.txt" << d + "/s1/t/g.txt";
    }
    chkSub->setValue(1);
    read(dir());
    EXPECT_EQ(relative(files.lstFiles[0]), expectedFiles);
    EXPECT_EQ(relative(files.lstDirs[0]), dirs);
    writeFile("d11/s1/t/late.txt");
    QFile::remove(dir() + "/d00/f.txt");
    read(dir());
    expectedFiles.removeFirst();
    expectedFiles << "d11/s1/t/late.txt";
    EXPECT_EQ(relative(files.lstFiles[0]), expectedFiles);
}

TEST_F(FileListTest, EntriesOfADirectoryComeInCaseInsensitiveOrder)
{
    for (const char* n : {"b.txt", "C.txt", "a.txt", "B2.txt", "A.txt"})
        writeFile(n);
    read(dir());
    EXPECT_EQ(relative(files.lstFiles[0]), (QStringList{"A.txt", "a.txt", "b.txt", "B2.txt", "C.txt"}));
}

TEST_F(FileListTest, WithoutSubdirectoriesOnlyTheTopIsListed)
{
    writeFile("a/in-a.txt");
    writeFile("top.txt");
    read(dir());
    EXPECT_EQ(relative(files.lstDirs[0]), QStringList{"a"});
    EXPECT_EQ(relative(files.lstFiles[0]), QStringList{"top.txt"});
}

TEST_F(FileListTest, APathWithoutItsSeparatorStillGivesWholeEntryPaths)
{
    writeFile("f.txt");
    read(work());
    EXPECT_EQ(files.lstFiles[0], QStringList{work() + "/f.txt"});
}

TEST_F(FileListTest, DotEntriesNeedProcessHidden)
{
    writeFile(".hidden");
    writeFile("plain");
    makeDir(".hdir");
    read(dir());
    EXPECT_EQ(relative(files.lstFiles[0]), QStringList{"plain"});
    EXPECT_TRUE(files.lstDirs[0].isEmpty());
    options.processHidden = 1;
    read(dir());
    EXPECT_EQ(relative(files.lstFiles[0]), (QStringList{".hidden", "plain"}));
    EXPECT_EQ(relative(files.lstDirs[0]), QStringList{".hdir"});
}

TEST_F(FileListTest, HiddenAndSystemBitsEachNeedTheirSetting)
{
    const QString h = writeFile("h.txt"), s = writeFile("s.txt"), hs = writeFile("hs.txt");
    writeFile("n.txt");
    if (!canSetDosBits(h))
        GTEST_SKIP() << "no user extended attributes here";
    platform::setAttributes(h, platform::attr::Hidden);
    platform::setAttributes(s, platform::attr::System);
    platform::setAttributes(hs, platform::attr::Hidden | platform::attr::System);
    struct Case {
        int hidden, system;
        QStringList expected;
    };
    const Case cases[] = {
        {0, 0, {"n.txt"}},
        {1, 0, {"h.txt", "n.txt"}},
        {0, 1, {"n.txt", "s.txt"}},
        {1, 1, {"h.txt", "hs.txt", "n.txt", "s.txt"}},
    };
    for (const Case& c : cases) {
        options.processHidden = c.hidden;
        options.processSystem = c.system;
        read(dir());
        EXPECT_EQ(relative(files.lstFiles[0]), c.expected) << c.hidden << c.system;
    }
}

TEST_F(FileListTest, ReadOnlyEntriesAndTheirSubtreesAreLeftOutWhenWriteProtectedIsOff)
{
    const QString ro = writeFile("ro.txt");
    writeFile("rw.txt");
    const QString roDir = makeDir("locked");
    writeFile("locked/inside.txt");
    writeFile("open/inside.txt");
    ASSERT_EQ(::chmod(QFile::encodeName(ro).constData(), 0444), 0);
    const bool dirBit = canSetDosBits(roDir);
    if (dirBit)
        platform::setAttributes(roDir, platform::attr::ReadOnly);
    chkSub->setValue(1);
    read(dir());
    EXPECT_EQ(files.lstFiles[0].size(), 4) << "all of them while write-protected entries are processed";
    options.processWriteProtected = 0;
    read(dir());
    if (dirBit) {
        EXPECT_EQ(relative(files.lstFiles[0]), (QStringList{"rw.txt", "open/inside.txt"}));
        EXPECT_EQ(relative(files.lstDirs[0]), QStringList{"open"});
    } else {
        EXPECT_EQ(relative(files.lstFiles[0]), (QStringList{"rw.txt", "locked/inside.txt", "open/inside.txt"}));
    }
}

TEST_F(FileListTest, PatternsApplyToFilesAndDirectoriesAsConfigured)
{
    writeFile("keep.txt");
    writeFile("skip.doc");
    writeFile("d.txt/inner.doc");
    writeFile("other/inner.txt");
    txtPattern->setText("*.txt");
    chkSub->setValue(1);
    read(dir());
    EXPECT_EQ(relative(files.lstFiles[0]), (QStringList{"keep.txt", "other/inner.txt"}));
    EXPECT_EQ(relative(files.lstDirs[0]), (QStringList{"d.txt", "other"}));
    options.usePatternForDirs = 1;
    read(dir());
    EXPECT_EQ(relative(files.lstDirs[0]), QStringList{"d.txt"});
    EXPECT_EQ(relative(files.lstFiles[0]), QStringList{"keep.txt"});
    options.usePatternForFiles = 0;
    read(dir());
    EXPECT_EQ(relative(files.lstFiles[0]), (QStringList{"keep.txt", "skip.doc", "d.txt/inner.doc"}));
}

TEST_F(FileListTest, SymbolicLinksAreListedButNeverWalked)
{
    writeFile("real/inside.txt");
    ASSERT_EQ(
        ::symlink(QFile::encodeName(work() + "/real").constData(), QFile::encodeName(work() + "/link").constData()), 0);
    chkSub->setValue(1);
    read(dir());
    EXPECT_EQ(relative(files.lstDirs[0]), QStringList{"real"});
    EXPECT_EQ(relative(files.lstFiles[0]), (QStringList{"link", "real/inside.txt"}));
}

TEST_F(FileListTest, TheLimitIs32767EntriesPerList)
{
    const QByteArray base = QFile::encodeName(work() + "/many/");
    QDir().mkpath(work() + "/many");
    auto create = [&](int i) {
        const QByteArray p = base + QByteArray::number(i);
        const int fd = ::open(p.constData(), O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0);
        ::close(fd);
    };
    for (int i = 0; i < 32767; ++i)
        create(i);
    read(dir("many"));
    EXPECT_EQ(files.lstFiles[0].size(), 32767);
    EXPECT_TRUE(ui.asked.empty());

    create(32767);
    ui.answers.push_back(QMessageBox::Ok);
    read(dir("many"));
    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(ui.asked[0].title, "Error!");
    EXPECT_EQ(ui.asked[0].text, kLimitText);
    EXPECT_EQ(panel("selected"), "Error: too much files!");
    EXPECT_TRUE(files.lstFiles[0].isEmpty());
    EXPECT_TRUE(files.listedDirectory.isEmpty());
    EXPECT_TRUE(window->isEnabled());
    EXPECT_EQ(ui.mousePointer(), 0);
}

TEST_F(FileListTest, EscapeCancelsTheReadAndTheNextReadResetsTheIcons)
{
    writeFile("a.txt");
    writeFile("b.txt");
    read(dir());
    files.imagelistSysIcons.add("extra", QPixmap(16, 16));
    escapeDuringWork();
    readAndShow(dir());
    EXPECT_EQ(panel("selected"), "User Cancelled!");
    EXPECT_TRUE(files.lstFiles[0].isEmpty());
    EXPECT_EQ(lwDirectory->count(), 0);
    EXPECT_EQ(tree->topLevelItemCount(), 0);
    EXPECT_TRUE(files.listedDirectory.isEmpty());
    EXPECT_EQ(panel("main"), "0 Files, 0 Directories");
    // Same path again: the icon lists start over, since the last read did not finish.
    files.imagelistSysIcons.add("extra", QPixmap(16, 16));
    read(dir());
    EXPECT_EQ(files.imagelistSysIcons.count(), 3);
    EXPECT_EQ(files.lstFiles[0].size(), 2);
}

TEST_F(FileListTest, IconListsAreResetPerDirectoryUnlessCached)
{
    makeDir("one");
    makeDir("two");
    read(dir("one"));
    files.imagelistSysIcons.add("extra", QPixmap(16, 16));
    read(dir("one"));
    EXPECT_EQ(files.imagelistSysIcons.count(), 4) << "same directory keeps its icons";
    read(dir("two"));
    EXPECT_EQ(files.imagelistSysIcons.count(), 3);
    options.cacheIcons = 1;
    files.imagelistSysIcons.add("extra", QPixmap(16, 16));
    read(dir("one"));
    EXPECT_EQ(files.imagelistSysIcons.count(), 4) << "cached icons survive a new directory";
}

TEST_F(FileListTest, SystemFoldersAndTheRootShowTheNotice)
{
    getSystemFolders(files.systemFolders);
    ASSERT_EQ(::symlink("/usr", QFile::encodeName(work() + "/usrlink").constData()), 0);
    // The notice comes before any read, so nothing below /boot is even listed.
    ASSERT_EQ(::symlink("/boot", QFile::encodeName(work() + "/bootlink").constData()), 0);
    for (const QString& p :
         {QStringLiteral("/usr/"), QStringLiteral("/usr/share/"), QStringLiteral("/etc/"), QStringLiteral("/"),
          dir("usrlink"), QStringLiteral("/boot/"), QStringLiteral("/boot/grub/"), dir("bootlink"),
          QStringLiteral("/proc/self/"), QStringLiteral("/run/")}) {
        files.lstFiles[0] = QStringList{"stale"};
        read(p);
        ASSERT_EQ(lwDirectory->count(), 1) << p.toStdString();
        EXPECT_EQ(lwDirectory->text(0), kHiddenFolderNotice);
        EXPECT_TRUE(lwDirectory->listFont().bold());
        EXPECT_TRUE(lwDirectory->listFont().italic());
        EXPECT_EQ(lwDirectory->view(), 1);
        EXPECT_EQ(txtPath->palette().color(QPalette::Text), QColor(255, 0, 0));
        EXPECT_TRUE(files.lstFiles[0].isEmpty());
        EXPECT_TRUE(files.listedDirectory.isEmpty());
    }
    EXPECT_EQ(txtPath->count(), 0) << "the notice leaves the history alone";
    // It wraps at the list's edge: read whole, without scrolling sideways.
    lwDirectory->resize(300, 200);
    lwDirectory->show();
    QCoreApplication::processEvents();
    QListView* view = lwDirectory->iconView();
    const QRect row = view->visualRect(view->model()->index(0, 0));
    EXPECT_LE(row.right(), view->viewport()->width());
    EXPECT_GT(row.height(), view->fontMetrics().height()) << "on more than one line";
    EXPECT_FALSE(view->horizontalScrollBar()->isVisible());
}

TEST_F(FileListTest, WithTheNoticeSwitchedOffSystemFoldersReadNormally)
{
    writeFile("win/system.ini");
    writeFile("data/keep.txt");
    getSystemFolders(files.systemFolders);
    files.systemFolders.windows = QFileInfo(work() + "/win").canonicalFilePath() + "/";
    read(dir("win"));
    EXPECT_EQ(lwDirectory->text(0), kHiddenFolderNotice);
    read(dir("data"));
    EXPECT_EQ(relative(files.lstFiles[0]), QStringList{"data/keep.txt"}) << "a folder beside it reads normally";
    options.hideSystemFolders = 0;
    read(dir("win"));
    EXPECT_EQ(relative(files.lstFiles[0]), QStringList{"win/system.ini"});
    EXPECT_EQ(files.listedDirectory, dir("win"));
    EXPECT_FALSE(lwDirectory->listFont().bold());
}

TEST_F(FileListTest, AnEmptyPathBoxAsksForADirectory)
{
    writeFile("a.txt");
    read(dir());
    const int gateBefore = gateRuns;
    read(QString());
    ASSERT_EQ(lwDirectory->count(), 1);
    EXPECT_EQ(lwDirectory->text(0), "Please choose a working directory...");
    EXPECT_FALSE(lwDirectory->isSelected(0));
    EXPECT_TRUE(lwDirectory->listFont().bold());
    EXPECT_TRUE(lwDirectory->listFont().italic());
    EXPECT_TRUE(files.lstFiles[0].isEmpty());
    EXPECT_EQ(files.listedDirectory, dir()) << "kept";
    EXPECT_EQ(gateRuns, gateBefore + 1);
}

TEST_F(FileListTest, NothingHappensBeforeTheFirstActivation)
{
    writeFile("a.txt");
    mainWindowReady = 0;
    preview.previewRequested = -1;
    preview.previewToken = 7;
    readAndShow(dir());
    EXPECT_TRUE(files.lstFiles[0].isEmpty());
    EXPECT_EQ(preview.previewRequested, -1);
    EXPECT_EQ(preview.previewToken, 7);
    EXPECT_EQ(lwDirectory->count(), 0);
}

TEST_F(FileListTest, TheReadDropsAPendingPreview)
{
    preview.previewRequested = -1;
    preview.previewToken = 7;
    read(dir());
    EXPECT_EQ(preview.previewRequested, 0);
    EXPECT_EQ(preview.previewToken, -1);
}

TEST_F(FileListTest, HistoryKeepsEachPathOnceMostRecentFirst)
{
    for (const char* d : {"a", "b", "c", "A"})
        makeDir(d);
    for (const char* d : {"a", "b", "c", "a"})
        read(dir(d));
    QStringList items;
    for (int i = 0; i < txtPath->count(); ++i)
        items << relative({txtPath->itemText(i).chopped(1)});
    EXPECT_EQ(items, (QStringList{"a", "c", "b"}));
    EXPECT_EQ(txtPath->currentText(), dir("a"));
    read(dir("A"));
    EXPECT_EQ(txtPath->count(), 4) << "another letter case is another path";
    read(dir("A"));
    EXPECT_EQ(txtPath->count(), 4);
}

TEST_F(FileListTest, AFailureAsksWhetherToGoOn)
{
    // A link that points at itself cannot be opened, whoever runs the test.
    ASSERT_EQ(::symlink("loop", QFile::encodeName(work() + "/loop").constData()), 0);
    ui.answers = {QMessageBox::No};
    read(dir("loop"));
    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(ui.asked[0].text,
              "An error occured when reading the directory structure! Do you want to try to continue?");
    EXPECT_EQ(panel("selected"), "Error reading directory structure!");
    EXPECT_TRUE(files.listedDirectory.isEmpty());

    // Yes goes on: the files and the directories of that folder are each given up once.
    ui.asked.clear();
    ui.answers = {QMessageBox::Yes, QMessageBox::Yes};
    read(dir("loop"));
    EXPECT_EQ(ui.asked.size(), 2u);
    EXPECT_EQ(files.listedDirectory, dir("loop"));
}

TEST_F(FileListTest, ANameThatIsNotUtf8IsListedButNeverRenamed)
{
    const QByteArray bad = QFile::encodeName(work()) + "/bad\xff.txt";
    const int fd = ::open(bad.constData(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "12345", 5), 5);
    ::close(fd);
    writeFile("good.txt");
    options.showAllColumns = 1;
    readAndShow(dir());
    ASSERT_EQ(files.lstFiles[0].size(), 2);
    const QString listed = files.lstFiles[0][0];
    EXPECT_TRUE(listed.contains(QChar(QChar::ReplacementCharacter)));
    EXPECT_TRUE(isUnrenamable(files, listed));
    EXPECT_FALSE(isUnrenamable(files, files.lstFiles[0][1]));
    const QStringList errors = readLines(logs->errorFile());
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains("not valid UTF-8")) << errors[0].toStdString();
    ASSERT_EQ(lwDirectory->count(), 2);
    EXPECT_EQ(lwDirectory->subItem(0, 3), "5 bytes") << "queried by its bytes on disk";
    ::unlink(bad.constData()); // the clean-up works on decoded names
}

TEST_F(FileListTest, AReadInFreeSelectModeLeavesTheCollectionAlone)
{
    writeFile("a.txt");
    fileMode = 1;
    files.lstFiles[1] = QStringList{"/elsewhere/x.txt"};
    readAndShow(dir());
    EXPECT_EQ(files.lstFiles[1], QStringList{"/elsewhere/x.txt"});
    EXPECT_EQ(relative(files.lstFiles[0]), QStringList{"a.txt"});
    EXPECT_EQ(rowNames(), QStringList{"a.txt"});
}

TEST_F(FileListTest, SystemFolderTableAndProtection)
{
    SystemFolders f;
    getSystemFolders(f);
    EXPECT_EQ(f.system, "/usr/");
    EXPECT_EQ(f.windows, "/etc/");
    EXPECT_EQ(f.root, "/");
    EXPECT_TRUE(f.programFiles.endsWith('/'));
    struct Case {
        const char* path;
        bool hidden;
    };
    const Case cases[] = {
        {"/usr/", true},
        {"/usr", true},
        {"/usr/share/doc/", true},
        {"/etc/", true},
        {"/opt/", true},
        {"/opt/x/y/", true},
        {"/", true},
        {"/tmp/", false},
        {"/usrx/", false},
        {"", false},
        {"/usr/../tmp/", false},
        {"/boot/", true},
        {"/boot/grub/", true},
        {"/boot", true},
        {"/bootx/", false},
        {"/bin/", true},
        {"/sbin/", true},
        {"/lib/", true},
        {"/lib32/", true},
        {"/lib64/", true},
        {"/libx32/x/", true},
        {"/dev/", true},
        {"/dev/shm/", true},
        {"/proc/", true},
        {"/proc/self/", true},
        {"/sys/", true},
        {"/run/", true},
        {"/var/", false},
        {"/var/tmp/", false},
        {"/var/www/", false},
        {"/tmp/../boot/", true},
        {"/library/", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(isProtectedFolder(QString::fromLatin1(c.path), f), c.hidden) << c.path;
    // A link into a protected folder is caught by its target, one to /var is not.
    ASSERT_EQ(::symlink("/boot", QFile::encodeName(work() + "/boot-link").constData()), 0);
    ASSERT_EQ(::symlink("/sys/kernel", QFile::encodeName(work() + "/kernel-link").constData()), 0);
    ASSERT_EQ(::symlink("/var/tmp", QFile::encodeName(work() + "/vartmp-link").constData()), 0);
    EXPECT_TRUE(isProtectedFolder(dir("boot-link"), f));
    EXPECT_TRUE(isProtectedFolder(dir("kernel-link"), f));
    EXPECT_FALSE(isProtectedFolder(dir("vartmp-link"), f));
    EXPECT_FALSE(isProtectedFolder(dir(), f)) << "a temporary folder stays open";
}

TEST_F(FileListTest, ALargeDirectoryGivesEveryEntryItsOwnDetails)
{
    // Enough entries for the queries to be shared out; each entry's size is its
    // number, every seventh is write protected and every eleventh a directory.
    const int n = 9001;
    options.processWriteProtected = 1;
    for (int i = 0; i < n; ++i) {
        const QString path = work() + QStringLiteral("/e%1").arg(i, 5, 10, QLatin1Char('0'));
        const QByteArray p = QFile::encodeName(path);
        if (i % 11 == 0) {
            ASSERT_EQ(::mkdir(p.constData(), 0755), 0);
            continue;
        }
        const int fd = ::open(p.constData(), O_CREAT | O_WRONLY, i % 7 == 0 ? 0444 : 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, off_t(i)), 0);
        ::close(fd);
    }
    read(dir());
    ASSERT_TRUE(files.readDetails);
    const ReadDetails& d = *files.readDetails;
    ASSERT_EQ(files.lstFiles[0].size(), n - (n + 10) / 11);
    ASSERT_EQ(files.lstDirs[0].size(), (n + 10) / 11);
    ASSERT_EQ(d.fileDetails.size(), size_t(files.lstFiles[0].size()));
    int wrong = 0;
    for (qsizetype k = 0; k < files.lstFiles[0].size(); ++k) {
        const int i = QFileInfo(files.lstFiles[0][k]).fileName().mid(1).toInt();
        const ReadEntryDetails& e = d.fileDetails[size_t(k)];
        wrong += e.size != i || bool(e.attributes & platform::attr::ReadOnly) != (i % 7 == 0) ||
                 (e.attributes & platform::attr::Directory) != 0;
    }
    for (qsizetype k = 0; k < files.lstDirs[0].size(); ++k)
        wrong += (d.dirDetails[size_t(k)].attributes & platform::attr::Directory) == 0;
    EXPECT_EQ(wrong, 0);
}
