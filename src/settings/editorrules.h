#pragma once
#include "engine/configtypes.h"

#include <optional>
#include <QString>
#include <QStringList>
#include <vector>

// The plain rules of the options window and its two list editors, apart from
// any widget.

// The word an answer of the exception prompts gives: trimmed of blanks; nullopt
// when nothing is left (the list stays as it is); otherwise without the nine
// characters / * " \ ? : < > | and without control characters, which would
// split the word's line in "exceptions.txt". Can be empty.
std::optional<QString> exceptionWordFromAnswer(const QString& answer);

// The exception words for the list's entries in order; one empty word when
// there is none.
QStringList exceptionWordsFromEntries(const QStringList& entries);

// The leave rule of the thumbnail size boxes: empty gives "64", a value below
// 16 gives "16", above 256 gives "256"; anything else stays as typed.
QString thumbSizeAfterLeave(const QString& text);
// The leave rule of the item dialog's start and count boxes: empty or a
// negative value gives "0".
QString countAfterLeave(const QString& text);

// The six columns of a batch-replace row: find, replace, "x" or "" for case,
// "x" or "" for swap mode, start, count.
QStringList batchRow(const BatchReplaceItem& item);
// The item of a row: case and swap are on only for exactly "x"; start and
// count are the numbers the columns begin with, kept within 0 to 999 (the
// range "replace.txt" accepts).
BatchReplaceItem batchItem(const QStringList& row);
std::vector<BatchReplaceItem> batchListFromRows(const std::vector<QStringList>& rows);

// Whether a find or replace text can be stored in "replace.txt" and read back
// the same: no "/" (the field separator), no control character, and for the
// find text no "#" at the start (a comment line).
bool batchTextStorable(const QString& text, bool isFind);
