#include "engine/normalize.h"

#include "engine/logs.h"
#include "engine/textutil.h"
#include "platform/failure.h"

#include <algorithm>
#include <new>

namespace {

QStringView trimBlanks(QStringView s)
{
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && s[b] == u' ')
        ++b;
    while (e > b && s[e - 1] == u' ')
        --e;
    return s.mid(b, e - b);
}

void appendRun(QString& out, QStringView run, int width)
{
    if (width == 0)
        return;
    qsizetype z = 0;
    while (z < run.size() && run[z] == u'0')
        ++z;
    const QStringView digits = run.mid(z);
    for (qsizetype k = digits.size(); k < width; ++k)
        out.append(u'0');
    out.append(digits);
}

QString normalize(QStringView s, int width)
{
    QString out;
    out.reserve(s.size() + (width > 0 ? width : 0));
    qsizetype i = 0;
    while (i < s.size()) {
        if (!isDigitChar(s[i])) {
            const qsizetype from = i;
            while (i < s.size() && !isDigitChar(s[i]))
                ++i;
            out.append(s.mid(from, i - from));
            continue;
        }
        const qsizetype from = i;
        while (i < s.size() && isDigitChar(s[i]))
            ++i;
        appendRun(out, s.mid(from, i - from), width);
    }
    return out;
}

} // namespace

QString normalizeNumbers(const QString& text, int width, Logs* logs)
{
    if (text.isEmpty())
        return QString();
    const QStringView trimmed = trimBlanks(text);
    if (std::none_of(trimmed.begin(), trimmed.end(), isDigitChar)) // most names: nothing to do
        return trimmed.size() == text.size() ? text : trimmed.toString();
    try {
        return normalize(trimmed, width);
    } catch (const std::bad_alloc&) {
        const platform::Failure f(7, QStringLiteral("Out of memory"));
        if (logs)
            logs->logError(f.errorText() + QStringLiteral("Number Normalize: ") + trimmed.toString() +
                           QStringLiteral(" @ ") + QString::number(width));
        return trimmed.toString();
    }
}
