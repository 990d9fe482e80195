#include "exifjpeg.h"
#include "filelist_fixture.h"

#include "filelist/generatethumbnails.h"
#include "filelist/thumbnailimage.h"
#include "platform/failure.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>
#include <sys/stat.h>

namespace {

QImage filled(int w, int h, QColor c = Qt::red)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

QByteArray encoded(const QImage& img, const char* format)
{
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    EXPECT_TRUE(img.save(&buf, format));
    return bytes;
}

// What a pixel of a drawn cell shows: 'r' picture, 'k' frame, '.' nothing.
char seen(const QImage& cell, int x, int y)
{
    const QRgb p = cell.pixel(x, y);
    if (qAlpha(p) == 0)
        return '.';
    if (qRed(p) > 200 && qGreen(p) < 60)
        return 'r';
    if (qRed(p) < 40 && qGreen(p) < 40 && qBlue(p) < 40)
        return 'k';
    return '?';
}

// A 1 x 1 GIF of one red pixel (Qt writes no GIF).
QByteArray redGif()
{
    return QByteArray::fromHex("474946383961010001008000"
                               "00ff0000000000"
                               "2c0000000001000100000202440100"
                               "3b");
}

bool showsRed(const QPixmap& pm)
{
    const QImage img = pm.toImage();
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (seen(img, x, y) == 'r')
                return true;
    return false;
}

} // namespace

TEST(ThumbnailPlacement, FollowsTheSizeOrientationAndAspectRules)
{
    struct Case {
        QSize picture, cell;
        int aspect;
        QRectF drawn;
        QPointF from, to;
    };
    const Case cases[] = {
        {{48, 32}, {64, 64}, 1, {8, 16, 48, 32}, {7, 15}, {56, 48}},         // fits: own size, frame outside
        {{64, 64}, {64, 64}, 1, {0, 0, 64, 64}, {-1, -1}, {64, 64}},         // fits exactly: frame out of the cell
        {{200, 100}, {64, 64}, 1, {0, 16, 64, 32}, {0, 16}, {63, 47}},       // landscape to the width
        {{100, 200}, {64, 64}, 1, {16, 0, 32, 64}, {16, 0}, {47, 63}},       // portrait to the height
        {{300, 300}, {64, 64}, 1, {0, 0, 64, 64}, {0, 0}, {63, 63}},         // square by the portrait rule
        {{33, 20}, {64, 64}, 1, {15.5, 22, 33, 20}, {14.5, 21}, {48.5, 42}}, // a half pixel stays
        {{48, 32}, {64, 64}, 0, {8, 16, 48, 32}, {7, 15}, {56, 48}},         // a small one is never stretched
        {{200, 100}, {64, 64}, 0, {0, 0, 64, 64}, {0, 0}, {63, 63}},         // stretched over the cell
        {{200, 150}, {64, 32}, 1, {0, -8, 64, 48}, {0, -8}, {63, 39}},       // cut at top and bottom
    };
    for (const Case& c : cases) {
        const ThumbnailPlacement p = placeThumbnail(c.picture, c.cell, c.aspect, 1);
        EXPECT_EQ(p.picture, c.drawn) << c.picture.width() << "x" << c.picture.height();
        EXPECT_TRUE(p.framed);
        EXPECT_EQ(p.frameFrom, c.from) << c.picture.width() << "x" << c.picture.height();
        EXPECT_EQ(p.frameTo, c.to) << c.picture.width() << "x" << c.picture.height();
    }
    const ThumbnailPlacement thin = placeThumbnail({65, 10}, {64, 64}, 1, 0);
    EXPECT_FALSE(thin.framed);
    EXPECT_FLOAT_EQ(float(thin.picture.height()), 64.0f / (65.0f / 10.0f));
    EXPECT_FLOAT_EQ(float(thin.picture.y()), 32.0f - 64.0f / (65.0f / 10.0f) / 2.0f);
}

