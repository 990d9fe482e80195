#pragma once
// A main window over temporary directories, for end-to-end runs of "Rename!" and Undo.
#include "execute/dragdropadd.h"
#include "execute/frmexecute.h"
#include "execute/runrename.h"
#include "mainwindow/frmmain.h"
#include "mainwindow_fixture.h"
#include "test_support.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>
#include <QTimer>

// A scripted service that can act while a message box is "open".
class ReentrantUi : public ScriptedUi {
public:
    std::function<void()> onMessage;
    QMessageBox::StandardButton message(QWidget* p, const QString& title, const QString& text, QMessageBox::Icon icon,
                                        QMessageBox::StandardButtons b, QMessageBox::StandardButton def) override
    {
        if (onMessage)
            onMessage();
        return ScriptedUi::message(p, title, text, icon, b, def);
    }
};

class RunRenameTest : public MainWindowFixture<ReentrantUi> {
protected:
    void start()
    {
        MainWindowFixture::start();
        w->executeState().run.yieldIntervalMs = 0; // serve the event loop at every point, as tests script clicks
    }
    void listWork()
    {
        ctl<QComboBox>("txtPath")->setEditText(work());
        w->readDirectory();
        w->updateFileViews();
    }
    void replace(const QString& find, const QString& with)
    {
        ctl<platform::TabStrip>("TabStrip")->selectKey("Replace");
        ctl<platform::OptionButton>("optReplaceSingle")->select();
        ctl<platform::TextBox>("txtFind")->setText(find);
        ctl<platform::TextBox>("txtReplace")->setText(with);
    }
    FrmExecute* logWin()
    {
        const ExecuteHost h = w->executeHost();
        return logWindow(h);
    }
    QStringList logLines()
    {
        FrmExecute* lw = logWin();
        return lw ? lw->lines() : QStringList();
    }
    QStringList activity()
    {
        QStringList out;
        for (const QString& l : readLines(programFolder() + "/log.txt"))
            out.push_back(l.mid(l.indexOf(") ") + 2)); // without the "(date time) " head
        return out;
    }
    bool exists(const QString& relative) const { return QFileInfo::exists(work() + "/" + relative); }
    QStringList rowNames(platform::ListView* list) const
    {
        QStringList names;
        for (int r = 0; r < list->count(); ++r)
            names << list->text(r);
        return names;
    }
    QStringList selectedNames(platform::ListView* list) const
    {
        QStringList names;
        for (int r = 0; r < list->count(); ++r)
            if (list->isSelected(r))
                names << list->text(r);
        return names;
    }
    // Runs `action` once, at the first event-loop turn where `when` holds.
    void atFirst(std::function<bool()> when, std::function<void()> action)
    {
        auto* t = new QTimer(w.get());
        t->setInterval(0);
        QObject::connect(t, &QTimer::timeout, t, [t, when, action] {
            if (!when())
                return;
            t->stop();
            action();
        });
        t->start();
    }
};
