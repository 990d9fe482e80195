#include "engine/enumerate.h"

#include "engine/forbidden.h"
#include "engine/normalize.h"
#include "engine/textutil.h"

#include <cmath>
#include <QHash>

namespace {

struct Tag {
    QStringView text;
    int id;
};
enum TagId { TagName, TagExt, TagFullName, TagEnum };
// In the order they are tried at a "<".
constexpr Tag Tags[] = {{u"<NAME>", TagName}, {u"<EXT>", TagExt}, {u"<FULLNAME>", TagFullName}, {u"<ENUM>", TagEnum}};

bool tagAt(QStringView format, qsizetype i, QStringView tag)
{
    if (format.size() - i < tag.size())
        return false;
    for (qsizetype k = 0; k < tag.size(); ++k)
        if (format[i + k].toUpper() != tag[k])
            return false;
    return true;
}

// The number of decimal digits of the integral part of m (at least 1).
int digitCount(double m)
{
    int digits = 1;
    for (double limit = 10; m >= limit && digits < 400; limit *= 10)
        ++digits;
    return digits;
}

int autoDigits(const RenameOptions& o, double start, double step, const EnumContext& c)
{
    const int count = c.onlySelectedActive ? c.selectedCount : c.rowCount;
    double m = std::fabs(start + step * count);
    // A start written with more characters than the top number (100 counting
    // down to 50) decides the width by its own value.
    const QString s = QString(o.enumStart).remove(u'-');
    if (s.size() > QString::number(m, 'f', 0).size())
        m = std::fabs(numberFromText(s));
    return digitCount(m);
}

// Decimal digits with "-" in front when negative, no blanks.
QString valueText(double v)
{
    if (std::fabs(v) < 9007199254740992.0 && v == std::trunc(v))
        return QString::number(static_cast<qint64>(v));
    return QString::number(v, 'g', 15);
}

} // namespace

QString enumerateName(const QString& name, qint32 counter, const RenameOptions& options, const EnumContext& context)
{
    const QString& format = options.enumFormat;
    if (format.isEmpty())
        return QString();
    const qsizetype dot = name.lastIndexOf(u'.');
    const QStringView base = dot < 0 ? QStringView(name) : QStringView(name).left(dot);
    const QStringView ext = dot < 0 ? QStringView() : dot == 0 ? QStringView(name) : QStringView(name).mid(dot + 1);

    const double start = numberFromText(options.enumStart);
    const double step = numberFromText(options.enumStep);
    const double value = start + step * (double(counter) - 1);
    const int digits =
        options.enumAutoDigits == 1 ? autoDigits(options, start, step, context) : leadingInt16(options.enumDigits);
    const QString number = normalizeNumbers(valueText(value), digits);

    QString out;
    out.reserve(format.size() + name.size() + number.size());
    for (qsizetype i = 0; i < format.size();) {
        const Tag* hit = nullptr;
        if (format[i] == u'<') {
            for (const Tag& t : Tags)
                if (tagAt(format, i, t.text)) {
                    hit = &t;
                    break;
                }
        }
        if (!hit) {
            out.append(format[i++]);
            continue;
        }
        switch (hit->id) {
        case TagName:
            out.append(base);
            break;
        case TagExt:
            out.append(ext);
            break;
        case TagFullName:
            out.append(name);
            break;
        default:
            out.append(number);
            break;
        }
        if (stopGrowing(out))
            return out;
        i += hit->text.size();
    }
    return out;
}

std::vector<qint32> enumCounters(std::span<const EnumRow> rows, bool onlySelectedActive, bool resetPerDir)
{
    std::vector<qint32> counters(rows.size(), 0);
    qint32 next = 1;
    // Per directory, so rows of folders that alternate in a list sorted across
    // them still count up within their own folder.
    QHash<QString, qint32> nextOfDir;
    for (size_t i = 0; i < rows.size(); ++i) {
        const EnumRow& row = rows[i];
        if (row.ghost || (onlySelectedActive && !row.selected))
            continue;
        if (resetPerDir) {
            qint32& own = nextOfDir[row.dir];
            if (own == 0)
                own = 1;
            counters[i] = own++;
        } else {
            counters[i] = next++;
        }
    }
    return counters;
}
