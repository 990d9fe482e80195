#include "filelist/shellicons.h"
#include "platform/datetext.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QImageReader>
#include <QMimeDatabase>
#include <QPainter>
#include <QStandardPaths>
#include <QStyle>
#include <sys/stat.h>

QPixmap blankPicture(QSize size)
{
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    QPixmap pm(size * ratio);
    pm.setDevicePixelRatio(ratio);
    pm.fill(Qt::transparent);
    return pm;
}

namespace {

// Without a desktop session Qt knows neither a theme nor where themes live:
// then the freedesktop folders are searched and an installed theme is chosen.
void ensureIconTheme()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    QStringList paths = QIcon::themeSearchPaths();
    const QStringList data = QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("icons"),
                                                       QStandardPaths::LocateDirectory);
    for (const QString& dir : data)
        if (!paths.contains(dir))
            paths << dir;
    QIcon::setThemeSearchPaths(paths);
    if (!QIcon::themeName().isEmpty() && QIcon::themeName() != QLatin1String("hicolor"))
        return;
    for (const char* theme : {"Adwaita", "breeze", "oxygen", "gnome", "hicolor"})
        for (const QString& dir : paths)
            if (QFileInfo::exists(dir + QLatin1Char('/') + QLatin1String(theme) + QStringLiteral("/index.theme"))) {
                QIcon::setThemeName(QString::fromLatin1(theme));
                return;
            }
}

bool isRegularFile(const QString& path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

// An icon or cursor file's own pictures, all sizes it holds (a bounded number).
QIcon ownIcon(const QString& path)
{
    QIcon icon;
    if (!isRegularFile(path))
        return icon;
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    for (int i = 0; i < 64; ++i) {
        const QImage img = reader.read();
        if (img.isNull())
            break;
        icon.addPixmap(QPixmap::fromImage(img));
        if (!reader.jumpToNextImage())
            break;
    }
    return icon;
}

QIcon themeIcon(const QMimeType& mime)
{
    ensureIconTheme();
    if (!mime.isValid())
        return {};
    QIcon icon = QIcon::fromTheme(mime.iconName());
    if (icon.isNull())
        icon = QIcon::fromTheme(mime.genericIconName());
    return icon;
}

QPixmap drawn(const QIcon& icon, int size, QSize cell)
{
    QPixmap out = blankPicture(cell);
    QPainter p(&out);
    const QPixmap pm = icon.pixmap(QSize(size, size), out.devicePixelRatio());
    const int x = cell == QSize(size, size) ? 0 : int(platform::roundHalfEven(cell.width() / 2.0f - 16.0f));
    const int y = cell == QSize(size, size) ? 0 : int(platform::roundHalfEven(cell.height() / 2.0f - 16.0f));
    p.drawPixmap(QRect(x, y, size, size), pm);
    return out;
}

} // namespace

QPixmap ShellIcons::picture(const QString& path, qint16 isDir, const QString& extension, int size, QSize cell)
{
    const QString lower = extension.toLower();
    if (isDir != -1 && (lower == QLatin1String("ico") || lower == QLatin1String("cur"))) {
        const QIcon own = ownIcon(path);
        if (!own.isNull())
            return drawn(own, size, cell);
    }
    static const QMimeDatabase db;
    const QMimeType mime = isDir == -1
                               ? db.mimeTypeForName(QStringLiteral("inode/directory"))
                               : db.mimeTypeForFile(QStringLiteral("x.") + extension, QMimeDatabase::MatchExtension);
    const QString key = mime.name() + QLatin1Char(' ') + QString::number(size) + QLatin1Char(' ') +
                        QString::number(cell.width()) + QLatin1Char('x') + QString::number(cell.height());
    const auto it = shared_.constFind(key);
    if (it != shared_.constEnd())
        return it.value();
    QIcon icon = themeIcon(mime);
    if (icon.isNull())
        icon = QApplication::style()->standardIcon(isDir == -1 ? QStyle::SP_DirIcon : QStyle::SP_FileIcon);
    const QPixmap pm = drawn(icon, size, cell);
    shared_.insert(key, pm);
    return pm;
}

QPixmap ShellIcons::small(const QString& path, qint16 isDir, const QString& extension)
{
    return picture(path, isDir, extension, 16, QSize(16, 16));
}

QPixmap ShellIcons::large(const QString& path, qint16 isDir, const QString& extension, QSize cell)
{
    return picture(path, isDir, extension, 32, cell);
}
