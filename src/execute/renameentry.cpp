#include "execute/renameentry.h"
#include "engine/forbidden.h"
#include "execute/frmexecute.h"
#include "platform/failure.h"
#include "platform/fileops.h"

namespace {

enum class Kind { File, Dir };

struct KindTexts {
    const char* renamed;
    const char* warning;
};

KindTexts textsFor(Kind kind)
{
    return kind == Kind::File ? KindTexts{"File Renamed: ", "WARNING: Couldn't rename file <"}
                              : KindTexts{"Directory Renamed: ", "WARNING: Couldn't rename dir <"};
}

bool freeSelectUpkeep(const ExecuteHost& h)
{
    return h.mode() == 1 && h.run().undoInProgress == 0;
}

void addRebuild(ExecuteHost& h, Kind kind, const QString& path)
{
    if (kind == Kind::File)
        addRebuildFile(h, path);
    else
        addRebuildDir(h, path);
}

QString shown(const ExecuteHost& h, const QString& dir)
{
    return h.settings->showFullPath == 1 ? dir : QString();
}

// Creates the missing levels that the markers of `tagged` name below `dir`,
// from the left, with one line per created directory.
void createLevels(ExecuteHost& h, const QString& dir, const QString& tagged)
{
    const QStringList parts = tagged.split(SubDirMarker);
    QString running;
    for (qsizetype k = 0; k + 1 < parts.size(); ++k) {
        if (parts[k].isEmpty())
            continue; // an empty level creates nothing
        const QString level = running.isEmpty() ? parts[k] : QLatin1Char('/') + parts[k];
        const QString path = dir + running + level;
        if (!platform::entryExists(path, 55)) {
            try {
                platform::makeDirectory(path);
            } catch (const platform::Failure&) {
                return; // the rename that follows fails and gives the warning
            }
            logWindowLine(h, QStringLiteral("Created directory: ") + shown(h, dir + running) + level);
            h.logs->writeLog(QStringLiteral("Created directory: ") + path);
            h.undo().createdDirs.push_back(path);
        }
        running += level;
    }
}

QHash<QString, int>& iconKeyIndex(ExecuteHost& h, size_t which, platform::ImageList& list)
{
    std::optional<QHash<QString, int>>& index = h.run().iconKeys[which];
    if (!index) {
        index.emplace();
        index->reserve(list.keys.size());
        for (int i = int(list.keys.size()) - 1; i >= 0; --i)
            index->insert(list.keys[i], i); // the first of equal keys wins
    }
    return *index;
}

// Images cached under the old full path keep their picture under the new one;
// a list that already holds the new key keeps the old one.
void rekeyIcons(ExecuteHost& h, const QString& from, const QString& to)
{
    platform::ImageList* lists[4] = {&h.files->imagelistSysIcons, &h.files->imagelistSysIconsLarge,
                                     &h.files->imagelistSysIconsFreeSelect,
                                     &h.files->imagelistSysIconsFreeSelectLarge};
    for (size_t i = 0; i < 4; ++i) {
        if (lists[i]->keys.isEmpty())
            continue;
        QHash<QString, int>& index = iconKeyIndex(h, i, *lists[i]);
        const auto it = index.find(from);
        if (it == index.end() || index.contains(to))
            continue;
        const int at = it.value();
        index.erase(it);
        lists[i]->keys[at] = to;
        index.insert(to, at);
    }
}

void warn(ExecuteHost& h, Kind kind, const QString& oldName, const QString& newName, const QString& dir)
{
    if (freeSelectUpkeep(h))
        addRebuild(h, kind, dir + oldName);
    const QString reason = platform::entryExists(dir + newName, 23) ? QStringLiteral("Filename already exists...")
                                                                     : QStringLiteral("Skipping...");
    const QString head = QString::fromLatin1(textsFor(kind).warning);
    const QString d = shown(h, dir);
    logWindowLine(h, head + d + oldName + QStringLiteral("> as <") + d + newName + QStringLiteral("> ") + reason);
    h.logs->writeLog(head + dir + oldName + QStringLiteral("> as <") + dir + newName + QStringLiteral("> ") + reason);
    RunState& r = h.run();
    ++r.warningCount;
    if (FrmExecute* w = logWindow(h))
        w->setLabel(w->lblInfo_Skipped, QString::number(r.warningCount) + QStringLiteral(" Warnings."));
}

void recordSuccess(ExecuteHost& h, Kind kind, const QString& oldName, const QString& newName, const QString& dir)
{
    RunState& r = h.run();
    FrmExecute* w = logWindow(h);
    if (kind == Kind::File) {
        ++r.filesDone;
        if (w)
            w->setLabel(w->lblInfo_Files, QString::number(r.filesDone) + QStringLiteral(" Files Renamed."));
        if (r.undoInProgress == 0)
            h.undo().putFile(r.filesDone - 1, UndoFileItem{oldName, newName, dir, 0, {}, {}, {}, {}, {}});
        if (freeSelectUpkeep(h))
            addRebuildFile(h, dir + newName);
    } else {
        ++r.dirsDone;
        if (w)
            w->setLabel(w->lblInfo_Dirs, QString::number(r.dirsDone) + QStringLiteral(" Directories Renamed."));
        if (r.undoInProgress == 0)
            h.undo().putDir(r.dirsDone - 1, UndoDirItem{oldName, newName, dir, 0, {}, {}});
    }
    r.selectedPaths.replaceAll(dir + oldName, dir + newName);
    r.listedPaths.replaceAll(dir + oldName, dir + newName);
    rekeyIcons(h, dir + oldName, dir + newName);
    if (kind == Kind::Dir && freeSelectUpkeep(h)) {
        // Entries listed so far inside the directory follow it; see rebuildPaths.
        r.dirRenames.emplace_back(dir + oldName, dir + newName);
        addRebuildDir(h, dir + newName);
    }
}

bool renameEntry(ExecuteHost& h, Kind kind, const QString& oldName, QString& newName, const QString& dir,
                 NameForm form)
{
    // Unchanged, decided as the preview decides: the rule gave no other name, or
    // the name it gave comes out of the map as the old one.
    bool unchanged = newName.isEmpty() || newName == oldName;
    QString finalName;
    QString tagged;
    if (!unchanged) {
        if (form == NameForm::Tagged) {
            tagged = taggedForm(oldName, newName);
            finalName = resolvedForm(tagged);
        } else {
            finalName = newName;
        }
        unchanged = finalName == oldName;
    }
    if (unchanged) {
        if (freeSelectUpkeep(h))
            addRebuild(h, kind, dir + oldName);
        return false;
    }
    if (form == NameForm::Tagged && tagged.contains(SubDirMarker))
        createLevels(h, dir, tagged);
    newName = finalName;

    try {
        platform::renameNoReplace(dir + oldName, dir + newName);
    } catch (const platform::Failure&) {
        warn(h, kind, oldName, newName, dir);
        return false;
    }
    if (kind == Kind::Dir)
        serveEventsThrottled(h);
    const QString head = QString::fromLatin1(textsFor(kind).renamed);
    const QString d = shown(h, dir);
    logWindowLine(h, head + d + oldName + QStringLiteral(" --> ") + d + newName);
    h.logs->writeLog(head + dir + oldName + QStringLiteral(" --> ") + dir + newName);
    recordSuccess(h, kind, oldName, newName, dir);
    if (kind == Kind::File)
        serveEventsThrottled(h);
    return true;
}

} // namespace

