#include "platform/settingsstore.h"
#include "platform/inisection.h"
#include "platform/ownfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
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

} // namespace

SettingsStore::SettingsStore(const QString& section) : section_(section), path_(storePath())
{
    // Read through our own bounded reader: a FIFO in the file's place would
    // block QSettings, and a file of a GB would be held in memory at once.
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
    // A folder that cannot be made shows in the write below.
    QDir().mkpath(QFileInfo(path_).path());
    // The lock QSettings takes for its writes, so that a write by another
    // program of the file is never lost between our read and our write. A lock
    // file that cannot be made (a folder we may not write) leaves the write
    // itself to succeed or fail; only a lock held by someone else for seconds
    // stops it.
    const QString lockName = path_ + QStringLiteral(".lock");
    QLockFile lock(lockName);
    if (!lock.tryLock(3000) && lock.error() == QLockFile::LockFailedError)
        throw Failure(failures::PathFileAccessError, failureDescription(failures::PathFileAccessError) +
                                                         QStringLiteral(": another program holds the lock file ") +
                                                         lockName);
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
