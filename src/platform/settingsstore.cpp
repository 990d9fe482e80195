#include "platform/settingsstore.h"
#include "platform/inisection.h"
#include "platform/ownfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QSysInfo>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// Far beyond any settings file; a larger one is not read into memory.
constexpr qint64 maxStoreSize = 16 * 1024 * 1024;

// Where QSettings keeps a user-scope INI store of this organisation and name.
QString storePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Taborin/Taborin.ini");
}

// The file as it is now (it may have changed since the store was read);
// empty when there is none.
QByteArray currentContent(const QString& path)
{
    QByteArray data;
    const int err = readOwnFile(QFile::encodeName(path), maxStoreSize, data);
    if (err != 0 && err != ENOENT)
        throw failureFromErrno(err);
    return data;
}

Failure accessFailure(const QString& what)
{
    return Failure(failures::PathFileAccessError,
                   failureDescription(failures::PathFileAccessError) + QStringLiteral(": ") + what);
}

// Makes the store's folder and the levels above it. A level that cannot be
// made for lack of permission is named; any other cause shows in the write.
void makeFolder(const QString& folder)
{
    const QString clean = QDir::cleanPath(folder);
    for (qsizetype from = 1;;) {
        const qsizetype slash = clean.indexOf(u'/', from);
        const QString level = slash < 0 ? clean : clean.left(slash);
        const QByteArray native = QFile::encodeName(level);
        struct stat st {};
        if (::stat(native.constData(), &st) != 0) {
            if (errno != ENOENT)
                return;
            if (::mkdir(native.constData(), 0777) != 0 && errno != EEXIST) {
                if (errno != EACCES && errno != EPERM && errno != EROFS)
                    return;
                const Failure denied = failureFromErrno(errno);
                throw Failure(denied.number(), denied.description() + QStringLiteral(": the folder ") + level +
                                                   QStringLiteral(" could not be made"));
            }
        }
        if (slash < 0)
            return;
        from = slash + 1;
    }
}

// Something else than a file in the lock file's place is no lock anyone holds.
void checkLockPlace(const QString& lockName)
{
    struct stat st {};
    if (::lstat(QFile::encodeName(lockName).constData(), &st) != 0 || S_ISREG(st.st_mode) || S_ISLNK(st.st_mode))
        return;
    throw accessFailure((S_ISDIR(st.st_mode) ? QStringLiteral("a folder is in the place of the lock file ")
                                             : QStringLiteral("something that is not a file is in the place of "
                                                              "the lock file ")) +
                        lockName);
}

bool processLives(qint64 pid)
{
    if (pid <= 0 || pid > std::numeric_limits<pid_t>::max())
        return false;
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

// Why a lock that was there for the whole wait could not be taken: another
// program is named as its holder only when the holder the file names lives.
Failure lockFailure(const QLockFile& lock, const QString& lockName)
{
    qint64 pid = 0;
    QString host, program;
    if (!lock.getLockInfo(&pid, &host, &program))
        return accessFailure(QStringLiteral("no program that holds it could be read from the lock file ") + lockName);
    if (!host.isEmpty() && host != QSysInfo::machineHostName())
        return accessFailure(QStringLiteral("a program on the computer %1 holds the lock file %2").arg(host, lockName));
    if (processLives(pid))
        return accessFailure(QStringLiteral("another program holds the lock file ") + lockName);
    // Left by a program that has ended: the wait tried to remove it.
    QString why;
    if (::access(QFile::encodeName(QFileInfo(lockName).path()).constData(), W_OK | X_OK) != 0)
        why = QStringLiteral(": ") + failureFromErrno(errno).description();
    return accessFailure(QStringLiteral("the lock file %1, left by a program that has ended, could not be removed%2")
                             .arg(lockName, why));
}

} // namespace

SettingsStore::SettingsStore(const QString& section) : section_(section), path_(storePath())
{
    // Read through our own bounded reader: a FIFO in the file's place would
    // block a plain read, and a file of a GB would be held in memory at once.
    // A read that fails part-way is a file that cannot be read, never a
    // shorter one.
    QByteArray data;
    const int err = readOwnFile(QFile::encodeName(path_), maxStoreSize, data);
    if (err == ENOENT || err == ENOTDIR)
        return; // no store file: the defaults
    if (err != 0) {
        readError_ = err;
        return;
    }
    read_ = iniSectionValues(data, section_);
    values_ = read_;
}

