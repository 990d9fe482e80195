#include "engine/forbidden.h"
#include "engine/logs.h"
#include "engine/textutil.h"
#include "platform/failure.h"

#include <QStringList>

#include <algorithm>
#include <vector>

const QString SubDirMarker = QString(QChar(0xFDD0)) + QStringLiteral("SuBDiR") + QChar(0xFDD0);
const QString SubDirTag = QStringLiteral("<\\>");

static bool hasForbiddenChar(const QString& name)
{
    for (const QChar c : name) {
        switch (c.unicode()) {
        case u'/':
        case u'*':
        case u'"':
        case u'\\':
        case u'?':
        case u':':
        case u'<':
        case u'>':
        case u'|':
            return true;
        default:
            break;
        }
    }
    return false;
}

QString replaceForbiddenChars(QString& name, Logs* logs)
{
    // Most names hold none of the characters: one scan instead of nine.
    if (!hasForbiddenChar(name))
        return name;
    try {
        name.replace(QLatin1Char('/'), QLatin1Char('-'));
        name.replace(QLatin1Char('*'), QLatin1Char('-'));
        name.replace(QLatin1Char('"'), QLatin1String("''"));
        name.replace(QLatin1Char('\\'), QLatin1Char('-'));
        name.remove(QLatin1Char('?'));
        name.replace(QLatin1Char(':'), QLatin1Char('-'));
        name.replace(QLatin1Char('<'), QLatin1Char('['));
        name.replace(QLatin1Char('>'), QLatin1Char(']'));
        name.replace(QLatin1Char('|'), QLatin1Char('-'));
        return name;
    } catch (const std::exception&) {
        // Only an allocation failure can land here.
        if (logs)
            logs->logError(platform::makeFailure(platform::failures::Overflow).errorText() +
                           QStringLiteral("replaceForbiddenChars: ") + name);
        return QString();
    }
}

QString protectTagAndMap(const QString& newName)
{
    QString s = newName;
    if (s.contains(SubDirTag))
        s.replace(SubDirTag, SubDirMarker);
    replaceForbiddenChars(s);
    return s;
}

QString applyTagAndMap(const QString& newName)
{
    QString s = protectTagAndMap(newName);
    s.replace(SubDirMarker, QStringLiteral("/"));
    return s;
}

QString neutralizeTags(const QString& text)
{
    if (!text.contains(SubDirTag) && !text.contains(QChar(0xFDD0)))
        return text;
    QString s = text;
    s.replace(SubDirTag, QStringLiteral("[-]"));
    s.replace(QChar(0xFDD0), QChar(0xFFFD));
    return s;
}

// A name without a tag, a marker or a character to map comes out as it
// went in, whatever the old name holds; most names are such. (A tag begins
// with "<", one of the mapped characters.)
static bool needsNoMapping(const QString& name)
{
    return !hasForbiddenChar(name) && !name.contains(SubDirMarker.at(0));
}

// Judged without the old name's controls too: "<", a line feed and "\>" on
// disk must not join into a tag once the line feed is gone.
static bool oldNameHoldsTag(const QString& oldName)
{
    const QString old = withoutControlChars(oldName);
    return old.contains(SubDirTag) || old.contains(SubDirMarker.at(0));
}

// taggedForm of a name whose control characters are already gone.
static QString taggedWithoutControls(const QString& oldName, const QString& raw)
{
    if (needsNoMapping(raw))
        return raw;
    return protectTagAndMap(oldNameHoldsTag(oldName) ? neutralizeTags(raw) : raw);
}

QString taggedForm(const QString& oldName, const QString& rawNewName)
{
    // A line feed or an escape in a name breaks listings and terminals; the
    // one way every computed name takes to the disk drops them.
    return taggedWithoutControls(oldName, withoutControlChars(rawNewName));
}

QString resolvedForm(const QString& taggedName)
{
    if (!taggedName.contains(SubDirMarker.at(0)) || !taggedName.contains(SubDirMarker))
        return taggedName;
    QStringList parts = taggedName.split(SubDirMarker);
    parts.removeAll(QString());
    return parts.join(QLatin1Char('/'));
}

DotLevel dotLevelOf(const QString& resolvedName)
{
    // A level of dots starts the name or follows a "/"; most names have neither.
    if (!resolvedName.startsWith(QLatin1Char('.')) && !resolvedName.contains(QLatin1String("/.")))
        return DotLevel::None;
    DotLevel found = DotLevel::None;
    for (const QStringView level : QStringView(resolvedName).split(QLatin1Char('/'))) {
        if (level == u"..")
            return DotLevel::Up;
        if (level == u".")
            found = DotLevel::Here;
    }
    return found;
}

