// The rename-mode table is complete: every mode has its panel, a pass for
// each of its sub-options and a tab whose caption shows whole. A mode left out
// of one of them would show no options, or let Rename! rename nothing.
#include "engine/renamemode.h"
#include "execute/passes.h"
#include "mainwindow/frmmain.h"
#include "mainwindow/panels/modepanel.h"
#include "mainwindow_fixture.h"
#include "test_support.h"

#include <QAbstractButton>
#include <QTest>

class ModeTableTest : public MainWindowFixture<> {};

TEST_F(ModeTableTest, EveryModeHasItsPanelAPassPerSubOptionAndATabThatFits)
{
    start();
    auto* strip = ctl<platform::TabStrip>("TabStrip");
    const QList<ModePanel*> panels = w->findChildren<ModePanel*>();
    EXPECT_EQ(panels.size(), qsizetype(renameModes().size()));
    EXPECT_EQ(strip->count(), int(renameModes().size()));
    for (const RenameModeRow& row : renameModes()) {
        SCOPED_TRACE(row.key);
        int own = 0;
        for (const ModePanel* p : panels)
            own += p->mode() == row.mode ? 1 : 0;
        EXPECT_EQ(own, 1) << "panels of the mode";

        const int tab = strip->indexOfKey(QString::fromLatin1(row.key));
        ASSERT_GE(tab, 0) << "no tab";
        QAbstractButton* button = strip->tabButton(tab);
        EXPECT_EQ(strip->tabCaption(tab), QString::fromLatin1(row.caption));
        // The size a tab asks for is the room its caption needs.
        EXPECT_LE(button->sizeHint().width(), button->width()) << "the caption is clipped";
        QTest::mouseClick(button, Qt::LeftButton);
        ASSERT_EQ(w->renameMode(), row.mode);
        ModePanel* panel = w->panel(row.mode);
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(panel->mode(), row.mode);
        EXPECT_TRUE(panel->isVisible());

        for (int sub = 0; sub < (row.hasOptionPair ? 2 : 1); ++sub) {
            SCOPED_TRACE(sub);
            panel->selectSubOption(sub);
            const RenameOptions options = w->readOptions();
            EXPECT_EQ(w->modeSubOption(row.mode), sub);
            EXPECT_EQ(modeSubOption(row.mode, options), sub);
            int matching = 0;
            for (const PassRow& pass : passTable()) {
                if (pass.mode == row.mode && (!pass.optionSet || pass.optionSet(options)))
                    ++matching;
            }
            EXPECT_EQ(matching, 1) << "pass rows for the sub-option";
        }
    }
}
