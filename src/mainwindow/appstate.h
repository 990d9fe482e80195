#pragma once
#include "engine/configtypes.h"
#include "engine/logs.h"
#include "engine/previewstate.h"
#include "engine/random.h"
#include "filelist/filelists.h"
#include "platform/places.h"
#include "settings/settings.h"

// The program-wide values of every subsystem, gathered in one place that the
// main window owns and hands down by reference. A test builds a fresh one.
struct AppState {
    Logs logs{platform::programFolder()};
    RandomSource random;
    ConfigTables tables;
    PreviewState preview;
    FileListState files;
    Settings settings;
};
