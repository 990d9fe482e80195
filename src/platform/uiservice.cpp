#include "platform/uiservice.h"

#include <QApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QKeyEvent>
#include <QWindow>

#include <cstdio>

namespace platform {

bool UiService::takeEscape()
{
    const bool pressed = escapeLatched_;
    escapeLatched_ = false;
    return pressed;
}

bool UiService::pollEscape()
{
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    if (clock.elapsed() - lastPump_ >= 100) {
        lastPump_ = clock.elapsed();
        pumpEvents();
    }
    return takeEscape();
}

void UiService::setMousePointer(int pointer)
{
    if (pointer == mousePointer_)
        return;
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
        if (pointer == 11)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else if (mousePointer_ == 11)
            QApplication::restoreOverrideCursor();
    }
    mousePointer_ = pointer;
}

std::function<void()> throttledYield(int intervalMs)
{
    auto clock = std::make_shared<QElapsedTimer>();
    return [clock, intervalMs] {
        if (clock->isValid() && clock->elapsed() < intervalMs)
            return;
        QCoreApplication::processEvents();
        clock->start();
    };
}

bool hasDisplay()
{
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

// The first of the given buttons, in the order the standard buttons are numbered.
static QMessageBox::StandardButton firstButton(QMessageBox::StandardButtons buttons)
{
    for (unsigned b = QMessageBox::FirstButton; b <= QMessageBox::LastButton; b <<= 1)
        if (buttons.testFlag(QMessageBox::StandardButton(b)))
            return QMessageBox::StandardButton(b);
    return QMessageBox::Ok;
}

EscapeLatch::EscapeLatch(UiService& service, QObject* parent) : QObject(parent), service_(service)
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(this);
}

EscapeLatch::~EscapeLatch() = default;

bool EscapeLatch::eventFilter(QObject* watched, QEvent* event)
{
    // Key events reach the top-level QWindow first: latch there, once per press.
    if (event->type() == QEvent::KeyPress && watched->isWindowType() &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && window) {
        QWindow* w = window->windowHandle();
        if (w && watched == w)
            service_.latchEscape();
    }
    return false;
}

QtUiService::QtUiService() : filter_(new EscapeLatch(*this)) {}

QtUiService::~QtUiService()
{
    delete filter_;
}

void QtUiService::setMainWindow(QWidget* window)
{
    filter_->window = window;
}

QMessageBox::StandardButton QtUiService::message(QWidget* parent, const QString& title, const QString& text,
                                                 QMessageBox::Icon icon, QMessageBox::StandardButtons buttons,
                                                 QMessageBox::StandardButton defaultButton)
{
    if (answerWithoutDisplay && !hasDisplay()) {
        // Nobody can answer a box without a display: say what it said and take
        // its default, so an unattended run never waits for ever.
        const QMessageBox::StandardButton answer =
            defaultButton != QMessageBox::NoButton ? defaultButton : firstButton(buttons);
        std::fprintf(stderr, "%s: %s\n", title.toLocal8Bit().constData(), text.toLocal8Bit().constData());
        std::fflush(stderr);
        return answer;
    }
    QMessageBox box(icon, title, text, buttons, parent);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

std::optional<QString> QtUiService::inputBox(QWidget* parent, const QString& title, const QString& prompt,
                                             const QString& defaultText)
{
    bool ok = false;
    const QString text = QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

QStringList QtUiService::openFiles(QWidget* parent, const QString& title, const QString& dir, const QString& filter)
{
    return QFileDialog::getOpenFileNames(parent, title, dir, filter);
}

QString QtUiService::saveFile(QWidget* parent, const QString& title, const QString& dir, const QString& filter)
{
    return QFileDialog::getSaveFileName(parent, title, dir, filter);
}

QString QtUiService::folder(QWidget* parent, const QString& title, const QString& dir)
{
    return QFileDialog::getExistingDirectory(parent, title, dir);
}

bool QtUiService::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

bool QtUiService::leftButtonDown() const
{
    return QGuiApplication::mouseButtons().testFlag(Qt::LeftButton);
}

void QtUiService::pumpEvents()
{
    QCoreApplication::processEvents();
}

} // namespace platform

void platform::UiService::consoleLine(const QString& text)
{
    std::fputs((text + QLatin1Char('\n')).toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
}
