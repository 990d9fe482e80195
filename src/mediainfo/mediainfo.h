#pragma once
#include "mediainfo/errorsink.h"
#include "mediainfo/medianames.h"

#include <QString>
#include <vector>

// Header values of a picture, movie or sound file, as the Format tags show
// them. Every field is empty when the file does not give the value.
struct MediaInfo {
    QString filePath; // the cache key
    QString width;
    QString height;
    QString colorDepth;
    QString frameRate;
    QString codec;
    QString lengthSeconds;
    QString bitrate;
    QString soundMode; // "Stereo" or "Mono"
    QString soundFrequency;
    QString soundFormat;
    QString soundBits;
    QString soundBitrate;
    QString soundPresence; // "Sound" or "No Sound"
};

// What the readers need from the program besides the path.
struct MediaContext {
    ErrorSink logError; // failures go to the error log
    const std::vector<CodecName>* codecNames = nullptr;
    const std::vector<WaveFormatName>* waveFormatNames = nullptr;
    qint64 mpegBytesToRead = 8192; // block size of the MPEG scans
    bool yieldDuringScans = true;  // let the event loop run inside MPEG scans
};

// Fills `info` from the header of the file at `path`. Returns -1 at once when
// `path` equals info.filePath (one record serves every tag of one name);
// otherwise resets the record and returns -1 when the file was read, 0 when it
// names no file or reading failed (the failure is logged).
int getMediaProperties(const QString& path, MediaInfo& info, const MediaContext& context);
