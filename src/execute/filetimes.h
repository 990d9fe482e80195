#pragma once
#include <array>
#include <ctime>
#include <QDateTime>
#include <QString>

// The three time stamps of a file as local calendar times. The creation time is
// the birth time where the file system records one, else the modified time.
struct FileStamps {
    QDateTime created;
    QDateTime accessed;
    QDateTime modified;
};

// The old stamps as texts (short date, long time), for the log lines and the
// undo record.
struct OldFileDates {
    QString createdDate, createdTime;
    QString accessedDate, accessedTime;
    QString modifiedDate, modifiedTime;
    // The same stamps exactly as the file system keeps them, for Undo.
    timespec accessedStamp{}, modifiedStamp{}, bornStamp{};
    bool hasBirthTime = false;
};

// False when the path names no file (a directory included) or its stamps
// cannot be read.
bool getFileDates(const QString& path, FileStamps& stamps);

// What setFileDates did.
struct SetDatesResult {
    bool ok = false;             // the accessed and modified stamps asked for were written
    bool createdRefused = false; // a new creation time was asked for and cannot be set here
    bool anyWritten = false;     // at least one stamp changed on disk
    // Created, accessed, modified: a new value was asked for and differs, to
    // the second, from the old one. A value equal to the old one is no change.
    std::array<bool, 3> changes{};
};

// Sets the date and/or time part of each stamp from the texts; an empty text
// keeps that part. Stamps with both texts empty, or whose new value equals the
// old one to the second, are left exactly as they are (nanoseconds included).
// Linux cannot set a creation time: a requested one equal, to the second, to
// the one shown is no change; any other is refused
// while the other stamps are still written. The old stamps are left in `old`
// (unchanged when the file cannot be read). A text that does not convert
// throws platform::Failure 13 before anything changes. Mode bits are never touched.
SetDatesResult setFileDates(const QString& path, const QString& createdDate, const QString& createdTime,
                            const QString& accessedDate, const QString& accessedTime, const QString& modifiedDate,
                            const QString& modifiedTime, OldFileDates& old);

// The attribute value a change asks for: for each of R, H, S and A, box value 2
// keeps the old bit, 1 sets it, anything else clears it.
int wantedAttributes(int oldAttributes, int boxR, int boxH, int boxS, int boxA);
