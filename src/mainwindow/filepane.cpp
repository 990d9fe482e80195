#include "mainwindow/filepane.h"
#include "filelist/filelists.h"
#include "mainwindow/framelayout.h"
#include "mainwindow/widgetbuild.h"

#include <algorithm>

#include <QStyle>

namespace {

using widgetbuild::kTwips;
using widgetbuild::named;
using widgetbuild::pictureButton;

} // namespace

// Places are the window's design places in twips, taken relative to the pane.
void FilePane::place(QWidget* w, int left, int top, int width, int height)
{
    w->setGeometry((left - kLeft) / kTwips, (top - kTop) / kTwips, width / kTwips, height / kTwips);
}

FilePane::FilePane(FileListState& files, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("filePane"));
    // Large enough for the design places until the first resize of the window.
    resize(6300 / kTwips, 6000 / kTwips);
    fileBody = named(new QFrame(this), QStringLiteral("fileBody"));
    fileBody->setFrameShape(QFrame::StyledPanel);
    TabStripFilemode = named(new platform::TabStrip(this, 2), QStringLiteral("TabStripFilemode"));
    TabStripFilemode->addKeyedTab(QStringLiteral("listview"), QStringLiteral("Directory"));
    TabStripFilemode->addKeyedTab(QStringLiteral("dragdrop"), QStringLiteral("Free Select"));

    cmdRefresh = pictureButton(this, QStringLiteral("cmdRefresh"), QStyle::SP_BrowserReload,
                               QStringLiteral("Refresh Directory (F12)"));
    cmdParentDir = pictureButton(this, QStringLiteral("cmdParentDir"), QStyle::SP_FileDialogToParent,
                                 QStringLiteral("Parent Directory"));
    cmdShowDirReq = pictureButton(this, QStringLiteral("cmdShowDirReq"), QStyle::SP_DirOpenIcon,
                                  QStringLiteral("Choose Directory..."));
    cmdDragDropAdd = pictureButton(this, QStringLiteral("cmdDragDropAdd"), QStyle::SP_FileDialogNewFolder,
                                   QStringLiteral("Add Files"));
    cmdDragDropDel = pictureButton(this, QStringLiteral("cmdDragDropDel"), QStyle::SP_DialogDiscardButton,
                                   QStringLiteral("Remove Selected"));
    cmdDragDropClear = pictureButton(this, QStringLiteral("cmdDragDropClear"), QStyle::SP_DialogResetButton,
                                     QStringLiteral("Remove All"));
    txtPath = named(new QComboBox(this), QStringLiteral("txtPath"));
    txtPath->setEditable(true);
    txtPath->setInsertPolicy(QComboBox::NoInsert);
    txtPattern = named(new platform::TextBox(this), QStringLiteral("txtPattern"));
    txtPattern->setText(QStringLiteral("*.*"));

    lwDirectory = named(new platform::ListView(this), QStringLiteral("lwDirectory"));
    lwDragDrop = named(new platform::ListView(this), QStringLiteral("lwDragDrop"));
    for (platform::ListView* lw : {lwDirectory, lwDragDrop}) {
        lw->addColumn(QStringLiteral("filename"), QStringLiteral("Name"), 3030);
        lw->addColumn(QStringLiteral("preview"), QStringLiteral("Preview"), 3020);
        lw->addColumn(QStringLiteral("path"), QStringLiteral("Path"), 3030);
    }
    lwDirectory->setSmallIcons(&files.imagelistSysIcons);
    lwDirectory->setLargeIcons(&files.imagelistSysIconsLarge);
    lwDragDrop->setSmallIcons(&files.imagelistSysIconsFreeSelect);
    lwDragDrop->setLargeIcons(&files.imagelistSysIconsFreeSelectLarge);
    TreeView = named(new QTreeWidget(this), QStringLiteral("TreeView"));
    TreeView->setHeaderHidden(true);
    TreeView->setSortingEnabled(false);
    TreeView->hide();

    using platform::CheckBox;
    chkThumbnails = named(new CheckBox(QStringLiteral("Thumbnails"), this), QStringLiteral("chkThumbnails"));
    chkThumbnailsFreeSelect =
        named(new CheckBox(QStringLiteral("Thumbnails"), this), QStringLiteral("chkThumbnailsFreeSelect"));
    chkPreview = named(new CheckBox(QStringLiteral("Instant Preview"), this), QStringLiteral("chkPreview"));
    chkShowTreeview = named(new CheckBox(QStringLiteral("View as Tree"), this), QStringLiteral("chkShowTreeview"));
    chkPreview->setValue(1);
    chkThumbnailsFreeSelect->hide();

    place(TabStripFilemode, 4560, 120, 2100, 345);
    // Both captions whole with this desktop's font.
    TabStripFilemode->resize(std::max(TabStripFilemode->width(), TabStripFilemode->minimumSizeHint().width() + 2),
                             TabStripFilemode->height());
    place(fileBody, 4560, 120 + 345, 4695, 5895 - 345);
    place(cmdRefresh, 4680, 492, 330, 315);
    place(cmdDragDropAdd, 4680, 492, 330, 315);
    place(cmdParentDir, 5040, 492, 330, 315);
    place(cmdDragDropDel, 5040, 492, 330, 315);
    place(cmdShowDirReq, 5400, 492, 330, 315);
    place(cmdDragDropClear, 5400, 492, 330, 315);
    place(txtPath, 5805, 495, 3015, 315);
    place(txtPattern, 8880, 495, 525, 315);
    place(lwDirectory, 4632, 852, 4296, 4932);
    place(lwDragDrop, 4632, 840, 4212, 4932);
    place(TreeView, 4632, 852, 4380, 4908);
    place(chkThumbnails, 6600, 135, 1215, 255);
    place(chkThumbnailsFreeSelect, 6600, 135, 1215, 255);
    place(chkPreview, 7860, 135, 1530, 255);
    place(chkShowTreeview, 9420, 135, 1335, 255);
    for (QWidget* w : {static_cast<QWidget*>(cmdDragDropAdd), static_cast<QWidget*>(cmdDragDropDel),
                       static_cast<QWidget*>(cmdDragDropClear), static_cast<QWidget*>(lwDragDrop)})
        w->hide();
    // The check boxes beside the file-mode tabs keep their design places unless
    // this desktop's font makes a caption wider than the design allowed.
    int right = TabStripFilemode->geometry().right() + 8;
    for (QWidget* w : {static_cast<QWidget*>(chkThumbnails), static_cast<QWidget*>(chkPreview),
                       static_cast<QWidget*>(chkShowTreeview)}) {
        w->resize(w->sizeHint().width(), w->height());
        w->move(std::max(w->x(), right), w->y());
        right = w->geometry().right() + 8;
    }
    chkThumbnailsFreeSelect->setGeometry(chkThumbnails->geometry());
}

