#pragma once
#include <map>
#include <memory>
#include <QImage>
#include <QMutex>
#include <QSize>
#include <QString>
#include <QThreadPool>
#include <QWaitCondition>

// Decodes the pictures of the rows a thumbnail run will reach next on worker
// threads, so that the run, which still visits its rows one by one, finds most
// of them decoded. Decoding is nearly all of a photo's cost and one photo
// fills one core, so the cores share the folder. Only pictures whose decode
// stays small are decoded ahead (a JPEG at its reduced size, a small picture);
// a large one is left to the run, which decodes one at a time. Nothing is
// drawn or logged here: the run draws the cell, and a failure decoded ahead
// reaches it as the failure of its own decode would.
class ThumbnailsAhead {
public:
    // For cells of `cell` pixels and the aspect setting of the run.
    ThumbnailsAhead(QSize cell, int thumbsAspect);
    // Waits for the decodes under way; the queued ones are dropped.
    ~ThumbnailsAhead();
    ThumbnailsAhead(const ThumbnailsAhead&) = delete;
    ThumbnailsAhead& operator=(const ThumbnailsAhead&) = delete;

    // How many decodes the run should keep asked for ahead of its row.
    int depth() const { return depth_; }
    // Starts decoding `path` unless it is already asked for.
    void ask(const QString& path);
    // The decoded picture of `path` and its own size, when it was asked for
    // with this cell and aspect and its decode was not left to the caller;
    // the wait is for that decode alone (one not yet begun is decoded here).
    // Rethrows the failure of the decode. Either way it is forgotten, so the
    // next call for the path decodes again.
    bool take(const QString& path, QSize cell, int thumbsAspect, QImage* picture, QSize* natural);

private:
    class Job;
    QSize cell_;
    int aspect_;
    int depth_;
    QThreadPool pool_;
    QMutex mutex_;
    QWaitCondition finished_;
    std::map<QString, std::unique_ptr<Job>> jobs_;
};
