#include "mainwindow/framelayout.h"

#include <algorithm>
#include <limits>

FrameLayout frameLayout(int outerWidth, int outerHeight)
{
    FrameLayout l;
    const int tabWidth = std::max(outerWidth - kFileModeLeft - 180, 0);
    const int tabHeight = std::max(outerHeight - kFileModeTop - 830, 0);
    l.tabStripFilemode = QRect(kFileModeLeft, kFileModeTop, tabWidth, tabHeight);
    l.lists = QSize(std::max(tabWidth - 150, 0), std::max(tabHeight - 800, 0));
    l.txtPathWidth = std::max(tabWidth - 1990, 0);
    l.txtPatternLeft = kPathLeft + l.txtPathWidth + 100;
    return l;
}

qint16 clampTwips(qint64 twips)
{
    return qint16(std::clamp<qint64>(twips, std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max()));
}
