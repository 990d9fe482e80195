#include "engine/detect.h"
#include "engine/configtypes.h"
#include "engine/renameoptions.h"
#include "platform/fileops.h"

#include <QFile>

#include <optional>

namespace {

constexpr qint64 SampleSize = 64;
// Most signatures sit near the start or the end: one read of each end serves
// them, and only a row beyond these blocks costs a read of its own.
constexpr qint64 BlockSize = 4096;

class FileBytes {
public:
    explicit FileBytes(QFile& file) : file_(file), length_(file.size())
    {
        head_ = file_.read(std::min(length_, BlockSize));
        const qint64 tailStart = std::max<qint64>(0, length_ - BlockSize);
        if (tailStart < head_.size())
            tail_ = head_.mid(tailStart), tailStart_ = tailStart;
        else if (file_.seek(tailStart))
            tail_ = file_.read(length_ - tailStart), tailStart_ = tailStart;
    }
    qint64 length() const { return length_; }
    QByteArray sample() const { return head_.left(SampleSize); }

    // The `count` bytes at the 0-based `start`, or nothing when they do not lie
    // wholly inside the file or cannot be read.
    std::optional<QByteArray> at(qint64 start, qint64 count)
    {
        if (start < 0 || count > length_ - start)
            return std::nullopt;
        if (start + count <= head_.size())
            return head_.mid(start, count);
        if (start >= tailStart_ && start - tailStart_ + count <= tail_.size())
            return tail_.mid(start - tailStart_, count);
        if (!file_.seek(start))
            return std::nullopt;
        const QByteArray bytes = file_.read(count);
        if (bytes.size() != count)
            return std::nullopt;
        return bytes;
    }

private:
    QFile& file_;
    qint64 length_;
    QByteArray head_, tail_;
    qint64 tailStart_ = 0;
};

bool rowMatches(const FileTypeDef& row, FileBytes& bytes)
{
    if (row.search.isEmpty())
        return true;
    // Offset 0 names no byte: such a row never matches.
    if (row.offset == 0)
        return false;
    const qint64 start = row.offset > 0 ? qint64(row.offset) - 1 : bytes.length() + row.offset;
    const auto found = bytes.at(start, row.search.size());
    return found && *found == row.search;
}

bool isTextByte(unsigned char b)
{
    return b == 9 || b == 10 || b == 13 || (b >= 32 && b <= 126) || (b >= 160 && b <= 254);
}

bool isText(const QByteArray& sample)
{
    return std::all_of(sample.begin(), sample.end(), [](char c) { return isTextByte(static_cast<unsigned char>(c)); });
}

bool probeMpegAudio(const MpegAudioProbe& hasMpegAudio, const QString& path)
{
    if (!hasMpegAudio)
        return false;
    try {
        return hasMpegAudio(path);
    } catch (...) {
        // A failing component counts as "no MPEG audio", as if it were missing.
        return false;
    }
}

} // namespace

QString detectFileType(const QString& dir, const QString& name, const RenameOptions& options,
                       const std::vector<FileTypeDef>& fileTypes, const MpegAudioProbe& hasMpegAudio)
{
    const QString path = dir.endsWith(QLatin1Char('/')) ? dir + name : dir + QLatin1Char('/') + name;
    try {
        const auto entry = platform::entryInfo(path);
        if (!entry || !entry->isRegular)
            return QString();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly) || file.size() == 0)
            return QString();
        FileBytes bytes(file);
        QString result;
        bool matched = false;
        for (const FileTypeDef& row : fileTypes) {
            if (rowMatches(row, bytes)) {
                result = row.extension;
                matched = true;
                break;
            }
        }
        if (matched && result != QLatin1String("wav"))
            return result;
        // A file shorter than the sample is probed on the bytes it has.
        const QByteArray sample = bytes.sample();
        file.close();

        if (options.detectTryMp3 == 1 && probeMpegAudio(hasMpegAudio, path))
            return QStringLiteral("mp3");
        if (options.detectTryText != 1)
            return result;
        if (sample.toUpper().contains("<HTML"))
            return QStringLiteral("html");
        if (isText(sample))
            return QStringLiteral("txt");
        return result;
    } catch (...) {
        // Detection only ever answers; a failure means "cannot tell".
        return QString();
    }
}
