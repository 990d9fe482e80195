#include "settings/configfiles.h"

#include "engine/logs.h"
#include "platform/datetext.h"
#include "platform/eightbittext.h"
#include "platform/ownfiles.h"
#include "settings/storeforms.h"

#include <algorithm>
#include <cerrno>
#include <limits>
#include <optional>
#include <QFile>
#include <QFileInfo>

using platform::Failure;

namespace {

const QString exceptionsFile = QStringLiteral("exceptions.txt");
const QString fileTypesFile = QStringLiteral("filetypes.txt");
const QString codecsFile = QStringLiteral("codecs.txt");
const QString waveFormatsFile = QStringLiteral("waveformats.txt");
const QString replaceFile = QStringLiteral("replace.txt");

// Longest configuration list read. A list kept by hand or by the options
// window is a few KB (4 MiB is some 100,000 words or signatures); the whole
// file, its lines and its table are held in memory at once, so a file of a GB
// would take several GB and minutes. A longer file is left unread and unwritten.
constexpr qint64 kMaxListBytes = 4 * 1024 * 1024;

// How a list file was met: missing (a fresh table, no failure), read,
// refused unread (too big, or a folder, FIFO or device in its place: the
// defaults serve), or failed while it was opened or read (no records). A file
// refused or failed is never written over: the list in memory did not come
// from it.
enum class ListState { Missing, Read, Refused, Failed };

struct ListFile {
    ListState state = ListState::Missing;
    int error = 0; // why a file refused or failed was not read (errno form)
    QList<QByteArray> lines;
};

QString unreadReason(int error)
{
    switch (error) {
    case EFBIG:
        return QStringLiteral("it is larger than 4 MiB");
    case EISDIR:
        return QStringLiteral("it is a folder");
    default:
        return QStringLiteral("it is not a regular file");
    }
}

// The raw lines of a file: LF or CR LF ends, a last line without an end still
// counts. A folder, FIFO, device or a file larger than kMaxListBytes in the
// file's place is not read and gets a line of its own naming it; a failure to
// open or read the file is remembered. Neither gives any lines.
ListFile listFile(const QString& path, FailureMemo& memo)
{
    ListFile file;
    QByteArray all;
    const int err = platform::readOwnFile(QFile::encodeName(path), kMaxListBytes, all);
    if (err == ENOENT || err == ENOTDIR)
        return file;
    if (err != 0) {
        file.error = err;
        if (err == EFBIG || err == EISDIR || err == ENODEV) {
            file.state = ListState::Refused;
            memo.note(QStringLiteral("The configuration file ") + path + QStringLiteral(" was not read (") +
                      unreadReason(err) + QStringLiteral("); it is left unchanged."));
        } else {
            file.state = ListState::Failed;
            memo.remember(platform::failureFromErrno(err));
        }
        return file;
    }
    file.state = ListState::Read;
    file.lines = all.split('\n');
    all.clear();
    if (!file.lines.isEmpty() && file.lines.last().isEmpty())
        file.lines.removeLast();
    for (QByteArray& line : file.lines)
        if (line.endsWith('\r'))
            line.chop(1);
    return file;
}

// Files from older systems are 8-bit text; each line is read as UTF-8 when it
// is valid UTF-8, else as Windows-1252. The program writes UTF-8.
QString lineText(const QByteArray& raw)
{
    return platform::decodeEightBitText(raw);
}

bool isCommentOrEmpty(const QByteArray& line)
{
    return line.isEmpty() || line.startsWith('#') || line.startsWith("//");
}

// The lists numbered from 0 hold one empty record when nothing was read.
template <typename T> void keepOneRecord(std::vector<T>& list)
{
    if (list.empty())
        list.push_back(T{});
}

// The number a field begins with, rounded half to even; out of range gives 0 and
// an overflow failure.
qint64 leadingWhole(const QString& text, qint64 min, qint64 max, FailureMemo& memo)
{
    const double v = platform::roundHalfEven(leadingNumber(text));
    if (v < static_cast<double>(min) || v > static_cast<double>(max)) {
        memo.remember(overflowFailure());
        return 0;
    }
    return static_cast<qint64>(v);
}

FileTypeDef parseFileType(const QByteArray& line, FailureMemo& memo)
{
    FileTypeDef def;
    const qsizetype first = line.indexOf(',');
    const qsizetype second = first < 0 ? -1 : line.indexOf(',', first + 1);
    if (first >= 0)
        def.offset = static_cast<qint32>(leadingWhole(lineText(line.left(first)), std::numeric_limits<qint32>::min(),
                                                      std::numeric_limits<qint32>::max(), memo));
    if (second < 0) {
        def.extension = lineText(line);
        memo.remember(platform::makeFailure(platform::failures::InvalidCall));
        return def;
    }
    // The signature stays bytes: it is compared with file content, never shown.
    def.search = line.mid(first + 1, second - first - 1);
    def.extension = lineText(line.mid(second + 1));
    return def;
}

CodecName parseCodec(const QString& line)
{
    const qsizetype tab = line.indexOf(u'\t');
    return CodecName{line.left(4), tab < 0 ? line : line.mid(tab + 1)};
}

WaveFormatName parseWaveFormat(const QString& line, FailureMemo& memo)
{
    const qsizetype tab = line.indexOf(u'\t');
    if (tab < 0) {
        memo.remember(platform::makeFailure(platform::failures::InvalidCall));
        return WaveFormatName{0, line};
    }
    return WaveFormatName{static_cast<qint16>(leadingWhole(line.left(tab), -32768, 32767, memo)), line.mid(tab + 1)};
}

std::optional<BatchReplaceItem> parseBatchItem(const QString& line, FailureMemo& memo)
{
    const QStringList fields = line.split(u'/');
    if (fields.isEmpty() || fields[0].isEmpty())
        return std::nullopt;
    if (fields.size() < 6) {
        memo.remember(platform::makeFailure(platform::failures::SubscriptOutOfRange));
        return std::nullopt;
    }
    double n[4];
    for (int i = 0; i < 4; ++i) {
        const auto v = numberFromText(fields[2 + i]);
        if (!v) {
            memo.remember(typeMismatch());
            return std::nullopt;
        }
        n[i] = *v;
    }
    const double caseSensitive = n[0], swapMode = n[1], start = n[2], count = n[3];
    if (caseSensitive < 0 || caseSensitive > 1 || swapMode < 0 || swapMode > 1 || start < 0 || start > 999 ||
        count < 0 || count > 999)
        return std::nullopt;
    auto whole = [](double v) { return static_cast<qint16>(platform::roundHalfEven(v)); };
    BatchReplaceItem item;
    item.find = fields[0];
    item.replace = fields[1];
    item.caseSensitive = whole(caseSensitive);
    item.swapMode = whole(swapMode);
    item.start = whole(start);
    item.count = whole(count);
    return item;
}

QString folderFile(const QString& folder, const QString& name)
{
    return folder + QLatin1Char('/') + name;
}

QByteArray fileTypesText(const std::vector<FileTypeDef>& rows)
{
    QByteArray out;
    for (const QString& line : fileTypesHeader())
        out += line.toUtf8() + '\n';
    for (const FileTypeDef& row : rows)
        out += QByteArray::number(row.offset) + ',' + row.search + ',' + row.extension.toUtf8() + '\n';
    return out;
}

// Written when "codecs.txt" is missing: common AVI video handler codes.
const char kDefaultCodecs[] = "# Vexor Renamer codec names\n"
                              "#\n"
                              "# Format: FourCC<TAB>Name\n"
                              "# The code is the first four characters of the line; an exact match wins over\n"
                              "# one that differs only in case.\n"
                              "\n"
                              "DIVX\tDivX\n"
                              "divx\tDivX\n"
                              "DX50\tDivX 5\n"
                              "DIV3\tDivX 3\n"
                              "DIV4\tDivX 3 Fast Motion\n"
                              "XVID\tXviD\n"
                              "xvid\tXviD\n"
                              "MJPG\tMotion JPEG\n"
                              "H264\tH.264\n"
                              "h264\tH.264\n"
                              "X264\tH.264 (x264)\n"
                              "x264\tH.264 (x264)\n"
                              "avc1\tH.264\n"
                              "AVC1\tH.264\n"
                              "HEVC\tH.265\n"
                              "H265\tH.265\n"
                              "MP4V\tMPEG-4\n"
                              "FMP4\tMPEG-4\n"
                              "MP42\tMicrosoft MPEG-4 v2\n"
                              "MP43\tMicrosoft MPEG-4 v3\n"
                              "MPG4\tMicrosoft MPEG-4 v1\n"
                              "3IV2\t3ivx\n"
                              "mpg1\tMPEG-1\n"
                              "MPG1\tMPEG-1\n"
                              "mpg2\tMPEG-2\n"
                              "MPG2\tMPEG-2\n"
                              "WMV1\tWindows Media Video 7\n"
                              "WMV2\tWindows Media Video 8\n"
                              "WMV3\tWindows Media Video 9\n"
                              "WVC1\tVC-1\n"
                              "VP80\tVP8\n"
                              "VP90\tVP9\n"
                              "AV01\tAV1\n"
                              "dvsd\tDV\n"
                              "DVSD\tDV\n"
                              "cvid\tCinepak\n"
                              "CVID\tCinepak\n"
                              "IV50\tIndeo 5\n"
                              "IV41\tIndeo 4\n"
                              "IV32\tIndeo 3\n"
                              "MSVC\tMicrosoft Video 1\n"
                              "CRAM\tMicrosoft Video 1\n"
                              "mrle\tMicrosoft RLE\n"
                              "HFYU\tHuffYUV\n"
                              "FFV1\tFFV1\n"
                              "YUY2\tUncompressed YUY2\n"
                              "UYVY\tUncompressed UYVY\n"
                              "YV12\tUncompressed YV12\n"
                              "I420\tUncompressed I420\n";

// Written when "waveformats.txt" is missing: common wave-format tags.
const char kDefaultWaveFormats[] = "# Vexor Renamer wave format names\n"
                                   "#\n"
                                   "# Format: Tag<TAB>Name (the tag as a decimal number)\n"
                                   "\n"
                                   "1\tPCM\n"
                                   "2\tMicrosoft ADPCM\n"
                                   "3\tIEEE Float\n"
                                   "6\tA-law\n"
                                   "7\t\xC2\xB5-law\n"
                                   "17\tIMA ADPCM\n"
                                   "49\tGSM 6.10\n"
                                   "64\tG.721 ADPCM\n"
                                   "80\tMPEG\n"
                                   "85\tMPEG Layer-3\n"
                                   "255\tAAC\n"
                                   "5648\tAAC\n"
                                   "353\tWMA\n"
                                   "354\tWMA Pro\n"
                                   "355\tWMA Lossless\n"
                                   "8192\tAC-3\n"
                                   "8193\tDTS\n"
                                   "-2\tExtensible\n"
                                   "-3668\tFLAC\n";

// The lines of a table file; a missing one is written from its default, which
// then is the user's to edit. When it cannot be written the failure is
// remembered and the default still serves this run.
QList<QByteArray> tableLines(const QString& path, const char* defaultText, FailureMemo& memo)
{
    ListFile file = listFile(path, memo);
    if (file.state == ListState::Read || file.state == ListState::Failed)
        return std::move(file.lines);
    const QByteArray text(defaultText);
    // Only a missing file is written; one refused keeps its place and bytes.
    if (file.state == ListState::Missing && !QFileInfo(path).isSymLink()) {
        try {
            platform::replaceOwnFile(path, text);
        } catch (const Failure& failure) {
            memo.remember(failure);
        }
    }
    QList<QByteArray> lines = text.split('\n');
    lines.removeLast();
    return lines;
}

// The table from its file; the result tells how the file was met (its lines
// are used up).
ListFile exceptionWordsFrom(const QString& path, ConfigTables& tables, FailureMemo& memo)
{
    tables.exceptionWords = QStringList();
    ListFile file = listFile(path, memo);
    for (const QByteArray& raw : file.lines) {
        const QString word = trimBlanks(lineText(raw));
        if (!word.isEmpty())
            tables.exceptionWords.append(word);
    }
    if (tables.exceptionWords.isEmpty())
        tables.exceptionWords.append(QString());
    file.lines.clear();
    return file;
}

ListFile batchReplaceListFrom(const QString& path, ConfigTables& tables, FailureMemo& memo)
{
    tables.batchReplaceList.clear();
    ListFile file = listFile(path, memo);
    for (const QByteArray& raw : file.lines)
        if (!isCommentOrEmpty(raw))
            if (auto item = parseBatchItem(lineText(raw), memo))
                tables.batchReplaceList.push_back(std::move(*item));
    file.lines.clear();
    return file;
}

// Writes a list whose text differs from what its file reads as. A file that
// is there but could not be read is never written over with a list that did
// not come from it: that is a failure of the writing, unless the list holds
// nothing to save.
void writeListFile(const QString& path, const QByteArray& text, const QByteArray& onDiskText, const ListFile& onDisk,
                   bool holdsNothing)
{
    if (onDisk.state == ListState::Refused || onDisk.state == ListState::Failed) {
        if (!holdsNothing)
            throw platform::failureFromErrno(onDisk.error);
        return;
    }
    if (text != onDiskText)
        platform::replaceOwnFile(path, text);
}

QByteArray exceptionsText(const QStringList& words)
{
    QByteArray out;
    for (const QString& word : words)
        out += word.toUtf8() + '\n';
    return out;
}

QByteArray replaceListText(const std::vector<BatchReplaceItem>& list)
{
    QByteArray out;
    for (const BatchReplaceItem& item : list) {
        if (item.find.isEmpty())
            continue;
        // The file keeps start before count.
        out += (item.find + QLatin1Char('/') + item.replace + QLatin1Char('/') + QString::number(item.caseSensitive) +
                QLatin1Char('/') + QString::number(item.swapMode) + QLatin1Char('/') + QString::number(item.start) +
                QLatin1Char('/') + QString::number(item.count))
                   .toUtf8() +
               '\n';
    }
    return out;
}

} // namespace

