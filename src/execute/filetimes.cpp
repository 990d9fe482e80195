#include "execute/filetimes.h"
#include "platform/datetext.h"
#include "platform/failure.h"
#include "platform/fileops.h"

#include <optional>

using platform::attr::Archive;
using platform::attr::Hidden;
using platform::attr::ReadOnly;
using platform::attr::System;

bool getFileDates(const QString& path, FileStamps& stamps)
{
    const auto info = platform::entryInfo(path);
    if (!info || info->isDir)
        return false;
    stamps.created = platform::createdTime(*info);
    stamps.accessed = platform::toDateTime(info->accessed);
    stamps.modified = platform::toDateTime(info->modified);
    return true;
}

namespace {

QDate parseDate(const QString& text)
{
    if (auto d = platform::parseDateText(text))
        return *d;
    throw platform::makeFailure(platform::failures::TypeMismatch);
}

QTime parseTime(const QString& text)
{
    if (auto t = platform::parseTimeText(text))
        return *t;
    throw platform::makeFailure(platform::failures::TypeMismatch);
}

// The new stamp from the texts, whole seconds; nullopt when both are empty.
std::optional<QDateTime> newStamp(const QDateTime& old, const QString& dateText, const QString& timeText)
{
    if (dateText.isEmpty() && timeText.isEmpty())
        return std::nullopt;
    const QDate d = dateText.isEmpty() ? old.date() : parseDate(dateText);
    QTime t = timeText.isEmpty() ? old.time() : parseTime(timeText);
    t = QTime(t.hour(), t.minute(), t.second());
    return QDateTime(d, t);
}

qint64 wholeSeconds(const QDateTime& t)
{
    return t.toSecsSinceEpoch();
}

} // namespace

SetDatesResult setFileDates(const QString& path, const QString& createdDate, const QString& createdTime,
                            const QString& accessedDate, const QString& accessedTime, const QString& modifiedDate,
                            const QString& modifiedTime, OldFileDates& old)
{
    SetDatesResult result;
    FileStamps stamps;
    const auto info = platform::entryInfo(path);
    if (!info || info->isDir || !getFileDates(path, stamps))
        return result;
    old.accessedStamp = info->accessed;
    old.modifiedStamp = info->modified;
    old.bornStamp = info->born;
    old.hasBirthTime = info->hasBirthTime;
    old.createdDate = platform::dateText(stamps.created.date());
    old.createdTime = platform::timeText(stamps.created.time());
    old.accessedDate = platform::dateText(stamps.accessed.date());
    old.accessedTime = platform::timeText(stamps.accessed.time());
    old.modifiedDate = platform::dateText(stamps.modified.date());
    old.modifiedTime = platform::timeText(stamps.modified.time());

    // Every text is converted before anything changes on disk.
    const auto created = newStamp(stamps.created, createdDate, createdTime);
    const auto accessed = newStamp(stamps.accessed, accessedDate, accessedTime);
    const auto modified = newStamp(stamps.modified, modifiedDate, modifiedTime);

    const auto differs = [](const std::optional<QDateTime>& wanted, const QDateTime& was) {
        return wanted && wholeSeconds(*wanted) != wholeSeconds(was);
    };
    result.changes = {differs(created, stamps.created), differs(accessed, stamps.accessed),
                      differs(modified, stamps.modified)};
    result.createdRefused = result.changes[0];
    if (!result.changes[1] && !result.changes[2]) {
        result.ok = true;
        return result;
    }
    const auto stamp = [](bool change, const std::optional<QDateTime>& t) {
        return change ? std::optional<timespec>(platform::toTimespec(*t)) : std::nullopt;
    };
    try {
        platform::setFileTimes(path, stamp(result.changes[1], accessed), stamp(result.changes[2], modified));
        result.ok = true;
        result.anyWritten = true;
    } catch (const platform::Failure&) {
        result.ok = false;
    }
    return result;
}

int wantedAttributes(int oldAttributes, int boxR, int boxH, int boxS, int boxA)
{
    int value = 0;
    const std::pair<int, int> boxes[] = {{ReadOnly, boxR}, {Hidden, boxH}, {System, boxS}, {Archive, boxA}};
    for (const auto& [bit, box] : boxes) {
        if (box == 2)
            value |= oldAttributes & bit;
        else if (box == 1)
            value |= bit;
    }
    return value;
}
