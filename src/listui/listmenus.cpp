#include "listui/listmenus.h"
#include "filelist/selectioncount.h"
#include "platform/windowbusy.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>

namespace {

// A menu item: caption and the control names in the directory list's and the
// Free Select list's menu; a separator has an empty caption.
struct SelectItem {
    const char* caption;
    const char* dirName;
    const char* fsName;
    SelectRule rule;
};

const SelectItem kSelectItems[] = {
    {"All   (Ctrl+A)", "mnuSelAll", "mnuFsSelAll", SelectRule::All},
    {"None", "mnuSelNone", "mnuFsSelNone", SelectRule::None},
    {"", "sep10", "sep12", SelectRule::None},
    {"Invert", "mnuSelInvert", "mnuFsSelInvert", SelectRule::Invert},
    {"", "sep11", "sep13", SelectRule::None},
    {"All with Preview", "mnuSelPreview", "mnuFSSelPreview", SelectRule::WithPreview},
    {"All without Preview", "mnuSelNoPreview", "mnuFSSelNoPreview", SelectRule::WithoutPreview},
};

struct CopyItem {
    const char* caption;
    const char* dirName;
    const char* fsName;
    CopyRows rows;
    CopyPart part;
};

const CopyItem kCopyItems[] = {
    {"Filename   (Ctrl+C)", "mnuListviewCopy", "mnuDragdropCopy", CopyRows::Current, CopyPart::Name},
    {"Preview", "mnuListviewCopyPreview", "mnuDragdropCopyPreview", CopyRows::Current, CopyPart::Preview},
    {"Filename incl. Path", "mnuListviewCopyIncPath", "mnuDragdropCopyIncPath", CopyRows::Current,
     CopyPart::NameIncPath},
    {"Preview incl. Path", "mnuListviewCopyPreviewIncPath", "mnuDragdropCopyPreviewIncPath", CopyRows::Current,
     CopyPart::PreviewIncPath},
    {"", "mnuSep12", "mnuSep10", CopyRows::Current, CopyPart::Name},
    {"Selected Filenames", "mnuListviewCopySelFilenames", "mnuFSCopySelFilenames", CopyRows::Selected, CopyPart::Name},
    {"Selected Previews", "mnuListviewCopySelPreview", "mnuFSCopySelPreviews", CopyRows::Selected, CopyPart::Preview},
    {"Selected Filenames incl. Paths", "mnuListviewCopySelFilenamesIncPaths", "mnuFSCopySelFilenamesIncPaths",
     CopyRows::Selected, CopyPart::NameIncPath},
    {"Selected Previews incl. Paths", "mnuListviewCopySelPreviewsIncPaths", "mnuFSCopySelPreviewsIncPaths",
     CopyRows::Selected, CopyPart::PreviewIncPath},
    {"", "mnuSep14", "mnuSep11", CopyRows::Current, CopyPart::Name},
    {"All Filenames", "mnuListFilenames", "mnuFSListFilenames", CopyRows::All, CopyPart::Name},
    {"All Previews", "mnuListPreviews", "mnuFSListPreviews", CopyRows::AllWithPreview, CopyPart::Preview},
    {"All Filenames incl. Paths", "mnuListFilenamesIncPaths", "mnuFSListFilenamesIncPaths", CopyRows::All,
     CopyPart::NameIncPath},
    {"All Previews incl. Paths", "mnuListPreviewsIncPaths", "mnuFSListPreviewsIncPaths", CopyRows::AllWithPreview,
     CopyPart::PreviewIncPath},
};

QString rowPart(const platform::ListView& list, int r, CopyPart part)
{
    switch (part) {
    case CopyPart::Name:
        return list.text(r);
    case CopyPart::Preview:
        return list.subItem(r, 1);
    case CopyPart::NameIncPath:
        return list.subItem(r, 2) + list.text(r);
    case CopyPart::PreviewIncPath:
        return list.subItem(r, 2) + list.subItem(r, 1);
    }
    return {};
}

QAction* addItem(QMenu* menu, const char* caption, const char* name)
{
    QAction* a = *caption ? menu->addAction(QString::fromLatin1(caption)) : menu->addSeparator();
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

QMenu* addSubmenu(QMenu* menu, const QString& title, const char* name)
{
    QMenu* sub = menu->addMenu(title);
    sub->setObjectName(QString::fromLatin1(name));
    sub->menuAction()->setObjectName(QString::fromLatin1(name));
    return sub;
}

} // namespace

QString copyText(const platform::ListView& list, CopyRows rows, CopyPart part)
{
    if (rows == CopyRows::Current) {
        const int r = list.currentRow();
        return r < 0 ? QString() : rowPart(list, r, part);
    }
    QString text;
    const int n = list.count();
    for (int r = 0; r < n; ++r) {
        const bool taken = rows == CopyRows::All || (rows == CopyRows::Selected && list.isSelected(r)) ||
                           (rows == CopyRows::AllWithPreview && !list.subItem(r, 1).isEmpty());
        if (taken)
            text += rowPart(list, r, part) + QLatin1Char('\n');
    }
    return text;
}

ListMenus::ListMenus(const FileListHost& host, const FreeSelectActions& freeSelect, QWidget* menuParent,
                     QObject* parent)
    : QObject(parent), host_(host)
{
    mnuPopupListview = new QMenu(QStringLiteral("popupListview"), menuParent);
    mnuPopupListview->setObjectName(QStringLiteral("mnuPopupListview"));
    mnuListviewOpen = addItem(mnuPopupListview, "Open", "mnuListviewOpen");
    mnuListviewRename = addItem(mnuPopupListview, "Manual Rename   (F2)", "mnuListviewRename");
    mnuListviewAdd = freeSelect.mnuListviewAdd;
    mnuPopupListview->addAction(mnuListviewAdd);
    addItem(mnuPopupListview, "", "mnuSep6");
    mnuPopupListview->setDefaultAction(mnuListviewOpen);

    mnuPopupDragdrop = new QMenu(QStringLiteral("popupDragdrop"), menuParent);
    mnuPopupDragdrop->setObjectName(QStringLiteral("mnuPopupDragdrop"));
    mnuDragdropOpen = addItem(mnuPopupDragdrop, "Open", "mnuDragdropOpen");
    mnuDrapDropRename = addItem(mnuPopupDragdrop, "Manual Rename   (F2)", "mnuDrapDropRename");
    addItem(mnuPopupDragdrop, "", "mnuSep7");
    mnuDragdropRemove = freeSelect.mnuDragdropRemove;
    mnuDragdropClear = freeSelect.mnuDragdropClear;
    mnuPopupDragdrop->addAction(mnuDragdropRemove);
    mnuPopupDragdrop->addAction(mnuDragdropClear);
    addItem(mnuPopupDragdrop, "", "mnuSep3");
    mnuPopupDragdrop->setDefaultAction(mnuDragdropOpen);

    for (bool dir : {true, false}) {
        QMenu* menu = dir ? mnuPopupListview : mnuPopupDragdrop;
        platform::ListView* list = dir ? host_.lwDirectory : host_.lwDragDrop;
        QMenu* sel = addSubmenu(menu, QStringLiteral("Select"), dir ? "mnuSelect" : "mnuFSSel");
        for (const SelectItem& item : kSelectItems) {
            QAction* a = addItem(sel, item.caption, dir ? item.dirName : item.fsName);
            if (*item.caption)
                connect(a, &QAction::triggered, this, [this, list, rule = item.rule] { select(list, rule); });
        }
        addItem(menu, "", dir ? "sep7" : "mnuSep15");
        QMenu* copyMenu = addSubmenu(menu, QStringLiteral("Copy to Clipboard"), dir ? "copy0" : "mnyCopy");
        for (const CopyItem& item : kCopyItems) {
            QAction* a = addItem(copyMenu, item.caption, dir ? item.dirName : item.fsName);
            if (*item.caption)
                connect(a, &QAction::triggered, this,
                        [this, list, rows = item.rows, part = item.part] { copy(list, rows, part); });
        }
    }
}

void ListMenus::copy(platform::ListView* list, CopyRows rows, CopyPart part)
{
    if (rows == CopyRows::Current) {
        // Without a current row there is nothing to copy; the clipboard stays.
        if (list->currentRow() >= 0)
            QGuiApplication::clipboard()->setText(copyText(*list, rows, part));
        return;
    }
    platform::disableWindow(host_.window);
    host_.ui->setMousePointer(11);
    const QString text = copyText(*list, rows, part);
    QGuiApplication::clipboard()->setText(text);
    host_.ui->setMousePointer(0);
    platform::enableWindow(host_.window);
}

void ListMenus::select(platform::ListView* list, SelectRule rule)
{
    platform::disableWindow(host_.window);
    host_.ui->setMousePointer(11);
    const int n = list->count();
    const int lastColumn = list->model()->columnCount() - 1;
    if (lastColumn >= 0) {
        // One selection change for the whole list, with runs of rows as ranges.
        QItemSelection s;
        int runStart = -1;
        for (int r = 0; r <= n; ++r) {
            bool on = false;
            if (r < n)
                switch (rule) {
                case SelectRule::All:
                    on = true;
                    break;
                case SelectRule::None:
                    on = false;
                    break;
                case SelectRule::Invert:
                    on = !list->isSelected(r);
                    break;
                case SelectRule::WithPreview:
                    on = !list->subItem(r, 1).isEmpty();
                    break;
                case SelectRule::WithoutPreview:
                    on = list->subItem(r, 1).isEmpty();
                    break;
                }
            if (on && runStart < 0)
                runStart = r;
            if (!on && runStart >= 0) {
                s.select(list->model()->index(runStart, 0), list->model()->index(r - 1, lastColumn));
                runStart = -1;
            }
        }
        list->selectionModel()->select(s, QItemSelectionModel::ClearAndSelect);
    }
    host_.ui->setMousePointer(0);
    platform::enableWindow(host_.window);
    updateSelectionCount(host_, 0);
    if (host_.updateExecuteButton)
        host_.updateExecuteButton();
}
