#include "platform/datetext.h"

#include <cmath>
#include <QSet>
#include <type_traits>
#include <vector>

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

// Qt 6.4 reads past the end of the text it parses when it matches the AM/PM
// section of a locale whose AM and PM texts differ in length (Ewe, Kabyle,
// Tongan, ...). For those locales the section is matched here instead: each
// of the two texts in turn stands in the format as a literal, written in the
// case the section writes it, and the half of the day goes onto the hour that
// 'h' then reads as written.
template <class T, class Read>
static T readHalfDay(const QLocale& locale, const QString& text, const QString& format, Read read)
{
    const QString am = locale.amText();
    const QString pm = locale.pmText();
    qsizetype at = -1, length = 0;
    bool quoted = false;
    bool twelveHours = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
        } else if (!quoted && c == QLatin1Char('h')) {
            twelveHours = true;
        } else if (!quoted && at < 0 && (c == QLatin1Char('a') || c == QLatin1Char('A'))) {
            at = i;
            length = i + 1 < format.size() && format.at(i + 1).toLower() == QLatin1Char('p') ? 2 : 1;
        }
    }
    if (at < 0 || am.size() == pm.size())
        return read(text, format);
    const bool upper = format.at(at) == QLatin1Char('A');
    for (const bool afternoon : {false, true}) {
        QString half = afternoon ? pm : am;
        half = upper ? half.toUpper() : half.toLower();
        const QString literal =
            QLatin1Char('\'') + half.replace(QLatin1Char('\''), QLatin1String("''")) + QLatin1Char('\'');
        T value = read(text, QString(format).replace(at, length, literal));
        if (!value.isValid())
            continue;
        if (!twelveHours)
            return value;
        QTime time;
        if constexpr (std::is_same_v<T, QTime>)
            time = value;
        else
            time = value.time();
        if (time.hour() < 1 || time.hour() > 12)
            continue;
        time = QTime(time.hour() % 12 + (afternoon ? 12 : 0), time.minute(), time.second(), time.msec());
        if constexpr (std::is_same_v<T, QTime>)
            return time;
        else
            return QDateTime(value.date(), time);
    }
    return {};
}

static QTime readTime(const QLocale& locale, const QString& text, const QString& format)
{
    return readHalfDay<QTime>(locale, text, format,
                              [&](const QString& t, const QString& f) { return locale.toTime(t, f); });
}

static QDateTime readDateTime(const QLocale& locale, const QString& text, const QString& format)
{
    return readHalfDay<QDateTime>(locale, text, format,
                                  [&](const QString& t, const QString& f) { return locale.toDateTime(t, f); });
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
        const QTime t = readTime(locale, s, f);
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
        const QDateTime dt = readDateTime(locale, s, dateFormat + QLatin1Char(' ') + tf);
        if (dt.isValid())
            return dt;
    }
    return std::nullopt;
}

QString storedDateText(const QDate& date)
{
    return date.toString(Qt::ISODate);
}

QString storedTimeText(const QTime& time)
{
    return time.toString(QStringLiteral("HH:mm:ss"));
}

