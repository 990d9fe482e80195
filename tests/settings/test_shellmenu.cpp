#include "desktop_entry.h"
#include "platform/filemanagerentry.h"
#include "settings/shellmenu.h"
#include "settings_fixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

class ShellMenuTest : public SettingsTest {
protected:
    ScriptedUi ui;
    Logs logs{programFolder()};
    QString entry() const { return root() + "/data/file-manager/actions/vexorren.desktop"; }
};

// The save's step writes every place, says nothing while all goes well, and
// removes them again once the option is off.
TEST_F(ShellMenuTest, ASaveWritesTheActionsAndASaveWithTheOptionOffRemovesThem)
{
    const QString thunar = root() + "/config/Thunar/uca.xml";
    const QByteArray mine = "<?xml version=\"1.0\"?>\n<actions>\n<action><name>Mine</name><unique-id>1-1</unique-id>"
                            "<command>true</command></action>\n</actions>\n";
    QDir().mkpath(root() + "/config/Thunar");
    {
        QFile f(thunar);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(mine);
    }
    Settings s;
    s.shellShowVexor = 1;
    save(s, shellMenuStep(ui, nullptr, logs));
    EXPECT_TRUE(ui.asked.empty());
    const QString program = QCoreApplication::applicationFilePath();
    EXPECT_EQ(desktopExecArguments(desktopExecValue(readText(entry())), "/d"), QStringList({program, "/p", "/d"}));
    for (const char* place : {"/data/kio/servicemenus/vexorren.desktop", "/data/nemo/actions/vexorren.nemo_action"})
        EXPECT_TRUE(readText(root() + place).contains(program)) << place;
    EXPECT_TRUE(readText(thunar).contains("<name>Mine</name>"));
    EXPECT_TRUE(readText(thunar).contains("<name>Start Vexor Renamer...</name>"));

    s.shellShowVexor = 0;
    save(s, shellMenuStep(ui, nullptr, logs));
    EXPECT_TRUE(ui.asked.empty());
    EXPECT_FALSE(QFileInfo::exists(entry()));
    EXPECT_FALSE(QFileInfo::exists(root() + "/data/kio/servicemenus/vexorren.desktop"));
    EXPECT_FALSE(QFileInfo::exists(root() + "/data/nemo/actions/vexorren.nemo_action"));
    QFile f(thunar);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), mine);
    // Nothing there: nothing to do and nothing to say.
    save(s, shellMenuStep(ui, nullptr, logs));
    EXPECT_TRUE(ui.asked.empty());
    EXPECT_EQ(errorLines().filter("file manager entry"), QStringList());
}

// A link in the place of the entry: the save replaces the link and the file it
// names keeps its content; a Thunar file behind a link is refused with the box.
TEST_F(ShellMenuTest, ASaveNeverWritesThroughALink)
{
    const QString target = writeFile("notes.txt", "my notes\n");
    QDir().mkpath(QFileInfo(entry()).path());
    ASSERT_TRUE(QFile::link(target, entry()));
    Settings s;
    s.shellShowVexor = 1;
    save(s, shellMenuStep(ui, nullptr, logs));
    EXPECT_TRUE(ui.asked.empty());
    EXPECT_EQ(readText(target), "my notes\n");
    EXPECT_FALSE(QFileInfo(entry()).isSymLink());
    EXPECT_TRUE(readText(entry()).contains("Start Vexor Renamer..."));

    const QString thunar = root() + "/config/Thunar/uca.xml";
    QDir().mkpath(root() + "/config/Thunar");
    QFile::remove(thunar);
    ASSERT_TRUE(QFile::link(target, thunar));
    ui.answers = {QMessageBox::Ok};
    save(s, shellMenuStep(ui, nullptr, logs));
    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(ui.asked[0].text, "Error creating keys in file manager entry!\n\n" + thunar +
                                    " is a symbolic link; the action was not added there.");
    EXPECT_EQ(readText(target), "my notes\n");
    EXPECT_TRUE(QFileInfo(thunar).isSymLink());
}

