#include "platform/inisection.h"

#include <QByteArrayView>
#include <QStringEncoder>

#include <algorithm>
#include <vector>

namespace platform {

namespace {

// The line rules below are QSettings' own (its INI reader): a quote runs over
// line ends until it closes, a backslash takes the next character with it, a
// ";" at the start of a line begins a comment. Cutting the file the same way
// finds the sections where QSettings finds them, so text in another section
// that only looks like a header is never taken for one.
enum : unsigned char { Space = 1, Special = 2 };

unsigned char traits(char c)
{
    switch (c) {
    case '\t':
    case ' ':
        return Space;
    case '\n':
    case '\r':
        return Space | Special;
    case '"':
    case ';':
    case '=':
    case '\\':
        return Special;
    default:
        return 0;
    }
}

// The next logical line from `pos`: [start, start + length); false at the end.
bool nextLine(QByteArrayView data, qsizetype& pos, qsizetype& start, qsizetype& length)
{
    const qsizetype size = data.size();
    bool inQuotes = false;
    start = pos;
    while (start < size && (traits(data[start]) & Space))
        ++start;
    qsizetype i = start;
    while (i < size) {
        char ch = data[i];
        while (!(traits(ch) & Special)) {
            if (++i == size)
                goto end;
            ch = data[i];
        }
        ++i;
        if (ch == '=') {
            continue;
        } else if (ch == '\n' || ch == '\r') {
            if (i == start + 1)
                ++start;
            else if (!inQuotes) {
                --i;
                goto end;
            }
        } else if (ch == '\\') {
            if (i < size) {
                const char escaped = data[i++];
                if (i < size) {
                    const char next = data[i];
                    if ((escaped == '\n' && next == '\r') || (escaped == '\r' && next == '\n'))
                        ++i;
                }
            }
        } else if (ch == '"') {
            inQuotes = !inQuotes;
        } else { // ';'
            if (i == start + 1) {
                while (i < size && data[i] != '\n' && data[i] != '\r')
                    ++i;
                while (i < size && (traits(data[i]) & Space))
                    ++i;
                start = i;
            } else if (!inQuotes) {
                --i;
                goto end;
            }
        }
    }
end:
    pos = i;
    length = i - start;
    return length > 0;
}

// A key or section name as QSettings reads it: "\" is "/", "%XX" and "%UXXXX"
// are code points.
QString unescapedKey(QByteArrayView key)
{
    const QString decoded = QString::fromUtf8(key);
    const qsizetype size = decoded.size();
    QString result;
    qsizetype i = 0;
    while (i < size) {
        const QChar ch = decoded.at(i);
        if (ch == u'\\') {
            result += u'/';
            ++i;
            continue;
        }
        if (ch != u'%' || i == size - 1) {
            result += ch;
            ++i;
            continue;
        }
        qsizetype first = i + 1;
        int digits = 2;
        if (decoded.at(first) == u'U') {
            ++first;
            digits = 4;
        }
        if (first + digits > size) {
            result += u'%';
            ++i;
            continue;
        }
        bool ok = false;
        const ushort code = QStringView(decoded).sliced(first, digits).toUShort(&ok, 16);
        if (!ok) {
            result += u'%';
            ++i;
            continue;
        }
        result += QChar(code);
        i = first + digits;
    }
    return result;
}

struct Header {
    qsizetype start; // where its logical line starts
    QString name;    // the section's name, "/"-separated; empty for the root
};

std::vector<Header> headers(QByteArrayView data)
{
    std::vector<Header> found;
    qsizetype pos = 0, start = 0, length = 0;
    while (nextLine(data, pos, start, length)) {
        const QByteArrayView line = data.sliced(start, length);
        if (line.at(0) != '[')
            continue;
        const qsizetype close = line.indexOf(']');
        const QByteArray name = (close < 0 ? line.sliced(1) : line.sliced(1, close - 1)).toByteArray().trimmed();
        QString section;
        if (name.compare("general", Qt::CaseInsensitive) == 0)
            section.clear();
        else if (name.compare("%general", Qt::CaseInsensitive) == 0)
            section = QString::fromLatin1(name.mid(1));
        else
            section = unescapedKey(name);
        found.push_back({start, section});
    }
    return found;
}

bool isWithin(const QString& name, const QString& section)
{
    return name == section || (name.startsWith(section) && name.at(section.size()) == u'/');
}

bool isHexDigit(char16_t ch)
{
    return (ch >= u'0' && ch <= u'9') || (ch >= u'a' && ch <= u'f') || (ch >= u'A' && ch <= u'F');
}

void appendKey(const QString& key, QByteArray& out)
{
    static const char hex[] = "0123456789ABCDEF";
    for (const QChar qch : key) {
        const char16_t ch = qch.unicode();
        if (ch == u'/') {
            out += '\\';
        } else if ((ch >= u'a' && ch <= u'z') || (ch >= u'A' && ch <= u'Z') || (ch >= u'0' && ch <= u'9') ||
                   ch == u'_' || ch == u'-' || ch == u'.') {
            out += char(ch);
        } else if (ch <= 0xFF) {
            out += '%';
            out += hex[ch / 16];
            out += hex[ch % 16];
        } else {
            out += "%U";
            for (int shift = 12; shift >= 0; shift -= 4)
                out += hex[(ch >> shift) & 0xF];
        }
    }
}

// A text value as QSettings writes one: control characters escaped (so one
// value is one line), quotes where a comma, ";" or "=" or an outer blank would
// otherwise change what is read back, "@" doubled at the start, and a text
// with a NUL character in its "@String(...)" form.
void appendValue(QString text, QByteArray& out)
{
    if (text.contains(QChar::Null))
        text = QStringLiteral("@String(") + text + u')';
    else if (text.startsWith(u'@'))
        text.prepend(u'@');
    const qsizetype begin = out.size();
    bool needsQuotes = false;
    bool escapeNextIfDigit = false;
    QStringEncoder toUtf8(QStringEncoder::Utf8);
    for (const QChar qch : std::as_const(text)) {
        const char16_t ch = qch.unicode();
        if (ch == u';' || ch == u',' || ch == u'=')
            needsQuotes = true;
        // "\x1" followed by a hex digit would read as one longer number.
        if (escapeNextIfDigit && isHexDigit(ch)) {
            out += "\\x" + QByteArray::number(ch, 16);
            continue;
        }
        escapeNextIfDigit = false;
        switch (ch) {
        case u'\0':
            out += "\\0";
            escapeNextIfDigit = true;
            break;
        case u'\a':
            out += "\\a";
            break;
        case u'\b':
            out += "\\b";
            break;
        case u'\f':
            out += "\\f";
            break;
        case u'\n':
            out += "\\n";
            break;
        case u'\r':
            out += "\\r";
            break;
        case u'\t':
            out += "\\t";
            break;
        case u'\v':
            out += "\\v";
            break;
        case u'"':
        case u'\\':
            out += '\\';
            out += char(ch);
            break;
        default:
            if (ch <= 0x1F) {
                out += "\\x" + QByteArray::number(ch, 16);
                escapeNextIfDigit = true;
            } else {
                out += QByteArray(toUtf8(QStringView(&qch, 1)));
            }
        }
    }
    if (needsQuotes || (begin < out.size() && (out.at(begin) == ' ' || out.back() == ' '))) {
        out.insert(begin, '"');
        out += '"';
    }
}

bool endsLine(QByteArrayView data)
{
    return data.isEmpty() || data.back() == '\n' || data.back() == '\r';
}

} // namespace

QByteArray iniSectionText(const QString& section, const QMap<QString, QString>& values)
{
    if (values.isEmpty())
        return {};
    QByteArray out("[");
    appendKey(section, out);
    out += "]\n";
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        appendKey(it.key(), out);
        out += '=';
        appendValue(it.value(), out);
        out += '\n';
    }
    return out;
}

