#pragma once
// Header only: the support library does not link the main window, the test
// binaries that include this do.
#include "execute/dragdropadd.h"
#include "mainwindow/frmmain.h"
#include "test_support.h"

#include <memory>
#include <QStringList>
#include <QTest>

// A main window started in the temporary environment on a scripted service
// (`Ui`, a ScriptedUi or one derived from it). The tear-down leaves it
// without saving the settings or quitting.
template <class Ui = ScriptedUi> class MainWindowFixture : public TempEnv {
protected:
    Ui ui;
    std::unique_ptr<FrmMain> w;
    // Whether start() also waits until the window is the active one, for tests
    // whose keys go through the window's key preview.
    bool waitActive = false;

    // Builds the window with `arguments`, shows it and waits until its first
    // activation has made it ready.
    void start(const QStringList& arguments = {})
    {
        w = std::make_unique<FrmMain>(ui, arguments);
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([&] { return w->mainWindowReady == -1; }, 3000));
        if (waitActive) {
            ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
        }
    }
    // Drops the window without saving.
    void dropMainWindow()
    {
        if (w) {
            w->exited = true;
            w.reset();
        }
    }
    // The window's control with this object name, as a user finds it on the
    // screen: tests reach controls by name, never through the window's members.
    template <class T> T* ctl(const char* name) const
    {
        T* c = w->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(c, nullptr) << "no control named " << name;
        return c;
    }
    // Shows the Free Select list holding these entries below work().
    void toFreeSelect(const QStringList& relatives)
    {
        w->TabStripFilemode->selectKey("dragdrop");
        const FreeSelectTarget t = freeSelectTarget(w->executeHost());
        for (QString p : relatives) {
            p = work() + "/" + p;
            dragDropAdd(t, p);
        }
        w->updateSelectionCount(false);
        w->updateExecuteButton();
    }
    void TearDown() override
    {
        dropMainWindow();
        TempEnv::TearDown();
    }
};
