#include "mediafixtures.h"

ByteBuilder& ByteBuilder::raw(QByteArrayView bytes)
{
    data_.append(bytes.data(), bytes.size());
    return *this;
}

ByteBuilder& ByteBuilder::u8(int v)
{
    data_.append(char(v & 0xFF));
    return *this;
}

ByteBuilder& ByteBuilder::u16le(unsigned v)
{
    return u8(int(v)).u8(int(v >> 8));
}

ByteBuilder& ByteBuilder::u16be(unsigned v)
{
    return u8(int(v >> 8)).u8(int(v));
}

ByteBuilder& ByteBuilder::u32le(quint32 v)
{
    return u16le(v & 0xFFFF).u16le(v >> 16);
}

ByteBuilder& ByteBuilder::u32be(quint32 v)
{
    return u16be(v >> 16).u16be(v & 0xFFFF);
}

ByteBuilder& ByteBuilder::zeros(qsizetype n)
{
    data_.append(n, '\0');
    return *this;
}

ByteBuilder& ByteBuilder::padTo(qsizetype size)
{
    if (data_.size() < size)
        data_.append(size - data_.size(), '\0');
    return *this;
}

ByteBuilder& ByteBuilder::put(qsizetype offset, QByteArrayView bytes)
{
    padTo(offset + bytes.size());
    std::copy(bytes.begin(), bytes.end(), data_.begin() + offset);
    return *this;
}

ByteBuilder& ByteBuilder::put16le(qsizetype offset, unsigned v)
{
    const char b[2] = {char(v & 0xFF), char((v >> 8) & 0xFF)};
    return put(offset, QByteArrayView(b, 2));
}

ByteBuilder& ByteBuilder::put32le(qsizetype offset, quint32 v)
{
    put16le(offset, v & 0xFFFF);
    return put16le(offset + 2, v >> 16);
}

