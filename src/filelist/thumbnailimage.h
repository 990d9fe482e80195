#pragma once
#include <QImage>
#include <QPixmap>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QString>

// Where a picture of imgW x imgH pixels goes in a thumbnail cell: drawn whole
// into `picture` (fractions kept), and, when framed, a one-pixel black outline
// through the two corner pixels `frameFrom` and `frameTo` (both included).
struct ThumbnailPlacement {
    QRectF picture;
    bool framed = false;
    QPointF frameFrom;
    QPointF frameTo;
};

// A picture that fits is centred at its own size with the frame one pixel
// outside it. A larger one is fitted by its own orientation (a landscape one
// to the cell's width, any other to its height) and centred, so in a cell of
// another shape it may stand out of the cell and be clipped; with thumbsAspect
// other than 1 it is stretched over the whole cell. Frames only with
// thumbsBorder 1. Single-precision arithmetic, as the stored cell sizes are.
ThumbnailPlacement placeThumbnail(QSize picture, QSize cell, int thumbsAspect, int thumbsBorder);

// Decodes a picture file for a cell: only a regular file is opened, its format
// comes from its content, and a JPEG larger than the cell is decoded at a
// reduced size. `natural` receives the picture's own size. Throws
// platform::Failure when the file is missing, is not a regular file, or cannot
// be decoded (WMF and EMF have no decoder here), and when its header says that
// the decode would hold more than 100 megapixels (a sequential JPEG counts at
// its reduced size, as it is decoded; a camera's stored small copy still serves). With `maxDecodedPixels` 0 or
// more, a picture whose decode would hold more pixels is not decoded: the
// result is then a null image.
QImage loadThumbnailPicture(const QString& path, QSize cell, int thumbsAspect, QSize* natural,
                            qint64 maxDecodedPixels = -1);

// The cell of a picture file: transparent background, the picture placed as
// above, the frame in black, everything outside the cell clipped.
QPixmap renderThumbnail(const QString& path, QSize cell, int thumbsAspect, int thumbsBorder);
// The same from a decoded picture whose own size is `natural`.
QPixmap drawThumbnail(const QImage& picture, QSize natural, QSize cell, int thumbsAspect, int thumbsBorder);
