#include "mainwindow/panelrules.h"
#include "engine/textutil.h"
#include "platform/datetext.h"

#include <algorithm>

QString leaveCorrected(const QString& text, const LeaveRule& rule)
{
    QString t = text;
    if (t.isEmpty())
        t = QString::fromLatin1(rule.emptyText);
    const double lowerValue = leadingNumber(t);
    if ((rule.lower == LowerTest::BelowZero && lowerValue < 0) || (rule.lower == LowerTest::Zero && lowerValue == 0))
        t = QString::fromLatin1(rule.lowerText);
    if (rule.upper != 0 && leadingNumber(t) > rule.upper)
        t = QString::fromLatin1(rule.upperText);
    return t;
}

bool numberKeyPasses(QChar typed, bool minusAllowed)
{
    const char16_t c = typed.unicode();
    if (c >= u'0' && c <= u'9')
        return true;
    if (c == 8 || c == 13 || c == 27)
        return true;
    return minusAllowed && c == u'-';
}

QString minusRule(const QString& text)
{
    if (!text.contains(QLatin1Char('-')))
        return text;
    QString rest = text;
    rest.remove(QLatin1Char('-'));
    return QLatin1Char('-') + rest;
}

QString tagToken(const QString& itemText)
{
    const qsizetype open = itemText.lastIndexOf(QLatin1Char('<'));
    return open < 0 ? itemText : itemText.mid(open);
}

int clampedBoxNumber(const QString& text, int lo, int hi)
{
    const double n = std::clamp(leadingNumber(text), double(lo), double(hi));
    return int(platform::roundHalfEven(n, 0));
}

CaretState fittedCaret(const CaretState& kept, int textLength)
{
    CaretState c;
    c.cursor = std::clamp(kept.cursor, 0, textLength);
    c.selectionStart = std::clamp(kept.selectionStart, 0, textLength);
    c.selectionLength = std::clamp(kept.selectionLength, 0, textLength - c.selectionStart);
    if (c.selectionLength == 0)
        c.selectionStart = c.cursor;
    return c;
}
