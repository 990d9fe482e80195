#include "settings/storeforms.h"
#include "engine/textutil.h"

#include "platform/datetext.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <QLocale>

namespace {

QString withoutBlanks(const QString& text)
{
    qsizetype b = 0, e = text.size();
    while (b < e && (text[b] == u' ' || text[b] == u'\t'))
        ++b;
    while (e > b && (text[e - 1] == u' ' || text[e - 1] == u'\t'))
        --e;
    return text.mid(b, e - b);
}

// Every form stores its value in one of these field types.
struct Assign {
    Settings& settings;
    const SettingsKey& key;
    const QString& text;

    void operator()(int Settings::*m) const { settings.*m = intValue(); }
    void operator()(bool Settings::*m) const { settings.*m = boolValue(); }
    void operator()(QString Settings::*m) const { settings.*m = text; }
    void operator()(QDate Settings::*m) const
    {
        const auto d = platform::readStoredDate(text);
        if (!d)
            throw typeMismatch();
        settings.*m = *d;
    }
    void operator()(QTime Settings::*m) const
    {
        const auto t = platform::readStoredTime(text);
        if (!t)
            throw typeMismatch();
        settings.*m = *t;
    }

    int intValue() const
    {
        switch (key.form) {
        case StoreForm::Int:
            return wholeNumber(text, -32768, 32767);
        case StoreForm::Check: {
            const int v = wholeNumber(text, -32768, 32767);
            if (v < 0 || v > 2)
                throw invalidPropertyValue();
            return v;
        }
        case StoreForm::Tab: {
            const double n = platform::roundHalfEven(leadingNumber(text));
            if (n < 1 || n > key.choices)
                throw indexOutOfBounds();
            return static_cast<int>(n);
        }
        default:
            return wholeNumber(text, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max());
        }
    }

    bool boolValue() const
    {
        const QString t = withoutBlanks(text);
        if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            return true;
        if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            return false;
        if (const auto n = numberFromText(t))
            return *n != 0;
        throw typeMismatch();
    }
};

// An option group selects the button whose index equals the stored number; a
// text that is no number reads as if the key were absent.
void readOption(const SettingsKey& key, const QString& text, Settings& settings)
{
    auto n = numberFromText(text);
    if (!n)
        n = numberFromText(QString::fromLatin1(key.defaultText));
    int Settings::*member = std::get<int Settings::*>(key.target);
    for (int i = 0; i < key.choices; ++i)
        if (*n == i)
            settings.*member = i;
}

QString intText(qint64 v)
{
    return QString::number(v);
}

} // namespace

platform::Failure typeMismatch()
{
    return platform::makeFailure(platform::failures::TypeMismatch);
}

platform::Failure overflowFailure()
{
    return platform::makeFailure(platform::failures::Overflow);
}

platform::Failure invalidPropertyValue()
{
    return platform::Failure(380, QStringLiteral("Invalid property value"));
}

platform::Failure indexOutOfBounds()
{
    return platform::Failure(35600, QStringLiteral("Index out of bounds"));
}

std::optional<double> numberFromText(const QString& text)
{
    const QString t = withoutBlanks(text);
    if (t.isEmpty())
        return std::nullopt;
    bool ok = false;
    double v = QLocale::c().toDouble(t, &ok);
    if (!ok)
        v = QLocale::system().toDouble(t, &ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

int wholeNumber(const QString& text, qint64 min, qint64 max)
{
    const auto n = numberFromText(text);
    if (!n)
        throw typeMismatch();
    const double r = platform::roundHalfEven(*n);
    if (r < static_cast<double>(min) || r > static_cast<double>(max))
        throw overflowFailure();
    return static_cast<int>(r);
}

void readStoredValue(const SettingsKey& key, const QString& text, Settings& settings)
{
    if (key.form == StoreForm::Option) {
        readOption(key, text, settings);
        return;
    }
    std::visit(Assign{settings, key, text}, key.target);
}

QString storedText(const SettingsKey& key, const Settings& s)
{
    return std::visit(
        [&](auto member) -> QString {
            using M = decltype(member);
            if constexpr (std::is_same_v<M, int Settings::*>) {
                const int v = s.*member;
                // The 16-bit form holds what fits; window geometry can exceed it.
                if (key.form == StoreForm::Int)
                    return intText(std::clamp(v, -32768, 32767));
                return intText(v);
            } else if constexpr (std::is_same_v<M, bool Settings::*>) {
                return s.*member ? QStringLiteral("True") : QStringLiteral("False");
            } else if constexpr (std::is_same_v<M, QString Settings::*>) {
                return s.*member;
            } else if constexpr (std::is_same_v<M, QDate Settings::*>) {
                if (!(s.*member).isValid())
                    throw typeMismatch();
                return platform::storedDateText(s.*member);
            } else {
                if (!(s.*member).isValid())
                    throw typeMismatch();
                return platform::storedTimeText(s.*member);
            }
        },
        key.target);
}

namespace {

QTime toTheSecond(const QTime& t)
{
    return t.isValid() ? QTime(t.hour(), t.minute(), t.second()) : t;
}

template <class T>
bool holds(const std::optional<T>& read, const T& value, const std::optional<Settings::Unread<T>>& unread,
           const QString& text)
{
    if (read)
        return *read == value;
    return unread && unread->text == text && unread->shown == value;
}

} // namespace

bool storedTextHolds(const SettingsKey& key, const QString& text, const Settings& s)
{
    if (const auto* date = std::get_if<QDate Settings::*>(&key.target)) {
        const std::optional<Settings::Unread<QDate>> none;
        return holds(platform::readStoredDate(text), s.**date, *date == &Settings::dtDate ? s.dtDateUnread : none,
                     text);
    }
    if (const auto* time = std::get_if<QTime Settings::*>(&key.target)) {
        std::optional<QTime> read = platform::readStoredTime(text);
        if (read)
            read = toTheSecond(*read);
        const std::optional<Settings::Unread<QTime>> none;
        return holds(read, toTheSecond(s.**time), *time == &Settings::dtTime ? s.dtTimeUnread : none, text);
    }
    return false;
}

QString trimBlanks(const QString& text)
{
    qsizetype b = 0, e = text.size();
    while (b < e && text[b] == u' ')
        ++b;
    while (e > b && text[e - 1] == u' ')
        --e;
    return text.mid(b, e - b);
}
