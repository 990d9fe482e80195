#include "settings/configfiles.h"
#include "settings_fixture.h"

#include <QDir>
#include <QFileInfo>

#include <functional>
#include <map>
#include <sys/stat.h>

class ConfigFilesTest : public SettingsTest {
protected:
    FailureMemo memo;
    QString folder() const { return programFolder(); }
};

TEST_F(ConfigFilesTest, ExceptionWordsAreTrimmedOfSpacesOnly)
{
    writeProgramFile("exceptions.txt", "  McDonald  \r\n#hash\r\n   \r\n\tTab \r\n\r\n//slash\r\nlast");
    readExceptionWords(folder(), tables, memo);
    EXPECT_EQ(tables.exceptionWords, QStringList({"McDonald", "#hash", "\tTab", "//slash", "last"}));
    EXPECT_FALSE(memo.any());

    writeProgramFile("exceptions.txt", "\n   \n");
    readExceptionWords(folder(), tables, memo);
    EXPECT_EQ(tables.exceptionWords, QStringList({""}));
}

TEST_F(ConfigFilesTest, MissingFilesGiveTheFreshTables)
{
    tables.exceptionWords = QStringList{"old"};
    tables.batchReplaceList = {BatchReplaceItem{"a", "b"}};
    tables.codecNames = {CodecName{"DIV3", "x"}};
    readExceptionWords(folder(), tables, memo);
    readCodecNames(folder(), tables, memo);
    readWaveFormatNames(folder(), tables, memo);
    readBatchReplaceList(folder(), tables, memo);
    EXPECT_EQ(tables.exceptionWords, QStringList({""}));
    EXPECT_TRUE(tables.batchReplaceList.empty());
    EXPECT_FALSE(memo.any());
}

// The codec and wave-format tables delivered with the program are written
// into the program folder when missing, read from there, and never replace a
// file the user has, even one of comments only.
TEST_F(ConfigFilesTest, MissingCodecAndWaveFormatFilesAreWrittenFromTheDeliveredTables)
{
    readCodecNames(folder(), tables, memo);
    readWaveFormatNames(folder(), tables, memo);
    EXPECT_FALSE(memo.any());
    auto codec = [&](const char* fourcc) {
        for (const CodecName& c : tables.codecNames)
            if (c.fourcc == QLatin1String(fourcc))
                return c.name;
        return QString("?");
    };
    auto wave = [&](qint16 tag) {
        for (const WaveFormatName& f : tables.waveFormatNames)
            if (f.tag == tag)
                return f.name;
        return QString("?");
    };
    EXPECT_EQ(codec("XVID"), "XviD");
    EXPECT_EQ(codec("DIVX"), "DivX");
    EXPECT_EQ(codec("MJPG"), "Motion JPEG");
    EXPECT_EQ(codec("avc1"), "H.264");
    EXPECT_EQ(codec("FMP4"), "MPEG-4");
    EXPECT_EQ(wave(1), "PCM");
    EXPECT_EQ(wave(85), "MPEG Layer-3");
    EXPECT_EQ(wave(255), "AAC");
    EXPECT_EQ(wave(8192), "AC-3");
    EXPECT_EQ(wave(7), QString::fromUtf8("\xC2\xB5-law"));
    EXPECT_EQ(wave(-2), "Extensible"); // 0xFFFE as the signed tag the readers pass
    for (const char* name : {"codecs.txt", "waveformats.txt"}) {
        const QString text = readText(folder() + "/" + name);
        EXPECT_TRUE(text.startsWith("# Vexor Renamer")) << name;
        EXPECT_FALSE(text.contains('\r')) << name;
    }
    const std::vector<CodecName> written = tables.codecNames;
    readCodecNames(folder(), tables, memo);
    EXPECT_EQ(tables.codecNames.size(), written.size()) << "read back from the written file";

    writeProgramFile("codecs.txt", "# none\n");
    writeProgramFile("waveformats.txt", "# none\n");
    readCodecNames(folder(), tables, memo);
    readWaveFormatNames(folder(), tables, memo);
    ASSERT_EQ(tables.codecNames.size(), 1u);
    EXPECT_TRUE(tables.codecNames[0].fourcc.isEmpty());
    ASSERT_EQ(tables.waveFormatNames.size(), 1u);
    EXPECT_EQ(tables.waveFormatNames[0].tag, 0);
    EXPECT_EQ(readText(folder() + "/codecs.txt"), "# none\n");
}

