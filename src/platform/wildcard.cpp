#include "platform/wildcard.h"

namespace platform {

static bool sameChar(QChar a, QChar b)
{
    return a == b || a.toCaseFolded() == b.toCaseFolded();
}

// Iterative glob with single backtracking point: linear in practice, never exponential.
static bool glob(QStringView name, QStringView pattern)
{
    qsizetype n = 0, p = 0, starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern.at(p) == QLatin1Char('*')) {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && (pattern.at(p) == QLatin1Char('?') || sameChar(pattern.at(p), name.at(n)))) {
            ++p;
            ++n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern.at(p) == QLatin1Char('*'))
        ++p;
    return p == pattern.size();
}

bool matchesPattern(QStringView name, QStringView pattern)
{
    if (pattern.isEmpty() || pattern == u"*.*" || pattern == u"*")
        return true;
    if (glob(name, pattern))
        return true;
    if (pattern.endsWith(u".*") && !name.contains(QLatin1Char('.')))
        return glob(name, pattern.first(pattern.size() - 2));
    return false;
}

} // namespace platform
