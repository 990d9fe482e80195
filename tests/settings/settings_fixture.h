#pragma once
#include "engine/logs.h"
#include "platform/settingsstore.h"
#include "settings/loadsave.h"
#include "test_support.h"

#include <map>
#include <QFile>

// A temporary store and program folder, a fixed screen of 1280 x 960 pixels and
// a fixed clock.
class SettingsTest : public TempEnv {
protected:
    static constexpr int screenW = 1280 * 15;
    static constexpr int screenH = 960 * 15;

    LoadContext context(const QStringList& args = {}) const
    {
        return LoadContext{programFolder(), QSize(screenW, screenH), QDateTime(QDate(2024, 5, 6), QTime(13, 14, 15)),
                           args};
    }

    // Stores the given keys as they would stand in a hand-edited store.
    void store(const std::map<QString, QString>& values)
    {
        platform::SettingsStore s;
        for (const auto& [k, v] : values)
            s.setValue(k, v);
        s.sync();
    }
    QString stored(const QString& key) { return platform::SettingsStore().value(key, QStringLiteral("<missing>")); }

    Settings load(const QStringList& args = {})
    {
        platform::SettingsStore s;
        Logs logs(programFolder());
        Settings settings;
        loadSettings(s, logs, context(args), settings, tables);
        return settings;
    }
    bool save(const Settings& settings, const ShellMenuStep& step = {})
    {
        platform::SettingsStore s;
        Logs logs(programFolder());
        return saveSettings(s, logs, programFolder(), settings, tables, step);
    }

    // A file-type file, so that the load reads one instead of writing the
    // built-in rows.
    void haveFileTypes() { writeProgramFile("filetypes.txt", "1,PK,zip\n"); }
    void writeProgramFile(const QString& name, const QByteArray& content)
    {
        QFile f(programFolder() + "/" + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    QStringList errorLines() const { return readLines(programFolder() + "/errors.txt"); }

    ConfigTables tables;
};
