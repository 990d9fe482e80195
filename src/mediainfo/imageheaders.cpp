#include "mediainfo/mediareaders.h"
#include "mediainfo/tiffreader.h"
#include "platform/failure.h"

#include <cstring>
#include <QByteArrayView>

namespace mediareaders {

namespace {

constexpr qint64 shortBlock = 128;
constexpr qint64 iffBlock = 256;

// Reads a file front to back in chunks, for the JPEG walk that may cross the
// whole file; a byte past the end reads as 0.
class ChunkReader {
public:
    explicit ChunkReader(const MediaFile& file) : file_(file) {}

    int at(qint64 pos)
    {
        if (!load(pos))
            return 0;
        return static_cast<quint8>(chunk_[pos - start_]);
    }
    int u16be(qint64 pos) { return at(pos) << 8 | at(pos + 1); }
    // First offset in [from, end) holding `byte`, or end.
    qint64 find(qint64 from, qint64 end, char byte)
    {
        while (from < end && load(from)) {
            const qint64 stop = std::min(end, start_ + chunk_.size());
            const char* base = chunk_.constData() - start_;
            if (const void* hit = std::memchr(base + from, byte, size_t(stop - from)))
                return static_cast<const char*>(hit) - base;
            from = stop;
        }
        return end;
    }

private:
    bool load(qint64 pos)
    {
        if (pos >= start_ && pos < start_ + chunk_.size())
            return true;
        chunk_ = file_.readAt(pos, chunkSize);
        start_ = pos;
        return !chunk_.isEmpty();
    }
    static constexpr qint64 chunkSize = 64 * 1024;
    const MediaFile& file_;
    QByteArray chunk_;
    qint64 start_ = 0;
};

} // namespace

bool readBmp(Scope& s)
{
    // The width and height fields are 32 bits wide; a value that does not fit
    // a small integer leaves the field empty rather than showing its low half.
    setSmall(s.info.width, s.header.u32le(18));
    // A negative height marks a top-down bitmap; its size is the absolute value.
    setSmall(s.info.height, std::abs(qint64(qint32(s.header.u32le(22)))));
    s.info.colorDepth = QString::number(s.header.u8(28));
    return true;
}

bool readJpeg(Scope& s)
{
    MediaFile file(s.path);
    if (!file.isOpen())
        return false;
    ChunkReader r(file);
    const qint64 last = file.size() - 1;
    qint64 pos = 1;
    for (;;) {
        // The search never reads the file's last byte.
        pos = r.find(pos, std::max<qint64>(last, pos), char(0xFF));
        if (pos >= last)
            return false;
        ++pos;
        const int marker = r.at(pos++);
        if (marker >= 0xC0 && marker <= 0xC3) {
            // Segment length (2), sample precision (1), height (2), width (2).
            setSmall(s.info.height, r.u16be(pos + 3));
            setSmall(s.info.width, r.u16be(pos + 5));
            s.info.colorDepth = QStringLiteral("24");
            return true;
        }
        if (marker == 0xDA)
            return false;
        // The length counts its own two bytes; a damaged one below 2 skips
        // nothing more, so the walk never goes backwards.
        const qint64 length = r.u16be(pos);
        pos += 2 + std::max<qint64>(length - 2, 0);
    }
}

bool readGif(Scope& s)
{
    setSmall(s.info.width, s.header.u16le(6));
    setSmall(s.info.height, s.header.u16le(8));
    s.info.colorDepth = QString::number(((s.header.u8(10) & 112) / 16) + 1);
    return true;
}

bool readPng(Scope& s)
{
    const qint64 q = s.header.find("IHDR");
    if (q < 0)
        return false;
    // Full 32-bit fields, as for BMP.
    setSmall(s.info.width, s.header.u32be(q + 4));
    setSmall(s.info.height, s.header.u32be(q + 8));
    const int bits = s.header.u8(q + 12);
    switch (s.header.u8(q + 13)) {
    case 0:
    case 3:
        s.info.colorDepth = QString::number(bits);
        break;
    case 2:
        s.info.colorDepth = QString::number(3 * bits);
        break;
    case 4:
        s.info.colorDepth = QString::number(2 * bits);
        break;
    case 6:
        s.info.colorDepth = QString::number(4 * bits);
        break;
    default:
        break;
    }
    return true;
}

namespace {

// The decimal number a text begins with; 0 when it begins with none.
qint64 leadingNumber(const QString& text)
{
    qint64 v = 0;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9') || v > 100000000)
            break;
        v = v * 10 + (c.unicode() - '0');
    }
    return v;
}

// Runs one step of the TIFF reader; its failures are skipped like any other step's.
template <typename Step> void tiffStep(Step step)
{
    try {
        step();
    } catch (const platform::Failure&) {
    }
}

} // namespace