const std::vector<FileTypeDef>& builtInFileTypes()
{
    static const std::vector<FileTypeDef> rows = [] {
        const auto b = [](std::initializer_list<unsigned char> bytes) {
            QByteArray a;
            for (unsigned char c : bytes)
                a.append(static_cast<char>(c));
            return a;
        };
        const auto t = [](const char* text) { return QByteArray(text); };
        const auto e = [](const char* ext) { return QString::fromLatin1(ext); };
        return std::vector<FileTypeDef>{
            {1, t("PK"), e("zip")},
            {1, t("GIF"), e("gif")},
            {1, t("MZ"), e("exe")},
            {1, b({0xFF, 0xD8}), e("jpg")},
            {1, t("<HTML"), e("html")},
            {1, t("<html"), e("html")},
            {1, t("ID3"), e("mp3")},
            {1, t("BM"), e("bmp")},
            {1, t("II*"), e("tif")},
            {1, t("MM"), e("tif")},
            {1, t("8BPS"), e("psd")},
            {1, t("Rar"), e("rar")},
            {1, b({0x60, 0xEA}), e("arj")},
            {1, t("MThd"), e("mid")},
            {1, t("FPBD"), e("agp")},
            {1, b({0x30, 0x26, 0xB2}), e("asf")},
            {1, t("MSCF"), e("cab")},
            {1, t("%!PS-Adobe"), e("ai")},
            {1, b({0x89, 0x50, 0x4E, 0x47}), e("png")},
            {1, t("FWS"), e("swf")},
            {1, b({0x00, 0x00, 0x01, 0xBA}), e("mpg")},
            {1, b({0x00, 0x00, 0x01, 0xB3}), e("mpg")},
            {9, t("CDXA"), e("mpg")},
            {3, t("-l"), e("lzh")},
            {5, t("moov"), e("mov")},
            {5, t("skip"), e("mov")},
            {5, t("free"), e("mov")},
            {5, t("mdat"), e("mov")},
            {5, t("pnot"), e("mov")},
            {9, t("ILBM"), e("iff")},
            {9, t("AVI"), e("avi")},
            {9, t("WAVE"), e("wav")},
            {10, t("ACE"), e("ace")},
            {42, t("EMF"), e("emf")},
            {-128, t("TAG"), e("mp3")},
            {-18, t("TRUEVISION-XFILE"), e("tga")},
        };
    }();
    return rows;
}

