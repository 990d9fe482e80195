#include "engine/convertcase.h"

#include "engine/random.h"
#include "engine/textutil.h"

namespace {

constexpr QStringView WordStartSeparators = u" ([-._,!)]{};";
constexpr QStringView LeftBounds = u" ([-._'";
constexpr QStringView RightBoundsBase = u" )]-.,_'";
constexpr QStringView RightBoundsExt = u" )]-._'";

bool isIn(QChar c, QStringView set)
{
    return set.contains(c);
}

// A blank followed by an apostrophe, a grave or an acute accent starts a word.
bool isWordStartPair(QChar before, QChar c)
{
    return before == u' ' && (c == u'\'' || c == u'`' || c == QChar(0x00B4));
}

// Case of the character at i, one code point (one or two code units) at a
// time; returns the number of code units it spans. A mapping that would leave
// the code point's plane keeps the character.
qsizetype setCase(QString& s, qsizetype i, bool upper)
{
    const QChar c = s[i];
    if (c.isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate()) {
        const char32_t cp = QChar::surrogateToUcs4(c, s[i + 1]);
        const char32_t m = upper ? QChar::toUpper(cp) : QChar::toLower(cp);
        if (QChar::requiresSurrogates(m)) {
            s[i] = QChar(QChar::highSurrogate(m));
            s[i + 1] = QChar(QChar::lowSurrogate(m));
        }
        return 2;
    }
    if (!c.isSurrogate())
        s[i] = upper ? c.toUpper() : c.toLower();
    return 1;
}

// Upper-case letters and characters without case equal their upper-case form.
bool isOwnUpper(const QString& s, qsizetype i)
{
    const QChar c = s[i];
    if (c.isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate()) {
        const char32_t cp = QChar::surrogateToUcs4(c, s[i + 1]);
        return QChar::toUpper(cp) == cp;
    }
    return c.isSurrogate() || c.toUpper() == c;
}

void capitalizeFirst(QString& s)
{
    makeLower(s);
    setCase(s, 0, true);
}

void capitalizeWords(QString& s)
{
    bool start = true;
    QChar before; // the previous input character; case never changes a separator
    for (qsizetype i = 0; i < s.size();) {
        const QChar c = s[i];
        const qsizetype width = setCase(s, i, start);
        start = isIn(c, WordStartSeparators) || (i >= 1 && isWordStartPair(before, c));
        before = c;
        i += width;
    }
}

void invert(QString& s)
{
    for (qsizetype i = 0; i < s.size();)
        i += setCase(s, i, !isOwnUpper(s, i));
}

void randomCase(QString& s, RandomSource& random)
{
    for (qsizetype i = 0; i < s.size();)
        i += setCase(s, i, static_cast<int>(random.next() * 2) == 1);
}

void applyNameMode(QString& base, int mode, RandomSource& random)
{
    if (base.isEmpty())
        return;
    switch (mode) {
    case NameUpper: makeUpper(base); break;
    case NameLower: makeLower(base); break;
    case NameSentence: capitalizeFirst(base); break;
    case NameWords: capitalizeWords(base); break;
    case NameInvert: invert(base); break;
    case NameRandom: randomCase(base, random); break;
    default: break;
    }
}

void applyExtMode(QString& ext, int mode, RandomSource& random)
{
    if (ext.isEmpty())
        return;
    switch (mode) {
    case ExtUpper: makeUpper(ext); break;
    case ExtLower: makeLower(ext); break;
    case ExtCapitalize: capitalizeFirst(ext); break;
    case ExtInvert: invert(ext); break;
    case ExtRandom: randomCase(ext, random); break;
    default: break;
    }
}

// Writes every word of the list, as stored, over each occurrence in part that
// matches it without regard to case and stands between bounds. A replacement
// keeps the upper-case form of the text, so one upper-cased copy serves the
// whole scan; later words may override what earlier ones imposed.
void applyExceptions(QString& part, const QStringList& words, QStringView rightBounds)
{
    if (part.isEmpty())
        return;
    const QString upper = upperText(part);
    const qsizetype n = part.size();
    for (const QString& w : words) {
        if (w.isEmpty() || w.size() > n)
            continue;
        const QString wu = upperText(w);
        for (qsizetype j = upper.indexOf(wu); j >= 0; j = upper.indexOf(wu, j + 1)) {
            const qsizetype end = j + w.size();
            const bool left = j == 0 || isIn(part[j - 1], LeftBounds);
            const bool right = end == n || isIn(part[end], rightBounds);
            if (left && right)
                part.replace(j, w.size(), w);
        }
    }
}

} // namespace

QString convertCase(const QString& name, const RenameOptions& options, const QStringList& exceptionWords,
                    RandomSource& random)
{
    if (name.isEmpty())
        return QString();
    const qsizetype dot = name.lastIndexOf(u'.');
    QString base = dot < 0 ? name : name.left(dot);
    QString ext = dot < 0 ? QString() : name.mid(dot + 1);
    applyNameMode(base, options.nameCase, random);
    applyExtMode(ext, options.extCase, random);
    if (options.useExceptions == 1) {
        applyExceptions(base, exceptionWords, RightBoundsBase);
        applyExceptions(ext, exceptionWords, RightBoundsExt);
    }
    // A final dot stays: on Linux "abc." is a name of its own.
    if (dot >= 0 && (!ext.isEmpty() || dot == name.size() - 1))
        return base + u'.' + ext;
    return base;
}