void FilePane::layoutFor(const FrameLayout& l)
{
    const auto px = [](int twips) { return qRound(twips / double(kTwips)); };
    auto* area = parentWidget();
    setGeometry(kLeft / kTwips, kTop / kTwips, std::max(area->width() - kLeft / kTwips, 0),
                std::max(area->height() - kTop / kTwips, 0));
    // The tab buttons sit on top of the strip's panel, which holds the lists.
    const int tabsHeight = TabStripFilemode->height();
    const QRect strip = l.tabStripFilemode;
    fileBody->setGeometry(px(strip.left() - kLeft), px(strip.top() - kTop) + tabsHeight, px(strip.width()),
                          std::max(px(strip.height()) - tabsHeight, 0));
    for (QWidget* list :
         {static_cast<QWidget*>(lwDragDrop), static_cast<QWidget*>(TreeView), static_cast<QWidget*>(lwDirectory)})
        list->resize(px(l.lists.width()), px(l.lists.height()));
    txtPath->resize(px(l.txtPathWidth), txtPath->height());
    txtPattern->move(px(l.txtPatternLeft - kLeft), txtPattern->y());
}

void FilePane::showDirectoryMode(bool treeEnabled)
{
    txtPath->setEnabled(true);
    txtPattern->setEnabled(true);
    cmdRefresh->show();
    cmdParentDir->show();
    cmdDragDropDel->hide();
    cmdDragDropClear->hide();
    cmdDragDropAdd->hide();
    lwDragDrop->hide();
    if (treeEnabled)
        chkShowTreeview->show();
    txtPath->show();
    txtPattern->show();
    cmdShowDirReq->show();
    chkThumbnails->show();
    chkThumbnailsFreeSelect->hide();
    if (chkShowTreeview->value() == 1) {
        lwDirectory->hide();
        TreeView->show();
        TreeView->raise();
    } else {
        TreeView->hide();
        lwDirectory->show();
        lwDirectory->raise();
    }
}

void FilePane::showFreeSelectMode()
{
    txtPath->setEnabled(false);
    txtPattern->setEnabled(false);
    cmdRefresh->hide();
    cmdParentDir->hide();
    cmdDragDropDel->show();
    cmdDragDropClear->show();
    cmdDragDropAdd->show();
    TreeView->hide();
    lwDirectory->hide();
    lwDragDrop->show();
    lwDragDrop->raise();
    chkThumbnails->hide();
    chkThumbnailsFreeSelect->show();
    chkShowTreeview->hide();
    txtPath->hide();
    txtPattern->hide();
    cmdShowDirReq->hide();
}
