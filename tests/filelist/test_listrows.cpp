#include "filelist_fixture.h"

#include "engine/sizetext.h"
#include "platform/datetext.h"
#include "platform/fileops.h"

#include <fcntl.h>
#include <QFile>
#include <sys/stat.h>
#include <unistd.h>

namespace {

enum Col { Name = 0, Preview, Path, Size, Date, Attrib, Ext, Type, SizeKey, DateKey };

void makeSparse(const QString& path, qint64 size)
{
    const QByteArray p = QFile::encodeName(path);
    const int fd = ::open(p.constData(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, off_t(size)), 0);
    ::close(fd);
}

} // namespace

TEST_F(FileListTest, DetailColumnsOfFileAndDirectoryRows)
{
    options.showAllColumns = 1;
    const QString big = work() + "/big.bin";
    makeSparse(big, 3LL * 1073741824);
    const QString small = writeFile("archive.tar.gz", QByteArray(12345, 'x'));
    const QString ro = writeFile("readme", "r");
    ASSERT_EQ(::chmod(QFile::encodeName(ro).constData(), 0444), 0);
    const QString sub = makeDir("sub");
    const QDateTime when(QDate(2004, 3, 27), QTime(14, 5, 9));
    for (const QString& p : {small, sub})
        platform::setFileTimes(p, std::nullopt, platform::toTimespec(when));
    readAndShow(dir());
    ASSERT_EQ(rowNames(), (QStringList{"sub", "archive.tar.gz", "big.bin", "readme"}));

    const platform::ListRow& d = lwDirectory->row(0);
    EXPECT_TRUE(d.isDir);
    EXPECT_EQ(d.cells[Path], dir());
    EXPECT_EQ(d.cells[Size], "");
    EXPECT_EQ(d.cells[SizeKey], "");
    EXPECT_EQ(d.cells[Type], "Dir");
    EXPECT_EQ(d.cells[Date], platform::dateTimeText(when));
    EXPECT_EQ(d.cells[DateKey], "2004-03-27 14:05:09");
    EXPECT_EQ(d.cells[Attrib], "[----]");

    const platform::ListRow& a = lwDirectory->row(1);
    EXPECT_EQ(a.cells[Size], sizeText(12345));
    EXPECT_EQ(a.cells[SizeKey], "00000012345");
    EXPECT_EQ(a.cells[Ext], "gz");
    EXPECT_EQ(a.cells[Type], "File");
    EXPECT_EQ(a.cells[DateKey], "2004-03-27 14:05:09");

    const platform::ListRow& b = lwDirectory->row(2);
    EXPECT_EQ(b.cells[Size], "3 GB");
    EXPECT_EQ(b.cells[SizeKey], "03221225472");
    EXPECT_EQ(b.sizeBytes, 3LL * 1073741824);

    const platform::ListRow& r = lwDirectory->row(3);
    EXPECT_EQ(r.cells[Ext], "");
    EXPECT_EQ(r.cells[Attrib], "[R---]");
}

TEST_F(FileListTest, ExtensionsFollowTheLastDot)
{
    options.showAllColumns = 1;
    options.processHidden = 1;
    for (const char* n : {".profile", "name.", "plain", "a.b.TXT"})
        writeFile(n);
    readAndShow(dir());
    ASSERT_EQ(lwDirectory->count(), 4);
    for (int i = 0; i < lwDirectory->count(); ++i) {
        const QString n = lwDirectory->text(i);
        const QString expected = n == ".profile" ? "profile" : n == "a.b.TXT" ? "TXT" : "";
        EXPECT_EQ(lwDirectory->subItem(i, Ext), expected) << n.toStdString();
    }
}

