#include "mediainfo/dirinfo.h"
#include "platform/failure.h"

#include <QByteArray>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <deque>
#include <dirent.h>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

using DirId = std::pair<dev_t, ino_t>;

QByteArray childPrefix(const QByteArray& dirPath)
{
    return dirPath.endsWith('/') ? dirPath : dirPath + '/';
}

struct Walk {
    DirInfo& info;
    const std::function<void()>& yield;
    std::deque<QByteArray> pending; // native paths still to list, breadth-first
    std::set<DirId> visited;

    void served() const
    {
        if (yield)
            yield();
    }

    void countEntry(int dirFd, const QByteArray& dirPath, const char* name, bool top)
    {
        struct stat st {};
        if (::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            throw platform::failureFromErrno(errno);
        if (S_ISDIR(st.st_mode)) {
            ++info.treeDirs;
            if (top)
                ++info.topDirs;
            if (visited.insert({st.st_dev, st.st_ino}).second)
                pending.push_back(childPrefix(dirPath) + name);
            return;
        }
        ++info.treeFiles;
        info.treeBytes += st.st_size;
        if (top) {
            ++info.topFiles;
            info.topBytes += st.st_size;
        }
    }

    void listOne(const QByteArray& dirPath, bool top)
    {
        // O_NOFOLLOW: a directory swapped for a link since it was counted is not entered.
        const int dirFd = ::open(dirPath.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (dirFd < 0)
            throw platform::failureFromErrno(errno);
        DIR* d = ::fdopendir(dirFd);
        if (!d) {
            const int err = errno;
            ::close(dirFd);
            throw platform::failureFromErrno(err);
        }
        const int fd = ::dirfd(d);
        try {
            for (;;) {
                errno = 0;
                const dirent* e = ::readdir(d);
                if (!e) {
                    if (errno != 0)
                        throw platform::failureFromErrno(errno);
                    break;
                }
                if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
                    countEntry(fd, dirPath, e->d_name, top);
                served();
            }
        } catch (...) {
            ::closedir(d);
            throw;
        }
        ::closedir(d);
    }
};

} // namespace

bool getDirInfo(const QString& dir, DirInfo& info, const ErrorSink& logError, const std::function<void()>& yield)
{
    if (!dir.isEmpty() && dir == info.path)
        return !info.failed;
    info = DirInfo{};
    const QByteArray native = QFile::encodeName(dir);
    struct stat st {};
    if (dir.isEmpty() || ::lstat(native.constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return false;
    info.path = dir;
    Walk walk{info, yield, {}, {}};
    walk.visited.insert({st.st_dev, st.st_ino});
    walk.pending.push_back(native);
    try {
        bool top = true;
        while (!walk.pending.empty()) {
            const QByteArray current = std::move(walk.pending.front());
            walk.pending.pop_front();
            walk.listOne(current, top);
            top = false;
            walk.served();
        }
        return true;
    } catch (const platform::Failure& failure) {
        // The partial counts must never pass for a valid count of this path.
        info.failed = true;
        if (logError)
            logError(failure.errorText() + QStringLiteral("getDirInfo: DIR=") + dir);
        return false;
    }
}
