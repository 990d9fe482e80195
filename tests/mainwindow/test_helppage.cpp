// The shipped help page: it names every tag the drop-down lists offer, every
// start-mode word and the places of the settings, logs and configuration
// files, and it runs no script.
#include "mainwindow/taglists.h"
#include "platform/places.h"
#include "test_support.h"
#include "version.h"

#include <QFile>
#include <QRegularExpression>

namespace {

QString helpText()
{
    const QString path = platform::shippedFile("help.html");
    QFile f(path);
    if (path.isEmpty() || !f.open(QIODevice::ReadOnly))
        return QString();
    QString text = QString::fromUtf8(f.readAll());
    text.replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"").replace("&amp;", "&");
    return text;
}

QString tagOf(const char* item)
{
    const QString s = QString::fromLatin1(item);
    return s.mid(s.lastIndexOf('<'));
}

} // namespace

TEST(HelpPage, NamesEveryTagOfTheFourTagLists)
{
    const QString text = helpText();
    ASSERT_FALSE(text.isEmpty());
    QStringList tags;
    for (const char* item : kEnumFormatItems)
        tags << tagOf(item);
    for (const char* item : kMp3TagItems)
        tags << tagOf(item);
    for (const char* item : kFormatTagItems)
        tags << tagOf(item);
    for (int i = 1; i <= 9; ++i)
        tags << QString("<%%1>").arg(i);
    for (const QString& tag : tags)
        EXPECT_TRUE(text.contains("<code>" + tag + "</code>")) << tag.toStdString();
    // The Format table carries the captions of its drop-down list.
    for (const char* item : kFormatTagItems) {
        const QString s = QString::fromLatin1(item);
        EXPECT_TRUE(text.contains(s.left(s.lastIndexOf('<')).trimmed())) << s.toStdString();
    }
}

TEST(HelpPage, NamesTheCommandLineAndEveryStartModeWord)
{
    const QString text = helpText();
    for (const char* word : {"modereplace", "modebatchreplace", "modecase", "modeenum", "modenormalize", "modespace",
                             "modedate", "modeattrib", "modeadd", "modecrop", "modemp3", "modeformat", "modefiletype"})
        EXPECT_TRUE(text.contains(QString("<code>%1</code>").arg(word))) << word;
    for (const char* option : {"/p", "/e", "/x"})
        EXPECT_TRUE(text.contains(QString("<code>%1").arg(option))) << option;
}

TEST(HelpPage, SaysWhereSettingsLogsAndConfigurationFilesLive)
{
    const QString text = helpText();
    for (const char* place :
         {"~/.config/Taborin/Taborin.ini", "[Vexor Renamer]", "XDG_CONFIG_HOME", "~/.local/share/vexorren/",
          "VEXORREN_HOME", "log.txt", "errors.txt", "exceptions.txt", "replace.txt", "filetypes.txt", "codecs.txt",
          "waveformats.txt", "vexorren-folder.desktop"})
        EXPECT_TRUE(text.contains(place)) << place;
    for (const char* topic : {"Directory", "Free Select", "Undo", "Rename!"})
        EXPECT_TRUE(text.contains(topic)) << topic;
}

TEST(HelpPage, IsPlainHtmlWithoutScripts)
{
    const QString text = helpText().toLower();
    EXPECT_TRUE(text.startsWith("<!doctype html>"));
    EXPECT_FALSE(text.contains("<script"));
    EXPECT_FALSE(text.contains("javascript:"));
    EXPECT_FALSE(text.contains(QRegularExpression("\\son[a-z]+\\s*=")));
    EXPECT_FALSE(text.contains("<iframe"));
    EXPECT_FALSE(text.contains("<object"));
}

// The page carries the program's own version, written in by the build.
TEST(HelpPage, NamesTheProgramsVersion)
{
    const QString text = helpText();
    EXPECT_TRUE(text.contains(QString("<h1>Vexor Renamer %1</h1>").arg(kVersionText)));
    EXPECT_FALSE(text.contains('@'));
}
