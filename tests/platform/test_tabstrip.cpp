// The keyed tab strip: clicks select, the selected tab is drawn as the light
// front tab, and a selected tab of a back row brings its row to the panel.
#include "platform/controls.h"
#include "test_support.h"

#include <QAbstractButton>
#include <QSignalSpy>
#include <QTest>

namespace {

int lightness(const QImage& image, const QAbstractButton* tab)
{
    const QRect r = tab->geometry();
    return QColor(image.pixel(r.left() + 4, r.top() + r.height() / 2 + 3)).lightness();
}

} // namespace

TEST(TabStrip, ABackRowTabComesToTheFrontWhenClicked)
{
    QWidget window;
    platform::TabStrip strip(&window, 4);
    const char* keys[] = {"Replace", "Case", "Enum", "misc", "Attrib", "AddCrop", "Mp3", "Format"};
    for (const char* key : keys)
        strip.addKeyedTab(key, key);
    strip.resize(300, 50);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QSignalSpy changed(&strip, &platform::TabStrip::currentChanged);

    const int frontY = strip.tabButton(0)->y();
    ASSERT_LT(strip.tabButton(7)->y(), frontY); // tabs 5 to 8 start in the back row
    QTest::mouseClick(strip.tabButton(7), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(strip.selectedKey(), "Format");
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(strip.tabButton(7)->y(), frontY);
    EXPECT_LT(strip.tabButton(0)->y(), frontY);

    QTest::mouseClick(strip.tabButton(1), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(strip.selectedKey(), "Case");
    EXPECT_EQ(strip.tabButton(1)->y(), frontY);
    EXPECT_LT(strip.tabButton(7)->y(), frontY);

    // The selected tab is the light one, the others are darker.
    const QImage image = strip.grab().toImage();
    EXPECT_GT(lightness(image, strip.tabButton(1)), lightness(image, strip.tabButton(0)));
    EXPECT_GT(lightness(image, strip.tabButton(1)), lightness(image, strip.tabButton(2)));
}
