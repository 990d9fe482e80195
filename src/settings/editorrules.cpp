#include "settings/editorrules.h"

#include "engine/textutil.h"
#include "platform/datetext.h"
#include "settings/storeforms.h"

#include <algorithm>
#include <cmath>

namespace {

bool isControl(QChar c)
{
    const char16_t u = c.unicode();
    return u < 0x20 || (u >= 0x7F && u <= 0x9F);
}

QString withoutControls(QString text)
{
    text.removeIf(isControl);
    return text;
}

qint16 columnNumber(const QString& text)
{
    const double v = platform::roundHalfEven(leadingNumber(text), 0);
    return qint16(std::clamp(v, 0.0, 999.0));
}

} // namespace

std::optional<QString> exceptionWordFromAnswer(const QString& answer)
{
    QString word = trimBlanks(answer);
    if (word.isEmpty())
        return std::nullopt;
    for (const QChar c : {u'/', u'*', u'"', u'\\', u'?', u':', u'<', u'>', u'|'})
        word.remove(c);
    return withoutControls(word);
}

QStringList exceptionWordsFromEntries(const QStringList& entries)
{
    return entries.isEmpty() ? QStringList{QString()} : entries;
}

QString thumbSizeAfterLeave(const QString& text)
{
    QString t = text.isEmpty() ? QStringLiteral("64") : text;
    const double v = leadingNumber(t);
    if (!(v >= 16))
        t = QStringLiteral("16");
    else if (v > 256)
        t = QStringLiteral("256");
    return t;
}

QString countAfterLeave(const QString& text)
{
    return text.isEmpty() || leadingNumber(text) < 0 ? QStringLiteral("0") : text;
}

QStringList batchRow(const BatchReplaceItem& item)
{
    const QString x = QStringLiteral("x");
    return {item.find,
            item.replace,
            item.caseSensitive == 1 ? x : QString(),
            item.swapMode == 1 ? x : QString(),
            QString::number(item.start),
            QString::number(item.count)};
}

BatchReplaceItem batchItem(const QStringList& row)
{
    const auto cell = [&](int i) { return i < row.size() ? row[i] : QString(); };
    BatchReplaceItem item;
    item.find = cell(0);
    item.replace = cell(1);
    item.caseSensitive = cell(2) == QLatin1String("x") ? 1 : 0;
    item.swapMode = cell(3) == QLatin1String("x") ? 1 : 0;
    item.start = columnNumber(cell(4));
    item.count = columnNumber(cell(5));
    return item;
}

std::vector<BatchReplaceItem> batchListFromRows(const std::vector<QStringList>& rows)
{
    std::vector<BatchReplaceItem> list;
    list.reserve(rows.size());
    for (const QStringList& row : rows)
        list.push_back(batchItem(row));
    return list;
}

bool batchTextStorable(const QString& text, bool isFind)
{
    if (isFind && text.startsWith(u'#'))
        return false;
    return std::none_of(text.begin(), text.end(), [](QChar c) { return c == u'/' || isControl(c); });
}
