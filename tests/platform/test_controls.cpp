#include "platform/controls.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>

using namespace platform;

// A change by code fires like a click, and every listener hears it.
TEST(Controls, ChangesByCodeAndByUserFireTheSignals)
{
    QWidget w;
    auto* chk = new CheckBox(QStringLiteral("Files"), &w);
    auto* optA = new OptionButton(QStringLiteral("A"), &w);
    auto* optB = new OptionButton(QStringLiteral("B"), &w);
    auto* txt = new TextBox(&w);
    w.show();

    QSignalSpy chkSpy(chk, &CheckBox::valueClicked);
    int second = 0;
    QObject::connect(chk, &CheckBox::valueClicked, [&] { ++second; });
    chk->setValue(1);
    QTest::mouseClick(chk, Qt::LeftButton);
    EXPECT_EQ(chk->value(), 0);
    chk->setValue(2);
    EXPECT_EQ(chkSpy.count(), 3);
    EXPECT_EQ(second, 3);

    QSignalSpy aSpy(optA, &OptionButton::selected);
    QSignalSpy bSpy(optB, &OptionButton::selected);
    optA->select();
    QTest::mouseClick(optB, Qt::LeftButton);
    EXPECT_EQ(aSpy.count(), 1);
    EXPECT_EQ(bSpy.count(), 1); // A going off is no selection
    EXPECT_EQ(optA->value(), 0);
    EXPECT_EQ(optB->value(), -1);

    QSignalSpy changed(txt, &TextBox::changed);
    txt->setText(QStringLiteral("ab"));
    QTest::keyClicks(txt, QStringLiteral("cd"));
    EXPECT_EQ(txt->text(), QStringLiteral("abcd"));
    EXPECT_EQ(changed.count(), 3);
}

// A listener swallows a key by accepting it; other keys reach the box.
TEST(Controls, TextBoxKeyPressCanSwallowKeys)
{
    TextBox txt;
    txt.show();
    QSignalSpy keys(&txt, &TextBox::keyPress);
    QObject::connect(&txt, &TextBox::keyPress, [](QKeyEvent* e) {
        if (e->key() == Qt::Key_X)
            e->accept();
    });
    QTest::keyClicks(&txt, QStringLiteral("axb"));
    EXPECT_EQ(txt.text(), QStringLiteral("ab"));
    EXPECT_EQ(keys.count(), 3);
}

TEST(Controls, TextBoxFocusSignals)
{
    TextBox a;
    QSignalSpy in(&a, &TextBox::gotFocus);
    QSignalSpy out(&a, &TextBox::lostFocus);
    QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
    QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(&a, &focusIn);
    QApplication::sendEvent(&a, &focusOut);
    EXPECT_EQ(in.count(), 1);
    EXPECT_EQ(out.count(), 1);
}