QString withoutControlChars(const QString& value)
{
    const auto control = [](QChar c) { return isControlUnit(c.unicode()); };
    if (std::none_of(value.begin(), value.end(), control))
        return value;
    QString s = value;
    s.removeIf(control);
    return s;
}

bool levelTooLong(QStringView resolvedName)
{
    // No UTF-16 unit takes more than three bytes: most names are judged by their size alone.
    const qsizetype n = resolvedName.size();
    if (n * 3 <= MaxLevelBytes)
        return false;
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = resolvedName[i].unicode();
        if (u == u'/')
            bytes = 0;
        else if (u < 0x80)
            bytes += 1;
        else if (u < 0x800)
            bytes += 2;
        else if (QChar::isHighSurrogate(u) && i + 1 < n && resolvedName[i + 1].isLowSurrogate()) {
            bytes += 4;
            ++i;
        } else {
            bytes += 3; // an unpaired surrogate is written as U+FFFD
        }
        if (bytes > MaxLevelBytes)
            return true;
    }
    return false;
}

namespace {

enum class DropEffect { None, Empty, Hidden };

// What dropping the control characters of `raw` (whose text without them is
// `kept`) did to its levels, split where taggedForm splits them: the entry's
// own level lost all it had, or a level starts with "." only because controls
// stood before the dot (the map's removal of "?" counts as an empty start).
DropEffect dropEffect(const QString& raw, const QString& kept, bool tagsAreText)
{
    // For each character of `kept`, and its end, whether controls stood right before it.
    std::vector<char> afterDrop(size_t(kept.size()) + 1, 0);
    qsizetype k = 0;
    for (const QChar c : raw) {
        if (isControlUnit(c.unicode()))
            afterDrop[size_t(k)] = 1;
        else
            ++k;
    }
    const qsizetype n = kept.size();
    const auto nextSeparator = [&](qsizetype from, qsizetype& length) {
        length = 0;
        if (tagsAreText)
            return n;
        const qsizetype tag = kept.indexOf(SubDirTag, from);
        const qsizetype marker = kept.indexOf(SubDirMarker, from);
        if (tag < 0 && marker < 0)
            return n;
        if (marker < 0 || (tag >= 0 && tag < marker)) {
            length = SubDirTag.size();
            return tag;
        }
        length = SubDirMarker.size();
        return marker;
    };
    for (qsizetype start = 0;;) {
        qsizetype length = 0;
        const qsizetype end = nextSeparator(start, length);
        bool dropped = afterDrop[size_t(start)] != 0;
        qsizetype first = start;
        while (first < end && kept.at(first) == u'?')
            dropped = dropped || afterDrop[size_t(++first)] != 0;
        if (dropped && first < end && kept.at(first) == u'.')
            return DropEffect::Hidden;
        if (end == n)
            return start == n && afterDrop[size_t(n)] ? DropEffect::Empty : DropEffect::None;
        start = end + length;
    }
}

} // namespace

NameRefusal pathRefusal(const QString& resolvedName)
{
    if (nameTooLong(resolvedName))
        return NameRefusal::TooLong;
    if (const DotLevel dots = dotLevelOf(resolvedName); dots != DotLevel::None)
        return dots == DotLevel::Up ? NameRefusal::UpLevel : NameRefusal::HereLevel;
    return NameRefusal::None;
}

NameOnDisk nameOnDisk(const QString& oldName, const QString& rawNewName)
{
    NameOnDisk out;
    const QString kept = withoutControlChars(rawNewName);
    out.tagged = taggedWithoutControls(oldName, kept);
    out.resolved = resolvedForm(out.tagged);
    out.refusal = nameTooLong(rawNewName) ? NameRefusal::TooLong : pathRefusal(out.resolved);
    if (out.refusal != NameRefusal::None)
        return out;
    // Only a name that held controls can be emptied or hidden by their drop.
    if (kept.size() != rawNewName.size()) {
        switch (dropEffect(rawNewName, kept, oldNameHoldsTag(oldName))) {
        case DropEffect::Empty:
            out.refusal = NameRefusal::EmptyWithoutControls;
            return out;
        case DropEffect::Hidden:
            out.refusal = NameRefusal::HiddenWithoutControls;
            return out;
        case DropEffect::None:
            break;
        }
    }
    if (levelTooLong(out.resolved))
        out.refusal = NameRefusal::LevelTooLong;
    return out;
}
