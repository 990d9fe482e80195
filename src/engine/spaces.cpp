#include "engine/spaces.h"

namespace {

qsizetype endWithoutSpaces(QStringView s)
{
    qsizetype e = s.size();
    while (e > 0 && s[e - 1] == u' ')
        --e;
    return e;
}

QString trimLeading(const QString& s)
{
    qsizetype b = 0;
    while (b < s.size() && s[b] == u' ')
        ++b;
    return b == 0 ? s : s.mid(b);
}

QString trimTrailing(const QString& name)
{
    QString s = name.left(endWithoutSpaces(name));
    const qsizetype dot = s.lastIndexOf(u'.');
    if (dot < 0)
        return s;
    const qsizetype baseEnd = endWithoutSpaces(QStringView(s).left(dot));
    if (baseEnd == dot)
        return s;
    return s.remove(baseEnd, dot - baseEnd);
}

QString shrink(const QString& s)
{
    if (!s.contains(QLatin1String("  ")))
        return s;
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == u' ' && i + 1 < s.size() && s[i + 1] == u' ')
            continue;
        out.append(s[i]);
    }
    return out;
}

} // namespace

QString trimSpaces(const QString& name, const RenameOptions& options)
{
    QString s = name;
    if (options.trimLeading == 1)
        s = trimLeading(s);
    if (options.trimTrailing == 1)
        s = trimTrailing(s);
    if (options.shrinkSpaces == 1)
        s = shrink(s);
    return s;
}
