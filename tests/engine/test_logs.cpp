#include "engine/logs.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QScopeGuard>

#include <algorithm>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

TEST_F(LogsTest, ControlCharactersAreEscapedSoOneCallIsOneLine)
{
    Logs logs(programFolder());
    const QString name = QString("a\nb\rc\td") + QChar(0) + QChar(0x1b) + "[2J" + QChar(0x7f) + QChar(0x85) + "é";
    EXPECT_TRUE(logs.writeLog("File Renamed: " + name));
    logs.logError("Error 53 (File not found) x: " + name);
    const QString escaped = R"(a\nb\rc\td\x00\x1B[2J\x7F\u0085é)";
    for (const QString& file : {logs.activityFile(), logs.errorFile()}) {
        const QStringList lines = readLines(file);
        ASSERT_EQ(lines.size(), 1) << file.toStdString();
        EXPECT_TRUE(lines[0].endsWith(escaped)) << lines[0].toStdString();
    }
    EXPECT_EQ(escapeControlChars("plain"), "plain");
}

// A name with a right-to-left override or a line separator would show another
// text, or break the line, in an editor: such controls are written as "\uHHHH";
// a joiner of an emoji is a letter's part and stays.
TEST_F(LogsTest, UnicodeControlsAreEscapedSoALineShowsWhatItSays)
{
    Logs logs(programFolder());
    const QString name = QString("invoice") + QChar(0x202E) + "txt.exe" + QChar(0x2028) + QChar(0x2029) +
                         QChar(0x2066) + QChar(0x2069) + QChar(0x202A) +
                         QString::fromUtf8("\U0001F469\u200D\U0001F4BB");
    EXPECT_TRUE(logs.writeLog("File Renamed: " + name));
    logs.logError("Error 53 (File not found) x: " + name);
    const QString escaped = QString::fromUtf8(R"(invoice\u202Etxt.exe\u2028\u2029\u2066\u2069\u202A)") +
                            QString::fromUtf8("\U0001F469\u200D\U0001F4BB");
    EXPECT_EQ(escapeControlChars(name), escaped);
    for (const QString& file : {logs.activityFile(), logs.errorFile()}) {
        const QStringList lines = readLines(file);
        ASSERT_EQ(lines.size(), 1) << file.toStdString();
        EXPECT_TRUE(lines[0].endsWith(escaped)) << lines[0].toStdString();
    }
    const QString marks = QString("a") + QChar(0x200E) + QChar(0x200F) + QChar(0x200C) + QChar(0x00A0) + "b";
    EXPECT_EQ(escapeControlChars(marks), marks);
}

// What a line's escapes stand for, read as someone reading the log reads them:
// "\xHH" a byte (one below 0x80 is that character), "\uHHHH" a character.
static QString unescaped(const QString& line)
{
    QString out;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] != u'\\') {
            out += line[i];
            continue;
        }
        const QChar kind = i + 1 < line.size() ? line[++i] : QChar();
        if (kind == u'\\' || kind == u'n' || kind == u'r' || kind == u't') {
            out += kind == u'n' ? QChar(u'\n') : kind == u'r' ? QChar(u'\r') : kind == u't' ? QChar(u'\t') : kind;
        } else if (kind == u'x' || kind == u'u') {
            const int digits = kind == u'x' ? 2 : 4;
            bool ok = false;
            const unsigned value = line.mid(i + 1, digits).toUInt(&ok, 16);
            EXPECT_TRUE(ok) << line.toStdString();
            out += QChar(char16_t(kind == u'x' && value >= 0x80 ? 0xDC00 + value : value));
            i += digits;
        } else {
            ADD_FAILURE() << "a lone backslash in " << line.toStdString();
        }
    }
    return out;
}

