#include "execute/renameentry.h"
#include "engine/forbidden.h"
#include "platform/arguments.h"
#include "platform/failure.h"
#include "platform/fileops.h"

#include <array>
#include <QStringBuilder>

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
        // Levels are looked up without following links: a level that is a link
        // is never entered, so the rename that follows fails with its warning.
        const auto existing = h.run().baseDir.entryInfoBelow(dir, running + level);
        if (existing && existing->isSymlink)
            return;
        if (!existing) {
            try {
                h.run().baseDir.makeDirectory(dir, running + level);
            } catch (const platform::Failure&) {
                return; // the rename that follows fails and gives the warning
            }
            // The whole path in both logs: the level alone ("/b") does not say
            // where the folder was made.
            showLine(h, QStringLiteral("Created directory: ") + path);
            writeActivity(h, QStringLiteral("Created directory: ") + path);
            h.undo().createdDirs.push_back(path);
        }
        running += level;
    }
}

using IconSlots = std::array<int, 4>;
constexpr IconSlots kNoSlots{-1, -1, -1, -1};

// Images cached under the old full path keep their picture under the new one;
// a list that already holds the new key keeps the old one.
void rekeyIcons(ExecuteHost& h, const QString& from, const QString& to)
{
    platform::ImageList* lists[4] = {&h.files->imagelistSysIcons, &h.files->imagelistSysIconsLarge,
                                     &h.files->imagelistSysIconsFreeSelect, &h.files->imagelistSysIconsFreeSelectLarge};
    std::optional<QHash<QString, IconSlots>>& index = h.run().iconKeys;
    if (!index) {
        index.emplace();
        for (size_t i = 0; i < 4; ++i)
            for (qsizetype p = lists[i]->keys.size() - 1; p >= 0; --p) {
                auto it = index->find(lists[i]->keys[p]);
                if (it == index->end())
                    it = index->insert(lists[i]->keys[p], kNoSlots);
                it.value()[i] = int(p); // the first of equal keys wins
            }
    }
    const auto it = index->constFind(from);
    if (it == index->constEnd())
        return;
    IconSlots left = it.value();
    IconSlots moved = index->value(to, kNoSlots);
    for (size_t i = 0; i < 4; ++i)
        if (left[i] >= 0 && moved[i] < 0) {
            lists[i]->setKey(left[i] + 1, to);
            moved[i] = left[i];
            left[i] = -1;
        }
    if (left == kNoSlots)
        index->remove(from);
    else
        index->insert(from, left);
    if (moved != kNoSlots)
        index->insert(to, moved);
}

// The warning of a failed rename. Without a reason of the caller's, the
// reason is looked up: the new name taken, or else a plain skip.
void warn(ExecuteHost& h, Kind kind, const QString& oldName, const QString& newName, const QString& dir,
          QString reason = {})
{
    if (freeSelectUpkeep(h))
        addRebuild(h, kind, dir + oldName);
    if (reason.isEmpty())
        reason = h.run().baseDir.entryInfoBelow(dir, newName) ? QStringLiteral("Filename already exists...")
                                                              : QStringLiteral("Skipping...");
    const QString head = QString::fromLatin1(textsFor(kind).warning);
    const QString d = shown(h, dir);
    showLine(h, head + d + oldName + QStringLiteral("> as <") + d + newName + QStringLiteral("> ") + reason);
    writeActivity(h, head + dir + oldName + QStringLiteral("> as <") + dir + newName + QStringLiteral("> ") + reason);
    countWarning(h);
}

void recordSuccess(ExecuteHost& h, Kind kind, const QString& oldName, const QString& newName, const QString& dir,
                   const QString& oldPath, const QString& newPath)
{
    RunState& r = h.run();
    if (kind == Kind::File) {
        ++r.filesDone;
        report(h).setCount(RunCount::Files, QString::number(r.filesDone) + QStringLiteral(" Files Renamed."));
        if (r.undoInProgress == 0)
            h.undo().putFile(r.filesDone - 1, UndoFileItem{oldName, newName, dir, 0, {}, {}, {}, {}, {}});
        if (freeSelectUpkeep(h))
            addRebuildFile(h, newPath);
    } else {
        ++r.dirsDone;
        report(h).setCount(RunCount::Dirs, QString::number(r.dirsDone) + QStringLiteral(" Directories Renamed."));
        if (r.undoInProgress == 0)
            h.undo().putDir(r.dirsDone - 1, UndoDirItem{oldName, newName, dir, 0, {}, {}});
    }
    r.selectedPaths.replaceAll(oldPath, newPath);
    r.listedPaths.replaceAll(oldPath, newPath);
    rekeyIcons(h, oldPath, newPath);
    if (kind == Kind::Dir && freeSelectUpkeep(h)) {
        // Entries listed so far inside the directory follow it when the collection is rebuilt.
        r.dirRenames.emplace_back(oldPath, newPath);
        addRebuildDir(h, newPath);
    }
}

