#include "platform/ownfiles.h"
#include "platform/failure.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

static mode_t currentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

int ownFilePlaceError(const QByteArray& nativePath)
{
    struct stat st {};
    if (::stat(nativePath.constData(), &st) != 0)
        return errno;
    if (S_ISREG(st.st_mode))
        return 0;
    return S_ISDIR(st.st_mode) ? EISDIR : ENODEV;
}

int openOwnFileForRead(const QByteArray& nativePath, qint64 maxBytes)
{
    // Non-blocking, and the descriptor's own type decides: a FIFO that took the
    // file's place since any earlier query is closed unread.
    const int fd = ::open(nativePath.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return -1;
    struct stat st {};
    int err = 0;
    if (::fstat(fd, &st) != 0)
        err = errno;
    else if (!S_ISREG(st.st_mode))
        err = S_ISDIR(st.st_mode) ? EISDIR : ENODEV;
    else if (st.st_size > maxBytes)
        err = EFBIG;
    if (err == 0)
        return fd;
    ::close(fd);
    errno = err;
    return -1;
}

int readOwnFile(const QByteArray& nativePath, qint64 maxBytes, QByteArray& data)
{
    data.clear();
    const int place = ownFilePlaceError(nativePath);
    if (place != 0)
        return place;
    const int fd = openOwnFileForRead(nativePath, maxBytes);
    if (fd < 0)
        return errno;
    struct stat st {};
    int err = ::fstat(fd, &st) != 0 ? errno : 0;
    if (err == 0) {
        // The file may grow while it is read: it is read to its end, but never
        // past one byte more than allowed, which tells it is too big.
        data.resize(qsizetype(std::min<qint64>(st.st_size, maxBytes) + 1));
        qsizetype done = 0;
        while (err == 0 && done <= maxBytes) {
            if (done == data.size())
                data.resize(qsizetype(std::min<qint64>(2 * qint64(data.size()), maxBytes + 1)));
            const ssize_t n = ::read(fd, data.data() + done, size_t(data.size() - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                err = errno;
            else if (n == 0)
                break;
            else
                done += n;
        }
        if (err == 0 && done > maxBytes)
            err = EFBIG;
        if (err == 0)
            data.resize(done);
        else
            data.clear();
    }
    ::close(fd);
    return err;
}

int openOwnFileForAppend(const QByteArray& nativePath)
{
    const int place = ownFilePlaceError(nativePath);
    if (place != 0 && place != ENOENT) {
        errno = place;
        return -1;
    }
    // Non-blocking, so a FIFO that took the file's place since the query cannot
    // hold the open; the descriptor's own type then decides.
    const int fd =
        ::open(nativePath.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0666);
    if (fd < 0)
        return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int err = S_ISDIR(st.st_mode) ? EISDIR : ENODEV;
        ::close(fd);
        errno = err;
        return -1;
    }
    return fd;
}

int reopenOwnFileForAppend(const QByteArray& nativePath)
{
    const int fd =
        ::open(nativePath.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0666);
    // A FIFO without a reader answers ENXIO to a non-blocking open.
    if (fd < 0 && errno == ENXIO)
        errno = ENODEV;
    return fd;
}

namespace {

// The file a chain of links ends at (a missing end is the file to create).
QByteArray finalTarget(const QString& path)
{
    QFileInfo info(path);
    for (int depth = 0; depth < 40 && info.isSymLink(); ++depth)
        info.setFile(info.symLinkTarget());
    return QFile::encodeName(info.filePath());
}

bool writeAll(int fd, const QByteArray& data)
{
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.constData() + done, size_t(data.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        done += n;
    }
    return true;
}

qint64 milliseconds(const timespec& t)
{
    return qint64(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

// Sets the modification time of the open file past `old`'s when the write left
// it in the same millisecond or before.
bool stampLaterThan(int fd, const struct stat& old)
{
    struct stat now {};
    if (::fstat(fd, &now) != 0)
        return false;
    const qint64 oldMs = milliseconds(old.st_mtim);
    if (milliseconds(now.st_mtim) > oldMs)
        return true;
    const qint64 want = oldMs + 1;
    const timespec times[2] = {{0, UTIME_OMIT}, {time_t(want / 1000), long(want % 1000) * 1000000}};
    return ::futimens(fd, times) == 0;
}

} // namespace

void replaceOwnFile(const QString& path, const QByteArray& data, bool laterThanOld)
{
    const int place = ownFilePlaceError(QFile::encodeName(path));
    if (place != 0 && place != ENOENT)
        throw failureFromErrno(place);
    // Every write is checked here: a short write on a full disk must fail the
    // whole replacement, not leave a cut file behind.
    const QByteArray target = finalTarget(path);
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray dir = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : target.left(slash);
    QByteArray temp = dir + "/." + target.mid(slash + 1) + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        throw failureFromErrno(errno);
    struct stat old {};
    const bool hadOld = ::stat(target.constData(), &old) == 0;
    const mode_t mode = hadOld ? (old.st_mode & 07777) : (0666 & ~currentUmask());
    bool ok = ::fchmod(fd, mode) == 0 && writeAll(fd, data) && (!laterThanOld || !hadOld || stampLaterThan(fd, old)) &&
              ::fsync(fd) == 0;
    int err = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && ::rename(temp.constData(), target.constData()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(temp.constData());
        throw failureFromErrno(err != 0 ? err : EIO);
    }
}

} // namespace platform
