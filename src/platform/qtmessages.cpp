#include "platform/qtmessages.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QtGlobal>

#include <mutex>
#include <optional>
#include <vector>

namespace platform {

namespace {

// A Qt message kept for later: the context's texts are copied, as a plugin
// that failed to open may take its category's name with it.
struct Held {
    QtMsgType type;
    int line;
    std::optional<QByteArray> file, function, category;
    QString text;
};

// A handler of Qt's is a plain function, so what it follows lives here, for
// the one QtMessages that installed it.
struct State {
    std::mutex mutex;
    QtMessageHandler previous = nullptr;
    bool holding = false;
    bool quiet = false;
    std::vector<Held> held;
};

// Never destroyed: Qt's own static objects may still print while the
// program's go away.
State& state()
{
    static State* const s = new State;
    return *s;
}

// A platform choice that prints more than this is not the quiet kind: what
// was held is printed, and what follows goes straight on.
constexpr std::size_t kMostHeld = 256;

std::optional<QByteArray> copied(const char* text)
{
    return text ? std::optional(QByteArray(text)) : std::nullopt;
}

const char* pointer(const std::optional<QByteArray>& text)
{
    return text ? text->constData() : nullptr;
}

QString categoryOf(const char* category)
{
    return QString::fromLatin1(category ? category : "default");
}

bool dropped(bool quiet, QtMsgType type, const QString& category, const QString& text)
{
    // Qt tells of a platform it could not open as information when another follows.
    return quiet && (type == QtWarningMsg || type == QtInfoMsg) && isHeadlessNoise(category, text);
}

void forward(QtMessageHandler previous, const std::vector<Held>& held, bool quiet)
{
    for (const Held& h : held) {
        if (dropped(quiet, h.type, categoryOf(pointer(h.category)), h.text))
            continue;
        const QMessageLogContext context(pointer(h.file), h.line, pointer(h.function), pointer(h.category));
        previous(h.type, context, h.text);
    }
}

void handle(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    State& s = state();
    std::vector<Held> release;
    QtMessageHandler previous = nullptr;
    {
        const std::lock_guard lock(s.mutex);
        previous = s.previous;
        if (s.holding && type != QtFatalMsg && s.held.size() < kMostHeld) {
            s.held.push_back(Held{type, context.line, copied(context.file), copied(context.function),
                                  copied(context.category), text});
            return;
        }
        if (s.holding) {
            // Qt gives up (no platform at all) or talks on: everything it said counts.
            release.swap(s.held);
            s.holding = false;
        } else if (dropped(s.quiet, type, categoryOf(context.category), text)) {
            return;
        }
    }
    // Outside the lock: the handler before may print messages of its own.
    forward(previous, release, false);
    previous(type, context, text);
}

// What is held goes out, without the known lines when `quiet`.
void release(bool quiet)
{
    State& s = state();
    std::vector<Held> held;
    QtMessageHandler previous = nullptr;
    {
        const std::lock_guard lock(s.mutex);
        s.quiet = quiet;
        s.holding = false;
        held.swap(s.held);
        previous = s.previous;
    }
    forward(previous, held, quiet);
}

} // namespace

bool isHeadlessNoise(const QString& category, const QString& text)
{
    struct Noise {
        const char* category;
        const char* text;
        bool whole; // the text is the whole message, not its start
    };
    static const Noise noise[] = {
        {"qt.qpa.xcb", "could not connect to display", false},
        {"qt.qpa.plugin", "Could not load the Qt platform plugin \"", false},
        {"qt.qpa.plugin", "Could not find the Qt platform plugin \"", false},
        {"default", "QStandardPaths: XDG_RUNTIME_DIR not set, defaulting to '", false},
        // XDG_RUNTIME_DIR still naming the desktop user's folder after sudo or su.
        {"default", "QStandardPaths: runtime directory '", false},
        {"default", "QStandardPaths: wrong permissions on runtime directory ", false},
        {"default", "This plugin does not support propagateSizeHints()", true},
    };
    // One line each, some with a line end of their own: a message that goes
    // on past its line says more.
    QStringView line(text);
    while (line.endsWith(u'\n'))
        line.chop(1);
    if (line.contains(u'\n'))
        return false;
    for (const Noise& n : noise) {
        if (category != QLatin1String(n.category))
            continue;
        if (n.whole ? line == QLatin1String(n.text) : line.startsWith(QLatin1String(n.text)))
            return true;
    }
    return false;
}

QtMessages::QtMessages()
{
    State& s = state();
    const std::lock_guard lock(s.mutex);
    s.holding = true;
    s.quiet = false;
    s.held.clear();
    s.previous = qInstallMessageHandler(handle);
}

QtMessages::~QtMessages()
{
    State& s = state();
    bool quiet = false;
    {
        const std::lock_guard lock(s.mutex);
        quiet = s.quiet;
    }
    release(quiet);
    const std::lock_guard lock(s.mutex);
    qInstallMessageHandler(s.previous);
}

void QtMessages::platformChosen()
{
    // Both print nothing a reader of standard error is waiting for.
    const QString name = QGuiApplication::platformName();
    release(name.compare(QLatin1String("offscreen"), Qt::CaseInsensitive) == 0 ||
            name.compare(QLatin1String("minimal"), Qt::CaseInsensitive) == 0);
}

} // namespace platform
