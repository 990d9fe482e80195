#include "platform/settingsstore.h"
#include "platform/inisection.h"
#include "platform/ownfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
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

// Opens the store file for reading without blocking on a FIFO; -1 with errno.
int openStore(const QByteArray& native)
{
    return openOwnFileForRead(native, maxStoreSize);
}

// Looked at before QSettings opens the file: it reads the whole file at once
// and would block on a FIFO.
int storeReadError(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    const int place = ownFilePlaceError(native);
    if (place == ENOENT || place == ENOTDIR)
        return 0; // no store file: the defaults
    if (place != 0)
        return place;
    const int fd = openStore(native);
    if (fd < 0)
        return errno;
    ::close(fd);
    return 0;
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

SettingsStore::SettingsStore(const QString& section)
    : section_(section), path_(storePath()), readError_(storeReadError(path_))
{
    if (readError_ != 0)
        return;
    // The file itself, without QSettings' fallbacks to other files: those were
    // never checked above, and the section is written back to this one only.
    QSettings settings(path_, QSettings::IniFormat);
    settings.beginGroup(section_);
    for (const QString& key : settings.allKeys()) {
        const QVariant v = settings.value(key);
        if (!v.isValid())
            continue;
        // A hand-edited value with a comma reads back as a list: join it again.
        read_.insert(key,
                     v.typeId() == QMetaType::QStringList ? v.toStringList().join(QStringLiteral(", ")) : v.toString());
    }
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
    if (values_ == read_)
        return true;
    try {
        write();
    } catch (const Failure& failure) {
        writeFailure_ = failure;
        return false;
    }
    read_ = values_;
    return true;
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
    QLockFile lock(path_ + QStringLiteral(".lock"));
    if (!lock.tryLock(3000) && lock.error() == QLockFile::LockFailedError)
        throw makeFailure(failures::PathFileAccessError);
    const QByteArray before = currentContent(path_);
    const QByteArray native = QFile::encodeName(path_);
    // A settings file the user made read-only is left alone, as QSettings did.
    if (::access(native.constData(), F_OK) == 0 && ::access(native.constData(), W_OK) != 0)
        throw failureFromErrno(errno);
    const QByteArray after = withIniSection(before, section_, iniSectionText(section_, values_));
    if (after == before)
        return;
    // QSettings keeps each file it read and reads it again only when its size
    // or time changed: a rewrite within the same millisecond must still show.
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

} // namespace platform
