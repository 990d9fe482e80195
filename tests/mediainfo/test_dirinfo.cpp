#include "engine/logs.h"
#include "mediainfo/dirinfo.h"
#include "test_support.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

class DirStats : public TempEnv {};

TEST_F(DirStats, CountsTopAndTree)
{
    writeFile("d/a", QByteArray(10, 'a'));
    writeFile("d/b", QByteArray(20, 'b'));
    writeFile("d/.hidden", QByteArray(30, 'c'));
    writeFile("d/sub/x", QByteArray(5, 'x'));
    writeFile("d/sub/y", QByteArray(5, 'y'));
    DirInfo info;
    ASSERT_TRUE(getDirInfo(work() + "/d", info));
    EXPECT_EQ(info.path, work() + "/d");
    EXPECT_EQ(info.topFiles, 3);
    EXPECT_EQ(info.topDirs, 1);
    EXPECT_EQ(info.topBytes, 60);
    EXPECT_EQ(info.treeFiles, 5);
    EXPECT_EQ(info.treeDirs, 1);
    EXPECT_EQ(info.treeBytes, 70);
}

TEST_F(DirStats, EmptyDeepAndReadOnly)
{
    makeDir("empty");
    DirInfo empty;
    ASSERT_TRUE(getDirInfo(work() + "/empty", empty));
    EXPECT_EQ(empty.treeFiles + empty.treeDirs + empty.topFiles + empty.topDirs, 0);

    writeFile("deep/l1/l2/l3/f", "1");
    writeFile("deep/l1/other/g", "22");
    ASSERT_TRUE(QFile::setPermissions(work() + "/deep/l1", QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    DirInfo deep;
    ASSERT_TRUE(getDirInfo(work() + "/deep", deep));
    EXPECT_EQ(deep.topDirs, 1);
    EXPECT_EQ(deep.treeDirs, 4); // l1, l2, l3, other; never the directory itself
    EXPECT_EQ(deep.treeFiles, 2);
    EXPECT_EQ(deep.treeBytes, 3);
}

TEST_F(DirStats, FilesAndMissingPathsGiveFalseWithoutLogLine)
{
    Logs logs(programFolder());
    const QString file = writeFile("plain.txt", "x");
    for (const QString& path : {file, work() + "/missing", QString()}) {
        DirInfo info;
        info.topFiles = 9;
        EXPECT_FALSE(getDirInfo(path, info, logs.errorSink())) << path.toStdString();
        EXPECT_TRUE(info.path.isEmpty());
        EXPECT_EQ(info.topFiles, 0);
    }
    EXPECT_EQ(logs.errorLogged, 0);
}

TEST_F(DirStats, SecondCallAnswersFromTheRecord)
{
    writeFile("c/one", "1");
    DirInfo info;
    ASSERT_TRUE(getDirInfo(work() + "/c", info));
    writeFile("c/two", "2");
    EXPECT_TRUE(getDirInfo(work() + "/c", info));
    EXPECT_EQ(info.topFiles, 1);
}

TEST_F(DirStats, SymlinkLoopsAreCountedNotEntered)
{
    writeFile("loop/inner/f", "abcd");
    ASSERT_TRUE(QFile::link(work() + "/loop", work() + "/loop/inner/back"));
    ASSERT_TRUE(QFile::link("inner", work() + "/loop/again"));
    int yields = 0;
    DirInfo info;
    ASSERT_TRUE(getDirInfo(work() + "/loop", info, {}, [&] { ++yields; }));
    EXPECT_EQ(info.treeDirs, 1); // inner only
    EXPECT_EQ(info.topDirs, 1);
    EXPECT_EQ(info.topFiles, 1);  // the link "again", an entry of its own
    EXPECT_EQ(info.treeFiles, 3); // f, back, again
    EXPECT_EQ(info.treeBytes, 4 + QFile::encodeName(work() + "/loop").size() + 5);
    EXPECT_EQ(yields, 8 + 2); // one per entry ("." and ".." too) and one per directory
}

TEST_F(DirStats, LinkToADirectoryIsNoDirectory)
{
    makeDir("real");
    ASSERT_TRUE(QFile::link(work() + "/real", work() + "/alias"));
    DirInfo info;
    EXPECT_FALSE(getDirInfo(work() + "/alias", info));
}

TEST_F(DirStats, FailedWalkIsLoggedOnceAndNeverValid)
{
    Logs logs(programFolder());
    writeFile("t/a", "a");
    makeDir("t/gone");
    // The subdirectory vanishes after it was counted and before it is listed.
    const auto removeGone = [&] { QDir(work() + "/t/gone").removeRecursively(); };
    DirInfo info;
    EXPECT_FALSE(getDirInfo(work() + "/t", info, logs.errorSink(), removeGone));
    EXPECT_TRUE(info.failed);
    makeDir("t/gone");
    EXPECT_FALSE(getDirInfo(work() + "/t", info, logs.errorSink())); // no second walk, no second line
    const QStringList lines = readLines(logs.errorFile());
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].endsWith("Error 53 (File not found) getDirInfo: DIR=" + work() + "/t"))
        << lines[0].toStdString();
    DirInfo fresh;
    EXPECT_TRUE(getDirInfo(work() + "/t", fresh, logs.errorSink()));
}
