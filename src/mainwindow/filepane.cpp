#include "mainwindow/filepane.h"
#include "filelist/filelists.h"
#include "mainwindow/framelayout.h"
#include "mainwindow/widgetbuild.h"

#include <algorithm>

#include <QStyle>

namespace {

using platform::twipsPerPixel;
using widgetbuild::named;
using widgetbuild::pictureButton;

} // namespace

// Places are the window's design places in twips, taken relative to the pane.
void FilePane::place(QWidget* w, int left, int top, int width, int height)
{
    w->setGeometry(platform::pixelRect(left - kLeft, top - kTop, width, height));
}

FilePane::FilePane(FileListState& files, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("filePane"));
    // Large enough for the design places until the first resize of the window.
    resize(6300 / twipsPerPixel(), 6000 / twipsPerPixel());
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
                                  QStringLiteral("Change Directory"));
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
    // The strip at its design size (4695 x 5895) until the first resize of the window.
    layout_ = frameLayout(kLeft + 4695 + 180, kTop + 5895 + 830);
    arrange();
}

void FilePane::layoutFor(const FrameLayout& l)
{
    auto* area = parentWidget();
    const int tpp = twipsPerPixel();
    setGeometry(kLeft / tpp, kTop / tpp, std::max(area->width() - kLeft / tpp, 0),
                std::max(area->height() - kTop / tpp, 0));
    layout_ = l;
    arrange();
}

void FilePane::setTreeBoxEnabled(bool enabled)
{
    if (enabled == treeBoxEnabled_)
        return;
    treeBoxEnabled_ = enabled;
    arrange();
}

void FilePane::applyTreeOption(bool enabled)
{
    setTreeBoxEnabled(enabled);
    if (!enabled) {
        chkShowTreeview->setValue(0);
        chkShowTreeview->hide();
    } else if (TabStripFilemode->selectedKey() == QLatin1String("listview")) {
        chkShowTreeview->show();
    }
}

void FilePane::setListLook(bool fullRowSelect, bool gridLines)
{
    for (platform::ListView* lw : {lwDirectory, lwDragDrop}) {
        lw->setFullRowSelect(fullRowSelect);
        lw->setGridLines(gridLines);
    }
}

void FilePane::arrange()
{
    const auto px = [](int twips) { return qRound(twips / double(twipsPerPixel())); };
    const auto designY = [](int twips) { return (twips - kTop) / twipsPerPixel(); };
    // The tab buttons sit on top of the strip's panel, which holds the lists.
    const int tabsHeight = TabStripFilemode->height();
    const QRect strip = layout_.tabStripFilemode;
    fileBody->setGeometry(px(strip.left() - kLeft), px(strip.top() - kTop) + tabsHeight, px(strip.width()),
                          std::max(px(strip.height()) - tabsHeight, 0));
    // Boxes that found no room beside the tabs push the path row and the lists down.
    const int drop = arrangeCheckBoxes(px(strip.left() + strip.width() - kLeft));
    for (QWidget* button : {cmdRefresh, cmdDragDropAdd, cmdParentDir, cmdDragDropDel, cmdShowDirReq, cmdDragDropClear})
        button->move(button->x(), designY(492) + drop);
    txtPath->setGeometry(txtPath->x(), designY(495) + drop, px(layout_.txtPathWidth), txtPath->height());
    txtPattern->move(px(layout_.txtPatternLeft - kLeft), designY(495) + drop);
    const std::pair<QWidget*, int> lists[] = {{lwDragDrop, 840}, {TreeView, 852}, {lwDirectory, 852}};
    for (const auto& [list, top] : lists)
        list->setGeometry(list->x(), designY(top) + drop, px(layout_.lists.width()),
                          std::max(px(layout_.lists.height()) - drop, 0));
}

// The boxes keep their design places beside the tabs unless this desktop's font
// makes a caption wider than the design allowed. When the strip is too narrow
// for them there, the rest wrap into rows of their own at the top of the
// strip's panel, so each stays whole and inside the window.
int FilePane::arrangeCheckBoxes(int right)
{
    constexpr int gap = 8;
    const int rowLeft = (4680 - kLeft) / twipsPerPixel(); // under the first path-row button
    const int rowsTop = (492 - kTop) / twipsPerPixel();
    struct Box {
        QWidget* box;
        int designLeft;
    };
    std::vector<Box> boxes = {{chkThumbnails, 6600}, {chkPreview, 7860}};
    if (treeBoxEnabled_)
        boxes.push_back({chkShowTreeview, 9420});
    int rowHeight = 0;
    for (const Box& b : boxes)
        rowHeight = std::max(rowHeight, b.box->sizeHint().height() + 2);

    int row = 0;
    int x = TabStripFilemode->geometry().right() + 1 + gap;
    for (const Box& b : boxes) {
        const QSize size = b.box->sizeHint();
        if (row == 0)
            x = std::max(x, (b.designLeft - kLeft) / twipsPerPixel());
        if (x + size.width() > right && (row == 0 || x > rowLeft)) {
            ++row;
            x = rowLeft;
        }
        const int y = row == 0 ? (135 - kTop) / twipsPerPixel() : rowsTop + (row - 1) * rowHeight;
        b.box->setGeometry(x, y, size.width(), size.height());
        x += size.width() + gap;
    }
    chkThumbnailsFreeSelect->setGeometry(chkThumbnails->geometry());
    if (!treeBoxEnabled_) // hidden: after the others, taking no room
        chkShowTreeview->setGeometry(chkPreview->geometry().right() + 1 + gap, chkPreview->y(),
                                     chkShowTreeview->sizeHint().width(), chkPreview->height());
    return row * rowHeight;
}

void FilePane::showDirectoryMode(bool treeEnabled)
{
    setTreeBoxEnabled(treeEnabled);
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