TEST_F(ConfigFilesTest, FileTypeLinesAreCutAtTheFirstTwoCommas)
{
    writeProgramFile("filetypes.txt", "# comment\r\n// comment\r\n\r\n-128,TAG,mp3\r\n 7, a , b\r\n1,a,b,c\r\n"
                                      "2.5,x,y\r\n3," +
                                          QByteArray("\xFF\xD8\x00", 3) + ",jpg\r\n #not a comment,s,e\r\n");
    readFileTypes(folder(), tables, memo);
    ASSERT_EQ(tables.fileTypes.size(), 6u);
    EXPECT_EQ(tables.fileTypes[0].offset, -128);
    EXPECT_EQ(tables.fileTypes[0].search, "TAG");
    EXPECT_EQ(tables.fileTypes[0].extension, "mp3");
    EXPECT_EQ(tables.fileTypes[1].offset, 7);
    EXPECT_EQ(tables.fileTypes[1].search, " a ");
    EXPECT_EQ(tables.fileTypes[1].extension, " b");
    EXPECT_EQ(tables.fileTypes[2].extension, "b,c");
    EXPECT_EQ(tables.fileTypes[3].offset, 2); // half to even
    EXPECT_EQ(tables.fileTypes[4].search, QByteArray("\xFF\xD8\x00", 3));
    EXPECT_EQ(tables.fileTypes[5].offset, 0);
    EXPECT_EQ(tables.fileTypes[5].search, "s");
    EXPECT_FALSE(memo.any());
}

TEST_F(ConfigFilesTest, FileTypeLineWithTooFewCommasStillGivesARecord)
{
    writeProgramFile("filetypes.txt", "1,PK\nplain\n");
    readFileTypes(folder(), tables, memo);
    ASSERT_EQ(tables.fileTypes.size(), 2u);
    EXPECT_EQ(tables.fileTypes[0].offset, 1);
    EXPECT_TRUE(tables.fileTypes[0].search.isEmpty());
    EXPECT_EQ(tables.fileTypes[0].extension, "1,PK");
    EXPECT_EQ(tables.fileTypes[1].offset, 0);
    EXPECT_EQ(tables.fileTypes[1].extension, "plain");
    EXPECT_TRUE(memo.any());
}

TEST_F(ConfigFilesTest, FileTypeFileOfCommentsOrEmptyGivesOneEmptyRecord)
{
    for (const QByteArray& content : {QByteArray("# only\n// comments\n"), QByteArray()}) {
        writeProgramFile("filetypes.txt", content);
        readFileTypes(folder(), tables, memo);
        ASSERT_EQ(tables.fileTypes.size(), 1u);
        EXPECT_EQ(tables.fileTypes[0].offset, 0);
        EXPECT_TRUE(tables.fileTypes[0].search.isEmpty());
        EXPECT_TRUE(tables.fileTypes[0].extension.isEmpty());
        // The existing file is kept as it was.
        EXPECT_EQ(readText(folder() + "/filetypes.txt").toUtf8(), content);
    }
}