QByteArray withIniSection(const QByteArray& file, const QString& section, const QByteArray& sectionText)
{
    // QSettings skips a UTF-8 byte order mark; it stays where it is.
    const qsizetype bom = file.startsWith("\xef\xbb\xbf") ? 3 : 0;
    const QByteArrayView data = QByteArrayView(file).sliced(bom);
    const std::vector<Header> found = headers(data);
    QByteArray out = file.left(bom);
    qsizetype copied = 0;
    bool placed = false;
    for (size_t k = 0; k < found.size(); ++k) {
        if (!isWithin(found[k].name, section))
            continue;
        const qsizetype end = k + 1 < found.size() ? found[k + 1].start : data.size();
        out += data.sliced(copied, found[k].start - copied);
        if (!placed && !sectionText.isEmpty()) {
            out += sectionText;
            const bool othersFollow = std::any_of(found.begin() + qsizetype(k) + 1, found.end(),
                                                  [&](const Header& h) { return !isWithin(h.name, section); });
            if (othersFollow)
                out += '\n';
        }
        placed = true;
        copied = end;
    }
    out += data.sliced(copied);
    if (placed || sectionText.isEmpty())
        return out;

    // A new section. At the end it must start a line of its own.
    const QByteArray separator = data.isEmpty() ? QByteArray() : endsLine(data) ? QByteArray("\n") : "\n\n";
    QByteArray appended = out + separator + sectionText;
    const qsizetype at = data.size() + separator.size();
    for (const Header& h : headers(QByteArrayView(appended).sliced(bom)))
        if (h.start == at && h.name == section)
            return appended;
    // The last line runs on to the end: before the first section, the lines
    // above it stay in the root section, and with no section at all, a
    // "[General]" line gives the lines that follow back to it.
    const qsizetype before = found.empty() ? 0 : found.front().start;
    const QByteArray after = found.empty() ? QByteArray("[General]\n") : QByteArray("\n");
    return file.left(bom + before) + sectionText + after + data.sliced(before).toByteArray();
}

} // namespace platform
