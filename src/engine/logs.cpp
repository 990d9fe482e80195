#include "engine/logs.h"
#include "platform/datetext.h"

#include <QDateTime>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

Logs::Logs(QString folder)
    : folder_(std::move(folder)), errorNative_(QFile::encodeName(errorFile())),
      activityNative_(QFile::encodeName(activityFile()))
{
}

QString Logs::errorFile() const
{
    return folder_ + QStringLiteral("/errors.txt");
}

QString Logs::activityFile() const
{
    return folder_ + QStringLiteral("/log.txt");
}

QString Logs::lineFor(const QString& text)
{
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    if (now != stampSecond_) {
        stampSecond_ = now;
        stampText_ = QStringLiteral("(") + platform::dateTimeText(QDateTime::fromSecsSinceEpoch(now)) +
                     QStringLiteral(") ");
    }
    return stampText_ + text;
}

// A bare open, append and close: a run writes one line per rename, and a
// buffered file object adds its own queries of the file to each.
static void appendLine(const QByteArray& file, const QString& line)
{
    const int fd = ::open(file.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        return;
    const QByteArray bytes = (line + QLatin1Char('\n')).toUtf8();
    const char* at = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, at, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        at += n;
        left -= n;
    }
    ::close(fd);
}

void Logs::logError(const QString& text)
{
    errorLogged = -1;
    appendLine(errorNative_, lineFor(text));
}

void Logs::writeLog(const QString& text)
{
    appendLine(activityNative_, lineFor(text));
}
