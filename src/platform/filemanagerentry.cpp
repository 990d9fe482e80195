#include "platform/filemanagerentry.h"
#include "platform/places.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTemporaryFile>
#include <QXmlStreamReader>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

const QString caption = QStringLiteral("Start Vexor Renamer...");
// Our own files are read only to compare them; Thunar's is read whole.
constexpr qint64 maxReadSize = 16 * 1024 * 1024;

// Thunar's file when there are no defaults to start it from.
const QByteArray thunarEmptyFile = QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                                     "<actions>\n"
                                                     "</actions>\n");
// What a file started by earlier versions holds once our element is out again.
const QByteArray thunarEarlierFile = QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                                       "<!-- Written for the folder action of Vexor Renamer. -->\n"
                                                       "<actions>\n"
                                                       "</actions>\n");
// Ends a Thunar file that we start, with the SHA-256 of what is left of it once
// our element is out again. A hash and not a comparison with the defaults: a
// later update of the defaults must not keep our copy forever, and the file
// carries what is needed without any store of ours. Thunar drops comments when
// it saves the file itself, so a file the user edited there is never ours.
const QByteArray startMarkBegin = QByteArrayLiteral("<!-- Started for the folder action of Vexor Renamer; sha256 ");
const QByteArray startMarkEnd = QByteArrayLiteral(" -->\n");

// Why a place holds no action when the program's path cannot be written in its format.
const QString programNotHeld = QStringLiteral("cannot hold the program's path; the action was not added there");

// What no command line and no XML text can carry.
bool unwritable(QChar c)
{
    const char16_t u = c.unicode();
    return u < 0x20 || (u >= 0x7F && u <= 0x9F) || u == 0xFFFE || u == 0xFFFF;
}

QString xmlEscaped(const QString& text)
{
    QString out;
    for (const QChar c : text) {
        if (c == u'&')
            out += QLatin1String("&amp;");
        else if (c == u'<')
            out += QLatin1String("&lt;");
        else if (c == u'>')
            out += QLatin1String("&gt;");
        else
            out += c;
    }
    return out;
}

// The folder's command: the program, "/p" and the folder's field code.
QString execLine(const QString& program, const QString& quotedProgram, const char* fieldCode)
{
    if (quotedProgram.isEmpty() || !QDir::isAbsolutePath(program))
        return QString();
    return quotedProgram + QStringLiteral(" /p ") + QLatin1String(fieldCode);
}

QByteArray nativePath(const QString& path)
{
    return QFile::encodeName(path);
}

QString errnoText(int err)
{
    return QString::fromLocal8Bit(std::strerror(err));
}

QString notWritten(const QString& why)
{
    return QStringLiteral("could not be written: ") + why;
}

QString notRemoved(int err)
{
    return QStringLiteral("could not be removed: ") + errnoText(err);
}

// Why readRegular failed; ENODEV and EFBIG are its own.
QString notRead(int err)
{
    if (err == ENODEV)
        return QStringLiteral("is not a regular file");
    if (err == EFBIG)
        return QStringLiteral("is larger than 16 MB");
    return QStringLiteral("could not be read: ") + errnoText(err);
}

