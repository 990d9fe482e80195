// The Format language over real media headers: picture sizes and movie values.
#include "engine/format.h"
#include "engine/logs.h"
#include "engine/random.h"
#include "engine/renameoptions.h"
#include "mediafixtures.h"
#include "test_support.h"

class FormatMediaTest : public TempEnv {};

TEST_F(FormatMediaTest, PictureAndMovieTagsNameFixtureFiles)
{
    writeFile("photo.png", fixtures::png(640, 480, 8, 6));
    writeFile("scan.bmp", fixtures::bmp(800, -600, 24)); // a top-down bitmap
    fixtures::AviStreams a;
    a.fileSize = 1000000;
    writeFile("movie.avi", fixtures::avi(a));
    Logs logs(programFolder());
    RandomSource random(1);
    FormatContext context{random};
    context.logs = &logs;
    context.media.logError = logs.errorSink();
    RenameOptions o;
    o.allTagsRequired = 1;
    o.formatText = "<WIDTH>x<HEIGHT>.<EXT>";
    EXPECT_EQ(formatFilename("photo.png", work() + "/", o, context), "640x480.png");
    EXPECT_EQ(formatFilename("scan.bmp", work() + "/", o, context), "800x600.bmp");
    o.formatText = "<NAME> <LENGTH> <FPS>fps <CODEC>";
    EXPECT_EQ(formatFilename("movie.avi", work() + "/", o, context), "movie 10 Sec 15fps DIV3");
    EXPECT_EQ(logs.errorLogged, 0);
}
