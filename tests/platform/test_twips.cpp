#include "platform/captionfit.h"
#include "platform/outersize.h"
#include "platform/twips.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

using namespace platform;

namespace {

QFont sans(double points)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPointSizeF(points);
    return f;
}

} // namespace

// The design's 15 twips per pixel hold up to the font the layout was drawn
// for; a larger font gives fewer twips per pixel, so every place grows with it,
// and the number stays whole, so stored twips come back to the same pixels.
TEST(Twips, ThePixelsPerTwipGrowWithTheFont)
{
    EXPECT_EQ(twipsPerPixel(sans(5)), 15);
    int last = 15;
    for (double points : {8.0, 9.0, 10.0, 11.0, 13.0, 16.0, 24.0, 72.0, 400.0}) {
        const int tpp = twipsPerPixel(sans(points));
        EXPECT_LE(tpp, last) << points;
        EXPECT_GE(tpp, 1) << points;
        // The font's average letter is no wider than the design's 90 twips.
        const QFontMetricsF m(sans(points));
        const double letter =
            m.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 52;
        if (tpp > 1) {
            EXPECT_LE(letter * tpp, 90.0 + 1e-6) << points;
        }
        last = tpp;
    }
    EXPECT_LT(twipsPerPixel(sans(13)), twipsPerPixel(sans(9)));
}

TEST(Twips, ConversionsFollowTheApplicationFont)
{
    const QFont old = QApplication::font();
    QApplication::setFont(sans(11));
    const int tpp = twipsPerPixel(sans(11));
    EXPECT_EQ(twipsPerPixel(), tpp);
    EXPECT_EQ(toPixels(4695), 4695 / tpp);
    EXPECT_EQ(toTwips(313), 313 * tpp);
    // What the program stores comes back to the same pixels.
    for (int px : {0, 1, 550, 1599})
        EXPECT_EQ(toPixels(int(toTwips(px))), px);
    // Controls that meet in twips meet in pixels.
    const QRect help = pixelRect(3720, 6600, 735, 240);
    const QRect about = pixelRect(3720, 6840, 735, 255);
    EXPECT_EQ(help.bottom() + 1, about.top());
    EXPECT_EQ(pixelRect(120, 120, 735, 240).right() + 1, pixelRect(855, 120, 735, 240).left());
    QApplication::setFont(old);
}

// A restored window is cut to the screen's available area and moved onto it,
// but never below its minimum; without a screen it stays as it was.
TEST(StoredGeometry, ARestoredRectangleIsFittedToTheAvailableArea)
{
    struct Case {
        QRect outer;
        QSize minimum;
        QRect area;
        QRect fitted;
    };
    const QRect area(0, 30, 1400, 970); // a panel along the top
    const Case cases[] = {
        {{100, 100, 800, 600}, {550, 528}, area, {100, 100, 800, 600}}, // fits: left alone
        {{30, 20, 1734, 1208}, {550, 528}, area, {0, 30, 1400, 970}},   // grown by a large font
        {{900, 700, 800, 600}, {550, 528}, area, {600, 400, 800, 600}}, // past the right and bottom edges
        {{-500, -40, 800, 600}, {550, 528}, area, {0, 30, 800, 600}},   // left of and above the area
        {{10, 40, 1734, 1208}, {1500, 528}, area, {0, 30, 1500, 970}},  // the minimum is wider than the area
        {{1600, 40, 800, 600}, {550, 528}, {1400, 0, 1280, 1024}, {1600, 40, 800, 600}}, // a second screen
        {{30, 20, 1734, 1208}, {550, 528}, QRect(), {30, 20, 1734, 1208}},               // no screen known
    };
    for (const Case& c : cases)
        EXPECT_EQ(fitToArea(c.outer, c.minimum, c.area), c.fitted) << c.outer.x() << "," << c.outer.y();
}

// A window's minimum is cut to the screen's available area, so a large font
// on a small screen never puts part of the window off the screen; a restored
// window then lies on the area, and without a screen nothing is cut.
TEST(StoredGeometry, AMinimumLargerThanTheAreaIsCutToIt)
{
    const QRect area(0, 30, 1093, 584); // 1366 x 768 at 120 dpi, a panel along the top
    struct Case {
        QSize minimum, onArea;
    };
    const Case cases[] = {{{550, 528}, {550, 528}}, {{687, 660}, {687, 584}}, {{1200, 900}, {1093, 584}}};
    for (const Case& c : cases) {
        EXPECT_EQ(minimumOnArea(c.minimum, area), c.onArea) << c.minimum.width() << "x" << c.minimum.height();
        StoredGeometry g;
        const int tpp = twipsPerPixel();
        for (const QRect twips : {QRect(300, 300, 100 * tpp, 100 * tpp), QRect(-900, 9000, 19500, 13500)}) {
            const QRect placed = g.restore(twips, c.minimum, area);
            EXPECT_TRUE(area.contains(placed)) << ::testing::PrintToString(placed);
            EXPECT_GE(placed.width(), c.onArea.width());
            EXPECT_GE(placed.height(), c.onArea.height());
        }
    }
    EXPECT_EQ(minimumOnArea(QSize(1200, 900), QRect()), QSize(1200, 900));
}

