#pragma once
#include <QByteArray>
#include <QStringList>

#include <ctime>
#include <vector>

// What a directory read found of each entry it listed, so that the row build
// right after it need not ask every entry again.
struct ReadEntryDetails {
    qint64 size = 0;
    timespec modified{};
    int attributes = 0;
    int folder = 0; // index of the directory that holds the entry
};

// A directory as the read found it: its change time before its names were
// read, and whether that time is old enough that any later change of the
// directory shows as another time (timestamps may be coarser than the clock).
struct ReadFolderStamp {
    QByteArray native;
    timespec changed{};
    bool settled = false;
};

// The details of one read, together with the path lists they describe (shared
// with the lists, not copied); they describe the lists only while those are
// the very lists the read left.
struct ReadDetails {
    QStringList files, dirs;
    std::vector<ReadEntryDetails> fileDetails, dirDetails;
    std::vector<ReadFolderStamp> folders;
};
