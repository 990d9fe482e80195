#include "platform/foldedkeys.h"

#include <QChar>

namespace platform {

void FoldedKeys::reserve(size_t names, size_t units)
{
    ends_.reserve(names);
    text_.reserve(units);
}

void FoldedKeys::add(QStringView name)
{
    const size_t at = text_.size();
    const size_t n = size_t(name.size());
    text_.resize(at + n);
    const char16_t* in = name.utf16();
    char16_t* out = text_.data() + at;
    for (size_t i = 0; i < n; ++i) {
        const char16_t u = in[i];
        if (u < 0x80) {
            out[i] = u >= u'A' && u <= u'Z' ? char16_t(u + 32) : u;
        } else if (QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(in[i + 1])) {
            // Simple folding keeps a character in its plane: a pair folds to a pair.
            const char32_t folded = QChar::toCaseFolded(QChar::surrogateToUcs4(u, in[i + 1]));
            out[i] = QChar::highSurrogate(folded);
            out[++i] = QChar::lowSurrogate(folded);
        } else {
            out[i] = char16_t(QChar::toCaseFolded(char32_t(u)));
        }
    }
    ends_.push_back(text_.size());
}

} // namespace platform