TEST(ThumbnailPlacement, DrawnCellsShowPictureAndFrameWhereTheyBelong)
{
    struct Probe {
        int x, y;
        char expected;
    };
    struct Case {
        QSize picture;
        int aspect, border;
        std::vector<Probe> probes;
    };
    const Case cases[] = {
        {{48, 32},
         1,
         1,
         {{8, 16, 'r'}, {55, 47, 'r'}, {7, 15, 'k'}, {56, 48, 'k'}, {30, 15, 'k'}, {6, 14, '.'}, {57, 30, '.'}}},
        {{48, 32}, 1, 0, {{8, 16, 'r'}, {7, 15, '.'}, {56, 48, '.'}}},
        {{200, 100}, 1, 1, {{0, 16, 'k'}, {63, 47, 'k'}, {1, 17, 'r'}, {62, 46, 'r'}, {0, 15, '.'}, {30, 48, '.'}}},
        {{100, 200}, 1, 1, {{16, 0, 'k'}, {47, 63, 'k'}, {17, 30, 'r'}, {15, 30, '.'}, {48, 30, '.'}}},
        {{200, 100}, 0, 1, {{0, 0, 'k'}, {63, 63, 'k'}, {1, 1, 'r'}, {62, 62, 'r'}}},
        {{64, 64}, 1, 1, {{0, 0, 'r'}, {63, 63, 'r'}}}, // its frame lies outside the cell
    };
    for (const Case& c : cases) {
        const QImage cell =
            drawThumbnail(filled(c.picture.width(), c.picture.height()), c.picture, {64, 64}, c.aspect, c.border)
                .toImage();
        ASSERT_EQ(cell.size(), QSize(64, 64));
        for (const Probe& p : c.probes)
            EXPECT_EQ(seen(cell, p.x, p.y), p.expected) << c.picture.width() << "x" << c.picture.height() << " aspect "
                                                        << c.aspect << " at " << p.x << "," << p.y;
    }
}

TEST_F(FileListTest, PictureFilesDecodeToTheirCellAndBadOnesFail)
{
    const QString jpg = writeFile("big.jpg", encoded(filled(800, 400), "JPG"));
    const QString bmp = writeFile("small.bmp", encoded(filled(48, 32), "BMP"));
    const QString gif = writeFile("pic.gif", redGif());
    const QString misnamed = writeFile("really-a-bmp.rle", encoded(filled(20, 10), "BMP"));
    QSize natural;
    const QImage reduced = loadThumbnailPicture(jpg, {64, 64}, 1, &natural);
    EXPECT_EQ(natural, QSize(800, 400));
    EXPECT_EQ(reduced.size(), QSize(64, 32)) << "decoded at the size it is drawn";
    EXPECT_EQ(seen(renderThumbnail(bmp, {64, 64}, 1, 1).toImage(), 7, 15), 'k');
    EXPECT_TRUE(showsRed(renderThumbnail(gif, {64, 64}, 1, 0)));
    EXPECT_EQ(seen(renderThumbnail(misnamed, {64, 64}, 1, 1).toImage(), 32, 32), 'r') << "format from the content";

    QFile::link(jpg, work() + "/link.jpg");
    ASSERT_EQ(::mkfifo(QFile::encodeName(work() + "/pipe.jpg").constData(), 0600), 0);
    const struct {
        QString path;
        int number;
    } bad[] = {
        {work() + "/missing.jpg", 53},
        {makeDir("folder.jpg"), 75},
        {work() + "/link.jpg", 481}, // never followed
        {work() + "/pipe.jpg", 481}, // never opened: it would wait for a writer
        {writeFile("damaged.jpg", encoded(filled(64, 64), "JPG").left(40)), 481},
        {writeFile("text.gif", "GIF89a but not really"), 481},
        {writeFile("drawing.wmf", QByteArray::fromHex("d7cdc69a0000")), 481},
        {writeFile("empty.bmp"), 481},
    };
    for (const auto& b : bad) {
        try {
            renderThumbnail(b.path, {64, 64}, 1, 1);
            ADD_FAILURE() << "no failure for " << b.path.toStdString();
        } catch (const platform::Failure& f) {
            EXPECT_EQ(f.number(), b.number) << b.path.toStdString();
        }
    }
}

