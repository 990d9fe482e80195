#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <vector>

// A small builder of binary fixtures: appends and patches numbers in either
// byte order, so each test writes the header it needs byte by byte.
class ByteBuilder {
public:
    ByteBuilder& raw(QByteArrayView bytes);
    ByteBuilder& u8(int v);
    ByteBuilder& u16le(unsigned v);
    ByteBuilder& u16be(unsigned v);
    ByteBuilder& u32le(quint32 v);
    ByteBuilder& u32be(quint32 v);
    ByteBuilder& zeros(qsizetype n);
    // Pads with zeros up to `size` bytes (nothing when already longer).
    ByteBuilder& padTo(qsizetype size);
    // Writes over bytes already there, growing the data when needed.
    ByteBuilder& put(qsizetype offset, QByteArrayView bytes);
    ByteBuilder& put16le(qsizetype offset, unsigned v);
    ByteBuilder& put32le(qsizetype offset, quint32 v);
    qsizetype size() const { return data_.size(); }
    const QByteArray& data() const { return data_; }
    operator QByteArray() const { return data_; }

private:
    QByteArray data_;
};

namespace fixtures {

QByteArray bmp(quint32 width, qint32 height, int depth);
// A JPEG with the given segments (marker, body) before a frame header of `frameMarker`.
struct JpegSegment {
    int marker;
    QByteArray body;
};
QByteArray jpeg(int width, int height, int frameMarker = 0xC0, const std::vector<JpegSegment>& before = {});
QByteArray gif(int width, int height, int packed);
QByteArray png(quint32 width, quint32 height, int bitDepth, int colourType);

struct TiffField {
    int tag;
    int type;                    // 1 BYTE, 2 ASCII, 3 SHORT, 4 LONG, 5 RATIONAL
    std::vector<quint32> values; // for RATIONAL: numerator, denominator pairs; for ASCII: bytes
};
// One or more directories; each holds its fields. Values that do not fit the
// 4-byte value field are placed after the directories.
QByteArray tiff(bool bigEndian, const std::vector<std::vector<TiffField>>& directories);
QByteArray tiffRgb(bool bigEndian, int width, int height);

QByteArray psd(quint32 width, quint32 height, int channels, int bitsPerChannel);
QByteArray paintShopPro(quint32 width, quint32 height, int depth);
QByteArray iff(int width, int height, int planes, int bmhdOffset = 12, QByteArrayView type = "ILBM");
QByteArray pcx(int xMin, int yMin, int xMax, int yMax, int bitsPerPixel, int planes);
QByteArray fpbd(int width, int height, bool withWidth = true, bool withHeight = true);

struct AviStreams {
    quint32 width = 320, height = 240, totalFrames = 150;
    bool video = true;
    QByteArray handler = "DIV3";
    quint32 scale = 1, rate = 15;
    int bitCount = 24;
    bool audio = true;
    int formatTag = 85, channels = 2, bitsPerSample = 16;
    quint32 samplesPerSecond = 44100, avgBytesPerSecond = 16000;
    qsizetype fileSize = 0; // padded to this length when set
};
QByteArray avi(const AviStreams& a);

struct WavFormat {
    int formatTag = 1, channels = 2, bitsPerSample = 16;
    quint32 samplesPerSecond = 44100, avgBytesPerSecond = 176400;
    qsizetype fileSize = 0;
    bool withFmt = true;
};
QByteArray wav(const WavFormat& w);

struct MpegStream {
    int width = 352, height = 288, frameRateCode = 3;
    quint32 bitRateField = 2875;
    bool programStream = true; // pack header first, else a bare video stream
    // Time codes: hours, minutes, seconds, pictures; empty = no group of pictures.
    std::vector<int> firstTime{0, 0, 0, 0};
    std::vector<int> lastTime{0, 1, 40, 13};
    QByteArray audioHeader = QByteArray("\xFF\xFD\xB4\xC4", 4); // empty = no audio packet
    qsizetype middlePadding = 20000;                            // bytes between the parts
};
QByteArray mpeg(const MpegStream& m);
// The 32-bit time code of a group-of-pictures header.
quint32 timeCode(int hours, int minutes, int seconds, int pictures, bool dropFrame = false);

} // namespace fixtures
