#pragma once
// The format branches of getMediaProperties. Internal to the media readers.
#include "mediainfo/mediafile.h"
#include "mediainfo/mediainfo.h"

#include <QString>

namespace mediareaders {

// What every branch works on: the path, the first 32 bytes (empty for a
// shorter file), the caller's record and the program's context.
struct Scope {
    const QString& path;
    const MediaBytes& header;
    MediaInfo& info;
    const MediaContext& context;

    // Serves the event loop where the MPEG scans pause, when the caller allows it.
    void yield() const;
    // A block from the start of the file, in the bytes the file has.
    MediaBytes readBlock(qint64 size) const;
    // The file's length in bytes (0 when it cannot be read).
    qint64 fileLength() const;
};

// Stores a value that must fit a signed 16-bit integer; a larger one leaves
// the field as it was.
void setSmall(QString& field, qint64 value);

bool readBmp(Scope& s);
bool readJpeg(Scope& s);
bool readGif(Scope& s);
bool readPng(Scope& s);
bool readTiff(Scope& s);
bool readPsd(Scope& s);
bool readPaintShopPro(Scope& s);
bool readIff(Scope& s);
bool readPcx(Scope& s);
bool readFpbd(Scope& s);
bool readAvi(Scope& s);
bool readWav(Scope& s);
bool readMpeg(Scope& s);

} // namespace mediareaders
