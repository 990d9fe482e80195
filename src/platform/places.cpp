#include "platform/places.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace platform {

QString xdgHome(const char* variable, const QString& fallback)
{
    const QString place = qEnvironmentVariable(variable);
    return place.isEmpty() || QDir::isRelativePath(place) ? QDir::homePath() + QLatin1Char('/') + fallback : place;
}

void ignoreRelativeXdgPlaces()
{
    for (const char* variable : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
        if (!qEnvironmentVariableIsEmpty(variable) && QDir::isRelativePath(qEnvironmentVariable(variable)))
            qunsetenv(variable);
}

QString programFolder()
{
    QString folder = qEnvironmentVariable("VEXORREN_HOME");
    if (folder.isEmpty())
        folder = xdgHome("XDG_DATA_HOME", QStringLiteral(".local/share")) + QStringLiteral("/vexorren");
    QDir().mkpath(folder);
    return folder;
}

QString programFile(const QString& name)
{
    return programFolder() + QLatin1Char('/') + name;
}

QString shippedFilePlace(const QString& name)
{
    const QString bin = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
    return QDir::cleanPath(bin + QStringLiteral("/../share/vexorren/") + name);
}

QString shippedFile(const QString& name)
{
    const QFileInfo file(shippedFilePlace(name));
    return file.isFile() ? file.canonicalFilePath() : QString();
}

} // namespace platform
