#include "platform/arguments.h"

namespace platform {

namespace {

constexpr char16_t kEscapeBase = 0xDC80;

bool isContinuation(unsigned char b)
{
    return (b & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence at `s` (at most `left` bytes), or 0.
int sequenceLength(const unsigned char* s, size_t left)
{
    const unsigned char b = s[0];
    if (b < 0x80)
        return 1;
    int n = 0;
    char32_t lowest = 0;
    char32_t c = 0;
    if ((b & 0xE0) == 0xC0) {
        n = 2, lowest = 0x80, c = b & 0x1F;
    } else if ((b & 0xF0) == 0xE0) {
        n = 3, lowest = 0x800, c = b & 0x0F;
    } else if ((b & 0xF8) == 0xF0) {
        n = 4, lowest = 0x10000, c = b & 0x07;
    } else {
        return 0;
    }
    if (left < size_t(n))
        return 0;
    for (int i = 1; i < n; ++i) {
        if (!isContinuation(s[i]))
            return 0;
        c = (c << 6) | (s[i] & 0x3F);
    }
    // Overlong forms, surrogates and values past Unicode are not UTF-8.
    if (c < lowest || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
        return 0;
    return n;
}

bool isEscape(char16_t u)
{
    return u >= kEscapeBase && u <= kEscapeBase + 0x7F;
}

bool isControl(char16_t u)
{
    return u < 0x20 || (u >= 0x7F && u <= 0x9F);
}

} // namespace

QString argumentText(QByteArrayView bytes)
{
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t size = size_t(bytes.size());
    QString text;
    text.reserve(qsizetype(size));
    size_t run = 0; // start of the valid bytes not yet decoded
    size_t i = 0;
    while (i < size) {
        if (const int n = sequenceLength(s + i, size - i)) {
            i += size_t(n);
            continue;
        }
        text += QString::fromUtf8(bytes.sliced(qsizetype(run), qsizetype(i - run)));
        text += QChar(char16_t(kEscapeBase + (s[i] & 0x7F)));
        run = ++i;
    }
    text += QString::fromUtf8(bytes.sliced(qsizetype(run)));
    return text;
}

QStringList argumentTexts(int argc, char** argv, int first)
{
    QStringList texts;
    for (int i = first; i < argc; ++i)
        texts.append(argumentText(QByteArrayView(argv[i])));
    return texts;
}

bool holdsUndecodable(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (QChar::isHighSurrogate(u) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) {
            ++i;
            continue;
        }
        if (isEscape(u))
            return true;
    }
    return false;
}

QString printableText(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (QChar::isHighSurrogate(u) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) {
            out += text[i];
            out += text[++i];
            continue;
        }
        if (isEscape(u) || isControl(u)) {
            const unsigned byte = isEscape(u) ? unsigned(u - kEscapeBase) + 0x80 : unsigned(u);
            out += QStringLiteral("\\x") + QString::number(byte, 16).toUpper().rightJustified(2, QLatin1Char('0'));
            continue;
        }
        out += text[i];
    }
    return out;
}

} // namespace platform