TEST_F(FileListTest, ACameraThumbnailServesWhenItShowsTheWholePhotoLargeEnough)
{
    const QByteArray photo = encoded(filled(800, 600), "JPG");
    struct Case {
        const char* name;
        QByteArray bytes;
        char expected; // 'b' the stored thumbnail was used, 'r' the photo itself
    };
    QByteArray broken = withExifThumbnail(photo, filled(160, 120, Qt::blue));
    broken[39] = char(0x7F); // the thumbnail's offset now points far outside the segment
    QByteArray unknownOrder = withExifThumbnail(photo, filled(160, 120, Qt::blue));
    unknownOrder[12] = 'X'; // neither "II" nor "MM"
    const Case cases[] = {
        {"camera.jpg", withExifThumbnail(photo, filled(160, 120, Qt::blue)), 'b'},
        {"letterboxed.jpg", withExifThumbnail(photo, filled(160, 90, Qt::blue)), 'r'},
        {"tiny.jpg", withExifThumbnail(photo, filled(40, 30, Qt::blue)), 'r'},
        {"broken.jpg", broken, 'r'},
        {"unknown.jpg", unknownOrder, 'r'},
    };
    for (const Case& c : cases) {
        const QString path = writeFile(c.name, c.bytes);
        QSize natural;
        const QImage img = loadThumbnailPicture(path, {64, 64}, 1, &natural);
        EXPECT_EQ(natural, QSize(800, 600)) << c.name;
        EXPECT_EQ(img.size(), QSize(64, 48)) << c.name;
        const QColor mid = img.pixelColor(32, 24);
        EXPECT_EQ(mid.blue() > 200 ? 'b' : mid.red() > 200 ? 'r' : '?', c.expected) << c.name;
    }
}

