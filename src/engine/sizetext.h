#pragma once
#include <QLocale>
#include <QString>

// The size text of the list rows and of the Format size tags: bytes up to 1024,
// whole kB up to 1 MiB, MB and GB with two decimals; every bound is strict and
// every rounding goes half to even. Sizes are 64-bit; a double carries them
// exactly far beyond any real file or tree.
QString sizeText(double bytes, const QLocale& locale = QLocale::system());
