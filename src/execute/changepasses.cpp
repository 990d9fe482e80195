// The passes that number entries or change attributes and dates.
#include "execute/filetimes.h"
#include "execute/passes.h"
#include "execute/renameentry.h"
#include "platform/datetext.h"
#include "platform/failure.h"
#include "platform/fileops.h"

namespace {

std::pair<QString, QString> splitPath(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return {path.left(slash + 1), path.mid(slash + 1)};
}

void setCountLabel(ExecuteHost& h, bool isDir, qint32 n)
{
    if (isDir)
        report(h).setCount(RunCount::Dirs, QString::number(n) + QStringLiteral(" Directories Changed."));
    else
        report(h).setCount(RunCount::Files, QString::number(n) + QStringLiteral(" Files Changed."));
}

// The "RHSA" text of an attribute value, without brackets.
QString letters(int a)
{
    const QString t = platform::attributeText(a);
    return t.mid(1, 4);
}

// Changes one entry's attributes; false when Cancel ended the pass.
bool changeAttributes(ExecuteHost& h, const RenameOptions& o, const QString& path, bool isDir)
{
    RunState& r = h.run();
    const auto [dir, name] = splitPath(path);
    if (isPathSelected(h, path)) {
        QString oldText, newText;
        try {
            const int current = platform::getAttributes(path);
            const int oldValue = current & platform::attr::Changeable;
            const int newValue = wantedAttributes(current, o.attrReadOnly, o.attrHidden, o.attrSystem, o.attrArchive);
            oldText = letters(oldValue);
            newText = letters(newValue);
            if (newValue != oldValue) {
                const platform::StoredDosAttrib stored = platform::setAttributes(path, newValue);
                reportEntryLine(h,
                                isDir ? QStringLiteral("Directory Attribute Changed: ")
                                      : QStringLiteral("File Attribute Changed: "),
                                dir,
                                name + QStringLiteral(" [") + oldText + QStringLiteral("] -> [") + newText +
                                    QStringLiteral("]"),
                                showsFullPath(h));
                const qint32 done = isDir ? ++r.dirsDone : ++r.filesDone;
                setCountLabel(h, isDir, done);
                if (isDir) {
                    h.undo().putDir(done - 1, {name, QString(), dir, qint16(oldValue), newText, oldText, stored});
                } else {
                    UndoFileItem item{name, QString(), dir, qint16(oldValue), newText, oldText, {}, {}, {}};
                    item.dosAttribOld = stored;
                    h.undo().putFile(done - 1, std::move(item));
                }
            }
        } catch (const platform::Failure&) {
            reportEntryLine(
                h,
                isDir ? QStringLiteral("WARNING! Dir attribute change failed: ")
                      : QStringLiteral("WARNING! File attribute change failed: "),
                dir, name + QStringLiteral(" [") + oldText + QStringLiteral("] -> [") + newText + QStringLiteral("]"),
                showsFullPath(h));
            countWarning(h);
        }
    }
    if (r.cancelRequested == -1)
        return false;
    stepExecuteProgress(h);
    return true;
}

struct DateLine {
    const char* done;
    const char* failed;
};
constexpr DateLine kDateLines[3] = {
    {"File Created Date Changed: ", "WARNING! Change File Created Date Failed: "},
    {"File Accessed Date Changed: ", "WARNING! Change File Accessed Date Failed: "},
    {"File Modified Date Changed: ", "WARNING! Change File Modified Date Failed: "},
};

} // namespace

void executeAttributes(ExecuteHost& h)
{
    UndoStore& u = h.undo();
    RunState& r = h.run();
    u.undoIsChange = -1;
    u.undoIsDates = 0;
    setCountLabel(h, false, 0);
    setCountLabel(h, true, 0);
    const RenameOptions o = h.readOptions();
    const qint16 fm = h.mode();
    const QStringList files = h.files->lstFiles[fm];
    const QStringList dirs = h.files->lstDirs[fm];
    bool going = true;
    for (qsizetype i = 0; going && i < files.size(); ++i)
        going = changeAttributes(h, o, files[i], false);
    for (qsizetype i = dirs.size() - 1; going && i >= 0; --i)
        going = changeAttributes(h, o, dirs[i], true);
    u.undoFileCount = r.filesDone;
    u.undoDirCount = r.dirsDone;
}

