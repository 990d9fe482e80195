#include "platform/failure.h"

#include <cerrno>

namespace platform {

QString Failure::errorText() const
{
    return QStringLiteral("Error %1 (%2) ").arg(number_).arg(description_);
}

QString failureDescription(int number)
{
    switch (number) {
    case failures::InvalidCall:
        return QStringLiteral("Invalid procedure call or argument");
    case failures::Overflow:
        return QStringLiteral("Overflow");
    case failures::SubscriptOutOfRange:
        return QStringLiteral("Subscript out of range");
    case failures::TypeMismatch:
        return QStringLiteral("Type mismatch");
    case failures::FileNotFound:
        return QStringLiteral("File not found");
    case failures::FileAlreadyExists:
        return QStringLiteral("File already exists");
    case failures::DiskFull:
        return QStringLiteral("Disk full");
    case failures::PermissionDenied:
        return QStringLiteral("Permission denied");
    case failures::PathFileAccessError:
        return QStringLiteral("Path/File access error");
    case failures::PathNotFound:
        return QStringLiteral("Path not found");
    case failures::InvalidPicture:
        return QStringLiteral("Invalid picture");
    default:
        return QStringLiteral("Application-defined or object-defined error");
    }
}

Failure makeFailure(int number)
{
    return Failure(number, failureDescription(number));
}

Failure failureFromErrno(int err)
{
    switch (err) {
    case ENOENT:
        return makeFailure(failures::FileNotFound);
    case EEXIST:
    case ENOTEMPTY:
        return makeFailure(failures::FileAlreadyExists);
    case EACCES:
    case EPERM:
    case EROFS:
        return makeFailure(failures::PermissionDenied);
    case ENOSPC:
    case EDQUOT:
        return makeFailure(failures::DiskFull);
    case ENOTDIR:
        return makeFailure(failures::PathNotFound);
    case EINVAL:
    case ENAMETOOLONG:
        return makeFailure(failures::InvalidCall);
    default:
        return makeFailure(failures::PathFileAccessError);
    }
}

} // namespace platform