SettingsStore::~SettingsStore()
{
    if (pending_)
        sync();
}

bool SettingsStore::contains(const QString& key) const
{
    return values_.contains(key);
}

QString SettingsStore::value(const QString& key, const QString& defaultValue) const
{
    return values_.value(key, defaultValue);
}

void SettingsStore::setValue(const QString& key, const QString& value)
{
    values_.insert(key, value);
    pending_ = true;
}

void SettingsStore::remove(const QString& key)
{
    const QString below = key + QLatin1Char('/');
    for (auto it = values_.begin(); it != values_.end();)
        it = it.key() == key || it.key().startsWith(below) ? values_.erase(it) : std::next(it);
    pending_ = true;
}

void SettingsStore::deleteSection()
{
    values_.clear();
    cleared_ = true;
    pending_ = true;
}

QStringList SettingsStore::keys() const
{
    QStringList k;
    for (auto it = values_.cbegin(); it != values_.cend(); ++it)
        if (!it.key().contains(QLatin1Char('/')))
            k.append(it.key());
    return k;
}

bool SettingsStore::sync()
{
    pending_ = false;
    writeFailure_.reset();
    if (readError_ != 0) {
        writeFailure_ = failureFromErrno(readError_);
        return false;
    }
    if (values_ == read_) {
        cleared_ = false;
        return true;
    }
    try {
        write();
    } catch (const Failure& failure) {
        writeFailure_ = failure;
        return false;
    }
    // The next write merges what changed after this one.
    read_ = values_;
    cleared_ = false;
    return true;
}

QMap<QString, QString> SettingsStore::merged(const QMap<QString, QString>& file) const
{
    QMap<QString, QString> result = file;
    if (cleared_)
        result.removeIf([&](const auto& it) { return !values_.contains(it.key()); });
    QStringList keys = read_.keys() + values_.keys();
    keys.removeDuplicates();
    for (const QString& key : std::as_const(keys)) {
        const auto read = read_.constFind(key);
        const auto ours = values_.constFind(key);
        const bool hadIt = read != read_.cend(), hasIt = ours != values_.cend();
        if (hadIt == hasIt && (!hasIt || *read == *ours))
            continue; // not changed here: the file's stays
        if (hasIt)
            result.insert(key, *ours);
        else
            result.remove(key);
    }
    if (mergeRule_)
        mergeRule_(Versions{read_, values_, file}, result);
    return result;
}

void SettingsStore::write()
{
    makeFolder(QFileInfo(path_).path());
    // The lock QSettings takes for its writes, so that a write by another
    // program of the file is never lost between our read and our write. A lock
    // file that cannot be made (a folder we may not write) leaves the write
    // itself to succeed or fail; only a lock that stays for seconds stops it.
    const QString lockName = path_ + QStringLiteral(".lock");
    checkLockPlace(lockName);
    QLockFile lock(lockName);
    if (!lock.tryLock(3000) && lock.error() == QLockFile::LockFailedError)
        throw lockFailure(lock, lockName);
    const QByteArray before = currentContent(path_);
    const QByteArray native = QFile::encodeName(path_);
    // A settings file the user made read-only is left alone, as QSettings did.
    if (::access(native.constData(), F_OK) == 0 && ::access(native.constData(), W_OK) != 0)
        throw failureFromErrno(errno);
    const QByteArray after = withIniSection(before, section_, merged(iniSectionValues(before, section_)));
    if (after == before)
        return;
    // QSettings (in another program that shares the file) keeps each file it
    // read and reads it again only when its size or time changed: a rewrite
    // within the same millisecond must still show.
    replaceOwnFile(path_, after, true);
}

QString SettingsStore::fileName() const
{
    return path_;
}

int SettingsStore::readError() const
{
    return readError_;
}

QString SettingsStore::readProblem() const
{
    return readError_ == EFBIG ? QStringLiteral("is larger than %1 MiB").arg(maxStoreSize / (1024 * 1024))
                               : QStringLiteral("could not be read");
}

} // namespace platform
