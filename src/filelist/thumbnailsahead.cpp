#include "filelist/thumbnailsahead.h"
#include "filelist/thumbnailimage.h"
#include "platform/failure.h"

#include <algorithm>
#include <QMutexLocker>
#include <QRunnable>

namespace {

// A decode held for the run: 4 MB of pixels at most, so the pictures waiting
// ahead stay small whatever the folder holds.
constexpr qint64 kMaxAheadPixels = 1024 * 1024;

} // namespace

class ThumbnailsAhead::Job : public QRunnable {
public:
    Job(ThumbnailsAhead& owner, QString path) : owner_(owner), path_(std::move(path)) { setAutoDelete(false); }

    void run() override
    {
        QImage picture;
        QSize natural;
        bool failed = false, declined = false;
        int number = 0;
        QString description;
        try {
            picture = loadThumbnailPicture(path_, owner_.cell_, owner_.aspect_, &natural, kMaxAheadPixels);
            declined = picture.isNull();
        } catch (const platform::Failure& f) {
            failed = true;
            number = f.number();
            description = f.description();
        } catch (...) {
            // Nothing may leave a worker; the run decodes it again itself, with
            // nothing else held, and meets the failure there.
            declined = true;
        }
        QMutexLocker lock(&owner_.mutex_);
        picture_ = std::move(picture);
        natural_ = natural;
        failed_ = failed;
        declined_ = declined;
        number_ = number;
        description_ = std::move(description);
        done_ = true;
        owner_.finished_.wakeAll();
    }

    ThumbnailsAhead& owner_;
    const QString path_;
    // Written once by run(), under the owner's mutex.
    bool done_ = false;
    bool failed_ = false;
    bool declined_ = false;
    QImage picture_;
    QSize natural_;
    int number_ = 0;
    QString description_;
};

ThumbnailsAhead::ThumbnailsAhead(QSize cell, int thumbsAspect) : cell_(cell), aspect_(thumbsAspect)
{
    // The run's own thread decodes too when it overtakes the workers.
    const int workers = std::max(1, QThreadPool::globalInstance()->maxThreadCount() - 1);
    pool_.setMaxThreadCount(workers);
    depth_ = 2 * workers + 2;
}

ThumbnailsAhead::~ThumbnailsAhead()
{
    pool_.clear();
    pool_.waitForDone();
}

void ThumbnailsAhead::ask(const QString& path)
{
    auto [it, added] = jobs_.try_emplace(path);
    if (!added)
        return;
    it->second = std::make_unique<Job>(*this, path);
    pool_.start(it->second.get());
}

bool ThumbnailsAhead::take(const QString& path, QSize cell, int thumbsAspect, QImage* picture, QSize* natural)
{
    const auto it = jobs_.find(path);
    if (it == jobs_.end())
        return false;
    const std::unique_ptr<Job> job = std::move(it->second);
    jobs_.erase(it);
    if (pool_.tryTake(job.get())) {
        job->run();
    } else {
        QMutexLocker lock(&mutex_);
        while (!job->done_)
            finished_.wait(&mutex_);
    }
    if (cell != cell_ || thumbsAspect != aspect_ || job->declined_)
        return false;
    if (job->failed_)
        throw platform::Failure(job->number_, job->description_);
    *picture = std::move(job->picture_);
    *natural = job->natural_;
    return true;
}
