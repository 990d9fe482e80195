#include "platform/captionfit.h"
#include "platform/twips.h"

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