void executeDates(ExecuteHost& h)
{
    UndoStore& u = h.undo();
    RunState& r = h.run();
    u.undoIsChange = -1;
    u.undoIsDates = -1;
    setCountLabel(h, false, 0);
    setCountLabel(h, true, 0);
    const RenameOptions o = h.readOptions();
    const QString newDate = o.useDate == 1 ? o.dateText : QString();
    const QString newTime = o.useTime == 1 ? o.timeText : QString();
    const bool ticked[3] = {o.setCreated == 1, o.setAccessed == 1, o.setModified == 1};
    const QStringList files = h.files->lstFiles[h.mode()];
    OldFileDates old;
    for (const QString& path : files) {
        const auto [dir, name] = splitPath(path);
        if (isPathSelected(h, path)) {
            SetDatesResult result;
            try {
                auto part = [&](int i, const QString& t) { return ticked[i] ? t : QString(); };
                result = setFileDates(path, part(0, newDate), part(0, newTime), part(1, newDate), part(1, newTime),
                                      part(2, newDate), part(2, newTime), old);
            } catch (const platform::Failure&) {
                result = {};
            }
            const std::pair<QString, QString> olds[3] = {{old.createdDate, old.createdTime},
                                                         {old.accessedDate, old.accessedTime},
                                                         {old.modifiedDate, old.modifiedTime}};
            // Only a stamp that gets another value is a change: one whose new
            // value equals the old one gives no line, no count and no record.
            const bool changed = result.ok && result.anyWritten;
            bool warned = false;
            for (int i = 0; i < 3; ++i) {
                if (!ticked[i] || (result.ok && !result.changes[size_t(i)]))
                    continue;
                const QString shownNew = ((o.useDate == 1 ? newDate : olds[i].first) + QLatin1Char(' ') +
                                          (o.useTime == 1 ? newTime : olds[i].second))
                                             .trimmed();
                // Linux cannot set a creation time: that one time is a warning of its own.
                const bool failed = !result.ok || (i == 0 && result.createdRefused);
                warned = warned || failed;
                reportEntryLine(h, QLatin1String(failed ? kDateLines[i].failed : kDateLines[i].done), dir,
                                name + QStringLiteral(" [") + olds[i].first + QLatin1Char(' ') + olds[i].second +
                                    QStringLiteral("] --> [") + shownNew + QStringLiteral("]"),
                                showsFullPath(h));
            }
            if (changed) {
                ++r.filesDone;
                setCountLabel(h, false, r.filesDone);
                UndoFileItem item;
                item.oldName = name;
                item.dir = dir;
                item.created = old.createdDate + QLatin1Char(' ') + old.createdTime;
                item.accessed = old.accessedDate + QLatin1Char(' ') + old.accessedTime;
                item.modified = old.modifiedDate + QLatin1Char(' ') + old.modifiedTime;
                item.exactStamps = true;
                item.accessedStamp = old.accessedStamp;
                item.modifiedStamp = old.modifiedStamp;
                item.bornStamp = old.bornStamp;
                item.hadBirthTime = old.hasBirthTime;
                u.putFile(r.filesDone - 1, std::move(item));
            }
            if (warned)
                countWarning(h);
        }
        if (r.cancelRequested == -1)
            break;
        stepExecuteProgress(h);
    }
    u.undoFileCount = r.filesDone;
}

void executeEnum(ExecuteHost& h)
{
    // The numbers come from the rows as the preview saw them, computed once, so
    // the run applies exactly the names the preview showed.
    const RenameOptions options = h.readOptions();
    const NameServices services = h.nameServices(options);
    platform::ListView* list = h.activeList();
    const bool onlySelected = h.files->onlySelectedActive == -1;
    const bool ghostsPossible = h.mode() == 0 && h.listOptions->alwaysShowDirs == 1;
    std::vector<EnumRow> rows(static_cast<size_t>(list->count()));
    for (int i = 0; i < list->count(); ++i)
        rows[size_t(i)] = {list->subItem(i, 2), list->isSelected(i), ghostsPossible && list->row(i).smallIcon == 3};
    const std::vector<qint32> counters = enumCounters(rows, onlySelected, options.enumResetPerDir == 1);
    QHash<QString, qint32> counterOf;
    counterOf.reserve(list->count());
    for (int i = 0; i < list->count(); ++i)
        if (counters[size_t(i)] > 0)
            counterOf.insert(list->subItem(i, 2) + list->text(i), counters[size_t(i)]);
    const EnumContext context{onlySelected, h.files->selectedCount, list->count()};
    runRenamePass(h, QStringLiteral("executeEnum"), true, [&](const QString& dir, const QString& name, bool) {
        const auto it = counterOf.constFind(dir + name);
        if (it == counterOf.constEnd())
            return QString(); // ghost rows and rows not processed keep their names
        NameRequest request;
        request.mode = RenameMode::Enum;
        request.dir = dir;
        request.name = name;
        request.enumCounter = *it;
        request.enumContext = context;
        int step = 0;
        return computeNewName(request, options, services, step);
    });
}
