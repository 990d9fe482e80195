#include "platform/settingsstore.h"

#include <QSettings>

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

} // namespace platform