const QStringList& fileTypesHeader()
{
    static const QStringList header{
        QStringLiteral("# Vexor Renamer filetype definitions"),
        QStringLiteral("#"),
        QStringLiteral("# Format: Offset,Search,Extension"),
        QStringLiteral("# Offset may be positive or negative (Negative will count from end of file)"),
        QStringLiteral("# Search is the string to look for at the offset"),
        QStringLiteral("# Extension is the default extension for this file type"),
        QString(),
        QString(),
    };
    return header;
}

void readExceptionWords(const QString& folder, ConfigTables& tables, FailureMemo& memo)
{
    exceptionWordsFrom(folderFile(folder, exceptionsFile), tables, memo);
}

void readFileTypes(const QString& folder, ConfigTables& tables, FailureMemo& memo)
{
    tables.fileTypes.clear();
    const QString path = folderFile(folder, fileTypesFile);
    const ListFile file = listFile(path, memo);
    if (file.state == ListState::Refused) {
        // Something that is no list of ours holds the name: the built-in rows
        // serve this run, and the file stays as it is.
        tables.fileTypes = builtInFileTypes();
        return;
    }
    if (file.state == ListState::Missing) {
        // No file: the built-in rows serve this run and become the user's file.
        tables.fileTypes = builtInFileTypes();
        try {
            platform::replaceOwnFile(path, fileTypesText(tables.fileTypes));
        } catch (const Failure& failure) {
            memo.remember(failure);
        }
        return;
    }
    for (const QByteArray& raw : file.lines)
        if (!isCommentOrEmpty(raw))
            tables.fileTypes.push_back(parseFileType(raw, memo));
    keepOneRecord(tables.fileTypes);
}

