#include "platform/inisection.h"
#include "platform/eightbittext.h"

#include <QByteArrayView>
#include <QDataStream>
#include <QIODevice>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QStringEncoder>
#include <QStringList>
#include <QVariant>

#include <algorithm>
#include <iterator>
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
// `equals` is where its first "=" outside quotes is, which ends the key; -1
// for none.
bool nextLine(QByteArrayView data, qsizetype& pos, qsizetype& start, qsizetype& length, qsizetype& equals)
{
    const qsizetype size = data.size();
    bool inQuotes = false;
    equals = -1;
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
            if (!inQuotes && equals < 0)
                equals = i - 1;
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
    qsizetype pos = 0, start = 0, length = 0, equals = -1;
    while (nextLine(data, pos, start, length, equals)) {
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

// The line end the file uses, for the lines we add: a file kept with CR LF
// stays so.
QByteArray lineEndOf(QByteArrayView data)
{
    const qsizetype lf = data.indexOf('\n');
    return lf > 0 && data[lf - 1] == '\r' ? QByteArray("\r\n") : QByteArray("\n");
}

// One logical line of the section.
struct SectionLine {
    qsizetype start = 0, length = 0; // in the file
    // Its bytes as UTF-8: a line that is not valid UTF-8 is taken as
    // Windows-1252, whose bytes over 0x7F become bytes over 0x7F again, so
    // the line keeps its quotes, escapes and "=".
    QByteArray text;
    bool utf8 = true;      // the file's bytes were UTF-8 already
    qsizetype equals = -1; // in `text`; -1 for a line that is no key
};

// One place where the section, or one of its subsections, appears: from its
// header's line to the next header; its lines begin with the header's.
struct Place {
    qsizetype start = 0, end = 0;
    QString name;
    std::vector<SectionLine> lines;
};

std::vector<Place> sectionPlaces(QByteArrayView data, const QString& section)
{
    const std::vector<Header> found = headers(data);
    std::vector<Place> places;
    for (size_t k = 0; k < found.size(); ++k) {
        if (!isWithin(found[k].name, section))
            continue;
        Place place{found[k].start, k + 1 < found.size() ? found[k + 1].start : data.size(), found[k].name, {}};
        qsizetype pos = place.start, start = 0, length = 0, equals = -1;
        while (nextLine(data, pos, start, length, equals) && start < place.end) {
            SectionLine line{start, length, data.sliced(start, length).toByteArray(), true, -1};
            if (QByteArrayView(line.text).isValidUtf8()) {
                line.equals = equals < 0 ? -1 : equals - start;
            } else {
                line.utf8 = false;
                line.text = decodeEightBitText(line.text).toUtf8();
                qsizetype p = 0, s = 0, l = 0;
                nextLine(line.text, p, s, l, line.equals);
            }
            place.lines.push_back(std::move(line));
        }
        places.push_back(std::move(place));
    }
    return places;
}

// The key of a line, relative to the section, as QSettings names it.
QString lineKey(const Place& place, const SectionLine& line, const QString& section)
{
    const QString key = unescapedKey(QByteArrayView(line.text).first(line.equals).trimmed());
    return (place.name + u'/' + key).mid(section.size() + 1);
}

qsizetype byteOrderMark(const QByteArray& file)
{
    // QSettings skips a UTF-8 byte order mark; it stays where it is.
    return file.startsWith("\xef\xbb\xbf") ? 3 : 0;
}

// The rest of this file reads values as QSettings' INI reader does, on the
// bytes in memory: it needs no file name, no /proc and no temporary folder,
// so a read either gives the section or cannot fail.

int hexValue(char ch)
{
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    return -1;
}

int octValue(char ch)
{
    return ch >= '0' && ch <= '7' ? ch - '0' : -1;
}

void chopTrailingBlanks(QString& text, qsizetype limit)
{
    qsizetype n = text.size();
    while (n > limit && (text.at(n - 1) == u' ' || text.at(n - 1) == u'\t'))
        --n;
    text.truncate(n);
}

// A value's text: quotes, escapes (C's, "\xHH..." and octal ones; any other
// escaped character is dropped), blanks around it dropped unless quoted, and
// commas outside quotes making it a list (true, in `list`).
bool unescapedValue(QByteArrayView str, QString& text, QStringList& list)
{
    static const char escapes[][2] = {{'a', '\a'}, {'b', '\b'}, {'f', '\f'}, {'n', '\n'},  {'r', '\r'}, {'t', '\t'},
                                      {'v', '\v'}, {'"', '"'},  {'?', '?'},  {'\'', '\''}, {'\\', '\\'}};
    const qsizetype size = str.size();
    bool isList = false, inQuotes = false, quoted = false;
    char16_t code = 0;
    qsizetype i = 0;
    // The states of the reader, as it jumps between them.
    enum class State { SkipBlanks, Normal, Hex, Oct, End } state = State::SkipBlanks;
    qsizetype chopLimit = 0;
    while (state != State::End) {
        switch (state) {
        case State::SkipBlanks:
            while (i < size && (str[i] == ' ' || str[i] == '\t'))
                ++i;
            state = State::Normal;
            break;
        case State::Normal: {
            chopLimit = text.size();
            state = State::End;
            bool chop = true;
            while (i < size && state == State::End) {
                const char ch = str[i];
                if (ch == '\\') {
                    if (++i >= size) {
                        chop = false;
                        break;
                    }
                    const char escaped = str[i++];
                    const auto known = std::find_if(std::begin(escapes), std::end(escapes),
                                                    [escaped](const char(&e)[2]) { return e[0] == escaped; });
                    if (known != std::end(escapes)) {
                        text += QLatin1Char((*known)[1]);
                        chopLimit = text.size();
                        continue;
                    }
                    if (escaped == 'x') {
                        code = 0;
                        if (i >= size) {
                            chop = false;
                            break;
                        }
                        if (hexValue(str[i]) >= 0) {
                            state = State::Hex;
                            break;
                        }
                    } else if (const int o = octValue(escaped); o >= 0) {
                        code = char16_t(o);
                        state = State::Oct;
                        break;
                    } else if (escaped == '\n' || escaped == '\r') {
                        // A line continued: its end is dropped.
                        if (i < size && (str[i] == '\n' || str[i] == '\r') && str[i] != escaped)
                            ++i;
                    }
                    chopLimit = text.size();
                } else if (ch == '"') {
                    ++i;
                    quoted = true;
                    inQuotes = !inQuotes;
                    if (!inQuotes) {
                        state = State::SkipBlanks;
                        chop = false;
                    }
                } else if (ch == ',' && !inQuotes) {
                    if (!quoted)
                        chopTrailingBlanks(text, chopLimit);
                    if (!isList) {
                        isList = true;
                        list.clear();
                    }
                    list.append(text);
                    text.clear();
                    quoted = false;
                    ++i;
                    state = State::SkipBlanks;
                    chop = false;
                } else {
                    qsizetype j = i + 1;
                    while (j < size && str[j] != '\\' && str[j] != '"' && str[j] != ',')
                        ++j;
                    text += QString::fromUtf8(str.sliced(i, j - i));
                    i = j;
                }
            }
            if (state == State::End && chop && !quoted)
                chopTrailingBlanks(text, chopLimit);
            break;
        }
        case State::Hex:
        case State::Oct: {
            const bool hex = state == State::Hex;
            int digit = 0;
            while (i < size && (digit = hex ? hexValue(str[i]) : octValue(str[i])) >= 0) {
                code = char16_t((code << (hex ? 4 : 3)) + digit);
                ++i;
            }
            text += QChar(code);
            state = i >= size ? State::End : State::Normal;
            break;
        }
        case State::End:
            break;
        }
    }
    if (isList)
        list.append(text);
    return isList;
}

// The items of "@Rect(1 2 3 4)" and its kin, from the "(" at `open`.
QStringList splitArguments(const QString& text, qsizetype open)
{
    QStringList result;
    QString item;
    for (qsizetype i = open + 1; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch == u')') {
            result.append(item);
        } else if (ch == u' ') {
            result.append(item);
            item.clear();
        } else {
            item.append(ch);
        }
    }
    return result;
}

// The value a text stands for: "@" starts a typed form, "@@" a text that
// begins with "@".
QVariant variantOf(const QString& text)
{
    if (text.startsWith(u'@')) {
        if (text.endsWith(u')')) {
            if (text.startsWith(QLatin1String("@ByteArray(")))
                return QVariant(QStringView(text).sliced(11).chopped(1).toLatin1());
            if (text.startsWith(QLatin1String("@String(")))
                return QVariant(QStringView(text).sliced(8).chopped(1).toString());
            if (text.startsWith(QLatin1String("@Variant(")) || text.startsWith(QLatin1String("@DateTime("))) {
                const bool dateTime = text.at(1) == u'D';
                QByteArray bytes = QStringView(text).sliced(dateTime ? 10 : 9).toLatin1();
                QDataStream stream(&bytes, QIODevice::ReadOnly);
                stream.setVersion(dateTime ? QDataStream::Qt_5_6 : QDataStream::Qt_4_0);
                QVariant result;
                stream >> result;
                return result;
            }
            if (text.startsWith(QLatin1String("@Rect("))) {
                const QStringList args = splitArguments(text, 5);
                if (args.size() == 4)
                    return QVariant(QRect(args[0].toInt(), args[1].toInt(), args[2].toInt(), args[3].toInt()));
            } else if (text.startsWith(QLatin1String("@Size("))) {
                const QStringList args = splitArguments(text, 5);
                if (args.size() == 2)
                    return QVariant(QSize(args[0].toInt(), args[1].toInt()));
            } else if (text.startsWith(QLatin1String("@Point("))) {
                const QStringList args = splitArguments(text, 6);
                if (args.size() == 2)
                    return QVariant(QPoint(args[0].toInt(), args[1].toInt()));
            } else if (text == QLatin1String("@Invalid()")) {
                return QVariant();
            }
        }
        if (text.startsWith(QLatin1String("@@")))
            return QVariant(text.sliced(1));
    }
    return QVariant(text);
}

QVariant variantOf(const QStringList& items)
{
    QStringList texts = items;
    for (QString& item : texts) {
        if (!item.startsWith(u'@'))
            continue;
        if (item.size() < 2 || item.at(1) != u'@') {
            QVariantList variants;
            for (const QString& each : items)
                variants.append(variantOf(each));
            return variants;
        }
        item.remove(0, 1);
    }
    return texts;
}

// A key as QSettings looks it up: no empty levels, no "/" at either end.
QString normalisedKey(const QString& key)
{
    QString result;
    for (const QStringView level : QStringView(key).split(u'/', Qt::SkipEmptyParts)) {
        if (!result.isEmpty())
            result += u'/';
        result += level;
    }
    return result;
}

// What QSettings reads of `section` from an INI text that holds only its
// places: each section's lines are gathered in the order they come (a
// section's places joined by a line end) and the sections read in the order
// of their names, so the last line of a key counts.
QMap<QString, QString> readSection(QByteArrayView data, const QString& section)
{
    QMap<QString, QByteArray> unparsed; // by name with a trailing "/"; "" for the root
    QString current;
    qsizetype currentStart = 0;
    const auto flush = [&](qsizetype upTo) {
        QByteArray& lines = unparsed[current];
        if (!lines.isEmpty())
            lines += '\n';
        lines += data.sliced(currentStart, upTo - currentStart);
    };
    qsizetype pos = 0, start = 0, length = 0, equals = -1;
    while (nextLine(data, pos, start, length, equals)) {
        const QByteArrayView line = data.sliced(start, length);
        if (line.at(0) != '[')
            continue;
        flush(start);
        const qsizetype close = line.indexOf(']');
        const QByteArrayView name = (close < 0 ? line.sliced(1) : line.sliced(1, close - 1)).trimmed();
        if (name.compare("general", Qt::CaseInsensitive) == 0) {
            current.clear();
        } else {
            current = name.compare("%general", Qt::CaseInsensitive) == 0 ? QString::fromLatin1(name.sliced(1))
                                                                         : unescapedKey(name);
            current += u'/';
        }
        currentStart = pos;
    }
    flush(data.size());

    QMap<QString, QVariant> parsed;
    for (auto it = unparsed.cbegin(); it != unparsed.cend(); ++it) {
        const QByteArrayView lines(it.value());
        qsizetype at = 0;
        while (nextLine(lines, at, start, length, equals)) {
            if (equals < 0)
                continue;
            const QByteArrayView key = lines.sliced(start, equals - start).trimmed();
            const QByteArrayView value = lines.sliced(equals + 1, start + length - equals - 1);
            QString text;
            QStringList items;
            parsed.insert(it.key() + unescapedKey(key),
                          unescapedValue(value, text, items) ? variantOf(items) : variantOf(text));
        }
    }

    const QString prefix = section + u'/';
    QMap<QString, QString> values;
    for (auto it = parsed.cbegin(); it != parsed.cend(); ++it) {
        if (!it.key().startsWith(prefix))
            continue;
        const QVariant v = parsed.value(normalisedKey(it.key()));
        if (!v.isValid())
            continue;
        // A hand-edited value with a comma reads back as a list: join it again.
        values.insert(it.key().mid(prefix.size()), v.typeId() == QMetaType::QStringList
                                                       ? v.toStringList().join(QStringLiteral(", "))
                                                       : v.toString());
    }
    return values;
}

// Past the physical line that `pos` is on, with its line end: what follows a
// logical line there is blanks or a comment.
qsizetype pastLineEnd(QByteArrayView data, qsizetype pos)
{
    while (pos < data.size() && data[pos] != '\n' && data[pos] != '\r')
        ++pos;
    if (pos < data.size() && data[pos] == '\r')
        ++pos;
    if (pos < data.size() && data[pos] == '\n')
        ++pos;
    return pos;
}

// Where a place that goes ends: the comment lines after its last line stay,
// as they may speak of what follows; its blank lines go.
qsizetype removedUpTo(QByteArrayView data, const Place& place)
{
    const SectionLine& last = place.lines.back();
    qsizetype pos = pastLineEnd(data, last.start + last.length);
    qsizetype lineStart = pos;
    for (; pos < place.end; ++pos) {
        const char ch = data[pos];
        if (ch == ';')
            return lineStart;
        if (ch == '\n' || ch == '\r')
            lineStart = pos + 1;
    }
    return place.end;
}

struct Edit {
    qsizetype at = 0, removed = 0;
    QByteArray inserted;
};

QByteArray applied(QByteArrayView data, std::vector<Edit> edits)
{
    std::stable_sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) { return a.at < b.at; });
    QByteArray out;
    qsizetype copied = 0;
    for (const Edit& e : edits) {
        out += data.sliced(copied, e.at - copied);
        out += e.inserted;
        copied = e.at + e.removed;
    }
    out += data.sliced(copied);
    return out;
}

