#include "engine/mp3library.h"

#include "engine/logs.h"
#include "platform/failure.h"
#include "platform/fileops.h"

#include <QFile>

#include <taglib/id3v1genres.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2frame.h>
#include <taglib/id3v2header.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegheader.h>
#include <taglib/textidentificationframe.h>
#include <taglib/tfile.h>
#include <taglib/tfilestream.h>
#include <taglib/xingheader.h>

#include <algorithm>
#include <limits>
#include <new>

namespace {

constexpr qint64 Id3v1Size = 128;
constexpr int OutOfMemory = 7;

// TagLib's tag and header readers want a TagLib::File; this one only reads.
class ReadOnlyFile : public TagLib::File {
public:
    explicit ReadOnlyFile(TagLib::IOStream* stream) : TagLib::File(stream) {}
    TagLib::Tag* tag() const override { return nullptr; }
    TagLib::AudioProperties* audioProperties() const override { return nullptr; }
    bool save() override { return false; }
};

QString text(const TagLib::String& s)
{
    return QString::fromStdString(s.to8Bit(true));
}

QString numberOrEmpty(unsigned n)
{
    return n == 0 ? QString() : QString::number(n);
}

// Looked up with find: the map's operator[] would add an empty entry.
TagLib::ID3v2::FrameList framesOf(const TagLib::ID3v2::Tag& tag, const char* id)
{
    const TagLib::ID3v2::FrameListMap& map = tag.frameListMap();
    const auto it = map.find(TagLib::ByteVector(id));
    return it == map.end() ? TagLib::ID3v2::FrameList() : it->second;
}

// The genre as the tag stores it. TagLib turns a version 2.3 "(17)Rock" into
// the field "Rock", and "(17)" alone into the field "17"; numbers go back into
// parentheses so that a bare genre number stays recognisable as one.
QString genreText(const TagLib::ID3v2::Tag& tag)
{
    const TagLib::ID3v2::FrameList list = framesOf(tag, "TCON");
    if (list.isEmpty())
        return QString();
    const auto* frame = dynamic_cast<const TagLib::ID3v2::TextIdentificationFrame*>(list.front());
    if (!frame)
        return text(list.front()->toString());
    QString numbers;
    QStringList names;
    for (const TagLib::String& field : frame->fieldList()) {
        if (field.isEmpty())
            continue;
        bool ok = false;
        const int number = field.toInt(&ok);
        if (ok && number >= 0 && number <= 255)
            numbers += QStringLiteral("(%1)").arg(number);
        else
            names << text(field);
    }
    return numbers + names.join(QLatin1Char(' '));
}

QString firstFrameText(const TagLib::ID3v2::Tag& tag, const char* id)
{
    const TagLib::ID3v2::FrameList list = framesOf(tag, id);
    return list.isEmpty() ? QString() : text(list.front()->toString());
}

Id3v2FrameSet frameSet(const TagLib::ID3v2::Tag& tag)
{
    Id3v2FrameSet set;
    QStringList ids;
    for (const TagLib::ID3v2::Frame* frame : tag.frameList()) {
        const QString id = QString::fromLatin1(frame->frameID().data(), int(frame->frameID().size()));
        ids << id;
        set.frames.emplace_back(id, text(frame->toString()));
    }
    set.frameIds = ids.join(QLatin1Char(' '));
    return set;
}

void readId3v2(const TagLib::ID3v2::Tag& t, Mp3Tag& tag)
{
    tag.hasId3v2Frames = true;
    tag.title = text(t.title());
    tag.artist = text(t.artist());
    tag.album = text(t.album());
    tag.year = numberOrEmpty(t.year());
    tag.comment = text(t.comment());
    tag.track = firstFrameText(t, "TRCK");
    tag.genre = genreText(t);
    Id3v2Frames& frames = tag.id3v2Frames;
    frames.version = int(t.header()->majorVersion());
    switch (frames.version) {
    case 2:
        frames.frames22 = frameSet(t);
        break;
    case 3:
        frames.frames23 = frameSet(t);
        break;
    case 4:
        frames.frames24 = frameSet(t);
        break;
    default:
        break;
    }
}

void readId3v1(const TagLib::ID3v1::Tag& t, Mp3Tag& tag)
{
    Id3v1Tag& v1 = tag.id3v1;
    tag.hasId3v1 = true;
    v1.title = text(t.title());
    v1.artist = text(t.artist());
    v1.album = text(t.album());
    v1.year = numberOrEmpty(t.year());
    v1.comment = text(t.comment());
    v1.track = qint32(t.track());
    v1.genreIndex = qint32(t.genreNumber());
}

// The tag object takes the ID3v1 values only when there is no ID3v2 tag.
void fillTagObjectFromId3v1(Mp3Tag& tag)
{
    const Id3v1Tag& v1 = tag.id3v1;
    tag.title = v1.title;
    tag.artist = v1.artist;
    tag.album = v1.album;
    tag.year = v1.year;
    tag.comment = v1.comment;
    tag.track = v1.track == 0 ? QString() : QString::number(v1.track);
    tag.genre = Id3v1Tag::genreName(v1.genreIndex);
}

const char* versionText(TagLib::MPEG::Header::Version v)
{
    switch (v) {
    case TagLib::MPEG::Header::Version1:
        return "MPEG Version 1";
    case TagLib::MPEG::Header::Version2:
        return "MPEG Version 2";
    case TagLib::MPEG::Header::Version2_5:
        return "MPEG Version 2.5";
    }
    return "";
}

const char* channelModeText(TagLib::MPEG::Header::ChannelMode m)
{
    switch (m) {
    case TagLib::MPEG::Header::Stereo:
        return "Stereo";
    case TagLib::MPEG::Header::JointStereo:
        return "Joint Stereo";
    case TagLib::MPEG::Header::DualChannel:
        return "Dual Channel";
    case TagLib::MPEG::Header::SingleChannel:
        return "Single Channel";
    }
    return "";
}

qint32 clampToInt32(double v)
{
    return v >= double(std::numeric_limits<qint32>::max()) ? std::numeric_limits<qint32>::max() : qint32(v);
}

// The first valid frame header in [start, start + FrameSearchBytes), or -1.
// TagLib's header check also wants the next frame right behind this one, so
// stray sync bytes in other data rarely pass.
qint64 findFirstFrame(ReadOnlyFile& file, qint64 start, qint64 fileLength)
{
    if (start >= fileLength)
        return -1;
    const qint64 end = std::min(fileLength, start + Mp3Library::FrameSearchBytes);
    file.seek(long(start));
    const TagLib::ByteVector window = file.readBlock((unsigned long)(end - start + 1));
    for (unsigned i = 0; i + 1 < window.size(); ++i) {
        if (uchar(window[i]) != 0xFF || (uchar(window[i + 1]) & 0xE0) != 0xE0)
            continue;
        if (TagLib::MPEG::Header(&file, long(start + i), true).isValid())
            return start + i;
    }
    return -1;
}

// Stream values from the first frame: a Xing or VBRI header there gives the
// frame count (and the average bit rate); otherwise the stream is taken as
// constant bit rate up to the end of the file or its ID3v1 block.
Mp3StreamInfo streamValues(ReadOnlyFile& file, qint64 offset, qint64 audioEnd)
{
    const TagLib::MPEG::Header header(&file, long(offset), false);
    Mp3StreamInfo info;
    info.mpegVersionText = QString::fromLatin1(versionText(header.version()));
    info.layerText = QString(header.layer(), QLatin1Char('I'));
    info.channelModeText = QString::fromLatin1(channelModeText(header.channelMode()));
    info.bitrate = header.bitrate();
    info.sampleRate = header.sampleRate();

    file.seek(long(offset));
    const TagLib::MPEG::XingHeader vbr(file.readBlock((unsigned long)header.frameLength()));
    double lengthMs = 0;
    if (vbr.isValid() && header.samplesPerFrame() > 0 && header.sampleRate() > 0) {
        lengthMs = double(header.samplesPerFrame()) * 1000.0 / header.sampleRate() * vbr.totalFrames();
        if (lengthMs > 0)
            info.bitrate = clampToInt32(vbr.totalSize() * 8.0 / lengthMs + 0.5);
    } else if (header.bitrate() > 0) {
        lengthMs = double(std::max<qint64>(0, audioEnd - offset)) * 8.0 / header.bitrate();
    }
    info.durationSeconds = clampToInt32((lengthMs + 0.5) / 1000.0);
    return info;
}

} // namespace

