#pragma once
#include <QString>

// The error log ("errors.txt") and the activity log ("log.txt") in the program
// folder. Every line is opened, appended and closed on its own, so the user can
// read, copy or delete the files while the program runs. A failing write is
// swallowed: logging never fails towards its caller.
class Logs {
public:
    // folder: where the two files live (platform::programFolder() in the program).
    explicit Logs(QString folder);

    // Appends an error line and raises errorLogged, also when the write fails.
    void logError(const QString& text);
    // Appends an activity line (changes on disk and warnings of a run or undo).
    void writeLog(const QString& text);

    // -1 once logError was called; the Rename! command clears it at its start.
    qint16 errorLogged = 0;

    const QString& folder() const { return folder_; }
    QString errorFile() const;
    QString activityFile() const;

    // "(" date-and-time ") " text: the form of both files' lines.
    QString lineFor(const QString& text);

private:
    QString folder_;
    QByteArray errorNative_, activityNative_; // the two files' paths on disk
    // The date text of the current second: a run writes thousands of lines a
    // second, and formatting the date is a large part of each.
    qint64 stampSecond_ = -1;
    QString stampText_;
};
