// The platform list both programs give Qt before their application object
// exists, and the line they print when no display could be opened.
#include "platform/display.h"
#include "test_support.h"

#include <QGuiApplication>

#include <map>
#include <optional>

namespace {

const char* const kVariables[] = {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE"};

struct DisplayCase {
    const char* name;
    std::map<const char*, QByteArray> env; // set before the choice; the others unset
    std::optional<QByteArray> list;        // QT_QPA_PLATFORM while Qt starts
    QString problem; // what the line says when Qt fell back; empty: the list has no fallback added
};

void PrintTo(const DisplayCase& c, std::ostream* os)
{
    *os << c.name;
}

} // namespace

class DisplayChoiceTest : public ::testing::TestWithParam<DisplayCase> {
protected:
    void SetUp() override
    {
        for (const char* v : kVariables) {
            if (qEnvironmentVariableIsSet(v))
                saved_[v] = qgetenv(v);
            qunsetenv(v);
        }
    }
    void TearDown() override
    {
        for (const char* v : kVariables) {
            if (saved_.count(v))
                qputenv(v, saved_[v]);
            else
                qunsetenv(v);
        }
    }

private:
    std::map<const char*, QByteArray> saved_;
};

TEST_P(DisplayChoiceTest, QtTriesTheNamedPlatformsThenOffscreenAndTheVariableIsPutBack)
{
    const DisplayCase& c = GetParam();
    for (const auto& [variable, value] : c.env)
        qputenv(variable, value);
    const std::optional<QByteArray> before =
        qEnvironmentVariableIsSet("QT_QPA_PLATFORM") ? std::optional(qgetenv("QT_QPA_PLATFORM")) : std::nullopt;

    platform::DisplayChoice display;
    const std::optional<QByteArray> during =
        qEnvironmentVariableIsSet("QT_QPA_PLATFORM") ? std::optional(qgetenv("QT_QPA_PLATFORM")) : std::nullopt;
    EXPECT_EQ(during, c.list);
    // This test program runs on one platform already: the choice reads it as
    // the platform Qt landed on.
    const bool onOffscreen = QGuiApplication::platformName() == QLatin1String("offscreen");
    const bool fellBack = !c.problem.isEmpty();
    EXPECT_EQ(display.opened(), !(fellBack && onOffscreen));
    const std::optional<QByteArray> after =
        qEnvironmentVariableIsSet("QT_QPA_PLATFORM") ? std::optional(qgetenv("QT_QPA_PLATFORM")) : std::nullopt;
    EXPECT_EQ(after, before) << "the programs started from here choose their own platform";
    if (fellBack) {
        EXPECT_EQ(display.problem(), c.problem);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Environments, DisplayChoiceTest,
    ::testing::Values(
        DisplayCase{"nothing", {}, "offscreen", "no display found (DISPLAY and WAYLAND_DISPLAY are not set)"},
        DisplayCase{
            "x", {{"DISPLAY", ":97"}}, "xcb;offscreen", "no display could be opened (tried xcb on DISPLAY=:97)"},
        // Qt's own order: Wayland first when a Wayland display or session is named.
        DisplayCase{"wayland",
                    {{"WAYLAND_DISPLAY", "wayland-97"}},
                    "wayland;xcb;offscreen",
                    "no display could be opened (tried wayland on WAYLAND_DISPLAY=wayland-97, xcb without DISPLAY)"},
        DisplayCase{"wayland session",
                    {{"DISPLAY", ":97"}, {"XDG_SESSION_TYPE", "wayland"}},
                    "wayland;xcb;offscreen",
                    "no display could be opened (tried wayland without WAYLAND_DISPLAY, xcb on DISPLAY=:97)"},
        DisplayCase{"x session",
                    {{"DISPLAY", ":97"}, {"XDG_SESSION_TYPE", "x11"}},
                    "xcb;offscreen",
                    "no display could be opened (tried xcb on DISPLAY=:97)"},
        DisplayCase{"missing plugin",
                    {{"QT_QPA_PLATFORM", "nosuchplugin"}, {"DISPLAY", ":97"}},
                    "nosuchplugin;offscreen",
                    "no display could be opened (tried nosuchplugin, as QT_QPA_PLATFORM names)"},
        DisplayCase{"plugin list with options",
                    {{"QT_QPA_PLATFORM", "xcb:nograb;;nosuchplugin"}, {"DISPLAY", ":97"}},
                    "xcb:nograb;;nosuchplugin;offscreen",
                    "no display could be opened (tried xcb:nograb on DISPLAY=:97, nosuchplugin, as QT_QPA_PLATFORM "
                    "names)"},
        DisplayCase{"no name in the list",
                    {{"QT_QPA_PLATFORM", ";"}},
                    ";;offscreen",
                    "no display could be opened (QT_QPA_PLATFORM names no platform)"},
        // A list that falls back on offscreen itself is the user's choice: kept as it is.
        DisplayCase{"offscreen named", {{"QT_QPA_PLATFORM", "xcb;Offscreen"}, {"DISPLAY", ":97"}}, "xcb;Offscreen", {}},
        DisplayCase{"offscreen alone", {{"QT_QPA_PLATFORM", "offscreen"}}, "offscreen", {}},
        // Hostile values reach one bounded line: control characters escaped, long values cut.
        DisplayCase{"hostile display",
                    {{"DISPLAY", ":97\n\x1b[2J" + QByteArray(100, 'x')}},
                    "xcb;offscreen",
                    "no display could be opened (tried xcb on DISPLAY=:97\\x0a\\x1b[2J" + QString(56, 'x') + "...)"}),
    [](const ::testing::TestParamInfo<DisplayCase>& info) {
        std::string name = info.param.name;
        for (char& ch : name)
            if (ch == ' ')
                ch = '_';
        return name;
    });
