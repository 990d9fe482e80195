// libFuzzer target: every input becomes a file that getMediaProperties reads.
#include "mediafuzzinput.h"

#include <QTemporaryDir>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // One scratch folder for the whole run; the reader needs a path.
    static QTemporaryDir dir;
    if (!dir.isValid())
        std::abort();
    mediafuzz::run(dir.path(), data, size);
    return 0;
}
