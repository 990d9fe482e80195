#pragma once
// Header only: the support library does not link the main window, the test
// binaries that include this do.
#include "execute/dragdropadd.h"
#include "listui/listmenus.h"
#include "mainwindow/frmmain.h"
#include "mainwindow/panels/attributespanel.h"
#include "test_support.h"

#include <memory>
#include <QStringList>
#include <QTest>

// The control of `window` with this object name, for code outside a fixture
// (a table row's step); null when there is none.
template <class T> T* control(const QObject& window, const QString& name)
{
    return window.findChild<T*>(name);
}

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
        ASSERT_TRUE(QTest::qWaitFor([&] { return w->mainWindowReady() == -1; }, 3000));
        if (waitActive) {
            ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
        }
    }
    // Drops the window without saving.
    void dropMainWindow()
    {
        if (w) {
            w->setExited();
            w.reset();
        }
    }
    // The window's control with this object name, as a user finds it on the
    // screen: tests reach controls by name, never through the window's members.
    template <class T> T* ctl(const QString& name) const
    {
        T* c = control<T>(*w, name);
        EXPECT_NE(c, nullptr) << "no control named " << name.toStdString();
        return c;
    }
    template <class T> T* ctl(const char* name) const { return ctl<T>(QString::fromLatin1(name)); }
    // The window's command group of this class (navigation, tree, Free Select,
    // list menus), found as the window's child.
    template <class T> T* part() const
    {
        T* g = w->findChild<T*>();
        EXPECT_NE(g, nullptr) << "no command group " << T::staticMetaObject.className();
        return g;
    }
    // Shows the Free Select list holding these entries below work().
    void toFreeSelect(const QStringList& relatives)
    {
        ctl<platform::TabStrip>("TabStripFilemode")->selectKey("dragdrop");
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