// Each save that cannot write or remove the entry says so once, naming every
// place that failed and why, writes an error line per place (which makes the
// exit status of a run 1), and the rest of the save (the keys after the entry,
// the two lists) still happens.
TEST_F(ShellMenuTest, AnEntryThatCannotBeWrittenOrRemovedGivesOneMessagePerSave)
{
    struct Case {
        const char* name;
        std::function<bool()> block; // false: this machine cannot set up the case
        int shellShowVexor;
        QStringList lines; // the box's lines after its heading
    };
    const QString apps = root() + "/data/file-manager/actions";
    const QString nemo = root() + "/data/nemo/actions/vexorren.nemo_action";
    const QString thunar = root() + "/config/Thunar/uca.xml";
    const auto thunarFile = [&](const QByteArray& content) {
        QDir().mkpath(root() + "/config/Thunar");
        QFile f(thunar);
        return f.open(QIODevice::WriteOnly) && f.write(content) == content.size();
    };
    const QByteArray withOurs = QByteArray("<actions>\n<action><unique-id>") + platform::kThunarActionId +
                                "</unique-id></action>\n</actions>\n";
    const Case cases[] = {
        {"read-only folder",
         [&] {
             QDir().mkpath(apps);
             QFile::setPermissions(apps, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
             return !QFileInfo(apps).isWritable(); // the super-user writes anyway
         },
         1,
         {entry() + " could not be written: Permission denied."}},
        {"folder in place of the entry",
         [&] { return QDir().mkpath(entry()); },
         1,
         {entry() + " could not be written: Is a directory."}},
        {"Thunar file that does not parse",
         [&] { return thunarFile("<actions><action>"); },
         1,
         {thunar + " is not a well-formed file of custom actions; the action was not added there."}},
        {"file in place of the folder",
         [&] {
             QDir().mkpath(QFileInfo(apps).path());
             QFile f(apps);
             return f.open(QIODevice::WriteOnly);
         },
         1,
         {entry() + " could not be written: Not a directory."}},
        {"two places at once",
         [&] {
             const QString target = writeFile("uca.xml", "<actions/>");
             return QDir().mkpath(nemo) && QDir().mkpath(QFileInfo(thunar).path()) && QFile::link(target, thunar);
         },
         1,
         {nemo + " could not be written: Is a directory.",
          thunar + " is a symbolic link; the action was not added there."}},
        {"folder in place of the entry, removing",
         [&] { return QDir().mkpath(entry() + "/inside"); },
         0,
         {entry() + " could not be removed: Is a directory."}},
        {"Thunar file with our action that does not parse, removing",
         [&] { return thunarFile(withOurs.chopped(11)); },
         0,
         {thunar + " is not a well-formed file of custom actions; the action was not removed there."}},
        {"Thunar link to a file with our action, removing",
         [&] {
             const QString target = writeFile("uca.xml", withOurs);
             return QDir().mkpath(QFileInfo(thunar).path()) && QFile::link(target, thunar);
         },
         0,
         {thunar + " is a symbolic link; the action was not removed there."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::setPermissions(apps, QFile::permissions(apps) | QFileDevice::WriteOwner);
        QDir(root() + "/data").removeRecursively();
        QDir(root() + "/config/Thunar").removeRecursively();
        QFile::remove(programFolder() + "/replace.txt");
        QFile::remove(programFolder() + "/errors.txt");
        if (!c.block())
            continue;
        Settings s;
        s.shellShowVexor = c.shellShowVexor;
        ui.asked.clear();
        ui.answers = {QMessageBox::Ok};
        tables.batchReplaceList = {BatchReplaceItem{"a", "b", 0, 0, 0, 0}};
        save(s, shellMenuStep(ui, nullptr, logs));
        const QString heading = c.shellShowVexor ? "Error creating keys in file manager entry!"
                                                 : "Error deleting keys from file manager entry!";
        ASSERT_EQ(ui.asked.size(), 1u);
        EXPECT_EQ(ui.asked[0].text, heading + "\n\n" + c.lines.join('\n'));
        // The save's own line about the keys may follow.
        const QStringList errors = errorLines().filter("file manager entry");
        ASSERT_EQ(errors.size(), c.lines.size()) << errors.join('\n').toStdString();
        for (qsizetype i = 0; i < errors.size(); ++i)
            EXPECT_TRUE(errors[i].endsWith(") " + heading + " " + c.lines[i])) << errors[i].toStdString();
        EXPECT_EQ(ui.asked[0].icon, QMessageBox::Critical);
        EXPECT_EQ(stored("lwShowGuidelines"), "0");
        EXPECT_EQ(readLines(programFolder() + "/replace.txt"), QStringList({"a/b/0/0/0/0"}));
    }
    QFile::setPermissions(apps, QFile::permissions(apps) | QFileDevice::WriteOwner);
}

// The error log writes a place's path once escaped, whatever it holds: a
// backslash and a tab in it read back as themselves.
TEST_F(ShellMenuTest, AFailedPlaceIsNamedInTheErrorLogAsItIs)
{
    const QString data = root() + "/da\\ta\tx";
    qputenv("XDG_DATA_HOME", QFile::encodeName(data));
    const QString place = data + "/file-manager/actions/vexorren.desktop";
    ASSERT_TRUE(QDir().mkpath(place + "/inside"));
    Settings s;
    s.shellShowVexor = 0;
    ui.answers = {QMessageBox::Ok};
    save(s, shellMenuStep(ui, nullptr, logs));
    ASSERT_EQ(ui.asked.size(), 1u);
    const QStringList errors = errorLines().filter("file manager entry");
    ASSERT_EQ(errors.size(), 1) << errors.join('\n').toStdString();
    EXPECT_TRUE(errors[0].endsWith(") Error deleting keys from file manager entry! " + root() +
                                   "/da\\\\ta\\tx/file-manager/actions/vexorren.desktop could not be removed: Is a "
                                   "directory."))
        << errors[0].toStdString();
}
