#include "mediafixtures.h"
#include "mediainfo/tiffreader.h"
#include "platform/failure.h"
#include "test_support.h"

using namespace fixtures;

class TiffReaderTest : public TempEnv {
protected:
    QString file(const QByteArray& content) { return writeFile("t.tif", content); }
    static int failureOf(const std::function<void()>& step)
    {
        try {
            step();
        } catch (const platform::Failure& f) {
            return f.number();
        }
        return 0;
    }
    static QStringList texts(const TiffReader& t)
    {
        QStringList out;
        for (const TiffEntry& e : t.entries())
            out << QString::number(e.tag) + "=" + e.valueText;
        return out;
    }
    TiffReader reader;
};

TEST_F(TiffReaderTest, ReadsTheFirstDirectoryInBothByteOrders)
{
    for (bool big : {false, true}) {
        SCOPED_TRACE(big ? "MM" : "II");
        reader.initTiff();
        ASSERT_TRUE(reader.openTiff(file(tiffRgb(big, 640, 480))));
        EXPECT_EQ(reader.byteOrder(), big ? "MM" : "II");
        const TiffHeader h = reader.getTiffHeaderInfo();
        EXPECT_EQ(h.magic, 42);
        EXPECT_EQ(h.firstIfd, 8);
        EXPECT_EQ(h.entriesIfd0, 5);
        EXPECT_EQ(h.ifdCount, 1);
        reader.readTiffIfd(0);
        EXPECT_EQ(texts(reader), QStringList({"256=640", "257=480", "258=8,8,8", "259=1", "277=3"}));
        ASSERT_EQ(reader.entries().size(), 5u);
        EXPECT_EQ(reader.entries()[0].valueOffset, 0u); // taken from the entry itself
        EXPECT_NE(reader.entries()[2].valueOffset, 0u); // a list kept elsewhere
        EXPECT_EQ(reader.entries()[1].entryPos, 8 + 12);
        EXPECT_EQ(reader.entries()[1].entryCount, 5);
        reader.releaseTiff();
        EXPECT_FALSE(reader.isOpen());
    }
}

TEST_F(TiffReaderTest, ValueTextsByTypeAndCount)
{
    const std::vector<quint32> word = {'S', 'c', 'a', 'n', 'e', 'r', 0};
    ASSERT_TRUE(reader.openTiff(file(tiff(false, {{
                                                     {270, 2, word},            // ASCII, 7 bytes, elsewhere
                                                     {271, 2, {'a', 'b', 0}},   // ASCII in the entry
                                                     {282, 5, {72, 1}},         // one RATIONAL
                                                     {283, 5, {72, 1, 300, 1}}, // two RATIONALs
                                                     {297, 3, {1, 3}},          // page number: two SHORTs in place
                                                     {273, 4, {8, 4000, 9000}}, // LONG list
                                                     {278, 4, {70000}},         // one LONG
                                                     {999, 11, {1}},            // FLOAT: no text
                                                 }}))));
    reader.readTiffIfd(0);
    EXPECT_EQ(texts(reader), QStringList({"270=Scaner", "271=ab", "282=72/1", "283=72/1,300/1", "297=1,3",
                                          "273=8,4000,9000", "278=70000", "999="}));
}

TEST_F(TiffReaderTest, ChainOfDirectories)
{
    auto fields = [](int n) {
        std::vector<TiffField> d;
        for (int i = 0; i < n; ++i)
            d.push_back({300 + i, 3, {quint32(i)}});
        return d;
    };
    ASSERT_TRUE(reader.openTiff(file(tiff(true, {fields(12), fields(20), fields(9)}))));
    EXPECT_EQ(reader.countTiffIfds(), 3);
    EXPECT_EQ(reader.getTiffIfdOffset(2), 8 + (2 + 12 * 12 + 4) + (2 + 12 * 20 + 4));
    EXPECT_EQ(reader.getTiffIfdOffset(3), -1);
    EXPECT_EQ(reader.getTiffIfdEntryCount(1), 20);
    reader.readTiffIfd(2);
    EXPECT_EQ(reader.entries().size(), 9u);
    reader.readTiffIfd(5); // no such directory: entries stay
    EXPECT_EQ(reader.entries().size(), 9u);
}

