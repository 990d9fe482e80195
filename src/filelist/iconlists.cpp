#include "filelist/iconlists.h"
#include "filelist/shellicons.h"
#include "filelist/thumbnailimage.h"
#include "filelist/thumbnailsahead.h"
#include "platform/failure.h"
#include "platform/fileops.h"

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
    QPixmap pm = blankPicture(cell);
    QPainter p(&pm);
    const QPointF corner(cell.width() / 2.0f - 16.0f, cell.height() / 2.0f - 16.0f);
    const QPixmap picture = defaultPicture(subject, kLarge);
    p.drawPixmap(QRectF(corner, QSizeF(kLarge, kLarge)), picture, QRectF(QPointF(), QSizeF(picture.size())));
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
    QPixmap pm = blankPicture(QSize(size, size));
    QPainter p(&pm);
    // The ghost directory is the directory drawn faint: there, but not chosen.
    if (subject == 2)
        p.setOpacity(0.35);
    p.drawPixmap(QRect(0, 0, size, size), icon.pixmap(QSize(size, size), pm.devicePixelRatio()));
    return pm;
}

void resetSysIcons(FileListHost& host)
{
    FileListState& s = *host.files;
    s.thumbnailsShownDir = 0;
    s.shellIcons.clear();
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
    s.shellIcons.clear();
    refill(s.imagelistSysIconsFreeSelect, s.imagelistSysIconsFreeSelectLarge, *host.options);
    if (host.lwDragDrop) {
        host.lwDragDrop->setSmallIcons(&s.imagelistSysIconsFreeSelect);
        host.lwDragDrop->setLargeIcons(&s.imagelistSysIconsFreeSelectLarge);
    }
}

namespace {

// The most a list can hold: rows refer to their pictures with 16-bit numbers.
constexpr int kMaxEntries = 32767;

struct IconPair {
    platform::ImageList& small;
    platform::ImageList& large;
    bool ghostDirs;           // the directory list shows ghost directories
    const char* failureTag;   // error-log text before the path
    bool dirDefaultOnFailure; // a failed directory gets the directory icon
};

qint16 both(FileListState& s, qint16 index)
{
    s.sysIconLargeIndex = index;
    return index;
}

bool isPictureExtension(const QString& lower)
{
    static const char* const kPictures[] = {"jpg", "jpeg", "gif", "bmp", "rle", "wmf", "emf"};
    for (const char* e : kPictures)
        if (lower == QLatin1String(e))
            return true;
    return false;
}

// Appends a picture under a key, unless the list is full: then the entry shows
// its default picture.
int addEntry(platform::ImageList& list, const QString& key, const QPixmap& pm, int fallback)
{
    if (list.count() >= kMaxEntries)
        return fallback;
    return list.add(key, pm);
}

QPixmap thumbnail(FileListState& s, const QString& path, QSize cell, const FileListOptions& o)
{
    QImage picture;
    QSize natural;
    if (s.thumbnailsAhead && s.thumbnailsAhead->take(path, cell, o.thumbsAspect, &picture, &natural))
        return drawThumbnail(picture, natural, cell, o.thumbsAspect, o.thumbsBorder);
    return renderThumbnail(path, cell, o.thumbsAspect, o.thumbsBorder);
}

qint16 lookUp(FileListHost& h, const IconPair& pair, const QString& path, qint16 isDir)
{
    FileListState& s = *h.files;
    const FileListOptions& o = *h.options;
    s.sysIconLargeIndex = defaultIcon::File;
    if (pair.ghostDirs && isDir == -1 && o.alwaysShowDirs == 1 && h.ticks && h.ticks().dirs == 0)
        return both(s, defaultIcon::GhostDir);
    if (o.useSysIcons == 0)
        return both(s, isDir == -1 ? defaultIcon::Dir : defaultIcon::File);
    try {
        const QStringView name = QStringView(path).mid(path.lastIndexOf(QLatin1Char('/')) + 1);
        if (!name.contains(QLatin1Char('.')) && isDir != -1)
            return both(s, defaultIcon::File);
        const QString extension = path.mid(path.lastIndexOf(QLatin1Char('.')) + 1);
        const QString lower = extension.toLower();
        const bool ownKey = isDir == -1 || lower == QLatin1String("ico") || lower == QLatin1String("exe") ||
                            lower == QLatin1String("cur");
        const QString key = ownKey ? path : QLatin1Char('>') + extension.toUpper();
        const int fallback = isDir == -1 ? defaultIcon::Dir : defaultIcon::File;

        int small = pair.small.indexOfKey(key);
        if (small == 0)
            small = addEntry(pair.small, key, s.shellIcons.small(path, isDir, extension), fallback);

        if (s.makeThumbnailsNow != 0 && isPictureExtension(lower)) {
            int large = pair.large.indexOfKey(path);
            if (large == 0)
                large = addEntry(pair.large, path, thumbnail(s, path, pair.large.size, o), fallback);
            s.sysIconLargeIndex = qint16(large);
            return qint16(small);
        }
        int large = pair.large.indexOfKey(key);
        if (large == 0)
            large = addEntry(pair.large, key, s.shellIcons.large(path, isDir, extension, pair.large.size), fallback);
        s.sysIconLargeIndex = qint16(large);
        return qint16(small);
    } catch (const platform::Failure& f) {
        h.logs->logError(f.errorText() + QString::fromLatin1(pair.failureTag) + path);
    }
    return both(s, pair.dirDefaultOnFailure && isDir == -1 ? defaultIcon::Dir : defaultIcon::File);
}

} // namespace

qint16 getSysIcon(FileListHost& host, const QString& path, qint16 isDir)
{
    FileListState& s = *host.files;
    const IconPair pair{s.imagelistSysIcons, s.imagelistSysIconsLarge, true, "Get Thumbnails (sysIcons): File=", true};
    return lookUp(host, pair, path, isDir);
}

qint16 getSysIconFreeSel(FileListHost& host, const QString& path, qint16 isDir)
{
    FileListState& s = *host.files;
    const IconPair pair{s.imagelistSysIconsFreeSelect, s.imagelistSysIconsFreeSelectLarge, false,
                        "Get Thumbnails (sysIcons FreeSel): ", false};
    return lookUp(host, pair, path, isDir);
}

bool thumbnailPending(const FileListHost& host, const platform::ImageList& large, const QString& path)
{
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return host.options->useSysIcons != 0 && dot >= 0 && isPictureExtension(name.mid(dot + 1).toLower()) &&
           large.indexOfKey(path) == 0;
}

void reloadFreeSelectIcons(FileListHost& host)
{
    platform::ListView* list = host.lwDragDrop;
    if (!list || list->showsHintRow())
        return;
    for (int i = 0; i < list->count(); ++i) {
        const QString path = list->subItem(i, 2) + list->text(i);
        const qint16 small = getSysIconFreeSel(host, path, platform::entryExists(path, 39) ? 0 : -1);
        list->setIcons(i, small, host.files->sysIconLargeIndex);
    }
    list->flush();
}
