// Thumbnails of a folder of photos and the icon lists at the entry limit.
// - 1,000 JPEG photos of 12 megapixels (4000 x 3000) get their 64 x 64 cells:
//   the time per photo (goal: 15 ms or less) and the large list's memory per
//   picture (goal: 20 KB or less). Once as a camera writes them, with a
//   160 x 120 Exif thumbnail, and once without one (decoded at an eighth of
//   the size). The photos are eight different pictures encoded once, under
//   1,000 names (hard links), so setting up costs seconds, not minutes; every
//   name is decoded on its own.
// - 32,767 directories get their icons: the lists' memory (goal: under 100 MB,
//   every directory shares one folder picture) and the time.
//   The lists' memory is counted twice: the pixels the large list holds, and
//   the heap's growth over the run (what the program really keeps for them).
//   The time is the run's wall clock; the CPU time of all threads beside it
//   shows how the decoding is shared between the cores (the load average is
//   printed, as the machine may be shared).
// - One photo without a camera thumbnail decoded for its cell on one thread:
//   the reduced decode's own cost.
// VEXORREN_BENCH_PHOTOS sets another number of photos.
#include "engine/logs.h"
#include "engine/previewstate.h"
#include "filelist/generatethumbnails.h"
#include "filelist/host.h"
#include "filelist/iconlists.h"
#include "platform/controls.h"
#include "platform/listview.h"
#include "platform/uiservice.h"

#include "../tests/support/exifjpeg.h"
#include "barewindow.h"
#include "qtbenchmain.h"

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>

#include "filelist/thumbnailimage.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <malloc.h>
#include <unistd.h>

namespace {

// With the icon lists made, as the window has them before its first read.
struct Window : BareFileListWindow {
    Window() { resetSysIcons(host); }
};

// A photo-like picture: soft gradients, shapes and sensor noise, so the JPEG
// has the size and entropy of a camera's (a few MB at quality 90).
QImage photo(int seed)
{
    QImage img(4000, 3000, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient sky(0, 0, 4000, 3000);
    sky.setColorAt(0, QColor::fromHsv((seed * 40) % 360, 120, 230));
    sky.setColorAt(1, QColor::fromHsv((seed * 40 + 150) % 360, 200, 90));
    p.fillRect(img.rect(), sky);
    QRandomGenerator rng(quint32(seed + 1));
    for (int i = 0; i < 60; ++i) {
        p.setBrush(QColor::fromHsv(rng.bounded(360), rng.bounded(255), rng.bounded(255)));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPoint(rng.bounded(4000), rng.bounded(3000)), rng.bounded(30, 600), rng.bounded(30, 600));
    }
    p.end();
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const int n = int(rng.bounded(25)) - 12;
            const QRgb c = line[x];
            line[x] = qRgb(std::clamp(qRed(c) + n, 0, 255), std::clamp(qGreen(c) + n, 0, 255),
                           std::clamp(qBlue(c) + n, 0, 255));
        }
    }
    return img;
}

