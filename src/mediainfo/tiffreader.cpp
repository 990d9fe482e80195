#include "mediainfo/tiffreader.h"
#include "platform/failure.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace {

constexpr int noFileOpen = 54;
constexpr int inputPastEnd = 62;
constexpr qint64 entrySize = 12;

[[noreturn]] void fail(int number)
{
    if (number == inputPastEnd)
        throw platform::Failure(number, QStringLiteral("Input past end of file"));
    if (number == noFileOpen)
        throw platform::Failure(number, QStringLiteral("No file open"));
    throw platform::makeFailure(number);
}

QString latin1WithoutNul(const QByteArray& bytes)
{
    QByteArray kept = bytes;
    kept.removeIf([](char c) { return c == 0; });
    return QString::fromLatin1(kept);
}

} // namespace

void TiffReader::initTiff()
{
    // Back to the empty state; a file left open by an earlier branch is released too.
    file_.close();
    byteOrder_.clear();
    firstIfd_ = -1;
    ifdCount_ = -1;
    entries_.clear();
    chain_.clear();
    readPos_ = 0;
}

void TiffReader::closeTiff()
{
    file_.close();
    byteOrder_.clear();
    firstIfd_ = -1;
    ifdCount_ = -1;
    chain_.clear();
}

void TiffReader::releaseTiff()
{
    if (file_.isOpen())
        closeTiff();
}

void TiffReader::requireOpen() const
{
    if (!file_.isOpen())
        fail(noFileOpen);
}

bool TiffReader::openTiff(const QString& path)
{
    if (path.isEmpty())
        return false;
    if (file_.isOpen())
        closeTiff();
    // Hidden and system files are read like any other; only a missing file
    // (or one that is not a regular file) is "not found".
    if (!isRegularFile(path))
        fail(platform::failures::FileNotFound);
    try {
        if (!file_.open(path))
            return false;
        path_ = path;
        byteOrder_ = readTiffValue(2, 0, Text);
        firstIfd_ = readTiffValue(4, 4, Number).toLongLong();
        ifdCount_ = countTiffIfds();
        return true;
    } catch (const platform::Failure&) {
        return false;
    }
}

TiffHeader TiffReader::getTiffHeaderInfo()
{
    requireOpen();
    TiffHeader h;
    h.byteOrder = byteOrder_;
    h.magic = readTiffValue(2, 2, Number).toLongLong();
    h.firstIfd = firstIfd_;
    h.entriesIfd0 = getTiffIfdEntryCount(0);
    h.ifdCount = countTiffIfds();
    return h;
}

QByteArray TiffReader::readExact(qint64 pos, qint64 n)
{
    if (pos < 0)
        pos = readPos_;
    if (n < 0)
        fail(platform::failures::InvalidCall);
    // readAt never allocates beyond the end of the file, whatever n claims.
    QByteArray bytes = file_.readAt(pos, n);
    if (bytes.size() < n)
        fail(inputPastEnd);
    readPos_ = pos + n;
    return bytes;
}

quint32 TiffReader::number(const QByteArray& bytes, qint64 offset, int width) const
{
    quint32 v = 0;
    for (int i = 0; i < width; ++i) {
        const int at = littleEndian() ? width - 1 - i : i;
        v = v << 8 | static_cast<quint8>(bytes[offset + at]);
    }
    return v;
}

QString TiffReader::readTiffValue(qint64 n, qint64 pos, int kind)
{
    requireOpen();
    const QByteArray bytes = readExact(pos, n);
    switch (kind) {
    case Text:
        return latin1WithoutNul(bytes);
    case HexText:
    case Number: {
        if (kind == Number && n == 0)
            return QStringLiteral("-1");
        QByteArray ordered = bytes;
        if (littleEndian())
            std::reverse(ordered.begin(), ordered.end());
        if (kind == HexText)
            return QString::fromLatin1(ordered.toHex().toUpper());
        if (n > 8)
            fail(platform::failures::Overflow);
        quint64 v = 0;
        for (char c : ordered)
            v = v << 8 | static_cast<quint8>(c);
        // Read as unsigned: the values are sizes, counts and offsets.
        return QString::number(v);
    }
    default:
        return {};
    }
}

std::vector<qint64> TiffReader::walkChain()
{
    std::vector<qint64> chain{firstIfd_};
    qint64 o = firstIfd_;
    for (;;) {
        const qint64 n = number(readExact(o, 2), 0, 2);
        const qint64 next = number(readExact(o + 2 + entrySize * n, 4), 0, 4);
        // A hostile chain may loop or point anywhere: stop at a repeated
        // offset, an offset past the end and at maxIfds directories.
        if (next <= 0 || next + 2 > file_.size() || qint64(chain.size()) >= maxIfds ||
            std::find(chain.begin(), chain.end(), next) != chain.end())
            break;
        chain.push_back(next);
        o = next;
    }
    return chain;
}

qint64 TiffReader::countTiffIfds()
{
    if (!file_.isOpen())
        return 0;
    chain_ = walkChain();
    return qint64(chain_.size());
}

