#include "engine/logs.h"
#include "platform/datetext.h"

#include <QDateTime>
#include <QFile>

Logs::Logs(QString folder) : folder_(std::move(folder)) {}

QString Logs::errorFile() const
{
    return folder_ + QStringLiteral("/errors.txt");
}

QString Logs::activityFile() const
{
    return folder_ + QStringLiteral("/log.txt");
}

QString Logs::lineFor(const QString& text)
{
    return QStringLiteral("(") + platform::dateTimeText(QDateTime::currentDateTime()) + QStringLiteral(") ") + text;
}

static void appendLine(const QString& file, const QString& text)
{
    QFile f(file);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    f.write((Logs::lineFor(text) + QLatin1Char('\n')).toUtf8());
    f.close();
}

void Logs::logError(const QString& text)
{
    errorLogged = -1;
    appendLine(errorFile(), text);
}

void Logs::writeLog(const QString& text)
{
    appendLine(activityFile(), text);
}
