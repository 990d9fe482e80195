#include "mediainfo/medianames.h"
#include "mediainfo/mediareaders.h"
#include "mediainfo/mpegaudio.h"
#include "platform/failure.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace mediareaders {

namespace {

constexpr QByteArrayView sequenceHeaderCode("\x00\x00\x01\xB3", 4);
constexpr QByteArrayView groupOfPicturesCode("\x00\x00\x01\xB8", 4);
constexpr QByteArrayView audioPacketCode("\x00\x00\x01\xC0", 4);

constexpr int forwardBlocks = 10;
constexpr int backwardBlocks = 50;
constexpr int soundBlocks = 14;
constexpr qint64 defaultBlockSize = 8192;
constexpr qint64 sequenceHeaderSize = 12;

// A block size that is no size at all falls back to the default; a huge one
// is bounded so that block offsets stay far from overflowing.
qint64 blockSize(const MediaContext& context)
{
    if (context.mpegBytesToRead <= 0)
        return defaultBlockSize;
    return std::min(context.mpegBytesToRead, qint64(1) << 40);
}

// The time code of the group of pictures whose start code is at `g` of a
// block that begins at file offset `blockStart`. Where the start code sits at
// the end of the block, its time code is read from the file behind it; a file
// that ends first gives none.
std::optional<quint32> timeCodeAt(const MediaFile& file, const MediaBytes& block, qint64 blockStart, qint64 g)
{
    if (g + 8 <= block.size())
        return block.u32be(g + 4);
    const MediaBytes rest(file.readAt(blockStart + g + 4, 4));
    if (rest.size() < 4)
        return std::nullopt;
    return rest.u32be(0);
}

// Seconds of a time code; a pictures count above half the frame rate adds one.
// Counted in 32 bits, so long recordings keep their length.
qint64 timeOf(quint32 code, double frameRate)
{
    code &= 0x7FFFFFFFu; // the drop-frame flag changes nothing
    const qint64 pictures = (code >> 7) & 63;
    const qint64 seconds = (code >> 13) & 63;
    const qint64 minutes = (code >> 20) & 63;
    const qint64 hours = (code >> 26) & 31;
    return hours * 3600 + minutes * 60 + seconds + (double(pictures) > frameRate / 2 ? 1 : 0);
}

struct ForwardResult {
    MediaBytes sequenceHeader; // the 12 bytes from its start code on
    qint64 offsetInBlock = -1; // where the block that held it has it
    std::optional<quint32> firstTimeCode;
};

ForwardResult forwardScan(Scope& s, qint64 n)
{
    ForwardResult out;
    MediaFile file(s.path);
    // Without the file there is only the header bytes to look at.
    MediaBytes block = s.header;
    qint64 blockStart = 0;
    for (int k = 0; k < forwardBlocks; ++k) {
        const qint64 offset = k * n;
        if (file.isOpen() && offset < file.size()) {
            block = MediaBytes(file.readAt(offset, n));
            blockStart = offset;
        } else if (k > 0) {
            break; // the end of the file ends the scan
        }
        s.yield();
        const qint64 sh = block.find(sequenceHeaderCode);
        s.yield();
        if (!out.firstTimeCode) {
            const qint64 g = block.find(groupOfPicturesCode);
            if (g >= 0)
                out.firstTimeCode = timeCodeAt(file, block, blockStart, g);
        }
        if (sh >= 0) {
            out.offsetInBlock = sh;
            out.sequenceHeader = sh + sequenceHeaderSize <= block.size()
                                     ? MediaBytes(block.data().mid(sh, sequenceHeaderSize))
                                     : MediaBytes(file.readAt(blockStart + sh, sequenceHeaderSize));
            break;
        }
    }
    file.close();
    s.yield();
    return out;
}

// The last time code within the last 50 blocks; the first block ends one
// byte before the end of the file, each further one lies before the previous.
std::optional<quint32> backwardScan(Scope& s, qint64 n)
{
    MediaFile file(s.path);
    if (!file.isOpen())
        return std::nullopt;
    const qint64 length = file.size();
    for (int k = 0; k < backwardBlocks; ++k) {
        const qint64 end = length - k * n - 1;
        if (end <= 0)
            break;
        // A block that would start before the file is read in the bytes it has.
        const qint64 start = std::max<qint64>(end - n, 0);
        const MediaBytes block(file.readAt(start, end - start));
        s.yield();
        const qint64 g = block.find(groupOfPicturesCode);
        s.yield();
        if (g >= 0)
            return timeCodeAt(file, block, start, g);
    }
    return std::nullopt;
}

void fillSequenceHeader(MediaInfo& info, const MediaBytes& h)
{
    const quint32 size = h.u24be(4);
    info.height = QString::number(size & 0xFFF);
    info.width = QString::number(size >> 12);
    // 18-bit rate in units of 400 bit/s: / 64 drops the 6 bits after it, / 2.5 gives kbit/s.
    info.bitrate = QString::number(qint64(std::trunc(double(h.u24be(8) / 64) / 2.5)));
    info.frameRate = mpegFrameRateText(h.u8(7) & 15);
    info.colorDepth = QStringLiteral("24");
    info.codec = QStringLiteral("MPEG");
}

// The first audio packet from file offset `from` on; its file offset, or -1.
qint64 soundScan(Scope& s, qint64 n, qint64 from)
{
    MediaFile file(s.path);
    if (!file.isOpen())
        throw platform::makeFailure(platform::failures::FileNotFound);
    for (int j = 0; j < soundBlocks; ++j) {
        const qint64 offset = from + j * n;
        // The end of the file ends the scan without a packet.
        if (offset >= file.size())
            break;
        const MediaBytes block(file.readAt(offset, n));
        s.yield();
        const qint64 a = block.find(audioPacketCode);
        if (a >= 0)
            return offset + a;
    }
    return -1;
}

} // namespace

bool readMpeg(Scope& s)
{
    const qint64 n = blockSize(s.context);
    const ForwardResult forward = forwardScan(s, n);
    if (forward.offsetInBlock < 0)
        return false;
    fillSequenceHeader(s.info, forward.sequenceHeader);
    const double frameRate = s.info.frameRate.toDouble();
    const qint64 firstTime = forward.firstTimeCode ? timeOf(*forward.firstTimeCode, frameRate) : 0;

    if (const auto last = backwardScan(s, n))
        s.info.lengthSeconds = QString::number(timeOf(*last, frameRate) - firstTime);

    // The sound scan starts at the sequence header's offset within its block,
    // not at its place in the file: an early start still meets the packet.
    const qint64 packet = soundScan(s, n, forward.offsetInBlock);
    if (packet < 0) {
        s.info.soundPresence = QStringLiteral("No Sound");
        return true;
    }
    s.info.soundPresence = QStringLiteral("Sound");
    MpegAudioHeader audio;
    findMpegAudioHeader(s.path, audio, packet + 1, [&s] { s.yield(); });
    s.info.soundBitrate = QString::number(audio.bitrateKbps);
    s.info.soundFormat = audio.versionLayer;
    s.info.soundFrequency = QString::number(audio.sampleRate);
    s.info.soundMode = audio.isStereo ? QStringLiteral("Stereo") : QStringLiteral("Mono");
    s.info.soundBits = QStringLiteral("16");
    return true;
}

} // namespace mediareaders
