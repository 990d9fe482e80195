#include "filelist_fixture.h"

#include <QTreeWidgetItem>

namespace {

QStringList topTexts(QTreeWidget* t)
{
    QStringList out;
    for (int i = 0; i < t->topLevelItemCount(); ++i)
        out << t->topLevelItem(i)->text(0);
    return out;
}

QString key(const QTreeWidgetItem* n)
{
    return n ? n->data(0, kNodeKeyRole).toString() : QString("<none>");
}

} // namespace

TEST_F(FileListTest, TreeNodesSitUnderTheirDirectoriesWithRelativeKeys)
{
    options.enableTreeview = 1;
    chkSub->setValue(1);
    writeFile("top.txt");
    writeFile("sub/a.txt");
    writeFile("sub/deeper/f.txt");
    readAndShow(dir());
    ASSERT_EQ(topTexts(tree), (QStringList{"[..]", "sub", "top.txt"}));
    const QTreeWidgetItem* up = tree->topLevelItem(0);
    EXPECT_EQ(key(up), "ROOT");
    EXPECT_EQ(up->data(0, kNodeImageRole).toInt(), defaultIcon::GhostDir);
    const QTreeWidgetItem* sub = tree->topLevelItem(1);
    EXPECT_EQ(key(sub), "NODEsub");
    ASSERT_EQ(sub->childCount(), 2);
    EXPECT_EQ(key(sub->child(0)), "NODEsub/deeper");
    EXPECT_EQ(key(sub->child(1)), "NODEsub/a.txt");
    const QTreeWidgetItem* f = findNode(tree, "NODEsub/deeper/f.txt");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->parent(), sub->child(0));
    EXPECT_EQ(f->text(0), "f.txt");
    EXPECT_EQ(files.imagelistSysIcons.keys.at(f->data(0, kNodeImageRole).toInt() - 1), ">TXT");
    EXPECT_TRUE(tree->rootIsDecorated()) << "some node has a parent";
}

TEST_F(FileListTest, TopLevelIsSortedWhenOnlyOneKindIsShown)
{
    options.enableTreeview = 1;
    chkFiles->setValue(0);
    makeDir("b");
    makeDir("1st");
    makeDir("Zed");
    readAndShow(dir());
    EXPECT_EQ(topTexts(tree), (QStringList{"1st", "[..]", "b", "Zed"}));
    EXPECT_FALSE(tree->rootIsDecorated());
}

TEST_F(FileListTest, TheRootHasNoParentNode)
{
    options.enableTreeview = 1;
    options.hideSystemFolders = 0;
    chkFiles->setValue(0);
    readAndShow("/");
    ASSERT_GT(tree->topLevelItemCount(), 0);
    EXPECT_EQ(findNode(tree, "ROOT"), nullptr);
    EXPECT_NE(findNode(tree, "NODEetc"), nullptr);
}

TEST_F(FileListTest, NoTreeWorkWhileThumbnailsAreShownOrTheTreeIsOff)
{
    writeFile("a.txt");
    options.enableTreeview = 0;
    readAndShow(dir());
    EXPECT_EQ(tree->topLevelItemCount(), 0);
    options.enableTreeview = 1;
    chkThumbnails->setValue(1);
    readAndShow(dir());
    EXPECT_EQ(tree->topLevelItemCount(), 0);
    EXPECT_EQ(rowNames(), QStringList{"a.txt"});
}

TEST_F(FileListTest, EscapeDuringTheTreeBuildStopsBeforeTheRows)
{
    options.enableTreeview = 1;
    writeFile("a.txt");
    read(dir());
    escapeDuringWork();
    updateFileViews(host);
    EXPECT_EQ(panel("selected"), "User Cancelled!");
    EXPECT_EQ(tree->topLevelItemCount(), 0);
    EXPECT_TRUE(files.lstFiles[0].isEmpty());
    EXPECT_EQ(lwDirectory->count(), 0);
    EXPECT_TRUE(window->isEnabled());
    EXPECT_EQ(ui.mousePointer(), 0);
}
