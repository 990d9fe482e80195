#include "engine/format.h"
#include "engine/forbidden.h"
#include "engine/htmltitle.h"
#include "engine/logs.h"
#include "engine/random.h"
#include "engine/renameoptions.h"
#include "engine/sizetext.h"
#include "engine/textutil.h"
#include "mediainfo/duration.h"
#include "platform/datetext.h"
#include "platform/failure.h"
#include "platform/fileops.h"

#include <array>
#include <cmath>
#include <limits>
#include <optional>

namespace {

enum class Tag {
    Name,
    Ext,
    FullName,
    Size,
    SizeB,
    Date,
    Time,
    CDate,
    CTime,
    ADate,
    ATime,
    Parent,
    DirFiles,
    DirDirs,
    DirSizeB,
    DirSize,
    SDirFiles,
    SDirDirs,
    SDirSizeB,
    SDirSize,
    Width,
    Height,
    Depth,
    DepthB,
    Length,
    LengthS,
    Bitrate,
    Fps,
    Codec,
    SMode,
    Freq,
    FreqS,
    Bits,
    SndFormat,
    SndBitrate,
    Sound,
    HtmlTitle,
    Rnd,
    RndDigit,
    FLetter,
    FLetterN1,
    FLetterN2,
    Part1,
    Part2,
    Part3,
    Part4,
    Part5,
    Part6,
    Part7,
    Part8,
    Part9,
};

struct TagDef {
    QLatin1String text;
    Tag tag;
};

// In the order they are tested; every tag ends with ">", so at most one matches.
const std::array<TagDef, 51> Tags{{
    {QLatin1String("<NAME>"), Tag::Name},
    {QLatin1String("<EXT>"), Tag::Ext},
    {QLatin1String("<FULLNAME>"), Tag::FullName},
    {QLatin1String("<SIZE>"), Tag::Size},
    {QLatin1String("<SIZEB>"), Tag::SizeB},
    {QLatin1String("<DATE>"), Tag::Date},
    {QLatin1String("<TIME>"), Tag::Time},
    {QLatin1String("<CDATE>"), Tag::CDate},
    {QLatin1String("<CTIME>"), Tag::CTime},
    {QLatin1String("<ADATE>"), Tag::ADate},
    {QLatin1String("<ATIME>"), Tag::ATime},
    {QLatin1String("<PARENT>"), Tag::Parent},
    {QLatin1String("<DIRFILES>"), Tag::DirFiles},
    {QLatin1String("<DIRDIRS>"), Tag::DirDirs},
    {QLatin1String("<DIRSIZEB>"), Tag::DirSizeB},
    {QLatin1String("<DIRSIZE>"), Tag::DirSize},
    {QLatin1String("<SDIRFILES>"), Tag::SDirFiles},
    {QLatin1String("<SDIRDIRS>"), Tag::SDirDirs},
    {QLatin1String("<SDIRSIZEB>"), Tag::SDirSizeB},
    {QLatin1String("<SDIRSIZE>"), Tag::SDirSize},
    {QLatin1String("<WIDTH>"), Tag::Width},
    {QLatin1String("<HEIGHT>"), Tag::Height},
    {QLatin1String("<DEPTH>"), Tag::Depth},
    {QLatin1String("<DEPTHB>"), Tag::DepthB},
    {QLatin1String("<LENGTH>"), Tag::Length},
    {QLatin1String("<LENGTHS>"), Tag::LengthS},
    {QLatin1String("<BITRATE>"), Tag::Bitrate},
    {QLatin1String("<FPS>"), Tag::Fps},
    {QLatin1String("<CODEC>"), Tag::Codec},
    {QLatin1String("<SMODE>"), Tag::SMode},
    {QLatin1String("<FREQ>"), Tag::Freq},
    {QLatin1String("<FREQS>"), Tag::FreqS},
    {QLatin1String("<BITS>"), Tag::Bits},
    {QLatin1String("<SNDFORMAT>"), Tag::SndFormat},
    {QLatin1String("<SNDBITRATE>"), Tag::SndBitrate},
    {QLatin1String("<SOUND>"), Tag::Sound},
    {QLatin1String("<HTMLTITLE>"), Tag::HtmlTitle},
    {QLatin1String("<RND>"), Tag::Rnd},
    {QLatin1String("<RND#>"), Tag::RndDigit},
    {QLatin1String("<FLETTER>"), Tag::FLetter},
    {QLatin1String("<FLETTERN1>"), Tag::FLetterN1},
    {QLatin1String("<FLETTERN2>"), Tag::FLetterN2},
    {QLatin1String("<%1>"), Tag::Part1},
    {QLatin1String("<%2>"), Tag::Part2},
    {QLatin1String("<%3>"), Tag::Part3},
    {QLatin1String("<%4>"), Tag::Part4},
    {QLatin1String("<%5>"), Tag::Part5},
    {QLatin1String("<%6>"), Tag::Part6},
    {QLatin1String("<%7>"), Tag::Part7},
    {QLatin1String("<%8>"), Tag::Part8},
    {QLatin1String("<%9>"), Tag::Part9},
}};

// Media tags that append their field as it is.
struct MediaField {
    Tag tag;
    QString MediaInfo::*field;
};
const std::array<MediaField, 12> PlainMediaTags{{
    {Tag::Width, &MediaInfo::width},
    {Tag::Height, &MediaInfo::height},
    {Tag::DepthB, &MediaInfo::colorDepth},
    {Tag::Bitrate, &MediaInfo::bitrate},
    {Tag::Fps, &MediaInfo::frameRate},
    {Tag::Codec, &MediaInfo::codec},
    {Tag::SMode, &MediaInfo::soundMode},
    {Tag::Freq, &MediaInfo::soundFrequency},
    {Tag::Bits, &MediaInfo::soundBits},
    {Tag::SndFormat, &MediaInfo::soundFormat},
    {Tag::SndBitrate, &MediaInfo::soundBitrate},
    {Tag::Sound, &MediaInfo::soundPresence},
}};

struct DirField {
    Tag tag;
    qint64 DirInfo::*field;
    bool asSizeText;
};
const std::array<DirField, 8> DirTags{{
    {Tag::DirFiles, &DirInfo::topFiles, false},
    {Tag::DirDirs, &DirInfo::topDirs, false},
    {Tag::DirSizeB, &DirInfo::topBytes, false},
    {Tag::DirSize, &DirInfo::topBytes, true},
    {Tag::SDirFiles, &DirInfo::treeFiles, false},
    {Tag::SDirDirs, &DirInfo::treeDirs, false},
    {Tag::SDirSizeB, &DirInfo::treeBytes, false},
    {Tag::SDirSize, &DirInfo::treeBytes, true},
}};

struct DateField {
    Tag tag;
    timespec FileInfo::*field;
    bool time;
};
const std::array<DateField, 6> DateTags{{
    {Tag::Date, &FileInfo::modified, false},
    {Tag::Time, &FileInfo::modified, true},
    {Tag::CDate, &FileInfo::created, false},
    {Tag::CTime, &FileInfo::created, true},
    {Tag::ADate, &FileInfo::accessed, false},
    {Tag::ATime, &FileInfo::accessed, true},
}};

template <typename Table> auto findRow(const Table& table, Tag tag) -> const typename Table::value_type*
{
    for (const auto& row : table)
        if (row.tag == tag)
            return &row;
    return nullptr;
}

// The tag at `at`, compared in upper case.
std::optional<TagDef> tagAt(const QString& text, qsizetype at)
{
    for (const TagDef& def : Tags) {
        const qsizetype n = def.text.size();
        if (at + n > text.size())
            continue;
        qsizetype k = 1; // text[at] is the "<" that brought us here
        while (k < n && text.at(at + k).toUpper() == QLatin1Char(def.text.at(k)))
            ++k;
        if (k == n)
            return def;
    }
    return std::nullopt;
}

// Text taken from a file or an existing name: it must never form the
// sub-directory tag, alone or with the typed text around it, so its angle
// brackets become the square brackets the forbidden-character map makes of them.
QString outside(const QString& value)
{
    QString s = neutralizeTags(value);
    s.replace(QLatin1Char('<'), QLatin1Char('[')).replace(QLatin1Char('>'), QLatin1Char(']'));
    return s;
}

// A value read from a file's content: no control character, never a tag.
QString content(const QString& value)
{
    return outside(withoutControlChars(value));
}

qint32 wholeSeconds(const QString& field)
{
    const double rounded = platform::roundHalfEven(leadingNumber(field));
    if (rounded < std::numeric_limits<qint32>::min() || rounded > std::numeric_limits<qint32>::max())
        throw platform::makeFailure(platform::failures::Overflow);
    return static_cast<qint32>(rounded);
}

struct Value {
    QString text;
    bool missing = false; // counts under the all-tags-required rule
};

class Evaluator {
public:
    Evaluator(const QString& name, const QString& dir, const RenameOptions& options, FormatContext& context,
              FormatRecords& records)
        : name_(name), dir_(dir), options_(options), context_(context), records_(records)
    {
        QString base = dir;
        if (base.endsWith(QLatin1Char('/')))
            base.chop(1);
        fullPath_ = base + QLatin1Char('/') + name;
    }