// A line reads back to the one text it was made from: a name holding a
// backslash and an escape's letters is told from the name holding that
// character, and a byte that is not UTF-8 from the character of its number.
TEST_F(LogsTest, ALineReadsBackToOneText)
{
    const QChar rlo(0x202E);
    const struct {
        QString text, line;
    } cases[] = {
        {"plain name.txt", "plain name.txt"},
        {R"(c\u202Ed.txt)", R"(c\\u202Ed.txt)"},
        {QString("c") + rlo + "d.txt", R"(c\u202Ed.txt)"},
        {R"(a\nb)", R"(a\\nb)"},
        {"a\nb", R"(a\nb)"},
        {R"(\\server\share\)", R"(\\\\server\\share\\)"},
        {QString("c1 ") + QChar(0x85), R"(c1 \u0085)"},
        {QString("byte ") + QChar(0xDC85), R"(byte \x85)"},
        {QString("byte ") + QChar(0xDCFF), R"(byte \xFF)"},
        {R"(text \x85)", R"(text \\x85)"},
        {QString("del ") + QChar(0x7F) + QChar(0x1B), R"(del \x7F\x1B)"},
        {QString("lone ") + QChar(0xD800) + QChar(0xDC00), QString::fromUtf8("lone \U00010000")}, // a pair
        {QString("lone ") + QChar(0xDC00) + QChar(0xD800), R"(lone \uDC00\uD800)"},
        {QString::fromUtf8("Björk \U0001F3B5\u200D"), QString::fromUtf8("Björk \U0001F3B5\u200D")},
    };
    Logs logs(programFolder());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        EXPECT_EQ(escapeControlChars(c.text), c.line);
        EXPECT_EQ(unescaped(c.line), c.text);
        EXPECT_TRUE(logs.writeLog("File Renamed: " + c.text));
        logs.logError("Error 53 (File not found) x: " + c.text);
    }
    // Both files and both ways of making a line (plain text goes a faster way).
    for (const QString& file : {logs.activityFile(), logs.errorFile()}) {
        const QStringList lines = readLines(file);
        ASSERT_EQ(lines.size(), qsizetype(std::size(cases))) << file.toStdString();
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QString& text = cases[i].text;
            EXPECT_EQ(unescaped(lines[i].mid(lines[i].indexOf(": ") + 2)), text) << lines[i].toStdString();
        }
    }
}

// Every line's bytes are its text in UTF-8 after the date, whatever the text
// holds, and a long line follows a short one whole (the buffer is reused).
TEST_F(LogsTest, LineBytesAreTheTextInUtf8)
{
    const QStringList texts = {
        QString("File Renamed: ") + QString(300, QChar('x')),
        "short",
        QString::fromUtf8("Björk - Café \xF0\x9F\x8E\xB5 Song 01.mp3"), // a pair past the first plane
        QString("lone ") + QChar(0xD800) + " half",
        QString("tab\there") + QChar(0xDC00),
        "",
        R"(C:\Music\c\u202Ed.txt)",
        QString("byte ") + QChar(0xDCFF) + R"( and \xFF)",
    };
    Logs logs(programFolder());
    for (const QString& t : texts)
        logs.writeLog(t);
    QFile file(programFolder() + "/log.txt");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    ASSERT_EQ(lines.size(), texts.size() + 1);
    for (qsizetype i = 0; i < texts.size(); ++i) {
        const QByteArray& line = lines[i];
        const QByteArray text = escapeControlChars(texts[i]).toUtf8();
        EXPECT_TRUE(line.startsWith('(') && line.endsWith(") " + text)) << line.toStdString();
    }
    EXPECT_TRUE(lines.last().isEmpty());
}

// A line the disk had no room for is taken back: each file ends with the
// whole lines before it, the caller of the activity log hears why, and the
// next line, once there is room, follows them.
TEST_F(LogsTest, ALineCutShortIsTakenBack)
{
    Logs logs(programFolder());
    ASSERT_TRUE(logs.writeLog("File Renamed: a --> b"));
    logs.logError("Error 53 (File not found) first");
    const QByteArray activity = fileBytes(logs.activityFile());
    const QByteArray errors = fileBytes(logs.errorFile());
    {
        // Room for a part of the next line in either file.
        FileSizeLimit full(rlim_t(std::max(activity.size(), errors.size()) + 11));
        EXPECT_FALSE(logs.writeLog("File Renamed: " + QString(40, 'c') + " --> d"));
        EXPECT_EQ(logs.activityError(), "File too large");
        logs.logError("Error 53 (File not found) " + QString(40, 'e'));
    }
    EXPECT_EQ(fileBytes(logs.activityFile()), activity);
    EXPECT_EQ(fileBytes(logs.errorFile()), errors);
    EXPECT_TRUE(logs.writeLog("after"));
    const QByteArray now = fileBytes(logs.activityFile());
    EXPECT_TRUE(now.startsWith(activity) && now.endsWith(") after\n")) << now.toStdString();
    EXPECT_EQ(now.count('\n'), 2);
}

