#include "engine/logs.h"
#include "test_support.h"

#include <QRegularExpression>

class LogsTest : public TempEnv {};

TEST_F(LogsTest, LinesAreAppendedWithDateAndText)
{
    Logs logs(programFolder());
    logs.writeLog("File Renamed: a --> b");
    logs.writeLog("second");
    EXPECT_EQ(logs.errorLogged, 0);
    logs.logError("Error 53 (File not found) test");
    EXPECT_EQ(logs.errorLogged, -1);
    const QStringList lines = readLines(programFolder() + "/log.txt");
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(QRegularExpression(R"(^\(.+\) File Renamed: a --> b$)").match(lines[0]).hasMatch())
        << lines[0].toStdString();
    EXPECT_TRUE(lines[1].endsWith(") second"));
    EXPECT_TRUE(readText(programFolder() + "/errors.txt").endsWith(") Error 53 (File not found) test\n"));
    // A later writer appends below the existing lines.
    Logs(programFolder()).writeLog("third");
    EXPECT_EQ(readLines(programFolder() + "/log.txt").size(), 3);
}

TEST_F(LogsTest, UnwritableFolderIsSwallowed)
{
    // A regular file where the folder should be: every open fails, also for root.
    const QString notAFolder = writeFile("plainfile", "x");
    Logs logs(notAFolder);
    logs.writeLog("lost");
    logs.logError("lost too");
    EXPECT_EQ(logs.errorLogged, -1);
    EXPECT_EQ(readText(notAFolder), "x");
}
