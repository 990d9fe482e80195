#pragma once
#include <QString>

// The preview's program-wide values: the request raised by the validation gate
// and consumed by the timer tick, the token that a running preview checks
// after every row, and the count of the last preview.
struct PreviewState {
    qint16 previewRequested = 0; // -1: compute at the next tick
    qint16 previewToken = -1;    // replaced by each preview, -1 invalidates
    qint32 previewRenameCount = 0;
    qint16 previewYieldInterval = 5;
    qint16 labelEditPending = 0; // -1: open the in-place edit at the next tick
};

// Drops a pending request and stops a running preview at its next row. Every
// long piece of list work calls this before it starts.
inline void stopPreview(PreviewState& p)
{
    p.previewRequested = 0;
    p.previewToken = -1;
}
