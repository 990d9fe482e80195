#pragma once
#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace platform {

// A command-line argument is a string of bytes, and a Linux path may hold any
// byte but NUL. Valid UTF-8 is decoded as such; every byte that is not part of
// it becomes the lone surrogate U+DC80 + byte. Nothing is lost, no replacement
// character can make it name another entry, and the text tells that it was
// not UTF-8.
QString argumentText(QByteArrayView bytes);
// Arguments `first` to argc - 1.
QStringList argumentTexts(int argc, char** argv, int first = 1);

// Whether the text holds a byte that was not UTF-8 (see argumentText).
bool holdsUndecodable(const QString& text);

// The text as one printable line for a message: control characters and bytes
// that were not UTF-8 are written as "\xHH".
QString printableText(const QString& text);

} // namespace platform