struct Photos {
    QTemporaryDir dir;
    int count = 1000;
    qint64 bytes = 0;
    explicit Photos(bool cameraThumbnail)
    {
        if (qEnvironmentVariableIsSet("VEXORREN_BENCH_PHOTOS"))
            count = std::max(1, qEnvironmentVariableIntValue("VEXORREN_BENCH_PHOTOS"));
        QStringList originals;
        for (int k = 0; k < 8; ++k) {
            const QString path = dir.path() + QStringLiteral("/original %1.jpg").arg(k);
            const QImage img = photo(k);
            QByteArray jpeg;
            QBuffer buf(&jpeg);
            buf.open(QIODevice::WriteOnly);
            img.save(&buf, "JPG", 90);
            if (cameraThumbnail)
                jpeg = withExifThumbnail(jpeg, img.scaled(160, 120, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
            QFile out(path);
            out.open(QIODevice::WriteOnly);
            out.write(jpeg);
            out.close();
            bytes += QFile(path).size();
            originals << path;
        }
        bytes /= 8;
        for (int i = 0; i < count; ++i) {
            const QString name = dir.path() + QStringLiteral("/IMG_%1.jpg").arg(i, 4, 10, QLatin1Char('0'));
            ::link(QFile::encodeName(originals[i % 8]).constData(), QFile::encodeName(name).constData());
        }
    }
};

// Bytes of pixels the list holds, each shared picture counted once.
qint64 listBytes(const platform::ImageList& list)
{
    QSet<qint64> seen;
    qint64 total = 0;
    for (const QPixmap& pm : list.images) {
        if (seen.contains(pm.cacheKey()))
            continue;
        seen.insert(pm.cacheKey());
        total += qint64(pm.width()) * pm.height() * ((pm.depth() + 7) / 8);
    }
    for (const QString& k : list.keys)
        total += k.size() * 2 + 32;
    return total + qint64(list.images.size()) * qint64(sizeof(QPixmap));
}

double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Bytes the main thread's heap holds, where the lists' pictures live.
qint64 heapInUse()
{
    const struct mallinfo2 m = mallinfo2();
    return qint64(m.uordblks + m.hblkhd);
}

double loadAverage()
{
    double load[1] = {0};
    return getloadavg(load, 1) == 1 ? load[0] : -1;
}

void photoThumbnails(benchmark::State& state, Photos& photos, const char* kind)
{
    double bestMs = 1e18, bestCpuMs = 0;
    qint64 largeBytes = 0, heapBytes = 0;
    for (auto _ : state) {
        Window w;
        std::vector<platform::ListRow> rows;
        for (int i = 0; i < photos.count; ++i) {
            platform::ListRow r;
            r.cells[0] = QStringLiteral("IMG_%1.jpg").arg(i, 4, 10, QLatin1Char('0'));
            r.cells[2] = photos.dir.path() + QLatin1Char('/');
            rows.push_back(std::move(r));
        }
        w.lw->setRows(std::move(rows));
        const qint64 heapBefore = heapInUse();
        const double cpuBefore = cpuMs();
        QElapsedTimer t;
        t.start();
        generateThumbnails(w.host);
        const double ms = double(t.nsecsElapsed()) / 1e6;
        if (ms < bestMs) {
            bestMs = ms;
            bestCpuMs = cpuMs() - cpuBefore;
        }
        heapBytes = heapInUse() - heapBefore;
        if (w.files.thumbnailsShownDir != -1 || w.files.imagelistSysIconsLarge.count() != photos.count + 3)
            state.SkipWithError("not every photo got its thumbnail");
        largeBytes = listBytes(w.files.imagelistSysIconsLarge);
    }
    const double perPhoto = bestMs / photos.count;
    const double kbPerPicture = double(largeBytes) / photos.count / 1024.0;
    const double heapKbPerPicture = double(heapBytes) / photos.count / 1024.0;
    state.counters["ms_per_photo"] = perPhoto;
    state.counters["cpu_ms_per_photo"] = bestCpuMs / photos.count;
    state.counters["kb_per_picture"] = kbPerPicture;
    state.counters["heap_kb_per_picture"] = heapKbPerPicture;
    std::printf("%d photos of 4000 x 3000 (%.1f MB each) %s: %.0f ms, %.2f ms per photo (goal 15), "
                "CPU of all threads %.2f ms per photo, load %.1f on %d cores; large list %.1f KB per picture, "
                "heap growth %.1f KB per picture (goal 20)\n",
                photos.count, double(photos.bytes) / 1e6, kind, bestMs, perPhoto, bestCpuMs / photos.count,
                loadAverage(), QThread::idealThreadCount(), kbPerPicture, heapKbPerPicture);
}

void BM_CameraPhotoThumbnails(benchmark::State& state)
{
    static Photos photos(true);
    photoThumbnails(state, photos, "with a camera thumbnail");
}
BENCHMARK(BM_CameraPhotoThumbnails)->Unit(benchmark::kMillisecond)->Iterations(1);

Photos& plainPhotos()
{
    static Photos photos(false);
    return photos;
}

void BM_PlainPhotoThumbnails(benchmark::State& state)
{
    photoThumbnails(state, plainPhotos(), "without one (an eighth decoded)");
}
BENCHMARK(BM_PlainPhotoThumbnails)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_OnePhotoDecode(benchmark::State& state)
{
    const Photos& photos = plainPhotos();
    const QString path = photos.dir.path() + QStringLiteral("/IMG_0000.jpg");
    double bestMs = 1e18, bestCpuMs = 1e18;
    for (auto _ : state) {
        const double cpuBefore = cpuMs();
        QElapsedTimer t;
        t.start();
        QSize natural;
        const QImage picture = loadThumbnailPicture(path, QSize(64, 64), 1, &natural);
        bestMs = std::min(bestMs, double(t.nsecsElapsed()) / 1e6);
        bestCpuMs = std::min(bestCpuMs, cpuMs() - cpuBefore);
        if (picture.isNull())
            state.SkipWithError("not decoded");
    }
    state.counters["best_ms"] = bestMs;
    std::printf("one photo (%.1f MB) decoded for a 64 x 64 cell on one thread: best %.2f ms, %.2f ms CPU, "
                "load %.1f\n",
                double(photos.bytes) / 1e6, bestMs, bestCpuMs, loadAverage());
}
BENCHMARK(BM_OnePhotoDecode)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_DirectoryIcons(benchmark::State& state)
{
    double bestMs = 1e18;
    qint64 bytes = 0;
    for (auto _ : state) {
        Window w;
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < 32767; ++i) {
            const QString path = QStringLiteral("/srv/photos/folder %1").arg(i);
            getSysIcon(w.host, path, -1);
        }
        bestMs = std::min(bestMs, double(t.nsecsElapsed()) / 1e6);
        bytes = listBytes(w.files.imagelistSysIcons) + listBytes(w.files.imagelistSysIconsLarge);
    }
    state.counters["lists_mb"] = double(bytes) / 1e6;
    std::printf("32,767 directories: icons in %.0f ms; the two lists hold %.1f MB (goal under 100)\n", bestMs,
                double(bytes) / 1e6);
}
BENCHMARK(BM_DirectoryIcons)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

VEXORREN_QT_BENCHMARK_MAIN();
