#include "filelist/systemfolders.h"

#include <QDir>
#include <QFileInfo>

namespace {

struct FolderRow {
    QString SystemFolders::*field;
    const char* path;
};

// Fixed table: Linux has no lookup for these, and they never move.
const FolderRow kFolders[] = {
    {&SystemFolders::system, "/usr/"},
    {&SystemFolders::windows, "/etc/"},
    {&SystemFolders::programFiles, "/opt/"},
    {&SystemFolders::root, "/"},
};

QString withSlash(const QString& p)
{
    return p.endsWith(QLatin1Char('/')) ? p : p + QLatin1Char('/');
}

// The canonical form with a trailing "/"; a path that does not exist keeps its
// cleaned absolute form.
QString canonicalFolder(const QString& path)
{
    const QString c = QFileInfo(path).canonicalFilePath();
    return withSlash(c.isEmpty() ? QDir::cleanPath(QDir(path).absolutePath()) : c);
}

} // namespace

void getSystemFolders(SystemFolders& folders)
{
    for (const FolderRow& row : kFolders)
        folders.*row.field = canonicalFolder(QString::fromLatin1(row.path));
}

bool isProtectedFolder(const QString& path, const SystemFolders& folders)
{
    if (path.isEmpty())
        return false;
    const QString p = canonicalFolder(path);
    // Linux names are case-sensitive, and canonical paths carry the true case.
    for (const QString* below : {&folders.system, &folders.windows, &folders.programFiles})
        if (!below->isEmpty() && p.startsWith(*below))
            return true;
    return !folders.root.isEmpty() && p == folders.root;
}
