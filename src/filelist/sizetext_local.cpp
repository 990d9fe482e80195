#include "filelist/sizetext_local.h"
#include "platform/datetext.h"

namespace filelist {

namespace {
constexpr double KiB = 1024.0;
constexpr double MiB = KiB * KiB;
constexpr double GiB = MiB * KiB;

QString scaled(double bytes, double unit, int decimals, const char* suffix, const QLocale& locale)
{
    return platform::numberText(platform::roundHalfEven(bytes / unit, decimals), locale) + QLatin1String(suffix);
}
} // namespace

QString sizeText(qint64 bytes, const QLocale& locale)
{
    const double n = double(bytes);
    if (n > GiB)
        return scaled(n, GiB, 2, " GB", locale);
    if (n > MiB)
        return scaled(n, MiB, 2, " MB", locale);
    if (n > KiB)
        return scaled(n, KiB, 0, " kB", locale);
    return QString::number(bytes) + QLatin1String(" bytes");
}

QString sizeSortKey(qint64 bytes)
{
    // Wider numbers keep all their digits; the list sorts the size column by bytes.
    return QStringLiteral("%1").arg(bytes, 11, 10, QLatin1Char('0'));
}

} // namespace filelist