QByteArray keyLine(const QString& key, const QString& value)
{
    QByteArray out;
    appendKey(key, out);
    out += '=';
    appendValue(value, out);
    return out;
}

// A new section at the end of `out` (the file after the byte order mark at
// `bom`); it must start a line of its own.
QByteArray withNewSection(const QByteArray& file, qsizetype bom, const QString& section, const QByteArray& sectionText,
                          const QByteArray& lineEnd)
{
    const QByteArrayView data = QByteArrayView(file).sliced(bom);
    const QByteArray separator = data.isEmpty() ? QByteArray() : endsLine(data) ? lineEnd : lineEnd + lineEnd;
    QByteArray appended = file + separator + sectionText;
    const qsizetype at = data.size() + separator.size();
    for (const Header& h : headers(QByteArrayView(appended).sliced(bom)))
        if (h.start == at && h.name == section)
            return appended;
    // The last line runs on to the end: before the first section, the lines
    // above it stay in the root section, and with no section at all, a
    // "[General]" line gives the lines that follow back to it.
    const std::vector<Header> found = headers(data);
    const qsizetype before = found.empty() ? 0 : found.front().start;
    const QByteArray after = found.empty() ? QByteArray("[General]") + lineEnd : lineEnd;
    return file.left(bom + before) + sectionText + after + data.sliced(before).toByteArray();
}

