#pragma once
#include <functional>
#include <QString>

// The fields of one MPEG audio frame header as the sound tags show them.
struct MpegAudioHeader {
    qint16 bitrateKbps = 0; // 0 when not valid
    QString versionLayer;   // "MPEG 1 Layer 3"
    QString channelMode;    // "Joint Stereo"
    bool isStereo = false;
    qint32 sampleRate = 0; // Hz; 0 when not valid
};

// Decoders of the header fields; each takes the masked bits of its byte.
QString mpegVersionName(int versionBits);                               // b2 AND 24
QString mpegLayerName(int layerBits);                                   // b2 AND 6
qint16 mpegBitrate(int bitrateBits, const QString& versionLayer);       // b3 AND 240
qint32 mpegSampleRate(int sampleRateBits, const QString& versionLayer); // b3 AND 12
QString mpegChannelModeName(int modeBits);                              // b4 AND 192
bool mpegIsStereo(int modeBits);                                        // b4 AND 192

// Looks for the first valid frame header from file offset `start`, trying at
// most 64 positions. The record keeps the last candidate examined (or stays
// cleared). False only when the 64 positions were used up without an accepted
// header; `yield` runs after every rejected position.
bool findMpegAudioHeader(const QString& path, MpegAudioHeader& header, qint64 start,
                         const std::function<void()>& yield = {});