    const QString& fullPath() const { return fullPath_; }

    Value evaluate(Tag tag)
    {
        if (const auto* row = findRow(PlainMediaTags, tag))
            return required(content(media().*(row->field)));
        if (const auto* row = findRow(DirTags, tag))
            return dirValue(*row);
        if (const auto* row = findRow(DateTags, tag))
            return dateValue(*row);
        if (tag >= Tag::Part1 && tag <= Tag::Part9)
            return required(outside(file().parts[1 + int(tag) - int(Tag::Part1)]));
        switch (tag) {
        case Tag::Name:
            return required(outside(file().baseName));
        case Tag::Ext:
            return required(outside(file().ext));
        case Tag::FullName:
            return {outside(file().fullName)};
        case Tag::Size:
            return {sizeText(double(file().size))};
        case Tag::SizeB:
            return {QString::number(file().size)};
        case Tag::Parent:
            return required(outside(file().parent));
        case Tag::Depth:
            return depthValue();
        case Tag::Length:
        case Tag::LengthS:
            return lengthValue(tag == Tag::Length);
        case Tag::FreqS:
            return freqValue();
        case Tag::HtmlTitle:
            return required(content(getHtmlTitle(fullPath_, context_.htmlTitleReadSize)));
        case Tag::Rnd:
            return {QString(QChar(u'A' + context_.random.below(26)))};
        case Tag::RndDigit:
            return {QString(QChar(u'0' + context_.random.below(10)))};
        case Tag::FLetter:
            return {outside(getFirstLetter(name_, 0))};
        case Tag::FLetterN1:
            return {outside(getFirstLetter(name_, 1))};
        case Tag::FLetterN2:
            return {outside(getFirstLetter(name_, 2))};
        default:
            return {};
        }
    }

private:
    static Value required(const QString& text) { return {text, text.isEmpty()}; }

