#include "engine/htmltitle.h"
#include "platform/failure.h"
#include "platform/fileops.h"

#include <QFile>
#include <QStringDecoder>

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

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; the five unassigned
// bytes keep their Latin-1 code points.
constexpr std::array<char16_t, 32> Cp1252High{0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                              0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                              0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                              0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString fromWindows1252(const QByteArray& bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        out += QChar(b >= 0x80 && b <= 0x9F ? Cp1252High[b - 0x80] : char16_t(b));
    }
    return out;
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

QString decodeEightBitText(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return fromWindows1252(bytes);
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
    QString title = decodeEightBitText(head.mid(start + 7, end - start - 7));
    title.replace(QLatin1Char('\t'), QLatin1Char(' '));
    title.remove(QLatin1Char('\n'));
    title.remove(QLatin1Char('\r'));
    return title;
}
