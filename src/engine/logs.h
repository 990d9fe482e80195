#pragma once
#include "mediainfo/errorsink.h"

#include <QString>

// The error log ("errors.txt") and the activity log ("log.txt") in the program
// folder. Every line is opened, appended and closed on its own, so the user can
// read, copy or delete the files while the program runs. A failing write is
// swallowed: logging never fails towards its caller. A line that could not be
// written whole is taken back, so the files end with whole lines.
class Logs {
public:
    // folder: where the two files live (platform::programFolder() in the program).
    explicit Logs(QString folder);

    // Appends an error line and raises errorLogged, also when the write fails.
    void logError(const QString& text);
    // Appends an activity line (changes on disk and warnings of a run or undo).
    // False when the line did not reach the file; activityError() tells why.
    bool writeLog(const QString& text);

    // Whether "log.txt" can be appended to now (its folder exists or can be
    // made, the file opens for appending, the disk has room): empty when it
    // can, else the reason (for a folder that cannot be made, which level and
    // why). A run and an Undo ask before their first change.
    QString activityLogProblem() const;
    // The reason the last activity line failed, empty after a good one.
    const QString& activityError() const { return activityError_; }

    // A sink that writes to this error log.
    ErrorSink errorSink()
    {
        return [this](const QString& line) { logError(line); };
    }

    // -1 once logError was called; the Rename! command clears it at its start.
    qint16 errorLogged = 0;
    // Error lines since the program started, never cleared: any of them makes
    // the exit status at least 1.
    qint64 errorLines = 0;

    const QString& folder() const { return folder_; }
    QString errorFile() const;
    QString activityFile() const;

    // "(" date-and-time ") " text: the form of both files' lines. Control
    // characters in the text are written as escapes, so one call is one line,
    // and a line reads back to one text (escapeControlChars).
    QString lineFor(const QString& text);

private:
    void refreshStamp();
    const QByteArray& lineBytes(const QString& text);

    QString folder_;
    QByteArray errorNative_, activityNative_; // the two files' paths on disk
    // The activity log was found a regular file by the check before this run
    // or by the last line: the next line only opens it.
    mutable bool activityChecked_ = false;
    // The date text of the current second: a run writes thousands of lines a
    // second, and formatting the date is a large part of each.
    qint64 stampSecond_ = -1;
    QString stampText_;
    QByteArray stampBytes_;
    QByteArray lineBytes_; // the last line written, reused for the next
    QString activityError_;
};

// The text with every control character (isControlUnit) written as "\n",
// "\r", "\t", "\xHH" (C0 and DEL) or "\uHHHH" (C1 and the Unicode controls),
// and the backslash as "\\", so no name reads like another's escape. A byte
// that was not UTF-8 (U+DC80 + byte, see platform::argumentText) is written
// "\xHH", another lone surrogate "\uHHHH". Text without these stays as it is.
QString escapeControlChars(const QString& text);
