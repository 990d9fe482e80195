// Qt's messages while the platform is chosen and after: held, then passed on
// without the lines a run without a display always gets.
#include "platform/qtmessages.h"
#include "test_support.h"

#include <QGuiApplication>
#include <QLoggingCategory>

namespace {

Q_LOGGING_CATEGORY(xcbCategory, "qt.qpa.xcb")
Q_LOGGING_CATEGORY(pluginCategory, "qt.qpa.plugin")

// What reached the handler below the filter, as "category: text".
QStringList& seen()
{
    static QStringList lines;
    return lines;
}

void record(QtMsgType, const QMessageLogContext& context, const QString& text)
{
    seen() << QString::fromLatin1(context.category ? context.category : "") + QStringLiteral(": ") + text;
}

// The test program's own handler is put back however the test ends.
class RecordingHandler {
public:
    RecordingHandler() : previous_(qInstallMessageHandler(record)) { seen().clear(); }
    ~RecordingHandler() { qInstallMessageHandler(previous_); }

private:
    QtMessageHandler previous_;
};

bool headlessPlatform()
{
    const QString name = QGuiApplication::platformName();
    return name == QLatin1String("offscreen") || name == QLatin1String("minimal");
}

const QString sizeHints = QStringLiteral("This plugin does not support propagateSizeHints()");

} // namespace

TEST(QtMessagesTest, TheKnownLinesAreOnlyThoseOfARunWithoutADisplay)
{
    const struct {
        const char* category;
        const char* text;
        bool known;
    } cases[] = {
        {"qt.qpa.xcb", "could not connect to display :97", true},
        {"qt.qpa.xcb", "could not connect to display ", true},
        {"qt.qpa.plugin", "Could not load the Qt platform plugin \"xcb\" in \"\" even though it was found.", true},
        {"qt.qpa.plugin", "Could not load the Qt platform plugin \"xcb\" in \"\" even though it was found.\n", true},
        {"qt.qpa.plugin", "Could not find the Qt platform plugin \"wayland\" in \"\"", true},
        {"default", "QStandardPaths: XDG_RUNTIME_DIR not set, defaulting to '/tmp/runtime-root'", true},
        {"default", "This plugin does not support propagateSizeHints()", true},
        // XDG_RUNTIME_DIR naming the desktop user's folder after sudo or su.
        {"default", "QStandardPaths: wrong permissions on runtime directory /tmp/r, 0755 instead of 0700", true},
        {"default",
         "QStandardPaths: runtime directory '/run/user/1000' is not owned by UID 0, but a directory "
         "permissions 0700 owned by UID 1000 GID 1000",
         true},
        {"default", "QStandardPaths: runtime directory '/tmp/f' is not a directory, but a regular file", true},
        // The same words elsewhere, or more than the known line, still show.
        {"default", "could not connect to display :97", false},
        {"qt.qpa.xcb", "QXcbConnection: XCB error: 3 (BadWindow)", false},
        {"qt.qpa.plugin", "This application failed to start because no Qt platform plugin could be initialized.",
         false},
        {"default", "QStandardPaths: error creating runtime directory /tmp/r: Permission denied", false},
        {"default", "This plugin does not support propagateSizeHints() for this window", false},
        {"default", "QStandardPaths: XDG_RUNTIME_DIR not set, defaulting to '/tmp/x'\nand more", false},
        {"qt.qpa.fonts", "Cannot find font directory /usr/lib/fonts.", false},
        {"default", "Unknown scale factor rounding policy: bogus.", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::isHeadlessNoise(QString::fromLatin1(c.category), QString::fromLatin1(c.text)), c.known)
            << c.category << ": " << c.text;
}

// Held until the platform is known; then, on a platform without a display,
// the known lines go, now and later, and every other line comes through in
// its order. On a real display every line comes through.
TEST(QtMessagesTest, MessagesWaitForThePlatformAndOnlyTheKnownOnesGo)
{
    const bool quiet = headlessPlatform();
    QStringList expected;
    {
        RecordingHandler handler;
        {
            platform::QtMessages messages;
            qCWarning(xcbCategory, "could not connect to display :97");
            qCInfo(pluginCategory, "Could not load the Qt platform plugin \"xcb\" in \"\" even though it was found.");
            qWarning("Unknown scale factor rounding policy: bogus.");
            qWarning("%s", qPrintable(sizeHints));
            EXPECT_EQ(seen(), QStringList()) << "nothing is printed before the platform is known";
            messages.platformChosen();
            if (!quiet)
                expected << "qt.qpa.xcb: could not connect to display :97"
                         << "qt.qpa.plugin: Could not load the Qt platform plugin \"xcb\" in \"\" even though it was "
                            "found.";
            expected << "default: Unknown scale factor rounding policy: bogus.";
            if (!quiet)
                expected << "default: " + sizeHints;
            EXPECT_EQ(seen(), expected);

            qWarning("%s", qPrintable(sizeHints));
            if (!quiet)
                expected << "default: " + sizeHints;
            qWarning("A warning of the run");
            expected << "default: A warning of the run";
            EXPECT_EQ(seen(), expected);
        }
        // The handler found is back.
        qWarning("%s", qPrintable(sizeHints));
        expected << "default: " + sizeHints;
        EXPECT_EQ(seen(), expected);
    }
}

// A filter that ends before the platform was known prints all it held.
TEST(QtMessagesTest, WhatIsHeldAtTheEndIsPrintedWhole)
{
    RecordingHandler handler;
    {
        platform::QtMessages messages;
        qWarning("%s", qPrintable(sizeHints));
        qWarning("Another");
        EXPECT_EQ(seen(), QStringList());
    }
    EXPECT_EQ(seen(), QStringList({"default: " + sizeHints, "default: Another"}));
}
