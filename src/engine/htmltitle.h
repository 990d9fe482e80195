#pragma once
#include <QByteArray>
#include <QString>

// The first letter of `text`, upper-cased. Mode 0 takes the first letter, mode 1
// the first letter or digit, mode 2 likewise but gives "0-9" for a digit; any
// other mode, or a text without such a character, gives the empty text. Letters
// are A-Z, a-z and U+00C0..U+00FF; digits are 0-9.
QString getFirstLetter(const QString& text, int mode);

// The text between "<TITLE>" and "</TITLE>" (any case) within the first
// `readSize` bytes of the file at `path`, tabs made blanks and line breaks
// removed; empty when the path is no HTML-like file or holds no title. A file
// that cannot be opened or read throws platform::Failure.
QString getHtmlTitle(const QString& path, qint32 readSize);
