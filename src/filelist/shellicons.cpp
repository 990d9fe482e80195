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

#include <algorithm>
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

// The largest side an icon's own picture may have; the format's directory
// counts up to 256, and a larger embedded picture would cost its whole decode.
constexpr int kMaxIconSide = 1024;
constexpr int kMaxIconEntries = 64;

quint32 littleEndian(const uchar* p, int size)
{
    quint32 v = 0;
    for (int i = size - 1; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}

// The true size of each picture of an icon or cursor file, read from the
// picture's own header (a PNG's IHDR, a bitmap's info header), not from the
// directory entry, which may say otherwise. Invalid entries give an empty size.
QList<QSize> iconPictureSizes(QFile& file)
{
    QList<QSize> sizes;
    const qint64 length = file.size();
    const QByteArray head = file.read(6);
    if (head.size() < 6 || littleEndian(reinterpret_cast<const uchar*>(head.constData()), 2) != 0)
        return sizes;
    const auto* h = reinterpret_cast<const uchar*>(head.constData());
    const int type = int(littleEndian(h + 2, 2));
    const int count = std::min(int(littleEndian(h + 4, 2)), kMaxIconEntries);
    if (type != 1 && type != 2)
        return sizes;
    const QByteArray dir = file.read(16 * qint64(count));
    for (int i = 0; i < count && (i + 1) * 16 <= dir.size(); ++i) {
        const auto* e = reinterpret_cast<const uchar*>(dir.constData()) + 16 * i;
        const quint32 bytes = littleEndian(e + 8, 4);
        const quint32 offset = littleEndian(e + 12, 4);
        QSize size;
        if (bytes >= 24 && quint64(offset) + bytes <= quint64(length) && file.seek(offset)) {
            const QByteArray pic = file.read(24);
            const auto* p = reinterpret_cast<const uchar*>(pic.constData());
            if (pic.size() == 24 && pic.startsWith("\x89PNG\r\n\x1a\n")) {
                const auto be = [&](int at) {
                    return (quint32(p[at]) << 24) | (p[at + 1] << 16) | (p[at + 2] << 8) | p[at + 3];
                };
                size = QSize(int(std::min<quint32>(be(16), 1u << 30)), int(std::min<quint32>(be(20), 1u << 30)));
            } else if (pic.size() == 24 && littleEndian(p, 4) >= 12) {
                // A bitmap's height counts its colour and mask halves.
                const auto w = qint32(littleEndian(p + 4, 4));
                const auto hh = qint32(littleEndian(p + 8, 4));
                size = QSize(w, hh > 0 ? hh / 2 : 0);
            }
        }
        sizes.append(size);
    }
    return sizes;
}

// The picture nearest `drawn`: the smallest at least that size, else the
// largest below it. -1 when none is valid and within bounds.
int nearestIconPicture(const QList<QSize>& sizes, int drawn)
{
    int best = -1;
    int bestSide = 0;
    for (int i = 0; i < sizes.size(); ++i) {
        const QSize s = sizes[i];
        if (s.width() <= 0 || s.height() <= 0 || s.width() > kMaxIconSide || s.height() > kMaxIconSide)
            continue;
        const int side = std::max(s.width(), s.height());
        const bool better =
            best < 0 || (side >= drawn ? bestSide < drawn || side < bestSide : bestSide < drawn && side > bestSide);
        if (better) {
            best = i;
            bestSide = side;
        }
    }
    return best;
}

// An icon or cursor file's own picture for the drawn size; only that one
// picture is decoded.
QIcon ownIcon(const QString& path, int drawn)
{
    QIcon icon;
    if (!isRegularFile(path))
        return icon;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return icon;
    const int index = nearestIconPicture(iconPictureSizes(file), drawn);
    if (index < 0 || !file.seek(0))
        return icon;
    QImageReader reader(&file, "ico");
    if (index > 0 && !reader.jumpToImage(index))
        return icon;
    const QImage img = reader.read();
    if (!img.isNull())
        icon.addPixmap(QPixmap::fromImage(img));
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
        const QIcon own = ownIcon(path, size);
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
