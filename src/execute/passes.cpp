#include "execute/passes.h"
#include "execute/renameentry.h"
#include "platform/failure.h"

namespace {

void markHandled(std::vector<char>& handled, qsizetype i)
{
    if (i >= 0 && size_t(i) < handled.size())
        handled[size_t(i)] = 1;
}

// Splits a full path at its last "/": the directory keeps the "/". The
// entries of one directory come one after the other, and each keeps the
// directory text of the entry before (`dir`) rather than a copy of its own.
QString splitPath(const QString& path, QString& dir)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QStringView head = QStringView(path).left(slash + 1);
    if (head != dir)
        dir = head.toString();
    return path.mid(slash + 1);
}

// Walks one path list; false when Cancel ended the pass.
bool walk(ExecuteHost& h, const QStringList& paths, bool isDir, const EntryNameFn& newName)
{
    RunState& r = h.run();
    std::vector<char>& handled = isDir ? r.dirsHandled : r.filesHandled;
    const qsizetype n = paths.size();
    QString dir;
    for (qsizetype k = 0; k < n; ++k) {
        const qsizetype i = isDir ? n - 1 - k : k;
        const QString& path = paths[i];
        const QString name = splitPath(path, dir);
        if (isPathSelected(h, path)) {
            // A name whose bytes on disk cannot be written back is never renamed,
            // nor read for a rule under a name that is not its own.
            if (isUnrenamable(*h.files, path)) {
                skipUndecodable(h, isDir, name, dir);
            } else {
                QString target = newName(dir, name, isDir);
                if (isDir)
                    renameDir(h, name, target, dir);
                else
                    renameFile(h, name, target, dir);
            }
        }
        markHandled(handled, i);
        if (r.cancelRequested == -1)
            return false;
        stepExecuteProgress(h);
    }
    return true;
}

// A renaming pass whose names come from the mode's shared computation, so that
// it renames exactly what the preview showed.
void computedPass(ExecuteHost& h, const QString& passName, bool withDirs)
{
    const RenameOptions options = h.readOptions();
    const NameServices services = h.nameServices(options);
    const RenameMode mode = h.renameMode();
    runRenamePass(h, passName, withDirs, [&](const QString& dir, const QString& name, bool) {
        NameRequest request;
        request.mode = mode;
        request.dir = dir;
        request.name = name;
        int step = 0;
        return computeNewName(request, options, services, step);
    });
}

} // namespace

bool isPathSelected(ExecuteHost& h, const QString& fullPath)
{
    RunState& r = h.run();
    if (h.files->onlySelectedActive != -1 || r.undoInProgress != 0)
        return true;
    if (r.selectedAtStartSet.contains(fullPath))
        return true;
    if (h.mode() == 1)
        addRebuildFile(h, fullPath); // the rebuild files it by what it is on disk
    return false;
}

void runRenamePass(ExecuteHost& h, const QString& passName, bool withDirs, const EntryNameFn& newName)
{
    UndoStore& u = h.undo();
    RunState& r = h.run();
    u.undoIsChange = 0;
    const qint16 fm = h.mode();
    // Copies: the lists keep the entries' old paths for the whole pass.
    const QStringList files = h.files->lstFiles[fm];
    const QStringList dirs = withDirs ? h.files->lstDirs[fm] : QStringList();
    try {
        if (walk(h, files, false, newName) && withDirs)
            walk(h, dirs, true, newName);
    } catch (const platform::Failure& f) {
        h.logs->logError(f.errorText() + passName + QStringLiteral(": Failed To Execute"));
    } catch (const std::exception&) {
        h.logs->logError(platform::makeFailure(platform::failures::Overflow).errorText() + passName +
                         QStringLiteral(": Failed To Execute"));
    }
    u.undoFileCount = r.filesDone;
    u.undoDirCount = withDirs ? r.dirsDone : 0;
}

void executeReplace(ExecuteHost& h)
{
    computedPass(h, QStringLiteral("executeReplace"), true);
}
void executeBatchReplace(ExecuteHost& h)
{
    computedPass(h, QStringLiteral("executeBatchReplace"), true);
}
void executeCase(ExecuteHost& h)
{
    computedPass(h, QStringLiteral("executeCase"), true);
}
void executeAddCrop(ExecuteHost& h)
{
    computedPass(h, QStringLiteral("executeAddCrop"), true);
}
void executeNormalize(ExecuteHost& h)
{
    computedPass(h, QStringLiteral("executeNormalize"), true);
}
void executeFormat(ExecuteHost& h)
{
    computedPass(h, QStringLiteral("executeFormat"), true);
}
void executeSpace(ExecuteHost& h)
{
    computedPass(h, QStringLiteral("executeSpace"), true);
}
void executeFileDetect(ExecuteHost& h)
{
    computedPass(h, QStringLiteral("executeFileDetect"), false);
}
void executeMp3(ExecuteHost& h)
{
    computedPass(h, QStringLiteral("executeMp3"), false);
}

const std::vector<PassRow>& passTable()
{
    static const std::vector<PassRow> table = {
        {RenameMode::Replace, [](const RenameOptions& o) { return !o.replaceBatch; }, &executeReplace},
        {RenameMode::Replace, [](const RenameOptions& o) { return o.replaceBatch; }, &executeBatchReplace},
        {RenameMode::Case, nullptr, &executeCase},
        {RenameMode::Attrib, [](const RenameOptions& o) { return !o.dateMode; }, &executeAttributes},
        {RenameMode::Attrib, [](const RenameOptions& o) { return o.dateMode; }, &executeDates},
        {RenameMode::AddCrop, nullptr, &executeAddCrop},
        {RenameMode::Mp3, nullptr, &executeMp3},
        {RenameMode::Enum, [](const RenameOptions& o) { return o.normalizeMode; }, &executeNormalize},
        {RenameMode::Enum, [](const RenameOptions& o) { return !o.normalizeMode; }, &executeEnum},
        {RenameMode::Format, [](const RenameOptions& o) { return o.detectMode; }, &executeFileDetect},
        {RenameMode::Format, [](const RenameOptions& o) { return !o.detectMode; }, &executeFormat},
        {RenameMode::Space, nullptr, &executeSpace},
    };
    return table;
}

bool dispatchPass(ExecuteHost& h, RenameMode mode, const RenameOptions& options)
{
    for (const PassRow& row : passTable()) {
        if (mode != row.mode || (row.optionSet && !row.optionSet(options)))
            continue;
        row.pass(h);
        return true;
    }
    return false;
}
