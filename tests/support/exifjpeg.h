#pragma once
// A JPEG test picture carrying an embedded Exif thumbnail; shared by the
// thumbnail tests and the thumbnail benchmark.
#include <QBuffer>
#include <QByteArray>
#include <QImage>

// A JPEG with an Exif segment whose second directory points at `thumb`;
// with `orientation` 1 to 8 the first directory holds that orientation tag.
inline QByteArray withExifThumbnail(const QByteArray& jpeg, const QImage& thumb, int orientation = 0)
{
    QByteArray small;
    QBuffer buf(&small);
    buf.open(QIODevice::WriteOnly);
    thumb.save(&buf, "JPG", 85);
    auto le16 = [](QByteArray& b, quint16 v) { b.append(char(v & 0xFF)).append(char(v >> 8)); };
    auto le32 = [&](QByteArray& b, quint32 v) { le16(b, quint16(v & 0xFFFF)), le16(b, quint16(v >> 16)); };
    const quint32 ifd0Entries = orientation > 0 ? 1 : 0;
    const quint32 ifd1 = 8 + 2 + 12 * ifd0Entries + 4;
    QByteArray tiff("II*\0", 4);
    le32(tiff, 8);
    le16(tiff, quint16(ifd0Entries));
    if (orientation > 0) {
        le16(tiff, 0x0112); // orientation, one SHORT
        le16(tiff, 3);
        le32(tiff, 1);
        le16(tiff, quint16(orientation));
        le16(tiff, 0);
    }
    le32(tiff, ifd1);
    le16(tiff, 2);
    for (quint16 tag : {quint16(0x0201), quint16(0x0202)}) {
        le16(tiff, tag);
        le16(tiff, 4);
        le32(tiff, 1);
        le32(tiff, tag == 0x0201 ? ifd1 + 2 + 24 + 4 : quint32(small.size()));
    }
    le32(tiff, 0);
    tiff += small;
    QByteArray app1("\xFF\xE1", 2);
    const int length = 2 + 6 + int(tiff.size());
    app1.append(char(length >> 8)).append(char(length & 0xFF));
    app1 += QByteArray("Exif\0\0", 6) + tiff;
    return jpeg.left(2) + app1 + jpeg.mid(2);
}
