#include "filelist/thumbnailimage.h"
#include "platform/failure.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <sys/stat.h>

namespace {

// The most pixels a picture's decode may hold; a header that claims more is
// refused before any decode (a few hundred bytes can claim gigabytes).
constexpr qint64 kMaxPicturePixels = 100'000'000;

quint32 readUnsigned(const QByteArray& b, qsizetype at, int size, bool bigEndian)
{
    quint32 v = 0;
    for (int i = 0; i < size; ++i) {
        const quint32 byte = quint8(b[at + (bigEndian ? i : size - 1 - i)]);
        v = (v << 8) | byte;
    }
    return v;
}

// The small JPEG a camera stores beside the photo (the Exif thumbnail, in the
// second directory of the APP1 segment), or nothing. Every offset is checked
// against the segment; only the first 64 KB of the file are looked at.
QByteArray exifThumbnail(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray head = file.read(65536);
    if (head.size() < 4 || quint8(head[0]) != 0xFF || quint8(head[1]) != 0xD8)
        return {};
    qsizetype pos = 2;
    // The Exif segment comes among the first application segments.
    for (int segment = 0; segment < 16 && pos + 4 <= head.size(); ++segment) {
        if (quint8(head[pos]) != 0xFF)
            return {};
        const int marker = quint8(head[pos + 1]);
        if (marker < 0xE0 || marker > 0xEF)
            return {};
        const qsizetype length = qsizetype(readUnsigned(head, pos + 2, 2, true));
        if (length < 2 || pos + 2 + length > head.size())
            return {};
        if (marker == 0xE1 && length >= 16 && head.mid(pos + 4, 6) == QByteArray("Exif\0\0", 6)) {
            const QByteArray tiff = head.mid(pos + 10, length - 8);
            const bool be = tiff.startsWith("MM");
            if (!be && !tiff.startsWith("II"))
                return {};
            auto u16 = [&](qsizetype at) { return at + 2 <= tiff.size() ? readUnsigned(tiff, at, 2, be) : 0u; };
            auto u32 = [&](qsizetype at) { return at + 4 <= tiff.size() ? readUnsigned(tiff, at, 4, be) : 0u; };
            const quint32 ifd0 = u32(4);
            if (ifd0 < 8 || ifd0 + 2 > quint32(tiff.size()))
                return {};
            const quint32 ifd1 = u32(ifd0 + 2 + 12 * u16(ifd0));
            if (ifd1 < 8 || ifd1 + 2 > quint32(tiff.size()))
                return {};
            quint32 offset = 0, size = 0;
            const quint32 entries = u16(ifd1);
            for (quint32 e = 0; e < entries && e < 64; ++e) {
                const qsizetype at = qsizetype(ifd1) + 2 + 12 * qsizetype(e);
                if (u16(at) == 0x0201)
                    offset = u32(at + 8);
                else if (u16(at) == 0x0202)
                    size = u32(at + 8);
            }
            if (offset == 0 || size == 0 || quint64(offset) + size > quint64(tiff.size()))
                return {};
            return tiff.mid(offset, size);
        }
        pos += 2 + length;
    }
    return {};
}

// Whether a JPEG is coded sequentially (baseline or extended Huffman): only then
// does a reduced decode hold just the reduced picture. A progressive picture
// keeps every coefficient of the full size while it decodes. The markers are
// walked up to the first frame header, each length checked against the file.
bool sequentialJpeg(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const qint64 length = file.size();
    uchar b[4];
    if (file.read(reinterpret_cast<char*>(b), 2) != 2 || b[0] != 0xFF || b[1] != 0xD8)
        return false;
    qint64 pos = 2;
    for (int segment = 0; segment < 1024 && pos + 4 <= length; ++segment) {
        if (!file.seek(pos) || file.read(reinterpret_cast<char*>(b), 4) != 4 || b[0] != 0xFF)
            return false;
        const int marker = b[1];
        if (marker == 0xFF) { // fill byte
            ++pos;
            continue;
        }
        if (marker == 0xC0 || marker == 0xC1)
            return true;
        // Every other frame header (progressive, lossless, arithmetic), or
        // image data before any, is not one.
        if ((marker >= 0xC2 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) ||
            marker == 0xDA || marker == 0xD9)
            return false;
        pos += 2 + ((qint64(b[2]) << 8) | b[3]);
    }
    return false;
}

// A stored thumbnail serves when it is at least the drawn size and shows the
// whole photo (same proportions; some cameras pad theirs with bars).
QImage usableExifThumbnail(const QString& path, QSize natural, QSize wanted)
{
    const QByteArray bytes = exifThumbnail(path);
    if (bytes.isEmpty())
        return {};
    QImage small;
    if (!small.loadFromData(bytes, "JPG") || small.width() < wanted.width() || small.height() < wanted.height())
        return {};
    const double a = double(natural.width()) / natural.height();
    const double b = double(small.width()) / small.height();
    if (std::abs(a - b) > 0.02 * a)
        return {};
    return small;
}

// The picture as it is seen: the Exif orientation applied (a camera's own
// small copy is stored the way the sensor lay, like the photo).
QImage oriented(const QImage& image, QImageIOHandler::Transformations t)
{
    if (t == QImageIOHandler::TransformationNone || image.isNull())
        return image;
    QImage out = image.mirrored(t & QImageIOHandler::TransformationMirror, t & QImageIOHandler::TransformationFlip);
    if (t & QImageIOHandler::TransformationRotate90)
        out = out.transformed(QTransform().rotate(90));
    return out;
}

} // namespace

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

