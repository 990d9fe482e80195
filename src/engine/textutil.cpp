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
template <typename Map>
void mapInPlace(QString& text, Map map)
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
        } else if (!c.isSurrogate()) {
            const char32_t m = map(char32_t(c.unicode()));
            if (!QChar::requiresSurrogates(m))
                d[i] = QChar(char16_t(m));
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

void makeUpper(QString& text)
{
    mapInPlace(text, [](char32_t c) { return QChar::toUpper(c); });
}

void makeLower(QString& text)
{
    mapInPlace(text, [](char32_t c) { return QChar::toLower(c); });
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
