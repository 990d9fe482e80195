#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

#include "mediainfo/medianames.h"

// Records of the tables read from the configuration text files. The settings
// subsystem loads and owns them; the engine and the media readers read them.

struct BatchReplaceItem {
    QString find;
    QString replace;
    qint16 caseSensitive = 0; // 1: the case of `find` must match
    qint16 swapMode = 0;      // 1: find and replace exchange their roles
    qint16 count = 0;         // replacements to make; 0 = all
    qint16 start = 0;         // characters at the start of the name left untouched
};

struct FileTypeDef {
    qint32 offset = 0; // >= 1: 1-based byte position; negative: counted from the end
    QByteArray search; // raw bytes, never decoded
    QString extension; // without the dot
};

// The tables as loaded. The lists numbered from 0 always hold at least one
// (possibly empty) record; batchReplaceList holds items 1..n at indexes 0..n-1.
struct ConfigTables {
    QStringList exceptionWords{QString()};
    std::vector<BatchReplaceItem> batchReplaceList;
    std::vector<FileTypeDef> fileTypes{FileTypeDef{}};
    std::vector<CodecName> codecNames{CodecName{}};
    std::vector<WaveFormatName> waveFormatNames{WaveFormatName{}};
};