void readCodecNames(const QString& folder, ConfigTables& tables, FailureMemo& memo)
{
    tables.codecNames.clear();
    for (const QByteArray& raw : tableLines(folderFile(folder, codecsFile), kDefaultCodecs, memo))
        if (!isCommentOrEmpty(raw))
            tables.codecNames.push_back(parseCodec(lineText(raw)));
    keepOneRecord(tables.codecNames);
}

void readWaveFormatNames(const QString& folder, ConfigTables& tables, FailureMemo& memo)
{
    tables.waveFormatNames.clear();
    for (const QByteArray& raw : tableLines(folderFile(folder, waveFormatsFile), kDefaultWaveFormats, memo))
        if (!isCommentOrEmpty(raw))
            tables.waveFormatNames.push_back(parseWaveFormat(lineText(raw), memo));
    keepOneRecord(tables.waveFormatNames);
}

void readBatchReplaceList(const QString& folder, ConfigTables& tables, FailureMemo& memo)
{
    batchReplaceListFrom(folderFile(folder, replaceFile), tables, memo);
}

QString batchReplaceCaption(qsizetype count)
{
    if (count == 1)
        return QStringLiteral("1 item in batch replace list...");
    return QString::number(count) + QStringLiteral(" items in batch replace list...");
}

void writeConfigLists(const QString& folder, const ConfigTables& tables, Logs& logs)
{
    // What the file on disk holds, in the form it would be written: a list that
    // reads back the same is left alone (a missing one stays missing, a
    // hand-kept one keeps its comments and line ends).
    FailureMemo ignored;
    ConfigTables onDisk;
    const QString wordsPath = folderFile(folder, exceptionsFile);
    const QString itemsPath = folderFile(folder, replaceFile);
    const ListFile wordsFile = exceptionWordsFrom(wordsPath, onDisk, ignored);
    const ListFile itemsFile = batchReplaceListFrom(itemsPath, onDisk, ignored);
    try {
        const bool noWords = std::all_of(tables.exceptionWords.begin(), tables.exceptionWords.end(),
                                         [](const QString& word) { return trimBlanks(word).isEmpty(); });
        writeListFile(wordsPath, exceptionsText(tables.exceptionWords), exceptionsText(onDisk.exceptionWords),
                      wordsFile, noWords);
        const QByteArray items = replaceListText(tables.batchReplaceList);
        writeListFile(itemsPath, items, replaceListText(onDisk.batchReplaceList), itemsFile, items.isEmpty());
    } catch (const Failure& failure) {
        logs.logError(failure.errorText() + QStringLiteral("Error saving settings lists!"));
    }
}
