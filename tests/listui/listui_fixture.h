#pragma once
#include "execute/dragdropadd.h"
#include "listui/inplacerename.h"
#include "listui/listcommands.h"
#include "listui/listmenus.h"
#include "mainwindow/frmmain.h"
#include "mainwindow_fixture.h"
#include "platform/settingsstore.h"
#include "test_support.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QHeaderView>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QTreeView>

// A started main window with helpers that press keys and click rows of its lists.
class ListUiTest : public MainWindowFixture<> {
protected:
    void listDirectory(const QString& dir)
    {
        ctl<QComboBox>("txtPath")->setEditText(dir);
        w->readDirectory();
        w->updateFileViews();
    }
    void addToFreeSelect(const QStringList& paths)
    {
        FreeSelectAdder adder(freeSelectTarget(w->executeHost()));
        for (QString p : paths)
            adder.add(p);
        adder.finish();
    }
    QStringList names(platform::ListView* lw) const
    {
        QStringList n;
        for (int r = 0; r < lw->count(); ++r)
            n << lw->text(r);
        return n;
    }
    int rowOf(platform::ListView* lw, const QString& name) const
    {
        for (int r = 0; r < lw->count(); ++r)
            if (lw->text(r) == name)
                return r;
        return -1;
    }
    QAbstractItemView* view(platform::ListView* lw) const { return qobject_cast<QAbstractItemView*>(lw->activeView()); }
    QWidget* viewport(platform::ListView* lw) const { return view(lw)->viewport(); }
    QPoint rowPoint(platform::ListView* lw, int r) const
    {
        return view(lw)->visualRect(lw->model()->index(r, 0)).center();
    }
    void clickRow(platform::ListView* lw, int r, Qt::KeyboardModifiers mods = {})
    {
        QTest::mouseClick(viewport(lw), Qt::LeftButton, mods, rowPoint(lw, r));
    }
    QPoint emptyPoint(platform::ListView* lw) const { return QPoint(5, viewport(lw)->height() - 5); }
    void key(platform::ListView* lw, int k, Qt::KeyboardModifiers mods = {})
    {
        view(lw)->setFocus();
        QTest::keyClick(view(lw), Qt::Key(k), mods);
    }
    QLineEdit* editor(platform::ListView* lw) const
    {
        for (QLineEdit* e : viewport(lw)->findChildren<QLineEdit*>())
            if (e->isVisible())
                return e;
        return nullptr;
    }
    QMenu* popupOf(platform::ListView* lw) const
    {
        return lw == ctl<platform::ListView>("lwDirectory") ? part<ListMenus>()->mnuPopupListview
                                                            : part<ListMenus>()->mnuPopupDragdrop;
    }
    // Opens the list's popup menu with a right click on `row` (on empty space
    // when -1) and clicks the item `name` in it, in the submenu `submenu` when
    // given. The menu is modal, so the clicks are queued before it opens.
    void menuCommand(platform::ListView* lw, int row, const QString& name, const QString& submenu = {},
                     Qt::KeyboardModifiers mods = {})
    {
        QMenu* menu = popupOf(lw);
        bool clicked = false;
        // Polls, as the click's own handlers may serve events before the menu opens.
        QTimer poll;
        poll.setInterval(5);
        QObject::connect(&poll, &QTimer::timeout, menu, [&] {
            QMenu* m = menu;
            if (!m->isVisible())
                return;
            poll.stop();
            // A user clicks a menu only once it is on the screen, so its show
            // events are served first. Among them is the window system's focus
            // change to the menu, which Qt ignores while the menu is open; a
            // click before it closes the menu with the change still queued, and
            // served then it makes the hidden menu the active window: the main
            // window never gets the activation back, nor the keyboard focus.
            if (!QTest::qWaitForWindowExposed(m)) {
                m->close();
                return;
            }
            if (!submenu.isEmpty()) {
                QMenu* sub = m->findChild<QMenu*>(submenu);
                if (!sub) {
                    m->close();
                    return;
                }
                QTest::mouseClick(m, Qt::LeftButton, {}, m->actionGeometry(sub->menuAction()).center());
                if (!QTest::qWaitFor([&] { return sub->isVisible(); }, 2000) || !QTest::qWaitForWindowExposed(sub)) {
                    m->close();
                    return;
                }
                m = sub;
            }
            // The Free Select commands are the collection's actions, placed in the menu.
            QAction* a = nullptr;
            for (QAction* item : m->actions())
                if (item->objectName() == name)
                    a = item;
            if (!a) {
                menu->close();
                return;
            }
            QTest::mouseClick(m, Qt::LeftButton, {}, m->actionGeometry(a).center());
            clicked = true;
        });
        poll.start();
        QTest::mouseClick(viewport(lw), Qt::RightButton, mods, row >= 0 ? rowPoint(lw, row) : emptyPoint(lw));
        EXPECT_TRUE(clicked) << name.toStdString();
        EXPECT_FALSE(menu->isVisible());
        // The closed menu hands the activation back through the event queue, and
        // with it the focus: a slow build serves it later.
        (void)QTest::qWaitFor([lw] { return lw->window()->isActiveWindow(); }, 3000);
    }
    QString clip() const { return QGuiApplication::clipboard()->text(); }
};
