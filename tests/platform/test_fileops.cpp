#include "platform/failure.h"
#include "platform/fileops.h"
#include "test_support.h"

#include <fcntl.h>
#include <optional>
#include <QDir>
#include <QFile>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

using namespace platform;

class FileOpsTest : public TempEnv {};

static int failureOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const Failure& e) {
        return e.number();
    }
    return 0;
}

TEST_F(FileOpsTest, RenameNeverReplacesAnExistingEntry)
{
    const QString a = writeFile("a.txt", "A"), b = writeFile("b.txt", "B");
    EXPECT_EQ(failureOf([&] { renameNoReplace(a, b); }), failures::FileAlreadyExists);
    EXPECT_EQ(readText(a), "A");
    EXPECT_EQ(readText(b), "B");

    const QString empty = makeDir("emptydir");
    EXPECT_EQ(failureOf([&] { renameNoReplace(a, empty); }), failures::FileAlreadyExists);
    EXPECT_TRUE(QFile::exists(a));
    EXPECT_TRUE(QDir(empty).exists());
}

TEST_F(FileOpsTest, RenameAllowsCaseOnlyChangeAndMovesDirectories)
{
    const QString a = writeFile("name.txt", "x");
    EXPECT_EQ(failureOf([&] { renameNoReplace(a, work() + "/NAME.txt"); }), 0);
    EXPECT_TRUE(QFile::exists(work() + "/NAME.txt"));

    const QString d = makeDir("dir");
    writeFile("dir/inner.txt", "i");
    EXPECT_EQ(failureOf([&] { renameNoReplace(d, work() + "/dir2"); }), 0);
    EXPECT_EQ(readText(work() + "/dir2/inner.txt"), "i");
}

TEST_F(FileOpsTest, RenameRefusesUnsafeTargets)
{
    const QString a = writeFile("a.txt", "A");
    const QString nul = work() + "/x" + QChar(0) + "y";
    for (const QString& target : {QString(), nul, work() + "/../escape.txt", work() + "/./a2.txt", work() + "/"}) {
        EXPECT_EQ(failureOf([&] { renameNoReplace(a, target); }), failures::InvalidCall) << target.toStdString();
    }
    EXPECT_EQ(readText(a), "A");
    // An empty component is harmless.
    EXPECT_EQ(failureOf([&] { renameNoReplace(a, work() + "//b.txt"); }), 0);
    EXPECT_EQ(readText(work() + "/b.txt"), "A");
}

TEST_F(FileOpsTest, RenameReportsMissingSourceAndPath)
{
    EXPECT_EQ(failureOf([&] { renameNoReplace(work() + "/none", work() + "/x"); }), failures::FileNotFound);
    const QString a = writeFile("a.txt");
    EXPECT_EQ(failureOf([&] { renameNoReplace(a, work() + "/no/such/dir/x"); }), failures::FileNotFound);
}

TEST_F(FileOpsTest, MakeAndRemoveDirectory)
{
    EXPECT_EQ(failureOf([&] { makeDirectory(work() + "/new"); }), 0);
    EXPECT_EQ(failureOf([&] { makeDirectory(work() + "/new"); }), failures::FileAlreadyExists);
    writeFile("new/f");
    EXPECT_EQ(failureOf([&] { removeDirectory(work() + "/new"); }), failures::FileAlreadyExists);
    QFile::remove(work() + "/new/f");
    EXPECT_EQ(failureOf([&] { removeDirectory(work() + "/new"); }), 0);
}

TEST_F(FileOpsTest, ExistenceMasks)
{
    const QString f = writeFile("f");
    const QString d = makeDir("d");
    EXPECT_TRUE(entryExists(f, 0));
    EXPECT_TRUE(entryExists(f, 39));
    EXPECT_FALSE(entryExists(d, 39));
    EXPECT_TRUE(entryExists(d, 55));
    EXPECT_FALSE(entryExists(work() + "/none", 55));
    QFile::link(work() + "/none", work() + "/dangling");
    EXPECT_TRUE(entryExists(work() + "/dangling", 0)); // a link is an entry of its own
}

