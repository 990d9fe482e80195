#pragma once
#include "platform/uiservice.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <ostream>
#include <QApplication>
#include <QByteArray>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFont>
#include <QProcessEnvironment>
#include <QRect>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>

class QScrollArea;

#include <sys/resource.h>

// gtest prints QString as bytes without this.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

// A rectangle as its corner and size, not as bytes.
inline void PrintTo(const QRect& r, std::ostream* os)
{
    *os << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
}

// Clicks a check box on its indicator (a click at its centre can miss it).
QPoint indicatorPoint(const QCheckBox* cb);
// Clicks a button as the user does: a check box on its indicator, any other at its centre.
void clickButton(QAbstractButton* b);

// `c` as the user sees it, in global coordinates.
QRect onScreen(const QWidget* c);
// Whether all of `c` is in sight: inside the view of `area` (a scroll area
// it lies in), inside its window and on the window's screen.
bool inSight(const QWidget* c, const QScrollArea* area);
// Scrolls `area` with clicks on its scroll bars, as a user does, until `c` is
// in sight; false when the bars cannot bring it there.
bool scrollIntoSight(QWidget* c, QScrollArea* area);

// Fresh XDG_CONFIG_HOME, XDG_DATA_HOME and VEXORREN_HOME for one test.
class TempEnv : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    QString root() const { return dir_.path(); }
    // A scratch folder for the test's files.
    QString work() const { return dir_.path() + QStringLiteral("/work"); }
    QString programFolder() const { return dir_.path() + QStringLiteral("/program"); }
    // $XDG_CONFIG_DIRS: the system's configuration folder, empty unless a test fills it.
    QString systemConfig() const { return dir_.path() + QStringLiteral("/xdg"); }
    // Writes a file below work(), creating its folders.
    QString writeFile(const QString& relative, const QByteArray& content = QByteArray());
    QString makeDir(const QString& relative);
    // The environment of a program this test starts: its places, the offscreen
    // platform, and a HOME of its own.
    QProcessEnvironment programEnvironment() const;

private:
    QTemporaryDir dir_;
    QByteArray savedConfig_, savedData_, savedHome_, savedConfigDirs_;
};

// A UI service whose answers the test scripts in advance. An unscripted
// question fails the test and answers with the default button, so no test
// ever blocks on a dialog.
class ScriptedUi : public platform::UiService {
public:
    struct Asked {
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon; // message boxes only
    };
    std::deque<QMessageBox::StandardButton> answers;
    std::deque<std::optional<QString>> inputs;
    std::deque<QStringList> openAnswers;
    // The folder and filter each open-file dialog was shown with.
    QStringList openDirs, openFilters;
    std::deque<QString> saveAnswers, folderAnswers;
    std::vector<Asked> asked;
    std::vector<QUrl> opened;
    bool leftDown = false;
    bool failOnUnscripted = true;

    QMessageBox::StandardButton message(QWidget*, const QString& title, const QString& text, QMessageBox::Icon,
                                        QMessageBox::StandardButtons, QMessageBox::StandardButton def) override;
    std::optional<QString> inputBox(QWidget*, const QString& title, const QString& prompt,
                                    const QString& defaultText) override;
    QStringList openFiles(QWidget*, const QString&, const QString&, const QString&) override;
    QString saveFile(QWidget*, const QString&, const QString&, const QString&) override;
    QString folder(QWidget*, const QString&, const QString&) override;
    bool openUrl(const QUrl& url) override
    {
        opened.push_back(url);
        return true;
    }
    bool leftButtonDown() const override { return leftDown; }
    // The lines the program wrote for whoever started it.
    QStringList consoleLines;
    void consoleLine(const QString& text) override { consoleLines.append(text); }
    // The clock stands still until the test moves it, so a test that runs
    // across midnight still sees one date.
    QDateTime clock = QDateTime(QDate(2026, 3, 1), QTime(12, 0));
    QDateTime now() const override { return clock; }
    // Runs each time the program reads the Escape key, before it is read; a
    // test presses Escape (latchEscape) or looks at the window from here.
    std::function<void()> onEscapeRead;
    bool takeEscape() override
    {
        if (onEscapeRead)
            onEscapeRead();
        return UiService::takeEscape();
    }

protected:
    void pumpEvents() override {}
};

// Runs `action` once on the first visible modal dialog of type T, polled at
// every turn of the event loop: for code that opens a dialog with exec(). An
// unanswered dialog is closed after `timeoutMs` and the test fails.
template <class T> void whenModal(std::function<void(T*)> action, int timeoutMs = 5000)
{
    auto* poll = new QTimer(qApp);
    auto* clock = new QElapsedTimer;
    clock->start();
    poll->setInterval(0);
    QObject::connect(poll, &QTimer::timeout, poll, [=] {
        if (auto* d = qobject_cast<T*>(QApplication::activeModalWidget()); d && d->isVisible()) {
            poll->stop();
            poll->deleteLater();
            delete clock;
            d->activateWindow();
            // The window system's answer can come before the widgets hear of it.
            EXPECT_TRUE(QTest::qWaitFor([d] { return d->isActiveWindow(); }, 2000));
            action(d);
        } else if (clock->elapsed() > timeoutMs) {
            poll->stop();
            poll->deleteLater();
            delete clock;
            ADD_FAILURE() << "no dialog to answer";
            if (auto* w = QApplication::activeModalWidget())
                w->close();
        }
    });
    poll->start();
}

// A short MPEG audio file with an ID3v1 tag holding this artist and title.
QByteArray mp3WithId3v1(const QByteArray& artist, const QByteArray& title);

// While it lives, the application font is one at which the layout is `scale`
// times the design's size in pixels (15 / `scale` twips per pixel, cut to a
// whole number as the program cuts it), as a desktop at that scale makes it.
class ScaleScope {
public:
    explicit ScaleScope(double scale);
    ~ScaleScope();
    ScaleScope(const ScaleScope&) = delete;
    ScaleScope& operator=(const ScaleScope&) = delete;
    int twipsPerPixel() const { return twipsPerPixel_; }
    // False when no size of the test font gives that scale.
    bool found() const { return found_; }

private:
    QFont saved_;
    int twipsPerPixel_;
    bool found_ = false;
};

// Reads a whole text file ("" when missing).
QString readText(const QString& path);
QStringList readLines(const QString& path);
// A file's bytes (empty when missing), and a file written with these bytes
// (its folders made).
QByteArray fileBytes(const QString& path);
void writeFileBytes(const QString& path, const QByteArray& data);

// While it lives, this process cannot write a file beyond `bytes`: a write
// past it fails with EFBIG, as on a full disk, also for root.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    struct rlimit saved_ {};
    void (*savedHandler_)(int) = nullptr;
};

// An X display name (":97" or the next free number) that no server answers on:
// no socket for it in /tmp/.X11-unix, none in the abstract name space, no lock.
// Tests of a dead display set DISPLAY to it whatever the machine runs.
QString deadXDisplay();
