#include "engine/convertcase.h"

#include "engine/random.h"
#include "engine/textutil.h"

#include <QVarLengthArray>

namespace {

constexpr QStringView WordStartSeparators = u" ([-._,!)]{};";
constexpr QStringView LeftBounds = u" ([-._'";
constexpr QStringView RightBoundsBase = u" )]-.,_'";
constexpr QStringView RightBoundsExt = u" )]-._'";

// A plain loop: these sets are a handful of characters, tested per character.
bool isIn(QChar c, QStringView set)
{
    for (const QChar s : set)
        if (s == c)
            return true;
    return false;
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
    s[i] = upper ? upperUnit(c) : lowerUnit(c);
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
    return upperUnit(c) == c;
}

void capitalizeFirst(QString& s)
{
    makeLower(s);
    setCase(s, 0, true);
}

void capitalizeWords(QString& s)
{
    bool start = true;
    QChar before; // the previous input character
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
    case NameUpper:
        makeUpper(base);
        break;
    case NameLower:
        makeLower(base);
        break;
    case NameSentence:
        capitalizeFirst(base);
        break;
    case NameWords:
        capitalizeWords(base);
        break;
    case NameInvert:
        invert(base);
        break;
    case NameRandom:
        randomCase(base, random);
        break;
    default:
        break;
    }
}

void applyExtMode(QString& ext, int mode, RandomSource& random)
{
    if (ext.isEmpty())
        return;
    switch (mode) {
    case ExtUpper:
        makeUpper(ext);
        break;
    case ExtLower:
        makeLower(ext);
        break;
    case ExtCapitalize:
        capitalizeFirst(ext);
        break;
    case ExtInvert:
        invert(ext);
        break;
    case ExtRandom:
        randomCase(ext, random);
        break;
    default:
        break;
    }
}

// Whether w, upper-cased, stands at position j of the upper-cased part.
bool upperMatchesAt(QStringView upper, qsizetype j, QStringView w)
{
    for (qsizetype k = 0; k < w.size(); ++k) {
        const QChar c = w[k];
        if (c.isHighSurrogate() && k + 1 < w.size() && w[k + 1].isLowSurrogate()) {
            const char32_t cp = QChar::surrogateToUcs4(c, w[k + 1]);
            const char32_t m = QChar::requiresSurrogates(QChar::toUpper(cp)) ? QChar::toUpper(cp) : cp;
            if (upper[j + k] != QChar(QChar::highSurrogate(m)) || upper[j + k + 1] != QChar(QChar::lowSurrogate(m)))
                return false;
            ++k;
        } else if (upper[j + k] != upperUnit(c)) {
            return false;
        }
    }
    return true;
}

// Writes every word of the list, as stored, over each occurrence in part that
// matches it without regard to case and stands between bounds, word by word in
// list order, so later words override what earlier ones imposed. A replacement
// keeps the upper-case form of the text and bounds have no case, so one
// upper-cased copy and one list of left-bounded positions serve every word.
void applyExceptions(QString& part, const QStringList& words, QStringView rightBounds)
{
    const qsizetype n = part.size();
    if (n == 0)
        return;
    const QString upper = upperText(part);
    const QString original = part; // bounds are read here: replacements never change them
    QVarLengthArray<qsizetype, 64> starts;
    // Which ASCII characters begin a bounded position: most words need no scan.
    quint64 firstAscii[2] = {0, 0};
    for (qsizetype j = 0; j < n; ++j)
        if (j == 0 || isIn(original[j - 1], LeftBounds)) {
            starts.append(j);
            const char16_t u = upper[j].unicode();
            if (u < 128)
                firstAscii[u >> 6] |= quint64(1) << (u & 63);
        }
    for (const QString& w : words) {
        const qsizetype len = w.size();
        if (len == 0 || len > n)
            continue;
        const QChar first = upperUnit(w[0]); // a cheap first test before the full one
        const char16_t f = first.unicode();
        if (f < 128 && !(firstAscii[f >> 6] & (quint64(1) << (f & 63))))
            continue;
        for (const qsizetype j : starts) {
            const qsizetype end = j + len;
            if (end > n)
                break;
            if (upper[j] != first && !w[0].isSurrogate())
                continue;
            if ((end == n || isIn(original[end], rightBounds)) && upperMatchesAt(upper, j, w))
                part.replace(j, len, w);
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
