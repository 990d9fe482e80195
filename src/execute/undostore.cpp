#include "execute/undostore.h"

void UndoStore::reset(qsizetype fileEntries, qsizetype dirEntries)
{
    // Room for a record per listed entry, but no empty record made for each:
    // a run that renames a few of many entries keeps only what it wrote.
    undoFiles.clear();
    undoFiles.reserve(size_t(fileEntries) + 1);
    undoDirs.clear();
    undoDirs.reserve(size_t(dirEntries) + 1);
    undoFileCount = 0;
    undoDirCount = 0;
    createdDirs = QStringList{QString()};
}

void UndoStore::putFile(qint32 index, UndoFileItem item)
{
    if (index < 0)
        return;
    if (size_t(index) == undoFiles.size()) { // the usual case: the next record
        undoFiles.push_back(std::move(item));
        return;
    }
    if (size_t(index) > undoFiles.size())
        undoFiles.resize(size_t(index) + 1);
    undoFiles[size_t(index)] = std::move(item);
}

void UndoStore::putDir(qint32 index, UndoDirItem item)
{
    if (index < 0)
        return;
    if (size_t(index) == undoDirs.size()) {
        undoDirs.push_back(std::move(item));
        return;
    }
    if (size_t(index) > undoDirs.size())
        undoDirs.resize(size_t(index) + 1);
    undoDirs[size_t(index)] = std::move(item);
}
