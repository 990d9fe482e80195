#pragma once
#include "mediainfo/errorsink.h"

#include <functional>
#include <QString>

// File, subdirectory and byte counts of one directory and of its whole tree.
// The record belongs to the caller and caches the directory under `path`.
struct DirInfo {
    QString path;         // the directory the record describes; empty = none
    qint64 topFiles = 0;  // files directly in the directory
    qint64 topDirs = 0;   // subdirectories directly in it
    qint64 topBytes = 0;  // bytes of its own files
    qint64 treeFiles = 0; // files anywhere in the tree
    qint64 treeDirs = 0;  // subdirectories at every depth, the directory itself not counted
    qint64 treeBytes = 0; // bytes of all files of the tree
    bool failed = false;  // the walk of `path` failed: the counts are not valid
};

// Counts the directory `dir` (no trailing "/") breadth-first into `info` and
// returns true when the record describes it. A second call with the same path
// answers from the record without touching the disk; a walk that failed stays
// failed for that record (false, logged once). A path that is missing or is not
// a directory gives false without a log line. Symbolic links are counted as
// files of their own and never entered; no directory is visited twice.
// `yield` (when set) runs after every entry and every directory.
bool getDirInfo(const QString& dir, DirInfo& info, const ErrorSink& logError = {},
                const std::function<void()>& yield = {});
