#include "engine/forbidden.h"
#include "engine/logs.h"
#include "platform/failure.h"

#include <QStringList>

#include <algorithm>

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

QString taggedForm(const QString& oldName, const QString& rawNewName)
{
    // A line feed or an escape in a name breaks listings and terminals; the
    // one way every computed name takes to the disk drops them.
    const QString raw = withoutControlChars(rawNewName);
    if (needsNoMapping(raw))
        return raw;
    // Judged without the old name's controls too: "<", a line feed and "\>"
    // on disk must not join into a tag once the line feed is gone.
    const QString old = withoutControlChars(oldName);
    const bool oldHoldsTag = old.contains(SubDirTag) || old.contains(SubDirMarker.at(0));
    return protectTagAndMap(oldHoldsTag ? neutralizeTags(raw) : raw);
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
    const auto control = [](QChar c) {
        const char16_t u = c.unicode();
        return u < 0x20 || (u >= 0x7F && u <= 0x9F);
    };
    if (std::none_of(value.begin(), value.end(), control))
        return value;
    QString s = value;
    s.removeIf(control);
    return s;
}
