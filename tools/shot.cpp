// Saves a picture of the main window, as a user would see it, for the README.
// Usage: shot OUTPUT.png [renamer arguments...]
// With SHOT_TABS=1 it also saves one picture per rename-mode tab (OUTPUT-<key>.png);
// with SHOT_THUMBNAILS=1 one of the directory list's thumbnail view (OUTPUT-thumbnails.png);
// SHOT_FONT_POINTS sets the application font's size.
#include "mainwindow/frmmain.h"
#include "platform/uiservice.h"

#include <cstdio>
#include <QApplication>
#include <QTest>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // SHOT_FONT_POINTS=11 shows the window at that desktop font size.
    if (const double points = qEnvironmentVariable("SHOT_FONT_POINTS").toDouble(); points > 0) {
        QFont font = QApplication::font();
        font.setPointSizeF(points);
        QApplication::setFont(font);
    }
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: shot OUTPUT.png [arguments]\n");
        return 2;
    }
    platform::QtUiService ui;
    FrmMain w(ui, args.mid(2));
    ui.setMainWindow(&w);
    w.show();
    if (!QTest::qWaitForWindowExposed(&w))
        return 1;
    w.activateWindow();
    QTest::qWait(600); // first activation, directory read and the first preview
    const bool ok = w.grab().save(args.at(1));
    if (qEnvironmentVariable("SHOT_TABS") == QLatin1String("1")) {
        QString base = args.at(1);
        base.chop(4);
        auto* tabs = w.findChild<platform::TabStrip*>(QStringLiteral("TabStrip"));
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            QTest::qWait(150);
            w.grab().save(base + QLatin1Char('-') + tabs->selectedKey() + QStringLiteral(".png"));
        }
    }
    if (qEnvironmentVariable("SHOT_THUMBNAILS") == QLatin1String("1")) {
        QString base = args.at(1);
        base.chop(4);
        w.findChild<platform::CheckBox*>(QStringLiteral("chkThumbnails"))->setValue(1);
        QTest::qWait(300);
        w.grab().save(base + QStringLiteral("-thumbnails.png"));
    }
    w.hide();
    return ok ? 0 : 1;
}
