#pragma once
#include <functional>
#include <QString>
#include <vector>

struct FileTypeDef;
struct RenameOptions;

// Tells whether the file at `path` holds an MPEG audio stream; an empty
// function means no probe is available (nothing is ever found).
using MpegAudioProbe = std::function<bool(const QString& path)>;

// The extension (without the dot) that the content of the regular file `name`
// in `dir` calls for, or the empty text. Tries the signature rows in order; when
// none matches, or a row says "wav", the MP3 probe (detectTryMp3) and the
// HTML/text probes (detectTryText) may still decide. Never fails, never logs.
QString detectFileType(const QString& dir, const QString& name, const RenameOptions& options,
                       const std::vector<FileTypeDef>& fileTypes, const MpegAudioProbe& hasMpegAudio);