// The content of a regular file, read without following a link and without
// blocking on a FIFO; nullopt when it is anything else or cannot be read, with
// the reason in `error`.
std::optional<QByteArray> readRegular(const QString& path, bool followLink, int* error = nullptr)
{
    int ignored = 0;
    int& err = error ? *error : ignored;
    const int fd =
        ::open(nativePath(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | (followLink ? 0 : O_NOFOLLOW));
    if (fd < 0) {
        err = errno;
        return std::nullopt;
    }
    struct stat st {};
    const int statError = ::fstat(fd, &st) == 0 ? 0 : errno;
    if (statError != 0 || !S_ISREG(st.st_mode) || st.st_size > maxReadSize) {
        err = statError != 0 ? statError : !S_ISREG(st.st_mode) ? ENODEV : EFBIG;
        ::close(fd);
        return std::nullopt;
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        err = EIO;
        ::close(fd);
        return std::nullopt;
    }
    QByteArray content = file.read(maxReadSize + 1);
    if (file.error() != QFileDevice::NoError || content.size() > maxReadSize) {
        err = file.error() != QFileDevice::NoError ? EIO : EFBIG;
        return std::nullopt;
    }
    return content;
}

// Makes the folder and those above it; 0 or why not. Folders above the file
// may be links (a configuration folder kept elsewhere); the file never is.
int makeFolders(const QByteArray& dir)
{
    struct stat st {};
    if (::stat(dir.constData(), &st) == 0)
        return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
    if (errno != ENOENT)
        return errno;
    const qsizetype slash = dir.lastIndexOf('/');
    if (slash > 0) {
        if (const int err = makeFolders(dir.left(slash)))
            return err;
    }
    return ::mkdir(dir.constData(), 0777) == 0 || errno == EEXIST ? 0 : errno;
}

// Puts a new file in the place of `path` in one step: written beside it, then
// renamed over it. The rename replaces whatever has the name, a link included,
// and never follows a link, so no other file is ever opened for writing.
// Empty, or why it failed.
QString replaceFile(const QString& path, const QByteArray& content, mode_t mode)
{
    const QString dir = QFileInfo(path).path();
    if (const int err = makeFolders(nativePath(dir)))
        return notWritten(errnoText(err));
    QTemporaryFile temp(dir + QStringLiteral("/.vexorren-XXXXXX"));
    if (!temp.open() || temp.write(content) != content.size() || !temp.flush())
        return notWritten(temp.errorString());
    if (::fchmod(temp.handle(), mode) != 0 || ::fsync(temp.handle()) != 0 ||
        ::rename(nativePath(temp.fileName()).constData(), nativePath(path).constData()) != 0)
        return notWritten(errnoText(errno));
    temp.setAutoRemove(false);
    return QString();
}

// A file wholly ours: left as it is when it already holds `content`.
QString writeOwnFile(const QString& path, const QByteArray& content, mode_t mode)
{
    if (content.isEmpty())
        return programNotHeld;
    struct stat st {};
    if (::lstat(nativePath(path).constData(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & 07777) == mode &&
        readRegular(path, false) == content)
        return QString();
    return replaceFile(path, content, mode);
}

// Removes the name, whatever it is; a link goes, never what it points at.
QString removeOwnFile(const QString& path)
{
    struct stat st {};
    if (::lstat(nativePath(path).constData(), &st) != 0)
        return errno == ENOENT ? QString() : notRemoved(errno);
    return ::unlink(nativePath(path).constData()) == 0 || errno == ENOENT ? QString() : notRemoved(errno);
}

QByteArray startMark(const QByteArray& left)
{
    return startMarkBegin + QCryptographicHash::hash(left, QCryptographicHash::Sha256).toHex() + startMarkEnd;
}

// A new Thunar file: Thunar's defaults with our element, or only our element
// when there are none or they do not parse.
QByteArray startedThunarFile(const QString& element)
{
    std::optional<QByteArray> with;
    const QString defaults = thunarDefaultsFile();
    if (const std::optional<QByteArray> copy = defaults.isEmpty() ? std::nullopt : readRegular(defaults, true))
        with = thunarFileWith(*copy, element);
    if (!with)
        with = thunarFileWith(thunarEmptyFile, element);
    // What a removal will leave, so the mark also covers defaults that our
    // element changed (an empty <actions/> opened up).
    return *with + startMark(thunarFileWith(*with, QString()).value_or(QByteArray()));
}

// Whether a Thunar file without our element is still just what we started.
bool startedByUs(const QByteArray& withoutOurs)
{
    if (withoutOurs == thunarEarlierFile)
        return true;
    const qsizetype markSize = startMarkBegin.size() + 64 + startMarkEnd.size();
    if (withoutOurs.size() < markSize || !withoutOurs.endsWith(startMarkEnd))
        return false;
    const QByteArray rest = withoutOurs.left(withoutOurs.size() - markSize);
    return withoutOurs.mid(rest.size()) == startMark(rest);
}

// Whether there is anything of ours to take out. A file that does not parse
// can still be seen to hold nothing of ours.
bool holdsOurs(const QByteArray& file)
{
    const std::optional<QByteArray> without = thunarFileWith(file, QString());
    return without ? *without != file : file.contains(kThunarActionId);
}

// Puts our element into Thunar's file (`element` given) or takes it out.
// Empty, or why it failed.
QString placeThunarElement(const QString& path, const QString& element)
{
    const bool adding = !element.isEmpty();
    const QString notThere = adding ? QStringLiteral("; the action was not added there")
                                    : QStringLiteral("; the action was not removed there");
    struct stat st {};
    if (::lstat(nativePath(path).constData(), &st) != 0) {
        if (errno != ENOENT)
            return notRead(errno) + notThere;
        return adding ? replaceFile(path, startedThunarFile(element), 0644) : QString();
    }
    if (S_ISLNK(st.st_mode)) {
        // The user's own file behind a link is not ours to replace, and is
        // never written through: refused, unless there is nothing to remove.
        const std::optional<QByteArray> behind = adding ? std::nullopt : readRegular(path, true);
        if (!adding && (!behind || !holdsOurs(*behind)))
            return QString();
        return QStringLiteral("is a symbolic link") + notThere;
    }
    if (!S_ISREG(st.st_mode))
        return adding ? QStringLiteral("is not a regular file") + notThere : QString();
    int err = 0;
    const std::optional<QByteArray> content = readRegular(path, false, &err);
    if (!content)
        return notRead(err) + notThere;
    const std::optional<QByteArray> edited = thunarFileWith(*content, element);
    if (!edited) {
        if (!adding && !holdsOurs(*content))
            return QString();
        return QStringLiteral("is not a well-formed file of custom actions") + notThere;
    }
    // Nothing but our start is left: the file goes, and Thunar reads its defaults again.
    if (!adding && startedByUs(*edited))
        return removeOwnFile(path);
    if (*edited == *content)
        return QString();
    return replaceFile(path, *edited, st.st_mode & 07777);
}

// A place that failed, with its reason; an empty reason is no failure.
void noteFailure(FileManagerFailures& failures, const QString& path, const QString& reason)
{
    if (!reason.isEmpty())
        failures.push_back({path, reason});
}

// A path as one line of a box, of a bounded length.
QString shownPath(const QString& path)
{
    QString out;
    for (const QChar c : path) {
        const char16_t u = c.unicode();
        if (u == u'\n')
            out += QLatin1String("\\n");
        else if (u == u'\t')
            out += QLatin1String("\\t");
        else if (u < 0x20 || (u >= 0x7F && u <= 0x9F))
            out += QLatin1String("\\x") + QString::number(unsigned(u), 16).toUpper().rightJustified(2, u'0');
        else
            out += c;
    }
    constexpr qsizetype half = 200;
    return out.size() > 2 * half ? out.left(half) + QStringLiteral("...") + out.right(half) : out;
}

} // namespace

FileManagerPlaces fileManagerPlaces()
{
    const QString data = xdgHome("XDG_DATA_HOME", QStringLiteral(".local/share"));
    const QString config = xdgHome("XDG_CONFIG_HOME", QStringLiteral(".config"));
    return {data + QStringLiteral("/file-manager/actions/vexorren.desktop"),
            data + QStringLiteral("/kio/servicemenus/vexorren.desktop"),
            data + QStringLiteral("/nemo/actions/vexorren.nemo_action"), config + QStringLiteral("/Thunar/uca.xml"),
            data + QStringLiteral("/applications/vexorren-folder.desktop")};
}

QString quotedCommandArgument(const QString& text)
{
    QString quoted = QStringLiteral("\"");
    for (const QChar c : text) {
        if (unwritable(c))
            return QString();
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        if (c == u'%')
            quoted += u'%';
        quoted += c;
    }
    return quoted + u'"';
}

QString desktopExecArgument(const QString& text)
{
    return quotedCommandArgument(text).replace(QStringLiteral("\\"), QStringLiteral("\\\\"));
}

QString fileManagerActionText(const QString& program)
{
    const QString exec = execLine(program, desktopExecArgument(program), "%f");
    if (exec.isEmpty())
        return QString();
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Action\n"
                          "Name=%1\n"
                          "Profiles=folder;\n"
                          "\n"
                          "[X-Action-Profile folder]\n"
                          "MimeTypes=inode/directory;\n"
                          "Exec=%2\n")
        .arg(caption, exec);
}

