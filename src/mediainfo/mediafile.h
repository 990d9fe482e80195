#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Raw header bytes and the little helpers every reader uses on them. A byte at
// an offset beyond the bytes that were read counts as 0, so a reader never has
// to check bounds before it looks at a field.
class MediaBytes {
public:
    MediaBytes() = default;
    explicit MediaBytes(QByteArray data) : data_(std::move(data)) {}

    qint64 size() const { return data_.size(); }
    const QByteArray& data() const { return data_; }

    quint8 u8(qint64 offset) const
    {
        return offset >= 0 && offset < data_.size() ? static_cast<quint8>(data_[offset]) : 0;
    }
    quint16 u16le(qint64 o) const { return quint16(u8(o) | u8(o + 1) << 8); }
    quint16 u16be(qint64 o) const { return quint16(u8(o) << 8 | u8(o + 1)); }
    quint32 u24be(qint64 o) const { return quint32(u8(o)) << 16 | quint32(u8(o + 1)) << 8 | u8(o + 2); }
    quint32 u32le(qint64 o) const { return quint32(u16le(o)) | quint32(u16le(o + 2)) << 16; }
    quint32 u32be(qint64 o) const { return quint32(u16be(o)) << 16 | quint32(u16be(o + 2)); }

    // Offset of the first occurrence of `what` at or after `from`, or -1.
    qint64 find(QByteArrayView what, qint64 from = 0) const { return data_.indexOf(what, from); }
    // Whether the bytes at `offset` are exactly `what` (case counts).
    bool matches(qint64 offset, QByteArrayView what) const
    {
        return offset >= 0 && offset + what.size() <= data_.size() &&
               QByteArrayView(data_).sliced(offset, what.size()) == what;
    }

private:
    QByteArray data_;
};

// One file opened for reading its content. Only regular files open: a
// directory, a device or a FIFO is refused, so no reader blocks or reads
// without end. The file closes when the object goes.
class MediaFile {
public:
    MediaFile() = default;
    explicit MediaFile(const QString& path) { open(path); }
    ~MediaFile() { close(); }
    MediaFile(const MediaFile&) = delete;
    MediaFile& operator=(const MediaFile&) = delete;

    bool open(const QString& path);
    void close();
    bool isOpen() const { return fd_ >= 0; }
    qint64 size() const { return size_; }

    // Up to `count` bytes from `offset`; fewer where the file ends first, none
    // for an offset outside the file. Never allocates more than the file holds.
    QByteArray readAt(qint64 offset, qint64 count) const;

private:
    int fd_ = -1;
    qint64 size_ = 0;
};

// Whether `path` names a regular file (symbolic links followed to their target).
bool isRegularFile(const QString& path);