QString taggedForm(const QString& oldName, const QString& rawNewName)
{
    const bool oldHoldsTag = oldName.contains(SubDirTag) || oldName.contains(SubDirMarker.at(0));
    return protectTagAndMap(oldHoldsTag ? neutralizeTags(rawNewName) : rawNewName);
}

QString resolvedForm(const QString& taggedName)
{
    if (!taggedName.contains(SubDirMarker))
        return taggedName;
    QStringList parts = taggedName.split(SubDirMarker);
    parts.removeAll(QString());
    return parts.join(QLatin1Char('/'));
}

void addRebuildFile(ExecuteHost& h, const QString& path)
{
    RunState& r = h.run();
    r.rebuildFiles.push_back({path, qsizetype(r.dirRenames.size())});
}

void addRebuildDir(ExecuteHost& h, const QString& path)
{
    RunState& r = h.run();
    r.rebuildDirs.push_back({path, qsizetype(r.dirRenames.size())});
}

bool renameFile(ExecuteHost& h, const QString& oldName, QString& newName, const QString& dir, NameForm form)
{
    return renameEntry(h, Kind::File, oldName, newName, dir, form);
}

bool renameDir(ExecuteHost& h, const QString& oldName, QString& newName, const QString& dir, NameForm form)
{
    return renameEntry(h, Kind::Dir, oldName, newName, dir, form);
}
