#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace platform {

// Qt aborts when none of the platforms it tries can be opened: a DISPLAY whose
// X server is gone, a compositor that quit, a plugin that is not installed.
// So a program gives Qt the platforms it would try anyway, in Qt's own order,
// with the offscreen platform last, and once the application object exists
// asks whether Qt had to fall back on that one.
class DisplayChoice {
public:
    // Before the application object exists: sets QT_QPA_PLATFORM to that list.
    DisplayChoice();
    // Once the application object exists: puts QT_QPA_PLATFORM back as it
    // was, so that the programs started from here choose their own, and tells
    // whether a platform the environment names was opened (false: Qt fell back
    // on the offscreen platform, or nothing named a display).
    bool opened();
    // Why not, naming what was tried, for one line on standard error.
    QString problem() const;

private:
    std::optional<QByteArray> saved_; // QT_QPA_PLATFORM as found; none when unset
    QStringList tried_;               // before the offscreen platform; empty when nothing names a display
    bool fromVariable_ = false;       // tried_ is what QT_QPA_PLATFORM names
    bool fallbackAdded_ = false;
};

} // namespace platform