    const FileInfo& file()
    {
        fileFound_ = getFileInfo(name_, dir_, records_.file, options_, context_);
        return records_.file;
    }

    const MediaInfo& media()
    {
        getMediaProperties(fullPath_, records_.media, context_.media);
        return records_.media;
    }

    Value dirValue(const DirField& row)
    {
        if (!getDirInfo(fullPath_, records_.dir, context_.logs ? context_.logs->errorSink() : ErrorSink(),
                        context_.yield))
            return {QString(), true};
        const qint64 n = records_.dir.*(row.field);
        return {row.asSizeText ? sizeText(double(n)) : QString::number(n)};
    }

    Value dateValue(const DateField& row)
    {
        const FileInfo& info = file();
        if (!fileFound_)
            return {};
        // "<DATE> <TIME>" converts the stamp to local time once.
        if (convertedField_ != row.field) {
            converted_ = platform::toDateTime(info.*(row.field));
            convertedField_ = row.field;
        }
        return {row.time ? platform::timeText(converted_.time()) : platform::dateText(converted_.date())};
    }

    Value depthValue()
    {
        const QString& field = media().colorDepth;
        if (field.isEmpty())
            return {QString(), true};
        // A depth that is no number is a failure of the whole name.
        return {colorCountText(numberFromText(field))};
    }