TEST_F(ConfigFilesTest, MissingFileTypeFileIsWrittenFromTheBuiltInRows)
{
    // A failure of an earlier step is still the one to tell after the write.
    memo.remember(platform::makeFailure(5));
    readFileTypes(folder(), tables, memo);
    ASSERT_TRUE(memo.any());
    EXPECT_EQ(memo.last->number(), 5);
    memo = FailureMemo{};
    ASSERT_EQ(tables.fileTypes.size(), 36u);
    const QStringList lines = readLines(folder() + "/filetypes.txt");
    ASSERT_EQ(lines.size(), 44);
    EXPECT_EQ(lines[0], "# Vexor Renamer filetype definitions");
    EXPECT_EQ(lines[2], "# Format: Offset,Search,Extension");
    EXPECT_EQ(lines[6], "");
    EXPECT_EQ(lines[7], "");
    EXPECT_EQ(lines[8], "1,PK,zip");
    EXPECT_EQ(lines[30], "9,CDXA,mpg");
    EXPECT_EQ(lines[42], "-128,TAG,mp3");
    EXPECT_EQ(lines[43], "-18,TRUEVISION-XFILE,tga");
    EXPECT_FALSE(readText(folder() + "/filetypes.txt").contains('\r'));

    ConfigTables again;
    readFileTypes(folder(), again, memo);
    ASSERT_EQ(again.fileTypes.size(), 36u);
    for (size_t i = 0; i < 36; ++i) {
        EXPECT_EQ(again.fileTypes[i].offset, builtInFileTypes()[i].offset) << i;
        EXPECT_EQ(again.fileTypes[i].search, builtInFileTypes()[i].search) << i;
        EXPECT_EQ(again.fileTypes[i].extension, builtInFileTypes()[i].extension) << i;
    }
    EXPECT_EQ(again.fileTypes[20].search, QByteArray("\x00\x00\x01\xBA", 4));
    EXPECT_FALSE(memo.any());
}

TEST_F(ConfigFilesTest, UnwritableFileTypeFileStillGivesTheRowsForThisRun)
{
    const QString notAFolder = writeFile("plainfile", "x");
    readFileTypes(notAFolder, tables, memo);
    EXPECT_EQ(tables.fileTypes.size(), 36u);
    ASSERT_TRUE(memo.any());
    EXPECT_EQ(memo.last->number(), 76);
}

TEST_F(ConfigFilesTest, CodecFourccIsAlwaysTheFirstFourCharacters)
{
    writeProgramFile("codecs.txt", "DIV3\tDivX 3\r\nXVID2\tXvid\r\nMP4\tMPEG-4\r\nnotab\r\n#c\r\n");
    readCodecNames(folder(), tables, memo);
    ASSERT_EQ(tables.codecNames.size(), 4u);
    EXPECT_EQ(tables.codecNames[0].fourcc, "DIV3");
    EXPECT_EQ(tables.codecNames[0].name, "DivX 3");
    EXPECT_EQ(tables.codecNames[1].fourcc, "XVID");
    EXPECT_EQ(tables.codecNames[2].fourcc, "MP4\t");
    EXPECT_EQ(tables.codecNames[2].name, "MPEG-4");
    EXPECT_EQ(tables.codecNames[3].fourcc, "nota");
    EXPECT_EQ(tables.codecNames[3].name, "notab");
}

TEST_F(ConfigFilesTest, WaveFormatTags)
{
    writeProgramFile("waveformats.txt", "85\tMPEG Layer 3\n1\tPCM\n");
    readWaveFormatNames(folder(), tables, memo);
    ASSERT_EQ(tables.waveFormatNames.size(), 2u);
    EXPECT_EQ(tables.waveFormatNames[0].tag, 85);
    EXPECT_EQ(tables.waveFormatNames[0].name, "MPEG Layer 3");
    EXPECT_FALSE(memo.any());

    for (const char* line : {"65534\tExtensible", "no tab"}) {
        FailureMemo m;
        writeProgramFile("waveformats.txt", line);
        readWaveFormatNames(folder(), tables, m);
        ASSERT_EQ(tables.waveFormatNames.size(), 1u);
        EXPECT_EQ(tables.waveFormatNames[0].tag, 0) << line;
        EXPECT_TRUE(m.any()) << line;
    }
    EXPECT_EQ(tables.waveFormatNames[0].name, "no tab");
}

