#include "listui/inplacerename.h"
#include "engine/forbidden.h"
#include "filelist/iconlists.h"
#include "platform/failure.h"
#include "platform/fileops.h"

#include <QLineEdit>
#include <QTimer>

namespace {

// Only blanks count for the blank test; other white space is a name's own.
bool blank(const QString& s)
{
    for (QChar c : s)
        if (c != QLatin1Char(' '))
            return false;
    return true;
}

void replaceExact(QStringList& list, const QString& from, const QString& to)
{
    for (QString& s : list)
        if (s == from)
            s = to;
}

} // namespace

bool repathBelowPrefix(QString& s, const QString& oldFull, const QString& newFull)
{
    const qsizetype n = oldFull.size();
    if (!s.startsWith(oldFull, Qt::CaseSensitive))
        return false;
    if (s.size() > n && s.at(n) != QLatin1Char('/'))
        return false;
    s = newFull + s.mid(n);
    return true;
}

InPlaceRename::InPlaceRename(const FileListHost& host, QObject* parent) : QObject(parent), host_(host)
{
    for (platform::ListView* lw : {host_.lwDirectory, host_.lwDragDrop}) {
        connect(lw, &platform::ListView::labelEditOpened, this,
                [this, lw](int row, QLineEdit* editor) { beforeLabelEdit(lw, row, editor); });
        lw->model()->afterLabelEdit = [this, lw](int row, const QString& text) {
            return afterLabelEdit(lw, row, text);
        };
    }
}

void InPlaceRename::startEdit(platform::ListView* list)
{
    const int r = list->currentRow();
    if (r < 0 || list->subItem(r, 2).isEmpty())
        return;
    list->startLabelEdit();
}

// The caret rests before the extension's dot with nothing selected; a name
// without a dot opens fully selected.
void InPlaceRename::beforeLabelEdit(platform::ListView* list, int row, QLineEdit* editor)
{
    list->setSelected(row, false);
    const qsizetype p = list->text(row).lastIndexOf(QLatin1Char('.'));
    if (p >= 0)
        editor->setCursorPosition(int(p));
}

void InPlaceRename::repathBelow(platform::ListView* list, QStringList& dirs, QStringList& files, bool rows, bool lists,
                                const QString& oldFull, const QString& newFull)
{
    if (rows)
        for (int r = 0; r < list->count(); ++r) {
            QString d = list->subItem(r, 2);
            // The directory column ends with "/"; compare it without that end.
            if (d.endsWith(QLatin1Char('/')) && d.size() > 1) {
                QString bare = d.chopped(1);
                if (repathBelowPrefix(bare, oldFull, newFull))
                    list->setSubItem(r, 2, bare + QLatin1Char('/'));
            }
        }
    if (lists) {
        for (QString& s : dirs)
            repathBelowPrefix(s, oldFull, newFull);
        for (QString& s : files)
            repathBelowPrefix(s, oldFull, newFull);
    }
}

bool InPlaceRename::afterLabelEdit(platform::ListView* list, int row, const QString& typed)
{
    if (row < 0 || row >= list->count())
        return false;
    const QString oldName = list->text(row);
    // A pasted line feed or escape sequence never reaches the name on disk.
    QString newName = withoutControlChars(typed);
    if (newName == oldName || blank(newName))
        return false;
    const QString dir = list->subItem(row, 2);
    if (dir.isEmpty())
        return false;
    replaceForbiddenChars(newName, host_.logs);
    // An empty, "." or ".." name would address the directory itself or its parent.
    if (newName.isEmpty() || newName == QLatin1String(".") || newName == QLatin1String(".."))
        return false;
    const QString oldFull = dir + oldName;
    const QString newFull = dir + newName;
    FileListState& s = *host_.files;
    // A listed name that is not the entry's name on disk cannot be renamed.
    if (isUnrenamable(s, oldFull))
        return false;
    try {
        platform::renameNoReplace(oldFull, newFull);
    } catch (const platform::Failure&) {
        return false;
    }

    const bool dirList = list == host_.lwDirectory;
    const int own = dirList ? 0 : 1;
    const int other = 1 - own;
    platform::ListView* otherList = dirList ? host_.lwDragDrop : host_.lwDirectory;
    if (dirList)
        host_.ui->setMousePointer(11);
    list->setText(row, newName);
    replaceExact(s.lstFiles[own], oldFull, newFull);
    replaceExact(s.lstDirs[own], oldFull, newFull);
    replaceExact(s.lstFiles[other], oldFull, newFull);
    replaceExact(s.lstDirs[other], oldFull, newFull);
    for (int r = 0; r < otherList->count(); ++r)
        if (otherList->subItem(r, 2) + otherList->text(r) == oldFull)
            otherList->setText(r, newName);

    const bool isDir = platform::isDirectory(newFull);
    if (isDir) {
        const bool ownBelow = !dirList || host_.readTicks().sub == 1;
        repathBelow(list, s.lstDirs[own], s.lstFiles[own], ownBelow, ownBelow, oldFull, newFull);
        repathBelow(otherList, s.lstDirs[other], s.lstFiles[other], true, true, oldFull, newFull);
    }

    if (platform::entryExists(newFull, 55)) {
        const bool thumbs = (dirList ? s.thumbnailsShownDir : s.thumbnailsShownFreeSel) == -1;
        if (thumbs)
            s.makeThumbnailsNow = -1;
        const qint16 dirFlag = isDir ? -1 : 0;
        const qint16 small = dirList ? getSysIcon(host_, newFull, dirFlag) : getSysIconFreeSel(host_, newFull, dirFlag);
        list->setIcons(row, small, s.sysIconLargeIndex);
        if (thumbs)
            s.makeThumbnailsNow = 0;
    }
    if (host_.updateExecuteButton)
        host_.updateExecuteButton();
    if (dirList)
        host_.ui->setMousePointer(0);

    // The next row becomes current once the edit box has closed (a change of
    // the current row while it closes would commit the same edit again).
    if (row + 1 < list->count())
        QTimer::singleShot(0, list, [list, row, preview = host_.preview] {
            if (row + 1 >= list->count())
                return;
            list->setSelected(row + 1, true);
            list->setCurrentRow(row + 1);
            preview->labelEditPending = -1;
        });
    return true;
}