TEST_F(FileOpsTest, AttributeRoundTripOnFileAndDirectory)
{
    const QString f = writeFile("f.txt", "x");
    EXPECT_EQ(getAttributes(f), 0);
    setAttributes(f, attr::ReadOnly | attr::Hidden | attr::System | attr::Archive);
    EXPECT_EQ(getAttributes(f), attr::ReadOnly | attr::Hidden | attr::System | attr::Archive);
    EXPECT_EQ(QFileInfo(f).permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther), 0);
    setAttributes(f, attr::Archive);
    EXPECT_EQ(getAttributes(f), attr::Archive);
    EXPECT_TRUE(QFileInfo(f).permissions() & QFile::WriteOwner);
    EXPECT_EQ(attributeText(attr::ReadOnly | attr::Archive), "[R--A]");

    const QString d = makeDir("d");
    EXPECT_EQ(getAttributes(d), attr::Directory);
    setAttributes(d, attr::ReadOnly | attr::System);
    EXPECT_EQ(getAttributes(d), attr::Directory | attr::ReadOnly | attr::System);
    setAttributes(d, 0);
    EXPECT_EQ(getAttributes(d), attr::Directory);
}

TEST_F(FileOpsTest, OtherDosBitsAreKeptAndDotNamesStayHidden)
{
    const QString f = writeFile("f.txt");
    const QByteArray p = QFile::encodeName(f);
    ASSERT_EQ(setxattr(p.constData(), "user.DOSATTRIB", "0x120", 5, 0), 0); // 0x100: a bit we do not own
    EXPECT_EQ(getAttributes(f), attr::Archive);
    setAttributes(f, attr::System);
    char buf[32] = {};
    getxattr(p.constData(), "user.DOSATTRIB", buf, sizeof buf - 1);
    EXPECT_STREQ(buf, "0x104");

    const QString dot = writeFile(".hidden");
    EXPECT_EQ(getAttributes(dot), attr::Hidden);
    EXPECT_NE(failureOf([&] { setAttributes(dot, 0); }), 0);
    EXPECT_EQ(failureOf([&] { setAttributes(dot, attr::Hidden | attr::Archive); }), 0);
    EXPECT_EQ(getAttributes(dot), attr::Hidden | attr::Archive);
}

namespace {

// The stored DOS attribute of a path exactly: nullopt when there is none.
std::optional<QByteArray> dosAttrib(const QString& path)
{
    const QByteArray p = QFile::encodeName(path);
    QByteArray buf(70000, '\0');
    const ssize_t n = lgetxattr(p.constData(), "user.DOSATTRIB", buf.data(), size_t(buf.size()));
    if (n < 0)
        return std::nullopt;
    return buf.left(n);
}

bool userXattrsWork(const QString& dir)
{
    const QByteArray probe = QFile::encodeName(dir + "/.xattr-probe");
    QFile(QFile::decodeName(probe)).open(QIODevice::WriteOnly);
    const bool ok = setxattr(probe.constData(), "user.probe", "1", 1, 0) == 0;
    ::unlink(probe.constData());
    return ok;
}

} // namespace

// A change records the extended attribute as it was, and restoring puts that
// back exactly: removed where there was none, the same bytes where there was
// one (another program's data after the bits included), whatever the change.
TEST_F(FileOpsTest, RestoringAttributesPutsBackTheStoredAttributeExactly)
{
    if (!userXattrsWork(work()))
        GTEST_SKIP() << "the file system of " << work().toStdString() << " keeps no user extended attributes";
    struct Case {
        const char* what;
        bool isDir;
        std::optional<QByteArray> stored;
        int change; // the attributes set
    };
    const QByteArray sambaLike = QByteArray("0x20\0", 5) + QByteArray::fromHex("0300030000001100000020000000e05b");
    const Case cases[] = {
        {"file without attribute", false, std::nullopt, attr::System | attr::Archive},
        {"file with plain bits", false, QByteArray("0x20"), attr::Hidden},
        {"file with another text form", false, QByteArray("0X00000020"), attr::ReadOnly | attr::System},
        {"file with data after the bits", false, sambaLike, 0},
        {"file with a long value", false, "0x4" + QByteArray(1000, ' '), attr::Archive},
        {"directory without attribute", true, std::nullopt, attr::ReadOnly | attr::Hidden},
        {"directory with bits", true, QByteArray("0x1"), 0},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString path = c.isDir ? makeDir("d" + QString::number(++n)) : writeFile("f" + QString::number(++n));
        if (c.stored) {
            ASSERT_EQ(setxattr(QFile::encodeName(path).constData(), "user.DOSATTRIB", c.stored->constData(),
                               size_t(c.stored->size()), 0),
                      0);
        }
        const int old = getAttributes(path) & attr::Changeable;
        const StoredDosAttrib before = setAttributes(path, c.change);
        EXPECT_TRUE(before.recorded);
        EXPECT_EQ(before.value, c.stored);
        EXPECT_EQ(getAttributes(path) & attr::Changeable, c.change);
        restoreAttributes(path, old, before);
        EXPECT_EQ(getAttributes(path) & attr::Changeable, old);
        EXPECT_EQ(dosAttrib(path), c.stored);
    }

    // A link has none to record; with nothing recorded, the bits are written.
    ASSERT_TRUE(QFile::link(work() + "/f1", work() + "/ln"));
    EXPECT_FALSE(setAttributes(work() + "/ln", 0).recorded);
    const QString plain = writeFile("plain");
    restoreAttributes(plain, attr::Archive, StoredDosAttrib{});
    EXPECT_EQ(dosAttrib(plain), QByteArray("0x20"));
}

