#include "mediainfo/mediafile.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool MediaFile::open(const QString& path)
{
    close();
    if (path.isEmpty() || path.contains(QChar(0)))
        return false;
    // O_NONBLOCK keeps a FIFO from blocking the open; it is refused just after.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    size_ = static_cast<qint64>(st.st_size);
    return true;
}

void MediaFile::close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    size_ = 0;
}

QByteArray MediaFile::readAt(qint64 offset, qint64 count) const
{
    if (fd_ < 0 || offset < 0 || count <= 0 || offset >= size_)
        return {};
    const qint64 wanted = std::min(count, size_ - offset);
    QByteArray out(wanted, Qt::Uninitialized);
    qint64 got = 0;
    while (got < wanted) {
        const ssize_t n = ::pread(fd_, out.data() + got, size_t(wanted - got), off_t(offset + got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += n;
    }
    out.truncate(got);
    return out;
}

bool isRegularFile(const QString& path)
{
    if (path.isEmpty() || path.contains(QChar(0)))
        return false;
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}
