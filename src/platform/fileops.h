#pragma once
#include <ctime>
#include <fcntl.h>
#include <optional>
#include <QByteArray>
#include <QDateTime>
#include <QString>

// File-system queries and changes. Changes throw platform::Failure with the
// program's failure numbers; queries answer neutrally.
namespace platform {

// Attribute bits as the program counts them.
namespace attr {
inline constexpr int ReadOnly = 1;
inline constexpr int Hidden = 2;
inline constexpr int System = 4;
inline constexpr int Directory = 16;
inline constexpr int Archive = 32;
inline constexpr int Changeable = ReadOnly | Hidden | System | Archive;
} // namespace attr

struct EntryInfo {
    bool isDir = false;
    bool isSymlink = false;
    bool isRegular = false;
    qint64 size = 0;
    unsigned mode = 0;
    timespec modified{};
    timespec accessed{};
    timespec born{};
    bool hasBirthTime = false;
};

// lstat-like: a symbolic link is an entry of its own, never followed.
std::optional<EntryInfo> entryInfo(const QString& path);
// The same for a path given as its bytes on disk (a name that is not valid
// UTF-8, or a walk that holds the bytes already); errno tells why it failed.
// With an open directory's descriptor, the path is relative to that directory.
std::optional<EntryInfo> entryInfoNative(const QByteArray& nativePath, int dirFd = AT_FDCWD);
// Masks without the directory bit mean "exists and is not a directory";
// masks with it mean "exists".
bool entryExists(const QString& path, int attributeMask);
bool isDirectory(const QString& path);
// 64-bit size of a file; 0 when it cannot be read.
qint64 fileSize(const QString& path);

QDateTime toDateTime(const timespec& ts);
timespec toTimespec(const QDateTime& when);
// The creation time shown for an entry: its birth time, else its modified time.
QDateTime createdTime(const EntryInfo& info);

// Sets the accessed and/or modified time with nanoseconds; a missing value is kept.
void setFileTimes(const QString& path, const std::optional<timespec>& accessed,
                  const std::optional<timespec>& modified);

// Renames without ever replacing an existing entry. An existing target is
// failure 58; a case-only change of one entry is allowed. Refuses an empty
// name, NUL characters and "." or ".." components of the target.
void renameNoReplace(const QString& from, const QString& to);
// The same for `from` and `to` given relative to the directory `dir`: no level
// of either below `dir` is entered when it is a symbolic link, wherever the
// link points (the rename fails instead), and neither may hold "." or "..".
void renameNoReplace(const QString& dir, const QString& from, const QString& to);
// Creates one directory; an existing entry is failure 58.
void makeDirectory(const QString& path);
// Creates the directory `relative` below `dir`, its levels reached as above.
void makeDirectory(const QString& dir, const QString& relative);
// The entry `relative` below `dir`, its levels reached as above (a level that
// is a link gives nothing); the entry itself is never followed.
std::optional<EntryInfo> entryInfoBelow(const QString& dir, const QString& relative);
// The three calls above with their base directory held open: a run renames
// thousands of entries of one directory and opens it once, not once per entry.
// A call for another directory closes the held one and opens that instead.
// Renames below the held directory never move it; renaming it or a level above
// it takes a call for its parent, which switches the held directory first.
class BaseDirectory {
public:
    BaseDirectory() = default;
    ~BaseDirectory();
    BaseDirectory(const BaseDirectory&) = delete;
    BaseDirectory& operator=(const BaseDirectory&) = delete;
    void renameNoReplace(const QString& dir, const QString& from, const QString& to);
    void makeDirectory(const QString& dir, const QString& relative);
    std::optional<EntryInfo> entryInfoBelow(const QString& dir, const QString& relative);
    void close();

private:
    int open(const QString& dir);
    QString path_;
    int fd_ = -1;
};
// Removes an empty directory.
void removeDirectory(const QString& path);

// R/H/S/A/D bits of an entry (see DESIGN: read-only of a file is "no write
// permission for anyone", hidden is a dot-name or the stored DOS bit, system and
// archive live in the user.DOSATTRIB extended attribute).
int getAttributes(const QString& path);
// The same bits from an entry's bytes on disk and its information, without a second lstat.
int attributesNative(const QByteArray& nativePath, const EntryInfo& info);
// The same for the entry `name` of the open directory `dirFd`, whose path
// (ending in "/") is `dirPath`; the path is used only where the system cannot
// query relative to the directory.
int attributesAt(int dirFd, const QByteArray& dirPath, const QByteArray& name, const EntryInfo& info);
// The user.DOSATTRIB extended attribute of an entry as it was before a change,
// so that an Undo puts back what was there: nothing, or the very bytes (other
// programs keep more than the bits in it).
struct StoredDosAttrib {
    bool recorded = false;           // false: not known, an Undo writes the bits
    std::optional<QByteArray> value; // nullopt: the entry had none
};
// Writes exactly the R/H/S/A bits of `attributes`; other bits are untouched.
// A symbolic link cannot be write protected (failure 70). Returns the extended
// attribute as it was before (not recorded for a link, which has none).
StoredDosAttrib setAttributes(const QString& path, int attributes);
// The Undo of setAttributes: the write permission as `attributes` says, and
// the extended attribute exactly as `before` recorded it (removed when the
// entry had none); with nothing recorded, setAttributes.
void restoreAttributes(const QString& path, int attributes, const StoredDosAttrib& before);
// "[RHSA]" with "-" for every clear bit.
QString attributeText(int attributes);

} // namespace platform