TEST_F(ConfigFilesTest, BatchReplaceLinesAreCheckedField_by_field)
{
    struct Case {
        const char* line;
        bool accepted;
        bool failure;
    };
    const Case cases[] = {
        {"a/b/0/0/0/0", true, false},         {"a/b/1/1/2/3", true, false},     {"a/b/1.0/0/0/0", true, false},
        {"a/b/0/0/0/0/seventh", true, false}, {"a//0/0/999/999", true, false},  {"/b/0/0/0/0", false, false},
        {"a/b/0/0/0", false, true},           {"a/b/2/0/0/0", false, false},    {"a/b/0/-1/0/0", false, false},
        {"a/b/0/0/1000/0", false, false},     {"a/b/0/0/0/1000", false, false}, {"a/b/x/0/0/0", false, true},
        {"#a/b/0/0/0/0", false, false},
    };
    for (const Case& c : cases) {
        FailureMemo m;
        writeProgramFile("replace.txt", QByteArray(c.line) + "\r\n");
        readBatchReplaceList(folder(), tables, m);
        EXPECT_EQ(tables.batchReplaceList.size(), c.accepted ? 1u : 0u) << c.line;
        EXPECT_EQ(m.any(), c.failure) << c.line;
    }
    writeProgramFile("replace.txt", "a/b/1/1/2/3\n");
    readBatchReplaceList(folder(), tables, memo);
    const BatchReplaceItem& item = tables.batchReplaceList.at(0);
    EXPECT_EQ(item.find, "a");
    EXPECT_EQ(item.replace, "b");
    EXPECT_EQ(item.caseSensitive, 1);
    EXPECT_EQ(item.swapMode, 1);
    EXPECT_EQ(item.start, 2);
    EXPECT_EQ(item.count, 3);
}

TEST_F(ConfigFilesTest, BatchCaption)
{
    EXPECT_EQ(batchReplaceCaption(0), "0 items in batch replace list...");
    EXPECT_EQ(batchReplaceCaption(1), "1 item in batch replace list...");
    EXPECT_EQ(batchReplaceCaption(3), "3 items in batch replace list...");
}

TEST_F(ConfigFilesTest, ListsAreWrittenAndReadBack)
{
    tables.exceptionWords = QStringList{" USA ", "", "McDonald"};
    tables.batchReplaceList = {BatchReplaceItem{"a", "b", 1, 0, 3, 2}, BatchReplaceItem{"", "lost", 0, 0, 0, 0},
                               BatchReplaceItem{"#hash", "x", 0, 0, 0, 0}};
    Logs logs(folder());
    writeConfigLists(folder(), tables, logs);
    EXPECT_EQ(readText(folder() + "/exceptions.txt"), " USA \n\nMcDonald\n");
    EXPECT_EQ(readText(folder() + "/replace.txt"), "a/b/1/0/2/3\n#hash/x/0/0/0/0\n");

    ConfigTables back;
    readExceptionWords(folder(), back, memo);
    readBatchReplaceList(folder(), back, memo);
    EXPECT_EQ(back.exceptionWords, QStringList({"USA", "McDonald"}));
    ASSERT_EQ(back.batchReplaceList.size(), 1u);
    EXPECT_EQ(back.batchReplaceList[0].start, 2);
    EXPECT_EQ(back.batchReplaceList[0].count, 3);
    EXPECT_TRUE(errorLines().isEmpty());

    // The empty lists: one empty line, and an empty file.
    writeConfigLists(folder(), ConfigTables{}, logs);
    EXPECT_EQ(readText(folder() + "/exceptions.txt"), "\n");
    EXPECT_EQ(readText(folder() + "/replace.txt"), "");
}

TEST_F(ConfigFilesTest, WriteFailureEndsTheWritingWithOneLine)
{
    const QString notAFolder = writeFile("plainfile", "x");
    Logs logs(folder());
    tables.exceptionWords = QStringList{"USA"};
    writeConfigLists(notAFolder, tables, logs);
    const QStringList lines = errorLines();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].endsWith(") Error 76 (Path not found) Error saving settings lists!"))
        << lines[0].toStdString();
}

TEST_F(ConfigFilesTest, LoadReadsEveryFileAndReportsTheirFailures)
{
    haveFileTypes();
    writeProgramFile("exceptions.txt", "USA\n");
    writeProgramFile("replace.txt", "a/b/0/0/0/0\nbroken/0\n");
    const Settings s = load();
    EXPECT_EQ(tables.exceptionWords, QStringList({"USA"}));
    EXPECT_EQ(tables.fileTypes.size(), 1u);
    EXPECT_EQ(s.lblBatchReplace, "1 item in batch replace list...");
    const QStringList lines = errorLines();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].endsWith(") Error 9 (Subscript out of range) Error loading settings!"))
        << lines[0].toStdString();
}

