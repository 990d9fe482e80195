#pragma once
#include "engine/configtypes.h"
#include "settings/failurememo.h"

#include <QString>
#include <vector>

class Logs;

// The five configuration text files in the program folder. Each read starts its
// table afresh and replaces it as a whole; a missing file leaves the fresh table
// (one empty record, or no batch item). A line that cannot be cut into its fields
// still gives what could be taken (or is dropped, in "replace.txt") and its
// failure is remembered for the settings load's one error line. A file larger
// than 4 MiB, a folder, FIFO or device in a file's place is not read: it gets
// a line of its own (memo.ownLines) naming it, its table is what a missing file
// gives (the built-in or delivered rows, which are not written), and the file
// is left as it is.

void readExceptionWords(const QString& folder, ConfigTables& tables, FailureMemo& memo);
// When "filetypes.txt" is missing, the built-in rows are used and written out as
// a new file (LF line ends); a failure to write it is remembered.
void readFileTypes(const QString& folder, ConfigTables& tables, FailureMemo& memo);
// A missing "codecs.txt" or "waveformats.txt" is written from the default
// table delivered with the program (common AVI codec codes, common wave-format
// tags), which then serves like any other content.
void readCodecNames(const QString& folder, ConfigTables& tables, FailureMemo& memo);
void readWaveFormatNames(const QString& folder, ConfigTables& tables, FailureMemo& memo);
void readBatchReplaceList(const QString& folder, ConfigTables& tables, FailureMemo& memo);

// Writes "exceptions.txt" and then "replace.txt", each only when what it holds
// differs from what the file reads as. A file is replaced as a whole (a
// temporary file beside it takes its place), so a failure leaves the old file;
// the first failure ends the writing and gives one error line ending "Error
// saving settings lists!". A file that is there but cannot be read (too big,
// not a file, unreadable) is never written over: a list with something to save
// is then such a failure, an empty one is not written. Every line is read as UTF-8, or as Windows-1252 when
// it is not valid UTF-8; the files are written in UTF-8.
void writeConfigLists(const QString& folder, const ConfigTables& tables, Logs& logs);

// The caption of the Replace panel's lblBatchReplace for a list of `count` items.
QString batchReplaceCaption(qsizetype count);

// The 36 signatures used and written when "filetypes.txt" is missing.
const std::vector<FileTypeDef>& builtInFileTypes();
// The comment header written above them.
const QStringList& fileTypesHeader();
