#include "platform/settingsstore.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QSysInfo>
#include <QTemporaryDir>

#include <functional>
#include <sys/stat.h>
#include <unistd.h>

using platform::SettingsStore;

class SettingsStoreTest : public TempEnv {};

TEST_F(SettingsStoreTest, WriteReadDeleteKeepsOtherSections)
{
    {
        SettingsStore other(QStringLiteral("Other Program"));
        other.setValue("keep", "1");
    }
    SettingsStore store;
    EXPECT_EQ(store.value("missing", "dflt"), "dflt");
    store.setValue("txtFind", "a, b");
    store.setValue("hideLogo", "False");
    ASSERT_TRUE(store.sync());
    EXPECT_TRUE(store.fileName().startsWith(root() + "/config/Taborin/Taborin.ini"));
    {
        SettingsStore again;
        EXPECT_EQ(again.value("txtFind"), "a, b");
        EXPECT_EQ(again.value("hideLogo"), "False");
        EXPECT_EQ(again.keys().size(), 2);
        again.deleteSection();
    }
    SettingsStore after;
    EXPECT_TRUE(after.keys().isEmpty());
    EXPECT_EQ(SettingsStore(QStringLiteral("Other Program")).value("keep"), "1");
}

TEST_F(SettingsStoreTest, ReadingNeverCreatesTheFile)
{
    {
        SettingsStore store;
        EXPECT_EQ(store.value("x", "d"), "d");
        store.deleteSection();
    }
    EXPECT_FALSE(QFile::exists(root() + "/config/Taborin/Taborin.ini"));
}

// A store that is no regular file, also behind a link, is never opened (a FIFO
// would block) and never written: it reads as empty and keeps its place.
TEST_F(SettingsStoreTest, AStoreThatCannotBeReadIsNeverOpenedNorWritten)
{
    const QString file = SettingsStore().fileName();
    const QByteArray native = QFile::encodeName(file);
    const QByteArray fifo = QFile::encodeName(root() + "/fifo");
    const QByteArray folder = QFile::encodeName(root() + "/folder");
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    ASSERT_TRUE(QDir().mkpath(root() + "/folder"));
    QDir().mkpath(QFileInfo(file).path());
    const struct {
        const char* name;
        std::function<void()> make;
        mode_t type; // of the store's own place, seen with lstat
    } cases[] = {
        {"fifo", [&] { ::mkfifo(native.constData(), 0600); }, S_IFIFO},
        {"link to a fifo", [&] { ::symlink(fifo.constData(), native.constData()); }, S_IFLNK},
        {"link to a directory", [&] { ::symlink(folder.constData(), native.constData()); }, S_IFLNK},
        {"link to itself", [&] { ::symlink(native.constData(), native.constData()); }, S_IFLNK},
        {"directory", [&] { ::mkdir(native.constData(), 0700); }, S_IFDIR},
    };
    for (const auto& c : cases) {
        c.make();
        {
            SettingsStore store;
            EXPECT_NE(store.readError(), 0) << c.name;
            EXPECT_EQ(store.value("txtFind", "dflt"), "dflt") << c.name;
            EXPECT_TRUE(store.keys().isEmpty()) << c.name;
            store.setValue("txtFind", "x");
            store.deleteSection();
            EXPECT_FALSE(store.sync()) << c.name;
        }
        struct stat st {};
        ASSERT_EQ(::lstat(native.constData(), &st), 0) << c.name;
        EXPECT_EQ(st.st_mode & S_IFMT, c.type) << c.name;
        EXPECT_TRUE(QDir(root() + "/folder").isEmpty()) << c.name;
        if (S_ISDIR(st.st_mode))
            ::rmdir(native.constData());
        else
            ::unlink(native.constData());
    }

    // A link to a regular file (a dotfile set up by the user) is read and
    // written through, and stays a link.
    const QString target = root() + "/dotfiles/Taborin.ini";
    QDir().mkpath(root() + "/dotfiles");
    {
        QFile f(target);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Vexor%20Renamer]\ntxtFind=kept\n");
    }
    ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), native.constData()), 0);
    {
        SettingsStore store;
        EXPECT_EQ(store.readError(), 0);
        EXPECT_EQ(store.value("txtFind"), "kept");
        store.setValue("txtReplace", "new");
        EXPECT_TRUE(store.sync());
    }
    EXPECT_TRUE(QFileInfo(file).isSymLink());
    EXPECT_EQ(SettingsStore().value("txtReplace"), "new");
}

