#pragma once
// Byte builders for MP3 test files: MPEG audio frames, ID3v2 tags of versions
// 2.2 to 2.4 and ID3v1 blocks, written by hand so every byte is known.
#include <QByteArray>
#include <QList>
#include <QPair>

namespace mp3fx {

// A frame header and its length: MPEG-1 Layer III, 128 kbit/s, 44.1 kHz, no
// padding, joint stereo; 417 bytes per frame, 38.28 frames per second.
inline constexpr unsigned char Mpeg1L3JointStereo[4] = {0xFF, 0xFB, 0x90, 0x64};
inline constexpr int Mpeg1L3Length = 417;
// MPEG-2 Layer III, 64 kbit/s, 22.05 kHz, single channel; 208 bytes.
inline constexpr unsigned char Mpeg2L3Mono[4] = {0xFF, 0xF3, 0x80, 0xC4};
inline constexpr int Mpeg2L3Length = 208;
// MPEG-1 Layer II, 128 kbit/s, 44.1 kHz, dual channel; 417 bytes.
inline constexpr unsigned char Mpeg1L2Dual[4] = {0xFF, 0xFD, 0x80, 0x84};

inline QByteArray frames(int count, const unsigned char (&header)[4] = Mpeg1L3JointStereo, int length = Mpeg1L3Length)
{
    QByteArray one(length, '\0');
    for (int i = 0; i < 4; ++i)
        one[i] = char(header[i]);
    return one.repeated(count);
}

// A first frame that carries a Xing header with the stream's frame count and
// byte count, followed by plain frames.
inline QByteArray xingFrames(int count, quint32 totalFrames, quint32 totalBytes)
{
    QByteArray all = frames(count);
    QByteArray xing("Xing");
    xing += QByteArray("\0\0\0\3", 4);
    for (quint32 v : {totalFrames, totalBytes})
        for (int shift = 24; shift >= 0; shift -= 8)
            xing += char((v >> shift) & 0xFF);
    all.replace(36, xing.size(), xing);
    return all;
}

inline QByteArray bigEndian(quint32 v, int bytes, bool syncsafe = false)
{
    QByteArray out;
    const int bits = syncsafe ? 7 : 8;
    for (int i = bytes - 1; i >= 0; --i)
        out += char((v >> (i * bits)) & (syncsafe ? 0x7F : 0xFF));
    return out;
}

// A text frame body: encoding 0 (ISO-8859-1) and the text.
inline QByteArray text(const QByteArray& t)
{
    return QByteArray(1, '\0') + t;
}

// A comment frame body: encoding 0, language, empty description, text.
inline QByteArray comment(const QByteArray& t)
{
    return QByteArray(1, '\0') + "eng" + QByteArray(1, '\0') + t;
}

using Frames = QList<QPair<QByteArray, QByteArray>>; // identifier, body

// An ID3v2 tag of the major version 2, 3 or 4, with some padding.
inline QByteArray id3v2(int major, const Frames& list, int padding = 16)
{
    QByteArray body;
    for (const auto& [id, content] : list) {
        body += id;
        if (major == 2) {
            body += bigEndian(quint32(content.size()), 3);
        } else {
            body += bigEndian(quint32(content.size()), 4, major == 4);
            body += QByteArray(2, '\0');
        }
        body += content;
    }
    body += QByteArray(padding, '\0');
    return QByteArray("ID3") + char(major) + '\0' + '\0' + bigEndian(quint32(body.size()), 4, true) + body;
}

struct V1 {
    QByteArray title, artist, album, year, comment;
    int track = 0;
    int genre = 255;
};

// The 128-byte ID3v1.1 block at the end of a file.
inline QByteArray id3v1(const V1& v)
{
    auto field = [](const QByteArray& s, int n) { return s.left(n).leftJustified(n, '\0'); };
    return QByteArray("TAG") + field(v.title, 30) + field(v.artist, 30) + field(v.album, 30) + field(v.year, 4) +
           field(v.comment, 28) + '\0' + char(v.track) + char(v.genre);
}

// The tags most tests write: every ID3v1 field, and the ID3v2 frames the names read.
inline const V1 sampleV1{"V1 Title", "V1 Artist", "V1 Album", "1987", "V1 Comment", 5, 13};
inline const Frames sampleV2{
    {"TIT2", text("Song")},     {"TPE1", text("Band")},    {"TALB", text("Record")},
    {"TYER", text("1999")},     {"COMM", comment("Nice")}, {"TRCK", text("3/12")},
    {"TCON", text("(17)Rock")}, {"TCOM", text("Writer")},  {"TBPM", text("120")},
};

} // namespace mp3fx
