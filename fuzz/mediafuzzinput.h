#pragma once
// Shared by the fuzz target and the corpus replay test: how one fuzz input
// becomes a file and a call of getMediaProperties.
#include "engine/configtypes.h"
#include "mediainfo/mediainfo.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>

namespace mediafuzz {

// The first byte chooses the file name's ending (the MPEG and PCX branches
// look at it) and the MPEG block size; the rest is the file's content.
struct Input {
    QString suffix;
    qint64 blockSize = 8192;
    QByteArray content;
};

inline Input decode(const uint8_t* data, size_t size)
{
    static const std::array<const char*, 4> suffixes = {".bin", ".mpg", ".pcx", ".mpeg"};
    static constexpr std::array<qint64, 4> blockSizes = {8192, 16, 100, 1024};
    Input in;
    const uint8_t selector = size > 0 ? data[0] : 0;
    in.suffix = QString::fromLatin1(suffixes[selector & 3]);
    in.blockSize = blockSizes[(selector >> 2) & 3];
    if (size > 1)
        in.content = QByteArray(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    return in;
}

inline QByteArray encode(int suffixIndex, int blockSizeIndex, const QByteArray& content)
{
    return QByteArray(1, char((suffixIndex & 3) | (blockSizeIndex & 3) << 2)) + content;
}

inline ConfigTables tables()
{
    ConfigTables t;
    t.codecNames = {{"DIV3", "DivX 3"}, {"xvid", "XviD"}, {QString(4, QChar(0)), "none"}};
    t.waveFormatNames = {{1, "PCM"}, {85, "MPEG Layer 3"}, {-2, "negative"}};
    return t;
}

// Writes the input as a file in `dir` and reads it; returns the reader's result.
inline int run(const QString& dir, const uint8_t* data, size_t size)
{
    const Input in = decode(data, size);
    const QString path = dir + QStringLiteral("/input") + in.suffix;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    f.write(in.content);
    f.close();
    static const ConfigTables names = tables();
    MediaContext context;
    context.codecNames = &names.codecNames;
    context.waveFormatNames = &names.waveFormatNames;
    context.mpegBytesToRead = in.blockSize;
    context.yieldDuringScans = false;
    MediaInfo info;
    return getMediaProperties(path, info, context);
}

} // namespace mediafuzz
