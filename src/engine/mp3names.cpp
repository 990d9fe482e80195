#include "engine/mp3names.h"

#include "engine/forbidden.h"
#include "engine/mp3library.h"
#include "engine/normalize.h"
#include "engine/renameoptions.h"
#include "mediainfo/duration.h"
#include "platform/datetext.h"
#include "platform/failure.h"
#include "platform/fileops.h"

#include <array>
#include <optional>

namespace {

// What one tag occurrence sees.
struct Call {
    const Mp3Library& lib;
    const QString& name;
    qint64 fileSize;
    const RenameOptions& options;
};

// A tag's value; no value means the occurrence is unfilled.
using Value = std::optional<QString>;

Value filled(const QString& v)
{
    return v.isEmpty() ? Value() : Value(v);
}

// The ID3 value of a field: the tag object's own field, or with "Use ID3v2 If
// Available" unticked the ID3v1 tag's; never one standing in for the other.
QString id3(const Call& c, QString Mp3Tag::*fromTag, QString Id3v1Tag::*fromV1)
{
    const Mp3Tag& tag = c.lib.tag();
    if (!c.lib.hasTag())
        return QString();
    if (c.options.mp3UseId3v2 != 0)
        return tag.*fromTag;
    return tag.hasId3v1 ? tag.id3v1.*fromV1 : QString();
}

QString trackSource(const Call& c)
{
    const Mp3Tag& tag = c.lib.tag();
    if (!c.lib.hasTag())
        return QString();
    if (c.options.mp3UseId3v2 != 0)
        return tag.track;
    return tag.hasId3v1 ? QString::number(tag.id3v1.track) : QString();
}

// True when the number a text begins with (blanks skipped, then a sign, digits
// and a decimal point) is 0; a text without a number reads as 0.
bool leadingNumberIsZero(const QString& s)
{
    qsizetype i = 0;
    while (i < s.size() && s[i] == QLatin1Char(' '))
        ++i;
    if (i < s.size() && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-')))
        ++i;
    bool point = false;
    for (; i < s.size(); ++i) {
        const QChar ch = s[i];
        if (ch == QLatin1Char('.') && !point) {
            point = true;
            continue;
        }
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9'))
            break;
        if (ch != QLatin1Char('0'))
            return false;
    }
    return true;
}

// "3/12" gives "3"; a track that reads as 0 gives "".
QString trackText(const Call& c)
{
    const QString t = trackSource(c);
    if (leadingNumberIsZero(t))
        return QString();
    const qsizetype slash = t.indexOf(QLatin1Char('/'));
    return slash < 0 ? t : t.left(slash);
}

// "(17)Rock" gives "Rock"; "Unknown" counts as no genre.
Value genreText(const Call& c)
{
    const Mp3Tag& tag = c.lib.tag();
    QString g;
    if (c.options.mp3UseId3v2 != 0) {
        const QString v = c.lib.hasTag() ? tag.genre : QString();
        const qsizetype close = v.lastIndexOf(QLatin1Char(')'));
        g = close < 0 ? v : v.mid(close + 1);
    } else if (c.lib.hasTag() && tag.hasId3v1) {
        g = Id3v1Tag::genreName(tag.id3v1.genreIndex);
    }
    if (g == QLatin1String("Unknown"))
        return Value();
    return filled(g);
}

// The text of an ID3v2 frame of the tag's own version.
Value frame(const Call& c, const char* id)
{
    const Mp3Tag& tag = c.lib.tag();
    if (!c.lib.hasTag() || !tag.hasId3v2Frames)
        return Value();
    const Id3v2FrameSet* set = nullptr;
    switch (tag.id3v2Frames.version) {
    case 2:
        set = &tag.id3v2Frames.frames22;
        break;
    case 3:
        set = &tag.id3v2Frames.frames23;
        break;
    case 4:
        set = &tag.id3v2Frames.frames24;
        break;
    default:
        return Value();
    }
    const QString identifier = QString::fromLatin1(id);
    if (!set->frameIds.contains(identifier))
        return Value();
    return filled(set->frameText(identifier));
}

// Stream values exist only when the file has MPEG audio; then even an empty
// or zero value is appended.
template <typename F> Value stream(const Call& c, F f)
{
    if (!c.lib.hasMpegAudio())
        return Value();
    return Value(f(c.lib.streamInfo()));
}

bool isMono(const Mp3StreamInfo& s)
{
    return s.channelModeText == QLatin1String("Single Channel");
}

QString layerDigits(QString layer)
{
    layer.replace(QLatin1String("III"), QLatin1String("3"));
    layer.replace(QLatin1String("II"), QLatin1String("2"));
    layer.replace(QLatin1String("I"), QLatin1String("1"));
    return layer;
}

QString baseName(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return name;
    return dot == 0 ? QString() : name.left(dot);
}

QString extension(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return QString();
    return dot == 0 ? name : name.mid(dot + 1);
}

QString sizeInMegabytes(qint64 bytes)
{
    return platform::numberText(platform::roundHalfEven(double(bytes) / 1024.0 / 1024.0, 2));
}

struct TagDef {
    QLatin1String tag;
    const char* caption;
    // Text from the file or its name: it must never form the sub-directory tag.
    bool fromFile;
    Value (*value)(const Call&);
};

// The tags in the order of the panel's tag chooser.
const std::array<TagDef, 27> tagTable{{
    {QLatin1String("<ARTIST>"), "Artist <ARTIST>", true,
     [](const Call& c) { return filled(id3(c, &Mp3Tag::artist, &Id3v1Tag::artist)); }},
    {QLatin1String("<TITLE>"), "Title <TITLE>", true,
     [](const Call& c) { return filled(id3(c, &Mp3Tag::title, &Id3v1Tag::title)); }},
    {QLatin1String("<ALBUM>"), "Album <ALBUM>", true,
     [](const Call& c) { return filled(id3(c, &Mp3Tag::album, &Id3v1Tag::album)); }},
    {QLatin1String("<YEAR>"), "Year <YEAR>", true,
     [](const Call& c) { return filled(id3(c, &Mp3Tag::year, &Id3v1Tag::year)); }},
    {QLatin1String("<COMMENT>"), "Comment <COMMENT>", true,
     [](const Call& c) { return filled(id3(c, &Mp3Tag::comment, &Id3v1Tag::comment)); }},
    {QLatin1String("<GENRE>"), "Genre <GENRE>", true, &genreText},
    {QLatin1String("<TRACK>"), "Track Number <TRACK>", true, [](const Call& c) { return filled(trackText(c)); }},
    {QLatin1String("<TRACKN>"), "Track Number (Normalized) <TRACKN>", true,
     [](const Call& c) {
         const QString t = trackText(c);
         return t.isEmpty() ? Value() : Value(normalizeNumbers(t, 2));
     }},
    {QLatin1String("<LENGTH>"), "Length (Long) <LENGTH>", false,
     [](const Call& c) {
         return stream(c, [](const Mp3StreamInfo& s) { return formatDurationText(s.durationSeconds); });
     }},
    {QLatin1String("<LENGTHS>"), "Length (Short) <LENGTHS>", false,
     [](const Call& c) {
         return stream(c, [](const Mp3StreamInfo& s) { return formatDurationClock(s.durationSeconds); });
     }},
    {QLatin1String("<BITRATE>"), "Bitrate <BITRATE>", false,
     [](const Call& c) { return stream(c, [](const Mp3StreamInfo& s) { return QString::number(s.bitrate); }); }},
    {QLatin1String("<STEREO>"), "Stereo or Mono <STEREO>", false,
     [](const Call& c) {
         return stream(c, [](const Mp3StreamInfo& s) { return QString::fromLatin1(isMono(s) ? "Mono" : "Stereo"); });
     }},
    {QLatin1String("<FREQ>"), "Frequency (Hz) <FREQ>", false,
     [](const Call& c) { return stream(c, [](const Mp3StreamInfo& s) { return QString::number(s.sampleRate); }); }},
    {QLatin1String("<FREQS>"), "Frequency (kHz) <FREQS>", false,
     [](const Call& c) {
         return stream(c, [](const Mp3StreamInfo& s) { return QString::number(s.sampleRate / 1000); });
     }},
    {QLatin1String("<MPEG>"), "MPEG Version <MPEG>", false,
     [](const Call& c) {
         return stream(c, [](const Mp3StreamInfo& s) {
             return QString(s.mpegVersionText).remove(QLatin1String(" version"), Qt::CaseInsensitive);
         });
     }},
    {QLatin1String("<LAYER>"), "MPEG Layer <LAYER>", false,
     [](const Call& c) { return stream(c, [](const Mp3StreamInfo& s) { return layerDigits(s.layerText); }); }},
    {QLatin1String("<SMODE>"), "MPEG Stereo Mode <SMODE>", false,
     [](const Call& c) {
         return stream(c,
                       [](const Mp3StreamInfo& s) { return isMono(s) ? QStringLiteral("Mono") : s.channelModeText; });
     }},
    {QLatin1String("<NAME>"), "Current Filename <NAME>", true, [](const Call& c) { return Value(baseName(c.name)); }},
    {QLatin1String("<EXT>"), "Current Extension <EXT>", true, [](const Call& c) { return Value(extension(c.name)); }},
    {QLatin1String("<FULLNAME>"), "Current Full Filename <FULLNAME>", true,
     [](const Call& c) { return Value(c.name); }},
    {QLatin1String("<SIZEB>"), "File Size (in Bytes) <SIZEB>", false,
     [](const Call& c) { return Value(QString::number(c.fileSize)); }},
    {QLatin1String("<SIZE>"), "File Size (in MB) <SIZE>", false,
     [](const Call& c) { return Value(sizeInMegabytes(c.fileSize)); }},
    {QLatin1String("<COMPOSER>"), "Composer (ID3v2) <COMPOSER>", true, [](const Call& c) { return frame(c, "TCOM"); }},
    {QLatin1String("<ORIGARTIST>"), "Original Artist (ID3v2) <ORIGARTIST>", true,
     [](const Call& c) { return frame(c, "TOPE"); }},
    {QLatin1String("<COPYRIGHT>"), "Copyright (ID3v2) <COPYRIGHT>", true,
     [](const Call& c) { return frame(c, "TCOP"); }},
    {QLatin1String("<ENCODEDBY>"), "Encoded By (ID3v2) <ENCODEDBY>", true,
     [](const Call& c) { return frame(c, "TENC"); }},
    {QLatin1String("<BPM>"), "Beats Per Minute (ID3v2) <BPM>", true, [](const Call& c) { return frame(c, "TBPM"); }},
}};

// Text from a file or a name on disk is never a tag: besides the tag itself,
// its angle brackets and backslashes are rendered as the character map would,
// so that it cannot join the text around it into a "<\>" either.
QString disarm(const QString& v)
{
    QString s = neutralizeTags(withoutControlChars(v));
    s.replace(QLatin1Char('<'), QLatin1Char('['));
    s.replace(QLatin1Char('>'), QLatin1Char(']'));
    s.replace(QLatin1Char('\\'), QLatin1Char('-'));
    return s;
}

const TagDef* tagAt(const QString& format, qsizetype pos)
{
    const QStringView rest = QStringView(format).mid(pos);
    for (const TagDef& def : tagTable)
        if (rest.startsWith(def.tag, Qt::CaseInsensitive))
            return &def;
    return nullptr;
}

void removeControlCharacters(QString& s)
{
    s.removeIf([](QChar ch) {
        const char16_t u = ch.unicode();
        return u == 0 || u == 8 || u == 9 || u == 10 || u == 13;
    });
}

} // namespace

QString formatMp3Name(const Mp3Library& mp3Library, const QString& name, qint64 fileSize, const RenameOptions& options)
{
    const QString& format = options.mp3Format;
    if (format.isEmpty())
        return QString();
    const Call call{mp3Library, name, fileSize, options};
    QString result;
    bool allFilled = true;
    for (qsizetype i = 0; i < format.size();) {
        const TagDef* def = format[i] == QLatin1Char('<') ? tagAt(format, i) : nullptr;
        if (!def) {
            result += format[i++];
            if (stopGrowing(result))
                return result;
            continue;
        }
        const Value v = def->value(call);
        if (v)
            result += def->fromFile ? disarm(*v) : *v;
        else
            allFilled = false;
        if (stopGrowing(result))
            return result;
        i += def->tag.size();
    }
    removeControlCharacters(result);
    if (options.mp3OnlyFilledTags == 1 && !allFilled)
        return QString();
    if (options.mp3AddExtension == 1 && result.right(4).toLower() != QLatin1String(".mp3"))
        result += QLatin1String(".mp3");
    return result;
}

QStringList mp3TagChooserItems()
{
    QStringList items;
    for (const TagDef& def : tagTable)
        items << QString::fromLatin1(def.caption);
    items << QStringLiteral("Move To SubDir <\\>");
    return items;
}

bool passesMp3Filter(const QString& name, const RenameOptions& options)
{
    if (options.mp3OnlyMp3Files != 1)
        return true;
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return (dot < 0 ? name : name.mid(dot + 1)).toLower() == QLatin1String("mp3");
}

QString mp3NewName(Mp3Library* mp3Library, const QString& dir, const QString& name, const RenameOptions& options)
{
    if (!passesMp3Filter(name, options))
        return QString();
    // The instance is missing when its creation failed at start-up; the
    // callers' failure handling takes this like any failure of the component.
    if (!mp3Library)
        throw platform::Failure(91, QStringLiteral("Object variable or With block variable not set"));
    const QString path = dir + name;
    mp3Library->reset();
    if (!mp3Library->load(path))
        return QString();
    return formatMp3Name(*mp3Library, name, platform::fileSize(path), options);
}