bool readTiff(Scope& s)
{
    TiffReader tiff;
    tiff.initTiff();
    bool opened = false;
    tiffStep([&] { opened = tiff.openTiff(s.path); });
    if (!opened) {
        tiff.releaseTiff();
        return false;
    }
    tiffStep([&] { tiff.getTiffHeaderInfo(); });
    // Only the four tags used, each to its first value: the bits text is read
    // for its first value alone, and a list elsewhere in the directory (strip
    // offsets of a big image, or a hostile one of millions) is never read.
    static constexpr TiffTagWanted wanted[] = {{256, 1}, {257, 1}, {258, 1}, {277, 1}};
    tiffStep([&] { tiff.readTiffIfd(0, wanted); });
    QString bits, samples;
    for (const TiffEntry& e : tiff.entries()) {
        switch (e.tag) {
        case 256:
            s.info.width = e.valueText;
            break;
        case 257:
            s.info.height = e.valueText;
            break;
        case 258:
            bits = e.valueText;
            break;
        case 277:
            samples = e.valueText;
            break;
        default:
            break;
        }
    }
    // The bits list one value per sample ("8,8,8"); its first value times the
    // samples per pixel is the depth ("16,16,16" and 3 give 48).
    s.info.colorDepth = QString::number(leadingNumber(bits) * leadingNumber(samples));
    tiff.releaseTiff();
    return true;
}

bool readPsd(Scope& s)
{
    s.info.height = QString::number(s.header.u32be(14));
    s.info.width = QString::number(s.header.u32be(18));
    const qint64 channels = s.header.u16be(12);
    const qint64 bitsPerChannel = s.header.u16be(22);
    if (channels <= 32767 && bitsPerChannel <= 32767)
        setSmall(s.info.colorDepth, channels * bitsPerChannel);
    return true;
}

bool readPaintShopPro(Scope& s)
{
    const MediaBytes block = s.readBlock(shortBlock);
    s.info.width = QString::number(block.u32le(50));
    s.info.height = QString::number(block.u32le(54));
    setSmall(s.info.colorDepth, block.u16le(69));
    return true;
}

bool readIff(Scope& s)
{
    if (!s.header.matches(8, "ILBM"))
        return false;
    // The header bytes begin the block, so the first "BMHD" of the header is
    // also the block's; its fields are read from the block either way.
    const MediaBytes block = s.readBlock(iffBlock);
    const qint64 q = block.find("BMHD");
    if (q < 0)
        return false;
    setSmall(s.info.width, block.u16be(q + 8));
    setSmall(s.info.height, block.u16be(q + 10));
    s.info.colorDepth = QString::number(block.u8(q + 16));
    return true;
}

bool readPcx(Scope& s)
{
    const MediaBytes block = s.readBlock(shortBlock);
    s.info.width = QString::number(qint64(block.u16le(8)) - block.u16le(4) + 1);
    s.info.height = QString::number(qint64(block.u16le(10)) - block.u16le(6) + 1);
    s.info.colorDepth = QString::number(block.u8(3) * block.u8(65));
    return true;
}

bool readFpbd(Scope& s)
{
    const MediaBytes block = s.readBlock(shortBlock);
    s.info.colorDepth = QStringLiteral("32");
    const qint64 q = block.find("width");
    if (q < 0)
        return false;
    setSmall(s.info.width, block.u16le(q + 6));
    const qint64 r = block.find("height");
    if (r < 0)
        return false;
    setSmall(s.info.height, block.u16le(r + 7));
    return true;
}

} // namespace mediareaders