TEST_F(FileListTest, SizeColumnSortsByBytesPast100Gigabytes)
{
    options.showAllColumns = 1;
    makeSparse(work() + "/huge.bin", 200000000000);
    makeSparse(work() + "/three.bin", 3LL * 1073741824);
    writeFile("tiny.txt", "x");
    makeDir("folder");
    readAndShow(dir());
    lwDirectory->sortByColumn(lwDirectory->columnIndex("size"), Qt::AscendingOrder);
    EXPECT_EQ(rowNames(), (QStringList{"folder", "tiny.txt", "three.bin", "huge.bin"}));
    EXPECT_EQ(lwDirectory->subItem(3, SizeKey), "200000000000") << "the key keeps every digit";
    EXPECT_EQ(lwDirectory->subItem(1, SizeKey), "00000000001");
}

TEST_F(FileListTest, NamesWithLeadingBlanksAreShownAndAddressedAsTheyAre)
{
    const QString five = writeFile("     five.txt");
    writeFile("a.txt");
    makeDir("  dir");
    makeDir("b");
    readAndShow(dir());
    ASSERT_EQ(rowNames(), (QStringList{"  dir", "b", "     five.txt", "a.txt"}));
    EXPECT_EQ(lwDirectory->subItem(2, Path) + lwDirectory->text(2), five);
    EXPECT_TRUE(lwDirectory->row(0).isDir);
    EXPECT_FALSE(lwDirectory->row(2).isDir);
}

TEST_F(FileListTest, RebuildLeavesRowsUnselectedInNameOrderWithDirectoriesFirst)
{
    for (const char* n : {"b.txt", "A.txt", "c.txt"})
        writeFile(n);
    makeDir("Zdir");
    makeDir("adir");
    files.listOrderChanged = -1;
    files.dirSortOrder = 0;
    readAndShow(dir());
    EXPECT_EQ(rowNames(), (QStringList{"adir", "Zdir", "A.txt", "b.txt", "c.txt"}));
    EXPECT_EQ(lwDirectory->selectedCount(), 0);
    EXPECT_EQ(lwDirectory->currentRow(), 0);
    EXPECT_EQ(files.listOrderChanged, 0);
    EXPECT_EQ(files.dirSortOrder, 1);
    EXPECT_EQ(panel("main"), "3 Files, 2 Directories");
    EXPECT_EQ(panel("selected"), "0 items selected...");
    EXPECT_TRUE(window->isEnabled());
    EXPECT_EQ(ui.mousePointer(), 0);
    EXPECT_GE(gateRuns, 1);
    // Directories have their own icon entry, files one per extension.
    for (int i = 0; i < lwDirectory->count(); ++i) {
        const platform::ListRow& r = lwDirectory->row(i);
        EXPECT_EQ(files.imagelistSysIcons.keys.at(r.smallIcon - 1), r.isDir ? dir() + r.text() : QString(">TXT"));
        EXPECT_EQ(files.imagelistSysIconsLarge.keys.at(r.largeIcon - 1), r.isDir ? dir() + r.text() : QString(">TXT"));
    }
}

TEST_F(FileListTest, GhostDirectoriesWhileDirectoriesAreUnticked)
{
    writeFile("f.txt");
    makeDir("d");
    options.alwaysShowDirs = 1;
    chkDirs->setValue(0);
    readAndShow(dir());
    ASSERT_EQ(rowNames(), (QStringList{"d", "f.txt"}));
    EXPECT_EQ(lwDirectory->row(0).smallIcon, defaultIcon::GhostDir);
    EXPECT_EQ(lwDirectory->row(0).largeIcon, defaultIcon::GhostDir);
    EXPECT_EQ(panel("main"), "1 Files, 0 Directories");
    chkDirs->setValue(1);
    updateFileViews(host);
    EXPECT_EQ(files.imagelistSysIcons.keys.at(lwDirectory->row(0).smallIcon - 1), dir() + "d");
    EXPECT_EQ(panel("main"), "1 Files, 1 Directories");
}

TEST_F(FileListTest, UntickedOrGreyFilesGiveNoFileRows)
{
    writeFile("f.txt");
    makeDir("d");
    for (int v : {0, 2}) {
        chkFiles->setValue(v);
        readAndShow(dir());
        EXPECT_EQ(rowNames(), QStringList{"d"}) << v;
    }
    EXPECT_EQ(panel("main"), "1 Files, 1 Directories") << "a grey box still counts its entries";
}

