// The about box: its texts, the links that keep it open, and every other click
// or key closing it.
#include "mainwindow/frmabout.h"
#include "mainwindow/frmmain.h"
#include "mainwindow_fixture.h"
#include "test_support.h"

#include <functional>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrlQuery>

TEST(RenamedSentence, CountsArePlainDecimalAndTheWordsStayPlural)
{
    struct Case {
        qint32 files, dirs;
        const char* sentence;
    };
    const Case cases[] = {
        {0, 0, "You have renamed 0 files and 0 directories!"},
        {1, 1, "You have renamed 1 files and 1 directories!"},
        {1, -3, "You have renamed 1 files and -3 directories!"},
        {1234567, 0, "You have renamed 1234567 files and 0 directories!"},
        {2147483647, -2147483647 - 1, "You have renamed 2147483647 files and -2147483648 directories!"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(renamedSentence(c.files, c.dirs), QString::fromLatin1(c.sentence)) << c.files << " " << c.dirs;
}

TEST(FeedbackMail, IsANewMailWithTitleAndVersionAsSubject)
{
    const QUrl url = feedbackMailUrl("Vexor Renamer", "4.62");
    EXPECT_EQ(url.scheme(), "mailto");
    EXPECT_TRUE(url.path().isEmpty()); // no fixed address
    EXPECT_EQ(QUrlQuery(url).queryItemValue("subject", QUrl::FullyDecoded), "Vexor Renamer 4.62");
}

class AboutBoxTest : public TempEnv {
protected:
    ScriptedUi ui;
    std::unique_ptr<FrmAbout> box;

    void open(qint32 files = 1, qint32 dirs = -3)
    {
        box = std::make_unique<FrmAbout>(ui, "Vexor Renamer", "4.62", files, dirs);
        box->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(box.get()));
    }
};

TEST_F(AboutBoxTest, ShowsCaptionVersionAndTotals)
{
    open(1, -3);
    EXPECT_EQ(box->windowTitle(), " About Vexor Renamer");
    EXPECT_EQ(box->lblVersion->text(), "v4.62");
    EXPECT_EQ(box->lblTotRenamed->text(), "You have renamed 1 files and -3 directories!");
    EXPECT_EQ(box->Label3->text(), "Contact:");
    EXPECT_EQ(box->lblWeb->text(), "Help and documentation");
    EXPECT_EQ(box->lblMail->text(), "Send feedback");
    EXPECT_TRUE(box->lblWeb->font().underline());
    EXPECT_TRUE(box->lblMail->font().underline());
    // The close button is out of sight but keeps the focus and the default role.
    EXPECT_GE(box->cmdExit->x(), box->width());
    EXPECT_TRUE(box->cmdExit->isDefault());
    EXPECT_TRUE(box->cmdExit->hasFocus() || QApplication::focusWidget() == box->cmdExit);
    EXPECT_EQ(box->clickShape->geometry(), box->rect());
    EXPECT_FALSE(box->imgTaborin->pixmap().isNull());
    EXPECT_FALSE(box->Image3->pixmap().isNull());
    EXPECT_EQ(box->Image3->pixmap().size(), QSize(101, 84));
    // Nothing of the visible box lies outside it.
    for (QWidget* w : {static_cast<QWidget*>(box->imgTaborin), static_cast<QWidget*>(box->lblWeb),
                       static_cast<QWidget*>(box->Shape1), static_cast<QWidget*>(box->lblVersion),
                       static_cast<QWidget*>(box->lblMail), static_cast<QWidget*>(box->lblTotRenamed)})
        EXPECT_TRUE(box->rect().contains(w->geometry())) << w->objectName().toStdString();
    EXPECT_LE(box->lblVersion->sizeHint().width(), box->lblVersion->width());
    EXPECT_LE(box->lblMail->sizeHint().width(), box->lblMail->width());
    EXPECT_LE(box->Label3->sizeHint().width(), box->Label3->width());
    EXPECT_LT(box->Label3->geometry().right(), box->lblMail->x());
    EXPECT_TRUE(box->Shape1->geometry().contains(box->lblMail->geometry()));
    EXPECT_LE(box->lblWeb->sizeHint().width(), box->lblWeb->width());
    EXPECT_LE(box->lblTotRenamed->heightForWidth(box->lblTotRenamed->width()), box->lblTotRenamed->height());
}

TEST_F(AboutBoxTest, LinkClicksOpenTheirAddressAndKeepTheBoxOpen)
{
    open();
    QTest::mouseClick(box->lblWeb, Qt::LeftButton, {}, box->lblWeb->rect().center());
    QTest::mouseClick(box->lblMail, Qt::LeftButton, {}, box->lblMail->rect().center());
    EXPECT_TRUE(box->isVisible());
    ASSERT_EQ(ui.opened.size(), 2u);
    EXPECT_TRUE(ui.opened[0].isLocalFile());
    EXPECT_TRUE(ui.opened[0].toLocalFile().endsWith("/share/vexorren/help.html"));
    EXPECT_EQ(ui.opened[1], feedbackMailUrl("Vexor Renamer", "4.62"));
}

TEST_F(AboutBoxTest, AnyOtherClickOrKeyCloses)
{
    struct Closer {
        const char* what;
        std::function<void(FrmAbout&)> act;
    };
    auto clickOn = [](QWidget* (*pick)(FrmAbout&)) {
        return [pick](FrmAbout& b) {
            QWidget* target = pick(b);
            // A user clicks where the element is seen; the topmost widget there takes it.
            const QPoint at = target->mapTo(&b, target->rect().center());
            QWidget* hit = b.childAt(at) ? b.childAt(at) : &b;
            QTest::mouseClick(hit, Qt::LeftButton, {}, hit->mapFrom(&b, at));
        };
    };
    const Closer closers[] = {
        {"logo", clickOn([](FrmAbout& b) -> QWidget* { return b.imgTaborin; })},
        {"picture", clickOn([](FrmAbout& b) -> QWidget* { return b.Image3; })},
        {"version", clickOn([](FrmAbout& b) -> QWidget* { return b.lblVersion; })},
        {"contact", clickOn([](FrmAbout& b) -> QWidget* { return b.Label3; })},
        {"sentence", clickOn([](FrmAbout& b) -> QWidget* { return b.lblTotRenamed; })},
        {"empty corner",
         [](FrmAbout& b) {
             QWidget* hit = b.childAt(QPoint(b.width() - 3, b.height() - 3));
             ASSERT_TRUE(hit);
             QTest::mouseClick(hit, Qt::LeftButton, {}, hit->mapFrom(&b, QPoint(b.width() - 3, b.height() - 3)));
         }},
        {"Enter", [](FrmAbout& b) { QTest::keyClick(&b, Qt::Key_Return); }},
        {"Escape", [](FrmAbout& b) { QTest::keyClick(&b, Qt::Key_Escape); }},
        {"Space", [](FrmAbout& b) { QTest::keyClick(b.cmdExit, Qt::Key_Space); }},
    };
    for (const Closer& c : closers) {
        open();
        c.act(*box);
        EXPECT_FALSE(box->isVisible()) << c.what;
        EXPECT_TRUE(ui.opened.empty()) << c.what;
    }
}

class AboutButtonTest : public MainWindowFixture<> {};

TEST_F(AboutButtonTest, ShowsTheCurrentTotalsModallyUntilAKey)
{
    start();
    w->state().settings.totNumberOfFilesRenamedNew = 12;
    w->state().settings.totNumberOfDirsRenamedNew = 3;
    QString seen;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<FrmAbout*>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen = box->lblTotRenamed->text();
        QTest::keyClick(box, Qt::Key_Escape);
    });
    QTest::mouseClick(ctl<QPushButton>("cmdAbout"), Qt::LeftButton);
    EXPECT_EQ(seen, "You have renamed 12 files and 3 directories!");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}
