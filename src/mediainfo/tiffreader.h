#pragma once
#include "mediainfo/mediafile.h"

#include <QString>
#include <span>
#include <vector>

// One entry of an image file directory, with its value as text.
struct TiffEntry {
    qint64 entryPos = 0;   // the directory's offset plus 12 x the entry's index
    qint32 entryCount = 0; // entries of the directory it belongs to
    qint32 tag = 0;
    qint32 type = 0; // 1 BYTE, 2 ASCII, 3 SHORT, 4 LONG, 5 RATIONAL
    quint32 count = 0;
    quint32 valueOffset = 0; // 0 when the value sits in the entry itself
    QString valueText;
};

// What a reader of a directory needs of one tag: its value text, of at most
// `values` values (a longer list is cut there, and only that much is read).
struct TiffTagWanted {
    qint32 tag = 0;
    quint32 values = 1;
};

struct TiffHeader {
    QString byteOrder;
    qint64 magic = 0;
    qint64 firstIfd = 0;
    qint64 entriesIfd0 = 0;
    qint64 ifdCount = 0;
};

// A small reader of TIFF structure: byte order, the chain of image file
// directories and the entries of one directory. It holds at most one file open.
// Failures are platform::Failure: 53 when openTiff does not find the file, 54
// when an operation needs a file and none is open, 62 when a read runs past
// the end of the file.
class TiffReader {
public:
    // Longest directory chain followed; a longer or circular chain ends here.
    static constexpr qint64 maxIfds = 1024;

    enum ValueKind { Text = 1, HexText = 2, Number = 3 };

    void initTiff();
    // True when the file opened and its directory chain was counted.
    bool openTiff(const QString& path);
    TiffHeader getTiffHeaderInfo();
    // Reads the entries of directory k (0-based); does nothing for a k that is
    // not below the directory count. A failure keeps the previous entries.
    // Every value is rendered; the lists of one directory together read no
    // more bytes than the file holds.
    void readTiffIfd(qint64 k);
    // The same, but only the wanted tags get a value text, each of at most its
    // number of values: the other entries are listed without one. What it
    // reads and keeps is bounded by the directory's entry count, never by the
    // length of a list (a first directory may claim millions of values).
    void readTiffIfd(qint64 k, std::span<const TiffTagWanted> wanted);
    void releaseTiff();

    qint64 countTiffIfds();
    qint64 getTiffIfdEntryCount(qint64 k);
    qint64 getTiffIfdOffset(qint64 k);
    // n bytes from pos (a negative pos reads on from where the last read
    // stopped) as text without 00 bytes, as hex digits in value order, or as
    // the number those digits give (-1 for n = 0).
    QString readTiffValue(qint64 n, qint64 pos, int kind);

    const QString& byteOrder() const { return byteOrder_; }
    qint64 firstIfd() const { return firstIfd_; }
    qint64 ifdCount() const { return ifdCount_; }
    const QString& path() const { return path_; }
    const std::vector<TiffEntry>& entries() const { return entries_; }
    bool isOpen() const { return file_.isOpen(); }

private:
    void closeTiff();
    void requireOpen() const;
    bool littleEndian() const { return byteOrder_ == QLatin1String("II"); }
    QByteArray readExact(qint64 pos, qint64 n);
    quint32 number(const QByteArray& bytes, qint64 offset, int width) const;
    std::vector<qint64> walkChain();
    void readIfd(qint64 k, std::span<const TiffTagWanted> wanted, bool everyTag);
    QString renderValue(const TiffEntry& e, const QByteArray& field, quint32 limit);
    QString renderList(quint32 offset, quint32 count, int width, bool rational, quint32 limit);
    QString renderBytes(quint32 offset, quint32 count, quint32 limit);

    MediaFile file_;
    QString byteOrder_;
    qint64 firstIfd_ = -1;
    qint64 ifdCount_ = -1;
    QString path_;
    std::vector<TiffEntry> entries_;
    std::vector<qint64> chain_;
    qint64 readPos_ = 0;
    qint64 listBudget_ = 0; // bytes of list values the directory being read may still take
};