QString serviceMenuText(const QString& program)
{
    const QString exec = execLine(program, desktopExecArgument(program), "%f");
    if (exec.isEmpty())
        return QString();
    // The MIME type here only picks the items the menu shows on; a service
    // menu never becomes a handler.
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Service\n"
                          "MimeType=inode/directory;\n"
                          "Actions=startVexorRenamer;\n"
                          "X-KDE-Priority=TopLevel\n"
                          "\n"
                          "[Desktop Action startVexorRenamer]\n"
                          "Name=%1\n"
                          "Exec=%2\n")
        .arg(caption, exec);
}

QString nemoActionText(const QString& program)
{
    // Nemo's %F is the selected path (its %f is only the name).
    const QString exec = execLine(program, desktopExecArgument(program), "%F");
    if (exec.isEmpty())
        return QString();
    return QStringLiteral("[Nemo Action]\n"
                          "Name=%1\n"
                          "Exec=%2\n"
                          "Selection=s\n"
                          "Extensions=dir;\n")
        .arg(caption, exec);
}

QString thunarActionElement(const QString& program)
{
    const QString command = execLine(program, quotedCommandArgument(program), "%f");
    if (command.isEmpty())
        return QString();
    // Laid out as Thunar writes its own, so its next save changes nothing of it.
    return QStringLiteral("<action>\n"
                          "\t<icon></icon>\n"
                          "\t<name>%1</name>\n"
                          "\t<submenu></submenu>\n"
                          "\t<unique-id>%2</unique-id>\n"
                          "\t<command>%3</command>\n"
                          "\t<description></description>\n"
                          "\t<range></range>\n"
                          "\t<patterns>*</patterns>\n"
                          "\t<directories/>\n"
                          "</action>")
        .arg(xmlEscaped(caption), QLatin1String(kThunarActionId), xmlEscaped(command));
}

