#include "platform/datetext.h"

#include <cmath>

namespace platform {

// Removes every unquoted run of 't' (time-zone tokens) and the blanks before it.
static QString withoutTimeZone(const QString& format)
{
    QString out;
    bool quoted = false;
    for (int i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
            out += c;
            continue;
        }
        if (!quoted && c == QLatin1Char('t')) {
            while (!out.isEmpty() && out.back().isSpace())
                out.chop(1);
            continue;
        }
        out += c;
    }
    return out.trimmed();
}

QString shortDateFormat(const QLocale& locale)
{
    QString f = locale.dateFormat(QLocale::ShortFormat);
    if (!f.contains(QLatin1String("yyyy")))
        f.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return f;
}

QString longTimeFormat(const QLocale& locale)
{
    return withoutTimeZone(locale.timeFormat(QLocale::LongFormat));
}

QString dateText(const QDate& date, const QLocale& locale)
{
    return locale.toString(date, shortDateFormat(locale));
}

QString timeText(const QTime& time, const QLocale& locale)
{
    return locale.toString(time, longTimeFormat(locale));
}

QString dateTimeText(const QDateTime& when, const QLocale& locale)
{
    const QTime t = when.time();
    if (t.hour() == 0 && t.minute() == 0 && t.second() == 0)
        return dateText(when.date(), locale);
    return dateText(when.date(), locale) + QLatin1Char(' ') + timeText(t, locale);
}

std::optional<QDate> parseDateText(const QString& text, const QLocale& locale)
{
    const QDate d = locale.toDate(text.trimmed(), shortDateFormat(locale));
    if (d.isValid())
        return d;
    return std::nullopt;
}

std::optional<QTime> parseTimeText(const QString& text, const QLocale& locale)
{
    const QString s = text.trimmed();
    for (const QString& f : {longTimeFormat(locale), withoutTimeZone(locale.timeFormat(QLocale::ShortFormat))}) {
        const QTime t = locale.toTime(s, f);
        if (t.isValid())
            return t;
    }
    return std::nullopt;
}

std::optional<QDateTime> parseDateTimeText(const QString& text, const QLocale& locale)
{
    const QString s = text.trimmed();
    if (auto d = parseDateText(s, locale))
        return QDateTime(*d, QTime(0, 0));
    const QString dateFormat = shortDateFormat(locale);
    for (const QString& tf : {longTimeFormat(locale), withoutTimeZone(locale.timeFormat(QLocale::ShortFormat))}) {
        const QDateTime dt = locale.toDateTime(s, dateFormat + QLatin1Char(' ') + tf);
        if (dt.isValid())
            return dt;
    }
    return std::nullopt;
}

QString sortKeyText(const QDateTime& when)
{
    return when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

double roundHalfEven(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    const double scaled = value * scale;
    // Decide on the decimal text of the scaled value, so that 2.675 (stored as
    // 2.67499...) and 0.125 behave as a user reading them expects.
    const double r = std::nearbyint(scaled); // FE_TONEAREST: halves to even
    if (std::fabs(std::fabs(scaled - std::trunc(scaled)) - 0.5) < 1e-9) {
        const double lower = std::floor(scaled);
        return (std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0) / scale;
    }
    return r / scale;
}

QString numberText(double value, const QLocale& locale)
{
    return QString::number(value, 'g', 15).replace(QLatin1Char('.'), locale.decimalPoint());
}

} // namespace platform
