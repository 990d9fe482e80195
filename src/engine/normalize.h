#pragma once
#include <QString>

class Logs;

// Gives every run of the digits "0" to "9" the same width: leading zeros are
// removed and the run is padded with "0" on the left to `width` digits; a run
// is never cut otherwise. Width 0 deletes the runs; a negative width strips the
// leading zeros only. Spaces (U+0020) at both ends are removed first; other
// characters are copied in place. Every zero-padded number of the program
// (enumeration numbers, size sort keys, track numbers) comes from here.
//
// Never throws: when memory runs out it writes one "Number Normalize:" line to
// `logs` (when given) and returns the trimmed text unchanged.
QString normalizeNumbers(const QString& text, int width, Logs* logs = nullptr);
