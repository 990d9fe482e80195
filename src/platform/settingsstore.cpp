#include "platform/settingsstore.h"
#include "platform/ownfiles.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// Where QSettings keeps a user-scope INI store of this organisation and name.
QString storePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Taborin/Taborin.ini");
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
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return errno;
    ::close(fd);
    return 0;
}

} // namespace

SettingsStore::SettingsStore(const QString& section)
    : section_(section), path_(storePath()), readError_(storeReadError(path_))
{
    if (readError_ == 0)
        settings_ = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Taborin"),
                                                QStringLiteral("Taborin"));
}

SettingsStore::~SettingsStore()
{
    if (settings_)
        settings_->sync();
}

static QString fullKey(const QString& section, const QString& key)
{
    return section + QLatin1Char('/') + key;
}

bool SettingsStore::contains(const QString& key) const
{
    return settings_ && settings_->contains(fullKey(section_, key));
}

QString SettingsStore::value(const QString& key, const QString& defaultValue) const
{
    if (!settings_)
        return defaultValue;
    const QVariant v = settings_->value(fullKey(section_, key));
    if (!v.isValid())
        return defaultValue;
    // A hand-edited value with a comma reads back as a list: join it again.
    if (v.typeId() == QMetaType::QStringList)
        return v.toStringList().join(QStringLiteral(", "));
    return v.toString();
}

void SettingsStore::setValue(const QString& key, const QString& value)
{
    if (settings_)
        settings_->setValue(fullKey(section_, key), value);
}

void SettingsStore::remove(const QString& key)
{
    if (settings_)
        settings_->remove(fullKey(section_, key));
}

void SettingsStore::deleteSection()
{
    if (settings_)
        settings_->remove(section_);
}

QStringList SettingsStore::keys() const
{
    if (!settings_)
        return {};
    settings_->beginGroup(section_);
    QStringList k = settings_->childKeys();
    settings_->endGroup();
    return k;
}

bool SettingsStore::sync()
{
    if (!settings_)
        return false;
    settings_->sync();
    return settings_->status() == QSettings::NoError;
}

QString SettingsStore::fileName() const
{
    return settings_ ? settings_->fileName() : path_;
}

int SettingsStore::readError() const
{
    return readError_;
}

} // namespace platform
