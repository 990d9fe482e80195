#include "engine/htmltitle.h"
#include "platform/eightbittext.h"
#include "platform/failure.h"
#include "platform/fileops.h"

#include <QFile>

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

bool isDigit(QChar c)
{
    return c.unicode() >= '0' && c.unicode() <= '9';
}

bool isLetter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= 0xC0 && u <= 0xFF);
}

// The file kinds searched for a title, by the last three characters of the path.
constexpr std::array<const char*, 7> TitleKinds{"tml", "htm", "txt", "php", "cgi", "asp", "xml"};

bool isTitleKind(const QString& path)
{
    const QString tail = path.right(3).toLower();
    return std::any_of(TitleKinds.begin(), TitleKinds.end(), [&](const char* k) { return tail == QLatin1String(k); });
}

// Reads at most `limit` bytes from the start of the file; a file shorter than
// that is searched in the bytes it has.
QByteArray readStart(const QString& path, qint64 limit)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        throw platform::failureFromErrno(errno);
    QByteArray bytes;
    bytes.resize(limit);
    qint64 got = 0;
    while (got < limit) {
        const ssize_t n = ::read(fd, bytes.data() + got, size_t(limit - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int err = errno;
            ::close(fd);
            throw platform::failureFromErrno(err);
        }
        if (n == 0)
            break;
        got += n;
    }
    ::close(fd);
    bytes.truncate(got);
    return bytes;
}

} // namespace

QString getFirstLetter(const QString& text, int mode)
{
    if (mode < 0 || mode > 2)
        return QString();
    for (const QChar c : text) {
        if (isLetter(c))
            return QString(c.toUpper());
        if (mode != 0 && isDigit(c))
            return mode == 2 ? QStringLiteral("0-9") : QString(c);
    }
    return QString();
}

QString getHtmlTitle(const QString& path, qint32 readSize)
{
    if (!isTitleKind(path))
        return QString();
    const auto entry = platform::entryInfo(path);
    // Only regular files are opened for content.
    if (!entry || !entry->isRegular || readSize <= 0)
        return QString();
    const QByteArray head = readStart(path, std::min<qint64>(readSize, entry->size));
    const QByteArray lower = head.toLower();
    const qsizetype start = lower.indexOf("<title>");
    const qsizetype end = lower.indexOf("</title>");
    if (start < 0 || end < 0 || start + 7 >= end)
        return QString();
    QString title = platform::decodeEightBitText(head.mid(start + 7, end - start - 7));
    title.replace(QLatin1Char('\t'), QLatin1Char(' '));
    title.remove(QLatin1Char('\n'));
    title.remove(QLatin1Char('\r'));
    return title;
}
