#include "platform/filemanagerentry.h"
#include "platform/places.h"

#include <cerrno>
#include <fcntl.h>
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

// Thunar's file when we are the first to write it. The comment marks it as
// ours: once our element is gone again and nobody else changed it, it is
// removed, so Thunar goes back to the system's default actions it showed
// before. Thunar drops the comment when it saves the file itself.
const QByteArray thunarHeader = QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                                  "<!-- Written for the folder action of Vexor Renamer. -->\n"
                                                  "<actions>\n");
const QByteArray thunarFooter = QByteArrayLiteral("</actions>\n");

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

// The content of a regular file, read without following a link and without
// blocking on a FIFO; nullopt when it is anything else or cannot be read.
std::optional<QByteArray> readRegular(const QString& path, bool followLink)
{
    const int fd =
        ::open(nativePath(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | (followLink ? 0 : O_NOFOLLOW));
    if (fd < 0)
        return std::nullopt;
    struct stat st {};
    QFile file;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > maxReadSize ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return std::nullopt;
    }
    QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return content;
}

// Puts a new file in the place of `path` in one step: written beside it, then
// renamed over it. The rename replaces whatever has the name, a link included,
// and never follows a link, so no other file is ever opened for writing.
bool replaceFile(const QString& path, const QByteArray& content, mode_t mode)
{
    const QString dir = QFileInfo(path).path();
    if (!QDir().mkpath(dir))
        return false;
    QTemporaryFile temp(dir + QStringLiteral("/.vexorren-XXXXXX"));
    if (!temp.open())
        return false;
    if (temp.write(content) != content.size() || !temp.flush() || ::fchmod(temp.handle(), mode) != 0 ||
        ::fsync(temp.handle()) != 0)
        return false;
    if (::rename(nativePath(temp.fileName()).constData(), nativePath(path).constData()) != 0)
        return false;
    temp.setAutoRemove(false);
    return true;
}

// A file wholly ours: left as it is when it already holds `content`.
bool writeOwnFile(const QString& path, const QByteArray& content, mode_t mode)
{
    if (content.isEmpty())
        return false; // the program's path cannot be written in this format
    struct stat st {};
    if (::lstat(nativePath(path).constData(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & 07777) == mode &&
        readRegular(path, false) == content)
        return true;
    return replaceFile(path, content, mode);
}

// Removes the name, whatever it is; a link goes, never what it points at.
bool removeOwnFile(const QString& path)
{
    struct stat st {};
    if (::lstat(nativePath(path).constData(), &st) != 0)
        return errno == ENOENT;
    return ::unlink(nativePath(path).constData()) == 0 || errno == ENOENT;
}

// Puts our element into Thunar's file (`element` given) or takes it out.
bool placeThunarElement(const QString& path, const QString& element)
{
    struct stat st {};
    if (::lstat(nativePath(path).constData(), &st) != 0) {
        if (errno != ENOENT)
            return false;
        if (element.isEmpty())
            return true;
        return replaceFile(path, thunarHeader + element.toUtf8() + '\n' + thunarFooter, 0644);
    }
    if (!S_ISREG(st.st_mode)) {
        // The user's own file behind a link is not ours to replace, and is
        // never written through: refused, unless there is nothing to remove.
        if (!element.isEmpty())
            return false;
        const std::optional<QByteArray> behind = readRegular(path, true);
        const std::optional<QByteArray> without = behind ? thunarFileWith(*behind, QString()) : std::nullopt;
        return !without || *without == *behind;
    }
    const std::optional<QByteArray> content = readRegular(path, false);
    if (!content)
        return false;
    const std::optional<QByteArray> edited = thunarFileWith(*content, element);
    if (!edited)
        return false;
    if (*edited == *content)
        return true;
    if (element.isEmpty() && *edited == thunarHeader + thunarFooter)
        return removeOwnFile(path);
    return replaceFile(path, *edited, st.st_mode & 07777);
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

bool writeFileManagerEntries(const QString& program)
{
    const FileManagerPlaces places = fileManagerPlaces();
    bool ok = writeOwnFile(places.actions, fileManagerActionText(program).toUtf8(), 0644);
    // Dolphin runs a service menu of the user's own folder only when it is executable.
    ok = writeOwnFile(places.serviceMenu, serviceMenuText(program).toUtf8(), 0755) && ok;
    ok = writeOwnFile(places.nemoAction, nemoActionText(program).toUtf8(), 0644) && ok;
    const QString element = thunarActionElement(program);
    ok = !element.isEmpty() && placeThunarElement(places.thunar, element) && ok;
    return removeOwnFile(places.oldEntry) && ok;
}

bool removeFileManagerEntries()
{
    const FileManagerPlaces places = fileManagerPlaces();
    bool ok = removeOwnFile(places.actions);
    ok = removeOwnFile(places.serviceMenu) && ok;
    ok = removeOwnFile(places.nemoAction) && ok;
    ok = placeThunarElement(places.thunar, QString()) && ok;
    return removeOwnFile(places.oldEntry) && ok;
}

} // namespace platform