// A photo taken with the camera turned is drawn upright: the Exif orientation
// is applied to the decoded photo, to its reduced decode and to the camera's
// own small copy, and the sizes that place it are the upright ones.
TEST_F(FileListTest, ThumbnailsFollowTheExifOrientation)
{
    // Left half red, right half blue, as the sensor saw it.
    auto halves = [](int w, int h, QColor left, QColor right) {
        QImage img = filled(w, h, left);
        for (int y = 0; y < h; ++y)
            for (int x = w / 2; x < w; ++x)
                img.setPixelColor(x, y, right);
        return img;
    };
    auto colour = [](const QImage& img, int x, int y) {
        const QColor c = img.pixelColor(x, y);
        return c.red() > 180 && c.blue() < 80   ? 'r'
               : c.blue() > 180 && c.red() < 80 ? 'b'
               : c.green() > 180                ? 'g'
                                                : '?';
    };
    const QByteArray big = encoded(halves(800, 400, Qt::red, Qt::blue), "JPG");
    const QByteArray small = encoded(halves(40, 20, Qt::red, Qt::blue), "JPG");
    struct Case {
        const char* name;
        QByteArray bytes;
        QSize natural, decoded;
        QPoint first, second; // where the red and the other half are seen
        char other = 'b';     // green: the camera's own copy was drawn
    };
    const Case cases[] = {
        {"turned.jpg", withExifThumbnail(big, QImage(), 6), {400, 800}, {32, 64}, {16, 8}, {16, 56}},
        {"turned-camera.jpg",
         withExifThumbnail(big, halves(160, 80, Qt::red, Qt::green), 6),
         {400, 800},
         {32, 64},
         {16, 8},
         {16, 56},
         'g'},
        {"upside-down.jpg", withExifThumbnail(big, QImage(), 3), {800, 400}, {64, 32}, {56, 16}, {8, 16}},
        {"turned-left.jpg", withExifThumbnail(big, QImage(), 8), {400, 800}, {32, 64}, {16, 56}, {16, 8}},
        {"small-turned.jpg", withExifThumbnail(small, QImage(), 6), {20, 40}, {20, 40}, {10, 5}, {10, 35}},
        {"upright.jpg", withExifThumbnail(big, QImage(), 1), {800, 400}, {64, 32}, {8, 16}, {56, 16}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = writeFile(c.name, c.bytes);
        QSize natural;
        const QImage img = loadThumbnailPicture(path, {64, 64}, 1, &natural);
        EXPECT_EQ(natural, c.natural);
        ASSERT_EQ(img.size(), c.decoded);
        EXPECT_EQ(colour(img, c.first.x(), c.first.y()), 'r');
        EXPECT_EQ(colour(img, c.second.x(), c.second.y()), c.other);
    }
    // The drawn cell: upright and centred, red above blue.
    const QImage cell = renderThumbnail(work() + "/turned.jpg", {64, 64}, 1, 0).toImage();
    EXPECT_EQ(colour(cell, 32, 8), 'r');
    EXPECT_EQ(colour(cell, 32, 56), 'b');
    EXPECT_EQ(cell.pixelColor(4, 32).alpha(), 0) << "a portrait picture leaves the sides free";
}

TEST_F(FileListTest, IconKeysAndIndexes)
{
    resetSysIcons(host);
    const platform::ImageList& small = files.imagelistSysIcons;
    const platform::ImageList& large = files.imagelistSysIconsLarge;
    struct Case {
        const char* path;
        qint16 isDir;
        const char* key; // "" : nothing added, default file icon
    };
    const Case cases[] = {
        {"/data/README", 0, ""},
        {"/data.old/README", 0, ""},
        {"/data/archive.tar.gz", 0, ">GZ"},
        {"/data/.profile", 0, ">PROFILE"},
        {"/data/name.", 0, ">"},
        {"/a/Setup.EXE", 0, "/a/Setup.EXE"},
        {"/b/setup.exe", 0, "/b/setup.exe"},
        {"/b/pointer.Cur", 0, "/b/pointer.Cur"},
        {"/b/sub", -1, "/b/sub"},
        {"/b/x.txt", 0, ">TXT"},
    };
    for (const Case& c : cases) {
        const int before = small.count();
        files.sysIconLargeIndex = 0;
        const qint16 got = getSysIcon(host, QString::fromUtf8(c.path), c.isDir);
        if (*c.key == 0) {
            EXPECT_EQ(got, 1) << c.path;
            EXPECT_EQ(files.sysIconLargeIndex, 1) << c.path;
            EXPECT_EQ(small.count(), before) << c.path;
            continue;
        }
        EXPECT_EQ(got, small.count()) << c.path;
        EXPECT_EQ(small.keys.last(), QString::fromUtf8(c.key));
        EXPECT_EQ(files.sysIconLargeIndex, large.count()) << c.path;
        EXPECT_EQ(large.keys.last(), QString::fromUtf8(c.key));
        EXPECT_EQ(small.image(got).size(), QSize(16, 16));
        EXPECT_EQ(large.image(files.sysIconLargeIndex).size(), QSize(64, 64));
    }
    // One entry per extension whatever its case; the second lookup asks nothing.
    const int counts = small.count() + large.count();
    const qint16 txt = getSysIcon(host, "/c/y.TXT", 0);
    EXPECT_EQ(txt, small.indexOfKey(">TXT"));
    EXPECT_EQ(files.sysIconLargeIndex, large.indexOfKey(">TXT"));
    EXPECT_EQ(small.count() + large.count(), counts);
    // Every directory keeps its own key but all show one shared picture.
    const qint16 other = getSysIcon(host, "/c/other", -1);
    EXPECT_EQ(small.image(other).cacheKey(), small.image(small.indexOfKey("/b/sub")).cacheKey());
    EXPECT_NE(small.image(other).cacheKey(), small.image(txt).cacheKey());

    options.useSysIcons = 0;
    const int before = small.count();
    EXPECT_EQ(getSysIcon(host, "/c/new", -1), 2);
    EXPECT_EQ(files.sysIconLargeIndex, 2);
    EXPECT_EQ(getSysIconFreeSel(host, "/c/new.doc", 0), 1);
    EXPECT_EQ(files.sysIconLargeIndex, 1);
    EXPECT_EQ(small.count(), before);
    EXPECT_EQ(files.imagelistSysIconsFreeSelect.count(), 0) << "nothing looked up";
    EXPECT_FALSE(QFile::exists(logs->errorFile()));
}

TEST_F(FileListTest, ThumbnailsAreKeptByPathAndFailuresAreRetried)
{
    resetSysIcons(host);
    resetSysIconsFreeSel(host);
    const QString a = writeFile("a.jpg", encoded(filled(200, 100), "JPG"));
    const QString b = writeFile("b.jpg", encoded(filled(20, 20), "JPG"));
    const QString bad = writeFile("bad.jpg", "not a picture");

    files.makeThumbnailsNow = -1;
    const qint16 smallA = getSysIcon(host, a, 0);
    const int largeA = files.sysIconLargeIndex;
    files.makeThumbnailsNow = 0;
    EXPECT_EQ(files.imagelistSysIcons.keys.at(smallA - 1), ">JPG");
    EXPECT_EQ(files.imagelistSysIconsLarge.keys.at(largeA - 1), a);
    EXPECT_EQ(seen(files.imagelistSysIconsLarge.image(largeA).toImage(), 0, 16), 'k');

    // Without thumbnails a picture file shows its extension's icon in both lists.
    EXPECT_EQ(getSysIcon(host, b, 0), smallA);
    EXPECT_EQ(files.imagelistSysIconsLarge.keys.at(files.sysIconLargeIndex - 1), ">JPG");

    // A stored thumbnail answers without reading the file again.
    QFile::remove(a);
    files.makeThumbnailsNow = -1;
    EXPECT_EQ(getSysIcon(host, a, 0), smallA);
    EXPECT_EQ(files.sysIconLargeIndex, largeA);

    // A damaged picture: default images, one error line, nothing kept.
    const int largeCount = files.imagelistSysIconsLarge.count();
    EXPECT_EQ(getSysIcon(host, bad, 0), 1);
    EXPECT_EQ(files.sysIconLargeIndex, 1);
    EXPECT_EQ(files.imagelistSysIconsLarge.count(), largeCount);
    EXPECT_EQ(getSysIconFreeSel(host, makeDir("shots.bmp"), -1), 1) << "the collection gives the file icon";
    const QStringList errors = readLines(logs->errorFile());
    ASSERT_EQ(errors.size(), 2);
    EXPECT_TRUE(errors[0].endsWith(") Error 481 (Invalid picture) Get Thumbnails (sysIcons): File=" + bad))
        << errors[0].toStdString();
    EXPECT_TRUE(errors[1].endsWith("Error 75 (Path/File access error) Get Thumbnails (sysIcons FreeSel): " + work() +
                                   "/shots.bmp"))
        << errors[1].toStdString();
    // Repaired, it is tried again and kept.
    writeFile("bad.jpg", encoded(filled(10, 10), "JPG"));
    getSysIcon(host, bad, 0);
    EXPECT_EQ(files.sysIconLargeIndex, largeCount + 1);
    EXPECT_EQ(readLines(logs->errorFile()).size(), 2);
    files.makeThumbnailsNow = 0;
}

TEST_F(FileListTest, IconFilesShowTheirOwnPicture)
{
    resetSysIcons(host);
    const QString ico = writeFile("blue.ico", encoded(filled(16, 16, Qt::blue), "ICO"));
    const QString broken = writeFile("broken.ico", "nothing");
    const QImage own = files.imagelistSysIcons.image(getSysIcon(host, ico, 0)).toImage();
    EXPECT_EQ(own.pixelColor(8, 8), QColor(Qt::blue));
    const QImage large = files.imagelistSysIconsLarge.image(files.sysIconLargeIndex).toImage();
    EXPECT_EQ(large.pixelColor(32, 32), QColor(Qt::blue)) << "the 32 x 32 picture sits in the middle";
    EXPECT_EQ(large.pixelColor(8, 8).alpha(), 0);
    const qint16 fallback = getSysIcon(host, broken, 0);
    EXPECT_GT(fallback, 3) << "an unreadable icon file gets its type's icon";
    EXPECT_FALSE(QFile::exists(logs->errorFile()));
}

// ------------------------------------------------------------ generation

namespace {

platform::ListRow listRow(const QString& dir, const QString& name)
{
    platform::ListRow r;
    r.cells[0] = name;
    r.cells[2] = dir;
    r.smallIcon = 1;
    r.largeIcon = 1;
    return r;
}

} // namespace

TEST_F(FileListTest, GenerationShowsProgressAndEscapeStopsAfterTheRow)
{
    resetSysIcons(host);
    std::vector<platform::ListRow> rows;
    for (int i = 1; i <= 10; ++i) {
        writeFile(QString("p%1.bmp").arg(i), encoded(filled(40 + i, 30), "BMP"));
        rows.push_back(listRow(dir(), QString("p%1.bmp").arg(i)));
    }
    status->setPanelText("main", "2 Files, 0 Directories");
    status->setPanelText("selected", "0 Selected");

    // Eight rows: the percentage after each row, halves to the even neighbour.
    lwDirectory->setRows(std::vector<platform::ListRow>(rows.begin(), rows.begin() + 8));
    QStringList texts;
    bool busyMeanwhile = true;
    ui.onEscapeRead = [&] {
        texts << panel("main");
        busyMeanwhile = busyMeanwhile && !window->isEnabled() && ui.mousePointer() == 11 &&
                        files.makeThumbnailsNow == -1 && panel("selected") == "Press escape to cancel...";
    };
    generateThumbnails(host);
    QStringList expected;
    for (const char* p : {"12", "25", "38", "50", "62", "75", "88", "100"})
        expected << QString("Generating Thumbnails... %1%").arg(p);
    EXPECT_EQ(texts, expected);
    EXPECT_TRUE(busyMeanwhile);
    EXPECT_EQ(files.thumbnailsShownDir, -1);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(lwDirectory->row(i).smallIcon, 1) << "small images stay";
        EXPECT_EQ(files.imagelistSysIconsLarge.keys.at(lwDirectory->row(i).largeIcon - 1),
                  dir() + rows[size_t(i)].text());
    }

    // Ten rows, Escape during row 5.
    resetSysIcons(host);
    lwDirectory->setRows(rows);
    int reads = 0;
    ui.onEscapeRead = [&] {
        if (++reads == 5)
            ui.latchEscape();
    };
    generateThumbnails(host);
    EXPECT_EQ(reads, 5);
    EXPECT_EQ(files.thumbnailsShownDir, 0);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(lwDirectory->row(i).largeIcon > 3, i < 5) << i;
    EXPECT_EQ(files.makeThumbnailsNow, 0);
    EXPECT_EQ(panel("main"), "2 Files, 0 Directories");
    EXPECT_EQ(panel("selected"), "0 Selected");
    EXPECT_TRUE(window->isEnabled());
    EXPECT_EQ(ui.mousePointer(), 0);

    // An empty list completes at once.
    ui.onEscapeRead = nullptr;
    lwDirectory->clear();
    generateThumbnails(host);
    EXPECT_EQ(files.thumbnailsShownDir, -1);
    EXPECT_EQ(panel("main"), "2 Files, 0 Directories");
}

