#include "engine/preview.h"
#include "engine/forbidden.h"
#include "engine/logs.h"
#include "engine/random.h"
#include "platform/failure.h"
#include "platform/listmodel.h"

#include <QItemSelectionModel>

#include <span>

QString previewCountText(qint32 count)
{
    return QString::number(count) +
           (count == 1 ? QStringLiteral(" item to rename...") : QStringLiteral(" items to rename..."));
}

bool modeHasPreview(RenameMode mode)
{
    return mode != RenameMode::Attrib;
}

QString previewStartText(RenameMode mode)
{
    return modeHasPreview(mode) ? QStringLiteral("Generating Preview...") : QStringLiteral("No Preview Available...");
}

namespace {

bool selected(int row, const PreviewInputs& in)
{
    return in.selection && in.selection->isRowSelected(row, {});
}

// Ghost directory rows carry the ghost icon in the directory list.
bool isGhost(const platform::ListModel& rows, int row, const PreviewInputs& in)
{
    return in.directoryList && in.alwaysShowDirs == 1 && rows.row(row).smallIcon == 3;
}

bool processed(const platform::ListModel& rows, int row, const PreviewInputs& in)
{
    if (in.onlySelectedActive == -1 && !selected(row, in))
        return false;
    if (in.unrenamable && in.unrenamable(rows.cell(row, 2) + rows.cell(row, 0)))
        return false;
    return !isGhost(rows, row, in);
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
        platform::ListModel& model = *in.model;
        step = 3;
        const int rowCount = model.count();
        const auto stopped = [&] { return state.previewToken != token || state.previewRequested == -1; };

        // Enumeration numbers come from one pass over the rows, as in a run.
        std::vector<qint32> counters;
        EnumContext enumContext;
        if (in.mode == RenameMode::Enum && !in.options.normalizeMode) {
            std::vector<EnumRow> rows(static_cast<size_t>(rowCount));
            for (int i = 0; i < rowCount; ++i)
                rows[size_t(i)] = {model.cell(i, 2), selected(i, in), isGhost(model, i, in)};
            counters = enumCounters(std::span<const EnumRow>(rows), in.onlySelectedActive == -1,
                                    in.options.enumResetPerDir == 1);
            enumContext = {in.onlySelectedActive == -1, in.selectedCount, rowCount};
        }

        int sinceYield = 0;
        for (int i = 0; i < rowCount; ++i) {
            step = 4;
            // A list refilled while the preview yielded ends it too.
            if (stopped() || i >= model.count())
                return;
            QString shown;
            if (in.executeEnabled && in.executeEnabled()) {
                step = 5;
                if (processed(model, i, in)) {
                    step = 6;
                    // The path column ends with "/", so dir is that column and name the row's text.
                    NameRequest request;
                    request.mode = in.mode;
                    request.dir = model.cell(i, 2);
                    request.name = model.cell(i, 0);
                    if (!counters.empty())
                        request.enumCounter = counters[size_t(i)];
                    request.enumContext = enumContext;
                    step = 7;
                    const QString raw = computeNewName(request, in.options, in.services, step);
                    // Only a name the rule changes is mapped and shown, as a run decides.
                    // A name the run would refuse is a failed item: its cell stays empty.
                    if (!raw.isEmpty() && raw != request.name && !nameTooLong(raw)) {
                        step = 15;
                        NameOnDisk form = nameOnDisk(request.name, raw);
                        if (form.refusal == NameRefusal::None && form.resolved != request.name)
                            shown = std::move(form.resolved);
                    }
                }
            }
            step = 16;
            if (stopped())
                return;
            if (!shown.isEmpty())
                ++state.previewRenameCount;
            step = 17;
            model.setCell(i, 1, shown);
            step = 18;
            if (++sinceYield == state.previewYieldInterval) {
                sinceYield = 0;
                model.flush();
                if (in.yield)
                    in.yield();
            }
        }
        model.flush();
    } catch (const platform::Failure& f) {
        logs.logError(f.errorText() + QStringLiteral("generatePreview: ERR=%1 TAB=").arg(step) + modeCaption(in.mode));
    } catch (const std::exception&) {
        logs.logError(platform::makeFailure(platform::failures::Overflow).errorText() +
                      QStringLiteral("generatePreview: ERR=%1 TAB=").arg(step) + modeCaption(in.mode));
    }
}