QByteArray sectionTextWith(const QString& section, const QMap<QString, QString>& values, const QByteArray& lineEnd)
{
    QByteArray text = iniSectionText(section, values);
    if (lineEnd != "\n")
        text.replace('\n', lineEnd);
    return text;
}

// The section written anew from `values` where it first appears, its other
// places gone with all their lines.
QByteArray rewrittenWhole(const QByteArray& file, const QString& section, const QMap<QString, QString>& values)
{
    const qsizetype bom = byteOrderMark(file);
    const QByteArrayView data = QByteArrayView(file).sliced(bom);
    const QByteArray lineEnd = lineEndOf(data);
    const QByteArray sectionText = sectionTextWith(section, values, lineEnd);
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
                out += lineEnd;
        }
        placed = true;
        copied = end;
    }
    out += data.sliced(copied);
    if (placed || sectionText.isEmpty())
        return out;
    return withNewSection(out, bom, section, sectionText, lineEnd);
}

// The section edited line by line: see withIniSection.
QByteArray editedInPlace(const QByteArray& file, const QString& section, const QMap<QString, QString>& values)
{
    const qsizetype bom = byteOrderMark(file);
    const QByteArrayView data = QByteArrayView(file).sliced(bom);
    const QByteArray lineEnd = lineEndOf(data);
    const std::vector<Place> places = sectionPlaces(data, section);
    const QMap<QString, QString> now = iniSectionValues(file, section);

    // The lines of each key; QSettings takes the last.
    struct KeyLines {
        std::vector<std::pair<size_t, size_t>> at; // place, line
        bool utf8 = true;
    };
    QMap<QString, KeyLines> lines;
    for (size_t p = 0; p < places.size(); ++p)
        for (size_t l = 1; l < places[p].lines.size(); ++l)
            if (places[p].lines[l].equals >= 0) {
                KeyLines& k = lines[lineKey(places[p], places[p].lines[l], section)];
                k.at.emplace_back(p, l);
                k.utf8 = k.utf8 && places[p].lines[l].utf8;
            }

    enum class Fate { Kept, Dropped, Rewritten };
    std::vector<std::vector<Fate>> fates;
    for (const Place& place : places)
        fates.emplace_back(place.lines.size(), Fate::Kept);
    std::vector<Edit> edits;
    for (auto it = lines.cbegin(); it != lines.cend(); ++it) {
        const auto wanted = values.constFind(it.key());
        const auto read = now.constFind(it.key());
        const bool stays = wanted != values.cend() && read != now.cend() && *wanted == *read && it.value().utf8;
        if (stays)
            continue;
        for (const auto& [p, l] : it.value().at)
            fates[p][l] = Fate::Dropped;
        if (wanted == values.cend())
            continue;
        const auto [p, l] = it.value().at.back();
        fates[p][l] = Fate::Rewritten;
        const SectionLine& line = places[p].lines[l];
        // Relative to the header the line stands under.
        const QString relative = (section + u'/' + it.key()).mid(places[p].name.size() + 1);
        edits.push_back({line.start, line.length, keyLine(relative, *wanted)});
    }

    QMap<QString, QString> added;
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        if (!lines.contains(it.key()))
            added.insert(it.key(), it.value());
    const auto target = std::find_if(places.begin(), places.end(), [&](const Place& p) { return p.name == section; });

    for (size_t p = 0; p < places.size(); ++p) {
        const Place& place = places[p];
        const bool isTarget = target != places.end() && size_t(target - places.begin()) == p && !added.isEmpty();
        size_t lastKept = 0; // the header
        bool keys = false;
        for (size_t l = 1; l < place.lines.size(); ++l)
            if (fates[p][l] != Fate::Dropped) {
                lastKept = l;
                keys = keys || place.lines[l].equals >= 0;
            }
        if (!keys && !isTarget) {
            edits.push_back({place.start, removedUpTo(data, place) - place.start, {}});
            continue;
        }
        for (size_t l = 1; l < place.lines.size(); ++l)
            if (fates[p][l] == Fate::Dropped) {
                const SectionLine& line = place.lines[l];
                edits.push_back({line.start, pastLineEnd(data, line.start + line.length) - line.start, {}});
            }
        if (isTarget) {
            // After the last line kept, and after a comment on its line.
            const SectionLine& anchor = place.lines[lastKept];
            qsizetype at = anchor.start + anchor.length;
            while (at < data.size() && data[at] != '\n' && data[at] != '\r')
                ++at;
            QByteArray text;
            for (auto it = added.cbegin(); it != added.cend(); ++it)
                text += lineEnd + keyLine(it.key(), it.value());
            edits.push_back({at, 0, text});
        }
    }
    QByteArray out = file.left(bom) + applied(data, std::move(edits));
    if (target == places.end() && !added.isEmpty())
        out = withNewSection(out, bom, section, sectionTextWith(section, added, lineEnd), lineEnd);
    return out;
}

} // namespace

