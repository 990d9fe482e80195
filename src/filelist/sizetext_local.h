#pragma once
#include <QLocale>
#include <QString>

// Stand-ins until the engine's shared size text and number padding are merged;
// both follow the same rules, so the calls can switch over unchanged.
namespace filelist {

// Bytes up to 1024, whole kB up to 1 MiB, MB and GB with two decimals; every
// bound is strict and every rounding goes half to even.
QString sizeText(qint64 bytes, const QLocale& locale = QLocale::system());

// The size sort key: the byte count padded with zeros to at least 11 digits.
QString sizeSortKey(qint64 bytes);

} // namespace filelist