std::optional<QByteArray> thunarFileWith(const QByteArray& file, const QString& element)
{
    static const QByteArray bom = QByteArrayLiteral("\xEF\xBB\xBF");
    const bool hasBom = file.startsWith(bom);
    QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decode(hasBom ? file.mid(bom.size()) : file);
    if (decode.hasError())
        return std::nullopt;

    // Character offsets of our elements, of the root element and of its end tag.
    struct Span {
        qsizetype start, end;
    };
    std::vector<Span> ours;
    qsizetype rootStart = -1, rootTagEnd = -1, rootEndTag = -1, rootEnd = -1, actionStart = -1;
    int depth = 0;
    bool inId = false;
    QString id;
    QXmlStreamReader xml(text);
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        // The reader's offset is reliable only past a tag's ">"; its "<" is
        // the last one before that, as no tag holds another "<".
        const qsizetype after = xml.characterOffset();
        const qsizetype before = text.lastIndexOf(u'<', after - 1);
        if (token == QXmlStreamReader::StartElement) {
            ++depth;
            if (depth == 1) {
                if (xml.name() != QLatin1String("actions"))
                    return std::nullopt;
                rootStart = before;
                rootTagEnd = after;
            } else if (depth == 2 && xml.name() == QLatin1String("action")) {
                actionStart = before;
                id.clear();
            } else if (depth == 3 && actionStart >= 0 && xml.name() == QLatin1String("unique-id")) {
                inId = true;
            }
        } else if (token == QXmlStreamReader::Characters && inId) {
            id += xml.text();
        } else if (token == QXmlStreamReader::EndElement) {
            if (depth == 3)
                inId = false;
            if (depth == 2 && actionStart >= 0) {
                if (id.trimmed() == QLatin1String(kThunarActionId))
                    ours.push_back({actionStart, after});
                actionStart = -1;
            }
            if (depth == 1) {
                rootEndTag = before;
                rootEnd = after;
            }
            --depth;
        }
    }
    if (xml.hasError() || rootStart < 0 || rootEnd < 0)
        return std::nullopt;

    // Last to first, so the earlier offsets stay right; a line break after an
    // element goes with it, as it came with it.
    const auto lineBreakAfter = [&text](qsizetype end) {
        if (text.mid(end, 2) == QLatin1String("\r\n"))
            return end + 2;
        return text.mid(end, 1) == QLatin1String("\n") ? end + 1 : end;
    };
    for (auto it = ours.rbegin(); it != ours.rend(); ++it) {
        if (!element.isEmpty() && std::next(it) == ours.rend())
            text.replace(it->start, it->end - it->start, element);
        else
            text.remove(it->start, lineBreakAfter(it->end) - it->start);
    }
    if (!element.isEmpty() && ours.empty()) {
        if (rootTagEnd == rootEnd) {
            // <actions/>: opened up to hold the element.
            QString tag = text.mid(rootStart, rootEnd - rootStart);
            tag.chop(2);
            text.replace(rootStart, rootEnd - rootStart,
                         tag.trimmed() + QStringLiteral(">\n") + element + QStringLiteral("\n</actions>"));
        } else {
            text.insert(rootEndTag, element + u'\n');
        }
    }
    return (hasBom ? bom : QByteArray()) + text.toUtf8();
}