QString Id3v1Tag::genreName(qint32 index)
{
    const TagLib::String name = index < 0 ? TagLib::String() : TagLib::ID3v1::genre(index);
    return name.isEmpty() ? QStringLiteral("Unknown") : text(name);
}

QString Id3v2FrameSet::frameText(const QString& identifier) const
{
    for (const auto& [id, value] : frames)
        if (id == identifier)
            return value;
    return QString();
}

std::unique_ptr<Mp3Library> Mp3Library::create()
{
    try {
        return std::make_unique<Mp3Library>();
    } catch (const std::bad_alloc&) {
        throw platform::Failure(OutOfMemory, QStringLiteral("Out of memory"));
    }
}

void Mp3Library::reset()
{
    tag_ = Mp3Tag();
    streamInfo_ = Mp3StreamInfo();
    hasMpegAudio_ = false;
}

bool Mp3Library::load(const QString& path)
{
    reset();
    // Only regular files are opened for content; a link is an entry of its own.
    const auto entry = platform::entryInfo(path);
    if (!entry || !entry->isRegular)
        return false;
    const QByteArray native = QFile::encodeName(path);
    try {
        TagLib::FileStream stream(native.constData(), true);
        if (!stream.isOpen())
            return false;
        ReadOnlyFile file(&stream);
        const qint64 length = file.length();

        // An ID3v2 tag is looked for where it belongs, at the start; the audio
        // search then begins behind it.
        qint64 audioStart = 0;
        file.seek(0);
        if (file.readBlock(3) == TagLib::ID3v2::Header::fileIdentifier()) {
            const TagLib::ID3v2::Tag v2(&file, 0);
            audioStart = qint64(v2.header()->completeTagSize());
            // A header with nothing behind it (often just "ID3" inside other
            // data) is no tag.
            if (!v2.frameList().isEmpty())
                readId3v2(v2, tag_);
        }

        qint64 audioEnd = length;
        if (length >= Id3v1Size) {
            file.seek(long(length - Id3v1Size));
            if (file.readBlock(3) == TagLib::ByteVector("TAG", 3)) {
                audioEnd = length - Id3v1Size;
                const TagLib::ID3v1::Tag v1(&file, long(audioEnd));
                if (!v1.isEmpty())
                    readId3v1(v1, tag_);
            }
        }
        if (!tag_.hasId3v2Frames && tag_.hasId3v1)
            fillTagObjectFromId3v1(tag_);

        const qint64 frame = findFirstFrame(file, audioStart, length);
        if (frame >= 0) {
            hasMpegAudio_ = true;
            streamInfo_ = streamValues(file, frame, std::max(audioEnd, frame));
        }
    } catch (const std::bad_alloc&) {
        reset();
        throw platform::Failure(OutOfMemory, QStringLiteral("Out of memory"));
    }
    if (!hasTag() && !hasMpegAudio_) {
        reset();
        return false;
    }
    return true;
}

Mp3Component initMp3Library(Logs& logs, const Mp3LibraryFactory& create)
{
    Mp3Component component;
    auto fail = [&](const platform::Failure& f) {
        logs.logError(f.errorText() + QStringLiteral("MP3 Init: Failed to initialize Mirelo Mp3 Library!"));
        component.mp3Library.reset();
        component.mp3InitFailed = -1;
    };
    try {
        component.mp3Library = create();
        if (!component.mp3Library)
            fail(platform::Failure(429, QStringLiteral("Can't create object")));
    } catch (const platform::Failure& f) {
        fail(f);
    } catch (const std::exception&) {
        fail(platform::Failure(OutOfMemory, QStringLiteral("Out of memory")));
    }
    return component;
}

std::function<bool(const QString&)> mp3Probe(Mp3Library* mp3Library)
{
    return [mp3Library](const QString& path) {
        if (!mp3Library)
            return false;
        try {
            return mp3Library->load(path) && mp3Library->hasMpegAudio();
        } catch (const std::exception&) {
            return false;
        }
    };
}