QImage loadThumbnailPicture(const QString& path, QSize cell, int thumbsAspect, QSize* natural, qint64 maxDecodedPixels)
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
    const QSize stored = reader.size();
    if (!stored.isValid() || stored.isEmpty())
        throw platform::makeFailure(platform::failures::InvalidPicture);
    // The reader turns the picture upright after decoding; every size below
    // is the upright one, and the decoder's reduced size is turned back.
    const QImageIOHandler::Transformations turn = reader.transformation();
    const bool sideways = turn & QImageIOHandler::TransformationRotate90;
    reader.setAutoTransform(true);
    const QSize size = sideways ? stored.transposed() : stored;
    *natural = size;
    const qint64 naturalPixels = qint64(size.width()) * size.height();
    const QRectF target = placeThumbnail(size, cell, thumbsAspect, 0).picture;
    const QSize wanted(std::max(1, int(std::ceil(target.width()))), std::max(1, int(std::ceil(target.height()))));
    const bool shrinking = wanted.width() < size.width() && wanted.height() < size.height();
    if (shrinking && reader.supportsOption(QImageIOHandler::ScaledSize)) {
        if (reader.format() == "jpeg") {
            // libjpeg decodes at 1/2, 1/4 or 1/8 of the size for a fraction of the
            // work; Qt's handler does so only below its quality threshold of 50.
            int d = 8;
            while (d > 1 && (size.width() / d < wanted.width() || size.height() / d < wanted.height()))
                d /= 2;
            if (d > 1) {
                reader.setQuality(49);
                reader.setScaledSize(QSize(stored.width() / d, stored.height() / d));
            }
        } else {
            reader.setScaledSize(sideways ? wanted.transposed() : wanted);
        }
    }
    const QSize decoded = reader.scaledSize().isValid() ? reader.scaledSize() : size;
    const qint64 decodedPixels = qint64(decoded.width()) * decoded.height();
    if (maxDecodedPixels >= 0 && decodedPixels > maxDecodedPixels)
        return {};
    // What the decoder holds while it works, from the header alone: the reduced
    // picture for a sequential JPEG, the full size for everything else (other
    // formats scale after a full decode).
    const bool isJpeg = reader.format() == "jpeg";
    const qint64 workPixels = isJpeg && decoded != size && sequentialJpeg(path) ? decodedPixels : naturalPixels;
    QImage image;
    // A camera's own small copy costs a millisecond; decoding 12 megapixels,
    // even at an eighth, tens of them.
    if (shrinking && isJpeg)
        image = oriented(usableExifThumbnail(path, stored, sideways ? wanted.transposed() : wanted), turn);
    if (image.isNull() && workPixels > kMaxPicturePixels)
        throw platform::makeFailure(platform::failures::InvalidPicture);
    if (image.isNull())
        image = reader.read();
    if (image.isNull())
        throw platform::makeFailure(platform::failures::InvalidPicture);
    // Averaging every source pixel gives a calm small picture; the painter only
    // places it, at a fraction of a pixel.
    if (shrinking && image.width() > wanted.width() && image.height() > wanted.height())
        image = image.scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
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
    // The painted image keeps its paint engine (2.5 KB) while it lives; a copy
    // has none, so the list holds the pixels alone.
    return QPixmap::fromImage(out.copy());
}

QPixmap renderThumbnail(const QString& path, QSize cell, int thumbsAspect, int thumbsBorder)
{
    QSize natural;
    const QImage picture = loadThumbnailPicture(path, cell, thumbsAspect, &natural);
    return drawThumbnail(picture, natural, cell, thumbsAspect, thumbsBorder);
}