// The query relative to an open directory answers what the query by path answers.
TEST_F(FileOpsTest, AttributesByNameInAnOpenDirectoryMatchThoseByPath)
{
    const QString f = writeFile("f.txt");
    setAttributes(f, attr::Hidden | attr::System | attr::Archive);
    const QString ro = writeFile("ro.txt");
    setAttributes(ro, attr::ReadOnly);
    const QString dot = writeFile(".dot");
    const QString d = makeDir("d");
    setAttributes(d, attr::ReadOnly | attr::System);
    const QString plain = writeFile("plain");
    const QString link = work() + "/link";
    ASSERT_EQ(::symlink("f.txt", QFile::encodeName(link).constData()), 0);
    const QByteArray prefix = QFile::encodeName(work()) + '/';
    const int fd = ::open(prefix.constData(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    const struct {
        const char* name;
        int expected;
    } cases[] = {
        {"f.txt", attr::Hidden | attr::System | attr::Archive},
        {"ro.txt", attr::ReadOnly},
        {".dot", attr::Hidden},
        {"d", attr::Directory | attr::ReadOnly | attr::System},
        {"plain", 0},
        {"link", 0}, // a link's own bits: the target's are never read through it
    };
    for (const auto& c : cases) {
        const QByteArray name(c.name);
        const auto info = entryInfoNative(name, fd);
        ASSERT_TRUE(info) << c.name;
        EXPECT_EQ(attributesAt(fd, prefix, name, *info), c.expected) << c.name;
        EXPECT_EQ(attributesNative(prefix + name, *info), c.expected) << c.name;
    }
    ::close(fd);
}

TEST_F(FileOpsTest, FileTimesWithNanosecondsAndBirthTime)
{
    const QString f = writeFile("t.txt", "x");
    const timespec when{1600000000, 123456789};
    setFileTimes(f, std::nullopt, when);
    auto info = entryInfo(f);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->modified.tv_sec, when.tv_sec);
    EXPECT_EQ(info->modified.tv_nsec, when.tv_nsec);
    // The creation time shown is the birth time, else the modified time.
    EXPECT_TRUE(createdTime(*info).isValid());
    EXPECT_EQ(failureOf([&] { setFileTimes(work() + "/none", when, when); }), failures::FileNotFound);
    EXPECT_EQ(fileSize(f), 1);
}

TEST_F(FileOpsTest, ASecondHardLinkIsAnExistingTargetAndLinksAreNeverEntered)
{
    const QString a = writeFile("a.txt", "A");
    for (const QString& second : {work() + "/b.txt", work() + "/A.txt"}) {
        ASSERT_TRUE(::link(QFile::encodeName(a).constData(), QFile::encodeName(second).constData()) == 0);
        EXPECT_EQ(failureOf([&] { renameNoReplace(a, second); }), failures::FileAlreadyExists) << second.toStdString();
        EXPECT_EQ(failureOf([&] { renameNoReplace(work(), "a.txt", QFileInfo(second).fileName()); }),
                  failures::FileAlreadyExists);
        EXPECT_TRUE(QFile::exists(a)) << "both names stay";
        EXPECT_TRUE(QFile::exists(second));
        QFile::remove(second);
    }

    // Relative to the working directory: no level through a link, wherever it points.
    const QString outside = root() + "/outside";
    QDir().mkpath(outside);
    ASSERT_TRUE(QFile::link(outside, work() + "/out"));
    ASSERT_TRUE(QFile::link(work(), work() + "/self"));
    for (const QString& target : {QString("out/a.txt"), QString("self/x.txt"), QString("../a.txt")})
        EXPECT_NE(failureOf([&] { renameNoReplace(work(), "a.txt", target); }), 0) << target.toStdString();
    EXPECT_NE(failureOf([&] { makeDirectory(work(), "out/new"); }), 0);
    EXPECT_FALSE(entryInfoBelow(work(), "out/x").has_value());
    EXPECT_TRUE(entryInfoBelow(work(), "out").has_value()); // the link itself is an entry
    EXPECT_TRUE(QDir(outside).isEmpty());
    EXPECT_EQ(readText(a), "A");

    makeDir("sub");
    EXPECT_EQ(failureOf([&] { renameNoReplace(work(), "a.txt", "sub/a.txt"); }), 0);
    EXPECT_EQ(failureOf([&] { makeDirectory(work(), "sub/inner"); }), 0);
    EXPECT_EQ(readText(work() + "/sub/a.txt"), "A");

    // A link cannot be write protected; its target keeps its permissions.
    ASSERT_TRUE(QFile::link(work() + "/sub/a.txt", work() + "/ln"));
    EXPECT_EQ(failureOf([&] { setAttributes(work() + "/ln", attr::ReadOnly); }), failures::PermissionDenied);
    EXPECT_TRUE(QFileInfo(work() + "/sub/a.txt").permissions() & QFile::WriteOwner);
}

TEST_F(FileOpsTest, AHeldBaseDirectoryServesManyCallsAndNeverEntersALink)
{
    writeFile("a.txt", "A");
    writeFile("b.txt", "B");
    makeDir("sub");
    const QString outside = root() + "/outside";
    QDir().mkpath(outside);
    ASSERT_TRUE(QFile::link(outside, work() + "/out"));
    const QString sub = work() + "/sub";

    BaseDirectory held;
    EXPECT_EQ(failureOf([&] { held.renameNoReplace(work(), "a.txt", "a2.txt"); }), 0);
    EXPECT_EQ(failureOf([&] { held.renameNoReplace(work(), "b.txt", "a2.txt"); }), failures::FileAlreadyExists);
    EXPECT_EQ(failureOf([&] { held.renameNoReplace(work(), "none.txt", "x.txt"); }), failures::FileNotFound);
    // Levels below the held directory: a link is never entered, a directory is.
    for (const QString& target : {QString("out/b.txt"), QString("../b.txt"), QString("out/../b.txt")})
        EXPECT_NE(failureOf([&] { held.renameNoReplace(work(), "b.txt", target); }), 0) << target.toStdString();
    EXPECT_NE(failureOf([&] { held.makeDirectory(work(), "out/new"); }), 0);
    EXPECT_FALSE(held.entryInfoBelow(work(), "out/x").has_value());
    EXPECT_TRUE(QDir(outside).isEmpty());
    EXPECT_EQ(failureOf([&] { held.makeDirectory(work(), "sub//inner/"); }), 0);
    EXPECT_EQ(failureOf([&] { held.renameNoReplace(work(), "b.txt", "sub/inner/b.txt"); }), 0);
    EXPECT_TRUE(held.entryInfoBelow(work(), "sub/inner/b.txt").has_value());

    // Another directory is served from then on; the first one comes back by its path.
    EXPECT_EQ(failureOf([&] { held.renameNoReplace(sub, "inner/b.txt", "b3.txt"); }), 0);
    EXPECT_TRUE(held.entryInfoBelow(sub, "b3.txt").has_value());
    EXPECT_FALSE(held.entryInfoBelow(sub, "a2.txt").has_value());
    EXPECT_TRUE(held.entryInfoBelow(work(), "a2.txt").has_value());
    held.close();
    EXPECT_EQ(failureOf([&] { held.renameNoReplace(work() + "/none", "a.txt", "b.txt"); }), failures::FileNotFound);
    EXPECT_EQ(failureOf([&] { held.renameNoReplace(work(), "a2.txt", "a.txt"); }), 0);
    EXPECT_EQ(readText(work() + "/a.txt"), "A");
    EXPECT_EQ(readText(sub + "/b3.txt"), "B");
}
