#include "platform/places.h"
#include "test_support.h"

#include <QDir>

class PlacesTest : public TempEnv {};

TEST_F(PlacesTest, ProgramFolderFollowsTheEnvironment)
{
    EXPECT_EQ(platform::programFolder(), programFolder());
    qunsetenv("VEXORREN_HOME");
    EXPECT_EQ(platform::programFolder(), root() + "/data/vexorren");
    EXPECT_TRUE(QDir(root() + "/data/vexorren").exists());
    EXPECT_EQ(platform::programFile("log.txt"), root() + "/data/vexorren/log.txt");
}

TEST_F(PlacesTest, ShippedHelpPageIsFound)
{
    EXPECT_TRUE(platform::shippedFile("help.html").endsWith("share/vexorren/help.html"));
    EXPECT_TRUE(platform::shippedFile("no-such-file").isEmpty());
}
