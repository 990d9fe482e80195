#include "mediainfo/mpegaudio.h"
#include "mediainfo/mediafile.h"

#include <array>

namespace {

using RateTable = std::array<qint16, 16>;

// ISO/IEC 11172-3 and 13818-3; index 0 (free format) and 15 give 0.
constexpr RateTable mpeg1Layer1 = {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0};
constexpr RateTable mpeg1Layer2 = {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0};
constexpr RateTable mpeg1Layer3 = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
constexpr RateTable mpeg2Layer1 = {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0};
constexpr RateTable mpeg2Layer23 = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0};

constexpr int positionsToTry = 64;
constexpr int bytesPerHeader = 4;

} // namespace

QString mpegVersionName(int versionBits)
{
    switch (versionBits) {
    case 0:
        return QStringLiteral("MPEG 2.5");
    case 16:
        return QStringLiteral("MPEG 2");
    case 24:
        return QStringLiteral("MPEG 1");
    default:
        return QStringLiteral("Unknown");
    }
}

QString mpegLayerName(int layerBits)
{
    switch (layerBits) {
    case 2:
        return QStringLiteral("Layer 3");
    case 4:
        return QStringLiteral("Layer 2");
    case 6:
        return QStringLiteral("Layer 1");
    default:
        return QStringLiteral("Unknown");
    }
}

qint16 mpegBitrate(int bitrateBits, const QString& versionLayer)
{
    const int index = (bitrateBits / 16) & 15;
    const RateTable* table = &mpeg2Layer23;
    if (versionLayer == QLatin1String("MPEG 1 Layer 1"))
        table = &mpeg1Layer1;
    else if (versionLayer == QLatin1String("MPEG 1 Layer 2"))
        table = &mpeg1Layer2;
    else if (versionLayer == QLatin1String("MPEG 1 Layer 3"))
        table = &mpeg1Layer3;
    else if (versionLayer == QLatin1String("MPEG 2 Layer 1"))
        table = &mpeg2Layer1;
    return (*table)[size_t(index)];
}

qint32 mpegSampleRate(int sampleRateBits, const QString& versionLayer)
{
    const int index = (sampleRateBits / 4) & 3;
    static constexpr std::array<qint32, 4> mpeg1 = {44100, 48000, 32000, 0};
    static constexpr std::array<qint32, 4> mpeg2 = {22050, 24000, 16000, 0};
    static constexpr std::array<qint32, 4> mpeg25 = {11025, 12000, 8000, 0};
    const QString prefix = versionLayer.left(7);
    if (prefix == QLatin1String("MPEG 1 "))
        return mpeg1[size_t(index)];
    if (prefix == QLatin1String("MPEG 2 "))
        return mpeg2[size_t(index)];
    if (prefix == QLatin1String("MPEG 2."))
        return mpeg25[size_t(index)];
    return 0;
}

QString mpegChannelModeName(int modeBits)
{
    switch (modeBits) {
    case 0:
        return QStringLiteral("Stereo");
    case 64:
        return QStringLiteral("Joint Stereo");
    case 128:
        return QStringLiteral("Dual Channel");
    case 192:
        return QStringLiteral("Mono");
    default:
        return QStringLiteral("Unknown");
    }
}

bool mpegIsStereo(int modeBits)
{
    return modeBits == 0 || modeBits == 64 || modeBits == 128;
}

bool findMpegAudioHeader(const QString& path, MpegAudioHeader& header, qint64 start, const std::function<void()>& yield)
{
    header = MpegAudioHeader{};
    MediaFile file(path);
    // A file that cannot be opened or positioned ends the search as if its end was reached.
    if (!file.isOpen() || start < 0)
        return true;
    // 64 positions of at most four bytes each never need more than this.
    const QByteArray bytes = file.readAt(start, qint64(positionsToTry) * bytesPerHeader);
    file.close();
    const MediaBytes b(bytes);
    qint64 pos = 0;
    int left = positionsToTry;
    while (pos < b.size()) {
        if (b.u8(pos++) == 0xFF) {
            if (pos >= b.size())
                return true; // header cut off by the end of the file
            const int b2 = b.u8(pos++);
            if (b2 >= 224) {
                header.versionLayer = mpegVersionName(b2 & 24) + QLatin1Char(' ') + mpegLayerName(b2 & 6);
                if (pos >= b.size())
                    return true;
                const int b3 = b.u8(pos++);
                header.bitrateKbps = mpegBitrate(b3 & 240, header.versionLayer);
                header.sampleRate = mpegSampleRate(b3 & 12, header.versionLayer);
                if (pos >= b.size())
                    return true;
                const int b4 = b.u8(pos++);
                header.channelMode = mpegChannelModeName(b4 & 192);
                header.isStereo = mpegIsStereo(b4 & 192);
                if (header.bitrateKbps != 0 && header.sampleRate != 0)
                    return true;
            }
        }
        if (--left == 0)
            return false;
        if (yield)
            yield();
    }
    return true;
}