TEST_F(TiffReaderTest, DirectoryOf300Entries)
{
    std::vector<TiffField> d;
    for (int i = 0; i < 300; ++i)
        d.push_back({1000 + i, 4, {quint32(i)}});
    ASSERT_TRUE(reader.openTiff(file(tiff(false, {d}))));
    reader.readTiffIfd(0);
    ASSERT_EQ(reader.entries().size(), 300u);
    EXPECT_EQ(reader.entries().back().valueText, "299");
}

TEST_F(TiffReaderTest, HostileChainsEnd)
{
    // IFD 0 at 8 points to itself; IFD at 8 pointing past the end; a long loop of two.
    ByteBuilder self;
    self.raw("II*").u8(0).u32le(8).u16le(0).u32le(8);
    ByteBuilder past;
    past.raw("II*").u8(0).u32le(8).u16le(0).u32le(1u << 30);
    ByteBuilder two;
    two.raw("MM").u16be(42).u32be(8).u16be(0).u32be(14).u16be(0).u32be(8);
    for (const QByteArray& content : {self.data(), past.data(), two.data()}) {
        reader.initTiff();
        ASSERT_TRUE(reader.openTiff(file(content)));
        EXPECT_LE(reader.ifdCount(), 2);
    }
    // A chain longer than the bound is cut there.
    ByteBuilder longChain;
    longChain.raw("II*").u8(0).u32le(8);
    for (int i = 0; i < 2000; ++i)
        longChain.u16le(0).u32le(quint32(8 + 6 * (i + 1)));
    longChain.u16le(0).u32le(0);
    ASSERT_TRUE(reader.openTiff(file(longChain)));
    EXPECT_EQ(reader.ifdCount(), TiffReader::maxIfds);
}

TEST_F(TiffReaderTest, ListsPastTheEndKeepThePreviousEntries)
{
    ByteBuilder b;
    b.raw("II*").u8(0).u32le(8).u16le(2);
    b.u16le(256).u16le(3).u32le(1).u32le(640);
    b.u16le(273).u16le(4).u32le(0xFFFFFFF0u).u32le(30); // four billion LONGs claimed
    b.u32le(0);
    ASSERT_TRUE(reader.openTiff(file(b)));
    EXPECT_EQ(failureOf([&] { reader.readTiffIfd(0); }), 62);
    EXPECT_TRUE(reader.entries().empty());
}

TEST_F(TiffReaderTest, Failures)
{
    EXPECT_FALSE(reader.openTiff(QString()));
    EXPECT_EQ(failureOf([&] { reader.openTiff(work() + "/missing.tif"); }), 53);
    EXPECT_EQ(failureOf([&] { reader.readTiffIfd(0); }), 54);
    EXPECT_EQ(failureOf([&] { reader.getTiffHeaderInfo(); }), 54);
    EXPECT_EQ(failureOf([&] { reader.readTiffValue(2, 0, 1); }), 54);
    EXPECT_EQ(reader.countTiffIfds(), 0);
    // A first directory past the end of the file.
    EXPECT_FALSE(reader.openTiff(file(ByteBuilder().raw("MM").u16be(42).u32be(900).data())));
}

TEST_F(TiffReaderTest, ReadValueKinds)
{
    ASSERT_TRUE(reader.openTiff(file(tiffRgb(false, 640, 480))));
    EXPECT_EQ(reader.readTiffValue(2, 0, TiffReader::Text), "II");
    EXPECT_EQ(reader.readTiffValue(4, 4, TiffReader::HexText), "00000008");
    EXPECT_EQ(reader.readTiffValue(2, 2, TiffReader::Number), "42");
    EXPECT_EQ(reader.readTiffValue(2, -1, TiffReader::Number), "8"); // reads on after offset 4
    EXPECT_EQ(reader.readTiffValue(0, 0, TiffReader::Number), "-1");
    EXPECT_EQ(reader.readTiffValue(2, 0, 9), "");
}