// The stored twips come back unchanged while the window keeps the size it was
// given and stands where the window system put it, also when the scale does
// not divide them or the screen cut the window; a resize stores the new size,
// a move shifts the stored place by the distance moved.
TEST(StoredGeometry, TwipsStandUntilTheWindowIsResizedOrMoved)
{
    const QFont old = QApplication::font();
    QApplication::setFont(sans(11));
    const int tpp = twipsPerPixel();
    ASSERT_NE(19500 % tpp, 0) << "a scale that does not divide the stored twips";
    const QRect twips(450, 300, 19500, 13500);
    const QRect area(0, 0, 1400, 1000);
    StoredGeometry g;
    const QRect placed = g.restore(twips, QSize(550, 528), area);
    EXPECT_EQ(placed, fitToArea(QRect(450 / tpp, 300 / tpp, 19500 / tpp, 13500 / tpp), QSize(550, 528), area));
    EXPECT_EQ(g.twipsFor(placed), twips);
    // The window system put it 4 pixels lower; it was not moved after that.
    g.seen(placed.translated(0, 4));
    g.seen(placed.translated(50, 60));
    EXPECT_EQ(g.twipsFor(placed.translated(0, 4)), twips);
    // Moved by 10 x 20 pixels and resized.
    const QRect changed(placed.x() + 10, placed.y() + 24, 700, 500);
    EXPECT_EQ(g.twipsFor(changed), QRect(450 + 10 * tpp, 300 + 20 * tpp, 700 * tpp, 500 * tpp));
    // A size the window stays at is kept when it comes back unchanged.
    const QRect small = g.restore(QRect(150, 150, 9000, 7500), QSize(550, 528), area);
    EXPECT_EQ(g.twipsFor(small), QRect(150, 150, 9000, 7500));
    QApplication::setFont(old);
}

// A window the user leaves alone stores back the twips it was restored from,
// at every scale, fitted to the screen or not, also when the window system
// rounds its size or place by a pixel after it was placed; a value converted
// back without a change keeps its twips. A real resize stores the size the
// user made, a real move shifts the stored place by the distance moved, and
// each leaves the other edges and lengths as stored.
TEST(StoredGeometry, OnlyTheUsersChangeReachesTheStoredTwipsAtEveryScale)
{
    struct Stored {
        const char* what;
        QRect twips;
        QRect area;
    };
    const Stored stored[] = {
        {"fits the screen", {900, 600, 5960, 9000}, {0, 0, 1280, 800}},
        {"cut to the screen", {900, 600, 5960, 9000}, {0, 0, 933, 667}},
        {"left of and above the screen", {-300, -290, 11000, 7920}, {0, 30, 1400, 970}},
        {"below the minimum", {150, 150, 1500, 900}, {0, 0, 1400, 1000}},
    };
    // What the window system does to the placed rectangle: moves its corner, grows its size
    // (at a fractional scale, by a pixel or two).
    struct Rounding {
        QPoint moved;
        QSize grown;
    };
    const Rounding roundings[] = {
        {{0, 0}, {0, 0}},  {{0, 0}, {1, 0}},  {{0, 0}, {-1, 0}},  {{0, 0}, {0, 1}},
        {{0, 1}, {0, -1}}, {{-1, 0}, {1, 1}}, {{1, -1}, {-1, 1}}, {{2, -2}, {-2, 2}},
    };
    const QSize minimum(370, 194);
    for (const double scale : {1.0, 1.25, 1.5, 1.75, 2.0}) {
        const ScaleScope font(scale);
        ASSERT_TRUE(font.found()) << scale;
        const int tpp = font.twipsPerPixel();
        for (const Stored& s : stored) {
            for (const Rounding& r : roundings) {
                SCOPED_TRACE(::testing::Message()
                             << "scale " << scale << ", " << s.what << ", moved " << r.moved.x() << "," << r.moved.y()
                             << ", grown " << r.grown.width() << "x" << r.grown.height());
                StoredGeometry g;
                const QRect placed = g.restore(s.twips, minimum, s.area);
                g.seen(placed);
                const QRect shown(placed.topLeft() + r.moved, placed.size() + r.grown);
                g.seen(shown);
                EXPECT_EQ(g.twipsFor(shown), s.twips);

                // The user drags the bottom edge, then the whole window.
                const QRect taller = shown.adjusted(0, 0, 0, 40);
                EXPECT_EQ(g.twipsFor(taller), QRect(s.twips.topLeft(), QSize(s.twips.width(), taller.height() * tpp)));
                const QRect moved = taller.translated(30, 25);
                const QPoint distance = moved.topLeft() - placed.topLeft();
                EXPECT_EQ(g.twipsFor(moved), QRect(s.twips.x() + distance.x() * tpp, s.twips.y() + distance.y() * tpp,
                                                   s.twips.width(), taller.height() * tpp));
            }
        }
    }
}

// A caption that needs more room than its place takes it, up to the next
// control on its row or its parent's edge, and never over either.
TEST(CaptionFit, ACaptionWidensUpToItsNeighbourOrTheEdge)
{
    QWidget parent;
    parent.resize(300, 100);
    auto* label = new QLabel(QStringLiteral("A caption far longer than its place"), &parent);
    label->setGeometry(10, 10, 30, 20);
    auto* neighbour = new QPushButton(QStringLiteral("Ok"), &parent);
    neighbour->setGeometry(120, 5, 60, 30);
    auto* box = new QCheckBox(QStringLiteral("Short"), &parent);
    box->setGeometry(10, 50, 200, 20);
    auto* edge = new QCheckBox(QStringLiteral("Another caption far longer than its place"), &parent);
    edge->setGeometry(200, 70, 40, 20);
    auto* below = new QLabel(QStringLiteral("Fits"), &parent);
    below->setGeometry(10, 40, 5, 8);

    widenCaptions(&parent);

    EXPECT_EQ(label->geometry(), QRect(10, 10, 110, 20)); // up to the button
    EXPECT_EQ(box->geometry(), QRect(10, 50, 200, 20));   // roomy already: unchanged
    EXPECT_EQ(edge->geometry(), QRect(200, 70, 100, 20)); // up to the parent's edge
    EXPECT_EQ(below->width(), below->sizeHint().width()); // nothing on its row
}
