#include "engine/textutil.h"

#include "platform/datetext.h"
#include "platform/failure.h"

#include <cmath>

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

// Reads sign, digits and one decimal point from i on. Returns the value and
// moves i past what was read; digits tells whether any digit was seen.
double readNumber(QStringView text, qsizetype& i, bool& digits)
{
    const qsizetype n = text.size();
    bool negative = false;
    if (i < n && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    double value = 0;
    double scale = 0; // 0 before the decimal point, then 0.1, 0.01, ...
    digits = false;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (isDigitChar(c)) {
            digits = true;
            const int d = c.unicode() - u'0';
            if (scale == 0) {
                value = value * 10 + d;
            } else {
                value += d * scale;
                scale /= 10;
            }
        } else if (c == u'.' && scale == 0) {
            scale = 0.1;
        } else {
            break;
        }
    }
    return negative ? -value : value;
}

// Maps one code point, keeping it when the mapping would leave its plane.
template <typename Map, typename MapUnit> void mapInPlace(QString& text, Map map, MapUnit mapUnit)
{
    QChar* d = text.data();
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = d[i];
        if (c.isHighSurrogate() && i + 1 < n && d[i + 1].isLowSurrogate()) {
            const char32_t cp = QChar::surrogateToUcs4(c, d[i + 1]);
            const char32_t m = map(cp);
            if (QChar::requiresSurrogates(m)) {
                d[i] = QChar(QChar::highSurrogate(m));
                d[i + 1] = QChar(QChar::lowSurrogate(m));
            }
            ++i;
        } else {
            d[i] = mapUnit(c);
        }
    }
}

} // namespace

double leadingNumber(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool digits = false;
    const double value = readNumber(text, i, digits);
    return digits ? value : 0.0;
}

qint16 toInt16(double value)
{
    const double r = platform::roundHalfEven(value, 0);
    if (!(r >= -32768.0 && r <= 32767.0)) // also catches NaN
        throw platform::makeFailure(platform::failures::Overflow);
    return static_cast<qint16>(r);
}

qint16 leadingInt16(QStringView text)
{
    return toInt16(leadingNumber(text));
}

double numberFromText(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool digits = false;
    const double value = readNumber(text, i, digits);
    while (i < text.size() && isBlank(text[i]))
        ++i;
    if (!digits || i != text.size())
        throw platform::makeFailure(platform::failures::TypeMismatch);
    return value;
}

qsizetype charCount(QStringView text)
{
    qsizetype n = 0;
    for (qsizetype i = 0; i < text.size(); ++i, ++n)
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
    return n;
}

qsizetype unitOffset(QStringView text, qsizetype chars)
{
    qsizetype i = 0;
    for (; chars > 0 && i < text.size(); --chars, ++i)
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
    return i;
}

void makeUpper(QString& text)
{
    mapInPlace(
        text, [](char32_t c) { return QChar::toUpper(c); }, upperUnit);
}

void makeLower(QString& text)
{
    mapInPlace(
        text, [](char32_t c) { return QChar::toLower(c); }, lowerUnit);
}

QString upperText(QStringView text)
{
    QString s = text.toString();
    makeUpper(s);
    return s;
}

QString lowerText(QStringView text)
{
    QString s = text.toString();
    makeLower(s);
    return s;
}

namespace {

inline char16_t foldUnit(char16_t c)
{
    if (c < 128)
        return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
    if (QChar::isSurrogate(c))
        return c;
    const char32_t f = QChar::toCaseFolded(char32_t(c));
    return QChar::requiresSurrogates(f) ? c : char16_t(f);
}

// The folded code point of the pair at i, as two units; false when no pair starts there.
inline bool foldPair(QStringView s, qsizetype i, char16_t& hi, char16_t& lo)
{
    if (!(QChar::isHighSurrogate(s[i].unicode()) && i + 1 < s.size() && s[i + 1].isLowSurrogate()))
        return false;
    char32_t cp = QChar::surrogateToUcs4(s[i], s[i + 1]);
    const char32_t f = QChar::toCaseFolded(cp);
    if (QChar::requiresSurrogates(f))
        cp = f;
    hi = QChar::highSurrogate(cp);
    lo = QChar::lowSurrogate(cp);
    return true;
}

} // namespace

TextFinder::TextFinder(const QString& needle, Qt::CaseSensitivity cs) : needle_(needle), cs_(cs)
{
    if (cs_ == Qt::CaseSensitive)
        return;
    // Written only where folding changes a unit: most needles stay shared.
    for (qsizetype i = 0; i < needle_.size(); ++i) {
        const QStringView view(needle_);
        char16_t hi, lo;
        if (foldPair(view, i, hi, lo)) {
            if (view[i].unicode() != hi || view[i + 1].unicode() != lo) {
                needle_[i] = QChar(hi);
                needle_[i + 1] = QChar(lo);
            }
            ++i;
        } else {
            const char16_t f = foldUnit(view[i].unicode());
            if (f != view[i].unicode())
                needle_[i] = QChar(f);
        }
    }
}

bool TextFinder::matchesAt(QStringView hay, qsizetype at) const
{
    const qsizetype n = needle_.size();
    if (cs_ == Qt::CaseSensitive)
        return QStringView(hay).mid(at, n) == QStringView(needle_);
    for (qsizetype k = 0; k < n; ++k) {
        char16_t hi, lo;
        if (foldPair(hay, at + k, hi, lo)) {
            if (k + 1 >= n || needle_[k].unicode() != hi || needle_[k + 1].unicode() != lo)
                return false;
            ++k;
        } else if (foldUnit(hay[at + k].unicode()) != needle_[k].unicode()) {
            return false;
        }
    }
    return true;
}

qsizetype TextFinder::indexIn(QStringView hay, qsizetype from) const
{
    const qsizetype n = needle_.size();
    if (n == 0 || from < 0)
        return -1;
    const qsizetype last = hay.size() - n;
    if (cs_ == Qt::CaseSensitive) {
        const QChar first = needle_[0];
        for (qsizetype i = hay.indexOf(first, from); i >= 0 && i <= last; i = hay.indexOf(first, i + 1))
            if (matchesAt(hay, i))
                return i;
        return -1;
    }
    const char16_t first = needle_[0].unicode();
    for (qsizetype i = from; i <= last; ++i) {
        const char16_t c = hay[i].unicode();
        if ((c == first || foldUnit(c) == first || QChar::isHighSurrogate(c)) && matchesAt(hay, i))
            return i;
    }
    return -1;
}
