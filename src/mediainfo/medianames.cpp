#include "mediainfo/medianames.h"

#include <array>

QString lookupCodecName(const std::vector<CodecName>& codecNames, const QString& fourcc)
{
    for (const CodecName& c : codecNames)
        if (c.fourcc == fourcc)
            return c.name;
    // An exact match wins over an earlier entry that differs only in case.
    const QString upper = fourcc.toUpper();
    for (const CodecName& c : codecNames)
        if (c.fourcc.toUpper() == upper)
            return c.name;
    return fourcc;
}

QString lookupWaveFormatName(const std::vector<WaveFormatName>& waveFormatNames, qint16 tag)
{
    for (const WaveFormatName& w : waveFormatNames)
        if (w.tag == tag)
            return w.name;
    return QString::number(tag);
}

QString mpegFrameRateText(int code)
{
    static constexpr std::array<const char*, 9> texts = {"0", "23.976", "24", "25", "29.97", "30", "50", "59.94", "60"};
    if (code < 1 || code > 8)
        return QStringLiteral("0");
    return QString::fromLatin1(texts[size_t(code)]);
}
