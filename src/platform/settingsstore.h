#pragma once
#include <memory>
#include <QString>
#include <QStringList>

class QSettings;

namespace platform {

// The per-user settings store: $XDG_CONFIG_HOME/Taborin/Taborin.ini, one section
// per program. Values are texts. Nothing is written until a value is set or the
// section deleted, so opening a store never creates the file. A store file that
// exists but cannot be read (no permission, or a directory, FIFO or device in
// its place, also behind a link) is never opened for reading and never written:
// it reads as empty and every change to it is dropped.
class SettingsStore {
public:
    explicit SettingsStore(const QString& section = QStringLiteral("Vexor Renamer"));
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    bool contains(const QString& key) const;
    // The stored text, or defaultValue when the key is missing.
    QString value(const QString& key, const QString& defaultValue = QString()) const;
    void setValue(const QString& key, const QString& value);
    void remove(const QString& key);
    // Removes the whole section; other sections of the file are kept.
    void deleteSection();
    QStringList keys() const;
    // Writes pending changes; false when the file could not be written.
    bool sync();
    QString fileName() const;
    // The errno of a store file that exists but cannot be read (no permission,
    // a directory in its place; ENODEV for a FIFO, socket or device), found when
    // the store was opened; 0 when it reads or does not exist.
    int readError() const;

private:
    QString section_;
    QString path_;
    int readError_ = 0;
    // Null while the file cannot be read.
    std::unique_ptr<QSettings> settings_;
};

} // namespace platform
