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
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    if (now != stampSecond_) {
        stampSecond_ = now;
        stampText_ = QStringLiteral("(") + platform::dateTimeText(QDateTime::fromSecsSinceEpoch(now)) +
                     QStringLiteral(") ");
    }
    return stampText_ + text;
}

static void appendLine(const QString& file, const QString& line)
{
    QFile f(file);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    f.write((line + QLatin1Char('\n')).toUtf8());
    f.close();
}

void Logs::logError(const QString& text)
{
    errorLogged = -1;
    appendLine(errorFile(), lineFor(text));
}

void Logs::writeLog(const QString& text)
{
    appendLine(activityFile(), lineFor(text));
}
