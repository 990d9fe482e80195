#include "engine/addcrop.h"

#include "engine/textutil.h"
#include "platform/failure.h"

namespace {

QString joined(QStringView a, QStringView b, QStringView c = {})
{
    QString out;
    out.reserve(a.size() + b.size() + c.size());
    out.append(a).append(b).append(c);
    return out;
}

qsizetype position(const QString& box)
{
    const qint16 p = leadingInt16(box);
    if (p < 0)
        throw platform::makeFailure(platform::failures::InvalidCall);
    return p;
}

// Positions count characters, so an insert or a cut never splits a pair.
QString addChars(const QString& text, const RenameOptions& o)
{
    const qsizetype n = charCount(text);
    const qsizetype p = position(o.addPos);
    if (p > n)
        return text;
    const qsizetype at = unitOffset(text, o.addFromEnd ? n - p : p);
    return joined(QStringView(text).left(at), o.addText, QStringView(text).mid(at));
}

QString cropChars(const QString& text, const RenameOptions& o)
{
    const qsizetype n = charCount(text);
    const qsizetype c = position(o.cropPos);
    if (c >= n)
        return text;
    // A pasted minus sign would repeat characters; removing nothing is the
    // only reading of a negative count that cannot garble a name.
    const qsizetype k = qMax<qsizetype>(0, leadingInt16(o.cropCount));
    const QStringView t(text);
    if (!o.cropFromEnd)
        return joined(t.left(unitOffset(t, c)), t.mid(unitOffset(t, qMin(n, c + k))));
    const qsizetype keep = qMax<qsizetype>(0, n - c - k);
    return joined(t.left(unitOffset(t, keep)), t.mid(unitOffset(t, n - c)));
}

} // namespace

QString addCropChars(const QString& text, const RenameOptions& options)
{
    if (text.isEmpty())
        return QString();
    return options.cropMode ? cropChars(text, options) : addChars(text, options);
}