namespace fixtures {

QByteArray bmp(quint32 width, qint32 height, int depth)
{
    ByteBuilder b;
    b.raw("BM").u32le(54 + 16).u32le(0).u32le(54);
    b.u32le(40).u32le(width).u32le(quint32(height)).u16le(1).u16le(unsigned(depth));
    return b.padTo(54 + 16);
}

QByteArray jpeg(int width, int height, int frameMarker, const std::vector<JpegSegment>& before)
{
    ByteBuilder b;
    b.u8(0xFF).u8(0xD8);
    for (const JpegSegment& s : before)
        b.u8(0xFF).u8(s.marker).u16be(unsigned(s.body.size() + 2)).raw(s.body);
    b.u8(0xFF).u8(frameMarker).u16be(17).u8(8).u16be(unsigned(height)).u16be(unsigned(width)).u8(3);
    b.raw(QByteArrayView("\x01\x22\x00\x02\x11\x01\x03\x11\x01", 9));
    b.u8(0xFF).u8(0xDA).u16be(12).zeros(10).raw("scan data").u8(0xFF).u8(0xD9);
    return b;
}

QByteArray gif(int width, int height, int packed)
{
    ByteBuilder b;
    b.raw("GIF89a").u16le(unsigned(width)).u16le(unsigned(height)).u8(packed).u8(0).u8(0);
    return b.padTo(48);
}

QByteArray png(quint32 width, quint32 height, int bitDepth, int colourType)
{
    ByteBuilder b;
    b.raw("\x89PNG\r\n\x1A\n").u32be(13).raw("IHDR").u32be(width).u32be(height);
    b.u8(bitDepth).u8(colourType).u8(0).u8(0).u8(0).u32be(0x12345678);
    b.u32be(0).raw("IEND").u32be(0xAE426082);
    return b;
}

namespace {

struct TiffWriter {
    bool big;
    ByteBuilder& b;
    void u16(unsigned v) { big ? b.u16be(v) : b.u16le(v); }
    void u32(quint32 v) { big ? b.u32be(v) : b.u32le(v); }
};

QByteArray tiffValueBytes(bool big, const TiffField& f)
{
    ByteBuilder v;
    TiffWriter w{big, v};
    for (quint32 x : f.values) {
        switch (f.type) {
        case 3:
            w.u16(x);
            break;
        case 4:
        case 5:
            w.u32(x);
            break;
        default:
            v.u8(int(x));
            break;
        }
    }
    return v;
}

quint32 tiffCount(const TiffField& f)
{
    return f.type == 5 ? quint32(f.values.size() / 2) : quint32(f.values.size());
}

} // namespace

QByteArray tiff(bool bigEndian, const std::vector<std::vector<TiffField>>& directories)
{
    ByteBuilder b;
    TiffWriter w{bigEndian, b};
    b.raw(bigEndian ? "MM" : "II");
    w.u16(42);
    w.u32(8);
    quint32 dataAt = 8;
    for (const auto& d : directories)
        dataAt += quint32(2 + 12 * d.size() + 4);
    ByteBuilder extra;
    quint32 ifdAt = 8;
    for (size_t i = 0; i < directories.size(); ++i) {
        const auto& d = directories[i];
        w.u16(unsigned(d.size()));
        for (const TiffField& f : d) {
            w.u16(unsigned(f.tag));
            w.u16(unsigned(f.type));
            w.u32(tiffCount(f));
            const QByteArray value = tiffValueBytes(bigEndian, f);
            if (value.size() <= 4 && f.type != 5) {
                b.raw(value).zeros(4 - value.size());
            } else {
                w.u32(dataAt + quint32(extra.size()));
                extra.raw(value);
            }
        }
        ifdAt += quint32(2 + 12 * d.size() + 4);
        w.u32(i + 1 < directories.size() ? ifdAt : 0);
    }
    b.raw(extra.data());
    return b;
}

QByteArray tiffRgb(bool bigEndian, int width, int height)
{
    return tiff(
        bigEndian,
        {{{256, 3, {quint32(width)}}, {257, 3, {quint32(height)}}, {258, 3, {8, 8, 8}}, {259, 3, {1}}, {277, 3, {3}}}});
}

QByteArray psd(quint32 width, quint32 height, int channels, int bitsPerChannel)
{
    ByteBuilder b;
    b.raw("8BPS").u16be(1).zeros(6).u16be(unsigned(channels)).u32be(height).u32be(width);
    b.u16be(unsigned(bitsPerChannel)).u16be(3);
    return b.padTo(64);
}

QByteArray paintShopPro(quint32 width, quint32 height, int depth)
{
    ByteBuilder b;
    b.raw("Paint Shop Pro Image File\n\x1A").padTo(32);
    b.put32le(50, width).put32le(54, height).put16le(69, unsigned(depth));
    return b.padTo(160);
}

QByteArray iff(int width, int height, int planes, int bmhdOffset, QByteArrayView type)
{
    ByteBuilder b;
    b.raw("FORM").u32be(200).raw(type).padTo(bmhdOffset);
    b.raw("BMHD").u32be(20).u16be(unsigned(width)).u16be(unsigned(height)).zeros(4).u8(planes);
    return b.padTo(bmhdOffset + 60);
}

QByteArray pcx(int xMin, int yMin, int xMax, int yMax, int bitsPerPixel, int planes)
{
    ByteBuilder b;
    b.u8(0x0A).u8(5).u8(1).u8(bitsPerPixel);
    b.u16le(unsigned(xMin)).u16le(unsigned(yMin)).u16le(unsigned(xMax)).u16le(unsigned(yMax));
    b.put(65, QByteArray(1, char(planes)));
    return b.padTo(200);
}

QByteArray fpbd(int width, int height, bool withWidth, bool withHeight)
{
    ByteBuilder b;
    b.raw("FPBD").padTo(16);
    if (withWidth)
        b.put(16, "width").put16le(22, unsigned(width));
    if (withHeight)
        b.put(40, "height").put16le(47, unsigned(height));
    return b.padTo(140);
}

QByteArray avi(const AviStreams& a)
{
    ByteBuilder b;
    b.raw("RIFF").u32le(0).raw("AVI LIST").u32le(0).raw("hdrl");
    b.raw("avih").u32le(56).u32le(66666).u32le(0).u32le(0).u32le(0x10);
    b.u32le(a.totalFrames).u32le(0).u32le(a.audio ? 2 : 1).u32le(0).u32le(a.width).u32le(a.height).zeros(16);
    if (a.video) {
        b.raw("LIST").u32le(116).raw("strl");
        b.raw("strh").u32le(56).raw("vids").raw(a.handler.leftJustified(4, '\0', true));
        b.u32le(0).u32le(0).u32le(0).u32le(a.scale).u32le(a.rate).u32le(0).u32le(a.totalFrames).zeros(20);
        b.raw("strf").u32le(40).u32le(40).u32le(a.width).u32le(a.height).u16le(1).u16le(unsigned(a.bitCount)).zeros(24);
    }
    if (a.audio) {
        b.raw("LIST").u32le(92).raw("strl");
        b.raw("strh").u32le(56).raw("auds").zeros(4).zeros(48);
        b.raw("strf").u32le(16).u16le(unsigned(a.formatTag)).u16le(unsigned(a.channels));
        b.u32le(a.samplesPerSecond).u32le(a.avgBytesPerSecond).u16le(4).u16le(unsigned(a.bitsPerSample));
    }
    b.raw("LIST").u32le(4).raw("movi");
    return b.padTo(a.fileSize);
}

QByteArray wav(const WavFormat& w)
{
    ByteBuilder b;
    b.raw("RIFF").u32le(quint32(std::max<qsizetype>(w.fileSize, 44) - 8)).raw("WAVE");
    if (w.withFmt) {
        b.raw("fmt ").u32le(16).u16le(unsigned(w.formatTag)).u16le(unsigned(w.channels));
        b.u32le(w.samplesPerSecond).u32le(w.avgBytesPerSecond).u16le(4).u16le(unsigned(w.bitsPerSample));
    } else {
        b.raw("LIST").u32le(16).zeros(16);
    }
    b.raw("data").u32le(0);
    return b.padTo(w.fileSize);
}

quint32 timeCode(int hours, int minutes, int seconds, int pictures, bool dropFrame)
{
    return (dropFrame ? 0x80000000u : 0u) | quint32(hours) << 26 | quint32(minutes) << 20 | 1u << 19 |
           quint32(seconds) << 13 | quint32(pictures) << 7 | 1u << 6;
}

namespace {

void groupOfPictures(ByteBuilder& b, const std::vector<int>& t)
{
    b.raw(QByteArrayView("\x00\x00\x01\xB8", 4)).u32be(timeCode(t[0], t[1], t[2], t[3]));
}

} // namespace

QByteArray mpeg(const MpegStream& m)
{
    ByteBuilder b;
    if (m.programStream)
        b.raw(QByteArrayView("\x00\x00\x01\xBA\x21\x00\x01\x00\x01\x80\x1B\x91", 12));
    b.raw(QByteArrayView("\x00\x00\x01\xB3", 4));
    b.u8(m.width >> 4).u8((m.width & 15) << 4 | m.height >> 8).u8(m.height & 0xFF);
    b.u8(0x10 | (m.frameRateCode & 15));
    b.u8(int(m.bitRateField >> 10)).u8(int(m.bitRateField >> 2)).u8(int((m.bitRateField & 3) << 6 | 0x20 | 1));
    b.u8(0x40);
    if (!m.firstTime.empty())
        groupOfPictures(b, m.firstTime);
    b.zeros(64);
    if (!m.audioHeader.isEmpty()) {
        b.raw(QByteArrayView("\x00\x00\x01\xC0", 4)).u16be(0x100).u8(0x0F).raw(m.audioHeader).zeros(32);
    }
    b.zeros(m.middlePadding);
    if (!m.lastTime.empty())
        groupOfPictures(b, m.lastTime);
    b.zeros(64);
    b.raw(QByteArrayView("\x00\x00\x01\xB9", 4));
    return b;
}

} // namespace fixtures
