#pragma once
#include <memory>
#include <QStringView>
#include <vector>

namespace platform {

// Case-folded sort keys of many names, held in one buffer: a list of tens of
// thousands of names costs a few allocations rather than one per name. A key
// is the name as QString::toCaseFolded gives it (the same length, folded one
// code point at a time), so keys compare as the folded strings do.
class FoldedKeys {
public:
    void reserve(size_t names, size_t units);
    void add(QStringView name);
    size_t size() const { return ends_.size(); }
    QStringView operator[](size_t i) const
    {
        const size_t begin = i == 0 ? 0 : ends_[i - 1];
        return QStringView(text_.get() + begin, qsizetype(ends_[i] - begin));
    }

private:
    // Not filled when made or grown: each key is written in full before it is read.
    std::unique_ptr<char16_t[]> text_;
    size_t used_ = 0, room_ = 0;
    std::vector<size_t> ends_;
};

} // namespace platform