namespace {

// A store file as a user and another program of the same maker left it: a
// comment, another program's section with a Latin-1 value and its own spacing,
// ours, and a third section after it.
const QByteArray sharedFile = "; Taborin settings, kept in my dotfiles\n"
                              "[Other%20Program]\n"
                              "name=Gr\xfc\xdf"
                              "e\n"
                              "  odd = spacing  \n"
                              "\n"
                              "[Vexor%20Renamer]\n"
                              "; my comment\n"
                              "Main_Top=120\n"
                              "txtFind=\"a, b\"\n"
                              "\n"
                              "[Third]\n"
                              "z=1\n";

ino_t inodeOf(const QString& path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

} // namespace

TEST_F(SettingsStoreTest, WritingBackWhatWasReadLeavesTheFileAlone)
{
    const QString file = SettingsStore().fileName();
    writeFileBytes(file, sharedFile);
    const ino_t inode = inodeOf(file);
    {
        SettingsStore store;
        EXPECT_EQ(store.keys(), QStringList({"Main_Top", "txtFind"}));
        EXPECT_EQ(store.value("txtFind"), "a, b");
        // Every value set again as it was, also after the section was emptied.
        store.deleteSection();
        store.setValue("Main_Top", "120");
        store.setValue("txtFind", "a, b");
        EXPECT_TRUE(store.sync());
    }
    EXPECT_EQ(fileBytes(file), sharedFile);
    EXPECT_EQ(inodeOf(file), inode) << "the file was replaced";
}

TEST_F(SettingsStoreTest, AChangeRewritesOnlyItsOwnSection)
{
    const QString file = SettingsStore().fileName();
    writeFileBytes(file, sharedFile);
    {
        SettingsStore store;
        store.setValue("txtFind", "x;y");
        store.setValue("chkSub", "1");
        EXPECT_TRUE(store.sync());
    }
    // The comment stays; a new key follows the section's last line.
    const QByteArray head = sharedFile.left(sharedFile.indexOf("[Vexor"));
    EXPECT_EQ(fileBytes(file),
              head + "[Vexor%20Renamer]\n; my comment\nMain_Top=120\ntxtFind=\"x;y\"\nchkSub=1\n\n[Third]\nz=1\n");
    EXPECT_EQ(SettingsStore().value("txtFind"), "x;y");
    EXPECT_EQ(SettingsStore(QStringLiteral("Third")).value("z"), "1");

    {
        SettingsStore store;
        store.deleteSection();
    }
    EXPECT_EQ(fileBytes(file), head + "[Third]\nz=1\n");
}

// Another program of the same maker writes the file while we run: its change
// stays, since only our section is taken from us.
TEST_F(SettingsStoreTest, AnotherProgramsWriteWhileTheStoreIsOpenIsKept)
{
    const QString file = SettingsStore().fileName();
    writeFileBytes(file, "[Vexor%20Renamer]\ntxtFind=a\n");
    SettingsStore store;
    writeFileBytes(file, "[Other]\nnew=1\n[Vexor%20Renamer]\ntxtFind=a\n");
    store.setValue("txtFind", "b");
    EXPECT_TRUE(store.sync());
    EXPECT_EQ(fileBytes(file), "[Other]\nnew=1\n[Vexor%20Renamer]\ntxtFind=b\n");
}

namespace {

QMap<QString, QString> sectionOf(const SettingsStore& store)
{
    QMap<QString, QString> values;
    for (const QString& key : store.keys())
        values.insert(key, store.value(key));
    return values;
}

} // namespace

// Programs that have the store open at once: a write keeps, key by key, what
// another wrote since this store read the file, unless this store changed
// that key too; the next write merges only what changed since the last. A
// merge rule sees the three versions and has the last word.
TEST_F(SettingsStoreTest, AWriteKeepsWhatAnotherWroteSinceTheRead)
{
    {
        SettingsStore first;
        for (const char* key : {"a", "b", "c", "d", "n"})
            first.setValue(key, "1");
    }
    SettingsStore mine;
    {
        SettingsStore other;
        other.setValue("a", "other");
        other.setValue("c", "other");
        other.remove("d");
        other.setValue("e", "other");
        other.setValue("n", "5");
    }
    mine.setValue("b", "mine");
    mine.setValue("c", "mine");
    mine.setValue("n", "3"); // two more than read
    mine.setMergeRule([](const SettingsStore::Versions& v, QMap<QString, QString>& merged) {
        merged.insert(
            "n", QString::number(v.file.value("n").toInt() + v.ours.value("n").toInt() - v.read.value("n").toInt()));
    });
    ASSERT_TRUE(mine.sync());
    const QMap<QString, QString> afterFirst{{"a", "other"}, {"b", "mine"}, {"c", "mine"}, {"e", "other"}, {"n", "7"}};
    EXPECT_EQ(sectionOf(SettingsStore()), afterFirst);

    {
        SettingsStore other;
        other.setValue("b", "again");
        other.setValue("n", "10");
    }
    mine.setValue("a", "mine");
    mine.setValue("n", "4");
    ASSERT_TRUE(mine.sync());
    const QMap<QString, QString> afterSecond{{"a", "mine"}, {"b", "again"}, {"c", "mine"}, {"e", "other"}, {"n", "11"}};
    EXPECT_EQ(sectionOf(SettingsStore()), afterSecond);
}

// A removal of the section (purgix) takes also the keys another program added
// meanwhile; a key written back as it was read keeps what the file holds now.
TEST_F(SettingsStoreTest, ARemovedSectionStaysRemovedWhateverWasWrittenMeanwhile)
{
    {
        SettingsStore first;
        first.setValue("kept", "1");
        first.setValue("gone", "1");
    }
    SettingsStore purge;
    {
        SettingsStore other;
        other.setValue("kept", "2");
        other.setValue("added", "1");
    }
    const QString kept = purge.value("kept");
    purge.deleteSection();
    purge.setValue("kept", kept);
    ASSERT_TRUE(purge.sync());
    EXPECT_EQ(sectionOf(SettingsStore()), (QMap<QString, QString>{{"kept", "2"}}));
}

// A value written in an 8-bit encoding by hand reads as Windows-1252, and a
// write of the section gives it back in UTF-8; the other sections' bytes stay.
TEST_F(SettingsStoreTest, AnEightBitValueReadsAsWindows1252AndIsWrittenBackAsUtf8)
{
    const QString file = SettingsStore().fileName();
    writeFileBytes(file, "[Other]\nname=Gr\xfc\xdf"
                         "e\n[Vexor%20Renamer]\ntxtReplace=caf\xe9\n");
    {
        SettingsStore store;
        EXPECT_EQ(store.value("txtReplace"), QString::fromUtf8("café"));
        EXPECT_TRUE(store.sync()); // nothing changed: nothing written
    }
    EXPECT_EQ(fileBytes(file), "[Other]\nname=Gr\xfc\xdf"
                               "e\n[Vexor%20Renamer]\ntxtReplace=caf\xe9\n");
    {
        SettingsStore store;
        store.setValue("txtFind", "x");
    }
    EXPECT_EQ(fileBytes(file), "[Other]\nname=Gr\xfc\xdf"
                               "e\n[Vexor%20Renamer]\ntxtReplace=caf\xc3\xa9\ntxtFind=x\n");
}

// QSettings keeps the file it read and reads it again only when its size or
// time changed: writes of one length in a row must each be read back. A file
// system in memory, where a write takes no time, shows a miss at once.
TEST_F(SettingsStoreTest, WritesInQuickSuccessionAreEachReadBack)
{
    QTemporaryDir memory(QStringLiteral("/dev/shm/vexorren-test-XXXXXX"));
    if (memory.isValid()) {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(memory.path()));
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, memory.path());
    }
    for (int i = 0; i < 30; ++i) {
        {
            SettingsStore s;
            s.setValue("n", QString::number(i % 10));
        }
        ASSERT_EQ(SettingsStore().value("n"), QString::number(i % 10)) << i;
    }
}

