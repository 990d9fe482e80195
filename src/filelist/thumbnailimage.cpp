#include "filelist/thumbnailimage.h"
#include "platform/failure.h"

#include <cerrno>
#include <cmath>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <sys/stat.h>

ThumbnailPlacement placeThumbnail(QSize picture, QSize cell, int thumbsAspect, int thumbsBorder)
{
    const float cellW = float(cell.width()), cellH = float(cell.height());
    const float imgW = float(picture.width()), imgH = float(picture.height());
    ThumbnailPlacement p;
    p.framed = thumbsBorder == 1;
    if (imgW <= cellW && imgH <= cellH) {
        const float x = cellW / 2 - imgW / 2;
        const float y = cellH / 2 - imgH / 2;
        p.picture = QRectF(x, y, imgW, imgH);
        p.frameFrom = QPointF(x - 1, y - 1);
        p.frameTo = QPointF(x + imgW, y + imgH);
        return p;
    }
    float newW, newH;
    if (imgW > imgH) {
        newW = cellW;
        newH = cellW / (imgW / imgH);
    } else {
        newH = cellH;
        newW = cellH / (imgH / imgW);
    }
    if (thumbsAspect == 1) {
        const float x = cellW / 2 - newW / 2;
        const float y = cellH / 2 - newH / 2;
        p.picture = QRectF(x, y, newW, newH);
        p.frameFrom = QPointF(x, y);
        p.frameTo = QPointF(x + newW - 1, y + newH - 1);
    } else {
        p.picture = QRectF(0, 0, cellW, cellH);
        p.frameFrom = QPointF(0, 0);
        p.frameTo = QPointF(cellW - 1, cellH - 1);
    }
    return p;
}

QImage loadThumbnailPicture(const QString& path, QSize cell, int thumbsAspect, QSize* natural)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (::lstat(native.constData(), &st) != 0)
        throw platform::failureFromErrno(errno);
    // A directory, a link or a device is never opened as a picture.
    if (S_ISDIR(st.st_mode))
        throw platform::makeFailure(platform::failures::PathFileAccessError);
    if (!S_ISREG(st.st_mode))
        throw platform::makeFailure(platform::failures::InvalidPicture);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw platform::failureFromErrno(file.error() == QFileDevice::PermissionsError ? EACCES : EIO);
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty())
        throw platform::makeFailure(platform::failures::InvalidPicture);
    *natural = size;
    const QRectF target = placeThumbnail(size, cell, thumbsAspect, 0).picture;
    const QSize wanted(int(std::ceil(target.width())), int(std::ceil(target.height())));
    // Shrinking while decoding (JPEG: a fraction of the DCT) costs a fraction of a full decode.
    if (wanted.width() >= 1 && wanted.height() >= 1 && wanted.width() < size.width() &&
        wanted.height() < size.height() && reader.supportsOption(QImageIOHandler::ScaledSize))
        reader.setScaledSize(wanted);
    QImage image = reader.read();
    if (image.isNull())
        throw platform::makeFailure(platform::failures::InvalidPicture);
    return image;
}

QPixmap drawThumbnail(const QImage& picture, QSize natural, QSize cell, int thumbsAspect, int thumbsBorder)
{
    const ThumbnailPlacement p = placeThumbnail(natural, cell, thumbsAspect, thumbsBorder);
    QImage out(cell, QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    QPainter painter(&out);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, p.picture.size() != QSizeF(picture.size()));
    painter.drawImage(p.picture, picture, QRectF(QPointF(0, 0), QSizeF(picture.size())));
    if (p.framed) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(Qt::black, 0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(p.frameFrom, p.frameTo));
    }
    painter.end();
    return QPixmap::fromImage(std::move(out));
}

QPixmap renderThumbnail(const QString& path, QSize cell, int thumbsAspect, int thumbsBorder)
{
    QSize natural;
    const QImage picture = loadThumbnailPicture(path, cell, thumbsAspect, &natural);
    return drawThumbnail(picture, natural, cell, thumbsAspect, thumbsBorder);
}
