#include "platform/ownfiles.h"
#include "platform/failure.h"

#include <cerrno>
#include <fcntl.h>
#include <QFile>
#include <QSaveFile>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

int ownFilePlaceError(const QByteArray& nativePath)
{
    struct stat st {};
    if (::stat(nativePath.constData(), &st) != 0)
        return errno;
    if (S_ISREG(st.st_mode))
        return 0;
    return S_ISDIR(st.st_mode) ? EISDIR : ENODEV;
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

void replaceOwnFile(const QString& path, const QByteArray& data)
{
    const int place = ownFilePlaceError(QFile::encodeName(path));
    if (place != 0 && place != ENOENT)
        throw failureFromErrno(place);
    QSaveFile file(path);
    errno = 0;
    const bool ok = file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.commit();
    if (!ok) {
        const int err = errno;
        if (file.isOpen())
            file.cancelWriting();
        throw failureFromErrno(err != 0 ? err : EIO);
    }
}

} // namespace platform
