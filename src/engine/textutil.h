#pragma once
#include <QChar>
#include <QString>
#include <QStringView>

// Small text helpers shared by the name transforms.

// The number a text begins with, as the panels' number boxes are read: blanks
// skipped, then an optional sign, digits and one decimal point. A text that
// does not begin with a number counts as 0.
double leadingNumber(QStringView text);

// Rounds to the nearest whole number, halves to the even one. Outside
// -32768..32767 it throws platform::Failure 6 "Overflow", as the 16-bit
// values of the panels do.
qint16 toInt16(double value);

// toInt16(leadingNumber(text)): the usual reading of a 16-bit number box.
qint16 leadingInt16(QStringView text);

// A text that must be a number as a whole (blanks around it allowed, an
// optional sign, digits, one decimal point). Anything else, "-" or the empty
// text included, throws platform::Failure 13 "Type mismatch".
double numberFromText(QStringView text);

// Only "0" to "9" are digits; full-width and other numerals are not.
inline bool isDigitChar(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

// The characters no computed name keeps and every log line escapes: the C0
// and C1 controls (U+0000-U+001F, U+007F-U+009F) and the Unicode controls
// that reorder or break a shown name, the bidirectional embeddings, overrides
// and isolates (U+202A-U+202E, U+2066-U+2069) and the line and paragraph
// separators (U+2028, U+2029). Joiners and direction marks are not among
// them: emoji and whole scripts need them.
inline bool isControlUnit(char16_t u)
{
    if (u < 0xA0)
        return u < 0x20 || u >= 0x7F;
    return (u >= 0x2028 && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069);
}

// Letters are the code points 65-90, 97-122 and 192-255: the letters of the
// old ANSI code page, tested by number so every name gets the same answer.
inline bool isLetterChar(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 65 && u <= 90) || (u >= 97 && u <= 122) || (u >= 192 && u <= 255);
}

// Qt leaves a character unmapped when its full case mapping has more than one
// character, also where the simple mapping is one character: "İ" lowers to
// "i", and the Greek small letters with ypogegrammeni upper to their capitals
// with prosgegrammeni. These are all such characters.
inline char16_t simpleUpperOfSpecial(char16_t u)
{
    if ((u >= 0x1F80 && u <= 0x1F87) || (u >= 0x1F90 && u <= 0x1F97) || (u >= 0x1FA0 && u <= 0x1FA7))
        return char16_t(u + 8);
    if (u == 0x1FB3 || u == 0x1FC3 || u == 0x1FF3)
        return char16_t(u + 9);
    return u;
}
inline char16_t simpleLowerOfSpecial(char16_t u)
{
    return u == 0x0130 ? u'i' : u;
}

// One-to-one case mapping of one UTF-16 unit, with a fast path for ASCII; a
// surrogate stays as it is.
inline QChar upperUnit(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 128)
        return (u >= u'a' && u <= u'z') ? QChar(char16_t(u - 32)) : c;
    if (c.isSurrogate())
        return c;
    const char16_t special = simpleUpperOfSpecial(u);
    return special != u ? QChar(special) : c.toUpper();
}
inline QChar lowerUnit(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 128)
        return (u >= u'A' && u <= u'Z') ? QChar(char16_t(u + 32)) : c;
    if (c.isSurrogate())
        return c;
    const char16_t special = simpleLowerOfSpecial(u);
    return special != u ? QChar(special) : c.toLower();
}

// Positions and lengths of names count characters: a surrogate pair is one
// character (an unpaired surrogate counts as one too).
qsizetype charCount(QStringView text);
// The UTF-16 offset at which character number `chars` (from 0) begins; the
// text's size for `chars` at or past the end, 0 for a negative one. Never inside a pair.
qsizetype unitOffset(QStringView text, qsizetype chars);

// One-to-one case mapping of a whole text, code point by code point, so that
// lengths and positions never change (full mapping would turn "ß" into "SS").
QString upperText(QStringView text);
QString lowerText(QStringView text);
// The same mappings in place.
void makeUpper(QString& text);
void makeLower(QString& text);

// Finds a text again and again, as find and replace does for every name: the
// needle is prepared once. Without regard to case, both sides are compared by
// their simple case folding (Qt's case-insensitive comparison).
class TextFinder {
public:
    TextFinder(const QString& needle, Qt::CaseSensitivity cs);
    // The first position at or after `from` where the needle starts; -1 when
    // none (and always for an empty needle).
    qsizetype indexIn(QStringView hay, qsizetype from = 0) const;
    qsizetype size() const { return needle_.size(); }

private:
    bool matchesAt(QStringView hay, qsizetype at) const;
    QString needle_; // folded when case does not count
    Qt::CaseSensitivity cs_;
};