TEST_F(FileListTest, AnEntryThatVanishedEmptiesTheListing)
{
    options.showAllColumns = 1;
    const QString gone = writeFile("gone.txt");
    writeFile("stays.txt");
    read(dir());
    ASSERT_TRUE(QFile::remove(gone));
    const int gateBefore = gateRuns;
    EXPECT_FALSE(updateListview(host));
    EXPECT_EQ(panel("selected"), "Error Building Listview!");
    EXPECT_TRUE(files.lstFiles[0].isEmpty());
    EXPECT_EQ(lwDirectory->count(), 0);
    EXPECT_EQ(gateRuns, gateBefore + 1);
    const QStringList errors = readLines(logs->errorFile());
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].endsWith("Error 53 (File not found) updateListview: " + gone)) << errors[0].toStdString();
}

TEST_F(FileListTest, EscapeWhileRowsAreBuiltEmptiesTheListing)
{
    writeFile("a.txt");
    read(dir());
    ui.latchEscape();
    EXPECT_FALSE(updateListview(host));
    EXPECT_EQ(panel("selected"), "User Cancelled!");
    EXPECT_TRUE(files.lstFiles[0].isEmpty());
    EXPECT_EQ(lwDirectory->count(), 0);
    EXPECT_FALSE(QFile::exists(logs->errorFile()));
}

TEST_F(FileListTest, EmptyListsShowZeroCountsAndBuildNothing)
{
    makeDir("empty");
    readAndShow(dir("empty"));
    EXPECT_EQ(panel("main"), "0 Files, 0 Directories");
    EXPECT_EQ(lwDirectory->count(), 0);
    txtPath->setEditText(QString());
    status->setPanelText("main", "unchanged");
    updateFileViews(host);
    EXPECT_EQ(panel("main"), "unchanged") << "an empty path box changes nothing";
}

TEST_F(FileListTest, ThumbnailsAreAskedForAfterTheRows)
{
    writeFile("a.jpg");
    int made = 0;
    host.generateThumbnails = [&] { ++made; };
    chkThumbnails->setValue(1);
    readAndShow(dir());
    EXPECT_EQ(made, 1);
    EXPECT_EQ(lwDirectory->view(), 0);
}

namespace {

// The read's details as they are once the directories have been quiet for a
// while: only then does the row build trust them.
void settle(FileListState& files)
{
    ASSERT_TRUE(files.readDetails);
    auto settled = std::make_shared<ReadDetails>(*files.readDetails);
    for (ReadFolderStamp& f : settled->folders)
        f.settled = true;
    files.readDetails = settled;
}

std::vector<platform::ListRow> allRows(const platform::ListView* lw)
{
    std::vector<platform::ListRow> rows;
    for (int i = 0; i < lw->count(); ++i)
        rows.push_back(lw->row(i));
    return rows;
}

} // namespace