QMap<QString, QString> iniSectionValues(const QByteArray& file, const QString& section)
{
    const QByteArrayView data = QByteArrayView(file).sliced(byteOrderMark(file));
    const std::vector<Place> places = sectionPlaces(data, section);
    if (places.empty())
        return {};
    // The section's own lines, each as UTF-8; the gaps between them hold
    // blanks and comments.
    QByteArray own;
    for (const Place& place : places) {
        qsizetype copied = place.start;
        for (const SectionLine& line : place.lines) {
            own += data.sliced(copied, line.start - copied);
            own += line.text;
            copied = line.start + line.length;
        }
        own += data.sliced(copied, place.end - copied);
        if (!endsLine(own))
            own += '\n';
    }
    return readSection(own, section);
}

QByteArray iniSectionText(const QString& section, const QMap<QString, QString>& values)
{
    if (values.isEmpty())
        return {};
    QByteArray out("[");
    appendKey(section, out);
    out += "]\n";
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        out += keyLine(it.key(), it.value()) + '\n';
    return out;
}

QByteArray withIniSection(const QByteArray& file, const QString& section, const QMap<QString, QString>& values)
{
    const QByteArray edited = editedInPlace(file, section, values);
    if (iniSectionValues(edited, section) == values)
        return edited;
    // Lines that QSettings cuts otherwise than they look (a kept last line
    // that runs on over what follows it): the section is written anew.
    return rewrittenWhole(file, section, values);
}

} // namespace platform
