#include "mediainfo/mediainfo.h"
#include "mediainfo/mediareaders.h"
#include "platform/failure.h"

#include <QCoreApplication>

#include <array>
#include <exception>

namespace mediareaders {

void Scope::yield() const
{
    if (context.yieldDuringScans && QCoreApplication::instance())
        QCoreApplication::processEvents();
}

MediaBytes Scope::readBlock(qint64 size) const
{
    // A file shorter than the block gives the bytes it has.
    const MediaFile file(path);
    return MediaBytes(file.readAt(0, size));
}

qint64 Scope::fileLength() const
{
    const MediaFile file(path);
    return file.size();
}

void setSmall(QString& field, qint64 value)
{
    if (value >= -32768 && value <= 32767)
        field = QString::number(value);
}

} // namespace mediareaders

namespace {

using namespace mediareaders;

constexpr qint64 headerSize = 32;

bool endsWith(const QString& path, QLatin1String tail)
{
    return path.right(tail.size()).toUpper() == tail;
}

struct Branch {
    bool (*recognises)(const MediaBytes& h, const QString& path);
    bool (*read)(Scope& s);
};

// Tried in this order; the first format that recognises the file reads it.
// Every "FORM" file goes to the IFF branch, which accepts only ILBM.
const std::array<Branch, 13> branches = {{
    {[](const MediaBytes& h, const QString&) { return h.matches(0, "BM"); }, readBmp},
    {[](const MediaBytes& h, const QString&) { return h.matches(0, "\xFF\xD8"); }, readJpeg},
    {[](const MediaBytes& h, const QString&) { return h.matches(0, "GIF"); }, readGif},
    {[](const MediaBytes& h, const QString&) { return h.matches(1, "PNG"); }, readPng},
    {[](const MediaBytes& h, const QString&) {
         return h.matches(0, "II*") || h.matches(0, QByteArrayView("MM\x00\x2A", 4));
     },
     readTiff},
    {[](const MediaBytes& h, const QString&) { return h.matches(0, "8BPS"); }, readPsd},
    {[](const MediaBytes& h, const QString&) { return h.matches(0, "Paint Shop Pro Image File"); }, readPaintShopPro},
    {[](const MediaBytes& h, const QString&) { return h.matches(0, "FORM"); }, readIff},
    {[](const MediaBytes& h, const QString&) { return h.matches(8, "AVI"); }, readAvi},
    {[](const MediaBytes& h, const QString&) { return h.matches(8, "WAVE"); }, readWav},
    {[](const MediaBytes& h, const QString& path) {
         return h.matches(0, QByteArrayView("\x00\x00\x01\xBA", 4)) ||
                h.matches(0, QByteArrayView("\x00\x00\x01\xB3", 4)) || endsWith(path, QLatin1String("MPG")) ||
                endsWith(path, QLatin1String("MPEG")) || h.matches(8, "CDXA");
     },
     readMpeg},
    {[](const MediaBytes&, const QString& path) { return endsWith(path, QLatin1String("PCX")); }, readPcx},
    {[](const MediaBytes& h, const QString&) { return h.matches(0, "FPBD"); }, readFpbd},
}};

// Collapses every doubled "/" to one, left to right over non-overlapping pairs.
QString collapsed(const QString& path)
{
    QString out = path;
    out.replace(QLatin1String("//"), QLatin1String("/"));
    return out;
}

bool readMedia(const QString& path, MediaInfo& info, const MediaContext& context)
{
    if (!isRegularFile(path))
        return false;
    MediaFile file(path);
    if (!file.isOpen())
        return false;
    // A file shorter than the header has no header bytes at all.
    QByteArray first = file.readAt(0, headerSize);
    if (first.size() < headerSize)
        first.clear();
    file.close();
    const MediaBytes header(first);
    for (const Branch& b : branches) {
        if (b.recognises(header, path)) {
            Scope scope{path, header, info, context};
            return b.read(scope);
        }
    }
    return false;
}

void logFailure(const MediaContext& context, const QString& description, int number, const QString& path)
{
    if (context.logError)
        context.logError(
            QStringLiteral("Error %1 (%2) getMediaProperties: FILE=%3").arg(number).arg(description, path));
}

} // namespace

int getMediaProperties(const QString& path, MediaInfo& info, const MediaContext& context)
{
    if (path == info.filePath)
        return -1;
    info = MediaInfo{};
    info.filePath = path;
    try {
        return readMedia(collapsed(path), info, context) ? -1 : 0;
    } catch (const platform::Failure& f) {
        logFailure(context, f.description(), f.number(), path);
    } catch (const std::bad_alloc&) {
        logFailure(context, QStringLiteral("Out of memory"), 7, path);
    }
    return 0;
}
