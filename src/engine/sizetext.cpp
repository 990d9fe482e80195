#include "engine/sizetext.h"
#include "platform/datetext.h"

namespace {
constexpr double KiB = 1024.0;
constexpr double MiB = KiB * KiB;
constexpr double GiB = MiB * KiB;

QString scaled(double bytes, double unit, int decimals, const char* suffix, const QLocale& locale)
{
    return platform::numberText(platform::roundHalfEven(bytes / unit, decimals), locale) + QLatin1String(suffix);
}
} // namespace

QString sizeText(double bytes, const QLocale& locale)
{
    if (bytes > GiB)
        return scaled(bytes, GiB, 2, " GB", locale);
    if (bytes > MiB)
        return scaled(bytes, MiB, 2, " MB", locale);
    if (bytes > KiB)
        return scaled(bytes, KiB, 0, " kB", locale);
    return platform::numberText(bytes, locale) + QLatin1String(" bytes");
}