// A program folder that cannot be made names the level and the cause, not
// the log file the open then misses. Root may write anywhere: it tries as
// the user nobody.
TEST_F(LogsTest, AFolderThatCannotBeMadeSaysWhichAndWhy)
{
    const QString locked = root() + "/locked";
    ASSERT_TRUE(QDir().mkpath(locked));
    const QByteArray lockedNative = QFile::encodeName(locked);
    ASSERT_EQ(::chmod(QFile::encodeName(root()).constData(), 0755), 0);
    ASSERT_EQ(::chmod(lockedNative.constData(), 0555), 0);
    const auto restore = qScopeGuard([&] { ::chmod(lockedNative.constData(), 0755); });
    Logs logs(locked + "/share/vexorren");
    QString problem;
    bool reachable = true;
    {
        const bool asNobody = ::geteuid() == 0;
        if (asNobody && ::seteuid(65534) != 0) {
            GTEST_SKIP() << "root here cannot take another user's id";
        }
        const auto back = qScopeGuard([&] {
            if (asNobody) {
                EXPECT_EQ(::seteuid(0), 0);
            }
        });
        reachable = ::faccessat(AT_FDCWD, lockedNative.constData(), X_OK, AT_EACCESS) == 0;
        problem = logs.activityLogProblem();
    }
    if (!reachable) {
        GTEST_SKIP() << "the temporary folder is not open to the user nobody";
    }
    EXPECT_EQ(problem, "Cannot create the folder " + locked + "/share: Permission denied");
    EXPECT_FALSE(QFileInfo::exists(locked + "/share"));
}

TEST_F(LogsTest, TheActivityLogSaysWhetherItCanTakeLines)
{
    Logs good(programFolder());
    EXPECT_EQ(good.activityLogProblem(), QString());
    EXPECT_TRUE(good.writeLog("fine"));
    EXPECT_EQ(good.activityError(), QString());

    const QString notAFolder = writeFile("plainfile", "x");
    Logs bad(notAFolder + "/program");
    EXPECT_EQ(bad.activityLogProblem(), "Cannot create the folder " + notAFolder + "/program: Not a directory");
    EXPECT_FALSE(bad.writeLog("lost"));
    EXPECT_EQ(bad.activityError(), "Not a directory");

    QDir().mkpath(root() + "/dirlog/log.txt"); // a folder where the file should be
    Logs blocked(root() + "/dirlog");
    EXPECT_EQ(blocked.activityLogProblem(), "Is a directory");
}

// A FIFO or a link to one in a log's place is refused without blocking and stays
// a FIFO; a link to a regular file is written through and stays a link.
TEST_F(LogsTest, LogsAreWrittenOnlyIntoRegularFiles)
{
    const QString folder = root() + "/fifolog";
    QDir().mkpath(folder);
    const QByteArray fifo = QFile::encodeName(root() + "/fifo");
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder + "/log.txt").constData(), 0600), 0);
    ASSERT_EQ(::symlink(fifo.constData(), QFile::encodeName(folder + "/errors.txt").constData()), 0);
    Logs logs(folder);
    EXPECT_EQ(logs.activityLogProblem(), "Not a regular file");
    EXPECT_FALSE(logs.writeLog("lost"));
    EXPECT_EQ(logs.activityError(), "Not a regular file");
    logs.logError("lost too");
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(folder + "/log.txt").constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    ASSERT_EQ(::lstat(fifo.constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));

    const QString linked = root() + "/linked";
    QDir().mkpath(linked);
    const QString target = writeFile("dotfiles/log.txt", "before\n");
    ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(linked + "/log.txt").constData()), 0);
    Logs through(linked);
    EXPECT_EQ(through.activityLogProblem(), QString());
    EXPECT_TRUE(through.writeLog("after"));
    EXPECT_TRUE(QFileInfo(linked + "/log.txt").isSymLink());
    const QStringList lines = readLines(target);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[1].endsWith(") after"));
}
