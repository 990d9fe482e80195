#include "engine/preview.h"
#include "engine/forbidden.h"
#include "engine/logs.h"
#include "engine/random.h"
#include "platform/failure.h"
#include "platform/listview.h"

#include <span>

QString previewCountText(qint32 count)
{
    return QString::number(count) +
           (count == 1 ? QStringLiteral(" item to rename...") : QStringLiteral(" items to rename..."));
}

namespace {

// Ghost directory rows carry the ghost icon in the directory list.
bool isGhost(const platform::ListView& list, int row, const PreviewInputs& in)
{
    return in.directoryList && in.alwaysShowDirs == 1 && list.row(row).smallIcon == 3;
}

bool processed(const platform::ListView& list, int row, const PreviewInputs& in)
{
    if (in.onlySelectedActive == -1 && !list.isSelected(row))
        return false;
    if (in.unrenamable && in.unrenamable(list.subItem(row, 2) + list.text(row)))
        return false;
    return !isGhost(list, row, in);
}

} // namespace

void generatePreview(PreviewState& state, const PreviewInputs& in, RandomSource& random, Logs& logs)
{
    int step = 0;
    try {
        state.previewRenameCount = 0;
        state.previewToken = qint16(random.below(10000));
        const qint16 token = state.previewToken;
        step = 2;
        platform::ListView& list = *in.list;
        step = 3;
        const int rowCount = list.count();
        const auto stopped = [&] { return state.previewToken != token || state.previewRequested == -1; };

        // Enumeration numbers come from one pass over the rows, as in a run.
        std::vector<qint32> counters;
        EnumContext enumContext;
        if (in.mode == RenameMode::Enum && !in.options.normalizeMode) {
            std::vector<EnumRow> rows(static_cast<size_t>(rowCount));
            for (int i = 0; i < rowCount; ++i)
                rows[size_t(i)] = {list.subItem(i, 2), list.isSelected(i), isGhost(list, i, in)};
            counters = enumCounters(std::span<const EnumRow>(rows), in.onlySelectedActive == -1,
                                    in.options.enumResetPerDir == 1);
            enumContext = {in.onlySelectedActive == -1, in.selectedCount, rowCount};
        }

        int sinceYield = 0;
        for (int i = 0; i < rowCount; ++i) {
            step = 4;
            if (stopped())
                return;
            QString shown;
            if (in.executeEnabled && in.executeEnabled()) {
                step = 5;
                if (processed(list, i, in)) {
                    step = 6;
                    // The path column ends with "/", so dir is that column and name the row's text.
                    NameRequest request;
                    request.mode = in.mode;
                    request.dir = list.subItem(i, 2);
                    request.name = list.text(i);
                    if (!counters.empty())
                        request.enumCounter = counters[size_t(i)];
                    request.enumContext = enumContext;
                    step = 7;
                    const QString raw = computeNewName(request, in.options, in.services, step);
                    // Only a name the rule changes is mapped and shown, as a run decides.
                    // A name past the length limit is a failed item: its cell stays empty.
                    if (!raw.isEmpty() && raw != request.name && !nameTooLong(raw)) {
                        step = 15;
                        shown = resolvedForm(taggedForm(request.name, raw));
                        if (shown == request.name || nameTooLong(shown))
                            shown.clear();
                    }
                }
            }
            step = 16;
            if (stopped())
                return;
            if (!shown.isEmpty())
                ++state.previewRenameCount;
            step = 17;
            list.setSubItem(i, 1, shown);
            step = 18;
            if (++sinceYield == state.previewYieldInterval) {
                sinceYield = 0;
                list.flush();
                if (in.yield)
                    in.yield();
            }
        }
        list.flush();
    } catch (const platform::Failure& f) {
        logs.logError(f.errorText() + QStringLiteral("generatePreview: ERR=%1 TAB=").arg(step) + modeCaption(in.mode));
    } catch (const std::exception&) {
        logs.logError(platform::makeFailure(platform::failures::Overflow).errorText() +
                      QStringLiteral("generatePreview: ERR=%1 TAB=").arg(step) + modeCaption(in.mode));
    }
}