TEST_F(FileListTest, FreeSelectGenerationStopsThePreviewAndLeavesARunsWindowDisabled)
{
    resetSysIconsFreeSel(host);
    writeFile("a.gif", redGif());
    makeDir("sub");
    std::vector<platform::ListRow> rows{listRow(dir(), "a.gif"), listRow(dir(), "sub"), listRow(dir(), "gone.gif")};
    lwDragDrop->setRows(rows);
    preview.previewRequested = -1;
    preview.previewToken = 7;
    executeBusy = -1; // a run's log window is open
    window->setEnabled(false);
    ui.setMousePointer(11);
    generateThumbnailsFreeSelect(host);
    EXPECT_EQ(preview.previewRequested, 0);
    EXPECT_EQ(preview.previewToken, -1);
    EXPECT_EQ(files.thumbnailsShownFreeSel, -1);
    EXPECT_FALSE(window->isEnabled()) << "the run enables it when it ends";
    EXPECT_EQ(ui.mousePointer(), 11);
    const platform::ImageList& large = files.imagelistSysIconsFreeSelectLarge;
    EXPECT_EQ(large.keys.at(lwDragDrop->row(0).largeIcon - 1), dir() + "a.gif");
    EXPECT_EQ(large.keys.at(lwDragDrop->row(1).largeIcon - 1), dir() + "sub");
    // A row whose file is gone is looked up as a directory: its thumbnail fails.
    EXPECT_EQ(lwDragDrop->row(2).largeIcon, 1);
    EXPECT_EQ(readLines(logs->errorFile()).size(), 1);
    executeBusy = 0;
    ui.setMousePointer(0);
}

