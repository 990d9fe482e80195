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
#include <sys/stat.h>
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

// What a line writes otherwise than as itself: the controls, the backslash
// that begins every escape (so an escape read back means one character), and
// a lone surrogate, which has no UTF-8 form.
static bool needsEscape(QChar c)
{
    return isControlUnit(c.unicode()) || c == u'\\' || c.isSurrogate();
}

static QString hexDigits(unsigned value, int width)
{
    return QString::number(value, 16).toUpper().rightJustified(width, QLatin1Char('0'));
}

QString escapeControlChars(const QString& text)
{
    if (std::none_of(text.begin(), text.end(), needsEscape))
        return text;
    QString out;
    out.reserve(text.size() + 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const char16_t u = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out += c;
            out += text[++i];
            continue;
        }
        if (!needsEscape(c)) {
            out += c;
            continue;
        }
        switch (u) {
        case u'\\':
            out += QLatin1String("\\\\");
            break;
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
            // "\xHH" is a byte, "\uHHHH" a character: a byte of a name that
            // is not UTF-8, carried as U+DC80 + byte (platform::argumentText),
            // is written as that byte, and so are the controls of one byte in
            // UTF-8 (C0 and DEL). The C1 controls, the Unicode controls and
            // other lone surrogates are characters, so a byte 0x85 and U+0085
            // give two lines.
            if (u >= 0xDC80 && u <= 0xDCFF)
                out += QLatin1String("\\x") + hexDigits(unsigned(u - 0xDC00), 2);
            else if (u < 0x80)
                out += QLatin1String("\\x") + hexDigits(unsigned(u), 2);
            else
                out += QLatin1String("\\u") + hexDigits(unsigned(u), 4);
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
// line: a run writes one line per rename. Text with anything to escape (or a
// surrogate pair) takes the general way; both give the same bytes.
const QByteArray& Logs::lineBytes(const QString& text)
{
    if (std::any_of(text.begin(), text.end(), needsEscape)) {
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

// A line cut short by a full disk (or the size limit) is taken back, so the
// file ends with whole lines. Another writer may have appended since: its
// line is never cut, and ours then stays as far as it came.
static void takeBack(int fd, qsizetype written)
{
    const off_t end = ::lseek(fd, 0, SEEK_CUR); // O_APPEND: just past our bytes
    struct stat st {};
    if (end >= written && ::fstat(fd, &st) == 0 && st.st_size == end)
        (void)::ftruncate(fd, end - written);
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
            if (done > 0)
                takeBack(fd, done);
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

// Makes the folder and its missing parents. Empty when it exists, else why a
// level could not be made, naming that level: a missing file in the folder
// says less than a parent that may not be written to.
static QString makeFolder(const QString& folder)
{
    if (QDir().mkpath(folder))
        return QString();
    const QString path = QDir::cleanPath(QDir::current().absoluteFilePath(folder));
    for (qsizetype at = path.indexOf(u'/', 1);; at = path.indexOf(u'/', at + 1)) {
        const QString level = at < 0 ? path : path.left(at);
        if (::mkdir(QFile::encodeName(level).constData(), 0777) != 0 && errno != EEXIST)
            return QStringLiteral("Cannot create the folder ") + level + QStringLiteral(": ") + reasonText(errno);
        if (at < 0)
            return QString(); // made after all, or something is in its place: the open tells
    }
}

QString Logs::activityLogProblem() const
{
    if (QString problem = makeFolder(folder_); !problem.isEmpty())
        return problem;
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