// Reading the store needs no writable folder: a temporary folder that cannot
// be used (a file in its place, as root could still write anywhere else)
// neither makes the store unreadable nor leaves anything behind.
TEST_F(SettingsStoreTest, ReadingNeedsNoTemporaryFolder)
{
    {
        SettingsStore s;
        s.setValue("txtFind", "abc");
        s.setValue("totNumberOfFilesRenamedNew", "3");
    }
    const QByteArray saved = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(writeFile("not-a-folder")));
    SettingsStore store;
    EXPECT_EQ(store.readError(), 0);
    EXPECT_EQ(store.value("txtFind"), "abc");
    store.setValue("txtFind", "def");
    EXPECT_TRUE(store.sync());
    EXPECT_EQ(SettingsStore().value("txtFind"), "def");
    EXPECT_EQ(SettingsStore().value("totNumberOfFilesRenamedNew"), "3");
    qputenv("TMPDIR", saved);
    if (saved.isNull())
        qunsetenv("TMPDIR");
}

TEST_F(SettingsStoreTest, AFileTooLargeForASettingsFileIsNeverRead)
{
    const QString file = SettingsStore().fileName();
    writeFileBytes(file, "[Vexor%20Renamer]\ntxtFind=a\n");
    ASSERT_TRUE(QFile::resize(file, 64 * 1024 * 1024));
    SettingsStore store;
    EXPECT_EQ(store.readError(), EFBIG);
    EXPECT_EQ(store.value("txtFind", "dflt"), "dflt");
    store.setValue("txtFind", "b");
    EXPECT_FALSE(store.sync());
    EXPECT_EQ(QFileInfo(file).size(), 64 * 1024 * 1024);
}