TEST_F(ConfigFilesTest, PipesOfTheFilesNamesAreNeverOpened)
{
    for (const char* name : {"exceptions.txt", "filetypes.txt", "replace.txt"})
        ASSERT_EQ(::mkfifo(QFile::encodeName(folder() + "/" + name).constData(), 0600), 0);
    readExceptionWords(folder(), tables, memo);
    readFileTypes(folder(), tables, memo);
    // Not a list: the built-in rows serve, and each FIFO gets a line naming it.
    EXPECT_EQ(tables.fileTypes.size(), builtInFileTypes().size());
    EXPECT_EQ(memo.ownLines.size(), 2);
    Logs logs(folder());
    // Unchanged lists are not written; a changed one is refused, the FIFO kept.
    writeConfigLists(folder(), tables, logs);
    EXPECT_TRUE(errorLines().isEmpty());
    tables.exceptionWords = QStringList{"USA"};
    writeConfigLists(folder(), tables, logs);
    ASSERT_EQ(errorLines().size(), 1);
    EXPECT_TRUE(errorLines()[0].endsWith("Error saving settings lists!"));
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(folder() + "/exceptions.txt").constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

// A write that fails part way leaves each list whole (the old file, or none)
// and says so in one line.
TEST_F(ConfigFilesTest, AFailedWriteLeavesEveryListWhole)
{
    QByteArray words;
    for (int i = 0; i < 400; ++i)
        words += "Word" + QByteArray::number(i) + '\n';
    writeProgramFile("exceptions.txt", words);
    writeProgramFile("replace.txt", "a/b/0/0/0/0\n");
    readExceptionWords(folder(), tables, memo);
    readBatchReplaceList(folder(), tables, memo);
    tables.exceptionWords.prepend("McDonald");
    tables.batchReplaceList.push_back(BatchReplaceItem{QString(5000, u'x'), "y", 0, 0, 0, 0});
    Logs logs(folder());
    {
        FileSizeLimit limit(1024);
        writeConfigLists(folder(), tables, logs);
    }
    EXPECT_EQ(readText(folder() + "/exceptions.txt"), words);
    EXPECT_EQ(readText(folder() + "/replace.txt"), "a/b/0/0/0/0\n");
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files | QDir::Hidden).size(), 3) << "no temporary file is left";
    ASSERT_EQ(errorLines().size(), 1);
    EXPECT_TRUE(errorLines()[0].endsWith("Error saving settings lists!")) << errorLines()[0].toStdString();

    // A missing file-type list that cannot be written whole is not written at
    // all: an empty one would switch detection off in every later run.
    QFile::remove(folder() + "/filetypes.txt");
    {
        FileSizeLimit limit(100);
        readFileTypes(folder(), tables, memo);
    }
    EXPECT_EQ(tables.fileTypes.size(), builtInFileTypes().size());
    EXPECT_TRUE(memo.any());
    EXPECT_FALSE(QFileInfo::exists(folder() + "/filetypes.txt"));
}

// A list is written only when what it holds changed: a hand-kept file keeps its
// bytes (line ends, comments, 8-bit text) and a missing one stays missing.
TEST_F(ConfigFilesTest, ListsAreWrittenOnlyWhenTheirContentChanged)
{
    Logs logs(folder());
    readExceptionWords(folder(), tables, memo);
    readBatchReplaceList(folder(), tables, memo);
    writeConfigLists(folder(), tables, logs);
    EXPECT_FALSE(QFileInfo::exists(folder() + "/exceptions.txt"));
    EXPECT_FALSE(QFileInfo::exists(folder() + "/replace.txt"));

    const QByteArray words = "M\xfcller\r\nUSA\r\n";
    const QByteArray items = "# mine\r\nold/new/0/0/0/0\r\n";
    writeProgramFile("exceptions.txt", words);
    writeProgramFile("replace.txt", items);
    readExceptionWords(folder(), tables, memo);
    readBatchReplaceList(folder(), tables, memo);
    writeConfigLists(folder(), tables, logs);
    EXPECT_EQ(readText(folder() + "/exceptions.txt"), words);
    EXPECT_EQ(readText(folder() + "/replace.txt"), items);

    // A changed list is written whole, in UTF-8; the other is left.
    tables.exceptionWords.append("McDonald");
    writeConfigLists(folder(), tables, logs);
    EXPECT_EQ(readText(folder() + "/exceptions.txt"), "M\xc3\xbcller\nUSA\nMcDonald\n");
    EXPECT_EQ(readText(folder() + "/replace.txt"), items);
    EXPECT_TRUE(errorLines().isEmpty());
}

