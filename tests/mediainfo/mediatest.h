#pragma once
#include "engine/configtypes.h"
#include "engine/logs.h"
#include "mediafixtures.h"
#include "mediainfo/mediainfo.h"
#include "test_support.h"

#include <memory>

// Writes fixtures into the test's scratch folder and reads them back.
class MediaTest : public TempEnv {
protected:
    void SetUp() override
    {
        TempEnv::SetUp();
        logs = std::make_unique<Logs>(programFolder());
        context.logError = logs->errorSink();
        context.codecNames = &tables.codecNames;
        context.waveFormatNames = &tables.waveFormatNames;
        context.yieldDuringScans = false;
    }

    MediaInfo read(const QString& name, const QByteArray& content, int* result = nullptr)
    {
        const QString path = writeFile(name, content);
        MediaInfo info;
        const int r = getMediaProperties(path, info, context);
        if (result)
            *result = r;
        return info;
    }

    ConfigTables tables;
    std::unique_ptr<Logs> logs;
    MediaContext context;
};