namespace {

// One way to read a stored text: a format and a locale whose names and
// digits it reads with.
struct Reading {
    QString format;
    QLocale locale;
};

// The no-break and narrow blanks some locales put in their forms read as a
// plain blank, so a text read back does not depend on which blank was written.
QString plainBlanks(QString text)
{
    for (const char16_t blank : {u'\u00A0', u'\u202F', u'\u2009'})
        text.replace(QChar(blank), QLatin1Char(' '));
    return text;
}

// What of the locale a format reads besides the format itself: its digits,
// and the month, day and AM/PM names where the format holds them. Locales
// alike in these read every text alike.
QString readingKey(const QString& format, const QLocale& locale)
{
    QString key = format + u'\x1f' + locale.zeroDigit();
    if (format.contains(QLatin1String("MMM")))
        for (int m = 1; m <= 12; ++m)
            key += u'\x1f' + locale.monthName(m, QLocale::LongFormat) + u'\x1f' +
                   locale.monthName(m, QLocale::ShortFormat) + u'\x1f' +
                   locale.standaloneMonthName(m, QLocale::LongFormat) + u'\x1f' +
                   locale.standaloneMonthName(m, QLocale::ShortFormat);
    if (format.contains(QLatin1String("ddd")))
        for (int d = 1; d <= 7; ++d)
            key += u'\x1f' + locale.dayName(d, QLocale::LongFormat) + u'\x1f' + locale.dayName(d, QLocale::ShortFormat);
    if (format.contains(u'a', Qt::CaseInsensitive))
        key += u'\x1f' + locale.amText() + u'\x1f' + locale.pmText();
    return key;
}

// The forms this program writes a date or a time in, under every locale Qt
// knows, each way of reading once.
std::vector<Reading> everyLocalesReadings(bool dates)
{
    QList<QLocale> locales{QLocale::c()};
    locales += QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    std::vector<Reading> readings;
    QSet<QString> seen;
    for (const QLocale& locale : locales) {
        const QStringList formats =
            dates ? QStringList{shortDateFormat(locale)}
                  : QStringList{longTimeFormat(locale), withoutTimeZone(locale.timeFormat(QLocale::ShortFormat))};
        for (const QString& format : formats) {
            const QString key = readingKey(format, locale);
            if (!seen.contains(key)) {
                seen.insert(key);
                readings.push_back({format, locale});
            }
        }
    }
    return readings;
}

// Built once, at the first text that neither the ISO form nor this locale
// reads.
const std::vector<Reading>& otherDateReadings()
{
    static const std::vector<Reading> readings = everyLocalesReadings(true);
    return readings;
}

const std::vector<Reading>& otherTimeReadings()
{
    static const std::vector<Reading> readings = everyLocalesReadings(false);
    return readings;
}

// The text as the locale writes it, else with its blanks made plain, as the
// format's are (a text written where the locale put a narrow blank, read
// where it puts a plain one, or the other way round).
QDate readWith(const QString& text, const Reading& r)
{
    const QDate d = r.locale.toDate(text, r.format);
    return d.isValid() ? d : r.locale.toDate(plainBlanks(text), plainBlanks(r.format));
}

QTime readTimeWith(const QString& text, const Reading& r)
{
    const QTime t = readTime(r.locale, text, r.format);
    return t.isValid() ? t : readTime(r.locale, plainBlanks(text), plainBlanks(r.format));
}

// No form of any locale comes near this length; a longer text is no date.
constexpr qsizetype kLongestStoredText = 256;

// The ISO form is read whole (Qt's own ISO reading takes "2020-03-24junk").
template <class T>
std::optional<T> readStored(const QString& stored, const QLocale& locale, T (*iso)(const QString&),
                            const QStringList& ownFormats, const std::vector<Reading>& (*others)(),
                            T (*read)(const QString&, const Reading&))
{
    const QString text = stored.trimmed();
    if (text.isEmpty() || text.size() > kLongestStoredText)
        return std::nullopt;
    if (const T v = iso(text); v.isValid())
        return v;
    for (const QString& format : ownFormats)
        if (const T v = read(text, Reading{format, locale}); v.isValid())
            return v;
    std::optional<T> found;
    for (const Reading& r : others()) {
        const T v = read(text, r);
        if (!v.isValid())
            continue;
        if (found && *found != v)
            return std::nullopt; // one locale's day is another's month
        found = v;
    }
    return found;
}

} // namespace

std::optional<QDate> readStoredDate(const QString& text, const QLocale& locale)
{
    return readStored<QDate>(
        text, locale, [](const QString& t) { return QDate::fromString(t, QStringLiteral("yyyy-MM-dd")); },
        {shortDateFormat(locale), locale.dateFormat(QLocale::LongFormat)}, otherDateReadings, readWith);
}

std::optional<QTime> readStoredTime(const QString& text, const QLocale& locale)
{
    return readStored<QTime>(
        text, locale,
        [](const QString& t) {
            const QTime seconds = QTime::fromString(t, QStringLiteral("HH:mm:ss"));
            return seconds.isValid() ? seconds : QTime::fromString(t, QStringLiteral("HH:mm"));
        },
        {longTimeFormat(locale), withoutTimeZone(locale.timeFormat(QLocale::ShortFormat))}, otherTimeReadings,
        readTimeWith);
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
