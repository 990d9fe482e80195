#pragma once
#include <functional>
#include <optional>
#include <QDateTime>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QUrl>

class QWidget;

namespace platform {

// Everything that waits for the user or asks the desktop: message and input
// boxes, file and folder dialogs, opening a file or address, the Escape key, the
// mouse button, the busy pointer and the clock. The program answers with Qt;
// tests install a scripted service (tests/support).
class UiService {
public:
    virtual ~UiService() = default;

    virtual QMessageBox::StandardButton message(QWidget* parent, const QString& title, const QString& text,
                                                QMessageBox::Icon icon, QMessageBox::StandardButtons buttons,
                                                QMessageBox::StandardButton defaultButton) = 0;
    // std::nullopt when the user cancels.
    virtual std::optional<QString> inputBox(QWidget* parent, const QString& title, const QString& prompt,
                                            const QString& defaultText) = 0;
    virtual QStringList openFiles(QWidget* parent, const QString& title, const QString& dir, const QString& filter) = 0;
    virtual QString saveFile(QWidget* parent, const QString& title, const QString& dir, const QString& filter) = 0;
    virtual QString folder(QWidget* parent, const QString& title, const QString& dir) = 0;
    virtual bool openUrl(const QUrl& url) = 0;

    // Escape pressed while the program's main window was in front, since the last call.
    virtual bool takeEscape();
    // Long work calls this as it starts: only a press during the work cancels it.
    void clearEscape() { escapeLatched_ = false; }
    // Like takeEscape, but first lets pending key events arrive (at most every
    // 100 ms) for loops that never yield otherwise.
    bool pollEscape();
    void latchEscape() { escapeLatched_ = true; }
    virtual bool leftButtonDown() const = 0;

    // The mouse pointer: 11 is the hourglass, 0 the normal pointer. The program
    // keeps its own record, which code tests; the override cursor stays balanced.
    void setMousePointer(int pointer);
    int mousePointer() const { return mousePointer_; }

    virtual QDateTime now() const { return QDateTime::currentDateTime(); }

    // One line for whoever started the program, on standard error: why an
    // unattended run did not start. Not a box: nobody may be there to answer.
    virtual void consoleLine(const QString& text);

protected:
    virtual void pumpEvents() = 0;

private:
    bool escapeLatched_ = false;
    int mousePointer_ = 0;
    qint64 lastPump_ = 0;
};

// A yield for loops that offer the event loop a turn every few items: it lets
// events run at most every `intervalMs`, so a long list is not dominated by
// empty turns of the loop while the window still answers at once.
std::function<void()> throttledYield(int intervalMs = 15);

// False on a platform without a display ("offscreen", "minimal"), where no one
// can answer a dialog.
bool hasDisplay();

// An application event filter that latches an Escape press into a service
// while the given window is in front (key events reach its top-level QWindow).
class EscapeLatch : public QObject {
public:
    explicit EscapeLatch(UiService& service, QObject* parent = nullptr);
    ~EscapeLatch() override;
    QPointer<QWidget> window;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    UiService& service_;
};

// The real service: Qt dialogs, QDesktopServices, an application event filter
// for the Escape latch.
class QtUiService : public UiService {
public:
    QtUiService();
    ~QtUiService() override;
    // Escape counts only while this window (or one of its children) is active.
    void setMainWindow(QWidget* window);

    // With answerWithoutDisplay set and no display, the box's title and text go
    // to standard error and its default button is the answer.
    QMessageBox::StandardButton message(QWidget* parent, const QString& title, const QString& text,
                                        QMessageBox::Icon icon, QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) override;
    std::optional<QString> inputBox(QWidget* parent, const QString& title, const QString& prompt,
                                    const QString& defaultText) override;
    QStringList openFiles(QWidget* parent, const QString& title, const QString& dir, const QString& filter) override;
    QString saveFile(QWidget* parent, const QString& title, const QString& dir, const QString& filter) override;
    QString folder(QWidget* parent, const QString& title, const QString& dir) override;
    bool openUrl(const QUrl& url) override;
    bool leftButtonDown() const override;
    // The programs set it: nobody can answer a box on a platform without a display.
    bool answerWithoutDisplay = false;

protected:
    void pumpEvents() override;

private:
    EscapeLatch* filter_ = nullptr;
};

} // namespace platform
