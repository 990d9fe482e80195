#include "platform/foldedkeys.h"

#include <algorithm>
#include <QChar>

namespace platform {

void FoldedKeys::reserve(size_t names, size_t units)
{
    ends_.reserve(names);
    if (units > room_) {
        std::unique_ptr<char16_t[]> bigger(new char16_t[units]);
        std::copy(text_.get(), text_.get() + used_, bigger.get());
        text_ = std::move(bigger);
        room_ = units;
    }
}

void FoldedKeys::add(QStringView name)
{
    const size_t at = used_;
    const size_t n = size_t(name.size());
    if (at + n > room_)
        reserve(ends_.size() + 1, std::max(2 * room_, at + n));
    used_ = at + n;
    const char16_t* in = name.utf16();
    char16_t* out = text_.get() + at;
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
    ends_.push_back(used_);
}

} // namespace platform
