#include "settings/commandline.h"
#include "settings/storeforms.h"

#include "platform/wildcard.h"

#include <algorithm>
#include <QDir>
#include <QFileInfo>

namespace {

enum class Switch { None, Path, Mode, Exit };

bool isSwitchArgument(const QString& a)
{
    return a == QLatin1String("/p") || a == QLatin1String("/e") || a.startsWith(QLatin1String("/p "));
}

bool hasWildcard(const QString& name)
{
    return name.contains(u'*') || name.contains(u'?');
}

// A wildcard last part names a directory when it matches directories only.
bool wildcardNamesDirectory(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    const QString folder = slash < 0 ? QStringLiteral(".") : path.left(slash + 1);
    const QString pattern = path.mid(slash + 1);
    bool dirFound = false;
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        if (!platform::matchesPattern(entry.fileName(), pattern))
            continue;
        if (!entry.isDir())
            return false;
        dirFound = true;
    }
    return dirFound;
}

bool namesDirectory(const QString& path)
{
    // A directory of that very name is meant, whatever characters it holds.
    if (QFileInfo(path).isDir())
        return true;
    if (hasWildcard(path.mid(path.lastIndexOf(u'/') + 1)))
        return wildcardNamesDirectory(path);
    return false;
}

bool entryExists(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// Relative to the current directory, with "." levels and doubled slashes gone;
// ".." stays, as only the file system knows where it leads through a link.
QString absoluteText(const QString& path)
{
    if (path.isEmpty() || QDir::isAbsolutePath(path))
        return path;
    QStringList levels = QDir::currentPath().split(u'/', Qt::SkipEmptyParts);
    for (const QString& level : path.split(u'/', Qt::SkipEmptyParts))
        if (level != QLatin1String("."))
            levels.append(level);
    QString text = u'/' + levels.join(u'/');
    if (path.endsWith(u'/') && !text.endsWith(u'/'))
        text += u'/';
    return text;
}

// Linux names may hold double quotes and end in blanks: a text that names an
// existing entry exactly is taken as it is. Only a text that names nothing is
// cleaned of the quotes and blanks a caller may have wrapped it in.
QString pathFromText(const QString& text)
{
    if (!text.isEmpty() && entryExists(text))
        return absoluteText(text);
    return absoluteText(trimBlanks(text).remove(u'"'));
}

} // namespace

CommandLine scanCommandLine(const QStringList& arguments)
{
    CommandLine line;
    QString path;
    if (!std::any_of(arguments.begin(), arguments.end(), isSwitchArgument)) {
        path = arguments.join(u' ');
    } else {
        Switch current = Switch::None;
        QStringList pathParts, modeParts;
        for (const QString& a : arguments) {
            if (a == QLatin1String("/p")) {
                current = Switch::Path;
                pathParts.clear();
            } else if (a.startsWith(QLatin1String("/p "))) {
                current = Switch::Path;
                pathParts = QStringList{a.mid(3)};
            } else if (a == QLatin1String("/e")) {
                current = Switch::Mode;
                modeParts.clear();
            } else if (a == QLatin1String("/x")) {
                current = Switch::Exit;
                line.exitAfterRun = -1;
            } else if (current == Switch::Path) {
                pathParts.append(a);
            } else if (current == Switch::Mode) {
                modeParts.append(a);
            }
        }
        path = pathParts.join(u' ');
        line.startMode = trimBlanks(modeParts.join(u' '));
    }
    line.pathText = pathFromText(path);
    return line;
}

StartPath splitStartPath(const QString& pathText)
{
    StartPath start{pathText, QString()};
    if (start.path.isEmpty() || start.path.endsWith(u'/'))
        return start;
    if (namesDirectory(start.path)) {
        start.path += u'/';
        return start;
    }
    const qsizetype slash = start.path.lastIndexOf(u'/');
    start.pattern = start.path.mid(slash + 1);
    start.path = start.path.left(slash + 1);
    return start;
}

bool directoryListable(const QString& directory)
{
    const QFileInfo info(directory);
    return info.isDir() && info.isReadable();
}
