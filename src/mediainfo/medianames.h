#pragma once
#include <QString>
#include <vector>

// The codec and wave-format name tables, as read from the configuration files.
struct CodecName {
    QString fourcc;
    QString name;
};

struct WaveFormatName {
    qint16 tag = 0;
    QString name;
};

// The name of a video handler code: the first entry whose code matches exactly,
// else the first that matches without regard to case, else the code unchanged.
QString lookupCodecName(const std::vector<CodecName>& codecNames, const QString& fourcc);
// The name of a wave-format tag: the first entry with that tag, else the tag in decimal.
QString lookupWaveFormatName(const std::vector<WaveFormatName>& waveFormatNames, qint16 tag);
// The frame rate of an MPEG sequence-header frame-rate code ("25", "29.97");
// "0" for a code outside 1 to 8. Always with a point as decimal mark.
QString mpegFrameRateText(int code);
