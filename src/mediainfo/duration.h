#pragma once
#include <QString>

// "1 H 2 Min 5 Sec", "4 Min 5 Sec", "0 Sec".
QString formatDurationText(qint32 seconds);
// "01:02:05", "04:05", "00:00".
QString formatDurationClock(qint32 seconds);
