#pragma once
#include <optional>
#include <QDateTime>
#include <QLocale>
#include <QString>

// Every date, time and number text the program shows, stores or logs is made here,
// from the system locale (or the one a caller passes), so that they parse back.
namespace platform {

// The locale's short date format with a two-digit year widened to four digits.
QString shortDateFormat(const QLocale& locale = QLocale::system());
// The locale's long time format without any time-zone token.
QString longTimeFormat(const QLocale& locale = QLocale::system());

QString dateText(const QDate& date, const QLocale& locale = QLocale::system());
QString timeText(const QTime& time, const QLocale& locale = QLocale::system());
// The default date-and-time text: short date, a blank, long time; a time of
// exactly midnight shows the date alone.
QString dateTimeText(const QDateTime& when, const QLocale& locale = QLocale::system());
// Reads back a text made by dateTimeText (also a date alone, as midnight).
std::optional<QDateTime> parseDateTimeText(const QString& text, const QLocale& locale = QLocale::system());
std::optional<QDate> parseDateText(const QString& text, const QLocale& locale = QLocale::system());
std::optional<QTime> parseTimeText(const QString& text, const QLocale& locale = QLocale::system());

// The form the settings store keeps a date and a time in: ISO 8601
// ("yyyy-MM-dd", "HH:mm:ss"), the same under every locale.
QString storedDateText(const QDate& date);
QString storedTimeText(const QTime& time);
// Reads a date or time text stored by this program under any locale: the ISO
// form first, then the locale's own forms, then the forms of every other
// locale, where all of those that read the text read the same value. Nothing
// for a text that is no date (or time) and for one that reads as two
// different ones ("03/04/2020" when this locale reads neither).
std::optional<QDate> readStoredDate(const QString& text, const QLocale& locale = QLocale::system());
std::optional<QTime> readStoredTime(const QString& text, const QLocale& locale = QLocale::system());

// Sort key form "yyyy-MM-dd HH:mm:ss".
QString sortKeyText(const QDateTime& when);

// Rounds to the given number of decimals, halves to the even neighbour.
double roundHalfEven(double value, int decimals = 0);
// The default number-to-text form: locale decimal mark, no grouping, no trailing zeros.
QString numberText(double value, const QLocale& locale = QLocale::system());

} // namespace platform