// The reason a refused name's warning gives; empty where the lookup of the
// new name tells it.
QString refusalReason(NameRefusal refusal)
{
    switch (refusal) {
    case NameRefusal::None:
    case NameRefusal::TooLong:
        break;
    case NameRefusal::UpLevel:
        return QStringLiteral("New name would leave the folder...");
    case NameRefusal::HereLevel:
        return QStringLiteral("New name holds a \".\" level...");
    case NameRefusal::EmptyWithoutControls:
        return QStringLiteral("New name would be empty without its control characters...");
    case NameRefusal::HiddenWithoutControls:
        return QStringLiteral("New name would become hidden without its control characters...");
    case NameRefusal::LevelTooLong:
        return QStringLiteral("New name is too long: a name may be at most %1 bytes long...").arg(MaxLevelBytes);
    }
    return QString();
}

bool renameEntry(ExecuteHost& h, Kind kind, const QString& oldName, QString& newName, const QString& dir, NameForm form)
{
    // Unchanged, decided as the preview decides: the rule gave no other name, or
    // the name it gave comes out of the map as the old one.
    bool unchanged = newName.isEmpty() || newName == oldName;
    QString finalName;
    QString tagged;
    NameRefusal refusal = NameRefusal::None;
    if (!unchanged) {
        if (form == NameForm::Tagged) {
            NameOnDisk onDisk = nameOnDisk(oldName, newName);
            tagged = std::move(onDisk.tagged);
            finalName = std::move(onDisk.resolved);
            refusal = onDisk.refusal;
        } else {
            finalName = newName;
            // A stored name existed as it is; only the checks that keep a rename
            // inside its folder apply.
            refusal = pathRefusal(finalName);
        }
        unchanged = finalName == oldName;
    }
    if (unchanged) {
        if (freeSelectUpkeep(h))
            addRebuild(h, kind, dir + oldName);
        return false;
    }
    // A refused name fails before anything is created for it; the warning says
    // why where the system's refusal would not (a ".." level typed into a box,
    // a level that lost its controls, a level past the system's limit).
    if (refusal != NameRefusal::None) {
        newName = finalName;
        warn(h, kind, oldName, newName, dir, refusalReason(refusal));
        return false;
    }
    if (form == NameForm::Tagged && tagged.contains(SubDirMarker))
        createLevels(h, dir, tagged);
    newName = finalName;

    const QString oldPath = dir + oldName;
    const QString newPath = dir + newName;
    try {
        h.run().baseDir.renameNoReplace(dir, oldName, newName);
    } catch (const platform::Failure&) {
        warn(h, kind, oldName, newName, dir);
        return false;
    }
    if (kind == Kind::Dir)
        serveEventsThrottled(h);
    const QLatin1String head(textsFor(kind).renamed);
    const QLatin1String arrow(" --> ");
    if (h.settings->showFullPath == 1)
        showLine(h, head % oldPath % arrow % newPath);
    else
        showLine(h, head % oldName % arrow % newName);
    writeActivity(h, head % oldPath % arrow % newPath);
    recordSuccess(h, kind, oldName, newName, dir, oldPath, newPath);
    if (kind == Kind::File)
        serveEventsThrottled(h);
    return true;
}

} // namespace

void skipUndecodable(ExecuteHost& h, bool isDir, const QString& oldName, const QString& dir)
{
    const Kind kind = isDir ? Kind::Dir : Kind::File;
    if (freeSelectUpkeep(h))
        addRebuild(h, kind, dir + oldName);
    // The listed text shows the bytes that are not UTF-8 as U+FFFD; the line
    // names them by their bytes on disk (the lines write them as "\xHH").
    const QByteArray native = h.files->undecodable.value(dir + oldName);
    const qsizetype slash = native.lastIndexOf('/');
    QString shownDir = dir;
    QString name = oldName;
    bool nameValid = true;
    if (slash >= 0) {
        shownDir = platform::argumentText(QByteArrayView(native).first(slash + 1));
        name = platform::argumentText(QByteArrayView(native).sliced(slash + 1));
        nameValid = !platform::holdsUndecodable(name);
    }
    const QString reason =
        nameValid ? QStringLiteral("> Path is not valid UTF-8...") : QStringLiteral("> Name is not valid UTF-8...");
    reportEntryLine(h, QString::fromLatin1(textsFor(kind).warning), shownDir, name + reason, showsFullPath(h));
    countWarning(h);
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