    Value lengthValue(bool spelled)
    {
        const QString& field = media().lengthSeconds;
        if (field.isEmpty())
            return {QString(), true};
        const qint32 seconds = wholeSeconds(field);
        return {spelled ? formatDurationText(seconds) : formatDurationClock(seconds)};
    }

    Value freqValue()
    {
        const QString& field = media().soundFrequency;
        if (field.isEmpty())
            return {QString(), true};
        return {QString::number(std::trunc(leadingNumber(field) / 1000.0), 'f', 0)};
    }

    const QString& name_;
    QString dir_; // working copy: getFileInfo drops its trailing "/"
    const RenameOptions& options_;
    FormatContext& context_;
    FormatRecords& records_;
    QString fullPath_;
    bool fileFound_ = false;
    timespec FileInfo::*convertedField_ = nullptr;
    QDateTime converted_;
};

void logFailure(const platform::Failure& failure, const QString& fullPath, const RenameOptions& options,
                const FormatContext& context)
{
    if (context.logs)
        context.logs->logError(failure.errorText() + QStringLiteral("formatFilename: FILE=") + fullPath +
                               QStringLiteral(" FORMAT=") + options.formatText + QStringLiteral(" PARTS=") +
                               options.formatParts);
}

} // namespace

QString colorCountText(double bits)
{
    const double colours = std::pow(2.0, bits);
    if (colours == 32768.0)
        return QStringLiteral("32k");
    if (colours == 65536.0)
        return QStringLiteral("64k");
    if (colours == 16777216.0)
        return QStringLiteral("16M");
    if (colours > 16777216.0)
        return QStringLiteral("16M+");
    return platform::numberText(colours);
}

QString formatFilename(const QString& name, const QString& dir, const RenameOptions& options, FormatContext& context)
{
    FormatRecords records;
    return formatFilename(name, dir, options, context, records);
}

QString formatFilename(const QString& name, const QString& dir, const RenameOptions& options, FormatContext& context,
                       FormatRecords& records)
{
    const QString& format = options.formatText;
    if (format.isEmpty())
        return QString();
    Evaluator evaluator(name, dir, options, context, records);
    QString result;
    result.reserve(format.size() + name.size() + 16);
    try {
        for (qsizetype i = 0; i < format.size(); ++i) {
            const QChar c = format.at(i);
            const auto def = c == QLatin1Char('<') ? tagAt(format, i) : std::nullopt;
            if (!def) {
                result += c;
                if (stopGrowing(result))
                    return result;
                continue;
            }
            const Value value = evaluator.evaluate(def->tag);
            if (value.missing && options.allTagsRequired == 1)
                return name;
            result += value.text;
            if (stopGrowing(result))
                return result;
            i += def->text.size() - 1;
        }
        return result;
    } catch (const platform::Failure& failure) {
        logFailure(failure, evaluator.fullPath(), options, context);
    } catch (const std::exception&) {
        logFailure(platform::makeFailure(platform::failures::InvalidCall), evaluator.fullPath(), options, context);
    }
    // A half-built name would rename the entry to a truncated name: keep it.
    return QString();
}