// Each line is UTF-8 when it is valid UTF-8, else Windows-1252, so a file that
// mixes both (a list extended on a newer system) reads as meant.
TEST_F(ConfigFilesTest, EightBitLinesReadAsWindows1252)
{
    writeProgramFile("exceptions.txt", "M\xfcller\nStra\xc3\x9f"
                                       "e\n\x80uro \x93quoted\x94\n");
    writeProgramFile("replace.txt", "\xe9t\xe9/summer/0/0/0/0\n");
    writeProgramFile("codecs.txt", "DIV3\tDivX \xa9\n");
    readExceptionWords(folder(), tables, memo);
    readBatchReplaceList(folder(), tables, memo);
    readCodecNames(folder(), tables, memo);
    EXPECT_EQ(tables.exceptionWords, QStringList({QStringLiteral("M\u00fcller"), QStringLiteral("Stra\u00dfe"),
                                                  QStringLiteral("\u20acuro \u201cquoted\u201d")}));
    ASSERT_EQ(tables.batchReplaceList.size(), 1u);
    EXPECT_EQ(tables.batchReplaceList[0].find, QStringLiteral("\u00e9t\u00e9"));
    ASSERT_EQ(tables.codecNames.size(), 1u);
    EXPECT_EQ(tables.codecNames[0].name, QStringLiteral("DivX \u00a9"));
    EXPECT_FALSE(memo.any());
}

namespace {

constexpr qint64 listLimit = 4 * 1024 * 1024;

// A list file of `size` bytes (sparse past its first line), so that a size
// far beyond the limit costs no disk.
void writeSizedFile(const QString& path, const QByteArray& head, qint64 size)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(head), head.size());
    ASSERT_TRUE(f.resize(size));
}

struct Kept {
    qint64 size = -1;
    QByteArray head;
    bool operator==(const Kept&) const = default;
};

Kept keptOf(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return {f.size(), f.read(16)};
}

} // namespace

// A list beyond the size limit is not read at all: each file gets one line of
// its own, its table is what a missing file gives (without writing anything),
// and the save leaves the file as it is, also when the list in memory changed.
TEST_F(ConfigFilesTest, ListsLargerThanTheLimitAreNeitherReadNorWrittenOver)
{
    const char* const names[] = {"exceptions.txt", "filetypes.txt", "codecs.txt", "waveformats.txt", "replace.txt"};
    for (const char* name : names)
        writeSizedFile(folder() + "/" + name, "DVD\n1,PK,zip\nDIV3\tx\n", listLimit + 1);
    std::map<QString, Kept> before;
    for (const char* name : names)
        before[name] = keptOf(folder() + "/" + name);

    readExceptionWords(folder(), tables, memo);
    readFileTypes(folder(), tables, memo);
    readCodecNames(folder(), tables, memo);
    readWaveFormatNames(folder(), tables, memo);
    readBatchReplaceList(folder(), tables, memo);
    EXPECT_EQ(tables.exceptionWords, QStringList({""}));
    EXPECT_EQ(tables.fileTypes.size(), builtInFileTypes().size());
    EXPECT_GT(tables.codecNames.size(), 10u); // the delivered table
    EXPECT_GT(tables.waveFormatNames.size(), 10u);
    EXPECT_TRUE(tables.batchReplaceList.empty());
    EXPECT_FALSE(memo.any());
    ASSERT_EQ(memo.ownLines.size(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(memo.ownLines[i], "The configuration file " + folder() + "/" + names[i] +
                                        " was not read (it is larger than 4 MiB); it is left unchanged.");

    Logs logs(folder());
    writeConfigLists(folder(), tables, logs); // nothing to save
    EXPECT_TRUE(errorLines().isEmpty()) << errorLines().join("\n").toStdString();
    tables.exceptionWords = QStringList{"McDonald"};
    writeConfigLists(folder(), tables, logs);
    ASSERT_EQ(errorLines().size(), 1);
    EXPECT_TRUE(errorLines()[0].endsWith(") Error 75 (Path/File access error) Error saving settings lists!"))
        << errorLines()[0].toStdString();
    tables.exceptionWords = QStringList{""};
    tables.batchReplaceList = {BatchReplaceItem{"a", "b", 0, 0, 0, 0}};
    writeConfigLists(folder(), tables, logs);
    EXPECT_EQ(errorLines().size(), 2);
    for (const char* name : names)
        EXPECT_TRUE(keptOf(folder() + "/" + name) == before[name]) << name;
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files | QDir::Hidden).size(), 6) << "no temporary file is left";
}