TEST_F(FileListTest, GenerationOfManyPicturesGivesEachRowItsOwnAndLogsOnlyTheRowsReached)
{
    // The pictures of the coming rows are decoded on other threads: each row
    // must still get its own picture, a failure must be written when its row
    // is reached and not before, and a picture too large to decode ahead is
    // decoded by the run itself.
    resetSysIcons(host);
    struct Entry {
        QString name;
        QByteArray bytes;
        QColor colour; // what the middle of its cell shows; invalid: it fails
    };
    std::vector<Entry> entries;
    for (int i = 0; i < 14; ++i) {
        const QColor c = QColor::fromHsv(i * 25, 255, 255);
        entries.push_back({QString("photo%1.jpg").arg(i, 2, 10, QChar('0')), encoded(filled(2000, 1000, c), "JPG"), c});
    }
    entries[3] = {"damaged.jpg", encoded(filled(2000, 1000), "JPG").left(300), QColor()};
    entries[8] = {"large.bmp", encoded(filled(1200, 1000, Qt::blue), "BMP"), QColor(Qt::blue)};
    entries[11] = {"later damaged.jpg", "no picture at all", QColor()};
    std::vector<platform::ListRow> rows;
    for (const Entry& e : entries) {
        writeFile(e.name, e.bytes);
        rows.push_back(listRow(dir(), e.name));
    }
    lwDirectory->setRows(rows);
    const auto middle = [&](int row) {
        return files.imagelistSysIconsLarge.image(lwDirectory->row(row).largeIcon).toImage().pixelColor(32, 32);
    };
    const auto near = [](QColor a, QColor b) {
        return std::abs(a.red() - b.red()) < 24 && std::abs(a.green() - b.green()) < 24 &&
               std::abs(a.blue() - b.blue()) < 24;
    };

    // Escape during row 6: the failure of row 11, decoded ahead, is not written.
    int reads = 0;
    ui.onEscapeRead = [&] {
        if (++reads == 6)
            ui.latchEscape();
    };
    generateThumbnails(host);
    ui.onEscapeRead = nullptr;
    EXPECT_EQ(files.thumbnailsShownDir, 0);
    QStringList errors = readLines(logs->errorFile());
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(
        errors[0].endsWith("Error 481 (Invalid picture) Get Thumbnails (sysIcons): File=" + dir() + "damaged.jpg"))
        << errors[0].toStdString();
    for (int i = 0; i < 14; ++i) {
        if (i >= 6 || !entries[size_t(i)].colour.isValid())
            EXPECT_EQ(lwDirectory->row(i).largeIcon, 1) << i;
        else
            EXPECT_TRUE(near(middle(i), entries[size_t(i)].colour)) << i;
    }

    // Run again to the end: the damaged picture is tried again, the rest follow.
    generateThumbnails(host);
    EXPECT_EQ(files.thumbnailsShownDir, -1);
    errors = readLines(logs->errorFile());
    ASSERT_EQ(errors.size(), 3);
    EXPECT_TRUE(errors[1].endsWith("File=" + dir() + "damaged.jpg")) << errors[1].toStdString();
    EXPECT_TRUE(errors[2].endsWith("File=" + dir() + "later damaged.jpg")) << errors[2].toStdString();
    for (int i = 0; i < 14; ++i) {
        const Entry& e = entries[size_t(i)];
        if (!e.colour.isValid()) {
            EXPECT_EQ(lwDirectory->row(i).largeIcon, 1) << i;
            continue;
        }
        EXPECT_EQ(files.imagelistSysIconsLarge.keys.at(lwDirectory->row(i).largeIcon - 1), dir() + e.name);
        EXPECT_TRUE(near(middle(i), e.colour)) << i << " " << middle(i).name().toStdString();
    }
    EXPECT_EQ(files.thumbnailsAhead, nullptr);
}

