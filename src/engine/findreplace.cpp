#include "engine/findreplace.h"

#include "engine/forbidden.h"
#include "engine/logs.h"
#include "engine/textutil.h"
#include "platform/failure.h"

namespace {

// Replaces at most `limit` (< 0: all) non-overlapping occurrences of the
// finder's text in text[from..], scanning on after each inserted text. Text
// before `from` is kept.
QString replaceFrom(const QString& text, qsizetype from, const TextFinder& finder, const QString& replace, int limit)
{
    qsizetype hit = finder.indexIn(text, from);
    if (hit < 0)
        return text;
    QString out;
    out.reserve(text.size() + qMax<qsizetype>(0, 4 * (replace.size() - finder.size())));
    qsizetype copied = 0;
    int done = 0;
    while (hit >= 0) {
        out.append(QStringView(text).mid(copied, hit - copied));
        out.append(replace);
        if (stopGrowing(out))
            return out;
        copied = hit + finder.size();
        if (limit > 0 && ++done == limit)
            break;
        hit = finder.indexIn(text, copied);
    }
    out.append(QStringView(text).mid(copied));
    return out;
}

// A character for the swap's middle step that occurs in none of the three
// texts, so a "*" (legal in Linux names) is never taken for the placeholder.
QChar swapPlaceholder(const QString& a, const QString& b, const QString& c)
{
    for (char16_t u = 0xE000; u < 0xF900; ++u) {
        const QChar ch(u);
        if (!a.contains(ch) && !b.contains(ch) && !c.contains(ch))
            return ch;
    }
    // The three texts cannot hold all 6400 private-use characters of a name.
    throw platform::makeFailure(platform::failures::InvalidCall);
}

QString findReplaceChecked(const QString& source, const QString& find, const QString& replace, int caseSensitive,
                           int swapMode, int start, int count)
{
    if (source.isEmpty() || find.isEmpty())
        return QString();
    // The limits of the 16-bit original: a negative head length and a count
    // below -1 are invalid arguments, start + 1 beyond 32767 an overflow.
    if (start < 0 || count < -1)
        throw platform::makeFailure(platform::failures::InvalidCall);
    if (start >= 32767)
        throw platform::makeFailure(platform::failures::Overflow);
    const Qt::CaseSensitivity cs = caseSensitive != 0 ? Qt::CaseSensitive : Qt::CaseInsensitive;
    // The head kept is `start` characters, never half of a pair.
    const qsizetype from = unitOffset(source, start);
    const int limit = count <= 0 ? -1 : count;
    const TextFinder findFinder(find, cs);
    if (swapMode == 0)
        return replaceFrom(source, from, findFinder, replace, limit);
    // An empty replace text occurs nowhere: the middle pass then changes nothing.
    const QString mark(swapPlaceholder(source, find, replace));
    QString s = replaceFrom(source, from, findFinder, mark, limit);
    s = replaceFrom(s, from, TextFinder(replace, cs), find, limit);
    return replaceFrom(s, from, TextFinder(mark, Qt::CaseSensitive), replace, limit);
}

} // namespace

QString findReplace(const QString& source, const QString& find, const QString& replace, int caseSensitive, int swapMode,
                    int start, int count, const RenameOptions& panel, Logs& logs)
{
    try {
        return findReplaceChecked(source, find, replace, caseSensitive, swapMode, start, count);
    } catch (const platform::Failure& f) {
        logs.logError(f.errorText() + QStringLiteral("Find & Replace: SOURCE=") + source + QStringLiteral(" FIND=") +
                      find + QStringLiteral(" REPLACE: ") + replace + QStringLiteral(" CASE: ") +
                      QString::number(panel.caseSensitive) + QStringLiteral(" SWAP=") +
                      QString::number(panel.swapMode));
        return QString();
    }
}

QString replaceSingle(const QString& part, const RenameOptions& options, Logs& logs)
{
    return findReplace(part, options.findText, options.replaceText, options.caseSensitive, options.swapMode,
                       leadingInt16(options.replaceStart), leadingInt16(options.replaceCount), options, logs);
}

QString replaceBatch(const QString& part, const std::vector<BatchReplaceItem>& items, const RenameOptions& options,
                     Logs& logs)
{
    QString s = part;
    for (const BatchReplaceItem& item : items) {
        s = findReplace(s, item.find, item.replace, item.caseSensitive, item.swapMode, item.start, item.count, options,
                        logs);
        // Items that feed on each other's output would double the name every time.
        if (stopGrowing(s))
            return s;
    }
    return s;
}