// The limit itself is still read, a file that reaches it with its last line too.
TEST_F(ConfigFilesTest, AListOfExactlyTheLimitIsRead)
{
    QByteArray words;
    const QByteArray word = "Word\n";
    words.reserve(listLimit);
    while (words.size() + word.size() <= listLimit)
        words += word;
    words += QByteArray(listLimit - words.size(), 'x');
    ASSERT_EQ(words.size(), listLimit);
    writeProgramFile("exceptions.txt", words);
    readExceptionWords(folder(), tables, memo);
    EXPECT_EQ(tables.exceptionWords.size(), listLimit / word.size() + 1);
    EXPECT_EQ(tables.exceptionWords.last(), QString(listLimit % word.size(), u'x'));
    EXPECT_TRUE(memo.ownLines.isEmpty());
}

// Whatever stands in a list's place instead of a file (a big file, a folder, a
// FIFO nobody writes to) gives one error line naming it when the settings are
// loaded, never a hang, and is still there, as it was, after the save at exit.
TEST_F(ConfigFilesTest, AnExceptionsListThatCannotBeReadIsNamedOnceAndKept)
{
    struct Place {
        const char* what;
        std::function<void(const QString&)> make;
        const char* reason;
    };
    const Place places[] = {
        {"big file", [](const QString& p) { writeSizedFile(p, "DVD\n", qint64(1) << 30); }, "it is larger than 4 MiB"},
        {"folder", [](const QString& p) { ASSERT_TRUE(QDir().mkdir(p)); }, "it is a folder"},
        {"fifo", [](const QString& p) { ASSERT_EQ(::mkfifo(QFile::encodeName(p).constData(), 0600), 0); },
         "it is not a regular file"},
    };
    const QString path = folder() + "/exceptions.txt";
    for (const Place& place : places) {
        SCOPED_TRACE(place.what);
        QFile::remove(programFolder() + "/errors.txt");
        QFile::remove(path);
        QDir().rmdir(path);
        place.make(path);
        struct stat was {};
        ASSERT_EQ(::lstat(QFile::encodeName(path).constData(), &was), 0);
        haveFileTypes();
        store({{"exceptionsEnabled", "1"}});
        const Settings s = load();
        EXPECT_EQ(s.chkExceptionsEnabled, 1);
        EXPECT_EQ(tables.exceptionWords, QStringList({""}));
        const QStringList lines = errorLines();
        ASSERT_EQ(lines.size(), 1) << "one line naming the file, no other: " << lines.join("\n").toStdString();
        EXPECT_TRUE(lines[0].endsWith(") The configuration file " + path + " was not read (" + place.reason +
                                      "); it is left unchanged."))
            << lines[0].toStdString();

        save(s);
        tables.exceptionWords = QStringList{"DVD", "McDonald"}; // edited in the options window
        save(s);
        struct stat now {};
        ASSERT_EQ(::lstat(QFile::encodeName(path).constData(), &now), 0);
        EXPECT_EQ(now.st_mode, was.st_mode);
        EXPECT_EQ(now.st_ino, was.st_ino);
        EXPECT_EQ(now.st_size, was.st_size);
        ASSERT_EQ(errorLines().size(), 2) << "the save of the edited list fails";
        EXPECT_TRUE(errorLines()[1].endsWith("Error saving settings lists!"));
    }
}
