#include "mediainfo/duration.h"

namespace {
struct Split {
    qint64 hours, minutes, seconds;
};
Split split(qint32 total)
{
    const qint64 t = total;
    return {t / 3600, (t / 60) % 60, t % 60};
}
QString two(qint64 n)
{
    return n < 10 && n >= 0 ? QStringLiteral("0") + QString::number(n) : QString::number(n);
}
} // namespace

QString formatDurationText(qint32 seconds)
{
    const Split s = split(seconds);
    if (s.hours > 0)
        return QStringLiteral("%1 H %2 Min %3 Sec").arg(s.hours).arg(s.minutes).arg(s.seconds);
    if (s.minutes > 0)
        return QStringLiteral("%1 Min %2 Sec").arg(s.minutes).arg(s.seconds);
    return QStringLiteral("%1 Sec").arg(s.seconds);
}

QString formatDurationClock(qint32 seconds)
{
    const Split s = split(seconds);
    if (s.hours > 0)
        return two(s.hours) + QLatin1Char(':') + two(s.minutes) + QLatin1Char(':') + two(s.seconds);
    return two(s.minutes) + QLatin1Char(':') + two(s.seconds);
}
