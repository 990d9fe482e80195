#pragma once
#include <QString>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

class Logs;

// The MP3 tag component: reads the ID3v1 and ID3v2 tags and the MPEG audio
// stream of one file over TagLib. The program holds one instance (mp3Library),
// shared by the preview, the content detection and the MP3 pass; each loads a
// file and then only queries it. A load takes a snapshot of what it read into
// the plain records below and closes the file again.

struct Id3v1Tag {
    QString title, artist, album, year, comment;
    qint32 track = 0;
    qint32 genreIndex = 255;
    // The name of a genre number; "Unknown" when the number names none.
    static QString genreName(qint32 index);
};

// The frames of one ID3v2 version.
struct Id3v2FrameSet {
    // The identifiers of every frame present, separated by blanks.
    QString frameIds;
    // The text of the first frame with this identifier ("" when there is none).
    QString frameText(const QString& identifier) const;

    std::vector<std::pair<QString, QString>> frames; // identifier, text
};

struct Id3v2Frames {
    qint32 version = 0; // the tag's major version: 2, 3 or 4
    // Only the set of the tag's own version holds frames. TagLib gives version
    // 2.2 frames their four-letter names, so one identifier serves all three.
    Id3v2FrameSet frames22, frames23, frames24;
};

// The tag object: the file's ID3v2 tag when it has one, else its ID3v1 tag. It
// is always one whole tag, never fields merged from both.
struct Mp3Tag {
    bool hasId3v1 = false;
    bool hasId3v2Frames = false;
    Id3v1Tag id3v1;
    Id3v2Frames id3v2Frames;
    // From the tag object. `track` may read "3/12"; `genre` may carry genre
    // numbers in parentheses before the name, as "(17)Rock".
    QString title, artist, album, year, comment, track, genre;
};

struct Mp3StreamInfo {
    QString mpegVersionText; // "MPEG Version 1", "MPEG Version 2", "MPEG Version 2.5"
    QString layerText;       // "I", "II", "III"
    QString channelModeText; // "Stereo", "Joint Stereo", "Dual Channel", "Single Channel"
    qint32 bitrate = 0;      // kbit/s (the average one when a VBR header says so)
    qint32 sampleRate = 0;   // Hz
    qint32 durationSeconds = 0;
};

class Mp3Library {
public:
    // How far past the start of the file, or past an ID3v2 tag there, `load`
    // looks for the first MPEG audio frame. TagLib would scan a whole file
    // that is not MPEG, which takes seconds on a large one.
    static constexpr qint64 FrameSearchBytes = 64 * 1024;

    // Creates an instance. Throws platform::Failure when that fails.
    static std::unique_ptr<Mp3Library> create();

    // Forgets the loaded file.
    void reset();
    // Reads the file at `path`. True only when it has a non-empty ID3 tag or a
    // valid MPEG audio frame; an unreadable, missing or non-regular file gives
    // false. After true every query describes this file; after false nothing
    // should be queried (the records are then empty).
    bool load(const QString& path);

    bool hasTag() const { return tag_.hasId3v1 || tag_.hasId3v2Frames; }
    bool hasMpegAudio() const { return hasMpegAudio_; }
    const Mp3Tag& tag() const { return tag_; }
    const Mp3StreamInfo& streamInfo() const { return streamInfo_; }

private:
    Mp3Tag tag_;
    Mp3StreamInfo streamInfo_;
    bool hasMpegAudio_ = false;
};

// The component as the main window holds it: the one instance, or none when
// its creation failed (mp3InitFailed -1).
struct Mp3Component {
    std::unique_ptr<Mp3Library> mp3Library;
    qint16 mp3InitFailed = 0;
};

using Mp3LibraryFactory = std::function<std::unique_ptr<Mp3Library>()>;

// The start-up step that creates the instance. A failure (the factory throws
// or returns nothing) writes "Error N (description) MP3 Init: Failed to
// initialize Mirelo Mp3 Library!" to the error log and leaves the component
// without an instance; the program goes on.
Mp3Component initMp3Library(Logs& logs, const Mp3LibraryFactory& create = &Mp3Library::create);

// The file type detection's MP3 probe: loads the file (without a reset; the
// file stays loaded) and answers whether it holds MPEG audio. A missing
// instance or a failing load counts as a negative answer.
std::function<bool(const QString&)> mp3Probe(Mp3Library* mp3Library);
