#pragma once
#include <exception>
#include <QString>

namespace platform {

// A failure with the number and description that the program's error lines
// carry ("Error 53 (File not found) ..."). Thrown by code that passes failures
// on to the nearest procedure that catches them.
class Failure : public std::exception {
public:
    Failure(int number, QString description) : number_(number), description_(std::move(description)) {}
    int number() const { return number_; }
    const QString& description() const { return description_; }
    // "Error N (description) ", the prefix of every error-log line.
    QString errorText() const;
    const char* what() const noexcept override { return "platform::Failure"; }

private:
    int number_;
    QString description_;
};

namespace failures {
inline constexpr int InvalidCall = 5;
inline constexpr int Overflow = 6;
inline constexpr int SubscriptOutOfRange = 9;
inline constexpr int TypeMismatch = 13;
inline constexpr int FileNotFound = 53;
inline constexpr int FileAlreadyExists = 58;
inline constexpr int DiskFull = 61;
inline constexpr int PermissionDenied = 70;
inline constexpr int PathFileAccessError = 75;
inline constexpr int PathNotFound = 76;
inline constexpr int InvalidPicture = 481;
} // namespace failures

// The description of a failure number ("File not found" for 53).
QString failureDescription(int number);
Failure makeFailure(int number);
// Maps an errno value to the program's failure numbers.
Failure failureFromErrno(int err);

} // namespace platform