qint64 TiffReader::getTiffIfdOffset(qint64 k)
{
    if (k == 0 || ifdCount_ == -1)
        return firstIfd_;
    if (k < 0 || k >= ifdCount_ || k >= qint64(chain_.size()))
        return -1;
    return chain_[size_t(k)];
}

qint64 TiffReader::getTiffIfdEntryCount(qint64 k)
{
    requireOpen();
    const qint64 o = getTiffIfdOffset(k);
    if (o < 0)
        fail(inputPastEnd);
    return number(readExact(o, 2), 0, 2);
}

QString TiffReader::renderList(quint32 offset, quint32 count, int width, bool rational, quint32 limit)
{
    const qint64 valueBytes = rational ? 2 * width : width;
    const qint64 total = qint64(count) * valueBytes;
    if (qint64(offset) + total > file_.size())
        fail(inputPastEnd);
    // Only the values asked for are read. The lists of one directory never
    // hold more bytes than the file: entries that all point at the same big
    // list would otherwise cost the file size once per entry. Past that budget
    // a list is left without text.
    const qint64 shown = std::min<qint64>(count, limit);
    const qint64 bytesShown = shown * valueBytes;
    if (bytesShown > listBudget_)
        return {};
    listBudget_ -= bytesShown;
    const QByteArray bytes = readExact(offset, bytesShown);
    QString text;
    for (qint64 j = 0; j < shown; ++j) {
        if (j > 0)
            text += QLatin1Char(',');
        const qint64 at = j * valueBytes;
        text += QString::number(number(bytes, at, width));
        if (rational)
            text += QLatin1Char('/') + QString::number(number(bytes, at + width, width));
    }
    return text;
}

QString TiffReader::renderBytes(quint32 offset, quint32 count, quint32 limit)
{
    if (qint64(offset) + count > file_.size())
        fail(inputPastEnd);
    const qint64 shown = std::min(count, limit);
    if (shown > listBudget_)
        return {};
    listBudget_ -= shown;
    return latin1WithoutNul(readExact(offset, shown));
}

QString TiffReader::renderValue(const TiffEntry& e, const QByteArray& field, quint32 limit)
{
    switch (e.type) {
    case 1:
    case 2:
        return e.count <= 4 ? latin1WithoutNul(field.left(qsizetype(std::min<quint32>(limit, 4))))
                            : renderBytes(e.valueOffset, e.count, limit);
    case 3:
        if (e.count <= 1)
            return QString::number(number(field, 0, 2));
        // Two SHORT values fit in the value field, where the format keeps them.
        if (e.count == 2) {
            const QString first = QString::number(number(field, 0, 2));
            return limit < 2 ? first : first + QLatin1Char(',') + QString::number(number(field, 2, 2));
        }
        return renderList(e.valueOffset, e.count, 2, false, limit);
    case 4:
        return e.count <= 1 ? QString::number(number(field, 0, 4))
                            : renderList(e.valueOffset, e.count, 4, false, limit);
    case 5:
        return renderList(e.valueOffset, std::max<quint32>(e.count, 1), 4, true, limit);
    default:
        return {};
    }
}

void TiffReader::readTiffIfd(qint64 k)
{
    readIfd(k, {}, true);
}

void TiffReader::readTiffIfd(qint64 k, std::span<const TiffTagWanted> wanted)
{
    readIfd(k, wanted, false);
}

void TiffReader::readIfd(qint64 k, std::span<const TiffTagWanted> wanted, bool everyTag)
{
    requireOpen();
    if (k < 0 || k >= ifdCount_)
        return;
    const qint64 o = getTiffIfdOffset(k);
    const qint64 n = getTiffIfdEntryCount(k);
    const QByteArray table = readExact(o + 2, entrySize * n);
    listBudget_ = file_.size();
    std::vector<TiffEntry> list;
    list.reserve(size_t(n));
    for (qint64 i = 0; i < n; ++i) {
        const qint64 b = entrySize * i;
        TiffEntry e;
        e.entryPos = o + entrySize * i;
        e.entryCount = qint32(n);
        e.tag = qint32(number(table, b, 2));
        e.type = qint32(number(table, b + 2, 2));
        e.count = number(table, b + 4, 4);
        e.valueOffset = number(table, b + 8, 4);
        const QByteArray field = table.mid(b + 8, 4);
        std::optional<quint32> limit;
        if (everyTag)
            limit = std::numeric_limits<quint32>::max();
        for (const TiffTagWanted& w : wanted)
            if (w.tag == e.tag)
                limit = w.values;
        if (limit)
            e.valueText = renderValue(e, field, *limit);
        const bool inField = (e.type == 1 || e.type == 2) ? e.count <= 4
                             : e.type == 3                ? e.count <= 2
                             : e.type == 4                ? e.count <= 1
                                                          : false;
        if (inField)
            e.valueOffset = 0;
        list.push_back(std::move(e));
    }
    entries_ = std::move(list);
}
