#include "platform/settingsstore.h"

#include <QFile>
#include <QSettings>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

SettingsStore::SettingsStore(const QString& section)
    : section_(section), settings_(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                                               QStringLiteral("Taborin"), QStringLiteral("Taborin")))
{
}

SettingsStore::~SettingsStore()
{
    settings_->sync();
}

static QString fullKey(const QString& section, const QString& key)
{
    return section + QLatin1Char('/') + key;
}

bool SettingsStore::contains(const QString& key) const
{
    return settings_->contains(fullKey(section_, key));
}

QString SettingsStore::value(const QString& key, const QString& defaultValue) const
{
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
    settings_->setValue(fullKey(section_, key), value);
}

void SettingsStore::remove(const QString& key)
{
    settings_->remove(fullKey(section_, key));
}

void SettingsStore::deleteSection()
{
    settings_->remove(section_);
}

QStringList SettingsStore::keys() const
{
    settings_->beginGroup(section_);
    QStringList k = settings_->childKeys();
    settings_->endGroup();
    return k;
}

bool SettingsStore::sync()
{
    settings_->sync();
    return settings_->status() == QSettings::NoError;
}

QString SettingsStore::fileName() const
{
    return settings_->fileName();
}

int SettingsStore::readError() const
{
    const QByteArray path = QFile::encodeName(settings_->fileName());
    struct stat st {};
    if (::stat(path.constData(), &st) != 0)
        return errno == ENOENT || errno == ENOTDIR ? 0 : errno; // no store file: the defaults
    if (!S_ISREG(st.st_mode))
        return S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    ::close(fd);
    return 0;
}

} // namespace platform