TEST_F(TiffReaderTest, ListsOfOneDirectoryReadNoMoreThanTheFile)
{
    // 2000 entries that all point at the same list of the whole file's size.
    const int entries = 2000;
    const quint32 listAt = 8 + 2 + 12 * entries + 4;
    const quint32 listCount = 6000;
    ByteBuilder b;
    b.raw("II*").u8(0).u32le(8).u16le(entries);
    for (int i = 0; i < entries; ++i)
        b.u16le(unsigned(1000 + i)).u16le(4).u32le(listCount).u32le(listAt);
    b.u32le(0).padTo(listAt + 4 * listCount);
    ASSERT_TRUE(reader.openTiff(file(b)));
    reader.readTiffIfd(0);
    ASSERT_EQ(reader.entries().size(), size_t(entries));
    EXPECT_FALSE(reader.entries()[0].valueText.isEmpty());
    EXPECT_TRUE(reader.entries().back().valueText.isEmpty());
}

// Asked for a few tags, the reader renders only those, each to the number of
// values asked for; the other entries are listed without a value text, so a
// list nobody needs is never read, even one that claims more than the file.
TEST_F(TiffReaderTest, OnlyTheWantedTagsAreRenderedToTheValuesAskedFor)
{
    ByteBuilder b;
    b.raw("II*").u8(0).u32le(8).u16le(6);
    b.u16le(256).u16le(3).u32le(1).u32le(640);
    b.u16le(257).u16le(4).u32le(1).u32le(480);
    b.u16le(258).u16le(3).u32le(3).u32le(100);          // 16,16,16 at 100
    b.u16le(270).u16le(2).u32le(7).u32le(106);          // "Scaner" at 106
    b.u16le(273).u16le(4).u32le(0xFFFFFFF0u).u32le(30); // four billion LONGs claimed
    b.u16le(277).u16le(3).u32le(1).u32le(3);
    b.u32le(0).padTo(100).u16le(16).u16le(16).u16le(16).raw("Scaner").u8(0);
    ASSERT_TRUE(reader.openTiff(file(b)));

    const TiffTagWanted firstValues[] = {{256, 1}, {257, 1}, {258, 1}, {277, 1}};
    reader.readTiffIfd(0, firstValues);
    EXPECT_EQ(texts(reader), QStringList({"256=640", "257=480", "258=16", "270=", "273=", "277=3"}));
    ASSERT_EQ(reader.entries().size(), 6u);
    EXPECT_EQ(reader.entries()[4].count, 0xFFFFFFF0u); // listed as it stands
    EXPECT_EQ(reader.entries()[4].valueOffset, 30u);

    const TiffTagWanted more[] = {{258, 2}, {270, 100}};
    reader.readTiffIfd(0, more);
    EXPECT_EQ(texts(reader), QStringList({"256=", "257=", "258=16,16", "270=Scaner", "273=", "277="}));

    // Asking for the list that runs past the end fails the directory, as a
    // whole read does.
    const TiffTagWanted strips[] = {{273, 1}};
    EXPECT_EQ(failureOf([&] { reader.readTiffIfd(0, strips); }), 62);
    EXPECT_EQ(texts(reader).size(), 6);
}

// A list of many values gives the same first values in both byte orders,
// whatever its length.
TEST_F(TiffReaderTest, AWantedListIsCutAfterItsValues)
{
    std::vector<quint32> bits(200000, 12);
    bits[0] = 16;
    bits[1] = 8;
    for (bool big : {false, true}) {
        SCOPED_TRACE(big ? "MM" : "II");
        ASSERT_TRUE(reader.openTiff(file(tiff(big, {{{258, 3, bits}, {273, 4, bits}, {282, 5, {72, 1, 300, 1}}}}))));
        const TiffTagWanted wanted[] = {{258, 3}, {282, 1}};
        reader.readTiffIfd(0, wanted);
        EXPECT_EQ(texts(reader), QStringList({"258=16,8,12", "273=", "282=72/1"}));
    }
}