// Writes that cannot be done, also as root: the store says so with the
// failure's number, the file stays as it was, and no temporary file is left.
TEST_F(SettingsStoreTest, AWriteThatFailsIsReportedAndChangesNothing)
{
    const QString file = SettingsStore().fileName();
    const QString folder = QFileInfo(file).path();
    const QByteArray native = QFile::encodeName(file);
    // Larger than the size limit below, so the limit cuts the write.
    const QByteArray big = "[Other]\nbig=" + QByteArray(64 * 1024, 'x') + "\n[Vexor%20Renamer]\ntxtFind=a\n";
    const struct {
        const char* name;
        std::function<void()> meanwhile; // after the store was read
        int number;
        bool fileStays;
    } cases[] = {
        {"the settings folder is a file",
         [&] {
             QDir(folder).removeRecursively();
             writeFileBytes(folder, "not a folder");
         },
         platform::failures::PathNotFound, false},
        {"a link into a folder that is gone",
         [&] {
             QFile::remove(file);
             ASSERT_EQ(::symlink(QFile::encodeName(root() + "/gone/Taborin.ini").constData(), native.constData()), 0);
         },
         platform::failures::FileNotFound, false},
        {"a FIFO took the file's place",
         [&] {
             QFile::remove(file);
             ASSERT_EQ(::mkfifo(native.constData(), 0600), 0);
         },
         platform::failures::PathFileAccessError, false},
        {"the disk takes no more", [] {}, platform::failures::PathFileAccessError, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(root() + "/config/Taborin");
        QDir(folder).removeRecursively();
        writeFileBytes(file, big);
        SettingsStore store;
        store.setValue("txtFind", "b");
        c.meanwhile();
        bool written = true;
        if (c.fileStays) {
            FileSizeLimit full(4096);
            written = store.sync();
        } else {
            written = store.sync();
        }
        EXPECT_FALSE(written);
        ASSERT_TRUE(store.writeFailure().has_value());
        EXPECT_EQ(store.writeFailure()->number(), c.number);
        if (c.fileStays) {
            EXPECT_EQ(fileBytes(file), big);
            EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                      QStringList{"Taborin.ini"});
        }
        QFile::remove(file);
    }
}

