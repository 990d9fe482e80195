#pragma once
#include <QString>

namespace platform {

// Whether a warning or information of Qt's (its logging category, "default"
// for a plain one, and its text) is one of the lines Qt prints on the way to
// a platform without a display, or on one: a platform it tried and could not
// open, the runtime folder it has to make up without a session or finds
// belonging to another user (after sudo or su), the size hints such a
// platform cannot pass on. They say nothing a run from cron or a script needs
// to know.
bool isHeadlessNoise(const QString& category, const QString& text);

// Standard error of an unattended run carries only what its reader needs, and
// cron mails every line. While Qt chooses its platform nobody knows whether
// the lines it prints will matter, so they are held back until the choice is
// made; then, on the offscreen or minimal platform, the known ones above go,
// now and later. On a real display nothing is left out. Every other message
// reaches the handler that was there before, in its order.
// One at a time, made before the application object and kept until the end.
class QtMessages {
public:
    QtMessages();
    // Puts back the handler it found; anything still held is printed first.
    ~QtMessages();
    QtMessages(const QtMessages&) = delete;
    QtMessages& operator=(const QtMessages&) = delete;

    // Once the application object exists and so the platform is chosen.
    void platformChosen();
};

} // namespace platform
