#pragma once
#include "platform/failure.h"

#include <functional>
#include <optional>
#include <QMap>
#include <QString>
#include <QStringList>

namespace platform {

// The per-user settings store: $XDG_CONFIG_HOME/Taborin/Taborin.ini, one section
// per program. Values are texts, read when the store opens as QSettings reads
// them (inisection.h: a line that is not UTF-8 as Windows-1252). The file is
// written only when the section's values differ from what was read, and then
// only the lines of the keys that changed: other sections, all comments and
// the bytes of other lines stay as they were. So opening a store never creates
// the file, and a run that changes nothing leaves it alone. A store file that
// exists but cannot be read whole (no permission, a read error, or a
// directory, FIFO or device in its place, also behind a link, or a size no
// settings file has) is never written: readError() tells it, it reads as
// empty and every change to it is dropped.
//
// Several programs may write the file while each has it open (runs of the
// renamer at once): the write takes QSettings' lock file, reads the file
// again and merges key by key. A key this store changed since it read the
// file (or last wrote it) takes its value here; any other key keeps the
// value the file holds now. A merge rule given by the caller may decide keys
// of its own, such as counts to add up.
class SettingsStore {
public:
    // The section's three versions at a write: as this store read it (or
    // last wrote it), as it holds it now, and as the file holds it now.
    struct Versions {
        const QMap<QString, QString>& read;
        const QMap<QString, QString>& ours;
        const QMap<QString, QString>& file;
    };
    // Runs under the lock with the key-by-key merge in `merged`, which it may
    // change; what it leaves there is written.
    using MergeRule = std::function<void(const Versions&, QMap<QString, QString>& merged)>;

    explicit SettingsStore(const QString& section = QStringLiteral("Vexor Renamer"));
    // Writes pending changes that no sync() has tried yet; a failure is lost,
    // so callers that report one call sync() themselves.
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    bool contains(const QString& key) const;
    // The stored text, or defaultValue when the key is missing.
    QString value(const QString& key, const QString& defaultValue = QString()) const;
    void setValue(const QString& key, const QString& value);
    void remove(const QString& key);
    // Removes the whole section, also the keys another program adds to it
    // before the write; other sections of the file are kept. Keys set again
    // after it are merged as ever.
    void deleteSection();
    QStringList keys() const;
    void setMergeRule(MergeRule rule) { mergeRule_ = std::move(rule); }
    // Writes the section when it changed; false when the file could not be
    // written (writeFailure() tells why) or could not be read at the start.
    bool sync();
    // Why the last sync() could not write the file.
    const std::optional<Failure>& writeFailure() const { return writeFailure_; }
    QString fileName() const;
    // The errno of a store file that exists but cannot be read (no permission,
    // a directory in its place; ENODEV for a FIFO, socket or device; EFBIG for
    // a file too large to be a settings file), found when the store was
    // opened; 0 when it reads or does not exist.
    int readError() const;
    // Why the file could not be read, to follow its name in a message: "is
    // larger than 16 MiB", else "could not be read".
    QString readProblem() const;

private:
    void write();
    QMap<QString, QString> merged(const QMap<QString, QString>& file) const;

    QString section_;
    QString path_;
    int readError_ = 0;
    bool pending_ = false;
    bool cleared_ = false; // deleteSection() since the last write
    // The section as read (keys of subsections hold a "/"), and as it is now.
    QMap<QString, QString> read_, values_;
    std::optional<Failure> writeFailure_;
    MergeRule mergeRule_;
};

} // namespace platform
