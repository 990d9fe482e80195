#include "platform/fileops.h"
#include "platform/failure.h"

#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>
#include <QVarLengthArray>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <utility>

namespace platform {

static QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
}

[[noreturn]] static void throwErrno(int err)
{
    throw failureFromErrno(err);
}

std::optional<EntryInfo> entryInfo(const QString& path)
{
    if (path.isEmpty() || path.contains(QChar(0)))
        return std::nullopt;
    return entryInfoNative(native(path));
}

std::optional<EntryInfo> entryInfoNative(const QByteArray& p, int dirFd)
{
    if (p.isEmpty()) {
        errno = ENOENT;
        return std::nullopt;
    }
    struct statx sx {};
    if (statx(dirFd, p.constData(), AT_SYMLINK_NOFOLLOW,
              STATX_TYPE | STATX_MODE | STATX_SIZE | STATX_ATIME | STATX_MTIME | STATX_BTIME, &sx) != 0)
        return std::nullopt;
    EntryInfo info;
    info.isDir = S_ISDIR(sx.stx_mode);
    info.isSymlink = S_ISLNK(sx.stx_mode);
    info.isRegular = S_ISREG(sx.stx_mode);
    info.size = static_cast<qint64>(sx.stx_size);
    info.mode = sx.stx_mode;
    info.modified = {static_cast<time_t>(sx.stx_mtime.tv_sec), static_cast<long>(sx.stx_mtime.tv_nsec)};
    info.accessed = {static_cast<time_t>(sx.stx_atime.tv_sec), static_cast<long>(sx.stx_atime.tv_nsec)};
    info.hasBirthTime = (sx.stx_mask & STATX_BTIME) != 0 && sx.stx_btime.tv_sec != 0;
    if (info.hasBirthTime)
        info.born = {static_cast<time_t>(sx.stx_btime.tv_sec), static_cast<long>(sx.stx_btime.tv_nsec)};
    return info;
}

bool entryExists(const QString& path, int attributeMask)
{
    const auto info = entryInfo(path);
    if (!info)
        return false;
    return (attributeMask & attr::Directory) != 0 || !info->isDir;
}

bool isDirectory(const QString& path)
{
    const auto info = entryInfo(path);
    return info && info->isDir;
}

qint64 fileSize(const QString& path)
{
    const auto info = entryInfo(path);
    return info ? info->size : 0;
}

