#include "platform/display.h"

#include <QGuiApplication>

#include <algorithm>

namespace platform {

namespace {

const QLatin1String kOffscreen("offscreen");
const char* const kVariable = "QT_QPA_PLATFORM";

// "xcb" of "xcb:option=value".
QString pluginKey(const QString& item)
{
    return item.section(QLatin1Char(':'), 0, 0).trimmed();
}

// A value from the environment as one bounded piece of a line: control
// characters escaped, long values cut.
QString shown(const QString& value)
{
    constexpr qsizetype limit = 64;
    QString text;
    for (const QChar c : QStringView(value).left(limit)) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7F && u <= 0x9F))
            text += QStringLiteral("\\x%1").arg(int(u), 2, 16, QLatin1Char('0'));
        else
            text += c;
    }
    if (value.size() > limit)
        text += QStringLiteral("...");
    return text;
}

// "xcb on DISPLAY=:97": a platform with the variable that tells it where to connect.
QString described(const QString& item)
{
    const QString key = pluginKey(item).toLower();
    const char* variable = key == QLatin1String("xcb")                ? "DISPLAY"
                           : key.startsWith(QLatin1String("wayland")) ? "WAYLAND_DISPLAY"
                                                                      : nullptr;
    QString text = shown(item);
    if (variable) {
        const QString name = QString::fromLatin1(variable);
        text += qEnvironmentVariableIsEmpty(variable)
                    ? QStringLiteral(" without ") + name
                    : QStringLiteral(" on ") + name + QLatin1Char('=') + shown(qEnvironmentVariable(variable));
    }
    return text;
}

} // namespace

DisplayChoice::DisplayChoice()
{
    if (qEnvironmentVariableIsSet(kVariable))
        saved_ = qgetenv(kVariable);
    if (saved_ && !saved_->isEmpty()) {
        fromVariable_ = true;
        for (const QString& item : QString::fromLocal8Bit(*saved_).split(QLatin1Char(';')))
            if (!pluginKey(item).isEmpty())
                tried_.append(item);
    } else if (!qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        // Qt's own order: Wayland first in a Wayland session, X in any case.
        if (qEnvironmentVariableIsSet("WAYLAND_DISPLAY") || qgetenv("XDG_SESSION_TYPE") == "wayland")
            tried_.append(QStringLiteral("wayland"));
        tried_.append(QStringLiteral("xcb"));
    }
    // A list that names the offscreen platform already falls back where its
    // user wants it to.
    fallbackAdded_ = std::none_of(tried_.cbegin(), tried_.cend(), [](const QString& item) {
        return pluginKey(item).compare(kOffscreen, Qt::CaseInsensitive) == 0;
    });
    if (!fallbackAdded_)
        return;
    // The variable's own bytes are kept, whatever their encoding.
    QByteArray list = fromVariable_ ? *saved_ : tried_.join(QLatin1Char(';')).toLatin1();
    if (!list.isEmpty())
        list += ';';
    qputenv(kVariable, list + QByteArray(kOffscreen.data(), kOffscreen.size()));
}

bool DisplayChoice::opened()
{
    if (saved_)
        qputenv(kVariable, *saved_);
    else
        qunsetenv(kVariable);
    return !fallbackAdded_ || QGuiApplication::platformName().compare(kOffscreen, Qt::CaseInsensitive) != 0;
}

QString DisplayChoice::problem() const
{
    if (!fromVariable_ && tried_.isEmpty())
        return QStringLiteral("no display found (DISPLAY and WAYLAND_DISPLAY are not set)");
    // A hand-made variable may list any number of names: the line stays short.
    constexpr qsizetype most = 8;
    QStringList parts;
    for (const QString& item : tried_.mid(0, most))
        parts.append(described(item));
    if (tried_.size() > most)
        parts.append(QStringLiteral("..."));
    if (!fromVariable_)
        return QStringLiteral("no display could be opened (tried ") + parts.join(QStringLiteral(", ")) +
               QLatin1Char(')');
    if (parts.isEmpty())
        return QStringLiteral("no display could be opened (QT_QPA_PLATFORM names no platform)");
    return QStringLiteral("no display could be opened (tried ") + parts.join(QStringLiteral(", ")) +
           QStringLiteral(", as QT_QPA_PLATFORM names)");
}

} // namespace platform
