#include "desktop_entry.h"
#include "platform/filemanagerentry.h"
#include "test_support.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>
#include <sys/types.h>

using namespace platform;

namespace platform {
// Readable failures in the test output instead of a byte dump.
void PrintTo(const FileManagerFailure& f, std::ostream* os)
{
    *os << '{' << f.path.toStdString() << ": " << f.reason.toStdString() << '}';
}
} // namespace platform

namespace {

const FileManagerFailures none;

QString xmlUnescaped(QString s)
{
    return s.replace("&lt;", "<").replace("&gt;", ">").replace("&amp;", "&");
}

// The command of our element in Thunar's file, split as Thunar splits it: %f
// becomes the quoted folder, "%%" a percent sign, then shell rules. The shell's
// double quotes take the same backslashes as a desktop entry's.
QStringList thunarArguments(const QByteArray& file, const QString& folder)
{
    const QString text = QString::fromUtf8(file);
    const qsizetype at = text.indexOf(QString("<unique-id>%1</unique-id>").arg(kThunarActionId));
    if (at < 0)
        return {};
    const qsizetype from = text.indexOf("<command>", at) + 9;
    const QString command = xmlUnescaped(text.mid(from, text.indexOf("</command>", from) - from));
    return desktopExecArguments(QString(command).replace("\\", "\\\\"), folder);
}

// desktop-file-validate knows only application entries: the Exec value is
// checked in one of those.
QString execComplaints(const QString& exec, const QString& scratch)
{
    writeFileBytes(scratch, "[Desktop Entry]\nType=Application\nName=Check\nExec=" + exec.toUtf8() + "\n");
    return desktopFileComplaints(scratch);
}

int occurrences(const QByteArray& text, const QByteArray& part)
{
    return text.count(part);
}

// A user's Thunar file as Thunar writes it, and one edited by hand.
const QByteArray userThunarFile = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                  "<actions>\n"
                                  "<action>\n"
                                  "\t<icon>utilities-terminal</icon>\n"
                                  "\t<name>Open Terminal Here</name>\n"
                                  "\t<submenu></submenu>\n"
                                  "\t<unique-id>1700000000000001-1</unique-id>\n"
                                  "\t<command>exo-open --working-directory %f --launch TerminalEmulator</command>\n"
                                  "\t<description>Example for a custom action</description>\n"
                                  "\t<range></range>\n"
                                  "\t<patterns>*</patterns>\n"
                                  "\t<startup-notify/>\n"
                                  "\t<directories/>\n"
                                  "</action>\n"
                                  "<action>\n"
                                  "\t<icon></icon>\n"
                                  "\t<name>Zip &amp; keep</name>\n"
                                  "\t<submenu>Archive</submenu>\n"
                                  "\t<unique-id>1700000000000002-2</unique-id>\n"
                                  "\t<command>zip -r %n.zip %n</command>\n"
                                  "\t<description></description>\n"
                                  "\t<range></range>\n"
                                  "\t<patterns>*</patterns>\n"
                                  "\t<directories/>\n"
                                  "\t<other-files/>\n"
                                  "</action>\n"
                                  "</actions>\n";
const QByteArray handThunarFile =
    "\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n"
    "<!-- mine: Grüße -->\r\n"
    "  <actions   >\r\n"
    "    <action><name>A</name><unique-id>x</unique-id><command><![CDATA[a <b>]]></command>"
    "</action>\r\n"
    "  </actions>\r\n"
    "<!-- after -->";

// Thunar's defaults as a distribution ships them: a document type with an
// internal subset, translations, blank lines, no unique id.
const QByteArray thunarDefaults = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                  "<!DOCTYPE actions [\n"
                                  "  <!ELEMENT actions (action)+>\n"
                                  "  <!ELEMENT name (#PCDATA)>\n"
                                  "  <!ATTLIST name xml:lang CDATA #IMPLIED>\n"
                                  "]>\n"
                                  "<actions>\n"
                                  "\n"
                                  "  <action>\n"
                                  "    <icon>utilities-terminal</icon>\n"
                                  "    <patterns>*</patterns>\n"
                                  "    <range/>\n"
                                  "    <name>Open Terminal Here</name>\n"
                                  "    <name xml:lang=\"de\">Terminal hier \xC3\xB6\x66\x66nen</name>\n"
                                  "    <command>exo-open --working-directory %f --launch TerminalEmulator</command>\n"
                                  "    <description>Example for a custom action</description>\n"
                                  "    <startup-notify/>\n"
                                  "    <directories/>\n"
                                  "  </action>\n"
                                  "\n"
                                  "</actions>\n";

} // namespace

