#include "settings/commandline.h"
#include "settings/storeforms.h"

#include "platform/arguments.h"
#include "platform/wildcard.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <QDir>
#include <QFileInfo>
#include <sys/stat.h>
#include <vector>

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

// An entry whose name equals a given one only letter case aside, as a
// pattern compares names.
struct CaseMatch {
    QString name;
    bool directory = false; // a directory itself: a link to one is an entry of its own
};

// The entries of the directory that a name without "*" or "?" matches. A name
// on disk that is not UTF-8 matches no text given as UTF-8.
std::vector<CaseMatch> caseBlindMatches(const QString& directory, const QString& name)
{
    std::vector<CaseMatch> found;
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(QFile::encodeName(directory).constData()), ::closedir);
    if (!dir)
        return found;
    while (const dirent* e = ::readdir(dir.get())) {
        const QByteArrayView bytes(e->d_name);
        if (bytes == "." || bytes == "..")
            continue;
        const QString text = platform::argumentText(bytes);
        if (!platform::matchesPattern(text, name))
            continue;
        struct stat st {};
        const bool isDir =
            ::fstatat(::dirfd(dir.get()), e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
        found.push_back({text, isDir});
    }
    // The same order on every file system, for the names a message shows.
    std::sort(found.begin(), found.end(), [](const CaseMatch& a, const CaseMatch& b) { return a.name < b.name; });
    return found;
}

// The directory a last level without "*" or "?" names in another letter case:
// the one entry it matches, when that is a directory or a link to one. Empty
// when an entry of that very name exists, when it matches nothing, a file or
// more than one entry.
QString directoryInAnotherCase(const QString& folder, const QString& name)
{
    if (name.isEmpty() || hasWildcard(name) || entryExists(folder + name))
        return {};
    const std::vector<CaseMatch> matches = caseBlindMatches(folder, name);
    // A link to a directory is opened as its very name would be.
    return matches.size() == 1 && (matches.front().directory || namesDirectory(folder + matches.front().name))
               ? matches.front().name
               : QString();
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

// Why the path cannot be looked at, whatever part of it names the folder:
// too long, or a level above it that may not be searched. Empty when the
// system answered about the entry itself (it exists or not).
QString lookProblem(const QString& path)
{
    struct stat st {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &st) == 0)
        return {};
    if (errno == ENAMETOOLONG)
        return QStringLiteral("is longer than a path may be");
    if (errno == EACCES || errno == ELOOP)
        return QStringLiteral("cannot be looked at: ") + qt_error_string(errno);
    return {};
}

} // namespace

CommandLine scanCommandLine(const QStringList& arguments)
{
    CommandLine line;
    QString path;
    if (!std::any_of(arguments.begin(), arguments.end(), isSwitchArgument)) {
        path = arguments.join(u' ');
        line.pathGiven = !arguments.isEmpty();
    } else {
        Switch current = Switch::None;
        QStringList pathParts, modeParts;
        for (const QString& a : arguments) {
            if (a == QLatin1String("/p")) {
                current = Switch::Path;
                pathParts.clear();
                line.pathGiven = true;
            } else if (a.startsWith(QLatin1String("/p "))) {
                current = Switch::Path;
                pathParts = QStringList{a.mid(3)};
                line.pathGiven = true;
            } else if (a == QLatin1String("/e")) {
                current = Switch::Mode;
                modeParts.clear();
                line.modeGiven = true;
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
    line.pathGivenText = path;
    // A text that was not UTF-8 is never looked up: any decoding of it could
    // name another entry.
    if (platform::holdsUndecodable(path)) {
        line.pathProblem = QStringLiteral("is not valid UTF-8");
        return line;
    }
    line.pathText = pathFromText(path);
    line.pathProblem = lookProblem(line.pathText);
    if (!line.pathProblem.isEmpty())
        line.pathText.clear();
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
    // Names on disk are case-sensitive, names the user types often are not:
    // a last level that only a directory matches, letter case aside, is that
    // directory, not a pattern that would rename the directory itself.
    if (const QString found = directoryInAnotherCase(start.path, start.pattern); !found.isEmpty()) {
        start.path += found + u'/';
        start.pattern.clear();
    }
    return start;
}

bool directoryListable(const QString& directory)
{
    const QFileInfo info(directory);
    return info.isDir() && info.isReadable();
}

QString directoryProblem(const QString& directory)
{
    if (directory.isEmpty())
        return QStringLiteral("names nothing that exists");
    struct stat st {};
    if (::stat(QFile::encodeName(directory).constData(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return QStringLiteral("names nothing that exists");
        if (errno == ENAMETOOLONG)
            return QStringLiteral("is longer than a path may be");
        return QStringLiteral("cannot be looked at: ") + qt_error_string(errno);
    }
    if (!S_ISDIR(st.st_mode))
        return QStringLiteral("is not a folder");
    if (!directoryListable(directory))
        return QStringLiteral("cannot be read: ") + qt_error_string(EACCES);
    return {};
}

QString unattendedStartProblem(const StartPath& start)
{
    if (start.path.isEmpty())
        return {};
    // A folder that may be listed but not searched shows its names, yet none
    // of its entries can be looked at or renamed.
    struct stat st {};
    if (::stat(QFile::encodeName(start.path + u'.').constData(), &st) != 0) {
        const int error = errno;
        return QStringLiteral("cannot be entered: ") + qt_error_string(error);
    }
    if (start.pattern.isEmpty() || hasWildcard(start.pattern) || entryExists(start.path + start.pattern))
        return {};
    // One entry in another letter case is the one the user meant; of several,
    // a run nobody watches cannot tell which.
    const std::vector<CaseMatch> matches = caseBlindMatches(start.path, start.pattern);
    if (matches.empty())
        return QStringLiteral("names nothing that exists");
    if (matches.size() == 1)
        return {};
    constexpr size_t kShown = 4;
    QStringList names;
    for (size_t i = 0; i < std::min(matches.size(), kShown); ++i)
        names.append(QLatin1Char('"') + platform::printableText(matches[i].name) + QLatin1Char('"'));
    if (matches.size() > kShown)
        names.append(QStringLiteral("%1 more").arg(matches.size() - kShown));
    return QStringLiteral("names no entry exactly but %1 in another letter case (%2)")
        .arg(matches.size())
        .arg(names.join(QStringLiteral(", ")));
}

QString exitWithoutRunProblem(const QStringList& arguments)
{
    const CommandLine line = scanCommandLine(arguments);
    if (line.exitAfterRun == 0 || line.modeGiven)
        return {};
    const QString text = QStringLiteral("/x was given without /e and a mode word");
    // An argument shown in the line is cut short, never inside a character.
    const auto quoted = [](const QString& a) -> QString {
        qsizetype shown = 40;
        if (a.size() <= shown)
            return QLatin1Char('"') + platform::printableText(a) + QLatin1Char('"');
        if (a[shown - 1].isHighSurrogate())
            --shown;
        return QLatin1Char('"') + platform::printableText(a.left(shown)) + QStringLiteral("...\"");
    };
    for (const QString& a : arguments) {
        if (a == QLatin1String("/E") || a.startsWith(QLatin1String("/E ")))
            return text + QStringLiteral(" (%1 is no switch: switches are written in lower case)").arg(quoted(a));
        if (a.startsWith(QLatin1String("/e ")))
            return text + QStringLiteral(" (%1 is one argument: /e and its mode word are two)").arg(quoted(a));
    }
    return text;
}
