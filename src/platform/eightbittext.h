#pragma once
#include <QByteArray>
#include <QString>

namespace platform {

// Bytes of 8-bit text (a title, a line of a configuration or settings file) as
// text: UTF-8 when they are valid UTF-8, else Windows-1252, which files from
// older systems are written in.
QString decodeEightBitText(const QByteArray& bytes);

} // namespace platform