// Permission bits do not stop root, so these run only for other users.
TEST_F(SettingsStoreTest, AReadOnlyFileOrFolderIsNotWritten)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes whatever the permission bits say";
    const QString file = SettingsStore().fileName();
    const QString folder = QFileInfo(file).path();
    for (const QString& locked : {file, folder}) {
        SCOPED_TRACE(locked.toStdString());
        writeFileBytes(file, "[Vexor%20Renamer]\ntxtFind=a\n");
        SettingsStore store;
        store.setValue("txtFind", "b");
        ASSERT_TRUE(
            QFile::setPermissions(locked, QFile::permissions(locked) & ~(QFile::WriteOwner | QFile::WriteUser |
                                                                         QFile::WriteGroup | QFile::WriteOther)));
        EXPECT_FALSE(store.sync());
        ASSERT_TRUE(store.writeFailure().has_value());
        EXPECT_EQ(store.writeFailure()->number(), platform::failures::PermissionDenied);
        QFile::setPermissions(locked, QFile::permissions(locked) | QFile::WriteOwner);
        EXPECT_EQ(SettingsStore().value("txtFind"), "a");
    }
}

// A lock file that stops the write is described as what it is: another
// program is named as its holder only when it lives. A lock left by a program
// that has ended is taken over.
TEST_F(SettingsStoreTest, ALockFileThatStopsTheWriteIsDescribedAsItIs)
{
    const QString file = SettingsStore().fileName();
    const QString lock = file + ".lock";
    const QByteArray nativeLock = QFile::encodeName(lock);
    const QString host = QSysInfo::machineHostName();
    // No process has this number: it is over any the system gives.
    const QByteArray ended = "2147483647\nvexorren\n" + host.toUtf8() + "\n";
    const struct {
        const char* name;
        std::function<void()> make;
        QString text; // of the failure; empty when the write goes through
    } cases[] = {
        {"a folder in its place", [&] { ASSERT_EQ(::mkdir(nativeLock.constData(), 0700), 0); },
         "a folder is in the place of the lock file " + lock},
        {"a FIFO in its place", [&] { ASSERT_EQ(::mkfifo(nativeLock.constData(), 0600), 0); },
         "something that is not a file is in the place of the lock file " + lock},
        {"left by a program that has ended", [&] { writeFileBytes(lock, ended); }, QString()},
        {"held on another computer", [&] { writeFileBytes(lock, "4242\nvexorren\nsomewhere-else\n"); },
         "a program on the computer somewhere-else holds the lock file " + lock},
        {"naming no holder", [&] { writeFileBytes(lock, ""); },
         "no program that holds it could be read from the lock file " + lock},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeFileBytes(file, "[Vexor%20Renamer]\ntxtFind=a\n");
        c.make();
        SettingsStore store;
        store.setValue("txtFind", "b");
        const bool written = store.sync();
        if (c.text.isEmpty()) {
            EXPECT_TRUE(written);
            EXPECT_EQ(fileBytes(file), "[Vexor%20Renamer]\ntxtFind=b\n");
            EXPECT_FALSE(QFileInfo::exists(lock));
        } else {
            EXPECT_FALSE(written);
            ASSERT_TRUE(store.writeFailure().has_value());
            EXPECT_EQ(store.writeFailure()->errorText(), "Error 75 (Path/File access error: " + c.text + ") ");
            EXPECT_EQ(fileBytes(file), "[Vexor%20Renamer]\ntxtFind=a\n");
        }
        if (QFileInfo(lock).isDir())
            ::rmdir(nativeLock.constData());
        else
            ::unlink(nativeLock.constData());
    }
}