TEST(ThumbnailPicture, ADecodeAboveTheLimitIsLeftUndone)
{
    QTemporaryDir tmp;
    const QString path = tmp.path() + "/wide.bmp";
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(encoded(filled(300, 200), "BMP"));
    f.close();
    QSize natural;
    EXPECT_TRUE(loadThumbnailPicture(path, {64, 64}, 1, &natural, 300 * 200 - 1).isNull());
    EXPECT_EQ(natural, QSize(300, 200));
    const QImage whole = loadThumbnailPicture(path, {64, 64}, 1, &natural, 300 * 200);
    EXPECT_FALSE(whole.isNull());
    EXPECT_EQ(whole.size(), QSize(64, 43)) << "shrunk for the cell";
}

namespace {

// An icon file of the given pictures (PNG data, each with its directory entry);
// entries may share their data.
QByteArray iconFile(const std::vector<QByteArray>& pictures)
{
    QByteArray out;
    const auto put16 = [&](int v) { out += char(v & 0xFF), out += char((v >> 8) & 0xFF); };
    const auto put32 = [&](quint32 v) {
        put16(int(v & 0xFFFF));
        put16(int(v >> 16));
    };
    put16(0);
    put16(1);
    put16(int(pictures.size()));
    quint32 offset = 6 + 16 * quint32(pictures.size());
    std::vector<quint32> offsets;
    QByteArray data;
    for (const QByteArray& p : pictures) {
        const qsizetype at = data.indexOf(p);
        offsets.push_back(at >= 0 ? offset + quint32(at) : offset + quint32(data.size()));
        if (at < 0)
            data += p;
    }
    for (size_t i = 0; i < pictures.size(); ++i) {
        out += char(0), out += char(0), out += char(0), out += char(0); // 256 x 256, as the entry says
        put16(1);
        put16(32);
        put32(quint32(pictures[i].size()));
        put32(offsets[i]);
    }
    return out + data;
}

// A progressive JPEG whose frame header is made to claim `side` x `side`.
QByteArray progressiveJpegClaiming(int side)
{
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    QImageWriter writer(&buf, "jpeg");
    writer.setProgressiveScanWrite(true);
    EXPECT_TRUE(writer.write(filled(16, 16)));
    const qsizetype sof = bytes.indexOf("\xFF\xC2");
    EXPECT_GT(sof, 0);
    for (int at : {5, 7}) {
        bytes[sof + at] = char(side >> 8);
        bytes[sof + at + 1] = char(side & 0xFF);
    }
    return bytes;
}

} // namespace

