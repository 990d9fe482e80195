#pragma once
#include <QByteArray>
#include <QString>

// The program's own files (settings, logs, configuration lists, a saved log) may
// be links to regular files that the user set up, and are read and written
// through them. A FIFO, device, socket or directory in their place is refused
// before it is opened, so it never blocks and is never replaced.
namespace platform {

// 0 when `nativePath` is a regular file or a link to one; ENOENT when nothing
// is there (or a dangling link); EISDIR for a directory, ENODEV for a FIFO,
// socket or device; else the errno of the query.
int ownFilePlaceError(const QByteArray& nativePath);

// Reads a whole own file of at most `maxBytes` bytes into `data`. Returns 0,
// or why it was not read: ENOENT or ENOTDIR when nothing is there, EISDIR for
// a directory, ENODEV for a FIFO, socket or device (never opened, so it never
// blocks), EFBIG when the file holds more than `maxBytes` (nothing of it is
// read), else the errno of the open or the read. `data` is empty unless 0.
int readOwnFile(const QByteArray& nativePath, qint64 maxBytes, QByteArray& data);
// The file opened for reading, when it is a regular file of at most `maxBytes`:
// the descriptor, else -1 with errno as readOwnFile gives it. Never blocks.
int openOwnFileForRead(const QByteArray& nativePath, qint64 maxBytes);

// Opens an own file for appending, created when missing; -1 with errno set
// when it cannot be, or when something else than a regular file is there.
int openOwnFileForAppend(const QByteArray& nativePath);

// The same for a file already checked by openOwnFileForAppend in this run (the
// activity log before a run, one line per rename): only the open itself, which
// still never blocks on a FIFO nor opens a directory.
int reopenOwnFileForAppend(const QByteArray& nativePath);

// Replaces the content of an own file as a whole: the data goes to a temporary
// file beside it (beside the link's target, for a link), which then takes the
// file's place, so a failed write leaves the old file, or none. With
// laterThanOld the new file's modification time is made later, to the
// millisecond, than the old one's, so a reader that goes by size and time sees
// the change even within one tick of the file system's clock. Throws
// platform::Failure.
void replaceOwnFile(const QString& path, const QByteArray& data, bool laterThanOld = false);

} // namespace platform
