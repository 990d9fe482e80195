#include "filelist/systemfolders.h"

#include <algorithm>
#include <QDir>
#include <QFileInfo>

namespace {

struct FolderRow {
    QString SystemFolders::*field; // nullptr: one of the others
    const char* path;
};

// Fixed table: Linux has no lookup for these, and they never move. Besides the
// four the renamer has always named, the folders whose renaming can leave the
// system unbootable or that the kernel itself provides; /var stays open, as it
// holds user data (/var/www, /var/tmp).
const FolderRow kFolders[] = {
    {&SystemFolders::system, "/usr/"},
    {&SystemFolders::windows, "/etc/"},
    {&SystemFolders::programFiles, "/opt/"},
    {&SystemFolders::root, "/"},
    {nullptr, "/boot/"},
    {nullptr, "/bin/"},
    {nullptr, "/sbin/"},
    {nullptr, "/lib/"},
    {nullptr, "/lib32/"},
    {nullptr, "/lib64/"},
    {nullptr, "/libx32/"},
    {nullptr, "/dev/"},
    {nullptr, "/proc/"},
    {nullptr, "/sys/"},
    {nullptr, "/run/"},
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
    folders.others.clear();
    for (const FolderRow& row : kFolders) {
        const QString folder = canonicalFolder(QString::fromLatin1(row.path));
        if (row.field)
            folders.*row.field = folder;
        else if (!folders.others.contains(folder)) // /bin is /usr/bin on a merged system
            folders.others.append(folder);
    }
}

bool isProtectedFolder(const QString& path, const SystemFolders& folders)
{
    if (path.isEmpty())
        return false;
    const QString p = canonicalFolder(path);
    // Linux names are case-sensitive, and canonical paths carry the true case.
    const auto below = [&p](const QString& folder) { return !folder.isEmpty() && p.startsWith(folder); };
    if (below(folders.system) || below(folders.windows) || below(folders.programFiles))
        return true;
    if (std::any_of(folders.others.begin(), folders.others.end(), below))
        return true;
    return !folders.root.isEmpty() && p == folders.root;
}
