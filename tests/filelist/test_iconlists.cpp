#include "filelist_fixture.h"

#include <QImage>

namespace {

// The bounding box of the opaque pixels of an image.
QRect opaqueArea(const QPixmap& pm)
{
    const QImage img = pm.toImage().convertToFormat(QImage::Format_ARGB32);
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qAlpha(img.pixel(x, y)) > 0)
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

TEST_F(FileListTest, AResetLeavesTheThreeDefaultEntries)
{
    files.imagelistSysIcons.add("x", QPixmap(16, 16));
    files.thumbnailsShownDir = -1;
    resetSysIcons(host);
    resetSysIcons(host);
    for (const platform::ImageList* l : {&files.imagelistSysIcons, &files.imagelistSysIconsLarge}) {
        EXPECT_EQ(l->keys, (QStringList{"default_file", "default_dir", "default_ghostdir"}));
        EXPECT_EQ(l->count(), 3);
    }
    EXPECT_EQ(files.imagelistSysIcons.size, QSize(16, 16));
    EXPECT_EQ(files.imagelistSysIconsLarge.size, QSize(64, 64));
    EXPECT_EQ(files.imagelistSysIcons.image(1).size(), QSize(16, 16));
    EXPECT_EQ(files.thumbnailsShownDir, 0);
    EXPECT_EQ(lwDirectory->model()->smallIcons(), &files.imagelistSysIcons);
    EXPECT_EQ(lwDirectory->model()->largeIcons(), &files.imagelistSysIconsLarge);
}

TEST_F(FileListTest, TheFreeSelectResetBindsItsOwnPair)
{
    files.thumbnailsShownFreeSel = -1;
    resetSysIconsFreeSel(host);
    EXPECT_EQ(files.imagelistSysIconsFreeSelect.keys, (QStringList{"default_file", "default_dir", "default_ghostdir"}));
    EXPECT_EQ(files.imagelistSysIconsFreeSelectLarge.count(), 3);
    EXPECT_EQ(lwDragDrop->model()->smallIcons(), &files.imagelistSysIconsFreeSelect);
    EXPECT_EQ(files.thumbnailsShownFreeSel, 0) << "its thumbnails are gone and must be made again";
    EXPECT_EQ(files.imagelistSysIcons.count(), 0) << "the Directory pair is left alone";
}

TEST_F(FileListTest, LargeDefaultsSitInTheMiddleOfTheCell)
{
    struct Case {
        int w, h;
        QRect within;
    };
    const Case cases[] = {
        {64, 64, QRect(16, 16, 32, 32)},
        {65, 40, QRect(16, 4, 34, 32)}, // the corner lies at 16.5, 4
        {16, 16, QRect(0, 0, 16, 16)},  // only the middle of the picture shows
    };
    for (const Case& c : cases) {
        options.thumbsWidth = c.w;
        options.thumbsHeight = c.h;
        resetSysIcons(host);
        const QPixmap pm = files.imagelistSysIconsLarge.image(2);
        EXPECT_EQ(pm.size(), QSize(c.w, c.h));
        const QRect box = opaqueArea(pm);
        EXPECT_FALSE(box.isEmpty());
        EXPECT_TRUE(c.within.contains(box)) << c.w << "x" << c.h;
    }
}

TEST_F(FileListTest, DefaultIconIndexes)
{
    struct Case {
        int alwaysShowDirs, dirsBox, useSysIcons;
        qint16 isDir, expected;
    };
    // 4: the directory's own entry after the three defaults (the desktop's folder icon).
    const Case cases[] = {
        {0, 1, 1, -1, 4}, {0, 1, 1, 0, 1},  {1, 0, 1, -1, 3}, {1, 0, 0, -1, 3},
        {1, 0, 1, 0, 1},  {1, 2, 1, -1, 4}, {1, 1, 1, -1, 4}, {0, 0, 0, -1, 2},
    };
    resetSysIcons(host);
    resetSysIconsFreeSel(host);
    for (const Case& c : cases) {
        options.alwaysShowDirs = c.alwaysShowDirs;
        options.useSysIcons = c.useSysIcons;
        chkDirs->setValue(c.dirsBox);
        files.sysIconLargeIndex = 0;
        EXPECT_EQ(getSysIcon(host, "/p/x", c.isDir), c.expected) << c.alwaysShowDirs << c.dirsBox << c.isDir;
        EXPECT_EQ(files.sysIconLargeIndex, c.expected);
    }
    options.alwaysShowDirs = 1;
    options.useSysIcons = 1;
    chkDirs->setValue(0);
    EXPECT_EQ(getSysIconFreeSel(host, "/p/x", -1), 4) << "the collection has no ghost directories";
    options.useSysIcons = 0;
    EXPECT_EQ(getSysIconFreeSel(host, "/p/y", -1), 2);
}