// Detail rows built from what the read found equal rows built by asking every
// entry again, across subdirectories, attribute bits, sizes and dates.
TEST_F(FileListTest, DetailRowsFromTheReadEqualThoseFromFreshQueries)
{
    options.showAllColumns = 1;
    options.processHidden = 1;
    options.processSystem = 1;
    chkSub->setValue(1);
    writeFile("a.txt", QByteArray(4321, 'a'));
    const QString ro = writeFile("ro.txt", "r");
    platform::setAttributes(ro, platform::attr::ReadOnly);
    const QString hs = writeFile("hs.txt");
    platform::setAttributes(hs, platform::attr::Hidden | platform::attr::System | platform::attr::Archive);
    writeFile(".dot");
    const QString sub = makeDir("sub");
    platform::setAttributes(sub, platform::attr::ReadOnly);
    writeFile("sub/inner.bin", QByteArray(99, 'i'));
    makeDir("sub/deeper");
    platform::setFileTimes(work() + "/a.txt", std::nullopt,
                           platform::toTimespec(QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6))));

    read(dir());
    settle(files);
    ASSERT_TRUE(updateListview(host));
    const auto fromRead = allRows(lwDirectory);
    EXPECT_FALSE(files.readDetails) << "the details serve one build";
    ASSERT_TRUE(updateListview(host));
    const auto fresh = allRows(lwDirectory);
    ASSERT_EQ(fromRead.size(), fresh.size());
    ASSERT_EQ(fresh.size(), 7u);
    for (size_t i = 0; i < fresh.size(); ++i) {
        EXPECT_EQ(fromRead[i].isDir, fresh[i].isDir) << i;
        EXPECT_EQ(fromRead[i].sizeBytes, fresh[i].sizeBytes) << i;
        for (int c = 0; c < 10; ++c)
            EXPECT_EQ(fromRead[i].cells[c], fresh[i].cells[c]) << fresh[i].cells[Name].toStdString() << " " << c;
    }
}

// The read's details are used only while they still describe the entry: a
// change of the entry's directory, of the lists or a second build asks again.
TEST_F(FileListTest, DetailRowsAskAgainOnceTheReadNoLongerHolds)
{
    options.showAllColumns = 1;
    const QString grows = writeFile("grows.txt", "123");
    const auto grow = [&] {
        QFile f(grows);
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write(QByteArray(7, 'x'));
    };
    struct Case {
        const char* what;
        std::function<void()> between;
        bool buildTwice;
        qint64 shown; // -1: the build fails as for any entry gone since the read
    };
    const Case cases[] = {
        // The directory holds the same names: the read's size is the one shown.
        {"file written, directory unchanged", [&] { grow(); }, false, 3},
        {"an entry added to the directory",
         [&] {
             grow();
             writeFile("new.txt");
         },
         false, 10},
        {"a listed entry removed from the directory",
         [&] {
             grow();
             QFile::remove(work() + "/new.txt");
         },
         false, -1},
        {"the list changed after the read",
         [&] {
             grow();
             files.lstFiles[0].detach();
             files.lstFiles[0][0] = grows;
         },
         false, 10},
        {"a second build", [&] { grow(); }, true, 10},
    };
    for (const Case& c : cases) {
        QFile::resize(grows, 3);
        read(dir());
        settle(files);
        c.between();
        if (c.shown < 0) {
            EXPECT_FALSE(updateListview(host)) << c.what;
            EXPECT_EQ(panel("selected"), "Error Building Listview!") << c.what;
            continue;
        }
        ASSERT_TRUE(updateListview(host)) << c.what;
        if (c.buildTwice) {
            ASSERT_TRUE(updateListview(host)) << c.what;
        }
        const int row = rowNames().indexOf("grows.txt");
        ASSERT_GE(row, 0) << c.what;
        EXPECT_EQ(lwDirectory->row(row).sizeBytes, c.shown) << c.what;
    }
}

TEST_F(FileListTest, RowsOfSeveralDirectoriesInterleaveByNameAndEqualNamesKeepTheirReadOrder)
{
    chkSub->setValue(1);
    for (const char* n : {"m.txt", "b.txt", "a/z.txt", "a/c.txt", "a/B.txt", "a/k/a.txt", "a/k/m.txt", "x/b.txt"})
        writeFile(n);
    readAndShow(dir());
    QStringList shown;
    for (int i = 0; i < lwDirectory->count(); ++i)
        shown << lwDirectory->row(i).cells[Path].mid(dir().size()) + lwDirectory->row(i).text();
    // Directories first; "b.txt" and "B.txt" fold to one name and keep the
    // order of the walk, as do the two "m.txt".
    EXPECT_EQ(shown, (QStringList{"a", "a/k", "x", "a/k/a.txt", "b.txt", "a/B.txt", "x/b.txt", "a/c.txt", "m.txt",
                                  "a/k/m.txt", "a/z.txt"}));
}
