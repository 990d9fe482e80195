#include "engine/logs.h"
#include "engine/textutil.h"
#include "platform/datetext.h"
#include "platform/ownfiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QStringEncoder>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/statvfs.h>
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

QString escapeControlChars(const QString& text)
{
    if (std::none_of(text.begin(), text.end(), [](QChar c) { return isControlUnit(c.unicode()); }))
        return text;
    QString out;
    out.reserve(text.size() + 16);
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (!isControlUnit(u)) {
            out += c;
            continue;
        }
        switch (u) {
        case u'\n':
            out += QLatin1String("\\n");
            break;
        case u'\r':
            out += QLatin1String("\\r");
            break;
        case u'\t':
            out += QLatin1String("\\t");
            break;
        default:
            // The Unicode controls take four hex digits, the C0 and C1 ones two.
            if (u > 0xFF)
                out += QLatin1String("\\u") + QString::number(unsigned(u), 16).toUpper();
            else
                out += QLatin1String("\\x") +
                       QString::number(unsigned(u), 16).toUpper().rightJustified(2, QLatin1Char('0'));
        }
    }
    return out;
}

void Logs::refreshStamp()
{
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    if (now != stampSecond_) {
        stampSecond_ = now;
        stampText_ =
            QStringLiteral("(") + platform::dateTimeText(QDateTime::fromSecsSinceEpoch(now)) + QStringLiteral(") ");
        stampBytes_ = stampText_.toUtf8();
    }
}

QString Logs::lineFor(const QString& text)
{
    refreshStamp();
    return stampText_ + escapeControlChars(text);
}

// ENODEV stands for a FIFO, device or socket in the file's place.
static QString reasonText(int err)
{
    if (err == ENODEV)
        return QStringLiteral("Not a regular file");
    return QString::fromLocal8Bit(std::strerror(err));
}

// A line's bytes with its line end, built in one buffer kept from line to
// line: a run writes one line per rename. Text with a control character or a
// surrogate takes the general way, which writes them as it always has.
const QByteArray& Logs::lineBytes(const QString& text)
{
    const bool plain =
        std::none_of(text.begin(), text.end(), [](QChar c) { return isControlUnit(c.unicode()) || c.isSurrogate(); });
    if (!plain) {
        lineBytes_ = (lineFor(text) + QLatin1Char('\n')).toUtf8();
        return lineBytes_;
    }
    refreshStamp();
    QStringEncoder encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    lineBytes_.resize(stampBytes_.size() + encoder.requiredSpace(text.size()) + 1);
    char* out = lineBytes_.data();
    std::memcpy(out, stampBytes_.constData(), size_t(stampBytes_.size()));
    out = encoder.appendToBuffer(out + stampBytes_.size(), text);
    *out++ = '\n';
    lineBytes_.resize(out - lineBytes_.constData());
    return lineBytes_;
}

// A bare open, append and close: a run writes one line per rename, and a
// buffered file object adds its own queries of the file to each. Returns
// empty when the line is on disk, else the reason.
static QString appendLine(const QByteArray& file, const QByteArray& bytes, bool checked = false)
{
    const int fd = checked ? platform::reopenOwnFileForAppend(file) : platform::openOwnFileForAppend(file);
    if (fd < 0)
        return reasonText(errno);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int err = n < 0 ? errno : ENOSPC;
            ::close(fd);
            return reasonText(err);
        }
        done += n;
    }
    if (::close(fd) != 0)
        return reasonText(errno);
    return QString();
}

void Logs::logError(const QString& text)
{
    errorLogged = -1;
    ++errorLines;
    appendLine(errorNative_, lineBytes(text));
}

bool Logs::writeLog(const QString& text)
{
    activityError_ = appendLine(activityNative_, lineBytes(text), activityChecked_);
    activityChecked_ = activityChecked_ && activityError_.isEmpty();
    return activityError_.isEmpty();
}

QString Logs::activityLogProblem() const
{
    QDir().mkpath(folder_);
    activityChecked_ = false;
    const int fd = platform::openOwnFileForAppend(activityNative_);
    if (fd < 0)
        return reasonText(errno);
    activityChecked_ = true;
    // Opening succeeds on a full disk; the first line would not.
    struct statvfs room {};
    const bool full = ::fstatvfs(fd, &room) == 0 && room.f_bavail == 0 && room.f_blocks > 0;
    ::close(fd);
    return full ? reasonText(ENOSPC) : QString();
}
