#pragma once
#include <array>
#include <ctime>
#include <QString>

struct RenameOptions;
struct FormatContext;

// What the Format tags know about one listed entry. The record belongs to one
// formatFilename call and caches the entry under `key` for that call only.
struct FileInfo {
    QString key; // the name the record describes; empty = not filled
    QString fullName;
    QString baseName;
    QString ext;
    qint64 size = 0; // bytes; 0 for a directory
    // Time stamps as the file system gives them; a tag that shows one turns it
    // into local time (that conversion costs more than the status query itself).
    timespec modified{};
    timespec created{}; // birth time where the file system keeps one, else modified
    timespec accessed{};
    QString parent; // last folder name of the entry's directory; empty for "/"
    // parts[1]..parts[9] are "<%1>".."<%9>"; parts[0] takes the text after the
    // pattern's closing literal and is read by no tag.
    std::array<QString, 10> parts;
};

struct NameSplit {
    QString baseName;
    QString ext;
};

// The file-information split: no dot gives no extension; a lone leading dot
// (".profile") gives an empty base name and the whole name as the extension;
// otherwise the text around the last dot.
NameSplit splitFileInfoName(const QString& name);

// Cuts `source` by the parts pattern ("<%1> - <%2>"). Angle brackets that are no
// marker stand for the square brackets that the forbidden-character map makes of
// them; literals match case-sensitively at their first occurrence.
std::array<QString, 10> cutNameParts(const QString& source, const QString& pattern);

// Fills `info` for the entry `name` in `dir` and returns true when it describes
// the entry. A second call with the same name returns at once. When the record is
// (re)filled, one trailing "/" is removed from `dir` itself. A missing entry
// gives false without a log line; other failures are logged and give false.
bool getFileInfo(const QString& name, QString& dir, FileInfo& info, const RenameOptions& options,
                 const FormatContext& context);