class FileManagerEntryTest : public TempEnv {
protected:
    FileManagerPlaces places() const { return fileManagerPlaces(); }
    QStringList ownFiles() const
    {
        const FileManagerPlaces p = places();
        return {p.actions, p.serviceMenu, p.nemoAction};
    }
    // Every file below the temporary home's data and configuration folders.
    QStringList allFiles() const
    {
        QStringList files;
        for (const char* base : {"/data", "/config"}) {
            QDirIterator it(root() + base, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
            while (it.hasNext())
                files << it.next().mid(root().size());
        }
        files.sort();
        return files;
    }
    QString defaultsFile() const { return systemConfig() + "/Thunar/uca.xml"; }
    static QByteArray ourElement() { return thunarActionElement("/usr/bin/vexorren").toUtf8() + "\n"; }
    // The Thunar file with our element and the comment we end a started file with taken out.
    QByteArray withoutOurs(QByteArray file) const
    {
        file.replace(ourElement(), "");
        const qsizetype mark = file.lastIndexOf("<!-- Started for the folder action of Vexor Renamer");
        return mark < 0 ? file : file.left(mark);
    }
};

TEST_F(FileManagerEntryTest, ThePlacesComeFromTheXdgFoldersUnlessTheyAreRelative)
{
    const FileManagerPlaces p = places();
    EXPECT_EQ(p.actions, root() + "/data/file-manager/actions/vexorren.desktop");
    EXPECT_EQ(p.serviceMenu, root() + "/data/kio/servicemenus/vexorren.desktop");
    EXPECT_EQ(p.nemoAction, root() + "/data/nemo/actions/vexorren.nemo_action");
    EXPECT_EQ(p.thunar, root() + "/config/Thunar/uca.xml");
    EXPECT_EQ(p.oldEntry, root() + "/data/applications/vexorren-folder.desktop");

    const QByteArray data = qgetenv("XDG_DATA_HOME"), config = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_DATA_HOME", "relative/data");
    qputenv("XDG_CONFIG_HOME", "relative/config");
    EXPECT_EQ(places().actions, QDir::homePath() + "/.local/share/file-manager/actions/vexorren.desktop");
    EXPECT_EQ(places().thunar, QDir::homePath() + "/.config/Thunar/uca.xml");
    qputenv("XDG_DATA_HOME", data);
    qputenv("XDG_CONFIG_HOME", config);
}

TEST_F(FileManagerEntryTest, CommandArgumentsAreQuotedForEveryFormat)
{
    struct Case {
        const char* path;
        const char* quoted; // "" when no command line can hold it
    };
    const Case cases[] = {
        {"/usr/bin/vexorren", R"("/usr/bin/vexorren")"},
        {"/opt/my apps/vexorren", R"("/opt/my apps/vexorren")"},
        {R"(/opt/say "hi"/vexorren)", R"("/opt/say \"hi\"/vexorren")"},
        {R"(/opt/back\slash/vexorren)", R"("/opt/back\\slash/vexorren")"},
        {"/opt/$HOME/vexorren", R"("/opt/\$HOME/vexorren")"},
        {"/opt/`id`/vexorren", R"("/opt/\`id\`/vexorren")"},
        {"/opt/100%/vexorren", R"("/opt/100%%/vexorren")"},
        {"/opt/it's <&>/vexorren", R"("/opt/it's <&>/vexorren")"},
        {"/opt/tab\there/vexorren", ""},
        {"/opt/line\nbreak/vexorren", ""},
    };
    const QString folder = R"(/home/me/My "odd" $dir 50% it's)";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const QString program = QString::fromUtf8(c.path);
        EXPECT_EQ(quotedCommandArgument(program), QString::fromUtf8(c.quoted));
        EXPECT_EQ(desktopExecArgument(program), QString::fromUtf8(c.quoted).replace("\\", "\\\\"));
        const QStringList texts = {fileManagerActionText(program), serviceMenuText(program), nemoActionText(program),
                                   thunarActionElement(program)};
        if (!*c.quoted) {
            EXPECT_EQ(texts, QStringList({"", "", "", ""}));
            continue;
        }
        const QStringList expected = {program, "/p", folder};
        for (const QString& text : texts.mid(0, 2))
            EXPECT_EQ(desktopExecArguments(desktopExecValue(text), folder), expected);
        // Nemo's field code of the selected path is %F.
        EXPECT_EQ(desktopExecArguments(desktopExecValue(texts[2]).replace("%F", "%f"), folder), expected);
        EXPECT_EQ(thunarArguments(thunarActionElement(program).toUtf8(), folder), expected);
        EXPECT_EQ(execComplaints(desktopExecValue(texts[0]), work() + "/check.desktop"), QString());
    }
    // Only an absolute program.
    EXPECT_EQ(fileManagerActionText("vexorren"), QString());
    EXPECT_EQ(thunarActionElement("bin/vexorren"), QString());
}

TEST_F(FileManagerEntryTest, EveryFormatIsWrittenReadBackAndRemoved)
{
    const QString program = work() + R"(/odd "bin" $dir\100%/it's vexorren)";
    ASSERT_EQ(writeFileManagerEntries(program), none);
    const FileManagerPlaces p = places();
    EXPECT_EQ(allFiles(),
              QStringList({"/config/Thunar/uca.xml", "/data/file-manager/actions/vexorren.desktop",
                           "/data/kio/servicemenus/vexorren.desktop", "/data/nemo/actions/vexorren.nemo_action"}));
    const QString folder = "/home/me/My Music";
    const QStringList expected = {program, "/p", folder};

    const QString action = readText(p.actions);
    for (const char* line : {"[Desktop Entry]", "Type=Action", "Name=Start Vexor Renamer...", "Profiles=folder;",
                             "[X-Action-Profile folder]", "MimeTypes=inode/directory;"})
        EXPECT_TRUE(action.split('\n').contains(line)) << line;
    EXPECT_EQ(desktopExecArguments(desktopExecValue(action), folder), expected);

    const QString service = readText(p.serviceMenu);
    for (const char* line : {"Type=Service", "MimeType=inode/directory;", "Actions=startVexorRenamer;",
                             "[Desktop Action startVexorRenamer]", "Name=Start Vexor Renamer..."})
        EXPECT_TRUE(service.split('\n').contains(line)) << line;
    EXPECT_EQ(desktopExecArguments(desktopExecValue(service), folder), expected);
    EXPECT_TRUE(QFileInfo(p.serviceMenu).permissions() & QFileDevice::ExeOwner);

    const QString nemo = readText(p.nemoAction);
    for (const char* line : {"[Nemo Action]", "Name=Start Vexor Renamer...", "Selection=s", "Extensions=dir;"})
        EXPECT_TRUE(nemo.split('\n').contains(line)) << line;
    EXPECT_TRUE(desktopExecValue(nemo).endsWith(" /p %F"));

    const QByteArray thunar = fileBytes(p.thunar);
    EXPECT_EQ(thunarArguments(thunar, folder), expected);
    EXPECT_EQ(occurrences(thunar, "<action>"), 1);
    EXPECT_TRUE(thunar.contains("<name>Start Vexor Renamer...</name>"));
    EXPECT_TRUE(thunar.contains("<directories/>"));

    // Written again for another program: each place holds the new one once.
    ASSERT_EQ(writeFileManagerEntries("/usr/bin/vexorren"), none);
    EXPECT_EQ(desktopExecArguments(desktopExecValue(readText(p.actions)), "/d"),
              QStringList({"/usr/bin/vexorren", "/p", "/d"}));
    EXPECT_EQ(thunarArguments(fileBytes(p.thunar), "/d"), QStringList({"/usr/bin/vexorren", "/p", "/d"}));
    EXPECT_EQ(occurrences(fileBytes(p.thunar), "<action>"), 1);
    EXPECT_EQ(allFiles().size(), 4); // no temporary file left

    // No application entry and no mimeapps.list: the renamer never handles folders.
    for (const QString& file : allFiles())
        EXPECT_FALSE(file.contains("applications") || file.contains("mimeapps")) << file.toStdString();

    ASSERT_EQ(removeFileManagerEntries(), none);
    // Thunar's file was ours alone: it goes, and Thunar shows its defaults again.
    EXPECT_EQ(allFiles(), QStringList());
    EXPECT_EQ(removeFileManagerEntries(), none);
}

TEST_F(FileManagerEntryTest, TheUsersOtherThunarActionsStayByteForByte)
{
    const QString thunar = places().thunar;
    for (const QByteArray& original : {userThunarFile, handThunarFile}) {
        SCOPED_TRACE(original.left(60).toStdString());
        writeFileBytes(thunar, original);
        ASSERT_EQ(writeFileManagerEntries("/usr/bin/vexorren"), none);
        const QByteArray with = fileBytes(thunar);
        const QByteArray element = thunarActionElement("/usr/bin/vexorren").toUtf8() + "\n";
        ASSERT_EQ(occurrences(with, element), 1);
        EXPECT_EQ(QByteArray(with).replace(element, ""), original);
        EXPECT_EQ(thunarArguments(with, "/x"), QStringList({"/usr/bin/vexorren", "/p", "/x"}));

        // A save with nothing to change leaves the file alone.
        const struct stat before = [&] {
            struct stat st {};
            ::stat(QFile::encodeName(thunar).constData(), &st);
            return st;
        }();
        ASSERT_EQ(writeFileManagerEntries("/usr/bin/vexorren"), none);
        struct stat after {};
        ::stat(QFile::encodeName(thunar).constData(), &after);
        EXPECT_EQ(after.st_ino, before.st_ino);

        ASSERT_EQ(removeFileManagerEntries(), none);
        EXPECT_EQ(fileBytes(thunar), original);
    }

    // Where Thunar itself put our element, among the user's, and twice.
    const QByteArray ours = thunarActionElement("/old/vexorren").toUtf8() + "\n";
    const qsizetype second = userThunarFile.indexOf("<action>", 20);
    QByteArray moved = userThunarFile;
    moved.insert(second, ours);
    moved.insert(moved.indexOf("</actions>"), ours);
    writeFileBytes(thunar, moved);
    ASSERT_EQ(writeFileManagerEntries("/usr/bin/vexorren"), none);
    const QByteArray once = fileBytes(thunar);
    EXPECT_EQ(occurrences(once, QByteArray("<unique-id>") + kThunarActionId), 1);
    EXPECT_EQ(once.indexOf(kThunarActionId) > second, true);
    EXPECT_EQ(thunarArguments(once, "/x"), QStringList({"/usr/bin/vexorren", "/p", "/x"}));
    ASSERT_EQ(removeFileManagerEntries(), none);
    EXPECT_EQ(fileBytes(thunar), userThunarFile);

    // An empty list written as <actions/> opens up to hold ours.
    writeFileBytes(thunar, "<?xml version=\"1.0\"?>\n<actions/>\n");
    ASSERT_EQ(writeFileManagerEntries("/usr/bin/vexorren"), none);
    EXPECT_EQ(thunarArguments(fileBytes(thunar), "/x"), QStringList({"/usr/bin/vexorren", "/p", "/x"}));
    ASSERT_EQ(removeFileManagerEntries(), none);
    EXPECT_EQ(fileBytes(thunar), "<?xml version=\"1.0\"?>\n<actions>\n</actions>\n");
}

// Refused with its reason when adding; when removing, a file that does not
// even mention our element holds nothing to remove and is no failure.
TEST_F(FileManagerEntryTest, AThunarFileThatDoesNotParseIsRefusedAndKept)
{
    const QString thunar = places().thunar;
    const QByteArray cases[] = {
        "<actions><action></actions>",
        "not xml at all",
        "<?xml version=\"1.0\"?>\n<other><action/></other>\n",
        "<actions>\xff\xfe</actions>",
        QByteArray("<actions><action><unique-id>") + kThunarActionId + "</unique-id></action>",
    };
    for (const QByteArray& bad : cases) {
        SCOPED_TRACE(bad.toStdString());
        EXPECT_EQ(thunarFileWith(bad, "<action/>"), std::nullopt);
        writeFileBytes(thunar, bad);
        EXPECT_EQ(writeFileManagerEntries("/usr/bin/vexorren"),
                  FileManagerFailures({{thunar, "is not a well-formed file of custom actions; the action was not "
                                                "added there"}}));
        EXPECT_EQ(fileBytes(thunar), bad);
        // The other places are still written.
        EXPECT_TRUE(QFileInfo::exists(places().actions));
        const FileManagerFailures removing = removeFileManagerEntries();
        if (bad.contains(kThunarActionId))
            EXPECT_EQ(removing, FileManagerFailures({{thunar, "is not a well-formed file of custom actions; the "
                                                              "action was not removed there"}}));
        else
            EXPECT_EQ(removing, none);
        EXPECT_EQ(fileBytes(thunar), bad);
        EXPECT_FALSE(QFileInfo::exists(places().actions));
    }
}

// A link in any place is never written through: what it names keeps its
// bytes. Our own files replace the link; Thunar's, the user's file too, is
// refused. Other non-regular files in the place never hang the save.
TEST_F(FileManagerEntryTest, ALinkInAnyPlaceIsNeverWrittenThrough)
{
    const FileManagerPlaces p = places();
    const QByteArray precious = "precious data\n";
    const QString target = writeFile("target.txt", precious);
    const QStringList own = {p.actions, p.serviceMenu, p.nemoAction, p.oldEntry};
    const auto linkAll = [&](const QString& to) {
        for (const QString& place : own + QStringList{p.thunar}) {
            QFile::remove(place);
            QDir().mkpath(QFileInfo(place).path());
            ASSERT_TRUE(QFile::link(to, place)) << place.toStdString();
        }
    };

    for (const QString& to : {target, work() + "/missing.txt"}) {
        SCOPED_TRACE(to.toStdString());
        linkAll(to);
        EXPECT_EQ(writeFileManagerEntries("/usr/bin/vexorren"),
                  FileManagerFailures({{p.thunar, "is a symbolic link; the action was not added there"}}));
        EXPECT_EQ(fileBytes(target), precious);
        EXPECT_FALSE(QFileInfo::exists(work() + "/missing.txt"));
        for (const QString& place : own.mid(0, 3)) {
            EXPECT_FALSE(QFileInfo(place).isSymLink()) << place.toStdString();
            EXPECT_TRUE(readText(place).contains("Start Vexor Renamer...")) << place.toStdString();
        }
        EXPECT_FALSE(QFileInfo::exists(p.oldEntry) || QFileInfo(p.oldEntry).isSymLink());
        EXPECT_TRUE(QFileInfo(p.thunar).isSymLink());

        // Removing: the links go, what they name stays; a Thunar link whose
        // file holds nothing of ours is nothing to remove.
        linkAll(to);
        EXPECT_EQ(removeFileManagerEntries(), none);
        EXPECT_EQ(fileBytes(target), precious);
        for (const QString& place : own)
            EXPECT_FALSE(QFileInfo(place).isSymLink() || QFileInfo::exists(place)) << place.toStdString();
    }

    // A Thunar link to a file that holds our element cannot be cleaned without
    // writing through it: refused, the file unchanged.
    const QByteArray withOurs = userThunarFile.left(userThunarFile.indexOf("</actions>")) +
                                thunarActionElement("/usr/bin/vexorren").toUtf8() + "\n</actions>\n";
    const QString dotfile = writeFile("dotfiles/uca.xml", withOurs);
    QFile::remove(p.thunar);
    ASSERT_TRUE(QFile::link(dotfile, p.thunar));
    EXPECT_EQ(removeFileManagerEntries(),
              FileManagerFailures({{p.thunar, "is a symbolic link; the action was not removed there"}}));
    EXPECT_EQ(fileBytes(dotfile), withOurs);
    EXPECT_TRUE(QFileInfo(p.thunar).isSymLink());
    QFile::remove(p.thunar);

    // A FIFO in every place: ours are replaced, Thunar's is refused, nothing blocks.
    for (const QString& place : own + QStringList{p.thunar}) {
        QFile::remove(place);
        ASSERT_EQ(::mkfifo(QFile::encodeName(place).constData(), 0644), 0);
    }
    EXPECT_EQ(writeFileManagerEntries("/usr/bin/vexorren"),
              FileManagerFailures({{p.thunar, "is not a regular file; the action was not added there"}}));
    for (const QString& place : own.mid(0, 3))
        EXPECT_TRUE(QFileInfo(place).isFile() && readText(place).contains("Start Vexor Renamer..."));
    EXPECT_FALSE(QFileInfo::exists(p.oldEntry));
    EXPECT_EQ(removeFileManagerEntries(), none); // a FIFO holds nothing of ours
}

// A user without a Thunar file gets Thunar's defaults with our action, so the
// menu keeps "Open Terminal Here"; taking our action out again removes the
// copy while it is still what we started, so Thunar reads its defaults again.
TEST_F(FileManagerEntryTest, AUserWithoutAThunarFileStartsFromThunarsDefaults)
{
    const QString thunar = places().thunar;
    // Thunar's search order: the first folder that has the file. A relative or
    // empty entry does not count.
    const QString first = root() + "/xdg-first", second = root() + "/xdg-second", third = root() + "/xdg-third";
    QDir().mkpath(first);
    writeFileBytes(second + "/Thunar/uca.xml", thunarDefaults);
    writeFileBytes(third + "/Thunar/uca.xml", "<?xml version=\"1.0\"?>\n<actions>\n</actions>\n");
    writeFileBytes(root() + "/relative/Thunar/uca.xml", "<?xml version=\"1.0\"?>\n<actions>\n</actions>\n");
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(root());
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName("relative::" + first + ":" + second + ":" + third));
    EXPECT_EQ(thunarDefaultsFile(), second + "/Thunar/uca.xml");

    ASSERT_EQ(writeFileManagerEntries("/usr/bin/vexorren"), none);
    QDir::setCurrent(cwd);
    const QByteArray started = fileBytes(thunar);
    EXPECT_EQ(withoutOurs(started), thunarDefaults);
    EXPECT_EQ(started.indexOf(ourElement()), thunarDefaults.lastIndexOf("</actions>"));
    EXPECT_TRUE(started.contains("<name>Open Terminal Here</name>"));
    EXPECT_TRUE(started.endsWith(" -->\n"));
    EXPECT_EQ(thunarFileWith(started, QString()).has_value(), true);
    EXPECT_EQ(thunarArguments(started, "/x"), QStringList({"/usr/bin/vexorren", "/p", "/x"}));
    EXPECT_EQ(fileBytes(second + "/Thunar/uca.xml"), thunarDefaults);
    // Saved again, with or without the defaults: the file is the user's now and only our element counts.
    QFile::remove(second + "/Thunar/uca.xml");
    ASSERT_EQ(writeFileManagerEntries("/usr/bin/vexorren"), none);
    EXPECT_EQ(fileBytes(thunar), started);

    ASSERT_EQ(removeFileManagerEntries(), none);
    EXPECT_FALSE(QFileInfo::exists(thunar));
    EXPECT_EQ(allFiles(), QStringList());

    // Defaults updated after the start: the copy is still only ours and goes.
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(systemConfig()));
    writeFileBytes(defaultsFile(), thunarDefaults);
    ASSERT_EQ(writeFileManagerEntries("/usr/bin/vexorren"), none);
    writeFileBytes(defaultsFile(), QByteArray(thunarDefaults).replace("Open Terminal Here", "Open a Terminal Here"));
    ASSERT_EQ(removeFileManagerEntries(), none);
    EXPECT_FALSE(QFileInfo::exists(thunar));
}

// Once anybody changed the copy, it is the user's file: only our element goes.
TEST_F(FileManagerEntryTest, AThunarFileWeStartedStaysOnceItChanged)
{
    const QString thunar = places().thunar;
    writeFileBytes(defaultsFile(), thunarDefaults);
    const QByteArray handAction =
        "<action><name>Mine</name><unique-id>1-1</unique-id><command>true</command></action>\n";
    struct Case {
        const char* name;
        std::function<QByteArray(QByteArray)> change; // the started file as changed
    };
    const Case cases[] = {
        {"an action added by hand", [&](QByteArray f) { return f.insert(f.indexOf("</actions>"), handAction); }},
        // Thunar writes the file anew without comments when the user edits actions there.
        {"saved by Thunar", [&](QByteArray f) { return f.left(f.lastIndexOf("<!--")); }},
        {"a blank line less", [&](QByteArray f) { return f.replace("<actions>\n\n", "<actions>\n"); }},
        {"our comment edited", [&](QByteArray f) { return f.replace("sha256 ", "sha256 0"); }},
        {"something after our comment", [&](QByteArray f) { return f + "<!-- mine -->\n"; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(thunar);
        ASSERT_EQ(writeFileManagerEntries("/usr/bin/vexorren"), none);
        const QByteArray changed = c.change(fileBytes(thunar));
        writeFileBytes(thunar, changed);
        ASSERT_EQ(removeFileManagerEntries(), none);
        ASSERT_TRUE(QFileInfo::exists(thunar));
        EXPECT_EQ(fileBytes(thunar), QByteArray(changed).replace(ourElement(), ""));
        EXPECT_FALSE(fileBytes(thunar).contains(kThunarActionId));
    }
}

// Defaults that cannot be used leave the user's menu as before: the file
// starts with only our action, the save reports nothing, and the file goes
// again with our action. Usable ones of any shape are copied byte for byte.
TEST_F(FileManagerEntryTest, ThunarsDefaultsOfAnyShapeAreCopiedOrPassedOver)
{
    const QString thunar = places().thunar;
    const QByteArray onlyOurs = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<actions>\n</actions>\n";
    const QByteArray crlf =
        "\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n<actions>\r\n<action><name>A</name></action>\r\n</actions>";
    struct Case {
        const char* name;
        std::function<void()> make;
        QByteArray rest; // the started file without our element and comment
    };
    const auto defaults = [&](const QByteArray& bytes) {
        return [&, bytes] { writeFileBytes(defaultsFile(), bytes); };
    };
    const auto inDefaultsPlace = [&](const std::function<bool(const QByteArray&)>& make) {
        return [&, make] {
            QDir().mkpath(systemConfig() + "/Thunar");
            ASSERT_TRUE(make(QFile::encodeName(defaultsFile())));
        };
    };
    const Case cases[] = {
        {"byte order mark, CR LF, no last line break", defaults(crlf), crlf},
        {"an empty list", defaults("<?xml version=\"1.0\"?>\n<actions/>\n"),
         "<?xml version=\"1.0\"?>\n<actions>\n</actions>\n"},
        {"a link to the defaults", inDefaultsPlace([&](const QByteArray& place) {
             return QFile::link(writeFile("shipped/uca.xml", thunarDefaults), QFile::decodeName(place));
         }),
         thunarDefaults},
        {"not well-formed", defaults(QByteArray(thunarDefaults).replace("</action>", "")), onlyOurs},
        {"another root", defaults("<?xml version=\"1.0\"?>\n<menu><action/></menu>\n"), onlyOurs},
        {"not UTF-8", defaults("<actions><action><name>\xff</name></action></actions>"), onlyOurs},
        {"empty", defaults(""), onlyOurs},
        {"a folder", inDefaultsPlace([](const QByteArray& place) { return ::mkdir(place.constData(), 0755) == 0; }),
         onlyOurs},
        {"a FIFO", inDefaultsPlace([](const QByteArray& place) { return ::mkfifo(place.constData(), 0644) == 0; }),
         onlyOurs},
        {"a dangling link", inDefaultsPlace([&](const QByteArray& place) {
             return QFile::link(work() + "/gone.xml", QFile::decodeName(place));
         }),
         onlyOurs},
        {"larger than 16 MB",
         defaults("<actions>" + QByteArray(16 * 1024 * 1024, ' ') + "<action><name>B</name></action></actions>"),
         onlyOurs},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(systemConfig()).removeRecursively();
        QFile::remove(thunar);
        c.make();
        ASSERT_EQ(writeFileManagerEntries("/usr/bin/vexorren"), none);
        const QByteArray started = fileBytes(thunar);
        EXPECT_EQ(withoutOurs(started), c.rest);
        EXPECT_EQ(thunarArguments(started, "/x"), QStringList({"/usr/bin/vexorren", "/p", "/x"}));
        ASSERT_EQ(removeFileManagerEntries(), none);
        EXPECT_FALSE(QFileInfo::exists(thunar));
    }
}

// A file started by an earlier version, with its comment at the top, goes too.
TEST_F(FileManagerEntryTest, AThunarFileStartedByAnEarlierVersionStillGoes)
{
    writeFileBytes(places().thunar, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                    "<!-- Written for the folder action of Vexor Renamer. -->\n"
                                    "<actions>\n" +
                                        ourElement() + "</actions>\n");
    ASSERT_EQ(removeFileManagerEntries(), none);
    EXPECT_FALSE(QFileInfo::exists(places().thunar));
}

TEST_F(FileManagerEntryTest, TheFailureTextNamesEachPlaceOnItsOwnLine)
{
    const QString longPath = "/" + QString(500, 'a') + "/uca.xml";
    const QString text = fileManagerFailureText(
        "Heading!", {{"/home/me/.config/Thunar/uca.xml", "is a symbolic link; the action was not added there"},
                     {"/tmp/odd\nname\x01\x7f\t/x.desktop", "could not be written: Permission denied"},
                     {longPath, "could not be removed: Is a directory"}});
    const QStringList lines = text.split('\n');
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0], "Heading!");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "/home/me/.config/Thunar/uca.xml is a symbolic link; the action was not added there.");
    EXPECT_EQ(lines[3], "/tmp/odd\\nname\\x01\\x7F\\t/x.desktop could not be written: Permission denied.");
    EXPECT_LT(lines[4].size(), 450);
    EXPECT_TRUE(lines[4].startsWith("/aaa"));
    EXPECT_TRUE(lines[4].endsWith("aaa/uca.xml could not be removed: Is a directory."));
}

TEST_F(FileManagerEntryTest, TheOldFolderHandlerGoesAtTheFirstSave)
{
    const QString old = places().oldEntry;
    for (const bool create : {true, false}) {
        writeFileBytes(old, "[Desktop Entry]\nType=Application\nName=Start Vexor Renamer...\nExec=\"/x\" /p %f\n"
                            "MimeType=inode/directory;\nNoDisplay=true\n");
        writeFileBytes(root() + "/data/applications/other.desktop", "[Desktop Entry]\n");
        EXPECT_EQ(create ? writeFileManagerEntries("/usr/bin/vexorren") : removeFileManagerEntries(), none);
        EXPECT_FALSE(QFileInfo::exists(old));
        EXPECT_TRUE(QFileInfo::exists(root() + "/data/applications/other.desktop"));
    }
}

TEST_F(FileManagerEntryTest, AProgramPathNoFormatCanHoldWritesNothing)
{
    writeFileBytes(places().thunar, userThunarFile);
    const QString notHeld = "cannot hold the program's path; the action was not added there";
    const FileManagerPlaces p = places();
    EXPECT_EQ(writeFileManagerEntries("/opt/line\nbreak/vexorren"),
              FileManagerFailures(
                  {{p.actions, notHeld}, {p.serviceMenu, notHeld}, {p.nemoAction, notHeld}, {p.thunar, notHeld}}));
    EXPECT_EQ(allFiles(), QStringList({"/config/Thunar/uca.xml"}));
    EXPECT_EQ(fileBytes(places().thunar), userThunarFile);
}
