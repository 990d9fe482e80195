#include "platform/places.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace platform {

QString programFolder()
{
    QString folder = qEnvironmentVariable("VEXORREN_HOME");
    if (folder.isEmpty()) {
        QString data = qEnvironmentVariable("XDG_DATA_HOME");
        if (data.isEmpty())
            data = QDir::homePath() + QStringLiteral("/.local/share");
        folder = data + QStringLiteral("/vexorren");
    }
    QDir().mkpath(folder);
    return folder;
}

QString programFile(const QString& name)
{
    return programFolder() + QLatin1Char('/') + name;
}

QString shippedFile(const QString& name)
{
    const QString bin = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
    const QFileInfo file(bin + QStringLiteral("/../share/vexorren/") + name);
    return file.isFile() ? file.canonicalFilePath() : QString();
}

} // namespace platform
