#include "mediainfo/medianames.h"
#include "mediainfo/mediareaders.h"
#include "platform/datetext.h"

#include <cmath>
#include <optional>

namespace mediareaders {

namespace {

constexpr qint64 aviBlock = 8192;
constexpr qint64 wavBlock = 256;

// A count held in a signed 32-bit integer: a value from 2^31 up does not fit
// and the count stays 0.
qint64 signed32(quint32 v)
{
    return v >= 0x80000000u ? 0 : qint64(v);
}

QString waveFormatText(const Scope& s, quint16 tag)
{
    // A tag from 32768 up does not fit the table's signed tag: keep its number.
    if (tag >= 32768)
        return QString::number(tag);
    if (!s.context.waveFormatNames)
        return QString::number(tag);
    return lookupWaveFormatName(*s.context.waveFormatNames, qint16(tag));
}

QString codecText(const Scope& s, const QByteArray& fourcc)
{
    const QString code = QString::fromLatin1(fourcc);
    return s.context.codecNames ? lookupCodecName(*s.context.codecNames, code) : code;
}

// The wave format record (format tag, channels, samples per second, average
// bytes per second, block align, bits per sample) at offset f.
void readWaveFormat(Scope& s, const MediaBytes& block, qint64 f, std::optional<double> fileLength)
{
    s.info.soundFormat = waveFormatText(s, block.u16le(f));
    s.info.soundMode = block.u16le(f + 2) == 2 ? QStringLiteral("Stereo") : QStringLiteral("Mono");
    s.info.soundFrequency = QString::number(block.u32le(f + 4));
    const double average = block.u32le(f + 8);
    if (fileLength && average != 0)
        s.info.lengthSeconds = platform::numberText(*fileLength / average);
    s.info.soundBitrate = QString::number(qint64(std::trunc(average * 8 / 1000)));
    s.info.soundBits = QString::number(block.u16le(f + 14));
}

void readVideoStream(Scope& s, const MediaBytes& block, qint64 v, qint64 totalFrames)
{
    s.info.codec = codecText(s, block.data().mid(v + 4, 4).leftJustified(4, '\0'));
    const qint64 scale = signed32(block.u32le(v + 20));
    const qint64 rate = signed32(block.u32le(v + 24));
    if (scale != 0) {
        // The length is computed with the rounded rate that the tag shows.
        const double frameRate = platform::roundHalfEven(double(rate) / double(scale), 2);
        s.info.frameRate = platform::numberText(frameRate);
        if (frameRate != 0) {
            const double length = platform::roundHalfEven(double(totalFrames) / frameRate, 0);
            s.info.lengthSeconds = platform::numberText(length);
            if (length != 0)
                s.info.bitrate = QString::number(qint64(std::trunc(double(s.fileLength()) / length * 8 / 1000)));
        }
    }
    const qint64 strf = block.find("strf", v);
    if (strf >= 0)
        s.info.colorDepth = QString::number(block.u16le(strf + 22));
}

} // namespace

bool readAvi(Scope& s)
{
    const MediaBytes block = s.readBlock(aviBlock);
    const qint64 a = block.find("avih");
    if (a < 0)
        return false;
    s.info.width = QString::number(block.u32le(a + 40));
    s.info.height = QString::number(block.u32le(a + 44));
    const qint64 totalFrames = signed32(block.u32le(a + 24));
    const qint64 v = block.find("vids");
    if (v >= 0)
        readVideoStream(s, block, v, totalFrames);
    const qint64 u = block.find("auds");
    if (u < 0) {
        s.info.soundPresence = QStringLiteral("No Sound");
        return true;
    }
    s.info.soundPresence = QStringLiteral("Sound");
    const qint64 strf = block.find("strf", u);
    // The AVI length comes from the frames, not from the sound's byte rate.
    if (strf >= 0)
        readWaveFormat(s, block, strf + 8, std::nullopt);
    return true;
}

bool readWav(Scope& s)
{
    const MediaBytes block = s.readBlock(wavBlock);
    const qint64 f = block.find("fmt");
    if (f < 0) {
        s.info.soundPresence = QStringLiteral("No Sound");
        return true;
    }
    s.info.soundPresence = QStringLiteral("Sound");
    readWaveFormat(s, block, f + 8, double(s.fileLength()));
    return true;
}

} // namespace mediareaders
