#include "filelist/iconlists.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

namespace {

// The fixed default lists hold 1 directory, 2 ghost directory, 3 file; the
// icon lists take them in the order file, directory, ghost directory.
struct DefaultEntry {
    const char* key;
    int subject;
};
const DefaultEntry kDefaults[] = {
    {"default_file", 3},
    {"default_dir", 1},
    {"default_ghostdir", 2},
};

constexpr int kSmall = 16;
constexpr int kLarge = 32;

int clampCell(int v)
{
    return std::clamp(v, 16, 256);
}

// One large cell with the 32 x 32 default picture in its middle; an odd cell
// puts the corner on a half pixel, a cell below 32 shows the middle of it.
QPixmap largeCell(int subject, QSize cell)
{
    QPixmap pm(cell);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    const QPointF corner(cell.width() / 2.0f - 16.0f, cell.height() / 2.0f - 16.0f);
    p.drawPixmap(QRectF(corner, QSizeF(kLarge, kLarge)), defaultPicture(subject, kLarge), QRectF(0, 0, kLarge, kLarge));
    return pm;
}

void refill(platform::ImageList& small, platform::ImageList& large, const FileListOptions& options)
{
    small.clear();
    large.clear();
    small.size = QSize(kSmall, kSmall);
    large.size = QSize(clampCell(options.thumbsWidth), clampCell(options.thumbsHeight));
    for (const DefaultEntry& e : kDefaults)
        small.add(QString::fromLatin1(e.key), defaultPicture(e.subject, kSmall));
    for (const DefaultEntry& e : kDefaults)
        large.add(QString::fromLatin1(e.key), largeCell(e.subject, large.size));
}

} // namespace

QPixmap defaultPicture(int subject, int size)
{
    QStyle* style = QApplication::style();
    const QIcon icon = style->standardIcon(subject == 3 ? QStyle::SP_FileIcon : QStyle::SP_DirIcon);
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    // The ghost directory is the directory drawn faint: there, but not chosen.
    if (subject == 2)
        p.setOpacity(0.35);
    p.drawPixmap(0, 0, icon.pixmap(size, size).scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    return pm;
}

void resetSysIcons(FileListHost& host)
{
    FileListState& s = *host.files;
    s.thumbnailsShownDir = 0;
    refill(s.imagelistSysIcons, s.imagelistSysIconsLarge, *host.options);
    if (host.lwDirectory) {
        host.lwDirectory->setSmallIcons(&s.imagelistSysIcons);
        host.lwDirectory->setLargeIcons(&s.imagelistSysIconsLarge);
    }
    if (host.treeView)
        host.treeView->setIconSize(s.imagelistSysIcons.size);
}

void resetSysIconsFreeSel(FileListHost& host)
{
    FileListState& s = *host.files;
    // Every thumbnail is gone with the old list, so they must be made again.
    s.thumbnailsShownFreeSel = 0;
    refill(s.imagelistSysIconsFreeSelect, s.imagelistSysIconsFreeSelectLarge, *host.options);
    if (host.lwDragDrop) {
        host.lwDragDrop->setSmallIcons(&s.imagelistSysIconsFreeSelect);
        host.lwDragDrop->setLargeIcons(&s.imagelistSysIconsFreeSelectLarge);
    }
}

namespace {
qint16 plainIcon(FileListState& s, qint16 isDir)
{
    const qint16 i = isDir == -1 ? defaultIcon::Dir : defaultIcon::File;
    s.sysIconLargeIndex = i;
    return i;
}
} // namespace

qint16 getSysIcon(FileListHost& host, const QString& path, qint16 isDir)
{
    Q_UNUSED(path);
    FileListState& s = *host.files;
    s.sysIconLargeIndex = defaultIcon::File;
    if (isDir == -1 && host.options->alwaysShowDirs == 1 && host.chkDirs && host.chkDirs->value() == 0) {
        s.sysIconLargeIndex = defaultIcon::GhostDir;
        return defaultIcon::GhostDir;
    }
    return plainIcon(s, isDir);
}

qint16 getSysIconFreeSel(FileListHost& host, const QString& path, qint16 isDir)
{
    Q_UNUSED(path);
    return plainIcon(*host.files, isDir);
}
