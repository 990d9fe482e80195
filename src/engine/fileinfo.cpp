#include "engine/fileinfo.h"
#include "engine/format.h"
#include "engine/logs.h"
#include "engine/renameoptions.h"
#include "platform/datetext.h"
#include "platform/failure.h"
#include "platform/fileops.h"

namespace {

const QString Separator = QStringLiteral(" | ");

bool usesAnyMarker(const QString& format, const QString& pattern)
{
    for (int k = 1; k <= 9; ++k) {
        const QString marker = QStringLiteral("<%%1>").arg(k);
        if (format.contains(marker) && pattern.contains(marker))
            return true;
    }
    return false;
}

bool wantsParts(const RenameOptions& options, const FormatContext& context)
{
    return !options.formatParts.isEmpty() && context.renameMode == RenameMode::Format && !options.detectMode &&
           usesAnyMarker(options.formatText, options.formatParts);
}

const QString& partsSource(const FileInfo& info, const RenameOptions& options)
{
    if (options.processName == 1)
        return options.processExt == 1 ? info.fullName : info.baseName;
    return info.ext;
}

QString stampText(const timespec& stamp)
{
    return platform::dateTimeText(platform::toDateTime(stamp));
}

QString failureLine(const platform::Failure& failure, const QString& name, const QString& dir, const FileInfo& info,
                    const RenameOptions& options, const FormatContext& context)
{
    QString line = failure.errorText() + QStringLiteral("getFileInfo: ") + dir + QLatin1Char('/') + name + Separator +
                   QStringLiteral(" INFO=") + info.fullName + Separator + info.baseName + Separator + info.ext +
                   Separator + QString::number(info.size) + Separator + stampText(info.modified) + Separator +
                   stampText(info.created) + Separator + stampText(info.accessed) + Separator + info.parent +
                   Separator + QStringLiteral(" PARTS: ") + options.formatText + Separator + options.formatParts;
    for (const QString& part : info.parts)
        line += Separator + part;
    return line + Separator + QStringLiteral(" TAB=") + modeCaption(context.renameMode);
}

void resetRecord(FileInfo& info, const QString& name)
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    info = FileInfo{};
    info.key = name;
    info.modified = info.created = info.accessed = now;
}

} // namespace

NameSplit splitFileInfoName(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return {name, QString()};
    if (dot == 0)
        return {QString(), name};
    return {name.left(dot), name.mid(dot + 1)};
}

std::array<QString, 10> cutNameParts(const QString& source, const QString& patternText)
{
    std::array<QString, 10> parts;
    QString pattern = patternText;
    pattern.replace(QLatin1Char('<'), QLatin1Char('[')).replace(QLatin1Char('>'), QLatin1Char(']'));
    for (int k = 1; k <= 9; ++k)
        pattern.replace(QStringLiteral("[%%1]").arg(k), QStringLiteral("<%%1>").arg(k));
    if (!pattern.endsWith(QLatin1Char('>')))
        pattern += QStringLiteral("<%0>");

    // 0-based positions; the pattern always ends with a marker now, so every
    // "<%" in it opens one.
    const qsizetype last = pattern.size() - 1;
    qsizetype from = 0, at = 0, matched = 0, matchedLength = 0;
    int part = 0;
    for (;;) {
        qsizetype next = pattern.indexOf(QLatin1String("<%"), at);
        if (next < 0)
            next = last;
        const QString literal = pattern.mid(at, next - at);
        if (at == 0 && literal != source.left(next))
            return parts;
        if (!literal.isEmpty()) {
            const qsizetype found = source.indexOf(literal, from);
            if (found < 0)
                return parts;
            matched = found;
            matchedLength = literal.size();
            parts[part] = source.mid(from, found - from);
            from = found + matchedLength;
        } else if (next == last) {
            parts[part] = source.mid(matched + matchedLength);
            return parts;
        }
        at = std::min(next + 4, last);
        if (next != last)
            part = pattern.at(next + 2).digitValue();
    }
}

bool getFileInfo(const QString& name, QString& dir, FileInfo& info, const RenameOptions& options,
                 const FormatContext& context)
{
    if (!name.isEmpty() && name == info.key)
        return true;
    resetRecord(info, name);
    if (dir.endsWith(QLatin1Char('/')))
        dir.chop(1);
    const QString path = dir + QLatin1Char('/') + name;
    try {
        const auto entry = platform::entryInfo(path);
        if (!entry) {
            info.key.clear();
            return false;
        }
        info.fullName = name;
        const NameSplit split = splitFileInfoName(name);
        info.baseName = split.baseName;
        info.ext = split.ext;
        // A directory's own length says nothing about its content.
        info.size = entry->isDir ? 0 : entry->size;
        info.modified = entry->modified;
        info.created = entry->hasBirthTime ? entry->born : entry->modified;
        info.accessed = entry->accessed;
        const qsizetype slash = dir.lastIndexOf(QLatin1Char('/'));
        info.parent = slash < 0 ? QString() : dir.mid(slash + 1);
        if (wantsParts(options, context))
            info.parts = cutNameParts(partsSource(info, options), options.formatParts);
        return true;
    } catch (const platform::Failure& failure) {
        if (context.logs)
            context.logs->logError(failureLine(failure, name, dir, info, options, context));
    } catch (const std::exception&) {
        if (context.logs)
            context.logs->logError(
                failureLine(platform::makeFailure(platform::failures::Overflow), name, dir, info, options, context));
    }
    info.key.clear();
    return false;
}