// An icon file shows the one picture nearest the drawn size; the size comes
// from each picture's own header, so pictures too large to draw (40 of them
// here) are never decoded, and a file of nothing else gets its type's icon.
TEST_F(FileListTest, AnIconFileDecodesOnlyThePictureNearestTheDrawnSize)
{
    resetSysIcons(host);
    const QByteArray huge = encoded(filled(2000, 2000, Qt::green), "PNG");
    std::vector<QByteArray> pictures(40, huge);
    pictures.insert(pictures.begin() + 7, encoded(filled(32, 32, Qt::blue), "PNG"));
    pictures.insert(pictures.begin() + 20, encoded(filled(16, 16, Qt::red), "PNG"));
    pictures.push_back(encoded(filled(48, 48, Qt::yellow), "PNG"));
    const QString ico = writeFile("many.ico", iconFile(pictures));
    const QImage small = files.imagelistSysIcons.image(getSysIcon(host, ico, 0)).toImage();
    EXPECT_EQ(small.pixelColor(8, 8), QColor(Qt::red));
    const QImage large = files.imagelistSysIconsLarge.image(files.sysIconLargeIndex).toImage();
    EXPECT_EQ(large.pixelColor(32, 32), QColor(Qt::blue));

    const QString onlyHuge = writeFile("huge.ico", iconFile(std::vector<QByteArray>(40, huge)));
    EXPECT_GT(getSysIcon(host, onlyHuge, 0), 3) << "its type's icon";
    EXPECT_FALSE(QFile::exists(logs->errorFile()));
}

// A header that claims more than the bound is refused before any decode: a
// progressive JPEG of 30000 x 30000 in a few hundred bytes would otherwise hold
// gigabytes (a progressive decode keeps every coefficient, even reduced).
TEST_F(FileListTest, APictureWhoseHeaderClaimsTooMuchIsRefusedUndecoded)
{
    const QString bomb = writeFile("bomb.jpg", progressiveJpegClaiming(30000));
    EXPECT_LT(QFileInfo(bomb).size(), 1024);
    QSize natural;
    try {
        loadThumbnailPicture(bomb, {64, 64}, 1, &natural);
        ADD_FAILURE() << "decoded";
    } catch (const platform::Failure& f) {
        EXPECT_EQ(f.number(), 481);
    }
    EXPECT_EQ(natural, QSize(30000, 30000));

    // In the list: the picture's row gets the "Invalid picture" line.
    resetSysIcons(host);
    files.makeThumbnailsNow = -1;
    getSysIcon(host, bomb, 0);
    files.makeThumbnailsNow = 0;
    const QStringList errors = readLines(logs->errorFile());
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].endsWith(") Error 481 (Invalid picture) Get Thumbnails (sysIcons): File=" + bomb))
        << errors[0].toStdString();

    // The same picture at its true size decodes as before.
    const QString fine = writeFile("fine.jpg", progressiveJpegClaiming(16));
    EXPECT_FALSE(loadThumbnailPicture(fine, {64, 64}, 1, &natural).isNull());
}