QDateTime toDateTime(const timespec& ts)
{
    return QDateTime::fromMSecsSinceEpoch(qint64(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000);
}

timespec toTimespec(const QDateTime& when)
{
    const qint64 ms = when.toMSecsSinceEpoch();
    timespec ts;
    ts.tv_sec = static_cast<time_t>(ms / 1000);
    ts.tv_nsec = static_cast<long>((ms % 1000) * 1000000);
    if (ts.tv_nsec < 0) {
        ts.tv_nsec += 1000000000;
        ts.tv_sec -= 1;
    }
    return ts;
}

QDateTime createdTime(const EntryInfo& info)
{
    return toDateTime(info.hasBirthTime ? info.born : info.modified);
}

void setFileTimes(const QString& path, const std::optional<timespec>& accessed, const std::optional<timespec>& modified)
{
    timespec times[2];
    times[0] = accessed ? *accessed : timespec{0, UTIME_OMIT};
    times[1] = modified ? *modified : timespec{0, UTIME_OMIT};
    if (utimensat(AT_FDCWD, native(path).constData(), times, AT_SYMLINK_NOFOLLOW) != 0)
        throwErrno(errno);
}

// Refuses what must never become a name on disk.
static void checkTargetPath(const QString& to)
{
    if (to.isEmpty() || to.contains(QChar(0)) || to.endsWith(QLatin1Char('/')))
        throw makeFailure(failures::InvalidCall);
    // No "." or ".." component (scanned in place: this runs once per rename).
    qsizetype start = 0;
    while (start <= to.size()) {
        qsizetype end = to.indexOf(QLatin1Char('/'), start);
        if (end < 0)
            end = to.size();
        const QStringView part = QStringView(to).mid(start, end - start);
        if (part == u"." || part == u"..")
            throw makeFailure(failures::InvalidCall);
        start = end + 1;
    }
}

// True when the directory open as `dirFd` lists an entry named exactly `name`
// (byte for byte). Tells a case-insensitive mount's own entry apart from a
// second entry or a second hard link of the same file.
static bool listsExactName(int dirFd, const char* name)
{
    const int fd = ::openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return true; // cannot tell: treat the target as existing
    DIR* d = ::fdopendir(fd);
    if (!d) {
        ::close(fd);
        return true;
    }
    bool found = false;
    while (const dirent* e = ::readdir(d))
        if (std::strcmp(e->d_name, name) == 0) {
            found = true;
            break;
        }
    ::closedir(d);
    return found;
}

// The never-replacing rename of one entry between two open directories.
static void renameAt(int fromDir, const char* f, int toDir, const char* t)
{
    if (renameat2(fromDir, f, toDir, t, RENAME_NOREPLACE) == 0)
        return;
    int err = errno;
    // The source is looked at only when the plain call fails: a run renames
    // thousands of entries, and a missing one answers ENOENT all the same.
    struct stat src {};
    if (::fstatat(fromDir, f, &src, AT_SYMLINK_NOFOLLOW) != 0)
        throw makeFailure(failures::FileNotFound);
    if (err == EEXIST) {
        // A case-only change on a case-insensitive mount: the target is the
        // source's own entry. A second hard link of the same file is another
        // entry and stays an existing target.
        struct stat dst {};
        if (::fstatat(toDir, t, &dst, AT_SYMLINK_NOFOLLOW) == 0 && src.st_dev == dst.st_dev &&
            src.st_ino == dst.st_ino && QString::fromUtf8(f).compare(QString::fromUtf8(t), Qt::CaseInsensitive) == 0) {
            struct stat a {
            }, b{};
            const bool sameDir =
                ::fstat(fromDir, &a) == 0 && ::fstat(toDir, &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
            if (sameDir && !listsExactName(toDir, t)) {
                if (::renameat(fromDir, f, toDir, t) == 0)
                    return;
                throwErrno(errno);
            }
        }
        throw makeFailure(failures::FileAlreadyExists);
    }
    if (err != EINVAL && err != ENOSYS && err != ENOTSUP)
        throwErrno(err);
    // The file system refuses the flag: link+unlink never replaces a file.
    if (!S_ISDIR(src.st_mode)) {
        if (::linkat(fromDir, f, toDir, t, 0) == 0) {
            if (::unlinkat(fromDir, f, 0) != 0) {
                err = errno;
                ::unlinkat(toDir, t, 0);
                throwErrno(err);
            }
            return;
        }
        err = errno;
        if (err == EEXIST)
            throw makeFailure(failures::FileAlreadyExists);
        if (err != EPERM && err != ENOTSUP && err != EXDEV)
            throwErrno(err);
    }
    // Directories (and files where hard links are refused): a checked rename.
    struct stat dst {};
    if (::fstatat(toDir, t, &dst, AT_SYMLINK_NOFOLLOW) == 0)
        throw makeFailure(failures::FileAlreadyExists);
    if (::renameat(fromDir, f, toDir, t) != 0)
        throwErrno(errno);
}

void renameNoReplace(const QString& from, const QString& to)
{
    checkTargetPath(to);
    renameAt(AT_FDCWD, native(from).constData(), AT_FDCWD, native(to).constData());
}

namespace {

// An open directory descriptor, closed when it goes.
class DirFd {
public:
    explicit DirFd(int fd = -1) : fd_(fd) {}
    ~DirFd() { reset(); }
    DirFd(const DirFd&) = delete;
    DirFd& operator=(const DirFd&) = delete;
    DirFd(DirFd&& o) noexcept : fd_(std::exchange(o.fd_, -1)) {}
    DirFd& operator=(DirFd&& o) noexcept
    {
        if (this != &o) {
            reset();
            fd_ = std::exchange(o.fd_, -1);
        }
        return *this;
    }
    int get() const { return fd_; }
    void reset()
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_;
};

// The base directory of a relative path (it may itself be reached through a
// link: the user chose it).
int openBase(const QString& dir)
{
    const int fd =
        ::open(native(dir.isEmpty() ? QStringLiteral(".") : dir).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        throwErrno(errno);
    return fd;
}

// A name's bytes on disk, held on the stack for names of usual length: a run
// encodes two names per rename.
class NativeName {
public:
    explicit NativeName(QStringView name)
    {
        QStringEncoder encoder(QStringEncoder::Utf8);
        bytes_.resize(encoder.requiredSpace(name.size()) + 1);
        char* end = encoder.appendToBuffer(bytes_.data(), name);
        *end = 0;
        bytes_.resize(end - bytes_.data() + 1);
    }
    const char* get() const { return bytes_.data(); }

private:
    QVarLengthArray<char, 512> bytes_;
};

// The directory a last component lives in: the base itself (borrowed) or a
// level below it opened for the call (owned).
struct Parent {
    DirFd owned;
    int fd = -1;
    std::optional<NativeName> name;
};

// Where the last component of `relative` lives: its parent directory, reached
// from `base` one level at a time without following a symbolic link, and the
// component's own name. A level that is a link, a "." or ".." fails.
Parent parentBelow(int base, const QString& relative)
{
    Parent parent;
    parent.fd = base;
    qsizetype start = 0;
    for (;;) {
        while (start < relative.size() && relative.at(start) == QLatin1Char('/'))
            ++start;
        if (start == relative.size())
            break;
        qsizetype end = relative.indexOf(QLatin1Char('/'), start);
        if (end < 0)
            end = relative.size();
        const QStringView part = QStringView(relative).mid(start, end - start);
        if (part == u"." || part == u"..")
            throw makeFailure(failures::InvalidCall);
        qsizetype next = end;
        while (next < relative.size() && relative.at(next) == QLatin1Char('/'))
            ++next;
        if (next == relative.size()) {
            parent.name.emplace(part);
            return parent;
        }
        // A level: entered only when it is a directory and not a link.
        const int fd = ::openat(parent.fd, NativeName(part).get(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) {
            // A link (to anything) answers ENOTDIR or ELOOP: never entered.
            throwErrno(errno == ELOOP ? ENOTDIR : errno);
        }
        parent.owned = DirFd(fd);
        parent.fd = fd;
        start = next;
    }
    throw makeFailure(failures::InvalidCall); // no component at all
}

} // namespace

BaseDirectory::~BaseDirectory()
{
    close();
}

void BaseDirectory::close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    path_.clear();
}

int BaseDirectory::open(const QString& dir)
{
    if (fd_ >= 0 && dir == path_)
        return fd_;
    close();
    fd_ = openBase(dir);
    path_ = dir;
    return fd_;
}

void BaseDirectory::renameNoReplace(const QString& dir, const QString& from, const QString& to)
{
    if (to.isEmpty() || to.contains(QChar(0)) || from.isEmpty() || from.contains(QChar(0)))
        throw makeFailure(failures::InvalidCall);
    const int base = open(dir);
    const Parent source = parentBelow(base, from);
    const Parent target = parentBelow(base, to);
    renameAt(source.fd, source.name->get(), target.fd, target.name->get());
}

void BaseDirectory::makeDirectory(const QString& dir, const QString& relative)
{
    if (relative.contains(QChar(0)))
        throw makeFailure(failures::InvalidCall);
    const Parent parent = parentBelow(open(dir), relative);
    if (::mkdirat(parent.fd, parent.name->get(), 0777) != 0)
        throwErrno(errno);
}

std::optional<EntryInfo> BaseDirectory::entryInfoBelow(const QString& dir, const QString& relative)
{
    if (relative.isEmpty() || relative.contains(QChar(0)))
        return std::nullopt;
    try {
        const Parent parent = parentBelow(open(dir), relative);
        return entryInfoNative(QByteArray::fromRawData(parent.name->get(), qsizetype(std::strlen(parent.name->get()))),
                               parent.fd);
    } catch (const Failure&) {
        return std::nullopt;
    }
}

void renameNoReplace(const QString& dir, const QString& from, const QString& to)
{
    BaseDirectory().renameNoReplace(dir, from, to);
}

void makeDirectory(const QString& dir, const QString& relative)
{
    BaseDirectory().makeDirectory(dir, relative);
}

std::optional<EntryInfo> entryInfoBelow(const QString& dir, const QString& relative)
{
    return BaseDirectory().entryInfoBelow(dir, relative);
}

void makeDirectory(const QString& path)
{
    checkTargetPath(path);
    if (::mkdir(native(path).constData(), 0777) != 0)
        throwErrno(errno);
}

void removeDirectory(const QString& path)
{
    if (::rmdir(native(path).constData()) != 0)
        throwErrno(errno);
}

static const char kDosAttrib[] = "user.DOSATTRIB";

// The DOS bits stored as text "0x..", as Samba writes them; absent gives 0.
static int parseDosBits(char* buf, ssize_t n, bool* present)
{
    *present = n > 0;
    if (n <= 0)
        return 0;
    buf[n] = 0;
    unsigned value = 0;
    if (std::sscanf(buf, "0x%x", &value) != 1 && std::sscanf(buf, "0X%x", &value) != 1)
        return 0;
    return static_cast<int>(value);
}

static int readDosBits(const QByteArray& p, bool* present)
{
    char buf[256];
    return parseDosBits(buf, lgetxattr(p.constData(), kDosAttrib, buf, sizeof buf - 1), present);
}

// getxattrat (Linux 6.13): the attribute of a name relative to an open
// directory, without walking the whole path again. The C library does not
// wrap it yet; the number is the same on every architecture but alpha.
#if defined(__linux__) && !defined(__alpha__)
#ifndef SYS_getxattrat
#define SYS_getxattrat 464
#endif
#define VX_HAVE_GETXATTRAT 1
#endif

static std::atomic<bool> getxattratMissing{false};

static int readDosBitsAt(int dirFd, const QByteArray& dirPath, const QByteArray& name, bool* present)
{
    char buf[256];
#ifdef VX_HAVE_GETXATTRAT
    if (!getxattratMissing.load(std::memory_order_relaxed)) {
        struct {
            std::uint64_t value;
            std::uint32_t size;
            std::uint32_t flags;
        } args{reinterpret_cast<std::uintptr_t>(buf), std::uint32_t(sizeof buf - 1), 0};
        const long n =
            ::syscall(SYS_getxattrat, dirFd, name.constData(), AT_SYMLINK_NOFOLLOW, kDosAttrib, &args, sizeof args);
        // An older kernel does not know the call; a sandbox may refuse it.
        if (n >= 0 || (errno != ENOSYS && errno != EPERM))
            return parseDosBits(buf, ssize_t(n), present);
        getxattratMissing.store(true, std::memory_order_relaxed);
    }
#else
    Q_UNUSED(dirFd);
#endif
    return readDosBits(dirPath + name, present);
}

static void writeDosBits(const QByteArray& p, int bits)
{
    char buf[32];
    const int n = std::snprintf(buf, sizeof buf, "0x%x", static_cast<unsigned>(bits));
    if (lsetxattr(p.constData(), kDosAttrib, buf, static_cast<size_t>(n), 0) != 0)
        throwErrno(errno);
}

static bool isDotName(const QString& path)
{
    return QFileInfo(path).fileName().startsWith(QLatin1Char('.'));
}

int getAttributes(const QString& path)
{
    const auto info = entryInfo(path);
    if (!info)
        throw makeFailure(failures::FileNotFound);
    return attributesNative(native(path), *info);
}

// The bits from the stored DOS bits, the entry's information and whether its name starts with a dot.
static int attributesFrom(int dos, bool dotName, const EntryInfo& info)
{
    int a = 0;
    if (info.isDir) {
        a |= attr::Directory;
        a |= dos & attr::ReadOnly;
    } else if (!info.isSymlink && (info.mode & 0222) == 0) {
        a |= attr::ReadOnly;
    }
    if (dotName || (dos & attr::Hidden))
        a |= attr::Hidden;
    a |= dos & (attr::System | attr::Archive);
    return a;
}

int attributesNative(const QByteArray& nativePath, const EntryInfo& info)
{
    bool present = false;
    const int dos = info.isSymlink ? 0 : readDosBits(nativePath, &present);
    const qsizetype slash = nativePath.lastIndexOf('/');
    const bool dotName = nativePath.size() > slash + 1 && nativePath.at(slash + 1) == '.';
    return attributesFrom(dos, dotName, info);
}

int attributesAt(int dirFd, const QByteArray& dirPath, const QByteArray& name, const EntryInfo& info)
{
    bool present = false;
    const int dos = info.isSymlink ? 0 : readDosBitsAt(dirFd, dirPath, name, &present);
    return attributesFrom(dos, name.startsWith('.'), info);
}

// The attribute exactly as stored: its bytes, or none when the entry has none
// or its file system keeps no user attributes. Not recorded when it cannot be
// read (no read permission, say). A value that grows between the query of its
// size and the read is asked for again.
static StoredDosAttrib readDosAttribExact(const QByteArray& p)
{
    StoredDosAttrib stored;
    QByteArray value(256, Qt::Uninitialized);
    for (;;) {
        ssize_t n = lgetxattr(p.constData(), kDosAttrib, value.data(), size_t(value.size()));
        if (n >= 0) {
            value.resize(qsizetype(n));
            stored.value = value;
            break;
        }
        if (errno == ERANGE)
            n = lgetxattr(p.constData(), kDosAttrib, nullptr, 0);
        if (n < 0) {
            stored.recorded = errno == ENODATA || errno == ENOTSUP;
            return stored;
        }
        // The kernel keeps no value above 64 KiB.
        constexpr qsizetype largest = 65536;
        if (value.size() >= largest)
            return stored;
        value.resize(qsizetype(std::min<ssize_t>(std::max<ssize_t>(n, value.size() + 1), largest)));
    }
    stored.recorded = true;
    return stored;
}

static int dosBitsOf(const std::optional<QByteArray>& value)
{
    if (!value)
        return 0;
    char buf[256];
    const qsizetype n = std::min<qsizetype>(value->size(), qsizetype(sizeof buf) - 1);
    std::memcpy(buf, value->constData(), size_t(n));
    bool present = false;
    return parseDosBits(buf, ssize_t(n), &present);
}

// Puts the attribute back as `before` holds it: removed when the entry had
// none, else its exact old bytes.
static void writeDosAttribExact(const QByteArray& p, const StoredDosAttrib& current,
                                const std::optional<QByteArray>& before)
{
    if (current.recorded && current.value == before)
        return;
    if (!before) {
        if (lremovexattr(p.constData(), kDosAttrib) != 0 && errno != ENODATA)
            throwErrno(errno);
        return;
    }
    if (lsetxattr(p.constData(), kDosAttrib, before->constData(), size_t(before->size()), 0) != 0)
        throwErrno(errno);
}

// setAttributes, and with `restore` the Undo of a change: the extended
// attribute is then put back exactly as recorded instead of from the bits.
static StoredDosAttrib changeAttributes(const QString& path, int attributes, const StoredDosAttrib* restore)
{
    const auto info = entryInfo(path);
    if (!info)
        throw makeFailure(failures::FileNotFound);
    const QByteArray p = native(path);
    const bool wantReadOnly = attributes & attr::ReadOnly;
    const bool wantHidden = attributes & attr::Hidden;
    if (isDotName(path) && !wantHidden)
        throw makeFailure(failures::PermissionDenied); // a dot-name cannot stop being hidden

    // A link has no user attributes: its stored bits are none.
    const StoredDosAttrib before = info->isSymlink ? StoredDosAttrib{} : readDosAttribExact(p);
    const int oldDos = dosBitsOf(before.value);
    int dosMask = attr::System | attr::Archive | attr::Hidden;
    if (info->isDir)
        dosMask |= attr::ReadOnly;
    int newDos = (oldDos & ~dosMask) | (attributes & dosMask);
    if (isDotName(path))
        newDos = (newDos & ~attr::Hidden) | (oldDos & attr::Hidden); // implied by the name
    const bool exact = restore && restore->recorded && !info->isSymlink;

    // A link has no write permission of its own to take away: write protecting
    // it would change nothing on disk.
    if (info->isSymlink && wantReadOnly)
        throw makeFailure(failures::PermissionDenied);
    // An attribute that cannot be read cannot be put back by an Undo: it is
    // not written over.
    if (!exact && newDos != oldDos && !info->isSymlink && !before.recorded)
        throw makeFailure(failures::PermissionDenied);
    const bool fileReadOnlyNow = !info->isDir && (info->mode & 0222) == 0;
    const bool changeMode = !info->isDir && !info->isSymlink && wantReadOnly != fileReadOnlyNow;
    const mode_t perm = info->mode & 07777;
    // Clearing read-only first and setting it last keeps the entry writable
    // while its extended attribute is changed.
    if (changeMode && !wantReadOnly && ::chmod(p.constData(), perm | S_IWUSR) != 0)
        throwErrno(errno);
    if (exact) {
        writeDosAttribExact(p, before, restore->value);
    } else if (newDos != oldDos) {
        if (info->isSymlink)
            throw makeFailure(failures::PermissionDenied);
        writeDosBits(p, newDos);
    }
    if (changeMode && wantReadOnly && ::chmod(p.constData(), perm & ~mode_t(0222)) != 0)
        throwErrno(errno);
    return before;
}

StoredDosAttrib setAttributes(const QString& path, int attributes)
{
    return changeAttributes(path, attributes, nullptr);
}

void restoreAttributes(const QString& path, int attributes, const StoredDosAttrib& before)
{
    changeAttributes(path, attributes, &before);
}

QString attributeText(int a)
{
    QString s = QStringLiteral("[");
    s += (a & attr::ReadOnly) ? QLatin1Char('R') : QLatin1Char('-');
    s += (a & attr::Hidden) ? QLatin1Char('H') : QLatin1Char('-');
    s += (a & attr::System) ? QLatin1Char('S') : QLatin1Char('-');
    s += (a & attr::Archive) ? QLatin1Char('A') : QLatin1Char('-');
    s += QLatin1Char(']');
    return s;
}

} // namespace platform
