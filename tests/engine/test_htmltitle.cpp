#include "engine/htmltitle.h"
#include "platform/failure.h"
#include "test_support.h"

#include <QFile>

#include <unistd.h>

TEST(FirstLetter, ModesTable)
{
    const struct {
        const char* text;
        int mode;
        const char* letter;
    } cases[] = {
        {"123abc.txt", 0, "A"},   {"123abc.txt", 1, "1"},
        {"123abc.txt", 2, "0-9"}, {"élan.doc", 0, "É"},
        {"élan.doc", 1, "É"},     {"élan.doc", 2, "É"},
        {"_Zeta", 0, "Z"},        {"---.txt", 0, "T"},
        {"---.txt", 2, "T"},      {"", 0, ""},
        {"--- 2004", 0, ""},      {"--- 2004", 1, "2"},
        {"--- 2004", 2, "0-9"},   {"abc", 3, ""},
        {"abc", -1, ""},          {"ÿes", 0, "Ÿ"},
        {"Ωmega", 0, "M"},        {"×", 0, "×"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(getFirstLetter(QString::fromUtf8(c.text), c.mode), QString::fromUtf8(c.letter))
            << c.text << " mode " << c.mode;
}

class HtmlTitle : public TempEnv {};

TEST_F(HtmlTitle, TitlesFromFiles)
{
    const struct {
        const char* file;
        QByteArray content;
        const char* title;
    } cases[] = {
        {"page.html", "<html><head><title>My Page</title></head>", "My Page"},
        {"upper.html", "<HTML><TITLE>My Page</TITLE>", "My Page"},
        {"entity.htm", "<title>&#9;A\r\nB</title>", "&#9;AB"},
        {"tab.htm", "<title>\tA</title>", " A"},
        {"empty.html", "<title></title>", ""},
        {"reversed.html", "</title><title>x", ""},
        {"noend.html", "<title>never closed", ""},
        {"attr.html", "<title lang=en>x</title>", ""},
        {"INDEX.HTM", "<Title>Shouting</TITLE>", "Shouting"},
        {"notes.txt", "<title> spaced </title>", " spaced "},
        {"report.pdf", "<title>Nope</title>", ""},
        {"script.php3", "<title>Nope</title>", ""},
        {"utf8.html", "<title>Gr\xc3\xbc\xc3\x9f\x65</title>", "Grüße"},
        {"ansi.html", "<title>Caf\xe9 \x80 \x96</title>", "Café € –"},
    };
    for (const auto& c : cases) {
        const QString path = writeFile(c.file, c.content);
        EXPECT_EQ(getHtmlTitle(path, 2048), QString::fromUtf8(c.title)) << c.file;
    }
}

TEST_F(HtmlTitle, ReadsOnlyTheStartOfTheFile)
{
    const QByteArray late = QByteArray(3000, ' ') + "<title>Late</title>";
    EXPECT_EQ(getHtmlTitle(writeFile("late.html", late), 2048), "");
    EXPECT_EQ(getHtmlTitle(writeFile("late2.html", late), 4096), "Late");
    // A title cut off by the read size is not found.
    EXPECT_EQ(getHtmlTitle(writeFile("cut.html", "<title>abcdef</title>"), 15), "");
}

TEST_F(HtmlTitle, ShortFileIsSearchedInTheBytesItHas)
{
    // Far below the read size: found, not a failure.
    EXPECT_EQ(getHtmlTitle(writeFile("small.html", "<title>Hi</title>"), 2048), "Hi");
}

TEST_F(HtmlTitle, DirectoriesMissingFilesAndLinksGiveNothing)
{
    EXPECT_EQ(getHtmlTitle(makeDir("site.html"), 2048), "");
    EXPECT_EQ(getHtmlTitle(work() + "/missing.html", 2048), "");
    const QString target = writeFile("real.html", "<title>Real</title>");
    ASSERT_TRUE(QFile::link(target, work() + "/link.html"));
    EXPECT_EQ(getHtmlTitle(work() + "/link.html", 2048), "");
}

TEST_F(HtmlTitle, UnreadableFileFailsToTheCaller)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    const QString path = writeFile("locked.html", "<title>x</title>");
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::Permissions()));
    try {
        getHtmlTitle(path, 2048);
        ADD_FAILURE() << "no failure";
    } catch (const platform::Failure& f) {
        EXPECT_EQ(f.number(), platform::failures::PermissionDenied);
    }
}