QString thunarDefaultsFile()
{
    QStringList dirs;
    for (const QString& dir : qEnvironmentVariable("XDG_CONFIG_DIRS").split(u':', Qt::SkipEmptyParts))
        if (QDir::isAbsolutePath(dir)) // the base-directory rules ignore a relative one
            dirs << dir;
    if (dirs.isEmpty())
        dirs << QStringLiteral("/etc/xdg");
    for (const QString& dir : dirs) {
        const QString file = dir + QStringLiteral("/Thunar/uca.xml");
        if (QFileInfo::exists(file))
            return file;
    }
    return QString();
}

QString fileManagerFailureLine(const FileManagerFailure& failure)
{
    return shownPath(failure.path) + u' ' + failure.reason + u'.';
}

QString fileManagerFailureText(const QString& heading, const FileManagerFailures& failures)
{
    QString text = heading + u'\n';
    for (const FileManagerFailure& failure : failures)
        text += u'\n' + fileManagerFailureLine(failure);
    return text;
}

FileManagerFailures writeFileManagerEntries(const QString& program)
{
    const FileManagerPlaces places = fileManagerPlaces();
    FileManagerFailures failures;
    const auto note = [&failures](const QString& path, const QString& reason) { noteFailure(failures, path, reason); };
    note(places.actions, writeOwnFile(places.actions, fileManagerActionText(program).toUtf8(), 0644));
    // Dolphin runs a service menu of the user's own folder only when it is executable.
    note(places.serviceMenu, writeOwnFile(places.serviceMenu, serviceMenuText(program).toUtf8(), 0755));
    note(places.nemoAction, writeOwnFile(places.nemoAction, nemoActionText(program).toUtf8(), 0644));
    const QString element = thunarActionElement(program);
    note(places.thunar, element.isEmpty() ? programNotHeld : placeThunarElement(places.thunar, element));
    note(places.oldEntry, removeOwnFile(places.oldEntry));
    return failures;
}

FileManagerFailures removeFileManagerEntries()
{
    const FileManagerPlaces places = fileManagerPlaces();
    FileManagerFailures failures;
    const auto note = [&failures](const QString& path, const QString& reason) { noteFailure(failures, path, reason); };
    for (const QString& path : {places.actions, places.serviceMenu, places.nemoAction})
        note(path, removeOwnFile(path));
    note(places.thunar, placeThunarElement(places.thunar, QString()));
    note(places.oldEntry, removeOwnFile(places.oldEntry));
    return failures;
}

} // namespace platform
